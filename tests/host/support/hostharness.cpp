// Four computer seats playing whole games on one host, watched through the
// messages a spectator receives, with no pauses between the computer turns.
#include "host/support/hostharness.h"

#include "model/bubble.h"
#include "model/card.h"
#include "net/commands.h"
#include "net/protocol.h"
#include "rules/ruleset.h"

#include <memory>
#include <string_view>

namespace euchre::testing {

namespace {

// A connection that takes everything and answers nothing; closing it reports
// the close the way the socket component does, so the host frees the slot.
class QuietLink : public PeerLink {
public:
    void send(const QByteArray&) override {}
    void close() override {
        if (m_closed) return;
        m_closed = true;
        if (onInfo) onInfo(2, QStringLiteral("Socket Closed"));
    }

private:
    bool m_closed = false;
};

// The most computer-timer ticks one game may take for each point played to
// before it counts as going nowhere. A scored hand takes well under two
// hundred ticks and a thrown-in deal about forty.
constexpr qint64 kTicksPerPoint = 20000;

// Above any score or point a game can reach.
constexpr int kMaxScore = 1 << 30;

} // namespace

HostHarness::HostHarness() {
    std::array<PeerLink*, kSpectatorSlot + 1> links{};
    for (int i = 1; i <= kSpectatorSlot; ++i) {
        auto link = std::make_unique<QuietLink>();
        PeerLink* raw = link.get();
        const int slot = m_server.admit(std::move(link));
        if (slot != i) {
            setFault(QStringLiteral("connection %1 was given slot %2").arg(i).arg(slot));
            return;
        }
        links[i] = raw;
    }
    // Leaving only the spectator connected makes all four seats computer seats.
    for (int seat = 1; seat <= kSeats; ++seat) links[seat]->close();
    for (int seat = 1; seat <= kSeats; ++seat) {
        if (!m_server.isComputerSeat(seat)) {
            setFault(QStringLiteral("seat %1 is not played by the computer").arg(seat));
            return;
        }
    }
    m_server.onSend = [this](int slot, const QByteArray& bytes) {
        if (slot == kSpectatorSlot) observe(bytes);
    };
}

void HostHarness::setFault(const QString& text) {
    if (m_fault.isEmpty()) m_fault = text;
}

void HostHarness::count(const rules::Event& event) {
    rules::Events events;
    events.push(event);
    m_counter.count(events);
}

bool HostHarness::playGame(int playto) {
    if (!m_fault.isEmpty()) return false;
    m_game = WatchedGame{};
    m_playto = playto;
    m_gameOver = false;
    m_dealOpen = false;
    m_aloneThisDeal = false;
    m_tricks = {};
    m_counter.newGame();

    // The starter's name and the play-to score, as "CMD_startgame" carries them.
    m_server.startgame(QByteArray("Sim+") + QByteArray::number(playto) + '+');
    if (!m_server.gameon) {
        setFault(QStringLiteral("the host did not start a game to %1").arg(playto));
        return false;
    }

    const qint64 maxTicks = kTicksPerPoint * (qMax(playto, 1) + 1);
    for (qint64 tick = 0; !m_gameOver && m_fault.isEmpty(); ++tick) {
        if (m_server.ctimerTag == ActionNone || !m_server.ctimer.isActive()) {
            const rules::Table& t = m_server.game().table();
            setFault(QStringLiteral("game %1 stalled in deal %2: nothing pending on the computer "
                                    "timer and no winner (dealer %3, bidder %4, chooser %5, "
                                    "aloner %6, discarder %7, next player %8, trick %9)")
                         .arg(figures().games + 1)
                         .arg(m_game.deals)
                         .arg(t.dealer)
                         .arg(t.bidder())
                         .arg(t.chooser())
                         .arg(t.aloner())
                         .arg(t.discarder())
                         .arg(t.nextplayer())
                         .arg(t.tricknumber));
            break;
        }
        if (tick >= maxTicks) {
            setFault(QStringLiteral("game %1 has no winner after %2 ticks and %3 deals")
                         .arg(figures().games + 1)
                         .arg(tick)
                         .arg(m_game.deals));
            break;
        }
        m_server.ctimerTimer();
    }
    if (!m_fault.isEmpty()) return false;
    if (m_server.gameon || m_server.ctimer.isActive()) {
        setFault(QStringLiteral("game %1 announced a winner but did not end").arg(figures().games));
        return false;
    }
    return true;
}

void HostHarness::observe(QByteArrayView message) {
    // Cut with standard string views, which the compiler inlines: this runs
    // for every message of every game.
    std::string_view text(message.data(), static_cast<std::size_t>(message.size()));
    if (!text.empty() && text.back() == kTerminator) text.remove_suffix(1);
    const std::size_t plus = text.find('+');
    if (plus == std::string_view::npos) return;
    const std::string_view word = text.substr(0, plus);
    const QByteArrayView args(text.data() + plus + 1,
                              static_cast<qsizetype>(text.size() - plus - 1));
    FieldReader fields(args);

    using rules::EventKind;
    if (word == cmd::dealer) {
        const std::optional<int> seat = fields.number(1, kSeats);
        if (!seat) return setFault(QStringLiteral("unreadable dealer"));
        onDealer(*seat);
    } else if (word == cmd::trickwinner) {
        const std::optional<int> winner = fields.number(0, kSeats);
        const std::optional<int> team1 = fields.number(0, kHandSize);
        const std::optional<int> team2 = fields.number(0, kHandSize);
        if (!winner || !team1 || !team2) return setFault(QStringLiteral("unreadable trick count"));
        m_tricks[1] = *team1;
        m_tricks[2] = *team2;
        count(rules::Event::trickWon(*winner, *team1, *team2));
    } else if (word == cmd::heaccepted) {
        const std::optional<int> seat = fields.number(1, kSeats);
        if (!seat) return setFault(QStringLiteral("unreadable order-up"));
        count(rules::Event::of(EventKind::Accepted, *seat));
    } else if (word == cmd::trumpchoosen) {
        const std::optional<int> seat = fields.number(1, kSeats);
        const std::optional<int> suit = fields.number(Clubs, Hearts);
        if (!seat || !suit) return setFault(QStringLiteral("unreadable trump"));
        if (!m_dealOpen) return setFault(QStringLiteral("trump made twice in one deal"));
        m_dealOpen = false;
        count(rules::Event::trump(EventKind::TrumpMade, *seat, *suit));
    } else if (word == cmd::goingalone) {
        const std::optional<int> seat = fields.number(1, kSeats);
        const std::optional<int> code = fields.number(BubbleAlone, BubbleWithPartner);
        if (!seat || !code) return setFault(QStringLiteral("unreadable going-alone answer"));
        m_aloneThisDeal |= *code == BubbleAlone;
        count(rules::Event::goingAlone(*seat, *code));
    } else if (word == cmd::score) {
        onScore(args);
    } else if (word == cmd::thewinner) {
        onWinner(args);
    }
}

void HostHarness::onDealer(int seat) {
    ++m_game.deals;
    m_dealOpen = true;
    m_aloneThisDeal = false;
    m_tricks = {};
    count(rules::Event::of(rules::EventKind::Dealer, seat));
}

void HostHarness::onScore(QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> making = fields.number(1, 2);
    std::array<std::optional<int>, 3> total{};
    std::array<std::optional<int>, 3> points{};
    total[1] = fields.number(0, kMaxScore);
    points[1] = fields.number(0, kMaxScore);
    total[2] = fields.number(0, kMaxScore);
    points[2] = fields.number(0, kMaxScore);
    if (!making || !total[1] || !points[1] || !total[2] || !points[2])
        return setFault(QStringLiteral("unreadable score"));
    if (m_dealOpen) return setFault(QStringLiteral("a hand was scored without trump"));

    const int makers = *making;
    const int taken = m_tricks[makers];
    if (m_tricks[1] + m_tricks[2] != kHandSize)
        return setFault(
            QStringLiteral("a hand was scored after %1 tricks").arg(m_tricks[1] + m_tricks[2]));

    // The points must be the ones the tricks earned under the game's house rules.
    const std::array<int, 3> earned =
        rules::handPoints(m_server.game().table().rules, makers, taken, m_aloneThisDeal);
    if (earned[1] != *points[1] || earned[2] != *points[2])
        return setFault(QStringLiteral("%1 tricks to the makers scored %2 and %3")
                            .arg(taken)
                            .arg(*points[1])
                            .arg(*points[2]));

    ++m_game.hands;
    for (int team = 1; team <= 2; ++team) {
        m_game.pointsSum[team] += *points[team];
        m_game.finalScore[team] = *total[team];
        if (m_game.pointsSum[team] != *total[team])
            return setFault(QStringLiteral("team %1 has %2 points but a score of %3")
                                .arg(team)
                                .arg(m_game.pointsSum[team])
                                .arg(*total[team]));
    }
    count(rules::Event::scored(makers, *total[1], *points[1], *total[2], *points[2]));
}

void HostHarness::onWinner(QByteArrayView args) {
    FieldReader fields(args);
    const std::optional<int> team = fields.number(1, 2);
    if (!team) return setFault(QStringLiteral("unreadable winner"));
    const int mine = m_game.finalScore[*team];
    const int theirs = m_game.finalScore[3 - *team];
    if (mine < m_playto || mine <= theirs)
        return setFault(QStringLiteral("team %1 won with %2 against %3, playing to %4")
                            .arg(*team)
                            .arg(mine)
                            .arg(theirs)
                            .arg(m_playto));
    m_game.winner = *team;
    m_gameOver = true;
    count(rules::Event::gameWon(*team));
}

} // namespace euchre::testing
