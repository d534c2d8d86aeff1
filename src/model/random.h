// The one random generator shared by the whole program: the shuffle and the
// computer players' fallback choices all draw from it.
#pragma once

#include <cstdint>

namespace euchre::rng {

// Restarts the shared generator from a value; tests and the simulator fix it
// to replay the same deals.
void restart(std::uint32_t value);

// Restarts from the time of day (milliseconds since midnight), once at start-up.
void restartFromTimeOfDay();

// A uniform draw from 0 to n - 1 (n >= 1).
int below(int n);

// A uniform draw from 1 to n (n >= 1).
inline int from1to(int n) {
    return below(n) + 1;
}

} // namespace euchre::rng
