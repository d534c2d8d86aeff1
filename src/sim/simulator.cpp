// Whole games of four computer seats on the rules core: each step asks the
// seat the table waits for, or ends the pause, and counts what happened.
#include "sim/simulator.h"

#include "host/bots/bidding.h"
#include "host/bots/cardplay.h"
#include "host/bots/tableview.h"
#include "model/bubble.h"

#include <chrono>

namespace euchre::sim {

using rules::EventKind;
using rules::Phase;

void Simulator::setLevel(int seat, ai::Level level) {
    if (!isSeat(seat)) return;
    m_level[seat] = level;
    m_anyExpert = false;
    for (int s = 1; s <= kSeats; ++s) m_anyExpert |= m_level[s] == ai::Level::Expert;
}

bool Simulator::playGame(int playto) {
    m_dealOpen = false;
    m_accepted = false;
    rules::Events events;
    const rules::Table before = m_table;
    rules::startGame(m_table, playto, events);
    if (m_anyExpert) m_record.observe(before, events);
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
    const int seat = t.seat;
    if (m_anyExpert) {
        // Only the events and the table before them go into the record: it
        // never holds more than the table showed.
        const rules::Table before = t;
        const bool moved = rules::asksASeat(t.phase) && m_level[seat] == ai::Level::Expert
                               ? expertStep(events)
                               : standardStep(events);
        m_record.observe(before, events);
        return moved;
    }
    return standardStep(events);
}

bool Simulator::expertStep(rules::Events& events) {
    rules::Table& t = m_table;
    const int seat = t.seat;
    const auto started = std::chrono::steady_clock::now();
    const int answer = ai::expertAnswer(t, m_record, seat);
    m_expertMs[teamOf(seat)].push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count());
    if (t.phase == Phase::Discard || t.phase == Phase::Play)
        return rules::playCard(t, seat, answer, events);
    return rules::decide(t, seat, answer, events);
}

bool Simulator::standardStep(rules::Events& events) {
    rules::Table& t = m_table;
    const int seat = t.seat;
    // Cards are most of the steps: asked first, they stay off the jump table.
    if (t.phase == Phase::Play)
        return rules::playCard(t, seat, bots::playPosition(t, seat), events);
    switch (t.phase) {
    case Phase::OrderUp:
        return rules::decide(t, seat, bots::bidDecision(t, seat), events);
    case Phase::Naming:
        return rules::decide(t, seat, bots::chooseDecision(t, seat), events);
    case Phase::GoingAlone:
        return rules::decide(t, seat, bots::aloneDecision(t, seat), events);
    case Phase::Discard:
        return rules::playCard(t, seat, bots::discardPosition(t, seat), events);
    case Phase::TrickPause:
    case Phase::HandPause:
        return rules::proceed(t, events);
    default:
        return false;
    }
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
