// The expert computer player: every question the host asks a computer seat,
// answered from that seat's information alone by sampled deals solved exactly.
// Pure functions: the same view and seed give the same answer.
#pragma once

#include "ai/infoview.h"

#include <cstdint>

namespace euchre::ai {

// How many deals a decision samples (fewer when fewer are consistent).
constexpr int kBidDeals = 32;
constexpr int kPlayDeals = 24;

// Order-up phase: BubbleAccept or BubblePass.
int expertOrderUp(const InfoView& view, std::uint64_t seed);

// Naming phase: BubbleClubs .. BubbleHearts (never the turned-down suit), or BubbleNamePass.
int expertName(const InfoView& view, std::uint64_t seed);

// The maker's question: BubbleAlone or BubbleWithPartner.
int expertAlone(const InfoView& view, std::uint64_t seed);

// The dealer's discard after the turned card was accepted: hand position 1..5.
int expertDiscard(const InfoView& view, std::uint64_t seed);

// The card to play to the trick: hand position 1..5 of a legal card (0 with an empty hand).
int expertPlay(const InfoView& view, std::uint64_t seed);

} // namespace euchre::ai
