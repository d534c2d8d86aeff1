// euchre-floodbench: chat floods against the stand-alone host, printing how
// long a well-behaved client's chat lines take to come back (percentiles),
// how long a newcomer's first line takes after the flood, and the host's
// memory. The figures depend on the machine; nothing here passes or fails.
#include "integration/support/flood.h"
#include "integration/support/hostprocess.h"

#include <QCoreApplication>
#include <QTest>
#include <cstdio>
#include <memory>
#include <vector>

using namespace euchre::testing;

namespace {

int usage() {
    std::fprintf(stderr, "usage: euchre-floodbench --host PATH [--mode blast|saturate|steady] "
                         "[--seconds N] [--flooders N] [--rate LINES_PER_SECOND]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString hostPath;
    QString mode = QStringLiteral("blast");
    int seconds = 30;
    int flooderCount = 8;
    int rate = 20;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == QLatin1String("--host"))
            hostPath = value;
        else if (key == QLatin1String("--mode"))
            mode = value;
        else if (key == QLatin1String("--seconds"))
            seconds = qBound(1, value.toInt(), 600);
        else if (key == QLatin1String("--flooders"))
            flooderCount = qBound(1, value.toInt(), 8);
        else if (key == QLatin1String("--rate"))
            rate = qBound(1, value.toInt(), 1000);
        else
            return usage();
    }
    Flooder::Kind kind = Flooder::Kind::Blast;
    if (mode == QLatin1String("saturate"))
        kind = Flooder::Kind::Saturate;
    else if (mode == QLatin1String("steady"))
        kind = Flooder::Kind::Steady;
    else if (mode != QLatin1String("blast"))
        return usage();
    if (hostPath.isEmpty()) return usage();

    HostProcess host;
    const quint16 port = host.start(hostPath, {QStringLiteral("--port"), QStringLiteral("0")});
    if (port == 0) {
        std::fprintf(stderr, "euchre-floodbench: the host did not start\n");
        return 1;
    }
    // The host's log of every line it lets go is not part of the figures.
    host.process.setStandardErrorFile(QProcess::nullDevice());

    WireClient me;
    me.connectTo(port);
    if (!QTest::qWaitFor([&] { return me.slot() != 0; }, 10000)) return 1;
    me.say("CMD_logininfo+" + QByteArray::number(me.slot()) + "+1.0.6+Ninth");
    std::vector<std::unique_ptr<Flooder>> flooders;
    for (int i = 0; i < flooderCount; ++i) {
        flooders.push_back(std::make_unique<Flooder>(kind, rate));
        flooders.back()->arrive(port);
        if (!QTest::qWaitFor([&] { return me.count("CMD_newplayerinfo") == i + 2; }, 10000))
            return 1;
    }

    // The flood, with the well-behaved client chatting twice a second.
    qint64 peakKiB = host.residentKiB();
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout,
                     [&] { peakKiB = qMax(peakKiB, host.residentKiB()); });
    sample.start(250);
    for (const auto& f : flooders) f->start();
    Pinger pinger(&me);
    pinger.start(500);
    QTest::qWait(seconds * 1000);
    pinger.stop();
    for (const auto& f : flooders) f->stop();

    // A newcomer right after the flood, when a slot is free for it.
    WireClient newcomer;
    Pinger first(&newcomer);
    newcomer.connectTo(port);
    const bool admitted = QTest::qWaitFor([&] { return newcomer.slot() != 0; }, 5000);
    if (admitted) {
        newcomer.say("CMD_logininfo+" + QByteArray::number(newcomer.slot()) + "+1.0.6+New");
        first.ping();
    }
    // Everything still waiting comes back, however long that takes.
    const bool allBack = QTest::qWaitFor(
        [&] { return pinger.answered() == pinger.sent() && (!admitted || first.answered() == 1); },
        300000);

    if (!allBack) std::printf("(stopped waiting after five minutes)\n");
    const QList<qint64>& l = pinger.latencies;
    std::printf("mode %s, %d flooders, %d s\n", qPrintable(mode), flooderCount, seconds);
    std::printf("well-behaved chat lines: %d sent, %d back\n", pinger.sent(), pinger.answered());
    std::printf("latency ms: p50 %lld  p90 %lld  p99 %lld  max %lld\n", percentile(l, 0.5),
                percentile(l, 0.9), percentile(l, 0.99), percentile(l, 1.0));
    if (admitted && first.answered() == 1)
        std::printf("newcomer's first line: %lld ms\n", first.latencies[0]);
    else
        std::printf("newcomer's first line: %s\n", admitted ? "never came back" : "not admitted");
    std::printf("host memory peak: %lld KiB\n", peakKiB);
    return 0;
}
