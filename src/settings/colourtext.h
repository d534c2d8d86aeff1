// Colour values as the chat and the settings file carry them as text.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace euchre {

// A colour value is 32 bits with red in the low byte, green in the next and
// blue in the third (pure blue is 16711680). Values whose top byte is 0xFF
// name a colour of the desktop's scheme instead (0xFF000008 is "clWindowText").

// Pure blue: the colour of the program's own notices in the chat log.
inline constexpr quint32 systemColour = 0x00FF0000;

// The text form: the colour's name where it has one ("clBlack", "clBlue",
// "clWindowText" ...), otherwise "$" and eight upper-case hex digits.
QString colourToText(quint32 value);

// The reverse: a name in any letter case, "$" and hex digits, or a decimal
// number (negative numbers stand for the same 32 bits). Nothing when the
// text is none of these or does not fit in 32 bits.
std::optional<quint32> colourFromText(const QString& text);

// The colour to paint for a value: scheme colours come from the
// application's palette, everything else from the three low bytes.
QColor colourToQColor(quint32 value);

// The value for a colour picked on screen (alpha is dropped).
quint32 colourFromQColor(const QColor& colour);

} // namespace euchre
