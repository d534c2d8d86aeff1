// TSockLink: a player connection for the host, carried by a TSock the link
// owns.
#pragma once

#include "host/peerlink.h"

#include <QObject>
#include <QPointer>

class TSock;

namespace euchre {

class TSockLink : public PeerLink {
public:
    // Takes the socket over; it goes with the link.
    explicit TSockLink(TSock* sock);
    ~TSockLink() override;

    TSockLink(const TSockLink&) = delete;
    TSockLink& operator=(const TSockLink&) = delete;

    void send(const QByteArray& bytes) override;
    void close() override;
    qint64 unsentBytes() const override;
    QString peerAddress() const override;

    TSock* sock() const { return m_sock; }

private:
    QPointer<TSock> m_sock;
    // Receiver of the socket's signals: the connections end with the link.
    QObject m_context;
};

} // namespace euchre
