// euchre-soak: the stand-alone host for a long time (30 minutes unless told)
// with nine connections that join, play legal moves, chat, just watch, drop
// (close, reset, stop reading) and come back at random, while whoever holds
// the hosting player's slot starts games over and over. Every minute it
// prints the games finished, the messages, the host's memory and what the
// connections' referee checks found: every message well formed, each deal's
// cards from the deck and never played twice, the own hand as dealt, one
// seat asked at a time, tricks counted one by one and scores changed only by
// a hand's points. The figures depend on the machine; the exit status is 1
// when a check failed or the host ended.
#include "integration/support/hostprocess.h"
#include "integration/support/wirecheck.h"
#include "model/card.h"
#include "net/protocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <array>
#include <bitset>
#include <cstdio>
#include <memory>
#include <vector>

using namespace euchre;
using namespace euchre::testing;

namespace {

constexpr int kConnections = 9;
constexpr int kActionMs = 250; // how often a connection considers doing something
constexpr int kMostFaultsShown = 20;
constexpr int kIdleMs = 10000; // a table this still gets a new game

// What all connections found together.
struct Figures {
    qint64 received = 0;
    qint64 sent = 0;
    int gamesStarted = 0;
    int gamesFinished = 0;
    bool finishCounted = true; // the current game's end was counted
    int joins = 0;
    int drops = 0;
    int faults = 0;
};

Figures figures;
QRandomGenerator chanceSource;

bool chance(double p) {
    return chanceSource.generateDouble() < p;
}

int between(int lo, int hi) {
    return static_cast<int>(chanceSource.bounded(lo, hi + 1));
}

void fault(int client, const QString& what) {
    if (++figures.faults <= kMostFaultsShown)
        std::printf("FAULT (connection %d): %s\n", client, qPrintable(what));
    std::fflush(stdout);
}

bool isDeckCard(int card) {
    return isCard(card) && (rankKey(card) == AceKey || rankKey(card) >= NineKey);
}

// The words that move a game on (not the comings and goings, nor the chat).
bool isMove(QByteArrayView word) {
    static const QByteArrayView moves[] = {
        "CMD_startgame",  "CMD_dealer",      "CMD_placecard", "CMD_settrump",     "CMD_bidder",
        "CMD_hepassed",   "CMD_heaccepted",  "CMD_chooser",   "CMD_trumpchoosen", "CMD_aloner",
        "CMD_goingalone", "CMD_discarder",   "CMD_switch",    "CMD_clearcards",   "CMD_nextplayer",
        "CMD_playedcard", "CMD_trickwinner", "CMD_score"};
    return std::find(std::begin(moves), std::end(moves), word) != std::end(moves);
}

QList<int> numbers(QByteArrayView args) {
    QList<int> out;
    FieldReader reader(args);
    while (!reader.atEnd()) out.append(parseDecimal(reader.text()).value_or(-1));
    return out;
}

// One connection: a table window's part in the game, played by chance.
class Client : public QObject {
public:
    Client(int index, quint16 port) : m_index(index), m_port(port) {
        m_name = "Soak" + QByteArray::number(index);
        m_actions.setInterval(kActionMs);
        connect(&m_actions, &QTimer::timeout, this, &Client::act);
    }

    void join() {
        m_socket = new QTcpSocket(this);
        // Qt reads no further than this while the connection is not reading.
        m_socket->setReadBufferSize(64 * 1024);
        connect(m_socket, &QTcpSocket::readyRead, this, &Client::readable);
        connect(m_socket, &QTcpSocket::disconnected, this, &Client::gone);
        connect(m_socket, &QTcpSocket::errorOccurred, this, &Client::gone);
        m_cutter.clear();
        m_slot = 0;
        m_reading = true;
        forgetDeal();
        m_scoresKnown = false;
        m_watching = false;
        m_sinceMove.start();
        m_socket->connectToHost(QHostAddress::LocalHost, m_port);
        ++figures.joins;
        m_actions.start();
    }

private:
    // ---- the connection ----
    void send(const QByteArray& message) {
        if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState) return;
        m_socket->write(message + kTerminator);
        ++figures.sent;
    }

