// Where the program keeps the files it writes (settings, tally).
#pragma once

#include <QString>

namespace euchre {

// The one place that decides the folder: $EUCHRE_HOME when set; otherwise the
// program's own folder when it may be written to; otherwise the per-user
// data folder. The folder is created when missing.
QString dataFolder();

// The settings file inside dataFolder().
QString settingsFilePath();

inline constexpr char settingsFileName[] = "bromlobby.ini";
inline constexpr char settingsSection[] = "Euchre";

} // namespace euchre
