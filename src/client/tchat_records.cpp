// The table window's game records: saving the current or last game where
// the player says, and opening any record in a replay window.
#include "client/gamekeeper.h"
#include "client/tchat.h"
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

} // namespace euchre
