// Tchat: the table window. It decides from its command line whether to host or
// join, connects and logs in, queues the host's messages and hands one per
// tick to the part of the table that handles it (the seats, the own hand, the
// turns and bids, the score board), and carries the chat column and the menus.
#pragma once

#include "chat/chatbox.h"
#include "client/hosting.h"
#include "client/joinattempt.h"
#include "client/startrequest.h"
#include "client/tablerecord.h"
#include "net/protocol.h"
#include "settings/settings.h"
#include "sound/sounds.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class TSock;
class QSystemSemaphore;

namespace euchre {

class BoardHost;
class ConnectionBar;
class GameKeeper;
class HostDialog;
class JoinDialog;
class GameTracker;
class StatsBook;
struct HostRequest;
struct JoinOutcome;
class TableBoard;
class Tphrases;
class Ttallylist;

// The windows around the table that its menus open; each may be missing.
struct TableWindows {
    QPointer<QWidget> tallylist;
    QPointer<QWidget> about;
    QPointer<QWidget> gamestart;
    QPointer<QWidget> help;
    QPointer<QWidget> spylist;
    QPointer<QWidget> lasttrick;
    QPointer<QWidget> scorecard;
    QPointer<QWidget> download;
};

// Who this window is at its table: the name it logs in with, where, and
// whether it hosts the game.
struct TableLogin {
    QString playername;
    QString hostaddress;
    QByteArray loginname; // playername and the terminator, as the login reply carries it
    bool loggedin = false;
    bool ishost = false;
};

class Tchat : public QMainWindow, public ChatOwner {
    Q_OBJECT
    // Tests' way to states no host message brings the window to.
    friend struct TchatTestDoor;

public:
    static constexpr quint16 kDefaultGamePort = kGamePort;
    // Where the companion lobby listens on this machine.
    static constexpr quint16 kCompanionPort = 9001;
    static constexpr int kResetWidth = 780;
    static constexpr int kResetHeight = 600;
    // The most the host's message queue holds, in lines and in bytes; what
    // arrives beyond that is dropped.
    static constexpr std::size_t kMaxQueuedLines = 10000;
    static constexpr qsizetype kMaxQueuedBytes = 4 * 1024 * 1024;

    explicit Tchat(QWidget* parent = nullptr);
    ~Tchat() override;

    // ---- what main() hands over ----
    // The host this window started when it hosts; nothing while it joins.
    Hosting* server() const { return m_server; }
    void setWindows(const TableWindows& windows);
    void setPhraseEditor(Tphrases* editor);
    // The tally window: "View Tally" opens it, and it asks the table for
    // the names at the table when it records a game.
    void setTally(Ttallylist* tally);
    // The parameters processparams reads when the window is first shown.
    void setCommandLine(const QStringList& params) { m_params = params; }
    // What the start asks beyond the lobby's words (--host, --join, a link);
    // acted on when the window is first shown, instead of the command line.
    void setStartRequest(const StartRequest& request) { m_request = request; }
    // A start a later copy handed over: hosts or joins as it asks (asking
    // first while a game runs).
    void handOver(const StartRequest& request);

    // ---- start-up and the connection ----
    void processparams(const QStringList& params);
    // The connection's reports ("Socket Closed" and the rest).
    void sockInfo(TSock* sender, int code, const QString& text);
    const TableLogin& login() const { return m_login; }
    // The port of the game ($EUCHRE_PORT, else 7772).
    quint16 gamePort() const { return m_gamePort; }
    void setGamePort(quint16 port) { m_gamePort = port; }
    void setCompanionPort(quint16 port);
    TSock* connection() const { return m_sock; }
    TSock* companion() const { return m_sock11; }

    // ---- playing with others from the window: Host..., Join..., Reconnect ----
    void Host1Click();
    void Join1Click();
    // Tries to join another table; the current game goes on until the host
    // there has let the player in (asking first while a game runs).
    void joinGame(const JoinTarget& target, std::function<void(const JoinOutcome&)> done);
    bool isJoining() const { return m_attempt != nullptr; }
    // A game is being played at this table.
    bool gameRunning() const { return m_gameOn; }
    HostDialog* hostDialog();
    JoinDialog* joinDialog();
    ConnectionBar* connectionBar() const { return m_bar; }

    // ---- the queue of host messages ----
    void Timer1Timer();
    // Hands the first queued message to its handler.
    void processsocktimer();
    int queuedCount() const { return static_cast<int>(m_receivedlist.size()); }
    // Queues a line as if the host had sent it (tests, tools).
    void queueLine(const QByteArray& line) { queueLines({line}); }
    QTimer& timer1() { return m_timer1; }

    // ---- the table ----
    // What the table shows.
    const TableRecord& shown() const { return m_shown; }
    TableBoard* board() const;
    // "Start Game": the game-start window, after asking while a game runs.
    void button_startClick();
    // Asks the host to remove a player or spectator; only the hosting
    // player, once logged in, may.
    void removeFromGame(int slot);

