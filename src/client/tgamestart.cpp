// The game-start window: "Play to Score" from 5 to 10 and the start button,
// which is the window's default button (Enter starts, Escape closes).
#include "client/tgamestart.h"

#include "client/artitem.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "client/windowbackground.h"
#include "net/commands.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace euchre {

namespace {

// The score is chosen with the arrows only; the text cannot be typed over.
class ScoreBox : public QSpinBox {
public:
    explicit ScoreBox(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

} // namespace

Tgamestart::Tgamestart(Tchat& table) : QDialog(nullptr, Qt::Tool), m_table(table) {
    setObjectName(QStringLiteral("gamestart"));
    setWindowTitle(QStringLiteral("Euchre - Game Start"));
    setFixedSize(257, 122);
    setFont(table.font());
    useTableBackground(this);

    auto* options = new QGroupBox(QStringLiteral("Game Options"), this);
    options->setGeometry(8, 4, 241, 70);
    auto* caption = new QLabel(QStringLiteral("Play to Score:"), options);
    caption->setGeometry(22, 30, 100, 22);
    QFont bold = caption->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    caption->setFont(bold);
    m_playto = new ScoreBox(options);
    m_playto->setObjectName(QStringLiteral("edit_playtoscore"));
    m_playto->setGeometry(130, 28, 60, 26);
    m_playto->setRange(kLowestScore, kHighestScore);
    m_playto->setWrapping(false);
    m_playto->setValue(kHighestScore);
    m_playto->setFont(bold);

    auto* start = new PictureButton(QStringLiteral("Start Game"), this);
    start->setObjectName(QStringLiteral("button_start"));
    start->move((width() - start->width()) / 2, 84);
    start->setDefault(true);
    start->setAutoDefault(true);
    connect(start, &QPushButton::clicked, this, &Tgamestart::button_startClick);
    m_playto->setFocus();
}

void Tgamestart::button_startClick() {
    m_table.sendToHost(MessageBuilder(cmd::startgame)
                           .field(m_table.login().playername.toUtf8())
                           .field(m_playto->text().toUtf8())
                           .done(true));
    hide();
}

void Tgamestart::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the table window.
    move(m_table.frameGeometry().center() - rect().center());
}

} // namespace euchre
