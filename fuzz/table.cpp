// Fuzz target of the table window: the input is what a host sends, handed to
// a table window through its connection's read event in pieces of any size,
// with the window's ticks between them, the way the network would bring it.
// After every piece the window must still be whole: every item of the table
// on the board, the queue and the chat log within their bounds, no windows or
// widgets piling up, at most the five spectators listed, and every seat,
// place and count the table shows within the table.
#include "chat/chatlog.h"
#include "chat/phrases.h"
#include "client/tableboard.h"
#include "client/tablerecord.h"
#include "client/tchat.h"
#include "client/tgamestart.h"
#include "client/tlasttrick.h"
#include "client/tscorecard.h"
#include "client/tspylist.h"
#include "net/tsock.h"
#include "sound/sounds.h"
#include "support/nocoverage.h"
#include "tally/tallyfile.h"
#include "tally/ttallylist.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace euchre;

namespace {

// More widgets than a table ever makes on top of those it starts with.
constexpr int kWidgetGrowth = 200;
// The most ticks between two pieces; more and every line is handled at once.
constexpr unsigned kMostTicks = 4;

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "table fuzz: %s\n", what);
    std::abort();
}

// A small generator seeded from the input: where the pieces end and how many
// ticks come between them follow the input, so a run can be repeated.
struct Steps {
    std::uint64_t state;
    explicit Steps(const std::uint8_t* data, std::size_t size) : state(1469598103934665603ULL) {
        for (std::size_t i = 0; i < size; ++i) state = (state ^ data[i]) * 1099511628211ULL;
    }
    unsigned next(unsigned below) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<unsigned>(state % below);
    }
};

// The table window with the windows around it, as the program makes them.
struct Rig {
    Tchat chat;
    Ttallylist tally;
    Tgamestart gamestart{chat};
    Tphrases phrases;
    Tspylist spylist;
    Tlasttrick lasttrick;
    Tscorecard scorecard;
    int widgets = 0;

    explicit Rig(const QString& folder) {
        chat.message = [](const QString&, std::function<void()> done) {
            if (done) done();
        };
        chat.ask = [](const QString&, std::function<void(bool)> answer) { answer(true); };
        chat.choose = [](const QString&, const QString&, const QString&,
                         std::function<void(bool)> answer) { answer(false); };
        chat.openUrl = [](const QUrl&) {};
        chat.sounds().setAudioOutputForTesting(false);
        chat.setPhraseEditor(&phrases);
        TableWindows windows;
        windows.gamestart = &gamestart;
        windows.spylist = &spylist;
        windows.lasttrick = &lasttrick;
        windows.scorecard = &scorecard;
        chat.setWindows(windows);
        chat.setTally(&tally);
        tally.openFile(QDir(folder).filePath(QLatin1String(tallyFileName)));
        widgets = static_cast<int>(chat.findChildren<QObject*>().size());
        board = chat.findChild<TableBoard*>();
        log = chat.findChild<ChatLog*>();
        sock = chat.findChild<TSock*>(QStringLiteral("sock"));
        if (!board || !log || !sock) broken("the table has no board, log or connection");
    }

    TableBoard* board = nullptr;
    ChatLog* log = nullptr;
    TSock* sock = nullptr;

