// The socket component over real loopback connections: listening, accepting,
// data both ways, the progress reports, closes, failures and misuse.
#include "net/tsock.h"

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

using Report = QPair<int, QString>;

// Records everything a TSock reports, in the order it happened.
struct Recorder {
    QList<Report> infos;
    QStringList events; // "info:<code>:<text>", "connect", "disconnect"
    QObject context;    // the recording stops when the recorder goes

    explicit Recorder(TSock* sock) {
        QObject::connect(sock, &TSock::OnInfo, &context,
                         [this](TSock*, int code, const QString& text) {
                             infos.append({code, text});
                             events.append(QStringLiteral("info:%1:%2").arg(code).arg(text));
                         });
        QObject::connect(sock, &TSock::OnConnect, &context,
                         [this](TSock*) { events.append(QStringLiteral("connect")); });
        QObject::connect(sock, &TSock::OnDisconnect, &context,
                         [this](TSock*) { events.append(QStringLiteral("disconnect")); });
    }
    bool saw(int code, const QString& text) const { return infos.contains(Report{code, text}); }
};

// The text of the ESockException the call raises, or an empty text.
QString thrown(const std::function<void()>& call) {
    try {
        call();
    } catch (const ESockException& e) {
        return e.text();
    }
    return {};
}

// A port nobody listens on: bind one, then let it go.
quint16 unusedPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

QByteArray pattern(int size, int variant) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) bytes[i] = char((i * 31 + variant * 7 + i / 251) & 0xFF);
    return bytes;
}

} // namespace

class TestTSock : public QObject {
    Q_OBJECT

private:
    // A listener on a system-chosen port whose OnAccept takes every
    // connection into `accepted`.
    std::unique_ptr<TSock> listener;
    QList<TSock*> accepted;

    void startListener() {
        listener = std::make_unique<TSock>();
        listener->setPortName(QStringLiteral("0"));
        connect(listener.get(), &TSock::OnAccept, this, [this](TSock* sender) {
            TSock* sock = nullptr;
            if (sender->Accept(sock)) accepted.append(sock);
        });
        listener->setListen(true);
        QVERIFY(listener->Listen());
        QVERIFY(listener->listeningPort() != 0);
    }

    std::unique_ptr<TSock> makeClient(const QString& host = QStringLiteral("127.0.0.1")) {
        auto client = std::make_unique<TSock>();
        client->setHostName(host);
        client->setPortName(QString::number(listener->listeningPort()));
        return client;
    }

private slots:
    void init() { startListener(); }

    void cleanup() {
        qDeleteAll(accepted);
        accepted.clear();
        listener.reset();
    }

    void errorNamesFollowTheSocketLayersList() {
        QCOMPARE(socketErrorName(10061), QStringLiteral("WSAECONNREFUSED"));
        QCOMPARE(socketErrorName(10054), QStringLiteral("WSAECONNRESET"));
        QCOMPARE(socketErrorName(11001), QStringLiteral("WSAHOST_NOT_FOUND"));
        QCOMPARE(socketErrorName(10035), QStringLiteral("WSAEWOULDBLOCK"));
        QCOMPARE(socketErrorName(10093), QStringLiteral("WSANOTINITIALISED"));
        for (int unnamed : {0, -1, 10000, 10005, 10072, 10090, 10094, 11000, 11005})
            QCOMPARE(socketErrorName(unnamed), QStringLiteral("UNKNOWN ERROR"));

        int named = 0;
        QSet<QString> names;
        for (int code = 9990; code <= 11100; ++code) {
            const QString name = socketErrorName(code);
            if (name == QLatin1String("UNKNOWN ERROR")) continue;
            ++named;
            names.insert(name);
        }
        QCOMPARE(named, 51);
        QCOMPARE(names.size(), 51);
    }

