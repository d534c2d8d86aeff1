// A game record played through the rules: who held which card, who led and
// won each trick, what each deal scored, and whether every move was legal
// under the record's house rules (the first that was not, with its deal and
// move). What the replay window shows and the record checker prints.
#pragma once

#include "records/gamerecord.h"
#include "rules/table.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace euchre::records {

struct ReplayTrick {
    std::vector<int> seats; // who played, in order; the first led
    std::vector<int> cards; // the cards, in the same order
    int winner = 0;         // 0 while the trick is unfinished
};

struct ReplayDeal {
    int dealer = 0;
    int upCard = 0;
    // The hands as dealt, by seat 1..4; 0 where the record does not tell
    // (a loner's partner, a discard nobody saw).
    std::array<DealtHand, 5> hands{};
    // The hands as play begins, after the dealer's exchange; 0 as above.
    std::array<DealtHand, 5> inPlay{};
    std::vector<std::pair<int, Call>> calls; // the seat of each call
    int maker = 0;
    int trump = 0;
    bool orderedUp = false;
    int loner = 0;   // the seat playing alone, 0 none
    int discard = 0; // 0 when unknown or none
    std::vector<ReplayTrick> tricks;
    bool thrownIn = false;            // everyone passed twice
    bool scored = false;              // five tricks played and scored
    std::array<int, 3> tricksWon{};   // by team 1..2
    std::array<int, 3> points{};      // the deal's points by team
    std::array<int, 3> scoreBefore{}; // by team
    std::array<int, 3> scoreAfter{};
    // Where the record went wrong in this deal (empty when it did not): the
    // move ("call 3", "trick 2 card 4", "discard") and why.
    QString faultMove;
    QString faultWhy;

    // The cards a seat holds before trick `trick` (0 .. 5) begins: its hand
    // after the dealer's exchange, less what it has played. Unknown cards are 0.
    std::vector<int> held(int seat, int trick) const;
};

struct Replay {
    std::vector<ReplayDeal> deals; // up to and including the one that went wrong
    std::array<int, 3> score{};    // by team, after the last deal replayed
    int winner = 0;                // the team that reached the winning score, 0 none
    bool legal = true;
    int faultDeal = 0; // 1-based, with faultMove and faultWhy of that deal
    // The table as the replay left it: after a game still in play, asking
    // what the game asks now.
    rules::Table table;

    // "deal 3, trick 2 card 4: Jh does not follow the led suit" (empty when legal).
    QString fault() const;
};

struct ReplayOptions {
    // The last deal is still being played: a going-alone question not yet
    // answered, or an exchange not yet made, stays open instead.
    bool lastDealOpen = false;
    bool aloneAnswered = true;
    bool discardMade = true;
    // Told of every move before it is made: the deal (0-based), the table
    // then, and the answer (a bubble code, or a hand position; 0 for a
    // discard the record does not name).
    std::function<void(int deal, const rules::Table& before, int answer)> onMove;
};

Replay replayRecord(const GameRecord& record, const ReplayOptions& options = {});

} // namespace euchre::records
