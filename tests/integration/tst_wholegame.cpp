// Four scripted players over real TCP play one whole game against the host to
// its end. Every message each of them receives must be well formed, and each
// referees the game from what it sees: the dealer's turn, the order of asking
// and playing, following suit with the left bower counted as trump, the trick
// winners and the score.
#include "host/tserver.h"
#include "integration/support/wirecheck.h"
#include "integration/support/wireclient.h"
#include "model/random.h"

#include <QRandomGenerator>
#include <QtTest>
#include <array>
#include <memory>
#include <set>
#include <vector>

using namespace euchre;
using namespace euchre::testing;

namespace {

// ---- the rules as the players judge them, written apart from the host's ----

int suitOf(int card) {
    return (card - 1) / 13 + 1;
}
int rankOf(int card) {
    return (card - 1) % 13 + 1;
} // nine 8 .. ace 13; the jack is 10
int jackOf(int suit) {
    return (suit - 1) * 13 + 10;
}
int sameColour(int suit) {
    return suit == 1 ? 3 : suit == 3 ? 1 : suit == 2 ? 4 : 2;
}
int leftBower(int trump) {
    return jackOf(sameColour(trump));
}
int playsAs(int card, int trump) {
    return card == leftBower(trump) ? trump : suitOf(card);
}
int nextSeat(int seat) {
    return seat % 4 + 1;
}
int partnerOf(int seat) {
    return nextSeat(nextSeat(seat));
}
int teamOf(int seat) {
    return seat % 2 == 1 ? 1 : 2;
}

// How strongly a card holds the trick; off-suit cards never win.
int strength(int card, int trump, int led) {
    if (card == jackOf(trump)) return 100;
    if (card == leftBower(trump)) return 99;
    if (suitOf(card) == trump) return 50 + rankOf(card);
    if (suitOf(card) == led) return rankOf(card);
    return 0;
}

// What the table does with each deal, in turn, so that the rarer paths of a
// hand all come up in one game.
enum class Plan {
    ThrowIn,            // everybody passes twice
    PartnerOrdersAlone, // the dealer's partner orders up alone; the dealer discards, sits out
    LeftOrdersUp,       // the seat left of the dealer orders up; the dealer discards
    LeftNamesAlone,     // all pass, then the seat left of the dealer names trump alone
    DealerNames,        // all pass, the dealer names trump last
};
Plan planFor(int deal) {
    return static_cast<Plan>((deal - 1) % 5);
}

enum class Phase { None, Dealing, OrderUp, Naming, Alone, Discard, Play, Scored, Over };

class ScriptedPlayer {
public:
    ScriptedPlayer(QByteArray name, quint32 start) : name(std::move(name)), random(start) {
        wire.onMessage = [this](const QByteArray& m) { handle(m); };
    }

    WireClient wire;
    QByteArray name;
    QRandomGenerator random;
    QStringList faults;
    QByteArrayList publicLog; // what everyone is told, from the game's start on
    bool finished = false;
    int winningTeam = 0;

    int seat = 0;
    int deals = 0;
    int throwIns = 0;
    int loners = 0;
    int discards = 0;
    int refusals = 0;
    int hands = 0;

private:
    // ---- table state as this seat sees it ----
    Phase phase = Phase::None;
    int playto = 0;
    std::array<int, 3> score{};
    int dealer = 0;
    int placecards = 0;
    std::array<int, 6> hand{};
    int turned = 0;
    int trump = 0;
    int refused = 0;
    int maker = 0;
    int loner = 0;
    bool orderedUp = false;
    int expectedAsk = 0;
    int passes = 0;
    int discardAt = 0;
    bool switched = false;
    int trick = 0;
    int led = 0;
    int cardsInTrick = 0;
    std::array<int, 5> played{};
    int toPlay = 0;
    int lastWinner = 0;
    std::array<int, 3> tricks{};
    std::set<int> seen;
    int illegalAt = 0;         // place of the card sent that does not follow suit
    bool triedIllegal = false; // this turn already tried one

    void fault(const QByteArray& message, const QString& what) {
        faults.append(QStringLiteral("seat %1, on \"%2\": %3")
                          .arg(seat)
                          .arg(QString::fromLatin1(message))
                          .arg(what));
    }

