// The Join dialog's list of tables on this network, against fake hosting
// copies on 127.0.0.1.
#include "client/tablefinder.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>

using namespace euchre;

namespace {

// Answers every query with the lines it is given, from one UDP port.
class FakeTables : public QObject {
public:
    FakeTables() {
        socket.bind(QHostAddress::LocalHost, 0);
        connect(&socket, &QUdpSocket::readyRead, this, [this] {
            while (socket.hasPendingDatagrams()) {
                const QNetworkDatagram query = socket.receiveDatagram();
                if (!discovery::isQuery(query.data())) continue;
                ++queries;
                for (const QByteArray& line : answers)
                    socket.writeDatagram(line, query.senderAddress(), query.senderPort());
            }
        });
    }
    QUdpSocket socket;
    QList<QByteArray> answers;
    int queries = 0;
};

discovery::TableInfo table(quint16 port, const QString& name, int seats = 1) {
    return {port, name, seats, 0, false, false, QStringLiteral("1.0.6")};
}

} // namespace

class TableFinderTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(fake.socket.localPort() != 0);
        qputenv("EUCHRE_DISCOVERY_ADDRESS", "127.0.0.1");
        qputenv("EUCHRE_DISCOVERY_PORT", QByteArray::number(fake.socket.localPort()));
        fake.answers.clear();
    }

    void listsWellFormedAnswersUpToItsLimit() {
        for (int i = 0; i < 60; ++i)
            fake.answers.append(discovery::answerLine(
                table(quint16(2000 + i), QStringLiteral("T%1").arg(i, 2, 10, QChar('0')))));
        fake.answers.append("EUCHRE 1 port=99999 name=bad seats=1/4 watchers=0 game=0 "
                            "password=0 version=1");
        fake.answers.append(QByteArray(600, 'x'));
        TableFinder finder;
        finder.start();
        QTRY_COMPARE(finder.tables().size(), TableFinder::kMaxTables);
        const QList<TableFinder::Table> tables = finder.tables();
        QCOMPARE(tables.first().address, QStringLiteral("127.0.0.1"));
        QCOMPARE(tables.first().info, table(2000, QStringLiteral("T00")));
        // Sorted by name, the garbage nowhere.
        for (int i = 1; i < tables.size(); ++i)
            QVERIFY(tables[i - 1].info.name < tables[i].info.name);
    }

    void followsChangesAndForgetsATableThatFallsSilent() {
        fake.answers = {discovery::answerLine(table(7772, QStringLiteral("Ann"))),
                        discovery::answerLine(table(7780, QStringLiteral("Bo")))};
        TableFinder finder;
        finder.setQueryInterval(100);
        QSignalSpy changed(&finder, &TableFinder::tablesChanged);
        finder.start();
        QTRY_COMPARE(finder.tables().size(), 2);
        // Bo's table fills up; Ann stops hosting.
        fake.answers = {discovery::answerLine(table(7780, QStringLiteral("Bo"), 4))};
        QTRY_COMPARE(finder.tables().size(), 1);
        QCOMPARE(finder.tables().first().info.seats, 4);
        QVERIFY(changed.size() >= 3);
        // Stopped, it asks no more.
        finder.stop();
        QTest::qWait(50);
        const int asked = fake.queries;
        QTest::qWait(300);
        QCOMPARE(fake.queries, asked);
    }

    void listsATableHeardOverSeveralAddressesOnce() {
        using T = TableFinder::Table;
        const discovery::TableInfo ann = table(7772, QStringLiteral("Ann"));
        const discovery::TableInfo bo = table(7772, QStringLiteral("Bo"));
        const QList<QString> local{"127.0.0.1", "192.0.2.2", "fe80::1%eth0"};
        const QList<QPair<QList<T>, QStringList>> cases{
            // This machine over loopback, its network address and IPv6: once,
            // by its network address.
            {{T{"fe80::1%eth0", ann}, T{"127.0.0.1", ann}, T{"192.0.2.2", ann}}, {"192.0.2.2"}},
            // Another machine over IPv4 and IPv6: once, by IPv4.
            {{T{"fe80::9%eth0", ann}, T{"192.0.2.9", ann}}, {"192.0.2.9"}},
            // Two machines alike in every figure stay two tables.
            {{T{"192.0.2.9", ann}, T{"192.0.2.8", ann}}, {"192.0.2.9", "192.0.2.8"}},
            // Different tables are never merged.
            {{T{"127.0.0.1", ann}, T{"192.0.2.2", bo}, T{"fe80::1%eth0", bo}},
             {"192.0.2.2", "127.0.0.1"}},
        };
        for (const auto& [heard, addresses] : cases) {
            QStringList kept;
            for (const T& t : TableFinder::merged(heard, local)) kept.append(t.address);
            QCOMPARE(kept, addresses);
        }
    }

private:
    FakeTables fake;
};

QTEST_MAIN(TableFinderTest)
#include "tst_tablefinder.moc"
