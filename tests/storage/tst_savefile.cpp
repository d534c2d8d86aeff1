// Saving files whole: the helper's cases one by one, then a child that saves
// every kind of file the program writes, killed at random moments, again and
// again: every file stays whole and no save it reported is lost.
#include "storage/savefile.h"
#include "storage/support/savedfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <functional>

using namespace euchre;
using namespace euchre::testing;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// The folder's files other than the ones named.
QStringList others(const QString& folder, const QStringList& names) {
    QStringList found = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) found.removeAll(name);
    return found;
}

} // namespace

class SaveFileTest : public QObject {
    Q_OBJECT

private slots:
    void savesWholeOrLeavesTheOldFile() {
        struct Case {
            const char* name;
            std::function<void(const QString& file)> before; // given the file's path
            bool saved;
            QByteArray after; // the file's content afterwards
        };
        const QByteArray fresh = "new text\n";
        SaveFile* holder = nullptr;
        const Case cases[] = {
            {"a new file", [](const QString&) {}, true, fresh},
            {"an old file replaced", [](const QString& f) { put(f, "old"); }, true, fresh},
            {"the scratch of a killed save taken over",
             [](const QString& f) {
                 put(f, "old");
                 put(SaveFile::scratchPath(f), "half a sa");
             },
             true, fresh},
            {"the scratch in use by another save",
             [&holder](const QString& f) {
                 put(f, "old");
                 holder = new SaveFile(f);
                 QVERIFY(holder->open());
                 holder->device().write("other");
             },
             true, fresh},
            {"a folder that is not there",
             [](const QString& f) { QVERIFY(QDir(QFileInfo(f).path()).removeRecursively()); },
             false, "<missing>"},
        };
        for (const Case& c : cases) {
            QTemporaryDir dir;
            const QString file = dir.filePath(QStringLiteral("sub/file.txt"));
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("sub"))));
            c.before(file);
            QString error;
            QVERIFY2(saveWhole(file, fresh, &error) == c.saved, c.name);
            QVERIFY2(c.saved == error.isEmpty(), c.name);
            QVERIFY2(contents(file) == c.after, c.name);
            delete std::exchange(holder, nullptr); // the other save gives up: nothing left
            if (c.saved)
                QVERIFY2(others(QFileInfo(file).path(), {QStringLiteral("file.txt")}).isEmpty(),
                         c.name);
        }
    }

    void keepsLinksAndPermissionsAndDropsWhatIsNotCommitted() {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("target.ini"));
        const QString link = dir.filePath(QStringLiteral("link.ini"));
        put(target, "old");
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
        const QFile::Permissions permissions = QFile::permissions(target);
        QVERIFY(QFile::link(target, link));

        QVERIFY(saveWhole(link, "new"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(target), QByteArray("new"));
        QCOMPARE(QFile::permissions(target), permissions);

        {
            SaveFile unfinished(target);
            QVERIFY(unfinished.open());
            unfinished.device().write("never committed");
        }
        QCOMPARE(contents(target), QByteArray("new"));
        QCOMPARE(others(dir.path(), {QStringLiteral("target.ini"), QStringLiteral("link.ini")}),
                 QStringList());
    }

    // EUCHRE_KILL_ROUNDS sets the number of kills; the default keeps the
    // test to a few seconds.
    void everyFileIsWholeAfterEveryKill() {
        const int rounds = qEnvironmentVariableIntValue("EUCHRE_KILL_ROUNDS") > 0
                               ? qEnvironmentVariableIntValue("EUCHRE_KILL_ROUNDS")
                               : 40;
        QTemporaryDir dir;
        QStringList names;
        for (SavedKind kind : kSavedKinds) {
            names << savedFileName(kind) << SaveFile::scratchPath(savedFileName(kind));
        }
        int reported = 0;
        int midSave = 0; // kills that caught a file saved and its round not yet reported
        for (int round = 0; round < rounds; ++round) {
            QProcess saver;
            saver.start(QStringLiteral(EUCHRE_SAVER_BIN), {dir.path()});
            QVERIFY(saver.waitForReadyRead(10000));
            // Every fourth child lives to report a save before its kill, so
            // that reports come however slow the machine is.
            if (round % 4 == 3)
                QVERIFY(QTest::qWaitFor([&] { return saver.peek(64).count('\n') >= 2; }, 10000));
            QThread::usleep(QRandomGenerator::global()->bounded(30000));
            ::kill(static_cast<pid_t>(saver.processId()), SIGKILL);
            QVERIFY(saver.waitForFinished(10000));
            const QByteArray err = saver.readAllStandardError();
            QVERIFY2(err.isEmpty(), err.constData());
            QByteArray out = saver.readAllStandardOutput();
            out.truncate(out.lastIndexOf('\n') + 1); // a line cut by the kill was not reported
            const QList<QByteArray> lines = out.trimmed().split('\n');
            QVERIFY(lines.value(0).startsWith("ready "));
            // The child goes on after the highest counter it found, which a
            // round cut short may have saved without reporting it.
            int started = lines.value(0).mid(6).toInt();
            if (lines.size() > 1) started = reported = lines.last().toInt();

            bool ahead = false;
            for (SavedKind kind : kSavedKinds) {
                const std::optional<int> counter = readCounter(kind, dir.path());
                const QByteArray what = savedFileName(kind).toUtf8();
                QVERIFY2(counter, what + " is not whole");
                QVERIFY2(*counter >= reported && *counter <= started + 1,
                         what + " holds " + QByteArray::number(*counter) + ", reported " +
                             QByteArray::number(reported));
                ahead = ahead || *counter > reported;
            }
            midSave += ahead ? 1 : 0;
            QCOMPARE(others(dir.path(), names), QStringList());
        }
        qInfo("%d kills, %d rounds saved, %d kills between a round's saves", rounds, reported,
              midSave);
        QVERIFY(reported > 0);
    }
};

QTEST_GUILESS_MAIN(SaveFileTest)
#include "tst_savefile.moc"
