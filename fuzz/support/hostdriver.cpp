// The host driver: its connections, the steps of a script and the rules
// checked after each.
#include "hostdriver.h"

#include "nocoverage.h"

#include "model/card.h"
#include "model/random.h"
#include "net/protocol.h"
#include "players/players.h"
#include "rules/seatview.h"

#include <bitset>
#include <cstdio>
#include <cstdlib>

namespace euchre::fuzzing {

// One connection as the driver keeps it; it outlives the link the host owns.
struct HostDriver::Record {
    PeerLink* link = nullptr; // null once the host let go of it
    int slot = 0;             // from the host's "CMD_sendlogininfo"
    bool closed = false;      // closed by the host or by its peer
    qint64 unsent = 0;
    QByteArray received;
};

namespace {

// Connections one script may open; enough to fill every slot many times over.
constexpr int kMostLinks = 256;
// Every slot keeps at most one live and one departed lane of waiting lines.
constexpr int kMostQueued = 2 * kMaxSlots * TServer::kMaxQueuedPerConnection;

[[noreturn]] void broken(const QString& what) {
    std::fprintf(stderr, "host fuzz: %s\n", qPrintable(what));
    std::abort();
}

class Link : public PeerLink {
public:
    Link(HostDriver& driver, HostDriver::Record& record, QString address)
        : m_driver(driver), m_record(record), m_address(std::move(address)) {
        m_record.link = this;
    }
    ~Link() override { m_record.link = nullptr; }

