// The last-trick window: the corners of the four cards (the top-left 52 x 72
// of each picture, where rank and suit are printed), names, lead and trump.
#include "client/tlasttrick.h"

#include "client/artitem.h"
#include "client/artwork.h"
#include "client/tableboard.h"
#include "client/tablerecord.h"
#include "client/windowbackground.h"

#include <QEvent>
#include <QLabel>

namespace euchre {

namespace {

constexpr QSize kCorner(52, 72);

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect where, bool bold) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(where);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

ArtItem::Art cardCorner(int entry) {
    return [entry](qreal dpr) { return art::card(entry, dpr); };
}

} // namespace

Tlasttrick::Tlasttrick(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("lasttrick"));
    setWindowTitle(QStringLiteral("Last Trick"));
    setFixedSize(434, 120);
    useTableBackground(this);
    for (int seat = 1; seat <= 4; ++seat) {
        const int left = 10 + 80 * (seat - 1);
        m_played[static_cast<size_t>(seat)] =
            new ArtItem(this, QStringLiteral("played%1").arg(seat), QRect({left, 2}, kCorner));
        QLabel* name = label(this, "", kWaitingSeat, {left - 9, 81, 73, 16}, true);
        name->setObjectName(QStringLiteral("player%1").arg(seat));
        name->setAlignment(Qt::AlignCenter);
        QPalette pal = name->palette();
        pal.setColor(QPalette::WindowText, teamColour(seat));
        name->setPalette(pal);
        m_players[static_cast<size_t>(seat)] = name;
    }
    label(this, "Label1", QStringLiteral("Lead Off:"), {330, 0, 60, 16}, true);
    m_ledoff = label(this, "label_ledoff", QStringLiteral("None"), {390, 0, 44, 16}, false);
    m_trump = new ArtItem(this, QStringLiteral("trumpcard"), QRect({342, 19}, kCorner));
    QLabel* caption = label(this, "Label2", QStringLiteral("Trump"), {342, 91, 52, 14}, true);
    caption->setAlignment(Qt::AlignCenter);
    m_winner = label(this, "label_winner", QStringLiteral("Winner"), {0, 102, 434, 16}, true);
    m_winner->setAlignment(Qt::AlignCenter);
}

ArtItem* Tlasttrick::played(int seat) const {
    return seat >= 1 && seat <= 4 ? m_played[static_cast<size_t>(seat)] : nullptr;
}

QLabel* Tlasttrick::player(int seat) const {
    return seat >= 1 && seat <= 4 ? m_players[static_cast<size_t>(seat)] : nullptr;
}

void Tlasttrick::showTrick(const LastTrick& trick) {
    for (int seat = 1; seat <= 4; ++seat) {
        ArtItem* card = played(seat);
        const int number = trick.cards[static_cast<size_t>(seat)];
        card->setNumber(number);
        if (number > 0)
            card->setArt(cardCorner(number));
        else
            card->clearArt();
    }
    m_ledoff->setText(trick.ledoff);
    m_trump->setNumber(trick.trumpEntry);
    if (trick.trumpEntry > 0)
        m_trump->setArt(cardCorner(trick.trumpEntry));
    else
        m_trump->clearArt();
    m_winner->setText(trick.winner);
}

void Tlasttrick::FormActivate() {
    if (!tableNames) return;
    const QStringList names = tableNames();
    for (int seat = 1; seat <= 4 && seat <= names.size(); ++seat)
        player(seat)->setText(names[seat - 1]);
}

void Tlasttrick::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void Tlasttrick::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A tool window may be shown without being activated; the names still count.
    FormActivate();
}

} // namespace euchre
