// Fuzz target of the host: the input is a script of connections, bytes,
// messages cut anywhere, legal moves, hang-ups and timer ticks, run against
// a real host with recording connections (see support/hostdriver.h for the
// script and the rules checked after every step).
#include "support/hostdriver.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The host's timers report themselves active only with an application.
    new QCoreApplication(*argc, *argv);
    // What the host logs of every line it drops would cost more than the fuzzing.
    QLoggingCategory::setFilterRules(QStringLiteral("euchre.*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    euchre::fuzzing::HostDriver driver(data[0]);
    driver.run(data + 1, size - 1);
    return 0;
}
