// The password of a private table and who has guessed it wrong: the host
// keeps only the password's digest, compares in constant time, and locks out
// an address that keeps guessing.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <vector>

namespace euchre {

class PasswordGate {
public:
    static constexpr int kTriesBeforeLock = 5;
    static constexpr qint64 kTryWindowMs = 60000;
    static constexpr qint64 kLockMs = 60000;
    // Addresses remembered at once; a crowd of new ones pushes out the oldest.
    static constexpr int kMaxAddresses = 64;

    // Empty: the table is open to everyone.
    void setPassword(QByteArrayView password);
    bool hasPassword() const { return m_hasPassword; }

    // Whether the attempt is the password; takes the same time whatever the
    // attempt shares with it.
    bool matches(QByteArrayView attempt) const;

    bool isLockedOut(const QString& address, qint64 nowMs) const;
    // Notes a wrong try from the address; true when this try locks it out.
    bool wrongTry(const QString& address, qint64 nowMs);

    int rememberedAddresses() const { return static_cast<int>(m_records.size()); }

private:
    struct Record {
        QString address;
        std::array<qint64, kTriesBeforeLock> tries{}; // the last wrong tries, oldest first
        int count = 0;
        qint64 lockedUntil = 0;
        qint64 touched = 0;
    };
    const Record* find(const QString& address) const;
    Record& recordFor(const QString& address, qint64 nowMs);

    bool m_hasPassword = false;
    QByteArray m_digest;
    std::vector<Record> m_records;
};

} // namespace euchre
