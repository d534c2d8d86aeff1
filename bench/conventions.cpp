// euchre-conventions: asks each level of computer player about positions
// where players expect a partner to follow a well-known convention, and
// prints how often each level follows it and what a deviation costs, in
// points of the hand as the expert's advice values the answers (sampled
// deals, each solved with every card in view).
#include "players/support/conventions.h"
#include "players/advice.h"
#include "players/players.h"
#include "rules/seatview.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace euchre;
using playerstest::kConventions;

int main(int argc, char** argv) {
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--summary") == 0) {
            quiet = true;
        } else {
            std::fprintf(stderr, "usage: euchre-conventions [--summary]\n"
                                 "Prints, for each level and position, the answer, whether it\n"
                                 "follows the convention and the points it gives up against\n"
                                 "the best conventional answer; --summary only the totals.\n");
            return 2;
        }
    }
    const players::Level levels[] = {players::Level::Standard, players::Level::Pimc,
                                     players::Level::Expert};
    int followed[3] = {};
    double cost[3] = {};
    for (const auto& c : kConventions) {
        const rules::Table table = playerstest::conventionTable(c);
        const rules::SeatView view = rules::seatView(table, 1);
        const std::vector<int> allowed = playerstest::conventionalAnswers(c);
        const players::Advice advice = players::advise(view);
        double best = -1e9;
        for (const int a : allowed)
            if (const players::Option* o = advice.option(a)) best = std::max(best, o->points);
        if (!quiet) std::printf("%s\n", c.name);
        for (int l = 0; l < 3; ++l) {
            const int answer = players::answer(levels[l], view);
            const bool follows = std::find(allowed.begin(), allowed.end(), answer) != allowed.end();
            const players::Option* o = advice.option(answer);
            const double given = follows || !o ? 0 : best - o->points;
            followed[l] += follows;
            cost[l] += given;
            if (!quiet && follows)
                std::printf("  %-9s follows\n", players::levelName(levels[l]));
            else if (!quiet)
                std::printf("  %-9s deviates, giving up %+.3f points\n",
                            players::levelName(levels[l]), given);
        }
    }
    const int n = int(std::size(kConventions));
    std::printf("%-9s %9s %22s\n", "level", "follows", "points given up in all");
    for (int l = 0; l < 3; ++l)
        std::printf("%-9s %5d/%-3d %22.3f\n", players::levelName(levels[l]), followed[l], n,
                    cost[l]);
    return 0;
}
