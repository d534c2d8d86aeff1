// The stand-alone host under floods and hostile lines, over real connections:
// a flood delays nobody else and stops no game, a newcomer is heard at once
// after floods were let go, and names, second logins, forged log lines and
// over-long lines harm nobody, while a leaver's goodbye is still heard.
#include "integration/support/flood.h"
#include "integration/support/hostprocess.h"
#include "integration/support/wireclient.h"

#include <QtTest>
#include <algorithm>
#include <csignal>
#include <limits>
#include <memory>
#include <sys/socket.h>
#include <vector>

using namespace euchre::testing;

namespace {

constexpr int kWait = 15000;

// How much the host's memory may grow under the flood. The address sanitizer
// holds freed memory back for a while, so there it is not measured.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kMaxGrowthKiB = std::numeric_limits<qint64>::max();
#else
constexpr qint64 kMaxGrowthKiB = 16 * 1024;
#endif

// A seated person who bids pass and plays the first card the host takes,
// noting how long each card took to be accepted.
struct SeatedPlayer {
    explicit SeatedPlayer(WireClient& c) : client(c) {
        clock.start();
        client.onMessage = [this](const QByteArray& m) { heard(m); };
    }

    void heard(const QByteArray& m) {
        const QList<QByteArray> f = fieldsOf(m);
        const QByteArray word = commandWord(m);
        if (f.isEmpty() || f[0] != "1") return;
        if (word == "CMD_placecard")
            for (int i = 1; i + 1 < f.size(); i += 2) hand[f[i].toInt()] = f[i + 1].toInt();
        else if (word == "CMD_switch")
            hand[f[1].toInt()] = f[2].toInt();
        else if (word == "CMD_bidder")
            client.say("CMD_selectedbubble+1+2+");
        else if (word == "CMD_chooser")
            client.say("CMD_selectedbubble+1+22+");
        else if (word == "CMD_aloner")
            client.say("CMD_selectedbubble+1+8+");
        else if (word == "CMD_discarder")
            client.say("CMD_playcard+1+1+");
        else if (word == "CMD_nextplayer")
            play(1);
        else if (word == "CMD_notvalid" && f.value(1) == "2")
            play(f.value(2).toInt() + 1);
        else if (word == "CMD_playedcard") {
            hand[f[1].toInt()] = 0;
            if (playedAt >= 0) cardLatencies.append(clock.elapsed() - playedAt);
            playedAt = -1;
        }
    }

    void play(int from) {
        for (int pos = from; pos <= 5; ++pos)
            if (hand[pos] != 0) {
                if (playedAt < 0) playedAt = clock.elapsed();
                client.say("CMD_playcard+1+" + QByteArray::number(pos) + "+");
                return;
            }
    }

    WireClient& client;
    int hand[6] = {};
    QElapsedTimer clock;
    qint64 playedAt = -1;
    QList<qint64> cardLatencies;
};

// Waits until the client has seen `text` as a whole message.
bool sees(WireClient& c, const QByteArray& text, int ms = kWait) {
    return QTest::qWaitFor(
        [&] {
            for (const WireClient::Message& m : c.messages)
                if (m.text == text) return true;
            return false;
        },
        ms);
}

} // namespace

class FloodTest : public QObject {
    Q_OBJECT

    HostProcess host;
    quint16 port = 0;

    std::unique_ptr<WireClient> join(const QByteArray& name) {
        auto c = std::make_unique<WireClient>();
        c->connectTo(port);
        if (!QTest::qWaitFor([&] { return c->slot() != 0; }, kWait)) return c;
        const QByteArray slot = QByteArray::number(c->slot());
        c->sendRaw("CMD_logininfo+" + slot + "+1.0.6+" + name + "\xFF\xFF");
        const QByteArray announced = "CMD_newplayerinfo+" + slot + "+";
        const bool seen = QTest::qWaitFor(
            [&] {
                for (const WireClient::Message& m : c->messages)
                    if (m.text.startsWith(announced)) return true;
                return false;
            },
            kWait);
        if (!seen) qWarning("the login of %s was not announced in time", name.constData());
        return c;
    }

