// The shared generator and its start from the time of day.
#include "model/random.h"

#include <chrono>
#include <ctime>

namespace euchre::rng {

Pcg32 shared;

std::uint32_t timeOfDayValue() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return static_cast<std::uint32_t>(
        ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + millis);
}

void restartFromTimeOfDay() {
    restart(timeOfDayValue());
}

} // namespace euchre::rng
