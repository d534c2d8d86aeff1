// The host's view of one player connection: send bytes, close, and three
// notifications. The socket component implements it for real players; tests
// use a recording fake, so the host runs without ports or waiting.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace euchre {

class PeerLink {
public:
    virtual ~PeerLink() = default;

    virtual void send(const QByteArray& bytes) = 0;
    // Closes the connection; ends with onInfo(2, "Socket Closed").
    virtual void close() = 0;
    // Bytes sent that the peer has not taken yet.
    virtual qint64 unsentBytes() const { return 0; }
    // The peer's address as text ("192.0.2.10", "fe80::1"); empty when unknown.
    virtual QString peerAddress() const { return {}; }

    // Set by the host when it admits the connection.
    std::function<void(const QByteArray&)> onData;
    std::function<void()> onDisconnect;
    std::function<void(int code, const QString& text)> onInfo;
};

} // namespace euchre