    void listeningReportsStartRepeatAndStop() {
        TSock sock;
        Recorder rec(&sock);
        sock.setPortName(QStringLiteral("0"));
        sock.setListen(true);
        QVERIFY(sock.listeningPort() != 0);
        sock.setListen(true);
        sock.setListen(false);
        QVERIFY(!sock.Listen());
        QCOMPARE(sock.listeningPort(), quint16(0));
        const QList<Report> expected{{0, QStringLiteral("Lookup Of Port 0")},
                                     {3, QStringLiteral("Listening Started")},
                                     {3, QStringLiteral("Listening Already Running")},
                                     {2, QStringLiteral("Socket Closed")},
                                     {3, QStringLiteral("Listening Stopped")}};
        QCOMPARE(rec.infos, expected);

        // Closing a listener directly says nothing about a closed socket.
        sock.setListen(true);
        rec.infos.clear();
        sock.Close();
        QVERIFY(!sock.Listen());
        QVERIFY(rec.infos.isEmpty());
    }

    void connectingReportsInOrderAndAcceptsThePeer() {
        Recorder listenerRec(listener.get());
        auto client = makeClient();
        Recorder rec(client.get());
        QSignalSpy connected(client.get(), &TSock::OnConnect);

        QVERIFY(!client->Open()); // connecting goes on in the background
        QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 1, 5000);
        QVERIFY(client->Connected());
        QVERIFY(client->Open()); // already open: only the flag comes back
        const QString port = QString::number(listener->listeningPort());
        const QStringList expected{QStringLiteral("info:0:Lookup Of Port ") + port,
                                   QStringLiteral("info:0:Lookup Of Host 127.0.0.1"),
                                   QStringLiteral("info:1:Non-Blocking Socket Connected"),
                                   QStringLiteral("connect")};
        QCOMPARE(rec.events, expected);

        QTRY_COMPARE_WITH_TIMEOUT(accepted.size(), 1, 5000);
        TSock* server = accepted.first();
        QVERIFY(server->Connected());
        QCOMPARE(server->HostName(), QStringLiteral("127.0.0.1"));
        QCOMPARE(server->PortName(), QStringLiteral("0"));
        QVERIFY(listenerRec.saw(6, QStringLiteral("Created New TSock Structure")));

