// Where the program keeps the files it writes (settings, tally).
#pragma once

#include <QString>

namespace euchre {

// The one place that decides the folder: $EUCHRE_HOME when set; otherwise the
// program's own folder when it may be written to and is not an installed
// copy's; otherwise the per-user data folder. The folder is created when
// missing.
QString dataFolder();

// True when the program folder belongs to an installed copy: a folder under
// /usr, or a bin folder whose prefix holds the program's desktop entry. Such
// a folder never takes the program's files, even for a user who may write
// there.
bool isInstalledFolder(const QString& programFolder);

// The settings file inside dataFolder().
QString settingsFilePath();

inline constexpr char settingsFileName[] = "bromlobby.ini";
inline constexpr char settingsSection[] = "Euchre";

} // namespace euchre
