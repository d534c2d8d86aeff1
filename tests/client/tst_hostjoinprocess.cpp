// Two desktop processes on this machine: a child process hosts through its
// Host dialog; this one finds the table in "Tables on this network", joins
// through the Join dialog, and both play a hand with two computer seats.
// Then the host ends, this window stays and offers Reconnect, and a new host
// on the same port takes the player back.
#include "chat/chatbox.h"
#include "client/connectionbar.h"
#include "client/hostdialog.h"
#include "client/joindialog.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "client/tgamestart.h"
#include "support/seatplayer.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUdpSocket>
#include <cstdio>

using euchre::Tchat;
using euchre::testing::SeatPlayer;

namespace {

constexpr char kHostRole[] = "--host-role";

void say(const QByteArray& line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The child: a table window that hosts through its dialog as "Hana", starts a
// game once Joe sits down, plays its own seat, and runs until it is ended.
int hostRole(int argc, char** argv) {
    QApplication app(argc, argv);
    Tchat table;
    euchre::Tgamestart gamestart(table);
    euchre::TableWindows windows;
    windows.gamestart = &gamestart;
    table.setWindows(windows);
    table.message = [](const QString& text, std::function<void()>) {
        std::fprintf(stderr, "host: %s\n", qPrintable(text));
    };
    table.setCommandLine({QStringLiteral("hosting-through-the-dialog")});
    table.show();
    table.Host1Click();
    euchre::HostDialog* dialog = table.hostDialog();
    // The name is remembered from the last time: typed over.
    QTest::keyClick(dialog->nameEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog->nameEdit(), QStringLiteral("Hana"));
    QTest::mouseClick(dialog->hostButton(), Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return table.isLoggedIn(); }, 10000)) return 3;
    table.server()->setBotSpeedSource([] { return 1; });
    say("hosting " + QByteArray::number(table.server()->listeningPort()));

    QLabel* second = table.board()->nameLabel(2);
    if (!QTest::qWaitFor([&] { return second->text() == QLatin1String("Joe"); }, 60000)) return 4;
    say("seated " + second->text().toUtf8() + " 2");
    QTest::mouseClick(table.board()->startButton(), Qt::LeftButton);
    QTest::mouseClick(gamestart.findChild<QPushButton*>(QStringLiteral("button_start")),
                      Qt::LeftButton);
    SeatPlayer hana(table, SeatPlayer::Mouse);
    if (!euchre::testing::playUntil(
            {&hana}, [&] { return hana.handsScored > 0; }, 90000))
        return 5;
    say("scored " + table.board()->label("label_score1")->text().toUtf8() + ' ' +
        table.board()->label("label_score2")->text().toUtf8());
    return app.exec();
}

quint16 freeTcpPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::Any, 0);
    return probe.serverPort();
}

quint16 freeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::Any, 0);
    return probe.localPort();
}

// What the child has said so far, line by line.
class Child {
public:
    Child(const QProcessEnvironment& env) {
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(), {QLatin1String(kHostRole)});
    }
    ~Child() {
        process.kill();
        process.waitForFinished(5000);
    }
    // Waits (bounded) for a line starting with `prefix`; the line, or empty.
    QString waitFor(const QString& prefix, int ms) {
        QString found;
        [[maybe_unused]] const bool ended = QTest::qWaitFor(
            [&] {
                output += QString::fromUtf8(process.readAllStandardOutput());
                for (const QString& line : output.split(u'\n'))
                    if (line.startsWith(prefix)) found = line;
                return !found.isEmpty() || process.state() == QProcess::NotRunning;
            },
            ms);
        return found;
    }
    QProcess process;
    QString output;
};

bool logShows(const Tchat& t, const QString& line) {
    for (const auto& para : t.chat()->log()->paragraphs()) {
        QString text;
        for (const auto& item : para) text += item.text;
        if (text.trimmed() == line) return true;
    }
    return false;
}

QTreeWidgetItem* tableHostedBy(QTreeWidget* list, const QString& name) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == name) return list->topLevelItem(i);
    return nullptr;
}

} // namespace

class TestHostJoinProcess : public QObject {
    Q_OBJECT
private slots:
    void hostFoundJoinedPlayedLostAndBack();
};

