// Whole games of four computer seats on the rules core: each step asks the
// seat the table waits for, or ends the pause, and counts what happened.
#include "sim/simulator.h"

#include "model/bubble.h"

#include <chrono>

namespace euchre::sim {

using rules::EventKind;
using rules::Phase;

void Simulator::setLevel(int seat, players::Level level) {
    if (isSeat(seat)) m_level[seat] = level;
}

bool Simulator::playGame(int playto) {
    m_dealOpen = false;
    m_accepted = false;
    rules::Events events;
    rules::startGame(m_table, playto, events);
    count(events);
    if (m_watcher) m_watcher->step(events, m_table);

    const std::int64_t maxSteps = kStepsPerPoint * (std::int64_t(playto > 1 ? playto : 1) + 1);
    for (std::int64_t n = 0; m_table.phase != Phase::GameOver; ++n) {
        events.clear();
        const bool playing = m_table.phase == Phase::Play;
        if (n >= maxSteps || !step(events)) {
            m_fault = "game " + std::to_string(m_figures.games + 1) + " stopped in deal " +
                      std::to_string(m_figures.deals) + " (phase " +
                      std::to_string(int(m_table.phase)) + ", seat " +
                      std::to_string(m_table.seat) + ")";
            return false;
        }
        // A card only counts when it ends the hand: the figures change at
        // deals, bids and scores.
        if (!playing || m_table.phase != Phase::Play) count(events);
        if (m_watcher) m_watcher->step(events, m_table);
    }
    ++m_figures.games;
    return true;
}

bool Simulator::step(rules::Events& events) {
    rules::Table& t = m_table;
    if (!rules::asksASeat(t.phase)) return rules::proceed(t, events);
    // The seat asked decides on its own view of the table, never another hand.
    const int seat = t.seat;
    const rules::SeatView view = rules::seatView(t, seat);
    int answer;
    if (m_level[seat] == players::Level::Expert) {
        const auto started = std::chrono::steady_clock::now();
        answer = players::answer(players::Level::Expert, view);
        m_expertMs[teamOf(seat)].push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count());
    } else {
        answer = players::answer(players::Level::Standard, view);
    }
    return rules::asksForCard(t.phase) ? rules::playCard(t, seat, answer, events)
                                       : rules::decide(t, seat, answer, events);
}

void Simulator::count(const rules::Events& events) {
    // Most events count for nothing; they are passed over before the switch.
    constexpr auto bit = [](EventKind kind) { return 1u << unsigned(kind); };
    constexpr unsigned kCounted = bit(EventKind::Dealer) | bit(EventKind::Accepted) |
                                  bit(EventKind::TrumpMade) | bit(EventKind::GoingAlone) |
                                  bit(EventKind::Scored) | bit(EventKind::GameWon);
    Figures& f = m_figures;
    for (const rules::Event& e : events) {
        if (!(kCounted & bit(e.kind))) continue;
        switch (e.kind) {
        case EventKind::Dealer:
            // A new deal while the last one never got its trump: that one was thrown in.
            if (m_dealOpen) ++f.thrownIn;
            ++f.deals;
            m_dealOpen = true;
            m_accepted = false;
            break;
        case EventKind::Accepted:
            ++f.orderedUp;
            m_accepted = true;
            break;
        case EventKind::TrumpMade:
            if (!m_accepted) ++f.named;
            m_dealOpen = false;
            break;
        case EventKind::GoingAlone:
            if (e.b == BubbleAlone) ++f.alone;
            break;
        case EventKind::Scored: {
            const int making = e.a;
            const int defendersPoints = making == 1 ? e.e : e.c;
            ++f.hands;
            if (m_table.team[making].tricks == kHandSize) ++f.marches;
            if (defendersPoints > 0) ++f.euchres;
            f.pointsTeam1 += e.c;
            f.pointsTeam2 += e.e;
            break;
        }
        case EventKind::GameWon:
            if (e.a == 1)
                ++f.team1Wins;
            else
                ++f.team2Wins;
            break;
        default:
            break;
        }
    }
}

} // namespace euchre::sim
