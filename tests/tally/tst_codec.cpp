// The tally coder in memory: exact blocks, round trips around the chunk size
// against a plain reading of the coding rules, damaged blocks, and a bounded
// fuzz of unpacking.
#include "tally/lzrw1kh.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>
#include <vector>

using namespace euchre::lzrw1kh;

namespace {

struct Unpacked {
    Fault fault;
    QByteArray data;
};

QByteArray pack(const QByteArray& data) {
    QByteArray packed;
    QBuffer in, out(&packed);
    in.setData(data);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    const Result r = compressStream(in, data.size(), out);
    return r.fault == Fault::None && r.bytes == packed.size() ? packed : QByteArray("failed");
}

Unpacked unpack(const QByteArray& packed) {
    QByteArray data;
    QBuffer in, out(&data);
    in.setData(packed);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    const Result r = decompressStream(in, out);
    return {r.fault, data};
}

// The coding rules read plainly, one byte at a time, as the slow reference
// that the fast coder must agree with byte for byte.
QByteArray referenceBlock(const std::uint8_t* s, int n) {
    std::vector<std::uint8_t> d(n + 16);
    std::vector<int> table(4096, -1);
    int x = 0, z = 1, y = 3, b = 0;
    unsigned c = 0;
    d[0] = 64;
    while (x < n && y <= n) {
        if (b > 15) {
            d[z] = (c >> 8) & 255, d[z + 1] = c & 255, z = y, y += 2, b = 0;
        }
        int r = 1;
        while (s[x + r] == s[x] && r < 4095 && x + r < n) ++r;
        if (r >= 16) {
            d[y] = 0, d[y + 1] = (r - 16) / 256, d[y + 2] = (r - 16) % 256, d[y + 3] = s[x];
            y += 4, x += r, c = c * 2 + 1;
        } else {
            unsigned h = ((unsigned(s[x]) * 16) ^ s[x + 1]) * 16 ^ s[x + 2];
            h = ((h * 40543u) >> 4) & 4095;
            const int p = table[h];
            int m = 0;
            if (p != -1 && x - p < 4096)
                while (m < 18 && s[x + m] == s[p + m] && x + m < n) ++m;
            table[h] = x;
            if (m >= 3) {
                const int k = (x - p) * 16 + (m - 3);
                d[y] = k / 256, d[y + 1] = k % 256, y += 2, x += m, c = c * 2 + 1;
            } else {
                d[y++] = s[x++], c = c * 2;
            }
        }
        ++b;
    }
    c <<= 16 - b;
    d[z] = (c >> 8) & 255, d[z + 1] = c & 255;
    if (y > n) return QByteArray(1, char(128)) + QByteArray(reinterpret_cast<const char*>(s), n);
    return QByteArray(reinterpret_cast<const char*>(d.data()), y);
}

QByteArray referenceContainer(const QByteArray& data) {
    QByteArray out("WRZL");
    const qint32 size = qint32(data.size());
    for (int i = 0; i < 4; ++i) out += char((size >> (8 * i)) & 255);
    for (qsizetype at = 0;; at += qsizetype(kChunk)) {
        QByteArray chunk = data.mid(at, qsizetype(kChunk));
        const int n = int(chunk.size());
        chunk.append(16, '\0');
        const QByteArray block =
            referenceBlock(reinterpret_cast<const std::uint8_t*>(chunk.constData()), n);
        out += char(block.size() & 255);
        out += char(block.size() >> 8);
        out += block;
        if (n < int(kChunk)) break;
    }
    return out;
}

QByteArray randomBytes(QRandomGenerator& rng, qsizetype size, int alphabet) {
    QByteArray out(size, Qt::Uninitialized);
    for (char& c : out) c = char(rng.bounded(alphabet));
    return out;
}

// Text-like data with repeats near and far and runs of every length.
QByteArray structured(QRandomGenerator& rng, qsizetype size) {
    QByteArray out;
    while (out.size() < size) {
        switch (rng.bounded(4)) {
        case 0:
            out += randomBytes(rng, rng.bounded(1, 30), 256);
            break;
        case 1:
            out += QByteArray(rng.bounded(1, 5000), char(rng.bounded(256)));
            break;
        default: {
            const qsizetype from = out.size() - rng.bounded(1, 5000);
            if (from >= 0) out += out.mid(from, rng.bounded(1, 40));
        }
        }
    }
    out.resize(size);
    return out;
}

QByteArray container(const QByteArray& blocks, qint32 size) {
    QByteArray out("WRZL");
    for (int i = 0; i < 4; ++i) out += char((size >> (8 * i)) & 255);
    return out + blocks;
}

QByteArray block(const QByteArray& body) {
    return QByteArray(1, char(body.size() & 255)) + char(body.size() >> 8) + body;
}

QByteArray times(const QByteArray& part, int n) {
    QByteArray out;
    for (int i = 0; i < n; ++i) out += part;
    return out;
}

} // namespace

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void exactContainers_data();
    void exactContainers();
    void roundTripsAgreeWithTheRules_data();
    void roundTripsAgreeWithTheRules();
    void damagedContainersFail_data();
    void damagedContainersFail();
    void unpackingHostileInputStaysInBounds();
};

