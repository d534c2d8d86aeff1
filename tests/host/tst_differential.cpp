// The host and the simulator on the rules core play the same seeded games:
// the host through its messages, recording links and stepped timers, the
// simulator on the core alone. Deals, bids, cards, tricks and scores must
// agree message for message.
#include "host/support/hostfixture.h"
#include "model/random.h"
#include "rules/ruleset.h"
#include "sim/simulator.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::testing;

namespace {

constexpr int kGames = 200;
constexpr int kPlayTo = 10;

QByteArray n(int v) {
    return QByteArray::number(v);
}

// The four hands as they lie, the way both sides write them down.
template <typename HandOf> QByteArray handsLine(HandOf handOf) {
    QByteArray line = "hands";
    for (int seat = 1; seat <= 4; ++seat)
        for (int pos = 1; pos <= 5; ++pos) line += '+' + n(handOf(seat)[pos]);
    return line;
}

// A spectator's view of one game on the host, with the hands of each deal and
// of the first trick (after the dealer's discard) taken from its records.
QByteArrayList throughHost(std::uint32_t start, int playto = kPlayTo,
                           players::Level level = players::Level::Standard,
                           const QByteArray& ruleset = {}) {
    HostFixture h;
    h.server.setComputerLevel(level);
    for (int i = 1; i <= 5; ++i) h.connect();
    for (int seat = 1; seat <= 4; ++seat) h.link[seat]->close(); // computer seats
    QByteArrayList seen;
    TServer& s = h.server;
    s.onSend = [&](int slot, const QByteArray& bytes) {
        if (slot != 5) return;
        QByteArray m = bytes.chopped(1);
        // The starter's echo is no rule; the hands are face down for a spectator.
        if (m.startsWith("CMD_startgame+") || m.startsWith("CMD_placecard+")) return;
        if (m.startsWith("CMD_settrump+") ||
            (m.startsWith("CMD_clearcards+") && s.game().table().tricknumber == 1))
            seen.append(handsLine([&](int seat) { return s.game().table().hand[seat]; }));
        seen.append(m);
    };
    rng::restart(start);
    s.startgame("Sim+" + n(playto) + "+" + (ruleset.isEmpty() ? "" : ruleset + "+"));
    for (int tick = 0; tick < 1000000 && s.gameon && s.ctimer.isActive(); ++tick) s.ctimerTimer();
    if (s.gameon) seen.append("the host stopped");
    return seen;
}

// The same view written from the core's events.
class Transcript : public sim::Watcher {
public:
    void step(const rules::Events& events, const rules::Table& t) override {
        using K = rules::EventKind;
        auto hands = [&] { seen.append(handsLine([&](int seat) { return t.hand[seat]; })); };
        auto line = [&](const char* word, std::initializer_list<int> fields) {
            QByteArray m = word;
            for (int f : fields) m += '+' + n(f);
            seen.append(m + '+');
        };
        for (const rules::Event& e : events) {
            switch (e.kind) {
            case K::Dealer:
                line("CMD_dealer", {e.seat()});
                break;
            case K::Turned:
                hands();
                line("CMD_settrump", {e.card()});
                break;
            case K::Bidder:
                line("CMD_bidder", {e.seat()});
                break;
            case K::Passed:
                line("CMD_hepassed", {e.seat()});
                break;
            case K::Accepted:
                line("CMD_heaccepted", {e.seat()});
                break;
            case K::TrumpMade:
                line("CMD_trumpchoosen", {e.seat(), e.suit()});
                break;
            case K::Chooser:
                line("CMD_chooser", {e.seat(), e.suit()});
                break;
            case K::Aloner:
                line("CMD_aloner", {e.seat()});
                break;
            case K::GoingAlone:
                line("CMD_goingalone", {e.seat(), e.code()});
                break;
            case K::Discarder:
                line("CMD_discarder", {e.seat()});
                break;
            case K::TrickStarted:
                if (t.tricknumber == 1) hands();
                line("CMD_clearcards", {});
                break;
            case K::NextPlayer:
                line("CMD_nextplayer", {e.seat()});
                break;
            case K::Played:
                line("CMD_playedcard", {e.seat(), e.position(), e.card()});
                break;
            case K::TrickWon:
                line("CMD_trickwinner", {e.seat(), e.tricks(1), e.tricks(2)});
                break;
            case K::Scored:
                line("CMD_score", {e.team(), e.score(1), e.points(1), e.score(2), e.points(2)});
                break;
            case K::GameWon:
                line("CMD_thewinner", {e.team()});
                break;
            case K::Dealt:
            case K::Switched: // only the dealer's own table is told
                break;
            case K::RefusedTrump:
            case K::RefusedPass:
            case K::RefusedCard:
            case K::EmptyPlace:
                seen.append("a computer seat's move was refused");
                break;
            }
        }
    }
    QByteArrayList seen;
};

} // namespace

