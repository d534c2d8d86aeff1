// The host over real loopback connections: logins and their announcements,
// chat relays, framing across and within TCP writes, leaving in every way a
// connection can end, the refused tenth connection, and the socket-backed
// player connection the host is given for each accepted socket.
#include "host/tserver.h"
#include "host/tsocklink.h"
#include "integration/support/wirecheck.h"
#include "integration/support/wireclient.h"
#include "net/tsock.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QtTest>
#include <memory>
#include <vector>

using namespace euchre;
using namespace euchre::testing;

namespace {

constexpr int kWait = 10000; // generous bound for anything the event loop must deliver

QByteArray terminated(std::initializer_list<const char*> messages) {
    QByteArray out;
    for (const char* m : messages) {
        out.append(m);
        out.append('\xFF');
    }
    return out;
}

} // namespace

class HostNetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TServer> server;
    std::vector<std::unique_ptr<WireClient>> clients;

    quint16 port() const { return server->listeningPort(); }

    // Connects a new client and waits for the slot the host gives it.
    WireClient* arrive() {
        clients.push_back(std::make_unique<WireClient>());
        WireClient* c = clients.back().get();
        c->connectTo(port());
        if (!QTest::qWaitFor([c] { return c->slot() != 0 || c->isClosed(); }, kWait))
            qWarning("the host gave no slot in time");
        return c;
    }

    // Connects and logs in as the table window does (its login ends in two terminators).
    WireClient* join(const QByteArray& name) {
        WireClient* c = arrive();
        const QByteArray slot = QByteArray::number(c->slot());
        c->sendRaw("CMD_logininfo+" + slot + "+1.0.6+" + name + "\xFF\xFF");
        const QByteArray announced = "CMD_newplayerinfo+" + slot + "+" + name + "+0";
        const bool seen = QTest::qWaitFor(
            [c, announced] {
                for (const WireClient::Message& m : c->messages)
                    if (m.text == announced) return true;
                return false;
            },
            kWait);
        if (!seen) qWarning("the login of %s was not announced in time", name.constData());
        return c;
    }

    void forget(WireClient* c) { c->raw.clear(); }

    // Every message every client received must be well formed.
    void checkAllWellFormed() {
        for (const auto& c : clients)
            for (const WireClient::Message& m : c->messages) {
                const QString problem = wireProblem(m.text);
                QVERIFY2(problem.isEmpty(),
                         qPrintable(QString::fromLatin1(m.text) + QStringLiteral(": ") + problem));
            }
    }

