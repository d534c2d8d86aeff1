// euchre-train: fits the expert's bidding weights by self-play and writes
// them as the source file the expert compiles in. Deals are drawn from the
// seed; at each bidding question on the way, every choice the seat has
// (pass, make a suit with the partner, make it alone) is played out to the
// end of the hand, the bidding after it by the current policy and the cards
// by the sampled-deal search. A softmax model per group of questions is then
// fitted to the outcomes. The first round's policy is the standard players'
// bidding; each later round bids by the weights the round before fitted.
// Never run by the build or the tests.
#include "model/bubble.h"
#include "model/random.h"
#include "players/expert/bidmodel.h"
#include "players/expert/contract.h"
#include "players/expert/solver.h"
#include "players/players.h"
#include "rules/game.h"
#include "rules/seatview.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace euchre;
using namespace euchre::players::expert::bidmodel;
using rules::cardBit;
using rules::CardMask;
using rules::Game;
using rules::Phase;

namespace {

constexpr char kUsage[] =
    "usage: euchre-train --seed S --deals N [--rounds R] [--versus-standard P]\n"
    "                    [--playout search|solve|compare] [--bids learned|search] --out FILE\n"
    "Plays N deals for each ruleset in each of R rounds (default 2). The cards are played\n"
    "out by the sampled-deal search (search, the default) or solved with every hand in\n"
    "view (solve); compare plays both on the same hands and prints how they differ.\n"
    "The bidding after a choice is the round before's learned one (the standard players'\n"
    "in the first round), or with --bids search the sampled-deal search's in every round.\n"
    "With --versus-standard P, the choosing seat's opponents bid as the standard players\n"
    "in P percent of the play-outs (default 0).\n"
    "--std-deals, --std-rounds and --std-versus-standard set those for the stick-the-dealer\n"
    "weights alone.\n";

struct Sample {
    Features f;
    int outcome;
};
using Samples = std::array<std::vector<Sample>, kGroups>;

// Which bidding the seats use after the choice: the standard players' in the
// first round, the learned weights later. The expert meets standard players
// and people as often as experts, so a share of the play-outs may give the
// choosing seat's opponents the standard players' bidding: what a pass is
// worth depends on who bids after it.
struct Policy {
    const Weights* weights = nullptr;
    bool search = false;  // the sampled-deal search's bidding instead
    int standardTeam = 0; // the team that bids as the standard players, if any

