// The mask forms of the rules against the core's array forms, the solver
// against a plain minimax, and the game-winning chances.
#include "model/pcg32.h"
#include "players/expert/solver.h"
#include "players/expert/winchance.h"
#include "rules/cardmask.h"
#include "rules/rules.h"

#include <QTest>
#include <algorithm>

using namespace euchre;
using namespace euchre::players::expert;
using namespace euchre::rules;

namespace {

// A shuffled deck of card indices from a fixed start.
std::array<int, 24> shuffled(Pcg32& g) {
    std::array<int, 24> deck;
    for (int i = 0; i < 24; ++i) deck[i] = i;
    for (int i = 23; i > 0; --i) std::swap(deck[i], deck[g.below(i + 1)]);
    return deck;
}

// Every line of play tried, no pruning: the makers' tricks from here.
int minimax(Deal d, int count) {
    const int players = d.sitout >= 0 ? 3 : 4;
    if (count == 0 && d.hands[d.turn] == 0) return 0;
    const CardMask legal = legalMask(d.hands[d.turn], count ? d.ledsuit : 0, d.trump);
    const bool makers = (d.turn & 1) == d.makerTeam;
    int best = makers ? -1 : 99;
    for (CardMask m = legal; m; m &= m - 1) {
        const int card = __builtin_ctz(m);
        Deal next = d;
        next.hands[d.turn] &= ~(CardMask(1) << card);
        next.trick[d.turn] = card;
        if (count == 0) next.ledsuit = suitOfIndex(card, d.trump);
        int value;
        if (count + 1 == players) {
            int winner = -1, top = -1;
            for (int s = 0; s < 4; ++s) {
                if (next.trick[s] < 0) continue;
                const int st = trickStrength(cardAt(next.trick[s]), d.trump, next.ledsuit);
                if (st > top) top = st, winner = s;
            }
            next.trick = {-1, -1, -1, -1};
            next.turn = winner;
            value = ((winner & 1) == d.makerTeam) + minimax(next, 0);
        } else {
            next.turn = (d.turn + 1) & 3;
            if (next.turn == d.sitout) next.turn = (next.turn + 1) & 3;
            value = minimax(next, count + 1);
        }
        best = makers ? std::max(best, value) : std::min(best, value);
    }
    return best;
}

} // namespace

class TestSolver : public QObject {
    Q_OBJECT
private slots:
    // The fast forms give the same answers as isLegalPlay and trickWinner.
    void masksMatchTheCore() {
        Pcg32 g;
        g.restart(11);
        for (int n = 0; n < 3000; ++n) {
            const auto deck = shuffled(g);
            const int trump = 1 + int(g.below(4)), led = 1 + int(g.below(4));
            const int left = leftBowerOf(trump);
            Hand hand{};
            CardMask mask = 0;
            for (int pos = 1; pos <= 5; ++pos)
                if (g.below(5) != 0) {
                    hand[pos] = cardAt(deck[pos]);
                    mask |= cardBit(hand[pos]);
                }
            const CardMask legal = legalMask(mask, led, trump);
            for (int pos = 1; pos <= 5; ++pos)
                if (hand[pos])
                    QCOMPARE(bool(legal & cardBit(hand[pos])),
                             isLegalPlay(hand, pos, led, trump, left));

            std::array<int, 5> played{};
            std::array<bool, 5> sitsout{};
            const int leader = 1 + int(g.below(4));
            int best = 0, top = -1;
            for (int k = 0; k < 4; ++k) {
                const int seat = (leader + k - 1) % 4 + 1;
                played[seat] = cardAt(deck[10 + k]);
                const int ledsuit = effectiveSuit(played[leader], trump, left);
                const int st = trickStrength(played[seat], trump, ledsuit);
                if (st > top) top = st, best = seat;
            }
            QCOMPARE(best, trickWinner(played, sitsout, trump, left,
                                       effectiveSuit(played[leader], trump, left)));
        }
    }

    // Exact: the same value as trying every line, for whole positions and
    // after each first card, with and without a loner and a trick begun.
    void solverAgreesWithPlainMinimax() {
        Pcg32 g;
        g.restart(5);
        Solver solver;
        for (int n = 0; n < 400; ++n) {
            const auto deck = shuffled(g);
            Deal d;
            d.trump = 1 + int(g.below(4));
            d.makerTeam = int(g.below(2));
            d.sitout = n % 4 == 0 ? int(g.below(4)) : -1;
            const int cards = 1 + n % 3;
            int at = 0;
            for (int s = 0; s < 4; ++s)
                for (int k = 0; k < cards && s != d.sitout; ++k) d.hands[s] |= 1u << deck[at++];
            d.turn = int(g.below(4));
            if (d.turn == d.sitout) d.turn = (d.turn + 1) & 3;
            int count = 0;
            if (n % 2) {
                const int card = __builtin_ctz(d.hands[d.turn]);
                d.hands[d.turn] &= ~(1u << card);
                d.trick[d.turn] = card;
                d.ledsuit = suitOfIndex(card, d.trump);
                d.turn = (d.turn + 1) & 3;
                if (d.turn == d.sitout) d.turn = (d.turn + 1) & 3;
                count = 1;
            }
            QCOMPARE(solver.solve(d), minimax(d, count));
            const CardMask legal = legalMask(d.hands[d.turn], count ? d.ledsuit : 0, d.trump);
            for (CardMask m = legal; m; m &= m - 1) {
                const int card = __builtin_ctz(m);
                Deal next = d;
                next.hands[d.turn] &= ~(1u << card);
                next.trick[d.turn] = card;
                if (!count) next.ledsuit = suitOfIndex(card, d.trump);
                const int value = solver.solveAfter(d, card);
                // After the card the same position as a plain minimax one step on.
                int expected;
                const int players = d.sitout >= 0 ? 3 : 4;
                if (count + 1 == players) {
                    int winner = -1, top = -1;
                    for (int s = 0; s < 4; ++s)
                        if (next.trick[s] >= 0) {
                            const int st =
                                trickStrength(cardAt(next.trick[s]), d.trump, next.ledsuit);
                            if (st > top) top = st, winner = s;
                        }
                    next.trick = {-1, -1, -1, -1};
                    next.turn = winner;
                    expected = ((winner & 1) == d.makerTeam) + minimax(next, 0);
                } else {
                    next.turn = (d.turn + 1) & 3;
                    if (next.turn == d.sitout) next.turn = (next.turn + 1) & 3;
                    expected = minimax(next, count + 1);
                }
                QCOMPARE(value, expected);
            }
        }
    }

    // The chances are those of a fair game: one side's chance is the
    // other's complement, more points never hurt, a decided game is certain.
    void winChancesAreConsistent() {
        for (int playto = 5; playto <= 10; ++playto) {
            QCOMPARE(winChance(playto, 0, 0), 0.5);
            QCOMPARE(winChance(playto, playto, 3), 1.0);
            QCOMPARE(winChance(playto, 3, playto), 0.0);
            for (int us = 0; us < playto; ++us)
                for (int them = 0; them < playto; ++them) {
                    QVERIFY(qAbs(winChance(playto, us, them) + winChance(playto, them, us) - 1) <
                            1e-9);
                    QVERIFY(winChance(playto, us + 1, them) > winChance(playto, us, them));
                }
        }
        QVERIFY(winChance(10, 9, 0) > 0.9);
    }
};

QTEST_APPLESS_MAIN(TestSolver)
#include "tst_solver.moc"
