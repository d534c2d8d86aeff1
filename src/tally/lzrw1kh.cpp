// The tally file's block coder and its container, streamed chunk by chunk.
#include "tally/lzrw1kh.h"

#include <QIODevice>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

namespace euchre::lzrw1kh {

namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
constexpr std::size_t kMinRun = 16;
constexpr std::size_t kMaxRun = 4095;
constexpr std::size_t kMaxDistance = 4095;
constexpr unsigned kHashBits = 12;
constexpr unsigned kHashMultiplier = 40543;
constexpr unsigned kItemsPerControl = 16;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kLengthSize = 2;

inline std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Whether the three bytes at a and b agree; reads a fourth byte of each.
inline bool sameThree(const std::uint8_t* a, const std::uint8_t* b) {
    constexpr std::uint32_t kThree =
        std::endian::native == std::endian::little ? 0x00FFFFFFu : 0xFFFFFF00u;
    return ((load32(a) ^ load32(b)) & kThree) == 0;
}

inline void copy8(std::uint8_t* to, const std::uint8_t* from) {
    std::memcpy(to, from, 8);
}

inline unsigned hashAt(const std::uint8_t* p) {
    std::uint32_t h = (std::uint32_t{p[0]} << 4) ^ p[1];
    h = (h << 4) ^ p[2];
    return ((h * kHashMultiplier) >> 4) & ((1u << kHashBits) - 1);
}

// How many leading bytes of a and b agree, at most `limit`; reads nothing at
// or past a + limit and b + limit.
inline std::size_t commonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    std::size_t m = 0;
    if constexpr (std::endian::native == std::endian::little) {
        while (m + 8 <= limit) {
            const std::uint64_t diff = load64(a + m) ^ load64(b + m);
            if (diff) return m + static_cast<std::size_t>(std::countr_zero(diff)) / 8;
            m += 8;
        }
    }
    while (m < limit && a[m] == b[m]) ++m;
    return m;
}

inline void put16(std::uint8_t* d, unsigned v) {
    d[0] = static_cast<std::uint8_t>(v >> 8);
    d[1] = static_cast<std::uint8_t>(v);
}

// Reads until `size` bytes arrived or the input ends; -1 when a read fails.
qint64 readFully(QIODevice& in, std::uint8_t* to, qint64 size) {
    qint64 got = 0;
    while (got < size) {
        const qint64 r = in.read(reinterpret_cast<char*>(to) + got, size - got);
        if (r < 0) return -1;
        if (r == 0) break;
        got += r;
    }
    return got;
}

bool writeFully(QIODevice& out, const std::uint8_t* from, qint64 size) {
    return out.write(reinterpret_cast<const char*>(from), size) == size;
}

// Working memory of one call, given back when the call ends.
std::unique_ptr<std::uint8_t[]> buffer(std::size_t size) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]());
}

} // namespace

