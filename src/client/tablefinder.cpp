// Asking the local network for tables and keeping their answers.
#include "client/tablefinder.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <algorithm>

namespace euchre {

namespace {

// Answers read in one wake-up: a flood of datagrams must not hold the event
// loop; what is left waits for the next wake-up.
constexpr int kMaxReadsPerWake = 64;

QString addressText(const QHostAddress& address) {
    // An IPv4 answer that reached the IPv6 socket reads as plain IPv4.
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : address.toString();
}

} // namespace

TableFinder::TableFinder(QObject* parent) : QObject(parent) {
    m_timer.setInterval(kQueryIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TableFinder::query);
}

TableFinder::~TableFinder() = default;

void TableFinder::start() {
    if (!m_v4) {
        m_v4 = new QUdpSocket(this);
        if (m_v4->bind(QHostAddress::AnyIPv4, 0))
            connect(m_v4, &QUdpSocket::readyRead, this, [this] { readAnswers(m_v4); });
    }
    if (!m_v6) {
        m_v6 = new QUdpSocket(this);
        // A machine without IPv6 simply asks over IPv4 alone.
        if (m_v6->bind(QHostAddress::AnyIPv6, 0))
            connect(m_v6, &QUdpSocket::readyRead, this, [this] { readAnswers(m_v6); });
    }
    if (!m_clock.isValid()) m_clock.start();
    m_timer.start();
    query();
}

void TableFinder::stop() {
    m_timer.stop();
}

void TableFinder::query() {
    forgetSilent();
    const QByteArray datagram(discovery::kQuery);
    const quint16 port = discovery::portFromEnvironment();
    const QByteArray only = qgetenv("EUCHRE_DISCOVERY_ADDRESS");
    if (!only.isEmpty()) {
        const QHostAddress target(QString::fromUtf8(only));
        QUdpSocket* socket = target.protocol() == QAbstractSocket::IPv6Protocol ? m_v6 : m_v4;
        if (socket->state() == QAbstractSocket::BoundState)
            socket->writeDatagram(datagram, target, port);
        return;
    }
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning)) continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            const QHostAddress broadcast = entry.broadcast();
            if (!broadcast.isNull() && m_v4->state() == QAbstractSocket::BoundState)
                m_v4->writeDatagram(datagram, broadcast, port);
        }
        if ((flags & QNetworkInterface::CanMulticast) && !(flags & QNetworkInterface::IsLoopBack) &&
            m_v6->state() == QAbstractSocket::BoundState) {
            QHostAddress allNodes(QStringLiteral("ff02::1"));
            allNodes.setScopeId(iface.name());
            m_v6->writeDatagram(datagram, allNodes, port);
        }
    }
}

void TableFinder::readAnswers(QUdpSocket* socket) {
    bool changed = false;
    for (int i = 0; i < kMaxReadsPerWake && socket->hasPendingDatagrams(); ++i) {
        // One byte over the limit tells a too-long datagram from a full one.
        const QNetworkDatagram datagram = socket->receiveDatagram(discovery::kMaxAnswerBytes + 1);
        const std::optional<discovery::TableInfo> info = discovery::readAnswer(datagram.data());
        if (!info) continue;
        const QString address = addressText(datagram.senderAddress());
        auto same = std::find_if(m_heard.begin(), m_heard.end(), [&](const Heard& h) {
            return h.table.address == address && h.table.info.port == info->port;
        });
        if (same == m_heard.end()) {
            if (m_heard.size() >= kMaxTables) continue;
            m_heard.append(Heard{Table{address, *info}, 0});
            same = m_heard.end() - 1;
            changed = true;
        } else if (!(same->table.info == *info)) {
            same->table.info = *info;
            changed = true;
        }
        same->lastHeardMs = m_clock.elapsed();
    }
    if (changed) emit tablesChanged();
}

void TableFinder::forgetSilent() {
    const qint64 oldest =
        m_clock.elapsed() - qint64(kRoundsBeforeForgotten) * m_timer.interval() - 500;
    const qsizetype before = m_heard.size();
    m_heard.removeIf([oldest](const Heard& h) { return h.lastHeardMs < oldest; });
    if (m_heard.size() != before) emit tablesChanged();
}

QList<TableFinder::Table> TableFinder::merged(QList<Table> heard, const QList<QString>& local) {
    const auto isV6 = [](const QString& address) { return address.contains(QLatin1Char(':')); };
    // IPv4 on the network first, then loopback, then IPv6 (link-local last).
    const auto rank = [&isV6](const QString& address) {
        const QHostAddress a(address);
        if (!isV6(address)) return a.isLoopback() ? 1 : 0;
        return a.isLinkLocal() ? 3 : 2;
    };
    std::stable_sort(heard.begin(), heard.end(), [&rank](const Table& a, const Table& b) {
        return rank(a.address) < rank(b.address);
    });
    QList<Table> out;
    for (const Table& t : heard) {
        const bool here = local.contains(t.address);
        const bool same = std::any_of(out.begin(), out.end(), [&](const Table& kept) {
            return kept.info == t.info &&
                   ((here && local.contains(kept.address)) || isV6(t.address));
        });
        if (!same) out.append(t);
    }
    return out;
}

QList<TableFinder::Table> TableFinder::tables() const {
    QList<Table> out;
    out.reserve(m_heard.size());
    for (const Heard& h : m_heard) out.append(h.table);
    QList<QString> local;
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        local.append(addressText(address));
    local.append(QStringLiteral("127.0.0.1"));
    local.append(QStringLiteral("::1"));
    out = merged(std::move(out), local);
    std::sort(out.begin(), out.end(), [](const Table& a, const Table& b) {
        const int byName = QString::localeAwareCompare(a.info.name, b.info.name);
        if (byName != 0) return byName < 0;
        if (a.address != b.address) return a.address < b.address;
        return a.info.port < b.info.port;
    });
    return out;
}

} // namespace euchre
