// One running copy: later copies hand over; stale names are recovered.
#include "app/instanceguard.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using euchre::InstanceGuard;

class TestInstanceGuard : public QObject {
    Q_OBJECT

    int m_serial = 0;
    // Unique per test and per process, so parallel runs never meet.
    QString uniqueName() {
        return QStringLiteral("euchre-test-%1-%2")
            .arg(QCoreApplication::applicationPid())
            .arg(++m_serial);
    }

private slots:
    void aSecondCopyActivatesTheFirstAndStops() {
        const QString name = uniqueName();
        InstanceGuard first(name);
        QSignalSpy activated(&first, &InstanceGuard::activationRequested);
        QVERIFY(first.tryBecomeFirst());
        QVERIFY(first.isListening());

        InstanceGuard second(name);
        QVERIFY(!second.tryBecomeFirst());
        QVERIFY(!second.isListening());
        QTRY_COMPARE(activated.count(), 1);

        // Every later start asks again.
        InstanceGuard third(name);
        QVERIFY(!third.tryBecomeFirst());
        QTRY_COMPARE(activated.count(), 2);
    }

    void differentNamesRunSideBySide() {
        InstanceGuard one(uniqueName());
        InstanceGuard two(uniqueName());
        QVERIFY(one.tryBecomeFirst());
        QVERIFY(two.tryBecomeFirst());
    }

    void theNameIsFreedWhenTheFirstCopyEnds() {
        const QString name = uniqueName();
        {
            InstanceGuard first(name);
            QVERIFY(first.tryBecomeFirst());
        }
        InstanceGuard next(name);
        QVERIFY(next.tryBecomeFirst());
    }

#ifdef Q_OS_UNIX
    void aNameLeftByACrashedCopyIsTakenOver() {
        const QString name = uniqueName();
        // What a killed copy leaves: a socket file nobody listens on.
        const QString path = QDir(QDir::tempPath()).filePath(name);
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(native.size()) < sizeof(address.sun_path));
        memcpy(address.sun_path, native.constData(), size_t(native.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(path));

        InstanceGuard recovering(name);
        QSignalSpy activated(&recovering, &InstanceGuard::activationRequested);
        QVERIFY(recovering.tryBecomeFirst());
        QVERIFY(recovering.isListening());

        InstanceGuard later(name);
        QVERIFY(!later.tryBecomeFirst());
        QTRY_COMPARE(activated.count(), 1);
    }
#endif

    void onlyTheActivateRequestActivates() {
        const QString name = uniqueName();
        InstanceGuard first(name);
        QVERIFY(first.tryBecomeFirst());
        QSignalSpy activated(&first, &InstanceGuard::activationRequested);

        QLocalSocket stranger;
        stranger.connectToServer(name);
        QVERIFY(stranger.waitForConnected(1000));
        stranger.write("hello\nACTIVATE\nactivate now\n");
        stranger.write(QByteArray(500, 'x')); // a line that never ends
        stranger.flush();
        // The guard drops such a connection.
        QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(activated.count(), 0);

        QLocalSocket friendly;
        friendly.connectToServer(name);
        QVERIFY(friendly.waitForConnected(1000));
        friendly.write("activate\n");
        QTRY_COMPARE(activated.count(), 1);
    }

    // A start that asks to host or join hands its arguments to the running
    // copy, which gets them only whole and only with the activation.
    void argumentsAreHandedOverWithTheActivation() {
        const QString name = uniqueName();
        InstanceGuard first(name);
        QVERIFY(first.tryBecomeFirst());
        QSignalSpy activated(&first, &InstanceGuard::activationRequested);
        QSignalSpy handed(&first, &InstanceGuard::argumentsHandedOver);

        const QStringList args = {"--join", "[2001:db8::5]:7772", "--name", "Zoë +|:"};
        InstanceGuard later(name);
        QVERIFY(!later.tryBecomeFirst(args));
        QTRY_COMPARE(handed.count(), 1);
        QCOMPARE(handed[0][0].toStringList(), args);
        QCOMPARE(activated.count(), 1);

        // Too long to hand over: left out, the activation still comes.
        InstanceGuard another(name);
        QVERIFY(!another.tryBecomeFirst({QString(InstanceGuard::maxArgumentBytes + 1, u'x')}));
        QTRY_COMPARE(activated.count(), 2);
        QCOMPARE(handed.count(), 1);

        // An argument line that is not Base64, or one too many, ends the connection.
        for (const QByteArray& bad : {QByteArray("arg !!!\nactivate\n"),
                                      QByteArray("arg eA==\n").repeated(9) + "activate\n"}) {
            QLocalSocket stranger;
            stranger.connectToServer(name);
            QVERIFY(stranger.waitForConnected(1000));
            stranger.write(bad);
            stranger.flush();
            QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
        }
        QCOMPARE(activated.count(), 2);
        QCOMPARE(handed.count(), 1);
    }

    void nameComesFromTheEnvironment() {
        const QByteArray saved = qgetenv("EUCHRE_INSTANCE");
        qputenv("EUCHRE_INSTANCE", "table two");
        QCOMPARE(InstanceGuard::defaultName(), QString("table_two"));
        qputenv("EUCHRE_INSTANCE", "../../etc/x");
        QVERIFY(!InstanceGuard::defaultName().contains(u'/'));
        qunsetenv("EUCHRE_INSTANCE");
        QVERIFY(InstanceGuard::defaultName().startsWith("77morb"));
        if (!saved.isNull()) qputenv("EUCHRE_INSTANCE", saved);
    }
};

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "tst_instanceguard.moc"
