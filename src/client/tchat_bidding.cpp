// Whose turn it is (arrows, status line, turn sound), the bidding bubbles and
// what they send, each seat's bids of the deal, the dealer, the turned card
// and trump, and the start of a game with the reset of the table for each deal.
#include "client/artwork.h"
#include "client/houserules.h"
#include "client/tableboard.h"
#include "client/tchat_parts.h"
#include "model/card.h"
#include "net/commands.h"
#include "stats/gamestats.h"

#include <QAction>
#include <QActionGroup>

namespace euchre {

namespace {

// The status line's sentences about a seat: the words before and after its
// name, and what the player reads when the seat is the window's own. "%1"
// stands for the suit named.
struct Sentence {
    const char* before;
    const char* after;
    const char* own;
};
constexpr Sentence kSentences[] = {
    {"", " is dealing.", "You are dealing."},
    {"", "'s turn to accept or pass.", "Your turn to accept or pass."},
    {"", " passed.", "You passed."},
    {"", " Accepted.", "You accepted."},
    {"", " is choosing a trump.", "Choose a trump."},
    {"", " choose %1 for trump.", "You chose %1 for trump."},
    {"Will ", " go alone?", "Will you go alone?"},
    {"", " needs to discard.", "Discard a card."},
    {"", "'s turn to play a card.", "Your turn to play a card."},
    {"", " Won the Trick!", "You won the trick!"},
};

// The chat log's line for each bid, when "Show Bids in Chat" is ticked.
struct BidLine {
    const char* other; // after the seat's name
    const char* own;
};
constexpr BidLine kBidLines[] = {
    {"", ""},
    {" passed.", "You passed."},
    {" ordered it up.", "You ordered it up."},
    {" picked it up.", "You picked it up."},
    {" named Clubs.", "You named Clubs."},
    {" named Diamonds.", "You named Diamonds."},
    {" named Spades.", "You named Spades."},
    {" named Hearts.", "You named Hearts."},
    {" is going alone.", "You are going alone."},
};
static_assert(std::size(kBidLines) == art::kBidTags);

// Said while the table cannot tell whose turn it is.
const QString kWaitingForMove = QStringLiteral("Waiting for the next move.");
const QString kYouStarted = QStringLiteral("0+You have started a game.");
const QString kHasStarted = QStringLiteral(" has started a game.");
const QString kBadRules =
    QStringLiteral("The game did not start, as the host does not play the house rule \"%1\".");
constexpr int kMaxQuotedRule = 60;

// Bubble pictures: entry n + 2 names suit n.
constexpr int kOrderItUp = 1;
constexpr int kPassPicture = 2;
constexpr int kAlonePicture = 7;
constexpr int kWithPartnerPicture = 8;

} // namespace

// ---- the turn display ----

// Every status sentence is news: whose turn it is, a bid, a refusal.
void Tchat::Turns::setStatus(const QString& text) {
    t.m_shown.status = text;
    t.m_shown.announce(text);
}

QString Tchat::Turns::sentence(Say what, int seat, const QString& suit) const {
    const Sentence& s = kSentences[static_cast<int>(what)];
    const auto fill = [&suit](const char* text) {
        const QString words = QString::fromLatin1(text);
        return words.contains(QLatin1String("%1")) ? words.arg(suit) : words;
    };
    if (isSeat(t.m_shown.myslot) && seat == t.m_shown.myslot) return fill(s.own);
    return QLatin1String(s.before) + t.m_shown.seatName(seat) + fill(s.after);
}

void Tchat::Turns::pointArrow(int seat) {
    t.m_shown.arrow = isSeat(seat) ? seat : 0;
}

void Tchat::Turns::turnSound() {
    const QAction* turn = t.m_turnSounds->checkedAction();
    const bool isNew = turn && turn->data().toInt() == turnSoundNew;
    t.playsounds(QLatin1String(isNew ? sound::turnnew : sound::turn));
}

void Tchat::Turns::showMaker(int seat) {
    t.m_shown.scores.makers[static_cast<size_t>(teamOf(seat))] = true;
    t.m_shown.seats[static_cast<size_t>(seat)].maker = true;
}

// ---- the bids of the deal ----

void Tchat::Turns::setBid(int seat, int tag) {
    if (!isSeat(seat) || tag <= art::NoBid || tag >= art::kBidTags) return;
    t.m_shown.seats[static_cast<size_t>(seat)].bid = tag;
    if (!t.m_showBidsInChat->isChecked()) return;
    // A notice like the others: all notices share one colour in the log, so a
    // colour of its own would recolour every notice before it.
    const BidLine& line = kBidLines[tag];
    t.notice(QStringLiteral("0+") + (seat == t.m_shown.myslot
                                         ? QString::fromLatin1(line.own)
                                         : t.m_shown.seatName(seat) + QLatin1String(line.other)));
}

void Tchat::Turns::clearBids() {
    for (int s = 1; s <= kSeats; ++s) t.m_shown.seats[static_cast<size_t>(s)].bid = art::NoBid;
}

void Tchat::showBidsInChatClick() {
    saveinifile(SettingKey::BidsInChat);
}

// ---- bubbles ----

void Tchat::Turns::clearbubbles() {
    t.m_shown.bubbles = {};
}

void Tchat::Turns::offer(int bubble, int picture, int code) {
    t.m_shown.bubbles[static_cast<size_t>(bubble)] = {picture, code};
}

void Tchat::Turns::bubble1Click(int n) {
    if (n < 1 || n > TableBoard::kBubbles) return;
    const int code = t.m_shown.bubbles[static_cast<size_t>(n)].code;
    if (code == -1) return;
    if (t.m_shown.turnseat == t.m_shown.myslot && t.m_login.loggedin)
        t.sendToHost(
            MessageBuilder(cmd::selectedbubble).field(t.m_shown.myslot).field(code).done(true));
    clearbubbles();
    t.redraw();
}

// ---- host messages ----

void Tchat::Turns::setdealer(QByteArrayView args) {
    const std::optional<int> dealer = FieldReader(args).number(1, kSeats);
    if (!dealer) return;
    clearbubbles();
    t.m_shown.turnseat = *dealer;
    t.m_shown.cardAsked = false;
    m_caughtUp = false;
    t.m_shown.trickWinner = 0;
    pointArrow(*dealer);
    startround();
    t.m_shown.dealer = *dealer;
    t.m_hand->clearTrick();
    t.m_tracker->dealt();
    setStatus(sentence(Say::Dealing, *dealer));
}

void Tchat::Turns::settrump(QByteArrayView args) {
    const std::optional<int> card = FieldReader(args).number(0, 52);
    clearbubbles();
    if (!card) return;
    t.m_shown.trump = *card;
}

void Tchat::Turns::setbidder(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    clearbubbles();
    if (!seat) return;
    t.m_shown.trick.played = {};
    for (int s = 1; s <= kSeats; ++s) t.m_shown.seats[static_cast<size_t>(s)].maker = false;
    t.m_shown.turnseat = *seat;
    t.m_shown.cardAsked = false;
    setStatus(sentence(Say::AcceptOrPass, *seat));
    if (*seat == t.m_shown.myslot) turnSound();
    pointArrow(*seat);
    if (*seat == t.m_shown.myslot) {
        offer(1, kOrderItUp, BubbleAccept);
        offer(2, kPassPicture, BubblePass);
    }
}

void Tchat::Turns::hepassed(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    clearbubbles();
    if (!seat) return;
    t.m_shown.turnseat = 0;
    t.m_shown.cardAsked = false;
    setStatus(sentence(Say::Passed, *seat));
    setBid(*seat, art::BidPass);
}

void Tchat::Turns::heaccepted(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    clearbubbles();
    if (!seat) return;
    t.m_shown.turnseat = 0;
    t.m_shown.cardAsked = false;
    setStatus(sentence(Say::Accepted, *seat));
    showMaker(*seat);
    // The dealer who accepts picks the turned card up; anyone else orders it up.
    setBid(*seat, *seat == t.m_shown.dealer ? art::BidPickedUp : art::BidOrderedUp);
}

void Tchat::Turns::setchooser(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    const int turnedDown = reader.number(0, 99).value_or(0);
    t.m_shown.discardAsked = false;
    clearbubbles();
    if (!seat) return;
    setStatus(sentence(Say::Choosing, *seat));
    t.m_shown.turnseat = *seat;
    t.m_shown.cardAsked = false;
    pointArrow(*seat);
    m_turnedDown = turnedDown;
    if (*seat != t.m_shown.myslot) return;
    turnSound();
    offerNaming();
}

void Tchat::Turns::offerNaming() {
    // A dealer the house rules stick with the last call is offered no Pass.
    const bool stuck =
        rules::mustNameTrump(t.m_shown.houseRules, t.m_shown.myslot, t.m_shown.dealer);
    for (int suit = Clubs; suit <= Hearts; ++suit) {
        // The turned-down suit may not be named: its place offers Pass.
        if (suit != m_turnedDown)
            offer(suit, bubbleForSuit(suit), bubbleForSuit(suit));
        else if (!stuck)
            offer(suit, kPassPicture, BubbleNamePass);
    }
}

void Tchat::Turns::namingRefused(const QString& why) {
    setStatus(why);
    if (t.m_shown.turnseat != t.m_shown.myslot || t.m_shown.cardAsked) return;
    offerNaming();
}

void Tchat::Turns::trumpchoosen(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kSeats);
    if (!seat) return;
    const int suit = reader.number(0, 99).value_or(0);
    setStatus(sentence(Say::Chose, *seat, QString::fromLatin1(suitName(suit))));
    showMaker(*seat);
    const bool named = suit >= Clubs && suit <= Hearts;
    if (named)
        t.m_shown.trump = 52 + suit;
    else
        t.m_shown.trump.reset();
    // An order-up keeps its tag: the suit is the turned card's, already in view.
    const int bid = t.m_shown.seats[static_cast<size_t>(*seat)].bid;
    if (named && bid != art::BidOrderedUp && bid != art::BidPickedUp)
        setBid(*seat, art::BidClubs + suit - Clubs);
    // Trump is fixed: the own hand gathers its trumps.
    t.m_shown.handTrump = named ? suit : 0;
    t.m_hand->sortthem();
}

