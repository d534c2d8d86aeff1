// A whole solo game played at the hosting table as a person plays it: the
// start button, the game-start window, then bubbles and own cards, once by
// mouse clicks and once by keys alone, and once by clicks under stick the
// dealer, until the game is won; then the logs, the last trick, the banners
// and the tally tell the game, and the records folder keeps it.
#include "client/artitem.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "client/tgamestart.h"
#include "client/thandreview.h"
#include "client/tlasttrick.h"
#include "client/tscorecard.h"
#include "model/bubble.h"
#include "model/card.h"
#include "model/random.h"
#include "players/players.h"
#include "records/egn.h"
#include "records/replay.h"
#include "rules/game.h"
#include "support/seatplayer.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using euchre::Tchat;
using euchre::testing::SeatPlayer;

namespace {

// Where a person clicks the spin box's lower arrow.
QPoint downArrow(QSpinBox* spin) {
    QStyleOptionSpinBox opt;
    opt.initFrom(spin);
    opt.rect = spin->rect();
    opt.subControls = QStyle::SC_All;
    opt.buttonSymbols = spin->buttonSymbols();
    opt.stepEnabled = QAbstractSpinBox::StepDownEnabled | QAbstractSpinBox::StepUpEnabled;
    opt.frame = true;
    return spin->style()
        ->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxDown, spin)
        .center();
}

// A start of the generator whose first deal, dealt by seat 1 with the
// standard computer players in seats 2 to 4 and seat 1 passing, comes to
// seat 1 as the stuck dealer in the naming round.
std::uint32_t stuckFirstDeal(const euchre::rules::Ruleset& rules) {
    using namespace euchre;
    for (std::uint32_t start = 1;; ++start) {
        rng::restart(start);
        rules::Game g;
        rules::Events ev;
        g.startGame(5, rules, ev);
        while (g.phase() == rules::Phase::OrderUp || g.phase() == rules::Phase::Naming) {
            const rules::Asked asked = g.asked();
            if (asked.seat == 1 && asked.question == rules::Question::Naming) return start;
            const int answer = asked.seat == 1
                                   ? BubblePass
                                   : players::answer(players::Level::Standard,
                                                     rules::seatView(g.table(), asked.seat));
            ev.clear();
            g.decide(asked.seat, answer, ev);
        }
    }
}

} // namespace

class TestSolo : public QObject {
    Q_OBJECT
private slots:
    void wholeGame_data();
    void wholeGame();
};

void TestSolo::wholeGame_data() {
    QTest::addColumn<int>("input");
    QTest::addColumn<bool>("stick"); // stick the dealer, and the person passes what it may
    QTest::addColumn<bool>("hints"); // a hint asked for at every decision, and followed
    QTest::newRow("mouse") << int(SeatPlayer::Mouse) << false << false;
    QTest::newRow("keys") << int(SeatPlayer::Keys) << false << false;
    QTest::newRow("mouse, stick the dealer") << int(SeatPlayer::Mouse) << true << false;
    QTest::newRow("mouse, following hints") << int(SeatPlayer::Mouse) << false << true;
}

