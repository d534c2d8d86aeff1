// JoinAttempt: one try to take a place at another table, on a connection of
// its own, up to the moment the host has let the player in. The table window
// keeps playing its current game meanwhile, and takes the connection over
// only when the try has succeeded; a failure says plainly what went wrong.
#pragma once

#include "net/protocol.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class TSock;

namespace euchre {

// Where to join and as whom; also what "Reconnect" tries again.
struct JoinTarget {
    QString host; // a name, IPv4 or IPv6 (without brackets)
    quint16 port = 0;
    QString name;
    QString password; // empty: none given

    bool operator==(const JoinTarget&) const = default;
};

// The login reply to "CMD_sendlogininfo": slot, version and the name with its
// own terminator, so the message ends in two.
QByteArray loginReply(int slot, const QByteArray& loginname);

class JoinAttempt : public QObject {
    Q_OBJECT
public:
    enum class Failure {
        NothingListens, // the connection was refused
        NotFound,       // the address cannot be resolved
        NoAnswer,       // nothing within kAnswerMs
        Unreachable,    // the network says there is no way there
        Full,           // "CMD_full"
        WrongVersion,   // "CMD_wrongversion"
        PasswordWrong,  // "CMD_wrongpassword"
        PasswordNeeded, // "CMD_password" and none was given
        LockedOut,      // "CMD_lockedout"
        Closed,         // the host closed the connection without a word
        Other,          // any other failure of the connection
    };
    Q_ENUM(Failure)

    // Each step of the try (connecting, the password, the login) must be
    // answered within this.
    static constexpr int kAnswerMs = 5000;
    // After the host has announced the player, how long a different version
    // may still be reported before the player counts as let in.
    static constexpr int kSettleMs = 300;

    explicit JoinAttempt(JoinTarget target, QObject* parent = nullptr);
    ~JoinAttempt() override;

    const JoinTarget& target() const { return m_target; }
    void start();

    // After admitted(): the connection and what came on it after the login
    // reply (the unfinished tail stays in the cutter). The attempt is spent.
    TSock* takeConnection();
    QList<QByteArray> takeLines() { return std::exchange(m_lines, {}); }
    const LineCutter& cutter() const { return m_cutter; }
    int slot() const { return m_slot; }
    QByteArray loginname() const;

    // The sentence a person reads for a failure.
    static QString failureText(Failure failure, const JoinTarget& target, const QString& detail);

signals:
    void admitted();
    void failed(JoinAttempt::Failure failure, const QString& text);

private:
    void onRead();
    void onInfo(int code, const QString& text);
    void handle(const QByteArray& line);
    void fail(Failure failure, const QString& detail = {});
    void settle();

    enum class Stage { Idle, Connecting, Greeting, PasswordSent, LoggedIn, Done };

    JoinTarget m_target;
    TSock* m_sock = nullptr;
    Stage m_stage = Stage::Idle;
    LineCutter m_cutter;
    QList<QByteArray> m_lines;
    int m_slot = 0;
    bool m_announced = false; // the host has named the player to the table
    QTimer m_deadline;
    QTimer m_settle;
};

} // namespace euchre
