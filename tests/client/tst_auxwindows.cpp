// The windows around the table: help topics and links, the spectator list's
// "Remove From Game", and the lobby download against a small HTTP server on
// the loopback (saved, checked, refused, not found, stopped).
//
// With EUCHRE_SHOTS set to a folder, each test also saves a picture of its
// window there (tools/aux-screenshots.sh).
#include "client/lobbysettings.h"
#include "client/tabout.h"
#include "client/tchat.h"
#include "client/tdownload.h"
#include "client/thelp.h"
#include "client/treplay.h"
#include "client/tspylist.h"
#include "support/fakehost.h"

#include <QAction>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace euchre;
using euchre::testing::feed;

namespace {

void shoot(QWidget* window, const QString& name) {
    const QString dir = qEnvironmentVariable("EUCHRE_SHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    window->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// A web server for one kind of answer per path, speaking HTTP/1.0 by hand:
// "/Brom77LobbySetup.exe" the installer, "/stall.exe" the start of a large
// file and then nothing, anything else "404 Not Found".
class TinyHttp {
public:
    static constexpr qsizetype kMaxRequest = 16 * 1024;

    explicit TinyHttp(QByteArray body) : m_body(std::move(body)) {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            QTcpSocket* peer = m_server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this, peer] { read(peer); });
        });
    }
    QString address(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    QByteArray request; // the last request's head

private:
    void read(QTcpSocket* peer) {
        QByteArray& buffer = m_pending[peer];
        buffer += peer->readAll();
        if (buffer.size() > kMaxRequest) return peer->abort();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        request = buffer.left(end);
        const QByteArray path = request.split(' ').value(1);
        if (path == "/Brom77LobbySetup.exe") {
            peer->write("HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n"
                        "Content-Length: " +
                        QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
            peer->disconnectFromHost();
        } else if (path == "/stall.exe") {
            peer->write("HTTP/1.0 200 OK\r\nContent-Length: 50000000\r\n\r\n" + m_body.left(4096));
        } else {
            peer->write("HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nNot found");
            peer->disconnectFromHost();
        }
    }

    QTcpServer m_server;
    QByteArray m_body;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

QByteArray installerBytes() {
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i) bytes.append(static_cast<char>((i * 7919) >> 3));
    return bytes;
}

QString sha256Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString labelText(QWidget* w, const char* name) {
    return w->findChild<QLabel*>(QLatin1String(name))->text();
}

} // namespace

class TestAuxWindows : public QObject {
    Q_OBJECT
private slots:
    void helpTopicsAndLinks_data();
    void helpTopicsAndLinks();
    void aboutLinkAndPicture();
    void spyListRemovesTheRightSlot();
    void download_data();
    void download();
    void doNotShowAgainKeepsTheOtherKeys();
    void lobbyKeysAreReadSafely_data();
    void lobbyKeysAreReadSafely();
    void playWithOthersStartsOnlyAnInstalledLobby();
    void replayStepsThroughARecord_data();
    void replayStepsThroughARecord();
};

void TestAuxWindows::helpTopicsAndLinks_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("overview") << 1 << "Overview"
                              << "the left bower";
    QTest::newRow("connecting") << 2 << "Connecting"
                                << "EUCHRE_PORT";
    QTest::newRow("game play") << 3 << "Game Play"
                               << "The dealer is never forced";
    QTest::newRow("scoring") << 4 << "Scoring"
                             << "euchred";
    QTest::newRow("documentation") << 5 << "Documentation"
                                   << "1.0.6";
    QTest::newRow("license") << 6 << "License"
                             << "WITHOUT WARRANTY";
    QTest::newRow("lobby") << 11 << "Lobby"
                           << "LobbySha256";
}

