// The course of a game: each step takes the table and one action and moves it
// on, reporting what happened as events in the order they happened.
#pragma once

#include "rules/table.h"

#include <array>

namespace euchre::rules {

enum class EventKind : std::uint8_t {
    Dealer,       // a: the dealer
    Dealt,        // the four hands are in the table
    Turned,       // a: the turned card
    Bidder,       // a: the seat asked in the order-up phase
    Passed,       // a: the seat
    Accepted,     // a: the seat that ordered the turned card up
    TrumpMade,    // a: the maker, b: the trump suit
    Chooser,      // a: the seat asked in the naming phase, b: the turned-down suit
    Aloner,       // a: the maker asked whether it plays alone
    GoingAlone,   // a: the maker, b: BubbleAlone or BubbleWithPartner
    Discarder,    // a: the dealer asked to discard
    Switched,     // a: the dealer, b: position, c: the turned card now there
    TrickStarted, // the table is cleared for a trick
    NextPlayer,   // a: the seat to play
    Played,       // a: seat, b: position, c: card
    TrickWon,     // a: winner, b: team 1 tricks, c: team 2 tricks
    Scored,       // a: making team, b: team 1 score, c: its points, d: team 2 score, e: its points
    GameWon,      // a: the winning team
    RefusedTrump, // a: the seat that named the turned-down suit
    RefusedCard,  // a: seat, b: position of a card that does not follow suit
    EmptyPlace,   // a: seat, b: a position that holds no card
};

struct Event {
    EventKind kind;
    int a = 0, b = 0, c = 0, d = 0, e = 0;

    bool operator==(const Event&) const = default;
};

// The events of one step. No step makes more than a handful; a thrown-in
// deal that deals again is the longest.
class Events {
public:
    static constexpr int kCapacity = 16;

    void push(EventKind kind, int a = 0, int b = 0, int c = 0, int d = 0, int e = 0) {
        if (m_count < kCapacity) m_list[m_count++] = Event{kind, a, b, c, d, e};
    }
    void clear() { m_count = 0; }
    int size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const Event& operator[](int i) const { return m_list[i]; }
    const Event* begin() const { return m_list.data(); }
    const Event* end() const { return m_list.data() + m_count; }

private:
    std::array<Event, kCapacity> m_list{};
    int m_count = 0;
};

// Each step returns true when it moved the table on, false when it refused or
// ignored the action (a refusal may still report an event).

// A new game to the play-to score: scores cleared, seat 1 deals.
bool startGame(Table& table, int playto, Events& events);

// Deals with the seat as dealer (only the seat due to deal), two then three
// cards (packetOrder 0) or three then two; then the order-up phase begins.
bool deal(Table& table, int seat, int packetOrder, Events& events);

// A bidding decision: accept or pass, name a suit or pass, alone or not.
bool decide(Table& table, int seat, int code, Events& events);

// A hand position from the seat asked: the dealer's discard, or a card to the trick.
bool playCard(Table& table, int seat, int position, Events& events);

// Begins a trick led by the seat after table.leaderBefore.
bool startTrick(Table& table, Events& events);

// Scores the hand after its fifth trick and decides the game.
bool scoreHand(Table& table, Events& events);

// A new deal by the seat after table.dealerdue, the hands and trick cleared.
bool startRound(Table& table, Events& events);

// Ends a pause: the next trick or the next deal.
bool proceed(Table& table, Events& events);

} // namespace euchre::rules
