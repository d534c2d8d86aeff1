// FairQueue: the host's waiting client lines, one lane per connection, taken
// in turn so that a connection with a long backlog delays another by at most
// one line per turn. Game moves and chat take turns of their own, so that
// chat never holds up a move and a flood of moves never silences the chat.
#pragma once

#include <QByteArray>
#include <deque>
#include <functional>
#include <list>

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

    // Appends a line to its connection's lane; `speech` marks a chat, action
    // or sound line, anything else counts as a move. Returns how many of
    // that connection's lines wait now.
    qsizetype push(int slot, quint64 serial, QByteArray text, bool speech);
    // Takes the next line. Moves and speech alternate while both wait; within
    // each, connections take turns, one line each. A connection's lines of
    // one kind keep their order, and its speech never goes before a move it
    // sent earlier (a move may go before its own earlier chat). False when
    // nothing waits.
    bool pop(Line& out);

    // Lines of the connection still waiting.
    qsizetype waiting(quint64 serial) const;
    // Forgets every waiting line of the connection; returns how many went.
    qsizetype discard(quint64 serial);
    // The connection has left under `name`: its speech stays in its turn, its
    // moves go. An earlier departed connection of the same slot still waiting
    // is forgotten, so departures cannot pile up lanes. Returns how many
    // lines went.
    qsizetype depart(quint64 serial, const QByteArray& name);

    qsizetype size() const { return m_size; }
    bool empty() const { return m_size == 0; }

private:
    struct Entry {
        QByteArray text;
        bool speech = false;
    };
    struct Lane {
        int slot = 0;
        quint64 serial = 0;
        bool departed = false;
        QByteArray name;
        std::deque<Entry> lines; // in arrival order
        int moves = 0;
        int speech = 0;
    };

    Lane* live(quint64 serial) const;
    // Removes the lane from both turns and from the queue.
    qsizetype drop(Lane* lane);
    void take(Lane* lane, bool speech, Line& out);

    std::list<Lane> m_lanes;        // lanes with waiting lines
    std::deque<Lane*> m_moveTurn;   // lanes with a move waiting, in turn order
    std::deque<Lane*> m_speechTurn; // lanes with speech waiting, in turn order
    bool m_lastWasMove = false;
    qsizetype m_size = 0;
};

} // namespace euchre
