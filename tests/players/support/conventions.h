// Positions where players expect a partner to follow a well-known
// convention, each laid out as a table that asks seat 1, with the answers
// the convention allows. The conventions benchmark asks every level about
// them; the players' tests keep the ones the expert follows.
#pragma once

#include "model/bubble.h"
#include "model/card.h"
#include "players/support/positions.h"
#include "rules/ruleset.h"
#include "rules/table.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace playerstest {

// Seat 1 asked, seat 4 dealing, 0 to 0 in a game to 10 unless a row says otherwise.
struct Convention {
    const char* name;
    const char* cards;
    const char* allowed; // the conventional answers: cards, or one bubble word
    int dealer = 4;
    const char* turned = "9H";
    bool orderedUp = false;
    int trump = 0, maker = 0, loner = 0;
    const char* trick = ""; // cards played to this trick from the leader on
    int leader = 0;
    int us = 0, them = 0;
    bool naming = false;    // everyone passed the turned card
    bool alone = false;     // the maker (seat 1) is asked whether it plays alone
    bool discard = false;   // the dealer (seat 1) throws a card for the turned one
    const char* rules = ""; // the house rules
    bool kept = false;      // the expert follows it, and the tests see that it stays so
};

inline Table conventionTable(const Convention& p) {
    using namespace euchre;
    Table t;
    t.hand[1] = hand(p.cards);
    t.dealer = p.dealer;
    t.record.turned = card(p.turned);
    t.orderedup = p.orderedUp;
    // Another dealer has thrown a card once trump is made on the turned card;
    // seat 1 never sees which.
    if (p.orderedUp && p.trump != 0 && p.dealer != 1 && !p.alone) t.record.discard = card(p.turned);
    t.trump = p.trump;
    t.leftbower = leftBowerOf(p.trump);
    t.record.maker = p.maker;
    if (p.loner) {
        t.alone[p.loner] = true;
        t.sitsout[partnerOf(p.loner)] = true;
    }
    if (p.naming || (p.maker && !p.orderedUp)) t.refusedsuit = naturalSuit(t.record.turned);
    std::string_view trick = p.trick;
    for (int seat = p.leader; !trick.empty(); seat = seat % 4 + 1) {
        if (p.loner && seat == partnerOf(p.loner)) continue;
        const int c = card(trick.substr(0, 2));
        trick.remove_prefix(std::min<std::size_t>(3, trick.size()));
        t.played[seat] = c;
        rules::DealRecord& r = t.record;
        r.plays[r.playCount++] = {std::uint8_t(seat), std::uint8_t(c)};
        const int suit = effectiveSuit(c, t.trump, t.leftbower);
        if (r.playCount == 1)
            t.ledsuit = suit;
        else if (suit != t.ledsuit)
            r.voids[seat] |= std::uint8_t(1 << t.ledsuit);
    }
    t.team[1].score = p.us;
    t.team[2].score = p.them;
    t.playto = 10;
    t.rules = *rules::parseRuleset(p.rules);
    t.seat = 1;
    if (p.naming)
        t.phase = Phase::Naming;
    else if (p.alone)
        t.phase = Phase::GoingAlone;
    else if (p.discard)
        t.phase = Phase::Discard;
    else if (p.trump)
        t.phase = Phase::Play;
    else
        t.phase = Phase::OrderUp;
    return t;
}

// The conventional answers as the game takes them: bubble codes, or the
// hand positions of the allowed cards.
inline std::vector<int> conventionalAnswers(const Convention& p) {
    using namespace euchre;
    const std::string_view allowed = p.allowed;
    if (allowed == "order") return {BubbleAccept};
    if (allowed == "pass") return {BubblePass};
    if (allowed == "passnaming") return {BubbleNamePass};
    if (allowed == "alone") return {BubbleAlone};
    if (allowed == "partner") return {BubbleWithPartner};
    for (int suit = Clubs; suit <= Hearts; ++suit)
        if (allowed == std::array{"", "clubs", "diamonds", "spades", "hearts"}[suit])
            return {bubbleForSuit(suit)};
    std::vector<int> positions;
    const Hand h = hand(p.cards);
    for (std::string_view rest = allowed; !rest.empty();) {
        const int c = card(rest.substr(0, 2));
        rest.remove_prefix(std::min<std::size_t>(3, rest.size()));
        for (int pos = 1; pos <= kHandSize; ++pos)
            if (h[pos] == c) positions.push_back(pos);
    }
    return positions;
}

