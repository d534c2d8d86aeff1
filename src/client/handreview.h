// The review of a hand: each decision one seat made in it, as the seat saw
// the game at that moment, set against the expert's choice in points of the
// hand, and marked Good, Inaccuracy or Mistake by the points it gave away.
#pragma once

#include "records/gamerecord.h"
#include "rules/table.h"

#include <QString>
#include <vector>

namespace euchre {

enum class ReviewMark { Good, Inaccuracy, Mistake };

// Points given away from which a decision counts as an inaccuracy, and as a mistake.
inline constexpr double kInaccuracyPoints = 0.15;
inline constexpr double kMistakePoints = 0.5;

struct ReviewedDecision {
    rules::Question question = rules::Question::None;
    int chosen = 0; // the answer made: a bubble code or a hand position
    int expert = 0; // the expert's
    QString asked;  // "Order up the Q♦?", "Trick 2: your card"
    QString chosenText;
    QString expertText;
    double chosenPoints = 0;
    double expertPoints = 0;
    ReviewMark mark = ReviewMark::Good;
    int callIndex = -1; // the decision's call in the deal, or
    int playIndex = -1; // its card among the deal's cards played
};

// The seat's decisions in the deal (0-based) of the record, in order; none
// when the record cannot be replayed that far.
std::vector<ReviewedDecision> reviewDeal(const records::GameRecord& record, int deal, int seat);

// How a decision's mark reads: "Good", "Inaccuracy", "Mistake".
QString markName(ReviewMark mark);

// A card as the review and the hints write it: rank and suit sign, "10\u2665".
QString cardName(int card);

// The record with the marks of a deal's review as the notation's annotations.
void annotate(records::DealRecord& deal, const std::vector<ReviewedDecision>& review);

} // namespace euchre
