// Tlzrw1: the tally window's file coder. It packs the file named in InputFile
// into the container named in OutputFile, or unpacks it, and reports every
// failure as an ELzrw1 carrying the text the player sees.
#pragma once

#include <QString>
#include <QtGlobal>

namespace euchre {

class ELzrw1 {
public:
    explicit ELzrw1(QString text) : m_text(std::move(text)) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

class Tlzrw1 {
public:
    QString InputFile;
    QString OutputFile;

    // Both write the output beside its final place and put it there only
    // when everything went well: on a failure an older file of that name is
    // left as it was, and no new one appears.
    // Returns the container's size.
    qint64 Compress();
    // Returns the number of bytes unpacked.
    qint64 Decompress();
};

} // namespace euchre
