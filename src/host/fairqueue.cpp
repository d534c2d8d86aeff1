// The host's fair queue: lanes per connection, served one line each in turn,
// moves and speech alternating.
#include "host/fairqueue.h"

#include <algorithm>

namespace euchre {

namespace {

template <typename T> void forget(std::deque<T*>& turn, const T* lane) {
    turn.erase(std::remove(turn.begin(), turn.end(), lane), turn.end());
}

} // namespace

FairQueue::Lane* FairQueue::live(quint64 serial) const {
    for (const Lane& lane : m_lanes)
        if (lane.serial == serial && !lane.departed) return const_cast<Lane*>(&lane);
    return nullptr;
}

qsizetype FairQueue::push(int slot, quint64 serial, QByteArray text, bool speech) {
    Lane* lane = live(serial);
    if (!lane) {
        m_lanes.push_back(Lane{slot, serial, false, {}, {}, 0, 0});
        lane = &m_lanes.back();
    }
    // A lane with nothing of this kind waiting joins the back of that turn.
    if (speech && lane->speech++ == 0) m_speechTurn.push_back(lane);
    if (!speech && lane->moves++ == 0) m_moveTurn.push_back(lane);
    lane->lines.push_back(Entry{std::move(text), speech});
    ++m_size;
    return static_cast<qsizetype>(lane->lines.size());
}

void FairQueue::take(Lane* lane, bool speech, Line& out) {
    const auto it = std::find_if(lane->lines.begin(), lane->lines.end(),
                                 [speech](const Entry& e) { return e.speech == speech; });
    out.slot = lane->slot;
    out.serial = lane->serial;
    out.departed = lane->departed;
    out.name = lane->name;
    out.text = std::move(it->text);
    lane->lines.erase(it);
    --m_size;
    std::deque<Lane*>& turn = speech ? m_speechTurn : m_moveTurn;
    forget(turn, lane);
    if ((speech ? --lane->speech : --lane->moves) > 0) turn.push_back(lane);
    if (lane->lines.empty()) m_lanes.remove_if([lane](const Lane& l) { return &l == lane; });
}

bool FairQueue::pop(Line& out) {
    // Speech may go from a lane whose oldest line is speech: never before
    // that connection's earlier move.
    Lane* speaker = nullptr;
    for (Lane* lane : m_speechTurn)
        if (lane->lines.front().speech) {
            speaker = lane;
            break;
        }
    const bool move = !m_moveTurn.empty() && (!speaker || !m_lastWasMove);
    if (!move && !speaker) return false;
    take(move ? m_moveTurn.front() : speaker, !move, out);
    // After a pause the next move goes first again.
    m_lastWasMove = move && m_size > 0;
    return true;
}

qsizetype FairQueue::waiting(quint64 serial) const {
    const Lane* lane = live(serial);
    return lane ? static_cast<qsizetype>(lane->lines.size()) : 0;
}

qsizetype FairQueue::drop(Lane* lane) {
    const auto gone = static_cast<qsizetype>(lane->lines.size());
    forget(m_moveTurn, lane);
    forget(m_speechTurn, lane);
    m_lanes.remove_if([lane](const Lane& l) { return &l == lane; });
    m_size -= gone;
    return gone;
}

qsizetype FairQueue::discard(quint64 serial) {
    qsizetype gone = 0;
    for (auto it = m_lanes.begin(); it != m_lanes.end();) {
        Lane* lane = &*it++;
        if (lane->serial == serial) gone += drop(lane);
    }
    return gone;
}

qsizetype FairQueue::depart(quint64 serial, const QByteArray& name) {
    Lane* lane = live(serial);
    if (!lane) return 0;
    qsizetype gone = 0;
    for (auto it = m_lanes.begin(); it != m_lanes.end();) {
        Lane* earlier = &*it++;
        if (earlier->departed && earlier->slot == lane->slot) gone += drop(earlier);
    }
    const auto before = static_cast<qsizetype>(lane->lines.size());
    lane->lines.erase(std::remove_if(lane->lines.begin(), lane->lines.end(),
                                     [](const Entry& e) { return !e.speech; }),
                      lane->lines.end());
    gone += before - static_cast<qsizetype>(lane->lines.size());
    m_size -= before - static_cast<qsizetype>(lane->lines.size());
    lane->moves = 0;
    forget(m_moveTurn, lane);
    lane->departed = true;
    lane->name = name;
    if (lane->lines.empty()) drop(lane);
    return gone;
}

} // namespace euchre
