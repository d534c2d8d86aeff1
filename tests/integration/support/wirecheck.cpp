// The table of host messages, their fields and ranges, written out on its own
// rather than taken from the host's code, so that a slip there shows here.
#include "integration/support/wirecheck.h"

#include <QList>
#include <initializer_list>
#include <vector>

namespace euchre::testing {

namespace {

enum class Kind {
    Slot,        // 1..9
    Seat,        // 1..4
    SeatOrNone,  // 0..4
    Card,        // a dealt card: nine to ace of a suit
    CardOrNone,  // 0 or a dealt card
    Position,    // 1..5
    PosOrNone,   // 0..5
    Suit,        // 1..4
    SuitOrNone,  // 0..4
    Team,        // 1..2
    TeamOrNone,  // 0..2
    Tricks,      // 0..5
    Score,       // 0 or more
    PlayTo,      // 1 or more
    Points,      // 0 to 5: a lone march scores 3, 4 or 5 by the house rules
    Zero,        // exactly "0"
    Flag,        // "0" or "1"
    WatchMode,   // "1" or "2"
    AloneCode,   // 7 or 8
    RefusalCode, // 2, 3 or 4 (the stuck dealer's pass)
    Ruleset,     // key=value items separated by ",", at least one
    Name,        // text without "+"
    Sound,       // "wave" and a number
    Rest,        // the rest of the line, "+" included
};

struct Shape {
    const char* word;
    std::vector<Kind> head;  // fields that come once, in order
    std::vector<Kind> group; // fields that then repeat as a group
    int minGroups = 0;
    int maxGroups = 0;
    bool trailingPlus = false;
};

using K = Kind;
constexpr bool Plus = true;
constexpr bool NoPlus = false;

Shape once(const char* word, std::initializer_list<Kind> head, bool plus) {
    return Shape{word, head, {}, 0, 0, plus};
}

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> table = {
        once("CMD_sendlogininfo", {K::Slot}, NoPlus),
        once("CMD_full", {}, Plus),
        once("CMD_password", {}, Plus),
        once("CMD_wrongpassword", {}, Plus),
        once("CMD_lockedout", {}, Plus),
        once("CMD_newplayerinfo", {K::Slot, K::Name, K::Zero}, NoPlus),
        Shape{"CMD_existingplayers", {}, {K::Slot, K::Name, K::Flag}, 1, 8, NoPlus},
        once("CMD_havewrongversion", {K::Rest}, NoPlus),
        once("CMD_wrongversion", {}, Plus),
        once("CMD_loadcards",
             {K::TeamOrNone, K::SeatOrNone, K::SeatOrNone, K::SuitOrNone, K::CardOrNone,
              K::CardOrNone, K::CardOrNone, K::CardOrNone},
             Plus),
        once("CMD_loadstats", {K::PlayTo, K::Score, K::Tricks, K::Score, K::Tricks}, Plus),
        Shape{"CMD_placecard", {K::Seat}, {K::Position, K::CardOrNone}, 1, 5, NoPlus},
        // Every seat but the newcomer's own: all four for a spectator.
        Shape{"CMD_loadtheircards", {}, {K::Seat, K::Tricks}, 3, 4, NoPlus},
        once("CMD_dealer", {K::Seat}, Plus),
        once("CMD_settrump", {K::Card}, Plus),
        once("CMD_bidder", {K::Seat}, Plus),
        once("CMD_hepassed", {K::Seat}, Plus),
        once("CMD_heaccepted", {K::Seat}, Plus),
        once("CMD_chooser", {K::Seat, K::Suit}, Plus),
        once("CMD_trumpchoosen", {K::Seat, K::Suit}, Plus),
        once("CMD_aloner", {K::Seat}, Plus),
        once("CMD_goingalone", {K::Seat, K::AloneCode}, Plus),
        once("CMD_discarder", {K::Seat}, Plus),
        once("CMD_switch", {K::Seat, K::Position, K::Card}, Plus),
        once("CMD_clearcards", {}, Plus),
        once("CMD_nextplayer", {K::Seat}, Plus),
        once("CMD_playedcard", {K::Seat, K::Position, K::Card}, Plus),
        once("CMD_notvalid", {K::Seat, K::RefusalCode, K::PosOrNone}, Plus),
        once("CMD_trickwinner", {K::Seat, K::Tricks, K::Tricks}, Plus),
        once("CMD_score", {K::Team, K::Score, K::Points, K::Score, K::Points}, Plus),
        once("CMD_thewinner", {K::Team}, Plus),
        // The house rules in force follow as a fourth field, only when there are any.
        Shape{"CMD_startgame", {K::Name, K::PlayTo}, {K::Ruleset}, 0, 1, Plus},
        once("CMD_loadrules", {K::Ruleset}, Plus),
        once("CMD_badrules", {K::Name}, Plus),
        once("CMD_justwatching", {K::Seat, K::WatchMode}, NoPlus),
        once("CMD_playerdisconnected", {K::Slot, K::Name}, NoPlus),
        once("CMD_chat", {K::Slot, K::Rest}, NoPlus),
        once("CMD_action", {K::Slot, K::Rest}, NoPlus),
        once("CMD_playasound", {K::Slot, K::Sound}, Plus),
    };
    return table;
}

// A plain decimal number as the host writes it: digits only, no sign, no
// leading zero; -1 when the text is not one.
int decimal(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 9) return -1;
    if (text.size() > 1 && text[0] == '0') return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Nine to ace: the ranks 8 to 13 of each suit of thirteen.
bool isDealtCard(int card) {
    if (card < 1 || card > 52) return false;
    const int rank = (card - 1) % 13 + 1;
    return rank >= 8;
}

bool fits(Kind kind, const QByteArray& text) {
    const int n = decimal(text);
    switch (kind) {
    case K::Slot:
        return n >= 1 && n <= 9;
    case K::Seat:
        return n >= 1 && n <= 4;
    case K::SeatOrNone:
        return n >= 0 && n <= 4;
    case K::Card:
        return isDealtCard(n);
    case K::CardOrNone:
        return n == 0 || isDealtCard(n);
    case K::Position:
        return n >= 1 && n <= 5;
    case K::PosOrNone:
        return n >= 0 && n <= 5;
    case K::Suit:
        return n >= 1 && n <= 4;
    case K::SuitOrNone:
        return n >= 0 && n <= 4;
    case K::Team:
        return n == 1 || n == 2;
    case K::TeamOrNone:
        return n >= 0 && n <= 2;
    case K::Tricks:
        return n >= 0 && n <= 5;
    case K::Score:
        return n >= 0;
    case K::PlayTo:
        return n >= 1;
    case K::Points:
        return n >= 0 && n <= 5;
    case K::Zero:
        return text == "0";
    case K::Flag:
        return text == "0" || text == "1";
    case K::WatchMode:
        return text == "1" || text == "2";
    case K::AloneCode:
        return n == 7 || n == 8;
    case K::RefusalCode:
        return n >= 2 && n <= 4;
    case K::Ruleset:
        for (const QByteArray& item : text.split(','))
            if (item.count('=') != 1 || item.startsWith('=') || item.endsWith('=')) return false;
        return true;
    case K::Name:
        return !text.contains('+');
    case K::Sound:
        return text.startsWith("wave") && decimal(text.mid(4)) >= 0;
    case K::Rest:
        return true;
    }
    return false;
}

// Checks that tie two fields of one message together.
QString crossCheck(const QByteArray& word, const QList<QByteArray>& f) {
    if (word == "CMD_notvalid") {
        // Code 2 names the refused card's place; code 3 (a refused trump) has none.
        if (f[1] == "2" && f[2] == "0") return QStringLiteral("code 2 without a position");
        if (f[1] != "2" && f[2] != "0") return QStringLiteral("a bid refused with a position");
    }
    if (word == "CMD_placecard") {
        // Positions ascend, each at most once.
        int last = 0;
        for (int i = 1; i < f.size(); i += 2) {
            const int pos = decimal(f[i]);
            if (pos <= last) return QStringLiteral("positions out of order");
            last = pos;
        }
    }
    if (word == "CMD_score") {
        // Exactly one team scores in a hand.
        if ((f[2] == "0") == (f[4] == "0")) return QStringLiteral("not exactly one team scored");
    }
    if (word == "CMD_loadtheircards") {
        for (int i = 0; i + 2 < f.size(); i += 2)
            if (decimal(f[i]) >= decimal(f[i + 2])) return QStringLiteral("seats out of order");
    }
    if (word == "CMD_existingplayers") {
        for (int i = 0; i + 3 < f.size(); i += 3)
            if (decimal(f[i]) >= decimal(f[i + 3])) return QStringLiteral("slots out of order");
    }
    return {};
}

} // namespace

