// The digest of a seat's information, which seeds its decisions' draws.
#include "ai/infoview.h"

namespace euchre::ai {

namespace {
std::uint64_t mix(std::uint64_t h, std::int64_t v) {
    h ^= std::uint64_t(v) + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
    return h * 0xBF58476D1CE4E5B9ULL;
}
} // namespace

std::uint64_t InfoView::digest() const {
    std::uint64_t h = 0x243F6A8885A308D3ULL;
    h = mix(h, seat);
    for (const int c : hand) h = mix(h, c);
    for (const int v : {discard, dealer, turned, int(orderedUp), int(discarded), refusedsuit, trump,
                        maker, loner, playCount, ledsuit, playto})
        h = mix(h, v);
    for (int i = 0; i < playCount; ++i) h = mix(h, plays[i].seat * 64 + plays[i].card);
    for (const int c : trick) h = mix(h, c);
    for (const int v : tricks) h = mix(h, v);
    for (const int v : score) h = mix(h, v);
    return h;
}

} // namespace euchre::ai
