// The stand-alone host at a private table (--password-file), met by raw
// connections: without the password nothing of the table arrives, with it a
// game is played as at any table, and an address that keeps guessing is
// locked out. And the starts that euchre-host refuses.
#include "integration/support/hostprocess.h"
#include "integration/support/wirecheck.h"
#include "integration/support/wireclient.h"

#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>
#include <memory>
#include <vector>

using namespace euchre::testing;

namespace {

constexpr int kWait = 15000;
// A "+" and a letter beyond ASCII: the password is the whole rest of the line.
const QByteArray kPassword = "p\xC3\xA4+ss word";

struct PrivateHost {
    QTemporaryDir dir;
    HostProcess host;
    quint16 port = 0;

    PrivateHost() {
        QFile file(dir.filePath(QStringLiteral("password")));
        if (file.open(QIODevice::WriteOnly)) file.write(kPassword + "\r\n");
        file.close();
        port = host.start(QStringLiteral(EUCHRE_HOST_BIN),
                          {QStringLiteral("--port"), QStringLiteral("0"),
                           QStringLiteral("--bot-speed"), QStringLiteral("1"),
                           QStringLiteral("--password-file"), file.fileName()});
    }
    // Connects, sends the right password at once and logs in under the name.
    std::unique_ptr<WireClient> enter(const QByteArray& name) {
        auto c = std::make_unique<WireClient>();
        c->connectTo(port);
        if (!QTest::qWaitFor([&] { return c->isConnected(); }, kWait)) return c;
        c->say("CMD_password+" + kPassword);
        if (!QTest::qWaitFor([&] { return c->slot() != 0; }, kWait)) return c;
        c->sendRaw("CMD_logininfo+" + QByteArray::number(c->slot()) + "+1.0.6+" + name +
                   "\xFF\xFF");
        return c;
    }
    // Lines the host wrote to its log so far that contain the text.
    int logLines(const QByteArray& text) {
        log += host.process.readAllStandardError();
        return static_cast<int>(log.count(text));
    }
    QByteArray log;
};

} // namespace

class PrivateTableTest : public QObject {
    Q_OBJECT
private slots:
    void withoutThePasswordNothingOfTheTableArrives() {
        PrivateHost table;
        QVERIFY2(table.port != 0, table.host.out.constData());
        QCOMPARE(table.host.out, "listening on " + QByteArray::number(table.port) + '\n');
        const auto ann = table.enter("Ann");
        QTRY_COMPARE_WITH_TIMEOUT(ann->count("CMD_newplayerinfo"), 1, kWait);

        WireClient silent;
        silent.connectTo(table.port);
        QTRY_COMPARE_WITH_TIMEOUT(silent.raw, QByteArray("CMD_password+\xFF"), kWait);
        // The table goes on: a newcomer, a chat line, a game.
        const auto bob = table.enter("Bob");
        QTRY_COMPARE_WITH_TIMEOUT(ann->count("CMD_newplayerinfo"), 2, kWait);
        ann->say("CMD_chat+1+hello|clBlack");
        ann->say("CMD_startgame+Ann+5+");
        QTRY_VERIFY_WITH_TIMEOUT(bob->has("CMD_chat") && bob->has("CMD_dealer"), kWait);
        QTest::qWait(100);
        QCOMPARE(silent.raw, QByteArray("CMD_password+\xFF"));
        QCOMPARE(ann->count("CMD_newplayerinfo"), 2);

        // Whatever else it says first, or a wrong password, closes it.
        WireClient pretender;
        pretender.connectTo(table.port);
        QTRY_VERIFY_WITH_TIMEOUT(pretender.isConnected(), kWait);
        pretender.sendRaw("CMD_logininfo+3+1.0.6+Eve\xFF\xFF");
        silent.say("CMD_password+p\xC3\xA4+ss");
        for (WireClient* c : {&pretender, &silent}) {
            QTRY_VERIFY_WITH_TIMEOUT(c->isClosed(), kWait);
            QCOMPARE(c->raw, QByteArray("CMD_password+\xFF"
                                        "CMD_wrongpassword+\xFF"));
        }
        QTRY_COMPARE_WITH_TIMEOUT(table.logLines("refused a connection from 127.0.0.1"), 2, kWait);
        QVERIFY(!ann->has("CMD_playerdisconnected"));
    }

