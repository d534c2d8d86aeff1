// TSock over QTcpServer and QTcpSocket: readiness arrives as Qt signals on the
// event loop and is turned into the component's own events, reports and
// exceptions.
#include "net/tsock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <array>
#include <exception>
#include <limits>
#include <utility>

Q_LOGGING_CATEGORY(lcSock, "euchre.net.sock")

namespace {

struct ErrorName {
    int code;
    const char* name;
};

// The socket layer's own names for its error numbers, in number order.
constexpr std::array<ErrorName, 51> kErrorNames{{
    {10004, "WSAEINTR"},           {10009, "WSAEBADF"},        {10013, "WSAEACCES"},
    {10014, "WSAEFAULT"},          {10022, "WSAEINVAL"},       {10024, "WSAEMFILE"},
    {10035, "WSAEWOULDBLOCK"},     {10036, "WSAEINPROGRESS"},  {10037, "WSAEALREADY"},
    {10038, "WSAENOTSOCK"},        {10039, "WSAEDESTADDRREQ"}, {10040, "WSAEMSGSIZE"},
    {10041, "WSAEPROTOTYPE"},      {10042, "WSAENOPROTOOPT"},  {10043, "WSAEPROTONOSUPPORT"},
    {10044, "WSAESOCKTNOSUPPORT"}, {10045, "WSAEOPNOTSUPP"},   {10046, "WSAEPFNOSUPPORT"},
    {10047, "WSAEAFNOSUPPORT"},    {10048, "WSAEADDRINUSE"},   {10049, "WSAEADDRNOTAVAIL"},
    {10050, "WSAENETDOWN"},        {10051, "WSAENETUNREACH"},  {10052, "WSAENETRESET"},
    {10053, "WSAECONNABORTED"},    {10054, "WSAECONNRESET"},   {10055, "WSAENOBUFS"},
    {10056, "WSAEISCONN"},         {10057, "WSAENOTCONN"},     {10058, "WSAESHUTDOWN"},
    {10059, "WSAETOOMANYREFS"},    {10060, "WSAETIMEDOUT"},    {10061, "WSAECONNREFUSED"},
    {10062, "WSAELOOP"},           {10063, "WSAENAMETOOLONG"}, {10064, "WSAEHOSTDOWN"},
    {10065, "WSAEHOSTUNREACH"},    {10066, "WSAENOTEMPTY"},    {10067, "WSAEPROCLIM"},
    {10068, "WSAEUSERS"},          {10069, "WSAEDQUOT"},       {10070, "WSAESTALE"},
    {10071, "WSAEREMOTE"},         {10091, "WSASYSNOTREADY"},  {10092, "WSAVERNOTSUPPORTED"},
    {10093, "WSANOTINITIALISED"},  {10101, "WSAEDISCON"},      {11001, "WSAHOST_NOT_FOUND"},
    {11002, "WSATRY_AGAIN"},       {11003, "WSANO_RECOVERY"},  {11004, "WSANO_DATA"},
}};

// Qt's error kinds as the socket layer's numbers, so reports read the same
// whatever the platform underneath.
int socketLayerNumber(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionRefusedError:
        return 10061;
    case QAbstractSocket::RemoteHostClosedError:
    case QAbstractSocket::ProxyConnectionClosedError:
        return 10054;
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::ProxyNotFoundError:
        return 11001;
    case QAbstractSocket::SocketAccessError:
    case QAbstractSocket::ProxyAuthenticationRequiredError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::ProxyConnectionTimeoutError:
        return 10060;
    case QAbstractSocket::DatagramTooLargeError:
        return 10040;
    case QAbstractSocket::NetworkError:
        return 10050;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045;
    case QAbstractSocket::UnfinishedSocketOperationError:
        return 10036;
    case QAbstractSocket::TemporaryError:
        return 10035;
    case QAbstractSocket::ProxyProtocolError:
        return 10053;
    default:
        return 10022;
    }
}

