// The state of one table: the phase with the seat it waits for, the hands,
// the trick, the bidding results, the scores and the record of what the
// seats have been shown. A plain value: copying a table copies the whole game.
#pragma once

#include "model/card.h"
#include "model/deck.h"
#include "rules/ruleset.h"

#include <array>
#include <cstdint>

namespace euchre::rules {

// Where a game stands; the asking phases name the seat they wait for.
enum class Phase : std::uint8_t {
    NoGame,     // before the first game
    Dealing,    // only while a deal is being made
    OrderUp,    // a seat accepts or passes the turned card
    Naming,     // a seat names a suit or passes
    GoingAlone, // the maker says whether it plays alone
    Discard,    // the dealer throws one card away for the turned card
    Play,       // a seat plays to the trick
    TrickPause, // a trick other than the fifth is complete
    HandPause,  // a hand is scored and the game goes on
    GameOver,   // a team reached the play-to score
};

// What the game asks of the seat it waits for. Each question shares its
// number with the phase that asks it, so reading the phase is a range check.
enum class Question : std::uint8_t {
    None = 0,                            // nobody is asked: no game, a pause, the end
    OrderUp = int(Phase::OrderUp),       // accept or pass the turned card
    Naming = int(Phase::Naming),         // name a suit or pass
    GoingAlone = int(Phase::GoingAlone), // alone or with the partner
    Discard = int(Phase::Discard),       // a hand position to throw away for the turned card
    Card = int(Phase::Play),             // a hand position to play to the trick
};

// The question open now and the seat that answers it (0 with no question).
struct Asked {
    Question question = Question::None;
    int seat = 0;

    // Answered with a hand position (the discard, a card) rather than a bubble code.
    constexpr bool wantsCard() const {
        return question == Question::Discard || question == Question::Card;
    }
    bool operator==(const Asked&) const = default;
};

using Hand = std::array<int, 6>; // positions 1..5; 0 = empty

struct TeamRecord {
    int tricks = 0;
    int score = 0;
    bool makers = false;

    bool operator==(const TeamRecord&) const = default;
};

// One card played this deal; kept small, since a deal holds twenty.
struct PlayedCard {
    std::uint8_t seat = 0;
    std::uint8_t card = 0;

    bool operator==(const PlayedCard&) const = default;
};

// What the seats have been shown of the current deal beyond the table's
// own fields, and the dealer's discard, which only the dealer saw.
struct DealRecord {
    int turned = 0;                     // the turned card
    int maker = 0;                      // the seat that made trump, 0 before
    int discard = 0;                    // the card the dealer threw away for the turned card
    std::array<PlayedCard, 20> plays{}; // every card played this deal, in order
    int playCount = 0;
    std::array<std::uint8_t, 5> voids{}; // by seat: bit 1 << suit for each suit it showed out of

    bool operator==(const DealRecord&) const = default;
};

struct Table {
    Phase phase = Phase::NoGame;
    int seat = 0; // the seat asked while the phase asks one, else 0

    std::array<Hand, 5> hand{};       // seats 1..4
    std::array<int, 5> played{};      // the card each seat played to this trick
    std::array<bool, 5> sitsout{};    // the partner of a loner
    std::array<bool, 5> alone{};      // the loner
    std::array<TeamRecord, 3> team{}; // teams 1..2

    Ruleset rules; // the house rules of this game
    int playto = 0;
    int dealer = 0;
    int dealerdue = 0; // the seat due to deal; 0 once the deal is made
    int firstasked = 0;
    int makerseat = 0;
    int deckpos = 0;
    int trump = 0;
    int leftbower = 0;
    int refusedsuit = 0; // the turned card's suit once everyone passed it
    int ledsuit = 0;
    int tricknumber = 0;
    bool orderedup = false;
    int leaderBefore = 0; // the seat before the next trick's leader
    Deck deck;
    DealRecord record; // cleared with every deal

    // What is asked now, of which seat: the one reading of the phase and its seat.
    constexpr Asked asked() const {
        static_assert(int(Phase::Play) - int(Phase::OrderUp) == 4, "the asking phases run on");
        if (phase < Phase::OrderUp || phase > Phase::Play) return {};
        return {Question(int(phase)), seat};
    }
    // The seat asked each question, 0 while another (or none) is open.
    constexpr int bidder() const { return seatAsked(Question::OrderUp); }
    constexpr int chooser() const { return seatAsked(Question::Naming); }
    constexpr int aloner() const { return seatAsked(Question::GoingAlone); }
    constexpr int discarder() const { return seatAsked(Question::Discard); }
    constexpr int nextplayer() const { return seatAsked(Question::Card); }

    bool operator==(const Table&) const = default;

private:
    constexpr int seatAsked(Question question) const {
        const Asked now = asked();
        return now.question == question ? now.seat : 0;
    }
};

} // namespace euchre::rules
