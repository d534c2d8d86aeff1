// Bidding decisions as numbers: the codes a seat answers with in both bidding
// phases and the going-alone question, and the codes of a refused move.
#pragma once

namespace euchre {

enum Bubble : int {
    BubbleAccept = 1,
    BubblePass = 2,
    BubbleClubs = 3,
    BubbleDiamonds = 4,
    BubbleSpades = 5,
    BubbleHearts = 6,
    BubbleAlone = 7,
    BubbleWithPartner = 8,
    BubbleNamePass = 22,
};

constexpr bool isBubbleCode(int code) {
    return (code >= 1 && code <= 8) || code == BubbleNamePass;
}
constexpr int bubbleForSuit(int suit) {
    return suit + 2;
}
constexpr bool namesSuit(int code) {
    return code >= BubbleClubs && code <= BubbleHearts;
}

// Why a move was refused. NotValidMustName: the dealer passed where the
// house rules make the dealer name a suit.
enum NotValid : int {
    NotValidCard = 1,
    NotValidFollowSuit = 2,
    NotValidTrump = 3,
    NotValidMustName = 4,
};

} // namespace euchre
