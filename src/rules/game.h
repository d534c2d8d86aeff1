// The one owner of a game in progress: it holds the table and moves it on one
// step at a time, each step reporting what happened as events in the order
// they happened. A step the table's phase does not allow changes nothing.
#pragma once

#include "rules/table.h"

#include <array>

namespace euchre::rules {

enum class EventKind : std::uint8_t {
    Dealer,       // seat: the dealer
    Dealt,        // the four hands are in the table
    Turned,       // card: the turned card
    Bidder,       // seat: asked in the order-up phase
    Passed,       // seat
    Accepted,     // seat: ordered the turned card up
    TrumpMade,    // seat: the maker; suit: trump
    Chooser,      // seat: asked in the naming phase; suit: the turned-down suit
    Aloner,       // seat: the maker asked whether it plays alone
    GoingAlone,   // seat: the maker; code: BubbleAlone or BubbleWithPartner
    Discarder,    // seat: the dealer asked to discard
    Switched,     // seat: the dealer; position; card: the turned card now there
    TrickStarted, // the table is cleared for a trick
    NextPlayer,   // seat: to play
    Played,       // seat; position; card
    TrickWon,     // seat: the winner; tricks: both teams' tricks
    Scored,       // team: the makers; score: both teams' totals; points: the hand's
    GameWon,      // team: the winner
    RefusedTrump, // seat: named the turned-down suit
    RefusedCard,  // seat; position: a card that does not follow suit
    EmptyPlace,   // seat; position: holds no card
};

// One thing that happened; each kind fills the fields named beside it above.
struct Event {
    EventKind kind = EventKind::Dealt;
    int seat = 0;
    int team = 0;
    int suit = 0;
    int code = 0;
    int position = 0;
    int card = 0;
    std::array<int, 3> tricks{}; // teams 1..2
    std::array<int, 3> score{};  // teams 1..2
    std::array<int, 3> points{}; // teams 1..2

    bool operator==(const Event&) const = default;
};

// The events of one step. No step makes more than a handful; a thrown-in
// deal that deals again is the longest.
class Events {
public:
    static constexpr int kCapacity = 16;

    void push(const Event& event) {
        if (m_count < kCapacity) m_list[m_count++] = event;
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

// Each step returns true when it moved the game on, false when it refused or
// ignored the action; a refusal may still report an event, and changes nothing.
class Game {
public:
    const Table& table() const { return m_table; }
    // The table itself, for laying out a position by hand (tests); the steps
    // go on from whatever it holds.
    Table& arrange() { return m_table; }

    Phase phase() const { return m_table.phase; }
    Asked asked() const { return m_table.asked(); }

    // A new game to the play-to score, from any phase: scores cleared, seat 1 deals.
    bool startGame(int playto, Events& events);

    // Deals while a deal is due, with the seat due to deal as dealer: two then
    // three cards (packetOrder 0) or three then two; then the order-up phase begins.
    bool deal(int seat, int packetOrder, Events& events);

    // A bidding decision of the seat asked: accept or pass, name a suit or
    // pass, alone or not. Naming the turned-down suit is refused to any seat.
    bool decide(int seat, int code, Events& events);

    // A hand position from the seat asked: the dealer's discard, or a card to the trick.
    bool playCard(int seat, int position, Events& events);

    // Ends a pause: the next trick, or the next deal by the seat after the dealer.
    bool proceed(Events& events);

    // Takes a won trick's card off a seat's place while the game pauses after
    // it (the next trick clears every place anyway).
    bool gather(int seat);

private:
    Table m_table;
};

} // namespace euchre::rules
