// The stand-alone host program run for a test or a benchmark: started on a
// port it picks, stopped whatever happens when the object goes.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace euchre::testing {

class HostProcess {
public:
    ~HostProcess();

    // Starts the program and waits for its "listening on N"; returns N, 0 on failure.
    quint16 start(const QString& program, const QStringList& args);
    // Sends the signal and waits for the program to end; false if it did not.
    bool stopWith(int signal);
    // The program's resident memory in KiB, 0 when it cannot be read.
    qint64 residentKiB() const;

    QProcess process;
    QByteArray out;
};

} // namespace euchre::testing