    void send(const QByteArray& word, int a, int b) {
        wire.say(word + '+' + QByteArray::number(a) + '+' + QByteArray::number(b) + '+');
    }

    bool sitsOut(int s) const { return loner != 0 && s == partnerOf(loner); }
    int nextInPlay(int s) const {
        const int n = nextSeat(s);
        return sitsOut(n) ? nextSeat(n) : n;
    }
    int cardsHeld() const {
        int n = 0;
        for (int pos = 1; pos <= 5; ++pos) n += hand[pos] != 0;
        return n;
    }

    void handle(const QByteArray& m) {
        const QString problem = wireProblem(m);
        if (!problem.isEmpty()) return fault(m, QStringLiteral("malformed: ") + problem);
        const QByteArray word = commandWord(m);
        const QList<QByteArray> f = fieldsOf(m);
        auto n = [&f](int i) { return f[i].toInt(); };

        const bool isPrivate =
            word == "CMD_placecard" || word == "CMD_switch" || word == "CMD_notvalid";
        if (phase != Phase::None && !isPrivate) publicLog.append(m);

        if (word == "CMD_sendlogininfo") {
            seat = n(0);
            wire.sendRaw("CMD_logininfo+" + f[0] + "+1.0.6+" + name + "\xFF\xFF");
        } else if (word == "CMD_startgame") {
            publicLog.append(m);
            phase = Phase::Scored;
            playto = n(1);
            score = {};
        } else if (word == "CMD_dealer") {
            onDealer(m, n(0));
        } else if (word == "CMD_placecard") {
            onPlacecard(m, f);
        } else if (word == "CMD_settrump") {
            if (phase != Phase::Dealing || placecards != 4)
                fault(m, QStringLiteral("not after the deal"));
            turned = n(0);
            trump = suitOf(turned);
            for (int pos = 1; pos <= 5; ++pos)
                if (hand[pos] == turned) fault(m, QStringLiteral("the turned card is in my hand"));
            phase = Phase::OrderUp;
            expectedAsk = nextSeat(dealer);
            passes = 0;
        } else if (word == "CMD_bidder") {
            onBidder(m, n(0));
        } else if (word == "CMD_chooser") {
            onChooser(m, n(0), n(1));
        } else if (word == "CMD_hepassed") {
            onPassed(m, n(0));
        } else if (word == "CMD_heaccepted") {
            if (phase != Phase::OrderUp || n(0) != expectedAsk)
                fault(m, QStringLiteral("not the bidder"));
            orderedUp = true;
            maker = n(0);
        } else if (word == "CMD_trumpchoosen") {
            onTrumpChosen(m, n(0), n(1));
        } else if (word == "CMD_aloner") {
            if (phase != Phase::Alone || n(0) != maker) fault(m, QStringLiteral("not the maker"));
            if (n(0) == seat) {
                const bool alone = planFor(deals) == Plan::PartnerOrdersAlone ||
                                   planFor(deals) == Plan::LeftNamesAlone;
                send("CMD_selectedbubble", seat, alone ? 7 : 8);
            }
        } else if (word == "CMD_goingalone") {
            if (phase != Phase::Alone || n(0) != maker) fault(m, QStringLiteral("not the maker"));
            if (n(1) == 7) {
                loner = n(0);
                ++loners;
            }
            phase = orderedUp ? Phase::Discard : Phase::Play;
        } else if (word == "CMD_discarder") {
            if (phase != Phase::Discard || !orderedUp || n(0) != dealer)
                fault(m, QStringLiteral("only the dealer discards, after an order-up"));
            if (n(0) == seat) {
                discardAt = static_cast<int>(random.bounded(1, 6));
                send("CMD_playcard", seat, discardAt);
            }
        } else if (word == "CMD_switch") {
            if (n(0) != seat || n(1) != discardAt || n(2) != turned)
                fault(m, QStringLiteral("not the turned card at my discard's place"));
            hand[discardAt] = n(2);
            switched = true;
            ++discards;
        } else if (word == "CMD_clearcards") {
            onClearcards(m);
        } else if (word == "CMD_nextplayer") {
            if (phase != Phase::Play || n(0) != toPlay || sitsOut(n(0)))
                fault(m, QStringLiteral("expected seat %1 to play").arg(toPlay));
            if (n(0) == seat) playACard();
        } else if (word == "CMD_playedcard") {
            onPlayed(m, n(0), n(1), n(2));
        } else if (word == "CMD_notvalid") {
            if (n(0) != seat || n(1) != 2 || n(2) != illegalAt || illegalAt == 0)
                fault(m, QStringLiteral("refused a legal card"));
            ++refusals;
            illegalAt = 0;
            playACard();
        } else if (word == "CMD_trickwinner") {
            onTrickWinner(m, n(0), n(1), n(2));
        } else if (word == "CMD_score") {
            onScore(m, f);
        } else if (word == "CMD_thewinner") {
            const int team = n(0);
            if (phase != Phase::Scored || score[team] < playto || score[team] <= score[3 - team])
                fault(m, QStringLiteral("not the team that reached the score"));
            winningTeam = team;
            finished = true;
            phase = Phase::Over;
        } else if (word == "CMD_justwatching" || word == "CMD_playerdisconnected") {
            fault(m, QStringLiteral("nobody left or handed a seat over"));
        }
    }

