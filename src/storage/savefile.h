// Saving a file whole: written beside its place and put there in one step,
// so that a crash, a kill or a power cut at any moment leaves either the old
// file or the new one, never a part of either.
#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace euchre {

// One save of one file. Write to device() between open() and commit(); the
// file at the path changes only when commit() succeeds. A save that is
// never committed (an error, an exception, a kill) leaves the old file as
// it was.
//
// The new text goes to a scratch file of a fixed name beside the file
// ("<name>.saving"), so a save cut short by a kill leaves at most that one
// scratch file, which the next save takes over, instead of a new stray file
// per kill. Two programs saving the same file at once do not share it: the
// one that finds it in use writes to a scratch file of its own.
class SaveFile {
public:
    explicit SaveFile(QString path);
    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    // Where the folder allows no new file but the file itself may be
    // written, write it in place: not safe against a crash, but it beats
    // not saving at all. Off unless asked for.
    void setDirectWriteFallback(bool enabled) { m_directFallback = enabled; }

    bool open();
    QIODevice& device() { return m_out; }
    // Everything written reaches the disk, then takes the file's place.
    bool commit();
    // Drops what was written; the old file stays.
    void cancel();

    const QString& path() const { return m_path; }
    // Why open(), a write or commit() failed.
    QString errorString() const { return m_error.isEmpty() ? m_out.errorString() : m_error; }

    // The fixed scratch file beside a file.
    static QString scratchPath(const QString& path);

private:
    bool fail(const QString& what);
    bool openScratch(const QString& scratch, bool shared);

    QString m_path;
    QString m_target;  // the path, or the file a link there names
    QString m_scratch; // empty while writing in place
    QFile m_out;
    int m_fd = -1;
    bool m_directFallback = false;
    QString m_error;
};

// Saves the bytes as the file's whole new content; false with a reason in
// *error (if given) when the old file had to stay.
bool saveWhole(const QString& path, QByteArrayView bytes, QString* error = nullptr,
               bool directWriteFallback = false);

// Renames an unreadable file to path + ".bad", or ".bad2", ".bad3" ... when
// that name is taken, so that a new file can start without losing the old
// one. Returns the new name, or an empty text when the file could not be
// moved.
QString setAside(const QString& path);

} // namespace euchre
