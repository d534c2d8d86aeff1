// Tdownload: the window that offers the companion lobby program: it fetches
// the lobby's installer into the user's download folder, and starts the
// installed lobby for games with other people.
#pragma once

#include "storage/savefile.h"

#include <QCryptographicHash>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QPushButton;

namespace euchre {

class Tdownload : public QWidget {
    Q_OBJECT
public:
    // The download state, also kept as the tag of `infolabel`.
    enum State { Idle = 0, Running = 1, Aborted = 2 };
    // An installer is a few megabytes; a server that sends far more is not
    // sending one.
    static constexpr qint64 kMaxInstallerBytes = 256LL * 1024 * 1024;
    // A transfer that stalls this long is given up.
    static constexpr int kStallTimeoutMs = 30000;

    // `settingsPath`: the settings file holding the lobby's keys.
    explicit Tdownload(QString settingsPath, QWidget* parent = nullptr);
    ~Tdownload() override;

    // Where the installer is saved; by default the user's download folder.
    void setDownloadFolder(const QString& folder) { m_folder = folder; }
    const QString& downloadFolder() const { return m_folder; }

    // Whether the window opens when a solo game starts ("Do not show this
    // again" not ticked).
    bool offeredAtStart() const;

    // getbuttonClick: fetches the installer.
    void getbuttonClick();
    // abortbuttonClick ("Stop Download").
    void abortbuttonClick();
    // Button1Click ("Play Solo Game"): the solo game already runs.
    void Button1Click() { close(); }
    // Button2Click ("Play with Others"): starts the installed lobby and
    // leaves the game to it.
    void Button2Click();

    State state() const;
    bool isDownloading() const { return m_reply != nullptr; }
    // The installer last saved, empty when none was.
    const QString& savedFile() const { return m_saved; }

    // Platform seams, replaceable so that tests and screenshots neither open
    // folders, start programs nor wait for a person at a message box.
    std::function<void(const QString& folder)> openFolder;
    std::function<bool(const QString& program)> startProgram;
    std::function<void(const QString& text)> message;

signals:
    // The game should end as "Exit" ends it: the lobby takes over.
    void exitRequested();
    // A download ended: saved, refused, failed or stopped.
    void downloadEnded();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setState(State state);
    void headersArrived();
    void dataArrived();
    void transferEnded();
    void failWhileRunning(const QString& reason);
    void endDownload();

    QString m_settingsPath;
    QString m_folder;
    bool m_placed = false;

    QNetworkAccessManager* m_manager = nullptr;
    QNetworkReply* m_reply = nullptr;
    std::unique_ptr<SaveFile> m_file;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    QString m_expectedSha256;
    QString m_fileName;
    QString m_failure;
    qint64 m_received = 0;
    bool m_bodyBegun = false;
    QString m_saved;

    QPushButton* m_get = nullptr;
    QPushButton* m_abort = nullptr;
    State m_state = Idle;
    QLabel* m_info = nullptr;  // infolabel: progress and result
    QLabel* m_info2 = nullptr; // infolabel2: the installer's file name (hidden)
    QLabel* m_info3 = nullptr; // infolabel3: what is being done
    QProgressBar* m_progress = nullptr;
    QCheckBox* m_dontShow = nullptr;
};

} // namespace euchre
