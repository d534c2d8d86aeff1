// The host's rules: dealing, both bidding phases, going alone, the discard,
// following suit, trick winners, scoring, the end of a game and the pauses.
#include "host/support/hostfixture.h"
#include "model/card.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::testing;

namespace {

QByteArray n(int v) {
    return QByteArray::number(v);
}

// Everyone passes both phases, in person.
void passAround(HostFixture& h) {
    for (int i = 0; i < 4; ++i) {
        const int s = h.server.bidder;
        h.say(s, "CMD_selectedbubble+" + n(s) + "+2+");
        h.drain();
    }
    for (int i = 0; i < 4; ++i) {
        const int s = h.server.chooser;
        h.say(s, "CMD_selectedbubble+" + n(s) + "+22+");
        h.drain();
    }
}

// Puts the table straight into trick play with the given hands and trump.
void trickPlay(HostFixture& h, int trump, int leaderBefore,
               const std::array<std::array<int, 5>, 4>& hands) {
    h.setHands(hands);
    h.server.trump = trump;
    h.server.leftbower = leftBowerOf(trump);
    h.server.bidder = h.server.chooser = h.server.aloner = h.server.discarder = 0;
    h.server.teamrecord[1].makers = true;
    h.server.teamrecord[2].makers = false;
    h.server.nextplayer = leaderBefore;
    h.server.starthand();
    h.clearSent();
}

void play(HostFixture& h, int seat, int pos) {
    h.say(seat, "CMD_playcard+" + n(seat) + "+" + n(pos) + "+");
    h.drain();
}

} // namespace

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    void dealerRotatesFromSeatOneAndScoresSurviveThrowIns() {
        HostFixture h;
        h.fourPlayersStart();
        QCOMPARE(h.server.dealer, 1);
        h.server.teamrecord[1].score = 3;
        for (int expected : {2, 3, 4, 1}) {
            h.clearSent();
            passAround(h);
            QCOMPARE(h.server.dealer, expected);
            QCOMPARE(h.link[1]->withWord("CMD_dealer"),
                     QByteArrayList{"CMD_dealer+" + n(expected) + "+"});
            QVERIFY(h.server.gameon);
            QCOMPARE(h.server.teamrecord[1].score, 3);
        }
    }

    void dealsByDeckPositionInPackets() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.clearSent();
        h.say(1, "CMD_startgame+Ann+10+");
        h.drain();
        const auto& deck = h.server.thedeck;
        for (int seat = 1; seat <= 4; ++seat) {
            const auto& hand = h.server.playerslot[seat].hand;
            QCOMPARE(hand[1], deck.deckcard(2 * seat - 1));
            QCOMPARE(hand[2], deck.deckcard(2 * seat));
            for (int k = 0; k < 3; ++k)
                QCOMPARE(hand[3 + k], deck.deckcard(8 + 3 * (seat - 1) + 1 + k));
        }
        QCOMPARE(h.server.deckpos, 21);
        QCOMPARE(h.server.trump, naturalSuit(deck.deckcard(21)));

        const QByteArrayList got = h.all(2);
        QCOMPARE(got[0], QByteArray("CMD_startgame+Ann+10+"));
        QCOMPARE(got[1], QByteArray("CMD_dealer+1+"));
        // Seat 2 sees its own cards and zeros for every other seat, seats in order.
        const auto& own = h.server.playerslot[2].hand;
        QCOMPARE(got[2], QByteArray("CMD_placecard+1+1+0+2+0+3+0+4+0+5+0"));
        QCOMPARE(got[3], "CMD_placecard+2+1+" + n(own[1]) + "+2+" + n(own[2]) + "+3+" + n(own[3]) +
                             "+4+" + n(own[4]) + "+5+" + n(own[5]));
        QCOMPARE(got[4], QByteArray("CMD_placecard+3+1+0+2+0+3+0+4+0+5+0"));
        QCOMPARE(got[6], "CMD_settrump+" + n(deck.deckcard(21)) + "+");
        QCOMPARE(got[7], QByteArray("CMD_bidder+2+"));
    }

    void otherPacketOrderDealsThreeThenTwo() {
        HostFixture h;
        h.server.dealerdue = 2;
        h.server.dealer = 2;
        h.server.dealtype(2, 1);
        for (int seat = 1; seat <= 4; ++seat) {
            for (int k = 0; k < 3; ++k)
                QCOMPARE(h.server.playerslot[seat].hand[1 + k],
                         h.server.thedeck.deckcard(3 * (seat - 1) + 1 + k));
            QCOMPARE(h.server.playerslot[seat].hand[4],
                     h.server.thedeck.deckcard(12 + 2 * seat - 1));
        }
        // A deal for a seat that is not due does nothing.
        h.server.dealerdue = 3;
        const int before = h.server.playerslot[1].hand[1];
        h.server.dealtype(1, 0);
        QCOMPARE(h.server.playerslot[1].hand[1], before);
    }

    void biddingPhasesAndTheRefusedSuit() {
        HostFixture h;
        h.fourPlayersStart();
        const int turnedSuit = h.server.trump;
        h.clearSent();
        for (int seat : {2, 3, 4, 1}) {
            QCOMPARE(h.server.bidder, seat);
            h.say(seat, "CMD_selectedbubble+" + n(seat) + "+2+");
            h.drain();
        }
        QCOMPARE(h.server.refusedsuit, turnedSuit);
        QCOMPARE(h.server.chooser, 2);
        QCOMPARE(h.link[3]->withWord("CMD_chooser"),
                 QByteArrayList{"CMD_chooser+2+" + n(turnedSuit) + "+"});
        QCOMPARE(h.link[3]->withWord("CMD_hepassed").size(), 4);

        // Naming the turned-down suit is refused to that seat alone, which stays asked.
        h.clearSent();
        h.say(2, "CMD_selectedbubble+2+" + n(turnedSuit + 2) + "+");
        h.drain();
        QCOMPARE(h.all(2), QByteArrayList{"CMD_notvalid+2+3+0+"});
        QVERIFY(h.all(1).isEmpty());
        QCOMPARE(h.server.chooser, 2);

        // A seat not asked is ignored; then seat 2 passes and seat 3 names.
        const int named = turnedSuit == Clubs ? Hearts : Clubs;
        h.say(3, "CMD_selectedbubble+3+" + n(named + 2) + "+");
        h.say(2, "CMD_selectedbubble+2+22+");
        h.say(3, "CMD_selectedbubble+3+" + n(named + 2) + "+");
        h.drain();
        QCOMPARE(h.all(1),
                 (QByteArrayList{"CMD_hepassed+2+", "CMD_chooser+3+" + n(turnedSuit) + "+",
                                 "CMD_trumpchoosen+3+" + n(named) + "+", "CMD_aloner+3+"}));
        QCOMPARE(h.server.trump, named);
        QCOMPARE(h.server.leftbower, leftBowerOf(named));
        QVERIFY(h.server.teamrecord[1].makers && !h.server.teamrecord[2].makers);
        QCOMPARE(h.server.makerseat, 3);
        QVERIFY(!h.server.orderedup);

        // With the partner: the seat left of the dealer leads, no discard.
        h.clearSent();
        h.say(3, "CMD_selectedbubble+3+8+");
        h.say(3, "CMD_selectedbubble+3+7+"); // a second answer is ignored
        h.drain();
        QCOMPARE(h.all(1),
                 (QByteArrayList{"CMD_goingalone+3+8+", "CMD_clearcards+", "CMD_nextplayer+2+"}));
        QVERIFY(!h.server.playerslot[3].alone);
    }

    void dealerPicksUpAndDiscardsWithoutPlaying() {
        HostFixture h;
        h.fourPlayersStart();
        const int turned = h.server.thedeck.deckcard(21);
        for (int seat : {2, 3, 4}) {
            h.say(seat, "CMD_selectedbubble+" + n(seat) + "+2+");
            h.drain();
        }
        h.clearSent();
        h.say(1, "CMD_selectedbubble+1+1+");
        h.drain();
        QCOMPARE(h.all(2), (QByteArrayList{"CMD_heaccepted+1+",
                                           "CMD_trumpchoosen+1+" + n(naturalSuit(turned)) + "+",
                                           "CMD_aloner+1+"}));
        QVERIFY(h.server.orderedup);
        h.clearSent();
        h.say(1, "CMD_selectedbubble+1+8+");
        h.drain();
        QCOMPARE(h.all(2), (QByteArrayList{"CMD_goingalone+1+8+", "CMD_discarder+1+"}));

        auto before = h.server.playerslot[1].hand;
        h.clearSent();
        h.say(1, "CMD_playcard+1+9+"); // outside the hand: refused, still to discard
        h.drain();
        QCOMPARE(h.server.discarder, 1);
        h.say(1, "CMD_playcard+1+3+");
        h.drain();
        QCOMPARE(h.all(1), (QByteArrayList{"CMD_switch+1+3+" + n(turned) + "+", "CMD_clearcards+",
                                           "CMD_nextplayer+2+"}));
        QCOMPARE(h.all(2), (QByteArrayList{"CMD_clearcards+", "CMD_nextplayer+2+"}));
        before[3] = turned;
        QCOMPARE(h.server.playerslot[1].hand, before);
        QCOMPARE(h.server.playerslot[1].played, 0);
        QCOMPARE(h.server.ledsuit, 0);
    }

    void dealersPartnerAloneLeavesTheDealerOut() {
        HostFixture h;
        h.fourPlayersStart();
        h.say(2, "CMD_selectedbubble+2+2+");
        h.drain();
        h.say(3, "CMD_selectedbubble+3+1+");
        h.say(3, "CMD_selectedbubble+3+7+");
        h.drain();
        QVERIFY(h.server.playerslot[3].alone);
        QVERIFY(h.server.playerslot[1].sitsout);
        QCOMPARE(h.server.discarder, 1); // the dealer still picks up
        h.clearSent();
        h.say(1, "CMD_playcard+1+5+");
        h.drain();
        QCOMPARE(h.server.nextplayer, 4); // left of the loner
        // Three cards make the trick; the dealer is skipped.
        for (int seat : {4, 2, 3}) {
            QCOMPARE(h.server.nextplayer, seat);
            for (int pos = 1; pos <= 5; ++pos) {
                if (h.server.playerslot[seat].hand[pos] == 0) continue;
                play(h, seat, pos);
                if (h.server.nextplayer != seat) break;
            }
        }
        QCOMPARE(h.link[2]->withWord("CMD_playedcard").size(), 3);
        QCOMPARE(h.link[2]->withWord("CMD_trickwinner").size(), 1);
        QVERIFY(h.link[2]->withWord("CMD_trickwinner")[0] != "CMD_trickwinner+1+1+0+");
    }

    void discardIsNoPlayWhenTheDealerLeadsNext() {
        HostFixture h;
        h.fourPlayersStart(); // seat 1 deals
        for (int seat : {2, 3}) {
            h.say(seat, "CMD_selectedbubble+" + n(seat) + "+2+");
            h.drain();
        }
        // Seat 4 orders up alone: the dealer discards and then leads, left of the loner.
        h.say(4, "CMD_selectedbubble+4+1+");
        h.say(4, "CMD_selectedbubble+4+7+");
        h.drain();
        QVERIFY(h.server.playerslot[2].sitsout);
        h.clearSent();
        h.say(1, "CMD_playcard+1+2+");
        h.drain();
        QCOMPARE(h.server.nextplayer, 1);
        QCOMPARE(h.server.playerslot[1].played, 0);
        QCOMPARE(h.server.playerslot[1].hand[2], h.server.thedeck.deckcard(21));
        for (int pos = 1; pos <= 5; ++pos) QVERIFY(h.server.playerslot[1].hand[pos] != 0);
        QVERIFY(h.link[3]->withWord("CMD_playedcard").isEmpty());
        QCOMPARE(h.link[3]->withWord("CMD_nextplayer"), QByteArrayList{"CMD_nextplayer+1+"});
    }

    void namedAloneLeadsLeftOfTheDealer() {
        HostFixture h;
        h.fourPlayersStart(); // dealer 1
        passAround(h);        // dealer 2 now
        QCOMPARE(h.server.dealer, 2);
        for (int seat : {3, 4, 1, 2}) {
            h.say(seat, "CMD_selectedbubble+" + n(seat) + "+2+");
            h.drain();
        }
        const int named = h.server.refusedsuit == Clubs ? Spades : Clubs;
        h.say(3, "CMD_selectedbubble+3+22+");
        h.drain();
        // Seat 4 names trump alone: the seat left of the dealer (3) leads, not
        // the seat left of the loner.
        h.say(4, "CMD_selectedbubble+4+" + n(named + 2) + "+");
        h.say(4, "CMD_selectedbubble+4+7+");
        h.drain();
        QCOMPARE(h.server.nextplayer, 3);
        QVERIFY(h.server.playerslot[2].sitsout);
    }

    void namedAloneSkipsASittingOutLeader() {
        HostFixture h;
        h.fourPlayersStart(); // dealer 1: seat 2 would lead
        passAround(h);
        passAround(h);
        passAround(h);
        passAround(h);
        QCOMPARE(h.server.dealer, 1);
        for (int seat : {2, 3, 4, 1}) {
            h.say(seat, "CMD_selectedbubble+" + n(seat) + "+2+");
            h.drain();
        }
        const int named = h.server.refusedsuit == Clubs ? Spades : Clubs;
        h.say(2, "CMD_selectedbubble+2+22+");
        h.say(3, "CMD_selectedbubble+3+22+");
        h.say(4, "CMD_selectedbubble+4+" + n(named + 2) + "+");
        h.say(4, "CMD_selectedbubble+4+7+");
        h.drain();
        // Seat 2 sits out for its partner, so seat 3 leads.
        QCOMPARE(h.server.nextplayer, 3);
    }

    void followSuitWithTheLeftBower() {
        HostFixture h;
        h.fourPlayersStart();
        // Hearts trump; seat 2 leads a Diamond; seat 3 holds the jack of Diamonds
        // (a Heart now) as its only Diamond and may play anything.
        trickPlay(h, Hearts, 1,
                  {{{8, 9, 11, 12, 13},
                    {21, 22, 24, 25, 26},
                    {23, 34, 35, 47, 48},
                    {10, 36, 37, 38, 39}}});
        play(h, 2, 1); // nine of Diamonds
        QCOMPARE(h.server.ledsuit, int(Diamonds));
        play(h, 3, 2); // a Spade: allowed
        QCOMPARE(h.server.playerslot[3].played, 34);
        // Seat 4 has no Diamond either.
        play(h, 4, 1);
        // Seat 1 has no Diamond: plays a Club; seat 2's nine of Diamonds wins.
        play(h, 1, 1);
        QCOMPARE(h.link[1]->withWord("CMD_trickwinner"), QByteArrayList{"CMD_trickwinner+2+0+1+"});

        // The left bower led makes trump the led suit: a held trump must follow.
        HostFixture g;
        g.fourPlayersStart();
        trickPlay(g, Hearts, 1,
                  {{{8, 9, 11, 12, 13},
                    {23, 22, 24, 25, 26},
                    {47, 34, 35, 36, 37},
                    {10, 38, 39, 48, 49}}});
        play(g, 2, 1); // jack of Diamonds, trump
        QCOMPARE(g.server.ledsuit, int(Hearts));
        g.clearSent();
        play(g, 3, 2); // a Spade while holding the nine of Hearts
        QCOMPARE(g.all(3), QByteArrayList{"CMD_notvalid+3+2+2+"});
        QCOMPARE(g.server.nextplayer, 3);
        QCOMPARE(g.server.playerslot[3].hand[2], 34);
        play(g, 3, 1);
        QCOMPARE(g.server.playerslot[3].played, 47);
        play(g, 4, 5); // right bower
        play(g, 1, 5);
        QCOMPARE(g.link[1]->withWord("CMD_trickwinner"), QByteArrayList{"CMD_trickwinner+4+0+1+"});
    }

    void trickWinners_data() {
        QTest::addColumn<int>("trump");
        QTest::addColumn<int>("led");
        QTest::addColumn<QList<int>>("played");
        QTest::addColumn<int>("winner");
        QTest::newRow("right beats left")
            << int(Hearts) << int(Hearts) << QList<int>{52, 23, 49, 51} << 3;
        QTest::newRow("left beats ace of trump")
            << int(Hearts) << int(Spades) << QList<int>{39, 52, 23, 38} << 3;
        QTest::newRow("lowest trump beats led ace")
            << int(Clubs) << int(Hearts) << QList<int>{52, 8, 51, 50} << 2;
        QTest::newRow("highest of led suit")
            << int(Clubs) << int(Hearts) << QList<int>{48, 52, 39, 26} << 2;
        QTest::newRow("off-suit never wins")
            << int(Spades) << int(Diamonds) << QList<int>{21, 52, 13, 26 - 4} << 4;
        QTest::newRow("jack of led suit is no bower")
            << int(Spades) << int(Hearts) << QList<int>{49, 50, 47, 48} << 2;
        QTest::newRow("sitting-out seat")
            << int(Hearts) << int(Clubs) << QList<int>{13, 0, 12, 11} << 1;
    }
    void trickWinners() {
        QFETCH(int, trump);
        QFETCH(int, led);
        QFETCH(QList<int>, played);
        QFETCH(int, winner);
        HostFixture h;
        h.server.trump = trump;
        h.server.leftbower = leftBowerOf(trump);
        h.server.ledsuit = led;
        for (int seat = 1; seat <= 4; ++seat) h.server.playerslot[seat].played = played[seat - 1];
        QCOMPARE(h.server.thewinner(), winner);
    }

    void scoring_data() {
        QTest::addColumn<int>("makingTeam");
        QTest::addColumn<int>("tricks");
        QTest::addColumn<bool>("alone");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("march") << 1 << 5 << false << QByteArray("CMD_score+1+2+2+0+0+");
        QTest::newRow("loner's march") << 2 << 5 << true << QByteArray("CMD_score+2+0+0+4+4+");
        QTest::newRow("three") << 1 << 3 << false << QByteArray("CMD_score+1+1+1+0+0+");
        QTest::newRow("loner's four") << 2 << 4 << true << QByteArray("CMD_score+2+0+0+1+1+");
        QTest::newRow("euchre") << 1 << 2 << false << QByteArray("CMD_score+1+0+0+2+2+");
        QTest::newRow("euchred loner") << 2 << 0 << true << QByteArray("CMD_score+2+2+2+0+0+");
    }
    void scoring() {
        QFETCH(int, makingTeam);
        QFETCH(int, tricks);
        QFETCH(bool, alone);
        QFETCH(QByteArray, expected);
        HostFixture h;
        h.fourPlayersStart();
        h.clearSent();
        h.server.teamrecord[makingTeam].makers = true;
        h.server.teamrecord[3 - makingTeam].makers = false;
        h.server.teamrecord[makingTeam].tricks = tricks;
        h.server.teamrecord[3 - makingTeam].tricks = 5 - tricks;
        h.server.playerslot[makingTeam].alone = alone;
        h.server.tallyscore();
        QCOMPARE(h.all(1), QByteArrayList{expected});
        QVERIFY(h.server.gameon);
        QCOMPARE(h.server.ctimerTag, int(ActionNextDeal));
    }

    void gameEndsOnTheHandThatReachesPlayTo() {
        HostFixture h;
        h.fourPlayersStart(10);
        h.server.teamrecord[2].score = 9;
        h.server.teamrecord[2].makers = true;
        h.server.teamrecord[1].makers = false;
        h.server.teamrecord[2].tricks = 5;
        h.clearSent();
        h.server.tallyscore();
        QCOMPARE(h.all(3), (QByteArrayList{"CMD_score+2+0+0+11+2+", "CMD_thewinner+2+"}));
        QVERIFY(!h.server.gameon);
        QVERIFY(!h.server.ctimer.isActive());
    }

    void pausesOfThreeFiveAndTwelveTicks() {
        HostFixture h;
        h.join("Ann"); // seats 2 to 4 are the computer's
        h.say(1, "CMD_startgame+Ann+10+");
        h.drain();
        QCOMPARE(h.server.bidder, 2);
        QCOMPARE(h.server.ctimerTag, int(ActionBid));
        h.clearSent();
        h.ticks(2);
        QVERIFY(h.all(1).isEmpty());
        h.ticks(1); // the computer answers on the third tick
        QVERIFY(!h.all(1).isEmpty());

        // Run to the end of a trick, then count the pause before the next one.
        for (int guard = 0; guard < 500 && h.server.ctimerTag != ActionNextTrick; ++guard) {
            if (h.server.ctimer.isActive()) {
                h.server.ctimerTimer();
            } else {
                // Seat 1 is a person: answer with something acceptable.
                const int s = 1;
                if (h.server.bidder == s)
                    h.say(s, "CMD_selectedbubble+1+2+");
                else if (h.server.chooser == s)
                    h.say(s, "CMD_selectedbubble+1+22+");
                else if (h.server.aloner == s)
                    h.say(s, "CMD_selectedbubble+1+8+");
                else if (h.server.discarder == s)
                    h.say(s, "CMD_playcard+1+1+");
                else if (h.server.nextplayer == s)
                    for (int pos = 1; pos <= 5; ++pos) h.say(s, "CMD_playcard+1+" + n(pos) + "+");
                h.drain();
            }
        }
        QCOMPARE(h.server.ctimerTag, int(ActionNextTrick));
        h.clearSent();
        h.ticks(4);
        QVERIFY(h.all(1).isEmpty());
        h.ticks(1);
        QCOMPARE(h.all(1).first(), QByteArray("CMD_clearcards+"));

        // The pause before the next deal.
        h.server.teamrecord[1].makers = true;
        h.server.teamrecord[1].tricks = 3;
        h.server.tallyscore();
        const int nextDealer = nextSeat(h.server.dealer);
        h.clearSent();
        h.ticks(11);
        QVERIFY(h.all(1).isEmpty());
        h.ticks(1);
        QCOMPARE(h.all(1).first(), "CMD_dealer+" + n(nextDealer) + "+");
    }

    void personsAnswerCancelsThePendingComputerMove() {
        HostFixture h;
        h.fourPlayersStart();
        h.say(2, "CMD_justwatch+2+2"); // nothing to undo yet
        h.say(3, "CMD_justwatch+3+1");
        h.drain();
        h.say(2, "CMD_selectedbubble+2+2+");
        h.drain();
        QCOMPARE(h.server.bidder, 3);
        QCOMPARE(h.server.ctimerTag, int(ActionBid)); // seat 3 is the computer's now
        h.say(3, "CMD_justwatch+3+2");
        h.drain();
        h.ticks(5); // the computer's tick finds a person's seat and does nothing
        QCOMPARE(h.server.bidder, 3);
        h.say(3, "CMD_selectedbubble+3+2+");
        h.drain();
        QCOMPARE(h.server.bidder, 4);
        QCOMPARE(h.server.ctimerTag, int(ActionNone));
    }

    void botSpeedIsReadAtEveryArming() {
        HostFixture h;
        int speed = 750;
        h.server.setBotSpeedSource([&] { return speed; });
        h.join("Ann");
        h.say(1, "CMD_startgame+Ann+10+");
        h.drain();
        QCOMPARE(h.server.ctimer.interval(), 750);
        speed = 200;
        QCOMPARE(h.server.ctimer.interval(), 750); // the pause already counting keeps its pace
        h.fire();
        QCOMPARE(h.server.ctimer.interval(), 200);
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_rules.moc"
