// What a computer seat may see of the table: a plain read-only copy of the
// game state that the decisions work on.
#pragma once

#include "rules/table.h"

#include <array>

namespace euchre::bots {

struct SeatView {
    std::array<int, 6> hand{}; // positions 1..5; 0 = empty (only the seat's own is filled)
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

// The view of one seat: its own hand, the trick so far, trump, the dealer and
// the bidding, never another seat's cards.
TableView seatView(const rules::Table& table, int seat);

// A table laid out as the view describes it (the asked seat from whichever of
// bidder .. nextplayer is set), for deciding on a hand-made view.
rules::Table tableOf(const TableView& view);

// The seat to play to the trick, 0 outside trick play.
constexpr int playerToMove(const rules::Table& table) {
    return table.phase == rules::Phase::Play ? table.seat : 0;
}

} // namespace euchre::bots
