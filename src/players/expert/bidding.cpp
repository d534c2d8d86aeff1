// The expert's decisions before the first trick: each choice is the contract
// it leads to, valued over sampled deals and set against the worth of passing.
#include "players/expert/contract.h"
#include "players/expert/expert.h"

#include "model/bubble.h"
#include "model/card.h"
#include "players/expert/winchance.h"
#include "rules/ruleset.h"

namespace euchre::players::expert {

using rules::cardBit;
using rules::cardIndex;

namespace {

// Passing hands the deal to the others; its worth is a one-point hand that
// our team wins with this chance. Sampled deals solved with every card in
// view favour the makers, so a contract must promise clearly more than an
// even hand; the share was tuned by games against the standard players. A
// dealer passing in the naming phase only throws the cards in.
constexpr double kPassShare = 0.8;
constexpr double kThrowInShare = 0.5;

// The margin a lone call must beat playing with the partner by.
constexpr double kAloneMargin = 0.004;

double passValue(const SeatView& view, double share) {
    const int us = teamOf(view.seat()), them = 3 - us;
    const int march = view.rules().lonerMarchScore;
    return share * winChance(view.playto(), view.score(us) + 1, view.score(them), march) +
           (1 - share) * winChance(view.playto(), view.score(us), view.score(them) + 1, march);
}

CardMask handMask(const SeatView& view) {
    CardMask m = 0;
    for (int pos = 1; pos <= 5; ++pos)
        if (view.hand()[pos]) m |= cardBit(view.hand()[pos]);
    return m;
}

// The better of playing a contract with the partner or alone; only alone
// when the house rules leave the maker no choice.
double bestOfContract(const SeatView& view, const WeightedDeals& deals, Contract c,
                      Solver& solver) {
    c.alone = true;
    if (rules::mustGoAlone(view.rules(), c.maker, view.dealer(), c.pickup))
        return contractValue(view, deals, c, solver);
    c.alone = false;
    const double withPartner = contractValue(view, deals, c, solver);
    c.alone = true;
    return std::max(withPartner, contractValue(view, deals, c, solver) - kAloneMargin);
}

} // namespace

int expertOrderUp(const SeatView& view, std::uint64_t seed, Reading reading) {
    const WeightedDeals deals = drawDeals(view, kBidDeals, seed, reading);
    Solver solver;
    Contract c;
    c.trump = naturalSuit(view.turned());
    c.maker = view.seat();
    c.pickup = true;
    return bestOfContract(view, deals, c, solver) > passValue(view, kPassShare) ? BubbleAccept
                                                                                : BubblePass;
}

int expertName(const SeatView& view, std::uint64_t seed, Reading reading) {
    const WeightedDeals deals = drawDeals(view, kBidDeals, seed, reading);
    Solver solver;
    // A dealer who may not pass takes the best suit, however poor.
    const bool stuck = view.mustNameTrump();
    double best =
        stuck ? -1 : passValue(view, view.seat() == view.dealer() ? kThrowInShare : kPassShare);
    int code = BubbleNamePass;
    for (int suit = Clubs; suit <= Hearts; ++suit) {
        if (suit == view.refusedsuit()) continue;
        Contract c;
        c.trump = suit;
        c.maker = view.seat();
        const double value = bestOfContract(view, deals, c, solver);
        if (value > best) {
            best = value;
            code = BubbleClubs + suit - Clubs;
        }
    }
    return code;
}

int expertAlone(const SeatView& view, std::uint64_t seed, Reading reading) {
    const WeightedDeals deals = drawDeals(view, kBidDeals, seed, reading);
    Solver solver;
    Contract c;
    c.trump = view.trump();
    c.maker = view.seat();
    c.pickup = view.orderedUp();
    const double withPartner = contractValue(view, deals, c, solver);
    c.alone = true;
    const double alone = contractValue(view, deals, c, solver);
    return alone > withPartner + kAloneMargin ? BubbleAlone : BubbleWithPartner;
}

int expertDiscard(const SeatView& view, std::uint64_t seed, Reading reading) {
    const WeightedDeals deals = drawDeals(view, kBidDeals, seed, reading);
    Solver solver;
    Contract c;
    c.trump = view.trump();
    c.maker = view.maker();
    c.alone = view.loner() != 0;
    c.pickup = true;
    const CardMask six = handMask(view) | cardBit(view.turned());
    const int usual = usualDiscard(six, view.trump());
    int bestPos = 0;
    double best = -1;
    for (int pos = 1; pos <= 5; ++pos) {
        if (!view.hand()[pos]) continue;
        c.ownDiscard = cardIndex(view.hand()[pos]);
        double value = contractValue(view, deals, c, solver);
        if (c.ownDiscard == usual) value += 1e-9; // ties keep the usual choice
        if (value > best) {
            best = value;
            bestPos = pos;
        }
    }
    return bestPos;
}

} // namespace euchre::players::expert