void TestAuxWindows::helpTopicsAndLinks() {
    QFETCH(int, tag);
    QFETCH(QString, caption);
    QFETCH(QString, phrase);
    Thelp help;
    QList<QUrl> opened;
    help.openUrl = [&](const QUrl& url) { opened.append(url); };
    QSignalSpy download(&help, &Thelp::lobbyDownloadRequested);
    QLabel* heading = help.findChild<QLabel*>(QStringLiteral("label_caption"));
    QCOMPARE(heading->text(), QStringLiteral("Overview"));

    QTest::mouseClick(help.findChild<QPushButton*>(QStringLiteral("SelButton%1").arg(tag)),
                      Qt::LeftButton);
    QCOMPARE(heading->text(), caption);
    auto* pages = help.findChild<QStackedWidget*>();
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("memo%1").arg(tag));
    QVERIFY(help.page(tag)->toPlainText().contains(phrase));
    help.show();
    shoot(&help, QStringLiteral("help-%1").arg(tag));

    // Links: another topic, the download window, and the web.
    QTextBrowser* page = help.page(tag);
    emit page->anchorClicked(QUrl(QStringLiteral("topic:4")));
    QCOMPARE(help.currentTopic(), 4);
    QCOMPARE(heading->text(), QStringLiteral("Scoring"));
    emit page->anchorClicked(QUrl(QStringLiteral("topic:99")));
    QCOMPARE(help.currentTopic(), 4);
    emit page->anchorClicked(QUrl(QStringLiteral("euchre:download")));
    QCOMPARE(download.count(), 1);
    QVERIFY(opened.isEmpty());
    emit page->anchorClicked(QUrl(QStringLiteral("https://example.org/")));
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/"))});
}

void TestAuxWindows::aboutLinkAndPicture() {
    Tabout about;
    QList<QUrl> opened;
    about.openUrl = [&](const QUrl& url) { opened.append(url); };
    about.show();
    shoot(&about, QStringLiteral("about"));
    QTest::mouseClick(about.findChild<QLabel*>(QStringLiteral("Image1")), Qt::LeftButton);
    QVERIFY(about.isHidden());
    about.Label7Click();
    QCOMPARE(opened, QList<QUrl>{makerWebSite()});
}

void TestAuxWindows::spyListRemovesTheRightSlot() {
    QTemporaryDir home;
    qputenv("EUCHRE_HOME", home.path().toLocal8Bit());
    Tchat table;
    Tspylist spies;
    QObject::connect(&table, &Tchat::spylistChanged, &spies,
                     [&] { spies.setEntries(table.shown().spylist); });
    bool hosting = false;
    QList<int> kicked;
    spies.isHosting = [&] { return hosting; };
    spies.kick = [&](int slot) { kicked.append(slot); };
    auto* list = spies.findChild<QListWidget*>(QStringLiteral("listbox_spys"));
    const auto listed = [list] {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) entries.append(list->item(i)->text());
        return entries;
    };
    feed(table, "CMD_newplayerinfo+5+Ann+0+6+Bo: 9+0+8+Cy+0");
    QCOMPARE(listed(), (QStringList{QStringLiteral("5: Ann"), QStringLiteral("6: Bo: 9"),
                                    QStringLiteral("8: Cy")}));
    spies.show();
    shoot(&spies, QStringLiteral("spylist"));

    QWidget* viewport = list->viewport();
    auto rightClickAt = [&](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        emit list->customContextMenuRequested(at);
        spies.findChild<QMenu*>(QStringLiteral("popup_kick"))->hide();
    };
    const QPoint overBo = list->visualItemRect(list->item(1)).center();
    const QPoint overNothing(5, list->visualItemRect(list->item(2)).bottom() + 20);

    // Only the hosting player may remove anyone.
    rightClickAt(overBo);
    QCOMPARE(spies.hoveredIndex(), 1);
    QVERIFY(!spies.kickAction()->isEnabled());

    hosting = true;
    rightClickAt(overBo);
    QVERIFY(spies.kickAction()->isEnabled());
    spies.kickAction()->trigger();
    QCOMPARE(kicked, QList<int>{6}); // the text before the first ":"

    rightClickAt(overNothing);
    QCOMPARE(spies.hoveredIndex(), -1);
    spies.kickAction()->trigger();
    QCOMPARE(kicked, QList<int>{6});

    // Departures remove exactly their own entry, and what the pointer was
    // over is forgotten, so a removal never hits the entry that moved up.
    rightClickAt(overBo);
    feed(table, "CMD_playerdisconnected+5+Cy");
    feed(table, "CMD_playerdisconnected+6+Bo: 9");
    QCOMPARE(listed(), (QStringList{QStringLiteral("5: Ann"), QStringLiteral("8: Cy")}));
    spies.kickAction()->trigger();
    QCOMPARE(kicked, QList<int>{6});
}

