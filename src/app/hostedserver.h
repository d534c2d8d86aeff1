// HostedServer: the game host of the desktop program, offered to the table
// window through its hosting interface.
#pragma once

#include "client/hosting.h"
#include "host/tserver.h"

namespace euchre {

class HostedServer : public Hosting {
    Q_OBJECT
public:
    explicit HostedServer(QObject* parent = nullptr);

    bool startListening(quint16 port, QString* error) override;
    quint16 listeningPort() const override;
    void setBotSpeedSource(std::function<int()> source) override;
    int botSpeed() const override;
    void setExpertComputers(bool expert) override;
    void setPassword(const QByteArray& password) override;
    bool startDiscovery(quint16 port, QString* error) override;

    TServer& server() { return m_server; }

    // Lets every table window that hosts on its own make one of these.
    static void install();

private:
    TServer m_server;
};

} // namespace euchre
