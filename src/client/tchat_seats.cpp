// The seats as seen from the own chair: the rotation, players arriving and
// leaving, spectators, seats left to the computer, and the name-label menu.
#include "client/artitem.h"
#include "client/artwork.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "model/card.h"
#include "net/commands.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace euchre {

namespace {

const QString kYouAreConnected = QStringLiteral("0+You are Connected.");
const QString kIsConnected = QStringLiteral(" is Connected.");
const QString kYouAreSpying = QStringLiteral("0+You are spying.");
const QString kIsSpying = QStringLiteral(" is spying.");
const QString kHasLeft = QStringLiteral(" has left.");
const QString kDisconnected = QStringLiteral(" disconnected.");
const QString kIsJustWatching = QStringLiteral(" is just watching");
const QString kPlayingAgain = QStringLiteral(" now playing again");
const QString kYouAreJustWatching = QStringLiteral("You are just watching");
const QString kYouArePlayingAgain = QStringLiteral("You are playing again");

// Colours of the seat notices (red in the low byte).
constexpr quint32 kLeftColour = 128u << 16;                         // RGB 0, 0, 128
constexpr quint32 kWatchColour = (120u << 16) | (152u << 8) | 156u; // RGB 156, 152, 120

constexpr int kHighestSlot = 9;
constexpr char kWatch = '1';
constexpr int kLetComputerPlay = 1;
constexpr int kPlayAgain = 2;

QString spyEntry(int slot, const QString& name) {
    return QString::number(slot) + QStringLiteral(": ") + name;
}

} // namespace

// Every item keeps its seat; only where it is drawn changes. Each seat's
// default name lives in defaultnames, so the labels keep their "<Waiting>"
// until a player or the computer takes the seat.
void Tchat::sortstuff(int slot) {
    board()->placeSeats(slot);
    for (int s = 1; s <= kSeats; ++s) {
        const int team = teamOf(s);
        board()->seat(s)->banner->setArt(
            [team](qreal dpr) { return art::winnersBanner(team, dpr); });
    }
}

QString Tchat::seatName(int seat) const {
    const QLabel* label = board()->nameLabel(seat);
    return label ? label->text() : QString();
}

void Tchat::showDefaultName(int seat) {
    if (QLabel* label = board()->nameLabel(seat); label && label->text() == TableBoard::kWaiting)
        label->setText(defaultnames[static_cast<size_t>(seat)]);
}

void Tchat::newplayerinfo(QByteArrayView args) {
    FieldReader reader(args);
    bool any = false;
    while (!reader.atEnd()) {
        // A group that does not read as slot, name, flag ends the message: a
        // name with "+" in it must not spill into other seats.
        const std::optional<int> slot = reader.number(1, kHighestSlot);
        if (!slot) break;
        const QString name = QString::fromUtf8(reader.text());
        const bool watching = reader.text() == QByteArrayView(&kWatch, 1);
        any = true;
        if (*slot == myslot) {
            notice(kYouAreConnected);
            loadinifile();
        } else {
            notice(QStringLiteral("0+") + name + kIsConnected);
        }
        if (*slot > kSeats) {
            spylist.append(spyEntry(*slot, name));
            emit spylistChanged();
            notice(*slot == myslot ? kYouAreSpying : QStringLiteral("0+") + name + kIsSpying);
            continue;
        }
        const SeatItems* items = board()->seat(*slot);
        items->name->setText(name);
        items->name->show();
        if (watching) items->eyes->show();
    }
    if (any) playsounds(QLatin1String(sound::entered));
}

