// Tchat: the table window. It decides from its command line whether to host or
// join, connects and logs in, queues the host's messages and hands one per
// tick to its handler, and carries the chat column and the menus.
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

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class TSock;
class QSystemSemaphore;

namespace euchre {

class ArtItem;
class BoardHost;
class ConnectionBar;
class HostDialog;
class JoinDialog;
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
    // The game host of this copy; without one, hosting makes its own.
    // The host this window starts when it hosts; without one it makes its own.
    void setServer(Hosting* server);
    Hosting* server() const { return m_server; }
    void setWindows(const TableWindows& windows);
    void setPhraseEditor(Tphrases* editor);
    // The tally window: "View Tally" opens it, and it asks the table for
    // the names at the table when it records a game.
    void setTally(Ttallylist* tally);
    Ttallylist* tally() const;
    // The parameters processparams reads when the window is first shown.
    void setCommandLine(const QStringList& params) { m_params = params; }

    // What the start asks beyond the lobby's words (--host, --join, a link);
    // acted on when the window is first shown, instead of the command line.
    void setStartRequest(const StartRequest& request) { m_request = request; }

    // ---- start-up and connection ----
    void processparams(const QStringList& params);
    void hostpress();
    void joinpress();
    void sendloginfo(QByteArrayView args);
    void sockRead(TSock* sender, int count);
    void sockInfo(TSock* sender, int code, const QString& text);

    // ---- playing with others from the window: Host..., Join..., Reconnect ----
    void Host1Click();
    void Join1Click();
    // "Invite Players...": where others join the table this window hosts.
    void Invite1Click();
    // Leaves the current game (asking first while one runs) and hosts a new
    // table in this window. `done` says whether the table is open and, if
    // not, why (nothing when the player chose to stay).
    void hostGame(const HostRequest& request, std::function<void(bool, const QString&)> done);
    // Tries to join another table; the current game goes on until the host
    // there has let the player in (asking first while a game runs).
    void joinGame(const JoinTarget& target, std::function<void(const JoinOutcome&)> done);
    void cancelJoin();
    bool isJoining() const { return m_attempt != nullptr; }
    // Joins the table whose connection was lost again, with the same
    // address, name and password.
    void Reconnect1Click();
    // A start a later copy handed over: hosts or joins as it asks (asking
    // first while a game runs).
    void handOver(const StartRequest& request);
    // A game is being played at this table.
    bool gameRunning() const { return m_gameOn; }
    // Where "Reconnect" goes: set by every game hosted or joined from the
    // window or its options, never by the lobby's start.
    const std::optional<JoinTarget>& rejoinTarget() const { return m_rejoin; }
    HostDialog* hostDialog();
    JoinDialog* joinDialog();
    ConnectionBar* connectionBar() const { return m_bar; }

    // ---- the queue ----
    void Timer1Timer();
    void processsocktimer();
    int queuedCount() const { return static_cast<int>(m_receivedlist.size()); }
    // Queues a line as if the host had sent it (tests, tools).
    void queueLine(const QByteArray& line) { queueLines({line}); }
    QTimer& timer1() { return m_timer1; }

