// The settings file: defaults, odd values, saving, the close rule, colour text.
#include "settings/colourtext.h"
#include "settings/inifile.h"
#include "settings/settings.h"
#include "settings/settingslocation.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace euchre;

class TestSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;

    QString newPath() { return m_dir.filePath(QStringLiteral("s%1.ini").arg(++m_serial)); }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString key(const QString& path, const char* name) {
        IniFile ini(path);
        ini.load();
        return ini.value("Euchre", name).value_or(QStringLiteral("<missing>"));
    }

    // A file as a user who chose everything away from the defaults has it.
    static constexpr char storedFile[] = "[Lobby]\n"
                                         "Server=example\n"
                                         "[Euchre]\n"
                                         "Textsize=14\n"
                                         "Textcolor=clRed\n"
                                         "Phrase1=Hi all\n"
                                         "Phrase2=Bye\n"
                                         "Scontop=true\n"
                                         "Ltontop=true\n"
                                         "Botspeed=200\n"
                                         "Playsounds=false\n"
                                         "Top=50\n"
                                         "Left=60\n"
                                         "Width=900\n"
                                         "Height=700\n"
                                         "Turnsound=1\n"
                                         "ChatterSounds=false\n";

private slots:
    void freshInstallationGivesTheDefaults() {
        SettingsStore store(newPath());
        const Settings s = store.load();
        QCOMPARE(s.textSize, 8);
        QCOMPARE(s.textColour, 0u);
        QCOMPARE(s.botSpeed, 500);
        QVERIFY(!s.scoreCardOnTop && !s.lastTrickOnTop);
        QVERIFY(s.playSounds && s.chatterSounds);
        QCOMPARE(s.bounds, QRect(3, 3, 780, 600));
        QCOMPARE(s.turnSound, turnSoundClassic);
        for (const QString& phrase : s.phrases) QVERIFY(phrase.isEmpty());
        QVERIFY(store.isLoaded());
        QCOMPARE(store.lastBounds(), std::optional<QRect>(QRect(3, 3, 780, 600)));
        QVERIFY(!QFile::exists(store.path())); // reading creates nothing
    }

    void readsStoredValues() {
        const QString path = newPath();
        write(path, storedFile);
        const Settings s = SettingsStore(path).load();
        QCOMPARE(s.textSize, 14);
        QCOMPARE(s.textColour, 255u);
        QCOMPARE(s.phrases[0], QString("Hi all"));
        QCOMPARE(s.phrases[1], QString("Bye"));
        QVERIFY(s.phrases[2].isEmpty());
        QCOMPARE(s.botSpeed, 200);
        QVERIFY(s.scoreCardOnTop && s.lastTrickOnTop);
        QVERIFY(!s.playSounds && !s.chatterSounds);
        QCOMPARE(s.bounds, QRect(60, 50, 900, 700));
        QCOMPARE(s.turnSound, turnSoundNew);
    }

    void oddValuesLoadAsTheFileAlwaysReadThem() {
        const QString path = newPath();
        write(path, "[Euchre]\nBotspeed=250\nScontop=TRUE\nLtontop=f\nPlaysounds=False\n"
                    "Turnsound=01\nTextsize=9\nTextcolor=pink\nWidth=wide\nHeight=-40\n"
                    "Top=-20\nLeft=99999999999\n");
        Settings s = SettingsStore(path).load();
        QCOMPARE(s.botSpeed, 500);
        QVERIFY(!s.scoreCardOnTop && !s.lastTrickOnTop); // only "true" is on top
        QVERIFY(s.playSounds);                           // only "false" is off
        QCOMPARE(s.turnSound, turnSoundClassic);         // only "1" is "New"
        QCOMPARE(s.textSize, 9);
        QCOMPARE(s.textColour, 0u);
        QCOMPARE(s.bounds, QRect(3, -20, 780, 600));

        // Values no window could use give the defaults too.
        write(path, "[Euchre]\nTextsize=100000\nHeight=2000000000\nTextcolor=clblue\n");
        s = SettingsStore(path).load();
        QCOMPARE(s.textSize, 8);
        QCOMPARE(s.bounds.height(), 600);
        QCOMPARE(s.textColour, 16711680u);
    }

    void aSaveAfterLoadingWritesEveryKeyInItsNormalForm() {
        const QString path = newPath();
        write(path, "[Other]\nA=1\n[Euchre]\nPhrase3=Mine\nBotspeed=250\nScontop=TRUE\n"
                    "Textsize=9\n");
        SettingsStore store(path);
        Settings s = store.load();
        s.playSounds = false; // the menu change being saved
        QVERIFY(store.save(s, SettingKey::PlaySounds));
        QCOMPARE(read(path), QByteArray("[Other]\nA=1\n[Euchre]\n"
                                        "Phrase3=Mine\n"
                                        "Botspeed=500\n"
                                        "Scontop=false\n"
                                        "Textsize=9\n"
                                        "Textcolor=clBlack\n"
                                        "Ltontop=false\n"
                                        "Playsounds=false\n"
                                        "Top=3\n"
                                        "Left=3\n"
                                        "Width=780\n"
                                        "Height=600\n"
                                        "Turnsound=0\n"
                                        "ChatterSounds=true\n"));
    }

    void aSaveBeforeLoadingKeepsTheStoredChoices() {
        const QString path = newPath();
        write(path, storedFile);
        SettingsStore store(path);
        // The window's start state, with the one choice the user just made.
        Settings state = startStateSettings();
        state.turnSound = turnSoundClassic;
        state.botSpeed = botSpeedSlow;
        QVERIFY(store.save(state, SettingKey::BotSpeed));
        QByteArray expected = storedFile;
        expected.replace("Botspeed=200", "Botspeed=750");
        QCOMPARE(read(path), expected);

        // Nothing changed, nothing written.
        write(path, "untouched");
        QVERIFY(store.save(state, {}));
        QCOMPARE(read(path), QByteArray("untouched"));
    }

    void closingAWindowThatNeverLoadedWritesNothing() {
        const QString path = newPath();
        write(path, storedFile);
        SettingsStore store(path);
        Settings state = startStateSettings();
        state.bounds = QRect(10, 10, 640, 480);
        QVERIFY(store.saveOnClose(state, QRect(0, 0, 1024, 768)));
        QCOMPARE(read(path), QByteArray(storedFile));
    }

    void phraseEditorBeforeLoadingWritesOnlyEditedPhrases() {
        const QString path = newPath();
        write(path, storedFile);
        std::array<QString, phraseCount> shown{"Way To Go!", "Good One!", "Nice Try!"};
        auto edited = shown;
        edited[2] = "Close one";
        SettingsStore store(path);
        QVERIFY(store.savePhrases(edited, shown));
        QCOMPARE(key(path, "Phrase1"), QString("Hi all"));
        QCOMPARE(key(path, "Phrase2"), QString("Bye"));
        QCOMPARE(key(path, "Phrase3"), QString("Close one"));
        QCOMPARE(key(path, "Phrase4"), QString("<missing>"));

        store.load();
        QVERIFY(store.savePhrases(edited, edited)); // after login: all nine
        QCOMPARE(key(path, "Phrase1"), QString("Way To Go!"));
        QCOMPARE(key(path, "Phrase9"), QString(""));
        QCOMPARE(key(path, "Textsize"), QString("14")); // not a phrase key: kept
    }

    void closeRuleShrinksOnceAndSkipsUnchangedBounds() {
        const QRect work(0, 0, 1024, 738);
        const QRect last(3, 3, 780, 600);
        QCOMPARE(boundsToSaveOnClose(last, last, work), std::nullopt);
        QCOMPARE(boundsToSaveOnClose(QRect(5, 3, 780, 600), last, work),
                 std::optional<QRect>(QRect(5, 3, 780, 600)));
        QCOMPARE(boundsToSaveOnClose(QRect(0, 0, 2000, 600), last, work),
                 std::optional<QRect>(QRect(0, 0, 1985, 600)));
        QCOMPARE(boundsToSaveOnClose(QRect(0, 0, 1030, 760), last, work),
                 std::optional<QRect>(QRect(0, 0, 1015, 745)));
        // Exactly the work area's size fits.
        QCOMPARE(boundsToSaveOnClose(QRect(0, 0, 1024, 738), last, work),
                 std::optional<QRect>(QRect(0, 0, 1024, 738)));
    }

    void closingAfterLoadingSavesOnlyMovedBounds() {
        const QString path = newPath();
        write(path, storedFile);
        SettingsStore store(path);
        Settings s = store.load();
        const QRect work(0, 0, 1024, 768);

        write(path, "marker"); // any write would replace this
        QVERIFY(store.saveOnClose(s, work));
        QCOMPARE(read(path), QByteArray("marker"));

        write(path, storedFile);
        s.bounds = QRect(0, 0, 2000, 700);
        QVERIFY(store.saveOnClose(s, work));
        QCOMPARE(key(path, "Width"), QString("1985"));
        QCOMPARE(key(path, "Left"), QString("0"));
        QCOMPARE(store.lastBounds(), std::optional<QRect>(QRect(0, 0, 1985, 700)));
        // Closing again where it was saved writes nothing.
        write(path, "marker");
        s.bounds = QRect(0, 0, 1985, 700);
        QVERIFY(store.saveOnClose(s, work));
        QCOMPARE(read(path), QByteArray("marker"));
    }

    // The table's own choices: a file that never had them gives the defaults
    // and keeps lacking them until the user picks one.
    void tableChoicesAreWrittenOnlyOncePicked() {
        const QString path = newPath();
        write(path, storedFile);
        SettingsStore store(path);
        Settings s = store.load();
        QVERIFY(!s.bidsInChat && s.sortTrumps && s.houseRules.isEmpty());
        QVERIFY(store.save(s, SettingKey::TextSize));
        QVERIFY(!s.fourColourDeck && !s.scaleTable);
        for (const char* name :
             {"ShowBidsInChat", "SortTrumps", "HouseRules", "FourColourDeck", "ScaleTable"})
            QCOMPARE(key(path, name), QString("<missing>"));
        s.bidsInChat = true;
        s.sortTrumps = false;
        s.houseRules = QStringLiteral("std=1,loner_march_score=5");
        s.fourColourDeck = s.scaleTable = true;
        QVERIFY(store.save(s, SettingKey::BidsInChat | SettingKey::SortTrumps |
                                  SettingKey::HouseRules | SettingKey::FourColourDeck |
                                  SettingKey::ScaleTable));
        QCOMPARE(key(path, "ShowBidsInChat"), QString("true"));
        QCOMPARE(key(path, "SortTrumps"), QString("false"));
        QCOMPARE(key(path, "HouseRules"), QString("std=1,loner_march_score=5"));
        s = SettingsStore(path).load();
        QVERIFY(s.bidsInChat && !s.sortTrumps && s.fourColourDeck && s.scaleTable);
        QCOMPARE(s.houseRules, QString("std=1,loner_march_score=5"));
    }

    void aFailedSaveNamesTheFile() {
        const QString path = m_dir.filePath("missing/folder/bromlobby.ini");
        SettingsStore store(path);
        Settings s = store.load();
        QString error;
        QVERIFY(!store.save(s, SettingKey::TextSize, &error));
        QCOMPARE(error, "Unable to write to " + QDir::toNativeSeparators(path));
        error.clear();
        QVERIFY(!store.savePhrases({"x"}, {}, &error));
        QCOMPARE(error, "Unable to write to " + QDir::toNativeSeparators(path));
    }

    void colourText_data() {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("black") << 0u << "clBlack";
        QTest::newRow("red") << 255u << "clRed";
        QTest::newRow("blue") << 16711680u << "clBlue";
        QTest::newRow("navy") << 0x800000u << "clNavy";
        QTest::newRow("silver") << 0xC0C0C0u << "clSilver";
        QTest::newRow("white") << 0xFFFFFFu << "clWhite";
        QTest::newRow("window text") << 0xFF000008u << "clWindowText";
        QTest::newRow("highlight") << 0xFF00000Du << "clHighlight";
        QTest::newRow("tan") << 3298149u << "$00325365";
        QTest::newRow("team blue") << 9399126u << "$008F6B56";
        QTest::newRow("almost blue") << 16711681u << "$00FF0001";
    }
    void colourText() {
        QFETCH(quint32, value);
        QFETCH(QString, text);
        QCOMPARE(colourToText(value), text);
        QCOMPARE(colourFromText(text), std::optional<quint32>(value));
        QCOMPARE(colourFromText(text.toLower()), std::optional<quint32>(value));
        QCOMPARE(colourFromText(QString::number(value)), std::optional<quint32>(value));
    }

    void colourTextRejectsWhatDoesNotConvert() {
        for (const char* bad : {"", "pink", "cl", "$", "$xyz", "$123456789", "12a", "4294967296",
                                "-2147483649", "1.5", "$-1", "\xd9\xa3"})
            QVERIFY2(!colourFromText(QString::fromUtf8(bad)), bad);
        QCOMPARE(colourFromText("$ff"), std::optional<quint32>(255u));
        QCOMPARE(colourFromText("-16777208"), std::optional<quint32>(0xFF000008u));
        QCOMPARE(colourToQColor(16711680u), QColor(0, 0, 255));
        QCOMPARE(colourToQColor(3298149u), QColor(0x65, 0x53, 0x32));
        QCOMPARE(colourFromQColor(QColor(0x65, 0x53, 0x32)), 3298149u);
    }

    void dataFolderFollowsTheEnvironment() {
        const QByteArray saved = qgetenv("EUCHRE_HOME");
        const QString home = m_dir.filePath("home/sub");
        qputenv("EUCHRE_HOME", home.toUtf8());
        QCOMPARE(dataFolder(), QDir(home).absolutePath());
        QVERIFY(QFileInfo(home).isDir()); // created for us
        QCOMPARE(settingsFilePath(), QDir(home).absoluteFilePath("bromlobby.ini"));
        qunsetenv("EUCHRE_HOME");
        // The test program's own folder is writable, so it is used.
        QCOMPARE(dataFolder(), QCoreApplication::applicationDirPath());
        if (!saved.isNull()) qputenv("EUCHRE_HOME", saved);
    }

    // An installed copy keeps its files in the per-user folder even where it
    // could write beside itself; a build folder or a loose copy keeps them
    // beside the program.
    void installedCopiesNeverWriteBesideThemselves() {
        const QString prefix = m_dir.filePath("prefix");
        QVERIFY(QDir().mkpath(prefix + "/bin"));
        QVERIFY(QDir().mkpath(prefix + "/share/applications"));
        QFile entry(prefix + "/share/applications/" EUCHRE_APP_ID ".desktop");
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.close();
        QVERIFY(QDir().mkpath(m_dir.filePath("loose/bin")));
        const struct {
            QString folder;
            bool installed;
        } cases[] = {{"/usr/bin", true},
                     {"/usr/local/games", true},
                     {prefix + "/bin", true},
                     {prefix + "/bin/", true},
                     {m_dir.filePath("loose/bin"), false},
                     {prefix, false},
                     {QCoreApplication::applicationDirPath(), false}};
        for (const auto& c : cases)
            QVERIFY2(isInstalledFolder(c.folder) == c.installed, qPrintable(c.folder));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
