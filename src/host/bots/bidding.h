// The computer seat's decisions before the first trick: order up or pass,
// name a suit or pass, go alone or not, and the dealer's discard. Each reads
// only what the seat may see of the table: its own hand, trump, the dealer
// and the turned-down suit.
#pragma once

#include "host/bots/tableview.h"
#include "model/card.h"
#include "rules/table.h"

namespace euchre::bots {

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

// Order-up phase: BubbleAccept or BubblePass.
int bidDecision(const rules::Table& table, int seat);
int bidDecision(const TableView& view, int seat);

// Naming phase: BubbleClubs .. BubbleHearts, or BubbleNamePass.
int chooseDecision(const rules::Table& table, int seat);
int chooseDecision(const TableView& view, int seat);

// The maker's question: BubbleAlone or BubbleWithPartner.
int aloneDecision(const rules::Table& table, int seat);
int aloneDecision(const TableView& view, int seat);

// The dealer's discard after the turned card was accepted: hand position 1..5.
int discardPosition(const rules::Table& table, int seat);
int discardPosition(const TableView& view, int seat);

} // namespace euchre::bots
