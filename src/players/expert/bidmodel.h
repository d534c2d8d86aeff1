// The expert's bidding learned from self-play: for each choice a seat has
// before the first trick (pass, make a suit with the partner, make it alone),
// the chances of how the hand ends, read by a small softmax model from a few
// counts of the seat's own cards. The choice with the best chance of winning
// the game from the score is taken. The weights are fitted by euchre-train
// and compiled in; the search keeps the dealer's discard and the card play.
#pragma once

#include "rules/cardmask.h"
#include "rules/ruleset.h"
#include "rules/seatview.h"

#include <array>
#include <utility>
#include <vector>

namespace euchre::players::expert::bidmodel {

using rules::CardMask;
using rules::SeatView;

constexpr int kFeatures = 32;
using Features = std::array<float, kFeatures>;

// How a hand made by the deciding seat's team ends: euchred, a point, a
// march (alone: a lone march).
enum MakeOutcome { Euchred, Point, March, kMakeOutcomes };

// How the hand ends for the deciding seat's team after it passes: the points
// either team scores (a lone march counted apart, since the house rules set
// its worth), or nothing when the cards are thrown in.
enum PassOutcome { UsOne, UsTwo, UsLone, ThemOne, ThemTwo, ThemLone, Nothing, kPassOutcomes };

constexpr int kMostOutcomes = int(kPassOutcomes);

// What a seat chooses between.
enum class Choice { Make, Alone, Pass };

// The groups of weights: by choice, bidding round (1 the turned card, 2 the
// naming) and the seat's place from the dealer (1 its left .. 4 the dealer).
constexpr int kGroups = 3 * 2 * 4;
constexpr int groupOf(Choice choice, int round, int place) {
    return int(choice) * 8 + (round - 1) * 4 + (place - 1);
}
constexpr int outcomesOf(Choice choice) {
    return choice == Choice::Pass ? int(kPassOutcomes) : int(kMakeOutcomes);
}

// The rules that change the bidding enough to have weights of their own:
// 0 for the plain rules (also used under the loner rules), 1 under stick the dealer.
constexpr int kTables = 2;
constexpr int tableOf(const rules::Ruleset& rules) {
    return rules.stickTheDealer ? 1 : 0;
}

struct Weights {
    // [table][group][outcome][feature]
    float w[kTables][kGroups][kMostOutcomes][kFeatures];
};

// The weights euchre-train fitted, compiled in.
const Weights& learned();

// The seat's place counted from the dealer's left: 1 .. 4, the dealer 4.
constexpr int placeOf(int seat, int dealer) {
    return (seat - dealer + 7) % 4 + 1;
}

// What the seat knows of the bidding so far.
struct Situation {
    int round = 1;   // 1 while the turned card may be taken, 2 in the naming
    int place = 1;   // 1 .. 4 from the dealer's left
    int turned = 0;  // the turned card
    CardMask hand{}; // the seat's five cards
};

// The five cards a dealer keeps after taking the turned card and throwing
// its usual card.
CardMask afterPickup(CardMask hand, int turned);

// The model's reading of a choice: the features of the hand the choice is
// played with (for a dealer taking the turned card, the hand after the
// pickup) for the trump made, or for passing.
Features makeFeatures(const Situation& s, int trump);
Features passFeatures(const Situation& s);

// The chances of the outcomes of a choice in a group (outcomesOf values).
void chances(const Weights& weights, int table, int group, const Features& f, double* out);

// Every answer open to the seat the game asks in the bidding, each with the
// hand's points it promises the seat's team less the others', on average;
// the model's choice first. Empty for any other question.
std::vector<std::pair<int, double>> options(const SeatView& view, const Weights& weights);

// The decisions, read from the seat's view with the given weights.
int orderUp(const SeatView& view, const Weights& weights);
int name(const SeatView& view, const Weights& weights);
int alone(const SeatView& view, const Weights& weights);

} // namespace euchre::players::expert::bidmodel
