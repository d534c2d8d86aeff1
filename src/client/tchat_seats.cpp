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

// The seats keep their numbers; only where they are drawn changes with the
// own slot. Each seat's default name lives in defaultnames, so the labels
// keep their "<Waiting>" until a player or the computer takes the seat.
void Tchat::sortstuff(int slot) {
    m_shown.myslot = slot;
}

QString Tchat::seatName(int seat) const {
    return m_shown.seatName(seat);
}

void Tchat::showDefaultName(int seat) {
    if (!isSeat(seat)) return;
    QString& name = m_shown.seats[static_cast<size_t>(seat)].name;
    if (name == kWaitingSeat) name = m_shown.defaultnames[static_cast<size_t>(seat)];
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
        if (*slot == m_shown.myslot) {
            notice(kYouAreConnected);
            loadinifile();
        } else {
            notice(QStringLiteral("0+") + name + kIsConnected);
        }
        if (*slot > kSeats) {
            // A slot holds one spectator: whoever the list still shows there
            // has gone, so a host that announces it again cannot grow the list.
            const QString place = spyEntry(*slot, QString());
            m_shown.spylist.removeIf(
                [&place](const QString& entry) { return entry.startsWith(place); });
            m_shown.spylist.append(spyEntry(*slot, name));
            emit spylistChanged();
            notice(*slot == m_shown.myslot ? kYouAreSpying
                                           : QStringLiteral("0+") + name + kIsSpying);
            continue;
        }
        SeatRecord& seat = m_shown.seats[static_cast<size_t>(*slot)];
        seat.name = name;
        if (watching) seat.watching = true;
    }
    if (any) playsounds(QLatin1String(sound::entered));
}

void Tchat::playerdisconnected(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> slot = reader.number(1, kHighestSlot);
    if (!slot) return;
    const QString name = QString::fromUtf8(reader.rest());
    if (*slot > kSeats) {
        const qsizetype at = m_shown.spylist.indexOf(spyEntry(*slot, name));
        if (at < 0) return;
        addlinetochat(QStringLiteral("0+") + name + kHasLeft, kLeftColour);
        m_shown.spylist.removeAt(at);
        emit spylistChanged();
        return;
    }
    SeatRecord& seat = m_shown.seats[static_cast<size_t>(*slot)];
    notice(QStringLiteral("0+") + seat.name + kDisconnected);
    // The computer plays the seat now, under the seat's own name.
    seat.name = m_shown.defaultnames[static_cast<size_t>(*slot)];
    seat.watching = false;
}

void Tchat::justwatching(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    const bool watching = reader.number(0, 9) == kLetComputerPlay;
    SeatRecord& shown = m_shown.seats[static_cast<size_t>(*seat)];
    const bool own = *seat == m_shown.myslot;
    if (own) m_justWatch->setChecked(watching);
    const QString said = own ? (watching ? kYouAreJustWatching : kYouArePlayingAgain)
                             : shown.name + (watching ? kIsJustWatching : kPlayingAgain);
    addlinetochat(QStringLiteral("0+") + said, kWatchColour);
    shown.watching = watching;
}

void Tchat::JustWatch1Click() {
    if (!loggedin || !isSeat(m_shown.myslot)) return;
    const int state = m_justWatch->isChecked() ? kPlayAgain : kLetComputerPlay;
    sendToHost(MessageBuilder(cmd::justwatch).field(m_shown.myslot).field(state).done(false));
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
    if (seatName(seat) == kWaitingSeat) m_removeFromGame->setEnabled(false);
    m_popupTarget = seat;
}

void Tchat::kicking() {
    if (isSeat(m_popupTarget)) removeFromGame(m_popupTarget);
}

void Tchat::removeFromGame(int slot) {
    if (!ishost || !loggedin || slot < 1 || slot > kHighestSlot) return;
    sendToHost(MessageBuilder(cmd::kickhim).field(m_shown.myslot).field(slot).done(true));
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
