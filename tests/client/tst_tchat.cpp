// The table window: what the command line decides, the login reply, the
// queue's order with one message per tick, closing on "CMD_full" and on a
// closed connection, the version notices, the chatter-sound line, the queue
// timer resting when idle, and the settings the menus and the login touch.
#include "chat/chatbox.h"
#include "chat/phrases.h"
#include "client/artitem.h"
#include "client/hostdialog.h"
#include "client/joindialog.h"
#include "client/tableboard.h"
#include "client/tabout.h"
#include "client/tchat.h"
#include "client/treplay.h"
#include "net/protocol.h"
#include "net/tsock.h"
#include "settings/colourtext.h"
#include "settings/settingslocation.h"
#include "support/testdoor.h"
#include "tally/ttallylist.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using euchre::Tchat;

namespace {

// A stand-in for the game host: accepts one connection, records what arrives.
class FakeHost {
public:
    FakeHost() {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] { received += peer->readAll(); });
        });
    }
    quint16 port() const { return server.serverPort(); }
    void send(const QByteArray& bytes) {
        peer->write(bytes);
        peer->flush();
    }

    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;
};

// All the text the log shows, one paragraph a line.
QStringList logLines(const Tchat& t) {
    QStringList lines;
    for (const auto& para : t.chat()->log()->paragraphs()) {
        QString text;
        for (const auto& item : para) text += item.text;
        lines.append(text);
    }
    return lines;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTchat : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void noParametersHostsASoloGame();
    void startButtonNeedsTheGameStartWindow();
    void trueHostsOnTheLoopback();
    void otherThirdParametersJoin_data();
    void otherThirdParametersJoin();
    void oneOrTwoParametersOnlyShowTheNotice_data();
    void oneOrTwoParametersOnlyShowTheNotice();
    void absentCompanionNeverDisturbsTheGame();
    void failedConnectionsAreExplained();
    void closingSendsWhatIsQueued();

    void loginReplyCarriesTwoTerminators();
    void dispatchKeepsOrderOneMessagePerTick();
    void queueTimerRestsWhenIdle();
    void gameIsFullClosesAfterTheMessage();
    void queueTimerRestsWhileGameIsFullIsShown();
    void queueHoldsABoundedAmount();
    void closedConnectionClosesTheWindow();
    void versionNotices();
    void garbageFromTheHostIsDropped();
    void hostileStreamLeavesTheTableWorking();
    void chatterSoundLineWhenChatterSoundsAreOff();

    void menuChangesBeforeLoginSaveOnlyThatKey();
    void loginLoadsTheSettingsAndCloseKeepsThem();
    void resetScreenLocationAndCentredBoard();
    void everyMenuEntryReachesItsHandler();
    void menusOpenWithAltAndTheirLetter();
    void shortcutsAndEscape();

private:
    std::unique_ptr<Tchat> makeTable();
    Tchat* joinFakeHost(FakeHost& host);

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<Tchat> table;
    QStringList shown;
    std::function<void()> pendingDone;
};

void TestTchat::init() {
    home = std::make_unique<QTemporaryDir>();
    qputenv("EUCHRE_HOME", home->path().toLocal8Bit());
    // Hosting takes any free port.
    qputenv("EUCHRE_PORT", "0");
    shown.clear();
    pendingDone = nullptr;
}

void TestTchat::cleanup() {
    table.reset();
    home.reset();
}

std::unique_ptr<Tchat> TestTchat::makeTable() {
    auto t = std::make_unique<Tchat>();
    t->message = [this](const QString& text, std::function<void()> done) {
        shown.append(text);
        pendingDone = std::move(done);
    };
    return t;
}

Tchat* TestTchat::joinFakeHost(FakeHost& host) {
    table = makeTable();
    table->setGamePort(host.port());
    table->processparams(
        {QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("no")});
    if (!QTest::qWaitFor([&] { return host.peer != nullptr; })) return nullptr;
    return table.get();
}

// ---- the command line ----

void TestTchat::noParametersHostsASoloGame() {
    QTcpServer companion;
    QVERIFY(companion.listen(QHostAddress::LocalHost, 0));
    table = makeTable();
    table->setCompanionPort(companion.serverPort());
    table->processparams({});

    QCOMPARE(logLines(*table).value(0), QStringLiteral(" Loading Solo Game..Please wait. "));
    QVERIFY(table->login().ishost);
    QCOMPARE(table->login().playername, QStringLiteral("You"));
    QCOMPARE(table->login().hostaddress, QStringLiteral("127.0.0.1"));
    QCOMPARE(table->login().loginname, QByteArray("You\xFF"));
    QVERIFY(table->server());
    QVERIFY(table->server()->listeningPort() != 0);
    QCOMPARE(table->connection()->HostName(), QStringLiteral("127.0.0.1"));

    // Its own host admits it to slot 1 and it logs in.
    QTRY_VERIFY(table->isLoggedIn());
    QCOMPARE(table->ownSlot(), 1);
    QTRY_COMPARE(table->board()->nameLabel(1)->text(), QStringLiteral("You"));
    QVERIFY(logLines(*table).contains(QStringLiteral(" You are Connected. ")));
    // The computer's seats carry its names before any game starts.
    for (int seat = 2; seat <= 4; ++seat)
        QCOMPARE(table->board()->nameLabel(seat)->text(), table->shown().defaultnames[seat]);

    // The host's computer players read this window's "Bot Speed".
    table->findChild<QAction*>(QStringLiteral("Fast1"))->trigger();
    QCOMPARE(table->server()->botSpeed(), 200);

    // A solo game never calls the companion.
    QTest::qWait(50);
    QVERIFY(!companion.hasPendingConnections());
    QVERIFY(shown.isEmpty());
}

