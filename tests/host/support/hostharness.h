// HostHarness: four computer seats playing whole games on one host in
// memory, stepped tick by tick without pauses, and checked by what a
// spectator is sent; the figures are counted from those messages the way the
// simulator counts them from the rules core's events. Used by the host's
// tests and the host benchmark; never part of a shipped program.
#pragma once

#include "host/tserver.h"
#include "sim/figures.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <array>

namespace euchre::testing {

// What the spectator saw of the last game.
struct WatchedGame {
    int winner = 0;                  // team from "CMD_thewinner"; 0 = none yet
    std::array<int, 3> pointsSum{};  // teams 1..2: the hand points added up
    std::array<int, 3> finalScore{}; // teams 1..2: the totals of the last "CMD_score"
    int hands = 0;
    int deals = 0;
};

class HostHarness {
public:
    // The slot whose connection stays open and watches; slots 1..4 are left
    // free, so every seat is played by the computer.
    static constexpr int kSpectatorSlot = 5;

    // Needs a QCoreApplication: the host's timers only report themselves
    // active when the thread has an event dispatcher.
    HostHarness();
    HostHarness(const HostHarness&) = delete;
    HostHarness& operator=(const HostHarness&) = delete;

    // Plays one game to its winner. False when the game stalls (nothing
    // pending on the computer-turn timer and no winner) or when the messages
    // contradict themselves; fault() then says what happened.
    bool playGame(int playto);

    const sim::Figures& figures() const { return m_counter.figures(); }
    const WatchedGame& lastGame() const { return m_game; }
    const QString& fault() const { return m_fault; }
    TServer& server() { return m_server; }

private:
    void observe(QByteArrayView message);
    void onDealer(int seat);
    void onScore(QByteArrayView args);
    void onWinner(QByteArrayView args);
    void setFault(const QString& text);
    // Counts one message's event, as the rules core reported it to the host.
    void count(const rules::Event& event);

    TServer m_server;
    sim::FigureCounter m_counter;
    WatchedGame m_game;
    QString m_fault;
    int m_playto = 0;
    bool m_gameOver = false;
    // The current deal, as far as the messages tell it.
    bool m_dealOpen = false; // dealt, and no trump made yet
    bool m_aloneThisDeal = false;
    std::array<int, 3> m_tricks{}; // teams 1..2, from the last "CMD_trickwinner"
};

} // namespace euchre::testing
