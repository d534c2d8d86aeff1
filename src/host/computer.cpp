// The computer-turn timer and the computer seats' decisions, handed to the
// host's handlers as the text a client would send.
#include "host/tserver.h"

#include "model/card.h"
#include "rules/seatview.h"

#include <charconv>

namespace euchre {

namespace {
// The text "seat+value+" a client would send, built in place: the handler
// reads it at once and keeps nothing, so no allocation is needed per move.
class Answer {
public:
    Answer(int seat, int value) {
        char* end = m_text + sizeof m_text;
        char* at = std::to_chars(m_text, end, seat).ptr;
        *at++ = '+';
        at = std::to_chars(at, end, value).ptr;
        *at++ = '+';
        m_size = at - m_text;
    }
    operator QByteArrayView() const { return QByteArrayView(m_text, m_size); }

private:
    char m_text[32];
    qsizetype m_size = 0;
};

Answer answer(int seat, int value) {
    return Answer(seat, value);
}

// The timer's action for each question a computer seat answers.
int askAction(rules::Question question) {
    switch (question) {
    case rules::Question::OrderUp:
        return ActionBid;
    case rules::Question::Naming:
        return ActionChoose;
    case rules::Question::GoingAlone:
        return ActionAlone;
    case rules::Question::Discard:
        return ActionDiscard;
    case rules::Question::Card:
        return ActionPlay;
    default:
        return ActionNone;
    }
}

// The count the timer acts at; it starts below it by the ticks to wait.
constexpr int kActingTick = 2;

} // namespace

void TServer::resetTimer() {
    // Nothing to stop or to change when the timer already rests at the bot speed.
    if (ctimer.isActive()) ctimer.stop();
    const int speed = botSpeed();
    if (ctimer.interval() != speed) ctimer.setInterval(speed);
    ctimerTag = ActionNone;
}

void TServer::armTimer(int action, int ticks) {
    ctimer.setInterval(botSpeed());
    botticks = kActingTick - ticks;
    ctimerTag = action;
    ctimer.start();
}

void TServer::armForPhase() {
    resetTimer();
    const rules::Asked asked = m_game.asked();
    if (asked.seat != 0) {
        if (isComputerSeat(asked.seat)) armTimer(askAction(asked.question), kAnswerTicks);
        return;
    }
    if (m_game.phase() == rules::Phase::TrickPause)
        armTimer(ActionNextTrick, kTrickPauseTicks);
    else if (m_game.phase() == rules::Phase::HandPause)
        armTimer(ActionNextDeal, kDealPauseTicks);
}

void TServer::ctimerTimer() {
    ++botticks;
    if (botticks < kActingTick) return;
    ctimer.stop();
    const int action = ctimerTag;
    ctimerTag = ActionNone;

    if (action == ActionNextTrick || action == ActionNextDeal) {
        proceed();
        return;
    }
    // The question the timer was armed for is still open: the seat decides,
    // unless a person has taken it over meanwhile.
    const rules::Asked asked = m_game.asked();
    if (action != ActionNone && action == askAction(asked.question) && isComputerSeat(asked.seat))
        computerMove(asked.seat);
}

void TServer::computerMove(int seat) {
    const rules::Asked asked = m_game.asked();
    if (seat == 0 || asked.seat != seat) return;
    // The seat decides on its own view. The expert's search runs here on the
    // event loop: its decisions take a few milliseconds, rarely more than a
    // tenth of a second.
    const int value = players::answer(m_level, rules::seatView(m_game.table(), seat));
    if (value == 0) return; // no card left to play
    if (asked.wantsCard())
        playcard(answer(seat, value));
    else
        selectedbubble(answer(seat, value));
}

} // namespace euchre
