// The own hand face up along the bottom (sorted by card number, or with the
// trumps together once trump is fixed), the other seats' face-down hands,
// playing a card by mouse or keyboard, and what the host reports about
// played, refused and won cards.
#include "client/artwork.h"
#include "client/tableboard.h"
#include "client/tchat_parts.h"
#include "model/card.h"
#include "net/commands.h"
#include "stats/gamestats.h"

#include <QAction>
#include <algorithm>
#include <vector>

namespace euchre {

namespace {

const QString kNotValidCard = QStringLiteral("That is not a valid card.");
const QString kFollowSuit = QStringLiteral("You must follow suit if able.");
const QString kBadTrump = QStringLiteral("Cannot selected that suit as trump.");
const QString kMustName = QStringLiteral("The dealer must name a suit.");

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

int Tchat::Hand::placeOf(int position) const {
    for (int place = 1; place <= kHandSize; ++place) {
        const HandSlot& slot = t.m_shown.handslots[static_cast<size_t>(place)];
        if (slot.occupied && slot.position == position) return place;
    }
    return 0;
}

void Tchat::Hand::createcard(int position, int card) {
    if (position < 1 || position > kHandSize) return;
    // At most one card per position.
    if (placeOf(position) != 0) movecards(position);
    int place = 1;
    while (place <= kHandSize && t.m_shown.handslots[static_cast<size_t>(place)].occupied) ++place;
    // A sixth card has no place to go.
    if (place > kHandSize) return;
    t.m_shown.handslots[static_cast<size_t>(place)] = {true, position, card, false, false};
    clampKeyPlace();
}

void Tchat::Hand::sortthem() {
    std::vector<int> held;
    for (int k = 1; k <= kHandSize; ++k)
        if (const HandSlot& slot = t.m_shown.handslots[static_cast<size_t>(k)]; slot.occupied)
            held.push_back(slot.card);
    const bool together = t.m_shown.handTrump != 0 && t.m_sortTrumps->isChecked();
    const TrumpOrder order(held, together ? t.m_shown.handTrump : Clubs);
    const auto key = [&](const HandSlot& slot) {
        return together ? order.key(slot.card) : slot.card;
    };
    for (int pass = 0; pass < kHandSize; ++pass) {
        for (int k = kHandSize; k >= 2; --k) {
            HandSlot& right = t.m_shown.handslots[static_cast<size_t>(k)];
            HandSlot& left = t.m_shown.handslots[static_cast<size_t>(k - 1)];
            if (!right.occupied) continue;
            if (!left.occupied) return;
            if (key(left) <= key(right)) continue;
            // Both cards move: each lies 2 pixels left of its new place.
            std::swap(left, right);
            left.nudged = right.nudged = true;
        }
    }
    clampKeyPlace();
}

void Tchat::sortTrumpsClick() {
    m_hand->sortthem();
    redraw();
    saveinifile(SettingKey::SortTrumps);
}

void Tchat::Hand::movecards(int position) {
    const int place = placeOf(position);
    if (place == 0) return;
    auto& hand = t.m_shown.handslots;
    hand[static_cast<size_t>(place)] = {};
    // The later cards close the gap, each at its new place; nothing stays raised.
    for (int k = place + 1; k <= kHandSize; ++k) {
        if (!hand[static_cast<size_t>(k)].occupied) continue;
        hand[static_cast<size_t>(k - 1)] = hand[static_cast<size_t>(k)];
        hand[static_cast<size_t>(k - 1)].nudged = false;
        hand[static_cast<size_t>(k)] = {};
    }
    for (HandSlot& slot : hand) slot.raised = false;
    clampKeyPlace();
}

void Tchat::Hand::clearHand() {
    t.m_shown.handslots = {};
}

void Tchat::Hand::pressCard(int place, Qt::MouseButton button) {
    if (button == Qt::RightButton) {
        sortthem();
        t.redraw();
        return;
    }
    if (place < 1 || place > kHandSize) return;
    HandSlot& slot = t.m_shown.handslots[static_cast<size_t>(place)];
    // A card goes only when the host asks this seat for one (to play or to
    // discard): a press during the own bidding question would only leave a
    // card raised that the host never takes.
    if (button != Qt::LeftButton || !t.m_login.loggedin || t.m_shown.turnseat != t.m_shown.myslot ||
        !t.m_shown.cardAsked || !slot.occupied)
        return;
    // A second press takes the card back; nothing is sent.
    slot.raised = !slot.raised;
    t.redraw();
    if (slot.raised)
        t.sendToHost(
            MessageBuilder(cmd::playcard).field(t.m_shown.myslot).field(slot.position).done(true));
}

// ---- keyboard play ----

bool Tchat::Hand::tableKey(int key) {
    const auto held = [this](int place) {
        return place >= 1 && place <= kHandSize &&
               t.m_shown.handslots[static_cast<size_t>(place)].occupied;
    };
    if (key >= Qt::Key_1 && key <= Qt::Key_5) {
        const int place = key - Qt::Key_0;
        if (held(place)) {
            t.m_shown.keyPlace = place;
            t.redraw();
            pressCard(place, Qt::LeftButton);
        }
        return true;
    }
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (const int count = t.m_shown.held(); count > 0) {
            const int step = key == Qt::Key_Left ? -1 : 1;
            t.m_shown.keyPlace = (t.m_shown.keyPlace - 1 + step + count) % count + 1;
            t.redraw();
        }
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (held(t.m_shown.keyPlace))
            pressCard(t.m_shown.keyPlace, Qt::LeftButton);
        else if (t.m_shown.startOffered)
            t.button_startClick();
        return true;
    case Qt::Key_F5:
    case Qt::Key_F6:
    case Qt::Key_F7:
    case Qt::Key_F8:
        t.m_turns->bubble1Click(key - Qt::Key_F5 + 1);
        return true;
    // What the right button does on a card and on a name.
    case Qt::Key_S:
        pressCard(t.m_shown.keyPlace, Qt::RightButton);
        return true;
    case Qt::Key_Menu:
        t.m_seats->seatsMenu();
        return true;
    default:
        return false;
    }
}

// The keys' highlight stays on a card of the hand.
void Tchat::Hand::clampKeyPlace() {
    t.m_shown.keyPlace = qBound(1, t.m_shown.keyPlace, qMax(1, t.m_shown.held()));
}

// ---- the other seats' hands ----

void Tchat::Hand::setBacks(int seat, int count) {
    if (!isSeat(seat) || seat == t.m_shown.myslot) return;
    SeatRecord& at = t.m_shown.seats[static_cast<size_t>(seat)];
    at.cardsLeft = qBound(0, count, kHandSize);
    at.backsShown = at.cardsLeft > 0;
}

// ---- host messages ----

void Tchat::Hand::placecard(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    t.m_shown.seats[static_cast<size_t>(*seat)].backsShown = false;
    int last = 0;
    while (!reader.atEnd()) {
        const std::optional<int> position = reader.number(0, kHandSize);
        const std::optional<int> card = reader.number(0, 52);
        if (!position || !card) break;
        if (*seat == t.m_shown.myslot) createcard(*position, *card);
        last = *position;
    }
    if (*seat == t.m_shown.myslot)
        sortthem();
    else if (last != 0)
        setBacks(*seat, last);
    t.playsounds(QLatin1String(sound::getcard));
}

void Tchat::Hand::loadtheircard(QByteArrayView args) {
    FieldReader reader(args);
    // Each seat's cards as the newcomer finds them.
    std::array<int, 5> counts{};
    while (!reader.atEnd()) {
        const std::optional<int> seat = reader.number(1, kSeats);
        const std::optional<int> count = reader.number(-kHandSize, kHandSize);
        if (!seat || !count) break;
        if (*count > 0) {
            setBacks(*seat, *count);
            counts[static_cast<size_t>(*seat)] = *count;
        }
    }
    // The last message of the catch-up: what the newcomer sees now.
    t.m_turns->showCaughtUpTurn(counts);
}

void Tchat::Hand::loadcards(QByteArrayView args) {
    // Only a table with a game in progress catches a newcomer up.
    t.m_gameOn = true;
    FieldReader reader(args);
    const int team = reader.number(0, 2).value_or(0);
    const int maker = reader.number(0, kSeats).value_or(0);
    const int dealer = reader.number(0, kSeats).value_or(0);
    const int trumpSuit = reader.number(0, Hearts).value_or(0);
    t.m_turns->clearBids();
    if (team != 0) t.m_shown.scores.makers[static_cast<size_t>(team)] = true;
    for (int s = 1; s <= kSeats; ++s) t.m_shown.seats[static_cast<size_t>(s)].maker = s == maker;
    if (isSeat(dealer)) t.m_shown.dealer = dealer;
    if (trumpSuit > 0) t.m_shown.trump = 52 + trumpSuit;
    for (int s = 1; s <= kSeats; ++s) {
        const int card = reader.number(0, 52).value_or(0);
        // Shown, not counted: the last-trick record starts with the next trick.
        if (card > 0) t.m_shown.trick.shown[static_cast<size_t>(s)] = card;
    }
    for (int s = 1; s <= kSeats; ++s) t.m_shown.showDefaultName(s);
}

void Tchat::Hand::playedcard(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    const std::optional<int> position = reader.number(0, kHandSize);
    const std::optional<int> card = reader.number(0, 52);
    if (!seat || !position || !card) return;
    t.m_shown.discardAsked = false;
    // The bidding is over once a card is led.
    t.m_turns->clearBids();
    t.playsounds(QLatin1String(sound::placecard));
    if (t.m_shown.ledsuit.isEmpty())
        t.m_shown.ledsuit = QString::fromLatin1(suitName(naturalSuit(*card)));
    TrickRecord& trick = t.m_shown.trick;
    trick.shown[static_cast<size_t>(*seat)] = *card;
    trick.played[static_cast<size_t>(*seat)] = *card;
    // The card lies over every card before it (each seat is in the order once).
    const auto end = std::remove(trick.order.begin(), trick.order.begin() + trick.count, *seat);
    *end = *seat;
    trick.count = static_cast<int>(end - trick.order.begin()) + 1;
    const bool own = *seat == t.m_shown.myslot;
    t.m_shown.announce((own ? QStringLiteral("You") : t.m_shown.seatName(*seat)) +
                       QStringLiteral(" played ") + TableBoard::spokenCard(*card));
    if (own)
        movecards(*position);
    else
        setBacks(*seat, t.m_shown.seats[static_cast<size_t>(*seat)].cardsLeft - 1);
}

void Tchat::Hand::notvalid(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat || *seat != t.m_shown.myslot) return;
    const int code = reader.number(0, 99).value_or(0);
    const int position = reader.number(0, kHandSize).value_or(0);
    t.playsounds(QLatin1String(sound::notvalid));
    switch (code) {
    case NotValidCard:
        t.m_turns->setStatus(kNotValidCard);
        break;
    case NotValidFollowSuit:
        t.m_turns->setStatus(kFollowSuit);
        if (const int place = placeOf(position); place != 0)
            t.m_shown.handslots[static_cast<size_t>(place)].raised = true;
        break;
    case NotValidTrump:
        t.m_turns->namingRefused(kBadTrump);
        break;
    case NotValidMustName:
        t.m_turns->namingRefused(kMustName);
        break;
    default:
        break;
    }
}

