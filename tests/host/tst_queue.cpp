// The host's queue under pressure: connections take turns, a flood is
// forgotten with its connection while a leaver's last words are still heard,
// names are cleaned and never doubled, spoken lines have a length limit, and
// the host's log cannot be forged.
#include "host/support/hostfixture.h"

#include <QtTest>

using namespace euchre;
using namespace euchre::testing;

namespace {

QByteArray chatLine(int slot, const QByteArray& text) {
    return "CMD_chat+" + QByteArray::number(slot) + "+" + text + "|clBlack";
}

// Every host log report while it lives.
struct LogCapture {
    LogCapture() {
        lines().clear();
        previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&,
                                             const QString& text) { lines().append(text); });
    }
    ~LogCapture() { qInstallMessageHandler(previous); }
    static QStringList& lines() {
        static QStringList all;
        return all;
    }
    QtMessageHandler previous;
};

} // namespace

class QueueTest : public QObject {
    Q_OBJECT
private slots:
    void connectionsTakeTurnsAndKeepTheirOrder() {
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.join("Cat");
        h.clearSent();
        // Bob's backlog arrives first, then one line each from Cat and Ann.
        QByteArray burst;
        for (int i = 0; i < 40; ++i) burst += chatLine(2, "b" + QByteArray::number(i)) + '\xFF';
        h.link[2]->peerSays(burst);
        h.say(3, chatLine(3, "c0"));
        h.say(1, chatLine(1, "a0"));
        h.say(3, chatLine(3, "c1"));
        h.drain();
        QStringList order;
        for (const QByteArray& m : h.link[1]->withWord("CMD_chat"))
            order.append(QString::fromLatin1(m.mid(m.indexOf(": ") + 2).split('|')[0]));
        // One line per connection in turn; each connection's lines in order.
        QCOMPARE(order.mid(0, 6), (QStringList{"b0", "c0", "a0", "b1", "c1", "b2"}));
        QStringList rest;
        for (int i = 2; i < 40; ++i) rest.append(QStringLiteral("b%1").arg(i));
        QCOMPARE(order.mid(5), rest);
    }

