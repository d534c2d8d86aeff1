// Paints the table board, places its items (by seat for the seats' items, by
// name for the rest) and draws the table's record on them.
#include "client/tableboard.h"

#include "client/announcer.h"
#include "client/artitem.h"
#include "client/artwork.h"
#include "model/card.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QToolTip>

namespace euchre {

namespace {

// The card table's cloth and rim, and the score card lying on its corner.
constexpr QRectF kFelt(7, 7, 481, 519);
constexpr QRectF kScoreCard(292, 3, 202, 160);
constexpr QRect kTrumpPlace(17, 38, 71, 96);

// Where each seat's items sit at the four screen positions. A bid tag sits
// beside the name on the side of the table's middle (the top seat's on its
// left, clear of the score card); it shows only during the bidding, when no
// card lies on the table.
struct Places {
    QPoint name, backs, played, maker, banner, eyes, turn, bid;
};
constexpr Places kPlaces[4] = {
    {{88, 382}, {88, 401}, {172, 235}, {62, 389}, {64, 416}, {88, 366}, {59, 413}, {214, 381}},
    {{33, 170}, {33, 187}, {132, 208}, {8, 183}, {8, 208}, {42, 155}, {4, 208}, {159, 170}},
    {{148, 24}, {149, 41}, {179, 162}, {123, 37}, {120, 64}, {149, 9}, {120, 61}, {73, 21}},
    {{343, 213},
     {343, 232},
     {220, 201},
     {317, 227},
     {312, 248},
     {343, 192},
     {313, 250},
     {268, 211}},
};
constexpr QSize kNameSize(124, 18);
constexpr QSize kCardSize(art::kCardWidth, art::kCardHeight);

// The own hand: card k lies at left 72 + 18 x k, or 2 pixels further left
// once a sort has moved it. A raised card is one played or about to be.
constexpr int kCardLeft = 72;
constexpr int kSortedLeft = 70;
constexpr int kCardStep = 18;
constexpr int kRestTop = 400;
constexpr int kRaisedTop = 395;
constexpr int kBacksBase = 66; // a face-down hand is 66 + 5 x count wide

// The dealer's button before the first deal, and beside the dealer's name.
constexpr QPoint kDealerStart(60, 366);
constexpr QPoint kDealerOffset(28, 9);

ArtItem::Art cardFace(int entry) {
    return [entry](qreal dpr) { return art::card(entry, dpr); };
}

// The bubbles stay above the own hand whatever the rotation.
constexpr QPoint kBubblePlaces[TableBoard::kBubbles] = {
    {149, 358}, {245, 358}, {149, 331}, {245, 331}};

const QString kKeysHelp = QStringLiteral(
    "Keys while the table has the focus (click it, or Tab from the chat line):\n"
    "1 to 5: play the card at that place of your hand\n"
    "Left / Right: move the highlight along your hand; Space or Enter: play it\n"
    "F5 to F8: press bubble 1 to 4 (bottom left, bottom right, top left, top right)\n"
    "S: sort your hand; Menu or Shift+F10: a player's menu, as a right click on the name\n"
    "Enter with no cards in hand: Start Game (for the hosting player)\n"
    "Tab: go to the chat line and back");

} // namespace

TableBoard::TableBoard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panel_board"));
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::StrongFocus);
    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(11);
    setFont(base);

    // The score card.
    addLabel(QStringLiteral("label_playtoscore"), QStringLiteral("Play to Score: 10"),
             {296, 8, 169, 16}, 13, true, Qt::black, Qt::AlignCenter);
    // The house rules in force, in small print; the whole text when it is too long.
    addLabel(QStringLiteral("label_houserules"), QString(), {290, 22, 181, 11}, 10, false,
             Qt::black, Qt::AlignCenter);
    QLabel* tan = addLabel(QStringLiteral("Label1"), QStringLiteral("Tan Team"), {310, 31, 130, 19},
                           16, true, kTanColour, Qt::AlignCenter);
    QFont underlined = tan->font();
    underlined.setUnderline(true);
    tan->setFont(underlined);
    addLabel(QStringLiteral("Label4"), QStringLiteral("Tricks"), {318, 52, 60, 17}, 16, true,
             kTanColour);
    addLabel(QStringLiteral("Label3"), QStringLiteral("Score"), {388, 52, 50, 17}, 16, true,
             kTanColour);
    addLabel(QStringLiteral("label_current1"), QString(), {318, 68, 44, 19}, 16, true, kTanColour,
             Qt::AlignCenter);
    addLabel(QStringLiteral("label_score1"), QStringLiteral("0"), {388, 68, 44, 19}, 16, true,
             kTanColour, Qt::AlignCenter);
    addLabel(QStringLiteral("label_bonus1"), QString(), {436, 38, 56, 44}, 37, true, kTanColour,
             Qt::AlignCenter);
    QLabel* blue = addLabel(QStringLiteral("Label2"), QStringLiteral("Blue Team"),
                            {313, 101, 128, 19}, 16, true, kBlueColour, Qt::AlignCenter);
    blue->setFont(underlined);
    addLabel(QStringLiteral("Label5"), QStringLiteral("Tricks"), {318, 120, 60, 17}, 16, true,
             kBlueColour);
    addLabel(QStringLiteral("Label6"), QStringLiteral("Score"), {388, 120, 50, 17}, 16, true,
             kBlueColour);
    addLabel(QStringLiteral("label_current2"), QString(), {318, 138, 44, 19}, 16, true, kBlueColour,
             Qt::AlignCenter);
    addLabel(QStringLiteral("label_score2"), QStringLiteral("0"), {388, 138, 44, 19}, 16, true,
             kBlueColour, Qt::AlignCenter);
    addLabel(QStringLiteral("label_bonus2"), QString(), {436, 113, 53, 44}, 37, true, kBlueColour,
             Qt::AlignCenter);
    for (int team = 1; team <= 2; ++team) {
        auto* bar = new ArtItem(this, QStringLiteral("image_maker%1").arg(team),
                                {299, team == 1 ? 31 : 102, 11, 48});
        bar->setArt([team](qreal dpr) { return art::teamMakerBar(team, dpr); });
        bar->hide();
        m_teamMakers[static_cast<size_t>(team)] = bar;
    }

    // Trump.
    addLabel(QStringLiteral("Label7"), QStringLiteral("Trump"), {17, 22, 71, 16}, 13, true,
             Qt::white, Qt::AlignCenter);
    m_trump = new ArtItem(this, QStringLiteral("image_trump"), kTrumpPlace);

    // The seats' items, created seat by seat; seat s sits at screen position
    // s until the table is turned for the own seat.
    for (int s = 1; s <= 4; ++s) {
        SeatItems& items = m_seats[static_cast<size_t>(s)];
        const auto item = [&](const char* prefix, QSize size) {
            return new ArtItem(this, QLatin1String(prefix) + QString::number(s), QRect({}, size));
        };
        items.backs = item("image_cards", kCardSize);
        items.played = item("image_played", kCardSize);
        items.maker = item("image_themaker", {25, 25});
        items.maker->setArt([](qreal dpr) { return art::seatMakerMark(dpr); });
        items.maker->hide();
        items.banner = item("image_winner", {121, 35});
        items.banner->hide();
        items.eyes = item("image_eyes", {37, 17});
        items.eyes->setArt([](qreal dpr) { return art::eyes(dpr); });
        items.eyes->hide();
        items.turn = item("image_turn", {28, 34});
        items.turn->setArt([](qreal dpr) { return art::turnArrow(dpr); });
        items.turn->hide();
        items.bid = item("image_bid", {art::kBidTagWidth, art::kBidTagHeight});
        items.bid->hide();
        items.name = addLabel(QStringLiteral("label_playername%1").arg(s), kWaitingSeat,
                              QRect({}, kNameSize), 15, true, teamColour(s), Qt::AlignCenter);
        items.name->setStyleSheet(QStringLiteral("QLabel { background: rgba(255, 252, 232, 225);"
                                                 " border-radius: 4px; color: %1; }")
                                      .arg(teamColour(s).name()));
    }
    placeSeats(1);

    m_trickWinner = new ArtItem(this, QStringLiteral("image_winner"), {119, 97, 27, 35});
    m_trickWinner->setArt([](qreal dpr) { return art::trickWinnerMarker(dpr); });
    m_trickWinner->hide();
    m_logo = new ArtItem(this, QStringLiteral("Image6"), {554, 9, 156, 32}, true);
    m_logo->setArt([](qreal dpr) { return art::logo(dpr); });
    m_logo->setToolTip(QStringLiteral("Visit the maker's web site"));
    m_dealer =
        new ArtItem(this, QStringLiteral("button_dealer"), QRect(kDealerStart, QSize(25, 25)));
    m_dealer->setArt([](qreal dpr) { return art::dealerButton(dpr); });

    for (int n = 1; n <= kBubbles; ++n) {
        auto* b = new ArtItem(
            this, QStringLiteral("bubble%1").arg(n),
            QRect(kBubblePlaces[n - 1], QSize(art::kBubbleWidth, art::kBubbleHeight)), true);
        b->setNumber(-1);
        m_bubbles[static_cast<size_t>(n)] = b;
    }
    m_discard = addLabel(QStringLiteral("label_discard"), QStringLiteral("Discard a Card"),
                         {152, 357, 190, 24}, 19, true, QColor(255, 236, 140));
    m_discard->hide();

    m_status = addLabel(QStringLiteral("label_status"), QStringLiteral("Good Luck!!"),
                        {24, 533, 393, 16}, 13, true, Qt::black, Qt::AlignCenter);
    m_announcer = new Announcer(this);

    m_start = new PictureButton(QStringLiteral("Start Game"), this);
    m_start->setObjectName(QStringLiteral("button_start"));
    m_start->move(368, 347);
    m_start->setFocusPolicy(Qt::NoFocus);
    m_start->hide();

    m_lastTrick = new PictureButton(QStringLiteral("Last Trick"), this);
    m_lastTrick->setObjectName(QStringLiteral("button_lasttrick"));
    m_lastTrick->move(538, 48);
    m_lastTrick->setFocusPolicy(Qt::NoFocus);
    m_scoreCard = new PictureButton(QStringLiteral("Score Card"), this);
    m_scoreCard->setObjectName(QStringLiteral("button_scorecard"));
    m_scoreCard->move(635, 48);
    m_scoreCard->setFocusPolicy(Qt::NoFocus);
    m_handReview = new PictureButton(QStringLiteral("Hand Review"), this);
    m_handReview->setObjectName(QStringLiteral("button_handreview"));
    // Beside the trump, the one free place on the felt in every phase of a game.
    m_handReview->move(20, 136);
    m_handReview->setFocusPolicy(Qt::NoFocus);
    m_handReview->hide();
    // Right of the own hand, beside the bubbles, while a game is played.
    m_hint = new PictureButton(QStringLiteral("Hint"), this);
    m_hint->setObjectName(QStringLiteral("button_hint"));
    m_hint->move(368, 380);
    m_hint->setFocusPolicy(Qt::NoFocus);
    m_hint->hide();

    setToolTip(kKeysHelp);
    reset();
}

