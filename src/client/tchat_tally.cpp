// The table window's side of the tally: who sits at the table, and "View
// Tally".
#include "client/tchat_parts.h"
#include "tally/ttallylist.h"

namespace euchre {

void Tchat::setTally(Ttallylist* tally) {
    m_tally = tally;
    m_windows.tallylist = tally;
    addgame = [this](const QString& first, const QString& second) {
        if (m_tally) m_tally->addgame(first, second);
    };
    addtomineincrease = [this](int column) {
        if (m_tally) m_tally->addtomineincrease(column);
    };
    if (m_tally) m_tally->tableNames = [this] { return m_seats->otherNames(); };
    closeOnEscape(m_tally);
    updateWindowEntries();
}

void Tchat::loadchecklist() {
    if (m_tally && m_tally->tableNames) m_tally->loadchecklist(m_tally->tableNames());
}

void Tchat::ViewTally1Click() {
    loadchecklist();
    showWindow(m_windows.tallylist);
}

} // namespace euchre
