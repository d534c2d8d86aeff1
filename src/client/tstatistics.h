// Tstatistics: the player's statistics, counted over all games, per level of
// the computer opponents and per partner, with charts of the recent win rate,
// the points per hand by game and how the hands ended, and a Reset that asks.
#pragma once

#include <QWidget>
#include <functional>

class QTableWidget;
class QChartView;

namespace euchre {

class StatsBook;

class Tstatistics : public QWidget {
    Q_OBJECT
public:
    // How many of the latest games the two game-by-game charts show.
    static constexpr int kChartGames = 50;
    // How many games the win rate of each point of its chart counts.
    static constexpr int kWinRateGames = 10;

    explicit Tstatistics(StatsBook& book, QWidget* parent = nullptr);

    // Shows the book's games anew.
    void refresh();
    QTableWidget* table() const { return m_table; }

    // Asks a yes-or-no question; replaceable so that tests never wait for a person.
    std::function<void(const QString& question, std::function<void(bool yes)> answer)> ask;
    // Says why the file could not be saved; replaceable like `ask`.
    std::function<void(const QString& text)> tell;

    // "Reset": asks first, then forgets every game.
    void resetClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    StatsBook& m_book;
    QTableWidget* m_table = nullptr;
    QChartView* m_winRate = nullptr;
    QChartView* m_pointsPerHand = nullptr;
    QChartView* m_endings = nullptr;
};

} // namespace euchre
