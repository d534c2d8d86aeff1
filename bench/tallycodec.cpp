// euchre-tally-bench: packs and unpacks 16 MiB of mixed data (prose, tally
// grid text, random bytes) with the tally coder and with zlib level 1
// (qCompress) in the same run, printing MB/s and sizes. Speeds count the
// thread's own processor time, so other work on a shared machine disturbs
// them little. The figures depend on the machine; nothing here passes or
// fails.
#include "tally/lzrw1kh.h"
#include "tally/tallygrid.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

constexpr qsizetype kInputSize = 16 * 1024 * 1024;
constexpr qsizetype kPiece = 256 * 1024;
constexpr int kRounds = 5;

const char* const kWords[] = {
    "the",   "trump",  "bower",    "left",    "right", "dealer", "passes",  "orders", "up",
    "alone", "march",  "euchre",   "points",  "trick", "lead",   "follows", "suit",   "hearts",
    "clubs", "spades", "diamonds", "partner", "wins",  "game",   "table",   "and",    "a",
    "to",    "of",     "hand",     "played",  "card",  "takes",  "score",   "ten",    "nine"};

QByteArray prose(QRandomGenerator& rng, qsizetype size) {
    QByteArray out;
    while (out.size() < size) {
        out += kWords[rng.bounded(int(std::size(kWords)))];
        out += rng.bounded(12) == 0 ? ".\r\n" : " ";
    }
    out.resize(size);
    return out;
}

QByteArray gridText(QRandomGenerator& rng, qsizetype size) {
    QByteArray out;
    int player = 0;
    while (out.size() < size) {
        euchre::TallyGrid grid;
        for (int i = 0; i < 40; ++i) {
            grid.addRow(QStringLiteral("Player%1").arg(++player));
            for (int c = 1; c < euchre::TallyGrid::kColumns; ++c)
                grid.setCell(c, grid.rowCount() - 1, QString::number(rng.bounded(400)));
        }
        out += grid.text();
    }
    out.resize(size);
    return out;
}

QByteArray randomBytes(QRandomGenerator& rng, qsizetype size) {
    QByteArray out(size, Qt::Uninitialized);
    rng.fillRange(reinterpret_cast<quint32*>(out.data()), size / 4);
    return out;
}

// The three kinds interleaved in pieces, 6 : 6 : 4.
QByteArray mixedInput() {
    QRandomGenerator rng(77);
    QByteArray out;
    int turn = 0;
    while (out.size() < kInputSize) {
        switch (turn++ % 8) {
        case 0:
        case 3:
        case 5:
            out += prose(rng, kPiece);
            break;
        case 1:
        case 4:
        case 6:
            out += gridText(rng, kPiece);
            break;
        default:
            out += randomBytes(rng, kPiece);
            break;
        }
    }
    out.resize(kInputSize);
    return out;
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The best of a few rounds, in MB/s of uncompressed data.
double best(const std::function<void()>& work) {
    double fastest = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double start = threadSeconds();
        work();
        const double seconds = threadSeconds() - start;
        fastest = std::max(fastest, double(kInputSize) / 1e6 / seconds);
    }
    return fastest;
}

QByteArray pack(const QByteArray& data) {
    QByteArray packed;
    QBuffer in, out(&packed);
    in.setData(data);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    euchre::lzrw1kh::compressStream(in, data.size(), out);
    return packed;
}

QByteArray unpack(const QByteArray& packed) {
    QByteArray data;
    data.reserve(kInputSize);
    QBuffer in, out(&data);
    in.setData(packed);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    if (euchre::lzrw1kh::decompressStream(in, out).fault != euchre::lzrw1kh::Fault::None)
        data.clear();
    return data;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QByteArray input = mixedInput();

    QByteArray packed, unpacked, zpacked, zunpacked;
    const double packSpeed = best([&] { packed = pack(input); });
    const double unpackSpeed = best([&] { unpacked = unpack(packed); });
    const double zpackSpeed = best([&] { zpacked = qCompress(input, 1); });
    const double zunpackSpeed = best([&] { zunpacked = qUncompress(zpacked); });
    if (unpacked != input || zunpacked != input) {
        std::fprintf(stderr, "euchre-tally-bench: a round trip did not give the input back\n");
        return 1;
    }

    std::printf("input                      %lld bytes (prose, tally grids, random)\n",
                static_cast<long long>(input.size()));
    std::printf("tally coder   compress     %8.1f MB/s   size %lld (%.1f%%)\n", packSpeed,
                static_cast<long long>(packed.size()), 100.0 * packed.size() / input.size());
    std::printf("tally coder   decompress   %8.1f MB/s\n", unpackSpeed);
    std::printf("zlib level 1  compress     %8.1f MB/s   size %lld (%.1f%%)\n", zpackSpeed,
                static_cast<long long>(zpacked.size()), 100.0 * zpacked.size() / input.size());
    std::printf("zlib level 1  decompress   %8.1f MB/s\n", zunpackSpeed);
    std::printf("speed against zlib level 1 compress %.2fx, decompress %.2fx\n",
                packSpeed / zpackSpeed, unpackSpeed / zunpackSpeed);
    return 0;
}
