// Hosting and joining from the table window: every way a join fails is said
// in the Join dialog while the current game goes on; a private table's
// password; a lost connection leaves the table as at start-up with the way
// back on it; the Host dialog's taken port, its question while a game runs,
// and the invitation it copies.
#include "chat/chatbox.h"
#include "client/artitem.h"
#include "client/connectionbar.h"
#include "client/hostdialog.h"
#include "client/joindialog.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "support/fakehost.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using euchre::Tchat;
using euchre::testing::cardAt;

namespace {

// A host that says what a test tells it to: a greeting when a connection
// comes, an answer to each line that starts with a given word, and perhaps
// a close after it.
class ScriptedHost {
public:
    struct Reply {
        QByteArray prefix;
        QByteArray answer;
        bool close = false;
    };

    explicit ScriptedHost(quint16 port = 0) {
        server.listen(QHostAddress::LocalHost, port);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] { read(); });
            send(greeting, closeAfterGreeting);
        });
    }
    quint16 port() const { return server.serverPort(); }
    void send(const QByteArray& bytes, bool close = false) {
        if (!peer) return;
        peer->write(bytes);
        peer->flush();
        if (close) peer->disconnectFromHost();
    }

    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray greeting;
    bool closeAfterGreeting = false;
    QList<Reply> replies;
    QByteArray received;

private:
    void read() {
        const QByteArray chunk = peer->readAll();
        received += chunk;
        m_pending += chunk;
        qsizetype end;
        while ((end = m_pending.indexOf('\xFF')) >= 0) {
            const QByteArray line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            for (const Reply& r : replies)
                if (!line.isEmpty() && line.startsWith(r.prefix)) {
                    send(r.answer, r.close);
                    break;
                }
        }
    }
    QByteArray m_pending;
};

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QStringList logLines(const Tchat& t) {
    QStringList lines;
    for (const auto& para : t.chat()->log()->paragraphs()) {
        QString text;
        for (const auto& item : para) text += item.text;
        lines.append(text.trimmed());
    }
    return lines;
}

// Everything the board shows, item by item, apart from the chat column and
// the lost-connection panel.
QStringList boardState(const Tchat& t) {
    QStringList out;
    for (QWidget* w : t.board()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == t.chat() || w == t.connectionBar()) continue;
        const QRect g = w->geometry();
        QString line = QStringLiteral("%1 %2 %3,%4 %5x%6")
                           .arg(w->objectName())
                           .arg(w->isHidden() ? "hidden" : "shown")
                           .arg(g.x())
                           .arg(g.y())
                           .arg(g.width())
                           .arg(g.height());
        if (auto* label = qobject_cast<QLabel*>(w)) line += u' ' + label->text();
        if (auto* art = qobject_cast<euchre::ArtItem*>(w))
            line += QStringLiteral(" #%1 art %2").arg(art->number()).arg(art->hasArt());
        out << line;
    }
    out.sort();
    return out;
}

void typeInto(QWidget* field, const QString& text) {
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

} // namespace

class TestHostJoin : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void joinFailuresAreSaidInTheDialog_data();
    void joinFailuresAreSaidInTheDialog();
    void lostConnectionOffersTheWayBack();
    void hostDialogOpensATableAndCopiesAnInvitation();

private:
    // A window playing a solo game of its own.
    Tchat& soloTable();
    void join(const QString& host, quint16 port, const QString& password);

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<Tchat> table;
    QStringList questions;
    bool answer = true;
};

void TestHostJoin::init() {
    home = std::make_unique<QTemporaryDir>();
    qputenv("EUCHRE_HOME", home->path().toLocal8Bit());
    qputenv("EUCHRE_PORT", "0");
    // No table of these tests is looked for on the network.
    qputenv("EUCHRE_DISCOVERY_ADDRESS", "127.0.0.1");
    qputenv("EUCHRE_DISCOVERY_PORT", QByteArray::number(closedPort()));
    questions.clear();
    answer = true;
}

void TestHostJoin::cleanup() {
    table.reset();
    home.reset();
}

Tchat& TestHostJoin::soloTable() {
    table = std::make_unique<Tchat>();
    table->message = [](const QString& text, std::function<void()>) {
        qWarning("%s", qPrintable(text));
    };
    table->ask = [this](const QString& question, std::function<void(bool)> reply) {
        questions << question;
        reply(answer);
    };
    table->processparams({});
    return *table;
}

