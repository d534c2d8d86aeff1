// Simulator: four computer seats playing whole games on the rules core, with
// no host, no messages and no pauses, and the figures counted from the events.
#pragma once

#include "players/players.h"
#include "rules/game.h"
#include "rules/seatview.h"
#include "rules/table.h"
#include "sim/figures.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace euchre::sim {

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

    // The house rules of the games from the next one on (the plain rules unless set).
    void setRules(const rules::Ruleset& rules) { m_rules = rules; }
    const rules::Ruleset& rules() const { return m_rules; }

    // The computer players of a seat 1..4 (standard unless set).
    void setLevel(int seat, players::Level level);
    players::Level level(int seat) const { return m_level[seat]; }

    // How long each expert decision of a team's seats took, in milliseconds,
    // since the last call; the list starts afresh.
    std::vector<double> takeExpertTimes(int team) { return std::exchange(m_expertMs[team], {}); }

    const Figures& figures() const { return m_counter.figures(); }
    const rules::Table& table() const { return m_game.table(); }
    const std::string& fault() const { return m_fault; }
    void setWatcher(Watcher* watcher) { m_watcher = watcher; }

private:
    bool step(rules::Events& events);

    rules::Game m_game;
    rules::Ruleset m_rules;
    FigureCounter m_counter;
    std::string m_fault;
    Watcher* m_watcher = nullptr;

    std::array<players::Level, 5> m_level{};
    std::array<std::vector<double>, 3> m_expertMs;
};

} // namespace euchre::sim
