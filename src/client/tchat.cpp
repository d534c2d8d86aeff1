// The table window: start-up decision, connection and login, the host's
// message queue with its one-message-per-tick dispatch, settings and menus.
#include "client/tchat.h"

#include "client/tchat_parts.h"

#include "client/artitem.h"
#include "client/artwork.h"
#include "client/connectionbar.h"
#include "client/gamekeeper.h"
#include "client/tableboard.h"
#include "client/tabout.h"
#include "client/tlasttrick.h"
#include "model/random.h"
#include "net/commands.h"
#include "net/protocol.h"
#include "net/tsock.h"
#include "settings/colourtext.h"
#include "settings/settingslocation.h"
#include "sound/chattersounds.h"
#include "stats/statsfile.h"
#include "tally/ttallylist.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSystemSemaphore>

namespace euchre {

namespace {

// Texts the window shows.
const QString kLoadingSolo = QStringLiteral("0+Loading Solo Game..Please wait.");
const QString kLoadingMulti = QStringLiteral("0+Loading Multi-player Game.. Please Wait.");
const QString kWrongVersionOther = QStringLiteral(" has a different version of the game then you.");
const QString kWrongVersionOwn =
    QStringLiteral("0+You have a differnt version of the game then the host.");
const QString kGameIsFull = QStringLiteral("Game is full");
const QString kNotConnected = QStringLiteral("You are not connected");
const QString kChatterSoundLine = QStringLiteral(": <Chatter Sound> ");
const QString kSocketClosed = QStringLiteral("Socket Closed");
const QString kLoopback = QStringLiteral("127.0.0.1");
const QString kSoloName = QStringLiteral("You");
const QString kHostFlag = QStringLiteral("true");
const QString kPortInUse = QStringLiteral(
    "0+Port %1 is in use by another program, so this copy cannot host a game. Close that "
    "program, or set EUCHRE_PORT to another port number (the players who join need the same "
    "one), and start the game again.");
const QString kCannotConnect = QStringLiteral(
    "0+Could not connect to %1 port %2: %3. Make sure the host has started its game, "
    "that the address is right and that EUCHRE_PORT matches the host's port, then start "
    "the game again.");

// The line the queue starts with; it carries no command.
const QByteArray kQueuePlaceholder = QByteArrayLiteral("receivedlist");

constexpr int kHighestSeat = 4;
// How long closing waits for the last words to leave.
constexpr int kCloseFlushMs = 200;
// Status codes of the connection's reports.
constexpr int kInfoConnected = 1;
constexpr int kInfoError = 7;

quint16 portFromEnvironment() {
    const QByteArray text = qgetenv("EUCHRE_PORT");
    if (text.isEmpty()) return Tchat::kDefaultGamePort;
    const std::optional<int> port = FieldReader(text).number(0, 65535);
    return port ? static_cast<quint16>(*port) : Tchat::kDefaultGamePort;
}

// A question in a box that does not stop the event loop.
void askInBox(QWidget* parent, const QString& question, std::function<void(bool)> answer) {
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Euchre"), question,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [box, answer] {
        if (answer) answer(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->open();
}

// The same with two buttons of the caller's words; the safe answer is the
// one a stray Enter or Escape gives.
void chooseInBox(QWidget* parent, const QString& question, const QString& yes, const QString& no,
                 std::function<void(bool)> answer) {
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Euchre"), question,
                                QMessageBox::NoButton, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* yesButton = box->addButton(yes, QMessageBox::AcceptRole);
    QPushButton* noButton = box->addButton(no, QMessageBox::RejectRole);
    box->setDefaultButton(noButton);
    box->setEscapeButton(noButton);
    QObject::connect(box, &QMessageBox::finished, box, [box, yesButton, answer] {
        if (answer) answer(box->clickedButton() == yesButton);
    });
    box->open();
}

QAction* checkedWithData(QActionGroup* group, int value) {
    for (QAction* a : group->actions())
        if (a->data().toInt() == value) return a;
    return nullptr;
}

} // namespace

// Every command word the table understands, in the order they are compared,
// and the part of the table that handles it.
struct Tchat::Dispatch {
    const char* word;
    void (*handle)(Tchat& table, QByteArrayView args);
};

const std::vector<Tchat::Dispatch>& Tchat::dispatchTable() {
    using Args = QByteArrayView;
    static const std::vector<Dispatch> table = {
        {cmd::sendlogininfo, [](Tchat& t, Args a) { t.sendloginfo(a); }},
        {cmd::chat, [](Tchat& t, Args a) { t.chatrecieved(a); }},
        {cmd::action, [](Tchat& t, Args a) { t.chatrecieved(a); }},
        {cmd::newplayerinfo, [](Tchat& t, Args a) { t.m_seats->newplayerinfo(a); }},
        {cmd::havewrongversion, [](Tchat& t, Args a) { t.havewrongversion(a); }},
        {cmd::wrongversion, [](Tchat& t, Args a) { t.wrongversion(a); }},
        {cmd::existingplayers, [](Tchat& t, Args a) { t.m_seats->newplayerinfo(a); }},
        {cmd::playerdisconnected, [](Tchat& t, Args a) { t.m_seats->playerdisconnected(a); }},
        {cmd::startgame, [](Tchat& t, Args a) { t.m_turns->startthegame(a); }},
        {cmd::nextplayer, [](Tchat& t, Args a) { t.m_turns->setnextplayer(a); }},
        {cmd::full, [](Tchat& t, Args a) { t.full(a); }},
        {cmd::justwatching, [](Tchat& t, Args a) { t.m_seats->justwatching(a); }},
        {cmd::dealer, [](Tchat& t, Args a) { t.m_turns->setdealer(a); }},
        {cmd::placecard, [](Tchat& t, Args a) { t.m_hand->placecard(a); }},
        {cmd::bidder, [](Tchat& t, Args a) { t.m_turns->setbidder(a); }},
        {cmd::hepassed, [](Tchat& t, Args a) { t.m_turns->hepassed(a); }},
        {cmd::heaccepted, [](Tchat& t, Args a) { t.m_turns->heaccepted(a); }},
        {cmd::settrump, [](Tchat& t, Args a) { t.m_turns->settrump(a); }},
        {cmd::discarder, [](Tchat& t, Args a) { t.m_turns->setdiscarder(a); }},
        {cmd::switchcard, [](Tchat& t, Args a) { t.m_hand->switchcard(a); }},
        {cmd::chooser, [](Tchat& t, Args a) { t.m_turns->setchooser(a); }},
        {cmd::trumpchoosen, [](Tchat& t, Args a) { t.m_turns->trumpchoosen(a); }},
        {cmd::playedcard, [](Tchat& t, Args a) { t.m_hand->playedcard(a); }},
        {cmd::notvalid, [](Tchat& t, Args a) { t.m_hand->notvalid(a); }},
        {cmd::trickwinner, [](Tchat& t, Args a) { t.m_hand->trickwinner(a); }},
        {cmd::clearcards, [](Tchat& t, Args a) { t.m_hand->clearcards(a); }},
        {cmd::score, [](Tchat& t, Args a) { t.m_scores->scores(a); }},
        {cmd::thewinner, [](Tchat& t, Args a) { t.m_scores->thewinner(a); }},
        {cmd::loadstats, [](Tchat& t, Args a) { t.m_scores->loadstats(a); }},
        {cmd::loadcards, [](Tchat& t, Args a) { t.m_hand->loadcards(a); }},
        {cmd::loadtheircards, [](Tchat& t, Args a) { t.m_hand->loadtheircard(a); }},
        {cmd::aloner, [](Tchat& t, Args a) { t.m_turns->setaloner(a); }},
        {cmd::goingalone, [](Tchat& t, Args a) { t.m_hand->goingalone(a); }},
        {cmd::playasound, [](Tchat& t, Args a) { t.playasound(a); }},
        {cmd::password, [](Tchat& t, Args a) { t.passwordasked(a); }},
        {cmd::wrongpassword, [](Tchat& t, Args a) { t.wrongpassword(a); }},
        {cmd::lockedout, [](Tchat& t, Args a) { t.lockedout(a); }},
        {cmd::loadrules, [](Tchat& t, Args a) { t.m_turns->loadrules(a); }},
        {cmd::badrules, [](Tchat& t, Args a) { t.m_turns->badrules(a); }},
    };
    return table;
}

Tchat::Tchat(QWidget* parent)
    : QMainWindow(parent), systemcolour(systemColour), m_store(settingsFilePath()) {
    setObjectName(QStringLiteral("chat"));
    setWindowTitle(QStringLiteral("Euchre"));
    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(11);
    setFont(base);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowColour);
    setPalette(pal);