    // ---- handlers of host messages (arguments: the text after the word) ----
    void chatrecieved(QByteArrayView args);
    void newplayerinfo(QByteArrayView args);
    void havewrongversion(QByteArrayView args);
    void wrongversion(QByteArrayView args);
    void full(QByteArrayView args);
    void playasound(QByteArrayView args);
    // A private table's questions and refusals on this window's connection.
    void passwordasked(QByteArrayView args);
    void wrongpassword(QByteArrayView args);
    void lockedout(QByteArrayView args);
    // The table's own handlers: seats, hand, bidding and score board.
    void playerdisconnected(QByteArrayView args);
    void startthegame(QByteArrayView args);
    void setnextplayer(QByteArrayView args);
    void justwatching(QByteArrayView args);
    void setdealer(QByteArrayView args);
    void placecard(QByteArrayView args);
    void setbidder(QByteArrayView args);
    void hepassed(QByteArrayView args);
    void heaccepted(QByteArrayView args);
    void settrump(QByteArrayView args);
    void setdiscarder(QByteArrayView args);
    void switchcard(QByteArrayView args);
    void setchooser(QByteArrayView args);
    void trumpchoosen(QByteArrayView args);
    void playedcard(QByteArrayView args);
    void notvalid(QByteArrayView args);
    void trickwinner(QByteArrayView args);
    void clearcards(QByteArrayView args);
    void scores(QByteArrayView args);
    void thewinner(QByteArrayView args);
    void loadstats(QByteArrayView args);
    void loadcards(QByteArrayView args);
    void loadtheircard(QByteArrayView args);
    void setaloner(QByteArrayView args);
    void goingalone(QByteArrayView args);
    // Turns the table so that the own seat sits at the bottom.
    void sortstuff(int slot);

    // ---- seats ----
    void JustWatch1Click();
    // The name-label menu opens for a seat: its entries follow who may use them.
    void label_playername1ContextPopup(int seat);
    void kicking();
    // Asks the host to remove a player or spectator; only the hosting
    // player, once logged in, may.
    void removeFromGame(int slot);
    void SettoJustWatch1Click();
    void UnsetJustWatch1Click();
    QMenu* popupKick() const { return m_popupKick; }

    // ---- the own hand ----
    void createcard(int position, int card);
    // Sorts the own hand: by card number, or, once trump is fixed and "Sort
    // Trumps Together" is ticked, with the trumps at the right end.
    void sortthem();
    void movecards(int position);
    // The own card item at a place 1..5 of the hand, or of a position.
    ArtItem* cardAtPlace(int place) const;
    ArtItem* cardOfPosition(int position) const;
    // Keys while the table has the focus; true when the key was used.
    bool tableKey(int key);
    int keyPlace() const { return m_shown.keyPlace; }

    // ---- bidding and turns ----
    void bubble1Click(int bubble);
    void clearbubbles();
    // The text a seat's name label shows.
    QString seatName(int seat) const;
    // The seat's latest bid of the deal (an art::BidTag), shown beside its name.
    int bidOf(int seat) const;

    // ---- the score board ----
    void clearall();
    void startround();

    // ---- chat and sounds ----
    void addlinetochat(const QString& line, quint32 colour);
    void playsounds(const QString& name);
    ChatBox* chat() const { return m_chat; }
    SoundPlayer& sounds() { return m_sounds; }

    // ---- settings ----
    void loadinifile();
    void saveinifile(SettingKey changed);
    Settings currentSettings() const;
    SettingsStore& settingsStore() { return m_store; }
    int botSpeed() const;

    // ---- the tally ----
    // Hands the tally window the names shown for the other seats.
    void loadchecklist();
    void ViewTally1Click();

    // ---- menus ----
    void Fast1Click(int speed);
    // "Computer Players": the hosting copy's computer seats play at this
    // level from the next deal on.
    void computerPlayersClick(int level);
    void applyComputerPlayers();
    void scontopClick();
    void ltontopClick();
    void PlaySounds1Click();
    void PlayChatterSounds1Click();
    void New1Click(int tag);
    void ResetScreenLocation1Click();
    void Exit1Click();
    void button_startClick();
    // "Show Bids in Chat" and "Sort Trumps Together".
    void showBidsInChatClick();
    void sortTrumpsClick();

    // ---- ChatOwner ----
    void sendToHost(const QByteArray& message) override;
    bool isLoggedIn() const override { return loggedin; }
    int ownSlot() const override { return m_shown.myslot; }

    // ---- the port of the game ($EUCHRE_PORT, else 7772) ----
    quint16 gamePort() const { return m_gamePort; }
    void setGamePort(quint16 port) { m_gamePort = port; }
    void setCompanionPort(quint16 port);
    TSock* connection() const { return m_sock; }
    TSock* companion() const { return m_sock11; }
    TableBoard* board() const;

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

