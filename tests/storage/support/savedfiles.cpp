// The kill test's files: each one's content is all derived from its counter,
// so a file cut short or mixed from two saves does not read back.
#include "savedfiles.h"

#include "records/egn.h"
#include "records/recordsfolder.h"
#include "settings/inifile.h"
#include "stats/statsfile.h"
#include "storage/savefile.h"
#include "tally/tallyfile.h"
#include "tally/tlzrw1.h"

#include <QDir>
#include <QFile>

namespace euchre::testing {

namespace {

const QString kSection = QStringLiteral("Euchre");
const QString kCount = QStringLiteral("Count");
constexpr int kPads = 300;        // settings keys beside the counter
constexpr int kPlayers = 200;     // followed players in the tally
constexpr int kWholeLines = 4000; // lines of the whole file

QString path(SavedKind kind, const QString& folder) {
    return QDir(folder).filePath(savedFileName(kind));
}

QString pad(int i) {
    return QStringLiteral("Pad%1").arg(i);
}

QByteArray wholeText(int counter) {
    QByteArray text = QByteArray::number(counter) + '\n';
    for (int i = 0; i < kWholeLines; ++i)
        text += QByteArray::number(counter) + ' ' + QByteArray::number(i) + '\n';
    return text;
}

std::optional<int> readSettings(const QString& file) {
    IniFile ini(file);
    if (!ini.load()) return std::nullopt;
    const int counter = ini.readInt(kSection, kCount, -1);
    for (int i = 0; i < kPads; ++i)
        if (ini.readInt(kSection, pad(i), -2) != counter) return std::nullopt;
    return counter;
}

std::optional<int> readTally(const QString& file) {
    try {
        const TallyGrid grid = readTallyFile(file);
        const qint64 counter = grid.count(TallyGrid::kGames, 0);
        if (grid.rowCount() != kPlayers + 1) return std::nullopt;
        for (int row = 1; row <= kPlayers; ++row)
            if (grid.count(TallyGrid::kTogether, row) != counter) return std::nullopt;
        return static_cast<int>(counter);
    } catch (const ELzrw1&) {
        return std::nullopt;
    }
}

std::optional<int> readWhole(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray text = in.readAll();
    const int counter = text.left(text.indexOf('\n')).toInt();
    if (text != wholeText(counter)) return std::nullopt;
    return counter;
}

// The statistics' game n: its number in its date field, its counts from n.
GameEntry statsGame(int n) {
    GameEntry g;
    g.when = QString::number(n);
    g.level = QStringLiteral("Standard");
    g.partner = QStringLiteral("Partner %1").arg(n % 7);
    g.won = n % 2;
    g.hands = n % 13 + 3;
    g.points = n % 11;
    g.made = 1;
    g.thrownIn = 2;
    return g;
}

// Every game the saver finished is there, in order, and nothing else.
std::optional<int> readStats(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const std::optional<std::vector<GameEntry>> games = readStatsText(in.readAll());
    if (!games) return std::nullopt;
    for (size_t i = 0; i < games->size(); ++i)
        if ((*games)[i] != statsGame(static_cast<int>(i) + 1)) return std::nullopt;
    return static_cast<int>(games->size());
}

// A record of a hundred deals whose every dealer and call follows the counter.
records::GameRecord recordOf(int counter) {
    records::GameRecord record;
    record.title = QString::number(counter);
    record.players = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                      QStringLiteral("D")};
    for (int i = 0; i < 100; ++i) {
        records::DealRecord deal;
        deal.dealer = (counter + i) % 4 + 1;
        deal.upCard = makeCard((counter + i) % 4 + 1, 13);
        deal.hasBidding = true;
        deal.calls.assign(std::size_t(i % 8 + 1), records::Call{});
        record.deals.push_back(deal);
    }
    return record;
}

std::optional<int> readRecordFile(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const std::optional<records::GameRecord> record = records::readRecord(in.readAll());
    if (!record) return std::nullopt;
    const int counter = record->title.toInt();
    if (!(*record == recordOf(counter))) return std::nullopt;
    return counter;
}

} // namespace

QString savedFileName(SavedKind kind) {
    switch (kind) {
    case SavedKind::Settings:
        return QStringLiteral("bromlobby.ini");
    case SavedKind::Tally:
        return QString::fromLatin1(tallyFileName);
    case SavedKind::Whole:
        return QStringLiteral("records.txt");
    case SavedKind::Stats:
        return QString::fromLatin1(statsFileName);
    case SavedKind::Record:
        return QStringLiteral("game-kill.egn");
    }
    return {};
}

bool saveCounter(SavedKind kind, const QString& folder, int counter) {
    const QString file = path(kind, folder);
    switch (kind) {
    case SavedKind::Settings: {
        IniFile ini(file);
        if (!ini.load()) return false;
        ini.writeInt(kSection, kCount, counter);
        for (int i = 0; i < kPads; ++i) ini.writeInt(kSection, pad(i), counter);
        return ini.save();
    }
    case SavedKind::Tally: {
        TallyGrid grid;
        grid.setCell(TallyGrid::kGames, 0, QString::number(counter));
        for (int row = 1; row <= kPlayers; ++row) {
            grid.addRow(QStringLiteral("Player %1").arg(row));
            grid.setCell(TallyGrid::kTogether, row, QString::number(counter));
        }
        try {
            writeTallyFile(grid, file);
            return true;
        } catch (const ELzrw1&) {
            return false;
        }
    }
    case SavedKind::Whole:
        return saveWhole(file, wholeText(counter));
    case SavedKind::Stats: {
        // As the table window does after each game: the book is read, the
        // game added and the whole file saved.
        StatsBook book(file);
        if (!book.load().isEmpty()) return false;
        while (static_cast<int>(book.games().size()) < counter)
            if (!book.add(statsGame(static_cast<int>(book.games().size()) + 1), nullptr))
                return false;
        return true;
    }
    case SavedKind::Record:
        return records::saveRecord(recordOf(counter), folder, savedFileName(kind));
    }
    return false;
}

std::optional<int> readCounter(SavedKind kind, const QString& folder) {
    const QString file = path(kind, folder);
    if (!QFile::exists(file)) return 0;
    switch (kind) {
    case SavedKind::Settings:
        return readSettings(file);
    case SavedKind::Tally:
        return readTally(file);
    case SavedKind::Whole:
        return readWhole(file);
    case SavedKind::Stats:
        return readStats(file);
    case SavedKind::Record:
        return readRecordFile(file);
    }
    return std::nullopt;
}

} // namespace euchre::testing
