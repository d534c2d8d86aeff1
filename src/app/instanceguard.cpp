// The single-instance guard on a local socket.
#include "instanceguard.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTimer>
#include <memory>
#include <optional>

namespace euchre {

namespace {

// A later copy only has to reach the first one on this machine; when that
// takes longer than this, the first copy is not answering.
constexpr int connectTimeoutMs = 1000;
constexpr int writeTimeoutMs = 1000;

// Any line a well-behaved later copy sends fits in this (an argument line is
// the longest); a connection that sends more without ending its line is not
// one of ours.
constexpr qint64 maxRequestSize = 1400;
// A later copy sends its request at once; one that stays silent is dropped.
constexpr int idleTimeoutMs = 5000;

// Socket names become file names on some systems: keep them plain.
QString plainName(const QString& name) {
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    QString safe = name;
    safe.replace(unsafe, QStringLiteral("_"));
    return safe.left(80);
}

// An "arg " line: the argument, or nothing when the line is not one.
std::optional<QString> readArgument(const QByteArray& line) {
    const QByteArrayView prefix(InstanceGuard::argumentPrefix);
    if (!line.startsWith(prefix) || !line.endsWith('\n')) return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(line.mid(prefix.size()).chopped(1),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() > InstanceGuard::maxArgumentBytes) return std::nullopt;
    return QString::fromUtf8(decoded.decoded);
}

} // namespace

QString InstanceGuard::defaultName() {
    const QString instance = qEnvironmentVariable("EUCHRE_INSTANCE");
    if (!instance.isEmpty()) return plainName(instance);
    // One running copy per user, not per machine: another user's copy must
    // neither be activated nor stop ours.
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty()) user = QDir::home().dirName();
    return plainName(QStringLiteral("77morb-") + user);
}

InstanceGuard::InstanceGuard(QString name, QObject* parent)
    : QObject(parent), m_name(plainName(name)) {}

InstanceGuard::~InstanceGuard() = default;

bool InstanceGuard::isListening() const {
    return m_server && m_server->isListening();
}

InstanceGuard::Probe InstanceGuard::askRunningCopy(const QStringList& handOver) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(connectTimeoutMs)) {
        // A name that exists but refuses us was left by a copy that is gone.
        return socket.error() == QLocalSocket::ConnectionRefusedError ? Probe::Stale
                                                                      : Probe::Nobody;
    }
    for (const QString& arg : handOver.mid(0, maxArguments)) {
        const QByteArray bytes = arg.toUtf8();
        if (bytes.size() <= maxArgumentBytes)
            socket.write(argumentPrefix + bytes.toBase64() + '\n');
    }
    socket.write(activateRequest);
    socket.waitForBytesWritten(writeTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(writeTimeoutMs);
    return Probe::Answered;
}

bool InstanceGuard::tryBecomeFirst(const QStringList& handOver) {
    if (isListening()) return true;
    if (!m_server) {
        m_server = new QLocalServer(this);
        // Only this user's copies may talk to the guard.
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &InstanceGuard::acceptConnections);
    }
    // Two rounds: a copy starting at the same moment may take the name
    // between our look and our claim; then it is the one to hand over to.
    for (int round = 0; round < 2; ++round) {
        switch (askRunningCopy(handOver)) {
        case Probe::Answered:
            return false;
        case Probe::Stale:
            QLocalServer::removeServer(m_name);
            break;
        case Probe::Nobody:
            break;
        }
        if (m_server->listen(m_name)) return true;
        if (m_server->serverError() != QAbstractSocket::AddressInUseError) break;
    }
    // Without a guard the copy still runs; at worst two copies run at once.
    return true;
}

void InstanceGuard::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(idleTimeoutMs, socket, &QLocalSocket::abort);
        // The arguments of this connection's request, until its "activate".
        auto handed = std::make_shared<QStringList>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, handed] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine(maxRequestSize + 1);
                if (line == activateRequest) {
                    const QStringList arguments = std::exchange(*handed, {});
                    emit activationRequested();
                    if (!arguments.isEmpty()) emit argumentsHandedOver(arguments);
                    continue;
                }
                const std::optional<QString> arg = readArgument(line);
                // Anything else is not one of ours.
                if (!arg || handed->size() >= maxArguments) {
                    socket->abort();
                    return;
                }
                handed->append(*arg);
            }
            if (socket->bytesAvailable() > maxRequestSize) socket->abort();
        });
    }
}

} // namespace euchre
