// Line cutting and field reading shared by the host and the table window.
#include "net/protocol.h"

namespace euchre {

bool LineCutter::feed(QByteArrayView data, QList<QByteArray>& out) {
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = data.indexOf(kTerminator, start);
        if (end < 0) break;
        if (m_pending.isEmpty()) {
            out.append(data.sliced(start, end - start).toByteArray());
        } else {
            m_pending.append(data.sliced(start, end - start));
            out.append(std::move(m_pending));
            m_pending = QByteArray();
        }
        start = end + 1;
    }
    if (start < data.size()) m_pending.append(data.sliced(start));
    return m_pending.size() <= kMaxPending;
}

bool splitCommand(QByteArrayView line, QByteArrayView& word, QByteArrayView& args) {
    const qsizetype plus = line.indexOf('+');
    if (plus < 0) return false;
    word = line.first(plus);
    args = line.sliced(plus + 1);
    return true;
}

std::optional<int> parseDecimal(QByteArrayView text) {
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && text[0] == '-') {
        negative = true;
        i = 1;
    }
    const qsizetype digits = text.size() - i;
    if (digits < 1 || digits > 9) return std::nullopt;
    int value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

QByteArrayView FieldReader::text() {
    const qsizetype plus = m_rest.indexOf('+');
    QByteArrayView field;
    if (plus < 0) {
        field = m_rest;
        m_rest = QByteArrayView();
    } else {
        field = m_rest.first(plus);
        m_rest = m_rest.sliced(plus + 1);
    }
    return field;
}

std::optional<int> FieldReader::number(int lo, int hi) {
    const std::optional<int> value = parseDecimal(text());
    if (!value || *value < lo || *value > hi) return std::nullopt;
    return value;
}

} // namespace euchre
