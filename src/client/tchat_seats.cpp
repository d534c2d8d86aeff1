// The seats as seen from the own chair: the rotation, players arriving and
// leaving, spectators, seats left to the computer, and the name-label menu.
#include "client/tableboard.h"
#include "client/tchat_parts.h"
#include "model/card.h"
#include "net/commands.h"
#include "net/protocol.h"

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
void Tchat::Seats::sortstuff(int slot) {
    t.m_shown.myslot = slot;
}

QStringList Tchat::Seats::otherNames() const {
    QStringList names;
    for (int seat = 1; seat <= kSeats; ++seat) {
        if (seat == t.m_shown.myslot) continue;
        const QString name = t.m_shown.seatName(seat);
        if (name != kWaitingSeat) names << name;
    }
    return names;
}

void Tchat::Seats::newplayerinfo(QByteArrayView args) {
    FieldReader reader(args);
    bool any = false;
    while (!reader.atEnd()) {
        // A group that does not read as slot, name, flag ends the message: a
        // name with "+" in it must not spill into other seats.
        const std::optional<int> slot = reader.number(1, kMaxSlots);
        if (!slot) break;
        const QString name = QString::fromUtf8(reader.text());
        const bool watching = reader.text() == QByteArrayView(&kWatch, 1);
        any = true;
        if (*slot == t.m_shown.myslot) {
            t.notice(kYouAreConnected);
            t.loadinifile();
        } else {
            t.notice(QStringLiteral("0+") + name + kIsConnected);
        }
        if (*slot > kSeats) {
            // A slot holds one spectator: whoever the list still shows there
            // has gone, so a host that announces it again cannot grow the list.
            const QString place = spyEntry(*slot, QString());
            t.m_shown.spylist.removeIf(
                [&place](const QString& entry) { return entry.startsWith(place); });
            t.m_shown.spylist.append(spyEntry(*slot, name));
            emit t.spylistChanged();
            t.notice(*slot == t.m_shown.myslot ? kYouAreSpying
                                               : QStringLiteral("0+") + name + kIsSpying);
            continue;
        }
        SeatRecord& seat = t.m_shown.seats[static_cast<size_t>(*slot)];
        seat.name = name;
        if (watching) seat.watching = true;
    }
    if (any) t.playsounds(QLatin1String(sound::entered));
}

void Tchat::Seats::playerdisconnected(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> slot = reader.number(1, kMaxSlots);
    if (!slot) return;
    const QString name = QString::fromUtf8(reader.rest());
    if (*slot > kSeats) {
        const qsizetype at = t.m_shown.spylist.indexOf(spyEntry(*slot, name));
        if (at < 0) return;
        t.addlinetochat(QStringLiteral("0+") + name + kHasLeft, kLeftColour);
        t.m_shown.spylist.removeAt(at);
        emit t.spylistChanged();
        return;
    }
    SeatRecord& seat = t.m_shown.seats[static_cast<size_t>(*slot)];
    t.notice(QStringLiteral("0+") + seat.name + kDisconnected);
    // The computer plays the seat now, under the seat's own name.
    seat.name = t.m_shown.defaultnames[static_cast<size_t>(*slot)];
    seat.watching = false;
}

void Tchat::Seats::justwatching(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    const bool watching = reader.number(0, 9) == kLetComputerPlay;
    SeatRecord& shown = t.m_shown.seats[static_cast<size_t>(*seat)];
    const bool own = *seat == t.m_shown.myslot;
    if (own) t.m_justWatch->setChecked(watching);
    const QString said = own ? (watching ? kYouAreJustWatching : kYouArePlayingAgain)
                             : shown.name + (watching ? kIsJustWatching : kPlayingAgain);
    t.addlinetochat(QStringLiteral("0+") + said, kWatchColour);
    shown.watching = watching;
}

void Tchat::Seats::JustWatch1Click() {
    if (!t.m_login.loggedin || !isSeat(t.m_shown.myslot)) return;
    const int state = t.m_justWatch->isChecked() ? kPlayAgain : kLetComputerPlay;
    t.sendToHost(MessageBuilder(cmd::justwatch).field(t.m_shown.myslot).field(state).done(false));
}

