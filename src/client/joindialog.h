// JoinDialog: "File > Join...": the player's name, the host's address and
// port (with the last tables joined), a password for a private table, and
// the live list "Tables on this network". A failure is said in the dialog,
// which keeps what was typed.
#pragma once

#include "client/joinattempt.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace euchre {

class TableFinder;

// How a try to join ended.
struct JoinOutcome {
    enum class Result { Joined, Declined, Failed };
    Result result = Result::Failed;
    JoinAttempt::Failure failure = JoinAttempt::Failure::Other;
    QString text;
};

class JoinDialog : public QDialog {
    Q_OBJECT
public:
    explicit JoinDialog(QWidget* parent = nullptr);
    ~JoinDialog() override;

    // Opens with these values; an address may carry its port ("HOST:PORT").
    // `recent` fills the address list, latest first.
    void openWith(const QString& name, const QString& address, quint16 port,
                  const QStringList& recent);
    // Says what went wrong; everything typed stays.
    void showFailure(const QString& text);

    // Joins; `done` tells how it ended. Set by the table window.
    using JoinDone = std::function<void(const JoinOutcome&)>;
    std::function<void(const JoinTarget& target, JoinDone done)> join;
    // The dialog was closed while a try was under way.
    std::function<void()> cancelJoin;

    QLineEdit* nameEdit() const { return m_name; }
    QComboBox* addressBox() const { return m_address; }
    QSpinBox* portBox() const { return m_port; }
    QLineEdit* passwordEdit() const { return m_password; }
    QTreeWidget* tableList() const { return m_tables; }
    QLabel* statusLabel() const { return m_status; }
    QPushButton* joinButton() const { return m_join; }
    TableFinder* finder() const { return m_finder; }
    bool isJoining() const { return m_joining; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

private:
    void joinClicked();
    void finished(const JoinOutcome& outcome);
    void showTables();
    void tableChosen();
    void recentChosen(int index);
    void setStatus(const QString& text, bool failure);

    QLineEdit* m_name = nullptr;
    QComboBox* m_address = nullptr;
    QSpinBox* m_port = nullptr;
    QLineEdit* m_password = nullptr;
    QTreeWidget* m_tables = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_join = nullptr;
    TableFinder* m_finder = nullptr;
    bool m_joining = false;
    // Bumped by every try and every close, so that the answer of a try that
    // was given up changes nothing.
    int m_try = 0;
};

} // namespace euchre
