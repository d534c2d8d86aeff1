// The view a computer seat decides on, taken from the rules core's table.
#include "host/bots/tableview.h"

#include <utility>

namespace euchre::bots {

TableView seatView(const rules::Table& t, int seat) {
    TableView view;
    for (int s = 1; s <= kSeats; ++s) {
        SeatView& v = view.seat[s];
        v.played = t.played[s];
        v.partner = partnerOf(s);
        v.sitsout = t.sitsout[s];
    }
    if (isSeat(seat)) view.seat[seat].hand = t.hand[seat];
    view.makers[1] = t.team[1].makers;
    view.makers[2] = t.team[2].makers;
    view.trump = t.trump;
    view.leftbower = t.leftbower;
    view.dealer = t.dealer;
    view.ledsuit = t.ledsuit;
    view.refusedsuit = t.refusedsuit;
    const int asked = rules::asksASeat(t.phase) ? t.seat : 0;
    view.bidder = t.phase == rules::Phase::OrderUp ? asked : 0;
    view.chooser = t.phase == rules::Phase::Naming ? asked : 0;
    view.aloner = t.phase == rules::Phase::GoingAlone ? asked : 0;
    view.discarder = t.phase == rules::Phase::Discard ? asked : 0;
    view.nextplayer = t.phase == rules::Phase::Play ? asked : 0;
    return view;
}

rules::Table tableOf(const TableView& view) {
    rules::Table t;
    for (int s = 1; s <= kSeats; ++s) {
        t.hand[s] = view.seat[s].hand;
        t.played[s] = view.seat[s].played;
        t.sitsout[s] = view.seat[s].sitsout;
    }
    t.team[1].makers = view.makers[1];
    t.team[2].makers = view.makers[2];
    t.trump = view.trump;
    t.leftbower = view.leftbower;
    t.dealer = view.dealer;
    t.ledsuit = view.ledsuit;
    t.refusedsuit = view.refusedsuit;
    const std::array<std::pair<int, rules::Phase>, 5> asked = {{
        {view.bidder, rules::Phase::OrderUp},
        {view.chooser, rules::Phase::Naming},
        {view.aloner, rules::Phase::GoingAlone},
        {view.discarder, rules::Phase::Discard},
        {view.nextplayer, rules::Phase::Play},
    }};
    for (const auto& [seat, phase] : asked) {
        if (seat == 0) continue;
        t.phase = phase;
        t.seat = seat;
    }
    return t;
}

} // namespace euchre::bots
