// The learned bidding: the features of a hand, the model's chances and the
// choice with the best chance of winning the game.
#include "players/expert/bidmodel.h"

#include "model/bubble.h"
#include "model/card.h"
#include "players/expert/contract.h"
#include "players/expert/winchance.h"

#include <cmath>
#include <utility>

namespace euchre::players::expert::bidmodel {

using rules::cardBit;
using rules::cardIndex;
using rules::popCount;
using rules::suitMask;

namespace {

// The counts of a hand for one trump, written from `at` on; the first is the
// constant 1 unless `withConstant` is false.
constexpr int kHandFeatures = 14;

int writeHand(CardMask hand, int trump, Features& f, int at, bool withConstant = true) {
    const int base = (trump - 1) * 6; // nine, ten, jack, queen, king, ace
    const CardMask trumps = hand & suitMask(trump, trump);
    auto has = [&](int index) { return float((hand >> index) & 1); };
    if (withConstant) f[at++] = 1;
    f[at++] = has(base + 2);
    f[at++] = float((hand & cardBit(leftBowerOf(trump))) != 0);
    f[at++] = has(base + 5);
    f[at++] = has(base + 4);
    f[at++] = has(base + 3);
    f[at++] = has(base) + has(base + 1);
    const int n = popCount(trumps);
    for (int least : {2, 3, 4, 5}) f[at++] = float(n >= least);
    int aces = 0, kings = 0, voids = 0;
    for (int suit = Clubs; suit <= Hearts; ++suit) {
        if (suit == trump) continue;
        const CardMask cards = hand & suitMask(suit, trump);
        const int first = (suit - 1) * 6;
        voids += cards == 0;
        aces += (cards >> (first + 5)) & 1;
        kings += (cards >> (first + 4)) & 1;
    }
    f[at++] = float(aces);
    f[at++] = float(kings);
    f[at++] = float(voids);
    return at;
}

// The strongest suit to make of those allowed (bit 1 << suit): long, then high.
int bestSuit(CardMask hand, int allowed) {
    int best = 0, bestKey = -1;
    for (int suit = Clubs; suit <= Hearts; ++suit) {
        if (!(allowed & (1 << suit))) continue;
        const int base = (suit - 1) * 6;
        const CardMask trumps = hand & suitMask(suit, suit);
        const int key = 8 * popCount(trumps) + 4 * int((hand >> (base + 2)) & 1) +
                        2 * int((hand & cardBit(leftBowerOf(suit))) != 0) +
                        int((hand >> (base + 5)) & 1);
        if (key > bestKey) {
            bestKey = key;
            best = suit;
        }
    }
    return best;
}

void writeTurned(int turned, Features& f, int at) {
    const int key = rankKey(turned);
    f[at] = float(key == JackKey);
    f[at + 1] = float(key == AceKey);
    f[at + 2] = float(key == KingKey || key == QueenKey);
}

constexpr int kAllSuits = (1 << Clubs) | (1 << Diamonds) | (1 << Spades) | (1 << Hearts);

CardMask maskOf(const rules::Hand& hand) {
    CardMask m = 0;
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (hand[pos]) m |= cardBit(hand[pos]);
    return m;
}

// A lone call is only weighed with three trumps or more: the model learned
// lone hands from those alone.
bool mayGoAlone(CardMask hand, int trump) {
    return popCount(hand & suitMask(trump, trump)) >= 3;
}

// A choice's worth: the chance of winning the game, and the hand's points
// for the seat's team less the others', on average.
struct Worth {
    double game = -1;
    double points = 0;
};

Worth makeWorth(const SeatView& view, const Weights& weights, int group, const Features& f,
                bool alone) {
    double p[kMostOutcomes];
    chances(weights, tableOf(view.rules()), group, f, p);
    const int seat = view.seat();
    const double march = alone ? view.rules().lonerMarchScore : 2;
    return {p[Euchred] * gameValue(view, seat, 0, alone) +
                p[Point] * gameValue(view, seat, 3, alone) +
                p[March] * gameValue(view, seat, 5, alone),
            p[Point] + march * p[March] - 2 * p[Euchred]};
}

Worth passWorth(const SeatView& view, const Weights& weights, const Situation& s) {
    double p[kMostOutcomes];
    chances(weights, tableOf(view.rules()), groupOf(Choice::Pass, s.round, s.place),
            passFeatures(s), p);
    const int us = teamOf(view.seat()), them = 3 - us;
    const int a = view.score(us), b = view.score(them), lone = view.rules().lonerMarchScore;
    auto at = [&](int x, int y) { return winChance(view.playto(), x, y, lone); };
    return {p[UsOne] * at(a + 1, b) + p[UsTwo] * at(a + 2, b) + p[UsLone] * at(a + lone, b) +
                p[ThemOne] * at(a, b + 1) + p[ThemTwo] * at(a, b + 2) +
                p[ThemLone] * at(a, b + lone) + p[Nothing] * at(a, b),
            p[UsOne] + 2 * p[UsTwo] + lone * p[UsLone] - p[ThemOne] - 2 * p[ThemTwo] -
                lone * p[ThemLone]};
}

// The dealer's pass in the naming throws the cards in.
Worth throwInWorth(const SeatView& view) {
    const int us = teamOf(view.seat());
    return {
        winChance(view.playto(), view.score(us), view.score(3 - us), view.rules().lonerMarchScore),
        0};
}

// Whether a march with the partner already wins the game for the seat's
// team: a lone call can add nothing then and only risks the euchre.
bool marchWins(const SeatView& view) {
    return view.score(teamOf(view.seat())) + 2 >= view.playto();
}

// The best worth of making a trump: with the partner, or alone when the hand
// may and the score allows; alone only when the house rules leave no choice
// (`forced`), and then not at all on a hand too weak for it.
Worth bestMake(const SeatView& view, const Weights& weights, const Situation& s, int trump,
               bool forced) {
    const Features f = makeFeatures(s, trump);
    const CardMask hand = s.round == 1 && s.place == 4 ? afterPickup(s.hand, s.turned) : s.hand;
    const bool mayAlone = mayGoAlone(hand, trump);
    const int aloneGroup = groupOf(Choice::Alone, s.round, s.place);
    if (forced) return mayAlone ? makeWorth(view, weights, aloneGroup, f, true) : Worth{};
    Worth best = makeWorth(view, weights, groupOf(Choice::Make, s.round, s.place), f, false);
    if (mayAlone && !marchWins(view)) {
        const Worth lone = makeWorth(view, weights, aloneGroup, f, true);
        if (lone.game > best.game) best = lone;
    }
    return best;
}

Situation situationOf(const SeatView& view, int round) {
    Situation s;
    s.round = round;
    s.place = placeOf(view.seat(), view.dealer());
    s.turned = view.turned();
    s.hand = maskOf(view.hand());
    return s;
}

} // namespace

CardMask afterPickup(CardMask hand, int turned) {
    const CardMask six = hand | cardBit(turned);
    return six & ~(CardMask(1) << usualDiscard(six, naturalSuit(turned)));
}

Features makeFeatures(const Situation& s, int trump) {
    Features f{};
    const bool pickup = s.round == 1 && s.place == 4;
    int at = writeHand(pickup ? afterPickup(s.hand, s.turned) : s.hand, trump, f, 0);
    if (s.round == 1) {
        writeTurned(s.turned, f, at);
    } else {
        const bool next = trump == sameColourSuit(naturalSuit(s.turned));
        f[at] = float(next);
        f[at + 1] = float(next && rankKey(s.turned) == JackKey);
        // Cards of the turned-down suit held: the others are shorter in it.
        f[at + 2] = float(popCount(s.hand & suitMask(naturalSuit(s.turned), trump)));
    }
    return f;
}

Features passFeatures(const Situation& s) {
    Features f{};
    const int refused = naturalSuit(s.turned);
    const int other = bestSuit(s.hand, kAllSuits & ~(1 << refused));
    if (s.round == 1) {
        int at = writeHand(s.hand, refused, f, 0);
        writeTurned(s.turned, f, at);
        at = writeHand(s.hand, other, f, at + 3, false);
        f[at] = float(other == sameColourSuit(refused));
    } else {
        const int at = writeHand(s.hand, other, f, 0);
        f[at] = float(other == sameColourSuit(refused));
        f[at + 1] = float(rankKey(s.turned) == JackKey);
    }
    return f;
}

void chances(const Weights& weights, int table, int group, const Features& f, double* out) {
    const int n = outcomesOf(Choice(group / 8));
    double top = -1e300;
    for (int k = 0; k < n; ++k) {
        double z = 0;
        for (int i = 0; i < kFeatures; ++i) z += double(weights.w[table][group][k][i]) * f[i];
        out[k] = z;
        top = std::max(top, z);
    }
    double sum = 0;
    for (int k = 0; k < n; ++k) sum += out[k] = std::exp(out[k] - top);
    for (int k = 0; k < n; ++k) out[k] /= sum;
}

std::vector<std::pair<int, double>> options(const SeatView& view, const Weights& weights) {
    std::vector<std::pair<int, double>> out;
    switch (view.asked().question) {
    case rules::Question::OrderUp: {
        const Situation s = situationOf(view, 1);
        const bool forced = rules::mustGoAlone(view.rules(), view.seat(), view.dealer(), true);
        const Worth make = bestMake(view, weights, s, naturalSuit(view.turned()), forced);
        const Worth pass = passWorth(view, weights, s);
        out.push_back({BubbleAccept, make.points});
        out.push_back({BubblePass, pass.points});
        // The first answer is the choice.
        if (!(make.game > pass.game)) std::swap(out[0], out[1]);
        break;
    }
    case rules::Question::Naming: {
        const Situation s = situationOf(view, 2);
        double best = -1;
        if (!view.mustNameTrump()) {
            const Worth pass = s.place == 4 ? throwInWorth(view) : passWorth(view, weights, s);
            out.push_back({BubbleNamePass, pass.points});
            best = pass.game;
        }
        for (int suit = Clubs; suit <= Hearts; ++suit) {
            if (suit == view.refusedsuit()) continue;
            const Worth make = bestMake(view, weights, s, suit, false);
            out.push_back({BubbleClubs + suit - Clubs, make.points});
            if (make.game > best) {
                best = make.game;
                std::swap(out.front(), out.back());
            }
        }
        break;
    }
    case rules::Question::GoingAlone: {
        const int round = view.orderedUp() ? 1 : 2;
        const Situation s = situationOf(view, round);
        const int trump = view.trump();
        const Features f = makeFeatures(s, trump);
        const Worth withPartner =
            makeWorth(view, weights, groupOf(Choice::Make, round, s.place), f, false);
        const Worth lone =
            makeWorth(view, weights, groupOf(Choice::Alone, round, s.place), f, true);
        const CardMask hand = round == 1 && s.place == 4 ? afterPickup(s.hand, s.turned) : s.hand;
        const bool alone =
            !marchWins(view) && mayGoAlone(hand, trump) && lone.game > withPartner.game;
        out.push_back({BubbleWithPartner, withPartner.points});
        out.push_back({BubbleAlone, lone.points});
        if (alone) std::swap(out[0], out[1]);
        break;
    }
    default:
        break;
    }
    return out;
}

int orderUp(const SeatView& view, const Weights& weights) {
    return options(view, weights).front().first;
}

int name(const SeatView& view, const Weights& weights) {
    return options(view, weights).front().first;
}

int alone(const SeatView& view, const Weights& weights) {
    return options(view, weights).front().first;
}

} // namespace euchre::players::expert::bidmodel
