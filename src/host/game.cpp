// The host's game handlers: each reads its message, hands the decision to the
// rules core, keeps the new state in the host's records and announces it.
#include "host/tserver.h"

#include "model/card.h"
#include "net/commands.h"
#include "rules/game.h"
#include "rules/rules.h"

namespace euchre {

namespace {
constexpr int kMaxPlayTo = 1000000;
} // namespace

rules::Table TServer::table() const {
    rules::Table t;
    t.phase = phase;
    switch (phase) {
    case rules::Phase::OrderUp:
        t.seat = bidder;
        break;
    case rules::Phase::Naming:
        t.seat = chooser;
        break;
    case rules::Phase::GoingAlone:
        t.seat = aloner;
        break;
    case rules::Phase::Discard:
        t.seat = discarder;
        break;
    case rules::Phase::Play:
        t.seat = nextplayer;
        break;
    default:
        t.seat = 0;
        break;
    }
    for (int seat = 1; seat <= kSeats; ++seat) {
        const PlayerSlot& p = playerslot[seat];
        t.hand[seat] = p.hand;
        t.played[seat] = p.played;
        t.sitsout[seat] = p.sitsout;
        t.alone[seat] = p.alone;
    }
    t.team = teamrecord;
    t.playto = playto;
    t.dealer = dealer;
    t.dealerdue = dealerdue;
    t.firstasked = firstasked;
    t.makerseat = makerseat;
    t.deckpos = deckpos;
    t.trump = trump;
    t.leftbower = leftbower;
    t.refusedsuit = refusedsuit;
    t.ledsuit = ledsuit;
    t.tricknumber = tricknumber;
    t.orderedup = orderedup;
    t.leaderBefore = nextleaderbefore;
    t.deck = thedeck;
    t.record = m_record;
    return t;
}

void TServer::keep(const rules::Table& t) {
    phase = t.phase;
    // The one place the asked seats are set: at most one of them is non-zero.
    bidder = t.phase == rules::Phase::OrderUp ? t.seat : 0;
    chooser = t.phase == rules::Phase::Naming ? t.seat : 0;
    aloner = t.phase == rules::Phase::GoingAlone ? t.seat : 0;
    discarder = t.phase == rules::Phase::Discard ? t.seat : 0;
    nextplayer = t.phase == rules::Phase::Play ? t.seat : 0;
    for (int seat = 1; seat <= kSeats; ++seat) {
        PlayerSlot& p = playerslot[seat];
        p.hand = t.hand[seat];
        p.played = t.played[seat];
        p.sitsout = t.sitsout[seat];
        p.alone = t.alone[seat];
    }
    teamrecord = t.team;
    playto = t.playto;
    dealer = t.dealer;
    dealerdue = t.dealerdue;
    firstasked = t.firstasked;
    makerseat = t.makerseat;
    deckpos = t.deckpos;
    trump = t.trump;
    leftbower = t.leftbower;
    refusedsuit = t.refusedsuit;
    ledsuit = t.ledsuit;
    tricknumber = t.tricknumber;
    orderedup = t.orderedup;
    nextleaderbefore = t.leaderBefore;
    thedeck = t.deck;
    m_record = t.record;
}

template <typename Step> bool TServer::apply(Step&& step) {
    rules::Table t = table();
    rules::Events events;
    const bool moved = step(t, events);
    if (moved) keep(t);
    // A level chosen during a deal reaches the computer seats with the next one.
    for (const rules::Event& e : events)
        if (e.kind == rules::EventKind::Dealer) m_level = m_pendingLevel;
    announce(events);
    // A refused or ignored move leaves the timer alone, a pending computer move included.
    if (moved) armForPhase();
    return moved;
}

void TServer::startgame(QByteArrayView args) {
    FieldReader fields(args);
    const QByteArrayView name = fields.text();
    const std::optional<int> target = fields.number(1, kMaxPlayTo);
    // A play-to score that is not a number leaves everything as it was.
    if (!target) {
        hostLog(QStringLiteral("not starting a game: bad play-to score"));
        return;
    }
    gameon = true;
    sendToAll(MessageBuilder(cmd::startgame).field(name).field(*target).done(true));
    for (int seat = 1; seat <= kSeats; ++seat) playerslot[seat].watching = false;
    apply([&](rules::Table& t, rules::Events& ev) { return rules::startGame(t, *target, ev); });
}

void TServer::startround() {
    apply([](rules::Table& t, rules::Events& ev) { return rules::startRound(t, ev); });
}

void TServer::dealtype(int seat, int packetOrder) {
    apply(
        [&](rules::Table& t, rules::Events& ev) { return rules::deal(t, seat, packetOrder, ev); });
}

void TServer::selectedbubble(QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> seat = fields.number(1, kSeats);
    const std::optional<int> code = fields.number(1, BubbleNamePass);
    if (!seat || !code) return;
    apply([&](rules::Table& t, rules::Events& ev) { return rules::decide(t, *seat, *code, ev); });
}

void TServer::playcard(QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> seat = fields.number(1, kSeats);
    const std::optional<int> position = fields.number(1, kHandSize);
    // A position outside the hand is refused before anything is looked up.
    if (!seat || !position) return;
    if (*seat == discarder && discarder != 0)
        apply([&](rules::Table& t, rules::Events& ev) {
            return rules::playCard(t, *seat, *position, ev);
        });
    else if (*seat == nextplayer)
        hesplaying(*seat, *position);
}

void TServer::starthand() {
    apply([this](rules::Table& t, rules::Events& ev) {
        t.leaderBefore = nextplayer;
        return rules::startTrick(t, ev);
    });
}

void TServer::hesplaying(int seat, int position) {
    if (seat != nextplayer || !isSeat(seat)) return;
    const PlayerSlot& p = playerslot[seat];
    const bool held = position >= 1 && position <= kHandSize && p.hand[position] != kNoCard;
    if (held && p.played != kNoCard) {
        hostLog(QStringLiteral("player: %1 played double! Next Player Is:%2 Timer Tag is %3")
                    .arg(seat)
                    .arg(nextplayer)
                    .arg(ctimerTag));
    }
    apply(
        [&](rules::Table& t, rules::Events& ev) { return rules::playCard(t, seat, position, ev); });
}

bool TServer::checkforsuit(int seat) const {
    return isSeat(seat) && rules::holdsSuit(playerslot[seat].hand, ledsuit, trump, leftbower);
}

int TServer::thewinner() const {
    std::array<int, 5> played{};
    std::array<bool, 5> sitsout{};
    for (int seat = 1; seat <= kSeats; ++seat) {
        played[seat] = playerslot[seat].played;
        sitsout[seat] = playerslot[seat].sitsout;
    }
    return rules::trickWinner(played, sitsout, trump, leftbower, ledsuit);
}

void TServer::tallyscore() {
    apply([](rules::Table& t, rules::Events& ev) { return rules::scoreHand(t, ev); });
}

} // namespace euchre
