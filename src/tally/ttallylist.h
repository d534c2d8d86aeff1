// Ttallylist: the tally window. It keeps the player's own totals and the
// records of the players they follow, shows them, and keeps them in the
// tally file, saved after every change so that a crash loses nothing.
#pragma once

#include "tally/tallygrid.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace euchre {

class Ttallylist : public QWidget {
    Q_OBJECT
public:
    // `addgame`'s first argument when the player's own side won.
    static const QString kAddToMine;

    explicit Ttallylist(QWidget* parent = nullptr);
    // Saves the tally one last time.
    ~Ttallylist() override;

    // Reads the tally kept in `fileName` and keeps it there from now on. A
    // file that cannot be read is renamed aside first, and the player is told
    // (tellPlayer) where it went.
    void openFile(const QString& fileName);
    QString fileName() const { return m_fileName; }

    // The names of the other players seated at the table, "<Waiting>" seats
    // left out; ticked when followed.
    void loadchecklist(const QStringList& names);
    // Where `addgame` gets the names at the table when it records a game.
    std::function<QStringList()> tableNames;

    // Records a finished game: `first` is kAddToMine and `second` the
    // partner when the player's side won; otherwise the two winners.
    void addgame(const QString& first, const QString& second);
    // Adds 1 to an own total (1 games, 2 wins, 3 marches, 4 euchres).
    void addtomineincrease(int column);
    qint64 addit(int column, int row);
    void loadtally();
    void moverow(int row);

    // The window's handlers.
    void checklistClickCheck(QListWidgetItem* item);
    void listbox_tallyClickCheck(QListWidgetItem* item);
    void listbox_tallyClick(QListWidgetItem* item);
    void button_resetClick();
    void FlatButton1Click();

    const TallyGrid& grid() const { return m_grid; }
    QListWidget* checklist() const { return m_checklist; }
    QListWidget* tallyList() const { return m_listbox; }

    // Asks a Yes/No question; `answer` receives the reply. Replaceable so
    // that tests never wait for a person.
    std::function<void(const QString& text, std::function<void(bool yes)> answer)> ask;

signals:
    // A notice for the chat log, "0+" and its text.
    void tellPlayer(const QString& line);

private:
    void follow(const QString& name);
    void showOwnTotals();
    void showPlayer(int row);
    void clearPlayer();
    void fillLists();
    void addEntry(const QString& name);
    void refreshTicks();
    void setTick(QListWidgetItem* item, bool ticked);
    bool save();

    TallyGrid m_grid;
    QString m_fileName;
    bool m_mayWrite = false; // the file may be replaced
    bool m_toldSaveFailure = false;
    bool m_settingTicks = false;

    std::array<QLabel*, 5> m_mylabels{}; // 1..4
    std::array<QLabel*, 9> m_labels{};   // 1..8
    QLabel* m_hisname = nullptr;
    QLabel* m_hisnametop = nullptr;
    QListWidget* m_checklist = nullptr;
    QListWidget* m_listbox = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_done = nullptr;
};

} // namespace euchre
