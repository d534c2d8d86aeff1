// The host's slots, logins, catch-up, leaving, removal, just watching, the
// queue and the relays, driven by fake connections.
#include "host/support/hostfixture.h"
#include "model/card.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::testing;

class SlotsTest : public QObject {
    Q_OBJECT
private slots:
    void firstLoginSeesItselfOnly() {
        HostFixture h;
        QCOMPARE(h.connect(), 1);
        QCOMPARE(h.link[1]->sent, QByteArrayList{"CMD_sendlogininfo+1\xFF"});
        h.link[1]->sent.clear();
        // The table window's login ends in two terminators; the empty line is ignored.
        h.link[1]->peerSays("CMD_logininfo+1+1.0.6+You\xFF\xFF");
        QCOMPARE(h.server.queuedCount(), 2);
        h.drain();
        QCOMPARE(h.link[1]->sent, QByteArrayList{"CMD_newplayerinfo+1+You+0\xFF"});
        QCOMPARE(h.server.playerslot[1].name, QByteArray("You"));
    }

    void newcomerLearnsWhoIsThere() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.say(2, "CMD_justwatch+2+1");
        h.drain();
        h.clearSent();
        QCOMPARE(h.join("Cat+Dog"), 3);
        // A "+" would split the name into extra fields on every table: it is left out.
        QCOMPARE(h.server.playerslot[3].name, QByteArray("CatDog"));
        QCOMPARE(h.all(1), QByteArrayList{"CMD_newplayerinfo+3+CatDog+0"});
        QCOMPARE(h.all(3), (QByteArrayList{"CMD_sendlogininfo+3", "CMD_newplayerinfo+3+CatDog+0",
                                           "CMD_existingplayers+1+Ann+0+2+Bob+1"}));
    }

    void versionMismatchWarnsBoth() {
        HostFixture h;
        h.join("Ann");
        const int slot = h.connect();
        h.clearSent();
        h.say(slot, "CMD_logininfo+2+1.0.5+Old");
        h.drain();
        QCOMPARE(h.all(1),
                 (QByteArrayList{"CMD_newplayerinfo+2+Old+0", "CMD_havewrongversion+Old"}));
        QCOMPARE(h.all(2).last(), QByteArray("CMD_wrongversion+"));
        QVERIFY(h.server.playerslot[2].connected); // a warning only
    }

    void freedSlotIsRefilledAndTenthRefused() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.join("Cat");
        h.clearSent();
        h.link[2]->peerCloses();
        QCOMPARE(h.all(1), QByteArrayList{"CMD_playerdisconnected+2+Bob"});
        QCOMPARE(h.all(3), QByteArrayList{"CMD_playerdisconnected+2+Bob"});
        QVERIFY(h.all(2).isEmpty());
        QVERIFY(!h.server.playerslot[2].connected);
        QVERIFY(h.server.playerslot[2].name.isEmpty());
        QCOMPARE(h.join("Dee"), 2);
        for (int i = 4; i <= 9; ++i) QCOMPARE(h.join("S" + QByteArray::number(i)), i);

        auto fake = std::make_unique<FakeLink>();
        FakeLink* tenth = fake.get();
        QCOMPARE(h.server.admit(std::move(fake)), TServer::kRefusedSlot);
        Q_UNUSED(tenth); // released by the host once refused
        QCOMPARE(h.server.slotcount, 9);
        QVERIFY(!h.server.playerslot[10].connected);
    }

    void tenthGetsFullAndIsClosed() {
        HostFixture h;
        for (int i = 1; i <= 9; ++i) h.connect();
        QByteArrayList seen;
        h.server.onSend = [&](int slot, const QByteArray& bytes) {
            if (slot == 10) seen.append(bytes);
        };
        h.connect();
        QCOMPARE(seen, QByteArrayList{"CMD_full+\xFF"});
        QVERIFY(!h.server.playerslot[10].socket);
    }

    void catchUpInTheMiddleOfATrick() {
        HostFixture h;
        h.fourPlayersStart();
        h.link[3]->peerCloses();
        // Freeze a known trick state: seat 2 led, seat 3 is to play.
        h.setHands({{{8, 9, 10, 11, 12},
                     {21, 22, 0, 24, 25},
                     {34, 35, 36, 37, 38},
                     {47, 48, 49, 50, 51}}});
        rules::Table& t = h.table();
        t.trump = Hearts;
        t.leftbower = 23;
        t.dealer = 1;
        t.phase = rules::Phase::Play;
        t.seat = 3;
        t.played[2] = 23;
        t.team[2].makers = true;
        t.team[1].makers = false;
        t.makerseat = 2;
        t.team[1].score = 4;
        t.team[2].tricks = 1;
        h.clearSent();
        QCOMPARE(h.join("New"), 3);
        QCOMPARE(h.all(3), (QByteArrayList{
                               "CMD_sendlogininfo+3",
                               "CMD_newplayerinfo+3+New+0",
                               "CMD_existingplayers+1+Ann+0+2+Bob+0+4+Dan+0",
                               "CMD_loadcards+2+2+1+4+0+23+0+0+",
                               "CMD_loadstats+10+4+0+0+1+",
                               "CMD_placecard+3+1+34+2+35+3+36+4+37+5+38",
                               "CMD_loadtheircards+1+5+2+4+4+5",
                               "CMD_nextplayer+3+",
                           }));
    }

    void spectatorCatchUpAndNoCatchUpWithoutGame() {
        HostFixture h;
        for (int i = 1; i <= 4; ++i) h.join("P" + QByteArray::number(i));
        const int spy = h.join("Spy");
        QCOMPARE(spy, 5);
        QVERIFY(h.link[5]->withWord("CMD_loadcards").isEmpty()); // no game yet
        h.say(1, "CMD_startgame+P1+10+");
        h.drain();
        h.link[5]->peerCloses();
        h.clearSent();
        QCOMPARE(h.join("Spy2"), 5);
        const QByteArrayList got = h.all(5);
        QVERIFY(h.link[5]->withWord("CMD_placecard").isEmpty());
        QCOMPARE(h.link[5]->withWord("CMD_loadtheircards"),
                 QByteArrayList{"CMD_loadtheircards+1+5+2+5+3+5+4+5"});
    }

    void leavingWhileAskedToBidHandsTheSeatOver() {
        HostFixture h;
        h.fourPlayersStart();
        QCOMPARE(h.table().bidder(), 2); // left of seat 1, the first dealer
        h.clearSent();
        h.link[2]->peerCloses();
        const QByteArrayList seen = h.all(1);
        QVERIFY(seen.size() >= 2);
        QCOMPARE(seen[0], QByteArray("CMD_playerdisconnected+2+Bob"));
        // The computer answered at once, without the timer.
        QVERIFY(seen[1] == "CMD_hepassed+2+" || seen[1] == "CMD_heaccepted+2+");
        QVERIFY(h.table().bidder() != 2);
        // The second report of the same close changes nothing.
        const int before = h.all(1).size();
        h.link[2]->close();
        QCOMPARE(h.all(1).size(), before);
    }

    void onlyTheHostRemovesPlayers() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.join("Cat");
        h.say(2, "CMD_kickhim+2+3+");
        h.say(2, "CMD_kickhim+1+3+"); // pretending to be the host
        h.drain();
        QVERIFY(h.server.playerslot[3].connected);
        h.say(1, "CMD_kickhim+1+3+");
        h.drain();
        QVERIFY(!h.server.playerslot[3].connected);
        QVERIFY(h.link[3]->closed);
        QCOMPARE(h.link[1]->withWord("CMD_playerdisconnected"),
                 QByteArrayList{"CMD_playerdisconnected+3+Cat"});
    }

    void justWatchingOwnAndOtherSeats() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.join("Cat");
        h.clearSent();
        h.say(2, "CMD_justwatch+2+1");
        h.say(2, "CMD_justwatch+3+1"); // not its seat: dropped
        h.drain();
        QVERIFY(h.server.playerslot[2].watching);
        QVERIFY(!h.server.playerslot[3].watching);
        QCOMPARE(h.all(3), QByteArrayList{"CMD_justwatching+2+1"});
        h.say(1, "CMD_justwatch+3+1"); // the host may
        h.say(2, "CMD_justwatch+2+2");
        h.say(1, "CMD_justwatch+4+1"); // nobody in seat 4: ignored
        h.drain();
        QVERIFY(h.server.playerslot[3].watching);
        QVERIFY(!h.server.playerslot[2].watching);
        QCOMPARE(h.all(1), (QByteArrayList{"CMD_justwatching+2+1", "CMD_justwatching+3+1",
                                           "CMD_justwatching+2+2"}));
        QVERIFY(h.server.isComputerSeat(3));
        QVERIFY(h.server.isComputerSeat(4));
        QVERIFY(!h.server.isComputerSeat(2));
    }

    void relaysAreByteForByte() {
        HostFixture h;
        h.join("Ann");
        h.join("Spy");
        h.clearSent();
        h.say(2, "CMD_chat+2+1+1=2 :)|clBlack");
        h.say(2, "CMD_action+2+waves|$00FF0000");
        h.drain(); // two connections' lines waiting together take turns
        h.say(1, "CMD_playasound+1+wave20+");
        h.say(1, "CMD_botspeed+1+200+");
        h.drain();
        const QByteArrayList expected{"CMD_chat+2+Spy chats: 1+1=2 :)|clBlack",
                                      "CMD_action+2+Spy waves|$00FF0000",
                                      "CMD_playasound+1+wave20+"};
        QCOMPARE(h.all(1), expected);
        QCOMPARE(h.all(2), expected); // the sender gets its own line back
        QCOMPARE(h.server.botSpeed(), 1);
    }

    void oneMessagePerTickInOrder() {
        HostFixture h;
        h.join("Ann");
        h.clearSent();
        h.link[1]->peerSays("CMD_chat+1+a|clBlack\xFF"
                            "CMD_chat+1+b|clBlack\xFF"
                            "CMD_chat+1+c|cl");
        QCOMPARE(h.server.queuedCount(), 2);
        h.link[1]->peerSays("Black\xFF");
        QCOMPARE(h.server.queuedCount(), 3);
        h.server.socktimerTimer();
        QCOMPARE(h.all(1).size(), 1);
        h.server.socktimerTimer();
        h.server.socktimerTimer();
        QCOMPARE(h.all(1), (QByteArrayList{"CMD_chat+1+Ann chats: a|clBlack",
                                           "CMD_chat+1+Ann chats: b|clBlack",
                                           "CMD_chat+1+Ann chats: c|clBlack"}));
        h.server.socktimerTimer(); // empty queue: nothing happens
        QCOMPARE(h.all(1).size(), 3);
        QVERIFY(!h.server.socktimer.isActive());
    }

    void nobodyActsForAnother() {
        HostFixture h;
        h.fourPlayersStart();
        const int bidder = h.table().bidder();
        const int other = bidder == 3 ? 4 : 3;
        h.clearSent();
        h.say(other, "CMD_selectedbubble+" + QByteArray::number(bidder) + "+1+");
        h.say(other, "CMD_chat+" + QByteArray::number(bidder) + "+forged|clBlack");
        h.say(other, "CMD_logininfo+" + QByteArray::number(bidder) + "+1.0.6+Thief");
        h.say(2, "CMD_startgame+Bob+5+");
        h.drain();
        QCOMPARE(h.table().bidder(), bidder);
        QVERIFY(h.all(1).isEmpty());
        QCOMPARE(h.table().playto, 10);
    }

    void badNumbersAreDropped() {
        HostFixture h;
        h.fourPlayersStart();
        const int bidder = h.table().bidder();
        const QByteArray b = QByteArray::number(bidder);
        h.clearSent();
        for (const QByteArray& bad : QByteArrayList{
                 "CMD_selectedbubble+" + b + "+9+", "CMD_selectedbubble+" + b + "+x+",
                 "CMD_selectedbubble+" + b + "+", "CMD_selectedbubble+" + b + "+99999999999+",
                 "CMD_playcard+" + b + "+0+", "CMD_playcard+" + b + "+6+", "CMD_chat+0+x|clBlack",
                 "CMD_chat+11+x|clBlack", "CMD_justwatch+5+1", "CMD_justwatch+" + b + "+3",
                 "CMD_kickhim+1+10+", "CMD_playasound+-1+wave1+", "CMD_logininfo+99+1.0.6+X",
                 "garbage", "", "CMD_selectedbubble", "cmd_chat+" + b + "+x"}) {
            h.say(bidder, bad);
        }
        h.drain();
        QCOMPARE(h.table().bidder(), bidder);
        QVERIFY(h.all(1).isEmpty());
        for (int s = 1; s <= 4; ++s) QVERIFY(h.server.playerslot[s].connected);
    }

    void floodsCloseTheConnection() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.join("Cat");
        // Unterminated text over the limit.
        h.link[2]->peerSays(QByteArray(64 * 1024 + 1, 'x'));
        QVERIFY(h.link[2]->closed);
        QVERIFY(!h.server.playerslot[2].connected);
        // Too many lines waiting.
        QByteArray many;
        for (int i = 0; i < 1001; ++i) many += "CMD_chat+3+x|clBlack\xFF";
        h.link[3]->peerSays(many);
        QVERIFY(h.link[3]->closed);
        h.drain(); // its queued lines are dropped with it
        QVERIFY(h.link[1]->withWord("CMD_chat").isEmpty());
        // A reader that does not read.
        h.link[1]->unsent = 2 * 1024 * 1024;
        h.say(1, "CMD_chat+1+hi|clBlack");
        h.drain();
        h.server.socktimerTimer();
        QVERIFY(h.link[1]->closed);
    }

    void leaversQueuedLinesDieWithIt() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.say(2, "CMD_chat+2+last words|clBlack");
        h.link[2]->peerCloses();
        QCOMPARE(h.join("New"), 2);
        h.clearSent();
        h.drain();
        QVERIFY(h.link[1]->withWord("CMD_chat").isEmpty());
        h.say(2, "CMD_chat+2+hello|clBlack");
        h.drain();
        QCOMPARE(h.link[1]->withWord("CMD_chat"),
                 QByteArrayList{"CMD_chat+2+New chats: hello|clBlack"});
    }
};

QTEST_GUILESS_MAIN(SlotsTest)
#include "tst_slots.moc"