void TestTchat::startButtonNeedsTheGameStartWindow() {
    table = makeTable();
    QWidget gamestart;
    euchre::TableWindows windows;
    windows.gamestart = &gamestart;
    table->setWindows(windows);
    table->processparams({});
    QVERIFY(!table->board()->startButton()->isHidden());
    QVERIFY(table->findChild<QAction*>(QStringLiteral("StartGame1"))->isEnabled());

    // Before the login the start request only tells the user.
    if (!table->isLoggedIn()) {
        table->button_startClick();
        QCOMPARE(shown, QStringList{QStringLiteral("You are not connected")});
    }
    QTRY_VERIFY(table->isLoggedIn());
    table->board()->startButton()->click();
    QVERIFY(gamestart.isVisible());
}

void TestTchat::trueHostsOnTheLoopback() {
    QTcpServer companion;
    QVERIFY(companion.listen(QHostAddress::LocalHost, 0));
    table = makeTable();
    table->setCompanionPort(companion.serverPort());
    // The address is for others; the hosting copy itself uses the loopback.
    table->processparams(
        {QStringLiteral("Ann"), QStringLiteral("203.0.113.9"), QStringLiteral("true")});
    QCOMPARE(logLines(*table).value(0),
             QStringLiteral(" Loading Multi-player Game.. Please Wait. "));
    QVERIFY(table->login().ishost);
    QCOMPARE(table->login().playername, QStringLiteral("Ann"));
    QCOMPARE(table->login().hostaddress, QStringLiteral("203.0.113.9"));
    QCOMPARE(table->connection()->HostName(), QStringLiteral("127.0.0.1"));
    QTRY_VERIFY(table->isLoggedIn());
    QTRY_COMPARE(table->board()->nameLabel(1)->text(), QStringLiteral("Ann"));
    // The companion connection is opened and left alone.
    QTRY_VERIFY(companion.hasPendingConnections());
    QTcpSocket* lobby = companion.nextPendingConnection();
    QTest::qWait(20);
    QCOMPARE(lobby->bytesAvailable(), 0);
}

void TestTchat::otherThirdParametersJoin_data() {
    QTest::addColumn<QString>("flag");
    QTest::newRow("True") << "True";
    QTest::newRow("false") << "false";
    QTest::newRow("anything") << "join";
}

void TestTchat::otherThirdParametersJoin() {
    QFETCH(QString, flag);
    FakeHost host;
    QTcpServer companion;
    QVERIFY(companion.listen(QHostAddress::LocalHost, 0));
    table = makeTable();
    table->setGamePort(host.port());
    table->setCompanionPort(companion.serverPort());
    table->processparams({QStringLiteral("Cy"), QStringLiteral("127.0.0.1"), flag});
    QTRY_VERIFY(host.peer);
    QVERIFY(!table->login().ishost);
    QVERIFY(!table->server());
    QCOMPARE(table->login().loginname, QByteArray("Cy\xFF"));
    QVERIFY(table->board()->startButton()->isHidden());
    QVERIFY(!table->findChild<QAction*>(QStringLiteral("StartGame1"))->isEnabled());
    QTRY_VERIFY(companion.hasPendingConnections());
}

void TestTchat::oneOrTwoParametersOnlyShowTheNotice_data() {
    QTest::addColumn<QStringList>("params");
    QTest::newRow("one") << QStringList{QStringLiteral("Dee")};
    QTest::newRow("two") << QStringList{QStringLiteral("Dee"), QStringLiteral("127.0.0.1")};
}

void TestTchat::oneOrTwoParametersOnlyShowTheNotice() {
    QFETCH(QStringList, params);
    FakeHost host;
    QTcpServer companion;
    QVERIFY(companion.listen(QHostAddress::LocalHost, 0));
    table = makeTable();
    table->setGamePort(host.port());
    table->setCompanionPort(companion.serverPort());
    table->processparams(params);
    QCOMPARE(logLines(*table),
             QStringList{QStringLiteral(" Loading Multi-player Game.. Please Wait. ")});
    QTest::qWait(50);
    QVERIFY(!host.server.hasPendingConnections() && !host.peer);
    QVERIFY(!companion.hasPendingConnections());
    QVERIFY(!table->login().ishost);
    QVERIFY(table->connection()->HostName().isEmpty());
}

