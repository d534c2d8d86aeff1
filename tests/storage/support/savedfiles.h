// The files the kill test's saver writes, each carrying one counter, and the
// check that reads one back: whole, and which counter it holds.
#pragma once

#include <QString>
#include <optional>

namespace euchre::testing {

// The kinds of file the program writes: the settings file (every settings
// file goes through the same initialisation-file code), the tally file, a
// file saved whole by the shared helper, the statistics, one more game in
// each save, and a game record in the records folder.
enum class SavedKind { Settings, Tally, Whole, Stats, Record };
inline constexpr SavedKind kSavedKinds[] = {SavedKind::Settings, SavedKind::Tally, SavedKind::Whole,
                                            SavedKind::Stats, SavedKind::Record};

QString savedFileName(SavedKind kind);
// Saves the counter into the kind's file in the folder; false on failure.
bool saveCounter(SavedKind kind, const QString& folder, int counter);
// The counter in the kind's file: 0 when there is no file yet, nothing when
// the file is there but not whole (a part of it missing or mixed).
std::optional<int> readCounter(SavedKind kind, const QString& folder);

} // namespace euchre::testing
