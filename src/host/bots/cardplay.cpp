// The computer seat's card play. Every rule walks the hand positions in deal
// order and takes the first that qualifies, so position breaks every tie.
#include "host/bots/cardplay.h"

#include "model/card.h"
#include "model/random.h"
#include "rules/rules.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace euchre::bots {

namespace {

// A card's key among the cards of one suit in a trick: 0 for no card or a
// card of another suit, above every card number for a bower when the suit is
// trump (so that of two bowers the first one seen stays on top), else the
// card's number.
constexpr int kBowerKey = 100;

constexpr int trickKey(int card, int suit, int trump, int leftbower) {
    if (!isCard(card) || effectiveSuit(card, trump, leftbower) != suit) return 0;
    const bool bower =
        suit == trump && isTrumpCard(card, trump, leftbower) && rankKey(card) == JackKey;
    return bower ? kBowerKey : card;
}

// The keys by trump, suit and card for a left bower of trump's colour, as
// every game has it: asked of every card on the table at every decision,
// they are looked up rather than worked out.
using KeyRow = std::array<std::uint8_t, 53>;
constexpr auto kTrickKeys = [] {
    std::array<std::array<KeyRow, 5>, 5> keys{};
    for (int trump = 0; trump <= 4; ++trump)
        for (int suit = 0; suit <= 4; ++suit)
            for (int card = 0; card <= 52; ++card)
                keys[trump][suit][card] =
                    static_cast<std::uint8_t>(trickKey(card, suit, trump, leftBowerOf(trump)));
    return keys;
}();

// The trick keys of one suit for a view: from the table when the view's left
// bower is the one its trump implies, else worked out card by card.
class SuitKeys {
public:
    SuitKeys(const rules::Table& view, int suit)
        : m_view(view), m_suit(suit),
          m_row(static_cast<unsigned>(view.trump) <= 4u && static_cast<unsigned>(suit) <= 4u &&
                        view.leftbower == leftBowerOf(view.trump)
                    ? &kTrickKeys[static_cast<unsigned>(view.trump)][static_cast<unsigned>(suit)]
                    : nullptr) {}

    int operator()(int card) const {
        const auto c = static_cast<unsigned>(card);
        if (m_row) return c <= 52u ? (*m_row)[c] : 0;
        return trickKey(card, m_suit, m_view.trump, m_view.leftbower);
    }

private:
    const rules::Table& m_view;
    int m_suit;
    const KeyRow* m_row;
};

// The card a seat played to this trick; seat 0 (nobody) has played nothing.
int playedBy(const rules::Table& view, int seat) {
    return isSeat(seat) ? view.played[seat] : kNoCard;
}

bool holdsAnyCard(const std::array<int, 6>& hand) {
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (isCard(hand[pos])) return true;
    return false;
}

// Last resort when no rule picked: a random place that holds a card.
int randomHeldPosition(const std::array<int, 6>& hand) {
    if (!holdsAnyCard(hand)) return 0;
    for (;;) {
        const int pos = rng::from1to(kHandSize);
        if (isCard(hand[pos])) return pos;
    }
}

int tryToWin(const rules::Table& view, const SuitKeys& ledKeys, const std::array<int, 6>& hand,
             int led, int w, int t) {
    const int winning = playedBy(view, w);
    const int topTrump = playedBy(view, t);
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        const int key = ledKeys(card);
        if (key == 0) continue;
        if (led == view.trump) {
            // Only a winning left bower stops the climb; against the right bower
            // a higher-numbered trump still looks like a winner.
            if (key == kBowerKey || (winning != view.leftbower && card > topTrump)) return pos;
        } else if (t == 0 && card > winning) {
            return pos;
        }
    }
    return 0;
}

int followSuit(const rules::Table& view, const SuitKeys& ledKeys, const std::array<int, 6>& hand,
               int led) {
    int chosen = 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (ledKeys(card) == 0) continue;
        if (chosen == 0) {
            chosen = pos;
            if (led != view.trump) return chosen;
            continue;
        }
        // Keep the bowers back and shed the lowest trump, but a queen is kept
        // as well: it never takes the place of a higher trump.
        const int current = hand[chosen];
        if (ledKeys(current) == kBowerKey ||
            (card < current && rankKey(card) != QueenKey && card != view.leftbower))
            chosen = pos;
    }
    return chosen;
}

