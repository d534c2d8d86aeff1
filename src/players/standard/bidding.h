// The standard computer player's decisions before the first trick: order up
// or pass, name a suit or pass, go alone or not, and the dealer's discard.
// Each reads the deciding seat's view: its own hand, the turned card, trump,
// the dealer and the turned-down suit.
#pragma once

#include "model/card.h"
#include "rules/seatview.h"

namespace euchre::players::standard {

// Strength of one card while the turned card's suit is trump (0 for an empty place).
constexpr int bidPoints(int card, int trump, int leftbower) {
    if (!isCard(card)) return 0;
    const int key = rankKey(card);
    if (isTrumpCard(card, trump, leftbower)) {
        if (key == JackKey || key == KingKey) return 100;
        if (key == QueenKey) return 50;
        return 25; // ace, ten, nine: the ace's key 0 puts it with the small cards
    }
    return key == KingKey ? 50 : 25;
}

// Order-up phase, the turned card's suit as trump: BubbleAccept or BubblePass.
int bidDecision(const rules::SeatView& view);

// Naming phase: BubbleClubs .. BubbleHearts, or BubbleNamePass.
int chooseDecision(const rules::SeatView& view);

// The maker's question: BubbleAlone or BubbleWithPartner.
int aloneDecision(const rules::SeatView& view);

// The dealer's discard after the turned card was accepted: hand position 1..5.
int discardPosition(const rules::SeatView& view);

} // namespace euchre::players::standard
