// Trick play: whose turn it is, following suit, the trick's winner, scoring
// each hand and deciding the game.
#include "host/tserver.h"

#include "model/card.h"
#include "net/commands.h"

namespace euchre {

void TServer::starthand() {
    resetTimer();
    for (int seat = 1; seat <= kSeats; ++seat) playerslot[seat].played = kNoCard;
    ledsuit = 0;
    sendToAll(bareMessage(cmd::clearcards));
    findnextplayer();
}

void TServer::findnextplayer() {
    resetTimer();
    discarder = dealerdue = bidder = chooser = aloner = 0;
    nextplayer = nextSeat(nextplayer);
    for (int guard = 0; guard < kSeats && playerslot[nextplayer].sitsout; ++guard)
        nextplayer = nextSeat(nextplayer);
    sendToAll(MessageBuilder(cmd::nextplayer).field(nextplayer).done(true));
    if (isComputerSeat(nextplayer)) armTimer(ActionPlay, -1);
}

bool TServer::checkforsuit(int seat) const {
    if (!isSeat(seat)) return false;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = playerslot[seat].hand[pos];
        if (card != kNoCard && effectiveSuit(card, trump, leftbower) == ledsuit) return true;
    }
    return false;
}

void TServer::hesplaying(int seat, int position) {
    if (seat != nextplayer || !isSeat(seat)) return;
    PlayerSlot& p = playerslot[seat];
    const int card = position >= 1 && position <= kHandSize ? p.hand[position] : kNoCard;
    if (card == kNoCard) {
        hostLog(QStringLiteral("That is not a valid card!!!"));
        return;
    }
    if (p.played != kNoCard) {
        hostLog(QStringLiteral("player: %1 played double! Next Player Is:%2 Timer Tag is %3")
                    .arg(seat)
                    .arg(nextplayer)
                    .arg(ctimerTag));
    }

    const int suit = effectiveSuit(card, trump, leftbower);
    const bool legal = ledsuit == 0 || suit == ledsuit || !checkforsuit(seat);
    if (!legal) {
        // Refused: nothing changes, the computer's pending move included.
        if (isComputerSeat(seat)) hostLog(QStringLiteral("computer played incorrectly"));
        if (p.connected)
            sendTo(seat, MessageBuilder(cmd::notvalid)
                             .field(seat)
                             .field(NotValidFollowSuit)
                             .field(position)
                             .done(true));
        return;
    }

    resetTimer();
    if (ledsuit == 0) ledsuit = suit;
    p.played = card;
    p.hand[position] = kNoCard;
    sendToAll(MessageBuilder(cmd::playedcard).field(seat).field(position).field(card).done(true));

    int done = 0;
    for (int s = 1; s <= kSeats; ++s)
        if (playerslot[s].played != kNoCard || playerslot[s].sitsout) ++done;
    if (done < kSeats) {
        findnextplayer();
    } else {
        nextplayer = 0;
        finishtrick();
    }
}

int TServer::thewinner() const {
    const int right = rightBower(trump);
    for (int seat = 1; seat <= kSeats; ++seat)
        if (playerslot[seat].played != kNoCard && playerslot[seat].played == right) return seat;
    for (int seat = 1; seat <= kSeats; ++seat)
        if (playerslot[seat].played != kNoCard && playerslot[seat].played == leftbower) return seat;

    auto highestOf = [this](int suit) {
        int best = 0;
        for (int seat = 1; seat <= kSeats; ++seat) {
            const int card = playerslot[seat].played;
            if (card == kNoCard || playerslot[seat].sitsout || naturalSuit(card) != suit) continue;
            if (best == 0 || card > playerslot[best].played) best = seat;
        }
        return best;
    };
    if (const int seat = highestOf(trump)) return seat;
    return highestOf(ledsuit);
}

void TServer::finishtrick() {
    nextplayer = 0;
    resetTimer();
    ++tricknumber;
    const int winner = thewinner();
    if (isSeat(winner)) ++teamrecord[teamOf(winner)].tricks;

    const QByteArray message = MessageBuilder(cmd::trickwinner)
                                   .field(winner)
                                   .field(teamrecord[1].tricks)
                                   .field(teamrecord[2].tricks)
                                   .done(true);
    for (int slot = 1; slot <= slotcount; ++slot) {
        playerslot[slot].played = kNoCard;
        if (playerslot[slot].connected) sendTo(slot, message);
    }
    ledsuit = 0;

    if (tricknumber > kHandSize) {
        tallyscore();
        return;
    }
    // The winner leads after the pause; until then no seat is to play.
    nextleaderbefore = winner <= 1 ? kSeats : winner - 1;
    armTimer(ActionNextTrick, -3);
}

void TServer::tallyscore() {
    const int making = teamrecord[1].makers ? 1 : 2;
    const int other = 3 - making;
    const int taken = teamrecord[making].tricks;
    bool loner = false;
    for (int seat = 1; seat <= kSeats; ++seat)
        if (teamOf(seat) == making && playerslot[seat].alone) loner = true;

    std::array<int, 3> points{};
    if (taken == kHandSize)
        points[making] = loner ? 4 : 2;
    else if (taken >= 3)
        points[making] = 1;
    else
        points[other] = 2; // euchred

    teamrecord[1].score += points[1];
    teamrecord[2].score += points[2];
    sendToAll(MessageBuilder(cmd::score)
                  .field(making)
                  .field(teamrecord[1].score)
                  .field(points[1])
                  .field(teamrecord[2].score)
                  .field(points[2])
                  .done(true));

    if (teamrecord[1].score < playto && teamrecord[2].score < playto) {
        armTimer(ActionNextDeal, -10);
        return;
    }
    gameon = false;
    const int winningTeam = teamrecord[1].score > teamrecord[2].score ? 1 : 2;
    sendToAll(MessageBuilder(cmd::thewinner).field(winningTeam).done(true));
}

} // namespace euchre