// Game messages are short and answered at once: send them without waiting to
// fill a packet.
void setLowDelay(QTcpSocket* socket) {
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

QString errorReport(int number) {
    return QStringLiteral("Error #%1 (%2)").arg(number).arg(socketErrorName(number));
}

// Runs an event handler body so that nothing thrown escapes into Qt's event
// loop; the socket's owner sees the failure in the log.
template <typename F> void guarded(const char* where, F&& body) noexcept {
    try {
        std::forward<F>(body)();
    } catch (const std::exception& e) {
        qCWarning(lcSock) << where << e.what();
    } catch (...) {
        qCWarning(lcSock) << where << "unknown exception";
    }
}

// A socket we no longer want: let it flush what Send queued, then go. The
// application keeps it until then, so it never outlives the program.
void retire(QTcpSocket* socket) {
    socket->setParent(QCoreApplication::instance());
    if (socket->state() != QAbstractSocket::ConnectedState) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(TSock::kCloseGraceMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
}

} // namespace

QString socketErrorName(int code) {
    for (const ErrorName& entry : kErrorNames)
        if (entry.code == code) return QString::fromLatin1(entry.name);
    return QStringLiteral("UNKNOWN ERROR");
}

TSock::TSock(QObject* parent) : QObject(parent) {}

TSock::~TSock() {
    if (!m_server && !m_socket) return;
    try {
        Close();
    } catch (...) {
        // An OnInfo handler failed while we were going away; nothing to tell.
    }
}

void TSock::setSocketType(SocketType type) {
    if (m_connected)
        throw ESockException(
            QStringLiteral("SocketType - Can't Assign Socket Type While Connected"));
    if (m_listening)
        throw ESockException(
            QStringLiteral("SocketType - Can't Assign Socket Type While Listening"));
    m_type = type;
}

void TSock::setHostName(const QString& name) {
    if (m_connected && m_type == stStream)
        info(0, QStringLiteral("Setting HostName While Connected Has No Effect"));
    m_hostName = name;
}

void TSock::setPortName(const QString& name) {
    if (m_connected && m_type == stStream)
        info(0, QStringLiteral("Setting PortName While Connected Has No Effect"));
    m_portName = name;
}

quint16 TSock::listeningPort() const {
    return m_server ? m_server->serverPort() : 0;
}

qint64 TSock::unsentBytes() const {
    return m_socket ? m_socket->bytesToWrite() : 0;
}

bool TSock::flushPending(int msecs) {
    if (!m_socket) return true;
    QElapsedTimer clock;
    clock.start();
    m_socket->flush();
    while (m_socket && m_socket->bytesToWrite() > 0) {
        const qint64 left = msecs - clock.elapsed();
        if (left <= 0 || !m_socket->waitForBytesWritten(static_cast<int>(left))) break;
    }
    return !m_socket || m_socket->bytesToWrite() == 0;
}

void TSock::info(int code, const QString& text) {
    try {
        emit OnInfo(this, code, text);
    } catch (...) {
        throw ESockException(QStringLiteral("Error here"));
    }
}

quint16 TSock::resolvePort() {
    info(0, QStringLiteral("Lookup Of Port ") + m_portName);
    if (m_portName.isEmpty() || !m_portName.front().isDigit())
        // Service names are not looked up: the program only ever names ports
        // by number.
        throw ESockException(QStringLiteral("Port Lookup - Could Not Find Service Entry"));
    // Like the classic conversion, read the leading digits and stop at the
    // first other character.
    qint64 port = 0;
    for (QChar c : m_portName) {
        if (c < u'0' || c > u'9') break;
        port = port * 10 + (c.unicode() - u'0');
        if (port > 65535)
            throw ESockException(QStringLiteral("Port Lookup - Could Not Find Service Entry"));
    }
    return static_cast<quint16>(port);
}

QString TSock::resolveHost() {
    info(0, QStringLiteral("Lookup Of Host ") + m_hostName);
    if (m_hostName.isEmpty()) return QStringLiteral("0.0.0.0");
    if (m_hostName.front().isDigit()) {
        QHostAddress address;
        // Numbers are an address, never a name to look up: IPv4, or an IPv6
        // address as a table found on the network may have.
        if (!address.setAddress(m_hostName) ||
            (address.protocol() != QAbstractSocket::IPv4Protocol &&
             address.protocol() != QAbstractSocket::IPv6Protocol))
            throw ESockException(QStringLiteral("Host Lookup - Could Not Find Host Entry"));
        return address.toString();
    }
    if (m_hostName.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("127.0.0.1");
    // Any other name goes to Qt as it stands: it resolves without stopping
    // the event loop, and a failure arrives as a code-7 report.
    return m_hostName;
}

void TSock::setListen(bool on) {
    if (!on) {
        if (!m_listening) return;
        m_listening = false;
        Close();
        info(3, QStringLiteral("Listening Stopped"));
        return;
    }
    if (m_listening) {
        info(3, QStringLiteral("Listening Already Running"));
        return;
    }
    if (m_socket) throw ESockException(QStringLiteral("Listen - Socket Already In Use"));
    if (m_type == stDatagram)
        throw ESockException(QStringLiteral("Listen - Cannot Listen On A Datagram Socket"));
    const quint16 port = resolvePort();
    auto* server = new QTcpServer(this);
    if (!server->listen(QHostAddress::Any, port)) {
        delete server;
        throw ESockException(QStringLiteral("Listen - Error Binding Socket"));
    }
    m_server = server;
    m_listening = true;
    connect(server, &QTcpServer::newConnection, this,
            [this] { guarded("OnAccept", [this] { onNewConnection(); }); });
    connect(server, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError error) {
        guarded("accept error", [&] { info(7, errorReport(socketLayerNumber(error))); });
    });
    info(3, QStringLiteral("Listening Started"));
}

bool TSock::Open() {
    if (m_socket || m_server) return m_connected;
    // Only stream sockets are built; the program never opens any other kind.
    if (m_type != stStream) return false;
    const quint16 port = resolvePort();
    const QString host = resolveHost();
    auto* socket = new QTcpSocket(this);
    adoptSocket(socket);
    socket->connectToHost(host, port);
    return m_connected;
}

bool TSock::Send(const QByteArray& text) {
    if (m_listening)
        throw ESockException(QStringLiteral("Send - Cannot Send On A Listener Socket"));
    if (!m_socket) throw ESockException(QStringLiteral("Send - Socket Not Connected"));
    if (text.isEmpty() && m_socket->bytesToWrite() == 0) return true;
    // Qt's write buffer is the outgoing buffer: it keeps what the network
    // has not taken and goes on when the socket becomes writable again.
    if (!text.isEmpty() && m_socket->write(text) < 0)
        throw ESockException(QStringLiteral("Send - Socket Error"));
    info(5, QStringLiteral("Non-Blocking Outgoing Data"));
    return true;
}

QByteArray TSock::Receive() {
    if (m_listening)
        throw ESockException(QStringLiteral("Receive - Cannot Receive On A Listener Socket"));
    if (!m_socket && m_incoming.isEmpty())
        throw ESockException(QStringLiteral("Receive - Socket Not Connected"));
    return std::exchange(m_incoming, QByteArray());
}

bool TSock::Accept(TSock*& newSocket) {
    newSocket = nullptr;
    if (!m_listening || !m_server)
        throw ESockException(QStringLiteral("Accept - Socket Not In Listening Mode"));
    QTcpSocket* socket = m_server->nextPendingConnection();
    if (!socket) {
        info(6, QStringLiteral("Could Not Accept Connection"));
        return false;
    }
    auto* accepted = new TSock;
    accepted->m_type = m_type;
    accepted->m_portName = m_portName;
    QHostAddress peer = socket->peerAddress();
    bool isV4 = false;
    const quint32 v4 = peer.toIPv4Address(&isV4);
    if (isV4) peer = QHostAddress(v4);
    accepted->m_hostName = peer.toString();
    accepted->adoptSocket(socket);
    accepted->m_connected = true;
    // Whatever came in while the connection waited for us was signalled to
    // nobody; look again once the caller has connected its handlers.
    QTimer::singleShot(0, accepted, [accepted, socket] {
        guarded("accept catch-up", [&] { accepted->catchUp(socket); });
    });
    newSocket = accepted;
    info(6, QStringLiteral("Created New TSock Structure"));
    return true;
}

bool TSock::Close() {
    const bool wasListening = m_listening;
    m_listening = false;
    m_connected = false;
    if (m_server) {
        QTcpServer* server = std::exchange(m_server, nullptr);
        server->disconnect(this);
        server->close();
        server->deleteLater();
    }
    releaseSocket();
    if (!wasListening) info(2, QStringLiteral("Socket Closed"));
    return true;
}

void TSock::adoptSocket(QTcpSocket* socket) {
    socket->setParent(this);
    // Qt reads no more than one chunk ahead of us; the rest waits in the
    // system, which slows a peer that sends faster than we take it.
    socket->setReadBufferSize(kReceiveChunk);
    if (socket->state() == QAbstractSocket::ConnectedState) setLowDelay(socket);
    m_socket = socket;
    connect(socket, &QTcpSocket::readyRead, this,
            [this] { guarded("OnRead", [this] { onReadyRead(); }); });
    connect(socket, &QTcpSocket::connected, this,
            [this] { guarded("OnConnect", [this] { onConnected(); }); });
    connect(socket, &QTcpSocket::disconnected, this,
            [this] { guarded("OnDisconnect", [this] { onSocketDisconnected(); }); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        guarded("OnInfo", [&] { onSocketError(error); });
    });
    connect(socket, &QTcpSocket::bytesWritten, this,
            [this] { guarded("OnWrite", [this] { onBytesWritten(); }); });
}

void TSock::releaseSocket() {
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    if (!socket) return;
    socket->disconnect(this);
    retire(socket);
}

void TSock::catchUp(QTcpSocket* socket) {
    if (m_socket != socket) return;
    QPointer<TSock> self(this);
    if (socket->bytesAvailable() > 0) onReadyRead();
    if (self && m_socket == socket && socket->state() == QAbstractSocket::UnconnectedState)
        onSocketDisconnected();
}

void TSock::deliver(QByteArrayView bytes) {
    m_incoming += bytes;
    emit OnRead(this, static_cast<int>(
                          qMin<qsizetype>(m_incoming.size(), std::numeric_limits<int>::max())));
}

void TSock::onReadyRead() {
    QPointer<TSock> self(this);
    QTcpSocket* socket = m_socket;
    // A handler may close or free us; stop as soon as the socket is not ours.
    while (self && socket && m_socket == socket && socket->bytesAvailable() > 0) {
        const QByteArray chunk = socket->read(kReceiveChunk);
        if (chunk.isEmpty()) break;
        m_incoming += chunk;
        info(4, QStringLiteral("Non-Blocking Incoming Data"));
        if (!self) return;
        emit OnRead(this, static_cast<int>(
                              qMin<qsizetype>(m_incoming.size(), std::numeric_limits<int>::max())));
    }
}

void TSock::onSocketDisconnected() {
    QPointer<TSock> self(this);
    QTcpSocket* socket = m_socket;
    if (!socket) return;
    // Bytes that came with the close are still the reader's.
    guarded("OnRead", [this] { onReadyRead(); });
    if (!self || m_socket != socket) return;
    guarded("OnDisconnect", [this] { emit OnDisconnect(this); });
    if (!self || m_socket != socket) return;
    Close();
}

void TSock::onSocketError(QAbstractSocket::SocketError error) {
    // An ordinary close by the peer (Qt also files a reset under it) comes
    // through the disconnected signal, which turns it into a close here.
    if (error == QAbstractSocket::RemoteHostClosedError) return;
    info(7, errorReport(socketLayerNumber(error)));
}

void TSock::onConnected() {
    if (m_socket) setLowDelay(m_socket);
    m_connected = true;
    QPointer<TSock> self(this);
    info(1, QStringLiteral("Non-Blocking Socket Connected"));
    if (self) emit OnConnect(this);
}

void TSock::onBytesWritten() {
    if (!m_socket) return;
    QPointer<TSock> self(this);
    // Still more queued: the write goes on, as a Send with nothing added would.
    if (m_socket->bytesToWrite() > 0) info(5, QStringLiteral("Non-Blocking Outgoing Data"));
    if (self) emit OnWrite(this);
}

void TSock::onNewConnection() {
    emit OnAccept(this);
}