void TestCodec::exactContainers_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("packed");
    QTest::newRow("empty") << QByteArray() << QByteArray::fromHex("5752 5a4c 00000000 0100 80");
    QTest::newRow("100 equal bytes")
        << QByteArray(100, 'x')
        << QByteArray::fromHex("5752 5a4c 64000000 0700 40 8000 0000 54 78");
    QTest::newRow("abcabcabc") << QByteArray("abcabcabc")
                               << QByteArray::fromHex(
                                      "5752 5a4c 09000000 0800 40 1000 616263 0033");
    QTest::newRow("abc, stored") << QByteArray("abc")
                                 << QByteArray::fromHex("5752 5a4c 03000000 0400 80 616263");
    // Eight longest runs, a literal and an overlapping copy; then the block
    // of the empty chunk that ends every whole number of chunks.
    QTest::newRow("one whole chunk")
        << QByteArray(int(kChunk), '\0')
        << QByteArray::fromHex("5752 5a4c 00800000 2600 40 ff40") +
               times(QByteArray::fromHex("000fef00"), 8) + QByteArray::fromHex("00 0014 0100 80");
}

void TestCodec::exactContainers() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, packed);
    QCOMPARE(pack(input).toHex(), packed.toHex());
    const Unpacked back = unpack(packed);
    QCOMPARE(back.fault, Fault::None);
    QCOMPARE(back.data, input);
}

void TestCodec::roundTripsAgreeWithTheRules_data() {
    QTest::addColumn<QByteArray>("input");
    QRandomGenerator rng(2024);
    const int c = int(kChunk);
    for (const int size :
         {1,    2,    3,     15, 16,    17,    18,        19,    4095,      4096,
          4097, 4111, c - 1, c,  c + 1, c + 2, 2 * c - 1, 2 * c, 2 * c + 3, 3 * c + 12345}) {
        QTest::addRow("random %d", size) << randomBytes(rng, size, 256);
        QTest::addRow("four letters %d", size) << randomBytes(rng, size, 4);
        QTest::addRow("structured %d", size) << structured(rng, size);
        QTest::addRow("one byte %d", size) << QByteArray(size, 'e');
    }
    // A repeat at the farthest distance a copy reaches, and one just beyond.
    for (const int gap : {4092, 4093})
        QTest::addRow("repeat after %d", gap) << QByteArray("xyz") + QByteArray(gap, 'q') + "xyz";
}

void TestCodec::roundTripsAgreeWithTheRules() {
    QFETCH(QByteArray, input);
    const QByteArray packed = pack(input);
    QCOMPARE(packed, referenceContainer(input));
    const Unpacked back = unpack(packed);
    QCOMPARE(back.fault, Fault::None);
    QCOMPARE(back.data, input);
}