// Nothing listening where a joining copy goes, or the game port taken where
// a copy hosts: the log says what happened and what to do.
void TestTchat::failedConnectionsAreExplained() {
    quint16 unused = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        unused = probe.serverPort();
    }
    table = makeTable();
    table->setGamePort(unused);
    table->processparams(
        {QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("no")});
    const QString refused = QStringLiteral("Could not connect to 127.0.0.1 port %1").arg(unused);
    QTRY_VERIFY(logLines(*table).join(u'|').contains(refused));
    QVERIFY(logLines(*table).join(u'|').contains(QStringLiteral("start the game again")));
    QVERIFY(shown.isEmpty());

    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::Any, 0));
    table = makeTable();
    table->setGamePort(taken.serverPort());
    table->processparams({});
    QCOMPARE(shown.size(), 1);
    const QString inUse = QStringLiteral("Port %1 is in use").arg(taken.serverPort());
    QVERIFY(!logLines(*table).join(u'|').contains(inUse));
    pendingDone();
    QVERIFY(logLines(*table).join(u'|').contains(inUse));
    QVERIFY(logLines(*table).join(u'|').contains(QStringLiteral("EUCHRE_PORT")));
}

// The program runs no event loop after its window closes: the last line
// typed goes out during the close, not never.
void TestTchat::closingSendsWhatIsQueued() {
    FakeHost host;
    Tchat* t = joinFakeHost(host);
    QVERIFY(t);
    QVERIFY(QTest::qWaitFor([&] { return t->connection()->Connected(); }));
    t->sendToHost(QByteArray(4096, 'x') + '\xFF');
    QVERIFY(t->connection()->unsentBytes() > 0);
    t->close();
    QCOMPARE(t->connection()->unsentBytes(), 0);
}

void TestTchat::absentCompanionNeverDisturbsTheGame() {
    quint16 unused = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        unused = probe.serverPort();
    }
    table = makeTable();
    QSignalSpy closed(table.get(), &Tchat::closed);
    table->setCompanionPort(unused);
    table->processparams({QStringLiteral("Eve"), QStringLiteral("x"), QStringLiteral("true")});
    QTRY_VERIFY(table->isLoggedIn());
    table->chat()->input()->setText(QStringLiteral("still here"));
    table->chat()->sendit();
    QTRY_VERIFY(logLines(*table).contains(QStringLiteral("Eve chats:  still here ")));
    QCOMPARE(closed.size(), 0);
    QVERIFY(shown.isEmpty());
}

// ---- login and the queue ----

void TestTchat::loginReplyCarriesTwoTerminators() {
    FakeHost host;
    QVERIFY(joinFakeHost(host));
    // A slot that is not a number is no login.
    host.send("CMD_sendlogininfo+x\xFF");
    host.send("CMD_sendlogininfo+3\xFF");
    QTRY_COMPARE(host.received, QByteArray("CMD_logininfo+3+1.0.6+Bob\xFF\xFF"));
    QVERIFY(table->isLoggedIn());
    QCOMPARE(table->ownSlot(), 3);
}

void TestTchat::dispatchKeepsOrderOneMessagePerTick() {
    table = makeTable();
    QSignalSpy handled(table.get(), &Tchat::dispatched);
    QSignalSpy closed(table.get(), &Tchat::closed);
    const QList<QByteArray> lines = {
        "CMD_wrongversion+",
        "no command here",
        "CMD_FULL+",
        "CMD_fullx+",
        "",
        "CMD_chat+2+Ann chats: hi|clRed",
        "CMD_dealer+1+",
        "CMD_action+2+Ann waves|clRed",
        "CMD_havewrongversion+Zed",
    };
    for (const QByteArray& line : lines) table->queueLine(line);
    table->timer1().stop();
    // The window starts with its placeholder line in front.
    QCOMPARE(table->queuedCount(), lines.size() + 1);
    table->Timer1Timer();
    QCOMPARE(handled.size(), 0);
    QCOMPARE(table->queuedCount(), lines.size());

    table->Timer1Timer();
    QCOMPARE(handled.size(), 1);
    QCOMPARE(logLines(*table).size(), 1);
    for (int i = 0; i < 4; ++i) table->Timer1Timer(); // four lines that mean nothing
    QCOMPARE(handled.size(), 1);
    QCOMPARE(closed.size(), 0);
    QVERIFY(shown.isEmpty());
    for (int i = 0; i < 4; ++i) table->Timer1Timer();
    QCOMPARE(table->queuedCount(), 0);
    table->Timer1Timer(); // an empty queue changes nothing
    QList<QByteArray> words;
    for (const auto& call : handled) words.append(call[0].toByteArray());
    QCOMPARE(words, (QList<QByteArray>{"CMD_wrongversion", "CMD_chat", "CMD_dealer", "CMD_action",
                                       "CMD_havewrongversion"}));
    QCOMPARE(logLines(*table).size(), 4);
    QCOMPARE(logLines(*table)[2], QStringLiteral(" Ann waves "));
}

