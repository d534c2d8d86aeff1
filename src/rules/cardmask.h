// The deck as bit masks: a card's index 0..23, the cards of an effective
// suit, the legal plays of a hand and a card's strength in a trick. The same
// rules as isLegalPlay and trickWinner in their fast form for searches.
#pragma once

#include "model/card.h"

#include <cstdint>

namespace euchre::rules {

using CardMask = std::uint32_t; // bit i = the card with index i

constexpr int kDeckCards = 24;
constexpr CardMask kFullDeck = (CardMask(1) << kDeckCards) - 1;

// Six indices per suit in suit order, nine .. ace within a suit.
constexpr int cardIndex(int card) {
    return (naturalSuit(card) - 1) * 6 + rankInSuit(card) - 8;
}
constexpr int cardAt(int index) {
    return makeCard(index / 6 + 1, index % 6 + 8);
}
constexpr CardMask cardBit(int card) {
    return CardMask(1) << cardIndex(card);
}

// The cards whose effective suit is the given suit once trump is known: the
// left bower leaves its printed suit for trump.
constexpr CardMask suitMask(int suit, int trump) {
    if (suit < Clubs || suit > Hearts) return 0;
    CardMask mask = CardMask(0x3F) << ((suit - 1) * 6);
    if (trump < Clubs || trump > Hearts) return mask;
    const CardMask left = cardBit(leftBowerOf(trump));
    if (suit == trump) return mask | left;
    return mask & ~left;
}

// The cards of a hand that may be played to a trick with the led suit
// (NoSuit before the lead): the led suit's cards when it holds any, else all.
constexpr CardMask legalMask(CardMask hand, int ledsuit, int trump) {
    const CardMask follow = hand & suitMask(ledsuit, trump);
    return follow ? follow : hand;
}

// A card's strength in a trick: the right bower 50, the left bower 49, other
// trump 30 + rank (38..43), the led suit's cards their rank (8..13), any other card 0
// (it never wins). The highest strength in a trick takes it.
constexpr int trickStrength(int card, int trump, int ledsuit) {
    if (card == rightBower(trump)) return 50;
    if (card == leftBowerOf(trump)) return 49;
    const int suit = naturalSuit(card);
    if (suit == trump) return 30 + rankInSuit(card);
    if (suit == ledsuit) return rankInSuit(card);
    return 0;
}

// The effective suit of the card with an index.
constexpr int suitOfIndex(int index, int trump) {
    return effectiveSuit(cardAt(index), trump, leftBowerOf(trump));
}

constexpr int popCount(CardMask mask) {
    return __builtin_popcount(mask);
}

} // namespace euchre::rules