    message = [this](const QString& text, std::function<void()> done) {
        showMessageBox(this, text, std::move(done));
    };
    ask = [this](const QString& question, std::function<void(bool)> answer) {
        askInBox(this, question, std::move(answer));
    };
    choose = [this](const QString& question, const QString& yes, const QString& no,
                    std::function<void(bool)> answer) {
        chooseInBox(this, question, yes, no, std::move(answer));
    };

    m_host = new BoardHost(this);
    setCentralWidget(m_host);
    m_chat = new ChatBox(this, board());
    m_chat->setGeometry(QRect(TableBoard::kChatColumn, TableBoard::kChatColumnSize));
    m_chat->message = [this](const QString& text) { message(text, {}); };
    m_chat->storePhrases = [this](const Tphrases::Phrases& edited, const Tphrases::Phrases& shown,
                                  QString* error) {
        return m_store.savePhrases(edited, shown, error);
    };
    connect(m_chat, &ChatBox::preferenceChanged, this, &Tchat::saveinifile);
    connect(m_chat, &ChatBox::phraseGateClosed, this, &Tchat::keepTicking);
    connect(board()->startButton(), &QPushButton::clicked, this, &Tchat::button_startClick);
    connect(board()->lastTrickButton(), &QPushButton::clicked, this,
            [this] { showWindow(m_windows.lasttrick); });
    connect(board()->handReviewButton(), &QPushButton::clicked, this, &Tchat::handReviewClick);
    connect(board()->scoreCardButton(), &QPushButton::clicked, this,
            [this] { showWindow(m_windows.scorecard); });
    openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    connect(board()->logo(), &ArtItem::pressed, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton && openUrl) openUrl(makerWebSite());
    });
    for (int n = 1; n <= TableBoard::kBubbles; ++n)
        connect(board()->bubble(n), &ArtItem::pressed, this, [this, n](Qt::MouseButton button) {
            if (button == Qt::LeftButton) m_turns->bubble1Click(n);
        });
    board()->onKey = [this](int key) {
        if (key != Qt::Key_H) return m_hand->tableKey(key);
        hintClick();
        return true;
    };
    connect(board()->hintButton(), &QPushButton::clicked, this, &Tchat::hintClick);
    board()->onCardPressed = [this](int position, Qt::MouseButton button) {
        m_hand->pressCard(m_hand->placeOf(position), button);
    };
    m_bar = new ConnectionBar(board());
    m_seats = std::make_unique<Seats>(*this);
    m_hand = std::make_unique<Hand>(*this);
    m_turns = std::make_unique<Turns>(*this);
    m_scores = std::make_unique<Scores>(*this);
    m_stats = std::make_unique<StatsBook>(QDir(dataFolder()).filePath(statsFileName));
    m_tracker = std::make_unique<GameTracker>();
    m_keeper = std::make_unique<GameKeeper>();
    m_keeper->saveFailed = [this](const QString& why) {
        notice(QStringLiteral("0+Could not save the game record: ") + why);
    };
    askSaveRecordPath = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save Game Record"), suggested,
                                            QStringLiteral("Game records (*.egn)"));
    };
    askOpenRecordPath = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open Game Record"),
                                            m_keeper->folder(),
                                            QStringLiteral("Game records (*.egn);;All files (*)"));
    };
    connect(m_bar, &ConnectionBar::reconnectClicked, this, &Tchat::Reconnect1Click);
    connect(m_bar, &ConnectionBar::joinClicked, this, &Tchat::Join1Click);

    useConnection(new TSock(this));

    // The companion lobby's connection: opened, never used, never listened to.
    m_sock11 = new TSock(this);
    m_sock11->setObjectName(QStringLiteral("Sock11"));
    m_sock11->setHostName(kLoopback);
    m_sock11->setPortName(QString::number(kCompanionPort));

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(1);
    connect(&m_timer1, &QTimer::timeout, this, &Tchat::Timer1Timer);

    m_gamePort = portFromEnvironment();
    buildMenus();
    FormCreate();
    resize(kResetWidth, kResetHeight);
}