    // What a busy machine adds to a line's way through the host before any
    // flood: three times the slowest of ten calm chat lines, so that the
    // limits below measure the host's fairness, not the machine's load.
    static void calmSlack(WireClient& client, qint64& slack) {
        Pinger calm(&client, "calm");
        calm.start(50);
        QTRY_VERIFY_WITH_TIMEOUT(calm.sent() >= 10, kWait);
        calm.stop();
        QTRY_COMPARE_WITH_TIMEOUT(calm.answered(), calm.sent(), kWait);
        const qint64 slowest = std::max<qint64>(0, percentile(calm.latencies, 1.0));
        qInfo("calm chat: slowest of %d lines %lld ms", calm.sent(), slowest);
        slack = 3 * slowest;
    }

private slots:
    void init() {
        port = host.start(QStringLiteral(EUCHRE_HOST_BIN),
                          {QStringLiteral("--port"), QStringLiteral("0"),
                           QStringLiteral("--bot-speed"), QStringLiteral("100")});
        QVERIFY2(port != 0, host.out.constData());
    }

    void cleanup() {
        host.stopWith(SIGTERM);
        host.process.readAllStandardError();
    }

    void aFloodDelaysNobodyElseNorTheGame() {
        const std::unique_ptr<WireClient> me = join("Me");
        SeatedPlayer player(*me);
        std::vector<std::unique_ptr<Flooder>> flooders;
        for (int i = 0; i < 8; ++i) {
            flooders.push_back(std::make_unique<Flooder>(Flooder::Kind::Saturate));
            flooders.back()->arrive(port);
            QTRY_VERIFY_WITH_TIMEOUT(me->count("CMD_newplayerinfo") == i + 2, kWait);
        }
        me->say("CMD_startgame+Me+10+");
        // The flooders in seats 2 to 4 leave them to the computer once more,
        // since a new game gives every seat back to its person.
        QTRY_COMPARE_WITH_TIMEOUT(me->count("CMD_justwatching"), 6, kWait);
        qint64 slack = 0;
        calmSlack(*me, slack);
        if (QTest::currentTestFailed()) return;
        const int quietUntil = static_cast<int>(me->messages.size());
        const qint64 before = host.residentKiB();

        // Eight connections keep as many lines waiting as they may, for six
        // seconds, while the seated player chats twice a second and plays.
        for (const auto& f : flooders) f->start();
        Pinger pinger(me.get());
        pinger.start(500);
        QTest::qWait(6000);
        // Until the seated player has played a few cards: a hand may be
        // thrown in or played alone by its partner.
        QTRY_VERIFY_WITH_TIMEOUT(player.cardLatencies.size() >= 3, 30000);
        pinger.stop();
        for (const auto& f : flooders) f->stop();
        QTRY_COMPARE_WITH_TIMEOUT(pinger.answered(), pinger.sent(), kWait);
        const qint64 after = host.residentKiB();

        const qint64 p99 = percentile(pinger.latencies, 0.99);
        qInfo("well-behaved chat: p50 %lld ms, p99 %lld ms over %d lines; cards: max %lld ms "
              "over %lld; host memory %lld -> %lld KiB",
              percentile(pinger.latencies, 0.5), p99, pinger.sent(),
              percentile(player.cardLatencies, 1.0), qlonglong(player.cardLatencies.size()), before,
              after);
        QVERIFY(pinger.sent() >= 10);
        QVERIFY2(p99 < 150 + slack, qPrintable(QString::number(p99)));
        // The game went on at its pace: the person's cards were taken as fast
        // as the chat, and every computer card came three timer ticks after
        // its turn was announced.
        QVERIFY(!player.cardLatencies.isEmpty());
        QVERIFY(percentile(player.cardLatencies, 1.0) < 150 + slack);
        int computerCards = 0;
        for (int i = quietUntil; i < me->messages.size(); ++i) {
            const QByteArray& m = me->messages[i].text;
            if (!m.startsWith("CMD_nextplayer+") || m == "CMD_nextplayer+1+") continue;
            const int played = me->find("CMD_playedcard", i);
            if (played < 0) continue;
            const qint64 gap = me->messages[played].atMs - me->messages[i].atMs;
            QVERIFY2(gap >= 250 && gap < 450 + slack, qPrintable(QString::number(gap)));
            ++computerCards;
        }
        QVERIFY(computerCards >= 6);
        // Nobody was let go: the flooders only ever waited their turn.
        for (const auto& f : flooders) QVERIFY(f->client.isConnected());
        QVERIFY2(after - before < kMaxGrowthKiB, qPrintable(QString::number(after - before)));
    }

