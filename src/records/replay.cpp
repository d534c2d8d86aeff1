// Replaying a record: the hands are taken from the record, or worked out
// from the tricks where it leaves them out, and every call and card then
// goes through the rules core's own steps, which refuse what is illegal.
#include "records/replay.h"

#include "model/bubble.h"
#include "records/egn.h"
#include "rules/game.h"
#include "rules/rules.h"

#include <algorithm>
#include <limits>

namespace euchre::records {

namespace {

using rules::Phase;
using rules::Question;

// A game of so many deals never reaches this score.
constexpr int kNoWinningScore = std::numeric_limits<int>::max() / 4;

// What the calls make, read ahead of the rules so that hands missing from
// the record can be worked out from the tricks.
struct Making {
    int maker = 0;
    int trump = 0;
    bool orderedUp = false;
};

Making makingOf(const DealRecord& deal) {
    Making m;
    int seat = deal.dealer;
    for (const Call& call : deal.calls) {
        seat = nextSeat(seat);
        if (call.kind == Call::Pass) continue;
        m.maker = seat;
        m.orderedUp = call.kind == Call::Order;
        m.trump = m.orderedUp ? naturalSuit(deal.upCard) : call.suit;
        break;
    }
    return m;
}

class DealReplayer {
public:
    DealReplayer(rules::Game& game, const rules::Ruleset& rules, ReplayDeal& out,
                 const ReplayOptions& options, int number, bool last)
        : m_game(game), m_rules(rules), m_out(out), m_options(options), m_number(number),
          m_open(last && options.lastDealOpen) {}

    // Tells the options' watcher of a move about to be made.
    void before(int answer) {
        if (m_options.onMove) m_options.onMove(m_number, m_game.table(), answer);
    }

    bool fault(const QString& move, const QString& why) {
        m_out.faultMove = move;
        m_out.faultWhy = why;
        return false;
    }

    // The dealt hands: the record's, or each seat's played cards put back
    // together. False when a card shows up twice.
    bool workOutHands(const DealRecord& deal) {
        std::array<bool, 53> seen{};
        seen[deal.upCard] = true;
        const bool given =
            deal.handsGiven &&
            std::all_of(deal.hands.begin() + 1, deal.hands.end(), [](const DealtHand& h) {
                return std::none_of(h.begin(), h.end(), [](int c) { return c == 0; });
            });
        if (given) {
            for (int seat = 1; seat <= kSeats; ++seat)
                for (const int card : deal.hands[seat]) {
                    if (seen[card])
                        return fault(QStringLiteral("dealt hands"),
                                     QStringLiteral("%1 is dealt twice").arg(cardText(card)));
                    seen[card] = true;
                }
            m_out.hands = deal.hands;
            return true;
        }
        // Who led and won each trick follows from the rules alone.
        const Making m = makingOf(deal);
        const int loner =
            m.maker && (deal.alone || mustGoAlone(m_rules, m.maker, deal.dealer, m.orderedUp))
                ? m.maker
                : 0;
        std::array<bool, 5> sitsout{};
        if (loner) sitsout[partnerOf(loner)] = true;
        std::array<std::vector<int>, 5> played;
        int leader = firstLeader(m_rules, deal.dealer, loner, m.orderedUp);
        const int left = leftBowerOf(m.trump);
        for (std::size_t t = 0; t < deal.tricks.size(); ++t) {
            std::array<int, 5> trick{};
            int seat = leader;
            for (std::size_t i = 0; i < deal.tricks[t].size(); ++i) {
                const int card = deal.tricks[t][i];
                const QString move = QStringLiteral("trick %1 card %2").arg(t + 1).arg(i + 1);
                // A card nobody can hold is left out of the hands; the replay
                // stops at it with this reason, after showing the deal so far.
                QString wrong;
                if (card == deal.upCard && !(m.orderedUp && seat == deal.dealer))
                    wrong = QStringLiteral("%1 is the turned card").arg(cardText(card));
                else if (card != deal.upCard && seen[card])
                    wrong = QStringLiteral("%1 is played twice").arg(cardText(card));
                if (!wrong.isEmpty() || i >= std::size_t(loner ? 3 : 4)) {
                    if (m_wrongWhy.isEmpty() && !wrong.isEmpty()) {
                        m_wrongTrick = int(t);
                        m_wrongCard = int(i);
                        m_wrongWhy = wrong;
                    }
                    break;
                }
                seen[card] = true;
                played[seat].push_back(card);
                trick[seat] = card;
                seat = rules::nextInPlay(seat, sitsout);
            }
            const int led =
                effectiveSuit(deal.tricks[t].empty() ? 0 : deal.tricks[t][0], m.trump, left);
            const int winner = rules::trickWinner(trick, sitsout, m.trump, left, led);
            if (winner) leader = winner;
        }
        for (int seat = 1; seat <= kSeats; ++seat) {
            std::vector<int> cards = played[seat];
            if (m.orderedUp && seat == deal.dealer) {
                const auto up = std::find(cards.begin(), cards.end(), deal.upCard);
                if (up != cards.end()) cards.erase(up);
                if (deal.discard && deal.discard != deal.upCard) cards.push_back(deal.discard);
            }
            if (cards.size() > std::size_t(kHandSize))
                return fault(QStringLiteral("dealt hands"),
                             QStringLiteral("seat %1 plays more than five cards").arg(seat - 1));
            DealtHand hand{};
            std::copy(cards.begin(), cards.end(), hand.begin());
            // A hand the keeper saw whole (its own) is taken as it was dealt.
            const bool seen = std::none_of(deal.hands[seat].begin(), deal.hands[seat].end(),
                                           [](int c) { return c == 0; });
            m_out.hands[seat] = seen ? deal.hands[seat] : hand;
        }
        if (deal.discard && deal.discard != deal.upCard) {
            if (seen[deal.discard])
                return fault(QStringLiteral("discard"),
                             QStringLiteral("%1 is also played").arg(cardText(deal.discard)));
        }
        return true;
    }