    void floodsAreForgottenButALeaversLastWordsAreHeard_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("heard");
        QTest::newRow("leaves") << 0 << true;
        QTest::newRow("too many waiting") << 1 << false;
        QTest::newRow("endless text") << 2 << false;
        QTest::newRow("removed by the host") << 3 << false;
        QTest::newRow("does not read") << 4 << false;
    }

    void floodsAreForgottenButALeaversLastWordsAreHeard() {
        QFETCH(int, how);
        QFETCH(bool, heard);
        LogCapture log;
        HostFixture h;
        h.fourPlayersStart();
        const int bidder = h.table().bidder();
        h.clearSent();
        // Seat 2 says goodbye and tries a move, then goes in one of the ways.
        if (how == 3) h.say(1, "CMD_kickhim+1+2+");
        if (how == 4) {
            h.link[2]->unsent = 2 * 1024 * 1024;
            h.say(1, "CMD_justwatch+1+2");
        }
        h.say(2, chatLine(2, "goodbye"));
        h.say(2, "CMD_selectedbubble+2+1+");
        h.say(3, chatLine(3, "still here"));
        switch (how) {
        case 0:
            h.link[2]->peerCloses();
            break;
        case 1: {
            QByteArray many;
            for (int i = 0; i < TServer::kMaxQueuedPerConnection; ++i)
                many += chatLine(2, "spam") + '\xFF';
            h.link[2]->peerSays(many);
            break;
        }
        case 2:
            h.link[2]->peerSays(QByteArray(64 * 1024 + 1, 'x'));
            break;
        default:
            // Slot 1's move comes first: the removal, or an announcement the
            // non-reader does not take, which lets it go on the next tick.
            h.server.socktimerTimer();
            if (how == 4) h.server.socktimerTimer();
            break;
        }
        QVERIFY(!h.server.playerslot[2].connected);
        // A newcomer in the freed seat never speaks or acts with those lines.
        QCOMPARE(h.join("New"), 2);
        h.drain();
        const QByteArrayList chats = h.link[1]->withWord("CMD_chat");
        QCOMPARE(chats.contains("CMD_chat+2+Bob chats: goodbye|clBlack"), heard);
        QVERIFY(chats.contains("CMD_chat+3+Cat chats: still here|clBlack"));
        for (const QByteArray& c : chats) QVERIFY(!c.contains("New") && !c.contains("spam"));
        if (bidder == 2) QVERIFY(h.link[1]->withWord("CMD_heaccepted").isEmpty());
        QCOMPARE(h.server.queuedCount(), 0);
        QCOMPARE(LogCapture::lines().filter("closing slot 2").size(),
                 how == 1 || how == 2 || how == 4 ? 1 : 0);
    }

    void namesAreCleanedAndNeverDoubled_data() {
        QTest::addColumn<QByteArrayList>("logins");
        QTest::addColumn<QByteArrayList>("names");
        QTest::newRow("plain") << QByteArrayList{"Ann", "Bob"} << QByteArrayList{"Ann", "Bob"};
        QTest::newRow("framing and controls")
            << QByteArrayList{"Mallory+0+1+FakeHost",
                              "A|b:c\x01\x7f\xc2\x85"
                              "d\t",
                              "  Sp ace  "}
            << QByteArrayList{"Mallory01FakeHost", "Abcd", "Sp ace"};
        QTest::newRow("long, not splitting a letter")
            << QByteArrayList{"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "\xc3\xa9" + QByteArray(25, 'e')}
            << QByteArrayList{"ABCDEFGHIJKLMNOPQRST", "\xc3\xa9" + QByteArray(19, 'e')};
        QTest::newRow("doubles") << QByteArrayList{"Ann", "Ann", "Ann+", "ABCDEFGHIJKLMNOPQRSTU",
                                                   "ABCDEFGHIJKLMNOPQRST"}
                                 << QByteArrayList{"Ann", "Ann (2)", "Ann (3)",
                                                   "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOP (2)"};
    }

    void namesAreCleanedAndNeverDoubled() {
        QFETCH(QByteArrayList, logins);
        QFETCH(QByteArrayList, names);
        HostFixture h;
        for (const QByteArray& login : logins) h.join(login);
        h.clearSent();
        for (int i = 0; i < names.size(); ++i) QCOMPARE(h.server.playerslot[i + 1].name, names[i]);
        // A second login is dropped: no new name, no announcement.
        h.say(2, "CMD_logininfo+2+1.0.6+" + names[0]);
        h.say(2, chatLine(2, "hi"));
        h.drain();
        QCOMPARE(h.server.playerslot[2].name, names[1]);
        QCOMPARE(h.all(1), QByteArrayList{"CMD_chat+2+" + names[1] + " chats: hi|clBlack"});
    }

    void spokenLinesHaveALengthLimit_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("relayed");
        const QByteArray most(1000, 'x');
        const QByteArray accents = QByteArray("\xc3\xa9").repeated(1000);
        QTest::newRow("chat at the limit") << chatLine(1, most) << true;
        QTest::newRow("chat over it") << chatLine(1, most + 'x') << false;
        QTest::newRow("two-byte letters") << chatLine(1, accents) << true;
        QTest::newRow("one more of them") << chatLine(1, accents + "\xc3\xa9") << false;
        QTest::newRow("bars in the text") << chatLine(1, "a|" + most.left(990)) << true;
        QTest::newRow("no colour") << "CMD_chat+1+" + most << true;
        QTest::newRow("long colour") << "CMD_chat+1+hi|" + QByteArray(33, 'c') << false;
        QTest::newRow("action over it") << "CMD_action+1+" + most + "x|clRed" << false;
        QTest::newRow("sound") << QByteArray("CMD_playasound+1+wave20+") << true;
        QTest::newRow("long sound") << "CMD_playasound+1+wave" + QByteArray(40, '1') << false;
        QTest::newRow("huge line") << chatLine(1, QByteArray(TServer::kMaxLineBytes, 'x')) << false;
    }

    void spokenLinesHaveALengthLimit() {
        QFETCH(QByteArray, line);
        QFETCH(bool, relayed);
        LogCapture log;
        HostFixture h;
        h.join("Ann");
        h.clearSent();
        h.say(1, line);
        h.drain();
        QCOMPARE(h.all(1).size(), relayed ? 1 : 0);
        QCOMPARE(LogCapture::lines().size(), relayed ? 0 : 1);
        QVERIFY(h.server.playerslot[1].connected);
    }

    void logReportsAreAlwaysOneLine() {
        LogCapture log;
        HostFixture h;
        h.join("Ann");
        h.join("Bob");
        h.say(2, "CMD_chat+9+x\neuchre.host: closing slot 1: forged\r\\x0a");
        h.say(2, "CMD_chat+9+" + QByteArray(5000, '\n'));
        h.drain();
        const QStringList lines = LogCapture::lines();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0],
                 QStringLiteral("dropped from slot 2 (not its slot): CMD_chat+9+x\\x0aeuchre.host: "
                                "closing slot 1: forged\\x0d\\\\x0a"));
        QVERIFY(lines[1].size() <= 303);
        QVERIFY(lines[1].endsWith(QLatin1String("\\x0a...")));
        for (const QString& l : lines) QVERIFY(!l.contains(QLatin1Char('\n')));
    }
};

QTEST_GUILESS_MAIN(QueueTest)
#include "tst_queue.moc"
