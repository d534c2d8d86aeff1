// The expert's answer to whatever the table asks a seat, on that seat's view.
#pragma once

#include "ai/record.h"
#include "rules/table.h"

namespace euchre::ai {

// Which computer players a seat gets.
enum class Level { Standard, Expert };

// Its name as options and settings spell it ("standard", "expert").
const char* levelName(Level level);

// The answer of an expert seat the table is asking: a bubble code in the
// bidding phases, a hand position for the discard and the card play. The
// seat's view is built from the record and the table here, so the answer
// depends on nothing that seat cannot see. 0 when the seat is not asked.
int expertAnswer(const rules::Table& table, const DealRecord& record, int seat);

} // namespace euchre::ai
