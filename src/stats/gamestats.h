// The player's statistics: one record per finished game, the totals of any
// set of them, and the tracker that builds a game's record from what the
// table is told during the game.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace euchre {

// One finished game as the player of the window saw it. "We" is the
// player's team, "they" the other one.
struct GameEntry {
    QString when;    // when it ended, as ISO date and time
    QString level;   // the computer opponents' level, or who the opponents were
    QString partner; // the partner's name
    bool won = false;
    int hands = 0;        // hands dealt, thrown-in ones included
    int points = 0;       // points our team scored
    int made = 0;         // we called trump and took 3 or 4 tricks
    int marched = 0;      // we called trump and took all 5
    int suffered = 0;     // we called trump and were euchred
    int theirMade = 0;    // they called trump and took 3 or 4 tricks
    int theirMarched = 0; // they called trump and took all 5
    int euchred = 0;      // they called trump and we euchred them
    int thrownIn = 0;     // nobody called trump
    int loneCalls = 0;    // the player went alone
    int loneWon = 0;      // ... and took at least 3 tricks
    bool operator==(const GameEntry&) const = default;
};

// The counts over a set of games.
struct StatsTotals {
    int games = 0;
    int won = 0;
    int hands = 0;
    int points = 0;
    int trumpsMade = 0; // hands our team called
    int euchred = 0;    // their calls we euchred
    int marches = 0;
    int loneCalls = 0;
    int loneWon = 0;
    int suffered = 0;   // our calls euchred
    int longestRun = 0; // the most games won one after another
    double winRate() const { return games ? double(won) / games : 0.0; }
    double pointsPerHand() const { return hands ? double(points) / hands : 0.0; }
    bool operator==(const StatsTotals&) const = default;
};

// The totals of the games `keep` accepts (all when it is empty), in the
// order they were played.
StatsTotals totalsOf(const std::vector<GameEntry>& games,
                     const std::function<bool(const GameEntry&)>& keep = {});

// Builds one game's record from the table's news: the game's start, each
// deal, who went alone, each hand's result and the
// winner. Seats are 1..4, teams 1 (seats 1, 3) and 2 (seats 2, 4).
class GameTracker {
public:
    // A game starts with the player in `seat`; a game joined under way is
    // never tracked, as its first hands were not seen.
    void start(int seat);
    void dealt();
    void alone(int seat);
    // A hand's result: the makers' team, the tricks they took and the points
    // each team scored.
    void scored(int makers, int makersTricks, int points1, int points2);
    // The game is over; the finished record, when the game was tracked from
    // its start.
    std::optional<GameEntry> finished(int winners, const QString& level, const QString& partner,
                                      const QString& when);
    // The game stops without a winner (a new game, leaving the table).
    void drop() { m_on = false; }
    bool tracking() const { return m_on; }

private:
    bool m_on = false;
    int m_team = 0;
    int m_seat = 0;
    bool m_handOpen = false; // dealt, not yet scored
    int m_loner = 0;
    GameEntry m_game;
};

} // namespace euchre
