// Saving a file whole: the scratch file beside it, its lock, the flush to
// the disk and the rename.
#include "storage/savefile.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace euchre {

namespace {

const QString kScratchSuffix = QStringLiteral(".saving");
// Tries at the fixed scratch file before taking a private one: another
// save may replace it between our open and our lock.
constexpr int kScratchTries = 3;
// Files set aside beside one file before giving up on moving another.
constexpr int kMostSetAside = 1000;

QString errnoText() {
    return qt_error_string(errno);
}

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

bool sameFile(int fd, const QString& path) {
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::stat(nativePath(path).constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// A file system that cannot flush (a pipe, some network mounts) has
// nothing to lose by it.
bool flushedToDisk(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP;
}

// Makes the rename itself last: the folder's entry reaches the disk too.
void flushFolder(const QString& path) {
    const int dir =
        ::open(nativePath(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

bool denied(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

} // namespace

SaveFile::SaveFile(QString path) : m_path(std::move(path)) {}

SaveFile::~SaveFile() {
    cancel();
}

QString SaveFile::scratchPath(const QString& path) {
    return path + kScratchSuffix;
}

bool SaveFile::fail(const QString& what) {
    m_error = what;
    cancel();
    return false;
}

// Opens and locks the scratch file. The fixed one is shared by every save
// of this file, so it is only ours once locked and still the one named.
bool SaveFile::openScratch(const QString& scratch, bool shared) {
    const QByteArray name = nativePath(scratch);
    if (!shared) {
        QByteArray pattern = name;
        m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (m_fd < 0) return false;
        m_scratch = QFile::decodeName(pattern);
        return true;
    }
    m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0) return false;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0 && sameFile(m_fd, scratch) &&
        ::ftruncate(m_fd, 0) == 0) {
        m_scratch = scratch;
        return true;
    }
    ::close(m_fd);
    m_fd = -1;
    errno = EBUSY;
    return false;
}

bool SaveFile::open() {
    cancel();
    m_error.clear();
    // A link keeps pointing where it did: the file it names is the one saved.
    const QFileInfo info(m_path);
    m_target = info.isSymLink() ? info.symLinkTarget() : m_path;
    const QString scratch = scratchPath(m_target);
    bool opened = false;
    for (int i = 0; i < kScratchTries && !opened; ++i) {
        opened = openScratch(scratch, true);
        if (!opened && errno != EBUSY) break;
    }
    if (!opened && errno == EBUSY)
        opened = openScratch(m_target + QStringLiteral(".XXXXXX"), false);
    if (!opened && denied(errno) && m_directFallback) {
        m_fd = ::open(nativePath(m_target).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                      0666);
        opened = m_fd >= 0;
    }
    if (!opened) return fail(errnoText());

    // The new file keeps the old one's permissions.
    struct stat old {};
    if (!m_scratch.isEmpty() && ::stat(nativePath(m_target).constData(), &old) == 0)
        ::fchmod(m_fd, old.st_mode & 07777);
    if (!m_out.open(m_fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        return fail(m_out.errorString());
    return true;
}

bool SaveFile::commit() {
    if (m_fd < 0 || !m_out.isOpen()) return fail(QStringLiteral("the file was not open"));
    // Written bytes still buffered show a full disk only here.
    if (!m_out.flush() || m_out.error() != QFileDevice::NoError) return fail(m_out.errorString());
    m_out.close();
    if (!flushedToDisk(m_fd)) return fail(errnoText());
    if (!m_scratch.isEmpty()) {
        if (::rename(nativePath(m_scratch).constData(), nativePath(m_target).constData()) != 0)
            return fail(errnoText());
        m_scratch.clear();
        flushFolder(m_target);
    }
    ::close(m_fd);
    m_fd = -1;
    return true;
}

void SaveFile::cancel() {
    if (m_out.isOpen()) m_out.close();
    if (m_fd < 0) return;
    // Still locked by us: nobody else writes this scratch file.
    if (!m_scratch.isEmpty()) ::unlink(nativePath(m_scratch).constData());
    m_scratch.clear();
    ::close(m_fd);
    m_fd = -1;
}

bool saveWhole(const QString& path, QByteArrayView bytes, QString* error,
               bool directWriteFallback) {
    SaveFile file(path);
    file.setDirectWriteFallback(directWriteFallback);
    const bool saved = file.open() &&
                       file.device().write(bytes.data(), bytes.size()) == bytes.size() &&
                       file.commit();
    if (!saved && error) *error = file.errorString();
    return saved;
}

QString setAside(const QString& path) {
    for (int n = 1; n <= kMostSetAside; ++n) {
        const QString name =
            path + QStringLiteral(".bad") + (n > 1 ? QString::number(n) : QString());
        if (QFile::exists(name)) continue;
        return QFile::rename(path, name) ? name : QString();
    }
    return QString();
}

} // namespace euchre
