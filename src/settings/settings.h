// The user's preferences and how they are kept in the settings file.
#pragma once

#include <QFlags>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

namespace euchre {

class IniFile;

// Computer-player delays of the "Bot Speed" menu, in milliseconds.
inline constexpr int botSpeedSlow = 750;
inline constexpr int botSpeedNormal = 500;
inline constexpr int botSpeedFast = 200;

// The "Turn Sound" choice: 0 plays "turn", 1 plays "turnnew".
inline constexpr int turnSoundClassic = 0;
inline constexpr int turnSoundNew = 1;

// The "Computer Players" choice: the standard players or the expert.
inline constexpr int computerPlayersStandard = 0;
inline constexpr int computerPlayersExpert = 1;

inline constexpr int phraseCount = 9;

// Every preference the settings file holds, as plain values. A default-made
// Settings holds what a missing file or missing keys give.
struct Settings {
    int textSize = 8;
    quint32 textColour = 0;                   // black
    std::array<QString, phraseCount> phrases; // empty: the button keeps its phrase
    int botSpeed = botSpeedNormal;
    bool scoreCardOnTop = false;
    bool lastTrickOnTop = false;
    bool playSounds = true;
    QRect bounds{3, 3, 780, 600}; // the table window: left, top, width, height
    int turnSound = turnSoundClassic;
    bool chatterSounds = true;
    int computerPlayers = computerPlayersStandard;
    bool bidsInChat = false;     // a chat line for every bid of the deal
    bool sortTrumps = true;      // the own hand's trumps together once trump is fixed
    bool fourColourDeck = false; // clubs green and diamonds blue
    bool scaleTable = false;     // the board grows with the window
    // The house rules last chosen in the game-start window, as the ruleset
    // text a game's start carries ("std=1,canadian=1"); empty: none.
    QString houseRules;

    bool operator==(const Settings&) const = default;
};

// What the table window shows before the settings file is first read: its
// own start state, which differs from the file's defaults.
Settings startStateSettings();

// The size and place "Reset Screen Location" restores.
inline constexpr QRect resetBounds{3, 3, 780, 600};

// The preferences a save may write, one flag per menu choice; Bounds stands
// for the four keys "Top", "Left", "Width" and "Height".
enum class SettingKey : unsigned {
    TextSize = 1u << 0,
    TextColour = 1u << 1,
    ScoreCardOnTop = 1u << 2,
    LastTrickOnTop = 1u << 3,
    BotSpeed = 1u << 4,
    PlaySounds = 1u << 5,
    Bounds = 1u << 6,
    TurnSound = 1u << 7,
    ChatterSounds = 1u << 8,
    // Written only when the user picks it, so files of those who never do
    // stay as they were.
    ComputerPlayers = 1u << 9,
    // Written only when the user picks them, for the same reason.
    BidsInChat = 1u << 10,
    SortTrumps = 1u << 11,
    HouseRules = 1u << 12,
    FourColourDeck = 1u << 13,
    ScaleTable = 1u << 14,
};
Q_DECLARE_FLAGS(SettingKeys, SettingKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(SettingKeys)
inline constexpr SettingKeys allSettingKeys = SettingKeys::fromInt(0x1FF);

// Reads every key of the "Euchre" section; missing and odd values give the
// defaults the file has always had ("Botspeed" 250 is Normal, "Scontop"
// "TRUE" is not on top, a colour that does not convert is black).
Settings readSettings(const IniFile& file);
// Writes the chosen keys, always in the same order, each in its normal form.
void writeSettings(IniFile& file, const Settings& settings, SettingKeys keys);
// The phrase keys "Phrase1" to "Phrase9"; entry i of `which` says whether
// phrase i + 1 is written.
void writePhrases(IniFile& file, const std::array<QString, phraseCount>& phrases,
                  const std::array<bool, phraseCount>& which);

// What the table window stores when it closes: nothing when its bounds still
// equal those last loaded or saved; otherwise its bounds, 15 pixels narrower
// when wider than the work area and 15 pixels lower when taller (once each,
// not until it fits).
std::optional<QRect> boundsToSaveOnClose(const QRect& window, const QRect& lastBounds,
                                         const QRect& workArea);

// The settings file of one table window: reads it at login and saves changes.
//
// Before the file has been read, the window shows its start state, not the
// user's stored choices. Writing all of that state then (as a menu change or
// closing a window that never connected would) replaced every stored
// preference with a start value. So until load() has run, save() writes only
// the keys the caller says were changed, and closing writes no bounds at all
// (the window never showed the stored ones, so they were not changed by the
// user). After load() the window shows the stored values, and every save
// writes all keys as it always has.
class SettingsStore {
public:
    explicit SettingsStore(QString path);

    const QString& path() const { return m_path; }
    bool isLoaded() const { return m_loaded; }
    // The bounds last loaded or saved; nothing before the first load.
    std::optional<QRect> lastBounds() const { return m_lastBounds; }

    // Reads the file (a missing file gives the defaults) and remembers the
    // bounds it holds.
    Settings load();

    // Saves after a menu change. `changed` names what the user just changed.
    // False when the file could not be written; *error then holds the
    // message to show the user.
    bool save(const Settings& current, SettingKeys changed, QString* error = nullptr);

    // Saves when the table window closes; current.bounds is where it is now.
    // Nothing is written when the bounds did not change (see above).
    bool saveOnClose(const Settings& current, const QRect& workArea, QString* error = nullptr);

    // The phrase editor's "Done": the phrase keys and nothing else. `shown`
    // holds the phrases the editor opened with. After load() all nine are
    // written; before it only those the user edited, since the others are
    // the buttons' start texts, not the stored phrases.
    bool savePhrases(const std::array<QString, phraseCount>& phrases,
                     const std::array<QString, phraseCount>& shown, QString* error = nullptr);

private:
    bool writeKeys(const Settings& settings, SettingKeys keys, QString* error);

    QString m_path;
    bool m_loaded = false;
    std::optional<QRect> m_lastBounds;
};

} // namespace euchre
