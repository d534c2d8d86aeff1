// The discovery port of a hosting copy: the exact query gets one answer
// back to its sender, within a cap on answers a second; everything else is
// read and forgotten without a word.
#include "host/discoveryresponder.h"

#include <QDeadlineTimer>
#include <QUdpSocket>
#include <limits>

namespace euchre {

namespace {

constexpr qsizetype kQueryBytes = sizeof(discovery::kQuery) - 1;

qint64 nowMs() {
    return QDeadlineTimer::current().deadline();
}

} // namespace

DiscoveryResponder::DiscoveryResponder(std::function<discovery::TableInfo()> info, QObject* parent)
    : QObject(parent), m_info(std::move(info)) {
    // Nobody has been answered yet: every slot of the ring lies far back.
    m_answeredAt.fill(std::numeric_limits<qint64>::min() / 2);
}

DiscoveryResponder::~DiscoveryResponder() {
    stop();
}

bool DiscoveryResponder::start(quint16 port, QString* error) {
    stop();
    // No sharing of the port: a second table on this machine would take the
    // queries meant for the first one at random, so it is told the port is
    // taken instead.
    m_v4 = new QUdpSocket(this);
    if (!m_v4->bind(QHostAddress::AnyIPv4, port, QUdpSocket::DontShareAddress)) {
        if (error) *error = m_v4->errorString();
        stop();
        return false;
    }
    const quint16 bound = m_v4->localPort();
    connect(m_v4, &QUdpSocket::readyRead, this, [this] { readFrom(m_v4); });

    // IPv6 answers the link-local multicast of a joining window; a system
    // without IPv6, or with the port taken there only, still answers IPv4.
    m_v6 = new QUdpSocket(this);
    if (m_v6->bind(QHostAddress::AnyIPv6, bound, QUdpSocket::DontShareAddress)) {
        connect(m_v6, &QUdpSocket::readyRead, this, [this] { readFrom(m_v6); });
    } else {
        delete m_v6;
        m_v6 = nullptr;
    }
    return true;
}

void DiscoveryResponder::stop() {
    delete m_v4;
    m_v4 = nullptr;
    delete m_v6;
    m_v6 = nullptr;
}

quint16 DiscoveryResponder::port() const {
    return m_v4 ? m_v4->localPort() : 0;
}

bool DiscoveryResponder::listensOnIPv6() const {
    return m_v6 != nullptr;
}

bool DiscoveryResponder::withinCap(qint64 now) {
    qint64& oldest = m_answeredAt[m_nextAnswer];
    if (now - oldest < 1000) return false;
    oldest = now;
    m_nextAnswer = (m_nextAnswer + 1) % kMaxAnswersPerSecond;
    return true;
}

void DiscoveryResponder::readFrom(QUdpSocket* socket) {
    for (int n = 0; n < kMaxReadsPerEvent && socket->hasPendingDatagrams(); ++n) {
        // Only the query's few bytes are ever copied; a longer datagram is cut
        // by the read and recognised by its size.
        const qint64 size = socket->pendingDatagramSize();
        char bytes[kQueryBytes + 1];
        QHostAddress sender;
        quint16 senderPort = 0;
        const qint64 got = socket->readDatagram(bytes, sizeof bytes, &sender, &senderPort);
        if (size != kQueryBytes || got != kQueryBytes) continue;
        if (!discovery::isQuery(QByteArrayView(bytes, got))) continue;
        if (senderPort == 0 || sender.isNull()) continue;
        if (!withinCap(nowMs())) {
            ++m_capped;
            continue;
        }
        // Sent at once or not at all: a datagram the system cannot take now
        // is dropped rather than kept.
        const QByteArray answer = discovery::answerLine(m_info ? m_info() : discovery::TableInfo());
        if (socket->writeDatagram(answer, sender, senderPort) == answer.size()) ++m_answered;
    }
}

} // namespace euchre
