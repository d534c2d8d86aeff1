// euchre-sim: four computer seats play whole games on the rules core with no
// pauses; prints the games' figures, as text or as one JSON object.
#include "app/commandline.h"
#include "model/random.h"
#include "records/egn.h"
#include "records/recorder.h"
#include "records/replay.h"
#include "rules/ruleset.h"
#include "sim/simulator.h"
#include "storage/savefile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

constexpr int kDefaultGames = 1000;
constexpr int kDefaultPlayto = 10;
constexpr int kMaxGames = 1000000000;
constexpr int kMaxPlayto = 1000000; // the host refuses anything higher

constexpr char kUsage[] =
    "usage: euchre-sim [--games N] [--playto P] [--seed S] [--json] [--rules LIST]\n"
    "                  [--record DIR] | --check-record FILE\n"
    "                  [--team1 LEVEL] [--team2 LEVEL] [--seat1 LEVEL] .. [--seat4 LEVEL] "
    "[--swap]\n"
    "LEVEL is standard (the default), pimc or expert. --swap plays every game twice from the\n"
    "same deals, the second time with the two teams' levels exchanged.\n"
    "LIST is the house rules as key=value items separated by commas: std=1 (stick the\n"
    "dealer), canadian=1 (the Canadian loner), loner_lead=LEFT_OF_DEALER or LEFT_OF_LONER,\n"
    "loner_march_score=3, 4 or 5; std and canadian also take 0, true and false. Without\n"
    "it the games are played by the plain rules.\n"
    "--record DIR writes each game's record into DIR. --check-record FILE plays no\n"
    "games: it replays the record through the rules and prints the deals, the final\n"
    "score and whether every move was legal (exit status 0 only when it was).\n";

struct Options {
    int games = kDefaultGames;
    int playto = kDefaultPlayto;
    std::optional<std::uint32_t> startValue;
    bool json = false;
    bool help = false;
    bool version = false;
    // Computer players by seat 1..4 as given, and whether any level or swap was asked for.
    std::array<euchre::players::Level, 5> level{};
    bool levels = false;
    bool swap = false;
    // The house rules, when --rules was given.
    std::optional<euchre::rules::Ruleset> rules;
    // --record: the folder that gets one game record per game.
    std::string recordFolder;
    // --check-record: the record to replay instead of playing.
    std::string checkRecord;
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
        if (arg == "--swap") {
            options.swap = options.levels = true;
            continue;
        }
        // The options with a value take it as the next argument or after "=".
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const auto eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const bool levelOption = name == "--team1" || name == "--team2" || name == "--seat1" ||
                                 name == "--seat2" || name == "--seat3" || name == "--seat4";
        const bool fileOption = name == "--record" || name == "--check-record";
        if (name != "--games" && name != "--playto" && name != "--seed" && name != "--rules" &&
            !levelOption && !fileOption) {
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
        if (fileOption) {
            if (value->empty()) {
                error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            (name == "--record" ? options.recordFolder : options.checkRecord) = std::string(*value);
            continue;
        }
        if (name == "--rules") {
            std::string_view bad;
            options.rules = euchre::rules::parseRuleset(*value, &bad);
            if (!options.rules) {
                error = "--rules does not take '" + std::string(bad) + "'";
                return std::nullopt;
            }
            continue;
        }
        if (levelOption) {
            euchre::players::Level level;
            if (!euchre::players::levelFromName(*value, level)) {
                error = std::string(name) + " must be standard, pimc or expert, not '" +
                        std::string(*value) + "'";
                return std::nullopt;
            }
            // --teamN sets both seats of the team, --seatN one seat.
            const int n = name.back() - '0';
            if (name.substr(0, 6) == "--team") {
                options.level[n] = options.level[n + 2] = level;
            } else {
                options.level[n] = level;
            }
            options.levels = true;
            continue;
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
                "\"points_team2\": %lld, \"seconds\": %.3f, \"hands_per_second\": %.1f",
                static_cast<long long>(f.games), static_cast<long long>(f.hands),
                static_cast<long long>(f.thrownIn), static_cast<long long>(f.team1Wins),
                static_cast<long long>(f.team2Wins), static_cast<long long>(f.orderedUp),
                static_cast<long long>(f.named), static_cast<long long>(f.alone),
                static_cast<long long>(f.marches), static_cast<long long>(f.euchres),
                static_cast<long long>(f.pointsTeam1), static_cast<long long>(f.pointsTeam2),
                seconds, rate);
}

// What the players set for one team won, scored and took to decide. With
// --swap a side follows its levels into the other team's seats.
struct Side {
    std::string level;
    long long won = 0;
    long long points = 0;
    std::vector<double> expertMs;
};

std::string teamLevel(const std::array<euchre::players::Level, 5>& level, int team) {
    const std::string a = euchre::players::levelName(level[team]);
    const std::string b = euchre::players::levelName(level[team + 2]);
    return a == b ? a : a + "+" + b;
}

// The p-th part (0..1) of the sorted times, 0 when there are none.
double quantile(std::vector<double>& times, double p) {
    if (times.empty()) return 0;
    const std::size_t at = std::min(times.size() - 1, static_cast<std::size_t>(p * times.size()));
    std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(at), times.end());
    return times[at];
}

void printSidesText(std::array<Side, 3>& sides, long long hands) {
    for (int team = 1; team <= 2; ++team) {
        Side& side = sides[team];
        const std::string key = "team" + std::to_string(team) + "_";
        std::printf("%-24s %s\n", (key + "level").c_str(), side.level.c_str());
        std::printf("%-24s %lld\n", (key + "games_won").c_str(), side.won);
        std::printf("%-24s %.4f\n", (key + "points_per_hand").c_str(),
                    hands ? double(side.points) / double(hands) : 0.0);
        std::printf("%-24s %.3f\n", (key + "expert_ms_median").c_str(),
                    quantile(side.expertMs, 0.5));
        std::printf("%-24s %.3f\n", (key + "expert_ms_p99").c_str(), quantile(side.expertMs, 0.99));
    }
}

void printSidesJson(std::array<Side, 3>& sides, long long hands) {
    for (int team = 1; team <= 2; ++team) {
        Side& side = sides[team];
        std::printf(", \"team%d_level\": \"%s\", \"team%d_games_won\": %lld, "
                    "\"team%d_points_per_hand\": %.4f, \"team%d_expert_ms_median\": %.3f, "
                    "\"team%d_expert_ms_p99\": %.3f",
                    team, side.level.c_str(), team, side.won, team,
                    hands ? double(side.points) / double(hands) : 0.0, team,
                    quantile(side.expertMs, 0.5), team, quantile(side.expertMs, 0.99));
    }
}

// Keeps each game's record from the simulator's events and saves it into
// the records folder as the game ends.
class GameKeeper : public euchre::sim::Watcher {
public:
    GameKeeper(const euchre::sim::Simulator& sim, std::string folder, std::uint32_t seed)
        : m_sim(sim), m_folder(QString::fromStdString(folder)), m_seed(seed) {}

