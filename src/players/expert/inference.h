// What the other seats' bids and plays say about their hands: each sampled
// deal weighed by how likely those bids and plays are had the seats held its
// cards, and the deals a decision solves drawn by those weights.
#pragma once

#include "players/expert/sampler.h"
#include "rules/seatview.h"

#include <cstdint>
#include <vector>

namespace euchre::players::expert {

// How a decision reads the hidden cards: every consistent deal alike, or
// weighed by what the other seats did.
enum class Reading : std::uint8_t { Uniform, Inferred };

// Deals to solve, each with its share of the decision (the shares add up to 1).
struct WeightedDeals {
    std::vector<Sample> deals;
    std::vector<double> weights;
};

// Up to `limit` deals for a decision. Uniform: the sampler's deals, alike.
// Inferred: more candidates are drawn than are solved, the more the weights
// differ the more of them, and `limit` are picked by weight; a deal that
// contradicts what the table showed is never among them (the sampler sees to
// that), a merely unlikely one rarely.
WeightedDeals drawDeals(const SeatView& view, int limit, std::uint64_t seed, Reading reading);

// How likely, up to a factor the same for every deal, the other seats' bids
// and plays so far are had they held the cards of this deal. Positive for
// every consistent deal: the model of the others is soft, so that a seat
// that bids or plays against the usual advice only makes its deals rarer.
double likelihood(const SeatView& view, const Sample& deal);

} // namespace euchre::players::expert