    void onDealer(const QByteArray& m, int d) {
        if (phase == Phase::Naming && passes == 4) {
            ++throwIns;
        } else if (phase != Phase::Scored) {
            fault(m, QStringLiteral("a new deal in the middle of a hand"));
        }
        const int expected = dealer == 0 ? 1 : nextSeat(dealer);
        if (d != expected) fault(m, QStringLiteral("expected seat %1 to deal").arg(expected));
        ++deals;
        dealer = d;
        phase = Phase::Dealing;
        placecards = 0;
        hand = {};
        turned = trump = refused = maker = loner = 0;
        orderedUp = switched = false;
        discardAt = 0;
        trick = 0;
        tricks = {};
        seen.clear();
    }

    void onPlacecard(const QByteArray& m, const QList<QByteArray>& f) {
        const int shown = f[0].toInt();
        if (phase != Phase::Dealing || shown != placecards + 1)
            return fault(m, QStringLiteral("hands must be shown seat by seat during the deal"));
        ++placecards;
        if (f.size() != 11) return fault(m, QStringLiteral("a deal shows all five places"));
        std::set<int> distinct;
        for (int pos = 1; pos <= 5; ++pos) {
            const int card = f[2 * pos].toInt();
            if (f[2 * pos - 1].toInt() != pos) fault(m, QStringLiteral("places out of order"));
            if (shown == seat) {
                if (card == 0 || !distinct.insert(card).second)
                    fault(m, QStringLiteral("my own cards must be shown, each once"));
                hand[pos] = card;
            } else if (card != 0) {
                fault(m, QStringLiteral("another seat's card was shown to me"));
            }
        }
    }

    void onBidder(const QByteArray& m, int s) {
        if (phase != Phase::OrderUp || s != expectedAsk)
            fault(m, QStringLiteral("expected seat %1 to be asked").arg(expectedAsk));
        if (s != seat) return;
        const Plan plan = planFor(deals);
        const bool accept = (plan == Plan::PartnerOrdersAlone && s == partnerOf(dealer)) ||
                            (plan == Plan::LeftOrdersUp && s == nextSeat(dealer));
        send("CMD_selectedbubble", seat, accept ? 1 : 2);
    }

    void onChooser(const QByteArray& m, int s, int turnedDown) {
        if (phase != Phase::Naming || s != expectedAsk)
            fault(m, QStringLiteral("expected seat %1 to be asked").arg(expectedAsk));
        if (turnedDown != suitOf(turned)) fault(m, QStringLiteral("not the turned-down suit"));
        refused = turnedDown;
        if (s != seat) return;
        const Plan plan = planFor(deals);
        const bool names = (plan == Plan::LeftNamesAlone && s == nextSeat(dealer)) ||
                           (plan == Plan::DealerNames && s == dealer);
        if (!names) return send("CMD_selectedbubble", seat, 22);
        // The suit held most, never the one turned down.
        int best = 0;
        int bestCount = -1;
        for (int suit = 1; suit <= 4; ++suit) {
            if (suit == refused) continue;
            int count = 0;
            for (int pos = 1; pos <= 5; ++pos)
                count += hand[pos] && playsAs(hand[pos], suit) == suit;
            if (count > bestCount) {
                best = suit;
                bestCount = count;
            }
        }
        send("CMD_selectedbubble", seat, best + 2);
    }

