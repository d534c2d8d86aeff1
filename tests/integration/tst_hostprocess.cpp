// The stand-alone host program as a person starts it: it names the port it
// listens on, four raw clients that leave their seats to the computer watch a
// game run on the host's timer with its pauses after a trick and after a
// hand, and the program ends cleanly on a signal or refuses a taken port.
#include "integration/support/hostprocess.h"
#include "integration/support/wirecheck.h"
#include "integration/support/wireclient.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <csignal>
#include <memory>
#include <vector>

using namespace euchre::testing;

namespace {

constexpr int kWait = 15000;

// The time from the first message with `from` (at or after index `start`) to
// the first `to` after it, in ms; -1 while either has not come.
qint64 gap(const WireClient& c, QByteArrayView from, QByteArrayView to, int start = 0) {
    const int a = c.find(from, start);
    if (a < 0) return -1;
    const int b = c.find(to, a + 1);
    if (b < 0) return -1;
    return c.messages[b].atMs - c.messages[a].atMs;
}

} // namespace

class HostProcessTest : public QObject {
    Q_OBJECT
private slots:
    void computerSeatsPauseBetweenTricksAndDeals() {
        HostProcess host;
        const quint16 port = host.start(QStringLiteral(EUCHRE_HOST_BIN),
                                        {QStringLiteral("--port"), QStringLiteral("0"),
                                         QStringLiteral("--bot-speed"), QStringLiteral("200")});
        QVERIFY2(port != 0, host.out.constData());
        QCOMPARE(host.out, QByteArray("listening on ") + QByteArray::number(port) + '\n');

        std::vector<std::unique_ptr<WireClient>> clients;
        for (int seat = 1; seat <= 4; ++seat) {
            clients.push_back(std::make_unique<WireClient>());
            WireClient* c = clients.back().get();
            c->connectTo(port);
            QTRY_COMPARE_WITH_TIMEOUT(c->slot(), seat, kWait);
            c->sendRaw("CMD_logininfo+" + QByteArray::number(seat) + "+1.0.6+P" +
                       QByteArray::number(seat) + "\xFF\xFF");
            // A new game gives every seat back to its person, so each hands its
            // seat to the computer once the game has started.
            c->onMessage = [c, seat](const QByteArray& m) {
                if (m.startsWith("CMD_startgame+"))
                    c->sendRaw("CMD_justwatch+" + QByteArray::number(seat) + "+1\xFF");
            };
        }
        WireClient& first = *clients[0];
        QTRY_COMPARE_WITH_TIMEOUT(first.count("CMD_newplayerinfo"), 4, kWait);
        first.say("CMD_startgame+P1+5+");

        for (const auto& c : clients)
            QTRY_COMPARE_WITH_TIMEOUT(c->count("CMD_justwatching"), 4, kWait);

        // After the first trick the next begins five ticks (5 x 200 ms) later.
        QTRY_VERIFY_WITH_TIMEOUT(gap(first, "CMD_trickwinner", "CMD_clearcards") >= 0, 60000);
        const qint64 trickPause = gap(first, "CMD_trickwinner", "CMD_clearcards");
        QVERIFY2(trickPause >= 700 && trickPause <= 2500, qPrintable(QString::number(trickPause)));

        // After a hand the next deal comes twelve ticks (2.4 s) later.
        QTRY_VERIFY_WITH_TIMEOUT(gap(first, "CMD_score", "CMD_dealer") >= 0, 120000);
        const qint64 dealPause = gap(first, "CMD_score", "CMD_dealer");
        QVERIFY2(dealPause >= 1900 && dealPause <= 4500, qPrintable(QString::number(dealPause)));
        qInfo("pause after a trick %lld ms, after a hand %lld ms", trickPause, dealPause);

        for (const auto& c : clients)
            for (const WireClient::Message& m : c->messages) {
                const QString problem = wireProblem(m.text);
                QVERIFY2(problem.isEmpty(),
                         qPrintable(QString::fromLatin1(m.text) + ": " + problem));
            }

        // A signal ends the program cleanly, in the middle of a game.
        QVERIFY(host.stopWith(SIGTERM));
        QCOMPARE(host.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(host.process.exitCode(), 0);
        for (const auto& c : clients) QTRY_VERIFY_WITH_TIMEOUT(c->isClosed(), kWait);
    }

    // A host told to stick the dealer: four people who pass everything bring
    // the naming round to seat 1, the first dealer, whose pass is refused.
    void stuckDealersPassIsRefused() {
        HostProcess host;
        const quint16 port = host.start(QStringLiteral(EUCHRE_HOST_BIN),
                                        {QStringLiteral("--port"), QStringLiteral("0"),
                                         QStringLiteral("--rules"), QStringLiteral("std=1")});
        QVERIFY2(port != 0, host.out.constData());
        std::vector<std::unique_ptr<WireClient>> clients;
        for (int seat = 1; seat <= 4; ++seat) {
            clients.push_back(std::make_unique<WireClient>());
            WireClient* c = clients.back().get();
            c->connectTo(port);
            QTRY_COMPARE_WITH_TIMEOUT(c->slot(), seat, kWait);
            const QByteArray s = QByteArray::number(seat);
            c->say("CMD_logininfo+" + s + "+1.0.6+P" + s);
            c->onMessage = [c, s](const QByteArray& m) {
                if (m == "CMD_bidder+" + s + "+") c->say("CMD_selectedbubble+" + s + "+2+");
                if (m.startsWith("CMD_chooser+" + s + "+"))
                    c->say("CMD_selectedbubble+" + s + "+22+");
            };
        }
        WireClient& dealer = *clients[0];
        QTRY_COMPARE_WITH_TIMEOUT(dealer.count("CMD_newplayerinfo"), 4, kWait);
        // Started without a ruleset: the table's own applies and is told to all.
        dealer.say("CMD_startgame+P1+5+");
        QTRY_VERIFY_WITH_TIMEOUT(dealer.has("CMD_notvalid"), kWait);
        QCOMPARE(dealer.messages[dealer.find("CMD_startgame")].text,
                 QByteArray("CMD_startgame+P1+5+std=1+"));
        QCOMPARE(dealer.messages[dealer.find("CMD_notvalid")].text,
                 QByteArray("CMD_notvalid+1+4+0+"));
        QCOMPARE(dealer.count("CMD_dealer"), 1); // nothing thrown in
        const QByteArray turned = dealer.messages[dealer.find("CMD_chooser")].text.split('+')[2];
        dealer.onMessage = nullptr;
        dealer.say("CMD_selectedbubble+1+" + QByteArray(turned == "1" ? "6" : "3") + "+");
        QTRY_VERIFY_WITH_TIMEOUT(dealer.has("CMD_trumpchoosen"), kWait);
        QCOMPARE(dealer.count("CMD_hepassed"), 7);
        for (const auto& c : clients) {
            QCOMPARE(c->count("CMD_notvalid"), int(c.get() == &dealer));
            for (const WireClient::Message& m : c->messages)
                QVERIFY2(wireProblem(m.text).isEmpty(), m.text.constData());
        }
        QVERIFY(host.stopWith(SIGTERM));
    }

    void interruptEndsTheHostCleanly() {
        HostProcess host;
        const quint16 port = host.start(QStringLiteral(EUCHRE_HOST_BIN),
                                        {QStringLiteral("--port"), QStringLiteral("0")});
        QVERIFY2(port != 0, host.out.constData());
        WireClient c;
        c.connectTo(port);
        QTRY_COMPARE_WITH_TIMEOUT(c.raw, QByteArray("CMD_sendlogininfo+1\xFF"), kWait);
        QVERIFY(host.stopWith(SIGINT));
        QCOMPARE(host.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(host.process.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(c.isClosed(), kWait);
    }

    void aTakenPortIsRefusedWithAMessage() {
        HostProcess first;
        const quint16 port = first.start(QStringLiteral(EUCHRE_HOST_BIN),
                                         {QStringLiteral("--port"), QStringLiteral("0")});
        QVERIFY2(port != 0, first.out.constData());

        HostProcess second;
        second.process.start(QStringLiteral(EUCHRE_HOST_BIN),
                             {QStringLiteral("--port"), QString::number(port)});
        QVERIFY(second.process.waitForStarted(kWait));
        QSignalSpy finished(&second.process, &QProcess::finished);
        QVERIFY(finished.wait(kWait) || second.process.state() == QProcess::NotRunning);
        QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
        QVERIFY(second.process.exitCode() != 0);
        QCOMPARE(second.process.readAllStandardOutput(), QByteArray());
        const QByteArray why = second.process.readAllStandardError();
        QVERIFY2(why.contains(QByteArray::number(port)), why.constData());

        // The first host goes on serving as before.
        WireClient c;
        c.connectTo(port);
        QTRY_COMPARE_WITH_TIMEOUT(c.raw, QByteArray("CMD_sendlogininfo+1\xFF"), kWait);
        QVERIFY(first.stopWith(SIGTERM));
        QCOMPARE(first.process.exitCode(), 0);
    }
};

QTEST_MAIN(HostProcessTest)
#include "tst_hostprocess.moc"
