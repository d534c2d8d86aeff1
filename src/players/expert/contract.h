// The worth of a contract (trump, maker, alone or not) over sampled deals:
// each deal solved exactly and its points weighed by the chance of winning
// the game from the score they give.
#pragma once

#include "players/expert/inference.h"
#include "players/expert/sampler.h"
#include "players/expert/solver.h"
#include "rules/seatview.h"

#include <vector>

namespace euchre::players::expert {

struct Contract {
    int trump = 0;
    int maker = 0; // seat 1..4
    bool alone = false;
    bool pickup = false; // the dealer takes the turned card and throws one away
    int ownDiscard = -1; // when the deciding seat is that dealer: the card index it throws, -1 =
                         // its usual choice
};

// The chance of winning the game for the deciding seat's team once the
// makers took `makersTricks` tricks of the hand.
double gameValue(const SeatView& view, int maker, int makersTricks, bool alone);

// The card a dealer throws from six cards when nothing better is known: a
// lone low side card to make a void, else the lowest side card short of an
// ace, else the lowest card. The deciding seat's usual choice and the
// dealers of the sampled deals both use it.
int usualDiscard(CardMask six, int trump);

// The seat (1..4) that leads the first trick of a contract.
int firstLeader(const SeatView& view, const Contract& contract);

// The game value of a contract averaged over the deals by their weights,
// every hand still to be played from its first trick.
double contractValue(const SeatView& view, const WeightedDeals& deals, const Contract& contract,
                     Solver& solver);

} // namespace euchre::players::expert
