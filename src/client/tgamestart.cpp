// The game-start window: "Play to Score" from 5 to 10, the house rules, and
// the start button, which is the window's default button (Enter starts,
// Escape closes). The house rules chosen are remembered for the next game.
#include "client/tgamestart.h"

#include "client/artitem.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "client/windowbackground.h"
#include "net/commands.h"

#include <QCheckBox>
#include <QComboBox>
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

// A lone march's scores in the order the list offers them.
constexpr int kLoneMarches[] = {3, 4, 5};

} // namespace

Tgamestart::Tgamestart(Tchat& table) : QDialog(nullptr, Qt::Tool), m_table(table) {
    setObjectName(QStringLiteral("gamestart"));
    setWindowTitle(QStringLiteral("Euchre - Game Start"));
    setFixedSize(257, 250);
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

    auto* house = new QGroupBox(QStringLiteral("House rules"), this);
    house->setObjectName(QStringLiteral("group_houserules"));
    house->setGeometry(8, 78, 241, 128);
    m_stick = new QCheckBox(QStringLiteral("Stick the dealer"), house);
    m_stick->setObjectName(QStringLiteral("check_stickdealer"));
    m_stick->setGeometry(12, 20, 220, 20);
    m_stick->setToolTip(
        QStringLiteral("When everybody passes in the naming round up to the dealer, "
                       "the dealer must name a suit."));
    m_canadian = new QCheckBox(QStringLiteral("Canadian loner"), house);
    m_canadian->setObjectName(QStringLiteral("check_canadian"));
    m_canadian->setGeometry(12, 42, 220, 20);
    m_canadian->setToolTip(QStringLiteral(
        "The dealer's partner who orders the turned card up plays alone, without being asked."));
    auto* leads = new QLabel(QStringLiteral("Leads against a loner:"), house);
    leads->setGeometry(12, 68, 130, 22);
    m_lonerLead = new QComboBox(house);
    m_lonerLead->setObjectName(QStringLiteral("combo_lonerlead"));
    m_lonerLead->setGeometry(142, 67, 90, 24);
    m_lonerLead->addItems({QStringLiteral("Dealer's left"), QStringLiteral("Loner's left")});
    m_lonerLead->setToolTip(
        QStringLiteral("Dealer's left: the player left of the dealer leads the first trick, or the "
                       "player left of the loner after an order-up. Loner's left: the player left "
                       "of the loner always leads."));
    leads->setBuddy(m_lonerLead);
    auto* march = new QLabel(QStringLiteral("A lone march scores:"), house);
    march->setGeometry(12, 96, 130, 22);
    m_lonerMarch = new QComboBox(house);
    m_lonerMarch->setObjectName(QStringLiteral("combo_lonermarch"));
    m_lonerMarch->setGeometry(142, 95, 90, 24);
    for (const int points : kLoneMarches) m_lonerMarch->addItem(QString::number(points), points);
    m_lonerMarch->setToolTip(QStringLiteral("The points of a loner who takes all five tricks."));
    march->setBuddy(m_lonerMarch);

    auto* start = new PictureButton(QStringLiteral("Start Game"), this);
    start->setObjectName(QStringLiteral("button_start"));
    start->move((width() - start->width()) / 2, 212);
    start->setDefault(true);
    start->setAutoDefault(true);
    connect(start, &QPushButton::clicked, this, &Tgamestart::button_startClick);
    m_playto->setFocus();
}

rules::Ruleset Tgamestart::houseRules() const {
    rules::Ruleset r;
    r.stickTheDealer = m_stick->isChecked();
    r.canadian = m_canadian->isChecked();
    r.lonerLead = m_lonerLead->currentIndex() == 1 ? rules::LonerLead::LeftOfLoner
                                                   : rules::LonerLead::LeftOfDealer;
    r.lonerMarchScore = m_lonerMarch->currentData().toInt();
    return r;
}

void Tgamestart::button_startClick() {
    const QByteArray ruleset = QByteArray::fromStdString(rules::rulesetText(houseRules()));
    MessageBuilder start(cmd::startgame);
    start.field(m_table.login().playername.toUtf8()).field(m_playto->text().toUtf8());
    if (!ruleset.isEmpty()) start.field(ruleset);
    m_table.sendToHost(start.done(true));
    m_table.setHouseRules(QString::fromLatin1(ruleset));
    hide();
}

void Tgamestart::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The choices of the last game started here; a stored text the game does
    // not know leaves the plain rules.
    const QByteArray stored = m_table.houseRules().toUtf8();
    const rules::Ruleset r =
        rules::parseRuleset(std::string_view(stored.constData(), std::size_t(stored.size())))
            .value_or(rules::Ruleset{});
    m_stick->setChecked(r.stickTheDealer);
    m_canadian->setChecked(r.canadian);
    m_lonerLead->setCurrentIndex(r.lonerLead == rules::LonerLead::LeftOfLoner ? 1 : 0);
    m_lonerMarch->setCurrentIndex(m_lonerMarch->findData(r.lonerMarchScore));
    // Centred on the table window.
    move(m_table.frameGeometry().center() - rect().center());
}

} // namespace euchre
