// Text that comes from players, made safe before the host repeats it: names
// for the table, chat lengths, and lines for the host's log.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace euchre {

// The table's name labels show about this many characters.
inline constexpr qsizetype kMaxNameChars = 20;
// Longest chat or action text relayed; nobody types more into one line.
inline constexpr qsizetype kMaxSpokenChars = 1000;
// Longest colour text after the bar, and longest sound field.
inline constexpr qsizetype kMaxSpokenTail = 32;
// Longest host log line, in characters, before it is cut.
inline constexpr qsizetype kMaxLogChars = 300;

// Characters of UTF-8 text (bytes that do not continue a sequence).
qsizetype utf8Chars(QByteArrayView text);
// The first `chars` characters of UTF-8 text, never splitting a character.
QByteArrayView utf8Left(QByteArrayView text, qsizetype chars);

// A login name as the table shows it: without "+", "|", ":" and control
// characters (each of which the table window would read as part of its
// message framing or of the chat's speaker), blanks trimmed, at most
// kMaxNameChars characters.
QByteArray cleanName(QByteArrayView raw);

// `name`, or when `taken` says another player has it, the name with the first
// free suffix " (2)", " (3)" ..., cut so that it still fits kMaxNameChars.
QByteArray uniqueName(const QByteArray& name, const std::function<bool(QByteArrayView)>& taken);

// Whether the rest of a chat or action line (text, "|", colour) is one a
// person could have typed: text of at most kMaxSpokenChars characters and a
// colour text of at most kMaxSpokenTail bytes.
bool spokenTextFits(QByteArrayView rest);

// A chat, action or sound line: it only speaks, and acts for no seat.
bool isSpokenLine(QByteArrayView line);

// One log line: control characters and backslashes written as escapes, and
// cut to kMaxLogChars with "..." so that it always stays one line.
QString logLine(const QString& text);

} // namespace euchre
