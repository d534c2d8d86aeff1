// Chat floods against the host and a well-behaved client that times its own
// lines, shared by the flood tests and the flood benchmark.
#pragma once

#include "integration/support/wireclient.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QTimer>

namespace euchre::testing {

// One connection that floods chat once started.
class Flooder : public QObject {
    Q_OBJECT
public:
    enum class Kind {
        Blast,    // writes as fast as the connection takes it
        Saturate, // keeps 90 of its lines waiting at the host, never more
        Steady,   // a fixed number of lines a second
    };

    Flooder(Kind kind, int perSecond = 0, QObject* parent = nullptr);

    // Connects and logs in as "F" and the slot.
    void arrive(quint16 port);
    void start();
    void stop();
    int sent() const { return m_sent; }

    WireClient client;

private:
    void send(int lines);
    void topUp();

    Kind m_kind;
    int m_perSecond;
    bool m_running = false;
    int m_sent = 0;
    int m_back = 0; // own lines relayed back
    QTimer m_timer;
};

// Sends a numbered chat line at a fixed interval and notes how long each
// takes to come back.
class Pinger : public QObject {
    Q_OBJECT
public:
    // Each line says the word and its number; two pingers on one client
    // need words of their own.
    explicit Pinger(WireClient* client, QByteArray word = "ping", QObject* parent = nullptr);

    void start(int intervalMs);
    void stop() { m_timer.stop(); }
    // Sends one line now.
    void ping();
    int sent() const { return m_next; }
    int answered() const { return static_cast<int>(latencies.size()); }

    QList<qint64> latencies; // ms, in the order the lines came back

private:
    WireClient* m_client;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QHash<QByteArray, qint64> m_sentAt;
    QByteArray m_word;
    int m_next = 0;
};

// The value below which the given share (0..1) of the figures lie; -1 when empty.
qint64 percentile(QList<qint64> values, double share);

} // namespace euchre::testing
