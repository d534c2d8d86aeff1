// The exact solver of a hand's card play when every hand is known: alpha-beta
// over the remaining tricks with a table of solved positions, on bit masks.
#pragma once

#include "rules/cardmask.h"

#include <array>
#include <cstdint>
#include <vector>

namespace euchre::players::expert {

using rules::CardMask;

// A position of the card play with every hand known. Seats are 0..3 here
// (seat number - 1); cards are indices 0..23.
struct Deal {
    std::array<CardMask, 4> hands{};
    int trump = 0;
    int sitout = -1;   // the loner's partner, or -1
    int makerTeam = 0; // 0 for seats 0 and 2, 1 for seats 1 and 3
    int turn = 0;      // the seat to play
    // The trick in progress: cards by seat (-1 = none yet), the led suit.
    std::array<int, 4> trick{-1, -1, -1, -1};
    int ledsuit = 0;
};

class Solver {
public:
    Solver();

    // The tricks the makers take from this position on (the trick in
    // progress included), both sides playing perfectly.
    int solve(const Deal& deal);

    // The same after the seat to play plays the card with the index.
    int solveAfter(const Deal& deal, int card);

    // The seat to play's legal cards, one of each run of cards that are
    // worth the same (no card still in play lies between them).
    static CardMask distinctMoves(const Deal& deal);

    // One card of each run of the legal cards that are worth the same, the
    // cards still live (in hands or in the trick) splitting the runs.
    static CardMask distinct(CardMask legal, CardMask live, int trump);

    std::int64_t nodes() const { return m_nodes; }

private:
    struct Entry {
        std::array<CardMask, 4> hands;
        std::uint16_t generation;
        std::uint8_t turn, lower, upper;
    };

    void load(const Deal& deal);
    int search(int alpha, int beta);
    int moves(int seat, int* out) const;
    void play(int card);
    bool trickDone() const { return m_count == m_players; }

    std::vector<Entry> m_table;
    std::uint16_t m_generation = 0;
    std::int64_t m_nodes = 0;

    // The position being searched.
    std::array<CardMask, 4> m_hands{};
    int m_trump = 0, m_sitout = -1, m_makerTeam = 0, m_players = 4;
    int m_turn = 0, m_count = 0, m_led = 0, m_winner = -1, m_best = -1;
    CardMask m_inTrick = 0;
    const std::int8_t* m_strength = nullptr; // by led suit * 24 + card, for this trump
};

} // namespace euchre::players::expert
