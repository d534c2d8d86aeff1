// The host's slots: admitting connections, logins and the catch-up of a
// newcomer, leaving, removal and "just watching".
#include "host/tserver.h"

#include "host/discoveryresponder.h"
#include "host/hosttext.h"
#include "model/card.h"
#include "net/commands.h"

#include <QLoggingCategory>

namespace euchre {

Q_LOGGING_CATEGORY(lcHost, "euchre.host")

void hostLog(const QString& text) {
    // Players' text reaches the log: one report is always one line.
    qCWarning(lcHost).noquote() << logLine(text);
}

TServer::TServer(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("Server"));

    socktimer.setInterval(kQueueTickMs);
    connect(&socktimer, &QTimer::timeout, this, &TServer::socktimerTimer);

    ctimer.setInterval(kDefaultBotSpeed);
    connect(&ctimer, &QTimer::timeout, this, &TServer::ctimerTimer);

    m_gateTimer.setInterval(kGateTickMs);
    connect(&m_gateTimer, &QTimer::timeout, this, &TServer::gateTimerTimer);
}

TServer::~TServer() {
    // The connections report "Socket Closed" while they go; nobody listens any more.
    for (PlayerSlot& p : playerslot) {
        if (!p.socket) continue;
        p.socket->onData = nullptr;
        p.socket->onDisconnect = nullptr;
        p.socket->onInfo = nullptr;
    }
    for (PendingLink& waiting : m_pending) {
        waiting.link->onData = nullptr;
        waiting.link->onDisconnect = nullptr;
        waiting.link->onInfo = nullptr;
    }
    for (const std::unique_ptr<PeerLink>& gone : m_letGo) {
        gone->onData = nullptr;
        gone->onDisconnect = nullptr;
        gone->onInfo = nullptr;
    }
}

int TServer::botSpeed() const {
    const int ms = m_botSpeedSource ? m_botSpeedSource() : m_botSpeed;
    return qBound(kMinBotSpeed, ms, kMaxBotSpeed);
}

bool TServer::isComputerSeat(int seat) const {
    return isSeat(seat) && (!playerslot[seat].connected || playerslot[seat].watching);
}

int TServer::handCount(int seat) const {
    int n = 0;
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (m_game.table().hand[seat][pos] != kNoCard) ++n;
    return n;
}

// ---- sending ----

void TServer::sendTo(int slot, const QByteArray& bytes) {
    PlayerSlot& p = playerslot[slot];
    if (onSend) onSend(slot, bytes);
    if (!p.socket) return;
    p.socket->send(bytes);
    // A reader that stops reading would make us buffer without bound; it is
    // let go on the next queue tick rather than in the middle of a broadcast.
    if (!m_overfull[slot] && p.socket->unsentBytes() > kMaxUnsentBytes) {
        m_overfull[slot] = true;
        m_anyOverfull = true;
        if (!socktimer.isActive()) socktimer.start();
    }
}

void TServer::sendToAll(const QByteArray& bytes) {
    for (int slot = 1; slot <= slotcount; ++slot)
        if (playerslot[slot].connected) sendTo(slot, bytes);
}

void TServer::sendToOthers(int exceptSlot, const QByteArray& bytes) {
    for (int slot = 1; slot <= slotcount; ++slot)
        if (slot != exceptSlot && playerslot[slot].connected) sendTo(slot, bytes);
}

// ---- admitting ----

