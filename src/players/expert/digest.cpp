// The digest of a seat's view, which seeds its decisions' draws.
#include "players/expert/expert.h"

namespace euchre::players::expert {

namespace {
std::uint64_t mix(std::uint64_t h, std::int64_t v) {
    h ^= std::uint64_t(v) + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
    return h * 0xBF58476D1CE4E5B9ULL;
}
} // namespace

std::uint64_t digest(const SeatView& v) {
    // Everything the seat knows, in a fixed order; the phase, the asked seat
    // and the shown voids follow from it. The unused places 0 of the hand,
    // the trick and the team figures count as the zeros they hold.
    std::uint64_t h = 0x243F6A8885A308D3ULL;
    h = mix(h, v.seat());
    for (const int c : v.hand()) h = mix(h, c);
    for (const int x :
         {v.discard(), v.dealer(), v.turned(), int(v.orderedUp()), int(v.discarded()),
          v.refusedsuit(), v.trump(), v.maker(), v.loner(), v.playCount(), v.ledsuit(), v.playto()})
        h = mix(h, x);
    for (int i = 0; i < v.playCount(); ++i) h = mix(h, v.play(i).seat * 64 + v.play(i).card);
    h = mix(h, 0);
    for (int seat = 1; seat <= kSeats; ++seat) h = mix(h, v.trick(seat));
    for (const auto figure : {&SeatView::tricks, &SeatView::score}) {
        h = mix(h, 0);
        for (int team = 1; team <= 2; ++team) h = mix(h, (v.*figure)(team));
    }
    // The house rules, when any are in force (the plain rules leave the digest as it was).
    const rules::Ruleset& r = v.rules();
    if (!r.isPlain())
        for (const int x :
             {int(r.stickTheDealer), int(r.canadian), int(r.lonerLead), r.lonerMarchScore})
            h = mix(h, x);
    return h;
}

} // namespace euchre::players::expert