    void onPassed(const QByteArray& m, int s) {
        if ((phase != Phase::OrderUp && phase != Phase::Naming) || s != expectedAsk)
            return fault(m, QStringLiteral("not the seat asked"));
        ++passes;
        expectedAsk = nextSeat(s);
        if (phase == Phase::OrderUp && passes == 4) {
            // The naming phase starts again left of the dealer.
            phase = Phase::Naming;
            passes = 0;
            expectedAsk = nextSeat(dealer);
        }
    }

    void onTrumpChosen(const QByteArray& m, int s, int suit) {
        if (orderedUp) {
            if (phase != Phase::OrderUp || s != maker || suit != suitOf(turned))
                fault(m, QStringLiteral("the order-up makes the turned card's suit trump"));
        } else if (phase != Phase::Naming || s != expectedAsk || suit == refused) {
            fault(m, QStringLiteral("not a trump the seat asked may name"));
        }
        trump = suit;
        maker = s;
        phase = Phase::Alone;
    }

    void onClearcards(const QByteArray& m) {
        const bool due = trick == 0 ? phase == Phase::Play || phase == Phase::Discard
                                    : phase == Phase::Play && trick < 5 && cardsInTrick == 0;
        if (!due) fault(m, QStringLiteral("no trick is due"));
        if (trick == 0 && orderedUp && seat == dealer && !switched)
            fault(m, QStringLiteral("the first trick began before my discard was taken"));
        phase = Phase::Play;
        ++trick;
        cardsInTrick = 0;
        led = 0;
        played = {};
        if (trick == 1) {
            // After an order-up alone the seat left of the loner leads, otherwise
            // the seat left of the dealer (or the one after it, if it sits out).
            toPlay = orderedUp && loner ? nextInPlay(loner) : nextInPlay(dealer);
        } else {
            toPlay = lastWinner;
        }
    }

    void playACard() {
        std::vector<int> legal;
        std::vector<int> illegal;
        bool canFollow = false;
        for (int pos = 1; pos <= 5; ++pos)
            if (hand[pos] && led != 0 && playsAs(hand[pos], trump) == led) canFollow = true;
        for (int pos = 1; pos <= 5; ++pos) {
            if (!hand[pos]) continue;
            const bool follows = !canFollow || playsAs(hand[pos], trump) == led;
            (follows ? legal : illegal).push_back(pos);
        }
        if (legal.empty()) return fault("", QStringLiteral("asked to play with no card in hand"));
        // Try a card that does not follow first, whenever there is one: the host must refuse it.
        if (!illegal.empty() && !triedIllegal) {
            triedIllegal = true;
            illegalAt = illegal[random.bounded(static_cast<quint32>(illegal.size()))];
            return send("CMD_playcard", seat, illegalAt);
        }
        send("CMD_playcard", seat, legal[random.bounded(static_cast<quint32>(legal.size()))]);
    }

    void onPlayed(const QByteArray& m, int s, int pos, int card) {
        if (phase != Phase::Play || s != toPlay) fault(m, QStringLiteral("not this seat's turn"));
        if (!seen.insert(card).second) fault(m, QStringLiteral("a card played twice in one hand"));
        if (s == seat) {
            if (pos == illegalAt && illegalAt != 0)
                fault(m, QStringLiteral("the host took a card that does not follow suit"));
            if (hand[pos] != card)
                fault(m, QStringLiteral("not the card at that place of my hand"));
            hand[pos] = 0;
            illegalAt = 0;
            triedIllegal = false;
        }
        if (cardsInTrick == 0) led = playsAs(card, trump);
        played[s] = card;
        ++cardsInTrick;
        toPlay = nextInPlay(s);
    }

