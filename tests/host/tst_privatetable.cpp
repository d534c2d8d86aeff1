// A private table's gate, driven by fake connections on a stepped clock:
// what a waiting connection hears, each kind of answer, the lockout of an
// address that keeps guessing, and the bounds on who may wait.
#include "host/support/hostfixture.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::testing;

namespace {

const QByteArray kPassword = "se+same";
const QByteArrayList kAsked{"CMD_password+"};
const QByteArrayList kRefused{"CMD_password+", "CMD_wrongpassword+"};

struct Gate {
    HostFixture h;
    qint64 clock = 1000000;

    explicit Gate(const QByteArray& password = kPassword) {
        h.server.setClock([this] { return clock; });
        h.server.setPassword(password);
    }
    // A connection from the address reaches the host and says `first`.
    FakeLink* arrive(const QString& address, const QByteArray& first = {}) {
        auto fake = std::make_unique<FakeLink>();
        FakeLink* raw = fake.get();
        fake->address = address;
        h.server.welcome(std::move(fake));
        if (!first.isEmpty()) raw->peerSays(first);
        for (int s = 1; s <= 9; ++s)
            if (h.server.playerslot[s].socket.get() == raw) h.link[s] = raw;
        return raw;
    }
    bool refusedWith(const QString& address, const QByteArray& first, const QByteArrayList& heard) {
        const FakeLink* l = arrive(address, first);
        return l->closed && l->messages() == heard;
    }
};

const QByteArray kRight = "CMD_password+" + kPassword + "\xFF";
const QByteArray kWrong = "CMD_password+open sesame\xFF";

} // namespace

class PrivateTableTest : public QObject {
    Q_OBJECT
private slots:
    void aWaitingConnectionHearsNothingOfTheTable() {
        Gate open{QByteArray()};
        QCOMPARE(open.arrive(QStringLiteral("10.0.0.1"))->sent,
                 QByteArrayList{"CMD_sendlogininfo+1\xFF"});

        Gate g;
        QCOMPARE(g.arrive(QStringLiteral("10.0.0.9"), kRight)->messages().last(),
                 QByteArray("CMD_sendlogininfo+1"));
        g.h.say(1, "CMD_logininfo+1+1.0.6+Ann");
        FakeLink* waiting = g.arrive(QStringLiteral("10.0.0.2"));
        // The table goes on around it: a newcomer, chat, a game.
        g.arrive(QStringLiteral("10.0.0.9"), kRight);
        g.h.say(2, "CMD_logininfo+2+1.0.6+Bob");
        g.h.say(1, "CMD_chat+1+hello|clBlack");
        g.h.say(1, "CMD_startgame+Ann+10+");
        g.h.drain();
        g.h.fire();
        QCOMPARE(waiting->messages(), kAsked);
        QCOMPARE(g.h.server.pendingCount(), 1);
        // Nobody at the table hears of it, and it is not counted.
        QCOMPARE(g.h.link[1]->withWord("CMD_newplayerinfo").size(), 2);
        const discovery::TableInfo info = g.h.server.tableInfo();
        QCOMPARE(info.seats + info.watchers, 2);
        QVERIFY(info.password);
    }

