// The desktop program's host behind the table window's hosting interface.
#include "app/hostedserver.h"

namespace euchre {

HostedServer::HostedServer(QObject* parent) : Hosting(parent) {
    m_server.setObjectName(QStringLiteral("Server"));
}

bool HostedServer::startListening(quint16 port, QString* error) {
    return m_server.startListening(port, error);
}

quint16 HostedServer::listeningPort() const {
    return m_server.listeningPort();
}

void HostedServer::setBotSpeedSource(std::function<int()> source) {
    m_server.setBotSpeedSource(std::move(source));
}

int HostedServer::botSpeed() const {
    return m_server.botSpeed();
}

void HostedServer::setExpertComputers(bool expert) {
    m_server.setComputerLevel(expert ? players::Level::Expert : players::Level::Standard);
}

void HostedServer::setPassword(const QByteArray& password) {
    m_server.setPassword(password);
}

bool HostedServer::startDiscovery(quint16 port, QString* error) {
    return m_server.startDiscovery(port, error);
}

void HostedServer::install() {
    Hosting::setFactory([] { return std::make_unique<HostedServer>(); });
}

} // namespace euchre
