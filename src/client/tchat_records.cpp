// The table window's game records: saving the current or last game where
// the player says, and opening any record in a replay window.
#include "client/gamekeeper.h"
#include "client/tchat.h"
#include "client/thandreview.h"
#include "client/treplay.h"
#include "records/egn.h"
#include "storage/savefile.h"

#include <QDir>

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

} // namespace euchre
