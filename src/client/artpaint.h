// Painting helpers shared by the table's pictures: the suit shapes, inks,
// fonts, and the painters of each kind of picture (used by artwork.cpp, which
// keeps what they paint).
#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

namespace euchre::art::paint {

// Suits as the cards number them: 1 Clubs, 2 Diamonds, 3 Spades, 4 Hearts.
constexpr int kClubs = 1;
constexpr int kDiamonds = 2;
constexpr int kSpades = 3;
constexpr int kHearts = 4;

const QColor kRedInk(196, 22, 38);
const QColor kBlackInk(24, 24, 30);
const QColor kGold(214, 172, 66);
const QColor kDarkGold(120, 86, 24);
const QColor kTan(101, 83, 50);
const QColor kBlue(86, 107, 143);

inline bool isRed(int suit) {
    return suit == kDiamonds || suit == kHearts;
}
const QColor kClubsGreen(20, 120, 40);
const QColor kDiamondsBlue(30, 80, 190);
// The four-colour deck is on (the table's option; every picture follows it).
bool fourColours();
inline QColor suitInk(int suit) {
    if (fourColours() && suit == kClubs) return kClubsGreen;
    if (fourColours() && suit == kDiamonds) return kDiamondsBlue;
    return isRed(suit) ? kRedInk : kBlackInk;
}

// A transparent picture of w x h logical pixels at pixel ratio dpr.
QPixmap canvas(int w, int h, qreal dpr);
// A painter on `pix` with smooth edges and text.
void begin(QPainter& p, QPixmap& pix);

// The outline of a suit in a 100 x 100 box, point or stem downwards.
const QPainterPath& suitShape(int suit);
// The suit filled into the middle of `box` (kept square), in `ink`, turned
// upside down when `flipped`.
void drawSuit(QPainter& p, int suit, const QRectF& box, const QColor& ink, bool flipped = false);

// A font of the named family at a pixel size.
QFont font(const QString& family, int pixelSize, bool bold = true);
// The largest pixel size up to `maxPixels` at which `text` fits in `width`.
QFont fittedFont(const QString& family, int maxPixels, const QString& text, qreal width,
                 bool bold = true);
// `text` filled as a path, centred on `centre` (no font hinting, so it looks
// the same at every pixel ratio).
void drawCentredText(QPainter& p, const QFont& f, const QString& text, QPointF centre,
                     const QBrush& fill, const QPen& outline = QPen(Qt::NoPen));

// The card pictures.
QPixmap cardBack(qreal dpr);
QPixmap cardFace(int suit, int rank, qreal dpr);
QPixmap suitTile(int suit, qreal dpr);
QPixmap backs(int count, qreal dpr);

// The table's marks and buttons; `entry`, `team` and `corner` are in range.
QPixmap bubble(int entry, qreal dpr);
QPixmap bidTag(int tag, int team, bool alignRight, qreal dpr);
QPixmap turnArrow(qreal dpr);
QPixmap seatMakerMark(qreal dpr);
QPixmap teamMakerBar(int team, qreal dpr);
QPixmap dealerButton(qreal dpr);
QPixmap trickWinnerMarker(qreal dpr);
QPixmap eyes(qreal dpr);
QPixmap winnersBanner(int team, qreal dpr);
QPixmap pictureButton(const QString& text, bool pressed, qreal dpr);
QPixmap cornerOrnament(int corner, qreal dpr);
QPixmap logo(qreal dpr);
QPixmap backgroundTile(qreal dpr);

} // namespace euchre::art::paint
