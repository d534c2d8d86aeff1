// The program's short sounds: their names, and a player that plays one at a time.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QMediaDevices;
class QSoundEffect;

namespace euchre {

// Names of the game sounds (the chatter sounds are "wave1" to "wave20",
// see chattersounds.h).
namespace sound {
inline constexpr char entered[] = "entered";         // a player joined
inline constexpr char getcard[] = "getcard";         // a seat's cards arrived
inline constexpr char placecard[] = "placecard";     // a card was played
inline constexpr char notvalid[] = "notvalid";       // the own card was refused
inline constexpr char trickwinner[] = "trickwinner"; // the own seat took the trick
inline constexpr char turn[] = "turn";               // own turn, "Classic"
inline constexpr char turnnew[] = "turnnew";         // own turn, "New"
inline constexpr char winner[] = "winner";           // the game is over
inline constexpr char euchred[] = "euchred";
inline constexpr char gotpoints[] = "gotpoints";
inline constexpr char marched[] = "marched";
inline constexpr char nopoints[] = "nopoints";
inline constexpr char order[] = "order"; // carried, never played
} // namespace sound

// Makes the sounds built into the program's library available; call once
// before the first SoundPlayer plays (main() does).
void initSoundResources();

// All 33 sound names, in lower case.
QStringList soundNames();

// Where a sound lives among the program's resources; names compare without
// regard to letter case. Empty for a name that is not one of ours.
QString soundResourcePath(const QString& name);

// The sound a hand's "CMD_score" plays for a listener in `mySlot` (seats 1
// and 3 are Tan, 2 and 4 Blue, other slots watch), from the making team and
// the points each team got this hand. Empty when nothing plays.
QString scoreSound(int makingTeam, int team1Points, int team2Points, int mySlot);

// Plays the program's sounds. A sound started while another plays cuts that
// one off: there is no queue. Without an audio output, or for a name that
// is not a sound, nothing plays and nothing is reported. Playing never waits.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Starts the named sound; false when nothing was started.
    bool play(const QString& name);
    void stop();

    // The sound last started, in lower case; empty after stop() or before
    // anything played.
    QString current() const { return m_current; }

    bool hasAudioOutput() const { return m_hasOutput; }

    // Tests use this to stand for a machine with or without a sound card.
    void setAudioOutputForTesting(bool available) { m_hasOutput = available; }

private:
    QSoundEffect* effectFor(const QString& name);

    QMediaDevices* m_devices = nullptr;
    bool m_hasOutput = false;
    QHash<QString, QSoundEffect*> m_effects;
    QString m_current;
};

} // namespace euchre
