// The Host and Join dialogs' entries in the settings file.
#include "client/netsettings.h"

#include "client/startrequest.h"
#include "settings/inifile.h"
#include "settings/settingslocation.h"

namespace euchre {

namespace {

const QString kSection = QLatin1String(settingsSection);

QString recentKey(int n) {
    return QLatin1String(kRecentTableKey) + QString::number(n);
}

QStringList readRecent(const IniFile& file) {
    QStringList tables;
    for (int n = 1; n <= kRecentTables; ++n) {
        const QString entry = file.readString(kSection, recentKey(n));
        if (parseTableAddress(entry) && !tables.contains(entry)) tables.append(entry);
    }
    return tables;
}

} // namespace

NetSettings readNetSettings(const QString& iniPath) {
    IniFile file(iniPath);
    file.load(); // an unreadable file gives the defaults, like a missing one
    NetSettings s;
    s.playerName = file.readString(kSection, QLatin1String(kPlayerNameKey));
    s.recentTables = readRecent(file);
    return s;
}

bool writePlayerName(const QString& iniPath, const QString& name, QString* error) {
    IniFile file(iniPath);
    file.load(); // a file that cannot be read is never replaced: save() refuses
    file.writeString(kSection, QLatin1String(kPlayerNameKey), name);
    return file.save(error);
}

bool rememberTable(const QString& iniPath, const QString& entry, QString* error) {
    IniFile file(iniPath);
    file.load();
    QStringList tables = readRecent(file);
    tables.removeAll(entry);
    tables.prepend(entry);
    for (int n = 1; n <= kRecentTables; ++n)
        file.writeString(kSection, recentKey(n), tables.value(n - 1));
    return file.save(error);
}

} // namespace euchre