void Tchat::playerdisconnected(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> slot = reader.number(1, kHighestSlot);
    if (!slot) return;
    const QString name = QString::fromUtf8(reader.rest());
    if (*slot > kSeats) {
        const qsizetype at = spylist.indexOf(spyEntry(*slot, name));
        if (at < 0) return;
        addlinetochat(QStringLiteral("0+") + name + kHasLeft, kLeftColour);
        spylist.removeAt(at);
        emit spylistChanged();
        return;
    }
    const SeatItems* items = board()->seat(*slot);
    notice(QStringLiteral("0+") + items->name->text() + kDisconnected);
    // The computer plays the seat now, under the seat's own name.
    items->name->setText(defaultnames[static_cast<size_t>(*slot)]);
    items->eyes->hide();
}

void Tchat::justwatching(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    const bool watching = reader.number(0, 9) == kLetComputerPlay;
    const SeatItems* items = board()->seat(*seat);
    const bool own = *seat == myslot;
    if (own) m_justWatch->setChecked(watching);
    const QString said = own ? (watching ? kYouAreJustWatching : kYouArePlayingAgain)
                             : items->name->text() + (watching ? kIsJustWatching : kPlayingAgain);
    addlinetochat(QStringLiteral("0+") + said, kWatchColour);
    items->eyes->setVisible(watching);
}

void Tchat::JustWatch1Click() {
    if (!loggedin || !isSeat(myslot)) return;
    const int state = m_justWatch->isChecked() ? kPlayAgain : kLetComputerPlay;
    sendToHost(MessageBuilder(cmd::justwatch).field(myslot).field(state).done(false));
}

void Tchat::buildPopupKick() {
    m_popupKick = new QMenu(this);
    m_popupKick->setObjectName(QStringLiteral("popup_kick"));
    m_removeFromGame = m_popupKick->addAction(QStringLiteral("Remove From Game"));
    m_removeFromGame->setObjectName(QStringLiteral("RemoveFromGame1"));
    connect(m_removeFromGame, &QAction::triggered, this, &Tchat::kicking);
    m_setJustWatch = m_popupKick->addAction(QStringLiteral("Set to Just Watch"));
    m_setJustWatch->setObjectName(QStringLiteral("SettoJustWatch1"));
    connect(m_setJustWatch, &QAction::triggered, this, &Tchat::SettoJustWatch1Click);
    m_unsetJustWatch = m_popupKick->addAction(QStringLiteral("Unset Just Watch"));
    m_unsetJustWatch->setObjectName(QStringLiteral("UnsetJustWatch1"));
    connect(m_unsetJustWatch, &QAction::triggered, this, &Tchat::UnsetJustWatch1Click);
    for (int s = 1; s <= kSeats; ++s) {
        QLabel* label = board()->nameLabel(s);
        label->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(label, &QWidget::customContextMenuRequested, this, [this, s, label](QPoint at) {
            label_playername1ContextPopup(s);
            m_popupKick->popup(label->mapToGlobal(at));
        });
    }
}

void Tchat::label_playername1ContextPopup(int seat) {
    for (QAction* a : {m_removeFromGame, m_setJustWatch, m_unsetJustWatch}) a->setEnabled(ishost);
    if (seatName(seat) == TableBoard::kWaiting) m_removeFromGame->setEnabled(false);
    m_popupTarget = seat;
}

void Tchat::kicking() {
    if (isSeat(m_popupTarget)) removeFromGame(m_popupTarget);
}

void Tchat::removeFromGame(int slot) {
    if (!ishost || !loggedin || slot < 1 || slot > kHighestSlot) return;
    sendToHost(MessageBuilder(cmd::kickhim).field(myslot).field(slot).done(true));
}

void Tchat::SettoJustWatch1Click() {
    if (!loggedin || !isSeat(m_popupTarget)) return;
    sendToHost(
        MessageBuilder(cmd::justwatch).field(m_popupTarget).field(kLetComputerPlay).done(false));
}

void Tchat::UnsetJustWatch1Click() {
    if (!loggedin || !isSeat(m_popupTarget)) return;
    sendToHost(MessageBuilder(cmd::justwatch).field(m_popupTarget).field(kPlayAgain).done(false));
}

} // namespace euchre
