// libFuzzer target for the tally coder: every input is unpacked as a
// container and as a single block, and packed and unpacked again, which must
// give it back unchanged.
#include "tally/lzrw1kh.h"

#include <QBuffer>
#include <cstdlib>
#include <vector>

using namespace euchre::lzrw1kh;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QByteArray out;
        QBuffer in, sink(&out);
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        sink.open(QIODevice::WriteOnly);
        decompressStream(in, sink);
    }
    {
        std::vector<std::uint8_t> dst(kChunk + kSlack);
        if (decompressBlock(data, size, dst.data()) > static_cast<std::ptrdiff_t>(kChunk))
            std::abort();
    }
    QByteArray packed, back;
    QBuffer in, packedOut(&packed);
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    packedOut.open(QIODevice::WriteOnly);
    if (compressStream(in, bytes.size(), packedOut).fault != Fault::None) std::abort();
    QBuffer packedIn(&packed), backOut(&back);
    packedIn.open(QIODevice::ReadOnly);
    backOut.open(QIODevice::WriteOnly);
    if (decompressStream(packedIn, backOut).fault != Fault::None || back != bytes) std::abort();
    return 0;
}
