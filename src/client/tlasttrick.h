// Tlasttrick: the last complete trick, the card each seat played with its
// name, the led suit, trump and who won it.
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;

namespace euchre {

class ArtItem;
struct LastTrick;

class Tlasttrick : public QWidget {
    Q_OBJECT
public:
    explicit Tlasttrick(QWidget* parent = nullptr);

    // Shows a completed trick.
    void showTrick(const LastTrick& trick);
    // The names of seats 1 to 4 as the table shows them, read each time the
    // window is activated.
    std::function<QStringList()> tableNames;
    void FormActivate();

    ArtItem* played(int seat) const;
    QLabel* player(int seat) const;
    ArtItem* trumpcard() const { return m_trump; }
    QLabel* ledoff() const { return m_ledoff; }
    QLabel* winner() const { return m_winner; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::array<ArtItem*, 5> m_played{};
    std::array<QLabel*, 5> m_players{};
    ArtItem* m_trump = nullptr;
    QLabel* m_ledoff = nullptr;
    QLabel* m_winner = nullptr;
};

} // namespace euchre
