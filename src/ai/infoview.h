// Everything one seat may know of the current deal: its own hand and
// discard, the turned card and the bidding, every card played and the score.
// The expert decides on this alone.
#pragma once

#include <array>
#include <cstdint>

namespace euchre::ai {

struct PlayedCard {
    int seat = 0;
    int card = 0;
};

struct InfoView {
    int seat = 0;              // the seat deciding, 1..4
    std::array<int, 6> hand{}; // its hand by position 1..5; 0 = empty
    int discard = 0;           // its own discard as dealer, else 0
    int dealer = 0;
    int turned = 0;                     // the turned card
    bool orderedUp = false;             // the dealer took the turned card
    bool discarded = false;             // ... and has already thrown a card away
    int refusedsuit = 0;                // the turned card's suit once everyone passed it
    int trump = 0;                      // 0 while no trump is made
    int maker = 0;                      // the seat that made trump, 0 before
    int loner = 0;                      // the seat playing alone, 0 if none
    std::array<PlayedCard, 20> plays{}; // every card played this deal, in order
    int playCount = 0;
    std::array<int, 5> trick{}; // the current trick's cards by seat 1..4
    int ledsuit = 0;
    std::array<int, 3> tricks{}; // tricks of teams 1..2 this deal
    std::array<int, 3> score{};  // scores of teams 1..2
    int playto = 10;

    // A digest of everything above, for seeding a decision's own draws.
    std::uint64_t digest() const;
};

} // namespace euchre::ai
