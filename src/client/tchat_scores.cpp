// The score board's side of the game: the play-to score and scores caught up
// on joining, each hand's result, and the end of a game.
#include "client/tableboard.h"
#include "client/tchat_parts.h"
#include "client/tscorecard.h"
#include "model/card.h"
#include "net/commands.h"
#include "stats/gamestats.h"
#include "tally/ttallylist.h"

namespace euchre {

namespace {

const QString kTanWon = QStringLiteral("0+The Tan Team has Won the Game!!");
const QString kBlueWon = QStringLiteral("0+The Blue Team has Won the Game!!");
const QString kRestartQuestion = QStringLiteral("A game is in progress. Start a new one?");
const QString kStartNewGame = QStringLiteral("Start New Game");
const QString kKeepPlaying = QStringLiteral("Keep Playing");

} // namespace

void Tchat::Scores::loadstats(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> playto = reader.number(0, 999);
    if (!playto) return;
    ScoreRecord& scores = t.m_shown.scores;
    scores.playto = *playto;
    for (int team = 1; team <= 2; ++team) {
        const std::optional<int> score = reader.number(-999, 999);
        if (!score) return;
        scores.score[static_cast<size_t>(team)] = *score;
        const std::optional<int> tricks = reader.number(-999, 999);
        if (!tricks) return;
        scores.tricks[static_cast<size_t>(team)] = *tricks;
    }
}

namespace {

// How a hand ended, first match wins.
enum class Result { None, TanEuchred, BlueEuchred, TanMarched, BlueMarched, TanScored, BlueScored };

Result classify(int making, int p1, int p2) {
    if (making == 1 && p1 == 0) return Result::TanEuchred;
    if (making == 2 && p2 == 0) return Result::BlueEuchred;
    if (p1 == 2 || p1 == 4) return Result::TanMarched;
    if (p2 == 2 || p2 == 4) return Result::BlueMarched;
    if (p1 > 0) return Result::TanScored;
    if (p2 > 0) return Result::BlueScored;
    return Result::None;
}

QString earned(const char* team, int points) {
    return points == 1 ? QStringLiteral("The %1 Team earned 1 point!").arg(QLatin1String(team))
                       : QStringLiteral("The %1 Team earned %2 points!")
                             .arg(QLatin1String(team))
                             .arg(points);
}

// Per-hand lines of the two logs.
const QColor kTanLogColour(255, 128, 0);
const QColor kBlueLogColour(55, 70, 140);

} // namespace

void Tchat::Scores::scores(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> making = reader.number(0, 2);
    const std::optional<int> s1 = reader.number(-999, 999);
    const std::optional<int> p1 = reader.number(0, 99);
    const std::optional<int> s2 = reader.number(-999, 999);
    const std::optional<int> p2 = reader.number(0, 99);
    if (!making || !s1 || !p1 || !s2 || !p2) return;
    ScoreRecord& shown = t.m_shown.scores;
    shown.score = {0, *s1, *s2};
    if (*p1 != 0) shown.bonus[1] = *p1;
    if (*p2 != 0) shown.bonus[2] = *p2;
    if (*making != 0)
        t.m_tracker->scored(*making, shown.tricks[static_cast<size_t>(*making)].value_or(0), *p1,
                            *p2);

    // The three kinds of log line: the makers' result, a point, or neither.
    const int points[3] = {0, *p1, *p2};
    const auto row = [this](int team) {
        auto* card = qobject_cast<Tscorecard*>(t.m_windows.scorecard.data());
        return QStringLiteral("R%1:").arg((card ? card->lines(team) : 0) + 1);
    };
    const auto tricks = [&shown](int team) {
        const std::optional<int> won = shown.tricks[static_cast<size_t>(team)];
        return won ? QString::number(*won) : QString();
    };
    const auto makerLine = [&](int team, const char* ending) {
        return row(team) + QStringLiteral(" M %1 points ").arg(points[team]) + tricks(team) +
               QLatin1String(ending);
    };
    const auto pointLine = [&](int team) {
        return row(team) + QStringLiteral(" M %1 point  ").arg(points[team]) + tricks(team) +
               QStringLiteral(" tricks");
    };
    const auto plainLine = [&](int team) {
        return row(team) + QStringLiteral("   %1 points ").arg(points[team]) + tricks(team) +
               QStringLiteral(" tricks");
    };

    const Result result = classify(*making, *p1, *p2);
    QString status, tan, blue;
    int tallyTeam = 0, tallyColumn = 0;
    switch (result) {
    case Result::None:
        return;
    case Result::TanEuchred:
        status = QStringLiteral("The Tan Team Got Euchred!");
        tan = makerLine(1, " tricks Euchred!");
        blue = plainLine(2);
        tallyTeam = 1;
        tallyColumn = TallyGrid::kEuchres;
        break;
    case Result::BlueEuchred:
        status = QStringLiteral("The Blue Team Got Euchred!");
        tan = plainLine(1);
        blue = makerLine(2, " tricks! Euchred!");
        tallyTeam = 2;
        tallyColumn = TallyGrid::kEuchres;
        break;
    case Result::TanMarched:
        status = QStringLiteral("The Tan Team Marched!");
        tan = makerLine(1, " tricks Marched!");
        blue = plainLine(2);
        tallyTeam = 1;
        tallyColumn = TallyGrid::kMarches;
        break;
    case Result::BlueMarched:
        status = QStringLiteral("The Blue Team Marched!");
        tan = plainLine(1);
        blue = makerLine(2, " tricks Marched!");
        tallyTeam = 2;
        tallyColumn = TallyGrid::kMarches;
        break;
    case Result::TanScored:
        status = earned("Tan", *p1);
        tan = pointLine(1);
        blue = plainLine(2);
        break;
    case Result::BlueScored:
        status = earned("Blue", *p2);
        tan = plainLine(1);
        blue = pointLine(2);
        break;
    }
    t.m_turns->setStatus(status);
    t.m_shown.announce(status +
                       QStringLiteral(" Score: Tan team %1, Blue team %2.").arg(*s1).arg(*s2));
    if (auto* card = qobject_cast<Tscorecard*>(t.m_windows.scorecard.data())) {
        card->addlinetomemo(tan, 1, kTanLogColour);
        card->addlinetomemo(blue, 2, kBlueLogColour);
    }
    const QString sound = scoreSound(*making, *p1, *p2, t.m_shown.myslot);
    if (!sound.isEmpty()) t.playsounds(sound);
    if (tallyTeam != 0 && teamOf(t.m_shown.myslot) == tallyTeam && t.addtomineincrease)
        t.addtomineincrease(tallyColumn);
}

// "Start Game" during a game would throw the game away: the player says so
// first, and anything but a click on "Start New Game" keeps the game.
void Tchat::Scores::askBeforeRestart() {
    t.choose(kRestartQuestion, kStartNewGame, kKeepPlaying, [this](bool restart) {
        if (restart && t.m_login.loggedin) t.showWindow(t.m_windows.gamestart);
    });
}

void Tchat::Scores::thewinner(QByteArrayView args) {
    const int team = FieldReader(args).number(0, 99).value_or(0);
    t.m_gameOn = false;
    t.m_shown.trickWinner = 0;
    if (team == 1 || team == 2)
        t.recordGame(team);
    else
        t.m_tracker->drop();
    if (team == 1 || team == 2) {
        t.m_shown.winners = team;
        t.notice(team == 1 ? kTanWon : kBlueWon);
        const QString line = team == 1 ? QStringLiteral("The Tan Team Won!!")
                                       : QStringLiteral("The Blue Team Won!!");
        t.m_shown.announce(line);
        if (auto* card = qobject_cast<Tscorecard*>(t.m_windows.scorecard.data())) {
            card->addlinetomemo(line, 1, teamColour(team));
            card->addlinetomemo(line, 2, teamColour(team));
        }
        // The tally: a win with the partner, or a loss to the two winners.
        const int own = t.m_shown.myslot;
        if (isSeat(own) && t.addgame) {
            const int first = team == 1 ? 1 : 2;
            if (teamOf(own) == team)
                t.addgame(Ttallylist::kAddToMine, t.m_shown.seatName(partnerOf(own)));
            else
                t.addgame(t.m_shown.seatName(first), t.m_shown.seatName(first + 2));
        }
    }
    t.playsounds(QLatin1String(sound::winner));
    if (t.m_login.ishost) t.m_shown.startOffered = true;
}

} // namespace euchre