void TestAuxWindows::download_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("sha256"); // "good": the installer's own
    QTest::addColumn<bool>("stop");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("info3");
    QTest::newRow("saved") << "/Brom77LobbySetup.exe"
                           << "" << false << true << "Received 100000 bytes"
                           << "Saved in your download folder";
    QTest::newRow("checked and saved") << "/Brom77LobbySetup.exe"
                                       << "good" << false << true << "Received 100000 bytes"
                                       << "Saved in your download folder";
    QTest::newRow("checksum differs") << "/Brom77LobbySetup.exe" << QString(64, QLatin1Char('0'))
                                      << false << false << "Download Aborted"
                                      << "SHA-256 differs";
    QTest::newRow("not found") << "/missing.exe"
                               << "" << false << false << "Download Aborted"
                               << "404";
    QTest::newRow("stopped") << "/stall.exe"
                             << "" << true << false << "Download has been aborted."
                             << "Download Aborted";
}

void TestAuxWindows::download() {
    QFETCH(QString, path);
    QFETCH(QString, sha256);
    QFETCH(bool, stop);
    QFETCH(bool, saved);
    QFETCH(QString, info);
    QFETCH(QString, info3);

    const QByteArray body = installerBytes();
    TinyHttp server(body);
    QTemporaryDir home;
    const QString ini = home.filePath(QStringLiteral("bromlobby.ini"));
    if (sha256 == QLatin1String("good")) sha256 = sha256Of(body);
    writeFile(ini, "[Euchre]\r\nLobbyDownloadUrl=" + server.address(qPrintable(path)).toUtf8() +
                       "\r\nLobbySha256=" + sha256.toUtf8() + "\r\n");
    const QString folder = home.filePath(QStringLiteral("Downloads"));

    Tdownload window(ini);
    window.setDownloadFolder(folder);
    QStringList opened, started, messages;
    window.openFolder = [&](const QString& f) { opened.append(f); };
    window.startProgram = [&](const QString& p) { return started.append(p), true; };
    window.message = [&](const QString& m) { messages.append(m); };
    QSignalSpy ended(&window, &Tdownload::downloadEnded);
    QSignalSpy exiting(&window, &Tdownload::exitRequested);
    auto* get = window.findChild<QPushButton*>(QStringLiteral("getbutton"));
    auto* abort = window.findChild<QPushButton*>(QStringLiteral("abortbutton"));

    QTest::mouseClick(get, Qt::LeftButton);
    QVERIFY(!get->isEnabled());
    QVERIFY(abort->isEnabled());
    QCOMPARE(labelText(&window, "infolabel2"), path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    if (stop) {
        QTRY_VERIFY_WITH_TIMEOUT(labelText(&window, "infolabel").endsWith(QLatin1String(" bytes")),
                                 10000);
        QVERIFY(labelText(&window, "infolabel3").startsWith(QLatin1String("Downloading: ")));
        window.show();
        shoot(&window, QStringLiteral("download-running"));
        QTest::mouseClick(abort, Qt::LeftButton);
    }
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 10000);

    QVERIFY(server.request.contains("\r\nUser-Agent: Mozilla/3.0 (compatible)"));
    QVERIFY(server.request.contains("\r\nAccept: image/gif, image/x-xbitmap, image/jpeg, "
                                    "image/pjpeg, */*"));
    QCOMPARE(labelText(&window, "infolabel"), info);
    QVERIFY2(labelText(&window, "infolabel3").contains(info3),
             qPrintable(labelText(&window, "infolabel3")));
    QCOMPARE(window.state(), saved ? Tdownload::Running : Tdownload::Aborted);
    QVERIFY(get->isEnabled());
    QVERIFY(!abort->isEnabled());

    // Only a complete, matching file lands in the folder, and nothing is ever started.
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(files, saved ? QStringList{QStringLiteral("Brom77LobbySetup.exe")} : QStringList{});
    if (saved) {
        QFile file(QDir(folder).filePath(files.value(0)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), body);
        QCOMPARE(window.savedFile(), file.fileName());
    }
    QCOMPARE(opened, saved ? QStringList{folder} : QStringList{});
    QVERIFY(started.isEmpty());
    QCOMPARE(exiting.count(), 0);
    // A refused file is said out loud; other outcomes stay in the window.
    QCOMPARE(messages.size(), info3 == QLatin1String("SHA-256 differs") ? 1 : 0);
    window.show();
    shoot(&window,
          QStringLiteral("download-%1")
              .arg(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), '-')));
}