        rec.infos.clear();
        client->setHostName(QStringLiteral("10.0.0.1"));
        QCOMPARE(rec.infos.value(0), Report(0, "Setting HostName While Connected Has No Effect"));
        QCOMPARE(client->HostName(), QStringLiteral("10.0.0.1"));
    }

    void dataTravelsBothWays() {
        auto client = makeClient(QStringLiteral("localhost"));
        Recorder rec(client.get());
        client->Open();
        QTRY_VERIFY_WITH_TIMEOUT(client->Connected() && accepted.size() == 1, 5000);
        QVERIFY(rec.saw(0, QStringLiteral("Lookup Of Host localhost")));
        TSock* server = accepted.first();
        Recorder serverRec(server);

        QByteArray atServer;
        connect(server, &TSock::OnRead, this, [&](TSock* s, int count) {
            QVERIFY(count > 0);
            atServer += s->Receive();
        });
        QVERIFY(client->Send("CMD_login+Ann+\xFF"));
        QVERIFY(rec.saw(5, QStringLiteral("Non-Blocking Outgoing Data")));
        QTRY_COMPARE_WITH_TIMEOUT(atServer, QByteArray("CMD_login+Ann+\xFF"), 5000);
        QVERIFY(serverRec.saw(4, QStringLiteral("Non-Blocking Incoming Data")));

        QSignalSpy clientReads(client.get(), &TSock::OnRead);
        server->Send("CMD_welcome+1+\xFF");
        QTRY_VERIFY_WITH_TIMEOUT(!clientReads.isEmpty(), 5000);
        QCOMPARE(client->Receive(), QByteArray("CMD_welcome+1+\xFF"));
        QCOMPARE(client->Receive(), QByteArray()); // the buffer was emptied
        QTRY_COMPARE_WITH_TIMEOUT(client->unsentBytes(), qint64(0), 5000);
    }

    void unreadDataGathersUntilReceive() {
        auto client = makeClient();
        client->Open();
        QTRY_VERIFY_WITH_TIMEOUT(client->Connected() && accepted.size() == 1, 5000);
        TSock* server = accepted.first();
        QSignalSpy reads(server, &TSock::OnRead);

        // Two messages, nobody reading in between: one Receive gets both.
        const QByteArray two("CMD_chat+1+hi+\xFF"
                             "CMD_chat+2+ho+\xFF");
        client->Send(two.left(15));
        client->Send(two.mid(15));
        QTRY_VERIFY_WITH_TIMEOUT(!reads.isEmpty() && reads.last().at(1).toInt() == two.size(),
                                 5000);
        QCOMPARE(server->Receive(), two);

        // A message split in two sends arrives as two reads, in order.
        reads.clear();
        client->Send("CMD_playcard+2");
        QTRY_COMPARE_WITH_TIMEOUT(reads.size(), 1, 5000);
        QCOMPARE(reads.first().at(1).toInt(), 14);
        QCOMPARE(server->Receive(), QByteArray("CMD_playcard+2"));
        client->Send("+3+\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(reads.size(), 2, 5000);
        QCOMPARE(reads.last().at(1).toInt(), 4);
        QCOMPARE(server->Receive(), QByteArray("+3+\xFF"));
    }

    void closingReportsAndThePeerSeesDisconnectThenClose() {
        auto client = makeClient();
        Recorder rec(client.get());
        client->Open();
        QTRY_VERIFY_WITH_TIMEOUT(client->Connected() && accepted.size() == 1, 5000);
        TSock* server = accepted.first();
        Recorder serverRec(server);
        QByteArray atServer;
        connect(server, &TSock::OnRead, this, [&](TSock* s, int) { atServer += s->Receive(); });

        rec.events.clear();
        client->Send("CMD_bye+\xFF");
        QVERIFY(client->Close());
        QVERIFY(!client->Connected());
        QCOMPARE(rec.events.last(), QStringLiteral("info:2:Socket Closed"));
        QVERIFY(!rec.events.contains(QStringLiteral("disconnect")));

        QTRY_VERIFY_WITH_TIMEOUT(serverRec.saw(2, QStringLiteral("Socket Closed")), 5000);
        QCOMPARE(atServer, QByteArray("CMD_bye+\xFF")); // read before the close
        const qsizetype disconnectAt = serverRec.events.indexOf(QStringLiteral("disconnect"));
        QVERIFY(disconnectAt >= 0);
        QCOMPARE(
            serverRec.events.mid(disconnectAt),
            QStringList({QStringLiteral("disconnect"), QStringLiteral("info:2:Socket Closed")}));
        QVERIFY(!server->Connected());

        // Closing again still reports, and a closed socket refuses to send.
        rec.infos.clear();
        client->Close();
        QCOMPARE(rec.infos, QList<Report>({{2, QStringLiteral("Socket Closed")}}));
        QCOMPARE(thrown([&] { client->Send("x"); }), QStringLiteral("Send - Socket Not Connected"));
    }

    void refusedConnectGivesOnlyAnErrorReport() {
        const quint16 port = unusedPort();
        QVERIFY(port != 0);
        TSock client;
        Recorder rec(&client);
        client.setHostName(QStringLiteral("127.0.0.1"));
        client.setPortName(QString::number(port));
        QVERIFY(!client.Open());
        QTRY_VERIFY_WITH_TIMEOUT(rec.saw(7, QStringLiteral("Error #10061 (WSAECONNREFUSED)")),
                                 5000);
        QTest::qWait(100); // room for any wrong report to follow
        QVERIFY(!client.Connected());
        QVERIFY(!rec.saw(2, QStringLiteral("Socket Closed")));
        QVERIFY(!rec.events.contains(QStringLiteral("disconnect")));
        QVERIFY(!rec.events.contains(QStringLiteral("connect")));
    }

    void misuseRaisesTheComponentsExceptions() {
        TSock fresh;
        QCOMPARE(thrown([&] { fresh.Send("x"); }), QStringLiteral("Send - Socket Not Connected"));
        QCOMPARE(thrown([&] { fresh.Receive(); }),
                 QStringLiteral("Receive - Socket Not Connected"));
        TSock* none = reinterpret_cast<TSock*>(1);
        QCOMPARE(thrown([&] { fresh.Accept(none); }),
                 QStringLiteral("Accept - Socket Not In Listening Mode"));
        QCOMPARE(none, nullptr);

        Recorder listenerRec(listener.get());
        QVERIFY(!listener->Accept(none)); // nobody waiting
        QCOMPARE(listenerRec.infos, QList<Report>({{6, "Could Not Accept Connection"}}));

        QCOMPARE(thrown([&] { listener->Send("x"); }),
                 QStringLiteral("Send - Cannot Send On A Listener Socket"));
        QCOMPARE(thrown([&] { listener->Receive(); }),
                 QStringLiteral("Receive - Cannot Receive On A Listener Socket"));
        QCOMPARE(thrown([&] { listener->setSocketType(TSock::stDatagram); }),
                 QStringLiteral("SocketType - Can't Assign Socket Type While Listening"));

        TSock second;
        second.setPortName(QString::number(listener->listeningPort()));
        QCOMPARE(thrown([&] { second.setListen(true); }),
                 QStringLiteral("Listen - Error Binding Socket"));
        QVERIFY(!second.Listen());

        TSock named;
        named.setPortName(QStringLiteral("no-such-service"));
        QCOMPARE(thrown([&] { named.setListen(true); }),
                 QStringLiteral("Port Lookup - Could Not Find Service Entry"));
        named.setPortName(QStringLiteral("70000"));
        QCOMPARE(thrown([&] { named.Open(); }),
                 QStringLiteral("Port Lookup - Could Not Find Service Entry"));

        TSock badHost;
        badHost.setPortName(QStringLiteral("7772"));
        badHost.setHostName(QStringLiteral("300.1.2.3"));
        QCOMPARE(thrown([&] { badHost.Open(); }),
                 QStringLiteral("Host Lookup - Could Not Find Host Entry"));
        QCOMPARE(thrown([&] { badHost.Send("x"); }), QStringLiteral("Send - Socket Not Connected"));

        auto client = makeClient();
        client->Open();
        QCOMPARE(thrown([&] { client->setListen(true); }),
                 QStringLiteral("Listen - Socket Already In Use"));
        QTRY_VERIFY_WITH_TIMEOUT(client->Connected(), 5000);
        QCOMPARE(thrown([&] { client->setSocketType(TSock::stDatagram); }),
                 QStringLiteral("SocketType - Can't Assign Socket Type While Connected"));
    }

    void bigSendReachesASlowReaderWhole() {
        // The reader is a plain socket that takes little at a time, so the
        // sender's data has to wait in its outgoing buffer.
        QTcpServer rawServer;
        QVERIFY(rawServer.listen(QHostAddress::LocalHost, 0));
        TSock client;
        client.setHostName(QStringLiteral("127.0.0.1"));
        client.setPortName(QString::number(rawServer.serverPort()));
        client.Open();
        QTRY_VERIFY_WITH_TIMEOUT(client.Connected() && rawServer.hasPendingConnections(), 5000);
        std::unique_ptr<QTcpSocket> reader(rawServer.nextPendingConnection());
        reader->setReadBufferSize(16384);

        QByteArray sent;
        for (int part = 0; part < 48; ++part) {
            const QByteArray piece = pattern(65536 + part, part);
            client.Send(piece);
            sent += piece;
        }
        QVERIFY(client.unsentBytes() > 0);

        QByteArray got;
        QTimer slow;
        connect(&slow, &QTimer::timeout, reader.get(), [&] { got += reader->read(65536); });
        slow.start(1);
        QTRY_COMPARE_WITH_TIMEOUT(got.size(), sent.size(), 60000);
        slow.stop();
        QVERIFY(got == sent);
        QCOMPARE(client.unsentBytes(), qint64(0));
    }

    void closeRightAfterSendStillDelivers() {
        auto client = makeClient();
        client->Open();
        QTRY_VERIFY_WITH_TIMEOUT(client->Connected() && accepted.size() == 1, 5000);
        TSock* server = accepted.first();
        QByteArray atServer;
        connect(server, &TSock::OnRead, this, [&](TSock* s, int) { atServer += s->Receive(); });
        QSignalSpy gone(server, &TSock::OnDisconnect);

        const QByteArray payload = pattern(3 * 1024 * 1024, 5);
        client->Send(payload);
        client->Close();
        client.reset(); // freeing the component must not cut the flush short
        QTRY_COMPARE_WITH_TIMEOUT(gone.size(), 1, 30000);
        QCOMPARE(atServer.size(), payload.size());
        QVERIFY(atServer == payload);
    }

    void handlersMayFreeTheSocket() {
        auto client = makeClient();
        client->Open();
        QTRY_VERIFY_WITH_TIMEOUT(client->Connected() && accepted.size() == 1, 5000);
        QPointer<TSock> server = accepted.takeFirst();
        // The owner frees the connection from inside its own read event.
        connect(server, &TSock::OnRead, this, [](TSock* s, int) { delete s; });
        client->Send("CMD_x+\xFF");
        QTRY_VERIFY_WITH_TIMEOUT(server.isNull(), 5000);

        // And another one from inside its disconnect event, then the peer goes.
        auto other = makeClient();
        other->Open();
        QTRY_VERIFY_WITH_TIMEOUT(other->Connected() && accepted.size() == 1, 5000);
        QPointer<TSock> second = accepted.takeFirst();
        Recorder rec(second);
        connect(second, &TSock::OnDisconnect, this, [](TSock* s) { delete s; });
        other->Close();
        QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 5000);
        // Freed while handling the close: it closes once, as it goes, not twice.
        QCOMPARE(rec.events.count(QStringLiteral("info:2:Socket Closed")), 1);
        QVERIFY(rec.events.indexOf(QStringLiteral("disconnect")) <
                rec.events.indexOf(QStringLiteral("info:2:Socket Closed")));
    }

    void acceptedConnectionKeepsWhatArrivedBeforeHandlers() {
        // The listener accepts only later, after the peer has sent and left.
        TSock late;
        late.setPortName(QStringLiteral("0"));
        late.setListen(true);
        TSock client;
        client.setHostName(QStringLiteral("127.0.0.1"));
        client.setPortName(QString::number(late.listeningPort()));
        QSignalSpy waiting(&late, &TSock::OnAccept);
        client.Open();
        QTRY_VERIFY_WITH_TIMEOUT(client.Connected() && !waiting.isEmpty(), 5000);
        client.Send("CMD_early+\xFF");
        client.Close();
        QTest::qWait(100);

        TSock* raw = nullptr;
        QVERIFY(late.Accept(raw));
        std::unique_ptr<TSock> sock(raw);
        Recorder rec(sock.get());
        QByteArray got;
        connect(sock.get(), &TSock::OnRead, this, [&](TSock* s, int) { got += s->Receive(); });
        QTRY_VERIFY_WITH_TIMEOUT(rec.saw(2, QStringLiteral("Socket Closed")), 5000);
        QCOMPARE(got, QByteArray("CMD_early+\xFF"));
        QVERIFY(rec.events.indexOf(QStringLiteral("disconnect")) >= 0);
    }
};

QTEST_MAIN(TestTSock)
#include "tst_tsock.moc"
