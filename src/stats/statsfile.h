// The statistics file beside the settings: every finished game on a line of
// its own, saved whole after each game, and an unreadable file set aside
// rather than lost or overwritten.
#pragma once

#include "stats/gamestats.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

namespace euchre {

inline constexpr char statsFileName[] = "Euchrestats.txt";

// The file's text for these games, and the games a text holds (nothing when
// it is not a whole statistics file).
QByteArray statsText(const std::vector<GameEntry>& games);
std::optional<std::vector<GameEntry>> readStatsText(QByteArrayView text);

class StatsBook {
public:
    explicit StatsBook(QString path) : m_path(std::move(path)) {}

    // Reads the file once; later calls do nothing. An unreadable file is set
    // aside and a new one begun; the returned text tells the player so
    // (empty when all went well).
    QString load();
    bool isLoaded() const { return m_loaded; }
    const std::vector<GameEntry>& games() const { return m_games; }
    const QString& path() const { return m_path; }

    // A finished game joins the others and the file is saved whole; false
    // with the reason in *error when it could not be saved.
    bool add(const GameEntry& game, QString* error);
    // Forgets every game, in the file too.
    bool reset(QString* error);

private:
    bool save(QString* error);

    QString m_path;
    bool m_loaded = false;
    bool m_mayWrite = true; // false when an unreadable file could not be moved aside
    std::vector<GameEntry> m_games;
};

} // namespace euchre