void TestTchat::queueTimerRestsWhenIdle() {
    table = makeTable();
    // Only the placeholder line: one tick, then rest.
    QVERIFY(table->timer1().isActive());
    QTRY_VERIFY(!table->timer1().isActive());
    QCOMPARE(table->queuedCount(), 0);

    table->queueLine("CMD_chat+1+A chats: x|clRed");
    table->queueLine("CMD_chat+1+A chats: y|clRed");
    QVERIFY(table->timer1().isActive());
    QTRY_VERIFY(!table->timer1().isActive());
    QCOMPARE(logLines(*table).size(), 2);

    // A closed phrase gate keeps the timer going until it opens again.
    euchre::TchatTestDoor::sit(*table, 1, true);
    table->chat()->b_phrase1Click(1);
    QVERIFY(shown.size() <= 1); // unconnected: the send is refused with a message
    QVERIFY(!table->chat()->phraseGateOpen());
    QVERIFY(table->timer1().isActive());
    QTRY_VERIFY(table->chat()->phraseGateOpen());
    QTRY_VERIFY(!table->timer1().isActive());
}

void TestTchat::gameIsFullClosesAfterTheMessage() {
    table = makeTable();
    QSignalSpy closed(table.get(), &Tchat::closed);
    table->queueLine("CMD_full+");
    table->queueLine("CMD_chat+1+A chats: late|clRed");
    table->timer1().stop();
    table->Timer1Timer();
    table->Timer1Timer();
    QCOMPARE(shown, QStringList{QStringLiteral("Game is full")});
    QCOMPARE(closed.size(), 0);
    // The refused connection closes while the message is up: it waits.
    table->sockInfo(table->connection(), 2, QStringLiteral("Socket Closed"));
    QCOMPARE(closed.size(), 0);
    // Nothing else is handled any more.
    table->Timer1Timer();
    QVERIFY(logLines(*table).isEmpty());
    QVERIFY(pendingDone);
    pendingDone();
    QCOMPARE(closed.size(), 1);
}

// Lines that still arrive while "Game is full" is on screen are never
// handled, so they must not keep the queue timer running.
void TestTchat::queueTimerRestsWhileGameIsFullIsShown() {
    table = makeTable();
    QSignalSpy closed(table.get(), &Tchat::closed);
    table->queueLine("CMD_full+");
    table->queueLine("CMD_chat+1+A chats: late|clRed");
    QTRY_COMPARE(shown, QStringList{QStringLiteral("Game is full")});
    QTRY_VERIFY(!table->timer1().isActive());
    table->queueLine("CMD_chat+1+A chats: later|clRed");
    QVERIFY(!table->timer1().isActive());
    QTest::qWait(30);
    QVERIFY(!table->timer1().isActive());
    QVERIFY(logLines(*table).isEmpty());
    QVERIFY(pendingDone);
    pendingDone();
    QCOMPARE(closed.size(), 1);
}

// A host that sends far more than the table handles: the queue keeps a
// bounded number of lines and bytes, and takes lines again once it has room.
void TestTchat::queueHoldsABoundedAmount() {
    table = makeTable();
    const auto drain = [this] {
        while (table->queuedCount() > 0) table->Timer1Timer();
    };
    drain();
    for (std::size_t i = 0; i < Tchat::kMaxQueuedLines + 500; ++i) table->queueLine("x+");
    QCOMPARE(std::size_t(table->queuedCount()), Tchat::kMaxQueuedLines);
    drain();

    const QByteArray big = "y+" + QByteArray(1024 * 1024, 'a');
    const int fit = int(Tchat::kMaxQueuedBytes / big.size());
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < fit + 3; ++i) table->queueLine(big);
        QCOMPARE(table->queuedCount(), fit);
        table->queueLine("CMD_havewrongversion+Zed");
        QCOMPARE(table->queuedCount(), fit + 1);
        drain();
    }
    QCOMPARE(logLines(*table).count(
                 QStringLiteral(" Zed has a different version of the game then you. ")),
             2);
}

void TestTchat::closedConnectionClosesTheWindow() {
    FakeHost host;
    QVERIFY(joinFakeHost(host));
    QSignalSpy closed(table.get(), &Tchat::closed);
    // Other reports change nothing.
    table->sockInfo(table->connection(), 7, QStringLiteral("Error #10054 (WSAECONNRESET)"));
    table->sockInfo(table->connection(), 1, QStringLiteral("Non-Blocking Socket Connected"));
    QCOMPARE(closed.size(), 0);
    host.peer->close();
    QTRY_COMPARE(closed.size(), 1);
    QVERIFY(shown.isEmpty());
}

void TestTchat::versionNotices() {
    table = makeTable();
    table->queueLine("CMD_havewrongversion+Zed");
    table->queueLine("CMD_wrongversion+");
    QTRY_COMPARE(logLines(*table).size(), 2);
    QCOMPARE(logLines(*table)[0],
             QStringLiteral(" Zed has a different version of the game then you. "));
    QCOMPARE(logLines(*table)[1],
             QStringLiteral(" You have a differnt version of the game then the host. "));
    QCOMPARE(table->chat()->log()->style(0).colour, QColor(0, 0, 255));
}

