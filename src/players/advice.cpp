// Advice: the expert's answer, and every open answer valued in points of the
// hand over the same kind of sampled deals the expert decides on.
#include "players/advice.h"

#include "model/bubble.h"
#include "players/expert/contract.h"
#include "players/expert/expert.h"
#include "players/players.h"
#include "rules/rules.h"

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

// The shares of a passed hand the expert counts on winning (its bidding's own).
constexpr double kPassShare = 0.8;
constexpr double kThrowInShare = 0.5;

double passPoints(double share) {
    return share - (1 - share); // a one-point hand won or lost
}

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

// Making trump: with the partner or alone, whichever the expert would take,
// or alone when the house rules say so.
double makingPoints(const rules::SeatView& view, const std::vector<Sample>& deals, Contract c,
                    Solver& solver) {
    c.alone = true;
    const double alone = contractPoints(view, deals, c, solver);
    if (rules::mustGoAlone(view.rules(), c.maker, view.dealer(), c.pickup)) return alone;
    c.alone = false;
    return std::max(alone, contractPoints(view, deals, c, solver));
}

void cardOptions(const rules::SeatView& view, const std::vector<Sample>& deals, Advice& out) {
    const int trump = view.trump(), left = leftBowerOf(trump);
    Solver solver;
    Deal deal;
    deal.trump = trump;
    deal.makerTeam = (view.maker() - 1) & 1;
    deal.sitout = view.loner() ? partnerOf(view.loner()) - 1 : -1;
    deal.turn = view.seat() - 1;
    deal.ledsuit = view.ledsuit();
    for (int seat = 1; seat <= kSeats; ++seat)
        deal.trick[seat - 1] = view.trick(seat) ? cardIndex(view.trick(seat)) : -1;
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

} // namespace

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
    case Question::OrderUp: {
        Contract c;
        c.trump = naturalSuit(view.turned());
        c.maker = view.seat();
        c.pickup = true;
        out.options.push_back({BubbleAccept, makingPoints(view, deals, c, solver)});
        out.options.push_back({BubblePass, passPoints(kPassShare)});
        break;
    }
    case Question::Naming: {
        for (int suit = Clubs; suit <= Hearts; ++suit) {
            if (suit == view.refusedsuit()) continue;
            Contract c;
            c.trump = suit;
            c.maker = view.seat();
            out.options.push_back({bubbleForSuit(suit), makingPoints(view, deals, c, solver)});
        }
        if (!view.mustNameTrump())
            out.options.push_back(
                {BubbleNamePass,
                 passPoints(view.seat() == view.dealer() ? kThrowInShare : kPassShare)});
        break;
    }
    case Question::GoingAlone: {
        Contract c;
        c.trump = view.trump();
        c.maker = view.seat();
        c.pickup = view.orderedUp();
        out.options.push_back({BubbleWithPartner, contractPoints(view, deals, c, solver)});
        c.alone = true;
        out.options.push_back({BubbleAlone, contractPoints(view, deals, c, solver)});
        break;
    }
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
