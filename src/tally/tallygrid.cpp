// The tally grid, its counts and its text form.
#include "tally/tallygrid.h"

#include "storage/savefile.h"

#include <QFile>
#include <QStringDecoder>

namespace euchre {

namespace {

const QString kZero = QStringLiteral("0");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

QStringList zeroRow() {
    return QStringList(TallyGrid::kColumns, kZero);
}

// Counts are plain decimal numbers; an empty cell counts 0.
std::optional<qint64> readCount(const QString& text) {
    if (text.isEmpty()) return 0;
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < 0 || text.front() == QLatin1Char('+')) return std::nullopt;
    return v;
}

// Files written by this program are UTF-8; older copies wrote one byte per
// character, which reads as Latin-1.
QString decodeLine(QByteArrayView line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(line);
    if (utf8.hasError()) return QString::fromLatin1(line);
    return text;
}

// A count line as a number, within [low, high].
std::optional<int> readNumber(const QByteArray& line, int low, int high) {
    bool ok = false;
    const int v = line.trimmed().toInt(&ok);
    if (!ok || v < low || v > high) return std::nullopt;
    return v;
}

} // namespace

TallyGrid::TallyGrid() : m_rows{zeroRow()} {}

qint64 TallyGrid::count(int column, int row) const {
    return readCount(m_rows[row][column]).value_or(0);
}

qint64 TallyGrid::addit(int column, int row) {
    const qint64 v = count(column, row) + 1;
    m_rows[row][column] = QString::number(v);
    return v;
}

int TallyGrid::rowOf(const QString& name) const {
    for (int row = 1; row < rowCount(); ++row)
        if (m_rows[row][0] == name) return row;
    return -1;
}

void TallyGrid::addRow(const QString& name) {
    QStringList row = zeroRow();
    row[0] = name;
    m_rows.append(row);
}

void TallyGrid::moverow(int row) {
    if (row < 1 || row >= rowCount()) return;
    m_rows.removeAt(row);
}

void TallyGrid::cutTo(int rows) {
    if (rows >= 1 && rows < rowCount()) m_rows.resize(rows);
}

QByteArray TallyGrid::text() const {
    QByteArray out;
    out += QByteArray::number(kColumns) + kLineEnd;
    out += QByteArray::number(rowCount()) + kLineEnd;
    for (int column = 0; column < kColumns; ++column)
        for (const QStringList& row : m_rows) out += row[column].toUtf8() + kLineEnd;
    return out;
}

std::optional<TallyGrid> TallyGrid::fromText(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    // The last line's end starts no further line.
    if (text.endsWith('\n')) lines.removeLast();
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    if (lines.size() < 2) return std::nullopt;
    if (readNumber(lines[0], kColumns, kColumns) != kColumns) return std::nullopt;
    // Never more rows than the text has lines for.
    const int available = static_cast<int>((lines.size() - 2) / kColumns);
    const std::optional<int> rows = readNumber(lines[1], 1, available);
    if (!rows) return std::nullopt;

    TallyGrid grid;
    grid.m_rows = QList<QStringList>(*rows, QStringList(kColumns));
    qsizetype at = 2;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < *rows; ++row) {
            QString cell = decodeLine(lines[at++]);
            if (column > 0) {
                const std::optional<qint64> v = readCount(cell);
                if (!v) return std::nullopt;
                if (cell.isEmpty()) cell = kZero;
            }
            grid.m_rows[row][column] = cell;
        }
    }
    return grid;
}

bool savegrid(const TallyGrid& grid, const QString& fileName) {
    return saveWhole(fileName, grid.text());
}

bool loadgrid(TallyGrid& grid, const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const std::optional<TallyGrid> read = TallyGrid::fromText(file.readAll());
    if (!read || file.error() != QFileDevice::NoError) return false;
    grid = *read;
    return true;
}

} // namespace euchre
