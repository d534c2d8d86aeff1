// The twenty chatter sounds a seated player can send to the table.
#pragma once

#include <QLatin1String>
#include <QString>
#include <array>
#include <optional>

namespace euchre {

struct ChatterSound {
    int number;          // 1 to 20: the menu entry's tag, the N of "waveN"
    QLatin1String name;  // "wave12": the menu entry's name, the sound's name, the wire field
    QLatin1String label; // "Oh No": the entry's caption and hint
};

inline constexpr int chatterSoundCount = 20;

// In menu order, after the "<Cancel>" entry.
inline constexpr std::array<ChatterSound, chatterSoundCount> chatterSounds{{
    {1, QLatin1String("wave1"), QLatin1String("Doh")},
    {2, QLatin1String("wave2"), QLatin1String("Cough")},
    {3, QLatin1String("wave3"), QLatin1String("Hello")},
    {4, QLatin1String("wave4"), QLatin1String("Thank You")},
    {5, QLatin1String("wave5"), QLatin1String("Where have you been?")},
    {6, QLatin1String("wave6"), QLatin1String("Snoring")},
    {7, QLatin1String("wave7"), QLatin1String("Sneezing")},
    {8, QLatin1String("wave8"), QLatin1String("Sorry")},
    {9, QLatin1String("wave9"), QLatin1String("Welcome")},
    {10, QLatin1String("wave10"), QLatin1String("Yeehaa")},
    {11, QLatin1String("wave11"), QLatin1String("Yippee")},
    {12, QLatin1String("wave12"), QLatin1String("Oh No")},
    {13, QLatin1String("wave13"), QLatin1String("Applause")},
    {14, QLatin1String("wave14"), QLatin1String("Honk")},
    {15, QLatin1String("wave15"), QLatin1String("Oooh")},
    {16, QLatin1String("wave16"), QLatin1String("Razzberry")},
    {17, QLatin1String("wave17"), QLatin1String("Cheer")},
    {18, QLatin1String("wave18"), QLatin1String("Woman Laughing")},
    {19, QLatin1String("wave19"), QLatin1String("Man Laughing")},
    {20, QLatin1String("wave20"), QLatin1String("Crying")},
}};

// The popup's first entry, which sends nothing.
inline constexpr int chatterCancelTag = 0;
inline constexpr QLatin1String chatterCancelName("Cancel1");
inline constexpr QLatin1String chatterCancelLabel("<Cancel>");

// The sound with menu tag `number`; nothing outside 1 to 20.
std::optional<ChatterSound> chatterSoundByNumber(int number);

// The sound a received "CMD_playasound" names in its second field, e.g.
// "wave12". Entry names compare without regard to letter case, as sound
// names do; anything else ("wave0", "wave21", "wave012", "wave 3", "") is
// no sound.
std::optional<ChatterSound> chatterSoundFromField(const QString& field);

} // namespace euchre
