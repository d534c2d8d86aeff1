// The rules of a hand as pure functions: following suit, the trick's winner,
// the next seat in play and the end of a game (a hand's points depend on
// the house rules: rules/ruleset.h).
#pragma once

#include "model/card.h"
#include "rules/table.h"

#include <array>

namespace euchre::rules {

// Whether the hand holds a card whose effective suit is the given suit.
constexpr bool holdsSuit(const Hand& hand, int suit, int trump, int leftbower) {
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (hand[pos] != kNoCard && effectiveSuit(hand[pos], trump, leftbower) == suit) return true;
    return false;
}

// Whether the card at a hand position may be played: it is there, and it
// follows the led suit or the hand holds none of that suit. Nothing led yet
// (ledsuit 0) leaves every card free.
constexpr bool isLegalPlay(const Hand& hand, int position, int ledsuit, int trump, int leftbower) {
    if (position < 1 || position > kHandSize || hand[position] == kNoCard) return false;
    if (ledsuit == NoSuit || effectiveSuit(hand[position], trump, leftbower) == ledsuit)
        return true;
    return !holdsSuit(hand, ledsuit, trump, leftbower);
}

// The seat that wins a trick: the right bower, then the left bower, then the
// highest trump, then the highest card of the led suit. Seats that sit out
// never count; 0 when no seat qualifies.
constexpr int trickWinner(const std::array<int, 5>& played, const std::array<bool, 5>& sitsout,
                          int trump, int leftbower, int ledsuit) {
    const int right = rightBower(trump);
    for (int seat = 1; seat <= kSeats; ++seat)
        if (played[seat] != kNoCard && played[seat] == right) return seat;
    for (int seat = 1; seat <= kSeats; ++seat)
        if (played[seat] != kNoCard && played[seat] == leftbower) return seat;
    for (const int suit : {trump, ledsuit}) {
        int best = 0;
        for (int seat = 1; seat <= kSeats; ++seat) {
            const int card = played[seat];
            if (card == kNoCard || sitsout[seat] || naturalSuit(card) != suit) continue;
            if (best == 0 || card > played[best]) best = seat;
        }
        if (best != 0) return best;
    }
    return 0;
}

// The seat after the given one that is in play this hand.
constexpr int nextInPlay(int seat, const std::array<bool, 5>& sitsout) {
    int next = nextSeat(seat);
    for (int guard = 0; guard < kSeats && sitsout[next]; ++guard) next = nextSeat(next);
    return next;
}

// A game ends when either team has reached the play-to score.
constexpr bool gameDecided(int score1, int score2, int playto) {
    return score1 >= playto || score2 >= playto;
}

// Only one team scores in a hand, so the scores of a decided game differ.
constexpr int winningTeam(int score1, int score2) {
    return score1 > score2 ? 1 : 2;
}

} // namespace euchre::rules
