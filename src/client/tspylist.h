// Tspylist: the spectator list, with "Remove From Game" for the hosting player.
#pragma once

#include <QWidget>
#include <functional>

class QAction;
class QListWidget;
class QMenu;
class QPushButton;

namespace euchre {

class Tspylist : public QWidget {
    Q_OBJECT
public:
    explicit Tspylist(QWidget* parent = nullptr);

    // Shows the spectators, one entry each: slot ": " name (the table window
    // keeps the list as the host reports arrivals and departures).
    void setEntries(const QStringList& entries);

    // Whether this copy hosts the game, asked each time the list's menu opens:
    // only the hosting player may remove a spectator.
    std::function<bool()> isHosting;
    // Asks the table window to remove a slot from the game.
    std::function<void(int slot)> kick;

    // The entry under the mouse pointer, or -1 over no entry.
    int hoveredIndex() const { return m_hovered; }

    // listbox_spysMouseMove: remembers the entry under the pointer.
    void listbox_spysMouseMove(const QPoint& viewportPos);
    // popup_kickhimClick: removes the slot of the entry last under the pointer.
    void popup_kickhimClick();
    // Button1Click ("Done").
    void Button1Click() { hide(); }

    QAction* kickAction() const { return m_kickhim; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openPopup(const QPoint& viewportPos);

    QStringList m_entries;
    int m_hovered = -1; // the entry last under the pointer
    QListWidget* m_list = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_kickhim = nullptr;
};

} // namespace euchre
