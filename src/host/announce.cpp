// The messages of the game: each event of the rules core becomes the message
// (or the private message, or the log line) the players are sent.
#include "host/tserver.h"

#include "model/card.h"
#include "net/commands.h"

namespace euchre {

namespace {

using rules::EventKind;

// "CMD_placecard" with a seat's five places face down, as every other slot sees them.
const QByteArray& hiddenHand(int seat) {
    static const std::array<QByteArray, 5> messages = [] {
        std::array<QByteArray, 5> out;
        for (int s = 1; s <= kSeats; ++s) {
            MessageBuilder m(cmd::placecard);
            m.field(s);
            for (int pos = 1; pos <= kHandSize; ++pos) m.field(pos).field(kNoCard);
            out[s] = m.done(false);
        }
        return out;
    }();
    return messages[seat];
}

QByteArray seatMessage(const char* word, int seat) {
    return MessageBuilder(word).field(seat).done(true);
}

} // namespace

void TServer::sendHands() {
    for (int shown = 1; shown <= kSeats; ++shown) {
        // The cards themselves only go to the seat's own connection, if it has one.
        QByteArray own;
        if (shown <= slotcount && playerslot[shown].connected) {
            MessageBuilder real(cmd::placecard);
            real.field(shown);
            for (int pos = 1; pos <= kHandSize; ++pos)
                real.field(pos).field(playerslot[shown].hand[pos]);
            own = real.done(false);
        }
        for (int slot = 1; slot <= slotcount; ++slot)
            if (playerslot[slot].connected) sendTo(slot, slot == shown ? own : hiddenHand(shown));
    }
}

void TServer::announce(const rules::Events& events) {
    for (const rules::Event& e : events) {
        switch (e.kind) {
        case EventKind::Dealer:
            sendToAll(seatMessage(cmd::dealer, e.a));
            break;
        case EventKind::Dealt:
            sendHands();
            break;
        case EventKind::Turned:
            sendToAll(MessageBuilder(cmd::settrump).field(e.a).done(true));
            break;
        case EventKind::Bidder:
            sendToAll(seatMessage(cmd::bidder, e.a));
            break;
        case EventKind::Passed:
            sendToAll(seatMessage(cmd::hepassed, e.a));
            break;
        case EventKind::Accepted:
            sendToAll(seatMessage(cmd::heaccepted, e.a));
            break;
        case EventKind::TrumpMade:
            sendToAll(MessageBuilder(cmd::trumpchoosen).field(e.a).field(e.b).done(true));
            break;
        case EventKind::Chooser:
            sendToAll(MessageBuilder(cmd::chooser).field(e.a).field(e.b).done(true));
            break;
        case EventKind::Aloner:
            sendToAll(seatMessage(cmd::aloner, e.a));
            break;
        case EventKind::GoingAlone:
            sendToAll(MessageBuilder(cmd::goingalone).field(e.a).field(e.b).done(true));
            break;
        case EventKind::Discarder:
            sendToAll(seatMessage(cmd::discarder, e.a));
            break;
        case EventKind::Switched:
            if (playerslot[e.a].connected)
                sendTo(e.a,
                       MessageBuilder(cmd::switchcard).field(e.a).field(e.b).field(e.c).done(true));
            break;
        case EventKind::TrickStarted:
            sendToAll(bareMessage(cmd::clearcards));
            break;
        case EventKind::NextPlayer:
            sendToAll(seatMessage(cmd::nextplayer, e.a));
            break;
        case EventKind::Played:
            sendToAll(MessageBuilder(cmd::playedcard).field(e.a).field(e.b).field(e.c).done(true));
            break;
        case EventKind::TrickWon: {
            const QByteArray message =
                MessageBuilder(cmd::trickwinner).field(e.a).field(e.b).field(e.c).done(true);
            // The connected slots' tables are cleared now; a seat beyond them keeps
            // its card until the next trick starts.
            for (int slot = 1; slot <= slotcount; ++slot) {
                playerslot[slot].played = kNoCard;
                if (playerslot[slot].connected) sendTo(slot, message);
            }
            break;
        }
        case EventKind::Scored:
            sendToAll(MessageBuilder(cmd::score)
                          .field(e.a)
                          .field(e.b)
                          .field(e.c)
                          .field(e.d)
                          .field(e.e)
                          .done(true));
            break;
        case EventKind::GameWon:
            gameon = false;
            sendToAll(seatMessage(cmd::thewinner, e.a));
            break;
        case EventKind::RefusedTrump:
            if (playerslot[e.a].connected)
                sendTo(e.a, MessageBuilder(cmd::notvalid)
                                .field(e.a)
                                .field(NotValidTrump)
                                .field(0)
                                .done(true));
            break;
        case EventKind::RefusedCard:
            if (isComputerSeat(e.a)) hostLog(QStringLiteral("computer played incorrectly"));
            if (playerslot[e.a].connected)
                sendTo(e.a, MessageBuilder(cmd::notvalid)
                                .field(e.a)
                                .field(NotValidFollowSuit)
                                .field(e.b)
                                .done(true));
            break;
        case EventKind::EmptyPlace:
            hostLog(QStringLiteral("That is not a valid card!!!"));
            break;
        }
    }
}

} // namespace euchre
