// Card shorthand, tables that ask a seat and random deals for the computer-player tests.
#pragma once

#include "model/card.h"
#include "rules/seatview.h"

#include <QtGlobal>
#include <algorithm>
#include <random>
#include <string_view>
#include <vector>

namespace playerstest {

using euchre::rules::Phase;
using euchre::rules::SeatView;
using euchre::rules::Table;
using Hand = std::array<int, 6>;

// "JH" is the jack of Hearts: rank 9 T J Q K A, suit C D S H; "-" is an empty place.
inline int card(std::string_view s) {
    if (s == "-") return 0;
    const std::string_view ranks = "9TJQKA", suits = "CDSH";
    const auto rank = s.size() == 2 ? ranks.find(s[0]) : std::string_view::npos;
    const auto suit = s.size() == 2 ? suits.find(s[1]) : std::string_view::npos;
    if (rank == std::string_view::npos || suit == std::string_view::npos)
        qFatal("bad card shorthand");
    return euchre::makeCard(int(suit) + 1, int(rank) + 8);
}

// Up to five space-separated cards into positions 1..5.
inline Hand hand(std::string_view cards) {
    Hand h{};
    int pos = 1;
    while (!cards.empty() && pos <= euchre::kHandSize) {
        const auto end = cards.find(' ');
        h[pos++] = card(cards.substr(0, end));
        cards = end == std::string_view::npos ? std::string_view{} : cards.substr(end + 1);
    }
    return h;
}

// A table where the game asks a seat in a phase, the seat holding the cards
// given. In the order-up phase `trump` is the turned card's suit (a nine
// turned); in the naming phase nothing is made yet; afterwards `trump` is
// the suit that seat made.
inline Table asking(Phase phase, int seat, int trump, std::string_view cards) {
    Table t;
    t.phase = phase;
    t.seat = seat;
    t.hand[seat] = hand(cards);
    t.trump = trump;
    t.leftbower = euchre::leftBowerOf(trump);
    if (phase == Phase::OrderUp)
        t.record.turned = euchre::makeCard(trump, 8);
    else if (phase != Phase::Naming)
        t.record.maker = seat;
    return t;
}

// Four hands of the 24 dealt cards in random order (the rest left over), a
// random trump and dealer.
struct Deal {
    std::array<Hand, 5> hands{}; // seats 1..4
    int trump = 0;
    int dealer = 0;
};

inline Deal dealRandom(std::mt19937& gen) {
    std::vector<int> deck;
    for (int suit = 1; suit <= 4; ++suit)
        for (int rank = 8; rank <= 13; ++rank) deck.push_back(euchre::makeCard(suit, rank));
    std::shuffle(deck.begin(), deck.end(), gen);
    Deal d;
    d.trump = int(gen() % 4) + 1;
    for (int s = 1; s <= euchre::kSeats; ++s)
        for (int pos = 1; pos <= euchre::kHandSize; ++pos)
            d.hands[s][pos] = deck[(s - 1) * 5 + pos - 1];
    d.dealer = int(gen() % 4) + 1;
    return d;
}

} // namespace playerstest
