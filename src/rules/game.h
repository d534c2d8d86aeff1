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
    RefusedPass,  // seat: the dealer, who may not pass in the naming round
};

// One thing that happened. Kept as small as the game's plainest records (the
// simulator makes millions): five places, each kind filling the ones its
// fields above name, made by the makers below and read by name.
struct Event {
    EventKind kind = EventKind::Dealt;

    // A kind with one seat (or none): Dealer, Dealt, Bidder, Passed, Accepted,
    // Aloner, Discarder, TrickStarted, NextPlayer, RefusedTrump, RefusedPass.
    static constexpr Event of(EventKind kind, int seat = 0) { return Event(kind, seat); }
    static constexpr Event turned(int card) { return Event(EventKind::Turned, 0, 0, card); }
    // TrumpMade, Chooser.
    static constexpr Event trump(EventKind kind, int seat, int suit) {
        return Event(kind, seat, suit);
    }
    static constexpr Event goingAlone(int seat, int code) {
        return Event(EventKind::GoingAlone, seat, code);
    }
    // Switched, Played (with the card), RefusedCard, EmptyPlace.
    static constexpr Event place(EventKind kind, int seat, int position, int card = 0) {
        return Event(kind, seat, position, card);
    }
    static constexpr Event trickWon(int winner, int tricks1, int tricks2) {
        return Event(EventKind::TrickWon, winner, tricks1, tricks2);
    }
    static constexpr Event scored(int team, int score1, int points1, int score2, int points2) {
        return Event(EventKind::Scored, team, score1, points1, score2, points2);
    }
    static constexpr Event gameWon(int team) { return Event(EventKind::GameWon, team); }

    constexpr Event() = default;

    constexpr int seat() const { return m_a; }
    constexpr int team() const { return m_a; }
    constexpr int suit() const { return m_b; }
    constexpr int code() const { return m_b; }
    constexpr int position() const { return m_b; }
    constexpr int card() const { return m_c; }
    // Of the teams 1..2.
    constexpr int tricks(int team) const { return team == 1 ? m_b : m_c; }
    constexpr int score(int team) const { return team == 1 ? m_b : m_d; }
    constexpr int points(int team) const { return team == 1 ? m_c : m_e; }

    bool operator==(const Event&) const = default;

private:
    constexpr Event(EventKind k, int a, int b = 0, int c = 0, int d = 0, int e = 0)
        : kind(k), m_a(a), m_b(b), m_c(c), m_d(d), m_e(e) {}

    int m_a = 0, m_b = 0, m_c = 0, m_d = 0, m_e = 0;
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

    // A new game to the play-to score under the house rules, from any phase:
    // scores cleared, seat 1 deals. Without rules, the plain ones.
    bool startGame(int playto, const Ruleset& rules, Events& events);
    bool startGame(int playto, Events& events) { return startGame(playto, Ruleset{}, events); }

    // Deals while a deal is due, with the seat due to deal as dealer: two then
    // three cards (packetOrder 0) or three then two; then the order-up phase begins.
    bool deal(int seat, int packetOrder, Events& events);

    // A bidding decision of the seat asked: accept or pass, name a suit or
    // pass, alone or not. Naming the turned-down suit is refused to any seat,
    // and a pass to the dealer who must name a suit.
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