    // The table as the record deals it. A card the record does not tell
    // leaves its place empty: nobody plays it, and no rule asks for it.
    void layOut(const DealRecord& deal) {
        rules::Table& t = m_game.arrange();
        for (int seat = 1; seat <= kSeats; ++seat) {
            t.hand[seat].fill(kNoCard);
            for (int pos = 1; pos <= kHandSize; ++pos) {
                t.hand[seat][pos] = m_out.hands[seat][pos - 1];
            }
            t.played[seat] = kNoCard;
            t.sitsout[seat] = false;
            t.alone[seat] = false;
        }
        std::array<int, Deck::kSize> deck{};
        deck[Deck::kTurnedPosition - 1] = deal.upCard;
        t.deck.setCards(deck);
        t.deckpos = Deck::kTurnedPosition;
        t.record = rules::DealRecord{};
        t.record.turned = deal.upCard;
        t.dealer = deal.dealer;
        t.dealerdue = 0;
        t.team[1].tricks = t.team[2].tricks = 0;
        t.trump = naturalSuit(deal.upCard);
        t.leftbower = leftBowerOf(t.trump);
        t.refusedsuit = 0;
        t.orderedup = false;
        t.tricknumber = 1;
        t.ledsuit = 0;
        t.leaderBefore = 0;
        t.firstasked = nextSeat(deal.dealer);
        t.phase = Phase::OrderUp;
        t.seat = t.firstasked;
    }

    bool bid(const DealRecord& deal) {
        rules::Events ev;
        for (std::size_t k = 0; k < deal.calls.size(); ++k) {
            const Call& call = deal.calls[k];
            const QString move = QStringLiteral("call %1").arg(k + 1);
            const rules::Asked asked = m_game.asked();
            if (asked.question != Question::OrderUp && asked.question != Question::Naming)
                return fault(move, QStringLiteral("a call after the bidding ended"));
            m_out.calls.push_back({asked.seat, call});
            int code = 0;
            if (asked.question == Question::OrderUp) {
                if (call.kind == Call::Name)
                    return fault(move,
                                 QStringLiteral("a suit named while the turned card is offered"));
                code = call.kind == Call::Order ? BubbleAccept : BubblePass;
            } else {
                if (call.kind == Call::Order)
                    return fault(
                        move, QStringLiteral("the turned card ordered after it was turned down"));
                code = call.kind == Call::Name ? bubbleForSuit(call.suit) : BubbleNamePass;
            }
            before(code);
            ev.clear();
            if (!m_game.decide(asked.seat, code, ev)) {
                const bool mustName = !ev.empty() && ev[0].kind == rules::EventKind::RefusedPass;
                return fault(move, mustName
                                       ? QStringLiteral("the dealer must name a suit")
                                       : QStringLiteral("the turned-down suit cannot be named"));
            }
            for (const rules::Event& e : ev)
                if (e.kind == rules::EventKind::Dealer) m_out.thrownIn = true;
            if (m_out.thrownIn && k + 1 < deal.calls.size())
                return fault(QStringLiteral("call %1").arg(k + 2),
                             QStringLiteral("a call after the deal was thrown in"));
        }
        if (m_out.thrownIn) {
            if (deal.hasPlay)
                return fault(QStringLiteral("trick 1"),
                             QStringLiteral("cards played in a thrown-in deal"));
            return true;
        }
        const rules::Table& t = m_game.table();
        m_out.maker = t.record.maker;
        m_out.orderedUp = t.orderedup;
        if (t.record.maker) m_out.trump = t.trump;
        if (m_game.asked().question == Question::GoingAlone) {
            if (m_open && !m_options.aloneAnswered) return true;
            const int code = deal.alone ? BubbleAlone : BubbleWithPartner;
            before(code);
            ev.clear();
            m_game.decide(t.seat, code, ev);
        } else if (t.record.maker && !deal.alone && t.alone[t.record.maker]) {
            return fault(QStringLiteral("call %1").arg(deal.calls.size()),
                         QStringLiteral("the dealer's partner who orders up plays alone"));
        } else if (!t.record.maker && deal.alone) {
            return fault(QStringLiteral("bidding"), QStringLiteral("alone, but nobody made trump"));
        }
        for (int seat = 1; seat <= kSeats; ++seat)
            if (t.alone[seat]) m_out.loner = seat;
        return true;
    }