// From players' complaints about computer partners; Hearts are trump in the
// card play unless a row says otherwise.
using euchre::Hearts;
inline const Convention kConventions[] = {
    // Bidding.
    {.name = "order up with the right bower and support",
     .cards = "JH AH TH AC 9S",
     .allowed = "order",
     .turned = "QH"},
    {.name = "dealer picks up to two trump and an ace",
     .cards = "JH 9H AS KC 9D",
     .allowed = "order",
     .dealer = 1,
     .turned = "AH",
     .kept = true},
    {.name = "partner orders up to the dealer with a bower and an ace",
     .cards = "JD AH TH AS 9C",
     .allowed = "order",
     .dealer = 3,
     .kept = true},
    {.name = "no order-up of a right bower to the opponent on a poor hand",
     .cards = "9H TD 9S KC QC",
     .allowed = "pass",
     .turned = "JH",
     .kept = true},
    {.name = "name a strong suit in the naming round",
     .cards = "JD AD 9D AC KS",
     .allowed = "diamonds",
     .turned = "JH",
     .naming = true,
     .kept = true},
    {.name = "pass the naming round with a poor hand",
     .cards = "9C TD 9S KD TC",
     .allowed = "passnaming",
     .naming = true},
    {.name = "stuck dealer names its longest suit",
     .cards = "9C TC QC TD QD",
     .allowed = "clubs",
     .dealer = 1,
     .naming = true,
     .rules = "std=1",
     .kept = true},
    {.name = "no lone call at 9 when one point wins",
     .cards = "JH JD AH KH QH",
     .allowed = "partner",
     .turned = "9D",
     .trump = Hearts,
     .maker = 1,
     .us = 9,
     .them = 5,
     .alone = true,
     .kept = true},
    {.name = "no lone call at 8 when a march wins anyway",
     .cards = "JH JD AH KH QH",
     .allowed = "partner",
     .turned = "9D",
     .trump = Hearts,
     .maker = 1,
     .us = 8,
     .them = 5,
     .alone = true,
     .kept = true},
    {.name = "alone with the five top trump early in the game",
     .cards = "JH JD AH KH QH",
     .allowed = "alone",
     .turned = "9D",
     .trump = Hearts,
     .maker = 1,
     .alone = true,
     .kept = true},
    {.name = "dealer throws a lone low card for a void",
     .cards = "JH AH KS 9C AS",
     .allowed = "9C",
     .dealer = 1,
     .orderedUp = true,
     .trump = Hearts,
     .maker = 2,
     .discard = true,
     .kept = true},
    // Card play.
    {.name = "lead trump to a partner who called",
     .cards = "JH 9C KS AD TD",
     .allowed = "JH",
     .turned = "9D",
     .trump = Hearts,
     .maker = 3,
     .kept = true},
    {.name = "maker leads the right bower",
     .cards = "JH JD AH KS 9C",
     .allowed = "JH",
     .turned = "9D",
     .trump = Hearts,
     .maker = 1},
    {.name = "defender leads an off-suit ace",
     .cards = "AS 9C TD QH 9H",
     .allowed = "AS",
     .turned = "9D",
     .trump = Hearts,
     .maker = 2,
     .kept = true},
    {.name = "do not bare the left bower under the partner's winner",
     .cards = "JD 9H TS QS KD",
     .allowed = "TS QS KD",
     .turned = "9S",
     .trump = Hearts,
     .maker = 2,
     .trick = "AC 9C",
     .leader = 3,
     .kept = true},
    {.name = "do not trump the partner's winning ace",
     .cards = "QH 9C TC KD TD",
     .allowed = "9C TC KD TD",
     .turned = "9D",
     .trump = Hearts,
     .maker = 2,
     .trick = "AS 9S",
     .leader = 3,
     .kept = true},
    {.name = "third hand plays high",
     .cards = "AC QC 9S KD TH",
     .allowed = "AC",
     .turned = "9D",
     .trump = Hearts,
     .maker = 2,
     .trick = "9C TC",
     .leader = 3,
     .kept = true},
    {.name = "last hand takes the trick with its cheapest winner",
     .cards = "AS KS 9C TC JD",
     .allowed = "KS",
     .turned = "9D",
     .trump = Hearts,
     .maker = 1,
     .trick = "9S TD QS",
     .leader = 2,
     .kept = true},
    {.name = "last hand trumps the opponents' trick",
     .cards = "9H KS AD QD TS",
     .allowed = "9H",
     .turned = "9D",
     .trump = Hearts,
     .maker = 1,
     .trick = "AC 9C TC",
     .leader = 2,
     .kept = true},
    {.name = "no ace led into a loner sitting next",
     .cards = "AS 9S KC QC TD",
     .allowed = "9S KC QC TD",
     .turned = "9D",
     .trump = Hearts,
     .maker = 2,
     .loner = 2,
     .kept = true},
    {.name = "duck under the partner's winner against a loner",
     .cards = "KC 9C AD 9S TS",
     .allowed = "9C",
     .dealer = 1,
     .turned = "9D",
     .trump = Hearts,
     .maker = 2,
     .loner = 2,
     .trick = "TC AC",
     .leader = 2,
     .kept = true},
};

} // namespace playerstest
