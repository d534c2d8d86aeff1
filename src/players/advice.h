// Advice for a seat the game asks: the expert's own answer, and what each
// answer open to the seat is worth in points of the hand, all from the
// seat's view alone. Hints and the review of a hand are made of it.
#pragma once

#include "rules/seatview.h"

#include <vector>

namespace euchre::players {

struct Option {
    int answer = 0;    // a bubble code, or a hand position for the discard and the card
    double points = 0; // the hand's points for the seat's team less the others', on average
};

struct Advice {
    rules::Question question = rules::Question::None;
    int choice = 0;              // the expert's answer (players::answer), 0 when not asked
    std::vector<Option> options; // every answer open to the seat
    int deals = 0;               // the consistent deals the figures are averaged over

    // The option of an answer, nullptr for an answer not open.
    const Option* option(int answer) const {
        for (const Option& o : options)
            if (o.answer == answer) return &o;
        return nullptr;
    }
};

// The advice for the seat whose view this is, when the game asks it. The
// bids' worths are those of the expert's learned bidding: the chances of
// each way the hand ends after the choice, a pass included.
Advice advise(const rules::SeatView& view);

// For a seat asked for a card: over the same deals, the share in which its
// team takes the trick in progress when it plays the card at the hand
// position and the others follow as the expert's search plays. -1 when the
// seat is not asked for a card or the card may not be played.
double trickShare(const rules::SeatView& view, int position);

} // namespace euchre::players
