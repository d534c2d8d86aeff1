// The shared generator: a Mersenne twister behind a few free functions.
#include "model/random.h"

#include <QTime>
#include <random>

namespace euchre::rng {

namespace {
std::mt19937& generator() {
    static std::mt19937 gen(5489u);
    return gen;
}
} // namespace

void restart(std::uint32_t value) {
    generator().seed(value);
}

void restartFromTimeOfDay() {
    restart(static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay()));
}

int below(int n) {
    if (n <= 1) return 0;
    std::uniform_int_distribution<int> dist(0, n - 1);
    return dist(generator());
}

} // namespace euchre::rng