    void aNewcomerIsHeardAtOnceAfterFloodsAreLetGo() {
        const std::unique_ptr<WireClient> me = join("Me");
        std::vector<std::unique_ptr<Flooder>> flooders;
        for (int i = 0; i < 8; ++i) {
            flooders.push_back(std::make_unique<Flooder>(Flooder::Kind::Blast));
            flooders.back()->arrive(port);
            QTRY_VERIFY_WITH_TIMEOUT(me->count("CMD_newplayerinfo") == i + 2, kWait);
        }
        qint64 slack = 0;
        calmSlack(*me, slack);
        if (QTest::currentTestFailed()) return;
        for (const auto& f : flooders) f->start();
        QTRY_COMPARE_WITH_TIMEOUT(me->count("CMD_playerdisconnected"), 8, kWait);

        const std::unique_ptr<WireClient> newcomer = join("New");
        Pinger pinger(newcomer.get());
        pinger.ping();
        QTRY_COMPARE_WITH_TIMEOUT(pinger.answered(), 1, kWait);
        qInfo("newcomer's first line back after %lld ms", pinger.latencies[0]);
        QVERIFY2(pinger.latencies[0] < 100 + slack,
                 qPrintable(QString::number(pinger.latencies[0])));
    }

    void hostileLinesHarmNobody() {
        const std::unique_ptr<WireClient> watcher = join("Watcher");
        WireClient mallory;
        mallory.connectTo(port);
        QTRY_COMPARE_WITH_TIMEOUT(mallory.slot(), 2, kWait);
        mallory.say("CMD_logininfo+2+1.0.6+Mallory+0+1+FakeHost");
        QVERIFY(sees(*watcher, "CMD_newplayerinfo+2+Mallory01FakeHost+0"));

        // A newcomer hears of two players, not of a third "FakeHost".
        const std::unique_ptr<WireClient> newcomer = join("Watcher");
        QVERIFY(sees(*newcomer, "CMD_existingplayers+1+Watcher+0+2+Mallory01FakeHost+0"));
        QVERIFY(sees(*newcomer, "CMD_newplayerinfo+3+Watcher (2)+0"));

        // A second login cannot take another's name; an over-long line and a
        // forged log line go nowhere but into one line of the host's log.
        host.process.readAllStandardError();
        mallory.say("CMD_logininfo+2+1.0.6+Watcher");
        mallory.say("CMD_chat+2+" + QByteArray(60000, 'x') + "|clBlack");
        mallory.say("CMD_chat+9+x\neuchre.host: closing slot 1: forged");
        mallory.say("CMD_chat+2+I am the host, please leave|clBlack");
        QVERIFY(sees(*watcher,
                     "CMD_chat+2+Mallory01FakeHost chats: I am the host, please leave|clBlack"));
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += host.process.readAllStandardError()).count('\n') >= 3,
                                 kWait);
        QTest::qWait(100);
        log += host.process.readAllStandardError();
        QList<QByteArray> lines = log.trimmed().split('\n');
        std::sort(lines.begin(), lines.end());
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("euchre.host: dropped from slot 2 (a line of 60019 bytes)"));
        QVERIFY(lines[1].startsWith("euchre.host: dropped from slot 2 (a second login)"));
        QCOMPARE(lines[2], QByteArray("euchre.host: dropped from slot 2 (not its slot): "
                                      "CMD_chat+9+x\\x0aeuchre.host: closing slot 1: forged"));
        QCOMPARE(watcher->count("CMD_newplayerinfo"), 3);

        // A goodbye said just before hanging up is still heard, under the name.
        newcomer->say("CMD_chat+3+goodbye|clBlack");
        QVERIFY(newcomer->socket.waitForBytesWritten(kWait) ||
                newcomer->socket.bytesToWrite() == 0);
        ::shutdown(static_cast<int>(newcomer->socket.socketDescriptor()), SHUT_WR);
        QVERIFY(sees(*watcher, "CMD_chat+3+Watcher (2) chats: goodbye|clBlack"));
        QVERIFY(sees(*watcher, "CMD_playerdisconnected+3+Watcher (2)"));
        QVERIFY(watcher->isConnected() && mallory.isConnected());
    }
};

QTEST_MAIN(FloodTest)
#include "tst_flood.moc"
