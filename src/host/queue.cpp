// The host's message queue: received text is cut into lines, queued with the
// slot it came from, and handled one line per tick; plus the three relays.
#include "host/tserver.h"

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
        if (p.queuedLines >= kMaxQueuedPerConnection) {
            closeForAbuse(slot, "more than 1000 messages waiting");
            return;
        }
        m_receivedlist.push_back(QueuedLine{slot, p.serial, std::move(line)});
        ++p.queuedLines;
    }
    if (!m_receivedlist.empty() && !socktimer.isActive()) socktimer.start();
    if (!withinLimit) closeForAbuse(slot, "over 64 KiB of text without an end");
}

void TServer::queueLine(int slot, const QByteArray& line) {
    if (slot < 1 || slot > kMaxSlots) return;
    PlayerSlot& p = playerslot[slot];
    m_receivedlist.push_back(QueuedLine{slot, p.serial, line});
    ++p.queuedLines;
    if (!socktimer.isActive()) socktimer.start();
}

void TServer::socktimerTimer() {
    if (m_anyOverfull) dropOverfullReaders();
    if (m_receivedlist.empty()) {
        socktimer.stop();
        return;
    }
    const QueuedLine entry = std::move(m_receivedlist.front());
    m_receivedlist.pop_front();

    PlayerSlot& p = playerslot[entry.slot];
    const bool current = p.serial == entry.serial;
    if (current && p.queuedLines > 0) --p.queuedLines;
    // Lines of a connection that has closed since are dropped, so that a
    // newcomer given the freed slot never inherits them.
    if (current && p.connected) dispatch(entry);

    if (m_receivedlist.empty() && !m_anyOverfull) socktimer.stop();
}

namespace {

// Logs a message the host will not act on; never shown on anyone's screen.
void refuse(int slot, QByteArrayView line, const char* why) {
    QByteArray shown = line.first(qMin<qsizetype>(line.size(), 120)).toByteArray();
    hostLog(QStringLiteral("dropped from slot %1 (%2): %3")
                .arg(slot)
                .arg(QLatin1String(why))
                .arg(QString::fromLatin1(shown)));
}

// The first field as a number in range that must name the sender's own slot.
bool ownSlotField(QByteArrayView args, int sender, int hi) {
    const std::optional<int> slot = FieldReader(args).number(1, hi);
    return slot && *slot == sender;
}

} // namespace

void TServer::dispatch(const QueuedLine& entry) {
    QByteArrayView word;
    QByteArrayView args;
    if (!splitCommand(entry.line, word, args)) return;
    const int sender = entry.slot;

    if (word == cmd::logininfo) {
        if (!ownSlotField(args, sender, kMaxSlots))
            return refuse(sender, entry.line, "not its slot");
        receivedlogininfo(sender, args);
    } else if (word == cmd::kickhim) {
        FieldReader fields(args);
        const std::optional<int> requester = fields.number(1, kMaxSlots);
        const std::optional<int> target = fields.number(1, kMaxSlots);
        if (!requester || !target) return refuse(sender, entry.line, "bad slot");
        if (*requester != sender || sender != 1)
            return refuse(sender, entry.line, "not the hosting player");
        kickhim(sender, args);
    } else if (word == cmd::chat) {
        if (!ownSlotField(args, sender, kMaxSlots))
            return refuse(sender, entry.line, "not its slot");
        chat(sender, args);
    } else if (word == cmd::action) {
        if (!ownSlotField(args, sender, kMaxSlots))
            return refuse(sender, entry.line, "not its slot");
        action(sender, args);
    } else if (word == cmd::startgame) {
        if (sender != 1) return refuse(sender, entry.line, "not the hosting player");
        startgame(args);
    } else if (word == cmd::justwatch) {
        FieldReader fields(args);
        const std::optional<int> seat = fields.number(1, kSeats);
        const std::optional<int> choice = fields.number(1, 2);
        if (!seat || !choice) return refuse(sender, entry.line, "bad seat or choice");
        // The hosting player may hand any seat to the computer; others only their own.
        if (*seat != sender && sender != 1) return refuse(sender, entry.line, "not its seat");
        justwatch(sender, args);
    } else if (word == cmd::selectedbubble) {
        FieldReader fields(args);
        const std::optional<int> seat = fields.number(1, kSeats);
        const std::optional<int> code = fields.number(1, BubbleNamePass);
        if (!seat || !code || !isBubbleCode(*code))
            return refuse(sender, entry.line, "bad seat or code");
        if (*seat != sender) return refuse(sender, entry.line, "not its seat");
        selectedbubble(args);
    } else if (word == cmd::playcard) {
        FieldReader fields(args);
        const std::optional<int> seat = fields.number(1, kSeats);
        const std::optional<int> position = fields.number(1, kHandSize);
        if (!seat || !position) return refuse(sender, entry.line, "bad seat or position");
        if (*seat != sender) return refuse(sender, entry.line, "not its seat");
        playcard(args);
    } else if (word == cmd::playasound) {
        if (!ownSlotField(args, sender, kMaxSlots))
            return refuse(sender, entry.line, "not its slot");
        playasound(sender, args);
    }
    // Any other word ("CMD_botspeed" among them) changes nothing.
}

void TServer::relaySpoken(QByteArrayView word, QByteArrayView args, QByteArrayView separator) {
    FieldReader fields(args);
    const std::optional<int> slot = fields.number(1, kMaxSlots);
    if (!slot) return;
    sendToAll(MessageBuilder(word)
                  .field(*slot)
                  .field(playerslot[*slot].name)
                  .raw(separator)
                  .raw(fields.rest())
                  .done(false));
}

void TServer::chat(int sender, QByteArrayView args) {
    Q_UNUSED(sender);
    relaySpoken(cmd::chat, args, " chats: ");
}

void TServer::action(int sender, QByteArrayView args) {
    Q_UNUSED(sender);
    relaySpoken(cmd::action, args, " ");
}

void TServer::playasound(int sender, QByteArrayView args) {
    Q_UNUSED(sender);
    FieldReader fields(args);
    const std::optional<int> slot = fields.number(1, kMaxSlots);
    if (!slot) return;
    sendToAll(MessageBuilder(cmd::playasound).field(*slot).field(fields.rest()).done(false));
}

} // namespace euchre
