// TServer: the game host. It owns the connection slots, the queue of client
// messages, the timers and the one game in progress, which the rules core
// keeps: the host asks the game, hands it the players' and the computer's
// decisions, and turns what happened into messages. It never shows a window.
#pragma once

#include "host/fairqueue.h"
#include "host/passwordgate.h"
#include "host/peerlink.h"
#include "net/discovery.h"
#include "net/protocol.h"
#include "players/players.h"
#include "rules/game.h"
#include "rules/table.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class TSock;

namespace euchre {

class DiscoveryResponder;

// One connection slot: 1..4 are the seats, 5..9 spectators, 10 a refused connection.
struct PlayerSlot {
    QByteArray name;
    bool connected = false;
    std::unique_ptr<PeerLink> socket;
    bool watching = false;

    // Bookkeeping of our own beside the record.
    quint64 serial = 0;    // which admitted connection holds the slot
    bool loggedIn = false; // that connection's login was taken
    LineCutter cutter;     // unfinished text of that connection
};

// Pending actions of the computer-turn timer.
enum CtimerAction : int {
    ActionNone = 0,
    ActionBid = 2,
    ActionDiscard = 3,
    ActionChoose = 4,
    ActionPlay = 5,
    ActionNextTrick = 6,
    ActionNextDeal = 7,
    ActionAlone = 8,
};

// Ticks of the computer-turn timer until its action: a computer seat answers
// on the third, the next trick begins on the fifth, the next deal on the twelfth.
inline constexpr int kAnswerTicks = 3;
inline constexpr int kTrickPauseTicks = 5;
inline constexpr int kDealPauseTicks = 12;

class TServer : public QObject {
    Q_OBJECT
public:
    // Where a connection is held while it is refused: one past the last slot.
    static constexpr int kRefusedSlot = kMaxSlots + 1;
    // One connection's waiting lines: a table window never has more than a
    // few, and each tick serves every connection in turn, so this bounds both
    // the memory a flood holds and how long its own backlog lasts.
    static constexpr int kMaxQueuedPerConnection = 100;
    // Longer than any message a table window sends: dropped as it arrives.
    static constexpr qsizetype kMaxLineBytes = 8 * 1024;
    static constexpr qint64 kMaxUnsentBytes = 1024 * 1024;
    static constexpr int kDefaultBotSpeed = 500;
    // The bot speed taken, whatever the settings say: never a busy loop, never a stall.
    static constexpr int kMinBotSpeed = 1;
    static constexpr int kMaxBotSpeed = 60000;
    // The queue serves one line per tick.
    static constexpr int kQueueTickMs = 10;
    // How often the gate looks for connections that waited too long.
    static constexpr int kGateTickMs = 1000;

    explicit TServer(QObject* parent = nullptr);
    ~TServer() override;

    // ---- listening (the hosting start) ----
    // Starts listening on the port; false with a reason when the port is taken.
    bool startListening(quint16 port, QString* error = nullptr);
    quint16 listeningPort() const;

    // ---- bot speed: the computer-player delay in ms, read at every arming ----
    void setBotSpeed(int ms) { m_botSpeed = ms; }
    void setBotSpeedSource(std::function<int()> source) { m_botSpeedSource = std::move(source); }
    int botSpeed() const;

    // ---- the computer players' level: taken up by the computer seats at the next deal ----
    void setComputerLevel(players::Level level) { m_pendingLevel = level; }
    players::Level computerLevel() const { return m_level; }

    // ---- house rules: those of a game started without a ruleset ----
    void setDefaultRules(const rules::Ruleset& rules) { m_defaultRules = rules; }
    const rules::Ruleset& defaultRules() const { return m_defaultRules; }

    // ---- a private table: connections wait at the gate for the password ----
    // Longest password taken; a longer answer is a wrong one.
    static constexpr qsizetype kMaxPasswordBytes = 1024;
    // Connections waiting for their password at once; one more lets the
    // oldest go.
    static constexpr int kMaxPending = 16;
    // How long a waiting connection has to send its password.
    static constexpr qint64 kPasswordWaitMs = 30000;

    // Empty: no password, and every connection is admitted as it comes.
    void setPassword(const QByteArray& password);
    bool hasPassword() const { return m_gate.hasPassword(); }
    int pendingCount() const { return static_cast<int>(m_pending.size()); }
    // The clock of the wrong tries, the lockouts and the waiting time, in ms
    // (a steady clock unless a test steps its own).
    void setClock(std::function<qint64()> nowMs) { m_clock = std::move(nowMs); }
    // Lets go of the connections that waited too long for their password
    // (the gate's timer calls it every second while anyone waits).
    void gateTimerTimer();

    // ---- tables on this network ----
    // Answers discovery queries on the UDP port; false with a reason when
    // the port is taken. Port 0 picks a free one.
    bool startDiscovery(quint16 port, QString* error = nullptr);
    void stopDiscovery();
    // The port answering, 0 when not answering.
    quint16 discoveryPort() const;
    // What a discovery answer says of this table.
    discovery::TableInfo tableInfo() const;

    // ---- connections (Sock1Accept hands real sockets to welcome) ----
    // A newly accepted connection: admitted at once at a table without a
    // password; at a private table asked for the password and kept waiting,
    // or refused when its address is locked out. Returns the slot, 0 while it
    // waits, or kRefusedSlot when it was let go.
    int welcome(std::unique_ptr<PeerLink> link);
    // Admits a connection into the lowest free slot; returns the slot, or
    // kRefusedSlot after refusing it with "CMD_full+".
    int admit(std::unique_ptr<PeerLink> link);
    void Sock1Accept();