    void eachAnswerAtTheGate_data() {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("heard");
        QTest::addColumn<int>("queued"); // lines the admitted slot has waiting
        const QByteArrayList admitted{"CMD_password+", "CMD_sendlogininfo+1"};
        QTest::newRow("right") << QByteArrayList{kRight} << admitted << 0;
        QTest::newRow("right in pieces, stray ends around it, text after it")
            << QByteArrayList{"\xFF\xFF"
                              "CMD_pass",
                              "word+se+sa",
                              "me\xFF\xFF"
                              "CMD_chat+1+hi|clBlack\xFF"}
            << admitted << 2;
        QTest::newRow("wrong") << QByteArrayList{kWrong} << kRefused << 0;
        QTest::newRow("its start") << QByteArrayList{"CMD_password+se\xFF"} << kRefused << 0;
        QTest::newRow("another message first")
            << QByteArrayList{"CMD_logininfo+1+1.0.6+Eve\xFF" + kRight} << kRefused << 0;
        QTest::newRow("no field") << QByteArrayList{"CMD_password\xFF"} << kRefused << 0;
        QTest::newRow("empty lines") << QByteArrayList{"\xFF", "\xFF\xFF"} << kAsked << 0;
        QTest::newRow("no end") << QByteArrayList{"CMD_password+" + QByteArray(1100, 'x')}
                                << kRefused << 0;
    }
    void eachAnswerAtTheGate() {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArrayList, heard);
        QFETCH(int, queued);
        Gate g;
        FakeLink* l = g.arrive(QStringLiteral("10.0.0.1"));
        for (const QByteArray& chunk : chunks) l->peerSays(chunk);
        QCOMPARE(l->messages(), heard);
        QCOMPARE(l->closed, heard == kRefused);
        QCOMPARE(g.h.server.pendingCount(), heard == kAsked ? 1 : 0);
        QCOMPARE(g.h.server.playerslot[1].connected, heard.size() == 2 && heard != kRefused);
        QCOMPARE(g.h.server.queuedCount(), queued);
    }

    void fiveWrongTriesInAMinuteLockTheAddressForAMinute() {
        Gate g;
        const QString bad = QStringLiteral("192.0.2.7");
        const QByteArrayList locked{"CMD_lockedout+"};
        // Four tries, then a pause past the minute: the old tries no longer count.
        for (int i = 0; i < 8; ++i) {
            QVERIFY(g.refusedWith(bad, kWrong, kRefused));
            g.clock += i == 3 ? 61000 : 1000;
        }
        // One waits at the gate while the fifth try locks the address out.
        FakeLink* early = g.arrive(bad);
        QVERIFY(g.refusedWith(bad, kWrong, kRefused));
        const qint64 lockedAt = g.clock;
        QVERIFY(g.refusedWith(bad, kRight, locked));
        early->peerSays(kRight);
        QCOMPARE(early->messages(), kAsked + locked);
        // Another address is not touched by it; the lock ends after a minute.
        QCOMPARE(g.arrive(QStringLiteral("192.0.2.8"), kRight)->messages().last(),
                 QByteArray("CMD_sendlogininfo+1"));
        g.clock = lockedAt + 59999;
        QVERIFY(g.refusedWith(bad, kRight, locked));
        g.clock = lockedAt + 60000;
        QCOMPARE(g.arrive(bad, kRight)->messages().last(), QByteArray("CMD_sendlogininfo+2"));
    }

    void whoMayWaitIsBounded() {
        Gate g;
        QList<FakeLink*> waiting;
        for (int i = 0; i < TServer::kMaxPending; ++i)
            waiting.append(g.arrive(QStringLiteral("10.0.1.%1").arg(i)));
        g.clock += 10000;
        // The seventeenth lets the one that waited longest go.
        waiting.append(g.arrive(QStringLiteral("10.0.2.1")));
        QCOMPARE(g.h.server.pendingCount(), TServer::kMaxPending);
        QVERIFY(waiting[0]->closed && !waiting[1]->closed);
        // Thirty seconds to answer, counted from each one's arrival.
        g.clock += TServer::kPasswordWaitMs - 10001;
        g.h.server.gateTimerTimer();
        QCOMPARE(g.h.server.pendingCount(), TServer::kMaxPending);
        g.clock += 1;
        g.h.server.gateTimerTimer();
        QCOMPARE(g.h.server.pendingCount(), 1);
        QVERIFY(waiting[15]->closed && !waiting[16]->closed);
        QCOMPARE(waiting[15]->messages(), kAsked);

        // Wrong tries are remembered for the newest 64 addresses only.
        PasswordGate gate;
        for (int i = 0; i < 5; ++i) gate.wrongTry(QStringLiteral("first"), i);
        for (int i = 0; i < 200; ++i) gate.wrongTry(QString::number(i), 10 + i);
        QCOMPARE(gate.rememberedAddresses(), PasswordGate::kMaxAddresses);
        QVERIFY(!gate.isLockedOut(QStringLiteral("first"), 400));
    }
};

QTEST_MAIN(PrivateTableTest)
#include "tst_privatetable.moc"