    // What the table shows.
    const TableRecord& shown() const { return m_shown; }

    // ---- client state ----
    bool loggedin = false;
    QString playername;
    QString hostaddress;
    QByteArray loginname;
    bool ishost = false;
    quint32 systemcolour;

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
    void FormCreate();
    void buildMenus();
    void queueLines(const QList<QByteArray>& lines);
    void keepTicking();
    void notice(const QString& text);
    void openConnection(const QString& host, quint16 port);
    void applyStayOnTop(QWidget* window, bool onTop);
    void showWindow(QWidget* window);
    void updateWindowEntries();
    void connectFailed(const QString& why);
    void buildPopupKick();
    // Draws the record on the board.
    void redraw();
    void pointArrow(int seat);
    void turnSound();
    void setStatus(const QString& text);
    // A status sentence about a seat; for the own seat it speaks to the player.
    enum class Say {
        Dealing,
        AcceptOrPass,
        Passed,
        Accepted,
        Choosing,
        Chose,
        GoAlone,
        Discard,
        PlayACard,
        WonTheTrick
    };
    QString sentence(Say what, int seat, const QString& suit = {}) const;
    void setBid(int seat, int tag);
    void clearBids();
    void offer(int bubble, int picture, int code);
    // After the catch-up: the turn as far as the table can tell it.
    void showCaughtUpTurn();
    void askBeforeRestart();
    void showMaker(int seat);
    void setBacks(int seat, int count);
    void clearHand();
    void clearTrick();
    void showDefaultName(int seat);
    void clampKeyPlace();
    // The place of the own hand holding a position of the host's hand, 0 when none.
    int placeOf(int position) const;
    // A press on the own card at a place of the hand (the keys press places too).
    void pressCard(int place, Qt::MouseButton button);
    // Playing with others: leaving a game, the table as at start-up, taking
    // over a connection a join attempt made, and a lost connection.
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

    BoardHost* m_host = nullptr;
    ChatBox* m_chat = nullptr;
    TSock* m_sock = nullptr;
    TSock* m_sock11 = nullptr;
    QPointer<Hosting> m_server;
    std::unique_ptr<Hosting> m_ownServer;
    TableWindows m_windows;
    QPointer<Ttallylist> m_tally;
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
    int m_popupTarget = 0; // the seat the name-label menu was opened on

    TableRecord m_shown; // what the table shows
    // The story of the deal.
    bool m_caughtUp = false;              // the catch-up came; its question follows, if any
    std::array<int, 5> m_catchUpCounts{}; // cards in each seat's hand at the catch-up

    QMenu* m_popupKick = nullptr;
    QMetaObject::Connection m_lastTrickLink;
    QAction* m_removeFromGame = nullptr;
    QAction* m_setJustWatch = nullptr;
    QAction* m_unsetJustWatch = nullptr;
    quint16 m_gamePort = kDefaultGamePort;

    // Playing with others.
    std::optional<StartRequest> m_request;
    std::unique_ptr<JoinAttempt> m_attempt;
    std::optional<JoinTarget> m_rejoin;
    QString m_password; // the answer to this window's host asking for one
    bool m_gameOn = false;
    bool m_lostPending = false; // the connection is gone; its last lines are still queued
    QString m_lostText;         // what the lost-connection panel says
    QPointer<HostDialog> m_hostDialog;
    QPointer<JoinDialog> m_joinDialog;
    ConnectionBar* m_bar = nullptr;
    QAction* m_host1 = nullptr;
    QAction* m_join1 = nullptr;
    QAction* m_invite1 = nullptr;

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
    QAction* m_viewScoreCard = nullptr;
    QAction* m_viewLastTrick = nullptr;
    QAction* m_viewTally = nullptr;
    QAction* m_spyList = nullptr;
    QAction* m_lastTrick = nullptr;
    QAction* m_gameLog = nullptr;
    QAction* m_helpContent = nullptr;
    QAction* m_about = nullptr;
};

} // namespace euchre
