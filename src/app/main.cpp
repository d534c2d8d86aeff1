// euchre: the desktop program. One copy per user runs; it creates its windows
// in their fixed order and runs the event loop until the table window closes.
#include "app/commandline.h"
#include "app/hostedserver.h"
#include "app/instanceguard.h"
#include "app/signalclose.h"
#include "chat/phrases.h"
#include "client/tableboard.h"
#include "client/tabout.h"
#include "client/tchat.h"
#include "client/tdownload.h"
#include "client/tgamestart.h"
#include "client/thelp.h"
#include "client/tlasttrick.h"
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
#include <vector>

namespace {

constexpr char kUsage[] = "usage: euchre [NAME HOST true|join]\n";

constexpr char kHelp[] =
    "usage: euchre [NAME HOST true|join]\n"
    "Opens the Euchre table. Without arguments it hosts a solo game as \"You\";\n"
    "with NAME HOST true it hosts a game as NAME, with NAME HOST join (any word\n"
    "but true) it joins the game hosted at HOST.\n"
    "\n"
    "  --help      print this help and end\n"
    "  --version   print the version and end\n"
    "\n"
    "EUCHRE_PORT sets the game port (default 7772), EUCHRE_INSTANCE lets several\n"
    "copies run side by side, EUCHRE_HOME names the folder of the settings and\n"
    "tally files.\n";

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Euchre"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/euchre-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    // Qt has taken its own options out; any other option is a mistake.
    for (const QString& arg : QApplication::arguments().mid(1)) {
        if (arg.startsWith(QLatin1String("--"))) {
            std::fprintf(stderr, "euchre: unknown option '%s'\n%s", qPrintable(arg), kUsage);
            return 2;
        }
    }
    // The table window's closing ends the program, even with a small window open.
    QApplication::setQuitOnLastWindowClosed(false);

    // A copy started while another runs hands over to that one and ends
    // before it opens any window or socket.
    euchre::InstanceGuard guard;
    if (!guard.tryBecomeFirst()) return 0;

    euchre::initSoundResources();

    // The windows, in the order the program has always created them.
    euchre::Tchat chat;
    euchre::Ttallylist tallylist;
    euchre::Tabout about;
    euchre::Tgamestart gamestart(chat);
    euchre::Thelp help;
    euchre::Tphrases phrases;
    euchre::HostedServer server;
    euchre::Tspylist spylist;
    euchre::Tlasttrick lasttrick;
    euchre::Tscorecard scorecard;
    euchre::Tdownload download(euchre::settingsFilePath());

    chat.setServer(&server);
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
    chat.setCommandLine(QApplication::arguments().mid(1));

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
    QObject::connect(&chat, &euchre::Tchat::closed, &app, &QCoreApplication::quit);

    QObject::connect(&help, &euchre::Thelp::aboutRequested, &about,
                     [&about] { bringToFront(&about); });
    QObject::connect(&help, &euchre::Thelp::lobbyDownloadRequested, &download,
                     [&download] { bringToFront(&download); });
    // The lobby takes over: the game ends as "Exit" ends it.
    QObject::connect(&download, &euchre::Tdownload::exitRequested, &chat,
                     [&chat] { chat.Exit1Click(); });
    spylist.isHosting = [&chat] { return chat.ishost; };
    spylist.kick = [&chat](int slot) { chat.removeFromGame(slot); };
    QObject::connect(&chat, &euchre::Tchat::spylistChanged, &spylist,
                     [&chat, &spylist] { spylist.setEntries(chat.spylist); });

    // Asked to end by a signal, the program closes its window as the player
    // would, so the settings and the tally are saved.
    euchre::CloseOnSignals closeOnSignals([&chat] { chat.close(); });

    chat.show();
    return app.exec();
}
