// Profile-style initialisation file: reading keys and editing them in place.
#include "inifile.h"

#include "storage/savefile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <limits>

namespace euchre {

namespace {

// Our files hold a few dozen short lines; anything near this size is not one
// of them, and is left alone rather than read and rewritten.
constexpr qint64 maxFileSize = 1024 * 1024;

bool isComment(QStringView trimmed) {
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

// The name of a "[section]" line, or nothing for any other line.
std::optional<QString> sectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'[')) return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    return trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

// Key and value of a "key=value" line.
std::optional<std::pair<QString, QString>> keyValue(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || isComment(trimmed)) return std::nullopt;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq <= 0) return std::nullopt;
    return std::make_pair(trimmed.left(eq).trimmed(), trimmed.mid(eq + 1).trimmed());
}

// A value must stay on its own line.
QString oneLine(const QString& value) {
    QString text = value;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    return text;
}

std::optional<qint64> parseInteger(const QString& text) {
    QString digits = text.trimmed();
    if (digits.isEmpty()) return std::nullopt;
    bool ok = false;
    qint64 number = 0;
    if (digits.startsWith(u'$')) {
        digits.remove(0, 1);
        if (digits.isEmpty() || digits.startsWith(u'-') || digits.startsWith(u'+'))
            return std::nullopt;
        number = digits.toLongLong(&ok, 16);
    } else {
        number = digits.toLongLong(&ok, 10);
    }
    if (!ok) return std::nullopt;
    return number;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path)),
#ifdef Q_OS_WIN
      m_newline(QStringLiteral("\r\n"))
#else
      m_newline(QStringLiteral("\n"))
#endif
{
}

bool IniFile::load() {
    m_lines.clear();
    m_latin1 = false;
    m_bom = false;
    m_readable = true;

    QFile file(m_path);
    if (!file.exists()) return true;
    if (file.size() > maxFileSize || !file.open(QIODevice::ReadOnly)) {
        m_readable = false;
        return false;
    }
    QByteArray bytes = file.read(maxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxFileSize) {
        m_readable = false;
        return false;
    }

    if (bytes.startsWith("\xEF\xBB\xBF")) {
        m_bom = true;
        bytes.remove(0, 3);
    }
    // Files written by older copies or by hand may be in a one-byte encoding;
    // reading them as Latin-1 keeps every byte so they are written back unchanged.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        m_latin1 = true;
        text = QString::fromLatin1(bytes);
    }

    if (text.contains(u"\r\n"))
        m_newline = QStringLiteral("\r\n");
    else if (text.contains(u'\n'))
        m_newline = QStringLiteral("\n");
    m_lines = text.split(u'\n');
    for (QString& line : m_lines)
        if (line.endsWith(u'\r')) line.chop(1);
    // The final line ending leaves one empty piece behind that is not a line.
    if (!m_lines.isEmpty() && m_lines.last().isEmpty()) m_lines.removeLast();
    return true;
}

IniFile::Range IniFile::findSection(const QString& section) const {
    Range range;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i]);
        if (!name) continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (name->compare(section, Qt::CaseInsensitive) == 0) range.header = i;
    }
    range.end = m_lines.size();
    return range;
}

qsizetype IniFile::findKey(const Range& range, const QString& key) const {
    if (range.header < 0) return -1;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const auto pair = keyValue(m_lines[i]);
        if (pair && pair->first.compare(key, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

bool IniFile::hasSection(const QString& section) const {
    return findSection(section).header >= 0;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    return findKey(findSection(section), key) >= 0;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const qsizetype line = findKey(findSection(section), key);
    if (line < 0) return std::nullopt;
    return keyValue(m_lines[line])->second;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& fallback) const {
    return value(section, key).value_or(fallback);
}

int IniFile::readInt(const QString& section, const QString& key, int fallback) const {
    const auto text = value(section, key);
    if (!text) return fallback;
    const auto number = parseInteger(*text);
    if (!number || *number < std::numeric_limits<int>::min() ||
        *number > std::numeric_limits<int>::max())
        return fallback;
    return int(*number);
}

bool IniFile::readBool(const QString& section, const QString& key, bool fallback) const {
    const auto text = value(section, key);
    if (!text) return fallback;
    if (text->compare(u"true", Qt::CaseInsensitive) == 0) return true;
    if (text->compare(u"false", Qt::CaseInsensitive) == 0) return false;
    const auto number = parseInteger(*text);
    return number ? *number != 0 : fallback;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const Range range = findSection(section);
    const qsizetype existing = findKey(range, key);
    if (existing >= 0) {
        // Keep the key as the file spells it; only the value changes.
        const QString& line = m_lines[existing];
        m_lines[existing] = keyValue(line)->first + u'=' + oneLine(value);
        return;
    }
    const QString line = key + u'=' + oneLine(value);
    if (range.header < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty()) m_lines.append(QString());
        m_lines.append(u'[' + section + u']');
        m_lines.append(line);
        return;
    }
    // After the section's last non-blank line, so the blank line that
    // usually separates it from the next section stays where it is.
    qsizetype at = range.end;
    while (at > range.header + 1 && m_lines[at - 1].trimmed().isEmpty()) --at;
    m_lines.insert(at, line);
}

void IniFile::writeInt(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::save(QString* error) {
    if (!m_readable) {
        if (error) *error = QStringLiteral("the file could not be read, so it is left as it is");
        return false;
    }
    QString text;
    for (const QString& line : m_lines) text += line + m_newline;

    QByteArray bytes;
    if (m_bom) bytes = "\xEF\xBB\xBF";
    if (m_latin1) {
        QStringEncoder latin1(QStringEncoder::Latin1);
        bytes += latin1.encode(text);
    } else {
        bytes += text.toUtf8();
    }

    // Where the folder forbids new files but the file itself may be written,
    // writing it directly beats not saving at all.
    return saveWhole(m_path, bytes, error, true);
}

} // namespace euchre