void Tchat::Hand::trickwinner(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    t.m_shown.turnseat = 0;
    t.m_shown.cardAsked = false;
    const std::optional<int> tan = reader.number(0, kHandSize);
    const std::optional<int> blue = reader.number(0, kHandSize);
    if (tan) t.m_shown.scores.tricks[1] = *tan;
    if (blue) t.m_shown.scores.tricks[2] = *blue;
    const QString won = t.m_turns->sentence(Turns::Say::WonTheTrick, *seat);
    t.m_turns->setStatus(won);
    t.m_shown.announce(won + QStringLiteral(" Tricks: Tan team %1, Blue team %2.")
                                 .arg(t.m_shown.scores.tricks[1].value_or(0))
                                 .arg(t.m_shown.scores.tricks[2].value_or(0)));
    t.m_shown.arrow = 0;
    if (*seat == t.m_shown.myslot) t.playsounds(QLatin1String(sound::trickwinner));

    LastTrick& last = t.m_shown.lasttrick;
    last.winner = won;
    last.cards = std::exchange(t.m_shown.trick.played, {});
    last.ledoff = std::exchange(t.m_shown.ledsuit, QString());
    last.trumpEntry = t.m_shown.trump.value_or(0);
    t.m_shown.trickWinner = *seat;
    emit t.lastTrickChanged();
}

