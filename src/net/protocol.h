// Message framing: building messages, cutting received bytes into lines, and
// reading fields with range checks.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <charconv>
#include <optional>

namespace euchre {

// Every message ends with this byte.
inline constexpr char kTerminator = '\xFF';

// The TCP port a table is hosted on unless the user picks another.
inline constexpr quint16 kGamePort = 7772;

// A table's connection slots: 1 to 4 are the seats, 5 to 9 spectators.
inline constexpr int kMaxSlots = 9;

// Builds one message: command word, "+field" for each field, an optional
// trailing "+", and the terminator.
class MessageBuilder {
public:
    explicit MessageBuilder(QByteArrayView word) {
        m_bytes.reserve(48);
        m_bytes.append(word);
    }
    MessageBuilder& field(int value) {
        // Written in place: the host builds a message for every move, and a
        // temporary array per number would cost an allocation each time.
        char digits[12];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_bytes.append('+');
        m_bytes.append(QByteArrayView(digits, end - digits));
        return *this;
    }
    MessageBuilder& field(QByteArrayView text) {
        m_bytes.append('+');
        m_bytes.append(text);
        return *this;
    }
    // Text added as it stands, without a separator in front.
    MessageBuilder& raw(QByteArrayView text) {
        m_bytes.append(text);
        return *this;
    }
    // Ends the message; with trailingPlus one more "+" precedes the terminator.
    QByteArray done(bool trailingPlus) {
        if (trailingPlus) m_bytes.append('+');
        m_bytes.append(kTerminator);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
};

// A message with no fields that still carries its "+" ("CMD_full+").
inline QByteArray bareMessage(QByteArrayView word) {
    return MessageBuilder(word).done(true);
}

// Cuts one connection's byte stream into lines at the terminator, keeping the
// unfinished tail for the next read. A tail that grows past the limit means
// the peer is not speaking the protocol.
class LineCutter {
public:
    static constexpr qsizetype kMaxPending = 64 * 1024;

    // Appends complete lines to out; false when the unfinished tail is over the limit.
    bool feed(QByteArrayView data, QList<QByteArray>& out);
    qsizetype pendingSize() const { return m_pending.size(); }
    void clear() { m_pending.clear(); }

private:
    QByteArray m_pending;
};

// The command word (text before the first "+") and the arguments after it.
// False for a line without "+", which carries no command.
bool splitCommand(QByteArrayView line, QByteArrayView& word, QByteArrayView& args);

// Strict decimal integer: optional "-", then 1 to 9 digits, nothing else.
std::optional<int> parseDecimal(QByteArrayView text);

// Reads "+"-separated fields from the front of an argument text.
class FieldReader {
public:
    explicit FieldReader(QByteArrayView args) : m_rest(args) {}

    // Next field up to the following "+" (or the end).
    QByteArrayView text();
    // Next field as a decimal integer within [lo, hi]; nullopt otherwise.
    std::optional<int> number(int lo, int hi);
    // Everything not read yet, "+" included.
    QByteArrayView rest() const { return m_rest; }
    bool atEnd() const { return m_rest.isEmpty(); }

private:
    QByteArrayView m_rest;
};

} // namespace euchre
