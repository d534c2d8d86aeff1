// The discovery port of a hosting copy on 127.0.0.1: the exact query gets
// the table's figures, nothing else gets a word, answers are capped, and a
// taken port is said.
#include "host/discoveryresponder.h"
#include "host/support/hostfixture.h"

#include <QUdpSocket>
#include <QtTest>

using namespace euchre;
using namespace euchre::testing;

namespace {

// Every datagram that has come back to the socket so far.
QByteArrayList received(QUdpSocket& socket) {
    QByteArrayList out;
    while (socket.hasPendingDatagrams()) {
        QByteArray bytes(static_cast<int>(qMax<qint64>(0, socket.pendingDatagramSize())), '\0');
        socket.readDatagram(bytes.data(), bytes.size());
        out.append(bytes);
    }
    return out;
}

} // namespace

class DiscoveryResponderTest : public QObject {
    Q_OBJECT
private slots:
    void answersTheExactQueryWithTheTablesFigures() {
        HostFixture h;
        QVERIFY(h.server.startListening(0));
        h.server.setPassword("secret");
        for (const char* name : {"Ann", "Bob", "Cat", "Dan", "Eve"}) h.join(name);
        h.say(1, "CMD_startgame+Ann+10+");
        h.say(3, "CMD_justwatch+3+1");
        h.drain();
        QVERIFY(h.server.startDiscovery(0));
        const quint16 port = h.server.discoveryPort();
        QVERIFY(port != 0);

        QUdpSocket asker;
        QVERIFY(asker.bind(QHostAddress::LocalHost, 0));
        const QHostAddress here = QHostAddress::LocalHost;
        QByteArray longer = QByteArray(discovery::kQuery) + '\0';
        for (const QByteArray& noise :
             {QByteArray(), QByteArray("EUCHRE?"), QByteArray("EUCHRE?2"), QByteArray("euchre?1"),
              longer, QByteArray("EUCHRE?1\n"), QByteArray(600, '\xFF')})
            asker.writeDatagram(noise, here, port);
        asker.writeDatagram(QByteArray(discovery::kQuery), here, port);

        QByteArrayList answers;
        QTRY_VERIFY_WITH_TIMEOUT(!(answers += received(asker)).isEmpty(), 5000);
        QTest::qWait(200); // room for an answer to the noise, which must not come
        answers += received(asker);
        QCOMPARE(answers.size(), 1);
        const std::optional<discovery::TableInfo> info = discovery::readAnswer(answers[0]);
        QVERIFY2(info, answers[0].constData());
        const discovery::TableInfo expected{
            h.server.listeningPort(), QStringLiteral("Ann"), 3, 2, true, true,
            QStringLiteral("1.0.6")};
        QCOMPARE(*info, expected);

        // A second table cannot take the same port: it is told so.
        DiscoveryResponder second([] { return discovery::TableInfo(); });
        QString error;
        QVERIFY(!second.start(port, &error));
        QVERIFY(!error.isEmpty());

        h.server.stopDiscovery();
        QCOMPARE(h.server.discoveryPort(), quint16(0));
    }

    void answersAreCappedInAllWhoeverAsks() {
        DiscoveryResponder responder([] {
            return discovery::TableInfo{7772,  QStringLiteral("Ann"),  1, 0, false,
                                        false, QStringLiteral("1.0.6")};
        });
        QVERIFY(responder.start(0));
        // Three askers, sixty queries at once.
        std::array<QUdpSocket, 3> askers;
        for (QUdpSocket& a : askers) QVERIFY(a.bind(QHostAddress::LocalHost, 0));
        for (int i = 0; i < 60; ++i)
            askers[i % 3].writeDatagram(QByteArray(discovery::kQuery), QHostAddress::LocalHost,
                                        responder.port());
        QTRY_COMPARE_WITH_TIMEOUT(responder.answered() + responder.capped(), qint64(60), 5000);
        QCOMPARE(responder.answered(), qint64(DiscoveryResponder::kMaxAnswersPerSecond));
        int back = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            (back += static_cast<int>(received(askers[0]).size() + received(askers[1]).size() +
                                      received(askers[2]).size())) == 20,
            5000);
    }
};

QTEST_MAIN(DiscoveryResponderTest)
#include "tst_discoveryresponder.moc"