    // The dealer's exchange, then each seat's hand as play begins.
    bool exchange(const DealRecord& deal) {
        if (m_out.thrownIn) {
            m_out.inPlay = m_out.hands;
            return true;
        }
        const bool ok = swapTurned(deal);
        for (int seat = 1; seat <= kSeats; ++seat)
            std::copy(m_game.table().hand[seat].begin() + 1, m_game.table().hand[seat].end(),
                      m_out.inPlay[seat].begin());
        return ok;
    }

    bool swapTurned(const DealRecord& deal) {
        if (m_game.asked().question != Question::Discard) return true;
        if (m_open && !m_options.discardMade) return true;
        rules::Table& t = m_game.arrange();
        const int dealer = t.dealer;
        rules::Events ev;
        if (deal.discard == deal.upCard && deal.discard) {
            // The dealer threw the turned card itself away: the hand stays as dealt.
            const int kept = t.hand[dealer][1];
            before(0);
            m_game.playCard(dealer, 1, ev);
            t.hand[dealer][1] = kept;
            t.record.discard = deal.upCard;
            m_out.discard = deal.upCard;
            return true;
        }
        int position = 0;
        for (int pos = 1; pos <= kHandSize; ++pos) {
            const int card = t.hand[dealer][pos];
            if (deal.discard ? card == deal.discard : m_out.hands[dealer][pos - 1] == 0) {
                position = pos;
                break;
            }
        }
        if (!position && !deal.discard) {
            // Every dealt card is played: the turned card went.
            const int kept = t.hand[dealer][1];
            before(0);
            m_game.playCard(dealer, 1, ev);
            t.hand[dealer][1] = kept;
            return true;
        }
        if (!position)
            return fault(QStringLiteral("discard"),
                         QStringLiteral("the dealer does not hold %1").arg(cardText(deal.discard)));
        before(position);
        m_game.playCard(dealer, position, ev);
        m_out.discard = deal.discard;
        return true;
    }

    bool play(const DealRecord& deal) {
        rules::Events ev;
        for (std::size_t tr = 0; tr < deal.tricks.size(); ++tr) {
            ReplayTrick trick;
            for (std::size_t i = 0; i < deal.tricks[tr].size(); ++i) {
                const int card = deal.tricks[tr][i];
                const QString move = QStringLiteral("trick %1 card %2").arg(tr + 1).arg(i + 1);
                if (!m_wrongWhy.isEmpty() && m_wrongTrick == int(tr) && m_wrongCard == int(i)) {
                    m_out.tricks.push_back(trick);
                    return fault(move, m_wrongWhy);
                }
                const rules::Asked asked = m_game.asked();
                if (asked.question != Question::Card) {
                    m_out.tricks.push_back(trick);
                    return fault(move, asked.question == Question::None
                                           ? QStringLiteral("more cards than seats in play")
                                           : QStringLiteral("a card before the bidding ended"));
                }
                const rules::Hand& hand = m_game.table().hand[asked.seat];
                const auto at = std::find(hand.begin() + 1, hand.end(), card);
                trick.seats.push_back(asked.seat);
                trick.cards.push_back(card);
                if (at == hand.end()) {
                    m_out.tricks.push_back(trick);
                    return fault(move, QStringLiteral("seat %1 does not hold %2")
                                           .arg(asked.seat - 1)
                                           .arg(cardText(card)));
                }
                before(int(at - hand.begin()));
                ev.clear();
                if (!m_game.playCard(asked.seat, int(at - hand.begin()), ev)) {
                    m_out.tricks.push_back(trick);
                    return fault(
                        move,
                        QStringLiteral("%1 does not follow the led suit").arg(cardText(card)));
                }
                for (const rules::Event& e : ev)
                    if (e.kind == rules::EventKind::TrickWon) trick.winner = e.seat();
            }
            m_out.tricks.push_back(trick);
            if (!trick.winner) {
                if (tr + 1 < deal.tricks.size())
                    return fault(QStringLiteral("trick %1").arg(tr + 1),
                                 QStringLiteral("too few cards"));
                return true;
            }
            if (m_game.phase() == Phase::TrickPause) {
                ev.clear();
                m_game.proceed(ev);
            }
        }
        return true;
    }

private:
    // The first card the hands could not be worked out with.
    int m_wrongTrick = -1;
    int m_wrongCard = -1;
    QString m_wrongWhy;

