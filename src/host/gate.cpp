// The gate of a private table: a new connection is asked for the password
// and given a slot only once it has sent the right one; until then it hears
// nothing of the table. And what the table tells the network of itself.
#include "host/discoveryresponder.h"
#include "host/tserver.h"
#include "model/card.h"
#include "net/commands.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace euchre {

namespace {

// "CMD_password+" and the longest password.
constexpr qsizetype kMaxGateLine = sizeof(cmd::password) + TServer::kMaxPasswordBytes;

QString fromWhere(const QString& address) {
    return address.isEmpty() ? QStringLiteral("an unknown address") : address;
}

} // namespace

qint64 TServer::now() const {
    return m_clock ? m_clock() : QDeadlineTimer::current().deadline();
}

void TServer::setPassword(const QByteArray& password) {
    m_gate.setPassword(password);
    if (m_gate.hasPassword()) return;
    // The table is open now: whoever waited at the gate comes in, in turn.
    m_gateTimer.stop();
    while (!m_pending.empty()) {
        PendingLink waiting = std::move(m_pending.front());
        m_pending.pop_front();
        const int slot = admit(std::move(waiting.link));
        if (slot != kRefusedSlot && !waiting.unread.isEmpty()) Sock1Read(slot, waiting.unread);
    }
}

int TServer::welcome(std::unique_ptr<PeerLink> link) {
    m_letGo.clear();
    if (!link) return kRefusedSlot;
    if (!m_gate.hasPassword()) return admit(std::move(link));

    const QString address = link->peerAddress();
    const qint64 t = now();
    if (m_gate.isLockedOut(address, t)) {
        refuseAtGate(
            std::move(link), cmd::lockedout,
            QStringLiteral("refused a connection from %1: locked out after wrong passwords")
                .arg(fromWhere(address)));
        return kRefusedSlot;
    }
    if (static_cast<int>(m_pending.size()) >= kMaxPending) {
        PendingLink oldest = std::move(m_pending.front());
        m_pending.pop_front();
        refuseAtGate(std::move(oldest.link), nullptr,
                     QStringLiteral("closing the connection from %1 that waited longest for its "
                                    "password: %2 are waiting")
                         .arg(fromWhere(oldest.address))
                         .arg(kMaxPending));
    }

    PendingLink& waiting = m_pending.emplace_back();
    waiting.link = std::move(link);
    waiting.address = address;
    waiting.since = t;
    waiting.id = ++m_nextPendingId;
    const quint64 id = waiting.id;
    PeerLink* raw = waiting.link.get();
    raw->onData = [this, id](const QByteArray& data) { gateRead(id, data); };
    raw->onDisconnect = [this, id]() { gateClosed(id); };
    raw->onInfo = [this, id](int, const QString& text) {
        if (text == QLatin1String("Socket Closed")) gateClosed(id);
    };
    if (!m_gateTimer.isActive()) m_gateTimer.start();
    raw->send(bareMessage(cmd::password));
    return 0;
}

std::unique_ptr<PeerLink> TServer::takePending(quint64 id) {
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [id](const PendingLink& p) { return p.id == id; });
    if (it == m_pending.end()) return nullptr;
    std::unique_ptr<PeerLink> link = std::move(it->link);
    m_pending.erase(it);
    if (m_pending.empty()) m_gateTimer.stop();
    return link;
}

void TServer::gateClosed(quint64 id) {
    std::unique_ptr<PeerLink> link = takePending(id);
    if (!link) return;
    // It hung up while waiting; it is inside its own report, so it goes later.
    link->close();
    m_letGo.push_back(std::move(link));
}

