// The companion lobby's entries in the settings file: where its installer is
// fetched from, the checksum it must have, where the installed lobby lives,
// and whether the download window opens at a solo start.
#pragma once

#include <QString>
#include <QUrl>

namespace euchre {

// Our own keys, in the settings file's "Euchre" section.
inline constexpr char kLobbyDownloadUrlKey[] = "LobbyDownloadUrl";
inline constexpr char kLobbySha256Key[] = "LobbySha256";
inline constexpr char kLobbyPathKey[] = "LobbyPath";
inline constexpr char kHideLobbyDownloadKey[] = "HideLobbyDownload";

struct LobbySettings {
    QUrl downloadUrl;
    // The installer's SHA-256 as 64 lower-case hexadecimal digits; empty when
    // the file names none.
    QString sha256;
    // The file names a checksum that is not 64 hexadecimal digits: nothing can
    // be checked against it, so nothing is downloaded.
    bool sha256Unreadable = false;
    // The installed lobby program; empty when there is none to be found.
    QString lobbyPath;
    bool hideDownload = false;
};

// Where the installer is fetched from unless the settings file says otherwise.
QUrl defaultLobbyDownloadUrl();
// Where the lobby program is installed unless the settings file says
// otherwise: its fixed folder on Windows, the search path elsewhere.
QString defaultLobbyPath();

// Reads our keys from the settings file at `iniPath`; missing keys, and an
// address that is not an http or https address, give the defaults.
LobbySettings readLobbySettings(const QString& iniPath);

// Stores "Do not show this again" (the key's other lines and sections stay
// as they are). False when the file could not be written; *error says why.
bool writeHideLobbyDownload(const QString& iniPath, bool hide, QString* error = nullptr);

} // namespace euchre
