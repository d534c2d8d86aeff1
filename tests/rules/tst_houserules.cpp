// The house rules in the game: the stuck dealer, the Canadian loner, who
// leads against a loner, what a lone march scores, and the ruleset text.
#include "model/bubble.h"
#include "model/random.h"
#include "rules/game.h"
#include "rules/ruleset.h"

#include <QTest>

using namespace euchre;
using rules::EventKind;
using rules::Phase;
using rules::Ruleset;

Q_DECLARE_METATYPE(euchre::rules::Ruleset)

namespace {

bool has(const rules::Events& ev, EventKind kind, int seat) {
    for (const rules::Event& e : ev)
        if (e.kind == kind && e.seat() == seat) return true;
    return false;
}

// A new game under the rules; seat 1 deals the first hand.
rules::Game started(const Ruleset& rules) {
    rng::restart(11);
    rules::Game g;
    rules::Events ev;
    g.startGame(10, rules, ev);
    return g;
}

// Passes until `seat` is asked the question (the order-up round, then the naming round).
void passUntil(rules::Game& g, rules::Question question, int seat) {
    for (int guard = 0; guard < 8 && !(g.asked() == rules::Asked{question, seat}); ++guard) {
        rules::Events ev;
        const bool naming = g.asked().question == rules::Question::Naming;
        QVERIFY(g.decide(g.asked().seat, naming ? BubbleNamePass : BubblePass, ev));
    }
    QCOMPARE(g.asked(), (rules::Asked{question, seat}));
}

// A suit other than the turned-down one.
int otherSuit(const rules::Table& t) {
    return t.refusedsuit == Clubs ? Hearts : Clubs;
}

Ruleset withLead(rules::LonerLead lead) {
    Ruleset r;
    r.lonerLead = lead;
    return r;
}

} // namespace

class TestHouseRules : public QObject {
    Q_OBJECT
private slots:
    void stuckDealerMustName_data() {
        QTest::addColumn<bool>("stick");
        QTest::addColumn<int>("seat");
        QTest::newRow("dealer, stuck") << true << 1;
        QTest::newRow("dealer, plain rules") << false << 1;
        QTest::newRow("another seat, stuck") << true << 3;
    }
    void stuckDealerMustName() {
        QFETCH(bool, stick);
        QFETCH(int, seat);
        Ruleset r;
        r.stickTheDealer = stick;
        rules::Game g = started(r);
        passUntil(g, rules::Question::Naming, seat);
        const rules::Table before = g.table();
        const bool stuck = stick && seat == before.dealer;

        rules::Events ev;
        QCOMPARE(g.decide(seat, BubbleNamePass, ev), !stuck);
        QCOMPARE(has(ev, EventKind::RefusedPass, seat), stuck);
        QCOMPARE(has(ev, EventKind::Passed, seat), !stuck);
        // A pass from the last seat throws the cards in and the next seat deals.
        QCOMPARE(has(ev, EventKind::Dealer, 2), !stuck && seat == before.dealer);
        if (!stuck) return;
        QVERIFY(g.table() == before);
        // The turned-down suit stays refused; any other suit is taken.
        ev.clear();
        QVERIFY(!g.decide(seat, bubbleForSuit(before.refusedsuit), ev));
        QVERIFY(has(ev, EventKind::RefusedTrump, seat));
        QVERIFY(g.table() == before);
        ev.clear();
        QVERIFY(g.decide(seat, bubbleForSuit(otherSuit(before)), ev));
        QVERIFY(has(ev, EventKind::TrumpMade, seat));
        QCOMPARE(g.asked(), (rules::Asked{rules::Question::GoingAlone, seat}));
    }

    void canadianPartnerPlaysAlone_data() {
        QTest::addColumn<bool>("canadian");
        QTest::addColumn<int>("maker");
        QTest::addColumn<bool>("naming");
        QTest::addColumn<bool>("forced");
        // Seat 1 deals, so seat 3 is the dealer's partner.
        QTest::newRow("partner orders up") << true << 3 << false << true;
        QTest::newRow("partner, plain rules") << false << 3 << false << false;
        QTest::newRow("opponent orders up") << true << 2 << false << false;
        QTest::newRow("dealer picks up") << true << 1 << false << false;
        QTest::newRow("partner names a suit") << true << 3 << true << false;
    }
    void canadianPartnerPlaysAlone() {
        QFETCH(bool, canadian);
        QFETCH(int, maker);
        QFETCH(bool, naming);
        QFETCH(bool, forced);
        Ruleset r;
        r.canadian = canadian;
        rules::Game g = started(r);
        rules::Events ev;
        if (naming) {
            passUntil(g, rules::Question::Naming, maker);
            QVERIFY(g.decide(maker, bubbleForSuit(otherSuit(g.table())), ev));
        } else {
            passUntil(g, rules::Question::OrderUp, maker);
            QVERIFY(g.decide(maker, BubbleAccept, ev));
        }
        QCOMPARE(has(ev, EventKind::Aloner, maker), !forced);
        QCOMPARE(has(ev, EventKind::GoingAlone, maker), forced);
        QCOMPARE(g.table().alone[maker], forced);
        QCOMPARE(g.table().sitsout[1], forced); // the dealer sits out ...
        if (forced)                             // ... and still picks the turned card up first
            QCOMPARE(g.asked(), (rules::Asked{rules::Question::Discard, 1}));
    }

