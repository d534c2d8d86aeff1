// Alpha-beta over the card play on bit masks; positions at the start of a
// trick go into a table keyed by every hand and the leader.
#include "players/expert/solver.h"

#include <algorithm>

namespace euchre::players::expert {

using rules::cardAt;
using rules::legalMask;
using rules::popCount;
using rules::suitMask;
using rules::trickStrength;

namespace {

constexpr int kTableBits = 15;
constexpr std::size_t kTableSize = std::size_t(1) << kTableBits;

// Strength of every card for every trump and led suit, and each effective
// suit's cards from weakest to strongest.
struct Tables {
    std::int8_t strength[5][5 * 24]{};
    std::int8_t order[5][5][8]{}; // trump, suit: card indices, weakest first, -1 after the last
    int orderSize[5][5]{};

    Tables() {
        for (int trump = 1; trump <= 4; ++trump) {
            for (int led = 0; led <= 4; ++led)
                for (int i = 0; i < 24; ++i)
                    strength[trump][led * 24 + i] =
                        std::int8_t(trickStrength(cardAt(i), trump, led));
            for (int suit = 1; suit <= 4; ++suit) {
                int n = 0;
                for (int i = 0; i < 24; ++i)
                    if (suitMask(suit, trump) >> i & 1) order[trump][suit][n++] = std::int8_t(i);
                std::sort(&order[trump][suit][0], &order[trump][suit][n], [&](int a, int b) {
                    return trickStrength(cardAt(a), trump, suit) <
                           trickStrength(cardAt(b), trump, suit);
                });
                orderSize[trump][suit] = n;
            }
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

int effectiveSuitOf(int card, int trump) {
    for (int suit = 1; suit <= 4; ++suit)
        if (suitMask(suit, trump) >> card & 1) return suit;
    return 0;
}

std::size_t slot(const std::array<CardMask, 4>& h, int turn) {
    std::uint64_t key = (std::uint64_t(h[0]) << 24 | h[1]) * 0x9E3779B97F4A7C15ULL;
    key ^= (std::uint64_t(h[2]) << 24 | h[3]) * 0xC2B2AE3D27D4EB4FULL;
    key ^= std::uint64_t(turn) * 0x165667B19E3779F9ULL;
    key ^= key >> 29;
    return std::size_t(key >> (64 - kTableBits));
}

} // namespace

Solver::Solver() : m_table(kTableSize) {
    tables();
}

void Solver::load(const Deal& deal) {
    // Stored positions hold for one trump, maker and loner; another set of
    // them starts a fresh generation, which makes every entry stale at once.
    if (m_generation == 0 || deal.trump != m_trump || deal.sitout != m_sitout ||
        deal.makerTeam != m_makerTeam) {
        if (++m_generation == 0) {
            std::fill(m_table.begin(), m_table.end(), Entry{});
            m_generation = 1;
        }
    }
    m_hands = deal.hands;
    m_trump = deal.trump;
    m_sitout = deal.sitout;
    m_makerTeam = deal.makerTeam;
    m_players = deal.sitout >= 0 ? 3 : 4;
    m_strength = tables().strength[m_trump];
    m_turn = deal.turn;
    m_led = deal.ledsuit;
    m_count = 0;
    m_winner = -1;
    m_best = -1;
    m_inTrick = 0;
    for (int seat = 0; seat < 4; ++seat) {
        const int card = deal.trick[seat];
        if (card < 0) continue;
        ++m_count;
        m_inTrick |= CardMask(1) << card;
        const int s = m_strength[m_led * 24 + card];
        if (s > m_best) {
            m_best = s;
            m_winner = seat;
        }
    }
}

int Solver::solve(const Deal& deal) {
    load(deal);
    return search(-1, 6);
}

int Solver::solveAfter(const Deal& deal, int card) {
    load(deal);
    const auto hands = m_hands;
    const int turn = m_turn, count = m_count, led = m_led, winner = m_winner, best = m_best;
    const CardMask inTrick = m_inTrick;
    play(card);
    int value = 0;
    if (trickDone()) {
        const int won = (m_winner & 1) == m_makerTeam;
        m_turn = m_winner;
        m_count = 0;
        m_led = 0;
        m_winner = m_best = -1;
        m_inTrick = 0;
        value = won + search(-1, 6);
    } else {
        value = search(-1, 6);
    }
    m_hands = hands;
    m_turn = turn, m_count = count, m_led = led, m_winner = winner, m_best = best;
    m_inTrick = inTrick;
    return value;
}

// One card of each run of a hand's legal cards that are worth the same:
// walking each suit weakest first, a card another seat holds (or that lies in
// the trick) splits the runs.
CardMask Solver::distinct(CardMask legal, CardMask live, int trump) {
    const Tables& t = tables();
    CardMask out = 0;
    for (int suit = 1; suit <= 4; ++suit) {
        if (!(legal & suitMask(suit, trump))) continue;
        bool inRun = false;
        for (int k = 0; k < t.orderSize[trump][suit]; ++k) {
            const CardMask bit = CardMask(1) << t.order[trump][suit][k];
            if (!(live & bit)) continue;
            if (legal & bit) {
                if (!inRun) out |= bit;
                inRun = true;
            } else {
                inRun = false;
            }
        }
    }
    return out;
}

CardMask Solver::distinctMoves(const Deal& deal) {
    CardMask live = 0;
    for (const CardMask h : deal.hands) live |= h;
    for (const int card : deal.trick)
        if (card >= 0) live |= CardMask(1) << card;
    return distinct(legalMask(deal.hands[deal.turn], deal.ledsuit, deal.trump), live, deal.trump);
}

void Solver::play(int card) {
    const CardMask bit = CardMask(1) << card;
    m_hands[m_turn] &= ~bit;
    m_inTrick |= bit;
    if (m_count == 0) m_led = effectiveSuitOf(card, m_trump);
    const int s = m_strength[m_led * 24 + card];
    if (s > m_best) {
        m_best = s;
        m_winner = m_turn;
    }
    ++m_count;
    if (!trickDone()) {
        m_turn = (m_turn + 1) & 3;
        if (m_turn == m_sitout) m_turn = (m_turn + 1) & 3;
    }
}

// The seat's distinct legal cards in the order worth trying first: a
// card that takes the trick over a winning opponent (lowest such first),
// then the rest from the lowest; a leader tries its strongest cards first.
int Solver::moves(int seat, int* out) const {
    CardMask live = m_inTrick;
    for (const CardMask h : m_hands) live |= h;
    const CardMask candidates =
        distinct(legalMask(m_hands[seat], m_count ? m_led : 0, m_trump), live, m_trump);
    int n = 0;
    int key[8];
    for (CardMask m = candidates; m; m &= m - 1) {
        const int card = __builtin_ctz(m);
        int k;
        if (m_count == 0) {
            k = -m_strength[effectiveSuitOf(card, m_trump) * 24 + card];
        } else {
            const int s = m_strength[m_led * 24 + card];
            const bool partnerWins = ((m_winner ^ seat) & 1) == 0;
            if (!partnerWins && s > m_best)
                k = s - 100; // cheapest winner first
            else
                k = s;
        }
        int i = n++;
        while (i > 0 && key[i - 1] > k) {
            key[i] = key[i - 1];
            out[i] = out[i - 1];
            --i;
        }
        key[i] = k;
        out[i] = card;
    }
    return n;
}

int Solver::search(int alpha, int beta) {
    ++m_nodes;
    Entry* entry = nullptr;
    int alpha0 = alpha, beta0 = beta;
    if (m_count == 0) {
        const int remaining = popCount(m_hands[m_turn]);
        if (remaining == 0) return 0;
        if (alpha >= remaining) return remaining;
        if (beta <= 0) return 0;
        entry = &m_table[slot(m_hands, m_turn)];
        if (entry->generation == m_generation && entry->turn == m_turn && entry->hands == m_hands) {
            if (entry->lower >= beta) return entry->lower;
            if (entry->upper <= alpha) return entry->upper;
            if (entry->lower == entry->upper) return entry->lower;
            alpha = std::max(alpha, int(entry->lower));
            beta = std::min(beta, int(entry->upper));
        }
        alpha0 = alpha;
        beta0 = beta;
    }

    const int seat = m_turn;
    const bool maximise = (seat & 1) == m_makerTeam;
    int list[8];
    const int n = moves(seat, list);
    int best = maximise ? -1 : 99;

    const auto hands = m_hands;
    const int count = m_count, led = m_led, winner = m_winner, strongest = m_best;
    const CardMask inTrick = m_inTrick;
    for (int i = 0; i < n; ++i) {
        play(list[i]);
        int value;
        if (trickDone()) {
            const int won = (m_winner & 1) == m_makerTeam;
            m_turn = m_winner;
            m_count = 0;
            m_led = 0;
            m_winner = m_best = -1;
            m_inTrick = 0;
            value = won + search(alpha - won, beta - won);
        } else {
            value = search(alpha, beta);
        }
        m_hands = hands;
        m_turn = seat, m_count = count, m_led = led, m_winner = winner, m_best = strongest;
        m_inTrick = inTrick;
        if (maximise) {
            best = std::max(best, value);
            alpha = std::max(alpha, value);
        } else {
            best = std::min(best, value);
            beta = std::min(beta, value);
        }
        if (alpha >= beta) break;
    }

    if (entry) {
        if (entry->generation != m_generation || entry->turn != m_turn || entry->hands != m_hands) {
            entry->hands = m_hands;
            entry->turn = std::uint8_t(m_turn);
            entry->generation = m_generation;
            entry->lower = 0;
            entry->upper = 5;
        }
        if (best <= alpha0)
            entry->upper = std::uint8_t(std::min<int>(entry->upper, best));
        else if (best >= beta0)
            entry->lower = std::uint8_t(std::max<int>(entry->lower, best));
        else
            entry->lower = entry->upper = std::uint8_t(best);
    }
    return best;
}

} // namespace euchre::players::expert
