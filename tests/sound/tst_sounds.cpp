// The built-in sounds, the chatter-sound table, the score sounds and the player.
#include "sound/chattersounds.h"
#include "sound/sounds.h"

#include <QFile>
#include <QSoundEffect>
#include <QtEndian>
#include <QtTest>

using namespace euchre;

namespace {

// The plain 44-byte header the sound script writes: "RIFF", "WAVE", a
// 16-byte "fmt " chunk, then "data".
struct WaveFormat {
    quint16 format, channels, bits;
    quint32 rate, dataBytes;
};
std::optional<WaveFormat> readWave(const QByteArray& b) {
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 8) != "WAVEfmt " ||
        b.mid(36, 4) != "data")
        return std::nullopt;
    const char* d = b.constData();
    const WaveFormat wave{qFromLittleEndian<quint16>(d + 20), qFromLittleEndian<quint16>(d + 22),
                          qFromLittleEndian<quint16>(d + 34), qFromLittleEndian<quint32>(d + 24),
                          qFromLittleEndian<quint32>(d + 40)};
    if (44 + qint64(wave.dataBytes) > b.size()) return std::nullopt;
    return wave;
}

// Keeps the multimedia layer's complaints about a missing sound card (when
// playing is forced on such a machine) out of the test log.
void swallowAudioWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg)
        fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

