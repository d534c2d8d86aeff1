// A real table window (offscreen) under chat floods: from a player through
// the stand-alone host, and from a hostile host that sends huge lines. The
// window stays connected, shows every line cut to size, and its memory stays
// small.
#include "chat/chatbox.h"
#include "client/tchat.h"
#include "integration/support/hostprocess.h"
#include "integration/support/wireclient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <limits>

using namespace euchre;
using namespace euchre::testing;

namespace {

constexpr int kWait = 15000;

qint64 residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The text of the log's newest paragraph.
QString lastShown(const Tchat& t) {
    const auto& paragraphs = t.chat()->log()->paragraphs();
    QString text;
    if (!paragraphs.isEmpty())
        for (const auto& item : paragraphs.last()) text += item.text;
    return text;
}

// The window's memory may grow by no more than this while it is flooded.
// The address sanitizer holds freed memory back for a while, so there only
// the log's own counts are checked.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kMaxGrowthKiB = std::numeric_limits<qint64>::max();
#else
constexpr qint64 kMaxGrowthKiB = 40 * 1024;
#endif

} // namespace

class ChatFloodTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;

    std::unique_ptr<Tchat> joinAt(quint16 port, const QString& name) {
        auto table = std::make_unique<Tchat>();
        table->message = [](const QString&, std::function<void()>) {};
        table->setGamePort(port);
        table->setCompanionPort(freePort());
        table->processparams({name, QStringLiteral("127.0.0.1"), QStringLiteral("no")});
        return table;
    }

private slots:
    void initTestCase() { qputenv("EUCHRE_HOME", home.path().toLocal8Bit()); }

    void aPlayersFloodOfHugeLinesLeavesTheWindowConnected() {
        HostProcess host;
        const quint16 port = host.start(QStringLiteral(EUCHRE_HOST_BIN),
                                        {QStringLiteral("--port"), QStringLiteral("0")});
        QVERIFY2(port != 0, host.out.constData());
        const std::unique_ptr<Tchat> table = joinAt(port, QStringLiteral("Watcher"));
        QTRY_VERIFY_WITH_TIMEOUT(table->isLoggedIn(), kWait);
        WireClient mallory;
        mallory.connectTo(port);
        QTRY_COMPARE_WITH_TIMEOUT(mallory.slot(), 2, kWait);
        mallory.say("CMD_logininfo+2+1.0.6+Mallory");
        const qint64 before = residentKiB();

        // Five seconds of 60,000-character lines, 20 a second, each with a
        // line as long as anyone may type.
        const QByteArray huge = "CMD_chat+2+" + QByteArray(60000, 'x') + "|clBlack\xFF";
        const QByteArray longest = "CMD_chat+2+" + QByteArray(1000, 'y') + "|clBlack\xFF";
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; clock.elapsed() < 5000; ++i) {
            mallory.sendRaw(huge + longest);
            QTest::qWait(50);
        }
        mallory.say("CMD_chat+2+still there?|clBlack");
        QTRY_COMPARE_WITH_TIMEOUT(lastShown(*table),
                                  QStringLiteral("Mallory chats:  still there? "), kWait);
        const qint64 after = residentKiB();
        qInfo("window memory %lld -> %lld KiB", before, after);
        QVERIFY(table->isLoggedIn());
        QVERIFY2(after - before < kMaxGrowthKiB, qPrintable(QString::number(after - before)));
        for (const auto& para : table->chat()->log()->paragraphs())
            for (const auto& item : para) QVERIFY(item.text.size() <= 1001);
        host.stopWith(SIGTERM);
    }

    void aHostilesHostsHugeLinesAreShownCutAndForgotten_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("shownEnd");
        QTest::newRow("one word") << QByteArray(60000, 'x') << QStringLiteral("xx\u2026 ");
        QTest::newRow("many words")
            << QByteArray("ab ").repeated(20000) << QStringLiteral("ab \u2026 ");
        QTest::newRow("smilies") << QByteArray(":)#12").repeated(12000)
                                 << QStringLiteral("\u2026 ");
        QTest::newRow("links") << QByteArray("www.a.example ").repeated(4300)
                               << QStringLiteral("\u2026 ");
    }

    void aHostilesHostsHugeLinesAreShownCutAndForgotten() {
        QFETCH(QByteArray, body);
        QTcpServer fake;
        QVERIFY(fake.listen(QHostAddress::LocalHost, 0));
        const std::unique_ptr<Tchat> table = joinAt(fake.serverPort(), QStringLiteral("Me"));
        QTRY_VERIFY_WITH_TIMEOUT(fake.hasPendingConnections(), kWait);
        QTcpSocket* host = fake.nextPendingConnection();
        host->write("CMD_sendlogininfo+2\xFF");
        QTRY_VERIFY_WITH_TIMEOUT(table->isLoggedIn(), kWait);
        const qint64 before = residentKiB();

        // 750 such lines, sent as fast as the window's queue takes them.
        const QByteArray line = "CMD_chat+3+Mallory chats: " + body + "|clBlack\xFF";
        qint64 slowest = 0;
        for (int sent = 0; sent < 750;) {
            if (table->queuedCount() < 20 && host->bytesToWrite() < 4 * line.size()) {
                host->write(line);
                ++sent;
            }
            QElapsedTimer tick;
            tick.start();
            QTest::qWait(1);
            slowest = qMax(slowest, tick.elapsed());
        }
        host->write("CMD_chat+3+Mallory chats: done|clBlack\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(lastShown(*table), QStringLiteral("Mallory chats:  done "),
                                  60000);
        const qint64 after = residentKiB();
        qInfo("window memory %lld -> %lld KiB; longest pause of the event loop %lld ms", before,
              after, slowest);
        QVERIFY2(after - before < kMaxGrowthKiB, qPrintable(QString::number(after - before)));
        const auto& paragraphs = table->chat()->log()->paragraphs();
        QString cut;
        for (const auto& item : paragraphs[paragraphs.size() - 2]) cut += item.text;
        QVERIFY2(cut.endsWith(QStringLiteral("\u2026 ")), qPrintable(cut.right(20)));
        QVERIFY(table->chat()->log()->textChars() <= ChatLog::kMaxTextChars);
    }

    void theInputTakesNoMoreThanTheHostRelays() {
        ChatBox* chat = nullptr;
        const std::unique_ptr<Tchat> table = std::make_unique<Tchat>();
        chat = table->chat();
        chat->input()->setText(QString(1500, QLatin1Char('z')));
        QCOMPARE(chat->input()->text().size(), 1000);
    }
};

QTEST_MAIN(ChatFloodTest)
#include "tst_chatflood.moc"
