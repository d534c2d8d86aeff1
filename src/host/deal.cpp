// Starting a game, dealing, the order-up and naming phases, going alone and
// the dealer's discard.
#include "host/tserver.h"

#include "model/card.h"
#include "net/commands.h"

namespace euchre {

namespace {
constexpr int kFirstDealerDue = 6; // the first dealer search steps past 4 to seat 1
constexpr int kMaxPlayTo = 1000000;
} // namespace

void TServer::startgame(QByteArrayView args) {
    FieldReader fields(args);
    const QByteArrayView name = fields.text();
    const std::optional<int> target = fields.number(1, kMaxPlayTo);
    // A play-to score that is not a number leaves everything as it was.
    if (!target) {
        hostLog(QStringLiteral("not starting a game: bad play-to score"));
        return;
    }
    gameon = true;
    resetTimer();
    playto = *target;
    sendToAll(MessageBuilder(cmd::startgame).field(name).field(playto).done(true));

    for (int seat = 1; seat <= kSeats; ++seat) playerslot[seat].watching = false;
    for (int team = 1; team <= 2; ++team) teamrecord[team] = TeamRecord{};
    makerseat = 0;

    dealerdue = kFirstDealerDue;
    startround();
}

void TServer::startround() {
    resetTimer();
    for (int seat = 1; seat <= kSeats; ++seat) {
        PlayerSlot& p = playerslot[seat];
        p.hand.fill(kNoCard);
        p.sitsout = false;
        p.alone = false;
        p.played = kNoCard;
    }
    teamrecord[1].tricks = 0;
    teamrecord[2].tricks = 0;
    refusedsuit = trump = dealer = bidder = chooser = nextplayer = discarder = aloner = 0;
    orderedup = false;
    tricknumber = 1;
    // Nothing of an interrupted hand may reach the new one.
    ledsuit = 0;
    nextleaderbefore = 0;
    finddealer();
}

void TServer::finddealer() {
    resetTimer();
    bidder = chooser = nextplayer = aloner = discarder = 0;
    dealerdue = dealerdue >= kSeats ? 1 : dealerdue + 1;
    dealer = dealerdue;
    sendToAll(MessageBuilder(cmd::dealer).field(dealer).done(true));
    dealtype(dealer, 0);
}

void TServer::dealtype(int seat, int packetOrder) {
    if (seat != dealerdue) return;
    resetTimer();
    deckpos = 0;
    thedeck.shuffledeck();

    const int first = packetOrder == 0 ? 2 : 3;
    for (int seatServed = 1; seatServed <= kSeats; ++seatServed)
        for (int pos = 1; pos <= first; ++pos)
            playerslot[seatServed].hand[pos] = thedeck.deckcard(++deckpos);
    for (int seatServed = 1; seatServed <= kSeats; ++seatServed)
        for (int pos = first + 1; pos <= kHandSize; ++pos)
            playerslot[seatServed].hand[pos] = thedeck.deckcard(++deckpos);

    for (int shown = 1; shown <= kSeats; ++shown) {
        MessageBuilder real(cmd::placecard);
        MessageBuilder hidden(cmd::placecard);
        real.field(shown);
        hidden.field(shown);
        for (int pos = 1; pos <= kHandSize; ++pos) {
            real.field(pos).field(playerslot[shown].hand[pos]);
            hidden.field(pos).field(kNoCard);
        }
        const QByteArray toOwner = real.done(false);
        const QByteArray toOthers = hidden.done(false);
        for (int slot = 1; slot <= slotcount; ++slot)
            if (playerslot[slot].connected) sendTo(slot, slot == shown ? toOwner : toOthers);
    }

    const int turned = thedeck.deckcard(++deckpos);
    trump = naturalSuit(turned);
    leftbower = leftBowerOf(trump);
    sendToAll(MessageBuilder(cmd::settrump).field(turned).done(true));

    dealerdue = 0;
    bidder = dealer;
    firstasked = 0;
    findbidder();
}

void TServer::findbidder() {
    resetTimer();
    discarder = dealerdue = chooser = nextplayer = aloner = 0;
    bidder = nextSeat(bidder);
    if (bidder == firstasked) {
        // Everyone passed the turned card: the naming phase starts left of the dealer.
        bidder = firstasked = 0;
        refusedsuit = trump;
        chooser = dealer;
        findchooser();
        return;
    }
    if (firstasked == 0) firstasked = bidder;
    sendToAll(MessageBuilder(cmd::bidder).field(bidder).done(true));
    if (isComputerSeat(bidder)) armTimer(ActionBid, -1);
}

void TServer::bidtype(int seat, int code) {
    if (seat != bidder || seat == 0) return;
    if (code != BubbleAccept && code != BubblePass) return;
    resetTimer();
    if (code == BubblePass) {
        sendToAll(MessageBuilder(cmd::hepassed).field(seat).done(true));
        findbidder();
        return;
    }
    sendToAll(MessageBuilder(cmd::heaccepted).field(seat).done(true));
    sendToAll(MessageBuilder(cmd::trumpchoosen).field(seat).field(trump).done(true));
    bidder = 0;
    teamrecord[teamOf(seat)].makers = true;
    teamrecord[3 - teamOf(seat)].makers = false;
    makerseat = seat;
    orderedup = true;
    findaloner(seat);
}

void TServer::findchooser() {
    resetTimer();
    discarder = dealerdue = bidder = nextplayer = aloner = 0;
    chooser = nextSeat(chooser);
    if (chooser == firstasked) {
        // Everyone passed twice: the cards are thrown in and the next seat deals.
        dealerdue = dealer;
        startround();
        return;
    }
    if (firstasked == 0) firstasked = chooser;
    sendToAll(MessageBuilder(cmd::chooser).field(chooser).field(trump).done(true));
    if (isComputerSeat(chooser)) armTimer(ActionChoose, -1);
}

void TServer::choosetype(int seat, int code) {
    if (seat != chooser || seat == 0) return;
    const bool names = code >= BubbleClubs && code <= BubbleHearts;
    if (!names && code != BubbleNamePass) return;
    resetTimer();
    if (!names) {
        sendToAll(MessageBuilder(cmd::hepassed).field(seat).done(true));
        findchooser();
        return;
    }
    chooser = 0;
    trump = code - 2;
    leftbower = leftBowerOf(trump);
    sendToAll(MessageBuilder(cmd::trumpchoosen).field(seat).field(trump).done(true));
    teamrecord[teamOf(seat)].makers = true;
    teamrecord[3 - teamOf(seat)].makers = false;
    makerseat = seat;
    findaloner(seat);
}

void TServer::selectedbubble(QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> seat = fields.number(1, kSeats);
    const std::optional<int> code = fields.number(1, BubbleNamePass);
    if (!seat || !code) return;

    if (*code >= BubbleClubs && *code <= BubbleHearts && *code - 2 == refusedsuit) {
        if (playerslot[*seat].connected)
            sendTo(*seat, MessageBuilder(cmd::notvalid)
                              .field(*seat)
                              .field(NotValidTrump)
                              .field(0)
                              .done(true));
        return;
    }
    switch (*code) {
    case BubbleAccept:
    case BubblePass:
        bidtype(*seat, *code);
        break;
    case BubbleClubs:
    case BubbleDiamonds:
    case BubbleSpades:
    case BubbleHearts:
    case BubbleNamePass:
        choosetype(*seat, *code);
        break;
    case BubbleAlone:
    case BubbleWithPartner:
        alonetype(*seat, *code);
        break;
    default:
        break;
    }
}

void TServer::findaloner(int seat) {
    resetTimer();
    dealerdue = bidder = chooser = nextplayer = discarder = 0;
    aloner = seat;
    sendToAll(MessageBuilder(cmd::aloner).field(seat).done(true));
    if (isComputerSeat(seat)) armTimer(ActionAlone, -1);
}

void TServer::alonetype(int seat, int code) {
    if (seat != aloner || seat == 0) return;
    if (code != BubbleAlone && code != BubbleWithPartner) return;
    resetTimer();
    aloner = 0;
    if (code == BubbleAlone) {
        playerslot[seat].alone = true;
        playerslot[playerslot[seat].partner].sitsout = true;
    }
    sendToAll(MessageBuilder(cmd::goingalone).field(seat).field(code).done(true));

    if (orderedup) {
        // The dealer picks up the turned card, also when sitting this hand out.
        discarder = dealer;
        sendToAll(MessageBuilder(cmd::discarder).field(discarder).done(true));
        if (isComputerSeat(discarder)) armTimer(ActionDiscard, -1);
        return;
    }
    nextplayer = dealer;
    starthand();
}

void TServer::playcard(QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> seat = fields.number(1, kSeats);
    const std::optional<int> position = fields.number(1, kHandSize);
    // A position outside the hand is refused before anything is looked up.
    if (!seat || !position) return;

    if (*seat == discarder) {
        resetTimer();
        hesdiscarding(*seat, *position);
    } else if (*seat == nextplayer) {
        hesplaying(*seat, *position);
    }
}

void TServer::hesdiscarding(int seat, int position) {
    if (position < 1 || position > kHandSize) return;
    discarder = 0;
    const int turned = thedeck.deckcard(deckpos);
    playerslot[seat].hand[position] = turned;
    if (playerslot[seat].connected)
        sendTo(
            seat,
            MessageBuilder(cmd::switchcard).field(seat).field(position).field(turned).done(true));

    nextplayer = dealer;
    for (int s = 1; s <= kSeats; ++s)
        if (playerslot[s].alone) nextplayer = s;
    starthand();
}

} // namespace euchre