std::size_t compressChunk(const std::uint8_t* s, std::size_t n, std::uint8_t* d) {
    // The last position seen per hash value; only positions where a literal
    // or a copy was tried are entered, never those inside a copy or a run.
    std::int16_t table[1u << kHashBits];
    std::memset(table, 0xFF, sizeof table);

    // A marker bit above the item bits: when it reaches bit 16, the control
    // word holds its 16 items. Counting this way keeps the loop's state in
    // registers.
    constexpr unsigned kFull = 1u << kItemsPerControl;
    d[0] = kCompressedMark;
    std::uint8_t* controlAt = d + 1;
    std::uint8_t* op = d + 3;
    std::uint8_t* const opLimit = d + n; // past this, storing the chunk is shorter
    unsigned control = 1;
    std::size_t x = 0;
    while (x < n && op <= opLimit) {
        if (control & kFull) {
            put16(controlAt, control);
            controlAt = op;
            op += 2;
            control = 1;
        }
        const std::uint8_t here = s[x];
        std::size_t run = 1;
        if (s[x + 1] == here) {
            const std::size_t limit = std::min(kMaxRun, n - x);
            run = 1 + commonLength(s + x + 1, s + x, limit - 1);
        }
        if (run >= kMinRun) {
            const std::size_t v = run - kMinRun;
            op[0] = 0;
            op[1] = static_cast<std::uint8_t>(v >> 8);
            op[2] = static_cast<std::uint8_t>(v);
            op[3] = here;
            op += 4;
            x += run;
            control = (control << 1) | 1;
            continue;
        }
        const unsigned h = hashAt(s + x);
        const int p = table[h];
        table[h] = static_cast<std::int16_t>(x);
        // One branch for "is there a candidate that starts like here": on
        // data with few repeats its parts alone would be guessed wrong often.
        const std::size_t from = p < 0 ? 0 : static_cast<std::size_t>(p);
        const bool candidate = (p >= 0) & (x - from <= kMaxDistance) & sameThree(s + from, s + x);
        if (candidate) {
            const std::size_t m = commonLength(s + x, s + from, std::min(kMaxMatch, n - x));
            if (m >= kMinMatch) {
                put16(op, static_cast<unsigned>((x - from) * 16 + (m - kMinMatch)));
                op += 2;
                x += m;
                control = (control << 1) | 1;
                continue;
            }
        }
        *op++ = here;
        ++x;
        control <<= 1;
    }
    while (!(control & kFull)) control <<= 1;
    put16(controlAt, control & 0xFFFF);
    if (op > opLimit) {
        d[0] = kStoredMark;
        std::memcpy(d + 1, s, n);
        return n + 1;
    }
    return static_cast<std::size_t>(op - d);
}

std::ptrdiff_t decompressBlock(const std::uint8_t* block, std::size_t length, std::uint8_t* dst) {
    if (length < 2) return 0;
    if (block[0] == kStoredMark) {
        const std::size_t n = length - 1;
        if (n > kChunk) return -1;
        std::memcpy(dst, block + 1, n);
        return static_cast<std::ptrdiff_t>(n);
    }
    // A block of two bytes holds half a control word and no item.
    if (length < 3) return 0;

    const std::uint8_t* ip = block + 3;
    const std::uint8_t* const iend = block + length;
    std::uint8_t* op = dst;
    std::uint8_t* const oend = dst + kChunk;
    unsigned control = (unsigned{block[1]} << 8) | block[2];
    unsigned bits = kItemsPerControl;
    while (ip < iend) {
        if (bits == 0) {
            // A control word must be whole and followed by an item.
            if (iend - ip < 3) return -1;
            control = (unsigned{ip[0]} << 8) | ip[1];
            ip += 2;
            bits = kItemsPerControl;
        }
        if (!(control & 0x8000)) {
            if (op == oend) return -1;
            *op++ = *ip++;
        } else {
            if (iend - ip < 2) return -1;
            const std::size_t distance = (std::size_t{ip[0]} << 4) | (ip[1] >> 4);
            if (distance == 0) {
                if (iend - ip < 4) return -1;
                const std::size_t len = ((std::size_t{ip[1]} << 8) | ip[2]) + kMinRun;
                if (static_cast<std::size_t>(oend - op) < len) return -1;
                std::memset(op, ip[3], len);
                op += len;
                ip += 4;
            } else {
                const std::size_t len = (ip[1] & 15u) + kMinMatch;
                if (distance > static_cast<std::size_t>(op - dst)) return -1;
                if (static_cast<std::size_t>(oend - op) < len) return -1;
                const std::uint8_t* from = op - distance;
                if (distance >= 8) {
                    // Whole words: each reads only bytes already final,
                    // and what lands past the copy's end is overwritten
                    // later or never handed out (dst has kSlack to spare).
                    copy8(op, from);
                    copy8(op + 8, from + 8);
                    copy8(op + 16, from + 16);
                } else {
                    for (std::size_t i = 0; i < len; ++i) op[i] = from[i];
                }
                op += len;
                ip += 2;
            }
        }
        control <<= 1;
        --bits;
    }
    return op - dst;
}

