// The standard computer player's card play. Every rule walks the hand
// positions in deal order and takes the first that qualifies, so position
// breaks every tie.
#include "players/standard/cardplay.h"

#include "model/card.h"
#include "model/random.h"
#include "rules/rules.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace euchre::players::standard {

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

// The keys by trump, suit and card: asked of every card on the table at
// every decision, they are looked up rather than worked out.
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

// The trick keys of one suit for a view's trump, looked up in the table. A
// trump or suit beyond the four (never on a dealt table) has no cards.
class SuitKeys {
public:
    SuitKeys(const rules::SeatView& view, int suit)
        : m_row(static_cast<unsigned>(view.trump()) <= 4u && static_cast<unsigned>(suit) <= 4u
                    ? &kTrickKeys[static_cast<unsigned>(view.trump())][static_cast<unsigned>(suit)]
                    : &kNoKeys) {}

    int operator()(int card) const {
        const auto c = static_cast<unsigned>(card);
        return c <= 52u ? (*m_row)[c] : 0;
    }

private:
    static constexpr KeyRow kNoKeys{};
    const KeyRow* m_row;
};

// The card a seat played to this trick; seat 0 (nobody) has played nothing.
int playedBy(const rules::SeatView& view, int seat) {
    return isSeat(seat) ? view.trick(seat) : kNoCard;
}

// The seat to play to the trick, 0 outside trick play.
int playerToMove(const rules::SeatView& view) {
    const rules::Asked asked = view.asked();
    return asked.question == rules::Question::Card ? asked.seat : 0;
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

int tryToWin(const rules::SeatView& view, const SuitKeys& ledKeys, const std::array<int, 6>& hand,
             int led, int w, int t) {
    const int leftbower = leftBowerOf(view.trump());
    const int winning = playedBy(view, w);
    const int topTrump = playedBy(view, t);
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        const int key = ledKeys(card);
        if (key == 0) continue;
        if (led == view.trump()) {
            // Only a winning left bower stops the climb; against the right bower
            // a higher-numbered trump still looks like a winner.
            if (key == kBowerKey || (winning != leftbower && card > topTrump)) return pos;
        } else if (t == 0 && card > winning) {
            return pos;
        }
    }
    return 0;
}

int followSuit(const rules::SeatView& view, const SuitKeys& ledKeys, const std::array<int, 6>& hand,
               int led) {
    const int leftbower = leftBowerOf(view.trump());
    int chosen = 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (ledKeys(card) == 0) continue;
        if (chosen == 0) {
            chosen = pos;
            if (led != view.trump()) return chosen;
            continue;
        }
        // Keep the bowers back and shed the lowest trump, but a queen is kept
        // as well: it never takes the place of a higher trump.
        const int current = hand[chosen];
        if (ledKeys(current) == kBowerKey ||
            (card < current && rankKey(card) != QueenKey && card != leftbower))
            chosen = pos;
    }
    return chosen;
}

int trumpIn(const rules::SeatView& view, const SuitKeys& trumpKeys, const std::array<int, 6>& hand,
            int partner, int t) {
    const int leftbower = leftBowerOf(view.trump());
    const int topTrump = playedBy(view, t);
    if (t == partner || trumpKeys(topTrump) == kBowerKey) return 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (trumpKeys(card) == 0) continue;
        if (t == 0 || rankKey(card) == QueenKey || card == leftbower ||
            (topTrump != leftbower && topTrump < card))
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

int highestOf(const rules::SeatView& view, const SuitKeys& keys) {
    const int mover = playerToMove(view);
    // Eight times the key plus a bonus for the lower seat: the largest names the seat.
    int best = 0;
    for (int seat = 1; seat <= kSeats; ++seat) {
        if (seat == mover) continue;
        const int key = keys(view.trick(seat));
        best = std::max(best, key ? key * 8 + 8 - seat : 0);
    }
    return best ? 8 - (best & 7) : 0;
}

} // namespace

int highest(const rules::SeatView& view, int suit) {
    return highestOf(view, SuitKeys(view, suit));
}

int followPosition(const rules::SeatView& view) {
    const auto& hand = view.hand();
    const int led = view.ledsuit();
    const int partner = partnerOf(view.seat());
    // Who leads the trick in the led suit, and who holds its highest trump
    // (the same seat when trump is led); each is only read when a step needs it.
    const SuitKeys trumpKeys(view, view.trump());
    const SuitKeys ledKeys(view, led);
    const int t = highestOf(view, trumpKeys);

    // A hand holding the led suit must follow it; then only cards of that suit
    // are looked at, so the choice is always one the host accepts.
    if (rules::holdsSuit(hand, led, view.trump(), leftBowerOf(view.trump()))) {
        const int w = led == view.trump() ? t : highestOf(view, ledKeys);
        if (w != partner)
            if (const int pos = tryToWin(view, ledKeys, hand, led, w, t)) return pos;
        return followSuit(view, ledKeys, hand, led);
    }
    if (const int pos = trumpIn(view, trumpKeys, hand, partner, t)) return pos;
    return throwOff(trumpKeys, hand);
}

int leadPosition(const rules::SeatView& view) {
    const auto& hand = view.hand();
    const bool attacking = view.maker() != 0 && teamOf(view.maker()) == teamOf(view.seat());

    if (!attacking) {
        const SuitKeys trumpKeys(view, view.trump());
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
        const int trump = view.trump();
        const std::array<int, 7> order = {
            rightBower(trump),   leftBowerOf(trump), makeCard(trump, 13), makeCard(trump, 12),
            makeCard(trump, 11), makeCard(trump, 9), makeCard(trump, 8)};
        if (trump >= Clubs && trump <= Hearts)
            for (const int wanted : order)
                for (int pos = 1; pos <= kHandSize; ++pos)
                    if (hand[pos] == wanted) return pos;
    }
    return randomHeldPosition(hand);
}

int playPosition(const rules::SeatView& view) {
    return view.ledsuit() == NoSuit ? leadPosition(view) : followPosition(view);
}

} // namespace euchre::players::standard
