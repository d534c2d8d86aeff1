// Tgamestart: the small window in which the hosting player picks the
// play-to score and the house rules, and starts a game.
#pragma once

#include "rules/ruleset.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
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
    // The house rules as the window's choices stand.
    rules::Ruleset houseRules() const;
    // Sends the start of a game with the chosen score and house rules (a
    // fourth field only when any is chosen), remembers the rules and hides
    // the window.
    void button_startClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Tchat& m_table;
    QSpinBox* m_playto;
    QCheckBox* m_stick;
    QCheckBox* m_canadian;
    QComboBox* m_lonerLead;
    QComboBox* m_lonerMarch;
};

} // namespace euchre
