// euchre: the desktop program. One copy per user runs; it creates its windows
// in their fixed order and runs the event loop until the table window closes.
#include "app/commandline.h"
#include "app/hostedserver.h"
#include "app/instanceguard.h"
#include "app/signalclose.h"
#include "chat/phrases.h"
#include "client/startrequest.h"
#include "client/tableboard.h"
#include "client/tabout.h"
#include "client/tchat.h"
#include "client/tdownload.h"
#include "client/tgamestart.h"
#include "client/thelp.h"
#include "client/tlasttrick.h"
#include "client/treplay.h"
#include "client/tscorecard.h"
#include "client/tspylist.h"
#include "settings/colourtext.h"
#include "settings/settingslocation.h"
#include "sound/sounds.h"
#include "tally/tallyfile.h"
#include "tally/ttallylist.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr char kUsage[] = "usage: euchre [NAME HOST true|join]\n"
                          "       euchre --host [--name NAME] [--port N]\n"
                          "       euchre --join [HOST[:PORT]] [--name NAME]\n"
                          "       euchre euchre://HOST[:PORT]\n"
                          "       euchre --replay FILE\n";

constexpr char kHelp[] =
    "usage: euchre [NAME HOST true|join]\n"
    "       euchre --host [--name NAME] [--port N]\n"
    "       euchre --join [HOST[:PORT]] [--name NAME]\n"
    "       euchre euchre://HOST[:PORT]\n"
    "       euchre --replay FILE\n"
    "Opens the Euchre table. Without arguments it hosts a solo game as \"You\";\n"
    "with NAME HOST true it hosts a game as NAME, with NAME HOST join (any word\n"
    "but true) it joins the game hosted at HOST.\n"
    "\n"
    "  --host          host a table for other players (File > Host...); the window\n"
    "                  then shows where they join\n"
    "  --join HOST[:PORT]\n"
    "                  join the table at HOST (IPv6 in brackets: [2001:db8::5]:7772);\n"
    "                  --join alone opens File > Join...\n"
    "  --name NAME     the name the others see (default: the name used last)\n"
    "  --port N        the port to host on (default 7772)\n"
    "  euchre://HOST[:PORT]\n"
    "                  an invitation link: joins that table\n"
    "  --replay FILE   open a game record (.egn) in the replay window alone\n"
    "  --help          print this help and end\n"
    "  --version       print the version and end\n"
    "\n"
    "A running copy that is started again with --host, --join or a link comes to\n"
    "the front and does what they ask (asking first while a game is played).\n"
    "\n"
    "EUCHRE_PORT sets the game port (default 7772), EUCHRE_DISCOVERY_PORT the UDP\n"
    "port of \"Tables on this network\" (default 7773), EUCHRE_INSTANCE lets several\n"
    "copies run side by side, EUCHRE_HOME names the folder of the settings and\n"
    "tally files and the records folder of the games played.\n";

// The window system's part of Qt takes "-name NAME" (and "--name NAME") for
// itself on some desktops, so the player's --name is taken out before Qt sees
// the arguments. A --name without a value stays for the reading to refuse.
std::vector<char*> withoutPlayerName(int argc, char* argv[], QStringList& name) {
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--name" && i + 1 < argc) {
            name = {QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[i + 1])};
            ++i;
        } else if (arg.starts_with("--name=")) {
            name = {QString::fromLocal8Bit(argv[i])};
        } else {
            rest.push_back(argv[i]);
        }
    }
    return rest;
}

