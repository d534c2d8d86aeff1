// Advice: the expert's answer, and every open answer valued in points of the
// hand over the same kind of sampled deals the expert decides on.
#include "players/advice.h"

#include "model/bubble.h"
#include "players/expert/bidmodel.h"
#include "players/expert/contract.h"
#include "players/expert/expert.h"
#include "players/players.h"
#include "rules/rules.h"

#include <algorithm>

namespace euchre::players {

namespace {

using expert::Contract;
using expert::Deal;
using expert::Sample;
using expert::Sampler;
using expert::Solver;
using rules::cardBit;
using rules::cardIndex;
using rules::CardMask;
using rules::Question;

// The seat's team's points less the others' for a hand the makers end with so many tricks.
double netPoints(const rules::SeatView& view, int maker, int makersTricks, bool alone) {
    const int making = teamOf(maker);
    const std::array<int, 3> p = rules::handPoints(view.rules(), making, makersTricks, alone);
    const int us = teamOf(view.seat());
    return double(p[us] - p[3 - us]);
}

// A contract's average points over the deals, played from its first trick.
double contractPoints(const rules::SeatView& view, const std::vector<Sample>& deals,
                      const Contract& c, Solver& solver) {
    if (deals.empty()) return 0;
    const int me = view.seat() - 1, dealer = view.dealer() - 1;
    Deal deal;
    deal.trump = c.trump;
    deal.makerTeam = (c.maker - 1) & 1;
    deal.sitout = c.alone ? partnerOf(c.maker) - 1 : -1;
    deal.turn = expert::firstLeader(view, c) - 1;
    double total = 0;
    for (const Sample& sample : deals) {
        deal.hands = sample;
        if (c.pickup && view.turned() && !(deal.hands[dealer] & cardBit(view.turned()))) {
            const CardMask six = deal.hands[dealer] | cardBit(view.turned());
            const int thrown = dealer == me && c.ownDiscard >= 0
                                   ? c.ownDiscard
                                   : expert::usualDiscard(six, c.trump);
            deal.hands[dealer] = six & ~(CardMask(1) << thrown);
        }
        if (deal.sitout >= 0) deal.hands[deal.sitout] = 0;
        total += netPoints(view, c.maker, solver.solve(deal), c.alone);
    }
    return total / double(deals.size());
}

// The card play's position for the solver, hands left to fill in per deal.
Deal playPosition(const rules::SeatView& view) {
    Deal deal;
    deal.trump = view.trump();
    deal.makerTeam = (view.maker() - 1) & 1;
    deal.sitout = view.loner() ? partnerOf(view.loner()) - 1 : -1;
    deal.turn = view.seat() - 1;
    deal.ledsuit = view.ledsuit();
    for (int seat = 1; seat <= kSeats; ++seat)
        deal.trick[seat - 1] = view.trick(seat) ? cardIndex(view.trick(seat)) : -1;
    return deal;
}

void cardOptions(const rules::SeatView& view, const std::vector<Sample>& deals, Advice& out) {
    const int trump = view.trump(), left = leftBowerOf(trump);
    Solver solver;
    Deal deal = playPosition(view);
    const int taken = view.tricks(teamOf(view.maker()));
    const bool alone = view.loner() != 0;
    for (int pos = 1; pos <= kHandSize; ++pos) {
        if (!rules::isLegalPlay(view.hand(), pos, view.ledsuit(), trump, left)) continue;
        const int card = view.hand()[pos];
        Option o;
        o.answer = pos;
        for (const Sample& sample : deals) {
            deal.hands = sample;
            o.points += netPoints(view, view.maker(),
                                  taken + solver.solveAfter(deal, cardIndex(card)), alone);
        }
        if (!deals.empty()) o.points /= double(deals.size());
        out.options.push_back(o);
    }
}

// Puts the card into the trick for the seat to play, and passes the turn on.
void playInto(Deal& deal, int card) {
    if (std::all_of(deal.trick.begin(), deal.trick.end(), [](int c) { return c < 0; }))
        deal.ledsuit = rules::suitOfIndex(card, deal.trump);
    deal.hands[deal.turn] &= ~(CardMask(1) << card);
    deal.trick[deal.turn] = card;
    deal.turn = (deal.turn + 1) & 3;
    if (deal.turn == deal.sitout) deal.turn = (deal.turn + 1) & 3;
}

// The seat (0..3) that takes the trick once the seat to play plays the card
// and each seat after it plays the card the solver values best for its side
// (the lowest of equal cards).
int trickTaker(Deal deal, int card, Solver& solver) {
    const int seats = deal.sitout >= 0 ? 3 : 4;
    const auto played = [&deal] {
        return int(
            std::count_if(deal.trick.begin(), deal.trick.end(), [](int c) { return c >= 0; }));
    };
    playInto(deal, card);
    while (played() < seats) {
        const bool maker = (deal.turn & 1) == deal.makerTeam;
        int best = -1, bestValue = 0;
        for (CardMask m = Solver::distinctMoves(deal); m; m &= m - 1) {
            const int c = __builtin_ctz(m);
            const int value = solver.solveAfter(deal, c);
            if (best < 0 || (maker ? value > bestValue : value < bestValue)) {
                best = c;
                bestValue = value;
            }
        }
        if (best < 0) break;
        playInto(deal, best);
    }
    int taker = -1, top = -1;
    for (int seat = 0; seat < 4; ++seat) {
        if (deal.trick[seat] < 0) continue;
        const int strength =
            rules::trickStrength(rules::cardAt(deal.trick[seat]), deal.trump, deal.ledsuit);
        if (strength > top) {
            top = strength;
            taker = seat;
        }
    }
    return taker;
}

} // namespace

double trickShare(const rules::SeatView& view, int position) {
    if (!view.isAsked() || view.asked().question != Question::Card || position < 1 ||
        position > kHandSize ||
        !rules::isLegalPlay(view.hand(), position, view.ledsuit(), view.trump(),
                            leftBowerOf(view.trump())))
        return -1;
    Sampler sampler(view);
    const std::vector<Sample> deals = sampler.draw(expert::kPlayDeals, expert::digest(view));
    if (deals.empty()) return -1;
    Solver solver;
    Deal deal = playPosition(view);
    const int card = cardIndex(view.hand()[position]);
    int won = 0;
    for (const Sample& sample : deals) {
        deal.hands = sample;
        won += (trickTaker(deal, card, solver) & 1) == ((view.seat() - 1) & 1);
    }
    return double(won) / double(deals.size());
}

Advice advise(const rules::SeatView& view) {
    Advice out;
    if (!view.isAsked()) return out;
    out.question = view.asked().question;
    out.choice = answer(Level::Expert, view);
    const std::uint64_t seed = expert::digest(view);
    Sampler sampler(view);
    const bool bidding = out.question != Question::Card;
    const std::vector<Sample> deals =
        sampler.draw(bidding ? expert::kBidDeals : expert::kPlayDeals, seed);
    out.deals = int(deals.size());
    Solver solver;
    switch (out.question) {
    case Question::OrderUp:
    case Question::Naming:
    case Question::GoingAlone:
        // The bids are the learned model's, and so are their worths.
        for (const auto& [answer, points] :
             expert::bidmodel::options(view, expert::bidmodel::learned()))
            out.options.push_back({answer, points});
        break;
    case Question::Discard: {
        Contract c;
        c.trump = view.trump();
        c.maker = view.maker();
        c.alone = view.loner() != 0;
        c.pickup = true;
        for (int pos = 1; pos <= kHandSize; ++pos) {
            if (!view.hand()[pos]) continue;
            c.ownDiscard = cardIndex(view.hand()[pos]);
            out.options.push_back({pos, contractPoints(view, deals, c, solver)});
        }
        break;
    }
    case Question::Card:
        cardOptions(view, deals, out);
        break;
    default:
        break;
    }
    return out;
}

} // namespace euchre::players
