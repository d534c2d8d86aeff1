// The host's game handlers: each reads its message, hands the decision to the
// game, and announces what happened.
#include "host/tserver.h"

#include "host/hosttext.h"
#include "model/card.h"
#include "net/commands.h"
#include "rules/game.h"

namespace euchre {

namespace {
constexpr int kMaxPlayTo = 1000000;
// Of a refused ruleset, at most this many characters go back and to the log.
constexpr qsizetype kMaxShownRuleItem = 60;
} // namespace

template <typename Step> bool TServer::apply(Step&& step) {
    rules::Events events;
    const bool moved = step(m_game, events);
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
    // No ruleset at all: the table's own; an empty one: no house rules.
    rules::Ruleset ruleset = m_defaultRules;
    if (!fields.atEnd()) {
        const QByteArrayView text = fields.text();
        std::string_view bad;
        const std::optional<rules::Ruleset> asked =
            rules::parseRuleset(std::string_view(text.data(), std::size_t(text.size())), &bad);
        if (!asked) {
            // Only the hosting player starts games: that window says why nothing began.
            const QByteArrayView item =
                utf8Left(QByteArrayView(bad.data(), qsizetype(bad.size())), kMaxShownRuleItem);
            hostLog(QStringLiteral("not starting a game: unknown house rule '%1'")
                        .arg(QString::fromUtf8(item)));
            if (playerslot[1].connected)
                sendTo(1, MessageBuilder(cmd::badrules).field(item).done(true));
            return;
        }
        ruleset = *asked;
    }
    gameon = true;
    MessageBuilder started(cmd::startgame);
    started.field(name).field(*target);
    // The plain rules say nothing more, as a game always did.
    if (!ruleset.isPlain()) started.field(QByteArray::fromStdString(rules::rulesetText(ruleset)));
    sendToAll(started.done(true));
    for (int seat = 1; seat <= kSeats; ++seat) playerslot[seat].watching = false;
    apply(
        [&](rules::Game& game, rules::Events& ev) { return game.startGame(*target, ruleset, ev); });
}

void TServer::selectedbubble(QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> seat = fields.number(1, kSeats);
    const std::optional<int> code = fields.number(1, BubbleNamePass);
    if (!seat || !code) return;
    apply([&](rules::Game& game, rules::Events& ev) { return game.decide(*seat, *code, ev); });
}

void TServer::playcard(QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> seat = fields.number(1, kSeats);
    const std::optional<int> position = fields.number(1, kHandSize);
    // A position outside the hand is refused before anything is looked up.
    if (!seat || !position) return;
    const rules::Asked asked = m_game.asked();
    if (asked.wantsCard() && asked.seat == *seat) hesplaying(*seat, *position);
}

void TServer::hesplaying(int seat, int position) {
    const rules::Table& t = m_game.table();
    if (seat == t.nextplayer() && t.hand[seat][position] != kNoCard && t.played[seat] != kNoCard) {
        hostLog(QStringLiteral("player: %1 played double! Next Player Is:%2 Timer Tag is %3")
                    .arg(seat)
                    .arg(t.nextplayer())
                    .arg(ctimerTag));
    }
    apply([&](rules::Game& game, rules::Events& ev) { return game.playCard(seat, position, ev); });
}

void TServer::proceed() {
    apply([](rules::Game& game, rules::Events& ev) { return game.proceed(ev); });
}

} // namespace euchre
