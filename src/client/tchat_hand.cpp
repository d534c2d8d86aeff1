// The own hand face up along the bottom (sorted by card number, or with the
// trumps together once trump is fixed), the other seats' face-down hands,
// playing a card by mouse or keyboard, and what the host reports about
// played, refused and won cards.
#include "client/artitem.h"
#include "client/artwork.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "model/card.h"
#include "net/commands.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace euchre {

namespace {

// The own hand: card k lies at left 72 + 18 x k; sorting puts the cards it
// moves 2 pixels further left. A raised card is one played or about to be.
constexpr int kCardLeft = 72;
constexpr int kSortedLeft = 70;
constexpr int kCardStep = 18;
constexpr int kRestTop = 400;
constexpr int kRaisedTop = 395;
constexpr int kBacksBase = 66; // a face-down hand is 66 + 5 x count wide

const QString kNotValidCard = QStringLiteral("That is not a valid card.");
const QString kFollowSuit = QStringLiteral("You must follow suit if able.");
const QString kBadTrump = QStringLiteral("Cannot selected that suit as trump.");

const char* const kPositionProperty = "position";

ArtItem::Art cardFace(int card) {
    return [card](qreal dpr) { return art::card(card, dpr); };
}

bool isRed(int suit) {
    return suit == Diamonds || suit == Hearts;
}

// The order of the hand with its trumps together: the other suits first, in
// the order of the suit numbers that best alternates the colours (the trumps
// counted as the last group), then the trumps from the nine up to the left
// and at the right end the right bower. Returns each card's sort key.
class TrumpOrder {
public:
    TrumpOrder(const std::vector<int>& cards, int trump)
        : m_trump(trump), m_left(leftBowerOf(trump)) {
        std::vector<int> suits;
        bool trumps = false;
        for (int card : cards) {
            const int suit = effectiveSuit(card, m_trump, m_left);
            if (suit == m_trump)
                trumps = true;
            else if (std::find(suits.begin(), suits.end(), suit) == suits.end())
                suits.push_back(suit);
        }
        std::sort(suits.begin(), suits.end());
        // At most three suits: six orders to weigh.
        int best = -1;
        do {
            int clashes = 0;
            for (size_t i = 1; i < suits.size(); ++i)
                clashes += isRed(suits[i - 1]) == isRed(suits[i]);
            if (trumps && !suits.empty()) clashes += isRed(suits.back()) == isRed(m_trump);
            if (best < 0 || clashes < best) {
                best = clashes;
                for (size_t i = 0; i < suits.size(); ++i) m_place[suits[i]] = int(i);
            }
        } while (std::next_permutation(suits.begin(), suits.end()));
        m_place[m_trump] = 4;
    }

    int key(int card) const {
        const int suit = effectiveSuit(card, m_trump, m_left);
        int rank = rankInSuit(card);
        if (card == rightBower(m_trump))
            rank = 15;
        else if (card == m_left)
            rank = 14;
        return m_place[suit] * 100 + rank;
    }

private:
    int m_trump;
    int m_left;
    std::array<int, 5> m_place{};
};

} // namespace

// ---- the own hand ----

ArtItem* Tchat::cardOfPosition(int position) const {
    return board()->findChild<ArtItem*>(QStringLiteral("card%1").arg(position),
                                        Qt::FindDirectChildrenOnly);
}

ArtItem* Tchat::cardAtPlace(int place) const {
    if (place < 1 || place > kHandSize) return nullptr;
    const HandSlot& slot = handslots[static_cast<size_t>(place)];
    return slot.occupied ? cardOfPosition(slot.position) : nullptr;
}

void Tchat::createcard(int position, int card) {
    if (position < 1 || position > kHandSize) return;
    // At most one card item per position.
    if (ArtItem* old = cardOfPosition(position)) {
        movecards(position);
        delete old;
    }
    int place = 1;
    while (place <= kHandSize && handslots[static_cast<size_t>(place)].occupied) ++place;
    // A sixth card has no place to go.
    if (place > kHandSize) return;
    handslots[static_cast<size_t>(place)] = {true, position};
    auto* item = new ArtItem(
        board(), QStringLiteral("card%1").arg(position),
        {kCardLeft + kCardStep * place, kRestTop, art::kCardWidth, art::kCardHeight}, true);
    item->setProperty(kPositionProperty, position);
    item->setNumber(card);
    item->setArt(cardFace(card));
    connect(item, &ArtItem::pressed, this,
            [this, item](Qt::MouseButton button) { cardimagesMouseDown(item, button); });
    item->show();
    for (int k = place; k <= kHandSize; ++k)
        if (ArtItem* later = cardAtPlace(k)) later->raise();
    refreshKeyHighlight();
}

