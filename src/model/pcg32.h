// The program's own seeded generator: the PCG32 (XSH RR) algorithm and an
// unbiased multiply-and-shift draw below n, so one seed gives the same deals on every compiler
// and standard library.
#pragma once

#include <cstdint>

namespace euchre {

// Permuted congruential generator, 64-bit state, 32-bit output (XSH RR):
//   state' = state * 6364136223846793005 + increment
//   output = rotate_right(uint32((old ^ (old >> 18)) >> 27), old >> 59)
// Started from (value, stream) as the algorithm's reference seeding does:
// increment = 2 * stream + 1, state = 0, step, state += value, step.
class Pcg32 {
public:
    static constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
    // The stream the program's shared generator runs on.
    static constexpr std::uint64_t kProgramStream = 54;

    constexpr Pcg32() { restart(0, kProgramStream); }
    constexpr Pcg32(std::uint64_t value, std::uint64_t stream) { restart(value, stream); }

    constexpr void restart(std::uint64_t value, std::uint64_t stream = kProgramStream) {
        m_state = 0;
        m_increment = (stream << 1u) | 1u;
        next();
        m_state += value;
        next();
    }

    constexpr std::uint32_t next() {
        const std::uint64_t old = m_state;
        m_state = old * kMultiplier + m_increment;
        const auto shifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<std::uint32_t>(old >> 59u);
        return (shifted >> rot) | (shifted << ((32u - rot) & 31u));
    }

    // A uniform draw from 0 to n - 1 (n >= 1) by multiply and shift: the
    // high 32 bits of output * n. An output whose low 32 bits fall below
    // 2^32 mod n is drawn again, so every result is equally likely; that
    // remainder is only computed when the low bits are below n.
    constexpr std::uint32_t below(std::uint32_t n) {
        if (n <= 1) return 0;
        std::uint64_t product = std::uint64_t{next()} * n;
        auto low = static_cast<std::uint32_t>(product);
        if (low < n) {
            const std::uint32_t threshold = (0u - n) % n;
            while (low < threshold) {
                product = std::uint64_t{next()} * n;
                low = static_cast<std::uint32_t>(product);
            }
        }
        return static_cast<std::uint32_t>(product >> 32u);
    }

    bool operator==(const Pcg32&) const = default;

private:
    std::uint64_t m_state = 0;
    std::uint64_t m_increment = 1;
};

} // namespace euchre
