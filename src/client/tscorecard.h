// Tscorecard: the logs window, one log per team, each hand's result and each
// game's winner a line; the logs hold the run of the program, up to
// kMaxLines lines each.
#pragma once

#include <QColor>
#include <QWidget>
#include <array>

class QTextEdit;

namespace euchre {

class Tscorecard : public QWidget {
    Q_OBJECT
public:
    // The lines of a log: some hundred games. A host that sends results
    // without end would otherwise fill memory; the oldest lines go first.
    static constexpr int kMaxLines = 2000;

    explicit Tscorecard(QWidget* parent = nullptr);

    // The log of a team (1 Tan, 2 Blue): "memo_score1", "memo_score2".
    QTextEdit* log(int team) const;
    // Lines added to the team's log, its rows: the log itself keeps the
    // last kMaxLines of them.
    int lines(int team) const;
    // Appends one bold line in the colour to the team's log.
    void addlinetomemo(const QString& text, int team, const QColor& colour);

private:
    std::array<QTextEdit*, 3> m_logs{};
    std::array<int, 3> m_lines{};
};

} // namespace euchre
