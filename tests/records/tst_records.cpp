// Game records: the notation read and written, records refused with where
// and why, replays judged legal or not with their scores, whole simulated
// games kept, written, read back and replayed, mutated records never
// crashing the reader, and the records folder kept to its size.
#include "model/random.h"
#include "records/egn.h"
#include "records/recorder.h"
#include "records/recordsfolder.h"
#include "records/replay.h"
#include "sim/simulator.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace euchre;
using namespace euchre::records;

namespace {

// Two deals of a game begun at 4-9: seat 2 marches alone (three cards a
// trick), then seat 2's team marches after an order-up and wins 10-9. No
// hands and no discard given: the replay works them out from the tricks.
const QByteArray kLonerGame = R"({"fileType":"Euchre Game Notation","version":"1.6",
 "metadata":{"title":"Two hands","players":["A","B","C","D"],"initialScore":[4,9],
  "ruleset":{"std":true,"canadian":false,"loner_lead":"LEFT_OF_DEALER"}},
 "deals":[
  {"dealNumber":0,"initialState":{"dealer":0,"upCard":"Ks"},"phases":[
   {"type":"EUCHRE_BIDDING","calls":["Pass","Pass","Pass","Pass","Pass","h"],"isAlone":true},
   {"type":"TRICK_PLAY","tricks":[["9s","As","Js"],["Jh","Ah","9h"],["Jd","Kh","Qh"],
     ["Th","9d","Ts"],["Qs","Tc","Jc"]]}]},
  {"dealNumber":1,"initialState":{"dealer":1,"upCard":"Qd"},"phases":[
   {"type":"EUCHRE_BIDDING","calls":["Order"],"isAlone":false},
   {"type":"TRICK_PLAY","tricks":[["Jd","Ts","Jh","9d"],["Ad","Jc","Tc","Qd"],
     ["Kd","Kh","Qc","Kc"],["As","Ah","Js","9h"],["9s","Ac","Ks","Qh"]]}]}]})";

// One deal with the hands given: seat 1 names spades in the second round
// and its team takes three tricks.
const QByteArray kDealtGame = R"({"fileType":"Euchre Game Notation","version":"1.6",
 "metadata":{"players":["N","E","S","W"],"initialScore":[0,0]},
 "deals":[{"dealNumber":0,"initialState":{"dealer":0,"upCard":"Jc","playerCards":[
   ["Kh","As","Jd","Th","Ah"],["9c","9h","Qc","Qd","Kc"],["Jh","Ad","Tc","Kd","Ac"],
   ["Qs","9d","Js","9s","Td"]]},"phases":[
  {"type":"EUCHRE_BIDDING","calls":["Pass","Pass","Pass","Pass","s"],"isAlone":false},
  {"type":"TRICK_PLAY","tricks":[["9h","Jh","9s","Ah"],["Js","As","9c","Tc"],
    ["Td","Jd","Qd","Kd"],["Ad","9d","Th","Qc"],["Ac","Qs","Kh","Kc"]]}]}]})";

QByteArray edited(QByteArray text, const char* from, const char* to) {
    const qsizetype at = text.indexOf(from);
    if (at < 0) qFatal("the edit's text is not in the record: %s", from);
    return text.replace(at, qsizetype(qstrlen(from)), to);
}

// Keeps a simulated game's record from its events, seeing every hand.
struct Keeper : sim::Watcher {
    Recorder recorder;
    void step(const rules::Events& events, const rules::Table& table) override {
        for (const rules::Event& e : events) {
            recorder.event(e);
            if (e.kind == rules::EventKind::Dealt)
                for (int seat = 1; seat <= kSeats; ++seat)
                    recorder.dealtHand(seat, table.hand[seat]);
        }
    }
};

} // namespace

