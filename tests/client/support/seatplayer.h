// Plays the own seat of a table window the way a person does: bubbles and
// own cards pressed by mouse clicks on the widgets, or by keys on the table.
#pragma once

#include "client/tchat.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <functional>
#include <initializer_list>

namespace euchre::testing {

class SeatPlayer {
public:
    enum Input { Mouse, Keys };

    SeatPlayer(Tchat& table, Input input);
    ~SeatPlayer();

    // Acts on what the table asks of the own seat, if anything.
    void step();
    // What the table shows this seat now, for a failure's message.
    QString describe() const;

    // Presses Pass whenever it is offered, instead of the first bubble.
    bool passing = false;
    // Asks for a hint (the H key) at every decision and follows it.
    bool followHints = false;
    int hintsFollowed = 0;
    // Hints for a card to play, and those whose words said how often it takes the trick.
    int cardHints = 0, cardHintsWithTrick = 0;

    int handsScored = 0;
    int winner = 0; // the winning team once "CMD_thewinner" arrived
    int refusals = 0;
    // The naming round's question as the dealer, and how often Pass was among its bubbles.
    int namingAsDealer = 0;
    int passOfferedAsDealer = 0;

private:
    enum class Pending { None, Bubble, Card, Retry };
    void dispatched(const QByteArray& word);
    void pressCard(int place);
    bool followHint();
    int heldCards() const;
    bool asked() const;

    Tchat& m_table;
    Input m_input;
    Pending m_pending = Pending::None;
    int m_place = 1;
    QElapsedTimer m_idle; // since the last press or message
    QByteArray m_lastWord;
    QMetaObject::Connection m_connection;
};

// Steps the players and the event loop until `done` holds or `ms` pass.
bool playUntil(std::initializer_list<SeatPlayer*> players, const std::function<bool()>& done,
               int ms);

} // namespace euchre::testing
