// What a start of the program asks the table window to do: a solo game, the
// lobby's three words, hosting or joining by option, or an invitation link;
// and the "HOST[:PORT]" and euchre:// forms that name a table.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace euchre {

// The scheme of invitation links: euchre://HOST[:PORT].
inline constexpr char kLinkScheme[] = "euchre";

// Where a table is: an address (a name, IPv4 or IPv6 without brackets) and,
// when one was given, a port.
struct TableAddress {
    QString host;
    std::optional<quint16> port;
};

// Reads "HOST", "HOST:PORT", "[IPv6]" or "[IPv6]:PORT"; a bare IPv6 address
// without brackets is taken whole. Nothing for an empty host, a port that is
// not 1..65535, or a host with blanks or characters no address has.
std::optional<TableAddress> parseTableAddress(const QString& text);

// Reads euchre://HOST[:PORT] (a trailing "/" is allowed, nothing else).
std::optional<TableAddress> parseLink(const QString& text);

// The host as it is written before ":PORT": IPv6 addresses in brackets.
QString hostForLink(const QString& host);
// "euchre://HOST:PORT".
QString tableLink(const QString& host, quint16 port);

struct StartRequest {
    enum class Kind {
        Solo,       // no arguments
        Classic,    // the lobby's NAME HOST true|join (or fewer words)
        Host,       // --host
        Join,       // --join HOST[:PORT] or a link
        JoinDialog, // --join alone
    };
    Kind kind = Kind::Solo;
    QStringList classic;         // the words of a Classic start, as given
    QString name;                // --name; empty when not given
    TableAddress address;        // Join
    std::optional<quint16> port; // --port of Host

    // Starts that a running copy is handed instead of only coming to the front.
    bool handsOver() const {
        return kind == Kind::Host || kind == Kind::Join || kind == Kind::JoinDialog;
    }
};

// Reads the program's arguments (without the program's own name). Nothing,
// with *error saying why, for an unknown option or a form that does not fit.
std::optional<StartRequest> parseStartArguments(const QStringList& args, QString* error);

} // namespace euchre
