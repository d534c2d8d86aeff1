// Link words of the chat and the addresses they may open.
#include "chat/links.h"

namespace euchre {

bool islink(const QString& word) {
    if (word.isEmpty()) return false;
    const QString lower = word.toLower();
    return lower.contains(QLatin1String("http://")) || lower.contains(QLatin1String("www."));
}

std::optional<QUrl> webAddressOfLink(const QString& word) {
    QString text = word;
    while (!text.isEmpty() && text.back() == QLatin1Char(' ')) text.chop(1);
    if (text.isEmpty()) return std::nullopt;
    const QUrl url = QUrl::fromUserInput(text);
    if (!url.isValid() || url.host().isEmpty()) return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) return std::nullopt;
    return url;
}

int LinkTable::store(const QString& word) {
    ++m_counter;
    if (m_counter > kSize - 1) m_counter = 1;
    m_entries[static_cast<size_t>(m_counter)] = word;
    return m_counter;
}

QString LinkTable::entry(int index) const {
    if (index < 0 || index >= kSize) return QString();
    return m_entries[static_cast<size_t>(index)];
}

} // namespace euchre
