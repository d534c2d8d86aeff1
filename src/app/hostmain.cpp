// euchre-host: the game host alone, without windows, for a machine with no
// display and for playing against raw TCP clients.
#include "app/commandline.h"
#include "host/tserver.h"
#include "model/random.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Only an async-signal-safe write here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

bool readNumber(const QString& text, int lo, int hi, int& out) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lo || value > hi) return false;
    out = value;
    return true;
}

constexpr char kHelp[] =
    "usage: euchre-host [--port N] [--bot-speed MS] [--bots standard|expert]\n"
    "Runs a Euchre game host without windows; the computer plays every free seat.\n"
    "\n"
    "  --port N         listen on port N, 0 to 65535 (default 7772; 0 picks a free one)\n"
    "  --bot-speed MS   the computer players' delay in milliseconds, 1 to 60000\n"
    "                   (default 500)\n"
    "  --bots LEVEL     the computer players: standard (the default) or expert\n"
    "  --help           print this help and end\n"
    "  --version        print the version and end\n"
    "\n"
    "Prints \"listening on N\" once it accepts connections; SIGINT or SIGTERM ends it.\n";

int usage(const char* why) {
    std::fprintf(stderr,
                 "euchre-host: %s\nusage: euchre-host [--port N] [--bot-speed MS] [--bots "
                 "standard|expert]\n",
                 why);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("euchre-host"));

    int port = 7772;
    int botSpeed = euchre::TServer::kDefaultBotSpeed;
    euchre::ai::Level bots = euchre::ai::Level::Standard;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (euchre::commandline::asksForHelp(arg.toStdString())) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (euchre::commandline::asksForVersion(arg.toStdString()))
            return euchre::commandline::printVersion("euchre-host");
        if (arg == QLatin1String("--port") && i + 1 < args.size()) {
            if (!readNumber(args[++i], 0, 65535, port)) return usage("the port must be 0 to 65535");
        } else if (arg == QLatin1String("--bot-speed") && i + 1 < args.size()) {
            if (!readNumber(args[++i], 1, 60000, botSpeed))
                return usage("the bot speed must be 1 to 60000 milliseconds");
        } else if (arg == QLatin1String("--bots") && i + 1 < args.size()) {
            const QString level = args[++i];
            if (level == QLatin1String("expert"))
                bots = euchre::ai::Level::Expert;
            else if (level != QLatin1String("standard"))
                return usage("the computer players are standard or expert");
        } else {
            return usage("unknown argument");
        }
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        std::perror("euchre-host: socketpair");
        return 1;
    }
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    euchre::rng::restartFromTimeOfDay();
    euchre::TServer server;
    server.setBotSpeed(botSpeed);
    server.setComputerLevel(bots);
    QString error;
    if (!server.startListening(static_cast<quint16>(port), &error)) {
        std::fprintf(stderr, "euchre-host: cannot listen on port %d: %s\n", port,
                     qPrintable(error));
        return 1;
    }
    std::printf("listening on %u\n", static_cast<unsigned>(server.listeningPort()));
    std::fflush(stdout);
    return app.exec();
}
