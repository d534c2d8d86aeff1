// The stand-alone host answering tables-on-this-network queries
// (--announce) under a flood of 100,000 random datagrams, some of them near
// misses of the query: it answers none of them, stays up, still answers a
// proper query, still lets a player in, and its memory stays flat.
#include "integration/support/hostprocess.h"
#include "integration/support/wireclient.h"
#include "net/discovery.h"

#include <QRandomGenerator>
#include <QUdpSocket>
#include <QtTest>
#include <limits>

using namespace euchre;
using namespace euchre::testing;

namespace {

constexpr int kWait = 15000;
constexpr int kDatagrams = 100000;
// How much the host's memory may grow under the flood. The address sanitizer
// holds freed memory back for a while, so there it is not measured.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kMemorySlackKiB = std::numeric_limits<qint64>::max() / 2;
#else
constexpr qint64 kMemorySlackKiB = 8 * 1024;
#endif

// A UDP port nobody holds right now.
quint16 freeUdpPort() {
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress)) return 0;
    return probe.localPort();
}

// Asks until an answer comes (a datagram may be lost); the answer, or empty.
QByteArray ask(quint16 port) {
    QUdpSocket asker;
    if (!asker.bind(QHostAddress::LocalHost, 0)) return {};
    for (int round = 0; round < 50 && !asker.hasPendingDatagrams(); ++round) {
        asker.writeDatagram(QByteArray(discovery::kQuery), QHostAddress::LocalHost, port);
        asker.waitForReadyRead(300);
    }
    if (!asker.hasPendingDatagrams()) return {};
    QByteArray answer(static_cast<int>(qMax<qint64>(0, asker.pendingDatagramSize())), '\0');
    asker.readDatagram(answer.data(), answer.size());
    return answer;
}

// One datagram of the flood: mostly noise, one in five a near miss of the query.
QByteArray floodDatagram(QRandomGenerator& random) {
    const QByteArray query(discovery::kQuery);
    QByteArray d;
    switch (random.bounded(10)) {
    case 0: { // one byte changed
        d = query;
        const int at = random.bounded(d.size());
        d[at] = static_cast<char>(d[at] ^ (1 + random.bounded(255)));
        break;
    }
    case 1: // the query and more
        d = query + QByteArray(1 + random.bounded(4), static_cast<char>(random.bounded(256)));
        break;
    default: { // anything, 0 to 600 bytes
        d.resize(random.bounded(601));
        for (char& c : d) c = static_cast<char>(random.bounded(256));
        if (random.bounded(10) == 0 && d.size() >= query.size()) d.replace(0, query.size(), query);
        break;
    }
    }
    return d == query ? d + '!' : d;
}

} // namespace

class DiscoveryFloodTest : public QObject {
    Q_OBJECT
private slots:
    void aFloodChangesNothing() {
        const quint16 discoveryPort = freeUdpPort();
        QVERIFY(discoveryPort != 0);
        HostProcess host;
        const quint16 port =
            host.start(QStringLiteral(EUCHRE_HOST_BIN),
                       {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--announce"),
                        QStringLiteral("--discovery-port"), QString::number(discoveryPort)});
        QVERIFY2(port != 0, host.out.constData());
        const QByteArray lines = "listening on " + QByteArray::number(port) + "\ndiscovery on " +
                                 QByteArray::number(discoveryPort) + '\n';
        QTRY_COMPARE_WITH_TIMEOUT(host.out += host.process.readAllStandardOutput(), lines, kWait);

        const std::optional<discovery::TableInfo> before =
            discovery::readAnswer(ask(discoveryPort));
        QVERIFY(before);
        QCOMPARE(before->port, port);
        QCOMPARE(before->seats, 0);
        QVERIFY(!before->password);
        const qint64 rssBefore = host.residentKiB();
        QVERIFY(rssBefore > 0);

        QUdpSocket flooder;
        QVERIFY(flooder.bind(QHostAddress::LocalHost, 0));
        QRandomGenerator random(20);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kDatagrams; ++i) {
            flooder.writeDatagram(floodDatagram(random), QHostAddress::LocalHost, discoveryPort);
            // Now and then the host gets a moment, so the flood reaches it
            // rather than the system's full buffer.
            if (i % 2000 == 1999) QTest::qWait(1);
        }
        qInfo("%d datagrams sent in %lld ms", kDatagrams, clock.elapsed());

        // Not one of them was answered, and the host goes on as before.
        const QByteArray after = ask(discoveryPort);
        QVERIFY(!flooder.hasPendingDatagrams());
        QCOMPARE(host.process.state(), QProcess::Running);
        QCOMPARE(discovery::readAnswer(after), before);

        WireClient player;
        player.connectTo(port);
        QTRY_COMPARE_WITH_TIMEOUT(player.slot(), 1, kWait);
        player.sendRaw("CMD_logininfo+1+1.0.6+Ann\xFF\xFF");
        QTRY_VERIFY_WITH_TIMEOUT(player.has("CMD_newplayerinfo"), kWait);
        const std::optional<discovery::TableInfo> withAnn =
            discovery::readAnswer(ask(discoveryPort));
        QVERIFY(withAnn);
        QCOMPARE(withAnn->name, QStringLiteral("Ann"));
        QCOMPARE(withAnn->seats, 1);

        const qint64 rssAfter = host.residentKiB();
        qInfo("host memory %lld KiB before the flood, %lld KiB after", rssBefore, rssAfter);
        QVERIFY2(rssAfter <= rssBefore + kMemorySlackKiB, qPrintable(QString::number(rssAfter)));
    }
};

QTEST_MAIN(DiscoveryFloodTest)
#include "tst_discoveryflood.moc"
