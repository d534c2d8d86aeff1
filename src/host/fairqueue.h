// FairQueue: the host's waiting client lines, one lane per connection, taken
// in turn so that a connection with a long backlog delays another by at most
// one line per turn.
#pragma once

#include <QByteArray>
#include <deque>
#include <functional>

namespace euchre {

class FairQueue {
public:
    struct Line {
        int slot = 0;
        quint64 serial = 0; // the connection it came from
        QByteArray text;
        // A line of a connection that has left since; it speaks under the
        // name the connection had when it left.
        bool departed = false;
        QByteArray name;
    };

    // Appends a line to its connection's lane; returns how many of that
    // connection's lines wait now.
    qsizetype push(int slot, quint64 serial, QByteArray text);
    // Takes the next line in turn: the first line of the lane at the front,
    // which then goes to the back while it still has lines. False when empty.
    bool pop(Line& out);

    // Lines of the connection still waiting.
    qsizetype waiting(quint64 serial) const;
    // Forgets every waiting line of the connection; returns how many went.
    qsizetype discard(quint64 serial);
    // The connection has left under `name`: its lines for which `keep` holds
    // stay in their turn, the others go. An earlier departed connection of the
    // same slot still waiting is forgotten, so departures cannot pile up
    // lanes. Returns how many lines went.
    qsizetype depart(quint64 serial, const QByteArray& name,
                     const std::function<bool(const QByteArray&)>& keep);

    qsizetype size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Lanes with lines waiting, live and departed.
    qsizetype laneCount() const { return static_cast<qsizetype>(m_lanes.size()); }

private:
    struct Lane {
        int slot = 0;
        quint64 serial = 0;
        bool departed = false;
        QByteArray name;
        std::deque<QByteArray> lines;
    };
    using Lanes = std::deque<Lane>;

    Lanes::iterator find(quint64 serial);
    Lanes::const_iterator find(quint64 serial) const;

    Lanes m_lanes; // only lanes with waiting lines, in turn order
    qsizetype m_size = 0;
};

} // namespace euchre
