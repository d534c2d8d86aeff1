// Two table windows in one process over real sockets: one hosts with its own
// game host on a free port, the other joins; both log in, and chat lines,
// actions and chatter sounds reach both.
#include "chat/chatbox.h"
#include "client/tableboard.h"
#include "client/tchat.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using euchre::Tchat;

namespace {

bool logShows(const Tchat& t, const QString& line) {
    for (const auto& para : t.chat()->log()->paragraphs()) {
        QString text;
        for (const auto& item : para) text += item.text;
        if (text == line) return true;
    }
    return false;
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

class TestTwoTables : public QObject {
    Q_OBJECT
private slots:
    void hostAndGuestChatAndSendSounds();
};

void TestTwoTables::hostAndGuestChatAndSendSounds() {
    QTemporaryDir home;
    qputenv("EUCHRE_HOME", home.path().toLocal8Bit());
    qputenv("EUCHRE_PORT", "0");
    QStringList messages;
    const auto record = [&](const QString& text, std::function<void()>) { messages.append(text); };

    auto hosting = std::make_unique<Tchat>();
    Tchat& host = *hosting;
    host.message = record;
    host.setCompanionPort(freePort());
    host.processparams(
        {QStringLiteral("Hana"), QStringLiteral("127.0.0.1"), QStringLiteral("true")});
    QTRY_VERIFY(host.loggedin);
    QVERIFY(host.server());
    QCOMPARE(host.myslot, 1);

    Tchat guest;
    guest.message = record;
    guest.setGamePort(host.server()->listeningPort());
    guest.setCompanionPort(freePort());
    guest.processparams({QStringLiteral("Joe"), QStringLiteral("127.0.0.1"), QStringLiteral("no")});
    QTRY_VERIFY(guest.loggedin);
    QCOMPARE(guest.myslot, 2);

    // Each table names the other player.
    QTRY_VERIFY(logShows(host, QStringLiteral(" Joe is Connected. ")));
    QTRY_VERIFY(logShows(guest, QStringLiteral(" Hana is Connected. ")));
    QTRY_COMPARE(host.board()->nameLabel(2)->text(), QStringLiteral("Joe"));
    QTRY_COMPARE(guest.board()->nameLabel(1)->text(), QStringLiteral("Hana"));

    // A chat line typed at the host's table.
    host.chat()->input()->setText(QStringLiteral("good luck :)#12"));
    host.chat()->sendit();
    const QString chatLine = QStringLiteral("Hana chats:  good luck  ");
    QTRY_VERIFY(logShows(host, chatLine));
    QTRY_VERIFY(logShows(guest, chatLine));
    // The smiley arrived as a picture on the other side too.
    const auto& last = guest.chat()->log()->paragraphs().last();
    QCOMPARE(last.last().kind, euchre::ChatLog::ItemKind::Picture);
    QCOMPARE(last.last().picture, 2);

    // An action typed at the guest's table.
    guest.chat()->input()->setText(QStringLiteral("/me waves"));
    guest.chat()->sendit();
    QTRY_VERIFY(logShows(guest, QStringLiteral(" Joe waves ")));
    QTRY_VERIFY(logShows(host, QStringLiteral(" Joe waves ")));

    // A chatter sound from the guest's seat: the guest hears it, the host has
    // chatter sounds off and reads who sent which one.
    guest.sounds().setAudioOutputForTesting(true);
    auto* hostChatter = host.findChild<QAction*>(QStringLiteral("PlayChatterSounds1"));
    QVERIFY(guest.findChild<QAction*>(QStringLiteral("PlayChatterSounds1"))->isChecked());
    hostChatter->setChecked(false);
    guest.chat()->soundsMenu()->findChild<QAction*>(QStringLiteral("wave12"))->trigger();
    QTRY_COMPARE(guest.sounds().current(), QStringLiteral("wave12"));
    QTRY_VERIFY(logShows(host, QStringLiteral("Joe:  <Chatter Sound> Oh No ")));

    QVERIFY(messages.isEmpty());

    // When the hosting table goes, the guest's connection closes and so does
    // its window.
    QSignalSpy guestClosed(&guest, &Tchat::closed);
    host.close();
    hosting.reset();
    QTRY_COMPARE(guestClosed.size(), 1);
}

QTEST_MAIN(TestTwoTables)
#include "tst_twotables.moc"
