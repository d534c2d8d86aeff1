// The table's pictures. A plain first painting: each picture at its size,
// with its word, painted at the screen's pixel ratio and kept once painted.
#include "client/artwork.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <functional>

namespace euchre::art {

namespace {

const QColor kTan(101, 83, 50);
const QColor kBlue(86, 107, 143);

const char* const kSuitNames[] = {"", "CLUBS", "DIAMONDS", "SPADES", "HEARTS"};
const char* const kRanks[] = {"", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A"};
const char* const kSuitLetters[] = {"", "\u2663", "\u2666", "\u2660", "\u2665"};

QPixmap canvas(int w, int h, qreal dpr) {
    QPixmap pix(qRound(w * dpr), qRound(h * dpr));
    pix.setDevicePixelRatio(dpr);
    pix.fill(Qt::transparent);
    return pix;
}

// Pictures once painted, by kind, entry and pixel ratio.
QPixmap cached(const QString& key, qreal dpr, const std::function<QPixmap()>& paint) {
    static QHash<QString, QPixmap> store;
    const QString full = key + QLatin1Char('@') + QString::number(dpr);
    auto it = store.find(full);
    if (it == store.end()) it = store.insert(full, paint());
    return *it;
}

QPixmap labelled(int w, int h, qreal dpr, const QColor& fill, const QColor& ink,
                 const QString& text) {
    QPixmap pix = canvas(w, h, dpr);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(qMax(8, h / 2));
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, text);
    return pix;
}

} // namespace

QPixmap card(int entry, qreal dpr) {
    return cached(QStringLiteral("card%1").arg(entry), dpr, [&] {
        if (entry <= kCardBack || entry >= kCardPictures)
            return labelled(kCardWidth, kCardHeight, dpr, QColor(40, 70, 150), Qt::white, {});
        if (entry >= kFirstSuitSymbol) {
            const int suit = entry - 52;
            return labelled(kCardWidth, kCardHeight, dpr, Qt::white,
                            suit % 2 == 0 ? Qt::red : Qt::black,
                            QString::fromUtf8(kSuitLetters[suit]));
        }
        const int suit = (entry - 1) / 13 + 1;
        const int rank = (entry - 1) % 13 + 1;
        return labelled(kCardWidth, kCardHeight, dpr, Qt::white,
                        suit % 2 == 0 ? Qt::red : Qt::black,
                        QString::fromUtf8(kRanks[rank]) + QString::fromUtf8(kSuitLetters[suit]));
    });
}

QPixmap cardBacks(int count, qreal dpr) {
    if (count <= 0) return {};
    return cached(QStringLiteral("backs%1").arg(count), dpr, [&] {
        QPixmap pix = canvas(66 + kBackStep * count, kCardHeight, dpr);
        QPainter p(&pix);
        for (int i = 0; i < count; ++i) p.drawPixmap(kBackStep * i, 0, card(kCardBack, dpr));
        return pix;
    });
}

QPixmap bubble(int entry, qreal dpr) {
    static const char* const words[] = {"I Assist", "Order It Up", "Pass",
                                        "CLUBS",    "DIAMONDS",    "SPADES",
                                        "HEARTS",   "Alone",       "With Partner"};
    const int e = entry >= 0 && entry < kBubblePictures ? entry : 2;
    return cached(QStringLiteral("bubble%1").arg(e), dpr, [&] {
        return labelled(kBubbleWidth, kBubbleHeight, dpr, QColor(255, 255, 230), Qt::black,
                        QLatin1String(words[e]));
    });
}

QPixmap turnArrow(qreal dpr) {
    return cached(QStringLiteral("arrow"), dpr, [&] {
        return labelled(28, 34, dpr, QColor(250, 210, 60), Qt::black, QStringLiteral(">"));
    });
}

QPixmap seatMakerMark(qreal dpr) {
    return cached(QStringLiteral("maker"), dpr, [&] {
        return labelled(25, 25, dpr, QColor(200, 40, 40), Qt::white, QStringLiteral("M"));
    });
}

QPixmap teamMakerBar(int team, qreal dpr) {
    return cached(QStringLiteral("bar%1").arg(team), dpr,
                  [&] { return labelled(11, 48, dpr, team == 1 ? kTan : kBlue, Qt::black, {}); });
}

QPixmap dealerButton(qreal dpr) {
    return cached(QStringLiteral("dealer"), dpr,
                  [&] { return labelled(25, 25, dpr, Qt::white, Qt::black, QStringLiteral("D")); });
}

QPixmap trickWinnerMarker(qreal dpr) {
    return cached(QStringLiteral("winner"), dpr, [&] {
        return labelled(27, 35, dpr, QColor(250, 210, 60), Qt::black, QStringLiteral("*"));
    });
}

QPixmap eyes(qreal dpr) {
    return cached(QStringLiteral("eyes"), dpr, [&] {
        return labelled(37, 17, dpr, Qt::white, Qt::black, QStringLiteral("o o"));
    });
}

QPixmap winnersBanner(int team, qreal dpr) {
    return cached(QStringLiteral("banner%1").arg(team), dpr, [&] {
        return labelled(121, 35, dpr, team == 1 ? kTan : kBlue, Qt::white,
                        QStringLiteral("WINNERS"));
    });
}

QPixmap pictureButton(const QString& text, bool pressed, qreal dpr) {
    return cached(QStringLiteral("button%1%2").arg(pressed).arg(text), dpr, [&] {
        return labelled(91, 28, dpr, pressed ? QColor(212, 170, 64) : QColor(255, 243, 196),
                        Qt::black, text);
    });
}

QPixmap cornerOrnament(int corner, qreal dpr) {
    return cached(QStringLiteral("corner%1").arg(corner), dpr,
                  [&] { return labelled(16, 16, dpr, kTan, Qt::black, {}); });
}

QPixmap logo(qreal dpr) {
    return cached(QStringLiteral("logo"), dpr, [&] {
        return labelled(156, 32, dpr, Qt::transparent, QColor(28, 86, 48),
                        QStringLiteral("Euchre"));
    });
}

QPixmap backgroundTile(qreal dpr) {
    return cached(QStringLiteral("tile"), dpr, [&] {
        QPixmap pix = canvas(64, 64, dpr);
        pix.fill(QColor(244, 245, 214));
        return pix;
    });
}

} // namespace euchre::art
