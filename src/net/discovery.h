// Finding tables on this network: the query a joining window sends over UDP
// and the one-line answer a hosting copy gives, written and read in one place.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace euchre::discovery {

inline constexpr quint16 kDefaultPort = 7773;
// The only datagram a host answers; anything else is dropped unread.
inline constexpr char kQuery[] = "EUCHRE?1";
// An answer never grows past one small datagram.
inline constexpr int kMaxAnswerBytes = 512;

// What a hosting copy says of its table: nothing private, no addresses.
struct TableInfo {
    quint16 port = 0;
    QString name;      // the hosting player's name
    int seats = 0;     // seats taken by people, 0..4
    int watchers = 0;  // connections that only watch
    bool game = false; // a game is running
    bool password = false;
    QString version;

    friend bool operator==(const TableInfo&, const TableInfo&) = default;
};

// True only for the exact query datagram.
bool isQuery(QByteArrayView datagram);

// "EUCHRE 1 port=.. name=.. seats=../4 watchers=.. game=0|1 password=0|1
// version=..", at most kMaxAnswerBytes of UTF-8: a long name or version is
// cut at a character boundary.
QByteArray answerLine(const TableInfo& info);

// Reads an answer; nullopt for anything that is not a well-formed answer
// with every number in range.
std::optional<TableInfo> readAnswer(QByteArrayView datagram);

// The discovery port: EUCHRE_DISCOVERY_PORT when it holds 1..65535, else 7773.
quint16 portFromEnvironment();

} // namespace euchre::discovery
