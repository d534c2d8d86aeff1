// The card pictures: the back, the 52 faces (index corners, pips, court
// panels, aces) and the card-sized suit tiles that show trump.
#include "client/artpaint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <vector>

namespace euchre::art::paint {

namespace {

constexpr qreal kW = 71;
constexpr qreal kH = 96;
constexpr qreal kRadius = 5;
const QRectF kOutline(0.5, 0.5, kW - 1, kH - 1);
const QColor kPaper(255, 255, 251);
const QColor kEdge(118, 118, 112);

const QString kSans = QStringLiteral("DejaVu Sans");
const QString kSerif = QStringLiteral("DejaVu Serif");

// Rank 1 is the two, 13 the ace.
QString rankText(int rank) {
    static const char* const texts[] = {"2", "3",  "4", "5", "6", "7", "8",
                                        "9", "10", "J", "Q", "K", "A"};
    return QLatin1String(texts[rank - 1]);
}

void paintBlankCard(QPainter& p, const QColor& paper) {
    p.setPen(QPen(kEdge, 1));
    p.setBrush(paper);
    p.drawRoundedRect(kOutline, kRadius, kRadius);
}

// Rank over suit in the upper-left corner; the caller turns the painter for
// the lower-right copy.
void paintIndex(QPainter& p, int suit, int rank) {
    const QString text = rankText(rank);
    const QPointF centre(9.5, 11.5);
    if (rank == 9) {
        // The ten's two digits are squeezed to keep to the index's column;
        // squeezing the common face looks the same on every machine.
        p.save();
        p.translate(centre);
        p.scale(0.74, 1);
        QFont f = font(kSans, 17);
        f.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
        drawCentredText(p, f, text, QPointF(0.4, 0), suitInk(suit));
        p.restore();
    } else {
        drawCentredText(p, font(kSans, 17), text, centre, suitInk(suit));
    }
    drawSuit(p, suit, QRectF(3.5, 21, 12, 12), suitInk(suit));
}

// Where the pips of the two..ten lie: columns left, centre, right, and rows
// from 0 (top) to 1 (bottom); pips below the middle stand upside down.
struct Pip {
    char column;
    qreal row;
};

const std::vector<Pip>& pipLayout(int rank) {
    static const std::vector<Pip> layouts[] = {
        {{'C', 0}, {'C', 1}},
        {{'C', 0}, {'C', 0.5}, {'C', 1}},
        {{'L', 0}, {'R', 0}, {'L', 1}, {'R', 1}},
        {{'L', 0}, {'R', 0}, {'C', 0.5}, {'L', 1}, {'R', 1}},
        {{'L', 0}, {'R', 0}, {'L', 0.5}, {'R', 0.5}, {'L', 1}, {'R', 1}},
        {{'L', 0}, {'R', 0}, {'C', 0.25}, {'L', 0.5}, {'R', 0.5}, {'L', 1}, {'R', 1}},
        {{'L', 0}, {'R', 0}, {'C', 0.25}, {'L', 0.5}, {'R', 0.5}, {'C', 0.75}, {'L', 1}, {'R', 1}},
        {{'L', 0},
         {'R', 0},
         {'L', 1.0 / 3},
         {'R', 1.0 / 3},
         {'C', 0.5},
         {'L', 2.0 / 3},
         {'R', 2.0 / 3},
         {'L', 1},
         {'R', 1}},
        {{'L', 0},
         {'R', 0},
         {'C', 1.0 / 6},
         {'L', 1.0 / 3},
         {'R', 1.0 / 3},
         {'L', 2.0 / 3},
         {'R', 2.0 / 3},
         {'C', 5.0 / 6},
         {'L', 1},
         {'R', 1}},
    };
    return layouts[rank - 1];
}

void paintPips(QPainter& p, int suit, int rank) {
    constexpr qreal top = 19.5, bottom = 76.5, pip = 12;
    for (const Pip& at : pipLayout(rank)) {
        const qreal x = at.column == 'L' ? 25.5 : at.column == 'R' ? 45.5 : 35.5;
        const qreal y = top + at.row * (bottom - top);
        drawSuit(p, suit, QRectF(x - pip / 2, y - pip / 2, pip, pip), suitInk(suit), at.row > 0.5);
    }
}

void paintAce(QPainter& p, int suit) {
    const QPointF c(kW / 2, kH / 2);
    QRadialGradient glow(c, 30);
    glow.setColorAt(0, isRed(suit) ? QColor(255, 232, 232) : QColor(232, 236, 246));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, 28, 28);
    const qreal side = suit == kSpades ? 42 : 38;
    drawSuit(p, suit, QRectF(c.x() - side / 2, c.y() - side / 2, side, side), suitInk(suit));
    if (suit == kSpades) {
        // The ace of spades carries a fine inner line, as on most decks.
        p.save();
        p.translate(c);
        p.scale(side * 0.62 / 100, side * 0.62 / 100);
        p.translate(-50, -50);
        p.setPen(QPen(QColor(255, 255, 255, 200), 100.0 / (side * 0.62) * 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawPath(suitShape(suit));
        p.restore();
    }
}

// The court's crown (king), coronet (queen) or feathered cap (jack), drawn
// around the origin about 16 wide and 11 high.
void paintHeadwear(QPainter& p, int rank) {
    QPainterPath shape;
    QList<QPointF> jewels;
    if (rank == 12) { // king
        shape.moveTo(-8, 5);
        shape.lineTo(-8.5, -3);
        shape.lineTo(-4, 0.5);
        shape.lineTo(0, -6);
        shape.lineTo(4, 0.5);
        shape.lineTo(8.5, -3);
        shape.lineTo(8, 5);
        shape.closeSubpath();
        jewels = {{-8.5, -3.5}, {0, -6.5}, {8.5, -3.5}};
    } else if (rank == 11) { // queen
        shape.moveTo(-7.5, 5);
        shape.lineTo(-7.5, -1);
        shape.quadTo(-5.5, 1.5, -3.8, -2.5);
        shape.quadTo(-2, 1, 0, -4);
        shape.quadTo(2, 1, 3.8, -2.5);
        shape.quadTo(5.5, 1.5, 7.5, -1);
        shape.lineTo(7.5, 5);
        shape.closeSubpath();
        jewels = {{-7.5, -1.5}, {-3.8, -3}, {0, -4.8}, {3.8, -3}, {7.5, -1.5}};
    } else { // jack
        shape.moveTo(-8, 5);
        shape.cubicTo(-8.5, -1, -4, -3, 0, -3);
        shape.cubicTo(4, -3, 8.5, -1, 8, 5);
        shape.closeSubpath();
        QPainterPath plume;
        plume.moveTo(1, -2.8);
        plume.cubicTo(1.5, -5.5, 3.5, -7, 6, -7);
        plume.cubicTo(5, -5.5, 4.5, -3.5, 4, -1.8);
        plume.closeSubpath();
        p.setPen(QPen(kDarkGold, 0.7));
        p.setBrush(QColor(70, 140, 120));
        p.drawPath(plume);
    }
    QLinearGradient gold(0, -6, 0, 5);
    gold.setColorAt(0, QColor(255, 226, 130));
    gold.setColorAt(1, kGold);
    p.setPen(QPen(kDarkGold, 0.8));
    p.setBrush(gold);
    p.drawPath(shape);
    p.setPen(QPen(kDarkGold, 0.6));
    p.drawLine(QPointF(-7.5, 3), QPointF(7.5, 3));
    p.setBrush(QColor(200, 40, 50));
    for (const QPointF& j : jewels) p.drawEllipse(j, 1.2, 1.2);
}

// One half of the court panel: headwear resting on a medallion with the big
// letter, the suit in the corners beside it, and a band of the robe's colour; the lower
// half is the same turned about.
void paintCourtHalf(QPainter& p, int suit, int rank, const QRectF& half, const QColor& robe) {
    const qreal cx = half.center().x();
    const QPointF medal(cx, half.top() + 23);

    QLinearGradient cloth(0, half.bottom() - 7, 0, half.bottom());
    cloth.setColorAt(0, robe.lighter(130));
    cloth.setColorAt(1, robe);
    p.setPen(Qt::NoPen);
    p.setBrush(cloth);
    p.drawRect(QRectF(half.left(), half.bottom() - 7, half.width(), 7));
    p.setPen(QPen(kGold, 1));
    p.drawLine(QPointF(half.left(), half.bottom() - 7), QPointF(half.right(), half.bottom() - 7));

    p.setPen(QPen(robe, 2));
    p.setBrush(QColor(255, 252, 240));
    p.drawEllipse(medal, 10, 10);
    p.setPen(QPen(kGold, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(medal, 8.3, 8.3);
    drawCentredText(p, font(kSerif, 15), rankText(rank), medal + QPointF(0.2, 0.2), suitInk(suit));

    for (const qreal side : {-1.0, 1.0})
        drawSuit(p, suit, QRectF(cx + side * 11.5 - 3.5, half.top() + 3, 7, 7), suitInk(suit));

    p.save();
    p.translate(cx, half.top() + 7.5);
    paintHeadwear(p, rank);
    p.restore();
}

void paintCourt(QPainter& p, int suit, int rank) {
    static const QColor robes[] = {QColor(40, 104, 132), QColor(112, 58, 140),
                                   QColor(166, 36, 48)}; // jack, queen, king
    const QColor robe = robes[rank - 10];
    const QRectF panel(18.5, 6.5, 34, 83);
    QLinearGradient parchment(0, panel.top(), 0, panel.bottom());
    parchment.setColorAt(0, QColor(253, 246, 226));
    parchment.setColorAt(0.5, QColor(246, 234, 202));
    parchment.setColorAt(1, QColor(253, 246, 226));
    p.setPen(QPen(suitInk(suit), 1));
    p.setBrush(parchment);
    p.drawRect(panel);

    const QRectF upper(panel.left() + 0.5, panel.top() + 0.5, panel.width() - 1,
                       panel.height() / 2 - 0.5);
    p.save();
    p.setClipRect(panel.adjusted(0.5, 0.5, -0.5, -0.5));
    paintCourtHalf(p, suit, rank, upper, robe);
    p.translate(kW / 2, panel.center().y());
    p.rotate(180);
    p.translate(-kW / 2, -panel.center().y());
    paintCourtHalf(p, suit, rank, upper, robe);
    p.restore();

    p.setPen(QPen(kGold, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(panel.adjusted(2, 2, -2, -2));
}

} // namespace

QPixmap cardFace(int suit, int rank, qreal dpr) {
    QPixmap pix = canvas(kW, kH, dpr);
    QPainter p;
    begin(p, pix);
    paintBlankCard(p, kPaper);
    if (rank == 13)
        paintAce(p, suit);
    else if (rank >= 10)
        paintCourt(p, suit, rank);
    else
        paintPips(p, suit, rank);
    paintIndex(p, suit, rank);
    p.translate(kW, kH);
    p.rotate(180);
    paintIndex(p, suit, rank);
    return pix;
}

namespace {

void paintBack(QPainter& p) {
    paintBlankCard(p, kPaper);

    const QRectF field(4, 4, kW - 8, kH - 8);
    QPainterPath fieldShape;
    fieldShape.addRoundedRect(field, 3, 3);
    p.setPen(Qt::NoPen);
    QLinearGradient deep(field.topLeft(), field.bottomRight());
    deep.setColorAt(0, QColor(150, 28, 40));
    deep.setColorAt(1, QColor(112, 18, 30));
    p.setBrush(deep);
    p.drawPath(fieldShape);

    // A lattice of fine diagonal lines with a dot where they cross.
    p.save();
    p.setClipPath(fieldShape);
    p.setPen(QPen(QColor(206, 96, 100, 150), 0.8));
    constexpr qreal step = 7;
    for (qreal d = -kH; d < kW + kH; d += step) {
        p.drawLine(QPointF(d, 0), QPointF(d + kH, kH));
        p.drawLine(QPointF(d, kH), QPointF(d + kH, 0));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 120, 170));
    for (qreal y = field.top(); y < field.bottom() + step; y += step)
        for (qreal x = field.left() + step / 2; x < field.right() + step; x += step)
            p.drawEllipse(QPointF(x - 0.5, y + step / 2 - 0.5), 0.9, 0.9);
    p.restore();

    p.setPen(QPen(kGold, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(field.adjusted(2, 2, -2, -2), 2, 2);

    // The medallion: the four suits round a small diamond.
    const QPointF c(kW / 2, kH / 2);
    QRadialGradient well(c, 17);
    well.setColorAt(0, QColor(128, 20, 32));
    well.setColorAt(1, QColor(92, 12, 22));
    p.setPen(QPen(kGold, 1.4));
    p.setBrush(well);
    p.drawEllipse(c, 15, 19);
    p.setPen(QPen(QColor(255, 226, 150, 160), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 12.5, 16.5);
    const QColor cream(250, 236, 200);
    const qreal s = 8;
    drawSuit(p, kSpades, QRectF(c.x() - s / 2, c.y() - 11 - s / 2, s, s), cream);
    drawSuit(p, kHearts, QRectF(c.x() - s / 2, c.y() + 11 - s / 2, s, s), cream);
    drawSuit(p, kClubs, QRectF(c.x() - 7.5 - s / 2, c.y() - s / 2, s, s), cream);
    drawSuit(p, kDiamonds, QRectF(c.x() + 7.5 - s / 2, c.y() - s / 2, s, s), cream);
}

} // namespace

QPixmap cardBack(qreal dpr) {
    QPixmap pix = canvas(kW, kH, dpr);
    QPainter p;
    begin(p, pix);
    paintBack(p);
    return pix;
}

QPixmap suitTile(int suit, qreal dpr) {
    QPixmap pix = canvas(kW, kH, dpr);
    QPainter p;
    begin(p, pix);
    paintBlankCard(p, kPaper);
    QColor tint = suitInk(suit);
    tint.setAlpha(90);
    p.setPen(QPen(tint, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(kOutline.adjusted(3, 3, -3, -3), 3, 3);
    const QPointF c(kW / 2, kH / 2);
    QRadialGradient glow(c, 32);
    glow.setColorAt(0, isRed(suit) ? QColor(255, 226, 226) : QColor(226, 232, 246));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, 32, 32);
    constexpr qreal side = 50;
    drawSuit(p, suit, QRectF(c.x() - side / 2, c.y() - side / 2, side, side), suitInk(suit));
    return pix;
}

QPixmap backs(int count, qreal dpr) {
    QPixmap pix = canvas(66 + 5 * count, kH, dpr);
    QPainter p;
    begin(p, pix);
    // Each back painted in place rather than copied, so a step that falls
    // between device pixels stays as sharp as the first.
    for (int i = 0; i < count; ++i) {
        p.save();
        p.translate(5 * i, 0);
        paintBack(p);
        p.restore();
    }
    return pix;
}

} // namespace euchre::art::paint
