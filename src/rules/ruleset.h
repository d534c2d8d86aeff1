// The house rules a game is played by, their written form "key=value,..."
// and the rules that depend on them: whether the dealer may pass in the
// naming round, whether the maker is asked about going alone, who leads the
// first trick and what a hand scores. The game, the computer players and the
// table window all ask these, so a house rule changes in this one place.
#pragma once

#include "model/card.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace euchre::rules {

// Who leads the first trick when someone plays alone.
enum class LonerLead : std::uint8_t {
    LeftOfDealer, // the seat left of the dealer, or of the loner after an order-up
    LeftOfLoner,  // always the seat left of the loner
};

struct Ruleset {
    // Stick the dealer: the dealer may not pass in the naming round.
    bool stickTheDealer = false;
    // The Canadian loner: the dealer's partner who orders the turned card up plays alone.
    bool canadian = false;
    LonerLead lonerLead = LonerLead::LeftOfDealer;
    // What a lone march scores: 3, 4 or 5.
    int lonerMarchScore = 4;

    // No house rule in force: the game as it is played without any.
    bool isPlain() const { return *this == Ruleset{}; }
    bool operator==(const Ruleset&) const = default;
};

// The longest ruleset text read; no valid one comes near it.
inline constexpr std::size_t kMaxRulesetText = 200;

// Reads "key=value" items separated by ",": std and canadian take 1, 0,
// true or false; loner_lead LEFT_OF_DEALER or LEFT_OF_LONER;
// loner_march_score 3, 4 or 5. Keys not named keep their plain value, and
// the empty text is the plain rules. Nothing else is taken: an unknown key
// or value, a key twice, an empty item or a text over kMaxRulesetText gives
// nullopt, with the offending item (or the whole text) in `bad` when asked.
std::optional<Ruleset> parseRuleset(std::string_view text, std::string_view* bad = nullptr);

// The ruleset's text naming only the house rules in force, in a fixed
// order; "" for the plain rules. parseRuleset reads it back unchanged.
std::string rulesetText(const Ruleset& rules);

// Whether the seat asked in the naming round is the dealer who may not pass.
constexpr bool mustNameTrump(const Ruleset& rules, int seat, int dealer) {
    return rules.stickTheDealer && seat != 0 && seat == dealer;
}

// Whether the maker who ordered the turned card up plays alone without
// being asked: the dealer's partner under the Canadian loner.
constexpr bool mustGoAlone(const Ruleset& rules, int maker, int dealer, bool orderedUp) {
    return rules.canadian && orderedUp && isSeat(maker) && maker == partnerOf(dealer);
}

// The seat that leads the first trick: left of the dealer, or left of the
// loner after an order-up (or always, under LeftOfLoner); a seat that sits
// out is passed over. `loner` is 0 when nobody plays alone.
constexpr int firstLeader(const Ruleset& rules, int dealer, int loner, bool orderedUp) {
    const bool fromLoner =
        isSeat(loner) && (orderedUp || rules.lonerLead == LonerLead::LeftOfLoner);
    int seat = nextSeat(fromLoner ? loner : dealer);
    if (isSeat(loner) && seat == partnerOf(loner)) seat = nextSeat(seat);
    return seat;
}

// Points of a hand: [1] and [2] for the teams.
constexpr std::array<int, 3> handPoints(const Ruleset& rules, int making, int makersTricks,
                                        bool loner) {
    std::array<int, 3> points{};
    if (makersTricks == kHandSize)
        points[making] = loner ? rules.lonerMarchScore : 2;
    else if (makersTricks >= 3)
        points[making] = 1;
    else
        points[3 - making] = 2; // euchred
    return points;
}

} // namespace euchre::rules
