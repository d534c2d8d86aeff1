// What one seat may see of a game: its own hand and discard, the turned card
// and who took it, the bidding, every card played and the suits each seat has
// shown out of, the trick, the scores, and what the game asks of whom. The
// computer players decide on this alone; it is made in one place, seatView().
#pragma once

#include "rules/table.h"

namespace euchre::rules {

// A read-only window on one table for one seat: it answers only what that
// seat may see, so a decision made on it cannot depend on another hand or on
// the deck. It reads the table it was made from, which must outlive it.
class SeatView {
public:
    int seat() const { return m_seat; }
    // The question open now and the seat that answers it.
    Asked asked() const { return m_table->asked(); }
    // Whether the game waits for this seat's decision.
    bool isAsked() const { return m_seat != 0 && asked().seat == m_seat; }

    // The seat's own hand by position 1..5; 0 = empty.
    const Hand& hand() const { return m_table->hand[m_seat]; }
    // Its own discard when it dealt and took the turned card, else 0.
    int discard() const { return m_seat == m_table->dealer ? m_table->record.discard : 0; }

    // The house rules of the game, which every seat knows.
    const Ruleset& rules() const { return m_table->rules; }
    // Whether this seat is the dealer who must name a suit in the naming round.
    bool mustNameTrump() const {
        return asked().question == Question::Naming &&
               rules::mustNameTrump(rules(), m_seat, m_table->dealer);
    }

    int dealer() const { return m_table->dealer; }
    int turned() const { return m_table->record.turned; }
    // The dealer took the turned card ...
    bool orderedUp() const { return m_table->orderedup; }
    // ... and has already thrown a card away.
    bool discarded() const { return m_table->record.discard != kNoCard; }
    // The turned card's suit once everyone passed it.
    int refusedsuit() const { return m_table->refusedsuit; }
    // The suit made trump, 0 while none is made.
    int trump() const { return m_table->record.maker ? m_table->trump : 0; }
    int maker() const { return m_table->record.maker; }
    // The seat playing alone, 0 if none.
    int loner() const;

    // Every card played this deal, in order.
    const PlayedCard& play(int i) const { return m_table->record.plays[i]; }
    int playCount() const { return m_table->record.playCount; }
    // Bit 1 << suit for each suit the seat 1..4 has shown out of.
    int voids(int seat) const { return m_table->record.voids[seat]; }

    // The current trick's card of a seat 1..4, 0 = none yet.
    int trick(int seat) const { return m_table->played[seat]; }
    int ledsuit() const { return m_table->ledsuit; }

    // Tricks this deal and scores of the teams 1..2; the game's play-to score.
    int tricks(int team) const { return m_table->team[team].tricks; }
    int score(int team) const { return m_table->team[team].score; }
    int playto() const { return m_table->playto; }

private:
    friend SeatView seatView(const Table& table, int seat);
    SeatView(const Table& table, int seat) : m_table(&table), m_seat(seat) {}

    const Table* m_table;
    int m_seat;
};

// The view of a seat 1..4 on a table; any other number sees no hand.
SeatView seatView(const Table& table, int seat);

} // namespace euchre::rules
