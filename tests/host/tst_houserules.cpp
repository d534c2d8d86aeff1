// The host's house rules: the ruleset a game is started with, echoed to all
// and told to newcomers, refused when unknown; the stuck dealer's pass refused.
#include "host/support/hostfixture.h"
#include "model/bubble.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::testing;

class HostHouseRulesTest : public QObject {
    Q_OBJECT
private slots:
    void startWithARuleset_data() {
        QTest::addColumn<QByteArray>("tableRules"); // the host's own, for a start without any
        QTest::addColumn<QByteArray>("start");      // the fields after the command word
        QTest::addColumn<QByteArray>("echo");       // to everyone, or only to the starter
        QTest::addColumn<bool>("stick");
        QTest::newRow("no ruleset: as always") << QByteArray() << QByteArray("Ann+10+")
                                               << QByteArray("CMD_startgame+Ann+10+") << false;
        QTest::newRow("house rules echoed in their own order")
            << QByteArray() << QByteArray("Ann+10+loner_march_score=5,std=true+")
            << QByteArray("CMD_startgame+Ann+10+std=1,loner_march_score=5+") << true;
        QTest::newRow("the plain rules named: as always")
            << QByteArray() << QByteArray("Ann+10+std=0+") << QByteArray("CMD_startgame+Ann+10+")
            << false;
        QTest::newRow("no ruleset: the table's")
            << QByteArray("std=1") << QByteArray("Ann+10+")
            << QByteArray("CMD_startgame+Ann+10+std=1+") << true;
        QTest::newRow("an empty ruleset: none") << QByteArray("std=1") << QByteArray("Ann+10++")
                                                << QByteArray("CMD_startgame+Ann+10+") << false;
        // Refused: the echo's place holds what the starter is told.
        QTest::newRow("unknown key") << QByteArray() << QByteArray("Ann+10+std=1,farmers=1+")
                                     << QByteArray("CMD_badrules+farmers=1+") << false;
        QTest::newRow("bad value")
            << QByteArray("std=1") << QByteArray("Ann+10+loner_march_score=7+")
            << QByteArray("CMD_badrules+loner_march_score=7+") << false;
    }
    void startWithARuleset() {
        QFETCH(QByteArray, tableRules);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, echo);
        QFETCH(bool, stick);
        HostFixture h;
        h.server.setDefaultRules(*rules::parseRuleset(tableRules.toStdString()));
        h.join("Ann");
        h.join("Bob");
        h.clearSent();
        h.say(1, "CMD_startgame+" + start);
        h.drain();
        const bool started = echo.startsWith("CMD_startgame+");
        QCOMPARE(h.server.gameon, started);
        // A refused start changes nothing else, and only the starter hears why.
        QCOMPARE(h.all(1).value(0), echo);
        QCOMPARE(h.all(1).size() == 1, !started);
        QCOMPARE(h.all(2).value(0), started ? echo : QByteArray());
        QCOMPARE(h.table().rules.stickTheDealer, stick);
    }

    void stuckDealersPassIsRefused() {
        HostFixture h;
        for (const char* name : {"Ann", "Bob", "Cat", "Dan"}) h.join(name);
        h.say(1, "CMD_startgame+Ann+10+std=1+");
        h.drain();
        for (int i = 0; i < 4; ++i) {
            const int s = h.table().bidder();
            h.say(s, "CMD_selectedbubble+" + QByteArray::number(s) + "+2+");
            h.drain();
        }
        for (int i = 0; i < 3; ++i) {
            const int s = h.table().chooser();
            h.say(s, "CMD_selectedbubble+" + QByteArray::number(s) + "+22+");
            h.drain();
        }
        QCOMPARE(h.table().chooser(), 1); // the dealer, asked last
        h.clearSent();
        h.say(1, "CMD_selectedbubble+1+22+");
        h.drain();
        QCOMPARE(h.all(1), QByteArrayList{"CMD_notvalid+1+4+0+"});
        for (int slot = 2; slot <= 4; ++slot) QVERIFY(h.all(slot).isEmpty());
        QCOMPARE(h.table().chooser(), 1);
        const int suit = h.table().refusedsuit == Clubs ? Hearts : Clubs;
        h.say(1, "CMD_selectedbubble+1+" + QByteArray::number(bubbleForSuit(suit)) + "+");
        h.drain();
        QCOMPARE(h.link[2]->withWord("CMD_trumpchoosen"),
                 QByteArrayList{"CMD_trumpchoosen+1+" + QByteArray::number(suit) + "+"});
    }

    void newcomerHearsTheRules_data() {
        QTest::addColumn<QByteArray>("ruleset");
        QTest::addColumn<QByteArrayList>("told");
        QTest::newRow("plain rules: nothing more") << QByteArray() << QByteArrayList{};
        QTest::newRow("house rules")
            << QByteArray("canadian=1+") << QByteArrayList{"CMD_loadrules+canadian=1+"};
    }
    void newcomerHearsTheRules() {
        QFETCH(QByteArray, ruleset);
        QFETCH(QByteArrayList, told);
        HostFixture h;
        h.join("Ann");
        h.say(1, "CMD_startgame+Ann+10+" + ruleset);
        h.drain();
        h.join("Bob");
        QCOMPARE(h.link[2]->withWord("CMD_loadrules"), told);
        // Right after the scores, before the hand.
        const QByteArrayList got = h.all(2);
        const qsizetype stats = got.indexOf(h.link[2]->withWord("CMD_loadstats").value(0));
        QVERIFY(stats > 0);
        if (!told.isEmpty()) QCOMPARE(got.value(stats + 1), told[0]);
    }
};

QTEST_GUILESS_MAIN(HostHouseRulesTest)
#include "tst_houserules.moc"
