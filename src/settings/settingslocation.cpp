// The folder of the program's own files, decided in one place.
#include "settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace euchre {

QString dataFolder() {
    const QString home = qEnvironmentVariable("EUCHRE_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return QDir(home).absolutePath();
    }
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!programFolder.isEmpty() && QFileInfo(programFolder).isWritable()) return programFolder;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userFolder);
    return userFolder;
}

QString settingsFilePath() {
    return QDir(dataFolder()).filePath(QString::fromLatin1(settingsFileName));
}

} // namespace euchre
