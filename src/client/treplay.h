// Treplay: the replay window. A game record stepped through deal by deal
// and trick by trick with all four hands face up, the calls, who made trump,
// the scores, and where the record stops being legal.
#pragma once

#include "records/gamerecord.h"
#include "records/replay.h"

#include <QWidget>
#include <array>
#include <vector>

class QLabel;
class QPushButton;

namespace euchre {

// What the board shows at one step of one deal.
struct ReplayView {
    std::array<std::vector<int>, 5> hands{}; // by seat 1..4; 0 = a card the record does not tell
    std::array<bool, 5> sitsOut{};
    std::array<int, 5> trick{}; // the card each seat played to the trick shown, 0 none
    int trickWinner = 0;
    int upCard = 0; // shown while the deal is being bid
    int dealer = 0;
    int maker = 0;
};

class Treplay : public QWidget {
    Q_OBJECT
public:
    // A window of its own, or with `embedded` a part of another window.
    explicit Treplay(QWidget* parent = nullptr, bool embedded = false);

    // Reads and shows a record file; false with the reason when it is not a record.
    bool openFile(const QString& path, QString* error);
    // Shows a record under a name (its file's, or the game's).
    void showRecord(const records::GameRecord& record, const QString& name);

    // Steps: 0 the deal as dealt and bid, then one per trick. Moving past a
    // deal's last step goes on to the next deal, and back before step 0 to
    // the previous deal's last.
    void step(int delta);
    void moveDeal(int delta);
    int deal() const { return m_deal; } // 0-based
    int stepNumber() const { return m_step; }
    int steps() const; // of the deal shown, the dealt step included
    const ReplayView& view() const { return m_view; }
    const records::Replay& replay() const { return m_replay; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    QString seatName(int seat) const;

    records::GameRecord m_record;
    records::Replay m_replay;
    int m_deal = 0;
    int m_step = 0;
    ReplayView m_view;
    QWidget* m_board = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_dealLine = nullptr;
    QLabel* m_calls = nullptr;
    QLabel* m_stepLine = nullptr;
    QLabel* m_score = nullptr;
    QLabel* m_fault = nullptr;
    QPushButton* m_previousDeal = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_nextDeal = nullptr;
};

} // namespace euchre