    // ---- the house rules the game-start window offers ----
    // The last chosen, as the ruleset text a game's start carries ("" for none).
    const QString& houseRules() const { return m_houseRules; }
    // Remembers a new choice in the settings file.
    void setHouseRules(const QString& ruleset);

    // ---- chat, sounds and settings ----
    void addlinetochat(const QString& line, quint32 colour);
    ChatBox* chat() const { return m_chat; }
    SoundPlayer& sounds() { return m_sounds; }
    int botSpeed() const;
    void ResetScreenLocation1Click();
    void Exit1Click();
    // The player's statistics: each game finished at this table joins them.
    const StatsBook& statistics() const { return *m_stats; }
    // "View ▸ Statistics" (opens the window, made on first use).
    void ViewStatistics1Click();
    QWidget* statisticsWindow() const { return m_statsWindow; }

    // ---- ChatOwner ----
    void sendToHost(const QByteArray& message) override;
    bool isLoggedIn() const override { return m_login.loggedin; }
    int ownSlot() const override { return m_shown.myslot; }

    // The tally's two entries, a finished game and one of the own totals;
    // setTally points them at the tally window.
    std::function<void(const QString& first, const QString& second)> addgame;
    std::function<void(int column)> addtomineincrease;

    // Shows a message; `done` runs when the user has seen it. Replaceable so
    // that tests never wait for a person.
    std::function<void(const QString& text, std::function<void()> done)> message;

    // Asks a yes-or-no question; `answer` gets the reply. Replaceable so that
    // tests never wait for a person.
    std::function<void(const QString& question, std::function<void(bool yes)> answer)> ask;

    // Asks a question answered by one of two buttons that say what they do;
    // `answer` gets true for `yes`. Enter and Escape give `no`, the safe one.
    // Replaceable so that tests never wait for a person.
    std::function<void(const QString& question, const QString& yes, const QString& no,
                       std::function<void(bool yes)> answer)>
        choose;

    // Opens a web page in the user's browser; replaceable for tests.
    std::function<void(const QUrl& url)> openUrl;

    // ---- game records ----
    // The games this window sees, kept in the records folder.
    GameKeeper& keeper() const { return *m_keeper; }
    // Asks where to save a game record, or which one to open; empty when the
    // user cancels. Replaceable so that tests never wait for a person.
    std::function<QString(const QString& suggested)> askSaveRecordPath;
    std::function<QString()> askOpenRecordPath;
    // "File > Save Game Record...": the current or last game, where the user says.
    void saveGameRecordClick();
    // "File > Open Game Record...": a replay window for the record chosen.
    void openGameRecordClick();
    // "View > Hand Review": the own decisions of the last hand against the expert's.
    void handReviewClick();
    // "View > Hint", the H key and the Hint button: the expert's answer to
    // the question open for the own seat, marked on the table, with its
    // reason on the status line; only while the computer plays the other seats.
    void hintClick();

signals:
    // A host message was handed to its handler (the command word).
    void dispatched(const QByteArray& word);
    // The window closed; the program ends with it.
    void closed();
    // A trick was completed and the last-trick record filled anew.
    void lastTrickChanged();
    // A spectator arrived or left: the record's `spylist` changed.
    void spylistChanged();

protected:
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The parts of the table, one per handler file (tchat_parts.h).
    class Seats;
    class Hand;
    class Turns;
    class Scores;
    struct Dispatch;
    static const std::vector<Dispatch>& dispatchTable();

    void FormCreate();
    void buildMenus();
    void setServer(Hosting* server);
    void queueLines(const QList<QByteArray>& lines);
    void keepTicking();
    void notice(const QString& text);
    void playsounds(const QString& name);
    void openConnection(const QString& host, quint16 port);
    void applyStayOnTop(QWidget* window, bool onTop);
    void showWindow(QWidget* window);
    void updateWindowEntries();
    void connectFailed(const QString& why);
    // Draws the record on the board.
    void redraw();

    // Start-up and login.
    void hostpress();
    void joinpress();
    void sendloginfo(QByteArrayView args);
    void sockRead(TSock* sender, int count);

    // Handlers of this window's own messages.
    void chatrecieved(QByteArrayView args);
    void havewrongversion(QByteArrayView args);
    void wrongversion(QByteArrayView args);
    void full(QByteArrayView args);
    void playasound(QByteArrayView args);
    // A private table's questions and refusals on this window's connection.
    void passwordasked(QByteArrayView args);
    void wrongpassword(QByteArrayView args);
    void lockedout(QByteArrayView args);

