// euchre-host: the game host alone, without windows, for a machine with no
// display and for playing against raw TCP clients.
#include "app/commandline.h"
#include "host/tserver.h"
#include "model/random.h"
#include "net/discovery.h"
#include "rules/ruleset.h"

#include <QCoreApplication>
#include <QFile>
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

constexpr char kUsage[] =
    "usage: euchre-host [--port N] [--bot-speed MS] [--bots LEVEL] [--rules LIST]\n"
    "                   [--password-file FILE] [--announce] [--discovery-port N]\n";

constexpr char kHelp[] =
    "Runs a Euchre game host without windows; the computer plays every free seat.\n"
    "\n"
    "  --port N             listen on TCP port N, 0 to 65535 (default 7772; 0 picks a\n"
    "                       free one)\n"
    "  --bot-speed MS       the computer players' delay in milliseconds, 1 to 60000\n"
    "                       (default 500)\n"
    "  --bots LEVEL         the computer players: standard (the default), pimc or\n"
    "                       expert\n"
    "  --rules LIST         the house rules of a game started without any, as\n"
    "                       key=value items separated by commas: std=1 (stick the\n"
    "                       dealer), canadian=1 (the Canadian loner),\n"
    "                       loner_lead=LEFT_OF_DEALER or LEFT_OF_LONER,\n"
    "                       loner_march_score=3, 4 or 5 (default: none)\n"
    "  --password-file FILE a private table: the password is the file's first line,\n"
    "                       and only connections that send it are let in\n"
    "  --announce           answer \"tables on this network\" queries on UDP port 7773\n"
    "                       (or EUCHRE_DISCOVERY_PORT)\n"
    "  --discovery-port N   answer them on UDP port N, 1 to 65535 (implies --announce)\n"
    "  --help               print this help and end\n"
    "  --version            print the version and end\n"
    "\n"
    "Prints \"listening on N\" once it accepts connections, then \"discovery on N\" when it\n"
    "announces; SIGINT or SIGTERM ends it.\n";

int usage(const char* why) {
    std::fprintf(stderr, "euchre-host: %s\n%s", why, kUsage);
    return 2;
}

// A password file that cannot serve: one line, and the usage status.
int badPasswordFile(const QString& path, const char* why) {
    std::fprintf(stderr, "euchre-host: %s: %s\n", qPrintable(path), why);
    return 2;
}

// The password is the file's first line without its line end. A password
// never travels on the command line, where every user of the machine can
// read it.
int readPasswordFile(const QString& path, QByteArray& password) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return badPasswordFile(path, qPrintable(file.errorString()));
    // A first line longer than any password taken is read no further.
    QByteArray line = file.readLine(euchre::TServer::kMaxPasswordBytes + 4);
    if (file.error() != QFileDevice::NoError)
        return badPasswordFile(path, qPrintable(file.errorString()));
    // A text editor's byte order mark is not part of what the players type.
    if (line.startsWith("\xEF\xBB\xBF")) line.remove(0, 3);
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    if (line.isEmpty()) return badPasswordFile(path, "the password is empty");
    if (line.size() > euchre::TServer::kMaxPasswordBytes)
        return badPasswordFile(path, "the password is longer than 1024 bytes");
    // The players type it as text and their windows send it as UTF-8: a
    // password in another encoding could never be matched.
    if (!QUtf8StringView(line).isValidUtf8())
        return badPasswordFile(path, "the password is not UTF-8 text");
    password = line;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("euchre-host"));

    int port = euchre::kGamePort;
    int botSpeed = euchre::TServer::kDefaultBotSpeed;
    euchre::players::Level bots = euchre::players::Level::Standard;
    euchre::rules::Ruleset rules;
    QByteArray password;
    bool announce = false;
    int discoveryPort = euchre::discovery::portFromEnvironment();
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (euchre::commandline::asksForHelp(arg.toStdString())) {
            std::fputs(kUsage, stdout);
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
            if (!euchre::players::levelFromName(args[++i].toStdString(), bots))
                return usage("the computer players are standard, pimc or expert");
        } else if (arg == QLatin1String("--rules") && i + 1 < args.size()) {
            const QByteArray list = args[++i].toUtf8();
            std::string_view bad;
            const std::optional<euchre::rules::Ruleset> parsed =
                euchre::rules::parseRuleset(std::string_view(list.constData(), list.size()), &bad);
            if (!parsed)
                return usage(("the house rule '" + std::string(bad) + "' is not known").c_str());
            rules = *parsed;
        } else if (arg == QLatin1String("--password-file") && i + 1 < args.size()) {
            if (const int status = readPasswordFile(args[++i], password)) return status;
        } else if (arg == QLatin1String("--announce")) {
            announce = true;
        } else if (arg == QLatin1String("--discovery-port") && i + 1 < args.size()) {
            if (!readNumber(args[++i], 1, 65535, discoveryPort))
                return usage("the discovery port must be 1 to 65535");
            announce = true;
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
    server.setDefaultRules(rules);
    server.setPassword(password);
    QString error;
    if (!server.startListening(static_cast<quint16>(port), &error)) {
        std::fprintf(stderr, "euchre-host: cannot listen on port %d: %s\n", port,
                     qPrintable(error));
        return 1;
    }
    if (announce && !server.startDiscovery(static_cast<quint16>(discoveryPort), &error)) {
        std::fprintf(stderr, "euchre-host: cannot answer discovery on UDP port %d: %s\n",
                     discoveryPort, qPrintable(error));
        return 1;
    }
    std::printf("listening on %u\n", static_cast<unsigned>(server.listeningPort()));
    if (announce) std::printf("discovery on %u\n", static_cast<unsigned>(server.discoveryPort()));
    std::fflush(stdout);
    return app.exec();
}
