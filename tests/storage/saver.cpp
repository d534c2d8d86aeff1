// The kill test's child: saves every kind of file the program writes over
// and over, each round with the next counter, and prints the counter once
// every file of the round is saved. It starts after the highest counter it
// finds (saying so) and goes on until it is killed.
#include "storage/support/savedfiles.h"

#include <QCoreApplication>
#include <cstdio>

using namespace euchre::testing;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: storage-saver FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    // A round cut short by the last kill may have saved some files already.
    int counter = 0;
    for (SavedKind kind : kSavedKinds) {
        const std::optional<int> read = readCounter(kind, folder);
        if (!read) {
            std::fprintf(stderr, "storage-saver: %s is not whole\n",
                         qPrintable(savedFileName(kind)));
            return 1;
        }
        counter = std::max(counter, *read);
    }
    std::printf("ready %d\n", counter);
    std::fflush(stdout);
    for (;;) {
        ++counter;
        for (SavedKind kind : kSavedKinds)
            if (!saveCounter(kind, folder, counter)) {
                std::fprintf(stderr, "storage-saver: %s not saved\n",
                             qPrintable(savedFileName(kind)));
                return 1;
            }
        std::printf("%d\n", counter);
        std::fflush(stdout);
    }
}