    rules::Game& m_game;
    const rules::Ruleset& m_rules;
    ReplayDeal& m_out;
    const ReplayOptions& m_options;
    int m_number;
    bool m_open; // the deal in play: its open question stays open
};

} // namespace

std::vector<int> ReplayDeal::held(int seat, int trick) const {
    std::vector<int> cards;
    if (!isSeat(seat)) return cards;
    cards.assign(inPlay[seat].begin(), inPlay[seat].end());
    for (int t = 0; t < trick && t < int(tricks.size()); ++t)
        for (std::size_t i = 0; i < tricks[t].seats.size(); ++i) {
            if (tricks[t].seats[i] != seat) continue;
            const auto c = std::find(cards.begin(), cards.end(), tricks[t].cards[i]);
            if (c != cards.end()) cards.erase(c);
        }
    return cards;
}

QString Replay::fault() const {
    if (legal || faultDeal < 1 || faultDeal > int(deals.size())) return {};
    const ReplayDeal& d = deals[std::size_t(faultDeal - 1)];
    return QStringLiteral("deal %1, %2: %3").arg(faultDeal).arg(d.faultMove, d.faultWhy);
}

Replay replayRecord(const GameRecord& record, const ReplayOptions& options) {
    Replay out;
    rules::Game game;
    rules::Events ev;
    const int playto = record.numDeals > 0 ? kNoWinningScore : record.winningScore;
    game.startGame(playto, record.rules, ev);
    game.arrange().team[1].score = record.initialScore[0];
    game.arrange().team[2].score = record.initialScore[1];
    const auto stop = [&](int deal) {
        out.legal = false;
        out.faultDeal = deal;
    };
    for (std::size_t i = 0; i < record.deals.size(); ++i) {
        const DealRecord& deal = record.deals[i];
        out.deals.emplace_back();
        ReplayDeal& r = out.deals.back();
        r.dealer = deal.dealer;
        r.upCard = deal.upCard;
        const int number = int(i) + 1;
        if (game.phase() == Phase::GameOver) {
            r.faultMove = QStringLiteral("deal");
            r.faultWhy = QStringLiteral("the game was already won");
            stop(number);
            break;
        }
        if (i > 0 && !out.deals[i - 1].scored && !out.deals[i - 1].thrownIn) {
            r.faultMove = QStringLiteral("deal");
            r.faultWhy = QStringLiteral("it follows an unfinished deal");
            stop(number);
            break;
        }
        if (game.phase() == Phase::HandPause) game.proceed(ev);
        r.scoreBefore = {0, game.table().team[1].score, game.table().team[2].score};
        DealReplayer replayer(game, record.rules, r, options, int(i), i + 1 == record.deals.size());
        if (!replayer.workOutHands(deal)) {
            stop(number);
            break;
        }
        replayer.layOut(deal);
        if (!replayer.bid(deal) || !replayer.exchange(deal) || !replayer.play(deal)) {
            stop(number);
            break;
        }
        const rules::Table& t = game.table();
        r.tricksWon = {0, t.team[1].tricks, t.team[2].tricks};
        r.scoreAfter = {0, t.team[1].score, t.team[2].score};
        r.scored = !r.thrownIn && (t.phase == Phase::HandPause || t.phase == Phase::GameOver);
        if (r.scored)
            for (int team = 1; team <= 2; ++team)
                r.points[team] = r.scoreAfter[team] - r.scoreBefore[team];
    }
    const rules::Table& t = game.table();
    out.table = t;
    out.score = {0, t.team[1].score, t.team[2].score};
    if (t.phase == Phase::GameOver) out.winner = rules::winningTeam(out.score[1], out.score[2]);
    const bool allScored =
        !out.deals.empty() && (out.deals.back().scored || out.deals.back().thrownIn);
    if (out.legal && record.hasFinalScore && allScored &&
        (record.finalScore[0] != out.score[1] || record.finalScore[1] != out.score[2])) {
        out.legal = false;
        out.faultDeal = int(out.deals.size());
        out.deals.back().faultMove = QStringLiteral("final score");
        out.deals.back().faultWhy = QStringLiteral("the record says %1-%2, the deals make %3-%4")
                                        .arg(record.finalScore[0])
                                        .arg(record.finalScore[1])
                                        .arg(out.score[1])
                                        .arg(out.score[2]);
    }
    return out;
}

} // namespace euchre::records
