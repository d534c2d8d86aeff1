// A private table's gate, driven by fake connections on a stepped clock:
// what a waiting connection hears, each kind of answer, the lockout of an
// address that keeps guessing, and the bounds on who may wait.
#include "host/support/hostfixture.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::testing;

namespace {

const QByteArray kPassword = "se+same";

struct Gate {
    HostFixture h;
    qint64 clock = 1000000;

    Gate() {
        h.server.setClock([this] { return clock; });
        h.server.setPassword(kPassword);
    }
    // A connection from the address reaches the gate; returns it and its slot
    // (0 while it waits).
    FakeLink* arrive(const QString& address, int* slot = nullptr) {
        auto fake = std::make_unique<FakeLink>();
        FakeLink* raw = fake.get();
        fake->address = address;
        const int s = h.server.welcome(std::move(fake));
        if (slot) *slot = s;
        if (s >= 1 && s <= 9) h.link[s] = raw;
        return raw;
    }
    // Arrives, sends the right password and logs in; returns the slot.
    int enter(const QByteArray& name, const QString& address = QStringLiteral("10.0.0.9")) {
        FakeLink* l = arrive(address);
        l->peerSays("CMD_password+" + kPassword + "\xFF");
        const int slot = findSlot(l);
        if (slot == 0) return 0;
        h.link[slot] = l;
        h.say(slot, "CMD_logininfo+" + QByteArray::number(slot) + "+1.0.6+" + name);
        h.drain();
        return slot;
    }
    int findSlot(const PeerLink* l) const {
        for (int s = 1; s <= 9; ++s)
            if (h.server.playerslot[s].socket.get() == l) return s;
        return 0;
    }
    // One wrong try from the address; true when the gate asked for the
    // password and refused the wrong one.
    bool guessWrong(const QString& address) {
        FakeLink* l = arrive(address);
        l->peerSays("CMD_password+open sesame\xFF");
        return l->messages() == QByteArrayList{"CMD_password+", "CMD_wrongpassword+"} && l->closed;
    }
    bool lockedOut(const QString& address) {
        int slot = -1;
        FakeLink* l = arrive(address, &slot);
        return slot == TServer::kRefusedSlot && l->messages() == QByteArrayList{"CMD_lockedout+"} &&
               l->closed;
    }
};

} // namespace

class PrivateTableTest : public QObject {
    Q_OBJECT
private slots:
    void anOpenTableAdmitsAsItAlwaysDid() {
        HostFixture h;
        auto fake = std::make_unique<FakeLink>();
        FakeLink* raw = fake.get();
        QCOMPARE(h.server.welcome(std::move(fake)), 1);
        QCOMPARE(raw->sent, QByteArrayList{"CMD_sendlogininfo+1\xFF"});
        QCOMPARE(h.server.pendingCount(), 0);
        QVERIFY(!h.server.tableInfo().password);
    }

    void aWaitingConnectionHearsNothingOfTheTable() {
        Gate g;
        QCOMPARE(g.enter("Ann"), 1);
        FakeLink* waiting = g.arrive(QStringLiteral("10.0.0.2"));
        QCOMPARE(g.h.server.pendingCount(), 1);
        // The table goes on around it: a newcomer, chat, a game.
        QCOMPARE(g.enter("Bob"), 2);
        g.h.say(1, "CMD_chat+1+hello|clBlack");
        g.h.say(1, "CMD_startgame+Ann+10+");
        g.h.drain();
        g.h.fire();
        QCOMPARE(waiting->messages(), QByteArrayList{"CMD_password+"});
        QVERIFY(!waiting->closed);
        // And nobody at the table hears of it.
        for (const QByteArray& m : g.h.all(1) + g.h.all(2))
            QVERIFY2(!m.startsWith("CMD_newplayerinfo+3") && !m.contains("10.0.0.2"), m);
        const discovery::TableInfo info = g.h.server.tableInfo();
        QCOMPARE(info.seats, 2);
        QCOMPARE(info.watchers, 0);
        QVERIFY(info.password);
        QVERIFY(info.game);
        QCOMPARE(info.name, QStringLiteral("Ann"));
    }

