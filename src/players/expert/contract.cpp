// A contract's worth over sampled deals, solved exactly from the first trick.
#include "players/expert/contract.h"

#include "model/card.h"
#include "players/expert/winchance.h"
#include "rules/rules.h"
#include "rules/ruleset.h"

namespace euchre::players::expert {

using rules::cardAt;
using rules::cardBit;
using rules::popCount;
using rules::suitMask;
using rules::trickStrength;

double gameValue(const SeatView& view, int maker, int makersTricks, bool alone) {
    const int making = teamOf(maker);
    const std::array<int, 3> points = rules::handPoints(view.rules(), making, makersTricks, alone);
    const int us = teamOf(view.seat()), them = 3 - us;
    return winChance(view.playto(), view.score(us) + points[us], view.score(them) + points[them],
                     view.rules().lonerMarchScore);
}

int usualDiscard(CardMask six, int trump) {
    const CardMask trumps = six & suitMask(trump, trump);
    const CardMask side = six & ~trumps;
    int best = -1, bestKey = 1000;
    for (CardMask m = side ? side : six; m; m &= m - 1) {
        const int index = __builtin_ctz(m);
        const int card = cardAt(index);
        const int suit = effectiveSuit(card, trump, leftBowerOf(trump));
        const int strength = trickStrength(card, trump, suit);
        int key = strength;
        if (suit != trump) {
            const bool ace = strength == 13;
            if (popCount(six & suitMask(suit, trump)) == 1 && !ace) key -= 10; // makes a void
            if (ace) key += 10;
        }
        if (key < bestKey) {
            bestKey = key;
            best = index;
        }
    }
    return best;
}

int firstLeader(const SeatView& view, const Contract& c) {
    return rules::firstLeader(view.rules(), view.dealer(), c.alone ? c.maker : 0, c.pickup);
}

double contractValue(const SeatView& view, const WeightedDeals& deals, const Contract& c,
                     Solver& solver) {
    if (deals.deals.empty()) return 0;
    const int me = view.seat() - 1, dealer = view.dealer() - 1;
    Deal deal;
    deal.trump = c.trump;
    deal.makerTeam = (c.maker - 1) & 1;
    deal.sitout = c.alone ? partnerOf(c.maker) - 1 : -1;
    deal.turn = firstLeader(view, c) - 1;
    double total = 0, weights = 0;
    for (std::size_t i = 0; i < deals.deals.size(); ++i) {
        deal.hands = deals.deals[i];
        if (c.pickup && view.turned() && !(deal.hands[dealer] & cardBit(view.turned()))) {
            const CardMask six = deal.hands[dealer] | cardBit(view.turned());
            const int thrown =
                dealer == me && c.ownDiscard >= 0 ? c.ownDiscard : usualDiscard(six, c.trump);
            deal.hands[dealer] = six & ~(CardMask(1) << thrown);
        }
        if (deal.sitout >= 0) deal.hands[deal.sitout] = 0;
        total += deals.weights[i] * gameValue(view, c.maker, solver.solve(deal), c.alone);
        weights += deals.weights[i];
    }
    return total / weights;
}

} // namespace euchre::players::expert
