// The computer-turn timer and the computer seats' decisions, handed to the
// host's handlers as the text a client would send.
#include "host/tserver.h"

#include "model/card.h"

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
} // namespace

void TServer::resetTimer() {
    // Nothing to stop or to change when the timer already rests at the bot speed.
    if (ctimer.isActive()) ctimer.stop();
    const int speed = botSpeed();
    if (ctimer.interval() != speed) ctimer.setInterval(speed);
    ctimerTag = ActionNone;
}

void TServer::armTimer(int action, int startTicks) {
    ctimer.setInterval(botSpeed());
    botticks = startTicks;
    ctimerTag = action;
    ctimer.start();
}

void TServer::armForPhase() {
    resetTimer();
    auto askComputer = [this](int seat, int action) {
        if (isComputerSeat(seat)) armTimer(action, -1);
    };
    switch (phase) {
    case rules::Phase::OrderUp:
        askComputer(bidder, ActionBid);
        break;
    case rules::Phase::Naming:
        askComputer(chooser, ActionChoose);
        break;
    case rules::Phase::GoingAlone:
        askComputer(aloner, ActionAlone);
        break;
    case rules::Phase::Discard:
        askComputer(discarder, ActionDiscard);
        break;
    case rules::Phase::Play:
        askComputer(nextplayer, ActionPlay);
        break;
    case rules::Phase::TrickPause:
        armTimer(ActionNextTrick, -3);
        break;
    case rules::Phase::HandPause:
        armTimer(ActionNextDeal, -10);
        break;
    default:
        break;
    }
}

void TServer::ctimerTimer() {
    ++botticks;
    if (botticks < 2) return;
    ctimer.stop();
    const int action = ctimerTag;
    ctimerTag = ActionNone;

    auto decide = [this](int seat) {
        if (seat != 0 && isComputerSeat(seat)) computerMove(seat);
    };
    switch (action) {
    case ActionBid:
        decide(bidder);
        break;
    case ActionDiscard:
        decide(discarder);
        break;
    case ActionChoose:
        decide(chooser);
        break;
    case ActionPlay:
        decide(nextplayer);
        break;
    case ActionAlone:
        decide(aloner);
        break;
    case ActionNextTrick:
        nextplayer = nextleaderbefore;
        nextleaderbefore = 0;
        starthand();
        break;
    case ActionNextDeal:
        dealerdue = dealer;
        startround();
        break;
    default:
        break;
    }
}

void TServer::computerMove(int seat) {
    const rules::Table t = table();
    if (seat == 0 || !rules::asksASeat(t.phase) || t.seat != seat) return;
    // The seat decides on its own view. The expert's search runs here on the
    // event loop: its decisions take a few milliseconds, rarely more than a
    // tenth of a second.
    const int value = players::answer(m_level, rules::seatView(t, seat));
    if (value == 0) return; // no card left to play
    if (rules::asksForCard(t.phase))
        playcard(answer(seat, value));
    else
        selectedbubble(answer(seat, value));
}

} // namespace euchre
