// The one switch from the question the game asks to the player's decision.
#include "players/players.h"

#include "players/expert/bidmodel.h"
#include "players/expert/expert.h"
#include "players/standard/bidding.h"
#include "players/standard/cardplay.h"

namespace euchre::players {

const char* levelName(Level level) {
    switch (level) {
    case Level::Pimc:
        return "pimc";
    case Level::Expert:
        return "expert";
    default:
        return "standard";
    }
}

bool levelFromName(std::string_view name, Level& level) {
    for (Level each : {Level::Standard, Level::Pimc, Level::Expert}) {
        if (name == levelName(each)) {
            level = each;
            return true;
        }
    }
    return false;
}

namespace {

// Written once, made once for each level so that a seat's level is decided
// before the question is looked at.
template <Level level> int answerAt(const rules::SeatView& view) {
    // Both search their cards over sampled deals; the expert weighs its deals
    // by what the other seats' bids and plays say and bids by what it learned
    // from self-play, the yardstick takes every deal alike and searches its bids.
    constexpr bool expert = level != Level::Standard;
    constexpr bool learned = level == Level::Expert;
    constexpr expert::Reading reading =
        level == Level::Expert ? expert::Reading::Inferred : expert::Reading::Uniform;
    // The expert's draws are seeded by what the seat knows, so the same
    // knowledge always gives the same answer.
    const std::uint64_t seed = expert ? expert::digest(view) : 0;
    // Cards are most of the questions: asked first.
    switch (view.asked().question) {
    case rules::Question::Card:
        return expert ? expert::expertPlay(view, seed, reading) : standard::playPosition(view);
    case rules::Question::OrderUp:
        if (learned) return expert::bidmodel::orderUp(view, expert::bidmodel::learned());
        return expert ? expert::expertOrderUp(view, seed, reading) : standard::bidDecision(view);
    case rules::Question::Naming:
        if (learned) return expert::bidmodel::name(view, expert::bidmodel::learned());
        return expert ? expert::expertName(view, seed, reading) : standard::chooseDecision(view);
    case rules::Question::GoingAlone:
        if (learned) return expert::bidmodel::alone(view, expert::bidmodel::learned());
        return expert ? expert::expertAlone(view, seed, reading) : standard::aloneDecision(view);
    case rules::Question::Discard:
        return expert ? expert::expertDiscard(view, seed, reading)
                      : standard::discardPosition(view);
    default:
        return 0;
    }
}

} // namespace

int answer(Level level, const rules::SeatView& view) {
    if (!view.isAsked()) return 0;
    switch (level) {
    case Level::Pimc:
        return answerAt<Level::Pimc>(view);
    case Level::Expert:
        return answerAt<Level::Expert>(view);
    default:
        return answerAt<Level::Standard>(view);
    }
}

} // namespace euchre::players
