// Deals of the hidden cards that agree with everything a seat knows: its own
// hand and discard, the turned card and where it went, every card played and
// every suit a seat has shown out of.
#pragma once

#include "rules/cardmask.h"
#include "rules/seatview.h"

#include <array>
#include <cstdint>
#include <vector>

namespace euchre::players::expert {

using rules::CardMask;
using rules::SeatView;

// The cards each seat (index seat - 1) holds now in one consistent deal.
// Before the dealer's discard an ordered-up turned card is not in the
// dealer's hand yet; the dealer then holds five other cards.
using Sample = std::array<CardMask, 4>;

// A small generator of our own for the expert's draws (splitmix64).
class Draws {
public:
    explicit Draws(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : int(next() % std::uint64_t(n)); }

private:
    std::uint64_t m_state;
};

class Sampler {
public:
    explicit Sampler(const SeatView& view);

    // Up to `limit` deals. When no more than `limit` deals are consistent at
    // all, every one of them comes back once and exhaustive() is true.
    std::vector<Sample> draw(int limit, std::uint64_t seed);
    bool exhaustive() const { return m_exhaustive; }

    // The cards this seat cannot place: held by others, undealt or discarded.
    CardMask unknown() const { return m_unknownMask; }

private:
    static constexpr int kHolders = 5; // seats 0..3 and the cards out of play

    bool enumerate(int at, std::vector<Sample>& out, int limit);
    bool randomDeal(Draws& draws, Sample& out);
    bool searchDeal(int at, Draws& draws);

    Sample m_base{};                     // the cards known to lie with each seat
    std::array<int, kHolders> m_need{};  // hidden cards each holder still takes
    std::vector<int> m_cards;            // the hidden cards, most constrained first
    std::vector<std::uint8_t> m_allowed; // by card: bit h = holder h may hold it
    CardMask m_unknownMask = 0;
    std::array<int, 24> m_where{}; // working assignment by card position
    std::array<int, kHolders> m_left{};
    bool m_exhaustive = false;
};

} // namespace euchre::players::expert