void TestTchat::garbageFromTheHostIsDropped() {
    table = makeTable();
    QSignalSpy closed(table.get(), &Tchat::closed);
    QRandomGenerator random(77);
    const QList<QByteArray> words = {
        "CMD_sendlogininfo+", "CMD_newplayerinfo+", "CMD_existingplayers+", "CMD_playasound+",
        "CMD_chat+",          "CMD_action+",        "CMD_havewrongversion+"};
    for (int round = 0; round < 300; ++round) {
        QByteArray junk(random.bounded(40), Qt::Uninitialized);
        for (char& c : junk) c = "0123456789+|:)#-wave \xFE\x80"[random.bounded(24)];
        table->queueLine(words[random.bounded(words.size())] + junk);
    }
    table->queueLine("CMD_newplayerinfo+99+Big+0+4+Ok+0");
    table->queueLine("CMD_sendlogininfo+10");
    table->queueLine("CMD_sendlogininfo+-1");
    table->timer1().stop();
    while (table->queuedCount() > 0) table->Timer1Timer();
    QCOMPARE(closed.size(), 0);
    // Seats outside 1 to 4 are never touched; a bad group ends the message.
    QVERIFY(table->board()->nameLabel(4)->text() != QStringLiteral("Ok"));
}

// Random and mutated host lines, an endless line without a terminator and a
// few very long lines, all over the real connection: the table stays open,
// shows no error, handles every line, keeps its log within bounds and comes
// to rest afterwards.
void TestTchat::hostileStreamLeavesTheTableWorking() {
    FakeHost host;
    QVERIFY(joinFakeHost(host));
    QSignalSpy closed(table.get(), &Tchat::closed);
    QRandomGenerator random(4711);
    // Every command word the table knows, near misses, and fields of all kinds.
    const QList<QByteArray> words =
        QByteArray(
            "CMD_sendlogininfo CMD_chat CMD_action CMD_newplayerinfo CMD_havewrongversion "
            "CMD_wrongversion CMD_existingplayers CMD_playerdisconnected CMD_startgame "
            "CMD_nextplayer CMD_justwatching CMD_dealer CMD_placecard CMD_bidder CMD_hepassed "
            "CMD_heaccepted CMD_settrump CMD_discarder CMD_switch CMD_chooser CMD_trumpchoosen "
            "CMD_playedcard CMD_notvalid CMD_trickwinner CMD_clearcards CMD_score CMD_thewinner "
            "CMD_loadstats CMD_loadcards CMD_loadtheircards CMD_aloner CMD_goingalone "
            "CMD_playasound CMD_Chat CMD_FULL CMD_fullx x")
            .split(' ');
    const QList<QByteArray> fields =
        QByteArray("0\n1\n2\n3\n4\n5\n9\n10\n-1\n99\n5x\n\n \n  \n999999999999\n2147483648\n"
                   "-2147483649\n<b>Ann</b>\n<img src=x>\n&amp;\nA+B+C\n"
                   "Bob chats: hi :)#12 there\nhttp://example.com/a\nwww.x.org\n"
                   "javascript:alert(1)\nfile:///etc/passwd\nHTTP://WWW.\n:)#99\n:)#5x\n:)#\n"
                   ":)#1\n|clRed\n|$00FF00FF\n|$GG\n|clNope\n|99999999999\n|-5\n|\n"
                   "|clWindowText\nwave12\nwave99\nwave\nwave0\n\xC3\x28\n\xFE\n:\n::\n"
                   "says: Way To Go!")
            .split('\n');
    QByteArray stream;
    int lines = 0;
    while (lines < 4000) {
        QByteArray line = words[random.bounded(words.size())] + '+';
        const int count = random.bounded(8);
        for (int i = 0; i < count; ++i) {
            if (i) line += '+';
            line += fields[random.bounded(fields.size())];
        }
        // Mutations: changed, inserted and removed bytes.
        for (int m = random.bounded(4); m > 0 && !line.isEmpty(); --m) {
            const int at = random.bounded(line.size());
            const char byte = char(random.bounded(255));
            switch (random.bounded(3)) {
            case 0:
                line[at] = byte;
                break;
            case 1:
                line.insert(at, byte);
                break;
            default:
                line.remove(at, 1);
            }
        }
        // "Game is full" would end the table; that is tested on its own.
        QByteArrayView word, args;
        if (euchre::splitCommand(line, word, args) && word == "CMD_full") continue;
        stream += line + '\xFF';
        ++lines;
        if (lines == 1500) stream += QByteArray(300000, 'z') + '\xFF';
        if (lines % 1000 == 0)
            stream += "CMD_chat+2+Bo chats: " + QByteArray(20000, ' ') + "|clRed\xFF" +
                      "CMD_action+3+" + QByteArray(20000, 'w') + "|$00123456\xFF";
    }
    stream += "CMD_havewrongversion+Last\xFF";
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype piece = 1 + random.bounded(9000);
        host.peer->write(stream.mid(at, piece));
        at += piece;
    }

    // Ticks are driven here rather than waited for, to keep the test short.
    const QString last = QStringLiteral(" Last has a different version of the game then you. ");
    qsizetype mostItems = 0;
    const auto handled = [&] {
        while (table->queuedCount() > 0) {
            table->Timer1Timer();
            mostItems = qMax(mostItems, [&] {
                qsizetype n = 0;
                for (const auto& p : table->chat()->log()->paragraphs()) n += p.size() + 1;
                return n;
            }());
        }
        return logLines(*table).contains(last);
    };
    QTRY_VERIFY_WITH_TIMEOUT(handled(), 60000);
    QTRY_VERIFY(!table->timer1().isActive());
    QCOMPARE(table->queuedCount(), 0);
    QCOMPARE(closed.size(), 0);
    QVERIFY(shown.isEmpty());
    // Only the newest paragraph may take the log over its limit.
    QVERIFY(mostItems <= euchre::ChatLog::kMaxItems + 20003);
}

