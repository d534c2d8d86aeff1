// What a computer seat may see of the table: a plain read-only copy of the
// host state that the decisions work on.
#pragma once

#include <array>

namespace euchre::bots {

struct SeatView {
    std::array<int, 6> hand{}; // positions 1..5; 0 = empty
    int played = 0;            // card played to the current trick; 0 = none yet
    int partner = 0;
    bool sitsout = false;
};

struct TableView {
    std::array<SeatView, 5> seat{}; // seats 1..4
    std::array<bool, 3> makers{};   // teams 1..2: made trump this hand
    int trump = 0;
    int leftbower = 0;
    int dealer = 0;
    int ledsuit = 0;
    int refusedsuit = 0;
    int bidder = 0;
    int chooser = 0;
    int aloner = 0;
    int discarder = 0;
    int nextplayer = 0;
};

} // namespace euchre::bots