class TstRecords : public QObject {
    Q_OBJECT

private slots:
    // The notation's shapes read, written and read back unchanged; the
    // notation's other spellings of a card read as the card itself.
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("sameAs"); // a record whose deals read the same, or empty
        QTest::newRow("loner, hands worked out") << kLonerGame << QByteArray();
        QTest::newRow("hands given") << kDealtGame << QByteArray();
        QByteArray spelled = edited(kLonerGame, R"(["Jh","Ah","9h"])", R"(["R","AH","Nh"])");
        spelled = edited(spelled, R"(["Jd","Kh","Qh"])", R"(["L","Kh","Qh"])");
        spelled = edited(spelled, R"("players":["A","B","C","D"])",
                         R"("players":[{"name":"A","id":"a1"},"B","C","D"],"teamNames":["x","y"])");
        QTest::newRow("bowers, N, capitals, player objects") << spelled << kLonerGame;
        QByteArray notes = edited(kDealtGame, R"("isAlone":false},)",
                                  R"("isAlone":false,"callAnnotations":{"4":["[?]Thin call"]}},)");
        notes =
            edited(notes, R"(["Ac","Qs","Kh","Kc"]]})",
                   R"(["Ac","Qs","Kh","Kc"]],"playAnnotations":{"0":["[!]Good lead","more"]}})");
        QTest::newRow("annotations") << notes << kDealtGame;
        QCOMPARE(readRecord(notes)->deals.at(0).playNotes.at(0),
                 (QStringList{"[!]Good lead", "more"}));
        QTest::newRow("deals to play, partial deal")
            << edited(edited(kLonerGame, R"("loner_lead":"LEFT_OF_DEALER")", R"("num_deals":8)"),
                      ",\n     [\"Kd\",\"Kh\",\"Qc\",\"Kc\"],[\"As\",\"Ah\",\"Js\",\"9h\"],"
                      "[\"9s\",\"Ac\",\"Ks\",\"Qh\"]",
                      "")
            << QByteArray();
    }
    void roundTrip() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, sameAs);
        QString error;
        const std::optional<GameRecord> read = readRecord(text, &error);
        QVERIFY2(read, qPrintable(error));
        const std::optional<GameRecord> again = readRecord(writeRecord(*read), &error);
        QVERIFY2(again, qPrintable(error));
        QVERIFY(*again == *read);
        if (sameAs.isEmpty()) return;
        // Read alike, remarks aside.
        std::vector<DealRecord> deals = read->deals;
        for (DealRecord& deal : deals) deal.callNotes = deal.playNotes = {};
        QVERIFY(readRecord(sameAs)->deals == deals);
    }

    // What is not a record, or not a game played here, says where and why.
    void refused_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("why");
        QTest::newRow("truncated") << kDealtGame.left(300) << "not JSON";
        QTest::newRow("not an object") << QByteArray("[1,2]") << "not a game record";
        QTest::newRow("file type")
            << edited(kDealtGame, "Euchre Game", "Euchre Games") << "fileType";
        QTest::newRow("version") << edited(kDealtGame, R"("1.6")", R"("2.0")") << "version";
        QTest::newRow("unknown field")
            << edited(kDealtGame, R"("metadata":{)", R"("metadata":{"x":1,)")
            << "metadata: unknown field \"x\"";
        QTest::newRow("dealer out of range") << edited(kDealtGame, R"("dealer":0)", R"("dealer":4)")
                                             << "deal 1 dealer: 4 is outside 0 to 3";
        QTest::newRow("dealer not whole")
            << edited(kDealtGame, R"("dealer":0)", R"("dealer":0.5)") << "not a whole number";
        QTest::newRow("seven") << edited(kDealtGame, R"("9h","Jh")", R"("7h","Jh")")
                               << "deal 1 trick 1 card 1: \"7h\" is not a card of the 24";
        QTest::newRow("joker") << edited(kDealtGame, R"("initialScore")",
                                         R"("ruleset":{"joker":true},"initialScore")")
                               << "joker is not played here";
        QTest::newRow("loner euchred score")
            << edited(kDealtGame, R"("initialScore")",
                      R"("ruleset":{"loner_euchred_score":3},"initialScore")")
            << "loner_euchred_score";
        QTest::newRow("no trump call") << edited(kDealtGame, R"("Pass","s"])", R"("Pass","n"])")
                                       << "call 5: \"n\" is not a call played here";
        QTest::newRow("five cards a trick")
            << edited(kDealtGame, R"(["9h","Jh","9s","Ah"])", R"(["9h","Jh","9s","Ah","Kh"])")
            << "trick 1: more than 4 entries";
        QTest::newRow("binary deal") << edited(kDealtGame, R"("deals":[{)", R"("deals":["AAAA",{)")
                                     << "deal 1: deals in the binary form are not read";
        QTest::newRow("annotation of no call")
            << edited(kDealtGame, R"("isAlone":false},)",
                      R"("isAlone":false,"callAnnotations":{"9":["x"]}},)")
            << "no move \"9\"";
        QTest::newRow("name too long")
            << edited(kDealtGame, R"("N")", QByteArray('"' + QByteArray(65, 'n') + '"').constData())
            << "player 0: longer than 64";
    }
    void refused() {
        QFETCH(QByteArray, text);
        QFETCH(QString, why);
        QString error;
        QVERIFY(!readRecord(text, &error));
        QVERIFY2(error.contains(why), qPrintable(error));
    }

    // Replays judged by the rules: legal games score as played; the first
    // illegal move is named with its deal and move.
    void replay_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("fault"); // empty: legal
        QTest::addColumn<int>("score1");
        QTest::addColumn<int>("score2");
        QTest::addColumn<int>("winner");
        QTest::newRow("loner game") << kLonerGame << QString() << 10 << 9 << 1;
        QTest::newRow("dealt game") << kDealtGame << QString() << 0 << 1 << 0;
        QTest::newRow("played twice, hands worked out")
            << edited(kLonerGame, R"(["Qs","Tc","Jc"])", R"(["Qs","Tc","As"])")
            << "deal 1, trick 5 card 3: As is played twice" << 4 << 9 << 0;
        QTest::newRow("played twice, hands given")
            << edited(kDealtGame, R"(["Ac","Qs","Kh","Kc"])", R"(["Ad","Qs","Kh","Kc"])")
            << "deal 1, trick 5 card 1: seat 2 does not hold Ad" << 0 << 0 << 0;
        QTest::newRow("does not follow")
            << edited(edited(kDealtGame, R"(["9h","Jh","9s","Ah"])", R"(["9h","Jh","9s","As"])"),
                      R"(["Js","As","9c","Tc"])", R"(["Js","Ah","9c","Tc"])")
            << "deal 1, trick 1 card 4: As does not follow the led suit" << 0 << 0 << 0;
        QTest::newRow("turned-down suit named")
            << edited(kDealtGame, R"("Pass","s"])", R"("Pass","c"])")
            << "deal 1, call 5: the turned-down suit cannot be named" << 0 << 0 << 0;
        const QByteArray bidOnly =
            kDealtGame.left(kDealtGame.indexOf("TRICK_PLAY")).chopped(13) + "]}]}";
        QTest::newRow("stuck dealer passes")
            << edited(bidOnly, R"("Pass","Pass","Pass","Pass","s"])",
                      R"("Pass","Pass","Pass","Pass","Pass","Pass","Pass","Pass"])")
            << "deal 1, call 8: the dealer must name a suit" << 0 << 0 << 0;
        QTest::newRow("final score disagrees")
            << edited(kDealtGame, R"("initialScore":[0,0])",
                      R"("initialScore":[0,0],"finalScore":[1,0])")
            << "deal 1, final score: the record says 1-0, the deals make 0-1" << 0 << 1 << 0;
        QTest::newRow("a deal after the game was won")
            << edited(
                   kLonerGame, R"(["9s","Ac","Ks","Qh"]]}]})",
                   R"(["9s","Ac","Ks","Qh"]]}]},{"dealNumber":2,"initialState":{"dealer":2,"upCard":"9c"},"phases":[]})")
            << "deal 3, deal: the game was already won" << 10 << 9 << 1;
    }
    void replay() {
        QFETCH(QByteArray, text);
        QFETCH(QString, fault);
        QString error;
        const std::optional<GameRecord> record = readRecord(text, &error);
        QVERIFY2(record, qPrintable(error));
        const Replay r = replayRecord(*record);
        QCOMPARE(r.fault(), fault);
        QCOMPARE(r.legal, fault.isEmpty());
        QTEST(r.score[1], "score1");
        QTEST(r.score[2], "score2");
        QTEST(r.winner, "winner");
    }

    // The replay knows each seat's cards through the deal, also those it
    // worked out: the dealer holds the turned card after the order-up, a
    // loner's partner shows unknown cards, and each trick takes its cards.
    void heldCards() {
        const Replay r = replayRecord(*readRecord(kLonerGame));
        const ReplayDeal& second = r.deals.at(1);
        std::vector<int> dealer = second.held(2, 0);
        std::sort(dealer.begin(), dealer.end());
        const int nineD = makeCard(Diamonds, 8), queenD = makeCard(Diamonds, 11);
        const int kingC = makeCard(Clubs, 12), nineH = makeCard(Hearts, 8),
                  queenH = makeCard(Hearts, 11);
        QCOMPARE(dealer, (std::vector<int>{kingC, nineD, queenD, nineH, queenH}));
        QCOMPARE(second.held(2, 2), (std::vector<int>{kingC, nineH, queenH}));
        QCOMPARE(r.deals.at(0).held(1, 0), std::vector<int>(5, 0));
        QCOMPARE(r.deals.at(0).loner, 3);
        QCOMPARE(r.deals.at(0).tricks.at(0).seats, (std::vector<int>{2, 3, 4}));
    }

    // Whole simulated games under every house rule: the kept record is
    // written and read back unchanged, and replays legal to the game's score.
    void simulatedGames() {
        rng::restart(23);
        Keeper keeper;
        sim::Simulator sim;
        sim.setWatcher(&keeper);
        const rules::Ruleset houses[] = {{},
                                         {true, false, rules::LonerLead::LeftOfDealer, 4},
                                         {true, true, rules::LonerLead::LeftOfLoner, 5},
                                         {false, true, rules::LonerLead::LeftOfDealer, 3}};
        for (int game = 0; game < 1000; ++game) {
            sim.setRules(houses[game % 4]);
            keeper.recorder.startGame(sim.rules(), 10, {"a", "b", "c", "d"}, QString(),
                                      QString::number(game));
            QVERIFY(sim.playGame(10));
            const GameRecord& kept = keeper.recorder.record();
            const std::optional<GameRecord> read = readRecord(writeRecord(kept));
            QVERIFY(read);
            QVERIFY(*read == kept);
            const Replay r = replayRecord(*read);
            QVERIFY2(r.legal, qPrintable(r.fault()));
            QCOMPARE(r.score[1], sim.table().team[1].score);
            QCOMPARE(r.score[2], sim.table().team[2].score);
            QCOMPARE(int(kept.deals.size()), keeper.recorder.finishedDeals());
        }
    }

    // Records cut, flipped and spliced at random: read and replayed, they
    // give a reason or a replay, never a crash.
    void mutatedRecords() {
        rng::restart(5);
        Keeper keeper;
        sim::Simulator sim;
        sim.setWatcher(&keeper);
        keeper.recorder.startGame({}, 10, {"a", "b", "c", "d"}, QString(), QString());
        QVERIFY(sim.playGame(10));
        const QByteArray base = writeRecord(keeper.recorder.record());
        const QByteArray words[] = {"\"Pass\"", "\"Order\"", "\"R\"", "true",  "-1",
                                    "9",        "[]",        "{}",    "\"Xx\""};
        quint32 x = 2463534242u; // a fixed xorshift, so every run mutates alike
        const auto next = [&x](quint32 n) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            return x % n;
        };
        int refused = 0;
        for (int i = 0; i < 10000; ++i) {
            QByteArray text = base;
            for (quint32 edits = 1 + next(3); edits > 0; --edits) {
                const qsizetype at = qsizetype(next(quint32(text.size())));
                switch (next(4)) {
                case 0:
                    text[at] = char(next(256));
                    break;
                case 1:
                    text.remove(at, 1 + next(20));
                    break;
                case 2:
                    text.insert(at, words[next(9)]);
                    break;
                default:
                    text.truncate(at);
                    break;
                }
            }
            QString error;
            const std::optional<GameRecord> record = readRecord(text, &error);
            if (!record) {
                ++refused;
                QVERIFY(!error.isEmpty());
                continue;
            }
            const Replay r = replayRecord(*record);
            QVERIFY(r.legal || !r.fault().isEmpty());
        }
        QVERIFY(refused > 5000);
    }

    // Every change to the written record moves the recorder's count of
    // changes, so a keeper that saves only when the count moved loses none.
    void everyChangeIsCounted() {
        rng::restart(31);
        struct Checker : Keeper {
            QByteArray written;
            quint64 counted = 0;
            int missed = 0;
            void step(const rules::Events& events, const rules::Table& table) override {
                for (const rules::Event& e : events) {
                    rules::Events one;
                    one.push(e);
                    Keeper::step(one, table);
                    const QByteArray now = writeRecord(recorder.record());
                    if (now != written && recorder.changes() == counted) ++missed;
                    written = now;
                    counted = recorder.changes();
                }
            }
        } checker;
        sim::Simulator sim;
        sim.setWatcher(&checker);
        for (int game = 0; game < 3; ++game) {
            checker.recorder.startGame(sim.rules(), 10, {"a", "b", "c", "d"}, QString(),
                                       QString::number(game));
            QVERIFY(sim.playGame(10));
        }
        QVERIFY(checker.recorder.gameOver());
        QCOMPARE(checker.missed, 0);
    }

    // The folder keeps the newest records by name and saves each whole.
    void recordsFolderKeepsTheNewest() {
        QTemporaryDir dir;
        const GameRecord record = *readRecord(kDealtGame);
        const QDateTime start(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC);
        for (int n = 0; n < 5; ++n)
            QVERIFY(saveRecord(record, dir.path(),
                               recordFileName(start.addSecs(n), QStringLiteral("g/%1").arg(n)),
                               nullptr, 3));
        const QStringList names = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(names, (QStringList{"game-20260101-120002-g2.egn", "game-20260101-120003-g3.egn",
                                     "game-20260101-120004-g4.egn"}));
        QFile file(QDir(dir.path()).filePath(names.last()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(*readRecord(file.readAll()) == record);
    }
};

QTEST_GUILESS_MAIN(TstRecords)
#include "tst_records.moc"