QString wireProblem(const QByteArray& message) {
    const qsizetype plus = message.indexOf('+');
    if (plus < 0) return QStringLiteral("no '+' after the command word");
    const QByteArray word = message.left(plus);
    const Shape* shape = nullptr;
    for (const Shape& s : shapes())
        if (word == s.word) shape = &s;
    if (!shape) return QStringLiteral("unknown command word");

    QByteArray args = message.mid(plus + 1);
    if (shape->head.empty() && shape->group.empty()) {
        // "CMD_full+": the "+" after the word is all there is.
        return args.isEmpty() ? QString() : QStringLiteral("text after a message without fields");
    }
    if (shape->trailingPlus) {
        if (!args.endsWith('+')) return QStringLiteral("trailing '+' missing");
        args.chop(1);
    }
    QList<QByteArray> fields = args.split('+');

    // A text that runs to the end of the line takes every "+" after it.
    if (!shape->head.empty() && shape->head.back() == K::Rest) {
        const qsizetype fixed = static_cast<qsizetype>(shape->head.size()) - 1;
        if (fields.size() < fixed + 1) return QStringLiteral("too few fields");
        QList<QByteArray> joined = fields.first(fixed);
        joined.append(fields.sliced(fixed).join('+'));
        fields = joined;
    }

    const qsizetype headCount = static_cast<qsizetype>(shape->head.size());
    if (fields.size() < headCount) return QStringLiteral("too few fields");
    const qsizetype rest = fields.size() - headCount;
    if (shape->group.empty()) {
        if (rest != 0)
            return QStringLiteral("%1 fields, expected %2").arg(fields.size()).arg(headCount);
    } else {
        const qsizetype width = static_cast<qsizetype>(shape->group.size());
        if (rest % width != 0) return QStringLiteral("an incomplete group of fields");
        const qsizetype groups = rest / width;
        if (groups < shape->minGroups || groups > shape->maxGroups)
            return QStringLiteral("%1 groups of fields, expected %2 to %3")
                .arg(groups)
                .arg(shape->minGroups)
                .arg(shape->maxGroups);
    }
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const Kind kind = i < headCount
                              ? shape->head[static_cast<size_t>(i)]
                              : shape->group[static_cast<size_t>(
                                    (i - headCount) % static_cast<qsizetype>(shape->group.size()))];
        if (!fits(kind, fields[i]))
            return QStringLiteral("field %1 (\"%2\") out of range")
                .arg(i + 1)
                .arg(QString::fromLatin1(fields[i]));
    }
    return crossCheck(word, fields);
}

} // namespace euchre::testing
