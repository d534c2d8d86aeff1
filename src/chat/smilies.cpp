// Paints the smiley pictures: small round faces, one expression each.
#include "chat/smilies.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace euchre {

namespace {

enum Face : int {
    Smile,
    Grin,
    Wink,
    Sad,
    Surprised,
    Tongue,
    Cool,
    Angry,
    Laugh,
    Neutral,
    Kiss,
    Confused,
    Crying,
    Sleepy,
    Devil,
    Angel,
    Blush,
    Shocked,
};

const QColor kOutline(110, 72, 10);
const QColor kFeature(60, 36, 8);

struct Geometry {
    QPointF centre;
    qreal radius;
};

void paintHead(QPainter& p, const Geometry& g, const QColor& light, const QColor& dark) {
    QRadialGradient fill(g.centre - QPointF(g.radius / 3, g.radius / 3), g.radius * 1.6);
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setBrush(fill);
    p.setPen(QPen(kOutline, 0.9));
    p.drawEllipse(g.centre, g.radius, g.radius);
}

void dotEyes(QPainter& p, const Geometry& g, qreal size = 1.1) {
    p.setPen(Qt::NoPen);
    p.setBrush(kFeature);
    const qreal dx = g.radius * 0.38, dy = g.radius * 0.3;
    p.drawEllipse(g.centre + QPointF(-dx, -dy), size * 0.8, size * 1.1);
    p.drawEllipse(g.centre + QPointF(dx, -dy), size * 0.8, size * 1.1);
}

// An arc through the mouth area; bend > 0 smiles, bend < 0 frowns.
void arcMouth(QPainter& p, const Geometry& g, qreal bend, qreal width = 0.55) {
    const qreal w = g.radius * width;
    const QPointF left = g.centre + QPointF(-w, g.radius * 0.3);
    const QPointF right = g.centre + QPointF(w, g.radius * 0.3);
    QPainterPath path(left);
    path.quadTo(g.centre + QPointF(0, g.radius * 0.3 + bend * 2), right);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFeature, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
}

void openMouth(QPainter& p, const Geometry& g, qreal depth) {
    const qreal w = g.radius * 0.55;
    const QPointF left = g.centre + QPointF(-w, g.radius * 0.18);
    const QPointF right = g.centre + QPointF(w, g.radius * 0.18);
    QPainterPath path(left);
    path.lineTo(right);
    path.quadTo(g.centre + QPointF(0, g.radius * 0.18 + depth * 2), left);
    p.setPen(QPen(kFeature, 0.8));
    p.setBrush(QColor(120, 20, 20));
    p.drawPath(path);
}

void closedEyes(QPainter& p, const Geometry& g, bool happy) {
    const qreal dx = g.radius * 0.38, dy = g.radius * 0.3;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFeature, 1.0, Qt::SolidLine, Qt::RoundCap));
    for (const qreal side : {-dx, dx}) {
        const QPointF c = g.centre + QPointF(side, -dy);
        QPainterPath path(c + QPointF(-1.4, 0));
        path.quadTo(c + QPointF(0, happy ? -1.8 : 1.4), c + QPointF(1.4, 0));
        p.drawPath(path);
    }
}

