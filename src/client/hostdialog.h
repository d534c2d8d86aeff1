// HostDialog: "File > Host...": the player's name, the port and an optional
// table password; once the table is open, where others can join it and an
// invitation to copy.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace euchre {

// What the Host dialog asks the table window to do.
struct HostRequest {
    QString name;
    quint16 port = 0;
    QString password; // empty: everyone may join
};

class HostDialog : public QDialog {
    Q_OBJECT
public:
    explicit HostDialog(QWidget* parent = nullptr);

    // Opens the form with the name given and the port; the password starts
    // empty, and nothing of a last failure stays.
    void openForm(const QString& name, quint16 port);
    // Says why hosting failed; the form stays with what was typed.
    void showFailure(const QString& text);
    // The page for the table now open: where others join, and Copy.
    void showInvitation(quint16 port, bool isPrivate);

    // Hosts with the form's values. `done` says whether the table is open
    // and, when it is not, why (empty when the player chose not to leave the
    // game in progress). Set by the table window, which also shows the
    // invitation page.
    using HostDone = std::function<void(bool hosted, const QString& failure)>;
    std::function<void(const HostRequest& request, HostDone done)> host;

    // Every address of this machine others can reach it at (no loopback, no
    // link-local IPv6), private IPv4 first.
    static QStringList joinAddresses();
    // What Copy puts on the clipboard for a table at host:port.
    static QString invitationText(const QString& host, quint16 port, bool isPrivate);

    QLineEdit* nameEdit() const { return m_name; }
    QSpinBox* portBox() const { return m_port; }
    QLineEdit* passwordEdit() const { return m_password; }
    QPushButton* hostButton() const { return m_host; }
    QLabel* failureLabel() const { return m_failure; }
    QListWidget* addressList() const { return m_addresses; }
    QPushButton* copyButton() const { return m_copy; }
    bool showsInvitation() const;

private:
    void hostClicked();
    void copyClicked();

    QStackedWidget* m_pages = nullptr;
    QLineEdit* m_name = nullptr;
    QSpinBox* m_port = nullptr;
    QLineEdit* m_password = nullptr;
    QLabel* m_failure = nullptr;
    QPushButton* m_host = nullptr;
    QLabel* m_openLine = nullptr;
    QListWidget* m_addresses = nullptr;
    QLabel* m_privateLine = nullptr;
    QPushButton* m_copy = nullptr;
    QLabel* m_copied = nullptr;
    quint16 m_hostedPort = 0;
    bool m_private = false;
};

// A player's name as the dialogs take it: trimmed, at most 20 characters, and
// none of the characters the host removes. Empty when that leaves nothing;
// *why then says what to fix.
QString cleanPlayerName(const QString& typed, QString* why);

} // namespace euchre
