// Keeping a game's record as it is played: fed the game's events in order
// (the simulator straight from the rules core, the table window from the
// host's messages) and whatever hands the keeper may see. Only what it is
// given goes in; the hands as dealt are kept when all four were seen.
#pragma once

#include "records/gamerecord.h"
#include "rules/game.h"

#include <functional>

namespace euchre::records {

class Recorder {
public:
    // A new game begins: what was kept is dropped.
    void startGame(const rules::Ruleset& rules, int playto, const QStringList& players,
                   const QString& date, const QString& gameId);
    // Until a game starts, events are passed over.
    bool recording() const { return m_recording; }
    void stop() { m_recording = false; }

    void event(const rules::Event& event);
    // A seat's hand by position 1..5, as dealt (0 for a card not seen).
    void dealtHand(int seat, const rules::Hand& hand);

    const GameRecord& record() const { return m_record; }
    // Lets a deal's remarks be written; false for a deal not kept.
    bool annotate(int deal, const std::function<void(DealRecord&)>& write);
    // Deals scored (or thrown in) since the game began.
    int finishedDeals() const { return m_finished; }
    bool gameOver() const { return m_record.hasFinalScore; }
    // Counts every change to the record, never going back (not even for a
    // new game): a record saved at one count is saved as it stands while the
    // count stays the same.
    quint64 changes() const { return m_changes; }

private:
    DealRecord* current();

    GameRecord m_record;
    bool m_recording = false;
    int m_finished = 0;
    quint64 m_changes = 0;
    bool m_trickOpen = false;
    std::array<int, 2> m_score{};         // after the last scored deal
    std::array<rules::Hand, 5> m_hands{}; // by seat, as the events leave them
    std::array<bool, 5> m_seen{};
};

} // namespace euchre::records
