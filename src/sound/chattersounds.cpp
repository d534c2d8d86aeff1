// Looking up chatter sounds by menu tag and by their name on the wire.
#include "chattersounds.h"

namespace euchre {

std::optional<ChatterSound> chatterSoundByNumber(int number) {
    if (number < 1 || number > chatterSoundCount) return std::nullopt;
    return chatterSounds[number - 1];
}

std::optional<ChatterSound> chatterSoundFromField(const QString& field) {
    for (const ChatterSound& sound : chatterSounds)
        if (field.compare(sound.name, Qt::CaseInsensitive) == 0) return sound;
    return std::nullopt;
}

} // namespace euchre