void Tchat::Turns::setaloner(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    t.m_shown.discardAsked = false;
    clearbubbles();
    if (!seat) return;
    setStatus(sentence(Say::GoAlone, *seat));
    t.m_shown.turnseat = *seat;
    t.m_shown.cardAsked = false;
    // The arrow already points at the maker, unless this question is the
    // first thing a player joining the game is asked.
    if (std::exchange(m_caughtUp, false)) pointArrow(*seat);
    if (*seat == t.m_shown.myslot) {
        offer(2, kAlonePicture, BubbleAlone);
        offer(1, kWithPartnerPicture, BubbleWithPartner);
    }
}

void Tchat::Turns::setdiscarder(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    clearbubbles();
    if (!seat) return;
    setStatus(sentence(Say::Discard, *seat));
    t.m_shown.turnseat = *seat;
    t.m_shown.cardAsked = true;
    pointArrow(*seat);
    if (*seat == t.m_shown.myslot) {
        turnSound();
        t.m_shown.discardAsked = true;
    }
}

void Tchat::Turns::setnextplayer(QByteArrayView args) {
    const std::optional<int> seat = FieldReader(args).number(1, kSeats);
    t.m_shown.discardAsked = false;
    clearbubbles();
    if (!seat) return;
    t.m_shown.turnseat = *seat;
    t.m_shown.cardAsked = true;
    setStatus(sentence(Say::PlayACard, *seat));
    t.m_shown.trickWinner = 0;
    pointArrow(*seat);
    if (*seat == t.m_shown.myslot) turnSound();
    t.m_shown.showDefaultName(*seat);
}

