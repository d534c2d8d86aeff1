// The computer seat's card play: who is winning, following, trumping in,
// throwing off and leading, and that every card it picks is a legal one.
#include "host/bots/cardplay.h"
#include "model/random.h"
#include "rules/rules.h"
#include "support/table.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::bots;
using namespace botstest;

namespace {

// A trick in progress: the first card listed leads and sets the led suit.
TableView trick(int trump, int player, QString cards, QList<int> seats, QString held) {
    TableView v = table(trump);
    const QStringList played = cards.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < played.size(); ++i) v.seat[seats[i]].played = card(played[i].toStdString());
    if (!played.isEmpty()) v.ledsuit = effectiveSuit(v.seat[seats[0]].played, trump, v.leftbower);
    v.nextplayer = player;
    v.seat[player].hand = hand(held.toStdString());
    return v;
}

// The host's follow rule: a card of the led suit whenever the hand holds one.
bool isLegal(const TableView& v, int seat, int pos) {
    return rules::isLegalPlay(v.seat[seat].hand, pos, v.ledsuit, v.trump, v.leftbower);
}

// What the random fallback must produce: draws from the shared generator until
// a place holds a card.
int firstHeldDraw(const Hand& h) {
    for (;;)
        if (const int pos = rng::from1to(5); isCard(h[pos])) return pos;
}

} // namespace

class TestCardPlay : public QObject {
    Q_OBJECT
private slots:
    void highestInTrick_data();
    void highestInTrick();
    void follow_data();
    void follow();
    void lead_data();
    void lead();
    void emptyHandPlaysNothing();
    void computerNeverPlaysIllegalCard();
    void decidesOnWhatItsSeatMaySee();
};

void TestCardPlay::highestInTrick_data() {
    QTest::addColumn<int>("player");
    QTest::addColumn<QString>("cards"); // seats 1, 2, 3 in order
    QTest::addColumn<int>("suit");
    QTest::addColumn<int>("best");
    // Hearts trump: JH right, JD left.
    QTest::newRow("left bower from the lower seat") << 4 << "JD JH 9H" << int(Hearts) << 1;
    QTest::newRow("right bower from the lower seat") << 4 << "JH JD AH" << int(Hearts) << 1;
    QTest::newRow("later bower beats ace") << 4 << "AH 9C JD" << int(Hearts) << 3;
    QTest::newRow("plain trump by number") << 4 << "9H KH QH" << int(Hearts) << 2;
    QTest::newRow("plain suit by number") << 4 << "TS AS KS" << int(Spades) << 2;
    QTest::newRow("left bower is not a diamond") << 4 << "9D JD TC" << int(Diamonds) << 1;
    QTest::newRow("current player not looked at") << 2 << "9S AS KS" << int(Spades) << 3;
    QTest::newRow("nobody played the suit") << 4 << "9S AS KS" << int(Clubs) << 0;
}

void TestCardPlay::highestInTrick() {
    QFETCH(int, player);
    QFETCH(QString, cards);
    QFETCH(int, suit);
    QFETCH(int, best);
    TableView v = trick(Hearts, player, cards, {1, 2, 3}, QString());
    QCOMPARE(highest(v, suit), best);
}

