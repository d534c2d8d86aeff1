// euchre: the desktop program. One copy per user runs; it creates its windows
// in their fixed order and runs the event loop until the table window closes.
#include "app/instanceguard.h"
#include "chat/phrases.h"
#include "chat/sounds.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "host/tserver.h"

#include <QApplication>
#include <QWidget>
#include <memory>
#include <vector>

namespace {

// A window of the program that holds nothing yet but its name and caption.
std::unique_ptr<QWidget> captionedWindow(const char* name, const char* caption) {
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(QLatin1String(caption));
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, euchre::kWindowColour);
    window->setPalette(pal);
    return window;
}

void bringToFront(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Euchre"));
    // The table window's closing ends the program, even with a small window open.
    QApplication::setQuitOnLastWindowClosed(false);

    // A copy started while another runs hands over to that one and ends
    // before it opens any window or socket.
    euchre::InstanceGuard guard;
    if (!guard.tryBecomeFirst()) return 0;

    euchre::initSoundResources();

    // The windows, in the order the program has always created them.
    euchre::Tchat chat;
    std::unique_ptr<QWidget> tallylist = captionedWindow("tallylist", "Euchre - Tally List");
    std::unique_ptr<QWidget> about = captionedWindow("about", "Euchre - About");
    std::unique_ptr<QWidget> gamestart = captionedWindow("gamestart", "Euchre - Game Start");
    std::unique_ptr<QWidget> help = captionedWindow("help", "Euchre - Help File");
    euchre::Tphrases phrases;
    euchre::TServer server;
    server.setObjectName(QStringLiteral("Server"));
    std::unique_ptr<QWidget> spylist = captionedWindow("spylist", "Euchre - Spys");
    std::unique_ptr<QWidget> lasttrick = captionedWindow("lasttrick", "Last Trick");
    std::unique_ptr<QWidget> scorecard = captionedWindow("scorecard", "Euchre - Logs");
    std::unique_ptr<QWidget> download = captionedWindow("download", "Download The Brom77 Lobby");

    chat.setServer(&server);
    chat.setPhraseEditor(&phrases);
    chat.setCommandLine(QApplication::arguments().mid(1));

    QObject::connect(&guard, &euchre::InstanceGuard::activationRequested, &chat,
                     [&chat] { bringToFront(&chat); });
    QObject::connect(&chat, &euchre::Tchat::closed, &app, &QCoreApplication::quit);

    chat.show();
    return app.exec();
}
