// Whole games of four computer seats on the rules core's game: each step asks
// the seat the game waits for, or ends the pause, and counts what happened.
#include "sim/simulator.h"

#include <chrono>

namespace euchre::sim {

using rules::Phase;

void Simulator::setLevel(int seat, players::Level level) {
    if (isSeat(seat)) m_level[seat] = level;
}

bool Simulator::playGame(int playto) {
    m_counter.newGame();
    rules::Events events;
    m_game.startGame(playto, m_rules, events);
    m_counter.count(events);
    if (m_watcher) m_watcher->step(events, m_game.table());

    const std::int64_t maxSteps = kStepsPerPoint * (std::int64_t(playto > 1 ? playto : 1) + 1);
    for (std::int64_t n = 0; m_game.phase() != Phase::GameOver; ++n) {
        events.clear();
        const bool playing = m_game.phase() == Phase::Play;
        if (n >= maxSteps || !step(events)) {
            const Figures& f = m_counter.figures();
            m_fault = "game " + std::to_string(f.games + 1) + " stopped in deal " +
                      std::to_string(f.deals) + " (phase " + std::to_string(int(m_game.phase())) +
                      ", seat " + std::to_string(m_game.table().seat) + ")";
            return false;
        }
        // A card only counts when it ends a trick: the figures change at
        // deals, bids, tricks taken and scores.
        if (!playing || m_game.phase() != Phase::Play) m_counter.count(events);
        if (m_watcher) m_watcher->step(events, m_game.table());
    }
    return true;
}

bool Simulator::step(rules::Events& events) {
    const rules::Asked asked = m_game.asked();
    if (asked.question == rules::Question::None) return m_game.proceed(events);
    // The seat asked decides on its own view of the table, never another hand.
    const int seat = asked.seat;
    const rules::SeatView view = rules::seatView(m_game.table(), seat);
    int answer;
    if (m_level[seat] != players::Level::Standard) {
        const auto started = std::chrono::steady_clock::now();
        answer = players::answer(m_level[seat], view);
        m_expertMs[teamOf(seat)].push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count());
    } else {
        answer = players::answer(players::Level::Standard, view);
    }
    return asked.wantsCard() ? m_game.playCard(seat, answer, events)
                             : m_game.decide(seat, answer, events);
}

} // namespace euchre::sim
