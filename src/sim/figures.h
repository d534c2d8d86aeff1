// The figures of whole games, counted in one place from the rules core's
// events: deals, bids, loners, marches, euchres, points and winners.
#pragma once

#include "rules/game.h"

#include <array>
#include <cstdint>

namespace euchre::sim {

// Totals over every game counted so far.
struct Figures {
    std::int64_t games = 0;
    std::int64_t hands = 0;    // deals played out and scored
    std::int64_t deals = 0;    // every deal, thrown-in deals included
    std::int64_t thrownIn = 0; // deals on which everyone passed twice
    std::int64_t team1Wins = 0;
    std::int64_t team2Wins = 0;
    std::int64_t orderedUp = 0; // the turned card accepted
    std::int64_t named = 0;     // trump named in the second round
    std::int64_t alone = 0;
    std::int64_t marches = 0; // the making team took all five tricks
    std::int64_t euchres = 0; // the making team took two tricks or fewer
    std::int64_t pointsTeam1 = 0;
    std::int64_t pointsTeam2 = 0;

    bool operator==(const Figures&) const = default;
};

class FigureCounter {
public:
    // A new game begins: a deal left open by a game that stopped short is
    // not counted as thrown in.
    void newGame();
    // Counts one step's events, in order. A game counts when it is won.
    void count(const rules::Events& events);

    const Figures& figures() const { return m_figures; }

private:
    Figures m_figures;
    bool m_dealOpen = false;       // dealt, and no trump made yet
    bool m_accepted = false;       // the turned card was ordered up this deal
    std::array<int, 3> m_tricks{}; // teams 1..2, from the last trick's winner
};

} // namespace euchre::sim
