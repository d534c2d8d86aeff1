// A stand-in for the game host that a table logs in to, a way to hand the
// table host messages at once, and the own cards where a person finds them.
#pragma once

#include "client/tchat.h"

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

namespace euchre {
class ArtItem;
}

namespace euchre::testing {

class FakeHost {
public:
    FakeHost();
    void send(const QByteArray& bytes);
    // What the table sent since the last call, after giving it time to arrive.
    QByteArray take();
    // A table logged in to this host in the given slot, as "Bob".
    std::unique_ptr<Tchat> seat(int slot);

    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;
};

// Hands the table one host message at once.
void feed(Tchat& t, const QByteArray& line);

// The own card item at a place 1..5 of the hand, nullptr when none.
ArtItem* cardAt(const Tchat& t, int place);

} // namespace euchre::testing
