// Whole-file helpers and the file size limit of the tally tests.
#include "tally/support/files.h"

#include <QFile>
#include <csignal>
#include <sys/resource.h>

bool writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void withFileLimit(long bytes, const std::function<void()>& work) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    // Past the limit a write fails instead of the process being stopped.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limited);
    work();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}
