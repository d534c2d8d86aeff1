// Each hand's result and the end of a game as a seat or a spectator sees
// them: the status line, both logs with their row numbers, the bonus labels,
// the sounds, the tally, the winners banners and the last-trick window.
#include "client/artitem.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "client/tlasttrick.h"
#include "client/tscorecard.h"
#include "model/card.h"
#include "support/fakehost.h"
#include "support/testdoor.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using euchre::Tchat;
using euchre::testing::FakeHost;
using euchre::testing::feed;

namespace {

QStringList logLines(const euchre::Tscorecard& card, int team) {
    QStringList lines;
    const QTextDocument* doc = card.log(team)->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) lines << b.text();
    if (lines == QStringList{QString()}) lines.clear();
    return lines;
}

QColor lastColour(const euchre::Tscorecard& card, int team) {
    const QTextBlock last = card.log(team)->document()->lastBlock();
    return last.begin().fragment().charFormat().foreground().color();
}

} // namespace

class TestScores : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void handResults_data();
    void handResults();
    void gameEnd_data();
    void gameEnd();
    void lastTrickWindow();
    void logsKeepTheirLastLines();

private:
    Tchat& seated(int slot);

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<FakeHost> host;
    std::unique_ptr<euchre::Tscorecard> scorecard;
    std::unique_ptr<euchre::Tlasttrick> lasttrick;
    std::unique_ptr<Tchat> table;
    QList<QStringList> tallied; // the tally's calls, name first
};

void TestScores::init() {
    home = std::make_unique<QTemporaryDir>();
    qputenv("EUCHRE_HOME", home->path().toLocal8Bit());
    host = std::make_unique<FakeHost>();
    scorecard = std::make_unique<euchre::Tscorecard>();
    lasttrick = std::make_unique<euchre::Tlasttrick>();
    tallied.clear();
}

void TestScores::cleanup() {
    table.reset();
    lasttrick.reset();
    scorecard.reset();
    host.reset();
}

Tchat& TestScores::seated(int slot) {
    table = host->seat(slot);
    euchre::TableWindows windows;
    windows.scorecard = scorecard.get();
    windows.lasttrick = lasttrick.get();
    table->setWindows(windows);
    table->addgame = [this](const QString& a, const QString& b) {
        tallied.append({QStringLiteral("addgame"), a, b});
    };
    table->addtomineincrease = [this](int column) {
        tallied.append({QStringLiteral("addtomineincrease"), QString::number(column)});
    };
    feed(*table, "CMD_existingplayers+1+Ann+0+2+Ben+0+3+Cat+0+4+Dan+0");
    return *table;
}

