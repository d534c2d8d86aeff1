// Drives a real host from a script of bytes: connections come, send bytes,
// whole messages (split anywhere), legal moves and logins, stop reading and
// hang up, and the host's three timers tick. After every step the driver
// checks what must always hold, and stops the program with a report when it
// does not. The host's fuzz target runs scripts from the fuzzer; the corpus
// recorder writes scripts of whole games. With EUCHRE_FUZZ_TRACE set, every
// step and every message either way is written to standard error.
#pragma once

#include "host/tserver.h"

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <vector>

namespace euchre::fuzzing {

// A script is an options byte, then steps: a step byte (taken modulo
// Step::Count) and its operands. Missing operands read as 0.
enum class Step : std::uint8_t {
    Connect,     // [address]: a new connection
    Bytes,       // [link][length][bytes...]: the peer sends raw bytes
    Line,        // [link][word][a][b][cut]: a client message built from a template, cut in two
    Move,        // [how]: the person asked sends a legal answer (or, now and then, a refused card)
    PeerClose,   // [link][how]: the peer hangs up, or its connection fails
    QueueTicks,  // [n]: the message queue's timer ticks 1..32 times
    TurnTicks,   // [n]: the computer-turn timer ticks 1..16 times
    Clock,       // [n]: the clock moves n quarter seconds and the gate's timer ticks
    StopReading, // [link][on]: the peer stops (or starts again) reading what it is sent
    Login,       // [link][name]: the peer logs in with the slot it was given
    Count
};

// Options byte: bit 0 makes a private table (password "pw"); the whole byte
// seeds the shuffle.
inline constexpr std::uint8_t kPrivateTable = 1;

class HostDriver {
public:
    explicit HostDriver(std::uint8_t options, bool keepReceived = false);
    ~HostDriver();
    HostDriver(const HostDriver&) = delete;
    HostDriver& operator=(const HostDriver&) = delete;

    // Runs steps (no options byte), checking after each.
    void run(const std::uint8_t* data, std::size_t size);

    TServer& server() { return m_server; }
    int linkCount() const { return static_cast<int>(m_links.size()); }
    // The slot the host gave a link (0 before, or when refused or waiting).
    int slotOf(int link) const;
    bool isOpen(int link) const;
    // Every byte a link was sent (kept only when asked for).
    const QByteArray& received(int link) const;

    // Called by the links.
    struct Record;
    void sent(Record& record, const QByteArray& bytes);

private:
    void step(Step kind, class Operands& in);
    void deliver(int link, QByteArrayView bytes);
    void move(std::uint8_t how);
    void peerClose(int link, std::uint8_t how);
    Record* pick(std::uint8_t which);
    void check();

    // The records outlive the host, whose links write to them as they go.
    std::vector<std::unique_ptr<Record>> m_links;
    TServer m_server;
    bool m_keepReceived;
    bool m_trace; // EUCHRE_FUZZ_TRACE: every step and message on standard error
    qint64 m_clock = 0;
    std::array<int, 3> m_scores{}; // by team, as the last check saw them
};

} // namespace euchre::fuzzing
