// The narrow door through which tests put a table window in a state that no
// host message brings it to: a seat taken without a connection, hosting
// without a host, the turn moved on without a message.
#pragma once

#include "client/tchat.h"

namespace euchre {

struct TchatTestDoor {
    static void sit(Tchat& t, int slot, bool loggedIn) {
        t.m_shown.myslot = slot;
        t.m_login.loggedin = loggedIn;
        t.redraw();
    }
    static void setHosting(Tchat& t, bool hosting) { t.m_login.ishost = hosting; }
    static void moveTurn(Tchat& t, int seat) { t.m_shown.turnseat = seat; }
};

} // namespace euchre