void TestScores::handResults_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("score"); // making team; Tan score, points; Blue score, points
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("tanLine");
    QTest::addColumn<QString>("blueLine");
    QTest::addColumn<QString>("sound");
    QTest::addColumn<QStringList>("bonus");
    QTest::addColumn<int>("tally"); // the own total counted, 0 for none
    // Tricks this hand: Tan 3, Blue 2.
    QTest::newRow("Tan scores 1, seat 1")
        << 1 << QByteArray("1+1+1+0+0") << "The Tan Team earned 1 point!"
        << "R1: M 1 point  3 tricks"
        << "R1:   0 points 2 tricks"
        << "gotpoints" << QStringList{"+1", ""} << 0;
    QTest::newRow("Blue scores 1, seat 2 hears it")
        << 2 << QByteArray("2+0+0+1+1") << "The Blue Team earned 1 point!"
        << "R1:   0 points 3 tricks"
        << "R1: M 1 point  2 tricks"
        << "gotpoints" << QStringList{"", "+1"} << 0;
    QTest::newRow("Blue scores 1, seat 1 does not")
        << 1 << QByteArray("2+0+0+1+1") << "The Blue Team earned 1 point!"
        << "R1:   0 points 3 tricks"
        << "R1: M 1 point  2 tricks"
        << "nopoints" << QStringList{"", "+1"} << 0;
    // Blue euchred comes before Tan marched although Tan got 2.
    QTest::newRow("Blue euchred, seat 2")
        << 2 << QByteArray("2+2+2+0+0") << "The Blue Team Got Euchred!"
        << "R1:   2 points 3 tricks"
        << "R1: M 0 points 2 tricks! Euchred!"
        << "euchred" << QStringList{"+2", ""} << 4;
    QTest::newRow("Blue euchred, spectator")
        << 6 << QByteArray("2+2+2+0+0") << "The Blue Team Got Euchred!"
        << "R1:   2 points 3 tricks"
        << "R1: M 0 points 2 tricks! Euchred!"
        << "euchred" << QStringList{"+2", ""} << 0;
    QTest::newRow("Tan euchred, seat 4")
        << 4 << QByteArray("1+0+0+2+2") << "The Tan Team Got Euchred!"
        << "R1: M 0 points 3 tricks Euchred!"
        << "R1:   2 points 2 tricks"
        << "gotpoints" << QStringList{"", "+2"} << 0;
    QTest::newRow("Tan marched alone, seat 3")
        << 3 << QByteArray("1+4+4+0+0") << "The Tan Team Marched!"
        << "R1: M 4 points 3 tricks Marched!"
        << "R1:   0 points 2 tricks"
        << "marched" << QStringList{"+4", ""} << 3;
    QTest::newRow("Blue marched, spectator")
        << 7 << QByteArray("2+0+0+2+2") << "The Blue Team Marched!"
        << "R1:   0 points 3 tricks"
        << "R1: M 2 points 2 tricks Marched!"
        << "nopoints" << QStringList{"", "+2"} << 0;
    QTest::newRow("no points") << 1 << QByteArray("0+0+0+0+0") << "You won the trick!"
                               << ""
                               << ""
                               << "" << QStringList{"", ""} << 0;
}

void TestScores::handResults() {
    QFETCH(int, slot);
    QFETCH(QByteArray, score);
    QFETCH(QString, status);
    QFETCH(QString, tanLine);
    QFETCH(QString, blueLine);
    QFETCH(QString, sound);
    QFETCH(QStringList, bonus);
    QFETCH(int, tally);
    Tchat& t = seated(slot);
    feed(t, "CMD_dealer+1+");
    feed(t, "CMD_trickwinner+1+3+2+");
    t.sounds().stop();
    feed(t, "CMD_score+" + score + "+");
    const euchre::TableBoard* b = t.board();
    QCOMPARE(b->statusLabel()->text(), status);
    QCOMPARE(logLines(*scorecard, 1), tanLine.isEmpty() ? QStringList() : QStringList{tanLine});
    QCOMPARE(logLines(*scorecard, 2), blueLine.isEmpty() ? QStringList() : QStringList{blueLine});
    QCOMPARE(t.sounds().current(), sound);
    QCOMPARE(b->label("label_bonus1")->text(), bonus[0]);
    QCOMPARE(b->label("label_bonus2")->text(), bonus[1]);
    const QList<QStringList> expected =
        tally ? QList<QStringList>{{"addtomineincrease", QString::number(tally)}}
              : QList<QStringList>{};
    QCOMPARE(tallied, expected);
    if (!tanLine.isEmpty()) {
        QCOMPARE(lastColour(*scorecard, 1), QColor(255, 128, 0));
        QCOMPARE(lastColour(*scorecard, 2), QColor(55, 70, 140));
    }
}

void TestScores::gameEnd_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("team");
    QTest::addColumn<QStringList>("addgame"); // empty: the tally is not told
    QTest::newRow("seat 1, Tan wins") << 1 << 1 << QStringList{"addgame", "addtomine", "Cat"};
    QTest::newRow("seat 3, Tan wins") << 3 << 1 << QStringList{"addgame", "addtomine", "Ann"};
    QTest::newRow("seat 2, Tan wins") << 2 << 1 << QStringList{"addgame", "Ann", "Cat"};
    QTest::newRow("seat 4, Blue wins") << 4 << 2 << QStringList{"addgame", "addtomine", "Ben"};
    QTest::newRow("seat 1, Blue wins") << 1 << 2 << QStringList{"addgame", "Ben", "Dan"};
    QTest::newRow("spectator") << 5 << 2 << QStringList{};
}

