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
                real.field(pos).field(m_game.table().hand[shown][pos]);
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
            sendToAll(seatMessage(cmd::dealer, e.seat()));
            break;
        case EventKind::Dealt:
            sendHands();
            break;
        case EventKind::Turned:
            sendToAll(MessageBuilder(cmd::settrump).field(e.card()).done(true));
            break;
        case EventKind::Bidder:
            sendToAll(seatMessage(cmd::bidder, e.seat()));
            break;
        case EventKind::Passed:
            sendToAll(seatMessage(cmd::hepassed, e.seat()));
            break;
        case EventKind::Accepted:
            sendToAll(seatMessage(cmd::heaccepted, e.seat()));
            break;
        case EventKind::TrumpMade:
            sendToAll(MessageBuilder(cmd::trumpchoosen).field(e.seat()).field(e.suit()).done(true));
            break;
        case EventKind::Chooser:
            sendToAll(MessageBuilder(cmd::chooser).field(e.seat()).field(e.suit()).done(true));
            break;
        case EventKind::Aloner:
            sendToAll(seatMessage(cmd::aloner, e.seat()));
            break;
        case EventKind::GoingAlone:
            sendToAll(MessageBuilder(cmd::goingalone).field(e.seat()).field(e.code()).done(true));
            break;
        case EventKind::Discarder:
            sendToAll(seatMessage(cmd::discarder, e.seat()));
            break;
        case EventKind::Switched:
            if (playerslot[e.seat()].connected)
                sendTo(e.seat(), MessageBuilder(cmd::switchcard)
                                     .field(e.seat())
                                     .field(e.position())
                                     .field(e.card())
                                     .done(true));
            break;
        case EventKind::TrickStarted:
            sendToAll(bareMessage(cmd::clearcards));
            break;
        case EventKind::NextPlayer:
            sendToAll(seatMessage(cmd::nextplayer, e.seat()));
            break;
        case EventKind::Played:
            sendToAll(MessageBuilder(cmd::playedcard)
                          .field(e.seat())
                          .field(e.position())
                          .field(e.card())
                          .done(true));
            break;
        case EventKind::TrickWon: {
            const QByteArray message = MessageBuilder(cmd::trickwinner)
                                           .field(e.seat())
                                           .field(e.tricks(1))
                                           .field(e.tricks(2))
                                           .done(true);
            // The won cards leave the places of the seats that have a slot; a
            // seat beyond them keeps its card until the next trick starts.
            for (int slot = 1; slot <= slotcount; ++slot) {
                m_game.gather(slot);
                if (playerslot[slot].connected) sendTo(slot, message);
            }
            break;
        }
        case EventKind::Scored:
            sendToAll(MessageBuilder(cmd::score)
                          .field(e.team())
                          .field(e.score(1))
                          .field(e.points(1))
                          .field(e.score(2))
                          .field(e.points(2))
                          .done(true));
            break;
        case EventKind::GameWon:
            gameon = false;
            sendToAll(seatMessage(cmd::thewinner, e.team()));
            break;
        case EventKind::RefusedTrump:
            if (playerslot[e.seat()].connected)
                sendTo(e.seat(), MessageBuilder(cmd::notvalid)
                                     .field(e.seat())
                                     .field(NotValidTrump)
                                     .field(0)
                                     .done(true));
            break;
        case EventKind::RefusedCard:
            if (isComputerSeat(e.seat())) hostLog(QStringLiteral("computer played incorrectly"));
            if (playerslot[e.seat()].connected)
                sendTo(e.seat(), MessageBuilder(cmd::notvalid)
                                     .field(e.seat())
                                     .field(NotValidFollowSuit)
                                     .field(e.position())
                                     .done(true));
            break;
        case EventKind::EmptyPlace:
            hostLog(QStringLiteral("That is not a valid card!!!"));
            break;
        case EventKind::RefusedPass:
            if (playerslot[e.seat()].connected)
                sendTo(e.seat(), MessageBuilder(cmd::notvalid)
                                     .field(e.seat())
                                     .field(NotValidMustName)
                                     .field(0)
                                     .done(true));
            break;
        }
    }
}

} // namespace euchre
