// TableRecord: what the table window shows, as a plain record. The window's
// handlers change it from the host's messages and the player's clicks; the
// board draws it. It holds no widget, so nothing the table decides is ever
// read back from a picture's place or a label's text.
#pragma once

#include "rules/ruleset.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace euchre {

// The text a seat's name label shows while nobody sits there.
inline const QString kWaitingSeat = QStringLiteral("<Waiting>");

// One seat as the table shows it.
struct SeatRecord {
    QString name = kWaitingSeat; // what its name label says
    bool watching = false;       // the eyes: the player lets the computer play
    bool maker = false;          // the maker's mark
    int cardsLeft = 0;           // another seat's face-down cards, 0 to 5
    bool backsShown = false;     // those cards are on the table (not for a loner's partner)
    int bid = 0;                 // the latest bid of the deal, an art::BidTag
    bool operator==(const SeatRecord&) const = default;
};

// One place of the own hand on screen.
struct HandSlot {
    bool occupied = false;
    int position = -1;   // the card's position in the host's hand, -1 when free
    int card = 0;        // its card number; 0 shows the back
    bool raised = false; // played or about to be
    bool nudged = false; // a sort moved it: it lies 2 pixels left of its place
    bool operator==(const HandSlot&) const = default;
};

// How many places of a hand (places 1 .. 5) hold a card: they fill from the left.
inline int heldCount(const std::array<HandSlot, 6>& places) {
    int n = 0;
    while (n < 5 && places[static_cast<size_t>(n + 1)].occupied) ++n;
    return n;
}

// One bidding bubble: the picture it shows and the code a press sends.
struct BubbleRecord {
    int picture = 0;
    int code = -1; // -1: the bubble is empty
    bool operator==(const BubbleRecord&) const = default;
};

// The cards on the table in the trick being played.
struct TrickRecord {
    // The picture before each seat 1..4 (0 is a face-down card); nothing once cleared.
    std::array<std::optional<int>, 5> shown{};
    // The card each seat played to this trick, for the last-trick record; 0 none.
    std::array<int, 5> played{};
    // Seats in the order their cards came: a later card lies over an earlier one.
    std::array<int, 4> order{};
    int count = 0; // how many of `order` are filled
    bool operator==(const TrickRecord&) const = default;
};

// The score card on the table's corner.
struct ScoreRecord {
    int playto = 10;
    std::array<int, 3> score{};                 // by team 1..2
    std::array<std::optional<int>, 3> tricks{}; // by team; blank before the first deal
    std::array<int, 3> bonus{};                 // the last hand's points by team; 0 is blank
    std::array<bool, 3> makers{};               // the makers' bar by team
    QString houseRules; // the house rules in force, under the play-to score; empty for none
    bool operator==(const ScoreRecord&) const = default;
};

// What the last complete trick showed, kept for the last-trick window.
struct LastTrick {
    std::array<int, 5> cards{}; // by seat 1..4; 0 = none
    int trumpEntry = 0;         // card picture entry of the trump picture
    QString ledoff;             // the led suit's name
    QString winner;             // "<name> Won the Trick!"
    bool operator==(const LastTrick&) const = default;
};

struct TableRecord {
    // ---- the seats ----
    int myslot = 0;                        // the own slot: its seat sits at the bottom
    std::array<QString, 5> defaultnames{}; // the computer's name of each seat 1..4
    std::array<SeatRecord, 5> seats{};     // 1..4
    // The spectators as the spectator list window shows them: "5: name".
    QStringList spylist;
    int dealer = 0;            // 0 before the first deal
    rules::Ruleset houseRules; // of the game at this table, as the host told them
    int winners = 0;           // the team whose banners show after a game, 0 none

    // ---- the own hand ----
    std::array<HandSlot, 6> handslots{}; // places 1..5
    int keyPlace = 1;                    // the place the keys' highlight is on
    int handTrump = 0;                   // trump once fixed in this deal, else 0

    // ---- whose turn it is and what is asked ----
    int turnseat = 0;          // the seat whose decision or card is awaited, 0 none
    bool cardAsked = false;    // the turn is for a card (a play or a discard), not a bid
    int arrow = 0;             // the seat the turn arrow points at, 0 none
    bool discardAsked = false; // "Discard a Card" over the own hand
    std::array<BubbleRecord, 5> bubbles{}; // 1..4
    QString status = QStringLiteral("Good Luck!!");
    bool startOffered = false; // the table's Start Game button
    // The hint asked for: the own card's hand position raised and ringed, or
    // the bubble 1..4 ringed; 0 for none. Any move of the game clears them.
    int hintPosition = 0;
    int hintBubble = 0;
    // A hand of this game has ended with the own seat in it: the Hand Review
    // button shows from then on until the next game starts.
    bool reviewable = false;
    std::optional<int> trump; // the picture on the trump place

    // ---- the score board and the tricks ----
    ScoreRecord scores;
    int trickWinner = 0; // the seat the trick-winner marker lies at, 0 hidden
    TrickRecord trick;
    QString ledsuit; // suit name of the trick's first card
    LastTrick lasttrick;

    // ---- what the table says aloud to a screen reader ----
    QString announcement; // the latest news
    int announced = 0;    // counts the news, so the same words are said again
    void announce(const QString& text) {
        announcement = text;
        ++announced;
    }

    // The text a seat's name label shows.
    QString seatName(int seat) const {
        return seat >= 1 && seat <= 4 ? seats[static_cast<size_t>(seat)].name : QString();
    }
    // A seat nobody has taken shows the computer's name for it.
    void showDefaultName(int seat) {
        if (seat < 1 || seat > 4) return;
        QString& name = seats[static_cast<size_t>(seat)].name;
        if (name == kWaitingSeat) name = defaultnames[static_cast<size_t>(seat)];
    }
    // How many places of the own hand hold a card.
    int held() const { return heldCount(handslots); }
};

} // namespace euchre