    void startGame(int playto) {
        if (m_folder.isEmpty()) return;
        ++m_games;
        QStringList players;
        for (int seat = 1; seat <= 4; ++seat)
            players.append(QStringLiteral("Seat %1 (%2)")
                               .arg(seat)
                               .arg(QLatin1String(euchre::players::levelName(m_sim.level(seat)))));
        m_recorder.startGame(m_sim.rules(), playto, players, QString(),
                             QStringLiteral("sim-%1-%2").arg(m_seed).arg(m_games));
    }

    void step(const euchre::rules::Events& events, const euchre::rules::Table& table) override {
        for (const euchre::rules::Event& e : events) {
            m_recorder.event(e);
            // The simulator sees every hand, so its records hold the deals whole.
            if (e.kind == euchre::rules::EventKind::Dealt)
                for (int seat = 1; seat <= 4; ++seat) m_recorder.dealtHand(seat, table.hand[seat]);
        }
    }

    bool save() {
        if (m_folder.isEmpty()) return true;
        const QString name =
            QStringLiteral("game-%1-%2.egn").arg(m_seed).arg(m_games, 6, 10, QLatin1Char('0'));
        QString why;
        if (!QDir().mkpath(m_folder) ||
            !euchre::saveWhole(QDir(m_folder).filePath(name),
                               euchre::records::writeRecord(m_recorder.record()), &why)) {
            m_error = "cannot write " + QDir(m_folder).filePath(name).toStdString() + ": " +
                      why.toStdString();
            return false;
        }
        return true;
    }
    const std::string& error() const { return m_error; }

private:
    const euchre::sim::Simulator& m_sim;
    QString m_folder;
    std::uint32_t m_seed;
    int m_games = 0;
    euchre::records::Recorder m_recorder;
    std::string m_error;
};

// Replays a record file and prints what it found as one JSON object.
int checkRecord(const std::string& path) {
    QFile file(QString::fromStdString(path));
    QString why;
    std::optional<euchre::records::GameRecord> record;
    if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else if (file.size() > euchre::records::kMaxRecordBytes)
        why = QStringLiteral("the file is too long");
    else
        record = euchre::records::readRecord(file.readAll(), &why);
    const auto quoted = [](const QString& text) {
        return QJsonDocument(QJsonArray{text})
            .toJson(QJsonDocument::Compact)
            .mid(1)
            .chopped(1)
            .toStdString();
    };
    if (!record) {
        std::printf("{\"readable\": false, \"legal\": false, \"error\": %s}\n",
                    quoted(why).c_str());
        return 2;
    }
    const euchre::records::Replay replay = euchre::records::replayRecord(*record);
    std::string first = "null";
    if (!replay.legal) {
        const euchre::records::ReplayDeal& deal = replay.deals[std::size_t(replay.faultDeal - 1)];
        first = "{\"deal\": " + std::to_string(replay.faultDeal) +
                ", \"move\": " + quoted(deal.faultMove) + ", \"reason\": " + quoted(deal.faultWhy) +
                "}";
    }
    std::printf("{\"readable\": true, \"deals\": %d, \"final_score\": [%d, %d], \"legal\": %s, "
                "\"first_illegal\": %s}\n",
                int(record->deals.size()), replay.score[1], replay.score[2],
                replay.legal ? "true" : "false", first.c_str());
    return replay.legal ? 0 : 1;
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

    if (!options->checkRecord.empty()) return checkRecord(options->checkRecord);

    // Without a starting value the time of day picks one; it is printed so
    // that the run can be repeated.
    const std::uint32_t startValue = options->startValue.value_or(euchre::rng::timeOfDayValue());
    euchre::rng::restart(startValue);

    euchre::sim::Simulator sim;
    if (options->rules) sim.setRules(*options->rules);
    GameKeeper keeper(sim, options->recordFolder, startValue);
    if (!options->recordFolder.empty()) sim.setWatcher(&keeper);
    std::array<Side, 3> sides;
    for (int team = 1; team <= 2; ++team) sides[team].level = teamLevel(options->level, team);
    // One game with the levels as given (or exchanged between the teams),
    // its result put to the sides.
    auto play = [&](bool swapped) {
        for (int seat = 1; seat <= 4; ++seat)
            sim.setLevel(seat, options->level[swapped ? seat % 2 + 1 + (seat > 2) * 2 : seat]);
        const euchre::sim::Figures before = sim.figures();
        keeper.startGame(options->playto);
        if (!sim.playGame(options->playto)) return false;
        if (!keeper.save()) return false;
        const euchre::sim::Figures& after = sim.figures();
        for (int team = 1; team <= 2; ++team) {
            Side& side = sides[swapped ? 3 - team : team];
            const long long won =
                team == 1 ? after.team1Wins - before.team1Wins : after.team2Wins - before.team2Wins;
            const long long points = team == 1 ? after.pointsTeam1 - before.pointsTeam1
                                               : after.pointsTeam2 - before.pointsTeam2;
            side.won += won;
            side.points += points;
            std::vector<double> times = sim.takeExpertTimes(team);
            side.expertMs.insert(side.expertMs.end(), times.begin(), times.end());
        }
        return true;
    };
    const auto started = std::chrono::steady_clock::now();
    for (int game = 1; game <= options->games; ++game) {
        bool ok;
        if (options->swap) {
            // Both games of a pair are dealt from the same start.
            const std::uint32_t pairStart = startValue ^ (std::uint32_t(game) * 0x9E3779B9u);
            euchre::rng::restart(pairStart);
            ok = play(false);
            euchre::rng::restart(pairStart);
            ok = ok && play(true);
        } else {
            ok = play(false);
        }
        if (!ok) {
            std::fprintf(stderr, "euchre-sim: %s\n",
                         keeper.error().empty() ? sim.fault().c_str() : keeper.error().c_str());
            return 1;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const euchre::sim::Figures& figures = sim.figures();
    const double rate = seconds > 0 ? static_cast<double>(figures.hands) / seconds : 0.0;

    if (options->json) {
        // The level figures join the same object, before its closing brace.
        printJson(figures, seconds, rate);
        if (options->levels) printSidesJson(sides, figures.hands);
        // The house rules as played, written the way --rules takes them.
        if (options->rules)
            std::printf(", \"rules\": \"%s\"", euchre::rules::rulesetText(*options->rules).c_str());
        std::printf("}\n");
    } else {
        printText(figures, startValue, seconds, rate);
        if (options->levels) printSidesText(sides, figures.hands);
        if (options->rules)
            std::printf("%-17s %s\n", "rules", euchre::rules::rulesetText(*options->rules).c_str());
    }
    return 0;
}
