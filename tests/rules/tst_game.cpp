// The game in progress: a step the phase does not allow changes nothing, the
// deal's other packet order, and the winner of a trick.
#include "model/bubble.h"
#include "model/random.h"
#include "rules/game.h"
#include "rules/rules.h"

#include <QTest>
#include <map>

using namespace euchre;
using rules::Phase;

namespace {

// A step tried on a game, from the seat asked (or seat 1 when none is).
enum class Step { Deal, OrderUp, Naming, GoingAlone, Card, Proceed, Gather };

// An acceptable answer to whatever the table asks: passes, a partner, the
// first card that may be played.
int fairAnswer(const rules::Table& t) {
    switch (t.asked().question) {
    case rules::Question::OrderUp:
        return BubblePass;
    case rules::Question::Naming:
        return BubbleNamePass;
    case rules::Question::GoingAlone:
        return BubbleWithPartner;
    default:
        for (int pos = 1; pos <= kHandSize; ++pos)
            if (rules::isLegalPlay(t.hand[t.seat], pos, t.ledsuit, t.trump, t.leftbower))
                return pos;
        return 1;
    }
}

bool take(rules::Game& g, Step step, int seat, rules::Events& ev) {
    const int answer = fairAnswer(g.table());
    switch (step) {
    case Step::Deal:
        return g.deal(seat, 0, ev);
    case Step::OrderUp:
        return g.decide(seat, BubblePass, ev);
    case Step::Naming:
        return g.decide(seat, BubbleNamePass, ev);
    case Step::GoingAlone:
        return g.decide(seat, BubbleWithPartner, ev);
    case Step::Card:
        return g.playCard(seat, answer, ev);
    case Step::Proceed:
        return g.proceed(ev);
    case Step::Gather:
        return g.gather(seat);
    }
    return false;
}

// One table in each phase, met along seeded games; the first deal is passed
// round twice, later turned cards are ordered up.
std::map<Phase, rules::Table> tablesInEveryPhase() {
    std::map<Phase, rules::Table> seen{{Phase::NoGame, rules::Table{}}};
    rng::restart(5);
    rules::Game g;
    rules::Events ev;
    g.startGame(10, ev);
    for (int guard = 0; guard < 100000 && seen.size() < 9; ++guard) {
        const rules::Table& t = g.table();
        seen.emplace(t.phase, t);
        if (t.phase == Phase::GameOver) {
            g.startGame(10, ev);
            continue;
        }
        const rules::Asked asked = t.asked();
        ev.clear();
        if (asked.seat == 0)
            g.proceed(ev);
        else if (asked.question == rules::Question::OrderUp &&
                 t.team[1].score + t.team[2].score > 0)
            g.decide(asked.seat, BubbleAccept, ev);
        else if (asked.question == rules::Question::Naming)
            g.decide(asked.seat, t.refusedsuit == Clubs ? BubbleHearts : BubbleClubs, ev);
        else if (asked.wantsCard())
            g.playCard(asked.seat, fairAnswer(t), ev);
        else
            g.decide(asked.seat, fairAnswer(t), ev);
    }
    // A deal is due only inside a step; laid out by hand.
    rules::Table dealing = seen[Phase::HandPause];
    dealing.phase = Phase::Dealing;
    dealing.dealerdue = nextSeat(dealing.dealer);
    seen.emplace(Phase::Dealing, dealing);
    return seen;
}

} // namespace

Q_DECLARE_METATYPE(euchre::rules::Phase)
Q_DECLARE_METATYPE(Step)

class TestGame : public QObject {
    Q_OBJECT
private slots:
    void aStepOutOfItsPhaseChangesNothing_data() {
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("askedSeat");
        QTest::addColumn<QList<Phase>>("allowed");
        QTest::newRow("deal") << Step::Deal << true << QList<Phase>{Phase::Dealing};
        QTest::newRow("order up") << Step::OrderUp << true << QList<Phase>{Phase::OrderUp};
        QTest::newRow("name") << Step::Naming << true << QList<Phase>{Phase::Naming};
        QTest::newRow("alone") << Step::GoingAlone << true << QList<Phase>{Phase::GoingAlone};
        QTest::newRow("card") << Step::Card << true << QList<Phase>{Phase::Discard, Phase::Play};
        QTest::newRow("proceed") << Step::Proceed << true
                                 << QList<Phase>{Phase::TrickPause, Phase::HandPause};
        QTest::newRow("gather") << Step::Gather << true
                                << QList<Phase>{Phase::TrickPause, Phase::HandPause,
                                                Phase::GameOver};
        // Every answer from a seat that is not asked is refused.
        const std::pair<const char*, Step> answers[] = {{"deal", Step::Deal},
                                                        {"order up", Step::OrderUp},
                                                        {"name", Step::Naming},
                                                        {"alone", Step::GoingAlone},
                                                        {"card", Step::Card}};
        for (const auto& [name, step] : answers)
            QTest::addRow("%s from another seat", name) << step << false << QList<Phase>{};
    }
    void aStepOutOfItsPhaseChangesNothing() {
        QFETCH(Step, step);
        QFETCH(bool, askedSeat);
        QFETCH(QList<Phase>, allowed);
        const std::map<Phase, rules::Table> tables = tablesInEveryPhase();
        QCOMPARE(tables.size(), std::size_t(10));
        for (const auto& [phase, table] : tables) {
            rules::Game g;
            g.arrange() = table;
            const int asked = phase == Phase::Dealing ? table.dealerdue : table.seat;
            const int seat = askedSeat ? (asked ? asked : 1) : nextSeat(asked ? asked : 1);
            rules::Events ev;
            const bool moved = take(g, step, seat, ev);
            const QByteArray where = QByteArray::number(int(phase));
            if (allowed.contains(phase)) {
                QVERIFY2(moved, where);
                QVERIFY2(!(g.table() == table), where);
            } else {
                QVERIFY2(!moved, where);
                QVERIFY2(g.table() == table, where);
                QVERIFY2(ev.empty(), where);
            }
        }
    }

    void otherPacketOrderDealsThreeThenTwo() {
        rng::restart(7);
        rules::Game g;
        g.arrange().phase = Phase::Dealing;
        g.arrange().dealerdue = 2;
        g.arrange().dealer = 2;
        rules::Events ev;
        QVERIFY(g.deal(2, 1, ev));
        const rules::Table& t = g.table();
        for (int seat = 1; seat <= 4; ++seat) {
            for (int k = 0; k < 3; ++k)
                QCOMPARE(t.hand[seat][1 + k], t.deck.deckcard(3 * (seat - 1) + 1 + k));
            QCOMPARE(t.hand[seat][4], t.deck.deckcard(12 + 2 * seat - 1));
        }
        QCOMPARE(t.bidder(), 3);
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
        std::array<int, 5> cards{};
        for (int seat = 1; seat <= 4; ++seat) cards[seat] = played[seat - 1];
        QCOMPARE(rules::trickWinner(cards, {}, trump, leftBowerOf(trump), led), winner);
    }
};

QTEST_APPLESS_MAIN(TestGame)
#include "tst_game.moc"