void TestTchat::chatterSoundLineWhenChatterSoundsAreOff() {
    table = makeTable();
    auto* chatter = table->findChild<QAction*>(QStringLiteral("PlayChatterSounds1"));
    QVERIFY(!chatter->isChecked());
    table->queueLine("CMD_newplayerinfo+2+Bob+0");
    table->queueLine("CMD_playasound+2+wave12+");
    table->queueLine("CMD_playasound+7+wave1+");  // no such seat
    table->queueLine("CMD_playasound+2+wave21+"); // no such sound
    table->queueLine("CMD_playasound+x+wave1+");
    QTRY_COMPARE(table->queuedCount(), 0);
    QTRY_VERIFY(!table->timer1().isActive());
    const QStringList lines = logLines(*table);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral(" Bob is Connected. "));
    QCOMPARE(lines[1], QStringLiteral("Bob:  <Chatter Sound> Oh No "));
    QCOMPARE(table->chat()->log()->paragraphs()[1][0].text, QStringLiteral("Bob: "));

    // Ticked, the sound plays instead, whatever "Play Sounds" says.
    table->findChild<QAction*>(QStringLiteral("PlaySounds1"))->setChecked(false);
    chatter->setChecked(true);
    table->sounds().setAudioOutputForTesting(true);
    table->queueLine("CMD_playasound+2+wave3+");
    QTRY_COMPARE(table->sounds().current(), QStringLiteral("wave3"));
    QCOMPARE(logLines(*table).size(), 2);
}

// ---- settings ----

void TestTchat::menuChangesBeforeLoginSaveOnlyThatKey() {
    const QString path = euchre::settingsFilePath();
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Other]\nKeep=1\n[Euchre]\nTextsize=14\nPlaysounds=false\n");
    f.close();

    table = makeTable();
    table->findChild<QAction*>(QStringLiteral("Slow1"))->trigger();
    QCOMPARE(table->botSpeed(), 750);
    table->findChild<QAction*>(QStringLiteral("N12"))->trigger();
    const QByteArray after = fileBytes(path);
    QVERIFY(after.contains("[Other]\nKeep=1\n"));
    QVERIFY(after.contains("Botspeed=750"));
    QVERIFY(after.contains("Textsize=12"));
    // The stored sound choice is not replaced by the window's start state.
    QVERIFY(after.contains("Playsounds=false"));
    QVERIFY(!after.contains("Width="));

    // Closing a window that never logged in keeps the stored bounds.
    table->move(200, 100);
    table->close();
    QVERIFY(!fileBytes(path).contains("Left="));
}

void TestTchat::loginLoadsTheSettingsAndCloseKeepsThem() {
    const QString path = euchre::settingsFilePath();
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Euchre]\nTextsize=12\nTextcolor=clNavy\nPhrase3=Hi there\nBotspeed=750\n"
            "Playsounds=false\nTop=40\nLeft=50\nWidth=820\nHeight=640\nTurnsound=1\n"
            "ChatterSounds=false\n");
    f.close();

    FakeHost host;
    QVERIFY(joinFakeHost(host));
    host.send("CMD_sendlogininfo+1\xFF"
              "CMD_newplayerinfo+1+Bob+0\xFF");
    QTRY_COMPARE(table->chat()->textSize(), 12);
    QCOMPARE(table->chat()->chatColour(), 0x00800000u);
    QCOMPARE(table->chat()->phrase(3), QStringLiteral("Hi there"));
    QCOMPARE(table->chat()->phrase(2), QStringLiteral("Good One!"));
    QCOMPARE(table->botSpeed(), 750);
    QVERIFY(!table->findChild<QAction*>(QStringLiteral("PlaySounds1"))->isChecked());
    QVERIFY(table->findChild<QAction*>(QStringLiteral("New1"))->isChecked());
    QVERIFY(!table->findChild<QAction*>(QStringLiteral("PlayChatterSounds1"))->isChecked());
    QCOMPARE(table->pos(), QPoint(50, 40));
    QCOMPARE(table->size(), QSize(820, 640));
    // The hosting player's own copy tells the host its speed.
    QTRY_VERIFY(host.received.endsWith("CMD_botspeed+1+750+\xFF"));

    // Closed where it was put: nothing is written.
    const QByteArray before = fileBytes(path);
    table->close();
    QCOMPARE(fileBytes(path), before);

    // Moved, then closed: the new place is kept.
    table->move(60, 45);
    table->close();
    const QByteArray moved = fileBytes(path);
    QVERIFY(moved.contains("Left=60"));
    QVERIFY(moved.contains("Top=45"));
    QVERIFY(moved.contains("Phrase3=Hi there"));
}

