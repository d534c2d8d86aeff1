// euchre-discoverybench: asks a stand-alone host (--announce) which table it
// holds as fast as one socket can, for a few seconds, and prints how many
// answers came back a second: the figure shows the host's cap on answers.
// The figures depend on the machine; nothing here passes or fails.
#include "integration/support/hostprocess.h"
#include "net/discovery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUdpSocket>
#include <cstdio>

using namespace euchre;
using namespace euchre::testing;

namespace {

int usage() {
    std::fprintf(stderr, "usage: euchre-discoverybench --host PATH [--seconds N]\n");
    return 2;
}

quint16 freeUdpPort() {
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress)) return 0;
    return probe.localPort();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString hostPath;
    int seconds = 2;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--host"))
            hostPath = args[i + 1];
        else if (args[i] == QLatin1String("--seconds"))
            seconds = qBound(1, args[i + 1].toInt(), 60);
        else
            return usage();
    }
    if (hostPath.isEmpty() || args.size() % 2 == 0) return usage();

    const quint16 discoveryPort = freeUdpPort();
    HostProcess host;
    if (discoveryPort == 0 || host.start(hostPath, {QStringLiteral("--port"), QStringLiteral("0"),
                                                    QStringLiteral("--discovery-port"),
                                                    QString::number(discoveryPort)}) == 0) {
        std::fprintf(stderr, "euchre-discoverybench: the host did not start: %s\n",
                     host.out.constData());
        return 1;
    }

    QUdpSocket asker;
    if (!asker.bind(QHostAddress::LocalHost, 0)) return 1;
    const QByteArray query(discovery::kQuery);
    qint64 sent = 0;
    qint64 answers = 0;
    qint64 wellFormed = 0;
    char buffer[1024];
    QElapsedTimer clock;
    clock.start();
    const qint64 runMs = seconds * 1000LL;
    while (clock.elapsed() < runMs) {
        // Queries in small bursts, then whatever came back, then the event
        // loop: the host gets more queries than it may answer, all the time.
        // The last queries go a little before the end, so that the host's
        // next second does not begin within the run.
        for (int i = 0; i < 64 && clock.elapsed() < runMs - 50; ++i)
            if (asker.writeDatagram(query, QHostAddress::LocalHost, discoveryPort) > 0) ++sent;
        while (asker.hasPendingDatagrams()) {
            const qint64 n = asker.readDatagram(buffer, sizeof buffer);
            ++answers;
            if (n > 0 && discovery::readAnswer(QByteArrayView(buffer, n))) ++wellFormed;
        }
        QCoreApplication::processEvents();
    }
    // Only what came back within the run counts: the next second's answers
    // would make the run look a second longer.
    const qint64 elapsed = clock.elapsed();
    std::printf("queries sent      %lld in %.2f s (%.0f a second)\n", sent, elapsed / 1000.0,
                sent * 1000.0 / elapsed);
    std::printf("answers received  %lld (%lld well formed)\n", answers, wellFormed);
    std::printf("answers a second  %.1f\n", answers * 1000.0 / elapsed);
    return 0;
}