    // After every piece; `all` adds the count of everything the window holds.
    EUCHRE_FUZZ_UNCOVERED void check(bool all) {
        const QRect area = board->rect();
        for (QObject* child : board->children()) {
            if (!child->isWidgetType()) continue;
            const auto* item = static_cast<const QWidget*>(child);
            if (!item->isVisibleTo(board)) continue;
            if (!area.contains(item->geometry())) {
                std::fprintf(stderr, "table fuzz: %s at %d,%d %dx%d\n",
                             qPrintable(item->objectName()), item->x(), item->y(), item->width(),
                             item->height());
                broken("an item of the table lies outside the board");
            }
        }
        if (chat.queuedCount() > static_cast<int>(Tchat::kMaxQueuedLines))
            broken("the queue holds more than its bound");
        if (log->itemCount() > 2 * ChatLog::kMaxItems ||
            log->textChars() > 2 * ChatLog::kMaxTextChars)
            broken("the chat log holds far more than its bound");
        const TableRecord& shown = chat.shown();
        if (shown.spylist.size() > 5) broken("more than five spectators listed");
        const auto seatOrNone = [](int seat) { return seat >= 0 && seat <= 4; };
        if (!seatOrNone(shown.dealer) || !seatOrNone(shown.turnseat) || !seatOrNone(shown.arrow) ||
            !seatOrNone(shown.trickWinner) || shown.trick.count < 0 || shown.trick.count > 4 ||
            shown.keyPlace < 1 || shown.keyPlace > 5)
            broken("the table shows a seat, a trick or a place that is not there");
        for (int seat = 1; seat <= 4; ++seat)
            if (shown.seats[seat].cardsLeft < 0 || shown.seats[seat].cardsLeft > 5)
                broken("a seat holds more than five cards or fewer than none");
        if (all && chat.findChildren<QObject*>().size() > widgets + kWidgetGrowth)
            broken("the table's widgets pile up");
    }
};

QTemporaryDir* home = nullptr;
std::unique_ptr<Rig> rig;
int rigUses = 0;
// Inputs one window serves before a new one is made: making a window costs
// far more than most inputs, so the fuzzer keeps one for a while
// (EUCHRE_FUZZ_REUSE, default 1: a new window for every input, so that
// every input replays alone exactly as it ran).
int rigLifetime = 1;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings and the tally files go to a folder of this run's own,
    // in memory where there is such a folder.
    const QString shm = QStringLiteral("/dev/shm");
    home = new QTemporaryDir(QDir(shm).exists() ? shm + QStringLiteral("/euchre-fuzz-XXXXXX")
                                                : QString());
    // The folder goes when the run ends, after the window's last saves; a
    // crash leaves it to look at.
    std::atexit([] {
        rig.reset();
        delete home;
    });
    qputenv("EUCHRE_HOME", home->path().toLocal8Bit());
    // The tally's scratch files too.
    qputenv("TMPDIR", home->path().toLocal8Bit());
    new QApplication(*argc, *argv);
    initSoundResources();
    rigLifetime = std::max(1, qEnvironmentVariableIntValue("EUCHRE_FUZZ_REUSE"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!rig || rigUses++ >= rigLifetime) {
        rig.reset();
        // The next window starts without the files the last one saved, its
        // game records among them.
        const QDir folder(home->path());
        for (const QFileInfo& entry :
             folder.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (entry.isDir())
                QDir(entry.filePath()).removeRecursively();
            else
                QFile::remove(entry.filePath());
        }
        rig = std::make_unique<Rig>(home->path());
        rigUses = 1;
    }
    TSock* sock = rig->sock;
    Steps steps(data, size);
    std::size_t at = 0;
    while (at < size) {
        const std::size_t piece = 1 + steps.next(steps.next(2) ? 16 : 512);
        const std::size_t n = std::min(piece, size - at);
        sock->deliver(
            QByteArrayView(reinterpret_cast<const char*>(data) + at, static_cast<qsizetype>(n)));
        at += n;
        for (unsigned t = steps.next(kMostTicks + 1); t > 0; --t) rig->chat.Timer1Timer();
        rig->check(false);
    }
    // An unfinished last line ends here, so that it does not run into the
    // next input; what is still queued is handled, one line a tick.
    sock->deliver("\xFF");
    for (int t = rig->chat.queuedCount(); t > 0; --t) {
        rig->chat.Timer1Timer();
        if (t % 64 == 0) rig->check(false);
    }
    QCoreApplication::processEvents();
    rig->check(true);
    return 0;
}