// Fills in the Join dialog as a person would and presses Join.
void TestHostJoin::join(const QString& host, quint16 port, const QString& password) {
    table->Join1Click();
    euchre::JoinDialog* d = table->joinDialog();
    typeInto(d->nameEdit(), QStringLiteral("Joe"));
    typeInto(d->addressBox()->lineEdit(), host);
    typeInto(d->portBox(), QString::number(port));
    typeInto(d->passwordEdit(), password);
    QTest::mouseClick(d->joinButton(), Qt::LeftButton);
}

void TestHostJoin::joinFailuresAreSaidInTheDialog_data() {
    QTest::addColumn<QString>("address"); // empty: the scripted host
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<bool>("closeAfterGreeting");
    QTest::addColumn<QByteArray>("onPassword");
    QTest::addColumn<QByteArray>("onLogin");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("said");

    const QByteArray ask = "CMD_password+\xFF";
    const QByteArray admit = "CMD_sendlogininfo+2\xFF";
    const QByteArray named = "CMD_newplayerinfo+2+Joe+0\xFF"
                             "CMD_existingplayers+1+Hana+0\xFF";
    QTest::newRow("nothing listens")
        << "refused" << QByteArray() << false << QByteArray() << QByteArray() << ""
        << "Nothing answers at 127.0.0.1 port";
    QTest::newRow("no such address")
        << "no-such-host.invalid" << QByteArray() << false << QByteArray() << QByteArray() << ""
        << "The address \"no-such-host.invalid\" cannot be found";
    QTest::newRow("silent host") << "" << QByteArray() << false << QByteArray() << QByteArray()
                                 << ""
                                 << "No answer from 127.0.0.1 port";
    QTest::newRow("full") << "" << QByteArray("CMD_full+\xFF") << true << QByteArray()
                          << QByteArray() << ""
                          << "Game is full";
    QTest::newRow("closed at once")
        << "" << QByteArray() << true << QByteArray() << QByteArray() << ""
        << "closed the connection before letting you in";
    QTest::newRow("other version")
        << "" << admit << false << QByteArray() << named + "CMD_wrongversion+\xFF"
        << ""
        << "runs a different version of Euchre";
    QTest::newRow("password missing") << "" << ask << false << QByteArray() << QByteArray() << ""
                                      << "This table is private. Enter its password";
    QTest::newRow("password wrong")
        << "" << ask << false << QByteArray("CMD_wrongpassword+\xFF") << QByteArray() << "nope"
        << "Wrong password";
    QTest::newRow("locked out") << "" << ask << false << QByteArray("CMD_lockedout+\xFF")
                                << QByteArray() << "nope"
                                << "Too many wrong passwords";
    QTest::newRow("right password") << "" << ask << false << admit << named << "secret"
                                    << "";
}

