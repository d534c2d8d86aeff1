// Counting the figures from the events of each step.
#include "sim/figures.h"

#include "model/bubble.h"
#include "model/card.h"

namespace euchre::sim {

using rules::EventKind;

void FigureCounter::newGame() {
    m_dealOpen = false;
    m_accepted = false;
    m_tricks = {};
}

void FigureCounter::count(const rules::Events& events) {
    // Most events count for nothing; they are passed over before the switch.
    constexpr auto bit = [](EventKind kind) { return 1u << unsigned(kind); };
    constexpr unsigned kCounted = bit(EventKind::Dealer) | bit(EventKind::Accepted) |
                                  bit(EventKind::TrumpMade) | bit(EventKind::GoingAlone) |
                                  bit(EventKind::TrickWon) | bit(EventKind::Scored) |
                                  bit(EventKind::GameWon);
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
            m_tricks = {};
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
            if (e.code() == BubbleAlone) ++f.alone;
            break;
        case EventKind::TrickWon:
            m_tricks[1] = e.tricks(1);
            m_tricks[2] = e.tricks(2);
            break;
        case EventKind::Scored: {
            const int making = e.team() == 2 ? 2 : 1;
            ++f.hands;
            if (m_tricks[making] == kHandSize) ++f.marches;
            if (e.points(3 - making) > 0) ++f.euchres;
            f.pointsTeam1 += e.points(1);
            f.pointsTeam2 += e.points(2);
            break;
        }
        case EventKind::GameWon:
            ++f.games;
            if (e.team() == 1)
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
