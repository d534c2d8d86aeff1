// The table's small pictures: bidding bubbles, the turn arrow, maker, dealer
// and trick marks, the eyes, the WINNERS banner, buttons, ornaments, the
// logo and the window's background tile.
#include "client/artpaint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <utility>

namespace euchre::art::paint {

namespace {

const QString kSans = QStringLiteral("DejaVu Sans");
const QString kSerif = QStringLiteral("DejaVu Serif");
const QColor kShadow(0, 0, 0, 80);
const QColor kBrown(70, 44, 14);

// A soft drop shadow under `shape`, so a picture lifts off the felt.
void dropShadow(QPainter& p, const QPainterPath& shape, QPointF offset = {1, 1.5}) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kShadow);
    p.drawPath(shape.translated(offset));
    p.restore();
}

QPainterPath star(QPointF c, qreal outer, qreal inner) {
    QPainterPath s;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? inner : outer;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            s.moveTo(pt);
        else
            s.lineTo(pt);
    }
    s.closeSubpath();
    return s;
}

} // namespace

QPixmap bubble(int entry, qreal dpr) {
    static const char* const words[] = {"I Assist", "Order It Up", "Pass",
                                        "CLUBS",    "DIAMONDS",    "SPADES",
                                        "HEARTS",   "Alone",       "With Partner"};
    constexpr qreal room = 86, symbol = 12, gap = 3;
    auto isSuit = [](int e) { return e >= 3 && e <= 6; };
    // One letter size for all nine, the largest at which the longest fits.
    static const int letterSize = [&] {
        int px = 12;
        for (int e = 0; e < 9; ++e) {
            const qreal width = room - (isSuit(e) ? symbol + gap : 0);
            px = std::min(px, fittedFont(kSans, 12, QLatin1String(words[e]), width).pixelSize());
        }
        return px;
    }();

    QPixmap pix = canvas(95, 25, dpr);
    QPainter p;
    begin(p, pix);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(1, 0.5, 92.5, 20), 9, 9);
    QPainterPath tail;
    tail.moveTo(15, 19);
    tail.lineTo(11, 23.5);
    tail.lineTo(25, 19);
    tail.closeSubpath();
    shape = shape.united(tail);
    dropShadow(p, shape, {1, 1});

    QLinearGradient cream(0, 0, 0, 21);
    cream.setColorAt(0, QColor(255, 254, 244));
    cream.setColorAt(1, QColor(242, 228, 186));
    p.setPen(QPen(QColor(92, 66, 30), 1));
    p.setBrush(cream);
    p.drawPath(shape);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.drawLine(QPointF(9, 2), QPointF(86, 2));

    if (entry < 0 || entry >= 9) return pix;
    const QString word = QLatin1String(words[entry]);
    const bool suitChoice = isSuit(entry);
    const int suit = entry - 2;
    const QFont f = font(kSans, letterSize);
    const qreal textWidth = QFontMetricsF(f).horizontalAdvance(word);
    const qreal lead = suitChoice ? symbol + gap : 0;
    const qreal left = 47.25 - (lead + textWidth) / 2;
    const QColor ink = suitChoice ? suitInk(suit) : QColor(40, 30, 14);
    if (suitChoice) drawSuit(p, suit, QRectF(left, 4.5, symbol, symbol), ink);
    drawCentredText(p, f, word, QPointF(left + lead + textWidth / 2, 10.5), ink);
    return pix;
}

