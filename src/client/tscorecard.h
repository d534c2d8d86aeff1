// Tscorecard: the logs window, one log per team, each hand's result and each
// game's winner a line; the logs hold the whole run of the program.
#pragma once

#include <QColor>
#include <QWidget>
#include <array>

class QTextEdit;

namespace euchre {

class Tscorecard : public QWidget {
    Q_OBJECT
public:
    explicit Tscorecard(QWidget* parent = nullptr);

    // The log of a team (1 Tan, 2 Blue): "memo_score1", "memo_score2".
    QTextEdit* log(int team) const;
    // Lines the team's log holds.
    int lines(int team) const;
    // Appends one bold line in the colour to the team's log.
    void addlinetomemo(const QString& text, int team, const QColor& colour);

private:
    std::array<QTextEdit*, 3> m_logs{};
    std::array<int, 3> m_lines{};
};

} // namespace euchre
