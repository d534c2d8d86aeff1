// Flooding connections and the timed well-behaved client.
#include "integration/support/flood.h"

#include <algorithm>
#include <cmath>

namespace euchre::testing {

namespace {

QByteArray chatFrom(int slot, const QByteArray& text) {
    return "CMD_chat+" + QByteArray::number(slot) + "+" + text + "|clBlack\xFF";
}

// What the host sends back for one of this client's chat lines starts so.
QByteArray ownChatPrefix(int slot) {
    return "CMD_chat+" + QByteArray::number(slot) + "+";
}

} // namespace

Flooder::Flooder(Kind kind, int perSecond, QObject* parent)
    : QObject(parent), m_kind(kind), m_perSecond(perSecond) {
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_kind == Kind::Steady)
            send(1);
        else if (m_kind == Kind::Blast && client.socket.bytesToWrite() < 256 * 1024)
            send(200);
    });
    client.onMessage = [this](const QByteArray& m) {
        const QByteArray slot = QByteArray::number(client.slot());
        // A flooder in a seat leaves it to the computer, so that the game goes on.
        const bool seated = client.slot() >= 1 && client.slot() <= 4;
        if (m.startsWith("CMD_sendlogininfo+")) {
            client.say("CMD_logininfo+" + slot + "+1.0.6+F" + slot);
            if (seated) client.say("CMD_justwatch+" + slot + "+1");
        } else if (seated && m.startsWith("CMD_startgame+")) {
            client.say("CMD_justwatch+" + slot + "+1");
        } else if (m.startsWith(ownChatPrefix(client.slot()))) {
            ++m_back;
            if (m_kind == Kind::Saturate) topUp();
        }
    };
}

void Flooder::arrive(quint16 port) {
    client.connectTo(port);
}

void Flooder::start() {
    m_running = true;
    switch (m_kind) {
    case Kind::Blast:
        send(200);
        m_timer.start(1);
        break;
    case Kind::Saturate:
        topUp();
        break;
    case Kind::Steady:
        m_timer.start(1000 / qMax(1, m_perSecond));
        break;
    }
}

void Flooder::stop() {
    m_running = false;
    m_timer.stop();
}

void Flooder::send(int lines) {
    if (!m_running || !client.isConnected()) return;
    QByteArray burst;
    for (int i = 0; i < lines; ++i)
        burst += chatFrom(client.slot(), "flood " + QByteArray::number(m_sent++));
    client.sendRaw(burst);
}

void Flooder::topUp() {
    // Lines sent and not yet come back are waiting at the host.
    const int waiting = m_sent - m_back;
    if (waiting < 60) send(90 - waiting);
}

Pinger::Pinger(WireClient* client, QByteArray word, QObject* parent)
    : QObject(parent), m_client(client), m_word(std::move(word)) {
    m_clock.start();
    connect(&m_timer, &QTimer::timeout, this, &Pinger::ping);
    connect(&m_client->socket, &QTcpSocket::readyRead, this, [this] {
        // The client has cut what arrived into messages by now (it connected first).
        for (auto it = m_sentAt.begin(); it != m_sentAt.end();) {
            bool back = false;
            for (int i = m_client->messages.size() - 1;
                 i >= 0 && i >= m_client->messages.size() - 400; --i)
                if (m_client->messages[i].text.endsWith(it.key())) {
                    back = true;
                    break;
                }
            if (back) {
                latencies.append(m_clock.elapsed() - it.value());
                it = m_sentAt.erase(it);
            } else {
                ++it;
            }
        }
    });
}

void Pinger::start(int intervalMs) {
    m_timer.start(intervalMs);
}

void Pinger::ping() {
    const QByteArray text = m_word + ' ' + QByteArray::number(m_next++);
    m_sentAt.insert(" chats: " + text + "|clBlack", m_clock.elapsed());
    m_client->sendRaw(chatFrom(m_client->slot(), text));
}

qint64 percentile(QList<qint64> values, double share) {
    if (values.isEmpty()) return -1;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<qsizetype>(std::ceil(share * double(values.size())));
    return values[qBound<qsizetype>(0, rank - 1, values.size() - 1)];
}

} // namespace euchre::testing
