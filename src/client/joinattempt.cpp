// One try to join a table: connect, give the password when the host asks for
// one, log in, and wait until the host has named the player to the table.
#include "client/joinattempt.h"

#include "net/commands.h"
#include "net/protocol.h"
#include "net/tsock.h"

#include <QRegularExpression>

namespace euchre {

namespace {

// Status codes of the connection's reports.
constexpr int kInfoConnected = 1;
constexpr int kInfoClosed = 2;
constexpr int kInfoError = 7;

// The socket layer's numbers that tell one failure from another.
constexpr int kRefused = 10061;
constexpr int kTimedOut = 10060;
constexpr int kNetUnreachable = 10051;
constexpr int kHostUnreachable = 10065;
constexpr int kHostNotFound = 11001;
constexpr int kNoData = 11004;

int errorNumber(const QString& report) {
    static const QRegularExpression number(QStringLiteral("#(\\d+)"));
    const QRegularExpressionMatch m = number.match(report);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

bool isWord(QByteArrayView word, const char* expected) {
    return word == QByteArrayView(expected);
}

} // namespace

QByteArray loginReply(int slot, const QByteArray& loginname) {
    return MessageBuilder(cmd::logininfo)
        .field(slot)
        .field(kGameVersion)
        .field(loginname)
        .done(false);
}

JoinAttempt::JoinAttempt(JoinTarget target, QObject* parent)
    : QObject(parent), m_target(std::move(target)) {
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kAnswerMs);
    connect(&m_deadline, &QTimer::timeout, this, [this] { fail(Failure::NoAnswer); });
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &JoinAttempt::settle);
}

JoinAttempt::~JoinAttempt() {
    if (m_sock) m_sock->disconnect(this);
}

QByteArray JoinAttempt::loginname() const {
    return m_target.name.toUtf8() + kTerminator;
}

void JoinAttempt::start() {
    if (m_stage != Stage::Idle) return;
    m_sock = new TSock(this);
    m_sock->setObjectName(QStringLiteral("sock"));
    connect(m_sock, &TSock::OnRead, this, [this] { onRead(); });
    connect(m_sock, &TSock::OnInfo, this,
            [this](TSock*, int code, const QString& text) { onInfo(code, text); });
    m_stage = Stage::Connecting;
    m_deadline.start();
    try {
        m_sock->setHostName(m_target.host);
        m_sock->setPortName(QString::number(m_target.port));
        m_sock->Open();
    } catch (const ESockException& e) {
        // A numeric address that is no address never reaches the network.
        fail(e.text().startsWith(QLatin1String("Host Lookup")) ? Failure::NotFound : Failure::Other,
             e.text());
    }
}

TSock* JoinAttempt::takeConnection() {
    if (m_stage != Stage::Done || !m_sock || m_slot == 0) return nullptr;
    TSock* sock = std::exchange(m_sock, nullptr);
    sock->disconnect(this);
    sock->setParent(nullptr);
    return sock;
}

void JoinAttempt::onInfo(int code, const QString& text) {
    if (m_stage == Stage::Done) return;
    if (code == kInfoConnected) {
        m_stage = Stage::Greeting;
        m_deadline.start();
        return;
    }
    if (code == kInfoError && m_stage == Stage::Connecting) {
        switch (errorNumber(text)) {
        case kRefused:
            return fail(Failure::NothingListens, text);
        case kTimedOut:
            return fail(Failure::NoAnswer, text);
        case kNetUnreachable:
        case kHostUnreachable:
            return fail(Failure::Unreachable, text);
        default:
            if (errorNumber(text) >= kHostNotFound && errorNumber(text) <= kNoData)
                return fail(Failure::NotFound, text);
            return fail(Failure::Other, text);
        }
    }
    if (code == kInfoClosed) fail(Failure::Closed);
}

void JoinAttempt::onRead() {
    if (m_stage == Stage::Done || !m_sock) return;
    QByteArray data;
    try {
        data = m_sock->Receive();
    } catch (const ESockException&) {
        return;
    }
    QList<QByteArray> lines;
    if (!m_cutter.feed(data, lines)) return fail(Failure::Other, QStringLiteral("not a game host"));
    for (const QByteArray& line : lines) {
        if (m_stage == Stage::Done) return;
        handle(line);
    }
    if (m_stage == Stage::Done) return;
    // A message the host sends only after its version check: nothing more
    // to wait for.
    if (m_announced && !m_lines.isEmpty()) {
        QByteArrayView word, args;
        if (splitCommand(m_lines.constLast(), word, args) && !isWord(word, cmd::newplayerinfo) &&
            !isWord(word, cmd::existingplayers))
            settle();
    }
}