Tchat::Seats::Seats(Tchat& table) : t(table) {
    m_popupKick = new QMenu(&t);
    m_popupKick->setObjectName(QStringLiteral("popup_kick"));
    m_removeFromGame = m_popupKick->addAction(QStringLiteral("Remove From Game"));
    m_removeFromGame->setObjectName(QStringLiteral("RemoveFromGame1"));
    QObject::connect(m_removeFromGame, &QAction::triggered, &t, [this] { kicking(); });
    m_setJustWatch = m_popupKick->addAction(QStringLiteral("Set to Just Watch"));
    m_setJustWatch->setObjectName(QStringLiteral("SettoJustWatch1"));
    QObject::connect(m_setJustWatch, &QAction::triggered, &t, [this] { SettoJustWatch1Click(); });
    m_unsetJustWatch = m_popupKick->addAction(QStringLiteral("Unset Just Watch"));
    m_unsetJustWatch->setObjectName(QStringLiteral("UnsetJustWatch1"));
    QObject::connect(m_unsetJustWatch, &QAction::triggered, &t, [this] { UnsetJustWatch1Click(); });
    for (int s = 1; s <= kSeats; ++s) {
        QLabel* label = t.board()->nameLabel(s);
        label->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(label, &QWidget::customContextMenuRequested, &t,
                         [this, s, label](QPoint at) {
                             label_playername1ContextPopup(s);
                             m_popupKick->popup(label->mapToGlobal(at));
                         });
    }
}

void Tchat::Seats::seatsMenu() {
    if (!m_popupSeats) {
        m_popupSeats = new QMenu(&t);
        m_popupSeats->setObjectName(QStringLiteral("popup_seats"));
        for (int s = 1; s <= kSeats; ++s) {
            QAction* a = m_popupSeats->addAction(QString());
            QObject::connect(a, &QAction::triggered, &t, [this, s] {
                QLabel* label = t.board()->nameLabel(s);
                label_playername1ContextPopup(s);
                m_popupKick->popup(label->mapToGlobal(label->rect().center()));
            });
        }
    }
    const QList<QAction*> seats = m_popupSeats->actions();
    for (int s = 1; s <= kSeats; ++s)
        seats[s - 1]->setText(
            QStringLiteral("&%1 %2").arg(s).arg(t.m_shown.seatName(s).replace('&', "&&")));
    QLabel* own = t.board()->nameLabel(isSeat(t.m_shown.myslot) ? t.m_shown.myslot : 1);
    m_popupSeats->popup(own->mapToGlobal(own->rect().center()));
}

void Tchat::Seats::label_playername1ContextPopup(int seat) {
    for (QAction* a : {m_removeFromGame, m_setJustWatch, m_unsetJustWatch})
        a->setEnabled(t.m_login.ishost);
    if (t.m_shown.seatName(seat) == kWaitingSeat) m_removeFromGame->setEnabled(false);
    m_popupTarget = seat;
}

void Tchat::Seats::kicking() {
    if (isSeat(m_popupTarget)) removeFromGame(m_popupTarget);
}

void Tchat::removeFromGame(int slot) {
    m_seats->removeFromGame(slot);
}

void Tchat::Seats::removeFromGame(int slot) {
    if (!t.m_login.ishost || !t.m_login.loggedin || slot < 1 || slot > kMaxSlots) return;
    t.sendToHost(MessageBuilder(cmd::kickhim).field(t.m_shown.myslot).field(slot).done(true));
}

void Tchat::Seats::SettoJustWatch1Click() {
    if (!t.m_login.loggedin || !isSeat(m_popupTarget)) return;
    t.sendToHost(
        MessageBuilder(cmd::justwatch).field(m_popupTarget).field(kLetComputerPlay).done(false));
}

void Tchat::Seats::UnsetJustWatch1Click() {
    if (!t.m_login.loggedin || !isSeat(m_popupTarget)) return;
    t.sendToHost(MessageBuilder(cmd::justwatch).field(m_popupTarget).field(kPlayAgain).done(false));
}

} // namespace euchre