void TableBoard::reset() {
    static const std::pair<const char*, QString> texts[] = {
        {"label_playtoscore", QStringLiteral("Play to Score: 10")},
        {"label_houserules", QString()},
        {"label_current1", QString()},
        {"label_score1", QStringLiteral("0")},
        {"label_bonus1", QString()},
        {"label_current2", QString()},
        {"label_score2", QStringLiteral("0")},
        {"label_bonus2", QString()},
    };
    for (const auto& [name, text] : texts) label(name)->setText(text);
    for (ArtItem* bar : {m_teamMakers[1], m_teamMakers[2]}) bar->hide();
    m_trump->clearArt();
    m_trump->setNumber(0);
    for (int s = 1; s <= 4; ++s) {
        const SeatItems& items = m_seats[static_cast<size_t>(s)];
        for (ArtItem* item : {items.backs, items.played, items.banner}) {
            item->clearArt();
            item->setNumber(0);
        }
        sizeTo(items.backs, kBacksBase, art::kCardHeight);
        for (ArtItem* mark : {items.maker, items.banner, items.eyes, items.turn}) mark->hide();
        items.bid->hide();
        items.bid->clearArt();
        items.bid->setNumber(0);
        items.name->setText(kWaitingSeat);
        items.name->show();
    }
    placeSeats(1);
    m_trickWinner->hide();
    putAt(m_dealer, kDealerStart);
    m_dealer->setNumber(0);
    for (int n = 1; n <= kBubbles; ++n) {
        m_bubbles[static_cast<size_t>(n)]->clearArt();
        m_bubbles[static_cast<size_t>(n)]->setNumber(-1);
    }
    m_discard->hide();
    m_status->setText(QStringLiteral("Good Luck!!"));
    m_hint->hide();
    m_handReview->hide();
    m_start->hide();
    for (ArtItem*& card : m_cards) delete std::exchange(card, nullptr);
    m_drawn = TableRecord{};
    m_spoken.reset();
}