void TServer::gateRead(quint64 id, QByteArrayView data) {
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [id](const PendingLink& p) { return p.id == id; });
    if (it == m_pending.end()) return;
    QByteArray& unread = it->unread;
    unread.append(data);
    const QString address = it->address;

    // Empty lines are the stray end of a message sent with two terminators.
    qsizetype from = 0;
    while (from < unread.size() && unread[from] == kTerminator) ++from;
    const qsizetype end = unread.indexOf(kTerminator, from);
    if (end < 0) {
        unread.remove(0, from);
        if (unread.size() > kMaxGateLine)
            wrongPassword(takePending(id), address, "a password over 1024 bytes");
        return;
    }
    // The first line decides: the password admits, anything else is a wrong try.
    const QByteArray line = unread.mid(from, end - from);
    const QByteArray rest = unread.mid(end + 1);
    QByteArrayView word;
    QByteArrayView args;
    if (line.size() > kMaxGateLine || !splitCommand(line, word, args) || word != cmd::password)
        return wrongPassword(takePending(id), address, "a message instead of the password");
    // A connection that was waiting when its address was locked out does not
    // get another guess.
    if (m_gate.isLockedOut(address, now())) {
        refuseAtGate(
            takePending(id), cmd::lockedout,
            QStringLiteral("refused a connection from %1: locked out after wrong passwords")
                .arg(fromWhere(address)));
        return;
    }
    // The password is the whole rest of the line, "+" and all.
    if (!m_gate.matches(FieldReader(args).rest()))
        return wrongPassword(takePending(id), address, "a wrong password");

    // Admitted as any connection at an open table; whatever it sent after the
    // password is its first text in the slot.
    const int slot = admit(takePending(id));
    if (slot != kRefusedSlot && !rest.isEmpty()) Sock1Read(slot, rest);
}

void TServer::wrongPassword(std::unique_ptr<PeerLink> link, const QString& address,
                            const char* what) {
    const bool locks = m_gate.wrongTry(address, now());
    refuseAtGate(
        std::move(link), cmd::wrongpassword,
        QStringLiteral("refused a connection from %1: %2%3")
            .arg(fromWhere(address), QLatin1String(what),
                 locks ? QStringLiteral("; the address is locked out for 60 s") : QString()));
}

void TServer::refuseAtGate(std::unique_ptr<PeerLink> link, const char* word, const QString& why) {
    if (!link) return;
    hostLog(why);
    if (word) link->send(bareMessage(word));
    link->close();
    // It may be inside its own notification: it goes at the next accept or tick.
    m_letGo.push_back(std::move(link));
}

void TServer::gateTimerTimer() {
    m_letGo.clear();
    const qint64 t = now();
    // The list is in order of arrival, so the ones that waited too long are in front.
    while (!m_pending.empty() && t - m_pending.front().since >= kPasswordWaitMs) {
        PendingLink late = std::move(m_pending.front());
        m_pending.pop_front();
        refuseAtGate(std::move(late.link), nullptr,
                     QStringLiteral("closing the connection from %1: no password within 30 s")
                         .arg(fromWhere(late.address)));
    }
    if (m_pending.empty()) m_gateTimer.stop();
}

// ---- tables on this network ----

bool TServer::startDiscovery(quint16 port, QString* error) {
    m_discovery = std::make_unique<DiscoveryResponder>([this] { return tableInfo(); });
    if (m_discovery->start(port, error)) return true;
    m_discovery.reset();
    return false;
}

void TServer::stopDiscovery() {
    m_discovery.reset();
}

quint16 TServer::discoveryPort() const {
    return m_discovery ? m_discovery->port() : 0;
}

discovery::TableInfo TServer::tableInfo() const {
    discovery::TableInfo info;
    info.port = listeningPort();
    const PlayerSlot& hosting = playerslot[1];
    if (hosting.connected && hosting.loggedIn) info.name = QString::fromUtf8(hosting.name);
    // Only people who have logged in count; the gate's waiting connections
    // are no one yet.
    for (int slot = 1; slot <= slotcount; ++slot) {
        const PlayerSlot& p = playerslot[slot];
        if (!p.connected || !p.loggedIn) continue;
        if (isSeat(slot) && !p.watching)
            ++info.seats;
        else
            ++info.watchers;
    }
    info.game = gameon;
    info.password = hasPassword();
    info.version = QString::fromLatin1(kGameVersion);
    return info;
}

} // namespace euchre