int TServer::admit(std::unique_ptr<PeerLink> link) {
    int slot = 0;
    for (int s = 1; s <= slotcount; ++s) {
        if (!playerslot[s].connected) {
            slot = s;
            break;
        }
    }
    if (slot == 0 && slotcount < kMaxSlots) slot = ++slotcount;

    if (slot == 0) {
        // All nine slots taken: tell the newcomer and let it go at once.
        PlayerSlot& refused = playerslot[kRefusedSlot];
        refused.socket = std::move(link);
        sendTo(kRefusedSlot, bareMessage(cmd::full));
        refused.socket->close();
        refused.socket.reset();
        return kRefusedSlot;
    }

    PlayerSlot& p = playerslot[slot];
    p.socket = std::move(link);
    p.connected = true;
    p.serial = ++m_nextSerial;
    p.loggedIn = false;
    p.cutter.clear();
    p.name.clear();
    p.watching = false;

    const quint64 serial = p.serial;
    // A closed connection of an earlier player in this slot must never reach
    // the newcomer's slot: every notification carries the connection's serial.
    p.socket->onData = [this, slot, serial](const QByteArray& data) {
        if (playerslot[slot].serial == serial) Sock1Read(slot, data);
    };
    p.socket->onDisconnect = [this, slot, serial]() {
        if (playerslot[slot].serial == serial) tempsockDisconnect(slot);
    };
    p.socket->onInfo = [this, slot, serial](int code, const QString& text) {
        if (playerslot[slot].serial == serial) tempsockInfo(slot, code, text);
    };

    sendTo(slot, MessageBuilder(cmd::sendlogininfo).field(slot).done(false));
    return slot;
}

// ---- login ----

void TServer::receivedlogininfo(int sender, QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> slot = fields.number(1, kMaxSlots);
    if (!slot || *slot != sender) return;
    const QByteArrayView version = fields.text();

    PlayerSlot& p = playerslot[*slot];
    if (!p.connected) return;
    // One login per connection: a second one would put its words in another
    // person's mouth.
    if (p.loggedIn) {
        hostLog(QStringLiteral("dropped from slot %1 (a second login)").arg(*slot));
        return;
    }
    p.loggedIn = true;
    // The name travels inside "+"-separated messages and in front of every
    // chat line; two people never carry the same one.
    p.name = uniqueName(cleanName(fields.rest()), [this, slot](QByteArrayView candidate) {
        for (int s = 1; s <= slotcount; ++s)
            if (s != *slot && playerslot[s].connected && playerslot[s].name == candidate)
                return true;
        return false;
    });
    const QByteArray& name = p.name;

    sendToAll(MessageBuilder(cmd::newplayerinfo).field(*slot).field(name).field("0").done(false));

    MessageBuilder existing(cmd::existingplayers);
    bool anyOther = false;
    for (int s = 1; s <= slotcount; ++s) {
        if (s == *slot || !playerslot[s].connected) continue;
        existing.field(s).field(playerslot[s].name).field(playerslot[s].watching ? "1" : "0");
        anyOther = true;
    }
    if (anyOther) sendTo(*slot, existing.done(false));

    if (version != QByteArrayView(kGameVersion)) {
        if (playerslot[1].connected)
            sendTo(1, MessageBuilder(cmd::havewrongversion).field(name).done(false));
        sendTo(*slot, bareMessage(cmd::wrongversion));
    }

    if (gameon) catchUp(*slot);
}

void TServer::catchUp(int slot) {
    const rules::Table& t = m_game.table();
    const int makingTeam = t.team[1].makers ? 1 : (t.team[2].makers ? 2 : 0);
    MessageBuilder cards(cmd::loadcards);
    cards.field(makingTeam).field(t.makerseat).field(t.dealer).field(t.trump);
    for (int seat = 1; seat <= kSeats; ++seat) cards.field(t.played[seat]);
    sendTo(slot, cards.done(true));

    sendTo(slot, MessageBuilder(cmd::loadstats)
                     .field(t.playto)
                     .field(t.team[1].score)
                     .field(t.team[1].tricks)
                     .field(t.team[2].score)
                     .field(t.team[2].tricks)
                     .done(true));
    // Only a game with house rules says so, in a word older windows pass over.
    if (!t.rules.isPlain())
        sendTo(slot, MessageBuilder(cmd::loadrules)
                         .field(QByteArray::fromStdString(rules::rulesetText(t.rules)))
                         .done(true));

    if (isSeat(slot) && handCount(slot) > 0) {
        MessageBuilder hand(cmd::placecard);
        hand.field(slot);
        for (int pos = 1; pos <= kHandSize; ++pos)
            if (t.hand[slot][pos] != kNoCard) hand.field(pos).field(t.hand[slot][pos]);
        sendTo(slot, hand.done(false));
    }

    MessageBuilder theirs(cmd::loadtheircards);
    for (int seat = 1; seat <= kSeats; ++seat)
        if (seat != slot) theirs.field(seat).field(handCount(seat));
    sendTo(slot, theirs.done(false));

    if (slot == t.bidder()) sendTo(slot, MessageBuilder(cmd::bidder).field(slot).done(true));
    if (slot == t.chooser())
        sendTo(slot, MessageBuilder(cmd::chooser).field(slot).field(t.trump).done(true));
    if (slot == t.nextplayer())
        sendTo(slot, MessageBuilder(cmd::nextplayer).field(slot).done(true));
    // A newcomer who inherits the going-alone question or the discard must be
    // asked again: nobody else will answer it now that the seat is a person's.
    if (slot == t.aloner()) sendTo(slot, MessageBuilder(cmd::aloner).field(slot).done(true));
    if (slot == t.discarder()) sendTo(slot, MessageBuilder(cmd::discarder).field(slot).done(true));
}

