// GameSimulator: four computer seats playing whole games on one host in
// memory, stepped tick by tick without pauses, and the figures a spectator
// counts from the host's messages; the check on the host beside the
// simulator on the rules core.
#pragma once

#include "host/tserver.h"
#include "sim/simulator.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <array>

namespace euchre {

// Totals over every game played so far, counted from the messages alone;
// the same figures the simulator on the rules core counts from its events.
using SimFigures = sim::Figures;

// What the spectator saw of the last game.
struct SimGame {
    int winner = 0;                  // team from "CMD_thewinner"; 0 = none yet
    std::array<int, 3> pointsSum{};  // teams 1..2: the hand points added up
    std::array<int, 3> finalScore{}; // teams 1..2: the totals of the last "CMD_score"
    int hands = 0;
    int deals = 0;
};

class GameSimulator {
public:
    // The slot whose connection stays open and watches; slots 1..4 are left
    // free, so every seat is played by the computer.
    static constexpr int kSpectatorSlot = 5;

    // Needs a QCoreApplication: the host's timers only report themselves
    // active when the thread has an event dispatcher.
    GameSimulator();
    GameSimulator(const GameSimulator&) = delete;
    GameSimulator& operator=(const GameSimulator&) = delete;

    // Plays one game to its winner. False when the game stalls (nothing
    // pending on the computer-turn timer and no winner) or when the messages
    // contradict themselves; fault() then says what happened.
    bool playGame(int playto);

    const SimFigures& figures() const { return m_figures; }
    const SimGame& lastGame() const { return m_game; }
    const QString& fault() const { return m_fault; }
    TServer& server() { return m_server; }

private:
    void observe(QByteArrayView message);
    void onDealer();
    void onScore(QByteArrayView args);
    void onWinner(QByteArrayView args);
    void setFault(const QString& text);

    TServer m_server;
    SimFigures m_figures;
    SimGame m_game;
    QString m_fault;
    int m_playto = 0;
    bool m_gameOver = false;
    // The current deal, as far as the messages tell it.
    bool m_dealOpen = false; // dealt, and no trump made yet
    bool m_accepted = false;
    bool m_aloneThisDeal = false;
    std::array<int, 3> m_tricks{}; // teams 1..2, from the last "CMD_trickwinner"
};

} // namespace euchre