QPixmap bidTag(int tag, int team, bool alignRight, qreal dpr) {
    static const char* const words[] = {"",         "Pass",   "Ordered up", "Picked up", "Clubs",
                                        "Diamonds", "Spades", "Hearts",     "Alone"};
    constexpr qreal w = 74, h = 17, disc = 13, gap = 2, margin = 7;
    QPixmap pix = canvas(int(w), int(h), dpr);
    QPainter p;
    begin(p, pix);
    const QString word = QLatin1String(words[tag]);
    const bool suit = tag >= 4 && tag <= 7;
    // A named suit carries its symbol on a pale disc, in the suit's own ink.
    const qreal lead = suit ? disc + gap : 0;
    const QFont f = fittedFont(kSans, 11, word, w - 2 - 2 * margin - lead);
    const qreal textWidth = QFontMetricsF(f).horizontalAdvance(word);
    // The pill is as wide as its word and lies against the name it belongs to.
    const qreal pillWidth = std::min(w - 2, std::ceil(textWidth + lead + 2 * margin));
    const QRectF pill(alignRight ? w - 1.5 - pillWidth : 0.5, 0.5, pillWidth, h - 2);
    // A pill in the team's colour with pale letters: the Tan one dark
    // brown, the Blue one slate, both dark enough for the letters to read.
    const QColor fill = team == 1 ? kTan : kBlue.darker(118);
    QPainterPath shape;
    shape.addRoundedRect(pill, 7.5, 7.5);
    dropShadow(p, shape, {0.8, 1});
    QLinearGradient shade(0, 0, 0, h);
    shade.setColorAt(0, fill.lighter(125));
    shade.setColorAt(1, fill);
    p.setPen(QPen(fill.darker(150), 1));
    p.setBrush(shade);
    p.drawPath(shape);

    const qreal left = pill.center().x() - (lead + textWidth) / 2;
    if (suit) {
        const QRectF round(left, pill.center().y() - disc / 2, disc, disc);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 252, 236));
        p.drawEllipse(round);
        drawSuit(p, tag - 3, round.adjusted(2.5, 2.5, -2.5, -2.5), suitInk(tag - 3));
    }
    drawCentredText(p, f, word, QPointF(left + lead + textWidth / 2, pill.center().y()),
                    QColor(255, 250, 232));
    return pix;
}

