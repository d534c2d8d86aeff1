// The eighteen smiley pictures of the chat, painted at run time, and their codes.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace euchre {

// A smiley in a chat line is ":)#" and two digits; codes 10 to 27 name the
// pictures 0 to 17.
inline constexpr char kSmileyMark[] = ":)#";
inline constexpr int kSmileyCount = 18;
inline constexpr int kFirstSmileyCode = 10;
inline constexpr int kSmileyWidth = 17;
inline constexpr int kSmileyHeight = 16;

// Picture number 0..17, kSmileyWidth x kSmileyHeight pixels; out-of-range
// numbers give picture 0.
QImage smileyImage(int index);

// All eighteen, in code order.
QList<QImage> smileyImages();

// The code text of a picture (":)#10" for picture 0).
QString smileyCode(int index);

} // namespace euchre