void TestCardPlay::follow_data() {
    QTest::addColumn<int>("trump");
    QTest::addColumn<QString>("played");
    QTest::addColumn<QList<int>>("seats");
    QTest::addColumn<QString>("held");
    QTest::addColumn<int>("position");
    // Seat 3 plays; seat 1 is its partner, seats 2 and 4 the opponents.
    const QList<int> opp{2}, partner{1}, partnerThenOpp{1, 2}, oppThenPartner{4, 1};
    QTest::newRow("beat opponent's king") << int(Spades) << "KH" << opp << "9H 9C AH TD QS" << 3;
    QTest::newRow("partner winning: first heart")
        << int(Spades) << "KH TH" << partnerThenOpp << "9H 9C AH TD QS" << 1;
    QTest::newRow("trumped trick: follow, no climb")
        << int(Spades) << "KH 9S" << oppThenPartner << "9H AH 9C TD QD" << 1;
    QTest::newRow("void: trump in over partner's ace")
        << int(Spades) << "AH 9H" << partnerThenOpp << "9C KS TD 9S KD" << 2;
    QTest::newRow("ace of trump led: nine after queen")
        << int(Spades) << "AS" << opp << "QS 9S 9C TD KH" << 2;
    QTest::newRow("ace of trump led: nine before queen")
        << int(Spades) << "AS" << opp << "9S QS 9C TD KH" << 1;
    QTest::newRow("queen never replaces king")
        << int(Spades) << "AS" << opp << "KS QS 9C TD KH" << 1;
    QTest::newRow("right bower replaces higher trump")
        << int(Spades) << "9S" << partner << "AS JS 9C TD KH" << 2;
    QTest::newRow("ace climbs over king before bower")
        << int(Spades) << "KS" << opp << "AS JS 9C TD KH" << 1;
    QTest::newRow("queen climbs over right bower") << int(Spades) << "JS" << opp << "9S QS 9C" << 2;
    QTest::newRow("winning left bower stops the climb")
        << int(Spades) << "JC" << opp << "AS 9S 9C" << 2;
    QTest::newRow("left bower trumped: throw off a ten")
        << int(Spades) << "KH 9H JC" << QList<int>{4, 1, 2} << "AS KD TC 9D QC" << 3;
    QTest::newRow("left bower trumped: first plain card")
        << int(Spades) << "KH 9H JC" << QList<int>{4, 1, 2} << "AS KD QC AD KC" << 2;
    QTest::newRow("right bower trumped: queen kept")
        << int(Spades) << "KH 9H JS" << QList<int>{4, 1, 2} << "QS 9C AD" << 2;
    QTest::newRow("queen trumps in under ace")
        << int(Spades) << "KH AS" << partnerThenOpp << "9C QS TD KD AD" << 2;
    QTest::newRow("void of everything but trump")
        << int(Spades) << "KH AS" << oppThenPartner << "9S - JS - -" << 1;
}

void TestCardPlay::follow() {
    QFETCH(int, trump);
    QFETCH(QString, played);
    QFETCH(QList<int>, seats);
    QFETCH(QString, held);
    QFETCH(int, position);
    const TableView v = trick(trump, 3, played, seats, held);
    QCOMPARE(followPosition(v, 3), position);
    QCOMPARE(playPosition(v, 3), position);
}

void TestCardPlay::lead_data() {
    QTest::addColumn<bool>("attacking");
    QTest::addColumn<QString>("held");
    QTest::addColumn<int>("position"); // 0: a random place holding a card
    // Hearts trump: JH right, JD left.
    QTest::newRow("defending: example hand is random") << false << "KC 9D AC TS JH" << 0;
    QTest::newRow("defending: beat the last plain card") << false << "9C KD 9S QH AC" << 2;
    QTest::newRow("defending: position 1 not looked at") << false << "KC 9D QH JH AD" << 2;
    QTest::newRow("defending: never an ace") << false << "AC 9D AS TC QH" << 0;
    QTest::newRow("defending: all trump") << false << "9H JD AH QH KH" << 0;
    QTest::newRow("defending: one card left") << false << "- - - 9C -" << 4;
    QTest::newRow("attacking: left bower before ace") << true << "AH 9C JD KS 9S" << 3;
    QTest::newRow("attacking: right bower first") << true << "JD 9H JH KS 9S" << 3;
    QTest::newRow("attacking: ten before nine") << true << "9H 9C TH KS 9S" << 3;
    QTest::newRow("attacking: no trump is random") << true << "AC 9C TD KS 9S" << 0;
}

