// A profile-style initialisation file: sections of key=value lines, edited in place.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace euchre {

// Reading takes the first matching section and key, comparing names without
// regard to letter case. Writing changes only the line of the key it writes:
// an existing key is updated where it stands, a missing key goes after the
// last line of its section, a missing section is appended to the file. Every
// other line, comments and unknown sections included, is written back as it
// was read, in the file's own encoding and line endings.
class IniFile {
public:
    explicit IniFile(QString path);

    // Reads the file. A missing file reads as empty and is fine. False when the
    // file exists but cannot be read or is far too large to be ours; save()
    // then refuses, so a file we could not read is never replaced.
    bool load();

    const QString& path() const { return m_path; }

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;

    // The value with blanks around it removed; nothing when the key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    QString readString(const QString& section, const QString& key,
                       const QString& fallback = {}) const;
    // A decimal number (or "$" and hex digits); the fallback for anything else.
    int readInt(const QString& section, const QString& key, int fallback) const;
    // "1"/"0" as this kind of file writes them; any other number counts as
    // true when not 0; "true"/"false" in any letter case; else the fallback.
    bool readBool(const QString& section, const QString& key, bool fallback) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

    // Replaces the file in one step, so a crash or a full disk never leaves a
    // half-written file behind. On failure *error (if given) says why.
    bool save(QString* error = nullptr);

    // The lines as they would be written, for inspection.
    const QStringList& lines() const { return m_lines; }

private:
    struct Range {
        qsizetype header = -1; // line of "[section]", -1 when missing
        qsizetype end = 0;     // one past the section's last line
    };
    Range findSection(const QString& section) const;
    qsizetype findKey(const Range& range, const QString& key) const;

    QString m_path;
    QStringList m_lines;
    QString m_newline;
    bool m_latin1 = false;
    bool m_bom = false;
    bool m_readable = true;
};

} // namespace euchre
