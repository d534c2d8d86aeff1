// The tally file's coding: one chunk of at most 32768 bytes to one block and
// back, and the container of blocks ("WRZL", the size, length-prefixed blocks)
// streamed between two devices.
#pragma once

#include <QtGlobal>
#include <cstddef>
#include <cstdint>

class QIODevice;

namespace euchre::lzrw1kh {

inline constexpr std::size_t kChunk = 32768;
// Bytes past a chunk that the coder may read (source) or scribble on
// (destination) for speed; callers leave this much room.
inline constexpr std::size_t kSlack = 32;
// The most a block may take: a stored full chunk and its marker.
inline constexpr std::size_t kMaxBlock = kChunk + 1;

inline constexpr std::uint8_t kCompressedMark = 0x40;
inline constexpr std::uint8_t kStoredMark = 0x80;
inline constexpr char kIdentifier[4] = {'W', 'R', 'Z', 'L'};
// The other kind of container, with blocks this program cannot read.
inline constexpr char kOtherIdentifier[4] = {'!', 'H', 'Z', 'L'};

// Codes src[0, n) (n <= kChunk) into dst and returns the block's length. src
// must be followed by kSlack readable bytes (their values do not change the
// result); dst must hold n + kSlack bytes.
std::size_t compressChunk(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);

// Decodes a block of `length` bytes into dst, which holds kChunk + kSlack
// bytes. Returns the number of bytes produced, or -1 when the block is
// damaged: an item cut off by the block's end, a copy reaching before the
// start of the output, or more than kChunk bytes produced.
std::ptrdiff_t decompressBlock(const std::uint8_t* block, std::size_t length, std::uint8_t* dst);

enum class Fault {
    None,
    ReadFailed,  // the input could not be read, or ended too early
    WriteFailed, // the output took fewer bytes than given
    NoHeader,    // the identifier is not one this program writes
    Mismatch,    // the blocks are damaged or disagree with the stored size
    TooLarge,    // the input is larger than the size field can state
    NoMemory,    // the working buffers could not be had
};

struct Result {
    Fault fault = Fault::None;
    qint64 bytes = 0; // written to the output
};

// Writes the container of `size` bytes read from `in` to `out`. A read that
// returns fewer bytes than `size` promised is a ReadFailed.
Result compressStream(QIODevice& in, qint64 size, QIODevice& out);

// Reads a container from `in` and writes its content to `out`. Stops at the
// first fault; what was written by then is the caller's to throw away.
Result decompressStream(QIODevice& in, QIODevice& out);

} // namespace euchre::lzrw1kh