    void onTrickWinner(const QByteArray& m, int w, int t1, int t2) {
        if (cardsInTrick != (loner ? 3 : 4)) fault(m, QStringLiteral("the trick is not complete"));
        int best = 0;
        for (int s = 1; s <= 4; ++s)
            if (played[s] &&
                (best == 0 || strength(played[s], trump, led) > strength(played[best], trump, led)))
                best = s;
        if (w != best) fault(m, QStringLiteral("seat %1 won this trick").arg(best));
        ++tricks[teamOf(best)];
        if (t1 != tricks[1] || t2 != tricks[2]) fault(m, QStringLiteral("wrong trick counts"));
        lastWinner = best;
        toPlay = 0;
        cardsInTrick = 0;
    }

    void onScore(const QByteArray& m, const QList<QByteArray>& f) {
        if (phase != Phase::Play || trick != 5)
            fault(m, QStringLiteral("scored before five tricks"));
        const int making = teamOf(maker);
        const int taken = tricks[making];
        std::array<int, 3> points{};
        if (taken == 5)
            points[making] = loner ? 4 : 2;
        else if (taken >= 3)
            points[making] = 1;
        else
            points[3 - making] = 2;
        score[1] += points[1];
        score[2] += points[2];
        const QList<QByteArray> expected{
            QByteArray::number(making),    QByteArray::number(score[1]),
            QByteArray::number(points[1]), QByteArray::number(score[2]),
            QByteArray::number(points[2]),
        };
        if (f != expected)
            fault(m, QStringLiteral("expected ") + QString::fromLatin1(expected.join('+')));
        const int shouldHold = sitsOut(seat) ? 5 : 0;
        if (cardsHeld() != shouldHold) fault(m, QStringLiteral("cards left in my hand"));
        ++hands;
        phase = Phase::Scored;
    }
};

} // namespace

class WholeGameTest : public QObject {
    Q_OBJECT
private slots:
    void fourPeoplePlayAGameToItsEnd() {
        rng::restart(20240611);
        TServer server;
        server.setBotSpeed(5); // the pauses between tricks and deals take a few ms
        QString error;
        QVERIFY2(server.startListening(0, &error), qPrintable(error));

        std::vector<std::unique_ptr<ScriptedPlayer>> players;
        const QByteArrayList names{"Ann", "Bob", "Cat", "Dan"};
        for (int i = 0; i < 4; ++i) {
            players.push_back(std::make_unique<ScriptedPlayer>(names[i], 1000u + i));
            ScriptedPlayer* p = players.back().get();
            p->wire.connectTo(server.listeningPort());
            QTRY_COMPARE_WITH_TIMEOUT(p->seat, i + 1, 10000);
        }
        ScriptedPlayer& host = *players[0];
        QTRY_COMPARE_WITH_TIMEOUT(host.wire.count("CMD_newplayerinfo"), 4, 10000);

        host.wire.say("CMD_startgame+Ann+5+");
        auto settled = [&] {
            bool all = true;
            for (const auto& p : players) {
                if (!p->faults.isEmpty()) return true;
                all = all && p->finished;
            }
            return all;
        };
        QTRY_VERIFY_WITH_TIMEOUT(settled(), 120000);

        for (const auto& p : players)
            QVERIFY2(p->faults.isEmpty(), qPrintable(p->faults.mid(0, 5).join('\n')));
        QVERIFY(!server.gameon);
        const int winner = host.winningTeam;
        QVERIFY(winner == 1 || winner == 2);
        for (const auto& p : players) {
            QCOMPARE(p->winningTeam, winner);
            // Everyone was told the same things in the same order.
            QCOMPARE(p->publicLog, host.publicLog);
        }

        // The scripted deals reached every path they were meant to.
        int discards = 0;
        int refusals = 0;
        for (const auto& p : players) {
            discards += p->discards;
            refusals += p->refusals;
        }
        QVERIFY(host.throwIns >= 1);
        QVERIFY(host.loners >= 1);
        QVERIFY(discards >= 1);
        QVERIFY(refusals >= 1);
        qInfo("%d deals, %d hands played, %d cards refused", host.deals, host.hands, refusals);
    }
};

QTEST_MAIN(WholeGameTest)
#include "tst_wholegame.moc"
