// GameKeeper: the table window's record of the games it sees, in the game
// records' notation. It reads the host messages the window has handled —
// the own cards, the turned card, the bids and every card played, nothing
// the window does not see — and saves the game into the records folder
// after every deal, so that a crash of the window loses at most the deal
// in progress.
#pragma once

#include "client/handreview.h"
#include "records/recorder.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

namespace euchre {

struct TableRecord;

class GameKeeper {
public:
    // A host message the table has handled, with the table as it now shows.
    void observe(QByteArrayView word, QByteArrayView args, const TableRecord& shown);

    // The game being played, or the last one; empty before the first.
    bool hasRecord() const { return !m_recorder.record().deals.empty(); }
    int finishedDeals() const { return m_recorder.finishedDeals(); }
    const records::GameRecord& record() const { return m_recorder.record(); }

    // Where the games are kept; the records folder beside the settings unless set.
    void setFolder(const QString& folder) { m_folder = folder; }
    QString folder() const;
    // The file of the game being kept, in the folder; empty before the first game.
    const QString& fileName() const { return m_fileName; }
    // The game's table as this window can know it now: the cards it has not
    // seen are missing, so only the own seat's view of it is meaningful.
    // Nothing when no game is kept or the record does not replay.
    std::optional<rules::Table> tableNow() const;

    // Puts a hand's review marks into the record as remarks, and saves it.
    void annotate(int deal, const std::vector<ReviewedDecision>& decisions);
    // Told when a save fails, with the reason (once per game).
    std::function<void(const QString& why)> saveFailed;

private:
    void save();

    records::Recorder m_recorder;
    QString m_folder;
    QString m_fileName;
    int m_saved = 0; // deals finished when last saved
    // The recorder's count of changes when the file last took the record;
    // a save with nothing new would write the same file again.
    std::optional<quint64> m_savedChanges;
    bool m_failReported = false;
    // The deal in play: whether its going-alone question and the dealer's
    // exchange, once asked, have been settled.
    bool m_aloneAnswered = true;
    bool m_discardMade = true;
};

} // namespace euchre