    int operator()(const rules::SeatView& v) const {
        if (teamOf(v.seat()) == standardTeam) return players::answer(players::Level::Standard, v);
        if (search) return players::answer(players::Level::Pimc, v);
        if (!weights) return players::answer(players::Level::Standard, v);
        switch (v.asked().question) {
        case rules::Question::OrderUp:
            return orderUp(v, *weights);
        case rules::Question::Naming:
            return name(v, *weights);
        default:
            return alone(v, *weights);
        }
    }
};

CardMask maskOf(const rules::Hand& hand) {
    CardMask m = 0;
    for (int pos = 1; pos <= kHandSize; ++pos)
        if (hand[pos]) m |= cardBit(hand[pos]);
    return m;
}

struct HandEnd {
    std::array<int, 3> points{};
    int makersTricks = 0;
    bool thrownIn = false;
};

// How the cards are played out: by the sampled-deal search, seat by seat, or
// solved at once with every hand in view (much faster; see --playout).
bool gSolvePlay = false;
bool gCompare = false;
// --bids search: the later bidding is the sampled-deal search's.
bool gSearchBids = false;
// For --compare: makers' tricks of both kinds of play on the same hands.
// By lone or not: hands, then the searched and the solved makers' tricks,
// hands made and marches.
std::array<std::array<double, 7>, 2> gCompared{};

// The makers' tricks when the cards are solved with every hand in view, from
// the first lead on.
int solvedTricks(const rules::Table& t) {
    static players::expert::Solver solver;
    players::expert::Deal deal;
    for (int seat = 1; seat <= kSeats; ++seat)
        deal.hands[seat - 1] = t.sitsout[seat] ? 0 : maskOf(t.hand[seat]);
    deal.trump = t.trump;
    deal.makerTeam = (t.makerseat - 1) & 1;
    for (int seat = 1; seat <= kSeats; ++seat)
        if (t.sitsout[seat]) deal.sitout = seat - 1;
    deal.turn = t.seat - 1;
    return solver.solve(deal);
}

// Plays the hand out from the game as it stands.
HandEnd finish(Game game, const Policy& policy, bool compare = false) {
    HandEnd end;
    const std::array<int, 3> before{0, game.table().team[1].score, game.table().team[2].score};
    rules::Events ev;
    for (;;) {
        ev.clear();
        const rules::Asked asked = game.asked();
        const Phase phase = game.phase();
        if (phase == Phase::HandPause || phase == Phase::GameOver) break;
        if (asked.question == rules::Question::None) {
            if (!game.proceed(ev)) break;
            continue;
        }
        const rules::SeatView v = rules::seatView(game.table(), asked.seat);
        bool moved = false;
        if (asked.question == rules::Question::Card && game.table().record.playCount == 0) {
            if (compare) {
                const int solved = solvedTricks(game.table());
                auto& c = gCompared[game.table().alone[game.table().makerseat]];
                c[2] += solved;
                c[4] += solved >= 3;
                c[6] += solved == 5;
            } else if (gSolvePlay) {
                const rules::Table& t = game.table();
                end.makersTricks = solvedTricks(t);
                const bool lone = t.alone[t.makerseat];
                end.points =
                    rules::handPoints(t.rules, teamOf(t.makerseat), end.makersTricks, lone);
                return end;
            }
        }
        switch (asked.question) {
        case rules::Question::Card:
            moved = game.playCard(asked.seat, players::answer(players::Level::Pimc, v), ev);
            break;
        case rules::Question::Discard: {
            const rules::Hand& h = v.hand();
            const int thrown =
                players::expert::usualDiscard(maskOf(h) | cardBit(v.turned()), v.trump());
            int pos = 1;
            while (pos < kHandSize && rules::cardIndex(h[pos]) != thrown) ++pos;
            moved = game.playCard(asked.seat, pos, ev);
            break;
        }
        default:
            moved = game.decide(asked.seat, policy(v), ev);
            if (phase == Phase::Naming && game.phase() == Phase::OrderUp) {
                end.thrownIn = true;
                return end;
            }
        }
        if (!moved) {
            std::fprintf(stderr, "euchre-train: a move was refused\n");
            std::exit(1);
        }
    }
    const rules::Table& t = game.table();
    for (int team = 1; team <= 2; ++team) end.points[team] = t.team[team].score - before[team];
    end.makersTricks = t.team[teamOf(t.makerseat)].tricks;
    if (compare) {
        auto& c = gCompared[t.alone[t.makerseat]];
        c[0] += 1;
        c[1] += end.makersTricks;
        c[3] += end.makersTricks >= 3;
        c[5] += end.makersTricks == 5;
    }
    return end;
}

int makeOutcome(int tricks) {
    return tricks == 5 ? March : tricks >= 3 ? Point : Euchred;
}

int passOutcome(const HandEnd& end, int us) {
    if (end.thrownIn) return Nothing;
    const int ours = end.points[us], theirs = end.points[3 - us];
    if (ours) return ours == 1 ? UsOne : ours == 2 ? UsTwo : UsLone;
    if (theirs) return theirs == 1 ? ThemOne : theirs == 2 ? ThemTwo : ThemLone;
    return Nothing;
}

Game decided(const Game& from, int seat, int code, bool lone) {
    Game game = from;
    rules::Events ev;
    game.decide(seat, code, ev);
    if (game.phase() == Phase::GoingAlone)
        game.decide(seat, lone ? BubbleAlone : BubbleWithPartner, ev);
    return game;
}

// Which play-outs face the standard players' bidding: a generator of its own,
// so that the deals drawn stay those of the seed alone.
struct Share {
    int percent = 0;
    std::uint64_t state = 88172645463325252ULL;

    // The policy for one play-out of a choice by a seat of team `us`.
    Policy draw(Policy policy, int us) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        if (policy.weights && state % 1000000 < std::uint64_t(percent) * 10000)
            policy.standardTeam = 3 - us;
        return policy;
    }
};

