// The player's statistics: games scripted through the table window's
// handlers give every count, survive in the file, a broken file is set
// aside, and Reset asks first.
#include "client/tchat.h"
#include "client/tstatistics.h"
#include "stats/statsfile.h"
#include "support/fakehost.h"
#include "support/testdoor.h"

#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace euchre;
using euchre::testing::feed;

namespace {

// One hand: the makers' team (0: thrown in), the tricks they took, the seat
// that went alone (0: none) and the points of team 1 and team 2.
struct Hand {
    int makers, tricks, loner, p1, p2;
};
struct Game {
    std::vector<Hand> hands;
    int winners; // 0: the game stops before a winner
    bool fromStart = true;
};

void play(Tchat& t, const Game& game) {
    if (game.fromStart) feed(t, "CMD_startgame+Bob+10+");
    int dealer = 1;
    for (const Hand& h : game.hands) {
        feed(t, QByteArray("CMD_dealer+") + QByteArray::number(dealer++ % 4 + 1) + '+');
        if (h.makers == 0) continue;
        if (h.loner) feed(t, "CMD_goingalone+" + QByteArray::number(h.loner) + "+7+");
        const int tan = h.makers == 1 ? h.tricks : 5 - h.tricks;
        feed(t, "CMD_trickwinner+1+" + QByteArray::number(tan) + '+' + QByteArray::number(5 - tan) +
                    '+');
        feed(t, "CMD_score+" + QByteArray::number(h.makers) + "+0+" + QByteArray::number(h.p1) +
                    "+0+" + QByteArray::number(h.p2) + '+');
    }
    if (game.winners) feed(t, "CMD_thewinner+" + QByteArray::number(game.winners) + '+');
}

GameEntry entry(const char* level, const char* partner, bool won,
                std::initializer_list<int> counts) {
    GameEntry g;
    g.level = QString::fromLatin1(level);
    g.partner = QString::fromLatin1(partner);
    g.won = won;
    int* fields[] = {&g.hands,    &g.points,    &g.made,         &g.marched,
                     &g.suffered, &g.theirMade, &g.theirMarched, &g.euchred,
                     &g.thrownIn, &g.loneCalls, &g.loneWon};
    int k = 0;
    for (int n : counts) *fields[k++] = n;
    return g;
}

std::vector<GameEntry> withoutTimes(std::vector<GameEntry> games) {
    for (GameEntry& g : games) g.when.clear();
    return games;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<Game>)
Q_DECLARE_METATYPE(std::vector<GameEntry>)
Q_DECLARE_METATYPE(StatsTotals)

class TestStatistics : public QObject {
    Q_OBJECT
private slots:
    void init();
    void scriptedGames_data();
    void scriptedGames();
    void brokenFileAndReset();

private:
    std::unique_ptr<QTemporaryDir> home;
    QString file() const { return QDir(home->path()).filePath(statsFileName); }
};

void TestStatistics::init() {
    home = std::make_unique<QTemporaryDir>();
    qputenv("EUCHRE_HOME", home->path().toLocal8Bit());
}

void TestStatistics::scriptedGames_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("hosting");
    QTest::addColumn<QByteArray>("players");
    QTest::addColumn<std::vector<Game>>("games");
    QTest::addColumn<std::vector<GameEntry>>("recorded");
    QTest::addColumn<StatsTotals>("totals");

