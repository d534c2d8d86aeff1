// Tests of the table's pictures: sizes at each pixel ratio, faces told apart
// whole and in the last-trick corner, rounded corners, suit inks, the teams
// apart in lightness, bid tags readable in either team colour, painting at
// the ratio rather than enlarging, and entries out of range.
#include "client/artwork.h"

#include <QtTest>
#include <functional>

using namespace euchre::art;

namespace {

using Picture = std::function<QPixmap(qreal)>;
using TeamPicture = std::function<QPixmap(int, qreal)>;

QImage argb(const QPixmap& pix) {
    return pix.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Pixels that differ plainly (some channel by more than 48).
int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > 48 || qAbs(qGreen(p) - qGreen(q)) > 48 ||
                qAbs(qBlue(p) - qBlue(q)) > 48 || qAbs(qAlpha(p) - qAlpha(q)) > 48)
                ++count;
        }
    return count;
}

bool anyOpaque(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 200) return true;
    return false;
}

// Mean luma (0..1) of the picture's painted pixels, weighted by their cover.
qreal meanLightness(const QImage& img) {
    qreal sum = 0, weight = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const qreal a = qAlpha(p) / 255.0;
            sum += a * (0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p)) / 255.0;
            weight += a;
        }
    return weight > 0 ? sum / weight : 0;
}

// The 24 faces dealt: nine to ace of each suit.
QList<int> dealtFaces() {
    QList<int> entries;
    for (int suit = 1; suit <= 4; ++suit)
        for (int rank = 8; rank <= 13; ++rank) entries << (suit - 1) * 13 + rank;
    return entries;
}

} // namespace

Q_DECLARE_METATYPE(Picture)
Q_DECLARE_METATYPE(TeamPicture)

class ArtworkTest : public QObject {
    Q_OBJECT
private slots:
    void sizes_data() {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QSize>("logical");
        QTest::addColumn<bool>("painted");
        const QSize cardSize(71, 96), bubbleSize(95, 25);
        QTest::newRow("back") << Picture([](qreal d) { return card(0, d); }) << cardSize << true;
        QTest::newRow("ten of hearts")
            << Picture([](qreal d) { return card(48, d); }) << cardSize << true;
        QTest::newRow("spade tile")
            << Picture([](qreal d) { return card(55, d); }) << cardSize << true;
        QTest::newRow("card -1") << Picture([](qreal d) { return card(-1, d); }) << cardSize
                                 << true;
        QTest::newRow("card 57") << Picture([](qreal d) { return card(57, d); }) << cardSize
                                 << true;
        QTest::newRow("one back") << Picture([](qreal d) { return cardBacks(1, d); }) << cardSize
                                  << true;
        QTest::newRow("five backs")
            << Picture([](qreal d) { return cardBacks(5, d); }) << QSize(91, 96) << true;
        QTest::newRow("backs 1000 held to the deck")
            << Picture([](qreal d) { return cardBacks(1000, d); }) << QSize(66 + 5 * kMostBacks, 96)
            << true;
        QTest::newRow("no backs") << Picture([](qreal d) { return cardBacks(0, d); }) << QSize()
                                  << false;
        QTest::newRow("backs -2") << Picture([](qreal d) { return cardBacks(-2, d); }) << QSize()
                                  << false;
        QTest::newRow("I Assist") << Picture([](qreal d) { return bubble(0, d); }) << bubbleSize
                                  << true;
        QTest::newRow("With Partner")
            << Picture([](qreal d) { return bubble(8, d); }) << bubbleSize << true;
        QTest::newRow("bubble 9") << Picture([](qreal d) { return bubble(9, d); }) << bubbleSize
                                  << true;
        QTest::newRow("bubble -1")
            << Picture([](qreal d) { return bubble(-1, d); }) << bubbleSize << true;
        QTest::newRow("tan bid tag")
            << Picture([](qreal d) { return bidTag(BidOrderedUp, 1, false, d); }) << QSize(74, 17)
            << true;
        QTest::newRow("blue bid tag")
            << Picture([](qreal d) { return bidTag(BidHearts, 2, true, d); }) << QSize(74, 17)
            << true;
        QTest::newRow("no bid") << Picture([](qreal d) { return bidTag(NoBid, 1, false, d); })
                                << QSize(74, 17) << false;
        QTest::newRow("bid tag 99")
            << Picture([](qreal d) { return bidTag(99, 2, true, d); }) << QSize(74, 17) << false;
        QTest::newRow("arrow") << Picture(turnArrow) << QSize(28, 34) << true;
        QTest::newRow("seat maker") << Picture(seatMakerMark) << QSize(25, 25) << true;
        QTest::newRow("tan bar") << Picture([](qreal d) { return teamMakerBar(1, d); })
                                 << QSize(11, 48) << true;
        QTest::newRow("blue bar") << Picture([](qreal d) { return teamMakerBar(2, d); })
                                  << QSize(11, 48) << true;
        QTest::newRow("bar team 3")
            << Picture([](qreal d) { return teamMakerBar(3, d); }) << QSize(11, 48) << false;
        QTest::newRow("dealer") << Picture(dealerButton) << QSize(25, 25) << true;
        QTest::newRow("trick winner") << Picture(trickWinnerMarker) << QSize(27, 35) << true;
        QTest::newRow("eyes") << Picture(eyes) << QSize(37, 17) << true;
        QTest::newRow("tan banner")
            << Picture([](qreal d) { return winnersBanner(1, d); }) << QSize(121, 35) << true;
        QTest::newRow("blue banner")
            << Picture([](qreal d) { return winnersBanner(2, d); }) << QSize(121, 35) << true;
        QTest::newRow("banner team 0")
            << Picture([](qreal d) { return winnersBanner(0, d); }) << QSize(121, 35) << false;
        QTest::newRow("button") << Picture([](qreal d) {
            return pictureButton(QStringLiteral("Start Game"), false, d);
        }) << QSize(91, 28) << true;
        QTest::newRow("pressed button")
            << Picture([](qreal d) { return pictureButton(QStringLiteral("Score Card"), true, d); })
            << QSize(91, 28) << true;
        QTest::newRow("corner 3") << Picture([](qreal d) { return cornerOrnament(3, d); })
                                  << QSize(16, 16) << true;
        QTest::newRow("corner 4") << Picture([](qreal d) { return cornerOrnament(4, d); })
                                  << QSize(16, 16) << false;
        QTest::newRow("logo") << Picture(logo) << QSize(156, 32) << true;
        QTest::newRow("tile") << Picture(backgroundTile) << QSize(64, 64) << true;
    }