void JoinAttempt::handle(const QByteArray& line) {
    QByteArrayView word, args;
    const bool command = splitCommand(line, word, args);
    if (m_stage == Stage::LoggedIn) {
        if (command && isWord(word, cmd::wrongversion)) return fail(Failure::WrongVersion);
        m_lines.append(line);
        if (command && isWord(word, cmd::newplayerinfo) &&
            FieldReader(args).number(1, kMaxSlots) == m_slot && !m_announced) {
            m_announced = true;
            m_deadline.stop();
            m_settle.start();
        }
        return;
    }
    // Before the login only the words of admission mean anything.
    if (!command) return;
    if (isWord(word, cmd::full)) return fail(Failure::Full);
    if (isWord(word, cmd::wrongpassword)) return fail(Failure::PasswordWrong);
    if (isWord(word, cmd::lockedout)) return fail(Failure::LockedOut);
    if (isWord(word, cmd::password)) {
        if (m_target.password.isEmpty()) return fail(Failure::PasswordNeeded);
        // A host asks once; asking again means it did not take the answer.
        if (m_stage == Stage::PasswordSent) return fail(Failure::PasswordWrong);
        m_stage = Stage::PasswordSent;
        m_deadline.start();
        m_sock->Send(MessageBuilder(cmd::password).field(m_target.password.toUtf8()).done(false));
        return;
    }
    if (isWord(word, cmd::sendlogininfo)) {
        const std::optional<int> slot = FieldReader(args).number(1, kMaxSlots);
        if (!slot) return;
        m_slot = *slot;
        m_stage = Stage::LoggedIn;
        m_deadline.start();
        m_sock->Send(loginReply(m_slot, loginname()));
    }
}

void JoinAttempt::settle() {
    if (m_stage != Stage::LoggedIn || !m_announced) return;
    m_settle.stop();
    m_deadline.stop();
    m_stage = Stage::Done;
    emit admitted();
}

void JoinAttempt::fail(Failure failure, const QString& detail) {
    if (m_stage == Stage::Done) return;
    m_stage = Stage::Done;
    m_deadline.stop();
    m_settle.stop();
    m_lines.clear();
    if (m_sock) {
        m_sock->disconnect(this);
        try {
            m_sock->Close();
        } catch (const ESockException&) {
        }
    }
    emit failed(failure, failureText(failure, m_target, detail));
}

QString JoinAttempt::failureText(Failure failure, const JoinTarget& t, const QString& detail) {
    const QString where = QStringLiteral("%1 port %2").arg(t.host).arg(t.port);
    switch (failure) {
    case Failure::NothingListens:
        return QStringLiteral("Nothing answers at %1: no game is hosted there, or a firewall "
                              "turns players away. Check the address and the port.")
            .arg(where);
    case Failure::NotFound:
        return QStringLiteral("The address \"%1\" cannot be found. Check how it is spelt.")
            .arg(t.host);
    case Failure::NoAnswer:
        return QStringLiteral("No answer from %1 within %2 seconds. The address may be wrong, "
                              "or a firewall keeps players out.")
            .arg(where)
            .arg(kAnswerMs / 1000);
    case Failure::Unreachable:
        return QStringLiteral("%1 cannot be reached from this machine. Check the network "
                              "connection and the address.")
            .arg(t.host);
    case Failure::Full:
        return QStringLiteral("Game is full: every seat and every place to watch at this table "
                              "is taken.");
    case Failure::WrongVersion:
        return QStringLiteral("This table runs a different version of Euchre than yours (%1). "
                              "Everyone at a table needs the same version.")
            .arg(QLatin1String(kGameVersion));
    case Failure::PasswordWrong:
        return QStringLiteral("Wrong password: the host did not let you in. Ask the host for "
                              "the table's password.");
    case Failure::PasswordNeeded:
        return QStringLiteral("This table is private. Enter its password and try again.");
    case Failure::LockedOut:
        return QStringLiteral("Too many wrong passwords from this machine: the host turns it "
                              "away for a minute. Wait a minute, then try the right password.");
    case Failure::Closed:
        return QStringLiteral("The host at %1 closed the connection before letting you in.")
            .arg(where);
    case Failure::Other:
        break;
    }
    return QStringLiteral("Could not join %1: %2.").arg(where, detail);
}

} // namespace euchre