class DifferentialTest : public QObject {
    Q_OBJECT
private slots:
    void hostAndCorePlayTheSameGames_data() {
        QTest::addColumn<QByteArray>("ruleset");
        QTest::addColumn<int>("games");
        QTest::newRow("plain rules") << QByteArray() << kGames;
        QTest::newRow("every house rule")
            << QByteArray("std=1,canadian=1,loner_lead=LEFT_OF_LONER,loner_march_score=5")
            << kGames / 2;
    }
    void hostAndCorePlayTheSameGames() {
        QFETCH(QByteArray, ruleset);
        QFETCH(int, games);
        sim::Simulator core;
        core.setRules(*rules::parseRuleset(ruleset.toStdString()));
        Transcript transcript;
        core.setWatcher(&transcript);
        for (std::uint32_t start = 1; start <= std::uint32_t(games); ++start) {
            const QByteArrayList host =
                throughHost(start, kPlayTo, players::Level::Standard, ruleset);
            transcript.seen.clear();
            rng::restart(start);
            QVERIFY(core.playGame(kPlayTo));
            if (host != transcript.seen) {
                qsizetype at = 0;
                while (at < host.size() && at < transcript.seen.size() &&
                       host[at] == transcript.seen[at])
                    ++at;
                QFAIL(qPrintable(
                    QStringLiteral("game %1 differs at line %2: host \"%3\", core \"%4\"")
                        .arg(start)
                        .arg(at)
                        .arg(QString::fromLatin1(host.value(at)))
                        .arg(QString::fromLatin1(transcript.seen.value(at)))));
            }
        }
        // The games reached the rare paths too: a loner, and a deal thrown in
        // unless the dealer is stuck.
        QVERIFY(core.figures().alone > 0);
        QCOMPARE(core.figures().thrownIn > 0, !core.rules().stickTheDealer);
    }

    // Expert seats decide the same on the host as in the simulator: both
    // build each seat's view from the same events.
    void hostAndCoreAgreeWithExperts_data() {
        QTest::addColumn<QByteArray>("ruleset");
        QTest::newRow("plain rules") << QByteArray();
        QTest::newRow("stuck dealer, Canadian loner") << QByteArray("std=1,canadian=1");
    }
    void hostAndCoreAgreeWithExperts() {
        QFETCH(QByteArray, ruleset);
        sim::Simulator core;
        core.setRules(*rules::parseRuleset(ruleset.toStdString()));
        Transcript transcript;
        core.setWatcher(&transcript);
        for (int seat = 1; seat <= 4; ++seat) core.setLevel(seat, players::Level::Expert);
        const QByteArrayList host = throughHost(3, 5, players::Level::Expert, ruleset);
        rng::restart(3);
        QVERIFY(core.playGame(5));
        QCOMPARE(host, transcript.seen);
    }
};

QTEST_GUILESS_MAIN(DifferentialTest)
#include "tst_differential.moc"
