// The one random generator shared by the whole program: the shuffle and the
// computer players' fallback choices all draw from it.
#pragma once

#include "model/pcg32.h"

#include <cstdint>

namespace euchre::rng {

// The shared generator itself (kept inline: the simulator draws millions of times).
extern Pcg32 shared;

// Restarts the shared generator from a value; tests and the simulator fix it
// to replay the same deals.
inline void restart(std::uint32_t value) {
    shared.restart(value);
}

// Restarts from the time of day (milliseconds since midnight), once at start-up.
void restartFromTimeOfDay();

// Milliseconds since local midnight, the value restartFromTimeOfDay uses.
std::uint32_t timeOfDayValue();

// A uniform draw from 0 to n - 1 (n >= 1).
inline int below(int n) {
    return n <= 1 ? 0 : static_cast<int>(shared.below(static_cast<std::uint32_t>(n)));
}

// A uniform draw from 1 to n (n >= 1).
inline int from1to(int n) {
    return below(n) + 1;
}

} // namespace euchre::rng
