// The folder of the program's own files, decided in one place.
#include "settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace euchre {

#ifndef EUCHRE_APP_ID
#error "the build names the desktop entry in EUCHRE_APP_ID"
#endif

bool isInstalledFolder(const QString& programFolder) {
    const QString folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    if (folder.startsWith(QLatin1String("/usr/"))) return true;
    const QString entry = QStringLiteral("../share/applications/" EUCHRE_APP_ID ".desktop");
    return QFileInfo::exists(QDir(folder).filePath(entry));
}

QString dataFolder() {
    const QString home = qEnvironmentVariable("EUCHRE_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return QDir(home).absolutePath();
    }
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!programFolder.isEmpty() && QFileInfo(programFolder).isWritable() &&
        !isInstalledFolder(programFolder))
        return programFolder;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userFolder);
    return userFolder;
}

QString settingsFilePath() {
    return QDir(dataFolder()).filePath(QString::fromLatin1(settingsFileName));
}

} // namespace euchre
