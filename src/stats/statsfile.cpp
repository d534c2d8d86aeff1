// The statistics file: its text, reading it, saving it whole.
#include "stats/statsfile.h"

#include "storage/savefile.h"

#include <QFile>
#include <QList>

namespace euchre {

namespace {

const QByteArray kHeader = QByteArrayLiteral("Euchre statistics 1");
constexpr char kSeparator = '\t';
// Enough for a lifetime of games; a bigger file is not ours.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;
// Each count of one game stays below this.
constexpr int kLargestCount = 100000;
constexpr int kFields = 15;

const QString kSetAside = QStringLiteral(
    "0+The statistics file could not be read, so new statistics were started. The old file "
    "was kept as %1.");
const QString kNotSetAside = QStringLiteral(
    "0+The statistics file could not be read nor moved aside, so this run's games will not "
    "be saved over it.");
const QString kNotWritten =
    QStringLiteral("The statistics file is kept as it was, as it could not be read.");

// A name on one line: the separator and line ends become spaces.
QByteArray field(const QString& text) {
    QByteArray bytes = text.toUtf8();
    for (char& c : bytes)
        if (c == kSeparator || c == '\n' || c == '\r') c = ' ';
    return bytes;
}

std::optional<int> count(const QByteArray& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0 || n >= kLargestCount) return std::nullopt;
    return n;
}

} // namespace

QByteArray statsText(const std::vector<GameEntry>& games) {
    QByteArray text = kHeader + '\n';
    for (const GameEntry& g : games) {
        QByteArrayList fields = {field(g.when), field(g.level), field(g.partner),
                                 QByteArray::number(g.won ? 1 : 0)};
        for (int n : {g.hands, g.points, g.made, g.marched, g.suffered, g.theirMade, g.theirMarched,
                      g.euchred, g.thrownIn, g.loneCalls, g.loneWon})
            fields << QByteArray::number(n);
        text += fields.join(kSeparator) + '\n';
    }
    return text;
}

std::optional<std::vector<GameEntry>> readStatsText(QByteArrayView text) {
    const QList<QByteArray> lines = text.toByteArray().split('\n');
    if (lines.size() < 2 || lines.front() != kHeader || !lines.back().isEmpty())
        return std::nullopt;
    std::vector<GameEntry> games;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].split(kSeparator);
        if (f.size() != kFields) return std::nullopt;
        GameEntry g;
        g.when = QString::fromUtf8(f[0]);
        g.level = QString::fromUtf8(f[1]);
        g.partner = QString::fromUtf8(f[2]);
        if (f[3] != "0" && f[3] != "1") return std::nullopt;
        g.won = f[3] == "1";
        int* counts[] = {&g.hands,    &g.points,    &g.made,         &g.marched,
                         &g.suffered, &g.theirMade, &g.theirMarched, &g.euchred,
                         &g.thrownIn, &g.loneCalls, &g.loneWon};
        for (int k = 0; k < 11; ++k) {
            const std::optional<int> n = count(f[4 + k]);
            if (!n) return std::nullopt;
            *counts[k] = *n;
        }
        // Every hand ended one way; lone hands won were lone calls.
        if (g.made + g.marched + g.suffered + g.theirMade + g.theirMarched + g.euchred +
                    g.thrownIn >
                g.hands ||
            g.loneWon > g.loneCalls)
            return std::nullopt;
        games.push_back(std::move(g));
    }
    return games;
}

QString StatsBook::load() {
    if (m_loaded) return {};
    m_loaded = true;
    m_games.clear();
    QFile file(m_path);
    if (!file.exists()) return {};
    std::optional<std::vector<GameEntry>> read;
    if (file.open(QIODevice::ReadOnly) && file.size() <= kLargestFile)
        read = readStatsText(file.readAll());
    file.close();
    if (read) {
        m_games = std::move(*read);
        return {};
    }
    const QString aside = setAside(m_path);
    m_mayWrite = !aside.isEmpty();
    return m_mayWrite ? kSetAside.arg(aside) : kNotSetAside;
}

bool StatsBook::save(QString* error) {
    if (!m_mayWrite) {
        if (error) *error = kNotWritten;
        return false;
    }
    return saveWhole(m_path, statsText(m_games), error);
}

bool StatsBook::add(const GameEntry& game, QString* error) {
    load();
    m_games.push_back(game);
    return save(error);
}

bool StatsBook::reset(QString* error) {
    load();
    m_games.clear();
    return save(error);
}

} // namespace euchre