void TestScores::gameEnd() {
    QFETCH(int, slot);
    QFETCH(int, team);
    QFETCH(QStringList, addgame);
    Tchat& t = seated(slot);
    euchre::TchatTestDoor::setHosting(t, slot == 1);
    feed(t, "CMD_startgame+Ann+5+");
    QVERIFY(t.board()->startButton()->isHidden());
    feed(t, "CMD_dealer+1+");
    feed(t, "CMD_score+1+1+1+0+0+");
    feed(t, "CMD_thewinner+" + QByteArray::number(team) + "+");
    const QString won = team == 1 ? "The Tan Team Won!!" : "The Blue Team Won!!";
    for (int log = 1; log <= 2; ++log) {
        QCOMPARE(logLines(*scorecard, log).value(1), won);
        QCOMPARE(lastColour(*scorecard, log), euchre::teamColour(team));
    }
    for (int seat = 1; seat <= 4; ++seat)
        QCOMPARE(t.board()->seat(seat)->banner->isVisibleTo(t.board()),
                 euchre::teamOf(seat) == team);
    QCOMPARE(tallied, addgame.isEmpty() ? QList<QStringList>{} : QList<QStringList>{addgame});
    QCOMPARE(t.sounds().current(), QStringLiteral("winner"));
    QCOMPARE(t.board()->startButton()->isHidden(), slot != 1);
    // The game's line counts as a row: the next game goes on from row 3.
    feed(t, "CMD_startgame+Ann+5+");
    QVERIFY(!t.board()->seat(team)->banner->isVisibleTo(t.board()));
    feed(t, "CMD_dealer+2+");
    feed(t, "CMD_score+2+1+0+1+1+");
    QVERIFY(logLines(*scorecard, 2).value(2).startsWith(QLatin1String("R3: M 1 point")));
}

void TestScores::lastTrickWindow() {
    Tchat& t = seated(3);
    feed(t, "CMD_trumpchoosen+2+4+");
    feed(t, "CMD_clearcards+");
    for (const char* card : {"CMD_playedcard+2+1+27+", "CMD_playedcard+3+2+40+",
                             "CMD_playedcard+4+3+29+", "CMD_playedcard+1+4+50+"})
        feed(t, card);
    feed(t, "CMD_trickwinner+3+1+0+");
    lasttrick->show();
    const int cards[] = {0, 50, 27, 40, 29};
    const char* names[] = {"", "Ann", "Ben", "Cat", "Dan"};
    for (int seat = 1; seat <= 4; ++seat) {
        QCOMPARE(lasttrick->played(seat)->number(), cards[seat]);
        QVERIFY(lasttrick->played(seat)->hasArt());
        QCOMPARE(lasttrick->played(seat)->size(), QSize(52, 72));
        QCOMPARE(lasttrick->player(seat)->text(), QLatin1String(names[seat]));
    }
    QCOMPARE(lasttrick->ledoff()->text(), QStringLiteral("Spades"));
    QCOMPARE(lasttrick->trumpcard()->number(), 56);
    QCOMPARE(lasttrick->winner()->text(), QStringLiteral("You won the trick!"));
    // A name that changes shows the next time the window comes up.
    feed(t, "CMD_playerdisconnected+2+Ben");
    lasttrick->hide();
    lasttrick->show();
    QCOMPARE(lasttrick->player(2)->text(), QStringLiteral("Klot"));
}

// A host that sends results without end cannot fill memory: each log keeps
// its last lines (and no undo steps), while the rows go on being numbered.
void TestScores::logsKeepTheirLastLines() {
    const int total = euchre::Tscorecard::kMaxLines + 3;
    for (int n = 1; n <= total; ++n)
        scorecard->addlinetomemo(QStringLiteral("R%1").arg(n), 1, Qt::black);
    const QStringList lines = logLines(*scorecard, 1);
    QCOMPARE(lines.size(), euchre::Tscorecard::kMaxLines);
    QCOMPARE(lines.first(), QStringLiteral("R4"));
    QCOMPARE(lines.last(), QStringLiteral("R%1").arg(total));
    QCOMPARE(scorecard->lines(1), total);
    QVERIFY(!scorecard->log(1)->document()->isUndoRedoEnabled());
    QVERIFY(logLines(*scorecard, 2).isEmpty());
}

QTEST_MAIN(TestScores)
#include "tst_scores.moc"
