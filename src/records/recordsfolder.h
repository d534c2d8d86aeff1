// The records folder beside the settings: one file per game, saved whole
// after every deal, the oldest removed beyond the last 500 games.
#pragma once

#include "records/gamerecord.h"

#include <QDateTime>
#include <QString>

namespace euchre::records {

inline constexpr int kKeptRecords = 500;
inline constexpr char kRecordSuffix[] = ".egn";

// "<data folder>/records"; made when missing.
QString recordsFolder();

// The file name of a game started at a moment: names sort as the games began.
QString recordFileName(const QDateTime& started, const QString& gameId);

// Saves the record whole under the name in the folder; when that adds a
// file, removes the oldest records beyond `keep`. False with the reason in *error when the
// record could not be saved (the file there before stays as it was).
bool saveRecord(const GameRecord& record, const QString& folder, const QString& fileName,
                QString* error = nullptr, int keep = kKeptRecords);

} // namespace euchre::records
