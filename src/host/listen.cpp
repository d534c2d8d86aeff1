// The host's listening socket: the hosting start switches it on, and every
// waiting connection is admitted into a slot.
#include "host/tserver.h"
#include "host/tsocklink.h"
#include "net/tsock.h"

namespace euchre {

bool TServer::startListening(quint16 port, QString* error) {
    if (!Sock1) {
        Sock1 = new TSock(this);
        connect(Sock1, &TSock::OnAccept, this, [this](TSock*) { Sock1Accept(); });
    }
    try {
        Sock1->setPortName(QString::number(port));
        Sock1->setListen(true);
    } catch (const ESockException& e) {
        if (error) *error = e.text();
        return false;
    }
    return true;
}

quint16 TServer::listeningPort() const {
    return Sock1 ? Sock1->listeningPort() : 0;
}

void TServer::Sock1Accept() {
    if (!Sock1) return;
    TSock* accepted = nullptr;
    try {
        if (!Sock1->Accept(accepted) || !accepted) return;
    } catch (const ESockException& e) {
        hostLog(e.text());
        return;
    }
    welcome(std::make_unique<TSockLink>(accepted));
}

} // namespace euchre
