// The computer-turn timer and the computer seats' decisions, handed to the
// host's handlers as the text a client would send.
#include "host/tserver.h"

#include "host/bots/bidding.h"
#include "host/bots/cardplay.h"
#include "host/bots/tableview.h"
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

    auto decide = [this](int seat, void (TServer::*decision)(int)) {
        if (seat != 0 && isComputerSeat(seat)) (this->*decision)(seat);
    };
    switch (action) {
    case ActionBid:
        decide(bidder, &TServer::cbidder);
        break;
    case ActionDiscard:
        decide(discarder, &TServer::cdiscarder);
        break;
    case ActionChoose:
        decide(chooser, &TServer::cchooser);
        break;
    case ActionPlay:
        decide(nextplayer, &TServer::cnextplayer);
        break;
    case ActionAlone:
        decide(aloner, &TServer::caloner);
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

int TServer::decision(int seat, int (*standard)(const rules::Table&, int)) const {
    const rules::Table t = table();
    if (m_level == ai::Level::Expert) return ai::expertAnswer(t, m_record, seat);
    return standard(t, seat);
}

void TServer::cbidder(int seat) {
    if (seat == 0 || seat != bidder) return;
    selectedbubble(answer(seat, decision(seat, bots::bidDecision)));
}

void TServer::cchooser(int seat) {
    if (seat == 0 || seat != chooser) return;
    selectedbubble(answer(seat, decision(seat, bots::chooseDecision)));
}

void TServer::caloner(int seat) {
    if (seat == 0 || seat != aloner) return;
    selectedbubble(answer(seat, decision(seat, bots::aloneDecision)));
}

void TServer::cdiscarder(int seat) {
    if (seat == 0 || seat != discarder) return;
    playcard(answer(seat, decision(seat, bots::discardPosition)));
}

void TServer::cnextplayer(int seat) {
    if (seat == 0 || seat != nextplayer) return;
    const int position = decision(seat, bots::playPosition);
    if (position >= 1 && position <= kHandSize) playcard(answer(seat, position));
}

} // namespace euchre
