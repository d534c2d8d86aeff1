// The tally window: its grid text, recording games, following, dropping and
// resetting, and the tally file kept current, set aside when unreadable and
// never half-written.
#include "tally/tallyfile.h"
#include "tally/ttallylist.h"

#include "tally/support/files.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace euchre;
using G = TallyGrid;

namespace {

// Every row as "name c1 c2 ... c8", own totals first.
QStringList rows(const TallyGrid& grid) {
    QStringList out;
    for (int row = 0; row < grid.rowCount(); ++row) {
        QStringList cells{grid.cell(0, row)};
        for (int column = 1; column < G::kColumns; ++column)
            cells << QString::number(grid.count(column, row));
        out << cells.join(QLatin1Char(' '));
    }
    return out;
}

QStringList entries(const QListWidget* list, bool tickedOnly = false) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (!tickedOnly || list->item(i)->checkState() == Qt::Checked) out << list->item(i)->text();
    return out;
}

QListWidgetItem* entry(const QListWidget* list, const QString& name) {
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

// A window whose questions are answered by `answer`, following `followed`.
struct Window {
    explicit Window(const QStringList& followed = {}, bool answer = true) {
        tally.ask = [this](const QString& text, std::function<void(bool)> reply) {
            questions << text;
            reply(yes);
        };
        yes = answer;
        tally.loadchecklist(followed);
        for (const QString& name : followed)
            entry(tally.checklist(), name)->setCheckState(Qt::Checked);
    }
    Ttallylist tally;
    bool yes = true;
    QStringList questions;
};

} // namespace

class TestTallylist : public QObject {
    Q_OBJECT
private slots:
    void gridText();
    void addgame_data();
    void addgame();
    void followAndDrop_data();
    void followAndDrop();
    void reset();
    void keptBetweenRuns();
    void unreadableFileIsSetAside_data();
    void unreadableFileIsSetAside();
    void failedSaveKeepsTheOldFile();
};

void TestTallylist::gridText() {
    TallyGrid grid;
    for (const int column : {G::kGames, G::kGames, G::kGames, G::kWins, G::kWins, G::kEuchres})
        grid.addit(column, 0);
    grid.addRow(QStringLiteral("Klot"));
    const QByteArray text = "9\r\n2\r\n0\r\nKlot\r\n3\r\n0\r\n2\r\n0\r\n0\r\n0\r\n1\r\n0\r\n" +
                            QByteArray("0\r\n").repeated(8);
    QCOMPARE(grid.text(), text);
    QCOMPARE(rows(TallyGrid::fromText(text).value()), rows(grid));
    // Text from an older copy, one byte per character and bare line feeds.
    QCOMPARE(TallyGrid::fromText("9\n2\n0\nZo\xeb\n" + QByteArray("0\n").repeated(16))->cell(0, 1),
             QStringLiteral("Zoë"));
    for (const QByteArray& damaged :
         {QByteArray("8\r\n1\r\n") + QByteArray("0\r\n").repeated(8), QByteArray("9\r\n2\r\n"),
          text.left(text.size() - 3), QByteArray(text).replace("Klot\r\n3", "Klot\r\nx3")})
        QVERIFY2(!TallyGrid::fromText(damaged), damaged.constData());
}

void TestTallylist::addgame_data() {
    QTest::addColumn<QStringList>("atTable");
    QTest::addColumn<QStringList>("followed");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QStringList>("expected");
    const QStringList table{"Klot", "Pat", "Kling"};
    const QStringList all{"Pat", "Klot", "Kling", "Far"};
    QTest::newRow("won with the partner")
        << table << all << Ttallylist::kAddToMine << "Pat"
        << QStringList{"0 1 1 0 0 0 0 0 0", "Pat 1 0 0 1 1 0 0 1", "Klot 1 0 1 0 1 0 1 0",
                       "Kling 1 0 1 0 1 0 1 0", "Far 0 0 0 0 0 0 0 0"};
    QTest::newRow("lost to the two opponents")
        << table << all << "Klot"
        << "Kling"
        << QStringList{"0 1 0 0 0 0 0 0 0", "Pat 1 0 0 0 1 0 0 0", "Klot 1 1 0 0 1 1 0 0",
                       "Kling 1 1 0 0 1 1 0 0", "Far 0 0 0 0 0 0 0 0"};
    QTest::newRow("lost, only the second winner followed")
        << table << QStringList{"Kling"} << "Klot"
        << "Kling" << QStringList{"0 1 0 0 0 0 0 0 0", "Kling 1 1 0 0 1 1 0 0"};
    QTest::newRow("two seats showing the same name")
        << QStringList{"Klot", "Klot", "Kling"} << QStringList{"Klot", "Kling"}
        << Ttallylist::kAddToMine << "Klot"
        << QStringList{"0 1 1 0 0 0 0 0 0", "Klot 2 0 0 2 2 0 0 2", "Kling 1 0 1 0 1 0 1 0"};
}

