// Judges whether a message from the host is well formed: a known command word,
// the right number of fields, numbers in range, and the trailing "+" where the
// protocol puts one.
#pragma once

#include <QByteArray>
#include <QString>

namespace euchre::testing {

// Empty when the message (without its terminator) is well formed; otherwise
// what is wrong with it.
QString wireProblem(const QByteArray& message);

} // namespace euchre::testing
