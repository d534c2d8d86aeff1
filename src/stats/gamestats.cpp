// The totals of a set of games and the tracker of one game.
#include "stats/gamestats.h"

#include <algorithm>

namespace euchre {

namespace {

constexpr int kMarchTricks = 5;
constexpr int kMakingTricks = 3;

int teamOfSeat(int seat) {
    return seat == 1 || seat == 3 ? 1 : seat == 2 || seat == 4 ? 2 : 0;
}

} // namespace

StatsTotals totalsOf(const std::vector<GameEntry>& games,
                     const std::function<bool(const GameEntry&)>& keep) {
    StatsTotals t;
    int run = 0;
    for (const GameEntry& g : games) {
        if (keep && !keep(g)) continue;
        ++t.games;
        t.won += g.won;
        run = g.won ? run + 1 : 0;
        t.longestRun = std::max(t.longestRun, run);
        t.hands += g.hands;
        t.points += g.points;
        t.trumpsMade += g.made + g.marched + g.suffered;
        t.euchred += g.euchred;
        t.marches += g.marched;
        t.loneCalls += g.loneCalls;
        t.loneWon += g.loneWon;
        t.suffered += g.suffered;
    }
    return t;
}

void GameTracker::start(int seat) {
    m_on = teamOfSeat(seat) != 0;
    m_seat = seat;
    m_team = teamOfSeat(seat);
    m_handOpen = false;
    m_game = GameEntry();
}

void GameTracker::dealt() {
    if (!m_on) return;
    // A deal that ended without a score was thrown in.
    if (m_handOpen) ++m_game.thrownIn;
    ++m_game.hands;
    m_handOpen = true;
    m_loner = 0;
}

void GameTracker::alone(int seat) {
    if (!m_on || !m_handOpen) return;
    m_loner = seat;
    if (seat == m_seat) ++m_game.loneCalls;
}

void GameTracker::scored(int makers, int makersTricks, int points1, int points2) {
    if (!m_on || !m_handOpen || (makers != 1 && makers != 2)) return;
    m_handOpen = false;
    m_game.points += m_team == 1 ? points1 : points2;
    const bool ours = makers == m_team;
    const bool marched = makersTricks >= kMarchTricks;
    const bool euchred = makersTricks < kMakingTricks;
    int& count = euchred   ? (ours ? m_game.suffered : m_game.euchred)
                 : marched ? (ours ? m_game.marched : m_game.theirMarched)
                           : (ours ? m_game.made : m_game.theirMade);
    ++count;
    if (m_loner == m_seat && ours && !euchred) ++m_game.loneWon;
}

std::optional<GameEntry> GameTracker::finished(int winners, const QString& level,
                                               const QString& partner, const QString& when) {
    if (!m_on) return std::nullopt;
    m_on = false;
    GameEntry game = m_game;
    game.won = winners == m_team;
    game.level = level;
    game.partner = partner;
    game.when = when;
    return game;
}

} // namespace euchre
