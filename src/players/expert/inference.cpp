// Weighing sampled deals by the other seats' bids and plays. The model of a
// seat is one for every seat, whoever sits there: the expert cannot tell a
// person from a computer, so it reads every seat as a player who bids on
// the strength of the hand (trump, bowers, aces, voids, seat) and follows
// the common advice in the play (win a trick the partner is not winning,
// cheaply; otherwise play low; makers lead trump, defenders aces), each
// softened so that a seat that bids or plays otherwise is still believed to
// hold its cards, only less often.
#include "players/expert/inference.h"

#include "model/card.h"
#include "rules/cardmask.h"
#include "rules/ruleset.h"

#include <algorithm>
#include <cmath>

namespace euchre::players::expert {

using rules::cardAt;
using rules::cardBit;
using rules::CardMask;
using rules::popCount;
using rules::suitMask;
using rules::trickStrength;

namespace {

// What a card adds to a hand's strength with a suit as trump, in rough
// tricks-and-control units: the bowers and high trump most, small trump for
// their length, a side ace for the trick it takes.
double worth(int index, int trump) {
    const int card = cardAt(index);
    if (card == rightBower(trump)) return 3.0;
    if (card == leftBowerOf(trump)) return 2.6;
    const int rank = rankInSuit(card);
    if (naturalSuit(card) == trump) {
        static constexpr double kTrump[] = {1.3, 1.4, 0, 1.6, 1.8, 2.1}; // 9 T (J) Q K A
        return kTrump[rank - 8];
    }
    if (rank == 13) return 1.0;
    return rank == 12 ? 0.35 : 0.0;
}

// A hand's strength for a trump: its cards' worth and a little for each
// side suit it lacks while it holds trump to ruff with.
double strength(CardMask hand, int trump) {
    double s = 0;
    for (CardMask m = hand; m; m &= m - 1) s += worth(__builtin_ctz(m), trump);
    if (hand & suitMask(trump, trump))
        for (int suit = Clubs; suit <= Hearts; ++suit)
            if (suit != trump && !(hand & suitMask(suit, trump))) s += 0.4;
    return s;
}

// The best five of a dealer's six cards: the least worth card thrown.
double strengthOfSix(CardMask six, int trump) {
    double least = 1e9;
    for (CardMask m = six; m; m &= m - 1) least = std::min(least, worth(__builtin_ctz(m), trump));
    return strength(six, trump) - (popCount(six) > 5 ? least : 0);
}

// The bidding lines and how sharply bids follow them, fitted to the
// expert's own searched bids (whose lines lie near 6 for ordering up and
// naming and near 9.6 for going alone), made softer than that fit so that
// the standard players' later lines (about 7.2) and people's looser ones
// stay plausible: a hand this far from its line is bid (or passed) about
// three times in four.
constexpr double kBidSoftness = 0.6;
constexpr double kAloneSoftness = 1.2;
// The strength a seat bids at: ordering the card to an opponent, to the
// partner, taking it as dealer, naming a suit, and going alone.
constexpr double kOrderToOpponent = 6.0;
constexpr double kOrderToPartner = 6.1;
constexpr double kDealerTakes = 6.5;
constexpr double kOrderAlone = 9.0; // the Canadian loner: ordering up means playing alone
constexpr double kName = 6.1;
constexpr double kAlone = 9.6;
// How strongly a named suit points to the seat's strongest one.
constexpr double kSuitSoftness = 0.8;

double sigmoid(double x) {
    return 1.0 / (1.0 + std::exp(-x));
}

double bidChance(double strength, double line, double softness = kBidSoftness) {
    return sigmoid((strength - line) / softness);
}

// The chance a seat's card play shows, against the other legal cards it
// held: weights of the common advice, the played card's weight over the sum.
double playChance(CardMask legal, int played, int trump, int led, int best, bool partnerWinning,
                  int placeInTrick, int players, bool attacking) {
    double weight[24] = {};
    if (placeInTrick == 0) {
        // The lead: makers draw trump from the top, defenders cash aces.
        const CardMask trumps = legal & suitMask(trump, trump);
        int top = -1;
        for (CardMask m = trumps; m; m &= m - 1)
            if (top < 0 || trickStrength(cardAt(__builtin_ctz(m)), trump, trump) >
                               trickStrength(cardAt(top), trump, trump))
                top = __builtin_ctz(m);
        for (CardMask m = legal; m; m &= m - 1) {
            const int i = __builtin_ctz(m);
            const bool ace = rankInSuit(cardAt(i)) == 13 && !(trumps >> i & 1);
            if (trumps >> i & 1)
                weight[i] = attacking ? (i == top ? 2.0 : 1.0) : 0.4;
            else
                weight[i] = ace ? (attacking ? 1.2 : 2.0) : (attacking ? 0.5 : 0.8);
        }
    } else {
        // Following: the last seats take a trick the partner is not winning
        // with the cheapest card that does; otherwise the cheapest card goes.
        const bool last = placeInTrick == players - 1;
        const double win = partnerWinning ? 0.25 : last ? 4.0 : placeInTrick == 1 ? 1.2 : 2.5;
        int cheapestWinner = -1, cheapestLoser = -1, winnerKey = 1000, loserKey = 1000;
        for (CardMask m = legal; m; m &= m - 1) {
            const int i = __builtin_ctz(m);
            const int card = cardAt(i);
            const int power = trickStrength(card, trump, led);
            // The cost of giving a card up: any trump above any side card.
            const int cost = isTrumpCard(card, trump, leftBowerOf(trump))
                                 ? 20 + trickStrength(card, trump, trump)
                                 : rankInSuit(card);
            if (power > best) {
                if (power < winnerKey) winnerKey = power, cheapestWinner = i;
            } else if (cost < loserKey) {
                loserKey = cost, cheapestLoser = i;
            }
        }
        for (CardMask m = legal; m; m &= m - 1) {
            const int i = __builtin_ctz(m);
            const bool wins = trickStrength(cardAt(i), trump, led) > best;
            weight[i] =
                wins ? win * (i == cheapestWinner ? 1.0 : 0.4) : (i == cheapestLoser ? 1.0 : 0.4);
        }
    }
    double total = 0;
    for (CardMask m = legal; m; m &= m - 1) total += weight[__builtin_ctz(m)];
    return weight[played] / total;
}

} // namespace

double likelihood(const SeatView& view, const Sample& deal) {
    const int me = view.seat();
    const int dealer = view.dealer();
    const int sitout = view.loner() ? partnerOf(view.loner()) : 0;
    const rules::Ruleset& houseRules = view.rules();

    // Each seat's cards when the deal began: those it holds in this deal and
    // those it has played. A dealer who took the turned card holds it among them.
    std::array<CardMask, 5> dealt{};
    for (int i = 0; i < view.playCount(); ++i)
        dealt[view.play(i).seat] |= cardBit(view.play(i).card);
    for (int seat = 1; seat <= 4; ++seat) dealt[seat] |= deal[seat - 1];
    auto readable = [&](int seat) { return seat != me && seat != sitout && dealt[seat] != 0; };

    double p = 1;
    // The order-up round, from the dealer's left: passes up to the maker,
    // or four passes when the suit was turned down.
    const int turned = view.turned();
    const int turnedSuit = turned ? naturalSuit(turned) : 0;
    const rules::Asked asked = view.asked();
    const bool naming = view.refusedsuit() != 0;
    int orderRoundEnd = 0; // the seat that ordered up or was being asked, 0 = all passed
    if (view.orderedUp())
        orderRoundEnd = view.maker();
    else if (!naming)
        orderRoundEnd = asked.question == rules::Question::OrderUp ? asked.seat : 0;
    if (turnedSuit) {
        for (int seat = nextSeat(dealer);; seat = nextSeat(seat)) {
            if (seat == orderRoundEnd && !view.orderedUp()) break;
            if (readable(seat)) {
                double chance;
                if (seat == dealer) {
                    // The dealer holds the turned card when it took it;
                    // when it passed, it weighed the card as a sixth.
                    const CardMask six = dealt[seat] | cardBit(turned);
                    chance = bidChance(strengthOfSix(six, turnedSuit), kDealerTakes);
                } else {
                    const double line = rules::mustGoAlone(houseRules, seat, dealer, true)
                                            ? kOrderAlone
                                        : seat == partnerOf(dealer) ? kOrderToPartner
                                                                    : kOrderToOpponent;
                    // The turned card goes to the dealer: help to its partner,
                    // a threat to the dealer's opponents.
                    const double gift = 0.5 * worth(rules::cardIndex(turned), turnedSuit);
                    const double s = strength(dealt[seat], turnedSuit) +
                                     (teamOf(seat) == teamOf(dealer) ? gift : -gift);
                    chance = bidChance(s, line);
                }
                p *= seat == orderRoundEnd ? chance : 1 - chance;
            }
            if (seat == orderRoundEnd || seat == dealer) break;
        }
    }
    // The naming round, from the dealer's left again.
    if (naming) {
        int end = view.maker() ? view.maker() : 0;
        if (!end && asked.question == rules::Question::Naming) end = asked.seat;
        for (int seat = nextSeat(dealer); end; seat = nextSeat(seat)) {
            const bool named = seat == view.maker();
            if (seat == end && !named) break;
            if (readable(seat)) {
                double s[5] = {}, best = -1;
                for (int suit = Clubs; suit <= Hearts; ++suit)
                    if (suit != view.refusedsuit()) {
                        s[suit] = strength(dealt[seat], suit);
                        best = std::max(best, s[suit]);
                    }
                // Which suit: mostly the strongest one.
                double share = 1;
                if (named) {
                    double total = 0;
                    for (int suit = Clubs; suit <= Hearts; ++suit)
                        if (suit != view.refusedsuit())
                            total += std::exp((s[suit] - best) / kSuitSoftness);
                    share = std::exp((s[view.trump()] - best) / kSuitSoftness) / total;
                }
                // Whether to name at all, unless the dealer had to.
                const bool stuck = rules::mustNameTrump(houseRules, seat, dealer);
                const double chance = stuck ? 1 : bidChance(best, kName);
                p *= named ? chance * share : 1 - chance;
            }
            if (named || seat == dealer) break;
        }
    }
    // The maker's lone call, once made (or forced, which tells nothing).
    const int maker = view.maker();
    const bool aloneKnown = asked.question == rules::Question::Discard ||
                            asked.question == rules::Question::Card || view.playCount() > 0;
    if (maker && aloneKnown && readable(maker) &&
        !rules::mustGoAlone(houseRules, maker, dealer, view.orderedUp())) {
        const double chance =
            bidChance(strength(dealt[maker], view.trump()), kAlone, kAloneSoftness);
        p *= view.loner() == maker ? chance : 1 - chance;
    }

    // The card play: each card against what else the seat might have played.
    const int trump = view.trump();
    const int players = view.loner() ? 3 : 4;
    std::array<CardMask, 5> held = dealt;
    int led = NoSuit, best = -1, winner = 0;
    for (int i = 0; i < view.playCount(); ++i) {
        const int seat = view.play(i).seat;
        const int card = view.play(i).card;
        const int place = i % players;
        if (place == 0) led = effectiveSuit(card, trump, leftBowerOf(trump)), best = -1;
        if (readable(seat)) {
            const CardMask legal = rules::legalMask(held[seat], place == 0 ? NoSuit : led, trump);
            if (popCount(legal) > 1 && (legal & cardBit(card)))
                p *= playChance(legal, rules::cardIndex(card), trump, led, best,
                                winner == partnerOf(seat), place, players,
                                maker && teamOf(seat) == teamOf(maker));
        }
        held[seat] &= ~cardBit(card);
        const int power = trickStrength(card, trump, led);
        if (power > best) best = power, winner = seat;
    }
    return p;
}

WeightedDeals drawDeals(const SeatView& view, int limit, std::uint64_t seed, Reading reading) {
    WeightedDeals out;
    Sampler sampler(view);
    if (reading == Reading::Uniform) {
        out.deals = sampler.draw(limit, seed);
        out.weights.assign(out.deals.size(), 1.0);
        return out;
    }

    // Candidates: four for each deal solved, and more while the weights are
    // so uneven that few candidates carry them, up to sixteen for each.
    constexpr int kFirst = 4, kMost = 16;
    std::vector<Sample> pool = sampler.draw(limit * kFirst, seed);
    const bool all = sampler.exhaustive();
    std::vector<double> weight;
    double sum = 0, squares = 0;
    auto weigh = [&](std::size_t from) {
        for (std::size_t i = from; i < pool.size(); ++i) {
            const double w = likelihood(view, pool[i]);
            weight.push_back(w);
            sum += w;
            squares += w * w;
        }
    };
    weigh(0);
    // The effective number of candidates: as many as there are when the
    // weights are alike, one when a single candidate carries them all.
    auto effective = [&] { return squares > 0 ? sum * sum / squares : 0.0; };
    for (int round = 1; !all && effective() < limit && int(pool.size()) < limit * kMost; ++round) {
        const std::size_t from = pool.size();
        const std::vector<Sample> more = sampler.draw(limit * kFirst, seed + std::uint64_t(round));
        pool.insert(pool.end(), more.begin(), more.end());
        weigh(from);
    }
    if (pool.empty()) return out;
    if (sum <= 0) weight.assign(pool.size(), 1.0), sum = double(pool.size());

    // Few enough to solve all of them: each keeps its own weight.
    if (int(pool.size()) <= limit) {
        out.deals = std::move(pool);
        out.weights = std::move(weight);
        return out;
    }
    // Otherwise `limit` picks at even steps through the weights from one
    // random start, a candidate picked more than once solved once with the
    // picks counted.
    Draws draws(seed ^ 0x5851F42D4C957F2DULL);
    const double step = sum / limit;
    double at = step * double(draws.next() >> 11) / double(1ULL << 53);
    double reached = 0;
    for (std::size_t i = 0; i < pool.size() && at < sum; ++i) {
        reached += weight[i];
        int picks = 0;
        while (at < reached && picks + int(out.deals.size()) < limit * 2) ++picks, at += step;
        if (picks) {
            out.deals.push_back(pool[i]);
            out.weights.push_back(picks);
        }
    }
    return out;
}

} // namespace euchre::players::expert
