// The standard computer player's bidding: order-up points and thresholds,
// naming, going alone and the dealer's discard.
#include "model/random.h"
#include "net/commands.h"
#include "players/standard/bidding.h"
#include "support/positions.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::players::standard;
using namespace playerstest;

class TestBidding : public QObject {
    Q_OBJECT
private slots:
    void cardPoints_data();
    void cardPoints();
    void orderUpBySeat_data();
    void orderUpBySeat();
    void naming_data();
    void naming();
    void goingAlone_data();
    void goingAlone();
    void discard_data();
    void discard();
    void discardFallsBackToRandomPlace();
    void decisionsStayInTheirCodes();
};

void TestBidding::cardPoints_data() {
    QTest::addColumn<QString>("card");
    QTest::addColumn<int>("points");
    // Hearts turned, so the jack of Diamonds is the left bower.
    QTest::newRow("right bower") << "JH" << 100;
    QTest::newRow("left bower") << "JD" << 100;
    QTest::newRow("trump king") << "KH" << 100;
    QTest::newRow("trump queen") << "QH" << 50;
    QTest::newRow("trump ace counts like a nine") << "AH" << 25;
    QTest::newRow("trump nine") << "9H" << 25;
    QTest::newRow("plain king") << "KS" << 50;
    QTest::newRow("plain ace") << "AS" << 25;
    QTest::newRow("plain jack of the other colour") << "JC" << 25;
    QTest::newRow("plain queen") << "QD" << 25;
    QTest::newRow("empty place") << "-" << 0;
}

void TestBidding::cardPoints() {
    QFETCH(QString, card);
    QFETCH(int, points);
    QCOMPARE(bidPoints(playerstest::card(card.toStdString()), Hearts, leftBowerOf(Hearts)), points);
}

void TestBidding::orderUpBySeat_data() {
    QTest::addColumn<QString>("cards");
    QTest::addColumn<bool>("dealerTakes");
    QTest::addColumn<bool>("partnerTakes");
    QTest::addColumn<bool>("opponentTakes");
    QTest::newRow("350: bowers, king and two nines") << "JH JD KH 9C 9S" << true << true << true;
    QTest::newRow("300 exactly") << "JH JD KC 9C 9S" << true << true << true;
    QTest::newRow("275") << "JH JD AC 9C 9S" << true << true << false;
    QTest::newRow("250 exactly") << "JH QH KS AS 9C" << true << true << false;
    QTest::newRow("200: ace, queen, ten and two kings")
        << "AH QH TH KS KC" << true << false << false;
    QTest::newRow("175 with an empty place") << "JH 9S 9C - 9D" << false << false << false;
}

// Every dealer against every asking seat, so the partner pairs are all covered.
void TestBidding::orderUpBySeat() {
    QFETCH(QString, cards);
    QFETCH(bool, dealerTakes);
    QFETCH(bool, partnerTakes);
    QFETCH(bool, opponentTakes);
    for (int dealer = 1; dealer <= 4; ++dealer) {
        for (int seat = 1; seat <= 4; ++seat) {
            Table t = asking(Phase::OrderUp, seat, Hearts, cards.toStdString());
            t.dealer = dealer;
            const bool takes = seat == dealer              ? dealerTakes
                               : seat == partnerOf(dealer) ? partnerTakes
                                                           : opponentTakes;
            QVERIFY2(bidDecision(rules::seatView(t, seat)) == (takes ? BubbleAccept : BubblePass),
                     qPrintable(QStringLiteral("dealer %1 seat %2").arg(dealer).arg(seat)));
        }
    }
}

void TestBidding::naming_data() {
    QTest::addColumn<QString>("cards");
    QTest::addColumn<int>("refused");
    QTest::addColumn<bool>("stuck"); // the dealer may not pass
    QTest::addColumn<int>("code");
    QTest::newRow("three clubs") << "9C TC AC 9H KS" << int(Hearts) << false << int(BubbleClubs);
    QTest::newRow("three diamonds")
        << "9D TD AD 9H KS" << int(Hearts) << false << int(BubbleDiamonds);
    QTest::newRow("three spades") << "9S TS AS 9H KD" << int(Hearts) << false << int(BubbleSpades);
    QTest::newRow("four hearts") << "9H TH AH KH KD" << int(Spades) << false << int(BubbleHearts);
    QTest::newRow("three of the turned-down suit")
        << "9S TS AS 9H KD" << int(Spades) << false << int(BubbleNamePass);
    QTest::newRow("jack stays in its printed suit")
        << "JD 9D TD 9C AS" << int(Hearts) << false << int(BubbleDiamonds);
    QTest::newRow("no suit with three")
        << "9C TC 9D TD AS" << int(Hearts) << false << int(BubbleNamePass);
    // A stuck dealer names as anyone would, else the suit it holds most of,
    // of equal counts the lower suit, never the turned-down one.
    QTest::newRow("stuck, three clubs")
        << "9C TC AC 9H KS" << int(Hearts) << true << int(BubbleClubs);
    QTest::newRow("stuck, most diamonds")
        << "9D TD 9C AS KH" << int(Hearts) << true << int(BubbleDiamonds);
    QTest::newRow("stuck, one each")
        << "9C TC 9D 9S AH" << int(Clubs) << true << int(BubbleDiamonds);
    QTest::newRow("stuck, three of the turned-down suit")
        << "9S TS AS 9H KD" << int(Spades) << true << int(BubbleDiamonds);
    QTest::newRow("stuck, only the turned-down suit")
        << "9C TC QC KC AC" << int(Clubs) << true << int(BubbleDiamonds);
}

