// The table window's game records: saving the current or last game where
// the player says, and opening any record in a replay window.
#include "client/gamekeeper.h"
#include "client/handreview.h"
#include "client/tchat.h"
#include "client/thandreview.h"
#include "client/treplay.h"
#include "model/bubble.h"
#include "players/advice.h"
#include "records/egn.h"
#include "rules/seatview.h"
#include "storage/savefile.h"

#include <QDir>

#include <cmath>

namespace euchre {

void Tchat::saveGameRecordClick() {
    if (!m_keeper->hasRecord()) {
        message(QStringLiteral("No game has been played at this table yet."), {});
        return;
    }
    const QString path = askSaveRecordPath
                             ? askSaveRecordPath(QDir::home().filePath(m_keeper->fileName()))
                             : QString();
    if (path.isEmpty()) return;
    QString why;
    if (!saveWhole(path, records::writeRecord(m_keeper->record()), &why))
        message(QStringLiteral("The game record was not saved: ") + why, {});
}

void Tchat::openGameRecordClick() {
    const QString path = askOpenRecordPath ? askOpenRecordPath() : QString();
    if (path.isEmpty()) return;
    auto* replay = new Treplay(this);
    replay->setAttribute(Qt::WA_DeleteOnClose);
    QString why;
    if (!replay->openFile(path, &why)) {
        delete replay;
        message(QStringLiteral("This is not a game record this program can replay: ") + why, {});
        return;
    }
    replay->show();
    replay->raise();
    replay->activateWindow();
}

void Tchat::handReviewClick() {
    if (!m_keeper->hasRecord() || !isSeat(m_shown.myslot)) {
        message(QStringLiteral("There is no hand of yours to review yet."), {});
        return;
    }
    auto* review = qobject_cast<ThandReview*>(m_handReview.data());
    if (!review) {
        review = new ThandReview(this);
        m_handReview = review;
        // The marks of a reviewed hand go into the game's record as remarks.
        connect(review, &ThandReview::reviewed, this,
                [this](int deal, const std::vector<ReviewedDecision>& decisions) {
                    m_keeper->annotate(deal, decisions);
                });
    }
    review->showGame(m_keeper->record(), m_shown.myslot);
    review->show();
    review->raise();
    review->activateWindow();
}

namespace {

// What the hint tells to do: "order it up", "name Hearts", "play the A\u2660".
QString hintAction(rules::Question q, int answer, const rules::Hand& hand) {
    switch (q) {
    case rules::Question::OrderUp:
        return answer == BubbleAccept ? QStringLiteral("order it up") : QStringLiteral("pass");
    case rules::Question::Naming:
        return namesSuit(answer) ? QStringLiteral("name ") + QLatin1String(suitName(answer - 2))
                                 : QStringLiteral("pass");
    case rules::Question::GoingAlone:
        return answer == BubbleAlone ? QStringLiteral("go alone")
                                     : QStringLiteral("play with your partner");
    case rules::Question::Discard:
        return QStringLiteral("discard the ") + cardName(hand[answer]);
    case rules::Question::Card:
        return QStringLiteral("play the ") + cardName(hand[answer]);
    default:
        return {};
    }
}

} // namespace

void Tchat::hintClick() {
    const auto say = [this](const QString& text) {
        m_shown.status = text;
        redraw();
    };
    const int me = m_shown.myslot;
    for (int seat = 1; seat <= kSeats; ++seat) {
        if (seat == me) continue;
        const SeatRecord& s = m_shown.seats[static_cast<size_t>(seat)];
        if (s.name != m_shown.defaultnames[static_cast<size_t>(seat)] && !s.watching) {
            say(QStringLiteral("Hints are offered only against computer players."));
            return;
        }
    }
    const std::optional<rules::Table> table = m_keeper->tableNow();
    if (!isSeat(me) || !table || table->asked().seat != me) {
        say(QStringLiteral("A hint is offered when it is your turn."));
        return;
    }
    // The expert's search runs here, within its usual limits, on the own seat's view alone.
    const players::Advice advice = players::advise(rules::seatView(*table, me));
    const players::Option* best = advice.option(advice.choice);
    if (!best) return;
    const players::Option* other = nullptr;
    for (const players::Option& o : advice.options)
        if (o.answer != advice.choice && (!other || o.points > other->points)) other = &o;
    const rules::Hand& hand = table->hand[me];
    const QString action = hintAction(advice.question, advice.choice, hand);
    const QString points = QString::asprintf("%+.1f", best->points);
    // The status line is short: a card's hint gives how often the own side
    // takes the trick with it, in tenths, in place of the next best card.
    const double share = players::trickShare(rules::seatView(*table, me), advice.choice);
    QString text;
    if (share >= 0) {
        const long tenths = std::lround(share * 10);
        const QString trick = tenths == 10 ? QStringLiteral("takes the trick")
                              : tenths == 0
                                  ? QStringLiteral("the trick is theirs")
                                  : QStringLiteral("takes the trick %1 in 10").arg(tenths);
        text = QStringLiteral("Hint: %1 - %2, %3 points").arg(action, trick, points);
    } else {
        text = QStringLiteral("Hint: %1 - expected %2 points").arg(action, points);
        if (other)
            text += QStringLiteral(" (%1: %2)")
                        .arg(advice.question == rules::Question::Discard
                                 ? QStringLiteral("next best")
                                 : hintAction(advice.question, other->answer, hand))
                        .arg(QString::asprintf("%+.1f", other->points));
    }
    m_shown.hintPosition = m_shown.hintBubble = 0;
    if (rules::Asked{advice.question, me}.wantsCard()) {
        m_shown.hintPosition = advice.choice;
    } else {
        for (int n = 1; n <= 4; ++n)
            if (m_shown.bubbles[static_cast<size_t>(n)].code == advice.choice)
                m_shown.hintBubble = n;
    }
    say(text);
}

} // namespace euchre
