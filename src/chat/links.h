// Web links in chat lines: which words count as links, the table of link
// texts, and which link texts may be handed to the web browser.
#pragma once

#include <QString>
#include <QUrl>
#include <array>
#include <optional>

namespace euchre {

// True when the word, in small letters, contains "http://" or "www.".
bool islink(const QString& word);

// The address a link word opens: its trailing blanks removed and, when it has
// no scheme of its own, read as a web address. Only http and https addresses
// are opened: a link is text another player typed, and handing anything else
// (a local file, a program, a share) to the desktop would let a chat line
// start things on this machine.
std::optional<QUrl> webAddressOfLink(const QString& word);

// The 101 texts of the last links shown. The counter starts at -1; each new
// link takes the next entry, and after entry 100 it goes on at entry 1.
class LinkTable {
public:
    static constexpr int kSize = 101;

    // Stores a link word and returns the entry it took.
    int store(const QString& word);
    QString entry(int index) const;
    int counter() const { return m_counter; }

private:
    std::array<QString, kSize> m_entries;
    int m_counter = -1;
};

} // namespace euchre
