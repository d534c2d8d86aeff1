// The table window's side of the statistics: the game being played is
// followed from the host's messages, a finished one is saved with the
// others, and "View ▸ Statistics" shows them.
#include "client/tchat_parts.h"
#include "client/tstatistics.h"
#include "model/card.h"
#include "settings/settings.h"
#include "stats/statsfile.h"

#include <QAction>
#include <QActionGroup>
#include <QDateTime>

namespace euchre {

namespace {

const QString kStatsNotSaved = QStringLiteral("0+The statistics could not be saved: %1");
const QString kPeople = QStringLiteral("People");
const QString kJoined = QStringLiteral("Another host's computers");

} // namespace

void Tchat::loadStatistics() {
    if (m_stats->isLoaded()) return;
    const QString told = m_stats->load();
    if (!told.isEmpty()) notice(told);
}

void Tchat::recordGame(int winners) {
    const int own = m_shown.myslot;
    if (!m_tracker->tracking() || !isSeat(own)) {
        m_tracker->drop();
        return;
    }
    // The opponents are computers when a seat shows the computer's name.
    bool computers = false;
    for (int seat : {own % kSeats + 1, partnerOf(own) % kSeats + 1})
        computers = computers || m_shown.seatName(seat) == m_shown.defaultnames[size_t(seat)];
    QString level = kPeople;
    if (computers && m_login.ishost) {
        const QAction* chosen = m_computerPlayers->checkedAction();
        level = chosen ? chosen->text() : QString();
    } else if (computers) {
        level = kJoined;
    }
    const std::optional<GameEntry> game =
        m_tracker->finished(winners, level, m_shown.seatName(partnerOf(own)),
                            QDateTime::currentDateTime().toString(Qt::ISODate));
    if (!game) return;
    loadStatistics();
    QString error;
    if (!m_stats->add(*game, &error)) notice(kStatsNotSaved.arg(error));
    if (auto* window = qobject_cast<Tstatistics*>(m_statsWindow.data()))
        if (window->isVisible()) window->refresh();
}

void Tchat::ViewStatistics1Click() {
    loadStatistics();
    if (!m_statsWindow) {
        m_statsWindow = new Tstatistics(*m_stats, this);
        m_statsWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        closeOnEscape(m_statsWindow);
    }
    showWindow(m_statsWindow);
}

} // namespace euchre
