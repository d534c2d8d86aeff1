// The raw test client: connecting, sending, and cutting what arrives.
#include "integration/support/wireclient.h"

#include <QHostAddress>
#include <sys/socket.h>

namespace euchre::testing {

WireClient::WireClient(QObject* parent) : QObject(parent) {
    m_clock.start();
    connect(&socket, &QTcpSocket::readyRead, this, &WireClient::readAll);
    // Bytes that come with the host's close still count.
    connect(&socket, &QTcpSocket::disconnected, this, &WireClient::readAll);
}

WireClient::~WireClient() {
    // The socket goes after the members its handlers use; it must not call them then.
    socket.disconnect(this);
}

void WireClient::connectTo(quint16 port) {
    socket.connectToHost(QHostAddress::LocalHost, port);
}

void WireClient::sendRaw(const QByteArray& bytes) {
    socket.write(bytes);
    socket.flush();
}

void WireClient::say(const QByteArray& message) {
    sendRaw(message + kTerminator);
}

void WireClient::reset() {
    // A zero linger time makes the close a reset instead of an orderly goodbye.
    const qintptr fd = socket.socketDescriptor();
    if (fd >= 0) {
        const struct linger hard { 1, 0 };
        ::setsockopt(static_cast<int>(fd), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    socket.abort();
}

void WireClient::readAll() {
    if (!socket.isOpen()) return;
    const QByteArray bytes = socket.readAll();
    if (bytes.isEmpty()) return;
    raw.append(bytes);
    const qint64 now = m_clock.elapsed();
    QList<QByteArray> lines;
    m_cutter.feed(bytes, lines);
    for (const QByteArray& line : lines) {
        if (m_slot == 0 && line.startsWith("CMD_sendlogininfo+")) m_slot = line.mid(18).toInt();
        messages.append(Message{line, now});
        if (onMessage) onMessage(line);
    }
}

int WireClient::find(QByteArrayView word, int from) const {
    for (int i = qMax(0, from); i < messages.size(); ++i)
        if (commandWord(messages[i].text) == word) return i;
    return -1;
}

int WireClient::count(QByteArrayView word) const {
    int n = 0;
    for (const Message& m : messages)
        if (commandWord(m.text) == word) ++n;
    return n;
}

QByteArray commandWord(const QByteArray& message) {
    const qsizetype plus = message.indexOf('+');
    return plus < 0 ? QByteArray() : message.left(plus);
}

QList<QByteArray> fieldsOf(const QByteArray& message) {
    const qsizetype plus = message.indexOf('+');
    if (plus < 0) return {};
    QByteArray args = message.mid(plus + 1);
    if (args.endsWith('+')) args.chop(1);
    if (args.isEmpty()) return {};
    return args.split('+');
}

} // namespace euchre::testing
