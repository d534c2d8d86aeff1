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
        const int s = h.table().bidder();
        h.say(s, "CMD_selectedbubble+" + n(s) + "+2+");
        h.drain();
    }
    for (int i = 0; i < 4; ++i) {
        const int s = h.table().chooser();
        h.say(s, "CMD_selectedbubble+" + n(s) + "+22+");
        h.drain();
    }
}

// Puts the table straight into trick play with the given hands and trump.
void trickPlay(HostFixture& h, int trump, int leaderBefore,
               const std::array<std::array<int, 5>, 4>& hands) {
    h.setHands(hands);
    rules::Table& t = h.table();
    t.trump = trump;
    t.leftbower = leftBowerOf(trump);
    t.team[1].makers = true;
    t.team[2].makers = false;
    // The pause before a trick, ended at once.
    t.phase = rules::Phase::TrickPause;
    t.seat = 0;
    t.leaderBefore = leaderBefore;
    h.server.proceed();
    h.clearSent();
}

void play(HostFixture& h, int seat, int pos) {
    h.say(seat, "CMD_playcard+" + n(seat) + "+" + n(pos) + "+");
    h.drain();
}

// Plays on until the computer-turn timer holds the action: the computer's
// ticks, and something acceptable from seat 1, a person.
void runTo(HostFixture& h, int action) {
    for (int guard = 0; guard < 2000 && h.server.ctimerTag != action; ++guard) {
        if (h.server.ctimer.isActive()) {
            h.server.ctimerTimer();
            continue;
        }
        const rules::Table& t = h.table();
        if (t.bidder() == 1)
            h.say(1, "CMD_selectedbubble+1+2+");
        else if (t.chooser() == 1)
            h.say(1, "CMD_selectedbubble+1+22+");
        else if (t.aloner() == 1)
            h.say(1, "CMD_selectedbubble+1+8+");
        else if (t.discarder() == 1)
            h.say(1, "CMD_playcard+1+1+");
        else if (t.nextplayer() == 1)
            for (int pos = 1; pos <= 5; ++pos)
                if (t.hand[1][pos]) h.say(1, "CMD_playcard+1+" + n(pos) + "+");
        h.drain();
    }
}