Result compressStream(QIODevice& in, qint64 size, QIODevice& out) {
    if (size < 0 || size > INT32_MAX) return {Fault::TooLarge, 0};
    const auto src = buffer(kChunk + kSlack);
    const auto dst = buffer(kLengthSize + kChunk + kSlack);
    if (!src || !dst) return {Fault::NoMemory, 0};

    std::uint8_t header[kHeaderSize];
    std::memcpy(header, kIdentifier, 4);
    const auto stated = static_cast<std::uint32_t>(size);
    for (int i = 0; i < 4; ++i) header[4 + i] = static_cast<std::uint8_t>(stated >> (8 * i));
    if (!writeFully(out, header, kHeaderSize)) return {Fault::WriteFailed, 0};

    Result result{Fault::None, kHeaderSize};
    qint64 read = 0;
    for (;;) {
        const qint64 got = readFully(in, src.get(), kChunk);
        if (got < 0) return {Fault::ReadFailed, result.bytes};
        read += got;
        // A file that grows while it is read would not match its size.
        if (read > size) return {Fault::ReadFailed, result.bytes};
        std::memset(src.get() + got, 0, kSlack);
        const std::size_t length =
            compressChunk(src.get(), static_cast<std::size_t>(got), dst.get() + kLengthSize);
        dst[0] = static_cast<std::uint8_t>(length);
        dst[1] = static_cast<std::uint8_t>(length >> 8);
        const auto total = static_cast<qint64>(kLengthSize + length);
        if (!writeFully(out, dst.get(), total)) return {Fault::WriteFailed, result.bytes};
        result.bytes += total;
        if (got < static_cast<qint64>(kChunk)) break;
    }
    if (read != size) result.fault = Fault::ReadFailed;
    return result;
}

Result decompressStream(QIODevice& in, QIODevice& out) {
    std::uint8_t header[kHeaderSize];
    if (readFully(in, header, 4) != 4) return {Fault::ReadFailed, 0};
    // The other kind of container is refused like any unknown one.
    if (std::memcmp(header, kIdentifier, 4) != 0) return {Fault::NoHeader, 0};
    if (readFully(in, header + 4, 4) != 4) return {Fault::ReadFailed, 0};
    std::uint32_t stated = 0;
    for (int i = 0; i < 4; ++i) stated |= std::uint32_t{header[4 + i]} << (8 * i);
    const auto size = static_cast<qint64>(static_cast<std::int32_t>(stated));

    const auto block = buffer(kMaxBlock);
    const auto dst = buffer(kChunk + kSlack);
    if (!block || !dst) return {Fault::NoMemory, 0};

    Result result;
    std::ptrdiff_t produced = 0;
    do {
        std::uint8_t prefix[kLengthSize];
        if (readFully(in, prefix, kLengthSize) != kLengthSize)
            return {Fault::ReadFailed, result.bytes};
        const std::size_t length = prefix[0] | (std::size_t{prefix[1]} << 8);
        if (length > kMaxBlock) return {Fault::Mismatch, result.bytes};
        if (readFully(in, block.get(), static_cast<qint64>(length)) != static_cast<qint64>(length))
            return {Fault::ReadFailed, result.bytes};
        produced = decompressBlock(block.get(), length, dst.get());
        // Stop as soon as the content overshoots its size: a damaged file
        // never makes more than the size it states.
        if (produced < 0 || result.bytes + produced > size) return {Fault::Mismatch, result.bytes};
        if (!writeFully(out, dst.get(), produced)) return {Fault::WriteFailed, result.bytes};
        result.bytes += produced;
    } while (produced == static_cast<std::ptrdiff_t>(kChunk));
    if (result.bytes != size) result.fault = Fault::Mismatch;
    return result;
}

} // namespace euchre::lzrw1kh