// One deal: every bidding question on the policy's way, each choice played out.
void playDeal(const rules::Ruleset& rules, const Policy& policy, Share& share, Samples& out) {
    Game game;
    rules::Events ev;
    game.startGame(10, rules, ev);
    while (game.phase() == Phase::OrderUp || game.phase() == Phase::Naming) {
        const rules::Asked asked = game.asked();
        const int seat = asked.seat;
        const rules::SeatView v = rules::seatView(game.table(), seat);
        Situation s;
        s.round = game.phase() == Phase::OrderUp ? 1 : 2;
        s.place = placeOf(seat, v.dealer());
        s.turned = v.turned();
        s.hand = maskOf(v.hand());
        const int us = teamOf(seat);
        for (int trump = Clubs; trump <= Hearts; ++trump) {
            if (s.round == 1 ? trump != naturalSuit(s.turned) : trump == v.refusedsuit()) continue;
            const CardMask hand =
                s.round == 1 && s.place == 4 ? afterPickup(s.hand, s.turned) : s.hand;
            const int trumps = rules::popCount(hand & rules::suitMask(trump, trump));
            if (trumps == 0) continue;
            const Features f = makeFeatures(s, trump);
            const int code = s.round == 1 ? BubbleAccept : BubbleClubs + trump - Clubs;
            const HandEnd with =
                finish(decided(game, seat, code, false), share.draw(policy, us), gCompare);
            out[groupOf(Choice::Make, s.round, s.place)].push_back(
                {f, makeOutcome(with.makersTricks)});
            if (trumps >= 3) {
                const HandEnd lone =
                    finish(decided(game, seat, code, true), share.draw(policy, us), gCompare);
                out[groupOf(Choice::Alone, s.round, s.place)].push_back(
                    {f, makeOutcome(lone.makersTricks)});
            }
        }
        const bool mayPass = !(s.round == 2 && s.place == 4);
        if (mayPass) {
            const int code = s.round == 1 ? BubblePass : BubbleNamePass;
            const HandEnd end = finish(decided(game, seat, code, false), share.draw(policy, us));
            out[groupOf(Choice::Pass, s.round, s.place)].push_back(
                {passFeatures(s), passOutcome(end, us)});
        }
        // On along the policy's own way while it passes.
        const int own = policy(v);
        if (own != BubblePass && own != BubbleNamePass) break;
        if (!mayPass) break;
        game.decide(seat, own, ev);
    }
}

// A softmax model fitted to the samples by gradient steps (Adam), with a
// small pull of the weights towards zero so that rare features stay calm.
void fit(const std::vector<Sample>& samples, int outcomes, float (*w)[kFeatures]) {
    if (samples.empty()) return;
    constexpr int kSteps = 300;
    constexpr double kRate = 0.05, kPull = 1e-3, b1 = 0.9, b2 = 0.999;
    const int n = outcomes * kFeatures;
    std::vector<double> weight(n), m(n), v(n), grad(n);
    for (int k = 0; k < outcomes; ++k)
        for (int i = 0; i < kFeatures; ++i) weight[k * kFeatures + i] = w[k][i];
    double p[kMostOutcomes];
    for (int step = 1; step <= kSteps; ++step) {
        std::fill(grad.begin(), grad.end(), 0.0);
        for (const Sample& s : samples) {
            double top = -1e300;
            for (int k = 0; k < outcomes; ++k) {
                double z = 0;
                for (int i = 0; i < kFeatures; ++i) z += weight[k * kFeatures + i] * s.f[i];
                p[k] = z;
                top = std::max(top, z);
            }
            double sum = 0;
            for (int k = 0; k < outcomes; ++k) sum += p[k] = std::exp(p[k] - top);
            for (int k = 0; k < outcomes; ++k) {
                const double g = p[k] / sum - (k == s.outcome);
                for (int i = 0; i < kFeatures; ++i) grad[k * kFeatures + i] += g * s.f[i];
            }
        }
        for (int j = 0; j < n; ++j) {
            const double g = grad[j] / double(samples.size()) + kPull * weight[j];
            m[j] = b1 * m[j] + (1 - b1) * g;
            v[j] = b2 * v[j] + (1 - b2) * g * g;
            const double mh = m[j] / (1 - std::pow(b1, step));
            const double vh = v[j] / (1 - std::pow(b2, step));
            weight[j] -= kRate * mh / (std::sqrt(vh) + 1e-8);
        }
    }
    for (int k = 0; k < outcomes; ++k)
        for (int i = 0; i < kFeatures; ++i) w[k][i] = float(weight[k * kFeatures + i]);
}

bool write(const std::string& path, const Weights& w, const std::string& command,
           const std::array<long, kTables>& sampleCount) {
    FILE* out = std::fopen(path.c_str(), "w");
    if (!out) return false;
    std::fprintf(out,
                 "// The expert's bidding weights, written by euchre-train; not edited by hand.\n"
                 "// Rebuilt with:\n//   %s\n"
                 "// Choices played out: %ld under the plain rules, %ld under stick the dealer.\n"
                 "// clang-format off\n"
                 "#include \"players/expert/bidmodel.h\"\n\n"
                 "namespace euchre::players::expert::bidmodel {\n\n"
                 "const Weights& learned() {\n"
                 "    static const Weights weights{{\n",
                 command.c_str(), sampleCount[0], sampleCount[1]);
    for (int t = 0; t < kTables; ++t) {
        std::fprintf(out, "{\n");
        for (int g = 0; g < kGroups; ++g) {
            std::fprintf(out, "{\n");
            for (int k = 0; k < kMostOutcomes; ++k) {
                std::fprintf(out, "{");
                for (int i = 0; i < kFeatures; ++i)
                    std::fprintf(out, "%s%.4g", i ? "," : "", double(w.w[t][g][k][i]));
                std::fprintf(out, "},\n");
            }
            std::fprintf(out, "},\n");
        }
        std::fprintf(out, "},\n");
    }
    std::fprintf(out, "    }};\n    return weights;\n}\n\n"
                      "} // namespace euchre::players::expert::bidmodel\n");
    return std::fclose(out) == 0;
}

} // namespace