    void send(const QByteArray& bytes) override { m_driver.sent(m_record, bytes); }
    // The report may free this link: nothing of it is touched afterwards.
    void close() override {
        m_record.closed = true;
        if (const auto report = onInfo) report(2, QStringLiteral("Socket Closed"));
    }
    qint64 unsentBytes() const override { return m_record.unsent; }
    QString peerAddress() const override { return m_address; }

private:
    HostDriver& m_driver;
    HostDriver::Record& m_record;
    QString m_address;
};

// The operands of a step, read from the script; past its end they read 0.
} // namespace

class Operands {
public:
    Operands(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_at >= m_size; }
    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    QByteArrayView bytes(std::size_t n) {
        n = std::min(n, m_size - m_at);
        const QByteArrayView view(reinterpret_cast<const char*>(m_data + m_at),
                                  static_cast<qsizetype>(n));
        m_at += n;
        return view;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

namespace {

// A small field: -2 .. 23 covers every slot, seat, position, code and suit.
int small(std::uint8_t b) {
    return b % 26 - 2;
}

// The client's messages, with two fields each, and one word no side knows.
QByteArray line(std::uint8_t word, std::uint8_t a, std::uint8_t b) {
    const QByteArray x = QByteArray::number(small(a));
    const QByteArray y = QByteArray::number(small(b));
    switch (word % 12) {
    case 0:
        return "CMD_logininfo+" + x + "+1.0.6+Name" + y;
    case 1:
        return "CMD_kickhim+" + x + '+' + y + '+';
    case 2:
        return "CMD_chat+" + x + "+hello " + y + "|clBlack";
    case 3:
        return "CMD_action+" + x + "+waves " + y + "|$00FF0000";
    case 4: {
        // Now and then with house rules, or with a text that names none.
        static const char* const rulesets[] = {"",
                                               "std=1+",
                                               "canadian=1,loner_lead=LEFT_OF_LONER+",
                                               "loner_march_score=5,std=true+",
                                               "loner_march_score=3+",
                                               "+",
                                               "std=2+"};
        return "CMD_startgame+Name" + x + '+' + QByteArray::number(b % 16) + '+' +
               rulesets[a % std::size(rulesets)];
    }
    case 5:
        return "CMD_justwatch+" + x + '+' + y;
    case 6:
        return "CMD_selectedbubble+" + x + '+' + y + '+';
    case 7:
        return "CMD_playcard+" + x + '+' + y + '+';
    case 8:
        return "CMD_playasound+" + x + "+wave" + y + '+';
    case 9:
        return "CMD_botspeed+" + x + '+' + QByteArray::number(b * 10) + '+';
    case 10:
        return b % 2 ? QByteArray("CMD_password+pw") : "CMD_password+" + y;
    default:
        return "CMD_nosuchword+" + x + '+' + y + '+';
    }
}

bool isDeckCard(int card) {
    return isCard(card) && (rankKey(card) == AceKey || rankKey(card) >= NineKey);
}

} // namespace

HostDriver::HostDriver(std::uint8_t options, bool keepReceived)
    : m_keepReceived(keepReceived), m_trace(qEnvironmentVariableIsSet("EUCHRE_FUZZ_TRACE")) {
    // The deals follow the options byte, so that a script always plays the same cards.
    rng::restart(options);
    m_server.setBotSpeed(1);
    m_server.setClock([this] { return m_clock; });
    if (options & kPrivateTable) m_server.setPassword("pw");
}

HostDriver::~HostDriver() = default;

int HostDriver::slotOf(int link) const {
    return m_links[static_cast<std::size_t>(link)]->slot;
}

bool HostDriver::isOpen(int link) const {
    const Record& r = *m_links[static_cast<std::size_t>(link)];
    return r.link && !r.closed;
}

const QByteArray& HostDriver::received(int link) const {
    return m_links[static_cast<std::size_t>(link)]->received;
}

EUCHRE_FUZZ_UNCOVERED void HostDriver::sent(Record& record, const QByteArray& bytes) {
    if (record.closed) broken(QStringLiteral("a message to a closed connection: ") + bytes);
    if (!bytes.endsWith(kTerminator) || bytes.count(kTerminator) != 1)
        broken(QStringLiteral("a message that is not one whole line: ") +
               bytes.toPercentEncoding());
    static const QByteArray welcome = QByteArrayLiteral("CMD_sendlogininfo+");
    if (bytes.startsWith(welcome)) record.slot = bytes.mid(welcome.size()).chopped(1).toInt();
    if (m_keepReceived) record.received += bytes;
    if (m_trace)
        std::fprintf(stderr, "  to slot %d: %s\n", record.slot,
                     bytes.chopped(1).toPercentEncoding(" +|:").constData());
}

void HostDriver::run(const std::uint8_t* data, std::size_t size) {
    Operands in(data, size);
    while (!in.atEnd()) {
        const auto kind = static_cast<Step>(in.byte() % static_cast<std::uint8_t>(Step::Count));
        if (m_trace) std::fprintf(stderr, "step %d\n", static_cast<int>(kind));
        step(kind, in);
        check();
    }
}

HostDriver::Record* HostDriver::pick(std::uint8_t which) {
    if (m_links.empty()) return nullptr;
    Record* r = m_links[which % m_links.size()].get();
    return r->link && !r->closed ? r : nullptr;
}

void HostDriver::deliver(int link, QByteArrayView bytes) {
    Record* r = m_links[static_cast<std::size_t>(link)].get();
    if (!r->link || r->closed || bytes.isEmpty()) return;
    if (m_trace)
        std::fprintf(stderr, "  from slot %d: %s\n", r->slot,
                     bytes.toByteArray().toPercentEncoding(" +|:").constData());
    if (const auto data = r->link->onData) data(bytes.toByteArray());
}

void HostDriver::step(Step kind, Operands& in) {
    switch (kind) {
    case Step::Connect: {
        const std::uint8_t address = in.byte();
        if (m_links.size() >= kMostLinks) return;
        m_links.push_back(std::make_unique<Record>());
        Record& r = *m_links.back();
        const int slot = m_server.welcome(
            std::make_unique<Link>(*this, r, QStringLiteral("192.0.2.%1").arg(address % 4 + 1)));
        if (slot >= 1 && slot <= kMaxSlots) r.slot = slot;
        return;
    }
    case Step::Bytes: {
        const std::uint8_t link = in.byte();
        const QByteArrayView bytes = in.bytes(in.byte());
        if (pick(link)) deliver(static_cast<int>(link % m_links.size()), bytes);
        return;
    }
    case Step::Line: {
        const std::uint8_t link = in.byte(), word = in.byte(), a = in.byte(), b = in.byte();
        const std::uint8_t cut = in.byte();
        if (!pick(link)) return;
        const int index = static_cast<int>(link % m_links.size());
        const QByteArray message = line(word, a, b) + kTerminator;
        const qsizetype at = cut % (message.size() + 1);
        deliver(index, QByteArrayView(message).first(at));
        deliver(index, QByteArrayView(message).sliced(at));
        return;
    }
    case Step::Move:
        move(in.byte());
        return;
    case Step::PeerClose: {
        const std::uint8_t link = in.byte(), how = in.byte();
        if (pick(link)) peerClose(static_cast<int>(link % m_links.size()), how);
        return;
    }
    case Step::QueueTicks:
        for (int n = in.byte() % 32 + 1; n > 0; --n) {
            m_server.socktimerTimer();
            check();
        }
        return;
    case Step::TurnTicks:
        for (int n = in.byte() % 16 + 1; n > 0; --n) {
            m_server.ctimerTimer();
            check();
        }
        return;
    case Step::Clock:
        m_clock += 250 * qint64{in.byte()};
        m_server.gateTimerTimer();
        return;
    case Step::StopReading: {
        const std::uint8_t link = in.byte(), on = in.byte();
        if (Record* r = pick(link)) r->unsent = on % 2 ? 2 * TServer::kMaxUnsentBytes : 0;
        return;
    }
    case Step::Login: {
        const std::uint8_t link = in.byte(), name = in.byte();
        Record* r = pick(link);
        if (!r) return;
        // As the table window sends it: its name ends in a terminator of its own.
        const QByteArray login = "CMD_logininfo+" + QByteArray::number(r->slot) + "+1.0.6+Player" +
                                 QByteArray::number(name % 8) + kTerminator + kTerminator;
        deliver(static_cast<int>(link % m_links.size()), login);
        return;
    }
    case Step::Count:
        return;
    }
}

// The person in the seat asked answers as a table window would: the
// computer's choice for that seat, or now and then any place of the hand.
void HostDriver::move(std::uint8_t how) {
    const rules::Asked asked = m_server.game().asked();
    if (asked.seat == 0) return;
    for (int i = 0; i < linkCount(); ++i) {
        if (!isOpen(i) || slotOf(i) != asked.seat) continue;
        int value = players::answer(players::Level::Standard,
                                    rules::seatView(m_server.game().table(), asked.seat));
        if (asked.wantsCard() && how % 4 == 3) value = how / 4 % 5 + 1;
        const QByteArray word = asked.wantsCard() ? "CMD_playcard+" : "CMD_selectedbubble+";
        deliver(i, word + QByteArray::number(asked.seat) + '+' + QByteArray::number(value) + '+' +
                       kTerminator);
        return;
    }
}

// The peer goes as a socket reports it: the end of the connection and then
// its close, or only the close when the connection failed.
void HostDriver::peerClose(int link, std::uint8_t how) {
    Record* r = m_links[static_cast<std::size_t>(link)].get();
    if (how % 2 == 0) {
        if (const auto gone = r->link->onDisconnect) gone();
        if (!r->link) return;
    }
    r->link->close();
}

EUCHRE_FUZZ_UNCOVERED void HostDriver::check() {
    const rules::Table& t = m_server.game().table();
    // At most one seat asked, and the seat asked can answer.
    const rules::Asked asked = t.asked();
    if (asked.question == rules::Question::None) {
        if (asked.seat != 0) broken(QStringLiteral("a seat asked with no question open"));
    } else {
        if (!isSeat(asked.seat)) broken(QStringLiteral("a question without a seat"));
        // The dealer discards for the turned card even when sitting the hand out.
        if (t.sitsout[asked.seat] && asked.question != rules::Question::Discard)
            broken(QStringLiteral("the loner's partner is asked"));
    }
    // Every card held or played in this deal comes from the deck, once.
    std::bitset<53> seen;
    const auto take = [&seen](int card, const char* where) EUCHRE_FUZZ_UNCOVERED {
        if (!isDeckCard(card))
            broken(QStringLiteral("card %1 %2 is not in the deck").arg(card).arg(where));
        if (seen[static_cast<std::size_t>(card)])
            broken(QStringLiteral("card %1 %2 twice").arg(card).arg(where));
        seen.set(static_cast<std::size_t>(card));
    };
    int cardsHeld = 0;
    for (int seat = 1; seat <= kSeats; ++seat)
        for (int pos = 1; pos <= kHandSize; ++pos)
            if (const int card = t.hand[seat][pos]) {
                take(card, "in the hands");
                ++cardsHeld;
            }
    if (asked.wantsCard()) {
        bool any = false;
        for (int pos = 1; pos <= kHandSize; ++pos) any = any || t.hand[asked.seat][pos] != 0;
        if (!any) broken(QStringLiteral("a card asked of an empty hand"));
    }
    if (t.record.playCount < 0 || t.record.playCount > 20)
        broken(QStringLiteral("%1 cards played in one deal").arg(t.record.playCount));
    for (int i = 0; i < t.record.playCount; ++i) take(t.record.plays[i].card, "played");
    for (int seat = 1; seat <= kSeats; ++seat)
        if (t.played[seat] && !seen[static_cast<std::size_t>(t.played[seat])])
            broken(QStringLiteral("a card on the table that was never played"));
    if (cardsHeld + t.record.playCount > 4 * kHandSize)
        broken(QStringLiteral("more than twenty cards in one deal"));

    // Scores change only when a hand is scored, by one team's points (a
    // lone march by what the house rules say), or go back to nothing when a
    // game starts.
    const int gain1 = t.team[1].score - m_scores[1], gain2 = t.team[2].score - m_scores[2];
    if (gain1 != 0 || gain2 != 0) {
        const int march = t.rules.lonerMarchScore;
        const auto points = [march](int gain) EUCHRE_FUZZ_UNCOVERED {
            return gain == 1 || gain == 2 || gain == 4 || gain == march;
        };
        const bool scored =
            (t.phase == rules::Phase::HandPause || t.phase == rules::Phase::GameOver) &&
            (gain1 == 0 ? points(gain2) : gain2 == 0 && points(gain1));
        const bool started = t.team[1].score == 0 && t.team[2].score == 0;
        if (!scored && !started)
            broken(QStringLiteral("the scores went from %1:%2 to %3:%4 without scoring")
                       .arg(m_scores[1])
                       .arg(m_scores[2])
                       .arg(t.team[1].score)
                       .arg(t.team[2].score));
        m_scores = {0, t.team[1].score, t.team[2].score};
    }

    // The host's memory stays bounded.
    if (m_server.queuedCount() > kMostQueued)
        broken(QStringLiteral("%1 lines waiting").arg(m_server.queuedCount()));
    if (m_server.pendingCount() > TServer::kMaxPending)
        broken(QStringLiteral("%1 connections at the gate").arg(m_server.pendingCount()));
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        const PlayerSlot& p = m_server.playerslot[slot];
        if (p.cutter.pendingSize() > LineCutter::kMaxPending)
            broken(QStringLiteral("slot %1 keeps %2 unfinished bytes")
                       .arg(slot)
                       .arg(p.cutter.pendingSize()));
        if (p.connected && !p.socket) broken(QStringLiteral("a connected slot with no connection"));
    }
}

} // namespace euchre::fuzzing
