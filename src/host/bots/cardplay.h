// The computer seat's choice of card: following a led suit, leading a trick,
// and reading who is winning the trick so far. Each reads only what the seat
// may see: its own hand, the trick so far, trump and which team made it.
#pragma once

#include "host/bots/tableview.h"
#include "rules/table.h"

namespace euchre::bots {

// The seat whose card of the given (effective) suit is highest in the current
// trick, 0 when none; the player to move is not looked at. Of two bowers the
// one from the lower seat counts as highest.
int highest(const rules::Table& table, int suit);
int highest(const TableView& view, int suit);

// Hand position 1..5 to play to a trick whose suit is already led; 0 with an empty hand.
int followPosition(const rules::Table& table, int seat);
int followPosition(const TableView& view, int seat);

// Hand position 1..5 to lead; 0 with an empty hand.
int leadPosition(const rules::Table& table, int seat);
int leadPosition(const TableView& view, int seat);

// Leads when nothing is led yet, otherwise follows.
int playPosition(const rules::Table& table, int seat);
int playPosition(const TableView& view, int seat);

} // namespace euchre::bots
