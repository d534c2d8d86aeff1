// Shuffle: each dealt card, in suit and rank order, goes to a free random position.
#include "model/deck.h"

#include "model/card.h"
#include "model/random.h"

namespace euchre {

namespace {
// The dealt cards in the order they are placed: nine to ace of Clubs, then
// of Diamonds, Spades and Hearts.
constexpr std::array<int, Deck::kSize> kPlacingOrder = [] {
    std::array<int, Deck::kSize> cards{};
    int i = 0;
    for (int card = 1; card <= 52; ++card)
        if (rankInSuit(card) >= 8) cards[i++] = card; // below the nine: not in this game
    return cards;
}();
} // namespace

void Deck::shuffledeck() {
    m_cards.fill(0);
    for (const int card : kPlacingOrder) {
        int position;
        do {
            position = rng::from1to(kSize);
        } while (m_cards[position] != 0);
        m_cards[position] = card;
    }
}

void Deck::setCards(const std::array<int, kSize>& cards) {
    m_cards[0] = 0;
    for (int i = 0; i < kSize; ++i) m_cards[i + 1] = cards[i];
}

} // namespace euchre