void TestBidding::naming() {
    QFETCH(QString, cards);
    QFETCH(int, refused);
    QFETCH(bool, stuck);
    QFETCH(int, code);
    Table t = asking(Phase::Naming, 2, NoSuit, cards.toStdString());
    t.refusedsuit = refused;
    t.rules.stickTheDealer = stuck;
    t.dealer = 2; // without the house rule the dealer passes by the same rule as anyone
    const SeatView view = rules::seatView(t, 2);
    QCOMPARE(chooseDecision(view), code);
    // The rule binds the dealer only: another seat decides as without it.
    t.dealer = 1;
    const int asAnotherSeat = chooseDecision(view);
    t.rules.stickTheDealer = false;
    QCOMPARE(asAnotherSeat, chooseDecision(view));
}

void TestBidding::goingAlone_data() {
    QTest::addColumn<QString>("cards");
    QTest::addColumn<int>("code");
    QTest::newRow("four trump and the left bower") << "9S TS QS KS JC" << int(BubbleAlone);
    QTest::newRow("five natural trump") << "9S TS JS QS AS" << int(BubbleAlone);
    QTest::newRow("four trump and a plain ace") << "9S TS QS KS AH" << int(BubbleWithPartner);
    QTest::newRow("four trump and the other colour's jack")
        << "9S TS QS KS JD" << int(BubbleWithPartner);
}

void TestBidding::goingAlone() {
    QFETCH(QString, cards);
    QFETCH(int, code);
    const Table t = asking(Phase::GoingAlone, 1, Spades, cards.toStdString());
    QCOMPARE(aloneDecision(rules::seatView(t, 1)), code);
}

void TestBidding::discard_data() {
    QTest::addColumn<QString>("cards");
    QTest::addColumn<int>("position");
    // Hearts trump throughout.
    QTest::newRow("earlier of two nines") << "AH 9C KH 9S QH" << 2;
    QTest::newRow("lowest key, aces skipped") << "AC KS QD AS JH" << 3;
    QTest::newRow("left bower skipped") << "JD QC AC KH TH" << 2;
    QTest::newRow("trump skipped though lowest") << "9H KC AD QS TH" << 4;
    QTest::newRow("single plain card among trump and aces") << "AC JD AS KD 9H" << 4;
    QTest::newRow("empty places skipped") << "- KS - TD AH" << 4;
}

void TestBidding::discard() {
    QFETCH(QString, cards);
    QFETCH(int, position);
    const Table t = asking(Phase::Discard, 4, Hearts, cards.toStdString());
    QCOMPARE(discardPosition(rules::seatView(t, 4)), position);
}

void TestBidding::discardFallsBackToRandomPlace() {
    const Table t = asking(Phase::Discard, 1, Hearts, "JH AC JD AS 9H"); // only trump and aces
    const SeatView v = rules::seatView(t, 1);
    bool threwTrump = false;
    for (std::uint32_t s = 1; s <= 40; ++s) {
        rng::restart(s);
        const int drawn = rng::from1to(5);
        rng::restart(s);
        const int pos = discardPosition(v);
        QCOMPARE(pos, drawn); // the one draw comes from the shared generator
        threwTrump |= isTrumpCard(v.hand()[pos], Hearts, leftBowerOf(Hearts));
    }
    QVERIFY(threwTrump);
}

void TestBidding::decisionsStayInTheirCodes() {
    std::mt19937 gen(2024);
    for (int deal = 0; deal < 2000; ++deal) {
        const Deal d = dealRandom(gen);
        const int refused = int(gen() % 4) + 1;
        rng::restart(std::uint32_t(deal));
        for (int seat = 1; seat <= 4; ++seat) {
            Table t;
            t.hand = d.hands;
            t.dealer = d.dealer;
            t.trump = d.trump;
            t.leftbower = leftBowerOf(d.trump);
            t.record.turned = makeCard(d.trump, 8);
            const SeatView v = rules::seatView(t, seat);
            const int bid = bidDecision(v);
            QVERIFY(bid == BubbleAccept || bid == BubblePass);
            t.refusedsuit = refused;
            const int named = chooseDecision(v);
            QVERIFY((named >= BubbleClubs && named <= BubbleHearts) || named == BubbleNamePass);
            QVERIFY(named != bubbleForSuit(refused));
            t.record.maker = seat;
            const int alone = aloneDecision(v);
            QVERIFY(alone == BubbleAlone || alone == BubbleWithPartner);
            const int pos = discardPosition(v);
            QVERIFY(pos >= 1 && pos <= 5);
        }
    }
}

QTEST_APPLESS_MAIN(TestBidding)
#include "tst_bidding.moc"