    void readable() {
        if (!m_reading || !m_socket) return;
        QList<QByteArray> lines;
        if (!m_cutter.feed(m_socket->readAll(), lines)) fault(m_index, "an endless line");
        for (const QByteArray& line : lines) {
            if (!m_socket) return;
            ++figures.received;
            handle(line);
        }
    }

    // Closed by the host or by us: come back a little later.
    void gone() {
        if (!m_socket) return;
        QTcpSocket* socket = std::exchange(m_socket, nullptr);
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
        m_actions.stop();
        ++figures.drops;
        QTimer::singleShot(between(500, 4000), this, &Client::join);
    }

    void drop() {
        if (!m_socket) return;
        switch (between(0, 2)) {
        case 0: // closes as a window that ends does
            m_socket->disconnectFromHost();
            break;
        case 1: // resets, as a crashed program's connection does
            m_socket->abort();
            gone();
            break;
        default: { // stops reading for a while, then reads on or resets
            m_reading = false;
            QPointer<QTcpSocket> socket = m_socket;
            QTimer::singleShot(between(3000, 15000), this, [this, socket] {
                if (!socket || socket != m_socket) return;
                if (chance(0.5)) {
                    m_socket->abort();
                    gone();
                    return;
                }
                // Nothing was lost meanwhile: the host's words waited in line.
                m_reading = true;
                readable();
                if (m_socket && m_asked == m_slot && !m_watching) answer();
            });
        }
        }
    }

    // ---- what a person does now and then ----
    void act() {
        if (!m_socket || m_slot == 0 || !m_reading) return;
        const QByteArray slot = QByteArray::number(m_slot);
        if (chance(0.03))
            send("CMD_chat+" + slot + "+soak line " + QByteArray::number(between(0, 99999)) +
                 " :) + http://x.example|clBlack");
        if (chance(0.01)) send("CMD_action+" + slot + "+waves|$00FF0000");
        if (chance(0.01))
            send("CMD_playasound+" + slot + "+wave" + QByteArray::number(between(1, 33)) + '+');
        if (m_slot <= kSeats && chance(0.01))
            send("CMD_justwatch+" + slot + (m_watching ? "+2" : "+1"));
        if (m_slot == 1 && chance(0.002)) startGame(); // throws the running game away
        startIfIdle();
        if (chance(0.008)) drop();
    }