Tchat::~Tchat() {
    // Closing sockets report "Socket Closed"; nobody is listening any more.
    m_sock->disconnect(this);
    m_timer1.stop();
}

void Tchat::FormCreate() {
    // Marks for other programs on this machine that the game runs; it is
    // never waited on, so several copies may share it.
    m_marker =
        std::make_unique<QSystemSemaphore>(QStringLiteral("euchre"), 1, QSystemSemaphore::Open);
    systemcolour = systemColour;
    m_turns->clearall();
    rng::restartFromTimeOfDay();
    m_login.ishost = false;
    m_shown.turnseat = 0;
    m_shown.defaultnames = {QString(), QStringLiteral("You"), QStringLiteral("Klot"),
                            QStringLiteral("Klick"), QStringLiteral("Kling")};
    m_shown.handslots = {};
    redraw();
    queueLines({kQueuePlaceholder});
}

TableBoard* Tchat::board() const {
    return m_host->board();
}

void Tchat::redraw() {
    board()->draw(m_shown);
}

void Tchat::setCompanionPort(quint16 port) {
    m_sock11->setPortName(QString::number(port));
}

void Tchat::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto add = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    m_startGame = add(file, "StartGame1", QStringLiteral("Start Game"));
    m_startGame->setEnabled(false);
    m_startGame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(m_startGame, &QAction::triggered, this, &Tchat::button_startClick);
    file->addSeparator();
    m_host1 = add(file, "Host1", QStringLiteral("&Host..."));
    connect(m_host1, &QAction::triggered, this, &Tchat::Host1Click);
    m_join1 = add(file, "Join1", QStringLiteral("&Join..."));
    connect(m_join1, &QAction::triggered, this, &Tchat::Join1Click);
    m_invite1 = add(file, "Invite1", QStringLiteral("&Invite Players..."));
    connect(m_invite1, &QAction::triggered, this, &Tchat::Invite1Click);
    file->addSeparator();
    m_saveRecord = add(file, "SaveGameRecord1", QStringLiteral("Save Game Record..."));
    connect(m_saveRecord, &QAction::triggered, this, &Tchat::saveGameRecordClick);
    connect(file, &QMenu::aboutToShow, this,
            [this] { m_saveRecord->setEnabled(m_keeper->hasRecord()); });
    connect(add(file, "OpenGameRecord1", QStringLiteral("Open Game Record...")),
            &QAction::triggered, this, &Tchat::openGameRecordClick);
    file->addSeparator();
    QAction* exit = add(file, "Exit1", QStringLiteral("Exit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, &Tchat::Exit1Click);

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    m_playSounds = add(options, "PlaySounds1", QStringLiteral("Play Sounds"));
    m_playSounds->setCheckable(true);
    m_playSounds->setChecked(true);
    connect(m_playSounds, &QAction::triggered, this, &Tchat::PlaySounds1Click);
    m_playChatterSounds = add(options, "PlayChatterSounds1", QStringLiteral("Play Chatter Sounds"));
    m_playChatterSounds->setCheckable(true);
    connect(m_playChatterSounds, &QAction::triggered, this, &Tchat::PlayChatterSounds1Click);

    QMenu* turn = options->addMenu(QStringLiteral("Turn Sound"));
    turn->setObjectName(QStringLiteral("TurnSound1"));
    m_turnSounds = new QActionGroup(this);
    for (const auto& [name, text, tag] :
         {std::tuple{"Classic1", "Classic", turnSoundClassic}, {"New1", "New", turnSoundNew}}) {
        QAction* a = add(turn, name, QLatin1String(text));
        a->setCheckable(true);
        a->setData(tag);
        a->setChecked(tag == turnSoundClassic);
        m_turnSounds->addAction(a);
        connect(a, &QAction::triggered, this, [this, t = tag] { New1Click(t); });
    }

    QMenu* speed = options->addMenu(QStringLiteral("Bot Speed"));
    speed->setObjectName(QStringLiteral("BotSpeed1"));
    m_botSpeeds = new QActionGroup(this);
    for (const auto& [name, text, tag] : {std::tuple{"Slow1", "Slow", botSpeedSlow},
                                          {"Normal1", "Normal", botSpeedNormal},
                                          {"Fast1", "Fast", botSpeedFast}}) {
        QAction* a = add(speed, name, QLatin1String(text));
        a->setCheckable(true);
        a->setData(tag);
        a->setChecked(tag == botSpeedNormal);
        m_botSpeeds->addAction(a);
        connect(a, &QAction::triggered, this, [this, t = tag] { Fast1Click(t); });
    }

    QMenu* players = options->addMenu(QStringLiteral("Computer Players"));
    players->setObjectName(QStringLiteral("ComputerPlayers1"));
    m_computerPlayers = new QActionGroup(this);
    for (const auto& [name, text, tag] :
         {std::tuple{"Standard1", "Standard", computerPlayersStandard},
          {"Expert1", "Expert", computerPlayersExpert}}) {
        QAction* a = add(players, name, QLatin1String(text));
        a->setCheckable(true);
        a->setData(tag);
        a->setChecked(tag == computerPlayersStandard);
        m_computerPlayers->addAction(a);
        connect(a, &QAction::triggered, this, [this, t = tag] { computerPlayersClick(t); });
    }

    options->addSeparator();
    m_sortTrumps = add(options, "SortTrumps1", QStringLiteral("Sort Trumps Together"));
    m_sortTrumps->setCheckable(true);
    m_sortTrumps->setChecked(true);
    connect(m_sortTrumps, &QAction::triggered, this, &Tchat::sortTrumpsClick);
    m_showBidsInChat = add(options, "ShowBidsInChat1", QStringLiteral("Show Bids in Chat"));
    m_showBidsInChat->setCheckable(true);
    connect(m_showBidsInChat, &QAction::triggered, this, &Tchat::showBidsInChatClick);
    m_fourColour = add(options, "FourColourDeck1", QStringLiteral("Four-Colour Deck"));
    m_fourColour->setCheckable(true);
    connect(m_fourColour, &QAction::triggered, this, &Tchat::fourColourClick);
    m_scaleTable = add(options, "ScaleTable1", QStringLiteral("Scale Table to Window"));
    m_scaleTable->setCheckable(true);
    connect(m_scaleTable, &QAction::triggered, this, &Tchat::scaleTableClick);

    options->addSeparator();
    m_viewScoreCard = add(options, "ViewScoreCard1", QStringLiteral("View Score Card"));
    connect(m_viewScoreCard, &QAction::triggered, this,
            [this] { showWindow(m_windows.scorecard); });
    m_scontop = add(options, "scontop", QStringLiteral("Score Card Window - Stay on Top"));
    m_scontop->setCheckable(true);
    connect(m_scontop, &QAction::triggered, this, &Tchat::scontopClick);
    m_viewLastTrick = add(options, "ViewLastTrick1", QStringLiteral("View Last Trick"));
    connect(m_viewLastTrick, &QAction::triggered, this,
            [this] { showWindow(m_windows.lasttrick); });
    m_ltontop = add(options, "ltontop", QStringLiteral("Last Trick Window - Stay on Top"));
    m_ltontop->setCheckable(true);
    connect(m_ltontop, &QAction::triggered, this, &Tchat::ltontopClick);

    options->addSeparator();
    options->addAction(m_chat->textColourAction());
    QMenu* size = options->addMenu(QStringLiteral("Text Size"));
    size->setObjectName(QStringLiteral("TextSize1"));
    for (QAction* a : m_chat->textSizeActions()) size->addAction(a);
    options->addAction(m_chat->scrollChatOffMenuAction());
    options->addAction(m_chat->clearMainChatBoxAction());
    options->addSeparator();
    QAction* reset = add(options, "ResetScreenLocation1", QStringLiteral("Reset Screen Location"));
    connect(reset, &QAction::triggered, this, &Tchat::ResetScreenLocation1Click);
    options->addSeparator();
    m_justWatch = add(options, "JustWatch1", QStringLiteral("Just Watch"));
    m_justWatch->setCheckable(true);
    connect(m_justWatch, &QAction::triggered, this, [this] {
        // Only the host's answer changes the tick.
        m_justWatch->setChecked(!m_justWatch->isChecked());
        m_seats->JustWatch1Click();
    });

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    m_viewTally = add(view, "ViewTally1", QStringLiteral("View Tally"));
    connect(m_viewTally, &QAction::triggered, this, &Tchat::ViewTally1Click);
    m_viewStats = add(view, "Statistics1", QStringLiteral("Statistics"));
    connect(m_viewStats, &QAction::triggered, this, &Tchat::ViewStatistics1Click);
    m_spyList = add(view, "SpyList1", QStringLiteral("Spy List"));
    connect(m_spyList, &QAction::triggered, this, [this] { showWindow(m_windows.spylist); });
    view->addAction(m_chat->phraseListAction());
    view->addSeparator();
    m_lastTrick = add(view, "LastTrick1", QStringLiteral("Last Trick"));
    connect(m_lastTrick, &QAction::triggered, this, [this] { showWindow(m_windows.lasttrick); });
    connect(add(view, "HandReview1", QStringLiteral("Hand Review")), &QAction::triggered, this,
            &Tchat::handReviewClick);
    connect(add(view, "Hint1", QStringLiteral("Hint (H)")), &QAction::triggered, this,
            &Tchat::hintClick);
    m_gameLog = add(view, "ScoreCard1", QStringLiteral("Game Log"));
    connect(m_gameLog, &QAction::triggered, this, [this] { showWindow(m_windows.scorecard); });
    view->addSeparator();
    m_fullScreen = add(view, "FullScreen1", QStringLiteral("Full Screen"));
    m_fullScreen->setCheckable(true);
    m_fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    connect(m_fullScreen, &QAction::triggered, this, [this](bool on) {
        setWindowState(on ? windowState() | Qt::WindowFullScreen
                          : windowState() & ~Qt::WindowFullScreen);
    });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    m_helpContent = add(help, "Help2", QStringLiteral("Content"));
    m_helpContent->setShortcut(QKeySequence(Qt::Key_F1));
    connect(m_helpContent, &QAction::triggered, this, [this] { showWindow(m_windows.help); });
    help->addSeparator();
    m_about = add(help, "About1", QStringLiteral("About"));
    connect(m_about, &QAction::triggered, this, [this] { showWindow(m_windows.about); });

    updateWindowEntries();
    updateNetEntries();
}

// Entries that open a window stay greyed out until the window exists.
void Tchat::updateWindowEntries() {
    m_viewScoreCard->setEnabled(m_windows.scorecard);
    board()->scoreCardButton()->setEnabled(m_windows.scorecard);
    board()->lastTrickButton()->setEnabled(m_windows.lasttrick);
    m_gameLog->setEnabled(m_windows.scorecard);
    m_viewLastTrick->setEnabled(m_windows.lasttrick);
    m_lastTrick->setEnabled(m_windows.lasttrick);
    m_viewTally->setEnabled(m_windows.tallylist);
    m_spyList->setEnabled(m_windows.spylist);
    m_helpContent->setEnabled(m_windows.help);
    m_about->setEnabled(m_windows.about);
}

void Tchat::setServer(Hosting* server) {
    m_server = server;
    if (m_server) m_server->setBotSpeedSource([this] { return botSpeed(); });
    applyComputerPlayers();
}

void Tchat::setWindows(const TableWindows& windows) {
    m_windows = windows;
    for (QWidget* w : {m_windows.tallylist, m_windows.about, m_windows.gamestart, m_windows.help,
                       m_windows.spylist, m_windows.lasttrick, m_windows.scorecard})
        closeOnEscape(w);
    if (m_tally) m_windows.tallylist = m_tally.data();
    disconnect(m_lastTrickLink);
    if (auto* window = qobject_cast<Tlasttrick*>(m_windows.lasttrick.data())) {
        window->tableNames = [this] {
            QStringList names;
            for (int seat = 1; seat <= kHighestSeat; ++seat) names << m_shown.seatName(seat);
            return names;
        };
        m_lastTrickLink = connect(this, &Tchat::lastTrickChanged, window,
                                  [this, window] { window->showTrick(m_shown.lasttrick); });
    }
    updateWindowEntries();
}

void Tchat::setPhraseEditor(Tphrases* editor) {
    m_chat->setPhraseEditor(editor);
}

// The small windows around the table close with Escape, as dialogs do.
void Tchat::closeOnEscape(QWidget* window) {
    static const QString kName = QStringLiteral("closeOnEscape");
    if (!window || window->findChild<QAction*>(kName, Qt::FindDirectChildrenOnly)) return;
    auto* action = new QAction(window);
    action->setObjectName(kName);
    action->setShortcut(QKeySequence(Qt::Key_Escape));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, window, &QWidget::close);
    window->addAction(action);
}