// ---- drawing the record ----

void TableBoard::draw(const TableRecord& r) {
    const TableRecord was = std::exchange(m_drawn, r);
    const bool turned = r.myslot != was.myslot;
    if (turned) placeSeats(r.myslot);
    for (int s = 1; s <= 4; ++s)
        if (turned || r.seats[static_cast<size_t>(s)] != was.seats[static_cast<size_t>(s)])
            drawSeat(s, r);
    if (r.winners != was.winners)
        for (int s = 1; s <= 4; ++s) {
            ArtItem* banner = m_seats[static_cast<size_t>(s)].banner;
            const int team = teamOf(s);
            banner->setArt([team](qreal dpr) { return art::winnersBanner(team, dpr); });
            banner->setVisible(team == r.winners);
        }
    if (turned || r.dealer != was.dealer) {
        putAt(m_dealer, dealerPlace(r.dealer, r.myslot));
        m_dealer->setNumber(r.dealer);
    }
    if (r.trick != was.trick) drawTrick(r.trick);
    if (r.handslots != was.handslots) drawHand(r);
    if (r.scores != was.scores) drawScores(r.scores);
    if (r.arrow != was.arrow)
        for (int s = 1; s <= 4; ++s) m_seats[static_cast<size_t>(s)].turn->setVisible(s == r.arrow);
    if (turned || r.trickWinner != was.trickWinner) {
        if (const SeatItems* at = seat(r.trickWinner)) {
            putAt(m_trickWinner, logicalRect(at->turn).topLeft());
            m_trickWinner->show();
            m_trickWinner->raise();
        } else {
            m_trickWinner->hide();
        }
    }
    for (int n = 1; n <= kBubbles; ++n) {
        const BubbleRecord& b = r.bubbles[static_cast<size_t>(n)];
        if (b == was.bubbles[static_cast<size_t>(n)]) continue;
        ArtItem* item = m_bubbles[static_cast<size_t>(n)];
        item->setNumber(b.code);
        if (b.code == -1)
            item->clearArt();
        else
            item->setArt([picture = b.picture](qreal dpr) { return art::bubble(picture, dpr); });
    }
    if (r.discardAsked != was.discardAsked) {
        m_discard->setVisible(r.discardAsked);
        if (r.discardAsked) m_discard->raise();
    }
    if (r.status != was.status) m_status->setText(r.status);
    if (r.startOffered != was.startOffered) m_start->setVisible(r.startOffered);
    if (r.trump != was.trump) {
        m_trump->setNumber(r.trump.value_or(0));
        if (r.trump)
            m_trump->setArt(cardFace(*r.trump));
        else
            m_trump->clearArt();
    }
    if (r.hintPosition != was.hintPosition && r.handslots == was.handslots) drawHand(r);
    if (r.handslots != was.handslots || r.keyPlace != was.keyPlace ||
        r.hintPosition != was.hintPosition)
        drawHighlight();
    if (r.hintBubble != was.hintBubble)
        for (int n = 1; n <= kBubbles; ++n)
            m_bubbles[static_cast<size_t>(n)]->setHighlighted(n == r.hintBubble);
    if (r.reviewable != was.reviewable) m_handReview->setVisible(r.reviewable);
    if (r.startOffered != was.startOffered || r.turnseat != was.turnseat)
        m_hint->setVisible(!r.startOffered && r.turnseat != 0);
    Spoken spoken{r.myslot, r.handslots, r.turnseat,    r.cardAsked, r.bubbles, r.trump,
                  r.seats,  r.dealer,    r.trick.shown, r.scores,    r.status};
    if (spoken != m_spoken) {
        describe(spoken, m_spoken ? &*m_spoken : nullptr);
        m_spoken = std::move(spoken);
    }
    if (r.announced != was.announced && !r.announcement.isEmpty()) m_announcer->say(r.announcement);
}

