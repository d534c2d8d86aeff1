// Playing with others from the table window: the Host and Join dialogs,
// leaving one game for another in the same window, the starts a later copy
// hands over, a private table's password, and a lost connection with the
// way back to the table.
#include "client/connectionbar.h"
#include "client/hostdialog.h"
#include "client/joindialog.h"
#include "client/netsettings.h"
#include "client/tableboard.h"
#include "client/tchat_parts.h"
#include "net/commands.h"
#include "net/discovery.h"
#include "net/tsock.h"
#include "settings/settingslocation.h"

#include <QAction>
#include <QPushButton>

namespace euchre {

namespace {

const QString kLoopback = QStringLiteral("127.0.0.1");

// Texts the window shows.
const QString kLeaveToHost =
    QStringLiteral("A game is being played at this table. Leave it and host a new table?");
const QString kLeaveToJoin =
    QStringLiteral("A game is being played at this table. Leave it and join the table at %1?");
const QString kCannotHost = QStringLiteral("This copy of Euchre cannot host a game.");
const QString kPortTaken =
    QStringLiteral("Port %1 is taken by another program or another table on this machine. "
                   "Choose another port, and tell the players who join the same number.");
// The chat log reads the text before a line's first colon as the speaker's
// name, so no notice carries one: an IPv6 address is left to the Host
// window, which shows every address.
const QString kHosting = QStringLiteral(
    "0+You are hosting a table on port %1. Others join at %2 (File > Invite Players... shows "
    "every address and copies an invitation).");
const QString kHostingElsewhere = QStringLiteral(
    "0+You are hosting a table on port %1. File > Invite Players... shows where others join "
    "and copies an invitation.");
const QString kHostingAlone = QStringLiteral(
    "0+You are hosting a table on port %1. This machine has no network address now, so only "
    "players on this machine can join.");
const QString kNotListed = QStringLiteral(
    "0+Players on this network will not see the table in their list, since UDP port %1 is not "
    "free. They can still join with the address.");
const QString kJoining = QStringLiteral("0+Joining the table at %1 port %2...");
const QString kJoined = QStringLiteral("0+You joined the table at %1 port %2.");
const QString kJoiningIPv6 = QStringLiteral("0+Joining the table on port %1...");
const QString kJoinedIPv6 = QStringLiteral("0+You joined the table on port %1.");
const QString kLost = QStringLiteral("0+The connection to the host was lost.");
const QString kLostBar = QStringLiteral(
    "The connection to the host at %1 port %2 was lost. Reconnect to sit down there again, or "
    "join another table.");
const QString kReconnecting = QStringLiteral("Reconnecting to %1 port %2...");
const QString kAlreadyThere = QStringLiteral("You are at this table already.");
const QString kNameFirst = QStringLiteral("Enter your name, then press Join.");
const QString kPrivateTable = QStringLiteral(
    "This table is private and needs a password. Choose File > Join... and give the password "
    "there.");
const QString kWrongPassword = QStringLiteral("0+The host did not accept the password.");
const QString kLockedOut = QStringLiteral(
    "0+Too many wrong passwords from this machine: the host turns it away for a minute.");

// The port a dialog offers first: the game's port, 7772 when that is "any".
quint16 offeredPort(quint16 gamePort) {
    return gamePort ? gamePort : Tchat::kDefaultGamePort;
}

// A notice naming where a table is.
QString tableNotice(const QString& withAddress, const QString& withoutAddress,
                    const JoinTarget& t) {
    return t.host.contains(u':') ? withoutAddress.arg(t.port) : withAddress.arg(t.host).arg(t.port);
}

QString recentEntry(const JoinTarget& t) {
    return hostForLink(t.host) + u':' + QString::number(t.port);
}

} // namespace

// ---- the dialogs ----

HostDialog* Tchat::hostDialog() {
    if (!m_hostDialog) {
        m_hostDialog = new HostDialog(this);
        m_hostDialog->host = [this](const HostRequest& request, HostDialog::HostDone done) {
            hostGame(request, std::move(done));
        };
    }
    return m_hostDialog;
}

JoinDialog* Tchat::joinDialog() {
    if (!m_joinDialog) {
        m_joinDialog = new JoinDialog(this);
        m_joinDialog->join = [this](const JoinTarget& target, JoinDialog::JoinDone done) {
            joinGame(target, std::move(done));
        };
        m_joinDialog->cancelJoin = [this] { cancelJoin(); };
    }
    return m_joinDialog;
}

void Tchat::Host1Click() {
    hostDialog()->openForm(readNetSettings(settingsFilePath()).playerName, offeredPort(m_gamePort));
}

void Tchat::Join1Click() {
    const NetSettings s = readNetSettings(settingsFilePath());
    // After a lost connection the lost table comes first, else the last one joined.
    QString address = s.recentTables.value(0);
    if (m_rejoin && !m_ownServer) address = recentEntry(*m_rejoin);
    joinDialog()->openWith(s.playerName, address, offeredPort(m_gamePort), s.recentTables);
}

void Tchat::Invite1Click() {
    if (!m_login.ishost || !m_server || !m_server->listeningPort()) return;
    hostDialog()->showInvitation(m_server->listeningPort(), !m_password.isEmpty());
}

void Tchat::updateNetEntries() {
    if (m_invite1)
        m_invite1->setEnabled(m_login.ishost && m_server && m_server->listeningPort() != 0);
}

void Tchat::askToLeave(const QString& question, std::function<void(bool)> then) {
    if (m_gameOn && ask)
        ask(question, std::move(then));
    else
        then(true);
}

// ---- hosting ----

void Tchat::hostGame(const HostRequest& request, std::function<void(bool, const QString&)> done) {
    askToLeave(kLeaveToHost, [this, request, done](bool yes) {
        if (!yes) {
            if (done) done(false, {});
            return;
        }
        QString error;
        if (!openTable(request, &error)) {
            if (done) done(false, error);
            return;
        }
        if (done) done(true, {});
        hostDialog()->showInvitation(m_server->listeningPort(), !m_password.isEmpty());
    });
}

bool Tchat::openTable(const HostRequest& request, QString* error) {
    cancelJoin();
    std::unique_ptr<Hosting> fresh = Hosting::make();
    if (!fresh) {
        *error = kCannotHost;
        return false;
    }
    // The table this window hosts now holds that port: it has to go first.
    if (m_server && request.port != 0 && m_server->listeningPort() == request.port) {
        leaveGame();
        resetTable();
    }
    fresh->setPassword(request.password.toUtf8());
    QString why;
    if (!fresh->startListening(request.port, &why)) {
        *error = kPortTaken.arg(request.port);
        return false;
    }
    leaveGame();
    resetTable();
    m_ownServer = std::move(fresh);
    setServer(m_ownServer.get());
    m_login.playername = request.name;
    m_login.hostaddress = kLoopback;
    m_password = request.password;
    const quint16 port = m_server->listeningPort();
    m_rejoin = JoinTarget{kLoopback, port, m_login.playername, m_password};

    const QStringList addresses = HostDialog::joinAddresses();
    QStringList ipv4;
    for (const QString& a : addresses)
        if (!a.contains(u':')) ipv4 << a;
    if (addresses.isEmpty())
        notice(kHostingAlone.arg(port));
    else if (ipv4.isEmpty())
        notice(kHostingElsewhere.arg(port));
    else
        notice(kHosting.arg(port).arg(ipv4.join(QStringLiteral(" or "))));
    const quint16 discoveryPort = discovery::portFromEnvironment();
    if (!m_server->startDiscovery(discoveryPort, &why)) notice(kNotListed.arg(discoveryPort));

    m_login.loginname = m_login.playername.toUtf8() + kTerminator;
    m_login.ishost = true;
    openConnection(kLoopback, port);
    const bool canStart = m_windows.gamestart != nullptr;
    m_shown.startOffered = canStart;
    m_startGame->setEnabled(canStart);
    updateNetEntries();
    redraw();
    QString saveError;
    if (!writePlayerName(settingsFilePath(), m_login.playername, &saveError))
        message(saveError, {});
    return true;
}

// ---- joining ----

void Tchat::joinGame(const JoinTarget& target, std::function<void(const JoinOutcome&)> done) {
    // Joining the table this window plays at would only take a second seat there.
    if (atTable(target)) {
        if (done)
            done(JoinOutcome{JoinOutcome::Result::Failed, JoinAttempt::Failure::Other,
                             kAlreadyThere});
        return;
    }
    askToLeave(kLeaveToJoin.arg(target.host), [this, target, done](bool yes) {
        if (!yes) {
            if (done) done(JoinOutcome{JoinOutcome::Result::Declined, {}, {}});
            return;
        }
        startJoining(target, done);
    });
}

void Tchat::startJoining(const JoinTarget& target, std::function<void(const JoinOutcome&)> done) {
    cancelJoin();
    m_attempt = std::make_unique<JoinAttempt>(target);
    JoinAttempt* attempt = m_attempt.get();
    // The attempt ends inside its own signal: it goes when control is back
    // in the event loop.
    const auto spend = [this, attempt] {
        if (m_attempt.get() != attempt) return false;
        m_attempt.release()->deleteLater();
        return true;
    };
    connect(attempt, &JoinAttempt::admitted, this, [this, attempt, spend, done] {
        if (m_attempt.get() != attempt) return;
        adopt(*attempt);
        spend();
        if (done) done(JoinOutcome{JoinOutcome::Result::Joined, {}, {}});
    });
    connect(attempt, &JoinAttempt::failed, this,
            [spend, done](JoinAttempt::Failure failure, const QString& text) {
                if (!spend()) return;
                if (done) done(JoinOutcome{JoinOutcome::Result::Failed, failure, text});
            });
    attempt->start();
}

bool Tchat::atTable(const JoinTarget& target) const {
    return m_login.loggedin && m_rejoin && m_rejoin->host == target.host &&
           m_rejoin->port == target.port;
}

void Tchat::cancelJoin() {
    if (!m_attempt) return;
    m_attempt->disconnect(this);
    m_attempt.release()->deleteLater();
    // A reconnect given up for another try leaves the panel as it was.
    if (m_bar->isVisible()) showLostBar(m_lostText);
}

void Tchat::adopt(JoinAttempt& attempt) {
    const JoinTarget target = attempt.target();
    // Reconnecting to the table this window hosts keeps that table.
    const bool ownTable =
        m_ownServer && target.host == kLoopback && m_ownServer->listeningPort() == target.port;
    TSock* sock = attempt.takeConnection();
    if (!sock) return;
    if (!ownTable) leaveGame();
    m_bar->hide();
    resetTable();
    useConnection(sock);
    m_cutter = attempt.cutter();
    m_login.playername = target.name;
    m_login.hostaddress = target.host;
    m_login.loginname = attempt.loginname();
    m_password = target.password;
    m_rejoin = target;
    m_login.ishost = ownTable;
    m_login.loggedin = true;
    m_connected = true;
    m_seats->sortstuff(attempt.slot());
    notice(tableNotice(kJoined, kJoinedIPv6, target));
    queueLines(attempt.takeLines());
    const bool canStart = m_login.ishost && m_windows.gamestart != nullptr;
    m_shown.startOffered = canStart;
    m_startGame->setEnabled(canStart);
    updateNetEntries();
    redraw();
    const QString settings = settingsFilePath();
    QString error;
    if (!writePlayerName(settings, m_login.playername, &error) ||
        (!ownTable && !rememberTable(settings, recentEntry(target), &error)))
        message(error, {});
}

// ---- leaving a game ----

void Tchat::useConnection(TSock* sock) {
    if (m_sock && m_sock != sock) {
        TSock* old = std::exchange(m_sock, nullptr);
        old->disconnect(this);
        try {
            old->Close();
        } catch (const ESockException&) {
            // Going anyway.
        }
        old->deleteLater();
    }
    sock->setParent(this);
    sock->setObjectName(QStringLiteral("sock"));
    m_sock = sock;
    connect(m_sock, &TSock::OnRead, this, &Tchat::sockRead);
    connect(m_sock, &TSock::OnInfo, this, &Tchat::sockInfo);
}

void Tchat::leaveGame() {
    useConnection(new TSock(this));
    // Every connection to the table this window hosted closes with it.
    m_server = nullptr;
    m_ownServer.reset();
    m_rejoin.reset();
    m_password.clear();
    m_bar->hide();
}

void Tchat::resetTable() {
    // The table as it first opens; only the computer's names stay.
    board()->reset();
    const bool spectators = !m_shown.spylist.isEmpty();
    TableRecord fresh;
    fresh.defaultnames = m_shown.defaultnames;
    m_shown = fresh;
    if (spectators) emit spylistChanged();
    m_receivedlist.clear();
    m_queuedBytes = 0;
    m_cutter.clear();
    m_login.loggedin = false;
    m_login.ishost = false;
    m_connected = false;
    m_failReported = false;
    m_gameOn = false;
    m_lostPending = false;
    m_justWatch->setChecked(false);
    m_turns = std::make_unique<Turns>(*this); // no catch-up pending
    m_startGame->setEnabled(false);
    updateNetEntries();
}

// ---- a lost connection ----

void Tchat::connectionLost() {
    m_lostPending = false;
    if (!m_rejoin) return;
    const JoinTarget target = *m_rejoin;
    notice(kLost);
    // The table showed a game that is no longer there; the logs keep it.
    const bool hosting = m_login.ishost;
    resetTable();
    m_login.ishost = hosting;
    redraw();
    showLostBar(kLostBar.arg(target.host).arg(target.port));
}

void Tchat::showLostBar(const QString& text) {
    m_lostText = text;
    m_bar->showLost(text);
}

void Tchat::Reconnect1Click() {
    if (!m_rejoin || m_attempt) return;
    const JoinTarget target = *m_rejoin;
    m_bar->showBusy(kReconnecting.arg(target.host).arg(target.port));
    startJoining(target, [this](const JoinOutcome& outcome) {
        if (outcome.result == JoinOutcome::Result::Failed) showLostBar(outcome.text);
    });
}

// ---- starts handed over ----

void Tchat::handOver(const StartRequest& request) {
    const NetSettings saved = readNetSettings(settingsFilePath());
    const QString name = request.name.isEmpty() ? saved.playerName : request.name;
    switch (request.kind) {
    case StartRequest::Kind::Host: {
        const quint16 port = request.port.value_or(offeredPort(m_gamePort));
        if (name.isEmpty()) {
            hostDialog()->openForm(QString(), port ? port : kDefaultGamePort);
            return;
        }
        hostGame(HostRequest{name, port, {}}, [this, name, port](bool hosted, const QString& why) {
            if (hosted || why.isEmpty()) return;
            hostDialog()->openForm(name, port ? port : kDefaultGamePort);
            hostDialog()->showFailure(why);
        });
        return;
    }
    case StartRequest::Kind::Join: {
        const quint16 port = request.address.port.value_or(offeredPort(m_gamePort));
        const QString address = hostForLink(request.address.host) + u':' + QString::number(port);
        if (name.isEmpty()) {
            joinDialog()->openWith(QString(), address, port, saved.recentTables);
            joinDialog()->showFailure(kNameFirst);
            return;
        }
        const JoinTarget target{request.address.host, port, name, {}};
        if (atTable(target)) {
            notice(QStringLiteral("0+") + kAlreadyThere);
            return;
        }
        notice(tableNotice(kJoining, kJoiningIPv6, target));
        joinGame(target, [this, name, address, port, saved](const JoinOutcome& outcome) {
            if (outcome.result != JoinOutcome::Result::Failed) return;
            joinDialog()->openWith(name, address, port, saved.recentTables);
            joinDialog()->showFailure(outcome.text);
        });
        return;
    }
    case StartRequest::Kind::JoinDialog:
        Join1Click();
        return;
    case StartRequest::Kind::Solo:
    case StartRequest::Kind::Classic:
        return;
    }
}

// ---- a private table ----

void Tchat::passwordasked(QByteArrayView) {
    if (!m_password.isEmpty()) {
        sendToHost(MessageBuilder(cmd::password).field(m_password.toUtf8()).done(false));
        return;
    }
    // The lobby's start has no password to give: say so, then close as it
    // closes on "Game is full".
    m_closing = true;
    m_timer1.stop();
    message(kPrivateTable, [this] { close(); });
}

void Tchat::wrongpassword(QByteArrayView) {
    notice(kWrongPassword);
}

void Tchat::lockedout(QByteArrayView) {
    notice(kLockedOut);
}

} // namespace euchre
