// Starting, measuring and stopping the stand-alone host program.
#include "integration/support/hostprocess.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <csignal>

namespace euchre::testing {

namespace {
constexpr int kWait = 15000;
}

HostProcess::~HostProcess() {
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(kWait);
    }
}

quint16 HostProcess::start(const QString& program, const QStringList& args) {
    out.clear();
    process.start(program, args);
    if (!process.waitForStarted(kWait)) return 0;
    static const QRegularExpression listening(QStringLiteral("^listening on (\\d+)\\n"));
    QRegularExpressionMatch match;
    const bool ready = QTest::qWaitFor(
        [&] {
            out += process.readAllStandardOutput();
            match = listening.match(QString::fromLatin1(out));
            return match.hasMatch() || process.state() == QProcess::NotRunning;
        },
        kWait);
    return ready && match.hasMatch() ? static_cast<quint16>(match.captured(1).toUInt()) : 0;
}

bool HostProcess::stopWith(int signal) {
    QSignalSpy finished(&process, &QProcess::finished);
    ::kill(static_cast<pid_t>(process.processId()), signal);
    return finished.wait(kWait) || process.state() == QProcess::NotRunning;
}

qint64 HostProcess::residentKiB() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

} // namespace euchre::testing
