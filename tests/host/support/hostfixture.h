// A host driven by recording fake connections, stepped tick by tick.
#pragma once

#include "host/tserver.h"
#include "net/protocol.h"

#include <QByteArrayList>
#include <memory>

namespace euchre::testing {

// A connection that records what the host sends it.
class FakeLink : public PeerLink {
public:
    void send(const QByteArray& bytes) override { sent.append(bytes); }
    void close() override {
        ++closeCount;
        closed = true;
        if (onInfo) onInfo(2, QStringLiteral("Socket Closed"));
    }
    qint64 unsentBytes() const override { return unsent; }
    QString peerAddress() const override { return address; }

    // Messages received so far, each without its terminator.
    QByteArrayList messages() const {
        QByteArrayList out;
        for (const QByteArray& chunk : sent) {
            QByteArray m = chunk;
            if (m.endsWith(kTerminator)) m.chop(1);
            out.append(m);
        }
        return out;
    }
    // The messages starting with a command word, e.g. "CMD_bidder".
    QByteArrayList withWord(const QByteArray& word) const {
        QByteArrayList out;
        for (const QByteArray& m : messages())
            if (m.startsWith(word + '+')) out.append(m);
        return out;
    }
    void peerSays(const QByteArray& bytes) {
        if (onData) onData(bytes);
    }
    // The peer hangs up, as the socket component reports it.
    void peerCloses() {
        if (onDisconnect) onDisconnect();
        close();
    }

    QByteArrayList sent;
    bool closed = false;
    int closeCount = 0;
    qint64 unsent = 0;
    QString address;
};

class HostFixture {
public:
    HostFixture();

    TServer server;
    FakeLink* link[11] = {};

    // Admits a new fake connection; returns its slot.
    int connect();
    // Connects and logs in under the name; returns the slot.
    int join(const QByteArray& name);
    // The peer of a slot sends one message (the terminator is added).
    void say(int slot, const QByteArray& message);
    // Handles every queued line, one per tick.
    void drain();
    // Steps the computer-turn timer n ticks.
    void ticks(int n);
    // Steps the computer-turn timer until its pending action has fired.
    void fire();
    void clearSent();
    QByteArrayList all(int slot) const {
        return link[slot] ? link[slot]->messages() : QByteArrayList();
    }

    // Four people at the table and a game started by seat 1.
    void fourPlayersStart(int playto = 10);
    // The game's table, read or laid out by hand.
    rules::Table& table() { return server.game().arrange(); }
    // Sets the hands of the four seats (five cards each).
    void setHands(const std::array<std::array<int, 5>, 4>& hands);
};

// A message built from text with the terminator removed, for comparisons.
QByteArray msg(const char* text);

} // namespace euchre::testing