void TestSolo::wholeGame() {
    QFETCH(int, input);
    QFETCH(bool, stick);
    QFETCH(bool, hints);
    const bool keys = input == SeatPlayer::Keys;
    QTemporaryDir home;
    qputenv("EUCHRE_HOME", home.path().toLocal8Bit());
    qputenv("EUCHRE_PORT", "0");
    QStringList shown;

    Tchat table;
    table.message = [&](const QString& text, std::function<void()>) { shown.append(text); };
    euchre::Tgamestart gamestart(table);
    euchre::Tscorecard scorecard;
    euchre::Tlasttrick lasttrick;
    euchre::TableWindows windows;
    windows.gamestart = &gamestart;
    windows.scorecard = &scorecard;
    windows.lasttrick = &lasttrick;
    table.setWindows(windows);
    QList<QStringList> tallied;
    table.addgame = [&](const QString& a, const QString& b) { tallied.append({a, b}); };
    table.addtomineincrease = [&](int column) { tallied.append({QString::number(column)}); };
    table.setCommandLine({});
    table.show();
    QVERIFY(QTest::qWaitForWindowActive(&table));
    QTRY_VERIFY(table.isLoggedIn());
    // Computer players answer at once.
    table.server()->setBotSpeedSource([] { return 1; });
    euchre::TableBoard* board = table.board();
    QTRY_COMPARE(board->nameLabel(1)->text(), QStringLiteral("You"));

    // The keyboard starts in the chat line; Tab hands it to the table.
    QCOMPARE(QApplication::focusWidget(), table.chat()->input());
    auto* spin = gamestart.findChild<QSpinBox*>(QStringLiteral("edit_playtoscore"));
    // Every run of a row deals the same cards; under stick the dealer the
    // first deal brings the naming round to this seat, the dealer.
    euchre::rules::Ruleset stuck;
    stuck.stickTheDealer = true;
    euchre::rng::restart(stick ? stuckFirstDeal(stuck) : 11);
    if (keys) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), board);
        QTest::keyClick(board, Qt::Key_Return);
        QVERIFY(gamestart.isVisible());
        for (int i = 0; i < 7; ++i) QTest::keyClick(spin, Qt::Key_Down);
        QCOMPARE(spin->value(), 5);
        QTest::keyClick(spin, Qt::Key_Return);
    } else {
        QTest::mouseClick(board->startButton(), Qt::LeftButton);
        QVERIFY(gamestart.isVisible());
        for (int i = 0; i < 7; ++i) QTest::mouseClick(spin, Qt::LeftButton, {}, downArrow(spin));
        QCOMPARE(spin->value(), 5);
        if (stick) {
            // A click on its box.
            auto* box = gamestart.findChild<QCheckBox*>(QStringLiteral("check_stickdealer"));
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            QVERIFY(box->isChecked());
        }
        QTest::mouseClick(gamestart.findChild<QPushButton*>(QStringLiteral("button_start")),
                          Qt::LeftButton);
    }
    QVERIFY(!gamestart.isVisible());
    QTRY_COMPARE(board->label("label_playtoscore")->text(), QStringLiteral("Play to Score: 5"));
    QVERIFY(board->startButton()->isHidden());
    // Nothing to review until a hand has ended.
    QVERIFY(board->handReviewButton()->isHidden());
    QCOMPARE(board->label("label_houserules")->text(),
             stick ? QStringLiteral("Stick the dealer") : QString());

    SeatPlayer you(table, SeatPlayer::Input(input));
    you.passing = stick;
    you.followHints = hints;
    // (A Pass offered to a stuck dealer ends the game short: the host would refuse it.)
    QVERIFY2(euchre::testing::playUntil(
                 {&you}, [&] { return you.winner != 0 || (stick && you.passOfferedAsDealer > 0); },
                 120000),
             "the game did not end in time");
    // The stuck dealer was asked to name and offered no Pass.
    if (stick) QCOMPARE(you.passOfferedAsDealer, 0);
    if (stick) QVERIFY(you.namingAsDealer > 0);
    // A hand scores four points at most: a game to 5 takes two hands or more.
    QVERIFY2(you.handsScored >= 2, qPrintable(QString::number(you.handsScored)));
    // Every hint was followed; a card's hint says how often it takes the trick.
    if (hints) {
        QVERIFY(you.cardHints > 0 && you.hintsFollowed > you.cardHints);
        QCOMPARE(you.cardHintsWithTrick, you.cardHints);
    }
    const int winnerScore =
        board->label(you.winner == 1 ? "label_score1" : "label_score2")->text().toInt();
    QVERIFY(winnerScore >= 5);
    for (int seat = 1; seat <= 4; ++seat)
        QCOMPARE(board->seat(seat)->banner->isVisible(), euchre::teamOf(seat) == you.winner);
    QVERIFY(!board->startButton()->isHidden());
    QVERIFY(!board->handReviewButton()->isHidden());
    QVERIFY(shown.isEmpty());
    // The chat log named the house rule, and the settings file keeps the choice.
    QCOMPARE(table.chat()->log()->toPlainText().contains(QLatin1String("house rules")), stick);
    QFile ini(home.filePath(QStringLiteral("bromlobby.ini")));
    const QByteArray settings = ini.open(QIODevice::ReadOnly) ? ini.readAll() : QByteArray();
    QCOMPARE(settings.contains("HouseRules=std=1"), stick);

    // One line per hand in each log, then the game's line.
    const QString won = you.winner == 1 ? "The Tan Team Won!!" : "The Blue Team Won!!";
    for (int team = 1; team <= 2; ++team) {
        QCOMPARE(scorecard.lines(team), you.handsScored + 1);
        QCOMPARE(scorecard.log(team)->document()->lastBlock().text(), won);
        QCOMPARE(scorecard.log(team)->document()->firstBlock().text().left(3),
                 QStringLiteral("R1:"));
    }
    const QString lastWinner = lasttrick.winner()->text();
    QVERIFY2(lastWinner.endsWith(QLatin1String(" Won the Trick!")) ||
                 lastWinner == QLatin1String("You won the trick!"),
             qPrintable(lastWinner));
    // Every seat's card shows, or all but the one a loner's partner left out.
    int cardsShown = 0;
    for (int seat = 1; seat <= 4; ++seat) cardsShown += lasttrick.played(seat)->number() > 0;
    QVERIFY2(cardsShown >= 3, qPrintable(QString::number(cardsShown)));
    // The tally heard of the game once, after any marches and euchres.
    QVERIFY(!tallied.isEmpty());
    const QStringList game =
        you.winner == 1 ? QStringList{"addtomine", "Klick"} : QStringList{"Klot", "Kling"};
    QCOMPARE(tallied.last(), game);
    for (int i = 0; i + 1 < tallied.size(); ++i) QCOMPARE(tallied[i].size(), 1);

    // The game was kept in the records folder, hand by hand: a record that
    // replays legal to the score on the board, with the table's names.
    const QDir records(home.filePath(QStringLiteral("records")));
    const QStringList kept = records.entryList({QStringLiteral("game-*.egn")}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QFile file(records.filePath(kept.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString why;
    const std::optional<euchre::records::GameRecord> record =
        euchre::records::readRecord(file.readAll(), &why);
    QVERIFY2(record, qPrintable(why));
    QCOMPARE(record->players.first(), QStringLiteral("You"));
    QCOMPARE(record->rules.stickTheDealer, stick);
    const euchre::records::Replay replay = euchre::records::replayRecord(*record);
    QVERIFY2(replay.legal, qPrintable(replay.fault()));
    QCOMPARE(replay.winner, you.winner);
    QCOMPARE(replay.score[1], board->label("label_score1")->text().toInt());
    QCOMPARE(replay.score[2], board->label("label_score2")->text().toInt());
    QCOMPARE(int(std::count_if(record->deals.begin(), record->deals.end(),
                               [](const auto& deal) { return deal.hasPlay; })),
             you.handsScored);
    // File > Save Game Record... saves the same game where the player says.
    table.askSaveRecordPath = [&](const QString&) {
        return home.filePath(QStringLiteral("mine.egn"));
    };
    table.saveGameRecordClick();
    QFile mine(home.filePath(QStringLiteral("mine.egn")));
    QVERIFY(mine.open(QIODevice::ReadOnly));
    QVERIFY(euchre::records::readRecord(mine.readAll()) == record);
    // The hand review lists each own decision of the last hand with the
    // expected points of the answer given and of the expert's, and a mark.
    QTest::mouseClick(board->handReviewButton(), Qt::LeftButton);
    auto* review = table.findChild<euchre::ThandReview*>();
    QVERIFY(review && review->isVisible());
    const euchre::records::ReplayDeal& last = replay.deals.back();
    int own = last.maker == 1 ? 1 : 0;             // asked whether to go alone
    if (last.orderedUp && last.dealer == 1) ++own; // the discard
    for (const auto& [seat, call] : last.calls) own += seat == 1;
    for (const auto& trick : last.tricks)
        own += int(std::count(trick.seats.begin(), trick.seats.end(), 1));
    QCOMPARE(review->deal(), int(record->deals.size()) - 1);
    auto* grid = review->findChild<QTableWidget*>(QStringLiteral("grid_decisions"));
    QCOMPARE(grid->rowCount(), own);
    for (int row = 0; row < own; ++row) {
        QVERIFY(grid->item(row, 3)->text().contains(QLatin1Char('.')));
        QVERIFY(
            QStringList({"Good", "Inaccuracy", "Mistake"}).contains(grid->item(row, 5)->text()));
    }
    if (!qEnvironmentVariableIsEmpty("EUCHRE_SHOTS"))
        review->grab().save(qEnvironmentVariable("EUCHRE_SHOTS") +
                            QStringLiteral("/handreview.png"));
    // ... and one the notation's schema takes, where Python can check it.
    QProcess check;
    check.start(QStringLiteral("python3"),
                {QStringLiteral(EUCHRE_RECORDS_CHECK "/validate.py"),
                 QStringLiteral(EUCHRE_RECORDS_CHECK "/data/egn-schema-v1.json"), file.fileName()});
    if (check.waitForFinished(60000) && check.exitCode() != 77)
        QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput().constData());
}

QTEST_MAIN(TestSolo)
#include "tst_solo.moc"