void Tchat::sortthem() {
    std::vector<int> held;
    for (int k = 1; k <= kHandSize; ++k)
        if (ArtItem* card = cardAtPlace(k)) held.push_back(card->number());
    const bool together = m_handTrump != 0 && m_sortTrumps->isChecked();
    const TrumpOrder order(held, together ? m_handTrump : Clubs);
    const auto key = [&](const ArtItem* card) {
        return together ? order.key(card->number()) : card->number();
    };
    for (int pass = 0; pass < kHandSize; ++pass) {
        for (int k = kHandSize; k >= 2; --k) {
            HandSlot& right = handslots[static_cast<size_t>(k)];
            HandSlot& left = handslots[static_cast<size_t>(k - 1)];
            if (!right.occupied) continue;
            ArtItem* leftCard = cardAtPlace(k - 1);
            ArtItem* rightCard = cardAtPlace(k);
            if (!leftCard || !rightCard) return;
            if (key(leftCard) <= key(rightCard)) continue;
            std::swap(left.position, right.position);
            leftCard->move(kSortedLeft + kCardStep * k, leftCard->y());
            rightCard->move(kSortedLeft + kCardStep * (k - 1), rightCard->y());
        }
    }
    for (int k = 1; k <= kHandSize; ++k)
        if (ArtItem* card = cardAtPlace(k)) card->raise();
    refreshKeyHighlight();
}

void Tchat::sortTrumpsClick() {
    sortthem();
    saveinifile(SettingKey::SortTrumps);
}

void Tchat::movecards(int position) {
    int place = 1;
    while (place <= kHandSize && !(handslots[static_cast<size_t>(place)].occupied &&
                                   handslots[static_cast<size_t>(place)].position == position))
        ++place;
    if (place > kHandSize) return;
    handslots[static_cast<size_t>(place)] = {};
    for (int k = place + 1; k <= kHandSize; ++k) {
        if (!handslots[static_cast<size_t>(k)].occupied) continue;
        if (ArtItem* card = cardAtPlace(k)) {
            card->move(kCardLeft + kCardStep * (k - 1), card->y());
            card->raise();
            card->show();
        }
        handslots[static_cast<size_t>(k - 1)] = handslots[static_cast<size_t>(k)];
        handslots[static_cast<size_t>(k)] = {};
    }
    for (ArtItem* card : board()->findChildren<ArtItem*>(Qt::FindDirectChildrenOnly))
        if (card->property(kPositionProperty).isValid() && card->y() != kRestTop)
            card->move(card->x(), kRestTop);
    refreshKeyHighlight();
}

void Tchat::clearHand() {
    handslots = {};
    for (ArtItem* card : board()->findChildren<ArtItem*>(Qt::FindDirectChildrenOnly))
        if (card->property(kPositionProperty).isValid()) delete card;
}

void Tchat::cardimagesMouseDown(ArtItem* card, Qt::MouseButton button) {
    if (button == Qt::RightButton) {
        sortthem();
        return;
    }
    // A card goes only when the host asks this seat for one (to play or to
    // discard): a press during the own bidding question would only leave a
    // card raised that the host never takes.
    if (button != Qt::LeftButton || !loggedin || turnseat != myslot || !m_cardAsked || !card)
        return;
    if (card->y() == kRestTop) {
        card->move(card->x(), kRaisedTop);
        sendToHost(MessageBuilder(cmd::playcard)
                       .field(myslot)
                       .field(card->property(kPositionProperty).toInt())
                       .done(true));
    } else {
        // A second press takes the card back; nothing is sent.
        card->move(card->x(), kRestTop);
    }
}

// ---- keyboard play ----

