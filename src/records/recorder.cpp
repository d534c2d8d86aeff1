// The record of a game built from its events.
#include "records/recorder.h"

#include "model/bubble.h"

namespace euchre::records {

void Recorder::startGame(const rules::Ruleset& rules, int playto, const QStringList& players,
                         const QString& date, const QString& gameId) {
    m_record = GameRecord{};
    m_record.rules = rules;
    m_record.winningScore = playto;
    m_record.players = players.mid(0, kSeats);
    m_record.date = date;
    m_record.gameId = gameId;
    m_recording = true;
    m_finished = 0;
    m_trickOpen = false;
    m_score = {};
    ++m_changes;
}

bool Recorder::annotate(int deal, const std::function<void(DealRecord&)>& write) {
    if (deal < 0 || deal >= int(m_record.deals.size())) return false;
    write(m_record.deals[std::size_t(deal)]);
    ++m_changes;
    return true;
}

DealRecord* Recorder::current() {
    return m_recording && !m_record.deals.empty() ? &m_record.deals.back() : nullptr;
}

void Recorder::dealtHand(int seat, const rules::Hand& hand) {
    DealRecord* deal = current();
    if (!deal || !isSeat(seat)) return;
    ++m_changes;
    m_hands[seat] = hand;
    m_seen[seat] = true;
    for (int pos = 1; pos <= kHandSize; ++pos) deal->hands[seat][pos - 1] = hand[pos];
    deal->handsGiven = m_seen[1] && m_seen[2] && m_seen[3] && m_seen[4];
    for (int s = 1; s <= kSeats && deal->handsGiven; ++s)
        for (const int card : deal->hands[s]) deal->handsGiven = deal->handsGiven && isCard(card);
}

void Recorder::event(const rules::Event& e) {
    if (!m_recording) return;
    using rules::EventKind;
    if (e.kind == EventKind::Dealer) {
        if (m_record.deals.size() >= 100) {
            // The notation holds a hundred deals; a longer game keeps its first hundred.
            m_recording = false;
            return;
        }
        DealRecord deal;
        deal.dealer = e.seat();
        deal.hasBidding = true;
        m_record.deals.push_back(deal);
        ++m_changes;
        m_hands = {};
        m_seen = {};
        m_trickOpen = false;
        return;
    }
    DealRecord* deal = current();
    if (!deal) return;
    // A deal has at most eight calls and five tricks of four cards; a
    // confused source cannot grow the record beyond them.
    const bool callsFull = deal->calls.size() >= 8;
    const bool playFull = m_trickOpen ? deal->tricks.back().size() >= std::size_t(kSeats)
                                      : deal->tricks.size() >= std::size_t(kHandSize);
    if ((callsFull && (e.kind == EventKind::Passed || e.kind == EventKind::Accepted ||
                       e.kind == EventKind::TrumpMade)) ||
        (playFull && e.kind == EventKind::Played))
        return;
    // A trick's end and a deal's score leave the record as it was (the score
    // goes in with the game's end), and so does the end of a game told again.
    if (e.kind != EventKind::TrickWon && e.kind != EventKind::Scored &&
        e.kind != EventKind::GameWon)
        ++m_changes;
    switch (e.kind) {
    case EventKind::Turned:
        deal->upCard = e.card();
        break;
    case EventKind::Passed:
        deal->calls.push_back({Call::Pass, 0});
        if (deal->calls.size() == 8) ++m_finished; // thrown in
        break;
    case EventKind::Accepted:
        deal->calls.push_back({Call::Order, 0});
        break;
    case EventKind::TrumpMade:
        if (deal->calls.empty() || deal->calls.back().kind != Call::Order)
            deal->calls.push_back({Call::Name, e.suit()});
        break;
    case EventKind::GoingAlone:
        deal->alone = e.code() == BubbleAlone;
        break;
    case EventKind::Switched:
        if (isSeat(e.seat()) && e.position() >= 1 && e.position() <= kHandSize) {
            rules::Hand& hand = m_hands[e.seat()];
            deal->discard = hand[e.position()];
            hand[e.position()] = e.card();
        }
        break;
    case EventKind::Played:
        if (!m_trickOpen) {
            deal->hasPlay = true;
            deal->tricks.emplace_back();
            m_trickOpen = true;
        }
        deal->tricks.back().push_back(e.card());
        break;
    case EventKind::TrickWon:
        m_trickOpen = false;
        break;
    case EventKind::Scored:
        ++m_finished;
        m_score = {e.score(1), e.score(2)};
        break;
    case EventKind::GameWon:
        if (!m_record.hasFinalScore || m_record.finalScore != m_score) ++m_changes;
        m_record.hasFinalScore = true;
        m_record.finalScore = m_score;
        break;
    default:
        break;
    }
}

} // namespace euchre::records