void TestHostJoinProcess::hostFoundJoinedPlayedLostAndBack() {
    QTemporaryDir hostHome, joinHome;
    const quint16 gamePort = freeTcpPort();
    const quint16 discoveryPort = freeUdpPort();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("EUCHRE_HOME"), hostHome.path());
    env.insert(QStringLiteral("EUCHRE_PORT"), QString::number(gamePort));
    env.insert(QStringLiteral("EUCHRE_DISCOVERY_PORT"), QString::number(discoveryPort));
    env.insert(QStringLiteral("EUCHRE_INSTANCE"),
               QStringLiteral("hostjoin-%1").arg(QCoreApplication::applicationPid()));
    qputenv("EUCHRE_HOME", joinHome.path().toLocal8Bit());
    qputenv("EUCHRE_DISCOVERY_PORT", QByteArray::number(discoveryPort));
    qputenv("EUCHRE_DISCOVERY_ADDRESS", "127.0.0.1");

    auto host = std::make_unique<Child>(env);
    const QString hosting = host->waitFor(QStringLiteral("hosting "), 20000);
    QCOMPARE(hosting, QStringLiteral("hosting %1").arg(gamePort));

    Tchat table;
    QStringList shown;
    table.message = [&](const QString& text, std::function<void()>) { shown << text; };
    table.setCommandLine({QStringLiteral("joining-through-the-dialog")});
    table.show();
    QSignalSpy closed(&table, &Tchat::closed);

    // The table turns up in the list; a click fills in where it is.
    table.Join1Click();
    euchre::JoinDialog* dialog = table.joinDialog();
    QTest::keyClicks(dialog->nameEdit(), QStringLiteral("Joe"));
    QTreeWidget* list = dialog->tableList();
    QTRY_VERIFY_WITH_TIMEOUT(tableHostedBy(list, QStringLiteral("Hana")), 10000);
    QTreeWidgetItem* row = tableHostedBy(list, QStringLiteral("Hana"));
    QCOMPARE(row->text(1), QStringLiteral("1 of 4"));
    QCOMPARE(row->text(3), QStringLiteral("waiting"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
    QCOMPARE(dialog->addressBox()->currentText(), QStringLiteral("127.0.0.1"));
    QCOMPARE(dialog->portBox()->value(), int(gamePort));
    // Joe answers whatever the table asks of him from the moment he sits down.
    SeatPlayer joe(table, SeatPlayer::Keys);
    QTest::mouseClick(dialog->joinButton(), Qt::LeftButton);

    // Both see the other at the right seat.
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 10000);
    QCOMPARE(table.ownSlot(), 2);
    QTRY_COMPARE(table.board()->nameLabel(1)->text(), QStringLiteral("Hana"));
    QCOMPARE(table.board()->nameLabel(2)->text(), QStringLiteral("Joe"));
    QCOMPARE(host->waitFor(QStringLiteral("seated "), 20000), QStringLiteral("seated Joe 2"));

    // A hand with the computer in seats 3 and 4.
    QVERIFY2(euchre::testing::playUntil(
                 {&joe}, [&] { return joe.handsScored > 0; }, 90000),
             "the hand did not end in time");
    QCOMPARE(table.board()->nameLabel(3)->text(), QStringLiteral("Klick"));
    QCOMPARE(table.board()->nameLabel(4)->text(), QStringLiteral("Kling"));
    const QString scored = host->waitFor(QStringLiteral("scored "), 20000);
    QCOMPARE(scored, QStringLiteral("scored %1 %2")
                         .arg(table.board()->label("label_score1")->text(),
                              table.board()->label("label_score2")->text()));

    // The host ends: this window stays and offers the way back.
    host.reset();
    QTRY_VERIFY_WITH_TIMEOUT(table.connectionBar()->isVisibleTo(&table), 10000);
    QVERIFY(logShows(table, QStringLiteral("The connection to the host was lost.")));
    QVERIFY(table.connectionBar()->reconnectButton()->isEnabled());
    QCOMPARE(closed.size(), 0);
    QVERIFY(table.isVisible());

    // A new host on the same port, and Reconnect.
    host = std::make_unique<Child>(env);
    QCOMPARE(host->waitFor(QStringLiteral("hosting "), 20000), hosting);
    QTest::mouseClick(table.connectionBar()->reconnectButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!table.connectionBar()->isVisibleTo(&table), 10000);
    QCOMPARE(table.ownSlot(), 2);
    QTRY_COMPARE(table.board()->nameLabel(1)->text(), QStringLiteral("Hana"));
    QCOMPARE(host->waitFor(QStringLiteral("seated "), 20000), QStringLiteral("seated Joe 2"));
    QVERIFY2(shown.isEmpty(), qPrintable(shown.join(u'\n')));
}

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], kHostRole) == 0) return hostRole(argc, argv);
    QApplication app(argc, argv);
    TestHostJoinProcess test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostjoinprocess.moc"
