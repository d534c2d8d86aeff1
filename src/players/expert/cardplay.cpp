// The expert's card: every distinct legal card tried on each sampled deal,
// the rest of the hand solved exactly, the best average game value played.
#include "players/expert/expert.h"

#include "players/expert/contract.h"
#include "rules/rules.h"

namespace euchre::players::expert {

using rules::cardAt;
using rules::cardBit;
using rules::cardIndex;
using rules::kFullDeck;

int expertPlay(const SeatView& view, std::uint64_t seed, Reading reading) {
    const int leftbower = leftBowerOf(view.trump());
    CardMask legal = 0;
    int onlyPos = 0, legalCount = 0;
    for (int pos = 1; pos <= 5; ++pos)
        if (rules::isLegalPlay(view.hand(), pos, view.ledsuit(), view.trump(), leftbower)) {
            legal |= cardBit(view.hand()[pos]);
            onlyPos = pos;
            ++legalCount;
        }
    if (legalCount <= 1) return onlyPos;

    // Cards known to be out of play never split a run of equal cards; the
    // current trick's cards do.
    CardMask gone = 0;
    int inTrick = 0;
    for (int seat = 1; seat <= 4; ++seat) inTrick += view.trick(seat) != 0;
    for (int i = 0; i < view.playCount() - inTrick; ++i) gone |= cardBit(view.play(i).card);
    if (view.discard()) gone |= cardBit(view.discard());
    if (!view.orderedUp() && view.turned()) gone |= cardBit(view.turned());
    const CardMask candidates = Solver::distinct(legal, kFullDeck & ~gone, view.trump());

    const WeightedDeals deals = drawDeals(
        view, reading == Reading::Inferred ? kWeighedPlayDeals : kPlayDeals, seed, reading);
    Solver solver;
    Deal deal;
    deal.trump = view.trump();
    deal.makerTeam = (view.maker() - 1) & 1;
    deal.sitout = view.loner() ? partnerOf(view.loner()) - 1 : -1;
    deal.turn = view.seat() - 1;
    deal.ledsuit = view.ledsuit();
    for (int seat = 1; seat <= 4; ++seat)
        deal.trick[seat - 1] = view.trick(seat) ? cardIndex(view.trick(seat)) : -1;
    const int taken = view.tricks(teamOf(view.maker()));

    // Weakest cards first, so that of equally good cards the weakest is played.
    int order[5], n = 0;
    for (CardMask m = candidates; m; m &= m - 1) {
        const int card = __builtin_ctz(m);
        const int key = rules::trickStrength(cardAt(card), view.trump(),
                                             effectiveSuit(cardAt(card), view.trump(), leftbower));
        int i = n++;
        while (i > 0 && rules::trickStrength(
                            cardAt(order[i - 1]), view.trump(),
                            effectiveSuit(cardAt(order[i - 1]), view.trump(), leftbower)) > key) {
            order[i] = order[i - 1];
            --i;
        }
        order[i] = card;
    }

    int bestCard = order[0];
    double best = -1;
    for (int k = 0; k < n; ++k) {
        double total = 0;
        for (std::size_t i = 0; i < deals.deals.size(); ++i) {
            deal.hands = deals.deals[i];
            total += deals.weights[i] * gameValue(view, view.maker(),
                                                  taken + solver.solveAfter(deal, order[k]),
                                                  view.loner() != 0);
        }
        if (total > best + 1e-9) {
            best = total;
            bestCard = order[k];
        }
    }
    for (int pos = 1; pos <= 5; ++pos)
        if (view.hand()[pos] && cardIndex(view.hand()[pos]) == bestCard) return pos;
    return onlyPos;
}

} // namespace euchre::players::expert
