// Reviewing a hand: the record replayed to each of the seat's decisions, the
// seat's view there advised on, and the answer made set against the expert's.
#include "client/handreview.h"

#include "model/bubble.h"
#include "players/advice.h"
#include "records/egn.h"
#include "records/replay.h"
#include "rules/seatview.h"

namespace euchre {

namespace {

QString answerText(const rules::Table& t, int seat, rules::Question q, int answer) {
    switch (q) {
    case rules::Question::OrderUp:
        return answer == BubbleAccept ? QStringLiteral("Order up") : QStringLiteral("Pass");
    case rules::Question::Naming:
        return namesSuit(answer) ? QString::fromLatin1(suitName(answer - 2))
                                 : QStringLiteral("Pass");
    case rules::Question::GoingAlone:
        return answer == BubbleAlone ? QStringLiteral("Alone") : QStringLiteral("With partner");
    case rules::Question::Discard:
        return QStringLiteral("Discard ") + cardName(t.hand[seat][answer]);
    case rules::Question::Card:
        return QStringLiteral("Play ") + cardName(t.hand[seat][answer]);
    default:
        return {};
    }
}

QString askedText(const rules::Table& t, rules::Question q) {
    switch (q) {
    case rules::Question::OrderUp:
        return QStringLiteral("Order up the %1?").arg(cardName(t.record.turned));
    case rules::Question::Naming:
        return QStringLiteral("Name trump?");
    case rules::Question::GoingAlone:
        return QStringLiteral("Go alone?");
    case rules::Question::Discard:
        return QStringLiteral("Discard for the %1").arg(cardName(t.record.turned));
    case rules::Question::Card:
        return QStringLiteral("Trick %1").arg(t.tricknumber);
    default:
        return {};
    }
}

} // namespace

QString cardName(int card) {
    static const QString symbols[] = {QString(), QStringLiteral("\u2663"), QStringLiteral("\u2666"),
                                      QStringLiteral("\u2660"), QStringLiteral("\u2665")};
    const QString text = records::cardText(card);
    if (text.isEmpty()) return QStringLiteral("?");
    const QString rank = text[0] == QLatin1Char('T') ? QStringLiteral("10") : text.left(1);
    return rank + symbols[naturalSuit(card)];
}

QString markName(ReviewMark mark) {
    switch (mark) {
    case ReviewMark::Good:
        return QStringLiteral("Good");
    case ReviewMark::Inaccuracy:
        return QStringLiteral("Inaccuracy");
    case ReviewMark::Mistake:
        return QStringLiteral("Mistake");
    }
    return {};
}

std::vector<ReviewedDecision> reviewDeal(const records::GameRecord& record, int deal, int seat) {
    std::vector<ReviewedDecision> out;
    if (deal < 0 || deal >= int(record.deals.size()) || !isSeat(seat)) return out;
    // Only the deals up to this one matter: they give the score it was played at.
    records::GameRecord upTo = record;
    upTo.deals.resize(std::size_t(deal) + 1);
    upTo.hasFinalScore = false;
    int calls = 0, plays = 0;
    records::ReplayOptions options;
    options.onMove = [&](int number, const rules::Table& before, int answer) {
        const rules::Asked asked = before.asked();
        const int callIndex = asked.wantsCard() ? -1 : calls;
        const int playIndex = asked.question == rules::Question::Card ? plays : -1;
        if (number == deal && asked.question != rules::Question::GoingAlone &&
            asked.question != rules::Question::Discard)
            asked.question == rules::Question::Card ? ++plays : ++calls;
        if (number != deal || asked.seat != seat || answer == 0) return;
        const players::Advice advice = players::advise(rules::seatView(before, seat));
        ReviewedDecision d;
        d.question = asked.question;
        d.chosen = answer;
        d.expert = advice.choice;
        d.asked = askedText(before, asked.question);
        d.chosenText = answerText(before, seat, asked.question, answer);
        d.expertText = answerText(before, seat, asked.question, advice.choice);
        const players::Option* chosen = advice.option(answer);
        const players::Option* best = advice.option(advice.choice);
        d.chosenPoints = chosen ? chosen->points : 0;
        d.expertPoints = best ? best->points : d.chosenPoints;
        const double lost = answer == advice.choice ? 0 : d.expertPoints - d.chosenPoints;
        d.mark = lost >= kMistakePoints      ? ReviewMark::Mistake
                 : lost >= kInaccuracyPoints ? ReviewMark::Inaccuracy
                                             : ReviewMark::Good;
        d.callIndex =
            asked.question == rules::Question::OrderUp || asked.question == rules::Question::Naming
                ? callIndex
                : -1;
        d.playIndex = playIndex;
        out.push_back(d);
    };
    records::replayRecord(upTo, options);
    return out;
}

void annotate(records::DealRecord& deal, const std::vector<ReviewedDecision>& review) {
    for (const ReviewedDecision& d : review) {
        if (d.mark == ReviewMark::Good) continue;
        const QString tag =
            d.mark == ReviewMark::Mistake ? QStringLiteral("[?]") : QStringLiteral("[?!]");
        const QString line = QStringLiteral("%1%2: %3, the expert %4 (%5 against %6 points)")
                                 .arg(tag, markName(d.mark), d.chosenText, d.expertText.toLower())
                                 .arg(d.chosenPoints, 0, 'f', 2)
                                 .arg(d.expertPoints, 0, 'f', 2);
        if (d.callIndex >= 0) deal.callNotes[d.callIndex] = {line};
        if (d.playIndex >= 0) deal.playNotes[d.playIndex] = {line};
    }
}

} // namespace euchre
