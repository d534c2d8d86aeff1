// A scripted person at a table: answers every question with the first bubble
// offered and plays the first card the host accepts, by mouse or by keys.
#include "seatplayer.h"

#include "client/artitem.h"
#include "client/tableboard.h"
#include "model/bubble.h"

#include <QFile>
#include <QTest>
#include <algorithm>

namespace euchre::testing {

namespace {
// How long a scripted person waits on a question before answering it again.
constexpr qint64 kPatienceMs = 5000;
} // namespace

SeatPlayer::SeatPlayer(Tchat& table, Input input) : m_table(table), m_input(input) {
    m_idle.start();
    m_connection = QObject::connect(&table, &Tchat::dispatched,
                                    [this](const QByteArray& word) { dispatched(word); });
}

SeatPlayer::~SeatPlayer() {
    QObject::disconnect(m_connection);
}

void SeatPlayer::dispatched(const QByteArray& word) {
    m_idle.restart();
    m_lastWord = word;
    const bool mine = m_table.shown().turnseat == m_table.ownSlot();
    if (word == "CMD_bidder" || word == "CMD_chooser" || word == "CMD_aloner") {
        if (mine) m_pending = Pending::Bubble;
        if (mine && word == "CMD_chooser" && m_table.shown().dealer == m_table.ownSlot()) {
            ++namingAsDealer;
            for (const BubbleRecord& b : m_table.shown().bubbles)
                passOfferedAsDealer += b.code == BubbleNamePass;
        }
    } else if (word == "CMD_discarder" || word == "CMD_nextplayer") {
        if (mine) {
            m_pending = Pending::Card;
            m_place = 1;
        }
    } else if (word == "CMD_notvalid") {
        ++refusals;
        m_pending = Pending::Retry;
    } else if (word == "CMD_score") {
        ++handsScored;
    } else if (word == "CMD_thewinner") {
        winner = m_table.board()->seat(1)->banner->isVisible() ? 1 : 2;
    }
}

int SeatPlayer::heldCards() const {
    return m_table.shown().held();
}

// The card at a place of the hand, pressed where a person sees it: at its
// left strip, 72 + 18 x place from the board's left edge.
void SeatPlayer::pressCard(int place) {
    TableBoard* board = m_table.board();
    if (m_input == Keys) {
        QTest::keyClick(board, static_cast<Qt::Key>(Qt::Key_0 + place));
        return;
    }
    QWidget* card = board->childAt(72 + 18 * place + 9, 440);
    QVERIFY2(card && card->objectName().startsWith(QLatin1String("card")), "no card there");
    QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(9, 40));
}

bool SeatPlayer::asked() const {
    const TableRecord& shown = m_table.shown();
    if (shown.turnseat != m_table.ownSlot()) return false;
    if (shown.cardAsked) return true;
    for (const BubbleRecord& b : shown.bubbles)
        if (b.code != -1) return true;
    return false;
}

QString SeatPlayer::describe() const {
    const TableRecord& shown = m_table.shown();
    QStringList bubbles;
    for (size_t n = 1; n < shown.bubbles.size(); ++n)
        bubbles << QString::number(shown.bubbles[n].code);
    return QStringLiteral("seat %1, turn %2, dealer %3, card asked %4, bubbles %5, held %6, "
                          "last message %7, quiet for %8 ms, status \"%9\"")
        .arg(m_table.ownSlot())
        .arg(shown.turnseat)
        .arg(shown.dealer)
        .arg(shown.cardAsked)
        .arg(bubbles.join(QLatin1Char(' ')))
        .arg(shown.held())
        .arg(QString::fromLatin1(m_lastWord))
        .arg(m_idle.elapsed())
        .arg(shown.status);
}

void SeatPlayer::step() {
    // A person who still sees a question after a long quiet answers it
    // (again); the warning keeps such a stall visible in the test's output.
    if (m_pending == Pending::None && asked() && m_idle.elapsed() > kPatienceMs) {
        qWarning("scripted player: still asked, answering again: %s", qPrintable(describe()));
        const TableRecord& shown = m_table.shown();
        const bool raised = std::any_of(shown.handslots.begin(), shown.handslots.end(),
                                        [](const HandSlot& h) { return h.raised; });
        m_pending = !shown.cardAsked ? Pending::Bubble : raised ? Pending::Retry : Pending::Card;
    }
    if (m_pending != Pending::None) m_idle.restart();
    if ((m_pending == Pending::Bubble || m_pending == Pending::Card) && followHints &&
        followHint()) {
        m_pending = Pending::None;
        return;
    }
    switch (m_pending) {
    case Pending::None:
        return;
    case Pending::Bubble: {
        int pass = 0;
        for (int n = 1; n <= TableBoard::kBubbles; ++n) {
            const int code = m_table.board()->bubble(n)->number();
            if (passing && (code == BubblePass || code == BubbleNamePass)) pass = n;
        }
        for (int n = pass ? pass : 1; n <= TableBoard::kBubbles; ++n) {
            ArtItem* bubble = m_table.board()->bubble(n);
            if (bubble->number() == -1) continue;
            if (m_input == Keys)
                QTest::keyClick(m_table.board(), static_cast<Qt::Key>(Qt::Key_F4 + n));
            else
                QTest::mouseClick(bubble, Qt::LeftButton);
            break;
        }
        m_pending = Pending::None;
        return;
    }
    case Pending::Retry:
        // The refused card is still raised: take it back, then try the next.
        if (m_input == Keys) {
            QTest::keyClick(m_table.board(), Qt::Key_Space);
            QTest::keyClick(m_table.board(), Qt::Key_Right);
            QTest::keyClick(m_table.board(), Qt::Key_Return);
            m_place = m_table.shown().keyPlace;
        } else {
            pressCard(m_place);
            m_place = m_place % qMax(1, heldCards()) + 1;
            pressCard(m_place);
        }
        m_pending = Pending::None;
        return;
    case Pending::Card:
        pressCard(m_place);
        m_pending = Pending::None;
        return;
    }
}

// The H key marks the expert's bubble or raises its card; that one is pressed.
bool SeatPlayer::followHint() {
    QTest::keyClick(m_table.board(), Qt::Key_H);
    const TableRecord& shown = m_table.shown();
    // With EUCHRE_SHOTS set, the first hints of each kind are pictured there.
    const QString shots = qEnvironmentVariable("EUCHRE_SHOTS");
    const QString shot =
        shown.hintBubble ? QStringLiteral("/hint-bubble.png") : QStringLiteral("/hint-card.png");
    if (!shots.isEmpty() && !QFile::exists(shots + shot)) m_table.grab().save(shots + shot);
    if (shown.hintBubble) {
        QTest::mouseClick(m_table.board()->bubble(shown.hintBubble), Qt::LeftButton);
        ++hintsFollowed;
        return true;
    }
    for (int place = 1; place <= kHandSize && shown.hintPosition; ++place)
        if (shown.handslots[static_cast<size_t>(place)].position == shown.hintPosition) {
            if (shown.turnseat && !shown.discardAsked) {
                ++cardHints;
                cardHintsWithTrick += shown.status.contains(QLatin1String("the trick"));
            }
            pressCard(place);
            ++hintsFollowed;
            return true;
        }
    return false;
}

bool playUntil(std::initializer_list<SeatPlayer*> players, const std::function<bool()>& done,
               int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) {
            for (SeatPlayer* p : players)
                qWarning("scripted player: %s", qPrintable(p->describe()));
            return false;
        }
        for (SeatPlayer* p : players) p->step();
        QTest::qWait(1);
    }
    return true;
}

} // namespace euchre::testing