void bringToFront(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

int main(int argc, char* argv[]) {
    // Help and version answer before anything needs a display.
    for (int i = 1; i < argc; ++i) {
        if (euchre::commandline::asksForHelp(argv[i])) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (euchre::commandline::asksForVersion(argv[i]))
            return euchre::commandline::printVersion("euchre");
    }
    QStringList playerName;
    std::vector<char*> qtArgv = withoutPlayerName(argc, argv, playerName);
    int qtArgc = static_cast<int>(qtArgv.size());
    qtArgv.push_back(nullptr);
    QApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("Euchre"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/euchre-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    // Qt has taken its own options out; what is left is ours, and any other
    // option is a mistake.
    const QStringList args = QApplication::arguments().mid(1) + playerName;
    // A replay is a window of its own: no table, no host, and any copy may show one.
    if (!args.isEmpty() &&
        (args[0] == QLatin1String("--replay") || args[0].startsWith(QLatin1String("--replay=")))) {
        const QString file = args[0] == QLatin1String("--replay") ? args.value(1) : args[0].mid(9);
        if (file.isEmpty() || args.size() > (args[0] == QLatin1String("--replay") ? 2 : 1)) {
            std::fprintf(stderr, "euchre: --replay takes one record file\n%s", kUsage);
            return 2;
        }
        euchre::Treplay replay;
        QString why;
        if (!replay.openFile(file, &why)) {
            std::fprintf(stderr, "euchre: %s: %s\n", qPrintable(file), qPrintable(why));
            return 1;
        }
        replay.show();
        return QApplication::exec();
    }
    QString mistake;
    const std::optional<euchre::StartRequest> request = euchre::parseStartArguments(args, &mistake);
    if (!request) {
        std::fprintf(stderr, "euchre: %s\n%s", qPrintable(mistake), kUsage);
        return 2;
    }
    // The table window's closing ends the program, even with a small window open.
    QApplication::setQuitOnLastWindowClosed(false);

    // A copy started while another runs hands over to that one and ends
    // before it opens any window or socket; a start that asks to host or
    // join hands its arguments over too.
    euchre::InstanceGuard guard;
    if (!guard.tryBecomeFirst(request->handsOver() ? args : QStringList())) return 0;

    euchre::initSoundResources();

    // The windows, in the order the program has always created them.
    euchre::Tchat chat;
    euchre::Ttallylist tallylist;
    euchre::Tabout about;
    euchre::Tgamestart gamestart(chat);
    euchre::Thelp help;
    euchre::Tphrases phrases;
    // The game host is made when the window hosts, afresh for every table.
    euchre::HostedServer::install();
    euchre::Tspylist spylist;
    euchre::Tlasttrick lasttrick;
    euchre::Tscorecard scorecard;
    euchre::Tdownload download(euchre::settingsFilePath());

    chat.setPhraseEditor(&phrases);
    euchre::TableWindows windows;
    windows.about = &about;
    windows.gamestart = &gamestart;
    windows.help = &help;
    windows.lasttrick = &lasttrick;
    windows.scorecard = &scorecard;
    windows.spylist = &spylist;
    // A solo start offers the lobby unless the user asked not to see it again.
    if (download.offeredAtStart()) windows.download = &download;
    chat.setWindows(windows);
    chat.setCommandLine(args);
    chat.setStartRequest(*request);

    // The tally lives beside the settings file; what it has to tell the
    // player (a file set aside, a failed save) goes to the chat log.
    QPalette tallyPalette = tallylist.palette();
    tallyPalette.setColor(QPalette::Window, euchre::kWindowColour);
    tallylist.setPalette(tallyPalette);
    QObject::connect(
        &tallylist, &euchre::Ttallylist::tellPlayer, &chat,
        [&chat](const QString& line) { chat.addlinetochat(line, euchre::systemColour); });
    chat.setTally(&tallylist);
    tallylist.openFile(QDir(euchre::dataFolder()).filePath(QLatin1String(euchre::tallyFileName)));

    QObject::connect(&guard, &euchre::InstanceGuard::activationRequested, &chat,
                     [&chat] { bringToFront(&chat); });
    QObject::connect(&guard, &euchre::InstanceGuard::argumentsHandedOver, &chat,
                     [&chat](const QStringList& handed) {
                         const std::optional<euchre::StartRequest> later =
                             euchre::parseStartArguments(handed, nullptr);
                         if (later && later->handsOver()) chat.handOver(*later);
                     });
    QObject::connect(&chat, &euchre::Tchat::closed, &app, &QCoreApplication::quit);

    QObject::connect(&help, &euchre::Thelp::aboutRequested, &about,
                     [&about] { bringToFront(&about); });
    QObject::connect(&help, &euchre::Thelp::lobbyDownloadRequested, &download,
                     [&download] { bringToFront(&download); });
    // The lobby takes over: the game ends as "Exit" ends it.
    QObject::connect(&download, &euchre::Tdownload::exitRequested, &chat,
                     [&chat] { chat.Exit1Click(); });
    spylist.isHosting = [&chat] { return chat.login().ishost; };
    spylist.kick = [&chat](int slot) { chat.removeFromGame(slot); };
    QObject::connect(&chat, &euchre::Tchat::spylistChanged, &spylist,
                     [&chat, &spylist] { spylist.setEntries(chat.shown().spylist); });

    // Asked to end by a signal, the program closes its window as the player
    // would, so the settings and the tally are saved.
    euchre::CloseOnSignals closeOnSignals([&chat] { chat.close(); });

    chat.show();
    return app.exec();
}