    // Each picture is painted at the ratio asked: logical size times ratio.
    void sizes() {
        QFETCH(Picture, picture);
        QFETCH(QSize, logical);
        QFETCH(bool, painted);
        for (const qreal dpr : {1.0, 1.5, 2.0}) {
            const QPixmap pix = picture(dpr);
            if (!logical.isValid()) {
                QVERIFY(pix.isNull());
                continue;
            }
            QCOMPARE(pix.size(),
                     QSize(qRound(logical.width() * dpr), qRound(logical.height() * dpr)));
            QCOMPARE(pix.devicePixelRatio(), dpr);
            QCOMPARE(anyOpaque(argb(pix)), painted);
        }
    }

    void distinct_data() {
        QTest::addColumn<QList<QImage>>("images");
        for (const qreal dpr : {1.0, 2.0}) {
            QList<QImage> faces{argb(card(kCardBack, dpr))}, corners, bubbles, tiles, buttons, bids;
            for (int entry : dealtFaces()) {
                faces << argb(card(entry, dpr));
                corners << faces.last().copy(0, 0, qRound(52 * dpr), qRound(72 * dpr));
            }
            for (int entry = 0; entry < kBubblePictures; ++entry)
                bubbles << argb(bubble(entry, dpr));
            for (int suit = 1; suit <= 4; ++suit) tiles << argb(card(52 + suit, dpr));
            for (int tag = BidPass; tag < kBidTags; ++tag) bids << argb(bidTag(tag, 2, false, dpr));
            for (const char* word : {"Start Game", "Last Trick", "Score Card"})
                for (const bool pressed : {false, true})
                    buttons << argb(pictureButton(QLatin1String(word), pressed, dpr));
            QTest::addRow("dealt faces and back @%g", dpr) << faces;
            QTest::addRow("last-trick corners @%g", dpr) << corners;
            QTest::addRow("bubbles @%g", dpr) << bubbles;
            QTest::addRow("suit tiles @%g", dpr) << tiles;
            QTest::addRow("buttons @%g", dpr) << buttons;
            QTest::addRow("bid tags @%g", dpr) << bids;
        }
    }

    // Pictures a player must tell apart differ plainly, not in a pixel or two.
    void distinct() {
        QFETCH(QList<QImage>, images);
        for (int i = 0; i < images.size(); ++i)
            for (int j = i + 1; j < images.size(); ++j)
                QVERIFY2(differingPixels(images[i], images[j]) >= 20,
                         qPrintable(QStringLiteral("%1 and %2 look alike").arg(i).arg(j)));
    }

