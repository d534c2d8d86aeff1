// The companion lobby's entries in the settings file.
#include "client/lobbysettings.h"

#include "settings/inifile.h"
#include "settings/settingslocation.h"

#include <QRegularExpression>
#include <QStandardPaths>

namespace euchre {

namespace {

const QString kSection = QLatin1String(settingsSection);
const QString kTrue = QStringLiteral("true");
const QString kFalse = QStringLiteral("false");

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

QUrl defaultLobbyDownloadUrl() {
    return QUrl(QStringLiteral("http://www.brom77.com/download/Brom77LobbySetup.exe"));
}

QString defaultLobbyPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Program Files\\Brom77\\Brom77Lobby.exe");
#else
    return QStandardPaths::findExecutable(QStringLiteral("Brom77Lobby"));
#endif
}

LobbySettings readLobbySettings(const QString& iniPath) {
    IniFile file(iniPath);
    file.load(); // an unreadable file gives the defaults, like a missing one
    LobbySettings s;

    const QUrl url(file.readString(kSection, QLatin1String(kLobbyDownloadUrlKey)),
                   QUrl::StrictMode);
    s.downloadUrl = isWebAddress(url) ? url : defaultLobbyDownloadUrl();

    const QString sum = file.readString(kSection, QLatin1String(kLobbySha256Key)).toLower();
    static const QRegularExpression hex64(QStringLiteral("^[0-9a-f]{64}$"));
    if (hex64.match(sum).hasMatch())
        s.sha256 = sum;
    else
        s.sha256Unreadable = !sum.isEmpty();

    const QString path = file.readString(kSection, QLatin1String(kLobbyPathKey));
    s.lobbyPath = path.isEmpty() ? defaultLobbyPath() : path;

    s.hideDownload = file.readString(kSection, QLatin1String(kHideLobbyDownloadKey)) == kTrue;
    return s;
}

bool writeHideLobbyDownload(const QString& iniPath, bool hide, QString* error) {
    IniFile file(iniPath);
    file.load(); // a file that cannot be read is never replaced: save() refuses
    file.writeString(kSection, QLatin1String(kHideLobbyDownloadKey), hide ? kTrue : kFalse);
    return file.save(error);
}

} // namespace euchre