void Tchat::showWindow(QWidget* window) {
    if (!window) return;
    // The logs and the last trick come up over the middle of the table.
    if (window == m_windows.lasttrick || window == m_windows.scorecard)
        window->move(frameGeometry().center() - window->rect().center());
    window->show();
    window->raise();
    window->activateWindow();
}

// ---- start-up ----

void Tchat::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_started) return;
    loadStatistics();
    if (m_request && m_request->handsOver()) {
        m_started = true;
        handOver(*m_request);
    } else {
        processparams(m_params.value_or(QCoreApplication::arguments().mid(1)));
    }
    // Typing starts in the chat line, not in the read-only log.
    m_chat->input()->setFocus(Qt::OtherFocusReason);
}

// Tab goes between the table and the chat line.
bool Tchat::focusNextPrevChild(bool next) {
    QWidget* focused = focusWidget();
    if (focused == board()) {
        m_chat->input()->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    if (focused == m_chat->input()) {
        board()->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QMainWindow::focusNextPrevChild(next);
}

void Tchat::processparams(const QStringList& params) {
    m_started = true;
    m_shown.startOffered = false;
    m_startGame->setEnabled(false);
    m_login.loginname.clear();

    if (params.isEmpty()) {
        notice(kLoadingSolo);
        showWindow(m_windows.download);
        m_login.hostaddress = kLoopback;
        m_login.playername = kSoloName;
        // The computer plays the other three seats from the first deal on.
        for (int seat = 2; seat <= kHighestSeat; ++seat) m_shown.showDefaultName(seat);
        hostpress();
        redraw();
        return;
    }

    notice(kLoadingMulti);
    redraw();
    // Without all three parameters the window stays unconnected.
    if (params.size() < 3) return;
    m_login.playername = params[0];
    m_login.hostaddress = params[1];
    if (params[2] == kHostFlag)
        hostpress();
    else
        joinpress();
    try {
        m_sock11->Open();
    } catch (const ESockException&) {
        // The companion is optional: nothing about it may disturb the game.
    }
}

void Tchat::hostpress() {
    if (!m_server) {
        m_ownServer = Hosting::make();
        setServer(m_ownServer.get());
    }
    if (!m_server) {
        qWarning("this program cannot host: no host was handed to the table window");
        return;
    }
    QString error;
    if (!m_server->startListening(m_gamePort, &error)) {
        // Without a word after the box the window would wait for ever.
        message(error, [this] { notice(kPortInUse.arg(m_gamePort)); });
        return;
    }
    m_login.loginname = m_login.playername.toUtf8() + kTerminator;
    m_login.ishost = true;
    // Port 0 asks for any free port; the host says which one it got.
    const quint16 port = m_server->listeningPort() ? m_server->listeningPort() : m_gamePort;
    openConnection(kLoopback, port);
    // Starting a game needs the game-start window.
    const bool canStart = m_windows.gamestart != nullptr;
    m_shown.startOffered = canStart;
    m_startGame->setEnabled(canStart);
    updateNetEntries();
    redraw();
}

void Tchat::joinpress() {
    m_login.loginname = m_login.playername.toUtf8() + kTerminator;
    openConnection(m_login.hostaddress, m_gamePort);
    m_shown.startOffered = false;
    m_startGame->setEnabled(false);
    redraw();
}

void Tchat::openConnection(const QString& host, quint16 port) {
    try {
        m_sock->setHostName(host);
        m_sock->setPortName(QString::number(port));
        m_sock->Open();
    } catch (const ESockException& e) {
        message(e.text(), {});
    }
}

void Tchat::sendloginfo(QByteArrayView args) {
    const std::optional<int> slot = FieldReader(args).number(1, kMaxSlots);
    if (!slot) return;
    m_login.loggedin = true;
    // m_login.loginname ends in the terminator already, so the message ends in two.
    sendToHost(MessageBuilder(cmd::logininfo)
                   .field(*slot)
                   .field(kGameVersion)
                   .field(m_login.loginname)
                   .done(false));
    m_seats->sortstuff(*slot);
}

void Tchat::sendToHost(const QByteArray& bytes) {
    try {
        m_sock->Send(bytes);
    } catch (const ESockException& e) {
        message(e.text(), {});
    }
}

// ---- reading and the queue ----

void Tchat::sockRead(TSock* sender, int) {
    if (sender && sender != m_sock) return;
    QByteArray data;
    try {
        data = m_sock->Receive();
    } catch (const ESockException&) {
        return;
    }
    QList<QByteArray> lines;
    // A tail that grows without ever ending is not our protocol: drop it.
    if (!m_cutter.feed(data, lines)) m_cutter.clear();
    queueLines(lines);
}

void Tchat::queueLines(const QList<QByteArray>& lines) {
    if (lines.isEmpty()) return;
    for (const QByteArray& line : lines) {
        // The table handles one line per tick; a host that sends far more than
        // that is not playing, and what does not fit is dropped rather than
        // held without end.
        if (m_receivedlist.size() >= kMaxQueuedLines ||
            m_queuedBytes + line.size() > kMaxQueuedBytes)
            continue;
        m_queuedBytes += line.size();
        m_receivedlist.push_back(line);
    }
    keepTicking();
}

// The queue timer runs only while there is work: a queued line or a closed
// phrase gate. An idle table costs nothing, and neither does a closing one,
// whose queue is never handled again.
void Tchat::keepTicking() {
    if (!m_closing && !m_timer1.isActive()) m_timer1.start();
}

void Tchat::Timer1Timer() {
    processsocktimer();
    if (m_lostPending && m_receivedlist.empty()) connectionLost();
    m_chat->advancePhraseGate();
    if ((m_receivedlist.empty() || m_closing) && m_chat->phraseGateOpen()) m_timer1.stop();
}

void Tchat::processsocktimer() {
    if (m_closing || m_receivedlist.empty()) return;
    const QByteArray line = std::move(m_receivedlist.front());
    m_receivedlist.pop_front();
    m_queuedBytes -= line.size();
    QByteArrayView word, args;
    if (!splitCommand(line, word, args)) return;
    for (const Dispatch& entry : dispatchTable()) {
        if (word != QByteArrayView(entry.word)) continue;
        try {
            entry.handle(*this, args);
        } catch (const ESockException& e) {
            message(e.text(), {});
        }
        m_keeper->observe(word, args, m_shown);
        m_shown.reviewable = m_keeper->finishedDeals() > 0 && isSeat(m_shown.myslot);
        // A hint holds for the question it was asked on; the game's next step ends it.
        if (word != QByteArrayView(cmd::chat) && word != QByteArrayView(cmd::action) &&
            word != QByteArrayView(cmd::playasound))
            m_shown.hintPosition = m_shown.hintBubble = 0;
        redraw();
        emit dispatched(word.toByteArray());
        return;
    }
}

void Tchat::sockInfo(TSock* sender, int code, const QString& text) {
    // A connection this window has let go of no longer speaks for it.
    if (sender && sender != m_sock) return;
    if (code == kInfoConnected) m_connected = true;
    // A connection that never came up closes nothing: say why and how to go on.
    if (code == kInfoError && !m_connected && !m_closing && !m_failReported) connectFailed(text);
    if (text != kSocketClosed || m_closing) return;
    // A game hosted or joined from the window stays open and offers the way
    // back; the lobby's start closes as the lobby expects. While "Game is
    // full" is on screen the window closes after it, not before.
    if (!m_rejoin) {
        close();
        return;
    }
    // What the host said before it went is shown first.
    m_lostPending = true;
    keepTicking();
}

void Tchat::connectFailed(const QString& why) {
    m_failReported = true;
    notice(kCannotConnect.arg(m_sock->HostName(), m_sock->PortName(), why));
}

// ---- handlers of this window ----

void Tchat::chatrecieved(QByteArrayView args) {
    m_chat->chatrecieved(args);
}

void Tchat::havewrongversion(QByteArrayView args) {
    notice(QStringLiteral("0+") + QString::fromUtf8(args) + kWrongVersionOther);
}

void Tchat::wrongversion(QByteArrayView) {
    notice(kWrongVersionOwn);
}

void Tchat::full(QByteArrayView) {
    m_closing = true;
    m_timer1.stop();
    message(kGameIsFull, [this] { close(); });
}

void Tchat::playasound(QByteArrayView args) {
    FieldReader reader(args);
    const std::optional<int> seat = reader.number(1, kHighestSeat);
    if (!seat) return;
    const std::optional<ChatterSound> chatter =
        chatterSoundFromField(QString::fromLatin1(reader.text()));
    if (!chatter) return;
    if (m_playChatterSounds->isChecked()) {
        m_sounds.play(chatter->name);
        return;
    }
    // Chatter sounds off: say in the log who sent which sound.
    notice(QStringLiteral("0+") + m_shown.seatName(*seat) + kChatterSoundLine + chatter->label);
}

void Tchat::addlinetochat(const QString& line, quint32 colour) {
    m_chat->addlinetochat(line, colour);
}

void Tchat::notice(const QString& line) {
    addlinetochat(line, systemcolour);
}

void Tchat::playsounds(const QString& name) {
    if (m_playSounds->isChecked()) m_sounds.play(name);
}

// ---- settings ----

int Tchat::botSpeed() const {
    const QAction* checked = m_botSpeeds->checkedAction();
    return checked ? checked->data().toInt() : botSpeedNormal;
}

Settings Tchat::currentSettings() const {
    Settings s;
    s.textSize = m_chat->textSize();
    s.textColour = m_chat->chatColour();
    s.phrases = m_chat->phrases();
    s.botSpeed = botSpeed();
    s.scoreCardOnTop = m_scontop->isChecked();
    s.lastTrickOnTop = m_ltontop->isChecked();
    s.playSounds = m_playSounds->isChecked();
    s.bounds = QRect(pos(), size());
    const QAction* turn = m_turnSounds->checkedAction();
    s.turnSound = turn ? turn->data().toInt() : turnSoundClassic;
    s.chatterSounds = m_playChatterSounds->isChecked();
    if (QAction* a = m_computerPlayers->checkedAction()) s.computerPlayers = a->data().toInt();
    s.bidsInChat = m_showBidsInChat->isChecked();
    s.sortTrumps = m_sortTrumps->isChecked();
    s.houseRules = m_houseRules;
    s.fourColourDeck = m_fourColour->isChecked();
    s.scaleTable = m_scaleTable->isChecked();
    return s;
}

void Tchat::loadinifile() {
    // A later login in the same window (another table, a reconnect) keeps
    // what the menus show now; the new host still learns the bot speed.
    if (m_store.isLoaded()) {
        if (m_shown.myslot == 1 && m_login.loggedin)
            sendToHost(
                MessageBuilder(cmd::botspeed).field(m_shown.myslot).field(botSpeed()).done(true));
        applyComputerPlayers();
        return;
    }
    const Settings s = m_store.load();
    m_chat->setTextSize(s.textSize);
    m_chat->setChatColour(s.textColour);
    for (int i = 0; i < phraseCount; ++i)
        if (!s.phrases[static_cast<size_t>(i)].isEmpty())
            m_chat->setPhrase(i + 1, s.phrases[static_cast<size_t>(i)]);
    if (QAction* a = checkedWithData(m_botSpeeds, s.botSpeed))
        a->setChecked(true);
    else
        checkedWithData(m_botSpeeds, botSpeedNormal)->setChecked(true);
    if (m_shown.myslot == 1 && m_login.loggedin)
        sendToHost(
            MessageBuilder(cmd::botspeed).field(m_shown.myslot).field(botSpeed()).done(true));
    m_scontop->setChecked(s.scoreCardOnTop);
    applyStayOnTop(m_windows.scorecard, s.scoreCardOnTop);
    m_ltontop->setChecked(s.lastTrickOnTop);
    applyStayOnTop(m_windows.lasttrick, s.lastTrickOnTop);
    m_playSounds->setChecked(s.playSounds);
    move(s.bounds.topLeft());
    resize(s.bounds.size());
    if (QAction* a = checkedWithData(m_turnSounds, s.turnSound)) a->setChecked(true);
    m_playChatterSounds->setChecked(s.chatterSounds);
    if (QAction* a = checkedWithData(m_computerPlayers, s.computerPlayers)) a->setChecked(true);
    applyComputerPlayers();
    m_showBidsInChat->setChecked(s.bidsInChat);
    m_houseRules = s.houseRules;
    m_fourColour->setChecked(s.fourColourDeck);
    m_scaleTable->setChecked(s.scaleTable);
    applyLook();
    if (m_sortTrumps->isChecked() != s.sortTrumps) {
        m_sortTrumps->setChecked(s.sortTrumps);
        m_hand->sortthem();
        redraw();
    }
}

void Tchat::setHouseRules(const QString& ruleset) {
    if (ruleset == m_houseRules) return;
    m_houseRules = ruleset;
    saveinifile(SettingKey::HouseRules);
}

void Tchat::saveinifile(SettingKey changed) {
    QString error;
    if (!m_store.save(currentSettings(), changed, &error)) message(error, {});
}

void Tchat::applyStayOnTop(QWidget* window, bool onTop) {
    if (!window) return;
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) window->show();
}

// ---- menus (checkable entries have already flipped their tick) ----

void Tchat::Fast1Click(int speed) {
    if (QAction* a = checkedWithData(m_botSpeeds, speed)) a->setChecked(true);
    if (m_login.loggedin)
        sendToHost(
            MessageBuilder(cmd::botspeed).field(m_shown.myslot).field(botSpeed()).done(true));
    saveinifile(SettingKey::BotSpeed);
}

void Tchat::computerPlayersClick(int level) {
    if (QAction* a = checkedWithData(m_computerPlayers, level)) a->setChecked(true);
    applyComputerPlayers();
    saveinifile(SettingKey::ComputerPlayers);
}

void Tchat::applyComputerPlayers() {
    const QAction* a = m_computerPlayers ? m_computerPlayers->checkedAction() : nullptr;
    if (m_server && a) m_server->setExpertComputers(a->data().toInt() == computerPlayersExpert);
}

void Tchat::scontopClick() {
    applyStayOnTop(m_windows.scorecard, m_scontop->isChecked());
    saveinifile(SettingKey::ScoreCardOnTop);
}

void Tchat::ltontopClick() {
    applyStayOnTop(m_windows.lasttrick, m_ltontop->isChecked());
    saveinifile(SettingKey::LastTrickOnTop);
}

void Tchat::fourColourClick() {
    applyLook();
    saveinifile(SettingKey::FourColourDeck);
}

void Tchat::scaleTableClick() {
    applyLook();
    saveinifile(SettingKey::ScaleTable);
}

void Tchat::applyLook() {
    if (art::fourColourDeck() != m_fourColour->isChecked()) {
        art::setFourColourDeck(m_fourColour->isChecked());
        // Every picture that shows a suit is painted anew.
        for (QWidget* w : QApplication::allWidgets()) w->update();
    }
    m_host->setScaling(m_scaleTable->isChecked());
}

void Tchat::PlaySounds1Click() {
    saveinifile(SettingKey::PlaySounds);
}

void Tchat::PlayChatterSounds1Click() {
    saveinifile(SettingKey::ChatterSounds);
}

void Tchat::New1Click(int tag) {
    if (QAction* a = checkedWithData(m_turnSounds, tag)) a->setChecked(true);
    saveinifile(SettingKey::TurnSound);
}

void Tchat::ResetScreenLocation1Click() {
    move(resetBounds.topLeft());
    resize(resetBounds.size());
}

void Tchat::Exit1Click() {
    close();
}

void Tchat::button_startClick() {
    if (!m_login.loggedin) {
        message(kNotConnected, {});
        return;
    }
    if (m_gameOn) {
        m_scores->askBeforeRestart();
        return;
    }
    showWindow(m_windows.gamestart);
}

// ---- window housekeeping ----

void Tchat::closeEvent(QCloseEvent* event) {
    m_closing = true;
    m_timer1.stop();
    Settings now = currentSettings();
    const QRect workArea = screen() ? screen()->availableGeometry() : QRect();
    QString error;
    if (!m_store.saveOnClose(now, workArea, &error)) qWarning("%s", qPrintable(error));
    // The program ends with this window and runs no event loop again: what
    // was sent last (a card, a chat line) goes out now, within a short bound,
    // rather than being dropped with the connection.
    m_sock->flushPending(kCloseFlushMs);
    event->accept();
    emit closed();
}

void Tchat::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_fullScreen)
        m_fullScreen->setChecked(isFullScreen());
    if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
    // The small windows stay in front of the table only when asked to.
    if (m_windows.lasttrick && !m_ltontop->isChecked()) m_windows.lasttrick->hide();
    if (m_windows.scorecard && !m_scontop->isChecked()) m_windows.scorecard->hide();
}

} // namespace euchre