QPixmap turnArrow(qreal dpr) {
    QPixmap pix = canvas(28, 34, dpr);
    QPainter p;
    begin(p, pix);
    QPainterPath arrow;
    arrow.moveTo(2, 11);
    arrow.lineTo(12.5, 11);
    arrow.lineTo(12.5, 3);
    arrow.lineTo(25.5, 17);
    arrow.lineTo(12.5, 31);
    arrow.lineTo(12.5, 23);
    arrow.lineTo(2, 23);
    arrow.closeSubpath();
    dropShadow(p, arrow);
    QLinearGradient glow(0, 3, 0, 31);
    glow.setColorAt(0, QColor(255, 246, 140));
    glow.setColorAt(0.5, QColor(255, 212, 40));
    glow.setColorAt(1, QColor(244, 150, 10));
    p.setPen(QPen(QColor(96, 52, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(glow);
    p.drawPath(arrow);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 13), QPointF(13.5, 13));
    p.drawLine(QPointF(14.5, 6.5), QPointF(21, 13.5));
    return pix;
}

QPixmap seatMakerMark(qreal dpr) {
    QPixmap pix = canvas(25, 25, dpr);
    QPainter p;
    begin(p, pix);
    const QPointF c(12, 12);
    QPainterPath disc;
    disc.addEllipse(c, 11, 11);
    dropShadow(p, disc, {0.8, 1});
    QRadialGradient red(c - QPointF(3, 4), 14);
    red.setColorAt(0, QColor(222, 64, 70));
    red.setColorAt(1, QColor(140, 18, 30));
    p.setPen(QPen(kGold, 1.6));
    p.setBrush(red);
    p.drawPath(disc);

    QPainterPath crown;
    crown.moveTo(6, 16);
    crown.lineTo(5.5, 8);
    crown.lineTo(9, 11.5);
    crown.lineTo(12, 6);
    crown.lineTo(15, 11.5);
    crown.lineTo(18.5, 8);
    crown.lineTo(18, 16);
    crown.closeSubpath();
    QLinearGradient gold(0, 6, 0, 16);
    gold.setColorAt(0, QColor(255, 236, 150));
    gold.setColorAt(1, kGold);
    p.setPen(QPen(kDarkGold, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gold);
    p.drawPath(crown);
    p.setBrush(QColor(255, 244, 200));
    for (const QPointF& j : {QPointF(5.5, 7.5), QPointF(12, 5.5), QPointF(18.5, 7.5)})
        p.drawEllipse(j, 1.2, 1.2);
    return pix;
}

QPixmap teamMakerBar(int team, qreal dpr) {
    QPixmap pix = canvas(11, 48, dpr);
    QPainter p;
    begin(p, pix);
    const QRectF bar(1, 0.5, 9, 47);
    QLinearGradient fill(bar.left(), 0, bar.right(), 0);
    if (team == 1) {
        // Light tan with a dark frame and dark diamonds...
        fill.setColorAt(0, QColor(236, 220, 182));
        fill.setColorAt(1, QColor(206, 184, 136));
        p.setPen(QPen(kTan, 1.2));
        p.setBrush(fill);
        p.drawRoundedRect(bar, 3, 3);
        for (qreal y : {12.0, 24.0, 36.0}) drawSuit(p, kDiamonds, QRectF(2.5, y - 3.5, 6, 7), kTan);
    } else {
        // ...against dark blue with light rungs, so the teams differ in
        // lightness and motif as well as in hue.
        fill.setColorAt(0, QColor(96, 118, 156));
        fill.setColorAt(1, QColor(52, 68, 104));
        p.setPen(QPen(QColor(28, 38, 64), 1.2));
        p.setBrush(fill);
        p.drawRoundedRect(bar, 3, 3);
        p.setPen(QPen(QColor(226, 234, 248), 1.4, Qt::SolidLine, Qt::RoundCap));
        for (qreal y = 7; y < 44; y += 6.5) p.drawLine(QPointF(3.5, y), QPointF(7.5, y));
    }
    return pix;
}

QPixmap dealerButton(qreal dpr) {
    QPixmap pix = canvas(25, 25, dpr);
    QPainter p;
    begin(p, pix);
    const QPointF c(12, 12);
    QPainterPath disc;
    disc.addEllipse(c, 11, 11);
    dropShadow(p, disc, {0.8, 1.2});
    QRadialGradient white(c - QPointF(3, 4), 15);
    white.setColorAt(0, Qt::white);
    white.setColorAt(1, QColor(218, 218, 210));
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(white);
    p.drawPath(disc);
    // The chip's edge marks.
    p.setPen(QPen(QColor(30, 90, 60), 2.2, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        p.drawLine(c + QPointF(8.2 * std::cos(a), 8.2 * std::sin(a)),
                   c + QPointF(10.4 * std::cos(a), 10.4 * std::sin(a)));
    }
    p.setPen(QPen(QColor(150, 150, 140), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 7.5, 7.5);
    drawCentredText(p, font(kSerif, 12), QStringLiteral("D"), c + QPointF(0.3, 0),
                    QColor(20, 20, 20));
    return pix;
}

QPixmap trickWinnerMarker(qreal dpr) {
    QPixmap pix = canvas(27, 35, dpr);
    QPainter p;
    begin(p, pix);
    QPainterPath cup;
    cup.moveTo(6, 3.5);
    cup.lineTo(21, 3.5);
    cup.cubicTo(21, 13.5, 18, 18.5, 13.5, 19.5);
    cup.cubicTo(9, 18.5, 6, 13.5, 6, 3.5);
    cup.closeSubpath();
    QPainterPath handles;
    handles.addEllipse(QPointF(6, 8.5), 4, 4.2);
    handles.addEllipse(QPointF(21, 8.5), 4, 4.2);
    QPainterPath stand;
    stand.addRect(QRectF(12, 19, 3, 6));
    stand.moveTo(8.5, 25);
    stand.lineTo(18.5, 25);
    stand.lineTo(20.5, 29.5);
    stand.lineTo(6.5, 29.5);
    stand.closeSubpath();
    const QPainterPath trophy = cup.united(stand);
    dropShadow(p, trophy.united(handles));

    QLinearGradient gold(4, 0, 23, 0);
    gold.setColorAt(0, QColor(196, 146, 40));
    gold.setColorAt(0.35, QColor(255, 236, 150));
    gold.setColorAt(1, QColor(186, 132, 30));
    p.setPen(QPen(kDarkGold, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(handles);
    p.setPen(QPen(QColor(250, 208, 90), 0.9));
    p.drawPath(handles);
    p.setPen(QPen(kDarkGold, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gold);
    p.drawPath(trophy);
    QLinearGradient wood(0, 29, 0, 33.5);
    wood.setColorAt(0, QColor(128, 84, 44));
    wood.setColorAt(1, QColor(78, 48, 22));
    p.setBrush(wood);
    p.setPen(QPen(QColor(50, 30, 12), 0.8));
    p.drawRoundedRect(QRectF(4.5, 29.5, 18, 4), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(star(QPointF(13.5, 10), 4.2, 1.8));
    return pix;
}

QPixmap eyes(qreal dpr) {
    QPixmap pix = canvas(37, 17, dpr);
    QPainter p;
    begin(p, pix);
    for (const qreal cx : {9.5, 27.5}) {
        const QPointF c(cx, 8.5);
        p.setPen(QPen(QColor(36, 36, 36), 1.2));
        p.setBrush(Qt::white);
        p.drawEllipse(c, 8, 7);
        const QPointF iris = c + QPointF(2, 0.8);
        QRadialGradient blue(iris, 4);
        blue.setColorAt(0, QColor(120, 180, 220));
        blue.setColorAt(1, QColor(36, 84, 140));
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawEllipse(iris, 3.8, 3.8);
        p.setBrush(QColor(10, 10, 14));
        p.drawEllipse(iris, 1.8, 1.8);
        p.setBrush(Qt::white);
        p.drawEllipse(iris + QPointF(-1.2, -1.3), 0.9, 0.9);
        // A heavy upper lid: the look of someone watching a game.
        QPainterPath lid;
        lid.moveTo(c.x() - 8, c.y());
        lid.cubicTo(c.x() - 7, c.y() - 9.5, c.x() + 7, c.y() - 9.5, c.x() + 8, c.y());
        lid.cubicTo(c.x() + 5, c.y() - 4, c.x() - 5, c.y() - 4, c.x() - 8, c.y());
        p.setBrush(QColor(222, 186, 150));
        p.setPen(QPen(QColor(36, 36, 36), 1.1));
        p.drawPath(lid);
    }
    return pix;
}

QPixmap winnersBanner(int team, qreal dpr) {
    QPixmap pix = canvas(121, 35, dpr);
    QPainter p;
    begin(p, pix);
    const bool tan = team == 1;
    // Tan is light with dark letters, blue dark with light ones.
    const QColor top = tan ? QColor(250, 240, 212) : QColor(78, 98, 138);
    const QColor bottom = tan ? QColor(226, 206, 160) : QColor(34, 48, 82);
    const QColor edge = tan ? kTan : QColor(24, 32, 58);
    const QColor letters = tan ? QColor(72, 52, 20) : QColor(255, 250, 232);

    QPainterPath tails;
    for (const int side : {0, 1}) {
        QPolygonF t({{0.5, 10}, {18, 10}, {18, 32}, {0.5, 32}, {6.5, 21}});
        if (side) {
            for (QPointF& pt : t) pt.setX(121 - pt.x());
        }
        tails.addPolygon(t);
        tails.closeSubpath();
    }
    QPainterPath band;
    band.addRect(QRectF(10.5, 2.5, 100, 25));
    dropShadow(p, tails.united(band), {1, 1.5});
    p.setPen(QPen(edge, 1));
    p.setBrush(tan ? bottom.darker(112) : bottom.darker(125));
    p.drawPath(tails);
    // The folds where the tails pass behind the band.
    p.setBrush(bottom.darker(170));
    p.drawPolygon(QPolygonF({{10.5, 27.5}, {18, 32}, {18, 27.5}}));
    p.drawPolygon(QPolygonF({{110.5, 27.5}, {103, 32}, {103, 27.5}}));

    QLinearGradient cloth(0, 2.5, 0, 27.5);
    cloth.setColorAt(0, top);
    cloth.setColorAt(1, bottom);
    p.setPen(QPen(edge, 1.2));
    p.setBrush(cloth);
    p.drawPath(band);
    if (tan) {
        p.setPen(QPen(edge, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(13, 5, 95, 20));
    } else {
        p.setPen(QPen(QColor(170, 186, 220), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(12.5, 4.5, 96, 21));
        p.drawRect(QRectF(14.5, 6.5, 92, 17));
    }
    const QString word = QStringLiteral("WINNERS");
    const QFont f = fittedFont(kSerif, 16, word, 84);
    drawCentredText(p, f, word, QPointF(60.5, 15), letters);
    return pix;
}

QPixmap pictureButton(const QString& text, bool pressed, qreal dpr) {
    QPixmap pix = canvas(91, 28, dpr);
    QPainter p;
    begin(p, pix);
    const qreal sink = pressed ? 1.5 : 0;
    const QRectF face(0.5, 0.5 + sink, 90, 25.5);
    if (!pressed) {
        // The button's lower lip: it stands proud until pushed.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(122, 80, 28));
        p.drawRoundedRect(face.translated(0, 1.5), 6, 6);
    }
    QLinearGradient amber(0, face.top(), 0, face.bottom());
    amber.setColorAt(0, pressed ? QColor(220, 172, 86) : QColor(255, 242, 196));
    amber.setColorAt(1, pressed ? QColor(244, 212, 144) : QColor(234, 190, 100));
    p.setPen(QPen(QColor(122, 80, 28), 1));
    p.setBrush(amber);
    p.drawRoundedRect(face, 6, 6);
    p.setPen(QPen(pressed ? QColor(110, 70, 20, 110) : QColor(255, 255, 255, 190), 1));
    p.drawLine(QPointF(6, face.top() + 1.5), QPointF(85, face.top() + 1.5));
    const QFont f = fittedFont(kSans, 12, text, 80);
    drawCentredText(p, f, text, face.center() + QPointF(0, pressed ? 0.5 : 0), kBrown);
    return pix;
}

QPixmap cornerOrnament(int corner, qreal dpr) {
    QPixmap pix = canvas(16, 16, dpr);
    QPainter p;
    begin(p, pix);
    // Painted as the top-left corner and mirrored into place.
    p.translate(corner % 2 ? 16 : 0, corner >= 2 ? 16 : 0);
    p.scale(corner % 2 ? -1 : 1, corner >= 2 ? -1 : 1);
    QPainterPath bracket;
    bracket.moveTo(2, 15);
    bracket.lineTo(2, 2);
    bracket.lineTo(15, 2);
    QPainterPath scroll;
    scroll.moveTo(2, 11);
    scroll.quadTo(5.5, 5.5, 11, 2);
    for (const auto& [width, colour] :
         {std::pair{3.4, kDarkGold}, std::pair{1.8, QColor(246, 206, 100)}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bracket);
        p.setPen(QPen(colour, width * 0.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(scroll);
    }
    p.setPen(QPen(kDarkGold, 0.7));
    p.setBrush(QColor(255, 226, 130));
    p.drawEllipse(QPointF(4.2, 4.2), 1.9, 1.9);
    return pix;
}

QPixmap logo(qreal dpr) {
    QPixmap pix = canvas(156, 32, dpr);
    QPainter p;
    begin(p, pix);
    QFont f = font(kSerif, 27);
    f.setItalic(true);
    QLinearGradient green(0, 4, 0, 28);
    green.setColorAt(0, QColor(44, 124, 70));
    green.setColorAt(1, QColor(16, 66, 36));
    drawCentredText(p, f, QStringLiteral("Euchre"), QPointF(56, 16), green,
                    QPen(QColor(255, 250, 226), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    // A small plaque of the four suits.
    const QRectF plaque(112.5, 7.5, 42, 17);
    p.setPen(QPen(kDarkGold, 1));
    p.setBrush(QColor(255, 252, 238));
    p.drawRoundedRect(plaque, 4, 4);
    const int order[] = {kSpades, kHearts, kClubs, kDiamonds};
    for (int i = 0; i < 4; ++i)
        drawSuit(p, order[i], QRectF(plaque.left() + 3 + i * 9.3, plaque.top() + 4, 8.5, 9),
                 suitInk(order[i]));
    return pix;
}

QPixmap backgroundTile(qreal dpr) {
    constexpr int side = 64;
    QPixmap pix = canvas(side, side, dpr);
    pix.fill(QColor(244, 245, 214));
    QPainter p;
    begin(p, pix);
    // A faint diamond lattice whose lines meet the edges where the next tile
    // carries them on.
    p.setPen(QPen(QColor(234, 236, 199), 1));
    for (int d = -side; d <= 2 * side; d += 16) {
        p.drawLine(QPointF(d, 0), QPointF(d + side, side));
        p.drawLine(QPointF(d, side), QPointF(d + side, 0));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 234, 196));
    for (int y = 0; y <= side; y += 16)
        for (int x = 8; x <= side + 8; x += 16) {
            drawSuit(p, kDiamonds, QRectF(x - 2, y + 8 - 2, 4, 4), QColor(228, 230, 190));
        }
    return pix;
}

} // namespace euchre::art::paint