void TestCardPlay::lead() {
    QFETCH(bool, attacking);
    QFETCH(QString, held);
    QFETCH(int, position);
    TableView v = trick(Hearts, 2, QString(), {}, held);
    v.makers[teamOf(2)] = attacking;
    v.makers[teamOf(1)] = !attacking;
    for (std::uint32_t s = 1; s <= 20; ++s) {
        rng::restart(s);
        const int expected = position ? position : firstHeldDraw(v.seat[2].hand);
        rng::restart(s);
        QCOMPARE(leadPosition(v, 2), expected);
        rng::restart(s);
        QCOMPARE(playPosition(v, 2), expected);
    }
}

void TestCardPlay::emptyHandPlaysNothing() {
    TableView v = trick(Hearts, 3, "KH", {2}, "- - - - -");
    QCOMPARE(followPosition(v, 3), 0);
    v.ledsuit = NoSuit;
    QCOMPARE(leadPosition(v, 3), 0);
    v.makers[teamOf(3)] = true;
    QCOMPARE(leadPosition(v, 3), 0);
}

// Random deals and tricks part-way through a hand, sometimes with a seat
// sitting out: whatever the computer picks, the host's follow rule accepts it.
void TestCardPlay::computerNeverPlaysIllegalCard() {
    std::mt19937 gen(77);
    auto below = [&](int n) { return int(gen() % unsigned(n)); };
    for (int round = 0; round < 5000; ++round) {
        TableView v = dealRandom(gen);
        v.makers[1 + below(2)] = true;
        const int done = below(5); // tricks already played
        for (int s = 1; s <= 4; ++s) {
            for (int gone = 0; gone < done;) {
                int& c = v.seat[s].hand[1 + below(5)];
                if (c) {
                    c = 0;
                    ++gone;
                }
            }
        }
        const bool alone = below(4) == 0;
        if (alone) v.seat[1 + below(4)].sitsout = true;
        int seat = 1 + below(4);
        if (v.seat[seat].sitsout) seat = nextSeat(seat);
        for (int already = below(alone ? 3 : 4); already > 0; --already) {
            v.nextplayer = seat;
            int pos;
            do pos = 1 + below(5);
            while (!isLegal(v, seat, pos));
            int& c = v.seat[seat].hand[pos];
            v.seat[seat].played = c;
            if (v.ledsuit == NoSuit) v.ledsuit = effectiveSuit(c, v.trump, v.leftbower);
            c = 0;
            seat = nextSeat(seat);
            if (v.seat[seat].sitsout) seat = nextSeat(seat);
        }
        v.nextplayer = seat;
        rng::restart(std::uint32_t(round));
        const int pos = playPosition(v, seat);
        QVERIFY2(isLegal(v, seat, pos), qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

// A seat's view holds no other seat's cards, and deciding on it gives the
// same card as deciding on the whole table: the computer never peeks.
void TestCardPlay::decidesOnWhatItsSeatMaySee() {
    std::mt19937 gen(5);
    for (int round = 0; round < 500; ++round) {
        rules::Table t = tableOf(dealRandom(gen));
        t.team[1 + int(gen() % 2)].makers = true;
        const int seat = 1 + int(gen() % 4);
        t.phase = rules::Phase::Play;
        t.seat = seat;
        const int leader = nextSeat(seat);
        if (round % 2) { // a trick already led by the seat after
            t.played[leader] = t.hand[leader][1];
            t.ledsuit = effectiveSuit(t.played[leader], t.trump, t.leftbower);
        }
        const TableView view = seatView(t, seat);
        for (int other = 1; other <= 4; ++other)
            if (other != seat) QCOMPARE(view.seat[other].hand, Hand{});
        rng::restart(std::uint32_t(round));
        const int onView = playPosition(view, seat);
        rng::restart(std::uint32_t(round));
        QCOMPARE(onView, playPosition(t, seat));
    }
}

QTEST_APPLESS_MAIN(TestCardPlay)
#include "tst_cardplay.moc"
