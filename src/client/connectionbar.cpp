// The lost-connection panel in the middle of the card table.
#include "client/connectionbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace euchre {

namespace {
// In the middle of the cloth, clear of the seats' names, the dealer's
// button, the score card and the chat column.
constexpr QRect kPlace(47, 240, 400, 118);
} // namespace

ConnectionBar::ConnectionBar(QWidget* board) : QFrame(board) {
    setObjectName(QStringLiteral("panel_connection"));
    setGeometry(kPlace);
    setStyleSheet(QStringLiteral(
        "#panel_connection { background: rgba(255, 252, 232, 240); border: 2px solid #655332;"
        " border-radius: 8px; }"
        "QLabel { color: black; background: transparent; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    m_title = new QLabel(QStringLiteral("Not connected"), this);
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(15);
    bold.setBold(true);
    m_title->setFont(bold);
    layout->addWidget(m_title);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("label_connection"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    QFont plain(QStringLiteral("Arial"));
    plain.setPixelSize(12);
    m_text->setFont(plain);
    layout->addWidget(m_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_reconnect = new QPushButton(QStringLiteral("&Reconnect"), this);
    m_reconnect->setObjectName(QStringLiteral("button_reconnect"));
    m_join = new QPushButton(QStringLiteral("&Join..."), this);
    m_join->setObjectName(QStringLiteral("button_joinother"));
    buttons->addWidget(m_reconnect);
    buttons->addWidget(m_join);
    layout->addLayout(buttons);
    connect(m_reconnect, &QPushButton::clicked, this, &ConnectionBar::reconnectClicked);
    connect(m_join, &QPushButton::clicked, this, &ConnectionBar::joinClicked);
    hide();
}

void ConnectionBar::showLost(const QString& text) {
    m_title->setText(QStringLiteral("Not connected"));
    m_text->setText(text);
    m_reconnect->setEnabled(true);
    m_join->setEnabled(true);
    show();
    raise();
}

void ConnectionBar::showBusy(const QString& text) {
    m_title->setText(QStringLiteral("Reconnecting"));
    m_text->setText(text);
    m_reconnect->setEnabled(false);
    show();
    raise();
}

} // namespace euchre