    void eachAnswerAtTheGate_data() {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("heard");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("queued"); // lines the admitted slot has waiting
        const QByteArrayList asked{"CMD_password+"};
        const QByteArrayList admitted{"CMD_password+", "CMD_sendlogininfo+1"};
        const QByteArrayList refused{"CMD_password+", "CMD_wrongpassword+"};
        QTest::newRow("right") << QByteArrayList{"CMD_password+se+same\xFF"} << admitted << false
                               << 0;
        QTest::newRow("right in pieces, stray ends around it, text after it")
            << QByteArrayList{"\xFF\xFF"
                              "CMD_pass",
                              "word+se+sa",
                              "me\xFF\xFF"
                              "CMD_chat+1+hi|clBlack\xFF"}
            << admitted << false << 2;
        QTest::newRow("wrong") << QByteArrayList{"CMD_password+sesame\xFF"} << refused << true << 0;
        QTest::newRow("only the start of it")
            << QByteArrayList{"CMD_password+se\xFF"} << refused << true << 0;
        QTest::newRow("another message first") << QByteArrayList{"CMD_logininfo+1+1.0.6+Eve\xFF"
                                                                 "CMD_password+se+same\xFF"}
                                               << refused << true << 0;
        QTest::newRow("the word without its field")
            << QByteArrayList{"CMD_password\xFF"} << refused << true << 0;
        QTest::newRow("empty lines only")
            << QByteArrayList{"\xFF", "\xFF\xFF"} << asked << false << 0;
        QTest::newRow("endless text without an end")
            << QByteArrayList{"CMD_password+" + QByteArray(1100, 'x')} << refused << true << 0;
    }
    void eachAnswerAtTheGate() {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArrayList, heard);
        QFETCH(bool, closed);
        QFETCH(int, queued);
        Gate g;
        FakeLink* l = g.arrive(QStringLiteral("10.0.0.1"));
        for (const QByteArray& chunk : chunks) l->peerSays(chunk);
        QCOMPARE(l->messages(), heard);
        QCOMPARE(l->closed, closed);
        const bool admitted = heard.size() == 2 && heard[1].startsWith("CMD_sendlogininfo");
        QCOMPARE(g.h.server.pendingCount(), admitted || closed ? 0 : 1);
        QCOMPARE(g.h.server.playerslot[1].connected, admitted);
        QCOMPARE(g.h.server.queuedCount(), queued);
    }

    void fiveWrongTriesInAMinuteLockTheAddressForAMinute() {
        Gate g;
        const QString bad = QStringLiteral("192.0.2.7");
        // Four tries, then a pause past the minute: the old tries no longer count.
        for (int i = 0; i < 4; ++i) QVERIFY(g.guessWrong(bad));
        g.clock += 61000;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(g.guessWrong(bad));
            g.clock += 1000;
        }
        // One waits at the gate while the fifth try locks the address out.
        FakeLink* early = g.arrive(bad);
        QVERIFY(g.guessWrong(bad));
        const qint64 lockedAt = g.clock;
        QVERIFY(g.lockedOut(bad));
        early->peerSays("CMD_password+" + kPassword + "\xFF");
        QCOMPARE(early->messages(), (QByteArrayList{"CMD_password+", "CMD_lockedout+"}));
        QVERIFY(!g.h.server.playerslot[1].connected);

        // Another address is not touched by it.
        QCOMPARE(g.enter("Ann", QStringLiteral("192.0.2.8")), 1);

        g.clock = lockedAt + 59999;
        QVERIFY(g.lockedOut(bad));
        g.clock = lockedAt + 60000;
        QCOMPARE(g.enter("Bob", bad), 2);
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
        QVERIFY(waiting[0]->closed);
        QVERIFY(!waiting[1]->closed);
        QCOMPARE(waiting[0]->messages(), QByteArrayList{"CMD_password+"});

        // Thirty seconds to answer, counted from each one's arrival.
        g.clock += TServer::kPasswordWaitMs - 10001;
        g.h.server.gateTimerTimer();
        QCOMPARE(g.h.server.pendingCount(), TServer::kMaxPending);
        g.clock += 1;
        g.h.server.gateTimerTimer();
        QCOMPARE(g.h.server.pendingCount(), 1);
        QVERIFY(waiting[15]->closed);
        QVERIFY(!waiting[16]->closed);
        g.clock += 10000;
        g.h.server.gateTimerTimer();
        QCOMPARE(g.h.server.pendingCount(), 0);
        QVERIFY(!g.h.server.playerslot[1].connected);

        // The wrong tries of a crowd of addresses are remembered for the newest 64.
        PasswordGate gate;
        gate.setPassword("x");
        for (int i = 0; i < 5; ++i) gate.wrongTry(QStringLiteral("first"), i);
        for (int i = 0; i < 200; ++i) gate.wrongTry(QString::number(i), 10 + i);
        QCOMPARE(gate.rememberedAddresses(), PasswordGate::kMaxAddresses);
        QVERIFY(!gate.isLockedOut(QStringLiteral("first"), 400));
        for (int i = 0; i < 4; ++i) gate.wrongTry(QStringLiteral("199"), 300 + i);
        QVERIFY(gate.isLockedOut(QStringLiteral("199"), 400));
    }

    void openingTheTableLetsTheWaitingIn() {
        Gate g;
        FakeLink* l = g.arrive(QStringLiteral("10.0.0.1"));
        l->peerSays("CMD_logi");
        g.h.server.setPassword(QByteArray());
        QCOMPARE(l->messages(), (QByteArrayList{"CMD_password+", "CMD_sendlogininfo+1"}));
        l->peerSays("ninfo+1+1.0.6+Ann\xFF");
        g.h.drain();
        QCOMPARE(g.h.server.playerslot[1].name, QByteArray("Ann"));
    }
};

QTEST_MAIN(PrivateTableTest)
#include "tst_privatetable.moc"
