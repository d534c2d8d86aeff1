// A raw TCP client of the host for tests: it connects to 127.0.0.1, keeps
// every byte it receives and cuts them into messages as a table window would,
// noting when each message arrived.
#pragma once

#include "net/protocol.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTcpSocket>
#include <functional>

namespace euchre::testing {

class WireClient : public QObject {
    Q_OBJECT
public:
    struct Message {
        QByteArray text; // without its terminator
        qint64 atMs;     // arrival, on this client's clock
    };

    explicit WireClient(QObject* parent = nullptr);
    ~WireClient() override;

    void connectTo(quint16 port);
    // Sends the bytes exactly as given.
    void sendRaw(const QByteArray& bytes);
    // Sends one message; the terminator is added.
    void say(const QByteArray& message);
    // Hangs up at once with a reset, as a crashed program's connection does.
    void reset();

    bool isConnected() const { return socket.state() == QAbstractSocket::ConnectedState; }
    bool isClosed() const { return socket.state() == QAbstractSocket::UnconnectedState; }

    // Index of the first message at or after `from` with this command word; -1 if none.
    int find(QByteArrayView word, int from = 0) const;
    int count(QByteArrayView word) const;
    bool has(QByteArrayView word) const { return find(word) >= 0; }
    // The slot the host gave this connection; 0 before "CMD_sendlogininfo".
    int slot() const { return m_slot; }

    QTcpSocket socket;
    QByteArray raw; // every byte received, terminators included
    QList<Message> messages;
    // Called for every complete message, in arrival order.
    std::function<void(const QByteArray&)> onMessage;

private:
    void readAll();

    LineCutter m_cutter;
    QElapsedTimer m_clock;
    int m_slot = 0;
};

// The command word of a message: the text before its first "+".
QByteArray commandWord(const QByteArray& message);

// The "+"-separated fields after the command word, trailing "+" dropped.
QList<QByteArray> fieldsOf(const QByteArray& message);

} // namespace euchre::testing
