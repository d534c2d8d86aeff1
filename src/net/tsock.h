// TSock: the program's socket component over Qt's TCP classes. It keeps its
// own buffers and reports progress through OnInfo with fixed texts and codes;
// misuse raises ESockException.
#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QPointer>
#include <QString>
#include <stdexcept>

class QTcpServer;
class QTcpSocket;

class ESockException : public std::runtime_error {
public:
    explicit ESockException(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// The symbolic name of a socket error number for code-7 reports
// ("WSAECONNRESET" for 10054); "UNKNOWN ERROR" for numbers without one.
QString socketErrorName(int code);

class TSock : public QObject {
    Q_OBJECT
public:
    enum SocketType { stStream, stDatagram };

    // Largest piece taken from the network in one read.
    static constexpr int kReceiveChunk = 32768;
    // How long a closed connection may go on flushing what Send queued.
    static constexpr int kCloseGraceMs = 5000;

    explicit TSock(QObject* parent = nullptr);
    ~TSock() override;

    SocketType socketType() const { return m_type; }
    void setSocketType(SocketType type); // throws while connected or listening

    QString HostName() const { return m_hostName; }
    void setHostName(const QString& name);
    QString PortName() const { return m_portName; }
    void setPortName(const QString& name);

    bool Listen() const { return m_listening; }
    void setListen(bool on); // throws ESockException
    bool Connected() const { return m_connected; }

    // Port actually bound while listening (useful with PortName "0").
    quint16 listeningPort() const;

    bool Open();                       // connect; result: the connected flag
    bool Send(const QByteArray& text); // queue and send; throws when not connected
    QByteArray Receive();              // whole incoming buffer, emptied
    // Bytes taken as if the network had brought them, read event and all:
    // drives a reader of this component without a network (the fuzzers).
    void deliver(QByteArrayView bytes);
    bool Accept(TSock*& newSocket); // one waiting connection into a new TSock
    bool Close();                   // reports "Socket Closed" unless listening

    // Bytes handed to Send that the peer has not taken yet.
    qint64 unsentBytes() const;
    // Waits at most msecs for those bytes to go out; for a program that is
    // ending and will run no event loop again. True when all went.
    bool flushPending(int msecs);

    int Tag = 0;

signals:
    void OnConnect(TSock* sender);
    void OnDisconnect(TSock* sender);
    void OnAccept(TSock* sender);
    void OnWrite(TSock* sender);
    void OnRead(TSock* sender, int count);
    void OnInfo(TSock* sender, int code, const QString& text);

private:
    void info(int code, const QString& text);
    void adoptSocket(QTcpSocket* socket);
    void releaseSocket();
    void onReadyRead();
    void onSocketDisconnected();
    void onSocketError(QAbstractSocket::SocketError error);
    void onConnected();
    void onBytesWritten();
    void onNewConnection();
    void catchUp(QTcpSocket* socket);
    quint16 resolvePort();
    QString resolveHost();

    SocketType m_type = stStream;
    QString m_hostName;
    QString m_portName;
    bool m_listening = false;
    bool m_connected = false;
    QTcpServer* m_server = nullptr;
    QPointer<QTcpSocket> m_socket;
    QByteArray m_incoming;
};
