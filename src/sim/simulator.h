// Simulator: four computer seats playing whole games on the rules core, with
// no host, no messages and no pauses, and the figures counted from the events.
#pragma once

#include "players/players.h"
#include "rules/game.h"
#include "rules/seatview.h"
#include "rules/table.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace euchre::sim {

// Totals over every game played so far.
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

// Sees every step's events with the table as the step left it.
class Watcher {
public:
    virtual ~Watcher() = default;
    virtual void step(const rules::Events& events, const rules::Table& table) = 0;
};

class Simulator {
public:
    // The most steps one game may take for each point played to before it
    // counts as going nowhere; a scored hand takes about forty.
    static constexpr std::int64_t kStepsPerPoint = 20000;

    // Plays one game to its winner, drawing from the shared generator. False
    // when the game stops short (a seat could not move); fault() says where.
    bool playGame(int playto);

    // The computer players of a seat 1..4 (standard unless set).
    void setLevel(int seat, players::Level level);
    players::Level level(int seat) const { return m_level[seat]; }

    // How long each expert decision of a team's seats took, in milliseconds,
    // since the last call; the list starts afresh.
    std::vector<double> takeExpertTimes(int team) { return std::exchange(m_expertMs[team], {}); }

    const Figures& figures() const { return m_figures; }
    const rules::Table& table() const { return m_table; }
    const std::string& fault() const { return m_fault; }
    void setWatcher(Watcher* watcher) { m_watcher = watcher; }

private:
    bool step(rules::Events& events);
    void count(const rules::Events& events);

    rules::Table m_table;
    Figures m_figures;
    std::string m_fault;
    Watcher* m_watcher = nullptr;
    bool m_dealOpen = false; // dealt, and no trump made yet
    bool m_accepted = false;

    std::array<players::Level, 5> m_level{};
    std::array<std::vector<double>, 3> m_expertMs;
};

} // namespace euchre::sim
