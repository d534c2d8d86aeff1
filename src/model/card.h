// Card, suit, seat and team numbers, and the rules that judge a card once trump is known.
#pragma once

#include <array>

namespace euchre {

// Suit numbers as they travel on the wire; 0 means none yet.
enum Suit : int { NoSuit = 0, Clubs = 1, Diamonds = 2, Spades = 3, Hearts = 4 };

constexpr int kNoCard = 0;
constexpr int kSeats = 4;
constexpr int kHandSize = 5;

// Rank key (card number modulo 13) of the dealt ranks; the ace's key is 0.
enum RankKey : int {
    AceKey = 0,
    NineKey = 8,
    TenKey = 9,
    JackKey = 10,
    QueenKey = 11,
    KingKey = 12
};

// Natural suit of a card 1..52 by its range; anything else has no suit.
// Looked up in a table built from the ranges: this is asked for every card
// of every trick.
inline constexpr std::array<unsigned char, 53> kNaturalSuit = [] {
    std::array<unsigned char, 53> suits{};
    for (int card = 1; card <= 52; ++card)
        suits[card] = card <= 13 ? 1 : card <= 26 ? 2 : card <= 39 ? 3 : 4;
    return suits;
}();

constexpr int naturalSuit(int card) {
    return static_cast<unsigned>(card) <= 52u ? int{kNaturalSuit[card]} : int{NoSuit};
}

constexpr bool isCard(int card) {
    return card >= 1 && card <= 52;
}

// Card number of a suit and a rank 1 (two) .. 13 (ace).
constexpr int makeCard(int suit, int rank) {
    return (suit - 1) * 13 + rank;
}

constexpr int rankKey(int card) {
    return card % 13;
}

// Rank within the suit, 1 (two) .. 13 (ace); higher is better.
constexpr int rankInSuit(int card) {
    return card - 13 * (naturalSuit(card) - 1);
}

constexpr bool isJack(int card) {
    return isCard(card) && rankKey(card) == JackKey;
}

// The other suit of the same colour: Clubs with Spades, Diamonds with Hearts.
constexpr int sameColourSuit(int suit) {
    switch (suit) {
    case Clubs:
        return Spades;
    case Spades:
        return Clubs;
    case Diamonds:
        return Hearts;
    case Hearts:
        return Diamonds;
    default:
        return NoSuit;
    }
}

// The jack of trump.
constexpr int rightBower(int trump) {
    return trump >= 1 && trump <= 4 ? makeCard(trump, 10) : 0;
}

// The jack of the same-colour suit, which counts as trump.
constexpr int leftBowerOf(int trump) {
    return trump >= 1 && trump <= 4 ? makeCard(sameColourSuit(trump), 10) : 0;
}

// The suit a card plays as: its natural suit, except that the left bower is trump.
constexpr int effectiveSuit(int card, int trump, int leftbower) {
    if (card != kNoCard && card == leftbower) return trump;
    return naturalSuit(card);
}

constexpr bool isTrumpCard(int card, int trump, int leftbower) {
    return trump != NoSuit && card != kNoCard && effectiveSuit(card, trump, leftbower) == trump;
}

constexpr bool isSeat(int seat) {
    return seat >= 1 && seat <= kSeats;
}
constexpr int nextSeat(int seat) {
    return seat >= kSeats ? 1 : seat + 1;
}
constexpr int partnerOf(int seat) {
    return isSeat(seat) ? (seat + 1) % 4 + 1 : 0;
}
constexpr int teamOf(int seat) {
    return seat == 1 || seat == 3 ? 1 : (seat == 2 || seat == 4 ? 2 : 0);
}

// Name of a suit as shown on the table ("Clubs" .. "Hearts"); empty for none.
const char* suitName(int suit);

// Team names as shown on the table: 1 "Tan", 2 "Blue".
const char* teamName(int team);

} // namespace euchre