bool Tchat::tableKey(int key) {
    if (key >= Qt::Key_1 && key <= Qt::Key_5) {
        const int place = key - Qt::Key_0;
        if (ArtItem* card = cardAtPlace(place)) {
            m_keyPlace = place;
            refreshKeyHighlight();
            cardimagesMouseDown(card, Qt::LeftButton);
        }
        return true;
    }
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        int held = 0;
        while (held < kHandSize && handslots[static_cast<size_t>(held + 1)].occupied) ++held;
        if (held > 0) {
            const int step = key == Qt::Key_Left ? -1 : 1;
            m_keyPlace = (m_keyPlace - 1 + step + held) % held + 1;
            refreshKeyHighlight();
        }
        return true;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ArtItem* card = cardAtPlace(m_keyPlace))
            cardimagesMouseDown(card, Qt::LeftButton);
        else if (board()->startButton()->isVisible())
            board()->startButton()->click();
        return true;
    case Qt::Key_F5:
    case Qt::Key_F6:
    case Qt::Key_F7:
    case Qt::Key_F8:
        bubble1Click(key - Qt::Key_F5 + 1);
        return true;
    default:
        return false;
    }
}

// The highlight shows only while the table has the keyboard.
void Tchat::refreshKeyHighlight() {
    int held = 0;
    while (held < kHandSize && handslots[static_cast<size_t>(held + 1)].occupied) ++held;
    m_keyPlace = qBound(1, m_keyPlace, qMax(1, held));
    const bool focused = board()->hasFocus();
    for (int k = 1; k <= kHandSize; ++k)
        if (ArtItem* card = cardAtPlace(k)) card->setHighlighted(focused && k == m_keyPlace);
}

// ---- the other seats' hands ----

void Tchat::drawBacks(int seat, int count) {
    const SeatItems* items = board()->seat(seat);
    if (!items || seat == myslot) return;
    count = qBound(0, count, kHandSize);
    items->backs->setNumber(count);
    items->backs->resize(kBacksBase + art::kBackStep * count, art::kCardHeight);
    if (count > 0)
        items->backs->setArt([count](qreal dpr) { return art::cardBacks(count, dpr); });
    else
        items->backs->clearArt();
}

// ---- host messages ----

void Tchat::placecard(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    board()->seat(*seat)->backs->clearArt();
    int last = 0;
    while (!reader.atEnd()) {
        const std::optional<int> position = reader.number(0, kHandSize);
        const std::optional<int> card = reader.number(0, 52);
        if (!position || !card) break;
        if (*seat == myslot) createcard(*position, *card);
        last = *position;
    }
    if (*seat == myslot)
        sortthem();
    else if (last != 0)
        drawBacks(*seat, last);
    playsounds(QLatin1String(sound::getcard));
}

void Tchat::loadtheircard(QByteArrayView args) {
    FieldReader reader(args);
    m_catchUpCounts = {};
    while (!reader.atEnd()) {
        const std::optional<int> seat = reader.number(1, kSeats);
        const std::optional<int> count = reader.number(-kHandSize, kHandSize);
        if (!seat || !count) break;
        if (*count > 0) {
            drawBacks(*seat, *count);
            m_catchUpCounts[static_cast<size_t>(*seat)] = *count;
        }
    }
    // The last message of the catch-up: what the newcomer sees now.
    showCaughtUpTurn();
}

void Tchat::loadcards(QByteArrayView args) {
    // Only a table with a game in progress catches a newcomer up.
    m_gameOn = true;
    FieldReader reader(args);
    const int team = reader.number(0, 2).value_or(0);
    const int maker = reader.number(0, kSeats).value_or(0);
    const int dealer = reader.number(0, kSeats).value_or(0);
    const int trumpSuit = reader.number(0, Hearts).value_or(0);
    clearBids();
    if (ArtItem* bar = board()->teamMaker(team)) bar->show();
    for (int s = 1; s <= kSeats; ++s) board()->seat(s)->maker->hide();
    if (isSeat(maker)) board()->seat(maker)->maker->show();
    if (isSeat(dealer)) {
        board()->dealerButton()->move(board()->nameLabel(dealer)->pos() - QPoint(28, 9));
        board()->dealerButton()->setNumber(dealer);
    }
    if (trumpSuit > 0) {
        board()->trump()->setArt(cardFace(52 + trumpSuit));
        board()->trump()->setNumber(52 + trumpSuit);
    }
    for (int s = 1; s <= kSeats; ++s) {
        const int card = reader.number(0, 52).value_or(0);
        // Shown, not stored: the last-trick record starts with the next trick.
        if (card > 0) board()->seat(s)->played->setArt(cardFace(card));
    }
    for (int s = 1; s <= kSeats; ++s) showDefaultName(s);
}

