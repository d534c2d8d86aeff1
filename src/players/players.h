// The computer players behind one door: a level and a seat's view in, the
// seat's decision out, whatever the game asks of it.
#pragma once

#include "rules/seatview.h"

#include <string_view>

namespace euchre::players {

// Which computer players a seat gets. Pimc is the search over sampled deals,
// each deal weighed the same, kept as a yardstick for the expert.
enum class Level { Standard, Pimc, Expert };

// Its name as options and settings spell it ("standard", "pimc", "expert").
const char* levelName(Level level);

// The level of that name; false for any other text.
bool levelFromName(std::string_view name, Level& level);

// The answer of the seat whose view this is, when the game asks it: a bubble
// code in the bidding phases, a hand position for the dealer's discard and
// the card play (rules::Asked::wantsCard tells which). 0 when the seat is not
// asked, or has no card to play.
int answer(Level level, const rules::SeatView& view);

} // namespace euchre::players
