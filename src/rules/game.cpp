// The steps of a game: dealing, both bidding phases, going alone, the
// dealer's discard, trick play, scoring and the end of the game.
#include "rules/game.h"

#include "model/bubble.h"
#include "rules/rules.h"

namespace euchre::rules {

namespace {

constexpr int kFirstDealerDue = 6; // the first dealer search steps past 4 to seat 1

// The seat to the right of a seat, which the seat itself follows.
constexpr int seatBefore(int seat) {
    return seat <= 1 ? kSeats : seat - 1;
}

void ask(Table& t, Phase phase, int seat) {
    t.phase = phase;
    t.seat = seat;
    t.dealerdue = 0;
}

void dealHand(Table& t, int packetOrder, Events& ev);

// A new deal by the seat after t.dealerdue, the hands and trick cleared.
void startRound(Table& t, Events& ev) {
    for (int seat = 1; seat <= kSeats; ++seat) {
        t.hand[seat].fill(kNoCard);
        t.sitsout[seat] = false;
        t.alone[seat] = false;
        t.played[seat] = kNoCard;
    }
    t.team[1].tricks = 0;
    t.team[2].tricks = 0;
    t.refusedsuit = t.trump = t.dealer = 0;
    t.record = DealRecord{};
    t.phase = Phase::Dealing;
    t.seat = 0;
    t.orderedup = false;
    t.tricknumber = 1;
    t.ledsuit = 0;
    t.leaderBefore = 0;
    // The deal passes to the left.
    t.dealerdue = t.dealerdue >= kSeats ? 1 : t.dealerdue + 1;
    t.dealer = t.dealerdue;
    ev.push(Event::of(EventKind::Dealer, t.dealer));
    dealHand(t, 0, ev);
}

void askChooser(Table& t, int after, Events& ev);

void askBidder(Table& t, int after, Events& ev) {
    const int seat = nextSeat(after);
    if (seat == t.firstasked) {
        // Everyone passed the turned card: the naming phase starts left of the dealer.
        t.firstasked = 0;
        t.refusedsuit = t.trump;
        askChooser(t, t.dealer, ev);
        return;
    }
    if (t.firstasked == 0) t.firstasked = seat;
    ask(t, Phase::OrderUp, seat);
    ev.push(Event::of(EventKind::Bidder, seat));
}

void askChooser(Table& t, int after, Events& ev) {
    const int seat = nextSeat(after);
    if (seat == t.firstasked) {
        // Everyone passed twice: the cards are thrown in and the next seat deals.
        t.dealerdue = t.dealer;
        startRound(t, ev);
        return;
    }
    if (t.firstasked == 0) t.firstasked = seat;
    ask(t, Phase::Naming, seat);
    ev.push(Event::trump(EventKind::Chooser, seat, t.trump));
}

// Seat 1 is always served first, whoever deals; the card after the hands is turned.
void dealHand(Table& t, int packetOrder, Events& ev) {
    t.deckpos = 0;
    t.deck.shuffledeck();
    const int first = packetOrder == 0 ? 2 : 3;
    for (int served = 1; served <= kSeats; ++served)
        for (int pos = 1; pos <= first; ++pos) t.hand[served][pos] = t.deck.deckcard(++t.deckpos);
    for (int served = 1; served <= kSeats; ++served)
        for (int pos = first + 1; pos <= kHandSize; ++pos)
            t.hand[served][pos] = t.deck.deckcard(++t.deckpos);
    ev.push(Event::of(EventKind::Dealt));

    const int turned = t.deck.deckcard(++t.deckpos);
    t.record.turned = turned;
    t.trump = naturalSuit(turned);
    t.leftbower = leftBowerOf(t.trump);
    ev.push(Event::turned(turned));

    t.dealerdue = 0;
    t.firstasked = 0;
    askBidder(t, t.dealer, ev);
}

void startTrick(Table& t, Events& ev);

// The maker's answer to going alone (or the answer the house rules give for it).
void settleAlone(Table& t, int seat, int code, Events& ev) {
    if (code == BubbleAlone) {
        t.alone[seat] = true;
        t.sitsout[partnerOf(seat)] = true;
    }
    ev.push(Event::goingAlone(seat, code));
    if (t.orderedup) {
        // The dealer picks up the turned card, also when sitting this hand out.
        ask(t, Phase::Discard, t.dealer);
        ev.push(Event::of(EventKind::Discarder, t.dealer));
        return;
    }
    t.leaderBefore =
        seatBefore(firstLeader(t.rules, t.dealer, code == BubbleAlone ? seat : 0, t.orderedup));
    startTrick(t, ev);
}

void makeTrump(Table& t, int seat, Events& ev) {
    ev.push(Event::trump(EventKind::TrumpMade, seat, t.trump));
    t.team[teamOf(seat)].makers = true;
    t.team[3 - teamOf(seat)].makers = false;
    t.makerseat = seat;
    t.record.maker = seat;
    if (mustGoAlone(t.rules, seat, t.dealer, t.orderedup)) {
        settleAlone(t, seat, BubbleAlone, ev);
        return;
    }
    ask(t, Phase::GoingAlone, seat);
    ev.push(Event::of(EventKind::Aloner, seat));
}

// Begins a trick led by the seat after t.leaderBefore.
void startTrick(Table& t, Events& ev) {
    t.played.fill(kNoCard);
    t.ledsuit = 0;
    ev.push(Event::of(EventKind::TrickStarted));
    const int seat = nextInPlay(t.leaderBefore, t.sitsout);
    t.leaderBefore = 0;
    ask(t, Phase::Play, seat);
    ev.push(Event::of(EventKind::NextPlayer, seat));
}

// Scores the hand after its fifth trick and decides the game.
void scoreHand(Table& t, Events& ev) {
    const int making = t.team[1].makers ? 1 : 2;
    bool loner = false;
    for (int seat = 1; seat <= kSeats; ++seat)
        if (teamOf(seat) == making && t.alone[seat]) loner = true;
    const std::array<int, 3> points = handPoints(t.rules, making, t.team[making].tricks, loner);
    t.team[1].score += points[1];
    t.team[2].score += points[2];
    ev.push(Event::scored(making, t.team[1].score, points[1], t.team[2].score, points[2]));
    if (!gameDecided(t.team[1].score, t.team[2].score, t.playto)) {
        ask(t, Phase::HandPause, 0);
        return;
    }
    ask(t, Phase::GameOver, 0);
    ev.push(Event::gameWon(winningTeam(t.team[1].score, t.team[2].score)));
}

void finishTrick(Table& t, Events& ev) {
    ask(t, Phase::TrickPause, 0);
    ++t.tricknumber;
    const int winner = trickWinner(t.played, t.sitsout, t.trump, t.leftbower, t.ledsuit);
    if (isSeat(winner)) ++t.team[teamOf(winner)].tricks;
    ev.push(Event::trickWon(winner, t.team[1].tricks, t.team[2].tricks));
    t.ledsuit = 0;
    if (t.tricknumber > kHandSize) {
        scoreHand(t, ev);
        return;
    }
    // The winner leads after the pause.
    t.leaderBefore = seatBefore(winner);
}

void discard(Table& t, int seat, int position, Events& ev) {
    const int turned = t.deck.deckcard(t.deckpos);
    t.record.discard = t.hand[seat][position];
    t.hand[seat][position] = turned;
    ev.push(Event::place(EventKind::Switched, seat, position, turned));
    int loner = 0;
    for (int s = 1; s <= kSeats; ++s)
        if (t.alone[s]) loner = s;
    t.leaderBefore = seatBefore(firstLeader(t.rules, t.dealer, loner, t.orderedup));
    startTrick(t, ev);
}

bool play(Table& t, int seat, int position, Events& ev) {
    Hand& hand = t.hand[seat];
    const int card = hand[position];
    if (card == kNoCard) {
        ev.push(Event::place(EventKind::EmptyPlace, seat, position));
        return false;
    }
    if (!isLegalPlay(hand, position, t.ledsuit, t.trump, t.leftbower)) {
        ev.push(Event::place(EventKind::RefusedCard, seat, position));
        return false;
    }
    // The trick's first card sets the suit; a seat that does not follow it
    // shows everyone that it holds none.
    const int suit = effectiveSuit(card, t.trump, t.leftbower);
    if (t.ledsuit == NoSuit)
        t.ledsuit = suit;
    else if (suit != t.ledsuit)
        t.record.voids[seat] |= std::uint8_t(1u << t.ledsuit);
    DealRecord& r = t.record;
    if (r.playCount < int(r.plays.size()))
        r.plays[r.playCount++] = {std::uint8_t(seat), std::uint8_t(card)};
    t.played[seat] = card;
    hand[position] = kNoCard;
    ev.push(Event::place(EventKind::Played, seat, position, card));

    // Seats play in turn from the leader, so the trick is complete when the
    // next seat in play is the leader, who has played.
    const int next = nextInPlay(seat, t.sitsout);
    if (t.played[next] != kNoCard) {
        finishTrick(t, ev);
        return true;
    }
    ask(t, Phase::Play, next);
    ev.push(Event::of(EventKind::NextPlayer, next));
    return true;
}

} // namespace

bool Game::startGame(int playto, const Ruleset& rules, Events& ev) {
    Table& t = m_table;
    t.rules = rules;
    t.playto = playto;
    for (int team = 1; team <= 2; ++team) t.team[team] = TeamRecord{};
    t.makerseat = 0;
    t.dealerdue = kFirstDealerDue;
    startRound(t, ev);
    return true;
}

bool Game::deal(int seat, int packetOrder, Events& ev) {
    Table& t = m_table;
    if (t.phase != Phase::Dealing || seat == 0 || seat != t.dealerdue) return false;
    dealHand(t, packetOrder, ev);
    return true;
}

bool Game::decide(int seat, int code, Events& ev) {
    Table& t = m_table;
    if (namesSuit(code) && code - 2 == t.refusedsuit) {
        // The turned-down suit cannot be named; the seat stays asked.
        ev.push(Event::of(EventKind::RefusedTrump, seat));
        return false;
    }
    const bool asked = t.seat == seat && seat != 0;
    switch (code) {
    case BubbleAccept:
    case BubblePass:
        if (!asked || t.phase != Phase::OrderUp) return false;
        if (code == BubblePass) {
            ev.push(Event::of(EventKind::Passed, seat));
            askBidder(t, seat, ev);
            return true;
        }
        ev.push(Event::of(EventKind::Accepted, seat));
        t.orderedup = true;
        makeTrump(t, seat, ev);
        return true;
    case BubbleClubs:
    case BubbleDiamonds:
    case BubbleSpades:
    case BubbleHearts:
    case BubbleNamePass:
        if (!asked || t.phase != Phase::Naming) return false;
        if (code == BubbleNamePass) {
            if (mustNameTrump(t.rules, seat, t.dealer)) {
                // The dealer stays asked, as after naming the turned-down suit.
                ev.push(Event::of(EventKind::RefusedPass, seat));
                return false;
            }
            ev.push(Event::of(EventKind::Passed, seat));
            askChooser(t, seat, ev);
            return true;
        }
        t.trump = code - 2;
        t.leftbower = leftBowerOf(t.trump);
        makeTrump(t, seat, ev);
        return true;
    case BubbleAlone:
    case BubbleWithPartner:
        if (!asked || t.phase != Phase::GoingAlone) return false;
        settleAlone(t, seat, code, ev);
        return true;
    default:
        return false;
    }
}

bool Game::playCard(int seat, int position, Events& ev) {
    Table& t = m_table;
    if (seat == 0 || seat != t.seat || position < 1 || position > kHandSize) return false;
    if (t.phase == Phase::Discard) {
        discard(t, seat, position, ev);
        return true;
    }
    if (t.phase != Phase::Play) return false;
    return play(t, seat, position, ev);
}

bool Game::proceed(Events& ev) {
    Table& t = m_table;
    if (t.phase == Phase::TrickPause) {
        startTrick(t, ev);
        return true;
    }
    if (t.phase == Phase::HandPause) {
        t.dealerdue = t.dealer; // the next seat deals
        startRound(t, ev);
        return true;
    }
    return false;
}

bool Game::gather(int seat) {
    Table& t = m_table;
    const bool paused =
        t.phase == Phase::TrickPause || t.phase == Phase::HandPause || t.phase == Phase::GameOver;
    if (!paused || !isSeat(seat)) return false;
    t.played[seat] = kNoCard;
    return true;
}

} // namespace euchre::rules
