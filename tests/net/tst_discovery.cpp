// The discovery query and answer: what a host writes, a joining window reads
// back, and nothing malformed gets through.
#include "net/discovery.h"

#include <QtTest>

using namespace euchre::discovery;

class DiscoveryTest : public QObject {
    Q_OBJECT
private slots:
    void onlyTheExactQueryIsAQuery() {
        QVERIFY(isQuery("EUCHRE?1"));
        for (const QByteArray& other :
             {QByteArray("EUCHRE?2"), QByteArray("EUCHRE?1\n"), QByteArray("euchre?1"),
              QByteArray(""), QByteArray("EUCHRE?1\0", 9)})
            QVERIFY2(!isQuery(other), other.constData());
    }

    void answersReadBackAsWritten() {
        const TableInfo plain{7772,  QStringLiteral("Ann Lee"), 2, 1, true,
                              false, QStringLiteral("1.0.6")};
        QCOMPARE(answerLine(plain),
                 QByteArray("EUCHRE 1 port=7772 name=Ann Lee seats=2/4 watchers=1 game=1 "
                            "password=0 version=1.0.6"));
        // A name that looks like the fields after it still reads back whole.
        const TableInfo tricky{
            1, QStringLiteral("x seats=4/4 ä"), 0, 0, false, true, QStringLiteral("2")};
        for (const TableInfo& info : {plain, tricky}) {
            const std::optional<TableInfo> back = readAnswer(answerLine(info));
            QVERIFY(back);
            QCOMPARE(*back, info);
        }
    }

    void aLongNameIsCutToOneDatagramAtACharacter() {
        TableInfo info{7772,  QString(400, QChar(0x00e9)), 4, 5, false,
                       false, QStringLiteral("1.0.6")};
        const QByteArray line = answerLine(info);
        QVERIFY(line.size() <= kMaxAnswerBytes);
        const std::optional<TableInfo> back = readAnswer(line);
        QVERIFY(back);
        QVERIFY(info.name.startsWith(back->name));
        QVERIFY(back->name.size() > 200);
        QVERIFY(!back->name.contains(QChar::ReplacementCharacter));
    }

    void malformedAnswersAreRefused() {
        const QByteArray good =
            "EUCHRE 1 port=7772 name=A seats=1/4 watchers=0 game=0 password=0 version=1";
        QVERIFY(readAnswer(good));
        const QList<QByteArray> bad{
            "EUCHRE 2 port=7772 name=A seats=1/4 watchers=0 game=0 password=0 version=1",
            "EUCHRE 1 port=0 name=A seats=1/4 watchers=0 game=0 password=0 version=1",
            "EUCHRE 1 port=70000 name=A seats=1/4 watchers=0 game=0 password=0 version=1",
            "EUCHRE 1 port=77x2 name=A seats=1/4 watchers=0 game=0 password=0 version=1",
            "EUCHRE 1 port=7772 name=A seats=5/4 watchers=0 game=0 password=0 version=1",
            "EUCHRE 1 port=7772 name=A seats=1/5 watchers=0 game=0 password=0 version=1",
            "EUCHRE 1 port=7772 name=A seats=1/4 watchers=-1 game=0 password=0 version=1",
            "EUCHRE 1 port=7772 name=A seats=1/4 watchers=0 game=2 password=0 version=1",
            "EUCHRE 1 port=7772 name=A seats=1/4 watchers=0 game=0 password=yes version=1",
            "EUCHRE 1 port=7772 name=A seats=1/4 watchers=0 game=0 password=0",
            "EUCHRE 1 port=7772 name=A seats=1/4 watchers=0 game=0 password=0 version=1 x=2",
            "EUCHRE 1 port=7772 seats=1/4 watchers=0 game=0 password=0 version=1",
            good + QByteArray(kMaxAnswerBytes, 'x'),
            "",
        };
        for (const QByteArray& line : bad) QVERIFY2(!readAnswer(line), line.constData());
    }

    void thePortComesFromTheEnvironmentWhenValid() {
        const QList<QPair<QByteArray, quint16>> cases{{"", kDefaultPort},
                                                      {"9000", 9000},
                                                      {"0", kDefaultPort},
                                                      {"65536", kDefaultPort},
                                                      {"12ab", kDefaultPort}};
        for (const auto& [value, port] : cases) {
            qputenv("EUCHRE_DISCOVERY_PORT", value);
            QCOMPARE(portFromEnvironment(), port);
        }
        qunsetenv("EUCHRE_DISCOVERY_PORT");
    }
};

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "tst_discovery.moc"