    void startGame() {
        if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState) return;
        m_sinceMove.start();
        send("CMD_startgame+" + m_name + '+' + QByteArray::number(between(1, 10)) + '+');
        ++figures.gamesStarted;
        figures.finishCounted = false;
    }

    // ---- the referee's view of the table ----
    void forgetDeal() {
        m_inDeal = false;
        m_hand = {};
        m_played.reset();
        m_turned = m_trump = m_left = m_led = m_asked = 0;
        m_tricks = 0;
        m_refused.clear();
    }

    void ask(int seat) {
        if (m_inDeal && m_asked != 0 && m_asked != seat)
            fault(m_index,
                  QStringLiteral("seat %1 asked while seat %2 was").arg(seat).arg(m_asked));
        m_asked = seat;
    }

    void handle(const QByteArray& line) {
        const QString problem = wireProblem(line);
        if (!problem.isEmpty()) {
            fault(m_index, QStringLiteral("malformed \"%1\": %2")
                               .arg(QString::fromUtf8(line.left(80)), problem));
            return;
        }
        QByteArrayView word, args;
        splitCommand(line, word, args);
        const QList<int> f = numbers(args);
        if (isMove(word)) m_sinceMove.start();
        const auto n = [&f](int i) { return i < f.size() ? f[i] : -1; };

        if (word == "CMD_sendlogininfo") {
            m_slot = n(0);
            // The table window's login: its name ends in a terminator of its own.
            send("CMD_logininfo+" + QByteArray::number(m_slot) + "+1.0.6+" + m_name + kTerminator);
            if (m_slot == 1) QTimer::singleShot(between(1000, 3000), this, &Client::startIfIdle);
        } else if (word == "CMD_startgame") {
            m_playto = n(1);
            m_scores = {};
            m_scoresKnown = true;
            forgetDeal();
        } else if (word == "CMD_loadstats") {
            m_playto = n(0);
            m_scores = {0, n(1), n(3)};
            m_scoresKnown = true;
        } else if (word == "CMD_dealer") {
            forgetDeal();
            m_inDeal = true;
        } else if (word == "CMD_placecard") {
            placecard(f);
        } else if (word == "CMD_settrump") {
            m_turned = n(0);
            for (int pos = 1; pos <= kHandSize; ++pos)
                if (m_inDeal && m_hand[pos] == m_turned)
                    fault(m_index, "the turned card is in my hand");
        } else if (word == "CMD_bidder" || word == "CMD_chooser" || word == "CMD_aloner" ||
                   word == "CMD_discarder" || word == "CMD_nextplayer") {
            ask(n(0));
            if (word == "CMD_chooser") m_refusedSuit = n(1);
            if (n(0) == m_slot && !m_watching) {
                m_refused.clear();
                m_question = word.toByteArray();
                QTimer::singleShot(between(0, 60), this, &Client::answer);
            }
        } else if (word == "CMD_hepassed" || word == "CMD_heaccepted" || word == "CMD_goingalone") {
            m_asked = 0;
        } else if (word == "CMD_trumpchoosen") {
            m_asked = 0;
            m_trump = n(1);
            m_left = leftBowerOf(m_trump);
        } else if (word == "CMD_switch") {
            m_asked = 0;
            if (n(1) >= 1 && n(1) <= kHandSize) m_hand[n(1)] = n(2);
        } else if (word == "CMD_clearcards") {
            m_asked = 0;
            m_led = 0;
        } else if (word == "CMD_playedcard") {
            playedcard(n(0), n(1), n(2));
        } else if (word == "CMD_notvalid") {
            // Tried a card that does not follow: another one, as a person would.
            m_refused.append(n(2));
            if (n(0) == m_slot) QTimer::singleShot(between(0, 60), this, &Client::answer);
        } else if (word == "CMD_trickwinner") {
            if (m_inDeal && n(1) + n(2) != ++m_tricks)
                fault(m_index,
                      QStringLiteral("trick %1 counted as %2").arg(m_tricks).arg(n(1) + n(2)));
            m_asked = 0;
        } else if (word == "CMD_score") {
            score(f);
        } else if (word == "CMD_thewinner") {
            const int team = n(0);
            if (m_scoresKnown && (team < 1 || team > 2 || m_scores[team] < m_playto))
                fault(m_index, QStringLiteral("team %1 won with %2 of %3 points")
                                   .arg(team)
                                   .arg(m_scores[qBound(0, team, 2)])
                                   .arg(m_playto));
            if (!figures.finishCounted) {
                figures.finishCounted = true;
                ++figures.gamesFinished;
            }
            m_asked = 0;
            if (m_slot == 1) QTimer::singleShot(between(500, 2000), this, &Client::startGame);
        } else if (word == "CMD_justwatching") {
            if (n(0) == m_slot) m_watching = n(1) == 1;
        }
    }

    // A table where nothing has moved for a while gets a new game: the last
    // one ended, or its end went with a connection that held this slot.
    void startIfIdle() {
        if (m_slot == 1 && m_sinceMove.isValid() && m_sinceMove.elapsed() > kIdleMs) startGame();
    }

    void placecard(const QList<int>& f) {
        if (f.value(0) != m_slot) return;
        std::bitset<53> cards;
        for (int i = 1; i + 1 < f.size(); i += 2) {
            const int pos = f[i], card = f[i + 1];
            if (pos < 1 || pos > kHandSize) continue;
            m_hand[pos] = card;
            if (!m_inDeal) continue;
            if (!isDeckCard(card) || cards[static_cast<std::size_t>(card)])
                fault(m_index,
                      QStringLiteral("my hand holds card %1 twice or from no deck").arg(card));
            else
                cards.set(static_cast<std::size_t>(card));
        }
    }

    void playedcard(int seat, int pos, int card) {
        m_asked = 0;
        if (m_inDeal) {
            if (!isDeckCard(card) || m_played[static_cast<std::size_t>(card)])
                fault(m_index, QStringLiteral("card %1 played twice in a deal").arg(card));
            else
                m_played.set(static_cast<std::size_t>(card));
        }
        if (m_led == 0) m_led = effectiveSuit(card, m_trump, m_left);
        if (seat != m_slot || pos < 1 || pos > kHandSize) return;
        if (m_inDeal && m_hand[pos] != card)
            fault(m_index, QStringLiteral("played card %1 from place %2, which held %3")
                               .arg(card)
                               .arg(pos)
                               .arg(m_hand[pos]));
        m_hand[pos] = 0;
    }

    void score(const QList<int>& f) {
        m_asked = 0;
        const int p1 = f.value(2), p2 = f.value(4);
        const auto points = [](int p) { return p == 1 || p == 2 || p == 4; };
        if ((p1 == 0) == (p2 == 0) || !points(p1 + p2))
            fault(m_index, QStringLiteral("a hand worth %1 and %2 points").arg(p1).arg(p2));
        if (m_scoresKnown && (f.value(1) != m_scores[1] + p1 || f.value(3) != m_scores[2] + p2))
            fault(m_index, QStringLiteral("scores %1:%2 after %3:%4 and points %5:%6")
                               .arg(f.value(1))
                               .arg(f.value(3))
                               .arg(m_scores[1])
                               .arg(m_scores[2])
                               .arg(p1)
                               .arg(p2));
        m_scores = {0, f.value(1), f.value(3)};
    }

    // The own seat's answer to what it was asked: by chance, but legal.
    void answer() {
        if (!m_socket || !m_reading || m_asked != m_slot || m_watching) return;
        const QByteArray seat = QByteArray::number(m_slot);
        const auto bubble = [&](int code) {
            send("CMD_selectedbubble+" + seat + '+' + QByteArray::number(code) + '+');
        };
        if (m_question == "CMD_bidder") return bubble(chance(0.15) ? 1 : 2);
        if (m_question == "CMD_aloner") return bubble(chance(0.1) ? 7 : 8);
        if (m_question == "CMD_chooser") {
            const int suit = between(1, 4);
            return bubble(suit != m_refusedSuit && chance(0.3) ? suit + 2 : 22);
        }
        std::vector<int> any, follow;
        for (int pos = 1; pos <= kHandSize; ++pos) {
            if (m_hand[pos] == 0 || m_refused.contains(pos)) continue;
            any.push_back(pos);
            if (m_led != 0 && effectiveSuit(m_hand[pos], m_trump, m_left) == m_led)
                follow.push_back(pos);
        }
        const std::vector<int>& from =
            m_question == "CMD_nextplayer" && !follow.empty() ? follow : any;
        // A hand not known (a catch-up after a drop) tries every place in turn.
        const int pos = from.empty()
                            ? between(1, kHandSize)
                            : from[chanceSource.bounded(static_cast<quint32>(from.size()))];
        send("CMD_playcard+" + seat + '+' + QByteArray::number(pos) + '+');
    }

    int m_index;
    quint16 m_port;
    QByteArray m_name;
    QTcpSocket* m_socket = nullptr;
    LineCutter m_cutter;
    QTimer m_actions;
    int m_slot = 0;
    bool m_reading = true;
    bool m_watching = false;
    QElapsedTimer m_sinceMove; // since the game last moved, as far as this connection saw

    // The current deal as this connection saw it from its start.
    bool m_inDeal = false;
    std::array<int, 6> m_hand{};
    std::bitset<53> m_played;
    int m_turned = 0, m_trump = 0, m_left = 0, m_led = 0, m_asked = 0, m_tricks = 0;
    int m_refusedSuit = 0;
    QByteArray m_question;
    QList<int> m_refused; // places refused on this turn
    bool m_scoresKnown = false;
    int m_playto = 0;
    std::array<int, 3> m_scores{};
};