void paintFace(QPainter& p, int face) {
    const bool tall = face == Devil || face == Angel;
    const Geometry g{tall ? QPointF(8.5, 9.2) : QPointF(8.5, 8.0), tall ? 6.4 : 7.2};
    const QColor light(255, 245, 150), dark(240, 180, 20);

    switch (face) {
    case Angry:
        paintHead(p, g, QColor(255, 170, 140), QColor(220, 60, 30));
        break;
    case Devil: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(170, 20, 20));
        for (const qreal side : {-1.0, 1.0}) {
            QPainterPath horn(g.centre + QPointF(side * 2.5, -5.5));
            horn.lineTo(g.centre + QPointF(side * 6.2, -8.6));
            horn.lineTo(g.centre + QPointF(side * 5.4, -3.6));
            horn.closeSubpath();
            p.drawPath(horn);
        }
        paintHead(p, g, QColor(230, 160, 240), QColor(130, 40, 150));
        break;
    }
    case Angel:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(230, 190, 0), 1.2));
        p.drawEllipse(QPointF(8.5, 1.6), 4.2, 1.2);
        paintHead(p, g, light, dark);
        break;
    default:
        paintHead(p, g, light, dark);
        break;
    }

    switch (face) {
    case Smile:
    case Angel:
        dotEyes(p, g);
        arcMouth(p, g, 1.3);
        break;
    case Grin:
        dotEyes(p, g);
        openMouth(p, g, 1.6);
        break;
    case Wink: {
        p.setPen(Qt::NoPen);
        p.setBrush(kFeature);
        p.drawEllipse(g.centre + QPointF(-g.radius * 0.38, -g.radius * 0.3), 0.9, 1.2);
        p.setPen(QPen(kFeature, 1.0, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = g.centre + QPointF(g.radius * 0.38, -g.radius * 0.3);
        p.drawLine(c + QPointF(-1.4, 0.2), c + QPointF(1.4, -0.2));
        arcMouth(p, g, 1.3);
        break;
    }
    case Sad:
        dotEyes(p, g);
        arcMouth(p, g, -1.0, 0.45);
        break;
    case Surprised:
        dotEyes(p, g);
        p.setPen(QPen(kFeature, 0.9));
        p.setBrush(QColor(120, 20, 20));
        p.drawEllipse(g.centre + QPointF(0, g.radius * 0.42), 1.6, 2.0);
        break;
    case Tongue:
        dotEyes(p, g);
        arcMouth(p, g, 0.6);
        p.setPen(QPen(QColor(150, 30, 40), 0.6));
        p.setBrush(QColor(235, 90, 110));
        p.drawEllipse(g.centre + QPointF(1.2, g.radius * 0.62), 1.6, 1.5);
        break;
    case Cool: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(25, 25, 35));
        const qreal dy = g.radius * 0.3;
        p.drawRoundedRect(QRectF(g.centre.x() - 5.6, g.centre.y() - dy - 1.6, 4.9, 3.2), 1.2, 1.2);
        p.drawRoundedRect(QRectF(g.centre.x() + 0.7, g.centre.y() - dy - 1.6, 4.9, 3.2), 1.2, 1.2);
        p.setPen(QPen(QColor(25, 25, 35), 0.8));
        p.drawLine(QPointF(g.centre.x() - 7, g.centre.y() - dy - 0.8),
                   QPointF(g.centre.x() + 7, g.centre.y() - dy - 0.8));
        arcMouth(p, g, 1.0, 0.45);
        break;
    }
    case Angry:
    case Devil:
        dotEyes(p, g);
        p.setPen(QPen(kFeature, 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(g.centre + QPointF(-4.2, -4.4), g.centre + QPointF(-1.2, -3.0));
        p.drawLine(g.centre + QPointF(4.2, -4.4), g.centre + QPointF(1.2, -3.0));
        if (face == Angry)
            arcMouth(p, g, -0.9, 0.45);
        else
            arcMouth(p, g, 1.4, 0.6);
        break;
    case Laugh:
        closedEyes(p, g, true);
        openMouth(p, g, 1.9);
        break;
    case Neutral:
        dotEyes(p, g);
        p.setPen(QPen(kFeature, 1.1, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(g.centre + QPointF(-3.0, 2.6), g.centre + QPointF(3.0, 2.6));
        break;
    case Kiss: {
        closedEyes(p, g, true);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(225, 30, 60));
        const QPointF c = g.centre + QPointF(0.2, 3.0);
        QPainterPath heart(c + QPointF(0, 1.8));
        heart.cubicTo(c + QPointF(-3.2, -0.6), c + QPointF(-1.4, -2.8), c + QPointF(0, -1.0));
        heart.cubicTo(c + QPointF(1.4, -2.8), c + QPointF(3.2, -0.6), c + QPointF(0, 1.8));
        p.drawPath(heart);
        break;
    }
    case Confused: {
        dotEyes(p, g);
        QPainterPath wave(g.centre + QPointF(-3.4, 2.8));
        wave.cubicTo(g.centre + QPointF(-1.6, 1.2), g.centre + QPointF(-0.2, 4.2),
                     g.centre + QPointF(1.2, 2.6));
        wave.quadTo(g.centre + QPointF(2.4, 1.4), g.centre + QPointF(3.4, 2.4));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kFeature, 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave);
        break;
    }
    case Crying:
        closedEyes(p, g, false);
        arcMouth(p, g, -1.0, 0.45);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 150, 240));
        p.drawEllipse(g.centre + QPointF(-3.1, 0.4), 0.9, 1.5);
        p.drawEllipse(g.centre + QPointF(3.1, 0.4), 0.9, 1.5);
        break;
    case Sleepy:
        closedEyes(p, g, false);
        p.setPen(QPen(kFeature, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(g.centre + QPointF(0, 3.0), 1.1, 0.9);
        p.setPen(QPen(QColor(40, 70, 190), 0.9));
        p.drawLine(QPointF(12.3, 0.6), QPointF(15.3, 0.6));
        p.drawLine(QPointF(15.3, 0.6), QPointF(12.3, 3.4));
        p.drawLine(QPointF(12.3, 3.4), QPointF(15.3, 3.4));
        break;
    case Blush:
        dotEyes(p, g);
        arcMouth(p, g, 0.9, 0.35);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 100, 110, 170));
        p.drawEllipse(g.centre + QPointF(-4.2, 1.4), 1.7, 1.1);
        p.drawEllipse(g.centre + QPointF(4.2, 1.4), 1.7, 1.1);
        break;
    case Shocked:
        p.setPen(QPen(kFeature, 0.7));
        p.setBrush(Qt::white);
        p.drawEllipse(g.centre + QPointF(-2.7, -2.3), 2.0, 2.3);
        p.drawEllipse(g.centre + QPointF(2.7, -2.3), 2.0, 2.3);
        p.setPen(Qt::NoPen);
        p.setBrush(kFeature);
        p.drawEllipse(g.centre + QPointF(-2.7, -2.0), 0.8, 0.9);
        p.drawEllipse(g.centre + QPointF(2.7, -2.0), 0.8, 0.9);
        p.setPen(QPen(kFeature, 0.9));
        p.setBrush(QColor(120, 20, 20));
        p.drawEllipse(g.centre + QPointF(0, 3.4), 2.2, 1.5);
        break;
    default:
        break;
    }
}

} // namespace

QImage smileyImage(int index) {
    if (index < 0 || index >= kSmileyCount) index = 0;
    QImage image(kSmileyWidth, kSmileyHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintFace(p, index);
    return image;
}

QList<QImage> smileyImages() {
    QList<QImage> all;
    all.reserve(kSmileyCount);
    for (int i = 0; i < kSmileyCount; ++i) all.append(smileyImage(i));
    return all;
}

QString smileyCode(int index) {
    return QString::fromLatin1(kSmileyMark) + QString::number(kFirstSmileyCode + index);
}

} // namespace euchre
