// The standard computer player's choice of card: following a led suit,
// leading a trick, and reading who is winning the trick so far. Each reads the
// deciding seat's view: its own hand, the trick so far, trump and the maker.
#pragma once

#include "rules/seatview.h"

namespace euchre::players::standard {

// The seat whose card of the given (effective) suit is highest in the current
// trick, 0 when none; the player to move is not looked at. Of two bowers the
// one from the lower seat counts as highest.
int highest(const rules::SeatView& view, int suit);

// Hand position 1..5 to play to a trick whose suit is already led; 0 with an empty hand.
int followPosition(const rules::SeatView& view);

// Hand position 1..5 to lead; 0 with an empty hand.
int leadPosition(const rules::SeatView& view);

// Leads when nothing is led yet, otherwise follows.
int playPosition(const rules::SeatView& view);

} // namespace euchre::players::standard
