// Reading the program's arguments and the ways a table's address is written.
#include "client/startrequest.h"

#include "net/protocol.h"

#include <QHostAddress>
#include <QUrl>

namespace euchre {

namespace {

// The longest name the name service takes.
constexpr qsizetype kMaxHostLength = 253;

bool isIPv6(const QString& text) {
    QHostAddress address;
    return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv6Protocol;
}

// Letters, digits, dots and dashes for names and IPv4; hex digits and colons
// (and a zone after "%") for IPv6. Anything else is not an address, and is
// never handed to the name service.
bool plausibleHost(const QString& host) {
    if (host.isEmpty() || host.size() > kMaxHostLength) return false;
    for (const QChar c : host) {
        const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                        (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'_';
        if (!ok) return false;
    }
    return host.front() != u'-' && host.front() != u'.';
}

std::optional<quint16> readPort(const QString& text, int lowest) {
    const std::optional<int> n = parseDecimal(text.toLatin1());
    if (!n || *n < lowest || *n > 65535) return std::nullopt;
    return static_cast<quint16>(*n);
}

// "--name=x" and "--name x" both give x; nothing when the value is missing.
std::optional<QString> optionValue(const QStringList& args, qsizetype& i, const QString& option) {
    const QString& arg = args[i];
    if (arg.size() > option.size() && arg.at(option.size()) == u'=')
        return arg.mid(option.size() + 1);
    if (i + 1 >= args.size()) return std::nullopt;
    return args[++i];
}

bool isLink(const QString& arg) {
    return arg.startsWith(QLatin1String(kLinkScheme) + u':', Qt::CaseInsensitive);
}

bool isOption(const QString& arg, const char* option) {
    const QLatin1String name(option);
    return arg == name ||
           (arg.startsWith(name) && arg.size() > name.size() && arg.at(name.size()) == u'=');
}

} // namespace

std::optional<TableAddress> parseTableAddress(const QString& text) {
    const QString t = text.trimmed();
    TableAddress out;
    QString portText;
    bool hasPort = false;
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        if (close < 0) return std::nullopt;
        out.host = t.mid(1, close - 1);
        if (!isIPv6(out.host)) return std::nullopt;
        const QString rest = t.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(u':')) return std::nullopt;
            portText = rest.mid(1);
            hasPort = true;
        }
    } else if (t.count(u':') > 1) {
        if (!isIPv6(t)) return std::nullopt;
        out.host = t;
    } else {
        const qsizetype colon = t.indexOf(u':');
        out.host = colon < 0 ? t : t.left(colon);
        if (colon >= 0) {
            portText = t.mid(colon + 1);
            hasPort = true;
        }
        if (!plausibleHost(out.host)) return std::nullopt;
    }
    if (hasPort) {
        out.port = readPort(portText, 1);
        if (!out.port) return std::nullopt;
    }
    return out;
}

std::optional<TableAddress> parseLink(const QString& text) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() ||
        url.scheme().compare(QLatin1String(kLinkScheme), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    // Only where the table is: no user, no path, no question.
    if (!url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment() ||
        (!url.path().isEmpty() && url.path() != QLatin1String("/")))
        return std::nullopt;
    QString host = url.host();
    if (host.isEmpty()) return std::nullopt;
    TableAddress out;
    out.host = host;
    if (!isIPv6(host) && !plausibleHost(host)) return std::nullopt;
    if (url.port() != -1) {
        if (url.port() < 1 || url.port() > 65535) return std::nullopt;
        out.port = static_cast<quint16>(url.port());
    }
    return out;
}

QString hostForLink(const QString& host) {
    return host.contains(u':') ? u'[' + host + u']' : host;
}

QString tableLink(const QString& host, quint16 port) {
    return QLatin1String(kLinkScheme) + QStringLiteral("://") + hostForLink(host) + u':' +
           QString::number(port);
}

std::optional<StartRequest> parseStartArguments(const QStringList& args, QString* error) {
    const auto fail = [error](const QString& why) -> std::optional<StartRequest> {
        if (error) *error = why;
        return std::nullopt;
    };
    StartRequest request;
    if (args.isEmpty()) return request;

    // The lobby's words and the link never start with "--"; options always do.
    bool anyOption = false;
    for (const QString& arg : args) anyOption = anyOption || arg.startsWith(QLatin1String("--"));
    if (!anyOption) {
        if (args.size() == 1 && isLink(args[0])) {
            const std::optional<TableAddress> address = parseLink(args[0]);
            if (!address) return fail(QStringLiteral("'%1' is not a table's link").arg(args[0]));
            request.kind = StartRequest::Kind::Join;
            request.address = *address;
            return request;
        }
        request.kind = StartRequest::Kind::Classic;
        request.classic = args;
        return request;
    }

    bool host = false, join = false;
    std::optional<QString> joinAt;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--host")) {
            host = true;
        } else if (arg == QLatin1String("--join")) {
            join = true;
            // The address is optional: without it the Join dialog opens.
            if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--")))
                joinAt = args[++i];
        } else if (isOption(arg, "--name")) {
            const std::optional<QString> name = optionValue(args, i, QStringLiteral("--name"));
            if (!name || name->trimmed().isEmpty())
                return fail(QStringLiteral("--name needs a name"));
            request.name = name->trimmed();
        } else if (isOption(arg, "--port")) {
            const std::optional<QString> value = optionValue(args, i, QStringLiteral("--port"));
            request.port = value ? readPort(*value, 0) : std::nullopt;
            if (!request.port) return fail(QStringLiteral("--port needs a number from 0 to 65535"));
        } else if (arg.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unknown option '%1'").arg(arg));
        } else if (isLink(arg) && !joinAt) {
            join = true;
            joinAt = arg;
        } else {
            return fail(QStringLiteral("'%1' does not belong there").arg(arg));
        }
    }
    if (host == join) return fail(QStringLiteral("give either --host or --join"));
    if (host) {
        request.kind = StartRequest::Kind::Host;
        return request;
    }
    if (request.port) return fail(QStringLiteral("--port is for --host; join HOST:PORT instead"));
    if (!joinAt) {
        request.kind = StartRequest::Kind::JoinDialog;
        return request;
    }
    const std::optional<TableAddress> address =
        isLink(*joinAt) ? parseLink(*joinAt) : parseTableAddress(*joinAt);
    if (!address)
        return fail(QStringLiteral("'%1' is not a table's address (HOST, HOST:PORT or a link)")
                        .arg(*joinAt));
    request.kind = StartRequest::Kind::Join;
    request.address = *address;
    return request;
}

} // namespace euchre
