// The discovery query and answer of a table on this network.
#include "net/discovery.h"

#include "net/protocol.h"

#include <QtGlobal>

namespace euchre::discovery {

namespace {

constexpr QByteArrayView kAnswerHead("EUCHRE 1 port=");

// Cuts UTF-8 text to at most `bytes` bytes without splitting a character.
QByteArray cutUtf8(const QByteArray& text, qsizetype bytes) {
    if (text.size() <= bytes) return text;
    qsizetype end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.left(end);
}

// Reads "key=value" ending at the next space (or the end) from the front of `rest`.
std::optional<QByteArrayView> takeField(QByteArrayView& rest, QByteArrayView key) {
    if (!rest.startsWith(key) || !rest.sliced(key.size()).startsWith('=')) return std::nullopt;
    rest = rest.sliced(key.size() + 1);
    const qsizetype space = rest.indexOf(' ');
    const QByteArrayView value = space < 0 ? rest : rest.first(space);
    rest = space < 0 ? QByteArrayView() : rest.sliced(space + 1);
    return value;
}

std::optional<bool> flag(std::optional<QByteArrayView> value) {
    if (!value) return std::nullopt;
    if (*value == "0") return false;
    if (*value == "1") return true;
    return std::nullopt;
}

// Cleans a text read from the network for showing in a list: no control
// characters, valid UTF-8.
QString cleanText(QByteArrayView text) {
    QString out = QString::fromUtf8(text);
    out.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return out;
}

} // namespace

bool isQuery(QByteArrayView datagram) {
    return datagram == QByteArrayView(kQuery);
}

QByteArray answerLine(const TableInfo& info) {
    QByteArray tail = " seats=" + QByteArray::number(qBound(0, info.seats, 4)) +
                      "/4 watchers=" + QByteArray::number(qBound(0, info.watchers, 99)) +
                      " game=" + (info.game ? "1" : "0") +
                      " password=" + (info.password ? "1" : "0") + " version=";
    QByteArray version = info.version.toUtf8();
    version.replace(' ', '_');
    QByteArray line = kAnswerHead.toByteArray() + QByteArray::number(info.port) + " name=";
    // The name takes what room the rest leaves; the version at most 32 bytes.
    version = cutUtf8(version, 32);
    const qsizetype room = kMaxAnswerBytes - line.size() - tail.size() - version.size();
    line += cutUtf8(info.name.toUtf8(), qMax<qsizetype>(0, room));
    line += tail;
    line += version;
    return line;
}

std::optional<TableInfo> readAnswer(QByteArrayView datagram) {
    if (datagram.size() > kMaxAnswerBytes || !datagram.startsWith(kAnswerHead)) return std::nullopt;
    QByteArrayView rest = datagram.sliced(kAnswerHead.size());
    TableInfo info;
    const qsizetype space = rest.indexOf(' ');
    if (space < 0) return std::nullopt;
    const std::optional<int> port = parseDecimal(rest.first(space));
    if (!port || *port < 1 || *port > 65535) return std::nullopt;
    info.port = static_cast<quint16>(*port);
    rest = rest.sliced(space + 1);
    // The name may hold spaces: it runs to the last " seats=".
    if (!rest.startsWith("name=")) return std::nullopt;
    const qsizetype seatsAt = rest.lastIndexOf(QByteArrayView(" seats="));
    if (seatsAt < 5) return std::nullopt;
    info.name = cleanText(rest.sliced(5, seatsAt - 5));
    rest = rest.sliced(seatsAt + 1);

    const std::optional<QByteArrayView> seats = takeField(rest, "seats");
    if (!seats || !seats->endsWith("/4")) return std::nullopt;
    const std::optional<int> seatCount = parseDecimal(seats->chopped(2));
    if (!seatCount || *seatCount < 0 || *seatCount > 4) return std::nullopt;
    info.seats = *seatCount;
    const std::optional<QByteArrayView> watchers = takeField(rest, "watchers");
    const std::optional<int> watcherCount = watchers ? parseDecimal(*watchers) : std::nullopt;
    if (!watcherCount || *watcherCount < 0 || *watcherCount > 99) return std::nullopt;
    info.watchers = *watcherCount;
    const std::optional<bool> game = flag(takeField(rest, "game"));
    const std::optional<bool> password = flag(takeField(rest, "password"));
    if (!game || !password) return std::nullopt;
    info.game = *game;
    info.password = *password;
    const std::optional<QByteArrayView> version = takeField(rest, "version");
    if (!version || !rest.isEmpty()) return std::nullopt;
    info.version = cleanText(*version);
    return info;
}

quint16 portFromEnvironment() {
    const std::optional<int> port = parseDecimal(qgetenv("EUCHRE_DISCOVERY_PORT"));
    if (port && *port >= 1 && *port <= 65535) return static_cast<quint16>(*port);
    return kDefaultPort;
}

} // namespace euchre::discovery
