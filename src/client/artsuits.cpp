// The four suit shapes and the small painting helpers every picture shares.
#include "client/artpaint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

namespace euchre::art::paint {

namespace {

QPainterPath heart() {
    QPainterPath p;
    p.moveTo(50, 97);
    p.cubicTo(38, 82, 3, 62, 3, 32);
    p.cubicTo(3, 14, 15, 4, 28, 4);
    p.cubicTo(39, 4, 47, 11, 50, 21);
    p.cubicTo(53, 11, 61, 4, 72, 4);
    p.cubicTo(85, 4, 97, 14, 97, 32);
    p.cubicTo(97, 62, 62, 82, 50, 97);
    p.closeSubpath();
    return p;
}

QPainterPath diamond() {
    QPainterPath p;
    p.moveTo(50, 1);
    p.quadTo(66, 27, 87, 50);
    p.quadTo(66, 73, 50, 99);
    p.quadTo(34, 73, 13, 50);
    p.quadTo(34, 27, 50, 1);
    p.closeSubpath();
    return p;
}

// A flared stem under the spade and the club.
QPainterPath stem(qreal top, qreal halfTop) {
    QPainterPath p;
    p.moveTo(50 - halfTop, top);
    p.quadTo(48, 86, 31, 98);
    p.lineTo(69, 98);
    p.quadTo(52, 86, 50 + halfTop, top);
    p.closeSubpath();
    return p;
}

QPainterPath spade() {
    QPainterPath body;
    body.moveTo(50, 2);
    body.cubicTo(62, 22, 97, 40, 97, 62);
    body.cubicTo(97, 76, 87, 84, 75, 84);
    body.cubicTo(64, 84, 56, 78, 52, 70);
    body.lineTo(48, 70);
    body.cubicTo(44, 78, 36, 84, 25, 84);
    body.cubicTo(13, 84, 3, 76, 3, 62);
    body.cubicTo(3, 40, 38, 22, 50, 2);
    body.closeSubpath();
    return body.united(stem(64, 4));
}

QPainterPath club() {
    QPainterPath leaves;
    leaves.addEllipse(QPointF(50, 25), 22, 22);
    leaves.addEllipse(QPointF(25, 59), 22, 22);
    leaves.addEllipse(QPointF(75, 59), 22, 22);
    QPainterPath heartOfIt;
    heartOfIt.addEllipse(QPointF(50, 52), 13, 13);
    QPainterPath out = leaves.united(heartOfIt).united(stem(56, 5));
    return out.simplified();
}

} // namespace

QPixmap canvas(int w, int h, qreal dpr) {
    QPixmap pix(qRound(w * dpr), qRound(h * dpr));
    pix.setDevicePixelRatio(dpr);
    pix.fill(Qt::transparent);
    return pix;
}

void begin(QPainter& p, QPixmap& pix) {
    p.begin(&pix);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
}

const QPainterPath& suitShape(int suit) {
    static const QPainterPath shapes[] = {diamond(), club(), diamond(), spade(), heart()};
    return shapes[suit >= kClubs && suit <= kHearts ? suit : 0];
}

void drawSuit(QPainter& p, int suit, const QRectF& box, const QColor& ink, bool flipped) {
    const qreal side = qMin(box.width(), box.height());
    p.save();
    p.translate(box.center());
    if (flipped) p.rotate(180);
    p.scale(side / 100.0, side / 100.0);
    p.translate(-50, -50);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(suitShape(suit));
    p.restore();
}

QFont font(const QString& family, int pixelSize, bool bold) {
    QFont f(family);
    f.setPixelSize(qMax(1, pixelSize));
    f.setBold(bold);
    f.setStyleHint(family.contains(QLatin1String("Serif")) ? QFont::Serif : QFont::SansSerif);
    return f;
}

QFont fittedFont(const QString& family, int maxPixels, const QString& text, qreal width,
                 bool bold) {
    QFont f = font(family, maxPixels, bold);
    for (int px = maxPixels; px > 6; --px) {
        f.setPixelSize(px);
        if (QFontMetricsF(f).horizontalAdvance(text) <= width) break;
    }
    return f;
}

void drawCentredText(QPainter& p, const QFont& f, const QString& text, QPointF centre,
                     const QBrush& fill, const QPen& outline) {
    const QFontMetricsF m(f);
    const QPointF baseline(centre.x() - m.horizontalAdvance(text) / 2,
                           centre.y() + m.capHeight() / 2);
    p.save();
    if (outline.style() == Qt::NoPen) {
        p.setFont(f);
        p.setPen(QPen(fill, 1));
        p.drawText(baseline, text);
    } else {
        QPainterPath path;
        path.addText(baseline, f, text);
        p.setPen(outline);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPath(path);
    }
    p.restore();
}

} // namespace euchre::art::paint
