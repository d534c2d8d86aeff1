// The window's game records: host messages read into game events, and the
// record saved whole after every finished deal.
#include "client/gamekeeper.h"

#include "client/tablerecord.h"
#include "model/bubble.h"
#include "net/commands.h"
#include "net/protocol.h"
#include "records/recordsfolder.h"
#include "records/replay.h"

namespace euchre {

namespace {

using rules::Event;
using rules::EventKind;

} // namespace

QString GameKeeper::folder() const {
    return m_folder.isEmpty() ? records::recordsFolder() : m_folder;
}

void GameKeeper::observe(QByteArrayView word, QByteArrayView args, const TableRecord& shown) {
    FieldReader f(args);
    if (word == QByteArrayView(cmd::startgame)) {
        f.text(); // who started it
        const int playto = f.number(1, 999).value_or(shown.scores.playto);
        QStringList names;
        for (int seat = 1; seat <= kSeats; ++seat) names << shown.seatName(seat).left(64);
        const QDateTime now = QDateTime::currentDateTime();
        const QString id = QString::number(now.toMSecsSinceEpoch(), 36);
        m_recorder.startGame(shown.houseRules, playto, names,
                             now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")), id);
        m_fileName = records::recordFileName(now, id);
        m_saved = 0;
        m_failReported = false;
        return;
    }
    if (!m_recorder.recording()) return;
    // Questions the record itself does not show as open.
    if (word == QByteArrayView(cmd::aloner)) m_aloneAnswered = false;
    if (word == QByteArrayView(cmd::goingalone)) m_aloneAnswered = true;
    if (word == QByteArrayView(cmd::discarder)) m_discardMade = false;
    if (word == QByteArrayView(cmd::switchcard) || word == QByteArrayView(cmd::nextplayer))
        m_discardMade = true;
    const auto seat = [&f] { return f.number(1, kSeats); };
    std::optional<Event> event;
    if (word == QByteArrayView(cmd::dealer)) {
        if (const auto s = seat()) event = Event::of(EventKind::Dealer, *s);
    } else if (word == QByteArrayView(cmd::settrump)) {
        if (const auto card = f.number(1, 52)) event = Event::turned(*card);
    } else if (word == QByteArrayView(cmd::hepassed)) {
        if (const auto s = seat()) event = Event::of(EventKind::Passed, *s);
    } else if (word == QByteArrayView(cmd::heaccepted)) {
        if (const auto s = seat()) event = Event::of(EventKind::Accepted, *s);
    } else if (word == QByteArrayView(cmd::trumpchoosen)) {
        const auto s = seat();
        const auto suit = f.number(1, 4);
        if (s && suit) event = Event::trump(EventKind::TrumpMade, *s, *suit);
    } else if (word == QByteArrayView(cmd::goingalone)) {
        const auto s = seat();
        const auto code = f.number(BubbleAlone, BubbleWithPartner);
        if (s && code) event = Event::goingAlone(*s, *code);
    } else if (word == QByteArrayView(cmd::switchcard)) {
        const auto s = seat();
        const auto position = f.number(1, kHandSize);
        const auto card = f.number(1, 52);
        if (s && position && card) event = Event::place(EventKind::Switched, *s, *position, *card);
    } else if (word == QByteArrayView(cmd::playedcard)) {
        const auto s = seat();
        const auto position = f.number(1, kHandSize);
        const auto card = f.number(1, 52);
        if (s && position && card) event = Event::place(EventKind::Played, *s, *position, *card);
    } else if (word == QByteArrayView(cmd::trickwinner)) {
        if (const auto s = seat()) event = Event::trickWon(*s, 0, 0);
    } else if (word == QByteArrayView(cmd::score)) {
        const auto team = f.number(1, 2);
        const auto score1 = f.number(-9999, 9999);
        const auto points1 = f.number(0, 99);
        const auto score2 = f.number(-9999, 9999);
        const auto points2 = f.number(0, 99);
        if (team && score1 && points1 && score2 && points2)
            event = Event::scored(*team, *score1, *points1, *score2, *points2);
    } else if (word == QByteArrayView(cmd::thewinner)) {
        if (const auto team = f.number(1, 2)) event = Event::gameWon(*team);
    } else if (word == QByteArrayView(cmd::placecard)) {
        // The own hand as dealt: the only one whose cards the window sees.
        const auto s = seat();
        rules::Hand hand{};
        for (int i = 0; i < kHandSize && s; ++i) {
            const auto position = f.number(1, kHandSize);
            const auto card = f.number(0, 52);
            if (position && card) hand[*position] = *card;
        }
        if (s && *s == shown.myslot) m_recorder.dealtHand(*s, hand);
        return;
    }
    if (!event) return;
    m_recorder.event(*event);
    if (m_recorder.finishedDeals() != m_saved || event->kind == EventKind::GameWon) save();
}

std::optional<rules::Table> GameKeeper::tableNow() const {
    if (!m_recorder.recording() || m_recorder.record().deals.empty()) return std::nullopt;
    records::ReplayOptions options;
    options.lastDealOpen = true;
    options.aloneAnswered = m_aloneAnswered;
    options.discardMade = m_discardMade;
    const records::Replay replay = records::replayRecord(m_recorder.record(), options);
    if (!replay.legal) return std::nullopt;
    return replay.table;
}

void GameKeeper::annotate(int deal, const std::vector<ReviewedDecision>& decisions) {
    if (!m_recorder.annotate(
            deal, [&decisions](records::DealRecord& d) { euchre::annotate(d, decisions); }))
        return;
    if (!m_fileName.isEmpty()) save();
}

void GameKeeper::save() {
    m_saved = m_recorder.finishedDeals();
    if (m_savedChanges == m_recorder.changes()) return;
    QString why;
    if (records::saveRecord(m_recorder.record(), folder(), m_fileName, &why)) {
        m_savedChanges = m_recorder.changes();
        return;
    }
    if (m_failReported) return;
    m_failReported = true;
    if (saveFailed) saveFailed(why);
}

} // namespace euchre
