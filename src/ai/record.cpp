// The deal's record from the core's events, and each seat's view of it.
#include "ai/record.h"

#include "model/bubble.h"

namespace euchre::ai {

using rules::EventKind;

void DealRecord::observe(const rules::Table& before, const rules::Events& events) {
    InfoView& v = m_public;
    for (const rules::Event& e : events) {
        switch (e.kind) {
        case EventKind::Dealer:
            v = InfoView{};
            m_discard = 0;
            v.dealer = e.a;
            break;
        case EventKind::Turned:
            v.turned = e.a;
            break;
        case EventKind::Accepted:
            v.orderedUp = true;
            break;
        case EventKind::TrumpMade:
            v.maker = e.a;
            v.trump = e.b;
            break;
        case EventKind::GoingAlone:
            if (e.b == BubbleAlone) v.loner = e.a;
            break;
        case EventKind::Switched:
            v.discarded = true;
            if (isSeat(e.a) && e.b >= 1 && e.b <= kHandSize) m_discard = before.hand[e.a][e.b];
            break;
        case EventKind::Played:
            if (v.playCount < int(v.plays.size())) v.plays[v.playCount++] = {e.a, e.c};
            break;
        default:
            break;
        }
    }
}

InfoView DealRecord::viewFor(const rules::Table& t, int seat) const {
    InfoView v = m_public;
    v.seat = seat;
    v.hand = t.hand[seat];
    v.discard = seat == v.dealer ? m_discard : 0;
    v.refusedsuit = t.refusedsuit;
    for (int s = 1; s <= kSeats; ++s) v.trick[s] = t.played[s];
    v.ledsuit = t.ledsuit;
    for (int team = 1; team <= 2; ++team) {
        v.tricks[team] = t.team[team].tricks;
        v.score[team] = t.team[team].score;
    }
    v.playto = t.playto;
    return v;
}

} // namespace euchre::ai