// ---- what a screen reader says about the table ----

namespace {

const char* const kRankWords[] = {"two",  "three", "four", "five",  "six",  "seven", "eight",
                                  "nine", "ten",   "jack", "queen", "king", "ace"};
const char* const kSuitWords[] = {"clubs", "diamonds", "spades", "hearts"};
const char* const kPlaceWords[] = {"bottom", "left", "top", "right"};
const char* const kBubbleWords[] = {"I Assist", "Order It Up", "Pass",  "Clubs",       "Diamonds",
                                    "Spades",   "Hearts",      "Alone", "With Partner"};

QString spokenSuit(int suit) {
    return suit >= 1 && suit <= 4 ? QLatin1String(kSuitWords[suit - 1]) : QString();
}

} // namespace

QString TableBoard::spokenCard(int card) {
    if (card >= 1 && card <= 52)
        return QStringLiteral("%1 of %2")
            .arg(QLatin1String(kRankWords[(card - 1) % 13]), spokenSuit((card - 1) / 13 + 1));
    if (card > 52 && card <= 56) return spokenSuit(card - 52);
    return QStringLiteral("a face-down card");
}

void TableBoard::describe(const Spoken& r, const Spoken* was) {
    // Each part is named again only when something its names say has changed.
    const bool all = !was || was->myslot != r.myslot;
    const bool turn = all || was->turnseat != r.turnseat;
    if (turn || was->handslots != r.handslots || was->cardAsked != r.cardAsked) {
        const int held = heldCount(r.handslots);
        const bool ownTurn = isSeat(r.myslot) && r.turnseat == r.myslot;
        for (int place = 1; place <= 5; ++place) {
            const HandSlot& slot = r.handslots[static_cast<size_t>(place)];
            ArtItem* card = handCard(slot.occupied ? slot.position : 0);
            if (!card) continue;
            card->setAccessibleName(
                QStringLiteral("%1, %2 of %3").arg(spokenCard(slot.card)).arg(place).arg(held));
            card->setAccessibleDescription(ownTurn && r.cardAsked ? QStringLiteral("can be played")
                                                                  : QString());
        }
    }
    for (int n = 1; n <= kBubbles; ++n) {
        const BubbleRecord& b = r.bubbles[static_cast<size_t>(n)];
        if (!all && b == was->bubbles[static_cast<size_t>(n)]) continue;
        const bool words =
            b.code != -1 && b.picture >= 0 && b.picture < int(std::size(kBubbleWords));
        m_bubbles[static_cast<size_t>(n)]->setAccessibleName(
            words ? QLatin1String(kBubbleWords[b.picture]) : QString());
    }
    if (all || was->trump != r.trump)
        m_trump->setAccessibleName(r.trump ? QStringLiteral("Trump: ") + spokenCard(*r.trump)
                                           : QStringLiteral("No trump yet"));
    const bool seats = turn || was->dealer != r.dealer;
    for (int s = 1; s <= 4; ++s) {
        const SeatRecord& rec = r.seats[static_cast<size_t>(s)];
        const std::optional<int> played = r.played[static_cast<size_t>(s)];
        if (!seats && rec == was->seats[static_cast<size_t>(s)] &&
            played == was->played[static_cast<size_t>(s)])
            continue;
        const SeatItems& items = m_seats[static_cast<size_t>(s)];
        QStringList about{rec.name, QLatin1String(kPlaceWords[screenPosition(s, r.myslot) - 1]),
                          teamOf(s) == 1 ? QStringLiteral("Tan team")
                                         : QStringLiteral("Blue team")};
        if (s != r.myslot) about << QStringLiteral("%1 cards").arg(rec.cardsLeft);
        if (r.dealer == s) about << QStringLiteral("dealer");
        if (rec.maker) about << QStringLiteral("maker");
        if (rec.watching) about << QStringLiteral("left to the computer");
        if (r.turnseat == s) about << QStringLiteral("whose turn it is");
        items.name->setAccessibleName(about.join(QStringLiteral(", ")));
        items.played->setAccessibleName(
            played ? rec.name + QStringLiteral(" played ") + spokenCard(*played) : QString());
    }
    if (all || was->scores != r.scores) {
        const ScoreRecord& sc = r.scores;
        const auto tricks = [&sc](int team) {
            return QString::number(sc.tricks[static_cast<size_t>(team)].value_or(0));
        };
        label("label_playtoscore")
            ->setAccessibleName(QStringLiteral("Score: Tan team %1, %2 tricks; Blue team %3, %4 "
                                               "tricks; playing to %5")
                                    .arg(sc.score[1])
                                    .arg(tricks(1))
                                    .arg(sc.score[2])
                                    .arg(tricks(2))
                                    .arg(sc.playto));
    }
    if (all || was->status != r.status)
        m_status->setAccessibleName(QStringLiteral("Status: ") + r.status);
}