void Tchat::playedcard(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    const std::optional<int> position = reader.number(0, kHandSize);
    const std::optional<int> card = reader.number(0, 52);
    if (!seat || !position || !card) return;
    board()->discardLabel()->hide();
    // The bidding is over once a card is led.
    clearBids();
    playsounds(QLatin1String(sound::placecard));
    if (ledsuit.isEmpty()) ledsuit = QString::fromLatin1(suitName(naturalSuit(*card)));
    ArtItem* played = board()->seat(*seat)->played;
    played->setArt(cardFace(*card));
    played->setNumber(*card);
    played->raise();
    if (*seat == myslot) {
        delete cardOfPosition(*position);
        movecards(*position);
    } else {
        drawBacks(*seat, board()->seat(*seat)->backs->number() - 1);
    }
}

void Tchat::notvalid(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat || *seat != myslot) return;
    const int code = reader.number(0, 99).value_or(0);
    const int position = reader.number(0, kHandSize).value_or(0);
    playsounds(QLatin1String(sound::notvalid));
    switch (code) {
    case NotValidCard:
        setStatus(kNotValidCard);
        break;
    case NotValidFollowSuit:
        setStatus(kFollowSuit);
        if (ArtItem* card = cardOfPosition(position)) card->move(card->x(), kRaisedTop);
        break;
    case NotValidTrump:
        setStatus(kBadTrump);
        break;
    default:
        break;
    }
}

void Tchat::trickwinner(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    turnseat = 0;
    m_cardAsked = false;
    const std::optional<int> tan = reader.number(0, kHandSize);
    const std::optional<int> blue = reader.number(0, kHandSize);
    if (tan) board()->label("label_current1")->setText(QString::number(*tan));
    if (blue) board()->label("label_current2")->setText(QString::number(*blue));
    const QString won = sentence(Say::WonTheTrick, *seat);
    setStatus(won);
    for (int s = 1; s <= kSeats; ++s) board()->seat(s)->turn->hide();
    if (*seat == myslot) playsounds(QLatin1String(sound::trickwinner));
    board()->trickWinner()->move(board()->seat(*seat)->turn->pos());

    lasttrick.winner = won;
    for (int s = 1; s <= kSeats; ++s) {
        ArtItem* played = board()->seat(s)->played;
        lasttrick.cards[static_cast<size_t>(s)] = played->number();
        played->setNumber(0);
    }
    lasttrick.ledoff = std::exchange(ledsuit, QString());
    lasttrick.trumpEntry = board()->trump()->number();
    emit lastTrickChanged();
    board()->trickWinner()->show();
    board()->trickWinner()->raise();
}

void Tchat::clearcards(QByteArrayView) {
    for (int s = 1; s <= kSeats; ++s) board()->seat(s)->played->clearArt();
}

void Tchat::goingalone(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat || reader.number(0, 99) != BubbleAlone) return;
    setBid(*seat, art::BidAlone);
    // The loner's partner sits the hand out.
    const int partner = partnerOf(*seat);
    if (partner == myslot) {
        clearHand();
        refreshKeyHighlight();
    } else {
        board()->seat(partner)->backs->clearArt();
    }
}

void Tchat::switchcard(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    const std::optional<int> position = reader.number(1, kHandSize);
    const std::optional<int> card = reader.number(0, 52);
    if (!seat || *seat != myslot || !position || !card) return;
    turnseat = 0;
    m_cardAsked = false;
    // The picked-up card takes the discarded card's place, out of sort order,
    // unless the trumps are kept together: it is one of them.
    if (ArtItem* item = cardOfPosition(*position)) {
        item->setNumber(*card);
        item->setArt(cardFace(*card));
        item->move(item->x(), kRestTop);
    }
    if (m_handTrump != 0 && m_sortTrumps->isChecked()) sortthem();
}

} // namespace euchre
