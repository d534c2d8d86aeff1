// The host's fair queue: lanes per connection, served one line each in turn.
#include "host/fairqueue.h"

#include <algorithm>

namespace euchre {

FairQueue::Lanes::iterator FairQueue::find(quint64 serial) {
    return std::find_if(m_lanes.begin(), m_lanes.end(),
                        [serial](const Lane& l) { return l.serial == serial && !l.departed; });
}

FairQueue::Lanes::const_iterator FairQueue::find(quint64 serial) const {
    return std::find_if(m_lanes.begin(), m_lanes.end(),
                        [serial](const Lane& l) { return l.serial == serial && !l.departed; });
}

qsizetype FairQueue::push(int slot, quint64 serial, QByteArray text) {
    auto lane = find(serial);
    if (lane == m_lanes.end()) {
        // A connection with nothing waiting joins at the back of the turn.
        m_lanes.push_back(Lane{slot, serial, false, {}, {}});
        lane = std::prev(m_lanes.end());
    }
    lane->lines.push_back(std::move(text));
    ++m_size;
    return static_cast<qsizetype>(lane->lines.size());
}

bool FairQueue::pop(Line& out) {
    if (m_lanes.empty()) return false;
    Lane& lane = m_lanes.front();
    out.slot = lane.slot;
    out.serial = lane.serial;
    out.departed = lane.departed;
    out.name = lane.name;
    out.text = std::move(lane.lines.front());
    lane.lines.pop_front();
    --m_size;
    if (lane.lines.empty()) {
        m_lanes.pop_front();
    } else {
        Lane next = std::move(lane);
        m_lanes.pop_front();
        m_lanes.push_back(std::move(next));
    }
    return true;
}

qsizetype FairQueue::waiting(quint64 serial) const {
    const auto lane = find(serial);
    return lane == m_lanes.end() ? 0 : static_cast<qsizetype>(lane->lines.size());
}

qsizetype FairQueue::discard(quint64 serial) {
    qsizetype gone = 0;
    for (auto it = m_lanes.begin(); it != m_lanes.end();) {
        if (it->serial != serial) {
            ++it;
            continue;
        }
        gone += static_cast<qsizetype>(it->lines.size());
        it = m_lanes.erase(it);
    }
    m_size -= gone;
    return gone;
}

qsizetype FairQueue::depart(quint64 serial, const QByteArray& name,
                            const std::function<bool(const QByteArray&)>& keep) {
    const auto lane = find(serial);
    if (lane == m_lanes.end()) return 0;
    const int slot = lane->slot;
    qsizetype gone = 0;
    std::deque<QByteArray> kept;
    for (QByteArray& line : lane->lines) {
        if (keep(line))
            kept.push_back(std::move(line));
        else
            ++gone;
    }
    lane->lines = std::move(kept);
    lane->departed = true;
    lane->name = name;
    // Erasing may move lanes: find this one again by what sets it apart.
    for (auto it = m_lanes.begin(); it != m_lanes.end();) {
        const bool earlier = it->departed && it->slot == slot && it->serial != serial;
        if (earlier || (it->serial == serial && it->lines.empty())) {
            gone += static_cast<qsizetype>(it->lines.size());
            it = m_lanes.erase(it);
        } else {
            ++it;
        }
    }
    m_size -= gone;
    return gone;
}

} // namespace euchre
