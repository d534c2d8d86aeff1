// The computer players' door: at either level a seat decides on nothing it
// cannot see. All through whole games, the same table with every card that
// seat cannot see dealt anew (the other hands, another dealer's discard, the
// deck) gets the same answer, and the same advice with the same figures.
#include "model/pcg32.h"
#include "model/random.h"
#include "players/advice.h"
#include "players/players.h"
#include "rules/seatview.h"
#include "sim/simulator.h"

#include <QTest>
#include <vector>

using namespace euchre;
using players::Level;

Q_DECLARE_METATYPE(euchre::players::Level)

namespace {

// Before each decision of the watched seat, that seat's answer on the table
// and on the table with its hidden cards dealt anew.
struct Redealer : sim::Watcher {
    Level level = Level::Standard;
    bool advice = false; // the advice, with every option's points, instead of the answer
    int seat = 1;
    int limit = 0;
    int checked = 0, differed = 0;
    std::array<int, 10> byPhase{}; // decisions checked by phase
    Pcg32 g{3, 1};

    void step(const rules::Events&, const rules::Table& t) override {
        if (t.asked().seat != seat || checked >= limit) return;
        rules::Table other = t;
        std::vector<int*> hidden;
        for (int s = 1; s <= kSeats; ++s)
            for (int pos = 1; pos <= kHandSize; ++pos)
                if (s != seat && other.hand[s][pos]) hidden.push_back(&other.hand[s][pos]);
        if (seat != t.dealer && other.record.discard) hidden.push_back(&other.record.discard);
        std::array<int, Deck::kSize> deck;
        for (int pos = 1; pos <= Deck::kSize; ++pos) deck[pos - 1] = t.deck.deckcard(pos);
        std::vector<int*> order;
        for (int pos = 1; pos <= Deck::kSize; ++pos)
            if (pos != Deck::kTurnedPosition) order.push_back(&deck[pos - 1]);
        // The others' cards among their places, the deck's order among its own.
        for (std::vector<int*>* cards : {&hidden, &order})
            for (std::size_t i = cards->size(); i > 1; --i)
                std::swap(*(*cards)[i - 1], *(*cards)[g.below(std::uint32_t(i))]);
        other.deck.setCards(deck);

        // The standard players' random choices draw from the shared
        // generator: both answers start from the same draw, and the game
        // goes on from it as if nobody had asked.
        const Pcg32 saved = rng::shared;
        if (advice) {
            const players::Advice a = players::advise(rules::seatView(t, seat));
            const players::Advice b = players::advise(rules::seatView(other, seat));
            ++checked;
            ++byPhase[int(t.phase)];
            bool same = a.choice == b.choice && a.options.size() == b.options.size() &&
                        a.deals == b.deals && !a.options.empty();
            for (std::size_t i = 0; same && i < a.options.size(); ++i)
                same = a.options[i].answer == b.options[i].answer &&
                       a.options[i].points == b.options[i].points;
            // A card's share of the trick is read from the same deals.
            same = same && players::trickShare(rules::seatView(t, seat), a.choice) ==
                               players::trickShare(rules::seatView(other, seat), b.choice);
            if (!same) ++differed;
            return;
        }
        const int answer = players::answer(level, rules::seatView(t, seat));
        rng::shared = saved;
        const int redealt = players::answer(level, rules::seatView(other, seat));
        rng::shared = saved;
        ++checked;
        ++byPhase[int(t.phase)];
        if (answer != redealt) ++differed;
    }
};

} // namespace

class TestPlayers : public QObject {
    Q_OBJECT
private slots:
    void sameAnswerWhateverTheHiddenCards_data() {
        QTest::addColumn<Level>("level");
        QTest::addColumn<bool>("advice");
        QTest::addColumn<int>("decisions");
        QTest::newRow("standard") << Level::Standard << false << 3000;
        QTest::newRow("pimc") << Level::Pimc << false << 40;
        QTest::newRow("expert") << Level::Expert << false << 40;
        QTest::newRow("expert's advice") << Level::Expert << true << 30;
    }
    void sameAnswerWhateverTheHiddenCards() {
        QFETCH(Level, level);
        QFETCH(bool, advice);
        QFETCH(int, decisions);
        Redealer watcher;
        watcher.level = level;
        watcher.advice = advice;
        watcher.limit = decisions;
        sim::Simulator sim;
        sim.setWatcher(&watcher);
        rng::restart(21);
        for (int game = 0; game < 200 && watcher.checked < decisions; ++game)
            QVERIFY(sim.playGame(10));
        QCOMPARE(watcher.checked, decisions);
        QCOMPARE(watcher.differed, 0);
        // Bids and cards were both asked.
        QVERIFY(watcher.byPhase[int(rules::Phase::OrderUp)] > 0);
        QVERIFY(watcher.byPhase[int(rules::Phase::Play)] > 0);
        if (level == Level::Standard) {
            for (const rules::Phase phase :
                 {rules::Phase::Naming, rules::Phase::GoingAlone, rules::Phase::Discard})
                QVERIFY2(watcher.byPhase[int(phase)] > 0, qPrintable(QString::number(int(phase))));
        }
    }
};

QTEST_APPLESS_MAIN(TestPlayers)
#include "tst_players.moc"
