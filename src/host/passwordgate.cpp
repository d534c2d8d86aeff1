// The private table's password digest and the wrong tries per address.
#include "host/passwordgate.h"

#include <QCryptographicHash>
#include <algorithm>

namespace euchre {

namespace {

QByteArray digestOf(QByteArrayView text) {
    return QCryptographicHash::hash(text, QCryptographicHash::Sha256);
}

} // namespace

void PasswordGate::setPassword(QByteArrayView password) {
    m_hasPassword = !password.isEmpty();
    m_digest = m_hasPassword ? digestOf(password) : QByteArray();
}

bool PasswordGate::matches(QByteArrayView attempt) const {
    if (!m_hasPassword) return false;
    // Both sides are digests of one length, and every byte is looked at: how
    // long this takes tells a guesser nothing about how close the guess was.
    const QByteArray tried = digestOf(attempt);
    unsigned char difference = 0;
    for (qsizetype i = 0; i < m_digest.size(); ++i)
        difference |= static_cast<unsigned char>(m_digest[i] ^ tried[i]);
    return difference == 0;
}

const PasswordGate::Record* PasswordGate::find(const QString& address) const {
    for (const Record& r : m_records)
        if (r.address == address) return &r;
    return nullptr;
}

bool PasswordGate::isLockedOut(const QString& address, qint64 nowMs) const {
    const Record* r = find(address);
    return r && nowMs < r->lockedUntil;
}

PasswordGate::Record& PasswordGate::recordFor(const QString& address, qint64 nowMs) {
    for (Record& r : m_records)
        if (r.address == address) return r;
    if (static_cast<int>(m_records.size()) >= kMaxAddresses) {
        // Forget the address heard from longest ago.
        const auto oldest = std::min_element(
            m_records.begin(), m_records.end(),
            [](const Record& a, const Record& b) { return a.touched < b.touched; });
        m_records.erase(oldest);
    }
    Record fresh;
    fresh.address = address;
    fresh.touched = nowMs;
    m_records.push_back(fresh);
    return m_records.back();
}

bool PasswordGate::wrongTry(const QString& address, qint64 nowMs) {
    Record& r = recordFor(address, nowMs);
    r.touched = nowMs;
    // Only the tries of the last minute count.
    int kept = 0;
    for (int i = 0; i < r.count; ++i)
        if (nowMs - r.tries[i] < kTryWindowMs) r.tries[kept++] = r.tries[i];
    r.count = kept;
    r.tries[r.count++] = nowMs;
    if (r.count < kTriesBeforeLock) return false;
    r.count = 0;
    r.lockedUntil = nowMs + kLockMs;
    return true;
}

} // namespace euchre