    void firstLeadAgainstALoner_data() {
        QTest::addColumn<Ruleset>("rules");
        QTest::addColumn<bool>("orderedUp");
        QTest::addColumn<QList<int>>("leaderByLoner"); // loners 1..4, seat 1 dealing
        const Ruleset dealer = withLead(rules::LonerLead::LeftOfDealer);
        const Ruleset loner = withLead(rules::LonerLead::LeftOfLoner);
        // After an order-up the loner's left leads under either rule; after
        // naming, left of the dealer passes over a partner who sits out.
        QTest::newRow("left of dealer, ordered up") << dealer << true << QList<int>{2, 3, 4, 1};
        QTest::newRow("left of dealer, named") << dealer << false << QList<int>{2, 2, 2, 3};
        QTest::newRow("left of loner, ordered up") << loner << true << QList<int>{2, 3, 4, 1};
        QTest::newRow("left of loner, named") << loner << false << QList<int>{2, 3, 4, 1};
    }
    void firstLeadAgainstALoner() {
        QFETCH(Ruleset, rules);
        QFETCH(bool, orderedUp);
        QFETCH(QList<int>, leaderByLoner);
        for (int loner = 1; loner <= 4; ++loner) {
            rules::Game g = started(rules);
            rules::Events ev;
            if (orderedUp) {
                passUntil(g, rules::Question::OrderUp, loner);
                QVERIFY(g.decide(loner, BubbleAccept, ev));
            } else {
                passUntil(g, rules::Question::Naming, loner);
                QVERIFY(g.decide(loner, bubbleForSuit(otherSuit(g.table())), ev));
            }
            QVERIFY(g.decide(loner, BubbleAlone, ev));
            if (orderedUp) QVERIFY(g.playCard(1, 1, ev));
            QCOMPARE(g.asked(), (rules::Asked{rules::Question::Card, leaderByLoner[loner - 1]}));
            QCOMPARE(rules::firstLeader(rules, 1, loner, orderedUp), leaderByLoner[loner - 1]);
        }
    }

    void loneMarchScores_data() {
        QTest::addColumn<int>("march");
        QTest::addColumn<bool>("alone");
        QTest::addColumn<int>("points");
        QTest::newRow("3, alone") << 3 << true << 3;
        QTest::newRow("4, alone") << 4 << true << 4;
        QTest::newRow("5, alone") << 5 << true << 5;
        QTest::newRow("5, with the partner") << 5 << false << 2;
    }
    void loneMarchScores() {
        QFETCH(int, march);
        QFETCH(bool, alone);
        QFETCH(int, points);
        Ruleset r;
        r.lonerMarchScore = march;
        rules::Game g = started(r);
        // The last trick: seat 2 leads, seat 1's makers hold four tricks and the right bower.
        rules::Table& t = g.arrange();
        t.trump = Hearts;
        t.leftbower = leftBowerOf(Hearts);
        t.team[1] = {.tricks = 4, .score = 0, .makers = true};
        t.team[2] = {.tricks = 0, .score = 0, .makers = false};
        t.alone[1] = alone;
        t.sitsout[3] = alone;
        for (int seat = 1; seat <= 4; ++seat) t.hand[seat] = {};
        t.hand[1][1] = rightBower(Hearts);
        t.hand[2][1] = makeCard(Clubs, 8);
        t.hand[3][1] = makeCard(Clubs, 9);
        t.hand[4][1] = makeCard(Spades, 8);
        t.played = {};
        t.tricknumber = 5;
        t.phase = Phase::Play;
        t.seat = 2;
        rules::Events ev;
        for (const int seat : {2, 3, 4, 1})
            if (!t.sitsout[seat]) QVERIFY(g.playCard(seat, 1, ev));
        QCOMPARE(g.table().team[1].score, points);
        QCOMPARE(g.table().team[2].score, 0);
    }

    void rulesetText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("out"); // as written back when taken, else the item refused
        QTest::newRow("none") << "" << true << "";
        QTest::newRow("stick") << "std=1" << true << "std=1";
        QTest::newRow("all, any order")
            << "loner_march_score=5,loner_lead=LEFT_OF_LONER,canadian=true,std=1" << true
            << "std=1,canadian=1,loner_lead=LEFT_OF_LONER,loner_march_score=5";
        QTest::newRow("plain values said")
            << "std=0,canadian=false,loner_lead=LEFT_OF_DEALER,loner_march_score=4" << true << "";
        QTest::newRow("unknown key") << "std=1,farmers=1" << false << "farmers=1";
        QTest::newRow("unknown value") << "loner_lead=LEFT" << false << "loner_lead=LEFT";
        QTest::newRow("march 6") << "loner_march_score=6" << false << "loner_march_score=6";
        QTest::newRow("march +4") << "loner_march_score=+4" << false << "loner_march_score=+4";
        QTest::newRow("key twice") << "std=1,std=0" << false << "std=0";
        QTest::newRow("empty item") << "std=1," << false << "";
        QTest::newRow("no value") << "canadian" << false << "canadian";
        QTest::newRow("case matters") << "STD=1" << false << "STD=1";
        QTest::newRow("blank") << "std= 1" << false << "std= 1";
        const QString tooLong = QString("std=1,").repeated(40) + "std=1";
        QTest::newRow("too long") << tooLong << false << tooLong;
    }
    void rulesetText() {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QFETCH(QString, out);
        const std::string input = text.toStdString();
        std::string_view refused = "not set";
        const std::optional<Ruleset> r = rules::parseRuleset(input, &refused);
        QCOMPARE(r.has_value(), taken);
        if (!taken) {
            QCOMPARE(QString::fromStdString(std::string(refused)), out);
            return;
        }
        QCOMPARE(QString::fromStdString(rules::rulesetText(*r)), out);
        QCOMPARE(rules::parseRuleset(rules::rulesetText(*r)), r);
    }
};

QTEST_APPLESS_MAIN(TestHouseRules)
#include "tst_houserules.moc"
