// Shuffle: each dealt card, in suit and rank order, goes to a free random position.
#include "model/deck.h"

#include "model/card.h"
#include "model/random.h"

#include <cstdint>

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
    // Draw positions until each card in turn finds a free one. Written without
    // a branch on "free", which is as good as random: each draw records its
    // position as the place of the card being placed, and only a free one
    // moves on to the next card. Marking a taken place again changes nothing.
    std::array<int, kSize> place{};
    std::uint32_t taken = 1; // position 0 is never drawn
    int placed = 0;
    while (placed < kSize) {
        const int position = rng::from1to(kSize);
        const auto isFree = static_cast<int>(~taken >> position & 1u);
        taken |= 1u << position;
        place[placed] = position;
        placed += isFree;
    }
    for (int i = 0; i < kSize; ++i) m_cards[place[i]] = kPlacingOrder[i];
    m_cards[0] = 0;
}

void Deck::setCards(const std::array<int, kSize>& cards) {
    m_cards[0] = 0;
    for (int i = 0; i < kSize; ++i) m_cards[i + 1] = cards[i];
}

} // namespace euchre
