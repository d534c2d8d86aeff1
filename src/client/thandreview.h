// ThandReview: the Hand Review window. The player's own decisions of a hand
// in order (what was asked, the answer, the expert's, the points of both as
// the player saw the game then, and the mark), and below them the whole hand
// face up, trick by trick. Every hand of the game can be chosen.
#pragma once

#include "client/handreview.h"
#include "records/gamerecord.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

namespace euchre {

class Treplay;

class ThandReview : public QWidget {
    Q_OBJECT
public:
    explicit ThandReview(QWidget* parent = nullptr);

    // The game so far and the seat whose decisions are reviewed; shows its
    // last finished hand (or the one in play when none is finished).
    void showGame(const records::GameRecord& record, int seat);
    // Reviews one hand (0-based) of the game shown.
    void showDeal(int deal);
    int deal() const { return m_deal; }
    const std::vector<ReviewedDecision>& decisions() const { return m_decisions; }
    Treplay* hand() const { return m_hand; }

signals:
    // A hand was reviewed: the marks may go into the game's record.
    void reviewed(int deal, const std::vector<ReviewedDecision>& decisions);

private:
    records::GameRecord m_record;
    int m_seat = 0;
    int m_deal = -1;
    std::vector<ReviewedDecision> m_decisions;
    QComboBox* m_deals = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_summary = nullptr;
    Treplay* m_hand = nullptr;
};

} // namespace euchre
