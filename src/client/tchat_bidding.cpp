// Whose turn it is (arrows, status line, turn sound), the bidding bubbles and
// what they send, the dealer, the turned card and trump, and the start of a
// game with the reset of the table for each deal.
#include "client/artitem.h"
#include "client/artwork.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "model/card.h"
#include "net/commands.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QPushButton>

namespace euchre {

namespace {

const QString kIsDealing = QStringLiteral(" is dealing.");
const QString kAcceptOrPass = QStringLiteral("'s turn to accept or pass.");
const QString kPassed = QStringLiteral(" passed.");
const QString kAccepted = QStringLiteral(" Accepted.");
const QString kChoosing = QStringLiteral(" is choosing a trump.");
const QString kChoose = QStringLiteral(" choose ");
const QString kForTrump = QStringLiteral(" for trump.");
const QString kWill = QStringLiteral("Will ");
const QString kGoAlone = QStringLiteral(" go alone?");
const QString kDiscard = QStringLiteral(" needs to discard.");
const QString kPlayACard = QStringLiteral("'s turn to play a card.");
const QString kYouStarted = QStringLiteral("0+You have started a game.");
const QString kHasStarted = QStringLiteral(" has started a game.");
const QString kPlayToScore = QStringLiteral("Play to Score: ");

// Bubble pictures: entry n + 2 names suit n.
constexpr int kOrderItUp = 1;
constexpr int kPassPicture = 2;
constexpr int kAlonePicture = 7;
constexpr int kWithPartnerPicture = 8;
constexpr int kEmptyBubble = -1;

// A dealer's button sits this far left of and above the dealer's name.
constexpr QPoint kDealerOffset(28, 9);

ArtItem::Art cardFace(int entry) {
    return [entry](qreal dpr) { return art::card(entry, dpr); };
}

} // namespace

// ---- the turn display ----

void Tchat::setStatus(const QString& text) {
    board()->statusLabel()->setText(text);
}

void Tchat::pointArrow(int seat) {
    for (int s = 1; s <= kSeats; ++s) board()->seat(s)->turn->setVisible(s == seat);
}

void Tchat::turnSound() {
    const QAction* turn = m_turnSounds->checkedAction();
    const bool isNew = turn && turn->data().toInt() == turnSoundNew;
    playsounds(QLatin1String(isNew ? sound::turnnew : sound::turn));
}

void Tchat::showMaker(int seat) {
    board()->teamMaker(teamOf(seat))->show();
    board()->seat(seat)->maker->show();
}

// ---- bubbles ----

void Tchat::clearbubbles() {
    for (int n = 1; n <= TableBoard::kBubbles; ++n) {
        ArtItem* b = board()->bubble(n);
        b->clearArt();
        b->setNumber(kEmptyBubble);
    }
}

namespace {
void offer(ArtItem* bubble, int picture, int code) {
    bubble->setArt([picture](qreal dpr) { return art::bubble(picture, dpr); });
    bubble->setNumber(code);
}
} // namespace

void Tchat::bubble1Click(int n) {
    ArtItem* b = board()->bubble(n);
    if (!b || b->number() == kEmptyBubble) return;
    if (turnseat == myslot && loggedin)
        sendToHost(MessageBuilder(cmd::selectedbubble).field(myslot).field(b->number()).done(true));
    clearbubbles();
}

// ---- host messages ----

void Tchat::setdealer(QByteArrayView args) {
    const std::optional<int> dealer = FieldReader(args).number(1, kSeats);
    if (!dealer) return;
    clearbubbles();
    turnseat = *dealer;
    m_cardAsked = false;
    board()->trickWinner()->hide();
    pointArrow(*dealer);
    startround();
    board()->dealerButton()->move(board()->nameLabel(*dealer)->pos() - kDealerOffset);
    board()->dealerButton()->setNumber(*dealer);
    for (int s = 1; s <= kSeats; ++s) board()->seat(s)->played->clearArt();
    setStatus(seatName(*dealer) + kIsDealing);
}

void Tchat::settrump(QByteArrayView args) {
    const std::optional<int> card = FieldReader(args).number(0, 52);
    clearbubbles();
    if (!card) return;
    board()->trump()->setArt(cardFace(*card));
    board()->trump()->setNumber(*card);
}

void Tchat::setbidder(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    clearbubbles();
    if (!seat) return;
    for (int s = 1; s <= kSeats; ++s) {
        board()->seat(s)->played->setNumber(0);
        board()->seat(s)->maker->hide();
    }
    turnseat = *seat;
    m_cardAsked = false;
    setStatus(seatName(*seat) + kAcceptOrPass);
    if (*seat == myslot) turnSound();
    pointArrow(*seat);
    if (*seat == myslot) {
        offer(board()->bubble(1), kOrderItUp, BubbleAccept);
        offer(board()->bubble(2), kPassPicture, BubblePass);
    }
}

void Tchat::hepassed(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    clearbubbles();
    if (!seat) return;
    turnseat = 0;
    m_cardAsked = false;
    setStatus(seatName(*seat) + kPassed);
}

void Tchat::heaccepted(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    clearbubbles();
    if (!seat) return;
    turnseat = 0;
    m_cardAsked = false;
    setStatus(seatName(*seat) + kAccepted);
    showMaker(*seat);
}

void Tchat::setchooser(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    const int turnedDown = reader.number(0, 99).value_or(0);
    board()->discardLabel()->hide();
    clearbubbles();
    if (!seat) return;
    setStatus(seatName(*seat) + kChoosing);
    turnseat = *seat;
    m_cardAsked = false;
    pointArrow(*seat);
    if (*seat != myslot) return;
    turnSound();
    for (int suit = Clubs; suit <= Hearts; ++suit) {
        // The turned-down suit may not be named: its place offers Pass.
        if (suit == turnedDown)
            offer(board()->bubble(suit), kPassPicture, BubbleNamePass);
        else
            offer(board()->bubble(suit), bubbleForSuit(suit), bubbleForSuit(suit));
    }
}

void Tchat::trumpchoosen(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    const int suit = reader.number(0, 99).value_or(0);
    setStatus(seatName(*seat) + kChoose + QString::fromLatin1(suitName(suit)) + kForTrump);
    showMaker(*seat);
    if (suit >= Clubs && suit <= Hearts) {
        board()->trump()->setArt(cardFace(52 + suit));
        board()->trump()->setNumber(52 + suit);
    } else {
        board()->trump()->clearArt();
        board()->trump()->setNumber(0);
    }
}

void Tchat::setaloner(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    board()->discardLabel()->hide();
    clearbubbles();
    if (!seat) return;
    setStatus(kWill + seatName(*seat) + kGoAlone);
    turnseat = *seat;
    m_cardAsked = false;
    if (*seat == myslot) {
        offer(board()->bubble(2), kAlonePicture, BubbleAlone);
        offer(board()->bubble(1), kWithPartnerPicture, BubbleWithPartner);
    }
}

void Tchat::setdiscarder(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    clearbubbles();
    if (!seat) return;
    setStatus(seatName(*seat) + kDiscard);
    turnseat = *seat;
    m_cardAsked = true;
    pointArrow(*seat);
    if (*seat == myslot) {
        turnSound();
        board()->discardLabel()->show();
        board()->discardLabel()->raise();
    }
}

void Tchat::setnextplayer(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    board()->discardLabel()->hide();
    clearbubbles();
    if (!seat) return;
    turnseat = *seat;
    m_cardAsked = true;
    setStatus(seatName(*seat) + kPlayACard);
    board()->trickWinner()->hide();
    pointArrow(*seat);
    if (*seat == myslot) turnSound();
    showDefaultName(*seat);
}

// ---- the start of a game and of each deal ----

void Tchat::clearall() {
    board()->label("label_score1")->setText(QStringLiteral("0"));
    board()->label("label_score2")->setText(QStringLiteral("0"));
    board()->label("label_current1")->clear();
    board()->label("label_current2")->clear();
    for (int s = 1; s <= kSeats; ++s) {
        const SeatItems* items = board()->seat(s);
        items->eyes->hide();
        items->played->clearArt();
        items->turn->hide();
    }
    board()->trump()->clearArt();
    board()->trump()->setNumber(0);
}

void Tchat::startround() {
    board()->label("label_bonus1")->clear();
    board()->label("label_bonus2")->clear();
    clearHand();
    for (int s = 1; s <= kSeats; ++s) {
        if (s != myslot) drawBacks(s, 0);
        board()->seat(s)->maker->hide();
    }
    board()->label("label_current1")->setText(QStringLiteral("0"));
    board()->label("label_current2")->setText(QStringLiteral("0"));
    board()->teamMaker(1)->hide();
    board()->teamMaker(2)->hide();
    refreshKeyHighlight();
}

void Tchat::startthegame(QByteArrayView args) {
    m_gameOn = true;
    FieldReader reader(args);
    const QString starter = QString::fromUtf8(reader.text());
    const std::optional<int> playto = reader.number(0, 999);
    board()->startButton()->hide();
    board()->discardLabel()->hide();
    clearall();
    if (isSeat(myslot) && seatName(myslot) == starter)
        notice(kYouStarted);
    else
        notice(QStringLiteral("0+") + starter + kHasStarted);
    if (playto)
        board()->label("label_playtoscore")->setText(kPlayToScore + QString::number(*playto));
    for (int s = 2; s <= kSeats; ++s) showDefaultName(s);
    for (int s = 1; s <= kSeats; ++s) {
        board()->seat(s)->eyes->hide();
        board()->seat(s)->banner->hide();
    }
    m_justWatch->setChecked(false);
}

} // namespace euchre