private slots:
    void init() {
        server = std::make_unique<TServer>();
        QString error;
        QVERIFY2(server->startListening(0, &error), qPrintable(error));
        QVERIFY(port() != 0);
    }

    void cleanup() {
        checkAllWellFormed();
        clients.clear();
        server.reset();
    }

    void loginsAreAnnouncedWithExactBytes() {
        WireClient* ann = arrive();
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, QByteArray("CMD_sendlogininfo+1\xFF"), kWait);
        forget(ann);
        ann->sendRaw("CMD_logininfo+1+1.0.6+Ann\xFF\xFF");
        // The first player hears about itself and of nobody else.
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, QByteArray("CMD_newplayerinfo+1+Ann+0\xFF"), kWait);

        forget(ann);
        WireClient* bob = arrive();
        QTRY_COMPARE_WITH_TIMEOUT(bob->raw, QByteArray("CMD_sendlogininfo+2\xFF"), kWait);
        bob->sendRaw("CMD_logininfo+2+1.0.6+Bob\xFF\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(bob->raw,
                                  terminated({"CMD_sendlogininfo+2", "CMD_newplayerinfo+2+Bob+0",
                                              "CMD_existingplayers+1+Ann+0"}),
                                  kWait);
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, QByteArray("CMD_newplayerinfo+2+Bob+0\xFF"), kWait);

        // A different version is only a warning, to the hosting player and the newcomer.
        forget(ann);
        forget(bob);
        WireClient* old = arrive();
        old->sendRaw("CMD_logininfo+3+1.0.5+Old\xFF\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(
            old->raw,
            terminated({"CMD_sendlogininfo+3", "CMD_newplayerinfo+3+Old+0",
                        "CMD_existingplayers+1+Ann+0+2+Bob+0", "CMD_wrongversion+"}),
            kWait);
        QTRY_COMPARE_WITH_TIMEOUT(
            ann->raw, terminated({"CMD_newplayerinfo+3+Old+0", "CMD_havewrongversion+Old"}), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(bob->raw, QByteArray("CMD_newplayerinfo+3+Old+0\xFF"), kWait);
        QVERIFY(old->isConnected());
        QCOMPARE(server->playerslot[3].name, QByteArray("Old"));
    }

    void chatAndActionsReachEveryoneWithTheName() {
        WireClient* ann = join("Ann");
        WireClient* bob = join("Bob");
        forget(ann);
        forget(bob);

        // A chat text may hold "+": it is the rest of the line.
        bob->say("CMD_chat+2+two + two|clBlack");
        const QByteArray relayed("CMD_chat+2+Bob chats: two + two|clBlack\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, relayed, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(bob->raw, relayed, kWait); // the sender gets its line back

        // Three messages in one write are handled one by one, in order.
        forget(ann);
        forget(bob);
        ann->sendRaw(terminated({"CMD_action+1+waves|$00FF0000", "CMD_playasound+1+wave20+",
                                 "CMD_chat+1+third|clRed"}));
        const QByteArray three =
            terminated({"CMD_action+1+Ann waves|$00FF0000", "CMD_playasound+1+wave20+",
                        "CMD_chat+1+Ann chats: third|clRed"});
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, three, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(bob->raw, three, kWait);

        // A message cut across two writes is completed from the second.
        forget(ann);
        forget(bob);
        ann->sendRaw("CMD_chat+1+hal");
        QVERIFY(ann->socket.waitForBytesWritten(kWait) || ann->socket.bytesToWrite() == 0);
        QTest::qWait(100); // the host reads the first half on its own
        QCOMPARE(bob->raw, QByteArray());
        ann->sendRaw("ves|clBlue\xFF");
        const QByteArray whole("CMD_chat+1+Ann chats: halves|clBlue\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, whole, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(bob->raw, whole, kWait);

        // A chat claiming another slot is not relayed; the next real one still is.
        forget(ann);
        forget(bob);
        bob->say("CMD_chat+1+forged|clBlack");
        bob->say("CMD_chat+2+real|clBlack");
        const QByteArray real("CMD_chat+2+Bob chats: real|clBlack\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, real, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(bob->raw, real, kWait);
    }

    void leavingFreesTheSlotForTheNextComer_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("orderly close") << 0;
        QTest::newRow("abort") << 1;
        QTest::newRow("reset") << 2;
    }

    void leavingFreesTheSlotForTheNextComer() {
        QFETCH(int, how);
        WireClient* ann = join("Ann");
        WireClient* bob = join("Bob");
        WireClient* cat = join("Cat");
        forget(ann);
        forget(cat);

        switch (how) {
        case 0:
            bob->socket.disconnectFromHost();
            break;
        case 1:
            bob->socket.abort();
            break;
        default:
            bob->reset();
            break;
        }
        const QByteArray gone("CMD_playerdisconnected+2+Bob\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, gone, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(cat->raw, gone, kWait);
        QVERIFY(!server->playerslot[2].connected);
        QVERIFY(server->playerslot[2].name.isEmpty());

        // The lowest free slot goes to the next newcomer, who hears of the others.
        forget(ann);
        forget(cat);
        WireClient* dee = arrive();
        QCOMPARE(dee->slot(), 2);
        dee->sendRaw("CMD_logininfo+2+1.0.6+Dee\xFF\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(dee->raw,
                                  terminated({"CMD_sendlogininfo+2", "CMD_newplayerinfo+2+Dee+0",
                                              "CMD_existingplayers+1+Ann+0+3+Cat+0"}),
                                  kWait);
        QTRY_COMPARE_WITH_TIMEOUT(ann->raw, QByteArray("CMD_newplayerinfo+2+Dee+0\xFF"), kWait);
        QCOMPARE(server->slotcount, 3);

        // Nothing more was said about the one who left.
        QTest::qWait(100);
        QCOMPARE(ann->raw, QByteArray("CMD_newplayerinfo+2+Dee+0\xFF"));
    }

    void tenthConnectionIsToldFullAndClosed() {
        for (int i = 1; i <= 9; ++i) {
            WireClient* c = arrive();
            QCOMPARE(c->slot(), i);
        }
        for (const auto& c : clients) forget(c.get());

        WireClient* tenth = arrive();
        QTRY_VERIFY_WITH_TIMEOUT(tenth->isClosed(), kWait);
        QCOMPARE(tenth->raw, QByteArray("CMD_full+\xFF"));
        QCOMPARE(server->slotcount, 9);
        QVERIFY(!server->playerslot[10].connected);

        // The nine stay and hear nothing of it; a freed place is given again.
        QTest::qWait(100);
        for (int i = 0; i < 9; ++i) {
            QVERIFY(clients[i]->isConnected());
            QCOMPARE(clients[i]->raw, QByteArray());
        }
        clients[6]->reset();
        QTRY_VERIFY_WITH_TIMEOUT(!server->playerslot[7].connected, kWait);
        WireClient* again = arrive();
        QCOMPARE(again->raw, QByteArray("CMD_sendlogininfo+7\xFF"));
        QVERIFY(again->isConnected());
    }

    void aPlayerWhoStopsReadingIsLetGo() {
        WireClient* talker = join("Tal");
        WireClient* quiet = join("Quiet");
        // Qt stops taking bytes from the system once this much waits unread.
        quiet->socket.setReadBufferSize(1024);
        // And the system takes little more for it.
        quiet->socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        quiet->onMessage = nullptr;
        QObject::disconnect(&quiet->socket, nullptr, quiet, nullptr);

        // The longest chat lines a person may send, of four-byte letters,
        // relayed to both: the quiet one's share piles up at the host. The
        // talker keeps well under its limit of waiting lines.
        const QByteArray line =
            "CMD_chat+1+" + QByteArray("\xF0\x9F\x82\xA1").repeated(1000) + "|clBlack\xFF";
        int sent = 0;
        const auto topUp = [&] {
            const int back = talker->count("CMD_chat");
            QByteArray burst;
            for (; sent < back + 50; ++sent) burst.append(line);
            talker->sendRaw(burst);
        };
        talker->onMessage = [&](const QByteArray& m) {
            if (m.startsWith("CMD_chat+") && talker->count("CMD_chat") + 25 >= sent) topUp();
        };
        topUp();

        const QByteArray gone = "CMD_playerdisconnected+2+Quiet";
        QTRY_VERIFY_WITH_TIMEOUT(talker->find("CMD_playerdisconnected") >= 0, 120000);
        talker->onMessage = nullptr;
        QCOMPARE(talker->messages[talker->find("CMD_playerdisconnected")].text, gone);
        QVERIFY(!server->playerslot[2].connected);
        // The one who reads is still served.
        QVERIFY(talker->isConnected());
        QVERIFY(server->playerslot[1].connected);
    }

    // ---- the player connection over the socket component ----

    void sockLinkCarriesBytesBothWays() {
        TSock listener;
        listener.setPortName(QStringLiteral("0"));
        listener.setListen(true);
        std::unique_ptr<TSockLink> link;
        QByteArray heard;
        QStringList events;
        QObject::connect(&listener, &TSock::OnAccept, &listener, [&](TSock*) {
            TSock* accepted = nullptr;
            if (!listener.Accept(accepted) || !accepted) return;
            link = std::make_unique<TSockLink>(accepted);
            link->onData = [&](const QByteArray& bytes) { heard.append(bytes); };
            link->onDisconnect = [&] { events.append(QStringLiteral("disconnect")); };
            link->onInfo = [&](int code, const QString& text) {
                events.append(QStringLiteral("%1 %2").arg(code).arg(text));
            };
        });

        QTcpSocket peer;
        // Bytes sent while the connection still waits to be accepted must not be lost.
        peer.connectToHost(QHostAddress::LocalHost, listener.listeningPort());
        QVERIFY(peer.waitForConnected(kWait));
        peer.write("early\xFF");
        QVERIFY(peer.waitForBytesWritten(kWait));
        QTRY_VERIFY_WITH_TIMEOUT(link != nullptr, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(heard, QByteArray("early\xFF"), kWait);
        peer.write("CMD_chat+1+a|clBlack\xFF"
                   "CMD_ch");
        peer.flush();
        QTRY_COMPARE_WITH_TIMEOUT(heard,
                                  QByteArray("early\xFF"
                                             "CMD_chat+1+a|clBlack\xFF"
                                             "CMD_ch"),
                                  kWait);

        link->send("CMD_sendlogininfo+1\xFF");
        link->send("CMD_clearcards+\xFF");
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += peer.readAll()).size() >= 36, kWait);
        QCOMPARE(got, QByteArray("CMD_sendlogininfo+1\xFF"
                                 "CMD_clearcards+\xFF"));
        QTRY_COMPARE_WITH_TIMEOUT(link->unsentBytes(), qint64(0), kWait);
        QCOMPARE(events.filter(QStringLiteral("Socket Closed")), QStringList());
    }

    void sockLinkReportsTheEnd_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("host closes") << 0;
        QTest::newRow("peer closes") << 1;
        QTest::newRow("peer resets") << 2;
        QTest::newRow("link destroyed") << 3;
    }

    void sockLinkReportsTheEnd() {
        QFETCH(int, how);
        TSock listener;
        listener.setPortName(QStringLiteral("0"));
        listener.setListen(true);
        std::unique_ptr<TSockLink> link;
        QObject::connect(&listener, &TSock::OnAccept, &listener, [&](TSock*) {
            TSock* accepted = nullptr;
            if (listener.Accept(accepted) && accepted) link = std::make_unique<TSockLink>(accepted);
        });
        WireClient peer;
        peer.connectTo(listener.listeningPort());
        QTRY_VERIFY_WITH_TIMEOUT(link != nullptr && peer.isConnected(), kWait);
        QStringList events;
        QByteArray heard;
        link->onData = [&](const QByteArray& bytes) {
            heard.append(bytes);
            events.append(QStringLiteral("data"));
        };
        link->onDisconnect = [&] { events.append(QStringLiteral("disconnect")); };
        link->onInfo = [&](int code, const QString& text) {
            if (text == QLatin1String("Socket Closed"))
                events.append(QStringLiteral("%1 %2").arg(code).arg(text));
        };

        switch (how) {
        case 0:
            link->send("CMD_full+\xFF");
            link->close();
            // The host's own close is reported once, and what was sent still arrives.
            QCOMPARE(events, QStringList{QStringLiteral("2 Socket Closed")});
            QTRY_VERIFY_WITH_TIMEOUT(peer.isClosed(), kWait);
            QCOMPARE(peer.raw, QByteArray("CMD_full+\xFF"));
            link->send("CMD_clearcards+\xFF"); // a send after the close is harmless
            break;
        case 1:
            // The goodbye's last message is handed over before the close is reported.
            peer.sendRaw("CMD_chat+1+bye|clBlack\xFF");
            peer.socket.disconnectFromHost();
            QTRY_COMPARE_WITH_TIMEOUT(events.size(), 3, kWait);
            QCOMPARE(events, (QStringList{QStringLiteral("data"), QStringLiteral("disconnect"),
                                          QStringLiteral("2 Socket Closed")}));
            QCOMPARE(heard, QByteArray("CMD_chat+1+bye|clBlack\xFF"));
            break;
        case 2:
            peer.reset();
            QTRY_COMPARE_WITH_TIMEOUT(events.size(), 2, kWait);
            QCOMPARE(events, (QStringList{QStringLiteral("disconnect"),
                                          QStringLiteral("2 Socket Closed")}));
            break;
        default:
            // The host letting go of a connection closes it and hears nothing more.
            link.reset();
            QTRY_VERIFY_WITH_TIMEOUT(peer.isClosed(), kWait);
            QCOMPARE(events, QStringList());
            break;
        }
        QTest::qWait(50);
        QCOMPARE(events.count(QStringLiteral("2 Socket Closed")), how == 3 ? 0 : 1);
    }
};

QTEST_MAIN(HostNetTest)
#include "tst_hostnet.moc"