void TestTallylist::addgame() {
    QFETCH(QStringList, atTable);
    QFETCH(QStringList, followed);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QStringList, expected);
    Window w(followed);
    w.tally.tableNames = [atTable] { return atTable; };
    w.tally.addgame(first, second);
    QCOMPARE(rows(w.tally.grid()), expected);
    QCOMPARE(w.tally.findChild<QLabel*>("mylabel_1")->text(), QStringLiteral("1"));
    QCOMPARE(entries(w.tally.checklist()), atTable);
}

void TestTallylist::followAndDrop_data() {
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("first, yes") << "A" << true << QStringList{"B", "C"};
    QTest::newRow("middle, yes") << "B" << true << QStringList{"A", "C"};
    QTest::newRow("last, yes") << "C" << true << QStringList{"A", "B"};
    QTest::newRow("middle, no") << "B" << false << QStringList{"A", "B", "C"};
}

// Each followed player carries his own count (A 1, B 2, C 3) so that a row
// moved to the wrong place shows.
void TestTallylist::followAndDrop() {
    QFETCH(QString, dropped);
    QFETCH(bool, yes);
    QFETCH(QStringList, remaining);
    Window w({"A", "B", "C"}, yes);
    QCOMPARE(entries(w.tally.tallyList(), true), QStringList({"A", "B", "C"}));
    for (int row = 1; row <= 3; ++row)
        for (int n = 0; n < row; ++n) w.tally.addit(G::kTogether, row);
    // Unticking a followed name among the players at the table drops nobody.
    entry(w.tally.checklist(), "A")->setCheckState(Qt::Unchecked);
    QCOMPARE(entry(w.tally.checklist(), "A")->checkState(), Qt::Checked);

    entry(w.tally.tallyList(), dropped)->setCheckState(Qt::Unchecked);
    QCOMPARE(w.questions,
             QStringList{"This will delete " + dropped + "'s Tally, Are you want to delete it?"});
    QCOMPARE(entries(w.tally.tallyList(), true), remaining);
    QCOMPARE(entries(w.tally.checklist(), true), remaining);
    QStringList expected{"0 0 0 0 0 0 0 0 0"};
    for (const QString& name : remaining)
        expected << name + QStringLiteral(" %1 0 0 0 0 0 0 0").arg(name[0].unicode() - 'A' + 1);
    QCOMPARE(rows(w.tally.grid()), expected);

    // Dropping the rest leaves the own totals alone.
    for (const QString& name : remaining)
        entry(w.tally.tallyList(), name)->setCheckState(Qt::Unchecked);
    QCOMPARE(w.tally.grid().rowCount(), yes ? 1 : 4);
}

void TestTallylist::reset() {
    for (const bool yes : {false, true}) {
        Window w({"A"}, yes);
        w.tally.addgame(Ttallylist::kAddToMine, "A");
        w.tally.addtomineincrease(G::kMarches);
        w.tally.tallyList()->setCurrentRow(0);
        QCOMPARE(w.tally.findChild<QLabel*>("label_hisnametop")->text(),
                 QStringLiteral("A's Tally"));
        QCOMPARE(w.tally.findChild<QLabel*>("label_8")->text(), QStringLiteral("1"));
        w.tally.button_resetClick();
        QCOMPARE(w.questions, QStringList{"Are you sure you want to reset the Tally?"});
        const QStringList expected = yes ? QStringList{"0 0 0 0 0 0 0 0 0"}
                                         : QStringList{"0 1 1 1 0 0 0 0 0", "A 1 0 0 1 1 0 0 1"};
        QCOMPARE(rows(w.tally.grid()), expected);
        QCOMPARE(w.tally.tallyList()->count(), yes ? 0 : 1);
        QCOMPARE(w.tally.findChild<QLabel*>("mylabel_3")->text(), QString(yes ? "0" : "1"));
        QCOMPARE(w.tally.findChild<QLabel*>("label_8")->text(), QString(yes ? "0" : "1"));
    }
}

