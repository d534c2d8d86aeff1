// The signal handler and its socket pair to the event loop.
#include "app/signalclose.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace euchre {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int g_pipe[2] = {-1, -1}; // [0] written by the handler, [1] read on the event loop

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request to end; nothing is lost.
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &byte, 1);
    errno = saved;
}

} // namespace

CloseOnSignals::CloseOnSignals(std::function<void()> onSignal_, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal_)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pipe) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return; // the signals keep their usual effect
    }
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CloseOnSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : kSignals) sigaction(sig, &action, nullptr);
}

CloseOnSignals::~CloseOnSignals() {
    if (g_pipe[0] < 0) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int sig : kSignals) sigaction(sig, &action, nullptr);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void CloseOnSignals::readSignal() {
    char bytes[64];
    while (::read(g_pipe[1], bytes, sizeof bytes) > 0) {
    }
    if (m_onSignal) m_onSignal();
}

} // namespace euchre
