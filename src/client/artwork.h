// The table's pictures, painted by the program itself: cards, card backs,
// bidding bubbles, turn arrows, marks, banners and buttons. Every picture is
// painted for the screen's pixel ratio, so it stays sharp at any scale; the
// sizes below are in the table's own (logical) pixels.
#pragma once

#include <QPixmap>
#include <QString>

namespace euchre::art {

constexpr int kCardWidth = 71;
constexpr int kCardHeight = 96;
// Entries of the card pictures: 0 the back, 1..52 the faces, 52 + suit the
// symbol of that suit.
constexpr int kCardBack = 0;
constexpr int kFirstSuitSymbol = 53;
constexpr int kCardPictures = 57;
// A face-down hand: each back lies this far right of the previous one.
constexpr int kBackStep = 5;
// A face-down row never holds more than the whole deck of 24.
constexpr int kMostBacks = 24;
constexpr int kBubbleWidth = 95;
constexpr int kBubbleHeight = 25;
constexpr int kBubblePictures = 9;

// What a seat last bid in the deal, shown as a tag beside its name.
enum BidTag : int {
    NoBid = 0,
    BidPass,
    BidOrderedUp,
    BidPickedUp,
    BidClubs, // BidClubs + suit - 1 names that suit
    BidDiamonds,
    BidSpades,
    BidHearts,
    BidAlone,
    kBidTags
};
constexpr int kBidTagWidth = 74;
constexpr int kBidTagHeight = 17;

// One of the 57 card pictures, 71 x 96. Rank and suit are legible within the
// upper-left 52 x 72, which is all the last-trick window shows. An entry out
// of range gives the back.
QPixmap card(int entry, qreal dpr);
// The four-colour deck: clubs green and diamonds blue on every picture that
// shows a suit, instead of two black and two red suits.
void setFourColourDeck(bool on);
bool fourColourDeck();
// `count` backs side by side, 66 + 5 x count wide (71 for one), 96 high; a
// null picture for no card; more than kMostBacks give kMostBacks.
QPixmap cardBacks(int count, qreal dpr);
// Bubble pictures, 95 x 25: 0 I Assist, 1 Order It Up, 2 Pass, 3..6 the suits
// Clubs, Diamonds, Spades, Hearts with their symbols, 7 Alone, 8 With Partner;
// any other entry an empty bubble.
QPixmap bubble(int entry, qreal dpr);
// A bid tag, 74 x 17, in the seat's team colour (1 Tan, 2 Blue): "Pass",
// "Ordered up", "Picked up", a suit's name with its symbol, "Alone", on a
// pill as wide as its word, at the picture's left edge or, with `alignRight`,
// its right edge. No bid, a tag out of range or another team gives a
// transparent picture.
QPixmap bidTag(int tag, int team, bool alignRight, qreal dpr);
// The turn arrow beside a seat's cards, 28 x 34, pointing right at them.
QPixmap turnArrow(qreal dpr);
// A seat made trump, 25 x 25.
QPixmap seatMakerMark(qreal dpr);
// A team made trump: the bar beside its score heading, 11 x 48 (team 1 Tan,
// 2 Blue; light tan against dark blue, so they differ in lightness too). Any
// other team gives a transparent picture of the same size.
QPixmap teamMakerBar(int team, qreal dpr);
// The dealer button, 25 x 25.
QPixmap dealerButton(qreal dpr);
// The trick-winner marker, 27 x 35.
QPixmap trickWinnerMarker(qreal dpr);
// A seat left to the computer: a pair of eyes, 37 x 17.
QPixmap eyes(qreal dpr);
// The WINNERS banner, 121 x 35, painted in the team's colour (1 Tan, light
// with dark letters; 2 Blue, dark with light letters); transparent for any
// other team.
QPixmap winnersBanner(int team, qreal dpr);
// A picture button of the table with its word ("Start Game", "Last Trick",
// "Score Card"), 91 x 28; `pressed` gives the pushed-in look.
QPixmap pictureButton(const QString& text, bool pressed, qreal dpr);
// A corner ornament of the board, 16 x 16 (corner 0 top-left, 1 top-right,
// 2 bottom-left, 3 bottom-right; transparent for any other).
QPixmap cornerOrnament(int corner, qreal dpr);
// The program's logo, 156 x 32.
QPixmap logo(qreal dpr);
// The tile that the window's and the small windows' backgrounds repeat,
// 64 x 64, seamless, in the window's pale colour.
QPixmap backgroundTile(qreal dpr);

} // namespace euchre::art