void TestTchat::resetScreenLocationAndCentredBoard() {
    table = makeTable();
    table->setCommandLine({QStringLiteral("only a name")});
    table->show();
    QVERIFY(QTest::qWaitForWindowExposed(table.get()));
    table->resize(1000, 800);
    euchre::TableBoard* board = table->board();
    QWidget* area = board->parentWidget();
    QTRY_COMPARE(board->geometry().center().x(), area->rect().center().x());
    QCOMPARE(board->size(), QSize(771, 551));
    QVERIFY(qAbs(board->geometry().center().y() - area->rect().center().y()) <= 1);

    // Scaled to the window, the board fills it and keeps its proportions;
    // every item keeps its place in table pixels, at twice the size.
    QAction* scale = table->findChild<QAction*>(QStringLiteral("ScaleTable1"));
    QVERIFY(!scale->isChecked());
    scale->trigger();
    QVERIFY(fileBytes(euchre::settingsFilePath()).contains("ScaleTable=true"));
    table->resize(2 * 780, 2 * 600);
    QTRY_VERIFY(board->width() >= 2 * 771 - 2);
    QVERIFY(board->height() <= area->height() && board->width() <= area->width());
    QCOMPARE(board->scale(), std::min((area->width() - 15) / 771.0, (area->height() - 12) / 551.0));
    for (const char* name : {"label_status", "label_playername1", "bubble1", "image_trump"}) {
        auto* item = board->findChild<QWidget*>(QLatin1String(name));
        const QRect at = board->logicalRect(item);
        QVERIFY2(qAbs(item->x() - at.x() * board->scale()) <= 1 &&
                     qAbs(item->width() - at.width() * board->scale()) <= 1,
                 name);
    }
    scale->trigger();
    QTRY_COMPARE(board->size(), QSize(771, 551));
    QCOMPARE(board->findChild<QWidget*>("bubble1")->geometry(),
             board->logicalRect(board->findChild<QWidget*>("bubble1")));

    // The area never shrinks below the board and its margin.
    table->resize(400, 300);
    QTRY_VERIFY(area->width() >= 771 + 15 && area->height() >= 551 + 12);

    table->ResetScreenLocation1Click();
    QTRY_COMPARE(table->pos(), QPoint(3, 3));
    QCOMPARE(table->height(), 600);
    table->close();
}

// ---- menus ----

// Each entry of the menu bar and of the chat's menus must do something a
// person can see: open a window, change the settings file, the chat log, its
// selection, the clipboard, the chat input, the window's place or what the
// host says back. An entry bound to nothing leaves all of it as it was.
void TestTchat::everyMenuEntryReachesItsHandler() {
    table = makeTable();
    QWidget about, help, spylist, lasttrick, scorecard, gamestart;
    euchre::Tphrases phrases;
    euchre::Ttallylist tally;
    table->setTally(&tally);
    table->setPhraseEditor(&phrases);
    euchre::TableWindows windows;
    windows.about = &about;
    windows.help = &help;
    windows.spylist = &spylist;
    windows.lasttrick = &lasttrick;
    windows.scorecard = &scorecard;
    windows.gamestart = &gamestart;
    table->setWindows(windows);
    table->chat()->chooseColour = [](const QColor&) { return QColor(200, 20, 20); };
    QList<QUrl> opened;
    table->openUrl = [&](const QUrl& url) { opened.append(url); };
    table->setCommandLine({});
    table->show();
    QTRY_VERIFY(table->isLoggedIn());
    QTRY_VERIFY(table->findChild<QAction*>(QStringLiteral("StartGame1"))->isEnabled());
    // Away from where "Reset Screen Location" puts it.
    table->move(60, 50);
    QTRY_COMPARE(table->pos(), QPoint(60, 50));

    // The records entries: an empty game record to open, and no game to save yet.
    const QString record = QDir(home->path()).filePath(QStringLiteral("empty.egn"));
    QFile recordFile(record);
    QVERIFY(recordFile.open(QIODevice::WriteOnly));
    recordFile.write(R"({"fileType":"Euchre Game Notation","version":"1.6",
        "metadata":{"players":[],"initialScore":[0,0]},"deals":[]})");
    recordFile.close();
    table->askOpenRecordPath = [&] { return record; };
    const QList<QWidget*> small = {
        &about,     &help,    &spylist, &lasttrick,          &scorecard,
        &gamestart, &phrases, &tally,   table->hostDialog(), table->joinDialog()};
    const QString settings = euchre::settingsFilePath();
    const auto seen = [&] {
        QStringList state;
        for (QWidget* w : small)
            state << QString::number(w->isVisible()) << QString::number(w->windowFlags());
        state << QString::fromLatin1(fileBytes(settings)) << logLines(*table).join('/')
              << QString::number(table->x()) << QString::number(table->y())
              << QString::number(table->chat()->scrollChatOff())
              << table->chat()->log()->textCursor().selectedText()
              << QGuiApplication::clipboard()->text() << table->chat()->input()->text()
              << QString::number(
                     table->findChild<QAction*>(QStringLiteral("JustWatch1"))->isChecked())
              << QString::number(table->statisticsWindow() &&
                                 table->statisticsWindow()->isVisible())
              << QString::number(table->windowState()) << QString::number(shown.size())
              << table->shown().status
              << QString::number(table->findChildren<euchre::Treplay*>().size());
        return state.join('|');
    };

    QList<QAction*> entries;
    QList<QAction*> choices; // one of a submenu's ticked items, such as a speed
    const std::function<void(QMenu*)> walk = [&](QMenu* menu) {
        const QList<QAction*> items = menu->actions();
        const bool choice = std::all_of(items.begin(), items.end(),
                                        [](const QAction* a) { return a->isCheckable(); });
        for (QAction* a : items) {
            if (a->menu())
                walk(a->menu());
            else if (!a->isSeparator() && a->isVisible())
                entries.append(a);
            if (choice) choices.append(a);
        }
    };
    for (QAction* top : table->menuBar()->actions()) walk(top->menu());
    QCOMPARE(entries.size(), 44);
    // The chat log's and the chat input's own menus.
    for (const char* popup : {"popup_mainchat", "popup_mychat"})
        entries += table->chat()->findChild<QMenu*>(QLatin1String(popup))->actions();
    entries.removeIf([](const QAction* a) { return a->isSeparator(); });
    QCOMPARE(entries.size(), 49);

    QStringList silent;
    QAction* exit = nullptr;
    for (QAction* entry : entries) {
        if (entry->objectName() == QLatin1String("Exit1")) {
            exit = entry;
            continue;
        }
        QVERIFY2(entry->isEnabled(), qPrintable(entry->objectName()));
        // A choice already made shows nothing new: another one is made first.
        if (entry->isChecked() && choices.contains(entry)) {
            const QList<QAction*> others =
                entry->associatedObjects().isEmpty()
                    ? QList<QAction*>{}
                    : qobject_cast<QMenu*>(entry->associatedObjects().constLast())->actions();
            for (QAction* other : others)
                if (other != entry) {
                    other->trigger();
                    break;
                }
        }
        // Something to select, copy, clear and paste.
        table->addlinetochat(QStringLiteral("A line to work on"), euchre::systemColour);
        QGuiApplication::clipboard()->setText(QStringLiteral("from the clipboard"));
        const QString before = seen();
        entry->trigger();
        if (!QTest::qWaitFor([&] { return seen() != before; }, 2000)) silent << entry->objectName();
        for (QWidget* w : small) w->hide();
        if (table->statisticsWindow()) table->statisticsWindow()->hide();
        table->setWindowState(Qt::WindowNoState);
    }
    QVERIFY2(silent.isEmpty(), qPrintable(silent.join(", ")));

    // The logo is the way to the maker's web site.
    QTest::mouseClick(table->board()->logo(), Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{euchre::makerWebSite()});

    QVERIFY(exit);
    exit->trigger();
    QTRY_VERIFY(!table->isVisible());
}