void Tchat::Hand::clearcards(QByteArrayView) {
    clearTrick();
}

// The cards on the table go; what counts for the last trick stays.
void Tchat::Hand::clearTrick() {
    t.m_shown.trick.shown = {};
    t.m_shown.trick.count = 0;
}

void Tchat::Hand::goingalone(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat || reader.number(0, 99) != BubbleAlone) return;
    t.m_turns->setBid(*seat, art::BidAlone);
    t.m_tracker->alone(*seat);
    // The loner's partner sits the hand out.
    const int partner = partnerOf(*seat);
    if (partner == t.m_shown.myslot) {
        clearHand();
        clampKeyPlace();
    } else {
        t.m_shown.seats[static_cast<size_t>(partner)].backsShown = false;
    }
}

void Tchat::Hand::switchcard(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    const std::optional<int> position = reader.number(1, kHandSize);
    const std::optional<int> card = reader.number(0, 52);
    if (!seat || *seat != t.m_shown.myslot || !position || !card) return;
    t.m_shown.turnseat = 0;
    t.m_shown.cardAsked = false;
    // The picked-up card takes the discarded card's place, out of sort order,
    // unless the trumps are kept together: it is one of them.
    if (const int place = placeOf(*position); place != 0) {
        HandSlot& slot = t.m_shown.handslots[static_cast<size_t>(place)];
        slot.card = *card;
        slot.raised = false;
    }
    if (t.m_shown.handTrump != 0 && t.m_sortTrumps->isChecked()) sortthem();
}

} // namespace euchre