    // Seat 1 hosting against the computers: made, marched, their call
    // euchred, thrown in, a lone march of our own; then a loss with their
    // make and march, our call euchred and a lone call euchred.
    QTest::newRow("solo") << 1 << true << QByteArray()
                          << std::vector<Game>{{{{1, 3, 0, 1, 0},
                                                 {1, 5, 0, 2, 0},
                                                 {2, 2, 0, 2, 0},
                                                 {0, 0, 0, 0, 0},
                                                 {1, 5, 1, 4, 0},
                                                 {1, 4, 3, 1, 0}},
                                                1},
                                               {{{2, 3, 0, 0, 1},
                                                 {2, 5, 0, 0, 2},
                                                 {1, 1, 0, 0, 2},
                                                 {1, 2, 1, 0, 4},
                                                 {2, 4, 0, 0, 1}},
                                                2}}
                          << std::vector<GameEntry>{entry("Standard", "Klick", true,
                                                          {6, 10, 2, 2, 0, 0, 0, 1, 1, 1, 1}),
                                                    entry("Standard", "Klick", false,
                                                          {5, 0, 0, 0, 2, 2, 1, 0, 0, 1, 0})}
                          << StatsTotals{2, 1, 11, 10, 6, 1, 2, 2, 1, 2, 1};
    // Seat 2 joined among people: won, won, lost, won gives a run of two; a game
    // started over counts from its new start only, and one joined under way
    // or stopped without a winner is not counted.
    QTest::newRow("people")
        << 2 << false << QByteArray("CMD_existingplayers+1+Ann+0+2+Me+0+3+Cy+0+4+Dee+0")
        << std::vector<Game>{{{{2, 3, 0, 0, 1}}, 2},
                             {{{2, 5, 0, 0, 2}}, 0},
                             {{{2, 3, 4, 0, 1}, {2, 5, 2, 0, 4}}, 2},
                             {{{1, 3, 0, 1, 0}}, 1},
                             {{{1, 5, 0, 2, 0}}, 1, false},
                             {{{2, 4, 0, 0, 1}}, 2}}
        << std::vector<GameEntry>{entry("People", "Dee", true, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0}),
                                  entry("People", "Dee", true, {2, 5, 1, 1, 0, 0, 0, 0, 0, 1, 1}),
                                  entry("People", "Dee", false, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}),
                                  entry("People", "Dee", true, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0})}
        << StatsTotals{4, 3, 5, 7, 4, 0, 1, 1, 1, 0, 2};
}

void TestStatistics::scriptedGames() {
    QFETCH(int, slot);
    QFETCH(bool, hosting);
    QFETCH(QByteArray, players);
    QFETCH(std::vector<Game>, games);
    QFETCH(std::vector<GameEntry>, recorded);
    QFETCH(StatsTotals, totals);
    {
        Tchat t;
        TchatTestDoor::sit(t, slot, false);
        TchatTestDoor::setHosting(t, hosting);
        if (!players.isEmpty()) feed(t, players);
        for (const Game& game : games) play(t, game);
        QCOMPARE(withoutTimes(t.statistics().games()), recorded);
        QCOMPARE(totalsOf(t.statistics().games()), totals);
        QVERIFY(!t.statistics().games().front().when.isEmpty());
    }
    // Saved after every game: a new run reads the same games.
    StatsBook again(file());
    QCOMPARE(again.load(), QString());
    QCOMPARE(withoutTimes(again.games()), recorded);
}

void TestStatistics::brokenFileAndReset() {
    {
        QFile broken(file());
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("Euchre statistics 1\nnot a game\n");
    }
    Tchat t;
    TchatTestDoor::sit(t, 1, false);
    t.ViewStatistics1Click();
    auto* window = qobject_cast<Tstatistics*>(t.statisticsWindow());
    QVERIFY(window);
    QVERIFY(QFile::exists(file() + ".bad"));
    QVERIFY(t.chat()->log()->toPlainText().contains("could not be read"));
    QCOMPARE(window->table()->item(0, 0)->text(), QString("0"));

    play(t, {{{1, 5, 0, 2, 0}}, 1});
    play(t, {{{2, 3, 0, 0, 1}}, 2});
    QCOMPARE(window->table()->item(0, 0)->text(), QString("2"));
    QCOMPARE(window->table()->item(0, 2)->text(), QString("50%"));

    // Reset asks; only a yes forgets the games, in the file too.
    for (bool yes : {false, true}) {
        QString asked;
        window->ask = [&](const QString& question, std::function<void(bool)> answer) {
            asked = question;
            answer(yes);
        };
        window->resetClick();
        QVERIFY(!asked.isEmpty());
        StatsBook saved(file());
        saved.load();
        QCOMPARE(static_cast<int>(saved.games().size()), yes ? 0 : 2);
        QCOMPARE(window->table()->item(0, 0)->text(), QString(yes ? "0" : "2"));
    }
}

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