void TestTchat::menusOpenWithAltAndTheirLetter() {
    table = makeTable();
    table->setCommandLine({QStringLiteral("only a name")});
    table->show();
    QVERIFY(QTest::qWaitForWindowActive(table.get()));
    QStringList titles;
    for (QAction* top : table->menuBar()->actions()) {
        titles << top->text();
        const QChar letter = top->text().at(1);
        QTest::keyClick(table.get(), Qt::Key(letter.toUpper().unicode()), Qt::AltModifier);
        QTRY_VERIFY2(top->menu()->isVisible(), qPrintable(top->text()));
        QTest::keyClick(top->menu(), Qt::Key_Escape);
        QTRY_VERIFY(!top->menu()->isVisible());
        QTest::keyClick(table.get(), Qt::Key_Escape);
    }
    QCOMPARE(titles, QStringList({"&File", "&Options", "&View", "&Help"}));
}

// Ctrl+N starts a game for the hosting player, F11 turns full screen on and
// off, Escape closes each small window and Ctrl+Q ends the program.
void TestTchat::shortcutsAndEscape() {
    table = makeTable();
    QWidget about, help, spylist, lasttrick, scorecard, gamestart;
    euchre::Ttallylist tally;
    table->setTally(&tally);
    euchre::TableWindows windows;
    windows.about = &about;
    windows.help = &help;
    windows.spylist = &spylist;
    windows.lasttrick = &lasttrick;
    windows.scorecard = &scorecard;
    windows.gamestart = &gamestart;
    table->setWindows(windows);
    table->setCommandLine({});
    table->show();
    QTRY_VERIFY(table->isLoggedIn());
    QVERIFY(QTest::qWaitForWindowActive(table.get()));

    QTest::keyClick(table.get(), Qt::Key_N, Qt::ControlModifier);
    QTRY_VERIFY(gamestart.isVisible());
    gamestart.hide();
    for (bool on : {true, false}) {
        table->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(table.get()));
        QTest::keyClick(table.get(), Qt::Key_F11);
        QTRY_COMPARE(table->windowState().testFlag(Qt::WindowFullScreen), on);
        QCOMPARE(table->findChild<QAction*>(QStringLiteral("FullScreen1"))->isChecked(), on);
    }

    table->ViewStatistics1Click();
    QWidget* statistics = table->statisticsWindow();
    for (QWidget* window : QList<QWidget*>{&about, &help, &spylist, &lasttrick, &scorecard,
                                           &gamestart, &tally, statistics}) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }

    table->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(table.get()));
    QTest::keyClick(table.get(), Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!table->isVisible());
}

QTEST_MAIN(TestTchat)
#include "tst_tchat.moc"