// Lays out the fifth trick, Hearts trump, seat 1 to lead, one card left in
// each hand, after which the makers have taken `tricks`: the seat holding
// the right bower takes it, the maker unless the makers take none. Plays all
// but its last card and returns the seat that plays that.
int toLastCard(HostFixture& h, int makingTeam, int tricks, bool alone) {
    rules::Table& t = h.table();
    const int winner = tricks > 0 ? makingTeam : 3 - makingTeam;
    t.trump = Hearts;
    t.leftbower = leftBowerOf(Hearts);
    t.team[makingTeam].makers = true;
    t.team[3 - makingTeam].makers = false;
    t.team[makingTeam].tricks = tricks > 0 ? tricks - 1 : 0;
    t.team[3 - makingTeam].tricks = 4 - t.team[makingTeam].tricks;
    t.alone[makingTeam] = alone;
    t.sitsout[partnerOf(makingTeam)] = alone;
    const int nines[] = {makeCard(Clubs, 8), makeCard(Diamonds, 8), makeCard(Spades, 8)};
    int next = 0;
    for (int seat = 1; seat <= 4; ++seat) {
        t.hand[seat] = {};
        t.hand[seat][1] = seat == winner ? rightBower(Hearts) : nines[next++];
    }
    t.tricknumber = 5;
    t.phase = rules::Phase::TrickPause;
    t.seat = 0;
    t.leaderBefore = 4;
    h.server.proceed();
    QList<int> order;
    for (int seat = 1; seat <= 4; ++seat)
        if (!t.sitsout[seat]) order.append(seat);
    for (int i = 0; i + 1 < order.size(); ++i) play(h, order[i], 1);
    return order.last();
}

} // namespace

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    void dealerRotatesFromSeatOneAndScoresSurviveThrowIns() {
        HostFixture h;
        h.fourPlayersStart();
        QCOMPARE(h.table().dealer, 1);
        h.table().team[1].score = 3;
        for (int expected : {2, 3, 4, 1}) {
            h.clearSent();
            passAround(h);
            QCOMPARE(h.table().dealer, expected);
            QCOMPARE(h.link[1]->withWord("CMD_dealer"),
                     QByteArrayList{"CMD_dealer+" + n(expected) + "+"});
            QVERIFY(h.server.gameon);
            QCOMPARE(h.table().team[1].score, 3);
        }
    }

    void dealsByDeckPositionInPackets() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.clearSent();
        h.say(1, "CMD_startgame+Ann+10+");
        h.drain();
        const auto& deck = h.table().deck;
        for (int seat = 1; seat <= 4; ++seat) {
            const auto& hand = h.table().hand[seat];
            QCOMPARE(hand[1], deck.deckcard(2 * seat - 1));
            QCOMPARE(hand[2], deck.deckcard(2 * seat));
            for (int k = 0; k < 3; ++k)
                QCOMPARE(hand[3 + k], deck.deckcard(8 + 3 * (seat - 1) + 1 + k));
        }
        QCOMPARE(h.table().deckpos, 21);
        QCOMPARE(h.table().trump, naturalSuit(deck.deckcard(21)));

        const QByteArrayList got = h.all(2);
        QCOMPARE(got[0], QByteArray("CMD_startgame+Ann+10+"));
        QCOMPARE(got[1], QByteArray("CMD_dealer+1+"));
        // Seat 2 sees its own cards and zeros for every other seat, seats in order.
        const auto& own = h.table().hand[2];
        QCOMPARE(got[2], QByteArray("CMD_placecard+1+1+0+2+0+3+0+4+0+5+0"));
        QCOMPARE(got[3], "CMD_placecard+2+1+" + n(own[1]) + "+2+" + n(own[2]) + "+3+" + n(own[3]) +
                             "+4+" + n(own[4]) + "+5+" + n(own[5]));
        QCOMPARE(got[4], QByteArray("CMD_placecard+3+1+0+2+0+3+0+4+0+5+0"));
        QCOMPARE(got[6], "CMD_settrump+" + n(deck.deckcard(21)) + "+");
        QCOMPARE(got[7], QByteArray("CMD_bidder+2+"));
    }

    void biddingPhasesAndTheRefusedSuit() {
        HostFixture h;
        h.fourPlayersStart();
        const int turnedSuit = h.table().trump;
        h.clearSent();
        for (int seat : {2, 3, 4, 1}) {
            QCOMPARE(h.table().bidder(), seat);
            h.say(seat, "CMD_selectedbubble+" + n(seat) + "+2+");
            h.drain();
        }
        QCOMPARE(h.table().refusedsuit, turnedSuit);
        QCOMPARE(h.table().chooser(), 2);
        QCOMPARE(h.link[3]->withWord("CMD_chooser"),
                 QByteArrayList{"CMD_chooser+2+" + n(turnedSuit) + "+"});
        QCOMPARE(h.link[3]->withWord("CMD_hepassed").size(), 4);

        // Naming the turned-down suit is refused to that seat alone, which stays asked.
        h.clearSent();
        h.say(2, "CMD_selectedbubble+2+" + n(turnedSuit + 2) + "+");
        h.drain();
        QCOMPARE(h.all(2), QByteArrayList{"CMD_notvalid+2+3+0+"});
        QVERIFY(h.all(1).isEmpty());
        QCOMPARE(h.table().chooser(), 2);

        // A seat not asked is ignored; then seat 2 passes and seat 3 names.
        const int named = turnedSuit == Clubs ? Hearts : Clubs;
        h.say(3, "CMD_selectedbubble+3+" + n(named + 2) + "+");
        h.say(2, "CMD_selectedbubble+2+22+");
        h.say(3, "CMD_selectedbubble+3+" + n(named + 2) + "+");
        h.drain();
        QCOMPARE(h.all(1),
                 (QByteArrayList{"CMD_hepassed+2+", "CMD_chooser+3+" + n(turnedSuit) + "+",
                                 "CMD_trumpchoosen+3+" + n(named) + "+", "CMD_aloner+3+"}));
        QCOMPARE(h.table().trump, named);
        QCOMPARE(h.table().leftbower, leftBowerOf(named));
        QVERIFY(h.table().team[1].makers && !h.table().team[2].makers);
        QCOMPARE(h.table().makerseat, 3);
        QVERIFY(!h.table().orderedup);

        // With the partner: the seat left of the dealer leads, no discard.
        h.clearSent();
        h.say(3, "CMD_selectedbubble+3+8+");
        h.say(3, "CMD_selectedbubble+3+7+"); // a second answer is ignored
        h.drain();
        QCOMPARE(h.all(1),
                 (QByteArrayList{"CMD_goingalone+3+8+", "CMD_clearcards+", "CMD_nextplayer+2+"}));
        QVERIFY(!h.table().alone[3]);
    }

    void dealerPicksUpAndDiscardsWithoutPlaying() {
        HostFixture h;
        h.fourPlayersStart();
        const int turned = h.table().deck.deckcard(21);
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
        QVERIFY(h.table().orderedup);
        h.clearSent();
        h.say(1, "CMD_selectedbubble+1+8+");
        h.drain();
        QCOMPARE(h.all(2), (QByteArrayList{"CMD_goingalone+1+8+", "CMD_discarder+1+"}));

        auto before = h.table().hand[1];
        h.clearSent();
        h.say(1, "CMD_playcard+1+9+"); // outside the hand: refused, still to discard
        h.drain();
        QCOMPARE(h.table().discarder(), 1);
        h.say(1, "CMD_playcard+1+3+");
        h.drain();
        QCOMPARE(h.all(1), (QByteArrayList{"CMD_switch+1+3+" + n(turned) + "+", "CMD_clearcards+",
                                           "CMD_nextplayer+2+"}));
        QCOMPARE(h.all(2), (QByteArrayList{"CMD_clearcards+", "CMD_nextplayer+2+"}));
        before[3] = turned;
        QCOMPARE(h.table().hand[1], before);
        QCOMPARE(h.table().played[1], 0);
        QCOMPARE(h.table().ledsuit, 0);
    }

    void dealersPartnerAloneLeavesTheDealerOut() {
        HostFixture h;
        h.fourPlayersStart();
        h.say(2, "CMD_selectedbubble+2+2+");
        h.drain();
        h.say(3, "CMD_selectedbubble+3+1+");
        h.say(3, "CMD_selectedbubble+3+7+");
        h.drain();
        QVERIFY(h.table().alone[3]);
        QVERIFY(h.table().sitsout[1]);
        QCOMPARE(h.table().discarder(), 1); // the dealer still picks up
        h.clearSent();
        h.say(1, "CMD_playcard+1+5+");
        h.drain();
        QCOMPARE(h.table().nextplayer(), 4); // left of the loner
        // Three cards make the trick; the dealer is skipped.
        for (int seat : {4, 2, 3}) {
            QCOMPARE(h.table().nextplayer(), seat);
            for (int pos = 1; pos <= 5; ++pos) {
                if (h.table().hand[seat][pos] == 0) continue;
                play(h, seat, pos);
                if (h.table().nextplayer() != seat) break;
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
        QVERIFY(h.table().sitsout[2]);
        h.clearSent();
        h.say(1, "CMD_playcard+1+2+");
        h.drain();
        QCOMPARE(h.table().nextplayer(), 1);
        QCOMPARE(h.table().played[1], 0);
        QCOMPARE(h.table().hand[1][2], h.table().deck.deckcard(21));
        for (int pos = 1; pos <= 5; ++pos) QVERIFY(h.table().hand[1][pos] != 0);
        QVERIFY(h.link[3]->withWord("CMD_playedcard").isEmpty());
        QCOMPARE(h.link[3]->withWord("CMD_nextplayer"), QByteArrayList{"CMD_nextplayer+1+"});
    }

    void namedAloneLeadsLeftOfTheDealer() {
        HostFixture h;
        h.fourPlayersStart(); // dealer 1
        passAround(h);        // dealer 2 now
        QCOMPARE(h.table().dealer, 2);
        for (int seat : {3, 4, 1, 2}) {
            h.say(seat, "CMD_selectedbubble+" + n(seat) + "+2+");
            h.drain();
        }
        const int named = h.table().refusedsuit == Clubs ? Spades : Clubs;
        h.say(3, "CMD_selectedbubble+3+22+");
        h.drain();
        // Seat 4 names trump alone: the seat left of the dealer (3) leads, not
        // the seat left of the loner.
        h.say(4, "CMD_selectedbubble+4+" + n(named + 2) + "+");
        h.say(4, "CMD_selectedbubble+4+7+");
        h.drain();
        QCOMPARE(h.table().nextplayer(), 3);
        QVERIFY(h.table().sitsout[2]);
    }

    void namedAloneSkipsASittingOutLeader() {
        HostFixture h;
        h.fourPlayersStart(); // dealer 1: seat 2 would lead
        passAround(h);
        passAround(h);
        passAround(h);
        passAround(h);
        QCOMPARE(h.table().dealer, 1);
        for (int seat : {2, 3, 4, 1}) {
            h.say(seat, "CMD_selectedbubble+" + n(seat) + "+2+");
            h.drain();
        }
        const int named = h.table().refusedsuit == Clubs ? Spades : Clubs;
        h.say(2, "CMD_selectedbubble+2+22+");
        h.say(3, "CMD_selectedbubble+3+22+");
        h.say(4, "CMD_selectedbubble+4+" + n(named + 2) + "+");
        h.say(4, "CMD_selectedbubble+4+7+");
        h.drain();
        // Seat 2 sits out for its partner, so seat 3 leads.
        QCOMPARE(h.table().nextplayer(), 3);
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
        QCOMPARE(h.table().ledsuit, int(Diamonds));
        play(h, 3, 2); // a Spade: allowed
        QCOMPARE(h.table().played[3], 34);
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
        QCOMPARE(g.table().ledsuit, int(Hearts));
        g.clearSent();
        play(g, 3, 2); // a Spade while holding the nine of Hearts
        QCOMPARE(g.all(3), QByteArrayList{"CMD_notvalid+3+2+2+"});
        QCOMPARE(g.table().nextplayer(), 3);
        QCOMPARE(g.table().hand[3][2], 34);
        play(g, 3, 1);
        QCOMPARE(g.table().played[3], 47);
        play(g, 4, 5); // right bower
        play(g, 1, 5);
        QCOMPARE(g.link[1]->withWord("CMD_trickwinner"), QByteArrayList{"CMD_trickwinner+4+0+1+"});
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
        const int last = toLastCard(h, makingTeam, tricks, alone);
        h.clearSent();
        play(h, last, 1);
        const int winner = tricks > 0 ? makingTeam : 3 - makingTeam;
        const int team1 = makingTeam == 1 ? tricks : 5 - tricks;
        const QByteArrayList got = h.all(1);
        QCOMPARE(got.size(), 3);
        QVERIFY(got[0].startsWith("CMD_playedcard+" + n(last) + "+1+"));
        QCOMPARE(got.mid(1), (QByteArrayList{"CMD_trickwinner+" + n(winner) + "+" + n(team1) + "+" +
                                                 n(5 - team1) + "+",
                                             expected}));
        QVERIFY(h.server.gameon);
        QCOMPARE(h.server.ctimerTag, int(ActionNextDeal));
    }

    void gameEndsOnTheHandThatReachesPlayTo() {
        HostFixture h;
        h.fourPlayersStart(10);
        h.table().team[2].score = 9;
        const int last = toLastCard(h, 2, 5, false);
        h.clearSent();
        play(h, last, 1);
        QCOMPARE(h.all(3).mid(2), (QByteArrayList{"CMD_score+2+0+0+11+2+", "CMD_thewinner+2+"}));
        QVERIFY(!h.server.gameon);
        QVERIFY(!h.server.ctimer.isActive());
    }

    void pausesOfThreeFiveAndTwelveTicks() {
        HostFixture h;
        h.join("Ann"); // seats 2 to 4 are the computer's
        h.say(1, "CMD_startgame+Ann+10+");
        h.drain();
        QCOMPARE(h.table().bidder(), 2);
        QCOMPARE(h.server.ctimerTag, int(ActionBid));
        h.clearSent();
        h.ticks(2);
        QVERIFY(h.all(1).isEmpty());
        h.ticks(1); // the computer answers on the third tick
        QVERIFY(!h.all(1).isEmpty());

        // Run to the end of a trick, then count the pause before the next one.
        runTo(h, ActionNextTrick);
        QCOMPARE(h.server.ctimerTag, int(ActionNextTrick));
        h.clearSent();
        h.ticks(4);
        QVERIFY(h.all(1).isEmpty());
        h.ticks(1);
        QCOMPARE(h.all(1).first(), QByteArray("CMD_clearcards+"));

        // The pause before the next deal.
        runTo(h, ActionNextDeal);
        QCOMPARE(h.server.ctimerTag, int(ActionNextDeal));
        const int nextDealer = nextSeat(h.table().dealer);
        h.clearSent();
        h.ticks(11);
        QVERIFY(h.all(1).isEmpty());
        h.ticks(1);
        QCOMPARE(h.all(1).first(), "CMD_dealer+" + n(nextDealer) + "+");
    }

    // A newcomer in the pause after a trick: the won card left the place of
    // the seat that had a slot; the seats beyond the slots still show theirs.
    void catchUpInThePauseAfterATrick() {
        HostFixture h;
        h.join("Ann");
        h.say(1, "CMD_startgame+Ann+10+");
        h.drain();
        runTo(h, ActionNextTrick);
        QCOMPARE(h.join("Bob"), 2);
        const rules::Table& t = h.table();
        QCOMPARE(t.played[1], 0);
        QByteArray shown = "+0";
        for (int seat = 2; seat <= 4; ++seat) {
            QVERIFY(t.played[seat] != 0 || t.sitsout[seat]);
            shown += "+" + n(t.played[seat]);
        }
        const QByteArrayList cards = h.link[2]->withWord("CMD_loadcards");
        QCOMPARE(cards.size(), 1);
        QVERIFY2(cards[0].endsWith(shown + "+"), cards[0]);
    }

    void personsAnswerCancelsThePendingComputerMove() {
        HostFixture h;
        h.fourPlayersStart();
        h.say(2, "CMD_justwatch+2+2"); // nothing to undo yet
        h.say(3, "CMD_justwatch+3+1");
        h.drain();
        h.say(2, "CMD_selectedbubble+2+2+");
        h.drain();
        QCOMPARE(h.table().bidder(), 3);
        QCOMPARE(h.server.ctimerTag, int(ActionBid)); // seat 3 is the computer's now
        h.say(3, "CMD_justwatch+3+2");
        h.drain();
        h.ticks(5); // the computer's tick finds a person's seat and does nothing
        QCOMPARE(h.table().bidder(), 3);
        h.say(3, "CMD_selectedbubble+3+2+");
        h.drain();
        QCOMPARE(h.table().bidder(), 4);
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