void TestHostJoin::joinFailuresAreSaidInTheDialog() {
    QFETCH(QString, address);
    QFETCH(QByteArray, greeting);
    QFETCH(bool, closeAfterGreeting);
    QFETCH(QByteArray, onPassword);
    QFETCH(QByteArray, onLogin);
    QFETCH(QString, password);
    QFETCH(QString, said);

    ScriptedHost fake;
    fake.greeting = greeting;
    fake.closeAfterGreeting = closeAfterGreeting;
    fake.replies = {
        {"CMD_password+", onPassword, said.startsWith("Wrong") || said.startsWith("Too")},
        {"CMD_logininfo+", onLogin, !said.isEmpty()}};
    Tchat& t = soloTable();
    QTRY_VERIFY(t.isLoggedIn());
    // A game is being played at this table: joining asks first.
    t.queueLine("CMD_startgame+You+10");
    QTRY_VERIFY(t.gameRunning());

    const quint16 port = address == "refused" ? closedPort() : fake.port();
    const QString host = address.isEmpty() || address == "refused" ? "127.0.0.1" : address;
    join(host, port, password);
    euchre::JoinDialog* d = t.joinDialog();
    QCOMPARE(questions.size(), 1);
    QVERIFY(questions[0].contains("Leave it and join the table at " + host));

    if (said.isEmpty()) {
        QTRY_VERIFY(!d->isVisible());
        QCOMPARE(t.ownSlot(), 2);
        QVERIFY(!t.login().ishost);
        QVERIFY(!t.server()); // the solo table went with its game
        QCOMPARE(fake.received, QByteArray("CMD_password+secret\xFF"
                                           "CMD_logininfo+2+1.0.6+Joe\xFF\xFF"));
        QTRY_COMPARE(t.board()->nameLabel(1)->text(), QStringLiteral("Hana"));
        QCOMPARE(t.board()->nameLabel(2)->text(), QStringLiteral("Joe"));
        QVERIFY(logLines(t).contains(
            QStringLiteral("You joined the table at 127.0.0.1 port %1.").arg(port)));
        // The name and the table are offered the next time.
        t.Join1Click();
        QCOMPARE(d->nameEdit()->text(), QStringLiteral("Joe"));
        QCOMPARE(d->addressBox()->itemText(0), QStringLiteral("127.0.0.1:%1").arg(port));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(d->statusLabel()->text().contains(said), 8000);
    // The dialog stays with what was typed, and the game here goes on.
    QVERIFY(d->isVisible());
    QVERIFY(d->statusLabel()->isVisibleTo(d));
    QVERIFY(d->joinButton()->isEnabled());
    QCOMPARE(d->nameEdit()->text(), QStringLiteral("Joe"));
    QCOMPARE(d->addressBox()->currentText(), host);
    QCOMPARE(d->portBox()->value(), int(port));
    QCOMPARE(d->passwordEdit()->text(), password);
    QVERIFY(t.isLoggedIn() && t.login().ishost && t.gameRunning());
    QCOMPARE(t.ownSlot(), 1);
    QVERIFY(!t.isJoining());
}

void TestHostJoin::lostConnectionOffersTheWayBack() {
    const QStringList startUp = boardState(Tchat());
    auto fake = std::make_unique<ScriptedHost>();
    const quint16 port = fake->port();
    fake->greeting = "CMD_sendlogininfo+3\xFF";
    fake->replies = {{"CMD_logininfo+", "CMD_newplayerinfo+3+Joe+0\xFF"
                                        "CMD_existingplayers+1+Hana+0\xFF"}};
    table = std::make_unique<Tchat>();
    Tchat& t = *table;
    QStringList shown;
    t.message = [&](const QString& text, std::function<void()>) { shown << text; };
    QSignalSpy closed(&t, &Tchat::closed);
    join("127.0.0.1", port, "pw");
    QTRY_COMPARE(t.ownSlot(), 3);
    QTRY_COMPARE(t.board()->nameLabel(3)->text(), QStringLiteral("Joe"));
    QTRY_COMPARE(t.board()->nameLabel(1)->text(), QStringLiteral("Hana"));
    // A game in the middle of a hand.
    fake->send("CMD_startgame+Hana+10\xFF"
               "CMD_dealer+1+\xFF"
               "CMD_placecard+3+1+23+2+9+3+49+4+12+5+36\xFF"
               "CMD_loadtheircards+1+5+2+5+4+5\xFF"
               "CMD_settrump+23\xFF"
               "CMD_bidder+3+\xFF"
               "CMD_playerdisconnected+1+Hana\xFF");
    QTRY_VERIFY(cardAt(t, 5));
    QTRY_VERIFY(t.board()->bubble(1)->hasArt());

    // The host goes: the window stays, says so, and offers the way back.
    fake.reset();
    QTRY_VERIFY(t.connectionBar()->isVisibleTo(&t));
    QVERIFY(logLines(t).contains(QStringLiteral("The connection to the host was lost.")));
    QVERIFY(logLines(t).contains(QStringLiteral("Hana disconnected.")));
    QCOMPARE(closed.size(), 0);
    QCOMPARE(boardState(t), startUp);
    QVERIFY(!t.isLoggedIn());
    QVERIFY(!t.gameRunning());
    QVERIFY(t.connectionBar()->textLabel()->text().contains(QString::number(port)));

    // Nobody there yet: Reconnect says so on the table.
    QTest::mouseClick(t.connectionBar()->reconnectButton(), Qt::LeftButton);
    QTRY_VERIFY(t.connectionBar()->textLabel()->text().startsWith("Nothing answers"));
    QVERIFY(t.connectionBar()->reconnectButton()->isEnabled());

    // A host on the same port again: Reconnect gives the same name and password.
    ScriptedHost again(port);
    QCOMPARE(again.port(), port);
    again.greeting = "CMD_password+\xFF";
    again.replies = {{"CMD_password+pw", "CMD_sendlogininfo+2\xFF"},
                     {"CMD_logininfo+", "CMD_newplayerinfo+2+Joe+0\xFF"}};
    QTest::mouseClick(t.connectionBar()->reconnectButton(), Qt::LeftButton);
    QTRY_COMPARE(t.ownSlot(), 2);
    QTRY_VERIFY(!t.connectionBar()->isVisibleTo(&t));
    QCOMPARE(again.received, QByteArray("CMD_password+pw\xFF"
                                        "CMD_logininfo+2+1.0.6+Joe\xFF\xFF"));
    QTRY_COMPARE(t.board()->nameLabel(2)->text(), QStringLiteral("Joe"));
    // Joining the same table again would only take a second seat there.
    QString again_;
    t.joinGame({"127.0.0.1", port, "Joe", "pw"},
               [&](const euchre::JoinOutcome& outcome) { again_ = outcome.text; });
    QCOMPARE(again_, QStringLiteral("You are at this table already."));
    QVERIFY(!t.isJoining());

    // Join... on the panel opens the dialog with the lost table in it.
    again.send("", true);
    QTRY_VERIFY(t.connectionBar()->isVisibleTo(&t));
    QTest::mouseClick(t.connectionBar()->joinButton(), Qt::LeftButton);
    QVERIFY(t.joinDialog()->isVisible());
    QCOMPARE(t.joinDialog()->addressBox()->currentText(), QStringLiteral("127.0.0.1"));
    QCOMPARE(t.joinDialog()->portBox()->value(), int(port));
    QCOMPARE(t.joinDialog()->nameEdit()->text(), QStringLiteral("Joe"));
    QCOMPARE(closed.size(), 0);
    QVERIFY(shown.isEmpty());
}

void TestHostJoin::hostDialogOpensATableAndCopiesAnInvitation() {
    Tchat& t = soloTable();
    QTRY_VERIFY(t.isLoggedIn());
    euchre::Hosting* solo = t.server();
    t.queueLine("CMD_startgame+You+10");
    QTRY_VERIFY(t.gameRunning());

    // A taken port is said in the dialog, which keeps what was typed.
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::Any, 0));
    t.Host1Click();
    euchre::HostDialog* d = t.hostDialog();
    typeInto(d->nameEdit(), QStringLiteral("Hana"));
    typeInto(d->portBox(), QString::number(taken.serverPort()));
    typeInto(d->passwordEdit(), QStringLiteral("s3cret"));
    QTest::mouseClick(d->hostButton(), Qt::LeftButton);
    QVERIFY(d->failureLabel()->text().contains(
        QStringLiteral("Port %1 is taken").arg(taken.serverPort())));
    QVERIFY(d->isVisible() && !d->showsInvitation());
    QCOMPARE(d->nameEdit()->text(), QStringLiteral("Hana"));
    QCOMPARE(d->passwordEdit()->text(), QStringLiteral("s3cret"));
    QCOMPARE(t.server(), solo); // the game here goes on

    // Choosing to stay changes nothing.
    const quint16 port = closedPort();
    typeInto(d->portBox(), QString::number(port));
    answer = false;
    QTest::mouseClick(d->hostButton(), Qt::LeftButton);
    QCOMPARE(questions.size(), 2);
    QCOMPARE(t.server(), solo);
    QVERIFY(d->hostButton()->isEnabled() && !d->showsInvitation());

    // Leaving it opens the new table in this window, where the player logs in anew.
    answer = true;
    QTest::mouseClick(d->hostButton(), Qt::LeftButton);
    QTRY_VERIFY(d->showsInvitation());
    QVERIFY(t.server() && t.server() != solo);
    QCOMPARE(t.server()->listeningPort(), port);
    QTRY_VERIFY(t.isLoggedIn());
    QTRY_COMPARE(t.board()->nameLabel(1)->text(), QStringLiteral("Hana"));
    QVERIFY(!t.gameRunning());

    // Where others join, and the invitation Copy puts on the clipboard.
    const QStringList addresses = euchre::HostDialog::joinAddresses();
    if (addresses.isEmpty()) QSKIP("this machine has no network address to invite to");
    QCOMPARE(d->addressList()->count(), addresses.size());
    QVERIFY(d->addressList()->item(0)->text().startsWith(addresses[0]));
    QTest::mouseClick(d->copyButton(), Qt::LeftButton);
    const QString invitation = QGuiApplication::clipboard()->text();
    QVERIFY(invitation.contains(
        QStringLiteral("euchre://%1:%2")
            .arg(addresses[0].contains(':') ? '[' + addresses[0] + ']' : addresses[0])
            .arg(port)));
    QVERIFY(invitation.contains(
        QStringLiteral("address %1 and the port %2").arg(addresses[0]).arg(port)));
    QVERIFY(invitation.contains(QStringLiteral("private")));
    QVERIFY(!invitation.contains(QStringLiteral("s3cret")));
    for (const QString& a : addresses) QVERIFY(a != "127.0.0.1" && a != "::1");
}

QTEST_MAIN(TestHostJoin)
#include "tst_hostjoin.moc"
