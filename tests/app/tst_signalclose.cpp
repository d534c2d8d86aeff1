// The signals that ask the program to end reach the event loop as a call,
// once per signal, instead of killing the process.
#include "app/signalclose.h"

#include <QTest>
#include <csignal>

class TestSignalClose : public QObject {
    Q_OBJECT
private slots:
    void eachSignalRunsTheCall();
};

void TestSignalClose::eachSignalRunsTheCall() {
    int calls = 0;
    euchre::CloseOnSignals closer([&calls] { ++calls; });
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        const int before = calls;
        std::raise(sig);
        QTRY_COMPARE(calls, before + 1);
    }
}

QTEST_GUILESS_MAIN(TestSignalClose)
#include "tst_signalclose.moc"
