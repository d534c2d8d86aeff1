// The expert's answer for the phase the table is in.
#include "ai/answer.h"

#include "ai/expert.h"

namespace euchre::ai {

const char* levelName(Level level) {
    return level == Level::Expert ? "expert" : "standard";
}

int expertAnswer(const rules::Table& table, const DealRecord& record, int seat) {
    if (!rules::asksASeat(table.phase) || table.seat != seat) return 0;
    const InfoView view = record.viewFor(table, seat);
    // The draws are seeded by what the seat knows, so the same knowledge
    // always gives the same answer.
    const std::uint64_t seed = view.digest();
    switch (table.phase) {
    case rules::Phase::OrderUp:
        return expertOrderUp(view, seed);
    case rules::Phase::Naming:
        return expertName(view, seed);
    case rules::Phase::GoingAlone:
        return expertAlone(view, seed);
    case rules::Phase::Discard:
        return expertDiscard(view, seed);
    case rules::Phase::Play:
        return expertPlay(view, seed);
    default:
        return 0;
    }
}

} // namespace euchre::ai