void TestCodec::damagedContainersFail_data() {
    QTest::addColumn<QByteArray>("packed");
    QTest::addColumn<Fault>("fault");
    const QByteArray good = pack("abcabcabc");
    const QByteArray run4095 = QByteArray::fromHex("000fef61");
    QTest::newRow("other container kind") << QByteArray("!HZL") + good.mid(4) << Fault::NoHeader;
    QTest::newRow("unknown identifier") << QByteArray("WRZX") + good.mid(4) << Fault::NoHeader;
    QTest::newRow("cut in the identifier") << QByteArray("WRZ") << Fault::ReadFailed;
    QTest::newRow("cut in the size") << QByteArray("WRZL\x09") << Fault::ReadFailed;
    QTest::newRow("no block") << good.left(8) << Fault::ReadFailed;
    QTest::newRow("block longer than the file") << good.left(good.size() - 1) << Fault::ReadFailed;
    QTest::newRow("size field too large") << container(good.mid(8), 10) << Fault::Mismatch;
    QTest::newRow("size field too small") << container(good.mid(8), 8) << Fault::Mismatch;
    QTest::newRow("negative size") << container(good.mid(8), -1) << Fault::Mismatch;
    QTest::newRow("copy before the start")
        << container(block(QByteArray::fromHex("40 4000 61 0043")), 7) << Fault::Mismatch;
    QTest::newRow("copy cut off") << container(block(QByteArray::fromHex("40 4000 61 00")), 4)
                                  << Fault::Mismatch;
    QTest::newRow("run cut off") << container(block(QByteArray::fromHex("40 8000 00 0054")), 100)
                                 << Fault::Mismatch;
    QTest::newRow("control word with no item")
        << container(
               block(QByteArray::fromHex("40 0000") + QByteArray(16, 'a') + QByteArray(2, '\0')),
               17)
        << Fault::Mismatch;
    QTest::newRow("runs beyond a chunk")
        << container(block(QByteArray::fromHex("40 ff80") + times(run4095, 9)), 36855)
        << Fault::Mismatch;
    QTest::newRow("run longer than what is left")
        << container(block(QByteArray::fromHex("40 ff80") + times(run4095, 8) +
                           QByteArray::fromHex("00000061")),
                     32776)
        << Fault::Mismatch;
    QTest::newRow("stored block beyond a chunk")
        << container(block(QByteArray(1, char(0x80)) + QByteArray(int(kChunk) + 1, 'a')), 32769)
        << Fault::Mismatch;
}

void TestCodec::damagedContainersFail() {
    QFETCH(QByteArray, packed);
    QFETCH(Fault, fault);
    QCOMPARE(unpack(packed).fault, fault);
}

// Random blocks and containers, and valid ones with bytes changed, cut or
// lengthened: unpacking never reads or writes outside its buffers (the
// sanitizer build watches), never produces more than a chunk per block or
// more than the size stated, and reports success only with exactly that
// size.
void TestCodec::unpackingHostileInputStaysInBounds() {
    QRandomGenerator rng(77);
    std::vector<std::uint8_t> dst(kChunk + kSlack);
    QList<QByteArray> seeds;
    for (const int size : {0, 9, 300, 5000, int(kChunk), int(kChunk) + 700})
        seeds << pack(structured(rng, size));
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes;
        if (round % 4 == 0) {
            bytes = randomBytes(rng, rng.bounded(0, 300), 256);
            const std::ptrdiff_t n = decompressBlock(
                reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size(), dst.data());
            QVERIFY(n >= -1 && n <= std::ptrdiff_t(kChunk));
            bytes = container(block(bytes), rng.bounded(0, 40000));
        } else {
            bytes = seeds[rng.bounded(seeds.size())];
            for (int edits = rng.bounded(1, 6); edits > 0; --edits) {
                const int at = rng.bounded(int(bytes.size()));
                switch (rng.bounded(4)) {
                case 0:
                    bytes[at] = char(bytes[at] ^ (1 << rng.bounded(8)));
                    break;
                case 1:
                    bytes[at] = char(rng.bounded(256));
                    break;
                case 2:
                    bytes.truncate(at);
                    break;
                default:
                    bytes.insert(at, randomBytes(rng, rng.bounded(1, 8), 256));
                    break;
                }
                if (bytes.isEmpty()) break;
            }
        }
        const Unpacked back = unpack(bytes);
        if (bytes.size() < 8) continue;
        const qint32 stated = qFromLittleEndian<qint32>(bytes.constData() + 4);
        QVERIFY(back.data.size() <= std::max<qint32>(stated, 0));
        if (back.fault == Fault::None) QCOMPARE(back.data.size(), stated);
    }
}

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
