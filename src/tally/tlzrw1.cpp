// The file side of the tally coder: opening, the texts of every failure, and
// an output that appears whole or not at all.
#include "tally/tlzrw1.h"

#include "storage/savefile.h"
#include "tally/lzrw1kh.h"

#include <QFile>
#include <QFileInfo>

namespace euchre {

namespace {

using lzrw1kh::Fault;

const QString kNoBuffers =
    QStringLiteral("Lzrw1 (de)compression : Failed to get memory for I/O buffers !");
const QString kNoSize = QStringLiteral("Lzrw1 compression : Failed to obtain the size of : ");
const QString kNoInput = QStringLiteral("Lzrw1 (de)compression : Failed to open input file : ");
const QString kNoOutput = QStringLiteral("Lzrw1 (de)compression : Failed to open output file : ");
const QString kReadError = QStringLiteral("Lzrw1 : Error reading from input file : ");
const QString kCompressTag = QStringLiteral(" (LZRW1/KH)");
const QString kWriteError = QStringLiteral("Lzrw1 : Error writing to output file : ");
const QString kNoHeader =
    QStringLiteral(" : Lzrw1 decompression : this file has no valid header !");
const QString kMismatch =
    QStringLiteral("Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");

// Opens the output beside its final place. Without a folder it may write in,
// there is no output at all.
void openOutput(SaveFile& out) {
    if (!out.open()) throw ELzrw1(kNoOutput + out.path());
}

void openInput(QFile& in) {
    if (!in.open(QIODevice::ReadOnly)) throw ELzrw1(kNoInput + in.fileName());
}

// Puts the finished output in its place; a full disk shows up here at last.
qint64 finish(SaveFile& out, qint64 bytes) {
    if (!out.commit()) throw ELzrw1(kWriteError + out.path());
    return bytes;
}

} // namespace

qint64 Tlzrw1::Compress() {
    const QFileInfo info(InputFile);
    if (!info.exists() || !info.isFile()) throw ELzrw1(kNoSize + InputFile);
    QFile in(InputFile);
    openInput(in);
    SaveFile out(OutputFile);
    openOutput(out);
    const lzrw1kh::Result r = lzrw1kh::compressStream(in, info.size(), out.device());
    switch (r.fault) {
    case Fault::None:
        return finish(out, r.bytes);
    case Fault::TooLarge:
        throw ELzrw1(kNoSize + InputFile);
    case Fault::NoMemory:
        throw ELzrw1(kNoBuffers);
    case Fault::WriteFailed:
        throw ELzrw1(kWriteError + OutputFile);
    default:
        throw ELzrw1(kReadError + InputFile + kCompressTag);
    }
}

qint64 Tlzrw1::Decompress() {
    QFile in(InputFile);
    openInput(in);
    SaveFile out(OutputFile);
    openOutput(out);
    const lzrw1kh::Result r = lzrw1kh::decompressStream(in, out.device());
    switch (r.fault) {
    case Fault::None:
        return finish(out, r.bytes);
    case Fault::NoHeader:
        throw ELzrw1(InputFile + kNoHeader);
    case Fault::Mismatch:
        throw ELzrw1(kMismatch);
    case Fault::NoMemory:
        throw ELzrw1(kNoBuffers);
    case Fault::WriteFailed:
        throw ELzrw1(kWriteError + OutputFile);
    default:
        throw ELzrw1(kReadError + InputFile);
    }
}

} // namespace euchre
