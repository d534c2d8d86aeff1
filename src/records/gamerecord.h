// A game as the records keep it: who sat where, the house rules, and for
// every deal the dealer, the turned card, the calls, a loner, the discard and
// the tricks in the order the cards fell. Plain values; the notation's text
// is read and written in egn.h, and replay.h plays a record through the rules.
#pragma once

#include "rules/ruleset.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace euchre::records {

// One bidding call: a pass, ordering the turned card up, or naming a suit.
struct Call {
    enum Kind : std::uint8_t { Pass, Order, Name };
    Kind kind = Pass;
    int suit = 0; // with Name: the suit named

    bool operator==(const Call&) const = default;
};

// Remarks on a deal's calls or cards, by the call's or the card's index.
using Notes = std::map<int, QStringList>;

using DealtHand = std::array<int, kHandSize>; // 0: a card the record does not know

struct DealRecord {
    int dealer = 0; // seat 1..4
    int upCard = 0;
    // The hands as dealt, by seat 1..4, when the record gives them.
    bool handsGiven = false;
    std::array<DealtHand, 5> hands{};

    bool hasBidding = false;
    std::vector<Call> calls; // from the seat left of the dealer on
    bool alone = false;
    int discard = 0; // the dealer's discard, 0 when unknown
    Notes callNotes;

    bool hasPlay = false;
    std::vector<std::vector<int>> tricks; // each from its leader on
    Notes playNotes;

    bool operator==(const DealRecord&) const = default;
};

struct GameRecord {
    QString gameId;
    QString title;
    QString description;
    QString date;
    QStringList players; // seat 1 first, clockwise; at most four
    std::array<int, 2> initialScore{};
    bool hasFinalScore = false;
    std::array<int, 2> finalScore{};

    rules::Ruleset rules;
    int winningScore = 10; // 0 with numDeals: a game of so many deals
    int numDeals = 0;

    std::vector<DealRecord> deals;

    bool operator==(const GameRecord&) const = default;
};

} // namespace euchre::records
