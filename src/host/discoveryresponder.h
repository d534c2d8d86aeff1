// DiscoveryResponder: answers "which tables are on this network?" for a
// hosting copy, one short line per query, on a UDP port of its own.
#pragma once

#include "net/discovery.h"

#include <QObject>
#include <array>
#include <functional>

class QUdpSocket;

namespace euchre {

class DiscoveryResponder : public QObject {
    Q_OBJECT
public:
    // Answers in all, whoever asks: a flood of queries, or of queries with a
    // forged sender, gets no more out of the host than this.
    static constexpr int kMaxAnswersPerSecond = 20;
    // Datagrams taken per readiness event, so that a flood never holds the
    // event loop; the rest wait in the system for the next turn.
    static constexpr int kMaxReadsPerEvent = 256;

    // `info` is asked for the table's figures at each answer.
    explicit DiscoveryResponder(std::function<discovery::TableInfo()> info,
                                QObject* parent = nullptr);
    ~DiscoveryResponder() override;

    // Binds the port on every IPv4 address, and on every IPv6 address when
    // the system has IPv6; false with a reason when the port is taken.
    // Port 0 picks a free one.
    bool start(quint16 port, QString* error = nullptr);
    void stop();
    quint16 port() const;
    // Whether IPv6 queries (link-local multicast) reach it as well.
    bool listensOnIPv6() const;

    // Queries answered and queries dropped by the cap, since the start.
    qint64 answered() const { return m_answered; }
    qint64 capped() const { return m_capped; }

private:
    void readFrom(QUdpSocket* socket);
    bool withinCap(qint64 nowMs);

    std::function<discovery::TableInfo()> m_info;
    QUdpSocket* m_v4 = nullptr;
    QUdpSocket* m_v6 = nullptr;
    // When the last kMaxAnswersPerSecond answers went, in a ring.
    std::array<qint64, kMaxAnswersPerSecond> m_answeredAt{};
    int m_nextAnswer = 0;
    qint64 m_answered = 0;
    qint64 m_capped = 0;
};

} // namespace euchre