    // Bytes read from a slot's connection: cut into lines and queued.
    void Sock1Read(int slot, QByteArrayView data);
    void tempsockDisconnect(int slot);
    void tempsockInfo(int slot, int code, const QString& text);
    void disconnectsock(int slot);

    // ---- the queue ----
    void socktimerTimer();
    int queuedCount() const { return static_cast<int>(m_receivedlist.size()); }

    // ---- handlers of client messages (arguments: the text after the command word) ----
    void receivedlogininfo(int sender, QByteArrayView args);
    void kickhim(int sender, QByteArrayView args);
    void justwatch(int sender, QByteArrayView args);
    void playasound(int sender, QByteArrayView args);

    // ---- the game: every rule is the rules core's; these turn its events into messages ----
    // Name, play-to score and an optional ruleset: a game without one is
    // played by the default rules, one whose ruleset is not taken is not started.
    void startgame(QByteArrayView args);
    void selectedbubble(QByteArrayView args);
    void playcard(QByteArrayView args);
    // Ends the pause after a trick or a hand: the next trick, or the next deal.
    void proceed();

    // The game in progress; the host keeps none of its fields.
    const rules::Game& game() const { return m_game; }
    // The same game, for a test to lay out a position (rules::Game::arrange).
    rules::Game& game() { return m_game; }

    // ---- computer players and their timer ----
    void ctimerTimer();
    // The computer's answer for a seat the game is asking, handed to the
    // same handler a client's answer goes to; nothing when it is not asked.
    void computerMove(int seat);
    bool isComputerSeat(int seat) const;

    // ---- the host's own records ----
    std::array<PlayerSlot, kRefusedSlot + 1> playerslot; // 1..10
    int slotcount = 0;
    // A game is under way at this table: set by "CMD_startgame", cleared when
    // the winner is announced. Newcomers are caught up and leavers' seats
    // handed to the computer only while it is set.
    bool gameon = false;
    // The computer-turn timer's count towards its pending action.
    int botticks = 0;

    QTimer socktimer;
    QTimer ctimer;
    int ctimerTag = ActionNone;

    // Every message the host sends to anyone passes here first (the host's
    // harness and tests watch the game through it).
    std::function<void(int slot, const QByteArray& bytes)> onSend;

private:
    void sendTo(int slot, const QByteArray& bytes);
    void sendToAll(const QByteArray& bytes);
    void sendToOthers(int exceptSlot, const QByteArray& bytes);
    void dispatch(const FairQueue::Line& entry);
    // A chat or action line goes to everyone with the speaker's name in front:
    // `name`, or when null the name the slot has now.
    void relaySpoken(QByteArrayView word, QByteArrayView args, QByteArrayView separator,
                     const QByteArray* name);
    // Closes the connection and forgets every line it has waiting.
    void closeForAbuse(int slot, const char* why);
    void dropOverfullReaders();
    void slotClosed(int slot);
    // Plays a card or a discard, noting in the log a second card from a seat
    // that has already played to the trick.
    void hesplaying(int seat, int position);
    // Takes one step of the game; announces its events and, when it moved the
    // game on, sets the computer-turn timer for whatever the game now waits for.
    template <typename Step> bool apply(Step&& step);
    void announce(const rules::Events& events);
    void sendHands();
    void resetTimer();
    // Arms the computer-turn timer to act on the given tick from now.
    void armTimer(int action, int ticks);
    void armForPhase();
    void catchUp(int slot);
    int handCount(int seat) const;

    // A connection at the gate of a private table: not a slot, so it hears
    // nothing of the table and nobody hears of it.
    struct PendingLink {
        std::unique_ptr<PeerLink> link;
        QString address;
        qint64 since = 0;
        quint64 id = 0;
        QByteArray unread; // what it sent that is not a whole line yet
    };
    qint64 now() const;
    void gateRead(quint64 id, QByteArrayView data);
    void gateClosed(quint64 id);
    // Takes a waiting connection off the gate's list.
    std::unique_ptr<PeerLink> takePending(quint64 id);
    // Says `word` (none when null), closes and lets go of a connection that
    // is not admitted; the log line says why.
    void refuseAtGate(std::unique_ptr<PeerLink> link, const char* word, const QString& why);
    void wrongPassword(std::unique_ptr<PeerLink> link, const QString& address, const char* what);

    PasswordGate m_gate;
    std::deque<PendingLink> m_pending;
    quint64 m_nextPendingId = 0;
    // Connections let go at the gate from inside their own notifications:
    // they go for good at the next accept or gate tick.
    std::vector<std::unique_ptr<PeerLink>> m_letGo;
    QTimer m_gateTimer;
    std::function<qint64()> m_clock;
    std::unique_ptr<DiscoveryResponder> m_discovery;

    FairQueue m_receivedlist;
    quint64 m_nextSerial = 0;
    int m_botSpeed = kDefaultBotSpeed;
    std::function<int()> m_botSpeedSource;
    players::Level m_level = players::Level::Standard;        // this deal's computer players
    players::Level m_pendingLevel = players::Level::Standard; // from the next deal on
    rules::Game m_game;
    rules::Ruleset m_defaultRules;
    TSock* Sock1 = nullptr;
    std::array<bool, 11> m_overfull{};
    bool m_anyOverfull = false;
};

// The host's log (standard error): diagnostics that must never reach a
// player's screen.
void hostLog(const QString& text);

} // namespace euchre
