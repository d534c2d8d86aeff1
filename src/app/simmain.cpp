// euchre-sim: four computer seats play whole games on the rules core with no
// pauses; prints the games' figures, as text or as one JSON object.
#include "app/commandline.h"
#include "model/random.h"
#include "sim/simulator.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

constexpr int kDefaultGames = 1000;
constexpr int kDefaultPlayto = 10;
constexpr int kMaxGames = 1000000000;
constexpr int kMaxPlayto = 1000000; // the host refuses anything higher

constexpr char kUsage[] = "usage: euchre-sim [--games N] [--playto P] [--seed S] [--json]\n";

struct Options {
    int games = kDefaultGames;
    int playto = kDefaultPlayto;
    std::optional<std::uint32_t> startValue;
    bool json = false;
    bool help = false;
    bool version = false;
};

// A plain decimal number, nothing before or after it, within [lo, hi].
template <typename T> std::optional<T> readNumber(std::string_view text, T lo, T hi) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < lo || value > hi)
        return std::nullopt;
    return value;
}

// Reads the arguments; on a bad one, puts the reason into error.
std::optional<Options> readOptions(int argc, char** argv, std::string& error) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (euchre::commandline::asksForVersion(arg)) {
            options.version = true;
            continue;
        }
        // The options with a value take it as the next argument or after "=".
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const auto eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (name != "--games" && name != "--playto" && name != "--seed") {
            error = "unknown argument '" + std::string(arg) + "'";
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= argc) {
                error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            value = argv[++i];
        }
        // Each option takes a whole number within its own range.
        auto take = [&](auto lo, auto hi, auto& out) {
            const auto number = readNumber<std::decay_t<decltype(lo)>>(*value, lo, hi);
            if (!number) {
                error = std::string(name) + " must be a whole number from " + std::to_string(lo) +
                        " to " + std::to_string(hi) + ", not '" + std::string(*value) + "'";
                return false;
            }
            out = *number;
            return true;
        };
        const bool ok = name == "--games" ? take(1, kMaxGames, options.games)
                        : name == "--playto"
                            ? take(1, kMaxPlayto, options.playto)
                            : take(std::uint32_t{0}, UINT32_MAX, options.startValue);
        if (!ok) return std::nullopt;
    }
    return options;
}

void printText(const euchre::sim::Figures& f, std::uint32_t startValue, double seconds,
               double rate) {
    auto line = [](const char* key, long long value) { std::printf("%-17s %lld\n", key, value); };
    line("seed", startValue);
    line("games", f.games);
    line("hands", f.hands);
    line("thrown_in", f.thrownIn);
    line("team1_wins", f.team1Wins);
    line("team2_wins", f.team2Wins);
    line("ordered_up", f.orderedUp);
    line("named", f.named);
    line("alone", f.alone);
    line("marches", f.marches);
    line("euchres", f.euchres);
    line("points_team1", f.pointsTeam1);
    line("points_team2", f.pointsTeam2);
    std::printf("%-17s %.3f\n", "seconds", seconds);
    std::printf("%-17s %.0f\n", "hands_per_second", rate);
}

void printJson(const euchre::sim::Figures& f, double seconds, double rate) {
    std::printf("{\"games\": %lld, \"hands\": %lld, \"thrown_in\": %lld, \"team1_wins\": %lld, "
                "\"team2_wins\": %lld, \"ordered_up\": %lld, \"named\": %lld, \"alone\": %lld, "
                "\"marches\": %lld, \"euchres\": %lld, \"points_team1\": %lld, "
                "\"points_team2\": %lld, \"seconds\": %.3f, \"hands_per_second\": %.1f}\n",
                static_cast<long long>(f.games), static_cast<long long>(f.hands),
                static_cast<long long>(f.thrownIn), static_cast<long long>(f.team1Wins),
                static_cast<long long>(f.team2Wins), static_cast<long long>(f.orderedUp),
                static_cast<long long>(f.named), static_cast<long long>(f.alone),
                static_cast<long long>(f.marches), static_cast<long long>(f.euchres),
                static_cast<long long>(f.pointsTeam1), static_cast<long long>(f.pointsTeam2),
                seconds, rate);
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const std::optional<Options> options = readOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "euchre-sim: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options->version && !options->help) return euchre::commandline::printVersion("euchre-sim");
    if (options->help) {
        std::printf("%s", kUsage);
        return 0;
    }

    // Without a starting value the time of day picks one; it is printed so
    // that the run can be repeated.
    const std::uint32_t startValue = options->startValue.value_or(euchre::rng::timeOfDayValue());
    euchre::rng::restart(startValue);

    euchre::sim::Simulator sim;
    const auto started = std::chrono::steady_clock::now();
    for (int game = 1; game <= options->games; ++game) {
        if (!sim.playGame(options->playto)) {
            std::fprintf(stderr, "euchre-sim: %s\n", sim.fault().c_str());
            return 1;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const euchre::sim::Figures& figures = sim.figures();
    const double rate = seconds > 0 ? static_cast<double>(figures.hands) / seconds : 0.0;

    if (options->json)
        printJson(figures, seconds, rate);
    else
        printText(figures, startValue, seconds, rate);
    return 0;
}
