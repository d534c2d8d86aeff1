// The standard computer player's bidding decisions, each recomputed from the seat's view.
#include "players/standard/bidding.h"

#include "model/bubble.h"
#include "model/card.h"
#include "model/random.h"

#include <array>
#include <cstdint>

namespace euchre::players::standard {

namespace {

// Points a hand needs before the seat orders the turned card up: the dealer
// gains the turned card, its partner plays with it, the opponents face it.
constexpr int kDealerNeeds = 200;
constexpr int kDealersPartnerNeeds = 250;
constexpr int kOpponentNeeds = 300;

// Cards of one suit the chooser wants before naming it.
constexpr int kNameWith = 3;

bool isDealersPartner(int seat, int dealer) {
    return (seat == 1 && dealer == 3) || (seat == 3 && dealer == 1) || (seat == 2 && dealer == 4) ||
           (seat == 4 && dealer == 2);
}

// The points of every card by trump: looked up, since each seat asked adds
// up five of them.
constexpr auto kBidPoints = [] {
    std::array<std::array<std::uint8_t, 53>, 5> points{};
    for (int trump = 0; trump <= 4; ++trump)
        for (int card = 0; card <= 52; ++card)
            points[trump][card] =
                static_cast<std::uint8_t>(bidPoints(card, trump, leftBowerOf(trump)));
    return points;
}();

} // namespace

int bidDecision(const rules::SeatView& view) {
    // The turned card's suit is trump for as long as the card may be ordered up.
    const auto trump = static_cast<unsigned>(naturalSuit(view.turned()));
    int points = 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const auto c = static_cast<unsigned>(view.hand()[pos]);
        points += c <= 52u ? kBidPoints[trump][c] : 0;
    }

    const int seat = view.seat();
    if (points >= kDealerNeeds && seat == view.dealer()) return BubbleAccept;
    if (points >= kDealersPartnerNeeds && isDealersPartner(seat, view.dealer()))
        return BubbleAccept;
    if (points >= kOpponentNeeds) return BubbleAccept;
    return BubblePass;
}

int chooseDecision(const rules::SeatView& view) {
    const auto& hand = view.hand();
    std::array<int, 5> count{}; // by natural suit; a jack stays in its printed suit
    for (int pos = 1; pos <= kHandSize; ++pos) ++count[naturalSuit(hand[pos])];
    const int refused = view.refusedsuit();
    const bool canName[] = {false, refused != Clubs, refused != Diamonds, refused != Spades,
                            refused != Hearts};
    for (int suit = Clubs; suit <= Hearts; ++suit)
        if (canName[suit] && count[suit] >= kNameWith) return bubbleForSuit(suit);
    if (!view.mustNameTrump()) return BubbleNamePass;
    // A dealer who may not pass names the suit it holds most of; of equal
    // counts the lower suit number.
    int best = 0;
    for (int suit = Clubs; suit <= Hearts; ++suit)
        if (canName[suit] && (best == 0 || count[suit] > count[best])) best = suit;
    return bubbleForSuit(best);
}

int aloneDecision(const rules::SeatView& view) {
    const int leftbower = leftBowerOf(view.trump());
    int trumps = 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = view.hand()[pos];
        if (!isCard(card)) continue;
        if (naturalSuit(card) == view.trump() || card == leftbower) ++trumps;
    }
    return trumps == kHandSize ? BubbleAlone : BubbleWithPartner;
}

int discardPosition(const rules::SeatView& view) {
    const auto& hand = view.hand();
    const int leftbower = leftBowerOf(view.trump());
    int chosen = 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        const int card = hand[pos];
        if (!isCard(card) || naturalSuit(card) == view.trump() || card == leftbower) continue;
        if (rankKey(card) == AceKey) continue;
        if (chosen == 0 || rankKey(card) < rankKey(hand[chosen])) chosen = pos;
    }
    if (chosen != 0) return chosen;
    // Nothing but trump and aces: any place will do, even one holding trump.
    return rng::from1to(kHandSize);
}

} // namespace euchre::players::standard