void TableBoard::drawSeat(int s, const TableRecord& r) {
    const SeatRecord& rec = r.seats[static_cast<size_t>(s)];
    const SeatItems& items = m_seats[static_cast<size_t>(s)];
    items.name->setText(rec.name);
    items.name->show();
    items.eyes->setVisible(rec.watching);
    items.maker->setVisible(rec.maker);
    const int count = rec.cardsLeft;
    items.backs->setNumber(count);
    sizeTo(items.backs, kBacksBase + art::kBackStep * count, art::kCardHeight);
    if (rec.backsShown && count > 0)
        items.backs->setArt([count](qreal dpr) { return art::cardBacks(count, dpr); });
    else
        items.backs->clearArt();
    items.bid->setNumber(rec.bid);
    if (rec.bid <= art::NoBid || rec.bid >= art::kBidTags) {
        items.bid->hide();
        items.bid->clearArt();
        return;
    }
    const int tag = rec.bid;
    const int team = teamOf(s);
    const bool right = bidLeftOfName(screenPosition(s, r.myslot));
    items.bid->setArt([tag, team, right](qreal dpr) { return art::bidTag(tag, team, right, dpr); });
    items.bid->show();
}

void TableBoard::drawTrick(const TrickRecord& trick) {
    for (int s = 1; s <= 4; ++s) {
        ArtItem* played = m_seats[static_cast<size_t>(s)].played;
        const std::optional<int> shown = trick.shown[static_cast<size_t>(s)];
        played->setNumber(trick.played[static_cast<size_t>(s)]);
        if (shown)
            played->setArt(cardFace(*shown));
        else
            played->clearArt();
    }
    // A card played later lies over the ones before it.
    for (int i = 0; i < trick.count; ++i)
        if (const SeatItems* items = seat(trick.order[static_cast<size_t>(i)]))
            items->played->raise();
}