    void withThePasswordAGameIsPlayedAsAtAnyTable() {
        PrivateHost table;
        QVERIFY2(table.port != 0, table.host.out.constData());
        std::vector<std::unique_ptr<WireClient>> players;
        for (int seat = 1; seat <= 4; ++seat) {
            players.push_back(table.enter("P" + QByteArray::number(seat)));
            WireClient* c = players.back().get();
            QCOMPARE(c->slot(), seat);
            // Each hands its seat to the computer once the game has started.
            c->onMessage = [c, seat](const QByteArray& m) {
                if (m.startsWith("CMD_startgame+"))
                    c->say("CMD_justwatch+" + QByteArray::number(seat) + "+1");
            };
        }
        QTRY_COMPARE_WITH_TIMEOUT(players[0]->count("CMD_newplayerinfo"), 4, kWait);
        players[0]->say("CMD_startgame+P1+5+");
        for (const auto& c : players) QTRY_VERIFY_WITH_TIMEOUT(c->has("CMD_thewinner"), 120000);
        for (const auto& c : players) {
            QCOMPARE(c->messages.first().text, QByteArray("CMD_password+"));
            for (const WireClient::Message& m : c->messages)
                QVERIFY2(wireProblem(m.text).isEmpty(), m.text.constData());
        }
    }

    void fiveWrongTriesLockTheAddressOut() {
        PrivateHost table;
        QVERIFY2(table.port != 0, table.host.out.constData());
        for (int i = 0; i < 5; ++i) {
            WireClient guesser;
            guesser.connectTo(table.port);
            QTRY_VERIFY_WITH_TIMEOUT(guesser.isConnected(), kWait);
            guesser.say("CMD_password+guess" + QByteArray::number(i));
            QTRY_VERIFY_WITH_TIMEOUT(guesser.isClosed(), kWait);
            QCOMPARE(guesser.raw, QByteArray("CMD_password+\xFF"
                                             "CMD_wrongpassword+\xFF"));
        }
        // Now even the right password from this address is too late.
        WireClient sixth;
        sixth.connectTo(table.port);
        // The host lets a locked-out address go the moment it connects, so
        // a busy machine may never show this end as connected at all.
        QTRY_VERIFY_WITH_TIMEOUT(sixth.isConnected() || sixth.isClosed(), kWait);
        if (sixth.isConnected()) sixth.say("CMD_password+" + kPassword);
        QTRY_VERIFY_WITH_TIMEOUT(sixth.isClosed(), kWait);
        QCOMPARE(sixth.raw, QByteArray("CMD_lockedout+\xFF"));
        QTRY_COMPARE_WITH_TIMEOUT(table.logLines("refused a connection from 127.0.0.1"), 6, kWait);
        QCOMPARE(table.logLines("locked out for 60 s"), 1);
    }

    void refusedStarts_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("said");
        QTest::addColumn<int>("lines"); // a bad value adds the usage
        QTest::newRow("no password file")
            << QStringList{QStringLiteral("--password-file"), QStringLiteral("no/such/file")} << 2
            << QByteArray("no/such/file: ") << 1;
        QTest::newRow("an empty password")
            << QStringList{QStringLiteral("--password-file"), QStringLiteral("EMPTY")} << 2
            << QByteArray("the password is empty") << 1;
        QTest::newRow("discovery port out of range")
            << QStringList{QStringLiteral("--discovery-port"), QStringLiteral("0")} << 2
            << QByteArray("the discovery port must be 1 to 65535") << 3;
        QTest::newRow("unknown house rule")
            << QStringList{QStringLiteral("--rules"), QStringLiteral("std=1,farmers=1")} << 2
            << QByteArray("the house rule 'farmers=1' is not known") << 3;
        QTest::newRow("discovery port taken")
            << QStringList{QStringLiteral("--announce"), QStringLiteral("--discovery-port"),
                           QStringLiteral("TAKEN")}
            << 1 << QByteArray("cannot answer discovery on UDP port") << 1;
    }
    void refusedStarts() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QByteArray, said);
        QFETCH(int, lines);
        QTemporaryDir dir;
        QFile empty(dir.filePath(QStringLiteral("empty")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.write("\n");
        empty.close();
        QUdpSocket taken;
        QVERIFY(taken.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress));
        args.replaceInStrings(QStringLiteral("EMPTY"), empty.fileName());
        args.replaceInStrings(QStringLiteral("TAKEN"), QString::number(taken.localPort()));

        QProcess host;
        host.start(QStringLiteral(EUCHRE_HOST_BIN),
                   QStringList{QStringLiteral("--port"), QStringLiteral("0")} + args);
        QVERIFY(host.waitForFinished(kWait));
        QCOMPARE(host.exitCode(), status);
        QCOMPARE(host.readAllStandardOutput(), QByteArray());
        const QByteArray err = host.readAllStandardError();
        QVERIFY2(err.contains(said), err.constData());
        QVERIFY2(err.startsWith("euchre-host: "), err.constData());
        QCOMPARE(err.count('\n'), lines);
    }
};

QTEST_MAIN(PrivateTableTest)
#include "tst_privatetable.moc"
