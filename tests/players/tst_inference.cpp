// What the expert reads from the other seats' bids and plays: the deals that
// agree with them weigh more, the deals it solves lean to them, and the
// conventions players expect of a partner that the expert follows stay followed.
#include "model/bubble.h"
#include "players/expert/inference.h"
#include "players/players.h"
#include "players/support/conventions.h"
#include "players/support/positions.h"
#include "rules/cardmask.h"

#include <QTest>
#include <algorithm>
#include <string_view>

using namespace euchre;
using namespace euchre::players::expert;
using playerstest::card;
using playerstest::hand;

namespace {

rules::CardMask maskOf(std::string_view cards) {
    rules::CardMask m = 0;
    for (const int c : hand(cards))
        if (c) m |= rules::cardBit(c);
    return m;
}

// Seat 1 looks on holding `own`; the rows lay out what the others did and
// two deals of their cards (seats 2, 3, 4 as they hold them now), the first
// the one their bids and plays point to.
struct Observed {
    const char* name;
    const char* own;
    int dealer;
    const char* turned;
    rules::Phase phase;
    int trump, maker;
    bool orderedUp;
    const char* plays; // cards played so far from `leader` on, one trick
    int leader;
    const char* likely[3];
    const char* unlikely[3];
};

const Observed kObserved[] = {
    {"seats that passed the turned jack hold little trump",
     "9D TD QS KS AC",
     1,
     "JH",
     rules::Phase::OrderUp,
     0,
     0,
     false,
     "",
     0,
     {"9C TC JC 9S TS", "QC KC QD KD 9H", "JS AS TH AD JD"},
     {"AH KH QH JD AS", "9C TC JC 9S TS", "QC KC QD KD 9H"}},
    {"a seat that ordered up holds trump",
     "QH TH JS AH 9D",
     4,
     "9H",
     rules::Phase::Play,
     Hearts,
     2,
     true,
     "",
     0,
     {"JH JD KH AC KS", "9C TC 9S TS QD", "9H KC QC QS KD"},
     {"9C TC 9S TS QD", "JH JD KH AC KS", "9H KC QC QS KD"}},
    {"a seat that passed the naming round holds no strong suit",
     "9D TD QS KS AC",
     3,
     "9H",
     rules::Phase::Naming,
     0,
     0,
     false,
     "",
     0,
     {"JS JC AS 9S AD", "9C TC QC KC QD", "TS KD TH JD QH"},
     {"TS KD TH JD QH", "9C TC QC KC QD", "JS JC AS 9S AD"}},
    {"third hand that let the trick go holds no winner",
     "QH TH AH 9C QD",
     4,
     "9D",
     rules::Phase::Play,
     Hearts,
     1,
     false,
     "9S KS TS",
     2,
     {"AC TC QS JS", "9H TD JH AD", "KD QC JC KC"},
     {"AC TC QS JS", "9H TD JH AD", "AS QC JC KC"}},
};

rules::Table readingTable(const Observed& r) {
    rules::Table t;
    t.hand[1] = hand(r.own);
    t.dealer = r.dealer;
    t.record.turned = card(r.turned);
    t.orderedup = r.orderedUp;
    if (r.orderedUp) t.record.discard = card(r.turned);
    t.trump = r.trump;
    t.leftbower = leftBowerOf(r.trump);
    t.record.maker = r.maker;
    if (r.phase == rules::Phase::Naming || (r.maker && !r.orderedUp))
        t.refusedsuit = naturalSuit(t.record.turned);
    std::string_view plays = r.plays;
    for (int seat = r.leader; !plays.empty(); seat = seat % 4 + 1) {
        const int c = card(plays.substr(0, 2));
        plays.remove_prefix(std::min<std::size_t>(3, plays.size()));
        t.played[seat] = c;
        t.record.plays[t.record.playCount++] = {std::uint8_t(seat), std::uint8_t(c)};
        if (t.record.playCount == 1) t.ledsuit = effectiveSuit(c, t.trump, t.leftbower);
    }
    t.playto = 10;
    t.phase = r.phase;
    t.seat = 1;
    return t;
}

Sample sampleOf(const rules::Table& t, const char* const (&others)[3]) {
    Sample s{};
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (t.hand[1][pos]) s[0] |= rules::cardBit(t.hand[1][pos]);
    for (int seat = 2; seat <= 4; ++seat) s[seat - 1] = maskOf(others[seat - 2]);
    return s;
}

} // namespace

class TestInference : public QObject {
    Q_OBJECT
private slots:
    void bidsAndPlaysWeighDeals_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kObserved)); ++row)
            QTest::newRow(kObserved[row].name) << row;
    }
    void bidsAndPlaysWeighDeals() {
        QFETCH(int, row);
        const Observed& r = kObserved[row];
        const rules::Table t = readingTable(r);
        const rules::SeatView v = rules::seatView(t, 1);
        const double likely = likelihood(v, sampleOf(t, r.likely));
        const double unlikely = likelihood(v, sampleOf(t, r.unlikely));
        QVERIFY(unlikely > 0);
        QVERIFY2(likely > 2 * unlikely,
                 qPrintable(QString("%1 against %2").arg(likely).arg(unlikely)));
    }

    // After seat 2 ordered hearts up, the deals the expert solves give seat
    // 2 more trump than the uniform ones, and every one holds the cards the
    // table allows.
    void drawnDealsLeanToTheBids() {
        const rules::Table t = readingTable(kObserved[1]);
        const rules::SeatView v = rules::seatView(t, 1);
        const rules::CardMask hearts = rules::suitMask(Hearts, Hearts);
        double trump[2] = {};
        for (const auto reading :
             {players::expert::Reading::Uniform, players::expert::Reading::Inferred}) {
            const WeightedDeals d = drawDeals(v, 24, 7, reading);
            QVERIFY(!d.deals.empty());
            QCOMPARE(d.deals.size(), d.weights.size());
            QVERIFY(int(d.deals.size()) <= 24);
            double total = 0;
            for (std::size_t i = 0; i < d.deals.size(); ++i) {
                const Sample& s = d.deals[i];
                QCOMPARE(s[0], sampleOf(t, kObserved[1].likely)[0]);
                QCOMPARE(rules::popCount(s[1]), 5);
                QVERIFY(s[3] & rules::cardBit(card("9H"))); // the dealer took the turned card
                trump[int(reading)] += d.weights[i] * rules::popCount(s[1] & hearts);
                total += d.weights[i];
            }
            trump[int(reading)] /= total;
        }
        QVERIFY2(trump[1] > trump[0] + 0.5,
                 qPrintable(QString("%1 against %2").arg(trump[1]).arg(trump[0])));
    }

    // The conventions the expert follows stay followed.
    void expertKeepsConventions_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(playerstest::kConventions)); ++row)
            if (playerstest::kConventions[row].kept)
                QTest::newRow(playerstest::kConventions[row].name) << row;
    }
    void expertKeepsConventions() {
        QFETCH(int, row);
        const playerstest::Convention& c = playerstest::kConventions[row];
        const rules::Table t = playerstest::conventionTable(c);
        const int answer = players::answer(players::Level::Expert, rules::seatView(t, 1));
        const std::vector<int> allowed = playerstest::conventionalAnswers(c);
        QVERIFY2(std::find(allowed.begin(), allowed.end(), answer) != allowed.end(),
                 qPrintable(QString("answered %1").arg(answer)));
    }
};

QTEST_APPLESS_MAIN(TestInference)
#include "tst_inference.moc"
