// euchre-bench: a fixed run of computer-only games through the host, driven
// by the tests' host harness, printing how many hands the host plays per
// second. The figures depend on the machine; nothing here passes or fails.
#include "host/support/hostharness.h"
#include "model/random.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace {
constexpr int kDefaultGames = 5000;
constexpr int kPlayto = 10;
constexpr std::uint32_t kStartingValue = 1;
} // namespace

int main(int argc, char** argv) {
    int games = kDefaultGames;
    if (argc > 1) {
        const std::string_view text = argv[1];
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), games);
        if (ec != std::errc() || ptr != text.data() + text.size() || games < 1) {
            std::fprintf(stderr, "euchre-bench: the number of games must be at least 1\n"
                                 "usage: euchre-bench [GAMES]\n");
            return 2;
        }
    }
    QCoreApplication app(argc, argv);
    euchre::rng::restart(kStartingValue);

    euchre::testing::HostHarness harness;
    QElapsedTimer clock;
    clock.start();
    for (int game = 0; game < games; ++game) {
        if (!harness.playGame(kPlayto)) {
            std::fprintf(stderr, "euchre-bench: %s\n", qPrintable(harness.fault()));
            return 1;
        }
    }
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const euchre::sim::Figures& f = harness.figures();
    std::printf("games             %lld\n", static_cast<long long>(f.games));
    std::printf("hands             %lld\n", static_cast<long long>(f.hands));
    std::printf("deals             %lld\n", static_cast<long long>(f.deals));
    std::printf("seconds           %.3f\n", seconds);
    std::printf("hands_per_second  %.0f\n", static_cast<double>(f.hands) / seconds);
    std::printf("us_per_hand       %.2f\n", seconds * 1e6 / static_cast<double>(f.hands));
    return 0;
}
