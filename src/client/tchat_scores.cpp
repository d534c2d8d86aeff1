// The score board's side of the game: the play-to score and scores caught up
// on joining, each hand's result, and the end of a game.
#include "client/artitem.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "model/card.h"
#include "net/commands.h"

#include <QLabel>
#include <QPushButton>

namespace euchre {

namespace {

const QString kPlayToScore = QStringLiteral("Play to Score: ");
const QString kTanWon = QStringLiteral("0+The Tan Team has Won the Game!!");
const QString kBlueWon = QStringLiteral("0+The Blue Team has Won the Game!!");

} // namespace

void Tchat::loadstats(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> playto = reader.number(0, 999);
    if (!playto) return;
    board()->label("label_playtoscore")->setText(kPlayToScore + QString::number(*playto));
    for (const char* name : {"label_score1", "label_current1", "label_score2", "label_current2"}) {
        const std::optional<int> value = reader.number(-999, 999);
        if (!value) return;
        board()->label(name)->setText(QString::number(*value));
    }
}

void Tchat::scores(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> making = reader.number(0, 2);
    const std::optional<int> s1 = reader.number(-999, 999);
    const std::optional<int> p1 = reader.number(0, 99);
    const std::optional<int> s2 = reader.number(-999, 999);
    const std::optional<int> p2 = reader.number(0, 99);
    if (!making || !s1 || !p1 || !s2 || !p2) return;
    board()->label("label_score1")->setText(QString::number(*s1));
    board()->label("label_score2")->setText(QString::number(*s2));
    if (*p1 != 0) board()->label("label_bonus1")->setText(QStringLiteral("+%1").arg(*p1));
    if (*p2 != 0) board()->label("label_bonus2")->setText(QStringLiteral("+%1").arg(*p2));
    QString status;
    if (*making == 1 && *p1 == 0)
        status = QStringLiteral("The Tan Team Got Euchred!");
    else if (*making == 2 && *p2 == 0)
        status = QStringLiteral("The Blue Team Got Euchred!");
    else if (*p1 == 2 || *p1 == 4)
        status = QStringLiteral("The Tan Team Marched!");
    else if (*p2 == 2 || *p2 == 4)
        status = QStringLiteral("The Blue Team Marched!");
    else if (*p1 > 0)
        status = *p1 == 1 ? QStringLiteral("The Tan Team earned 1 point!")
                          : QStringLiteral("The Tan Team earned %1 points!").arg(*p1);
    else if (*p2 > 0)
        status = *p2 == 1 ? QStringLiteral("The Blue Team earned 1 point!")
                          : QStringLiteral("The Blue Team earned %1 points!").arg(*p2);
    else
        return;
    setStatus(status);
    const QString sound = scoreSound(*making, *p1, *p2, myslot);
    if (!sound.isEmpty()) playsounds(sound);
}

void Tchat::thewinner(QByteArrayView args) {
    const int team = FieldReader(args).number(0, 99).value_or(0);
    board()->trickWinner()->hide();
    if (team == 1 || team == 2) {
        for (int s = 1; s <= kSeats; ++s) board()->seat(s)->banner->setVisible(teamOf(s) == team);
        notice(team == 1 ? kTanWon : kBlueWon);
    }
    playsounds(QLatin1String(sound::winner));
    if (ishost) board()->startButton()->show();
}

} // namespace euchre
