// The expert computer player: every question the game asks a computer seat,
// answered from that seat's view alone by sampled deals solved exactly.
// Pure functions: the same view and seed give the same answer. Each reads
// the hidden cards uniformly unless asked to weigh them by what the other
// seats did.
#pragma once

#include "players/expert/inference.h"
#include "rules/seatview.h"

#include <cstdint>

namespace euchre::players::expert {

using rules::SeatView;

// How many deals a decision samples (fewer when fewer are consistent).
constexpr int kBidDeals = 32;
constexpr int kPlayDeals = 24;
// A card read with weighed deals solves twice as many: deals picked by
// weight repeat the likely ones, so fewer distinct deals are solved, and the
// extra ones gain the expert about a third of a point per ten hands against
// the standard players, still at about 10 ms for the slowest card in a
// hundred.
constexpr int kWeighedPlayDeals = 48;

// A digest of everything the view holds, for seeding a decision's own draws:
// the same knowledge always gives the same answer.
std::uint64_t digest(const SeatView& view);

// Order-up phase: BubbleAccept or BubblePass.
int expertOrderUp(const SeatView& view, std::uint64_t seed, Reading reading = Reading::Uniform);

// Naming phase: BubbleClubs .. BubbleHearts (never the turned-down suit), or BubbleNamePass.
int expertName(const SeatView& view, std::uint64_t seed, Reading reading = Reading::Uniform);

// The maker's question: BubbleAlone or BubbleWithPartner.
int expertAlone(const SeatView& view, std::uint64_t seed, Reading reading = Reading::Uniform);

// The dealer's discard after the turned card was accepted: hand position 1..5.
int expertDiscard(const SeatView& view, std::uint64_t seed, Reading reading = Reading::Uniform);

// The card to play to the trick: hand position 1..5 of a legal card (0 with an empty hand).
int expertPlay(const SeatView& view, std::uint64_t seed, Reading reading = Reading::Uniform);

} // namespace euchre::players::expert