int main(int argc, char** argv) {
    // What the weights are trained with: [0] for both rulesets, [1] for
    // stick the dealer alone (-1: as [0]).
    long seed = -1;
    std::array<long, 2> deals{0, -1}, rounds{2, -1}, versusStandard{0, -1};
    std::string outPath;
    std::string command = "euchre-train";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const std::string value = argv[i + 1];
        command.append(" ").append(name).append(" ").append(value);
        if (name == "--out") {
            outPath = value;
            continue;
        }
        if (name == "--bids") {
            if (value != "search" && value != "learned") {
                std::fprintf(stderr, "euchre-train: --bids is search or learned\n%s", kUsage);
                return 2;
            }
            gSearchBids = value == "search";
            continue;
        }
        if (name == "--playout") {
            if (value != "search" && value != "solve" && value != "compare") {
                std::fprintf(stderr, "euchre-train: --playout is search, solve or compare\n%s",
                             kUsage);
                return 2;
            }
            gSolvePlay = value == "solve";
            gCompare = value == "compare";
            continue;
        }
        char* end = nullptr;
        const long number = std::strtol(value.c_str(), &end, 10);
        if (*end || number < 0) {
            std::fprintf(stderr, "euchre-train: %s takes a whole number\n%s", argv[i], kUsage);
            return 2;
        }
        // --X is for both rulesets, --std-X for stick the dealer alone.
        const bool stdOnly = name.substr(0, 6) == "--std-";
        const std::string_view key = stdOnly ? name.substr(6) : name.substr(2);
        std::array<long, 2>* field = key == "deals"             ? &deals
                                     : key == "rounds"          ? &rounds
                                     : key == "versus-standard" ? &versusStandard
                                                                : nullptr;
        if (name == "--seed")
            seed = number;
        else if (field == &versusStandard && number > 100) {
            std::fprintf(stderr, "euchre-train: %s is a percent, 0 to 100\n%s", argv[i], kUsage);
            return 2;
        } else if (field)
            (*field)[stdOnly] = number;
        else {
            std::fprintf(stderr, "euchre-train: unknown argument '%s'\n%s", argv[i], kUsage);
            return 2;
        }
    }
    for (auto* field : {&deals, &rounds, &versusStandard})
        if ((*field)[1] < 0) (*field)[1] = (*field)[0];
    if (argc % 2 == 0 || seed < 0 || std::min(deals[0], deals[1]) < 1 ||
        std::min(rounds[0], rounds[1]) < 1 || outPath.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }

    auto weights = std::make_unique<Weights>();
    std::memset(weights.get(), 0, sizeof(Weights));
    std::array<long, kTables> played{};
    const auto started = std::chrono::steady_clock::now();
    for (int table = 0; table < kTables; ++table) {
        rules::Ruleset rules;
        rules.stickTheDealer = table == 1;
        Samples samples;
        Share share;
        share.percent = int(versusStandard[table]);
        for (int round = 0; round < rounds[table]; ++round) {
            // Fresh deals each round, from the seed alone.
            rng::restart(std::uint32_t(seed * 7919 + table * 104729 + round * 15485863));
            Weights current = *weights;
            Policy policy;
            policy.search = gSearchBids;
            if (round > 0) policy.weights = &current;
            for (long d = 0; d < deals[table]; ++d) playDeal(rules, policy, share, samples);
            for (int lone = 0; gCompare && lone < 2; ++lone) {
                const auto& c = gCompared[lone];
                const double n = std::max(c[0], 1.0);
                std::printf("rules %d %s: %.0f hands; makers' tricks searched %.3f solved %.3f; "
                            "made %.3f / %.3f; marched %.3f / %.3f\n",
                            table, lone ? "alone" : "with partner", c[0], c[1] / n, c[2] / n,
                            c[3] / n, c[4] / n, c[5] / n, c[6] / n);
            }
            long count = 0;
            for (int g = 0; g < kGroups; ++g) {
                const Choice choice = Choice(g / 8);
                fit(samples[g], outcomesOf(choice), weights->w[table][g]);
                count += long(samples[g].size());
            }
            played[table] = count;
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            std::fprintf(stderr, "rules %d round %d: %ld choices played out, %.0f s\n", table,
                         round + 1, count, seconds);
        }
    }
    if (!write(outPath, *weights, command, played)) {
        std::fprintf(stderr, "euchre-train: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}
