// Reading and in-place editing of profile-style initialisation files.
#include "settings/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using euchre::IniFile;

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QByteArray& bytes, const QString& name = QStringLiteral("t.ini")) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
        file.write(bytes);
        return path;
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

private slots:
    void readsKeysOfTheFirstMatchingSectionIgnoringCase() {
        const QString path = writeFile("top=outside\n"
                                       "; comment=not a key\n"
                                       "[Other]\nTextsize=99\n"
                                       "[euchre]\n"
                                       "  textSIZE =  12  \n"
                                       "Textsize=14\n"
                                       "#hash=comment\n"
                                       "Name=a=b\n"
                                       "Empty=\n"
                                       "junk line without equals\n"
                                       "[Euchre]\nLate=1\n");
        IniFile ini(path);
        QVERIFY(ini.load());
        QCOMPARE(ini.readString("Euchre", "Textsize"), QString("12"));
        QCOMPARE(ini.readInt("EUCHRE", "TEXTSIZE", 0), 12);
        QCOMPARE(ini.readString("Euchre", "Name"), QString("a=b"));
        QVERIFY(ini.hasKey("Euchre", "Empty"));
        QCOMPARE(ini.readString("Euchre", "Empty", "fallback"), QString());
        QVERIFY(!ini.hasKey("Euchre", "comment"));
        QVERIFY(!ini.hasKey("Euchre", "#hash"));
        QVERIFY(!ini.hasKey("Euchre", "top"));
        // A repeated section is not read: the first one is the section.
        QVERIFY(!ini.hasKey("Euchre", "Late"));
        QCOMPARE(ini.readString("Missing", "Textsize", "dflt"), QString("dflt"));
        QVERIFY(ini.hasSection("other"));
        QVERIFY(!ini.hasSection("Missing"));
    }

    void numbersAndSwitchesFallBackOnOddValues_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("asInt");
        QTest::addColumn<bool>("asBool");
        // fallbacks below are 7 and true; a bool of "0" or "false" proves it was read
        QTest::newRow("one") << QByteArray("1") << 1 << true;
        QTest::newRow("negative") << QByteArray("-25") << -25 << true;
        QTest::newRow("hex") << QByteArray("$1F") << 31 << true;
        QTest::newRow("TRUE") << QByteArray("TRUE") << 7 << true;
        QTest::newRow("False") << QByteArray("False") << 7 << false;
        QTest::newRow("garbage") << QByteArray("12abc") << 7 << true;
        QTest::newRow("too big") << QByteArray("99999999999") << 7 << true;
        QTest::newRow("signed hex") << QByteArray("$-1") << 7 << true;
        QTest::newRow("empty") << QByteArray("") << 7 << true;
    }
    void numbersAndSwitchesFallBackOnOddValues() {
        QFETCH(QByteArray, value);
        QFETCH(int, asInt);
        QFETCH(bool, asBool);
        IniFile ini(writeFile("[S]\nk=" + value + "\n"));
        QVERIFY(ini.load());
        QCOMPARE(ini.readInt("S", "k", 7), asInt);
        QCOMPARE(ini.readBool("S", "k", true), asBool);
        QCOMPARE(ini.readBool("S", "missing", false), false);
    }

    void writingChangesOnlyTheKeysWritten() {
        const QByteArray before = "; settings of the game\r\n"
                                  "[Lobby]\r\n"
                                  "Name=Bob\r\n"
                                  "\r\n"
                                  "[Euchre]\r\n"
                                  "TextSize=8\r\n"
                                  "Phrase1=Way To Go!\r\n"
                                  "\r\n"
                                  "[Tail]\r\n"
                                  "x=1\r\n";
        const QString path = writeFile(before);
        IniFile ini(path);
        QVERIFY(ini.load());
        ini.writeInt("euchre", "textsize", 12);       // in place, keeps the file's spelling
        ini.writeString("Euchre", "Botspeed", "200"); // new key: end of its section
        ini.writeBool("Euchre", "Flag", false);
        ini.writeString("New", "Key", "two\nlines"); // new section at the end, one line
        QVERIFY(ini.save());
        QCOMPARE(readFile(path), QByteArray("; settings of the game\r\n"
                                            "[Lobby]\r\n"
                                            "Name=Bob\r\n"
                                            "\r\n"
                                            "[Euchre]\r\n"
                                            "TextSize=12\r\n"
                                            "Phrase1=Way To Go!\r\n"
                                            "Botspeed=200\r\n"
                                            "Flag=0\r\n"
                                            "\r\n"
                                            "[Tail]\r\n"
                                            "x=1\r\n"
                                            "\r\n"
                                            "[New]\r\n"
                                            "Key=two lines\r\n"));

        IniFile again(path);
        QVERIFY(again.load());
        QCOMPARE(again.readInt("Euchre", "TextSize", 0), 12);
        QCOMPARE(again.readString("New", "Key"), QString("two lines"));
        QCOMPARE(again.readString("Lobby", "Name"), QString("Bob"));
    }

    void createsAMissingFileAndFillsAnEmptySection() {
        const QString path = m_dir.filePath("fresh.ini");
        QFile::remove(path);
        IniFile ini(path);
        QVERIFY(ini.load());
        ini.writeString("Euchre", "Top", "3");
        ini.writeString("Euchre", "Left", "4");
        QVERIFY(ini.save());
        QCOMPARE(readFile(path), QByteArray("[Euchre]\nTop=3\nLeft=4\n"));

        const QString empty = writeFile("[Euchre]\n\n[B]\nb=2", "empty.ini");
        IniFile second(empty);
        QVERIFY(second.load());
        second.writeString("Euchre", "Top", "3");
        QVERIFY(second.save());
        QCOMPARE(readFile(empty), QByteArray("[Euchre]\nTop=3\n\n[B]\nb=2\n"));
    }

    void keepsBytesOfOtherEncodingsAndTheByteOrderMark() {
        // "Caf\xe9" is not UTF-8: a file from a one-byte code page.
        const QString latin = writeFile("[Euchre]\nPhrase1=Caf\xe9!\nTop=1\n", "latin.ini");
        IniFile ini(latin);
        QVERIFY(ini.load());
        QCOMPARE(ini.readString("Euchre", "Phrase1"), QString::fromUtf8("Caf\xc3\xa9!"));
        ini.writeInt("Euchre", "Top", 2);
        QVERIFY(ini.save());
        QCOMPARE(readFile(latin), QByteArray("[Euchre]\nPhrase1=Caf\xe9!\nTop=2\n"));

        const QString bom =
            writeFile("\xEF\xBB\xBF[Euchre]\nPhrase1=\xc3\xa9t\xc3\xa9\n", "bom.ini");
        IniFile utf8(bom);
        QVERIFY(utf8.load());
        QVERIFY(utf8.hasSection("Euchre")); // the mark is not part of the first line
        QCOMPARE(utf8.readString("Euchre", "Phrase1"), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
        utf8.writeString("Euchre", "Phrase2", QString::fromUtf8("\xe2\x82\xac"));
        QVERIFY(utf8.save());
        QCOMPARE(readFile(bom), QByteArray("\xEF\xBB\xBF[Euchre]\nPhrase1=\xc3\xa9t\xc3\xa9\n"
                                           "Phrase2=\xe2\x82\xac\n"));
    }

    void neverReplacesAFileItCouldNotRead() {
        // Far larger than any settings file: not read, and so not rewritten.
        const QByteArray huge = "[Euchre]\nTop=1\n" + QByteArray(2 * 1024 * 1024, 'x');
        const QString path = writeFile(huge, "huge.ini");
        IniFile ini(path);
        QVERIFY(!ini.load());
        QCOMPARE(ini.readInt("Euchre", "Top", 5), 5);
        ini.writeInt("Euchre", "Top", 9);
        QString error;
        QVERIFY(!ini.save(&error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path), huge);

        // A folder where the file should be cannot be read either.
        QVERIFY(QDir(m_dir.path()).mkpath("adir.ini"));
        IniFile folder(m_dir.filePath("adir.ini"));
        QVERIFY(!folder.load());
        QVERIFY(!folder.save());
    }

    void reportsAFailedSave() {
        IniFile ini(m_dir.filePath("no/such/folder/x.ini"));
        QVERIFY(ini.load()); // missing: empty
        ini.writeString("Euchre", "Top", "3");
        QString error;
        QVERIFY(!ini.save(&error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
