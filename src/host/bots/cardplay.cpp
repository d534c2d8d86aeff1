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

// Both bowers are jacks once trump is known, so rank key 10 among trump marks either.
bool isBower(int card, const rules::Table& view) {
    return isTrumpCard(card, view.trump, view.leftbower) && rankKey(card) == JackKey;
}

bool isTrump(int card, const rules::Table& view) {
    return isTrumpCard(card, view.trump, view.leftbower);
}

bool isOfSuit(int card, int suit, const rules::Table& view) {
    return isCard(card) && effectiveSuit(card, view.trump, view.leftbower) == suit;
}

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

int tryToWin(const rules::Table& view, const std::array<int, 6>& hand, int led, int w, int t) {
    const int winning = playedBy(view, w);
    const int topTrump = playedBy(view, t);
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (!isOfSuit(card, led, view)) continue;
        if (led == view.trump) {
            // Only a winning left bower stops the climb; against the right bower
            // a higher-numbered trump still looks like a winner.
            if (isBower(card, view) || (winning != view.leftbower && card > topTrump)) return pos;
        } else if (t == 0 && card > winning) {
            return pos;
        }
    }
    return 0;
}

int followSuit(const rules::Table& view, const std::array<int, 6>& hand, int led) {
    int chosen = 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (!isOfSuit(card, led, view)) continue;
        if (chosen == 0) {
            chosen = pos;
            if (led != view.trump) return chosen;
            continue;
        }
        // Keep the bowers back and shed the lowest trump, but a queen is kept
        // as well: it never takes the place of a higher trump.
        const int current = hand[chosen];
        if (isBower(current, view) ||
            (card < current && rankKey(card) != QueenKey && card != view.leftbower))
            chosen = pos;
    }
    return chosen;
}

int trumpIn(const rules::Table& view, const std::array<int, 6>& hand, int partner, int t) {
    const int topTrump = playedBy(view, t);
    if (t == partner || isBower(topTrump, view)) return 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (!isTrump(card, view)) continue;
        if (t == 0 || rankKey(card) == QueenKey || card == view.leftbower ||
            (topTrump != view.leftbower && topTrump < card))
            return pos;
    }
    return 0;
}

int throwOff(const rules::Table& view, const std::array<int, 6>& hand) {
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (isCard(card) && !isTrump(card, view) &&
            (rankKey(card) == NineKey || rankKey(card) == TenKey))
            return pos;
    }
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (isCard(hand[pos]) && !isTrump(hand[pos], view)) return pos;
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (isCard(hand[pos])) return pos;
    return 0;
}

} // namespace

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

} // namespace

int highest(const rules::Table& view, int suit) {
    const auto t = static_cast<unsigned>(view.trump);
    const auto s = static_cast<unsigned>(suit);
    const KeyRow* keys = t <= 4u && s <= 4u && view.leftbower == leftBowerOf(view.trump)
                             ? &kTrickKeys[t][s]
                             : nullptr;
    const int mover = playerToMove(view);
    // Eight times the key plus a bonus for the lower seat: the largest names the seat.
    int best = 0;
    for (int seat = 1; seat <= kSeats; ++seat) {
        if (seat == mover) continue;
        const int card = view.played[seat];
        const auto c = static_cast<unsigned>(card);
        const int key =
            keys ? (c <= 52u ? (*keys)[c] : 0) : trickKey(card, suit, view.trump, view.leftbower);
        best = std::max(best, key ? key * 8 + 8 - seat : 0);
    }
    return best ? 8 - (best & 7) : 0;
}

int followPosition(const rules::Table& view, int seat) {
    const auto& hand = view.hand[seat];
    const int led = view.ledsuit;
    const int partner = partnerOf(seat);
    // Who leads the trick in the led suit, and who holds its highest trump
    // (the same seat when trump is led); each is only read when a step needs it.
    const int t = highest(view, view.trump);

    // A hand holding the led suit must follow it; then only cards of that suit
    // are looked at, so the choice is always one the host accepts.
    if (rules::holdsSuit(hand, led, view.trump, view.leftbower)) {
        const int w = led == view.trump ? t : highest(view, led);
        if (w != partner)
            if (const int pos = tryToWin(view, hand, led, w, t)) return pos;
        return followSuit(view, hand, led);
    }
    if (const int pos = trumpIn(view, hand, partner, t)) return pos;
    return throwOff(view, hand);
}

int leadPosition(const rules::Table& view, int seat) {
    const auto& hand = view.hand[seat];
    const bool attacking = view.team[teamOf(seat)].makers;

    if (!attacking) {
        // Lead an off-suit card that outranks the last off-suit card held.
        int r = 1;
        for (int pos = 1; pos <= kHandSize; ++pos)
            if (isCard(hand[pos]) && !isTrump(hand[pos], view)) r = pos;
        for (int pos = 2; pos <= kHandSize; ++pos) {
            const int card = hand[pos];
            if (pos != r && isCard(card) && !isTrump(card, view) &&
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
