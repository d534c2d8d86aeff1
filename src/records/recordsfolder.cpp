// Saving records into their folder, and keeping the folder to its size.
#include "records/recordsfolder.h"

#include "records/egn.h"
#include "settings/settingslocation.h"
#include "storage/savefile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace euchre::records {

QString recordsFolder() {
    const QString folder = QDir(dataFolder()).filePath(QStringLiteral("records"));
    QDir().mkpath(folder);
    return folder;
}

QString recordFileName(const QDateTime& started, const QString& gameId) {
    QString id = gameId;
    id.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")));
    return QStringLiteral("game-%1-%2%3")
        .arg(started.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss")), id.left(16),
             QLatin1String(kRecordSuffix));
}

bool saveRecord(const GameRecord& record, const QString& folder, const QString& fileName,
                QString* error, int keep) {
    QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    const QString path = dir.filePath(fileName);
    // A game saved again after a deal only replaces its own file; the folder
    // grows, and needs trimming, only when a new game's file is added.
    const bool added = !QFileInfo::exists(path);
    if (!saveWhole(path, writeRecord(record), error)) return false;
    if (!added) return true;
    const QStringList names = dir.entryList(
        {QStringLiteral("game-*") + QLatin1String(kRecordSuffix)}, QDir::Files, QDir::Name);
    for (qsizetype i = 0; i + keep < names.size(); ++i)
        if (names[i] != fileName) dir.remove(names[i]);
    return true;
}

} // namespace euchre::records