class TestSounds : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initSoundResources(); }

    void everySoundIsAShortMonoWaveAndAllFitTheBudget() {
        const QStringList names = soundNames();
        QCOMPARE(names.size(), 33);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 33);
        qint64 total = 0;
        for (const QString& name : names) {
            const QString path = soundResourcePath(name);
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            const QByteArray bytes = file.readAll();
            total += bytes.size();
            const auto wave = readWave(bytes);
            QVERIFY2(wave, qPrintable(name));
            QCOMPARE(wave->format, quint16(1)); // plain PCM
            QCOMPARE(wave->channels, quint16(1));
            QVERIFY(wave->bits == 8 || wave->bits == 16);
            QVERIFY(wave->rate >= 8000 && wave->rate <= 22050);
            const double seconds = double(wave->dataBytes) / (wave->rate * (wave->bits / 8));
            QVERIFY2(seconds > 0.03 && seconds < 3.0, qPrintable(name));
        }
        QVERIFY(total <= 2 * 1024 * 1024);
    }

    void soundNamesCompareWithoutLetterCase() {
        QCOMPARE(soundResourcePath("GetCard"), QString(":/sounds/getcard.wav"));
        QCOMPARE(soundResourcePath("WAVE20"), QString(":/sounds/wave20.wav"));
        QVERIFY(soundResourcePath("wave21").isEmpty());
        QVERIFY(soundResourcePath("../sounds/turn").isEmpty());
        QVERIFY(soundResourcePath("").isEmpty());
    }

    void chatterSoundsMatchTheirMenuNumbers() {
        for (int n = 1; n <= chatterSoundCount; ++n) {
            const auto chatter = chatterSoundByNumber(n);
            QVERIFY(chatter);
            QCOMPARE(chatter->number, n);
            QCOMPARE(QString(chatter->name), QStringLiteral("wave%1").arg(n));
            QVERIFY(!chatter->label.isEmpty());
            QCOMPARE(chatterSoundFromField(QStringLiteral("wave%1").arg(n))->number, n);
        }
        QVERIFY(!chatterSoundByNumber(chatterCancelTag));
        QVERIFY(!chatterSoundByNumber(21));
        QVERIFY(!chatterSoundByNumber(-1));
        QCOMPARE(QString(chatterSoundFromField("wave12")->label), QString("Oh No"));
        QCOMPARE(QString(chatterSoundFromField("WaVe5")->label), QString("Where have you been?"));
        for (const char* bad : {"wave0", "wave21", "wave012", "wave", "", "wave 3", " wave3",
                                "wave3 ", "wave-1", "wave+3", "turn", "Cancel1", "wave99999999999"})
            QVERIFY2(!chatterSoundFromField(QString::fromLatin1(bad)), bad);
    }

    void scoreSoundDependsOnResultAndListener_data() {
        QTest::addColumn<int>("maker");
        QTest::addColumn<int>("points1");
        QTest::addColumn<int>("points2");
        QTest::addColumn<QStringList>("heard"); // seat 1, seat 2, seat 3, seat 4, slot 5
        const auto row = [](const char* tan, const char* blue, const char* watcher) {
            return QStringList{tan, blue, tan, blue, watcher};
        };
        QTest::newRow("tan euchred, blue gets 2")
            << 1 << 0 << 2 << row("euchred", "gotpoints", "euchred");
        QTest::newRow("blue euchred") << 2 << 2 << 0 << row("gotpoints", "euchred", "euchred");
        QTest::newRow("tan marched") << 1 << 2 << 0 << row("marched", "nopoints", "nopoints");
        QTest::newRow("tan alone march") << 1 << 4 << 0 << row("marched", "nopoints", "nopoints");
        QTest::newRow("blue marched") << 2 << 0 << 2 << row("nopoints", "marched", "nopoints");
        QTest::newRow("tan made it") << 1 << 1 << 0 << row("gotpoints", "nopoints", "gotpoints");
        QTest::newRow("blue made it") << 2 << 0 << 1 << row("nopoints", "gotpoints", "gotpoints");
        QTest::newRow("nobody scored") << 1 << 0 << 0 << row("euchred", "gotpoints", "euchred");
        QTest::newRow("no maker, no points") << 0 << 0 << 0 << row("", "", "");
    }
    void scoreSoundDependsOnResultAndListener() {
        QFETCH(int, maker);
        QFETCH(int, points1);
        QFETCH(int, points2);
        QFETCH(QStringList, heard);
        for (int slot = 1; slot <= 5; ++slot)
            QCOMPARE(scoreSound(maker, points1, points2, slot), heard[slot - 1]);
        QCOMPARE(scoreSound(maker, points1, points2, 9), heard[4]);
    }

    void withoutAnAudioOutputNothingPlaysAndNothingIsSaid() {
        SoundPlayer player;
        player.setAudioOutputForTesting(false);
        QTest::failOnWarning(QRegularExpression(".*"));
        for (int i = 0; i < 50; ++i) QVERIFY(!player.play("getcard"));
        QVERIFY(player.current().isEmpty());
        QVERIFY(player.findChildren<QSoundEffect*>().isEmpty());
    }

    void aNewSoundCutsOffTheOnePlaying() {
        const QtMessageHandler previous = qInstallMessageHandler(swallowAudioWarnings);
        {
            SoundPlayer player;
            player.setAudioOutputForTesting(true);
            QVERIFY(!player.play("nosuchsound"));
            QVERIFY(player.current().isEmpty());

            for (int i = 0; i < 4; ++i) QVERIFY(player.play("GETCARD"));
            QCOMPARE(player.current(), QString("getcard"));
            QVERIFY(player.play("wave12"));
            QCOMPARE(player.current(), QString("wave12"));

            // One cached effect per sound, however often it plays.
            const auto effects = player.findChildren<QSoundEffect*>();
            QCOMPARE(effects.size(), 2);
            QSoundEffect* getcard = nullptr;
            QSoundEffect* wave12 = nullptr;
            for (QSoundEffect* effect : effects) {
                if (effect->source() == QUrl("qrc:/sounds/getcard.wav")) getcard = effect;
                if (effect->source() == QUrl("qrc:/sounds/wave12.wav")) wave12 = effect;
            }
            QVERIFY(getcard && wave12);
            QVERIFY(!getcard->isPlaying());
            QVERIFY(wave12->isPlaying());
            // Once loaded, the cut-off sound must not start after all.
            QTRY_VERIFY(getcard->isLoaded() && wave12->isLoaded());
            QVERIFY(!getcard->isPlaying());

            player.stop();
            QVERIFY(!wave12->isPlaying());
            QVERIFY(player.current().isEmpty());
        }
        qInstallMessageHandler(previous);
    }
};

QTEST_MAIN(TestSounds)
#include "tst_sounds.moc"