// Saved after every game, read back by the next run with the session counts
// at 0 and the totals kept.
void TestTallylist::keptBetweenRuns() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QString::fromLatin1(tallyFileName));
    {
        Window w;
        w.tally.openFile(file);
        w.tally.loadchecklist({"Klot"});
        entry(w.tally.checklist(), "Klot")->setCheckState(Qt::Checked);
        w.tally.addgame(Ttallylist::kAddToMine, "Klot");
        QCOMPARE(rows(readTallyFile(file)), rows(w.tally.grid()));
        w.tally.addtomineincrease(G::kEuchres);
    }
    Window next;
    next.tally.openFile(file);
    QCOMPARE(rows(next.tally.grid()), QStringList({"0 1 1 0 1 0 0 0 0", "Klot 1 0 0 1 0 0 0 0"}));
    QCOMPARE(entries(next.tally.tallyList(), true), QStringList{"Klot"});
    QCOMPARE(next.tally.findChild<QLabel*>("mylabel_4")->text(), QStringLiteral("1"));
}

void TestTallylist::unreadableFileIsSetAside_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a container") << QByteArray("hello") << "no valid header";
    QTest::newRow("other container kind")
        << QByteArray("!HZL\0\0\0\0\1\0\x80", 11) << "no valid header";
    QTest::newRow("size differs") << QByteArray("WRZL\4\0\0\0\4\0\x80"
                                                "abc",
                                                14)
                                  << "sizes do not match";
    QTest::newRow("far too large for a tally")
        << QByteArray("WRZL\xff\xff\xff\x7f\5\0\x40\x80\0\0\0", 13) << "holds no readable tally";
    QTest::newRow("no tally inside") << QByteArray("WRZL\3\0\0\0\4\0\x80"
                                                   "abc",
                                                   14)
                                     << "holds no readable tally";
}

void TestTallylist::unreadableFileIsSetAside() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString file = dir.filePath(QString::fromLatin1(tallyFileName));
    for (const QString& aside : {file + ".bad", file + ".bad2"}) {
        QVERIFY(writeFile(file, content));
        Window w;
        QSignalSpy told(&w.tally, &Ttallylist::tellPlayer);
        w.tally.openFile(file);
        QCOMPARE(told.count(), 1);
        const QString line = told[0][0].toString();
        QVERIFY2(line.startsWith("0+") && line.contains(reason) && line.contains(aside),
                 qPrintable(line));
        QCOMPARE(w.tally.grid().rowCount(), 1);
        QCOMPARE(readFile(aside), content);
        // The fresh tally takes the file's place at the next save.
        w.tally.addtomineincrease(G::kGames);
        QCOMPARE(readTallyFile(file).count(G::kGames, 0), 1);
    }
}

// A save that fails half-way (the file size limit stands in for a full disk)
// leaves the last saved tally whole, and the player hears of it once.
void TestTallylist::failedSaveKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QString::fromLatin1(tallyFileName));
    Window w;
    QSignalSpy told(&w.tally, &Ttallylist::tellPlayer);
    w.tally.openFile(file);
    QStringList many;
    for (int i = 0; i < 30; ++i) many << QStringLiteral("Player number %1").arg(i);
    w.tally.loadchecklist(many);
    for (int i = 0; i < many.size(); ++i) w.tally.checklist()->item(i)->setCheckState(Qt::Checked);
    const QStringList saved = rows(readTallyFile(file));
    QCOMPARE(saved.size(), 31);
    withFileLimit(200, [&] {
        w.tally.addgame(Ttallylist::kAddToMine, many[0]);
        w.tally.addtomineincrease(G::kMarches);
    });
    QCOMPARE(rows(readTallyFile(file)), saved);
    QCOMPARE(told.count(), 1);
    QVERIFY(told[0][0].toString().startsWith("0+The tally could not be saved"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{tallyFileName});
    // With room again, the next change saves everything.
    w.tally.addtomineincrease(G::kGames);
    QCOMPARE(rows(readTallyFile(file)), rows(w.tally.grid()));
    QCOMPARE(w.tally.grid().count(G::kGames, 0), 2);
}

QTEST_MAIN(TestTallylist)
#include "tst_tallylist.moc"