// ---- leaving and removal ----

void TServer::tempsockDisconnect(int slot) {
    if (slot < 1 || slot > kMaxSlots) return;
    if (playerslot[slot].connected) disconnectsock(slot);
}

void TServer::disconnectsock(int slot) {
    if (slot < 1 || slot > kMaxSlots) return;
    PlayerSlot& p = playerslot[slot];
    if (p.connected && p.socket) p.socket->close();
}

void TServer::tempsockInfo(int slot, int code, const QString& text) {
    Q_UNUSED(code);
    if (text != QLatin1String("Socket Closed")) return;
    if (slot < 1 || slot > kMaxSlots) return;
    slotClosed(slot);
}

void TServer::slotClosed(int slot) {
    PlayerSlot& p = playerslot[slot];
    // The connection reports its close more than once; only the first report
    // frees the slot and hands the seat over.
    if (!p.connected) return;
    sendToOthers(slot,
                 MessageBuilder(cmd::playerdisconnected).field(slot).field(p.name).done(false));
    // What it said before it went is still relayed in its turn, under its name.
    m_receivedlist.depart(p.serial, p.name);
    p.connected = false;
    p.loggedIn = false;
    p.name.clear();
    p.watching = false;
    p.cutter.clear();
    m_overfull[slot] = false;
    // Every seat that loses its person is played on by the computer, the
    // hosting player's own seat included, so that a hand never waits forever.
    if (gameon && isSeat(slot)) computerMove(slot);
}

void TServer::kickhim(int sender, QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> requester = fields.number(1, kMaxSlots);
    const std::optional<int> target = fields.number(1, kMaxSlots);
    if (!requester || !target || *requester != 1 || sender != 1) return;
    // A removed player's waiting lines go with it.
    const quint64 serial = playerslot[*target].serial;
    disconnectsock(*target);
    m_receivedlist.discard(serial);
}

void TServer::justwatch(int sender, QByteArrayView args) {
    Q_UNUSED(sender);
    FieldReader fields(args);
    const std::optional<int> seat = fields.number(1, kSeats);
    const std::optional<int> choice = fields.number(1, 2);
    if (!seat || !choice || !playerslot[*seat].connected) return;

    PlayerSlot& p = playerslot[*seat];
    if (*choice == 2) {
        p.watching = false;
        sendToAll(MessageBuilder(cmd::justwatching).field(*seat).field("2").done(false));
        return;
    }
    p.watching = true;
    sendToAll(MessageBuilder(cmd::justwatching).field(*seat).field("1").done(false));
    computerMove(*seat);
}

void TServer::closeForAbuse(int slot, const char* why) {
    hostLog(QStringLiteral("closing slot %1: %2").arg(slot).arg(QLatin1String(why)));
    const quint64 serial = playerslot[slot].serial;
    disconnectsock(slot);
    // Nothing it left waiting is handled, and none of it takes a tick.
    m_receivedlist.discard(serial);
}

void TServer::dropOverfullReaders() {
    m_anyOverfull = false;
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        if (!m_overfull[slot]) continue;
        m_overfull[slot] = false;
        PlayerSlot& p = playerslot[slot];
        if (p.connected && p.socket && p.socket->unsentBytes() > kMaxUnsentBytes)
            closeForAbuse(slot, "it does not read what it is sent");
    }
}

} // namespace euchre