// ---- joining a game in progress ----

// The catch-up tells the hands, the tricks and the cards on the table, not
// who is asked; the host asks only the newcomer's own seat again. During the
// card play the seat to play follows from the hands: each seat in play holds
// one card fewer once it has played to the trick, and the seats play in
// turn. Whatever the hands cannot tell (the bidding, a trick not yet led)
// the status line admits, rather than guess.
void Tchat::Turns::showCaughtUpTurn(const std::array<int, 5>& caughtUp) {
    std::array<int, 5> counts = caughtUp;
    if (isSeat(t.m_shown.myslot)) {
        int held = 0;
        for (int k = 1; k <= kHandSize; ++k)
            held += t.m_shown.handslots[static_cast<size_t>(k)].occupied;
        counts[static_cast<size_t>(t.m_shown.myslot)] = held;
    }
    const int tricks =
        t.m_shown.scores.tricks[1].value_or(0) + t.m_shown.scores.tricks[2].value_or(0);
    const int beforePlaying = kHandSize - tricks;
    std::array<bool, 5> played{};
    int inPlay = 0, playedCount = 0;
    bool consistent = true;
    for (int s = 1; s <= kSeats; ++s) {
        const int count = counts[static_cast<size_t>(s)];
        if (count == 0) continue; // sits the hand out, or no hand is dealt
        ++inPlay;
        if (count == beforePlaying - 1) {
            played[static_cast<size_t>(s)] = true;
            ++playedCount;
        } else if (count != beforePlaying) {
            consistent = false;
        }
    }
    const auto previousInPlay = [&counts](int seat) {
        for (int step = 0; step < kSeats; ++step) {
            seat = seat == 1 ? kSeats : seat - 1;
            if (counts[static_cast<size_t>(seat)] > 0) return seat;
        }
        return 0;
    };
    int next = 0;
    if (consistent && inPlay >= 3 && playedCount > 0 && playedCount < inPlay) {
        for (int s = 1; s <= kSeats; ++s) {
            if (counts[static_cast<size_t>(s)] == 0 || played[static_cast<size_t>(s)]) continue;
            if (!played[static_cast<size_t>(previousInPlay(s))]) continue;
            // Two seats after a played card: not one trick in turn order.
            next = next == 0 ? s : -1;
        }
    }
    // Trump is fixed once the play has begun or someone sits the hand out.
    const int trumpEntry = t.m_shown.trump.value_or(0);
    const bool begun = consistent && (tricks > 0 || playedCount > 0 || inPlay == kSeats - 1);
    t.m_shown.handTrump = begun && trumpEntry > 52 ? trumpEntry - 52 : 0;
    t.m_hand->sortthem();
    m_caughtUp = true;
    if (next > 0) {
        t.m_shown.turnseat = next;
        t.m_shown.cardAsked = false;
        pointArrow(next);
        setStatus(sentence(Say::PlayACard, next));
    } else {
        pointArrow(0);
        setStatus(kWaitingForMove);
    }
}

