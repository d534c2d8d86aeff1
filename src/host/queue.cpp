// The host's message queue: received text is cut into lines, queued in its
// connection's lane, and handled one line per tick, the connections taking
// turns; plus the three relays.
#include "host/tserver.h"

#include "host/hosttext.h"
#include "model/card.h"
#include "net/commands.h"

namespace euchre {

void TServer::Sock1Read(int slot, QByteArrayView data) {
    if (slot < 1 || slot > kMaxSlots) return;
    PlayerSlot& p = playerslot[slot];
    if (!p.connected) return;

    QList<QByteArray> lines;
    const bool withinLimit = p.cutter.feed(data, lines);
    for (QByteArray& line : lines) {
        if (line.size() > kMaxLineBytes) {
            hostLog(QStringLiteral("dropped from slot %1 (a line of %2 bytes)")
                        .arg(slot)
                        .arg(line.size()));
            continue;
        }
        if (m_receivedlist.waiting(p.serial) >= kMaxQueuedPerConnection) {
            closeForAbuse(slot, "more than 100 messages waiting");
            return;
        }
        const bool speech = isSpokenLine(line);
        m_receivedlist.push(slot, p.serial, std::move(line), speech);
    }
    if (!m_receivedlist.empty() && !socktimer.isActive()) socktimer.start();
    if (!withinLimit) closeForAbuse(slot, "over 64 KiB of text without an end");
}

void TServer::socktimerTimer() {
    if (m_anyOverfull) dropOverfullReaders();
    FairQueue::Line entry;
    if (!m_receivedlist.pop(entry)) {
        socktimer.stop();
        return;
    }
    // A live lane always belongs to the slot's present connection: a
    // connection's lane is handed over as departed, or forgotten, when it
    // closes, so a newcomer given the freed slot never inherits its lines.
    const PlayerSlot& p = playerslot[entry.slot];
    if (entry.departed || (p.serial == entry.serial && p.connected)) dispatch(entry);

    if (m_receivedlist.empty() && !m_anyOverfull) socktimer.stop();
}

namespace {

// Logs a message the host will not act on; never shown on anyone's screen.
void refuse(int slot, QByteArrayView line, const char* why) {
    const QByteArrayView shown = utf8Left(line, 120);
    hostLog(QStringLiteral("dropped from slot %1 (%2): %3")
                .arg(slot)
                .arg(QLatin1String(why))
                .arg(QString::fromUtf8(shown)));
}

// What follows the first field.
QByteArrayView afterFirstField(QByteArrayView args) {
    FieldReader fields(args);
    fields.text();
    return fields.rest();
}

// The first field as a number in range that must name the sender's own slot.
bool ownSlotField(QByteArrayView args, int sender, int hi) {
    const std::optional<int> slot = FieldReader(args).number(1, hi);
    return slot && *slot == sender;
}

} // namespace

void TServer::dispatch(const FairQueue::Line& entry) {
    QByteArrayView word;
    QByteArrayView args;
    if (!splitCommand(entry.text, word, args)) return;
    const int sender = entry.slot;
    // A connection that has left still says what it sent before it went,
    // under the name it had; it no longer acts for a seat.
    const QByteArray* name = entry.departed ? &entry.name : nullptr;
    if (entry.departed && !isSpokenLine(entry.text)) return;

    if (word == cmd::logininfo) {
        if (!ownSlotField(args, sender, kMaxSlots))
            return refuse(sender, entry.text, "not its slot");
        receivedlogininfo(sender, args);
    } else if (word == cmd::kickhim) {
        FieldReader fields(args);
        const std::optional<int> requester = fields.number(1, kMaxSlots);
        const std::optional<int> target = fields.number(1, kMaxSlots);
        if (!requester || !target) return refuse(sender, entry.text, "bad slot");
        if (*requester != sender || sender != 1)
            return refuse(sender, entry.text, "not the hosting player");
        kickhim(sender, args);
    } else if (word == cmd::chat) {
        if (!ownSlotField(args, sender, kMaxSlots))
            return refuse(sender, entry.text, "not its slot");
        if (!spokenTextFits(afterFirstField(args)))
            return refuse(sender, entry.text, "chat over 1000 characters");
        relaySpoken(cmd::chat, args, " chats: ", name);
    } else if (word == cmd::action) {
        if (!ownSlotField(args, sender, kMaxSlots))
            return refuse(sender, entry.text, "not its slot");
        if (!spokenTextFits(afterFirstField(args)))
            return refuse(sender, entry.text, "action over 1000 characters");
        relaySpoken(cmd::action, args, " ", name);
    } else if (word == cmd::startgame) {
        if (sender != 1) return refuse(sender, entry.text, "not the hosting player");
        startgame(args);
    } else if (word == cmd::justwatch) {
        FieldReader fields(args);
        const std::optional<int> seat = fields.number(1, kSeats);
        const std::optional<int> choice = fields.number(1, 2);
        if (!seat || !choice) return refuse(sender, entry.text, "bad seat or choice");
        // The hosting player may hand any seat to the computer; others only their own.
        if (*seat != sender && sender != 1) return refuse(sender, entry.text, "not its seat");
        justwatch(sender, args);
    } else if (word == cmd::selectedbubble) {
        FieldReader fields(args);
        const std::optional<int> seat = fields.number(1, kSeats);
        const std::optional<int> code = fields.number(1, BubbleNamePass);
        if (!seat || !code || !isBubbleCode(*code))
            return refuse(sender, entry.text, "bad seat or code");
        if (*seat != sender) return refuse(sender, entry.text, "not its seat");
        selectedbubble(args);
    } else if (word == cmd::playcard) {
        FieldReader fields(args);
        const std::optional<int> seat = fields.number(1, kSeats);
        const std::optional<int> position = fields.number(1, kHandSize);
        if (!seat || !position) return refuse(sender, entry.text, "bad seat or position");
        if (*seat != sender) return refuse(sender, entry.text, "not its seat");
        playcard(args);
    } else if (word == cmd::playasound) {
        if (!ownSlotField(args, sender, kMaxSlots))
            return refuse(sender, entry.text, "not its slot");
        if (afterFirstField(args).size() > kMaxSpokenTail)
            return refuse(sender, entry.text, "sound field too long");
        playasound(sender, args);
    }
    // Any other word ("CMD_botspeed" among them) changes nothing.
}

void TServer::relaySpoken(QByteArrayView word, QByteArrayView args, QByteArrayView separator,
                          const QByteArray* name) {
    FieldReader fields(args);
    const std::optional<int> slot = fields.number(1, kMaxSlots);
    if (!slot) return;
    sendToAll(MessageBuilder(word)
                  .field(*slot)
                  .field(name ? *name : playerslot[*slot].name)
                  .raw(separator)
                  .raw(fields.rest())
                  .done(false));
}

void TServer::playasound(int sender, QByteArrayView args) {
    Q_UNUSED(sender);
    FieldReader fields(args);
    const std::optional<int> slot = fields.number(1, kMaxSlots);
    if (!slot) return;
    sendToAll(MessageBuilder(cmd::playasound).field(*slot).field(fields.rest()).done(false));
}

} // namespace euchre