void TableBoard::drawHand(const TableRecord& r) {
    std::array<bool, 6> held{};
    for (int place = 1; place <= 5; ++place) {
        const HandSlot& slot = r.handslots[static_cast<size_t>(place)];
        if (!slot.occupied || slot.position < 1 || slot.position > 5) continue;
        const int position = slot.position;
        held[static_cast<size_t>(position)] = true;
        ArtItem*& item = m_cards[static_cast<size_t>(position)];
        if (!item) {
            item = new ArtItem(this, QStringLiteral("card%1").arg(position), QRect({}, kCardSize),
                               true);
            connect(item, &ArtItem::pressed, this, [this, position](Qt::MouseButton button) {
                if (onCardPressed) onCardPressed(position, button);
            });
            item->setScale(m_scale);
            item->show();
        }
        putAt(item, (slot.nudged ? kSortedLeft : kCardLeft) + kCardStep * place,
              slot.raised || position == r.hintPosition ? kRaisedTop : kRestTop);
        item->setNumber(slot.card);
        item->setArt(cardFace(slot.card));
    }
    for (int position = 1; position <= 5; ++position)
        if (!held[static_cast<size_t>(position)])
            delete std::exchange(m_cards[static_cast<size_t>(position)], nullptr);
    // Each card lies over the one left of it.
    for (int place = 1; place <= 5; ++place) {
        const HandSlot& slot = r.handslots[static_cast<size_t>(place)];
        if (slot.occupied && slot.position >= 1 && slot.position <= 5)
            m_cards[static_cast<size_t>(slot.position)]->raise();
    }
}

// The keys' highlight shows only while the table has the keyboard.
void TableBoard::drawHighlight() {
    for (int place = 1; place <= 5; ++place) {
        const HandSlot& slot = m_drawn.handslots[static_cast<size_t>(place)];
        if (ArtItem* card = slot.occupied ? handCard(slot.position) : nullptr)
            card->setHighlighted((hasFocus() && place == m_drawn.keyPlace) ||
                                 slot.position == m_drawn.hintPosition);
    }
}

void TableBoard::drawScores(const ScoreRecord& scores) {
    struct TeamLabels {
        const char *score, *tricks, *bonus;
    };
    static constexpr TeamLabels kTeams[] = {{"label_score1", "label_current1", "label_bonus1"},
                                            {"label_score2", "label_current2", "label_bonus2"}};
    label("label_playtoscore")
        ->setText(QStringLiteral("Play to Score: ") + QString::number(scores.playto));
    QLabel* rules = label("label_houserules");
    rules->setText(
        rules->fontMetrics().elidedText(scores.houseRules, Qt::ElideRight, rules->width()));
    rules->setToolTip(scores.houseRules);
    for (int team = 1; team <= 2; ++team) {
        const auto at = static_cast<size_t>(team);
        const TeamLabels& names = kTeams[team - 1];
        label(names.score)->setText(QString::number(scores.score[at]));
        const std::optional<int> tricks = scores.tricks[at];
        label(names.tricks)->setText(tricks ? QString::number(*tricks) : QString());
        label(names.bonus)
            ->setText(scores.bonus[at] ? QStringLiteral("+%1").arg(scores.bonus[at]) : QString());
        m_teamMakers[at]->setVisible(scores.makers[at]);
    }
}

