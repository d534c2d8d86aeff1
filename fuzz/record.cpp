// Writes the fuzz targets' seed corpora from whole games: the scripts that
// play them against a real host (fuzz/corpus/host) and what the host sent
// the table windows in them (fuzz/corpus/table). Every move is the one the
// computer would make for that seat, sent as a table window sends it.
// usage: fuzz-record FOLDER   (writes FOLDER/host/ and FOLDER/table/)
#include "support/hostdriver.h"

#include "net/protocol.h"
#include "players/players.h"
#include "rules/seatview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <cstdio>

using namespace euchre;
using namespace euchre::fuzzing;

namespace {

// Plays a game through the driver and keeps the script that did it.
class Recorder {
public:
    explicit Recorder(std::uint8_t options) : driver(options, true) {
        script.append(char(options));
    }

    HostDriver driver;
    QByteArray script;

    void step(Step kind, const QByteArray& operands) {
        const QByteArray bytes = char(kind) + operands;
        script += bytes;
        driver.run(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                   static_cast<std::size_t>(bytes.size()));
    }
    int connect() {
        step(Step::Connect, QByteArray(1, '\0'));
        return driver.linkCount() - 1;
    }
    // The message as the link's table window sends it, in pieces the script can carry.
    void say(int link, QByteArray message) {
        message += kTerminator;
        while (!message.isEmpty()) {
            const QByteArray piece = message.left(255);
            message.remove(0, piece.size());
            step(Step::Bytes, char(link) + QByteArray(1, char(piece.size())) + piece);
        }
        drain();
    }
    void login(int link, const QByteArray& name) {
        say(link, "CMD_logininfo+" + QByteArray::number(driver.slotOf(link)) + "+1.0.6+" + name +
                      kTerminator);
    }
    void drain() {
        while (driver.server().queuedCount() > 0) step(Step::QueueTicks, QByteArray(1, char(31)));
    }
    void leave(int link) { step(Step::PeerClose, char(link) + QByteArray(1, '\0')); }

    // Plays until the game is over: the person asked answers, and the
    // computer's timer runs for everything else.
    void play(int mostSteps) {
        for (int n = 0; n < mostSteps; ++n) {
            const rules::Game& game = driver.server().game();
            if (game.phase() == rules::Phase::GameOver) return;
            const rules::Asked asked = game.asked();
            const int link = personAt(asked.seat);
            if (link < 0) {
                step(Step::TurnTicks, QByteArray(1, char(15)));
                drain();
                continue;
            }
            const int value = players::answer(players::Level::Standard,
                                              rules::seatView(game.table(), asked.seat));
            say(link, (asked.wantsCard() ? "CMD_playcard+" : "CMD_selectedbubble+") +
                          QByteArray::number(asked.seat) + '+' + QByteArray::number(value) + '+');
        }
    }

    int personAt(int seat) {
        if (seat == 0) return -1;
        for (int i = 0; i < driver.linkCount(); ++i)
            if (driver.isOpen(i) && driver.slotOf(i) == seat &&
                driver.server().playerslot[seat].loggedIn &&
                !driver.server().playerslot[seat].watching)
                return i;
        return -1;
    }
};

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    std::printf("%s: %lld bytes\n", qPrintable(path), static_cast<long long>(bytes.size()));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("euchre.*=false"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-record FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("host"));
    out.mkpath(QStringLiteral("table"));
    bool ok = true;

    // Four people play a whole game to five points.
    {
        Recorder r(3 * 2); // an open table; the deals of seed 6
        for (const char* name : {"Ann", "Bob", "Cat", "Dan"}) r.login(r.connect(), name);
        r.say(0, "CMD_startgame+Ann+5+");
        r.play(2000);
        ok = write(out.filePath(QStringLiteral("host/four-people")), r.script) && ok;
        ok = write(out.filePath(QStringLiteral("table/seat-one")), r.driver.received(0)) && ok;
    }
    // At a private table two people play with the computer while one
    // watches; a player leaves in the middle of a hand and comes back, and
    // the watcher chats.
    {
        Recorder r(3 * 2 + 1);
        const int ann = r.connect(), bob = r.connect(), spy = r.connect();
        for (int link : {ann, bob, spy}) r.say(link, "CMD_password+pw");
        r.login(ann, "Ann");
        r.login(bob, "Bob");
        r.say(bob, "CMD_justwatch+2+1");
        r.login(spy, "Spy");
        r.say(ann, "CMD_startgame+Ann+5+");
        r.play(60);
        r.say(spy, "CMD_chat+3+well played|clBlack");
        r.leave(bob);
        r.play(40);
        const int back = r.connect();
        r.say(back, "CMD_password+pw");
        r.login(back, "Bob");
        r.play(2000);
        ok = write(out.filePath(QStringLiteral("host/comings-and-goings")), r.script) && ok;
        ok = write(out.filePath(QStringLiteral("table/watching")), r.driver.received(spy)) && ok;
        ok =
            write(out.filePath(QStringLiteral("table/coming-back")), r.driver.received(back)) && ok;
    }
    return ok ? 0 : 1;
}
