// The host harness: four computer seats play whole games to a winner on the
// host, the figures counted from its messages agree with the host's own
// state, a fixed starting value replays the same run, and a stalled or
// self-contradicting game is reported.
#include "host/support/hostharness.h"
#include "model/card.h"
#include "model/random.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::testing;
using sim::Figures;

namespace {

constexpr int kGames = 400;
constexpr int kPlayto = 10;
constexpr std::uint32_t kStartingValue = 4242;

QString describe(const Figures& f) {
    return QStringLiteral("games %1 hands %2 deals %3 thrown_in %4 wins %5/%6 ordered_up %7 "
                          "named %8 alone %9 marches %10 euchres %11 points %12/%13")
        .arg(f.games)
        .arg(f.hands)
        .arg(f.deals)
        .arg(f.thrownIn)
        .arg(f.team1Wins)
        .arg(f.team2Wins)
        .arg(f.orderedUp)
        .arg(f.named)
        .arg(f.alone)
        .arg(f.marches)
        .arg(f.euchres)
        .arg(f.pointsTeam1)
        .arg(f.pointsTeam2);
}

// What the test counts for itself: the messages by their plain text, and the
// tricks straight from the host's records at the moment each hand is scored.
struct OwnCount {
    qint64 dealers = 0;
    qint64 accepted = 0;
    qint64 trumpMade = 0;
    qint64 loners = 0;
    qint64 scores = 0;
    qint64 marches = 0;
    qint64 euchres = 0;
};

// Puts the test's own counting in front of the harness's observer.
void countAlongside(HostHarness& harness, OwnCount& own) {
    TServer& server = harness.server();
    auto observers = server.onSend;
    server.onSend = [&server, &own, observers](int slot, const QByteArray& bytes) {
        if (slot == HostHarness::kSpectatorSlot) {
            if (bytes.startsWith("CMD_dealer+")) ++own.dealers;
            if (bytes.startsWith("CMD_heaccepted+")) ++own.accepted;
            if (bytes.startsWith("CMD_trumpchoosen+")) ++own.trumpMade;
            if (bytes.startsWith("CMD_goingalone+") && bytes.contains("+7+")) ++own.loners;
            if (bytes.startsWith("CMD_score+")) {
                ++own.scores;
                const rules::Table& t = server.game().table();
                const int making = t.team[1].makers ? 1 : 2;
                const int taken = t.team[making].tricks;
                if (taken == kHandSize) ++own.marches;
                if (taken <= 2) ++own.euchres;
            }
        }
        observers(slot, bytes);
    };
}

Figures runGames(std::uint32_t startingValue, int games) {
    rng::restart(startingValue);
    HostHarness harness;
    for (int game = 0; game < games; ++game)
        if (!harness.playGame(kPlayto)) return Figures{};
    return harness.figures();
}

} // namespace

class HostHarnessTest : public QObject {
    Q_OBJECT
private slots:
    void everySeatIsAComputerSeatAndTheSpectatorWatches() {
        HostHarness harness;
        QVERIFY2(harness.fault().isEmpty(), qPrintable(harness.fault()));
        for (int seat = 1; seat <= kSeats; ++seat) QVERIFY(harness.server().isComputerSeat(seat));
        QVERIFY(harness.server().playerslot[HostHarness::kSpectatorSlot].connected);
    }

