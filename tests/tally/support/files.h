// Helpers of the tally tests: whole files in and out, and a file size limit
// that makes writes fail half-way as a full disk does.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Writes `bytes` as the whole file; false when that failed.
bool writeFile(const QString& name, const QByteArray& bytes);
// The whole file, or "<missing>".
QByteArray readFile(const QString& name);
// Runs `work` while no file may grow beyond `bytes`.
void withFileLimit(long bytes, const std::function<void()>& work);
