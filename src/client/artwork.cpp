// The table's pictures: each painted once per pixel ratio and kept. The store
// is bounded: entries are clamped to their finite sets and only a few pixel
// ratios are kept at once (a new one beyond them starts the store afresh).
#include "client/artwork.h"

#include "client/artpaint.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace euchre::art {

namespace {

enum class Kind {
    Card,
    Backs,
    Bubble,
    BidTag,
    Arrow,
    SeatMaker,
    TeamBar,
    Dealer,
    TrickWinner,
    Eyes,
    Banner,
    Button,
    Corner,
    Logo,
    Tile,
    Blank,
};

// More ratios than this at once only happens when windows hop between many
// screens; the store then starts again rather than grow.
constexpr int kMaxRatios = 4;
// Button words beyond this many are painted afresh each time.
constexpr int kMaxButtonWords = 16;

using Key = std::tuple<Kind, int, qreal>;

std::map<Key, QPixmap>& store() {
    static std::map<Key, QPixmap> pictures;
    return pictures;
}

// A usable pixel ratio: nonsense becomes 1, extremes are held within reason.
qreal saneRatio(qreal dpr) {
    if (!std::isfinite(dpr) || dpr <= 0) return 1;
    return std::clamp(dpr, 0.25, 8.0);
}

void noteRatio(qreal dpr) {
    static QList<qreal> ratios;
    if (ratios.contains(dpr)) return;
    if (ratios.size() >= kMaxRatios) {
        ratios.clear();
        store().clear();
    }
    ratios.append(dpr);
}

template <typename Paint> QPixmap cached(Kind kind, int entry, qreal dpr, Paint&& paint) {
    noteRatio(dpr);
    auto& pictures = store();
    const Key key{kind, entry, dpr};
    auto it = pictures.find(key);
    if (it == pictures.end()) it = pictures.emplace(key, paint()).first;
    return it->second;
}

bool& fourColourSetting() {
    static bool on = false;
    return on;
}

// A team's picture, or an empty one of the same size for a team that is not
// at the table.
bool isTeam(int team) {
    return team == 1 || team == 2;
}

QPixmap blank(int w, int h, qreal dpr) {
    return cached(Kind::Blank, w * 10000 + h, dpr, [&] { return paint::canvas(w, h, dpr); });
}

} // namespace

void setFourColourDeck(bool on) {
    if (fourColourSetting() == on) return;
    fourColourSetting() = on;
    // Pictures in the old colours go; each is painted anew when next shown.
    store().clear();
}

bool fourColourDeck() {
    return fourColourSetting();
}

bool paint::fourColours() {
    return fourColourSetting();
}

QPixmap card(int entry, qreal dpr) {
    dpr = saneRatio(dpr);
    if (entry < 0 || entry >= kCardPictures) entry = kCardBack;
    return cached(Kind::Card, entry, dpr, [&] {
        if (entry == kCardBack) return paint::cardBack(dpr);
        if (entry >= kFirstSuitSymbol) return paint::suitTile(entry - 52, dpr);
        return paint::cardFace((entry - 1) / 13 + 1, (entry - 1) % 13 + 1, dpr);
    });
}

QPixmap cardBacks(int count, qreal dpr) {
    if (count <= 0) return {};
    dpr = saneRatio(dpr);
    count = std::min(count, kMostBacks);
    return cached(Kind::Backs, count, dpr, [&] { return paint::backs(count, dpr); });
}

QPixmap bubble(int entry, qreal dpr) {
    dpr = saneRatio(dpr);
    if (entry < 0 || entry >= kBubblePictures) entry = -1;
    return cached(Kind::Bubble, entry, dpr, [&] { return paint::bubble(entry, dpr); });
}

QPixmap bidTag(int tag, int team, bool alignRight, qreal dpr) {
    dpr = saneRatio(dpr);
    if (tag <= NoBid || tag >= kBidTags || !isTeam(team))
        return blank(kBidTagWidth, kBidTagHeight, dpr);
    return cached(Kind::BidTag, (tag * 3 + team) * 2 + alignRight, dpr,
                  [&] { return paint::bidTag(tag, team, alignRight, dpr); });
}

QPixmap turnArrow(qreal dpr) {
    dpr = saneRatio(dpr);
    return cached(Kind::Arrow, 0, dpr, [&] { return paint::turnArrow(dpr); });
}

QPixmap seatMakerMark(qreal dpr) {
    dpr = saneRatio(dpr);
    return cached(Kind::SeatMaker, 0, dpr, [&] { return paint::seatMakerMark(dpr); });
}

QPixmap teamMakerBar(int team, qreal dpr) {
    dpr = saneRatio(dpr);
    if (!isTeam(team)) return blank(11, 48, dpr);
    return cached(Kind::TeamBar, team, dpr, [&] { return paint::teamMakerBar(team, dpr); });
}

QPixmap dealerButton(qreal dpr) {
    dpr = saneRatio(dpr);
    return cached(Kind::Dealer, 0, dpr, [&] { return paint::dealerButton(dpr); });
}

QPixmap trickWinnerMarker(qreal dpr) {
    dpr = saneRatio(dpr);
    return cached(Kind::TrickWinner, 0, dpr, [&] { return paint::trickWinnerMarker(dpr); });
}

QPixmap eyes(qreal dpr) {
    dpr = saneRatio(dpr);
    return cached(Kind::Eyes, 0, dpr, [&] { return paint::eyes(dpr); });
}

QPixmap winnersBanner(int team, qreal dpr) {
    dpr = saneRatio(dpr);
    if (!isTeam(team)) return blank(121, 35, dpr);
    return cached(Kind::Banner, team, dpr, [&] { return paint::winnersBanner(team, dpr); });
}

QPixmap pictureButton(const QString& text, bool pressed, qreal dpr) {
    dpr = saneRatio(dpr);
    static QStringList words;
    int word = words.indexOf(text);
    if (word < 0 && words.size() < kMaxButtonWords) {
        words.append(text);
        word = words.size() - 1;
    }
    if (word < 0) return paint::pictureButton(text, pressed, dpr);
    return cached(Kind::Button, word * 2 + pressed, dpr,
                  [&] { return paint::pictureButton(text, pressed, dpr); });
}

QPixmap cornerOrnament(int corner, qreal dpr) {
    dpr = saneRatio(dpr);
    if (corner < 0 || corner > 3) return blank(16, 16, dpr);
    return cached(Kind::Corner, corner, dpr, [&] { return paint::cornerOrnament(corner, dpr); });
}

QPixmap logo(qreal dpr) {
    dpr = saneRatio(dpr);
    return cached(Kind::Logo, 0, dpr, [&] { return paint::logo(dpr); });
}

QPixmap backgroundTile(qreal dpr) {
    dpr = saneRatio(dpr);
    return cached(Kind::Tile, 0, dpr, [&] { return paint::backgroundTile(dpr); });
}

} // namespace euchre::art
