// The tally coder on files: every failure's text, no output on a failure, an
// older output surviving a write that fails half-way, and euchre-tally.
#include "tally/tallyfile.h"
#include "tally/tlzrw1.h"

#include "tally/support/files.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace euchre;

namespace {

const QByteArray kOld = "the output of an earlier run";

QByteArray noise(int size) {
    QByteArray out(size, Qt::Uninitialized);
    QRandomGenerator rng(9);
    for (char& c : out) c = char(rng.bounded(256));
    return out;
}

} // namespace

class TestCodecFiles : public QObject {
    Q_OBJECT
private slots:
    void failuresLeaveNoOutput_data();
    void failuresLeaveNoOutput();
    void writeFailingHalfWayKeepsTheOldOutput_data();
    void writeFailingHalfWayKeepsTheOldOutput();
    void commandLineTool();
};

void TestCodecFiles::failuresLeaveNoOutput_data() {
    QTest::addColumn<bool>("compress");
    QTest::addColumn<QByteArray>("input"); // "<missing>": no input file
    QTest::addColumn<QString>("outFolder");
    QTest::addColumn<QString>("text"); // IN and OUT stand for the names
    const QString noHeader =
        QStringLiteral("IN : Lzrw1 decompression : this file has no valid header !");
    const QString mismatch = QStringLiteral(
        "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");
    QTest::newRow("unknown identifier")
        << false << QByteArray("WRZX\0\0\0\0\1\0\x80", 11) << "" << noHeader;
    QTest::newRow("other container kind")
        << false << QByteArray("!HZL\0\0\0\0\1\0\x80", 11) << "" << noHeader;
    QTest::newRow("size differs") << false
                                  << QByteArray("WRZL\4\0\0\0\4\0\x80"
                                                "abc",
                                                14)
                                  << "" << mismatch;
    QTest::newRow("block beyond the end")
        << false
        << QByteArray("WRZL\3\0\0\0\5\0\x80"
                      "abc",
                      14)
        << "" << QStringLiteral("Lzrw1 : Error reading from input file : IN");
    QTest::newRow("no input to unpack")
        << false << QByteArray("<missing>") << ""
        << QStringLiteral("Lzrw1 (de)compression : Failed to open input file : IN");
    QTest::newRow("no input to pack")
        << true << QByteArray("<missing>") << ""
        << QStringLiteral("Lzrw1 compression : Failed to obtain the size of : IN");
    QTest::newRow("no folder for the output")
        << true << QByteArray("abc") << "gone/"
        << QStringLiteral("Lzrw1 (de)compression : Failed to open output file : OUT");
}

void TestCodecFiles::failuresLeaveNoOutput() {
    QFETCH(bool, compress);
    QFETCH(QByteArray, input);
    QFETCH(QString, outFolder);
    QFETCH(QString, text);
    QTemporaryDir dir;
    Tlzrw1 doit;
    doit.InputFile = dir.filePath(QStringLiteral("in"));
    doit.OutputFile = dir.filePath(outFolder + QStringLiteral("out"));
    if (input != "<missing>") QVERIFY(writeFile(doit.InputFile, input));
    if (outFolder.isEmpty()) QVERIFY(writeFile(doit.OutputFile, kOld));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    try {
        compress ? doit.Compress() : doit.Decompress();
        QFAIL("no failure reported");
    } catch (const ELzrw1& e) {
        QCOMPARE(e.text(), QString(text)
                               .replace(QStringLiteral("IN"), doit.InputFile)
                               .replace(QStringLiteral("OUT"), doit.OutputFile));
    }
    // No new file, no scratch left behind, an earlier output untouched.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
    if (outFolder.isEmpty()) QCOMPARE(readFile(doit.OutputFile), kOld);
}

void TestCodecFiles::writeFailingHalfWayKeepsTheOldOutput_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("limit");
    QTest::newRow("written in blocks") << 200000 << 100000;
    QTest::newRow("still buffered at the end") << 3000 << 1000;
}

void TestCodecFiles::writeFailingHalfWayKeepsTheOldOutput() {
    QFETCH(int, size);
    QFETCH(int, limit);
    QTemporaryDir dir;
    Tlzrw1 doit;
    doit.InputFile = dir.filePath(QStringLiteral("in"));
    doit.OutputFile = dir.filePath(QStringLiteral("out"));
    QVERIFY(writeFile(doit.InputFile, noise(size)));
    QVERIFY(writeFile(doit.OutputFile, kOld));
    QString text;
    withFileLimit(limit, [&] {
        try {
            doit.Compress();
        } catch (const ELzrw1& e) {
            text = e.text();
        }
    });
    QCOMPARE(text, QStringLiteral("Lzrw1 : Error writing to output file : ") + doit.OutputFile);
    QCOMPARE(readFile(doit.OutputFile), kOld);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"in", "out"}));
}

void TestCodecFiles::commandLineTool() {
    QTemporaryDir dir;
    const auto run = [&](const QStringList& args, QByteArray* out = nullptr,
                         QByteArray* err = nullptr) {
        QProcess p;
        p.start(QStringLiteral(EUCHRE_TALLY_BIN), args);
        if (!p.waitForFinished(30000)) return -1;
        if (out) *out = p.readAllStandardOutput();
        if (err) *err = p.readAllStandardError();
        return p.exitCode();
    };
    const QString plain = dir.filePath(QStringLiteral("plain"));
    const QString packed = dir.filePath(QStringLiteral("packed"));
    const QString back = dir.filePath(QStringLiteral("back"));
    const QByteArray text = noise(40000) + QByteArray(70000, 'z');
    QVERIFY(writeFile(plain, text));
    QCOMPARE(run({"compress", plain, packed}), 0);
    QCOMPARE(run({"decompress", packed, back}), 0);
    QCOMPARE(readFile(back), text);

    QByteArray out, err;
    QCOMPARE(run({"decompress", plain, dir.filePath("x")}, &out, &err), 1);
    QCOMPARE(err, (plain + " : Lzrw1 decompression : this file has no valid header !\n").toUtf8());
    QVERIFY(!QFile::exists(dir.filePath("x")));

    TallyGrid grid;
    grid.addit(TallyGrid::kGames, 0);
    grid.addRow(QStringLiteral("Klot"));
    grid.addit(TallyGrid::kTogether, 1);
    grid.addit(TallyGrid::kTogether + TallyGrid::kSession, 1);
    grid.addRow(QStringLiteral("Zoë"));
    const QString tally = dir.filePath(QStringLiteral("Euchretally.tld"));
    writeTallyFile(grid, tally);
    QCOMPARE(run({"show", tally}, &out), 0);
    const QList<QByteArray> lines = out.split('\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], "Your Total Tally: Total Games 1, Your Wins 0, Marches 0, Euchres 0");
    QCOMPARE(lines[2], "Klot\t1\t0\t0\t0\t1\t0\t0\t0");
    QCOMPARE(lines[3], "Zo\xc3\xab\t0\t0\t0\t0\t0\t0\t0\t0");

    QCOMPARE(run({"--help"}, &out), 0);
    QVERIFY(out.startsWith("usage: euchre-tally"));
    QCOMPARE(run({"show"}), 2);
}

QTEST_GUILESS_MAIN(TestCodecFiles)
#include "tst_codecfiles.moc"