QLabel* TableBoard::addLabel(const QString& name, const QString& text, QRect where, int pixels,
                             bool bold, const QColor& colour, Qt::Alignment align) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    // Names come from other players: never read them as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(where);
    label->setAlignment(align);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

int TableBoard::screenPosition(int seat, int ownSlot) {
    if (ownSlot < 1 || ownSlot > 4) return seat;
    return (seat - ownSlot + 4) % 4 + 1;
}

QPoint TableBoard::namePlace(int position) {
    return kPlaces[qBound(1, position, 4) - 1].name;
}

QPoint TableBoard::dealerPlace(int dealer, int ownSlot) {
    if (dealer < 1 || dealer > 4) return kDealerStart;
    return namePlace(screenPosition(dealer, ownSlot)) - kDealerOffset;
}

void TableBoard::placeSeats(int ownSlot) {
    for (int s = 1; s <= 4; ++s) {
        const Places& at = kPlaces[screenPosition(s, ownSlot) - 1];
        const SeatItems& items = m_seats[static_cast<size_t>(s)];
        putAt(items.name, at.name);
        putAt(items.backs, at.backs);
        putAt(items.played, at.played);
        putAt(items.maker, at.maker);
        putAt(items.banner, at.banner);
        putAt(items.eyes, at.eyes);
        putAt(items.turn, at.turn);
        putAt(items.bid, at.bid);
    }
}

const SeatItems* TableBoard::seat(int s) const {
    return s >= 1 && s <= 4 ? &m_seats[static_cast<size_t>(s)] : nullptr;
}

QLabel* TableBoard::nameLabel(int s) const {
    const SeatItems* items = seat(s);
    return items ? items->name : nullptr;
}

ArtItem* TableBoard::bubble(int n) const {
    return n >= 1 && n <= kBubbles ? m_bubbles[static_cast<size_t>(n)] : nullptr;
}

ArtItem* TableBoard::teamMaker(int team) const {
    return team == 1 || team == 2 ? m_teamMakers[static_cast<size_t>(team)] : nullptr;
}

QLabel* TableBoard::label(const char* name) const {
    return findChild<QLabel*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

ArtItem* TableBoard::handCard(int position) const {
    return position >= 1 && position <= 5 ? m_cards[static_cast<size_t>(position)] : nullptr;
}

void TableBoard::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 is the menu key of keyboards that have none.
    const bool menu = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (onKey && onKey(menu ? Qt::Key_Menu : event->key())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TableBoard::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    drawHighlight();
    update();
}

void TableBoard::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    drawHighlight();
    update();
}

bool TableBoard::event(QEvent* event) {
    // The keys' tooltip belongs to the card table, not to the chat column.
    if (event->type() == QEvent::ToolTip &&
        static_cast<QHelpEvent*>(event)->pos().x() >= kChatColumn.x() * m_scale) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

// ---- the board at a scale ----

QRect TableBoard::logicalRect(const QWidget* item) const {
    const auto it = m_logical.find(item);
    // An item never placed at a scale still has its table-pixel geometry.
    return it != m_logical.end() ? it->second : item->geometry();
}

void TableBoard::place(QWidget* item, const QRect& logical) {
    m_logical[item] = logical;
    if (m_scale == 1.0) {
        item->setGeometry(logical);
        return;
    }
    const auto scaled = [this](int v) { return qRound(v * m_scale); };
    const QPoint topLeft(scaled(logical.x()), scaled(logical.y()));
    const QPoint end(scaled(logical.x() + logical.width()), scaled(logical.y() + logical.height()));
    item->setGeometry(QRect(topLeft, end - QPoint(1, 1)));
}

void TableBoard::putAt(QWidget* item, QPoint where) {
    place(item, QRect(where, logicalRect(item).size()));
}

void TableBoard::sizeTo(QWidget* item, int w, int h) {
    place(item, QRect(logicalRect(item).topLeft(), QSize(w, h)));
}

void TableBoard::setScale(qreal scale) {
    scale = std::clamp(scale, 1.0, kLargestScale);
    if (qFuzzyCompare(scale, m_scale)) return;
    // Every item keeps its place in table pixels; fonts and pictures are
    // made anew at the new size rather than stretched.
    const auto register_ = [this](QWidget* w) {
        if (m_logical.find(w) == m_logical.end()) m_logical[w] = w->geometry();
        if (!w->property(kBasePixels).isValid()) w->setProperty(kBasePixels, w->font().pixelSize());
    };
    const QList<QWidget*> items = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : items) {
        if (w->isWindow()) continue;
        register_(w);
        // A part placed by hand (the chat column) scales its parts' places too.
        if (!w->layout() && !qobject_cast<QLabel*>(w) && !qobject_cast<ArtItem*>(w))
            for (QWidget* inner : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!inner->isWindow()) register_(inner);
    }
    m_scale = scale;
    setFixedSize(qRound(kWidth * scale), qRound(kHeight * scale));
    for (auto& [w, logical] : m_logical) {
        QWidget* item = const_cast<QWidget*>(w);
        place(item, logical);
        if (auto* art = qobject_cast<ArtItem*>(item)) art->setScale(scale);
        if (auto* button = qobject_cast<PictureButton*>(item)) button->setScale(scale);
        if (qobject_cast<QLabel*>(item) && item->parentWidget() == this) {
            QFont f = item->font();
            f.setPixelSize(qRound(item->property(kBasePixels).toInt() * scale));
            item->setFont(f);
        }
    }
    update();
}

void TableBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The board is drawn in table pixels; its pictures are painted for the
    // scale too, so they stay sharp.
    p.scale(m_scale, m_scale);
    const qreal dpr = p.device()->devicePixelRatioF() * m_scale;

    // The table: a wooden rim around green cloth.
    QLinearGradient wood(kFelt.topLeft(), kFelt.bottomRight());
    wood.setColorAt(0, QColor(126, 78, 40));
    wood.setColorAt(0.5, QColor(96, 56, 26));
    wood.setColorAt(1, QColor(120, 74, 36));
    p.setPen(QPen(QColor(50, 30, 12), 1));
    p.setBrush(wood);
    p.drawRoundedRect(kFelt, 28, 28);
    const QRectF cloth = kFelt.adjusted(7, 7, -7, -7);
    QRadialGradient felt(cloth.center(), cloth.width() * 0.75);
    felt.setColorAt(0, QColor(48, 134, 74));
    felt.setColorAt(0.7, QColor(30, 108, 56));
    felt.setColorAt(1, QColor(20, 82, 42));
    // A thin light line tells the player the table has the keyboard.
    p.setPen(hasFocus() ? QPen(QColor(255, 220, 120), 2) : QPen(QColor(16, 60, 30), 1.5));
    p.setBrush(felt);
    p.drawRoundedRect(cloth, 22, 22);

    // Where the turned card lies.
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.5, Qt::DashLine));
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawRoundedRect(QRectF(kTrumpPlace).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);

    // The score card on the table's corner.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(kScoreCard.translated(3, 3), 6, 6);
    p.setPen(QPen(QColor(120, 104, 70), 1));
    p.setBrush(QColor(253, 250, 232));
    p.drawRoundedRect(kScoreCard, 6, 6);
    p.setPen(QPen(QColor(200, 190, 160), 1));
    p.drawLine(QPointF(kScoreCard.left() + 10, 95.5), QPointF(kScoreCard.right() - 10, 95.5));

    // The board's border and its corner ornaments.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
    p.drawPixmap(1, 1, art::cornerOrnament(0, dpr));
    p.drawPixmap(754, 1, art::cornerOrnament(1, dpr));
    p.drawPixmap(1, 534, art::cornerOrnament(2, dpr));
    p.drawPixmap(753, 533, art::cornerOrnament(3, dpr));
}

BoardHost::BoardHost(QWidget* parent) : QWidget(parent), m_board(new TableBoard(this)) {
    setObjectName(QStringLiteral("boardhost"));
    setMinimumSize(TableBoard::kWidth + kExtraWidth, TableBoard::kHeight + kExtraHeight);
}

void BoardHost::setScaling(bool on) {
    m_scaling = on;
    fit();
}

void BoardHost::resizeEvent(QResizeEvent*) {
    fit();
}

void BoardHost::fit() {
    qreal scale = 1.0;
    if (m_scaling)
        scale = std::min(qreal(width() - kExtraWidth) / TableBoard::kWidth,
                         qreal(height() - kExtraHeight) / TableBoard::kHeight);
    m_board->setScale(scale);
    m_board->move((width() - m_board->width()) / 2, (height() - m_board->height()) / 2);
}

void BoardHost::paintEvent(QPaintEvent* event) {
    // The window's tiled background, the same picture as the small windows'.
    QPainter p(this);
    p.drawTiledPixmap(event->rect(), art::backgroundTile(devicePixelRatioF()),
                      event->rect().topLeft());
}

} // namespace euchre
