// Game records as text in the Euchre Game Notation (JSON, ".egn"): the
// writer, and the reader that takes any file as hostile input. Every field
// is checked; what the notation does not allow, or this program does not
// play (other decks, jokers, no-trump, defending alone ...), is refused
// with a sentence saying where.
#pragma once

#include "records/gamerecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace euchre::records {

// The longest record file read; a game of a hundred deals is far below it.
inline constexpr qsizetype kMaxRecordBytes = 4 * 1024 * 1024;

// A card in the notation's two letters ("As", "Th", "9c"); empty for none.
QString cardText(int card);

QByteArray writeRecord(const GameRecord& record);

// The record in the text, or nothing with the reason in *error.
std::optional<GameRecord> readRecord(QByteArrayView text, QString* error = nullptr);

} // namespace euchre::records
