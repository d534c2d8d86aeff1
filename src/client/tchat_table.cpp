// Entry points of the table's own handlers: the seats, the own hand, the
// bidding marks and the score board. The dispatcher already hands each of
// them its message; the table drawing fills them in.
#include "client/tchat.h"

namespace euchre {

void Tchat::sortstuff(int) {}
void Tchat::playerdisconnected(QByteArrayView) {}
void Tchat::startthegame(QByteArrayView) {}
void Tchat::setnextplayer(QByteArrayView) {}
void Tchat::justwatching(QByteArrayView) {}
void Tchat::setdealer(QByteArrayView) {}
void Tchat::placecard(QByteArrayView) {}
void Tchat::setbidder(QByteArrayView) {}
void Tchat::hepassed(QByteArrayView) {}
void Tchat::heaccepted(QByteArrayView) {}
void Tchat::settrump(QByteArrayView) {}
void Tchat::setdiscarder(QByteArrayView) {}
void Tchat::switchcard(QByteArrayView) {}
void Tchat::setchooser(QByteArrayView) {}
void Tchat::trumpchoosen(QByteArrayView) {}
void Tchat::playedcard(QByteArrayView) {}
void Tchat::notvalid(QByteArrayView) {}
void Tchat::trickwinner(QByteArrayView) {}
void Tchat::clearcards(QByteArrayView) {}
void Tchat::scores(QByteArrayView) {}
void Tchat::thewinner(QByteArrayView) {}
void Tchat::loadstats(QByteArrayView) {}
void Tchat::loadcards(QByteArrayView) {}
void Tchat::loadtheircard(QByteArrayView) {}
void Tchat::setaloner(QByteArrayView) {}
void Tchat::goingalone(QByteArrayView) {}

} // namespace euchre