    void roundedCorners_data() {
        QTest::addColumn<QPixmap>("pix");
        for (const qreal dpr : {1.0, 2.0}) {
            QTest::addRow("back @%g", dpr) << card(kCardBack, dpr);
            QTest::addRow("queen of spades @%g", dpr) << card(37, dpr);
            QTest::addRow("club tile @%g", dpr) << card(53, dpr);
            QTest::addRow("three backs @%g", dpr) << cardBacks(3, dpr);
        }
    }

    // Cards are see-through outside their rounded corners and solid inside.
    void roundedCorners() {
        QFETCH(QPixmap, pix);
        const QImage img = argb(pix);
        const int w = img.width() - 1, h = img.height() - 1;
        for (const QPoint& corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
            QCOMPARE(qAlpha(img.pixel(corner)), 0);
        QCOMPARE(qAlpha(img.pixel(w / 2, h / 2)), 255);
        QCOMPARE(qAlpha(img.pixel(w / 2, 1)), 255);
    }

    void suitInk_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("red");
        const char* const suits[] = {"clubs", "diamonds", "spades", "hearts"};
        for (int suit = 1; suit <= 4; ++suit) {
            const bool red = suit % 2 == 0;
            QTest::addRow("%s tile", suits[suit - 1]) << 52 + suit << red;
            QTest::addRow("%s ace", suits[suit - 1]) << suit * 13 << red;
            QTest::addRow("%s nine", suits[suit - 1]) << (suit - 1) * 13 + 8 << red;
        }
    }

    // Hearts and diamonds in red, clubs and spades in black.
    void suitInk() {
        QFETCH(int, entry);
        QFETCH(bool, red);
        const QImage img = argb(card(entry, 1));
        int redPixels = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y);
                if (qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90) ++redPixels;
            }
        if (red)
            QVERIFY2(redPixels > 100, qPrintable(QString::number(redPixels)));
        else
            QCOMPARE(redPixels, 0);
    }

    void teamsApart_data() {
        QTest::addColumn<TeamPicture>("picture");
        QTest::newRow("winners banner") << TeamPicture(winnersBanner);
        QTest::newRow("maker bar") << TeamPicture(teamMakerBar);
    }

    // The teams differ in lightness, not only in hue, for colour-blind players.
    void teamsApart() {
        QFETCH(TeamPicture, picture);
        const qreal tan = meanLightness(argb(picture(1, 1))),
                    blue = meanLightness(argb(picture(2, 1)));
        QVERIFY2(tan - blue > 0.25, qPrintable(QStringLiteral("%1 vs %2").arg(tan).arg(blue)));
    }

    // A bid tag's pale letters stand out from its fill in either team's
    // colour, and its pill lies against the side it is told.
    void bidTagsReadable() {
        for (int team = 1; team <= 2; ++team)
            for (int tag = BidPass; tag < kBidTags; ++tag) {
                const QImage img = argb(bidTag(tag, team, team == 2, 1));
                QCOMPARE(qAlpha(img.pixel(team == 2 ? img.width() - 3 : 2, 8)), 255);
                int light = 0, dark = 0;
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x) {
                        const QRgb p = img.pixel(x, y);
                        const int luma = qGray(p);
                        light += qAlpha(p) == 255 && luma > 217;
                        dark += qAlpha(p) == 255 && luma < 128;
                    }
                QVERIFY2(light >= 40 && dark >= 300, qPrintable(QString::number(tag)));
            }
    }

    void paintedAtRatio_data() {
        QTest::addColumn<Picture>("picture");
        QTest::newRow("king of diamonds") << Picture([](qreal d) { return card(25, d); });
        QTest::newRow("back") << Picture([](qreal d) { return card(kCardBack, d); });
        QTest::newRow("Order It Up") << Picture([](qreal d) { return bubble(1, d); });
        QTest::newRow("tan banner") << Picture([](qreal d) { return winnersBanner(1, d); });
        QTest::newRow("logo") << Picture(logo);
        QTest::newRow("bid tag") << Picture([](qreal d) { return bidTag(BidSpades, 1, true, d); });
    }

    // At ratio 2 the picture is painted afresh, not the ratio-1 one enlarged.
    void paintedAtRatio() {
        QFETCH(Picture, picture);
        const QImage one = argb(picture(1)), two = argb(picture(2));
        for (const auto mode : {Qt::FastTransformation, Qt::SmoothTransformation}) {
            const QImage enlarged = one.scaled(two.size(), Qt::IgnoreAspectRatio, mode);
            QVERIFY(differingPixels(enlarged, two) > two.width());
        }
    }
};

QTEST_MAIN(ArtworkTest)
#include "tst_artwork.moc"
