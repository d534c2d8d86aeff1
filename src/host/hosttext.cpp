// Cleaning names, measuring chat text and escaping log lines.
#include "host/hosttext.h"

#include "net/commands.h"
#include "net/protocol.h"

namespace euchre {

namespace {

bool continues(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

qsizetype utf8Chars(QByteArrayView text) {
    qsizetype n = 0;
    for (const char c : text)
        if (!continues(c)) ++n;
    return n;
}

QByteArrayView utf8Left(QByteArrayView text, qsizetype chars) {
    qsizetype seen = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (continues(text[i])) continue;
        if (seen == chars) return text.first(i);
        ++seen;
    }
    return text;
}

QByteArray cleanName(QByteArrayView raw) {
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c < 0x20 || c == 0x7F || c == '+' || c == '|' || c == ':') continue;
        // The second set of control characters, U+0080 to U+009F, in UTF-8.
        if (c == 0xC2 && i + 1 < raw.size()) {
            const auto next = static_cast<unsigned char>(raw[i + 1]);
            if (next >= 0x80 && next <= 0x9F) {
                ++i;
                continue;
            }
        }
        out.append(static_cast<char>(c));
    }
    return utf8Left(out.trimmed(), kMaxNameChars).toByteArray().trimmed();
}

QByteArray uniqueName(const QByteArray& name, const std::function<bool(QByteArrayView)>& taken) {
    if (!taken(name)) return name;
    for (int n = 2;; ++n) {
        const QByteArray suffix = "(" + QByteArray::number(n) + ')';
        const QByteArray base =
            utf8Left(name, kMaxNameChars - suffix.size() - 1).toByteArray().trimmed();
        const QByteArray candidate = base.isEmpty() ? suffix : base + ' ' + suffix;
        if (!taken(candidate)) return candidate;
    }
}

bool spokenTextFits(QByteArrayView rest) {
    const qsizetype bar = rest.lastIndexOf('|');
    const QByteArrayView text = bar < 0 ? rest : rest.first(bar);
    const qsizetype tail = bar < 0 ? 0 : rest.size() - bar - 1;
    // Cheap first: a text of more bytes than four per character cannot fit.
    if (text.size() > kMaxSpokenChars * 4) return false;
    return tail <= kMaxSpokenTail && utf8Chars(text) <= kMaxSpokenChars;
}

bool isSpokenLine(QByteArrayView line) {
    QByteArrayView word;
    QByteArrayView args;
    if (!splitCommand(line, word, args)) return false;
    return word == cmd::chat || word == cmd::action || word == cmd::playasound;
}

QString logLine(const QString& text) {
    QString out;
    out.reserve(qMin(text.size(), kMaxLogChars) + 8);
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        QString piece(ch);
        if (u == '\\')
            piece = QStringLiteral("\\\\");
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029)
            piece = QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        if (out.size() + piece.size() > kMaxLogChars) {
            out += QLatin1String("...");
            break;
        }
        out += piece;
    }
    return out;
}

} // namespace euchre