// ---- the start of a game and of each deal ----

void Tchat::Turns::clearall() {
    t.m_shown.scores.score = {};
    t.m_shown.scores.tricks = {};
    for (int s = 1; s <= kSeats; ++s) t.m_shown.seats[static_cast<size_t>(s)].watching = false;
    t.m_hand->clearTrick();
    t.m_shown.arrow = 0;
    t.m_shown.trump.reset();
    clearBids();
}

void Tchat::Turns::startround() {
    t.m_shown.scores.bonus = {};
    t.m_hand->clearHand();
    for (int s = 1; s <= kSeats; ++s) {
        if (s != t.m_shown.myslot) t.m_hand->setBacks(s, 0);
        t.m_shown.seats[static_cast<size_t>(s)].maker = false;
    }
    t.m_shown.scores.tricks = {0, 0, 0};
    t.m_shown.scores.makers = {};
    clearBids();
    t.m_shown.handTrump = 0;
    t.m_hand->clampKeyPlace();
}

void Tchat::Turns::startthegame(QByteArrayView args) {
    t.m_gameOn = true;
    t.m_tracker->start(t.m_shown.myslot);
    FieldReader reader(args);
    const QString starter = QString::fromUtf8(reader.text());
    const std::optional<int> playto = reader.number(0, 999);
    t.m_shown.startOffered = false;
    t.m_shown.discardAsked = false;
    clearall();
    if (isSeat(t.m_shown.myslot) && t.m_shown.seatName(t.m_shown.myslot) == starter)
        t.notice(kYouStarted);
    else
        t.notice(QStringLiteral("0+") + starter + kHasStarted);
    if (playto) t.m_shown.scores.playto = *playto;
    // A game by the plain rules carries no fourth field, as games always did.
    useRules(readRuleset(reader.atEnd() ? QByteArrayView() : reader.text()));
    for (int s = 2; s <= kSeats; ++s) t.m_shown.showDefaultName(s);
    for (int s = 1; s <= kSeats; ++s) t.m_shown.seats[static_cast<size_t>(s)].watching = false;
    t.m_shown.winners = 0;
    t.m_justWatch->setChecked(false);
}

void Tchat::Turns::useRules(const rules::Ruleset& rules) {
    t.m_shown.houseRules = rules;
    t.m_shown.scores.houseRules = houseRulesLine(rules);
    if (!rules.isPlain()) t.notice(QStringLiteral("0+") + houseRulesNotice(rules));
}

void Tchat::Turns::loadrules(QByteArrayView args) {
    useRules(readRuleset(FieldReader(args).text()));
}

void Tchat::Turns::badrules(QByteArrayView args) {
    // The item as the host quotes it, shown as text and kept short.
    const QString item = QString::fromUtf8(FieldReader(args).text()).left(kMaxQuotedRule);
    t.notice(QStringLiteral("0+") + kBadRules.arg(item));
}

} // namespace euchre