int trumpIn(const rules::Table& view, const SuitKeys& trumpKeys, const std::array<int, 6>& hand,
            int partner, int t) {
    const int topTrump = playedBy(view, t);
    if (t == partner || trumpKeys(topTrump) == kBowerKey) return 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (trumpKeys(card) == 0) continue;
        if (t == 0 || rankKey(card) == QueenKey || card == view.leftbower ||
            (topTrump != view.leftbower && topTrump < card))
            return pos;
    }
    return 0;
}

int throwOff(const SuitKeys& trumpKeys, const std::array<int, 6>& hand) {
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (isCard(card) && trumpKeys(card) == 0 &&
            (rankKey(card) == NineKey || rankKey(card) == TenKey))
            return pos;
    }
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (isCard(hand[pos]) && trumpKeys(hand[pos]) == 0) return pos;
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (isCard(hand[pos])) return pos;
    return 0;
}

int highestOf(const rules::Table& view, const SuitKeys& keys) {
    const int mover = playerToMove(view);
    // Eight times the key plus a bonus for the lower seat: the largest names the seat.
    int best = 0;
    for (int seat = 1; seat <= kSeats; ++seat) {
        if (seat == mover) continue;
        const int key = keys(view.played[seat]);
        best = std::max(best, key ? key * 8 + 8 - seat : 0);
    }
    return best ? 8 - (best & 7) : 0;
}

} // namespace

int highest(const rules::Table& view, int suit) {
    return highestOf(view, SuitKeys(view, suit));
}

int followPosition(const rules::Table& view, int seat) {
    const auto& hand = view.hand[seat];
    const int led = view.ledsuit;
    const int partner = partnerOf(seat);
    // Who leads the trick in the led suit, and who holds its highest trump
    // (the same seat when trump is led); each is only read when a step needs it.
    const SuitKeys trumpKeys(view, view.trump);
    const SuitKeys ledKeys(view, led);
    const int t = highestOf(view, trumpKeys);

    // A hand holding the led suit must follow it; then only cards of that suit
    // are looked at, so the choice is always one the host accepts.
    if (rules::holdsSuit(hand, led, view.trump, view.leftbower)) {
        const int w = led == view.trump ? t : highestOf(view, ledKeys);
        if (w != partner)
            if (const int pos = tryToWin(view, ledKeys, hand, led, w, t)) return pos;
        return followSuit(view, ledKeys, hand, led);
    }
    if (const int pos = trumpIn(view, trumpKeys, hand, partner, t)) return pos;
    return throwOff(trumpKeys, hand);
}

int leadPosition(const rules::Table& view, int seat) {
    const auto& hand = view.hand[seat];
    const bool attacking = view.team[teamOf(seat)].makers;

    if (!attacking) {
        const SuitKeys trumpKeys(view, view.trump);
        // Lead an off-suit card that outranks the last off-suit card held.
        int r = 1;
        for (int pos = 1; pos <= kHandSize; ++pos)
            if (isCard(hand[pos]) && trumpKeys(hand[pos]) == 0) r = pos;
        for (int pos = 2; pos <= kHandSize; ++pos) {
            const int card = hand[pos];
            if (pos != r && isCard(card) && trumpKeys(card) == 0 &&
                rankKey(card) > rankKey(hand[r]))
                return pos;
        }
    } else {
        // Draw trump from the top: right bower, left bower, then ace down to nine.
        const int trump = view.trump;
        const std::array<int, 7> order = {
            rightBower(trump),   view.leftbower,     makeCard(trump, 13), makeCard(trump, 12),
            makeCard(trump, 11), makeCard(trump, 9), makeCard(trump, 8)};
        if (trump >= Clubs && trump <= Hearts)
            for (const int wanted : order)
                for (int pos = 1; pos <= kHandSize; ++pos)
                    if (hand[pos] == wanted) return pos;
    }
    return randomHeldPosition(hand);
}

int playPosition(const rules::Table& view, int seat) {
    return view.ledsuit == NoSuit ? leadPosition(view, seat) : followPosition(view, seat);
}

// The same decisions on a hand-made view.
int highest(const TableView& view, int suit) {
    return highest(tableOf(view), suit);
}
int followPosition(const TableView& view, int seat) {
    return followPosition(tableOf(view), seat);
}
int leadPosition(const TableView& view, int seat) {
    return leadPosition(tableOf(view), seat);
}
int playPosition(const TableView& view, int seat) {
    return playPosition(tableOf(view), seat);
}

} // namespace euchre::bots
