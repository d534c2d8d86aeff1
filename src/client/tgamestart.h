// Tgamestart: the small window in which the hosting player picks the
// play-to score and starts a game.
#pragma once

#include <QDialog>

class QSpinBox;

namespace euchre {

class Tchat;

class Tgamestart : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLowestScore = 5;
    static constexpr int kHighestScore = 10;

    explicit Tgamestart(Tchat& table);

    QSpinBox* playToScore() const { return m_playto; }
    // Sends the start of a game with the chosen score and hides the window.
    void button_startClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Tchat& m_table;
    QSpinBox* m_playto;
};

} // namespace euchre