    // Playing with others: leaving a game, the table as at start-up, taking
    // over a connection a join attempt made, and a lost connection.
    void Invite1Click();
    void Reconnect1Click();
    void hostGame(const HostRequest& request, std::function<void(bool, const QString&)> done);
    void cancelJoin();
    bool openTable(const HostRequest& request, QString* error);
    void leaveGame();
    void resetTable();
    void useConnection(TSock* sock);
    void adopt(JoinAttempt& attempt);
    void connectionLost();
    void askToLeave(const QString& question, std::function<void(bool)> then);
    void startJoining(const JoinTarget& target, std::function<void(const JoinOutcome&)> done);
    void showLostBar(const QString& text);
    bool atTable(const JoinTarget& target) const;
    void updateNetEntries();

    // Settings and menus.
    void loadinifile();
    void saveinifile(SettingKey changed);
    Settings currentSettings() const;
    void applyComputerPlayers();
    void Fast1Click(int speed);
    void computerPlayersClick(int level);
    void scontopClick();
    void ltontopClick();
    void PlaySounds1Click();
    void PlayChatterSounds1Click();
    void New1Click(int tag);
    void sortTrumpsClick();
    void showBidsInChatClick();
    void fourColourClick();
    void scaleTableClick();
    // The deck's colours and the board's scale as the menu says.
    void applyLook();
    void closeOnEscape(QWidget* window);

    // The tally.
    void loadchecklist();
    void ViewTally1Click();

    // The statistics.
    void loadStatistics();
    void recordGame(int winners);

    BoardHost* m_host = nullptr;
    ChatBox* m_chat = nullptr;
    TSock* m_sock = nullptr;
    TSock* m_sock11 = nullptr;
    QPointer<Hosting> m_server;
    std::unique_ptr<Hosting> m_ownServer;
    TableWindows m_windows;
    QPointer<Ttallylist> m_tally;
    quint32 systemcolour; // the colour of the window's own notices
    SoundPlayer m_sounds;
    SettingsStore m_store;

    std::deque<QByteArray> m_receivedlist;
    qsizetype m_queuedBytes = 0; // bytes of the lines in m_receivedlist
    LineCutter m_cutter;
    QTimer m_timer1;
    std::unique_ptr<QSystemSemaphore> m_marker; // "the game runs" marker
    std::optional<QStringList> m_params;
    bool m_started = false;
    bool m_closing = false;
    bool m_connected = false;
    bool m_failReported = false;
    QMetaObject::Connection m_lastTrickLink;
    quint16 m_gamePort = kDefaultGamePort;

    TableLogin m_login;
    TableRecord m_shown; // what the table shows
    std::unique_ptr<Seats> m_seats;
    std::unique_ptr<Hand> m_hand;
    std::unique_ptr<Turns> m_turns;
    std::unique_ptr<Scores> m_scores;
    std::unique_ptr<StatsBook> m_stats;
    std::unique_ptr<GameTracker> m_tracker; // the game being played, for the statistics
    QPointer<QWidget> m_statsWindow;
    std::unique_ptr<GameKeeper> m_keeper;
    QPointer<QWidget> m_handReview;

    // Playing with others.
    std::optional<StartRequest> m_request;
    std::unique_ptr<JoinAttempt> m_attempt;
    std::optional<JoinTarget> m_rejoin;
    QString m_password; // the answer to this window's host asking for one
    bool m_gameOn = false;
    QString m_houseRules;       // the game-start window's choice, kept in the settings file
    bool m_lostPending = false; // the connection is gone; its last lines are still queued
    QString m_lostText;         // what the lost-connection panel says
    QPointer<HostDialog> m_hostDialog;
    QPointer<JoinDialog> m_joinDialog;
    ConnectionBar* m_bar = nullptr;
    QAction* m_host1 = nullptr;
    QAction* m_join1 = nullptr;
    QAction* m_invite1 = nullptr;
    QAction* m_saveRecord = nullptr;

    // Menu entries.
    QAction* m_startGame = nullptr;
    QAction* m_playSounds = nullptr;
    QAction* m_playChatterSounds = nullptr;
    QActionGroup* m_turnSounds = nullptr;
    QActionGroup* m_botSpeeds = nullptr;
    QActionGroup* m_computerPlayers = nullptr;
    QAction* m_scontop = nullptr;
    QAction* m_ltontop = nullptr;
    QAction* m_justWatch = nullptr;
    QAction* m_showBidsInChat = nullptr;
    QAction* m_sortTrumps = nullptr;
    QAction* m_fourColour = nullptr;
    QAction* m_scaleTable = nullptr;
    QAction* m_fullScreen = nullptr;
    QAction* m_viewScoreCard = nullptr;
    QAction* m_viewLastTrick = nullptr;
    QAction* m_viewTally = nullptr;
    QAction* m_viewStats = nullptr;
    QAction* m_spyList = nullptr;
    QAction* m_lastTrick = nullptr;
    QAction* m_gameLog = nullptr;
    QAction* m_helpContent = nullptr;
    QAction* m_about = nullptr;
};

} // namespace euchre
