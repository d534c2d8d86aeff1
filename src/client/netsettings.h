// What the Host and Join dialogs remember in the settings file: the player's
// name and the last tables joined.
#pragma once

#include <QString>
#include <QStringList>

namespace euchre {

// Our own keys, in the settings file's "Euchre" section.
inline constexpr char kPlayerNameKey[] = "PlayerName";
// RecentTable1 (the latest) to RecentTable8: "HOST:PORT", IPv6 in brackets.
inline constexpr char kRecentTableKey[] = "RecentTable";
inline constexpr int kRecentTables = 8;

struct NetSettings {
    QString playerName;
    QStringList recentTables; // latest first, at most kRecentTables
};

// Missing keys give an empty name and no tables; entries that do not read as
// an address are left out.
NetSettings readNetSettings(const QString& iniPath);

// Stores the name (the other lines and sections stay as they are). False when
// the file could not be written; *error says why.
bool writePlayerName(const QString& iniPath, const QString& name, QString* error = nullptr);

// Puts "HOST:PORT" first in the recent tables, dropping an older copy of it
// and whatever falls off the end.
bool rememberTable(const QString& iniPath, const QString& entry, QString* error = nullptr);

} // namespace euchre
