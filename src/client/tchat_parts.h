// The parts of the table window, one per concern and handler file: the
// seats, the own hand with the cards on the table, the turns with the
// bubbles and bids, and the score board. Each handles its host messages and
// keeps the state only it needs; all of them change the window's one record
// of what the table shows. Seen only by the window's own files.
#pragma once

#include "client/tchat.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>

class QAction;
class QMenu;

namespace euchre {

// The seats as seen from the own chair (tchat_seats.cpp).
class Tchat::Seats {
public:
    explicit Seats(Tchat& table);

    void newplayerinfo(QByteArrayView args);
    void playerdisconnected(QByteArrayView args);
    void justwatching(QByteArrayView args);

    // Turns the table so that the own seat sits at the bottom.
    void sortstuff(int slot);
    // "Just Watch" in the menu.
    void JustWatch1Click();
    void removeFromGame(int slot);
    // The names shown for the other seats, "<Waiting>" left out.
    QStringList otherNames() const;
    // The menu key's way to a name-label menu: the seats to choose from.
    void seatsMenu();

private:
    // The name-label menu opens for a seat: its entries follow who may use them.
    void label_playername1ContextPopup(int seat);
    void kicking();
    void SettoJustWatch1Click();
    void UnsetJustWatch1Click();

    Tchat& t;
    QMenu* m_popupKick = nullptr;
    QMenu* m_popupSeats = nullptr;
    QAction* m_removeFromGame = nullptr;
    QAction* m_setJustWatch = nullptr;
    QAction* m_unsetJustWatch = nullptr;
    int m_popupTarget = 0; // the seat the name-label menu was opened on
};

// The own hand, the other seats' face-down hands and the cards on the table
// (tchat_hand.cpp).
class Tchat::Hand {
public:
    explicit Hand(Tchat& table) : t(table) {}

    void placecard(QByteArrayView args);
    void loadtheircard(QByteArrayView args);
    void loadcards(QByteArrayView args);
    void playedcard(QByteArrayView args);
    void notvalid(QByteArrayView args);
    void trickwinner(QByteArrayView args);
    void clearcards(QByteArrayView args);
    void goingalone(QByteArrayView args);
    void switchcard(QByteArrayView args);

    // Sorts the own hand: by card number, or, once trump is fixed and "Sort
    // Trumps Together" is ticked, with the trumps at the right end.
    void sortthem();
    void clearHand();
    void clampKeyPlace();
    // Another seat's face-down hand of `count` cards.
    void setBacks(int seat, int count);
    // The cards on the table go; what counts for the last trick stays.
    void clearTrick();

    // A press on the own card at a place of the hand (the keys press places too).
    void pressCard(int place, Qt::MouseButton button);
    // The place of the own hand holding a position of the host's hand, 0 when none.
    int placeOf(int position) const;
    // Keys while the table has the focus; true when the key was used.
    bool tableKey(int key);

private:
    void createcard(int position, int card);
    void movecards(int position);

    Tchat& t;
};

// Whose turn it is, the bidding bubbles, each seat's bids of the deal, the
// dealer, trump, and the start of a game and of each deal (tchat_bidding.cpp).
class Tchat::Turns {
public:
    explicit Turns(Tchat& table) : t(table) {}

    void setdealer(QByteArrayView args);
    void settrump(QByteArrayView args);
    void setbidder(QByteArrayView args);
    void hepassed(QByteArrayView args);
    void heaccepted(QByteArrayView args);
    void setchooser(QByteArrayView args);
    void trumpchoosen(QByteArrayView args);
    void setaloner(QByteArrayView args);
    void setdiscarder(QByteArrayView args);
    void setnextplayer(QByteArrayView args);
    void startthegame(QByteArrayView args);
    // The house rules of a game joined under way; the starter's refused rules.
    void loadrules(QByteArrayView args);
    void badrules(QByteArrayView args);

    // A status sentence about a seat; for the own seat it speaks to the player.
    enum class Say {
        Dealing,
        AcceptOrPass,
        Passed,
        Accepted,
        Choosing,
        Chose,
        GoAlone,
        Discard,
        PlayACard,
        WonTheTrick
    };
    QString sentence(Say what, int seat, const QString& suit = {}) const;
    void setStatus(const QString& text);
    void setBid(int seat, int tag);
    void clearBids();
    void bubble1Click(int bubble);
    // The host refused the own choice in the naming round: the question stays open.
    void namingRefused(const QString& why);
    // After the catch-up (each seat's cards then): the turn as far as the
    // table can tell it.
    void showCaughtUpTurn(const std::array<int, 5>& counts);
    void clearall();

private:
    void pointArrow(int seat);
    void turnSound();
    void showMaker(int seat);
    void clearbubbles();
    void offer(int bubble, int picture, int code);
    // The naming round's bubbles for the own seat.
    void offerNaming();
    void startround();
    // The house rules the game is played by, on the score card and in the chat log.
    void useRules(const rules::Ruleset& rules);

    Tchat& t;
    bool m_caughtUp = false; // the catch-up came; its question follows, if any
    int m_turnedDown = 0;    // the suit that may not be named in this naming round
};

// The score board's side of the game (tchat_scores.cpp).
class Tchat::Scores {
public:
    explicit Scores(Tchat& table) : t(table) {}

    void loadstats(QByteArrayView args);
    void scores(QByteArrayView args);
    void thewinner(QByteArrayView args);
    // "Start Game" during a game would throw the game away: asks first.
    void askBeforeRestart();

private:
    Tchat& t;
};

} // namespace euchre
