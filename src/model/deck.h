// The 24-card deck, read by position during a deal.
#pragma once

#include <array>

namespace euchre {

class Deck {
public:
    static constexpr int kSize = 24;
    static constexpr int kTurnedPosition = 21;

    // Puts the 24 dealt cards (nine to ace of each suit) into random positions.
    void shuffledeck();

    // Card at a position 1..24; 0 for any other position.
    int deckcard(int position) const {
        return position >= 1 && position <= kSize ? m_cards[position] : 0;
    }

    // Lays the deck out as given (positions 1..24), for replaying a known deal.
    void setCards(const std::array<int, kSize>& cards);

    bool operator==(const Deck&) const = default;

private:
    std::array<int, kSize + 1> m_cards{};
};

} // namespace euchre
