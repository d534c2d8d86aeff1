// Reading and writing the tally file.
#include "tally/tallyfile.h"

#include "tally/tlzrw1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace euchre {

namespace {

const QString kScratchName = QStringLiteral("temp.txt");
const QString kNotATally = QStringLiteral(" : this file holds no readable tally");
const QString kScratchFailed = QStringLiteral("No private folder for the tally's scratch file");
const QString kScratchWrite = QStringLiteral("The tally's scratch file could not be written : ");
// Far more than thousands of followed players take; a file that claims more
// is no tally, and unpacking it would only fill the disk.
constexpr qint32 kLargestTally = 16 * 1024 * 1024;

bool claimsTooMuch(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(8);
    return head.size() == 8 && head.startsWith("WRZL") &&
           qFromLittleEndian<qint32>(head.constData() + 4) > kLargestTally;
}

// The scratch file lives in a folder only this user can read, removed with
// everything in it when the call ends.
QString scratchIn(const QTemporaryDir& dir) {
    if (!dir.isValid()) throw ELzrw1(kScratchFailed);
    return QDir(dir.path()).filePath(kScratchName);
}

} // namespace

QString notATallyText(const QString& fileName) {
    return fileName + kNotATally;
}

TallyGrid readTallyFile(const QString& fileName) {
    if (claimsTooMuch(fileName)) throw ELzrw1(notATallyText(fileName));
    const QTemporaryDir dir;
    Tlzrw1 doit;
    doit.InputFile = fileName;
    doit.OutputFile = scratchIn(dir);
    doit.Decompress();
    TallyGrid grid;
    if (!loadgrid(grid, doit.OutputFile)) throw ELzrw1(notATallyText(fileName));
    return grid;
}

void writeTallyFile(const TallyGrid& grid, const QString& fileName) {
    const QTemporaryDir dir;
    Tlzrw1 doit;
    doit.InputFile = scratchIn(dir);
    doit.OutputFile = fileName;
    if (!savegrid(grid, doit.InputFile)) throw ELzrw1(kScratchWrite + doit.InputFile);
    doit.Compress();
}

} // namespace euchre
