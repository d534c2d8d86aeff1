// Card shorthand, table set-ups and random deals for the computer-player tests.
#pragma once

#include "host/bots/tableview.h"
#include "model/card.h"

#include <QtGlobal>
#include <algorithm>
#include <random>
#include <string_view>
#include <vector>

namespace botstest {

using euchre::bots::TableView;
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

inline TableView table(int trump) {
    TableView v;
    v.trump = trump;
    v.leftbower = euchre::leftBowerOf(trump);
    for (int s = 1; s <= euchre::kSeats; ++s) v.seat[s].partner = euchre::partnerOf(s);
    return v;
}

// The 24 dealt cards in random order, five to each seat; the rest is left over.
inline TableView dealRandom(std::mt19937& gen) {
    std::vector<int> deck;
    for (int suit = 1; suit <= 4; ++suit)
        for (int rank = 8; rank <= 13; ++rank) deck.push_back(euchre::makeCard(suit, rank));
    std::shuffle(deck.begin(), deck.end(), gen);
    TableView v = table(int(gen() % 4) + 1);
    for (int s = 1; s <= euchre::kSeats; ++s)
        for (int pos = 1; pos <= euchre::kHandSize; ++pos)
            v.seat[s].hand[pos] = deck[(s - 1) * 5 + pos - 1];
    v.dealer = int(gen() % 4) + 1;
    return v;
}

} // namespace botstest
