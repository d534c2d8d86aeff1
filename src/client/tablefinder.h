// TableFinder: the live list "Tables on this network" of the Join dialog. It
// asks the local network for hosting copies every two seconds and keeps what
// they answer, forgetting a table that has stopped answering.
#pragma once

#include "net/discovery.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class QUdpSocket;

namespace euchre {

class TableFinder : public QObject {
    Q_OBJECT
public:
    // The list never grows past this, however many copies answer.
    static constexpr int kMaxTables = 50;
    static constexpr int kQueryIntervalMs = 2000;
    // A table missing from this many rounds of answers in a row is gone.
    static constexpr int kRoundsBeforeForgotten = 3;

    struct Table {
        QString address; // where its answer came from: the address to join
        discovery::TableInfo info;
    };

    explicit TableFinder(QObject* parent = nullptr);
    ~TableFinder() override;

    // Asks at once and then every interval until stop(). The query goes to
    // every interface's IPv4 broadcast address and to the IPv6 link-local
    // all-nodes group, on the discovery port; EUCHRE_DISCOVERY_ADDRESS, when
    // set, names the one address to ask instead.
    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    // Tests ask faster than a person needs.
    void setQueryInterval(int ms) { m_timer.setInterval(ms); }

    // The tables heard from, by name, then address and port. A table that
    // answered over several addresses of one machine is listed once.
    QList<Table> tables() const;

    // One row per table: answers alike in every figure are one table when
    // both came from this machine (its loopback and its network addresses)
    // or one of them came over IPv6 (the same copy heard over both
    // protocols); the address kept is the plainest, IPv4 before IPv6.
    // `local` holds this machine's addresses as text.
    static QList<Table> merged(QList<Table> heard, const QList<QString>& local);

signals:
    void tablesChanged();

private:
    struct Heard {
        Table table;
        qint64 lastHeardMs = 0;
    };

    void query();
    void readAnswers(QUdpSocket* socket);
    void forgetSilent();

    QTimer m_timer;
    QElapsedTimer m_clock;
    QUdpSocket* m_v4 = nullptr;
    QUdpSocket* m_v6 = nullptr;
    QList<Heard> m_heard;
};

} // namespace euchre