void TestAuxWindows::doNotShowAgainKeepsTheOtherKeys() {
    QTemporaryDir home;
    const QString ini = home.filePath(QStringLiteral("bromlobby.ini"));
    writeFile(ini, "[Euchre]\r\nTextsize=12\r\nLobbySha256=not a checksum\r\n");
    {
        Tdownload window(ini);
        QStringList messages;
        window.message = [&](const QString& m) { messages.append(m); };
        QVERIFY(window.offeredAtStart());
        // A checksum that cannot be read stops the download before it begins.
        window.getbuttonClick();
        QVERIFY(!window.isDownloading());
        QCOMPARE(messages.size(), 1);
        window.findChild<QCheckBox*>(QStringLiteral("check_dontshow"))->setChecked(true);
    }
    Tdownload again(ini);
    QVERIFY(!again.offeredAtStart());
    QVERIFY(again.findChild<QCheckBox*>(QStringLiteral("check_dontshow"))->isChecked());
    QFile f(ini);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("[Euchre]\r\nTextsize=12\r\nLobbySha256=not a checksum\r\n"
                                     "HideLobbyDownload=true\r\n"));
}

void TestAuxWindows::lobbyKeysAreReadSafely_data() {
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("url"); // empty: the default address
    QTest::addColumn<QString>("sha256");
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("none") << QByteArray() << ""
                          << "" << false;
    QTest::newRow("https and an upper-case checksum")
        << QByteArray("LobbyDownloadUrl=https://example.org/a/Setup.exe\r\nLobbySha256=" +
                      QByteArray(64, 'A'))
        << "https://example.org/a/Setup.exe" << QString(64, QLatin1Char('a')) << false;
    QTest::newRow("a local file is no download address")
        << QByteArray("LobbyDownloadUrl=file:///etc/passwd") << ""
        << "" << false;
    QTest::newRow("no host") << QByteArray("LobbyDownloadUrl=http:///x.exe") << ""
                             << "" << false;
    QTest::newRow("short checksum") << QByteArray("LobbySha256=abc123") << ""
                                    << "" << true;
}

void TestAuxWindows::lobbyKeysAreReadSafely() {
    QFETCH(QByteArray, keys);
    QFETCH(QString, url);
    QFETCH(QString, sha256);
    QFETCH(bool, unreadable);
    QTemporaryDir home;
    const QString ini = home.filePath(QStringLiteral("bromlobby.ini"));
    writeFile(ini, "[Euchre]\r\n" + keys + "\r\n");
    const LobbySettings lobby = readLobbySettings(ini);
    QCOMPARE(lobby.downloadUrl, url.isEmpty() ? defaultLobbyDownloadUrl() : QUrl(url));
    QCOMPARE(lobby.sha256, sha256);
    QCOMPARE(lobby.sha256Unreadable, unreadable);
}

void TestAuxWindows::playWithOthersStartsOnlyAnInstalledLobby() {
    QTemporaryDir home;
    const QString ini = home.filePath(QStringLiteral("bromlobby.ini"));
    const QString lobby = home.filePath(QStringLiteral("Brom77Lobby"));
    for (const bool installed : {false, true}) {
        if (installed) writeFile(lobby, "#!/bin/sh\n");
        writeFile(ini, "[Euchre]\r\nLobbyPath=" + lobby.toUtf8() + "\r\n");
        Tdownload window(ini);
        QStringList started, messages;
        window.startProgram = [&](const QString& p) { return started.append(p), true; };
        window.message = [&](const QString& m) { messages.append(m); };
        QSignalSpy exiting(&window, &Tdownload::exitRequested);
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Button2")),
                          Qt::LeftButton);
        QCOMPARE(started, installed ? QStringList{lobby} : QStringList{});
        QCOMPARE(exiting.count(), installed ? 1 : 0);
        QCOMPARE(messages.size(), installed ? 0 : 1);
    }
}

// Two deals of a game begun at 4-9: seat 3 marches alone, then seat 3's team
// marches after an order-up and wins 10-9.
const QByteArray kTwoDeals = R"({"fileType":"Euchre Game Notation","version":"1.6",
 "metadata":{"title":"Two hands","players":["Ann","Bob","Cy","Di"],"initialScore":[4,9]},
 "deals":[
  {"dealNumber":0,"initialState":{"dealer":0,"upCard":"Ks"},"phases":[
   {"type":"EUCHRE_BIDDING","calls":["Pass","Pass","Pass","Pass","Pass","h"],"isAlone":true},
   {"type":"TRICK_PLAY","tricks":[["9s","As","Js"],["Jh","Ah","9h"],["Jd","Kh","Qh"],
     ["Th","9d","Ts"],["Qs","Tc","Jc"]]}]},
  {"dealNumber":1,"initialState":{"dealer":1,"upCard":"Qd"},"phases":[
   {"type":"EUCHRE_BIDDING","calls":["Order"],"isAlone":false},
   {"type":"TRICK_PLAY","tricks":[["Jd","Ts","Jh","9d"],["Ad","Jc","Tc","Qd"],
     ["Kd","Kh","Qc","Kc"],["As","Ah","Js","9h"],["9s","Ac","Ks","Qh"]]}]}]})";

