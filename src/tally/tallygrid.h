// The tally's grid of texts: row 0 the player's own totals, one row per
// followed player, and its line-per-cell text form.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace euchre {

class TallyGrid {
public:
    static constexpr int kColumns = 9;
    // Own totals in row 0.
    static constexpr int kGames = 1;
    static constexpr int kWins = 2;
    static constexpr int kMarches = 3;
    static constexpr int kEuchres = 4;
    // A followed player's row: the all-runs counts, then the same four for
    // this run of the program.
    static constexpr int kTogether = 1;
    static constexpr int kHisWins = 2;
    static constexpr int kYourWins = 3;
    static constexpr int kPartnerWins = 4;
    static constexpr int kSession = 4; // add to a count's column for its session column

    // One row of "0".
    TallyGrid();

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    QString cell(int column, int row) const { return m_rows[row][column]; }
    void setCell(int column, int row, const QString& text) { m_rows[row][column] = text; }
    // The cell read as a count (an empty or unreadable cell counts 0).
    qint64 count(int column, int row) const;
    // Adds 1 to a count and returns the new value.
    qint64 addit(int column, int row);

    // The row of a followed player, or -1.
    int rowOf(const QString& name) const;
    // A new last row: the name and eight counts of 0.
    void addRow(const QString& name);
    // Deletes a row; deleting the last one only shortens the grid, and row 0
    // always stays.
    void moverow(int row);
    // Keeps the first `rows` rows.
    void cutTo(int rows);

    // The grid as lines ending in CR LF: column count, row count, then every
    // cell column by column.
    QByteArray text() const;
    // Reads that text; nothing when it is not a whole tally grid with counts.
    static std::optional<TallyGrid> fromText(const QByteArray& text);

private:
    QList<QStringList> m_rows;
};

// The grid file: write it (replacing an old file) or read it. Both report
// false on any failure; a failed read leaves the grid as it was.
bool savegrid(const TallyGrid& grid, const QString& fileName);
bool loadgrid(TallyGrid& grid, const QString& fileName);

} // namespace euchre
