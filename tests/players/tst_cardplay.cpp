// The standard computer player's card play: who is winning, following,
// trumping in, throwing off and leading, and that every card it picks is a
// legal one.
#include "model/random.h"
#include "players/standard/cardplay.h"
#include "rules/rules.h"
#include "support/positions.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::players::standard;
using namespace playerstest;

namespace {

// A trick in progress: the first card listed leads and sets the led suit.
Table trick(int trump, int player, QString cards, QList<int> seats, QString held) {
    Table t = asking(Phase::Play, player, trump, held.toStdString());
    const QStringList played = cards.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < played.size(); ++i) t.played[seats[i]] = card(played[i].toStdString());
    if (!played.isEmpty()) t.ledsuit = effectiveSuit(t.played[seats[0]], trump, t.leftbower);
    return t;
}

// The host's follow rule: a card of the led suit whenever the hand holds one.
bool isLegal(const SeatView& v, int pos) {
    return rules::isLegalPlay(v.hand(), pos, v.ledsuit(), v.trump(), leftBowerOf(v.trump()));
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
    const Table t = trick(Hearts, player, cards, {1, 2, 3}, QString());
    QCOMPARE(highest(rules::seatView(t, player), suit), best);
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
    const Table t = trick(trump, 3, played, seats, held);
    const SeatView v = rules::seatView(t, 3);
    QCOMPARE(followPosition(v), position);
    QCOMPARE(playPosition(v), position);
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
    Table t = trick(Hearts, 2, QString(), {}, held);
    t.record.maker = attacking ? 4 : 1;
    const SeatView v = rules::seatView(t, 2);
    for (std::uint32_t s = 1; s <= 20; ++s) {
        rng::restart(s);
        const int expected = position ? position : firstHeldDraw(v.hand());
        rng::restart(s);
        QCOMPARE(leadPosition(v), expected);
        rng::restart(s);
        QCOMPARE(playPosition(v), expected);
    }
}

void TestCardPlay::emptyHandPlaysNothing() {
    Table t = trick(Hearts, 3, "KH", {2}, "- - - - -");
    const SeatView v = rules::seatView(t, 3);
    QCOMPARE(followPosition(v), 0);
    t.ledsuit = NoSuit;
    t.record.maker = 2;
    QCOMPARE(leadPosition(v), 0);
    t.record.maker = 3;
    QCOMPARE(leadPosition(v), 0);
}

// Random deals and tricks part-way through a hand, sometimes with a seat
// sitting out: whatever the computer picks, the host's follow rule accepts it.
void TestCardPlay::computerNeverPlaysIllegalCard() {
    std::mt19937 gen(77);
    auto below = [&](int n) { return int(gen() % unsigned(n)); };
    for (int round = 0; round < 5000; ++round) {
        const Deal d = dealRandom(gen);
        Table t;
        t.phase = Phase::Play;
        t.hand = d.hands;
        t.trump = d.trump;
        t.leftbower = leftBowerOf(d.trump);
        t.record.maker = 1 + below(2);
        const int done = below(5); // tricks already played
        for (int s = 1; s <= 4; ++s) {
            for (int gone = 0; gone < done;) {
                int& c = t.hand[s][1 + below(5)];
                if (c) {
                    c = 0;
                    ++gone;
                }
            }
        }
        const bool alone = below(4) == 0;
        if (alone) {
            const int out = 1 + below(4);
            t.sitsout[out] = true;
            t.alone[partnerOf(out)] = true;
        }
        int seat = 1 + below(4);
        if (t.sitsout[seat]) seat = nextSeat(seat);
        for (int already = below(alone ? 3 : 4); already > 0; --already) {
            t.seat = seat;
            int pos;
            do pos = 1 + below(5);
            while (!isLegal(rules::seatView(t, seat), pos));
            int& c = t.hand[seat][pos];
            t.played[seat] = c;
            if (t.ledsuit == NoSuit) t.ledsuit = effectiveSuit(c, t.trump, t.leftbower);
            c = 0;
            seat = nextSeat(seat);
            if (t.sitsout[seat]) seat = nextSeat(seat);
        }
        t.seat = seat;
        const SeatView v = rules::seatView(t, seat);
        rng::restart(std::uint32_t(round));
        const int pos = playPosition(v);
        QVERIFY2(isLegal(v, pos), qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

// Random tables part-way through a trick: the seat to play picks the same
// card whatever the other seats hold, their cards dealt anew among their
// places.
void TestCardPlay::decidesOnWhatItsSeatMaySee() {
    std::mt19937 gen(5);
    for (int round = 0; round < 500; ++round) {
        const Deal d = dealRandom(gen);
        Table t;
        t.hand = d.hands;
        t.trump = d.trump;
        t.leftbower = leftBowerOf(d.trump);
        t.dealer = d.dealer;
        t.record.maker = 1 + int(gen() % 4);
        const int seat = 1 + int(gen() % 4);
        t.phase = Phase::Play;
        t.seat = seat;
        const int leader = nextSeat(seat);
        if (round % 2) { // a trick already led by the seat after
            t.played[leader] = t.hand[leader][1];
            t.ledsuit = effectiveSuit(t.played[leader], t.trump, t.leftbower);
        }
        Table other = t;
        std::vector<int*> hidden;
        for (int s = 1; s <= 4; ++s)
            for (int pos = 1; pos <= 5; ++pos)
                if (s != seat && other.hand[s][pos]) hidden.push_back(&other.hand[s][pos]);
        std::shuffle(hidden.begin(), hidden.end(), gen);
        for (std::size_t i = 1; i < hidden.size(); ++i) std::swap(*hidden[i - 1], *hidden[i]);
        QVERIFY(other.hand != t.hand);
        rng::restart(std::uint32_t(round));
        const int onView = playPosition(rules::seatView(t, seat));
        rng::restart(std::uint32_t(round));
        QCOMPARE(playPosition(rules::seatView(other, seat)), onView);
    }
}

QTEST_APPLESS_MAIN(TestCardPlay)
#include "tst_cardplay.moc"