    void everyGameEndsWithAWinnerAndTheFiguresAddUp() {
        rng::restart(kStartingValue);
        HostHarness harness;
        OwnCount own;
        countAlongside(harness, own);

        std::array<qint64, 3> finalTotals{};
        qint64 handsPerGame = 0;
        for (int game = 1; game <= kGames; ++game) {
            QVERIFY2(harness.playGame(kPlayto), qPrintable(harness.fault()));
            const WatchedGame& g = harness.lastGame();
            const TServer& server = harness.server();
            QVERIFY(!server.gameon);
            QVERIFY(g.winner == 1 || g.winner == 2);
            QVERIFY(g.finalScore[g.winner] >= kPlayto);
            QVERIFY(g.finalScore[g.winner] > g.finalScore[3 - g.winner]);
            for (int team = 1; team <= 2; ++team) {
                // The hand points add up to the totals announced, and those
                // are the scores the host keeps.
                QCOMPARE(g.pointsSum[team], g.finalScore[team]);
                QCOMPARE(g.finalScore[team], server.game().table().team[team].score);
                finalTotals[team] += g.finalScore[team];
            }
            handsPerGame += g.hands;
        }

        const Figures& f = harness.figures();
        QCOMPARE(f.games, qint64(kGames));
        QCOMPARE(f.team1Wins + f.team2Wins, qint64(kGames));
        QVERIFY2(f.team1Wins > 0 && f.team2Wins > 0, qPrintable(describe(f)));
        QVERIFY2(f.marches > 0, qPrintable(describe(f)));
        QVERIFY2(f.euchres > 0, qPrintable(describe(f)));
        QVERIFY2(f.alone > 0, qPrintable(describe(f)));
        QVERIFY2(f.thrownIn > 0, qPrintable(describe(f)));
        QVERIFY2(f.orderedUp > 0 && f.named > 0, qPrintable(describe(f)));

        QCOMPARE(f.pointsTeam1, finalTotals[1]);
        QCOMPARE(f.pointsTeam2, finalTotals[2]);
        QCOMPARE(f.hands, handsPerGame);
        // Every deal is either played out and scored or thrown in.
        QCOMPARE(f.deals, f.hands + f.thrownIn);
        QCOMPARE(f.orderedUp + f.named, f.hands);

        QCOMPARE(f.deals, own.dealers);
        QCOMPARE(f.hands, own.scores);
        QCOMPARE(f.orderedUp, own.accepted);
        QCOMPARE(f.named, own.trumpMade - own.accepted);
        QCOMPARE(f.alone, own.loners);
        QCOMPARE(f.marches, own.marches);
        QCOMPARE(f.euchres, own.euchres);
    }

    void theSameStartingValueGivesTheSameFigures() {
        const Figures first = runGames(kStartingValue, 200);
        const Figures second = runGames(kStartingValue, 200);
        const Figures other = runGames(kStartingValue + 1, 200);
        QCOMPARE(first.games, qint64(200));
        QCOMPARE(describe(second), describe(first));
        QVERIFY(second == first);
        // Another starting value deals other cards, so the comparison above
        // is not trivially true.
        QVERIFY(describe(other) != describe(first));
    }

    void aGameThatStallsIsReported() {
        rng::restart(kStartingValue);
        HostHarness harness;
        TServer& server = harness.server();
        auto observers = server.onSend;
        // The first seat asked for a card turns into a person's seat that
        // never answers: nothing is left pending and nobody wins.
        server.onSend = [&server, observers](int slot, const QByteArray& bytes) {
            observers(slot, bytes);
            if (bytes.startsWith("CMD_nextplayer+"))
                server.playerslot[server.game().table().nextplayer()].connected = true;
        };
        QVERIFY(!harness.playGame(kPlayto));
        QVERIFY2(harness.fault().contains(QLatin1String("stalled")), qPrintable(harness.fault()));
        QCOMPARE(harness.figures().games, qint64(0));
        // Nothing more is played once a fault is known.
        QVERIFY(!harness.playGame(kPlayto));
    }

    void aScoreThatDisagreesWithTheTricksIsReported() {
        rng::restart(kStartingValue);
        HostHarness harness;
        TServer& server = harness.server();
        auto observers = server.onSend;
        // The first hand's score message gives its points to the wrong team.
        server.onSend = [observers, done = false](int slot, const QByteArray& bytes) mutable {
            if (!done && bytes.startsWith("CMD_score+")) {
                done = true;
                QList<QByteArray> f = bytes.split('+');
                std::swap(f[3], f[5]);
                std::swap(f[2], f[4]);
                observers(slot, f.join('+'));
                return;
            }
            observers(slot, bytes);
        };
        QVERIFY(!harness.playGame(kPlayto));
        QVERIFY2(harness.fault().contains(QLatin1String("tricks")), qPrintable(harness.fault()));
    }
};

QTEST_MAIN(HostHarnessTest)
#include "tst_hostharness.moc"
