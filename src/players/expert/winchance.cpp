// The game-winning chances, computed once on first use for play-to scores up
// to kMaxTable by a Markov chain over the points one hand gives.
#include "players/expert/winchance.h"

#include <algorithm>
#include <array>

namespace euchre::players::expert {

namespace {

constexpr int kMaxTable = 15;

// How often the hand's points come as 1, 2 or a lone march's when one side
// scores them: a made hand, a march or a euchre, a lone march. Either side is
// as likely to score. Games of the standard players give about 57% single
// points and 41% marches and euchres; a few lone marches are allowed for,
// since the expert goes alone more often.
constexpr double kSingle = 0.56, kDouble = 0.40, kLoneMarch = 0.04;

// The lone march scores the house rules allow.
constexpr int kFewestLoneMarch = 3;
constexpr int kMostLoneMarch = 5;

struct Chances {
    // chance[playto][us][them] for scores below playto.
    std::array<std::array<std::array<double, kMaxTable>, kMaxTable>, kMaxTable + 1> chance{};

    explicit Chances(int lonerMarch) {
        const std::array<std::pair<int, double>, 3> outcomes{
            {{1, kSingle}, {2, kDouble}, {lonerMarch, kLoneMarch}}};
        for (int playto = 1; playto <= kMaxTable; ++playto) {
            auto& c = chance[playto];
            auto at = [&](int us, int them) {
                if (us >= playto) return 1.0;
                if (them >= playto) return 0.0;
                return c[us][them];
            };
            // Higher scores first: every hand moves one of them up.
            for (int us = playto - 1; us >= 0; --us)
                for (int them = playto - 1; them >= 0; --them) {
                    double p = 0;
                    for (const auto& [points, share] : outcomes)
                        p += share * 0.5 * (at(us + points, them) + at(us, them + points));
                    c[us][them] = p;
                }
        }
    }
};

} // namespace

double winChance(int playto, int us, int them, int lonerMarch) {
    if (us >= playto && us > them) return 1.0;
    if (them >= playto) return 0.0;
    us = std::max(us, 0);
    them = std::max(them, 0);
    if (playto <= kMaxTable) {
        static const std::array<Chances, kMostLoneMarch - kFewestLoneMarch + 1> chances{
            Chances(3), Chances(4), Chances(5)};
        const int march = std::clamp(lonerMarch, kFewestLoneMarch, kMostLoneMarch);
        return chances[march - kFewestLoneMarch].chance[playto][us][them];
    }
    // Long games: the lead in points, measured against the distance to go.
    const double lead = double(us - them) / double(2 * playto - us - them + 2);
    return std::clamp(0.5 + lead, 0.0, 1.0);
}

} // namespace euchre::players::expert
