// Hosting: what the table window asks of the game host in its own program. The
// window never knows the host itself; main() hands it one.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace euchre {

class Hosting : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts listening for players; false with a reason when the port is taken.
    virtual bool startListening(quint16 port, QString* error) = 0;
    // The port it listens on (the one it was given, or the free one port 0 found).
    virtual quint16 listeningPort() const = 0;
    // The computer players' delay in ms, read from this window at every arming.
    virtual void setBotSpeedSource(std::function<int()> source) = 0;
    virtual int botSpeed() const = 0;
    // The computer seats play as experts (or as the standard players) from
    // the next deal on.
    virtual void setExpertComputers(bool expert) = 0;

    // A private table: only connections that give this password are let in;
    // empty lets everyone in, with exactly the messages of a table without one.
    virtual void setPassword(const QByteArray& password) = 0;
    // Answers the Join dialogs on this network ("Tables on this network") on
    // the UDP port; false with a reason when that port is taken.
    virtual bool startDiscovery(quint16 port, QString* error) = 0;

    // Makes a host for a window that hosts without having been handed one.
    using Factory = std::function<std::unique_ptr<Hosting>()>;
    static void setFactory(Factory factory);
    static std::unique_ptr<Hosting> make();
};

} // namespace euchre
