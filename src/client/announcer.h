// Announcer: the table's voice for a screen reader. It shows nothing; each
// piece of news becomes its accessible name and is sent to the reader as an
// alert, so the turn, a played card or a trick's result is spoken without
// the player moving to it.
#pragma once

#include <QWidget>

namespace euchre {

class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);
    // Says the words, even when they are the words said last.
    void say(const QString& words);
    const QString& said() const { return m_said; }

private:
    QString m_said;
};

} // namespace euchre
