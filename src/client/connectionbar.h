// ConnectionBar: the panel the table shows when the connection to the host
// is lost, with Reconnect and Join... at hand on the table itself.
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace euchre {

class ConnectionBar : public QFrame {
    Q_OBJECT
public:
    explicit ConnectionBar(QWidget* board);

    // The connection is gone: says so (and why, when known) and offers both ways on.
    void showLost(const QString& text);
    // A reconnect is under way: the buttons wait.
    void showBusy(const QString& text);

    QLabel* textLabel() const { return m_text; }
    QPushButton* reconnectButton() const { return m_reconnect; }
    QPushButton* joinButton() const { return m_join; }

signals:
    void reconnectClicked();
    void joinClicked();

private:
    QLabel* m_title = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_reconnect = nullptr;
    QPushButton* m_join = nullptr;
};

} // namespace euchre
