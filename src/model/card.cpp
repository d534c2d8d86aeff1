// Names of suits and teams as the table shows them.
#include "model/card.h"

namespace euchre {

const char* suitName(int suit) {
    static const char* const names[] = {"", "Clubs", "Diamonds", "Spades", "Hearts"};
    return suit >= 1 && suit <= 4 ? names[suit] : names[0];
}

const char* teamName(int team) {
    return team == 1 ? "Tan" : (team == 2 ? "Blue" : "");
}

} // namespace euchre