void TestAuxWindows::replayStepsThroughARecord_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("lastScore"); // the score line at the last step
    QTest::addColumn<QString>("fault");     // the fault line there
    QTest::newRow("legal")
        << kTwoDeals
        << "Tricks: Tan 5, Blue 0.  Score: Tan 10 (+2), Blue 9 (+0).  Tan wins the game."
        << QString();
    QByteArray twice = kTwoDeals;
    twice.replace(R"(["Qs","Tc","Jc"])", R"(["Qs","Tc","As"])");
    QTest::newRow("a card played twice") << twice << "Score: Tan 4, Blue 9"
                                         << "Not legal: deal 1, trick 5 card 3: As is played twice";
    QTest::newRow("not a record") << QByteArray("{\"deals\":") << QString() << QString();
}

// File > Open Game Record... opens the replay window; the arrow keys step
// through the tricks and on into the next deal, all hands face up.
void TestAuxWindows::replayStepsThroughARecord() {
    QFETCH(QByteArray, text);
    QFETCH(QString, lastScore);
    QFETCH(QString, fault);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.egn"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    Tchat table;
    QStringList shown;
    table.message = [&](const QString& t, std::function<void()>) { shown << t; };
    table.askOpenRecordPath = [&] { return path; };
    table.openGameRecordClick();
    auto* replay = table.findChild<Treplay*>();
    if (lastScore.isEmpty()) {
        QVERIFY(!replay);
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().contains(QLatin1String("not JSON")), qPrintable(shown.first()));
        return;
    }
    QVERIFY(replay && replay->isVisible());
    const auto line = [replay](const char* name) {
        return replay->findChild<QLabel*>(QLatin1String(name))->text();
    };
    QCOMPARE(replay->windowTitle(), QStringLiteral("Game Replay - Two hands"));
    QVERIFY2(line("label_deal").startsWith(QLatin1String("Deal 1 of ")),
             qPrintable(line("label_deal")));
    QVERIFY(replay->view().sitsOut[1]); // the loner's partner
    QCOMPARE(replay->view().hands[3].size(), std::size_t(5));
    QVERIFY(std::count(replay->view().hands[3].begin(), replay->view().hands[3].end(), 0) == 0);
    QCOMPARE(
        line("label_calls"),
        QStringLiteral("Bidding: Bob: pass, Cy: pass, Di: pass, Ann: pass, Bob: pass, Cy: Hearts"));
    for (int i = 0; i < replay->steps() - 1; ++i) QTest::keyClick(replay, Qt::Key_Right);
    QCOMPARE(replay->stepNumber(), replay->steps() - 1);
    QCOMPARE(line("label_fault"), fault);
    if (!fault.isEmpty()) {
        QCOMPARE(line("label_score"), lastScore);
        QVERIFY(!replay->findChild<QPushButton*>(QStringLiteral("button_next"))->isEnabled());
        return;
    }
    QCOMPARE(line("label_step"), QStringLiteral("Trick 5 of 5, won by Cy."));
    QCOMPARE(replay->view().trickWinner, 3);
    QTest::keyClick(replay, Qt::Key_Right); // on into the next deal
    QCOMPARE(replay->deal(), 1);
    QCOMPARE(replay->stepNumber(), 0);
    QCOMPARE(replay->view().upCard, makeCard(Diamonds, 11));
    QTest::keyClick(replay, Qt::Key_Left);
    QCOMPARE(replay->deal(), 0);
    QCOMPARE(replay->stepNumber(), 5);
    QTest::mouseClick(replay->findChild<QPushButton*>(QStringLiteral("button_nextdeal")),
                      Qt::LeftButton);
    for (int i = 0; i < 5; ++i) QTest::keyClick(replay, Qt::Key_Right);
    QCOMPARE(line("label_score"), lastScore);
    shoot(replay, QStringLiteral("replay"));
    QVERIFY(shown.isEmpty());
}

QTEST_MAIN(TestAuxWindows)
#include "tst_auxwindows.moc"
