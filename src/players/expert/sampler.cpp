// Consistent deals: the hidden cards go to the seats that may still hold
// them, either every such deal when there are few or a random selection.
#include "players/expert/sampler.h"

#include "model/card.h"

#include <algorithm>

namespace euchre::players::expert {

using rules::cardBit;
using rules::cardIndex;
using rules::kFullDeck;
using rules::popCount;
using rules::suitMask;

Sampler::Sampler(const SeatView& view) {
    const int me = view.seat() - 1;
    CardMask known = 0;
    for (int pos = 1; pos <= 5; ++pos)
        if (view.hand()[pos]) m_base[me] |= cardBit(view.hand()[pos]);
    known |= m_base[me];
    if (view.discard()) known |= cardBit(view.discard());
    if (view.turned()) known |= cardBit(view.turned());

    std::array<int, 4> played{};
    CardMask playedMask = 0;
    for (int i = 0; i < view.playCount(); ++i) {
        ++played[view.play(i).seat - 1];
        playedMask |= cardBit(view.play(i).card);
    }
    known |= playedMask;
    // The suits each seat has shown out of, as masks of their cards.
    std::array<CardMask, 4> voids{};
    for (int seat = 0; seat < 4; ++seat)
        for (int suit = Clubs; suit <= Hearts; ++suit)
            if (view.voids(seat + 1) >> suit & 1) voids[seat] |= suitMask(suit, view.trump());

    // The dealer keeps an ordered-up turned card until playing it; a dealer
    // who sits out keeps it out of play.
    const int dealer = view.dealer() - 1;
    const int sitout = view.loner() ? (view.loner() + 1) % 4 : -1; // the loner's partner
    const bool turnedWithDealer = view.orderedUp() && view.discarded() && dealer != me &&
                                  dealer != sitout && view.turned() &&
                                  !(playedMask & cardBit(view.turned()));
    if (turnedWithDealer) m_base[dealer] |= cardBit(view.turned());

    m_unknownMask = kFullDeck & ~known;
    int hidden = popCount(m_unknownMask);
    for (int seat = 0; seat < 4; ++seat) {
        if (seat == me || seat == sitout) continue;
        m_need[seat] = 5 - played[seat] - (seat == dealer && turnedWithDealer ? 1 : 0);
        hidden -= m_need[seat];
    }
    m_need[4] = std::max(hidden, 0);

    for (CardMask m = m_unknownMask; m; m &= m - 1) m_cards.push_back(__builtin_ctz(m));
    m_allowed.assign(24, 0);
    for (const int card : m_cards) {
        std::uint8_t allowed = 1 << 4;
        for (int seat = 0; seat < 4; ++seat)
            if (m_need[seat] > 0 && !(voids[seat] >> card & 1)) allowed |= std::uint8_t(1 << seat);
        m_allowed[card] = allowed;
    }
    std::stable_sort(m_cards.begin(), m_cards.end(),
                     [&](int a, int b) { return popCount(m_allowed[a]) < popCount(m_allowed[b]); });
}

bool Sampler::enumerate(int at, std::vector<Sample>& out, int limit) {
    if (at == int(m_cards.size())) {
        Sample s = m_base;
        for (std::size_t i = 0; i < m_cards.size(); ++i)
            if (m_where[i] < 4) s[m_where[i]] |= CardMask(1) << m_cards[i];
        out.push_back(s);
        return int(out.size()) <= limit;
    }
    const int card = m_cards[at];
    for (int h = 0; h < kHolders; ++h) {
        if (!(m_allowed[card] >> h & 1) || m_left[h] == 0) continue;
        --m_left[h];
        m_where[at] = h;
        const bool more = enumerate(at + 1, out, limit);
        ++m_left[h];
        if (!more) return false;
    }
    return true;
}

bool Sampler::randomDeal(Draws& draws, Sample& out) {
    m_left = m_need;
    for (std::size_t i = 0; i < m_cards.size(); ++i) {
        const int card = m_cards[i];
        int total = 0;
        for (int h = 0; h < kHolders; ++h)
            if (m_allowed[card] >> h & 1) total += m_left[h];
        if (total == 0) return false;
        int pick = draws.below(total);
        int h = 0;
        for (;; ++h) {
            if (!(m_allowed[card] >> h & 1)) continue;
            if (pick < m_left[h]) break;
            pick -= m_left[h];
        }
        --m_left[h];
        m_where[i] = h;
    }
    out = m_base;
    for (std::size_t i = 0; i < m_cards.size(); ++i)
        if (m_where[i] < 4) out[m_where[i]] |= CardMask(1) << m_cards[i];
    return true;
}

// A depth-first search in a random holder order, for the rare hands where
// the shown-out suits make the quick draw fail again and again.
bool Sampler::searchDeal(int at, Draws& draws) {
    if (at == int(m_cards.size())) return true;
    const int card = m_cards[at];
    const int first = draws.below(kHolders);
    for (int k = 0; k < kHolders; ++k) {
        const int h = (first + k) % kHolders;
        if (!(m_allowed[card] >> h & 1) || m_left[h] == 0) continue;
        --m_left[h];
        m_where[at] = h;
        if (searchDeal(at + 1, draws)) return true;
        ++m_left[h];
    }
    return false;
}

std::vector<Sample> Sampler::draw(int limit, std::uint64_t seed) {
    std::vector<Sample> out;
    m_left = m_need;
    m_exhaustive = enumerate(0, out, limit);
    if (m_exhaustive) return out;
    out.clear();
    Draws draws(seed);
    Sample s;
    while (int(out.size()) < limit) {
        bool ok = false;
        for (int attempt = 0; attempt < 20 && !ok; ++attempt) ok = randomDeal(draws, s);
        if (!ok) {
            m_left = m_need;
            if (!searchDeal(0, draws)) break; // nothing fits: the view contradicts itself
            s = m_base;
            for (std::size_t i = 0; i < m_cards.size(); ++i)
                if (m_where[i] < 4) s[m_where[i]] |= CardMask(1) << m_cards[i];
        }
        out.push_back(s);
    }
    return out;
}

} // namespace euchre::players::expert