int usage() {
    std::fprintf(stderr, "usage: euchre-soak [--minutes N] [--bot-speed MS] [--seed N] "
                         "[--host PATH]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int minutes = 30;
    int botSpeed = 20;
    quint32 seed = QRandomGenerator::system()->generate();
    QString hostPath = QCoreApplication::applicationDirPath() + QStringLiteral("/euchre-host");
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return usage();
        bool ok = true;
        if (args[i] == QLatin1String("--minutes"))
            minutes = args[i + 1].toInt(&ok);
        else if (args[i] == QLatin1String("--bot-speed"))
            botSpeed = args[i + 1].toInt(&ok);
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1].toUInt(&ok);
        else if (args[i] == QLatin1String("--host"))
            hostPath = args[i + 1];
        else
            return usage();
        if (!ok || minutes < 1 || botSpeed < 1) return usage();
    }
    chanceSource.seed(seed);

    HostProcess host;
    // The host's log of every line it refuses is not part of the figures.
    host.process.setStandardErrorFile(QProcess::nullDevice());
    const quint16 port =
        host.start(hostPath, {QStringLiteral("--port"), QStringLiteral("0"),
                              QStringLiteral("--bot-speed"), QString::number(botSpeed)});
    if (port == 0) {
        std::fprintf(stderr, "euchre-soak: %s did not start\n", qPrintable(hostPath));
        return 1;
    }
    std::printf("soak: %d minutes, %d connections, bot speed %d ms, seed %u, host pid %lld\n",
                minutes, kConnections, botSpeed, seed,
                static_cast<long long>(host.process.processId()));
    std::printf("minute  games  started  from/to host        joins  drops  host VmRSS  faults\n");
    std::fflush(stdout);

    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 1; i <= kConnections; ++i) {
        clients.push_back(std::make_unique<Client>(i, port));
        // They arrive one after the other, the first in the hosting player's slot.
        QTimer::singleShot(200 * i, clients.back().get(),
                           [c = clients.back().get()] { c->join(); });
    }

    int minute = 0;
    qint64 firstKiB = 0, peakKiB = 0, lastKiB = 0;
    bool hostEnded = false;
    QTimer everyMinute;
    everyMinute.setInterval(60 * 1000);
    QObject::connect(&everyMinute, &QTimer::timeout, [&] {
        ++minute;
        lastKiB = host.residentKiB();
        if (minute == 1) firstKiB = lastKiB;
        peakKiB = qMax(peakKiB, lastKiB);
        std::printf("%6d  %5d  %7d  %9lld/%-9lld %5d  %5d  %7lld KiB  %6d\n", minute,
                    figures.gamesFinished, figures.gamesStarted,
                    static_cast<long long>(figures.received), static_cast<long long>(figures.sent),
                    figures.joins, figures.drops, static_cast<long long>(lastKiB), figures.faults);
        std::fflush(stdout);
        if (minute >= minutes) app.quit();
    });
    everyMinute.start();
    QObject::connect(&host.process, &QProcess::finished, &app, [&] {
        hostEnded = true;
        std::printf("the host ended (exit status %d)\n", host.process.exitCode());
        app.quit();
    });
    app.exec();
    QObject::disconnect(&host.process, nullptr, nullptr, nullptr);

    std::printf(
        "soak: %d minutes: %d games finished of %d started, %lld messages, host memory "
        "%lld KiB after the first minute, %lld KiB at the end, peak %lld KiB; %d faults%s\n",
        minute, figures.gamesFinished, figures.gamesStarted,
        static_cast<long long>(figures.received + figures.sent), static_cast<long long>(firstKiB),
        static_cast<long long>(lastKiB), static_cast<long long>(peakKiB), figures.faults,
        hostEnded ? "; the host ended" : "");
    clients.clear();
    return figures.faults == 0 && !hostEnded ? 0 : 1;
}
