// Turns the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP) into
// a call on the event loop, so the program ends as closing its window would.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace euchre {

// While one exists, the three signals no longer kill the process: each one
// runs `onSignal` on the event loop instead. The handler only writes a byte
// to a socket pair, the one thing a signal handler may safely do.
class CloseOnSignals : public QObject {
    Q_OBJECT
public:
    explicit CloseOnSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~CloseOnSignals() override;

private:
    void readSignal();

    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace euchre
