// Shuffle: each dealt card, in suit and rank order, goes to a free random position.
#include "model/deck.h"

#include "model/card.h"
#include "model/random.h"

namespace euchre {

void Deck::shuffledeck() {
    m_cards.fill(0);
    for (int card = 1; card <= 52; ++card) {
        if (rankInSuit(card) < 8) continue; // below the nine: not in this game
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
