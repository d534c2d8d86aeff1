// Two table windows in one process over real sockets: one hosts with its own
// game host on a free port, the other joins; both log in, and chat lines,
// actions and chatter sounds reach both; together they play a hand with two
// computer seats, each table showing its own seat at the bottom.
#include "chat/chatbox.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "client/tgamestart.h"
#include "support/seatplayer.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
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
    void hostAndGuestPlayAHand();
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
    QTRY_VERIFY(host.isLoggedIn());
    QVERIFY(host.server());
    QCOMPARE(host.ownSlot(), 1);

    Tchat guest;
    guest.message = record;
    guest.setGamePort(host.server()->listeningPort());
    guest.setCompanionPort(freePort());
    guest.processparams({QStringLiteral("Joe"), QStringLiteral("127.0.0.1"), QStringLiteral("no")});
    QTRY_VERIFY(guest.isLoggedIn());
    QCOMPARE(guest.ownSlot(), 2);

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

void TestTwoTables::hostAndGuestPlayAHand() {
    QTemporaryDir home;
    qputenv("EUCHRE_HOME", home.path().toLocal8Bit());
    qputenv("EUCHRE_PORT", "0");
    QStringList messages;
    const auto record = [&](const QString& text, std::function<void()>) { messages.append(text); };

    Tchat host;
    host.message = record;
    euchre::Tgamestart gamestart(host);
    euchre::TableWindows windows;
    windows.gamestart = &gamestart;
    host.setWindows(windows);
    host.setCompanionPort(freePort());
    host.processparams(
        {QStringLiteral("Hana"), QStringLiteral("127.0.0.1"), QStringLiteral("true")});
    QTRY_VERIFY(host.isLoggedIn());
    host.server()->setBotSpeedSource([] { return 1; });

    Tchat guest;
    guest.message = record;
    guest.setGamePort(host.server()->listeningPort());
    guest.setCompanionPort(freePort());
    guest.processparams({QStringLiteral("Joe"), QStringLiteral("127.0.0.1"), QStringLiteral("no")});
    QTRY_COMPARE(guest.ownSlot(), 2);
    QTRY_COMPARE(host.board()->nameLabel(2)->text(), QStringLiteral("Joe"));
    QVERIFY(guest.board()->startButton()->isHidden());

    QTest::mouseClick(host.board()->startButton(), Qt::LeftButton);
    QTest::mouseClick(gamestart.findChild<QPushButton*>(QStringLiteral("button_start")),
                      Qt::LeftButton);
    using euchre::testing::SeatPlayer;
    SeatPlayer hana(host, SeatPlayer::Mouse);
    SeatPlayer joe(guest, SeatPlayer::Keys);
    QVERIFY2(euchre::testing::playUntil(
                 {&hana, &joe}, [&] { return hana.handsScored > 0 && joe.handsScored > 0; }, 60000),
             "the hand did not end in time");

    // Each table draws its own seat at the bottom and the next seat at the left.
    const QPoint bottom(88, 382), left(33, 170);
    QCOMPARE(host.board()->nameLabel(1)->pos(), bottom);
    QCOMPARE(host.board()->nameLabel(2)->pos(), left);
    QCOMPARE(guest.board()->nameLabel(2)->pos(), bottom);
    QCOMPARE(guest.board()->nameLabel(3)->pos(), left);
    for (Tchat* t : {&host, &guest}) {
        QCOMPARE(t->board()->nameLabel(1)->text(), QStringLiteral("Hana"));
        QCOMPARE(t->board()->nameLabel(2)->text(), QStringLiteral("Joe"));
        QCOMPARE(t->board()->nameLabel(3)->text(), QStringLiteral("Klick"));
        QCOMPARE(t->board()->nameLabel(4)->text(), QStringLiteral("Kling"));
    }
    // Both saw the same result.
    for (const char* score : {"label_score1", "label_score2"})
        QCOMPARE(guest.board()->label(score)->text(), host.board()->label(score)->text());
    QVERIFY(messages.isEmpty());
}

QTEST_MAIN(TestTwoTables)
#include "tst_twotables.moc"
