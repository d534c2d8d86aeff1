// libFuzzer target for game records: every input is read as a record file;
// one the reader takes is replayed through the rules, and written and read
// again, which must give the same record back.
#include "records/egn.h"
#include "records/replay.h"

#include <cstdint>
#include <cstdlib>

using namespace euchre::records;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<GameRecord> record = readRecord(bytes, &error);
    if (!record) {
        if (error.isEmpty()) std::abort(); // a refusal always says why
        return 0;
    }
    // An illegal replay names its deal and move; a legal one names none.
    const Replay replay = replayRecord(*record);
    if (replay.legal != replay.fault().isEmpty()) std::abort();
    const std::optional<GameRecord> again = readRecord(writeRecord(*record));
    if (!again || !(*again == *record)) std::abort();
    return 0;
}
