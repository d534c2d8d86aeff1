// The command words of the game protocol, each written once.
#pragma once

#include "model/bubble.h"

namespace euchre::cmd {

// Client to host.
inline constexpr char logininfo[] = "CMD_logininfo";
inline constexpr char kickhim[] = "CMD_kickhim";
inline constexpr char chat[] = "CMD_chat";
inline constexpr char action[] = "CMD_action";
inline constexpr char startgame[] = "CMD_startgame";
inline constexpr char justwatch[] = "CMD_justwatch";
inline constexpr char selectedbubble[] = "CMD_selectedbubble";
inline constexpr char playcard[] = "CMD_playcard";
inline constexpr char playasound[] = "CMD_playasound";
inline constexpr char botspeed[] = "CMD_botspeed";

// A private table, both ways: the host asks with "CMD_password+" before it
// gives the connection a slot; the window answers "CMD_password+" and the
// password. A table without a password never sends it, so a window that
// has none exchanges exactly the bytes it always did.
inline constexpr char password[] = "CMD_password";

// Host to client.
inline constexpr char sendlogininfo[] = "CMD_sendlogininfo";
inline constexpr char full[] = "CMD_full";
inline constexpr char newplayerinfo[] = "CMD_newplayerinfo";
inline constexpr char existingplayers[] = "CMD_existingplayers";
inline constexpr char havewrongversion[] = "CMD_havewrongversion";
inline constexpr char wrongversion[] = "CMD_wrongversion";
inline constexpr char loadcards[] = "CMD_loadcards";
inline constexpr char loadstats[] = "CMD_loadstats";
inline constexpr char placecard[] = "CMD_placecard";
inline constexpr char loadtheircards[] = "CMD_loadtheircards";
inline constexpr char dealer[] = "CMD_dealer";
inline constexpr char settrump[] = "CMD_settrump";
inline constexpr char bidder[] = "CMD_bidder";
inline constexpr char hepassed[] = "CMD_hepassed";
inline constexpr char heaccepted[] = "CMD_heaccepted";
inline constexpr char chooser[] = "CMD_chooser";
inline constexpr char trumpchoosen[] = "CMD_trumpchoosen";
inline constexpr char aloner[] = "CMD_aloner";
inline constexpr char goingalone[] = "CMD_goingalone";
inline constexpr char discarder[] = "CMD_discarder";
inline constexpr char switchcard[] = "CMD_switch";
inline constexpr char clearcards[] = "CMD_clearcards";
inline constexpr char nextplayer[] = "CMD_nextplayer";
inline constexpr char playedcard[] = "CMD_playedcard";
inline constexpr char notvalid[] = "CMD_notvalid";
inline constexpr char trickwinner[] = "CMD_trickwinner";
inline constexpr char score[] = "CMD_score";
inline constexpr char thewinner[] = "CMD_thewinner";
inline constexpr char justwatching[] = "CMD_justwatching";
inline constexpr char playerdisconnected[] = "CMD_playerdisconnected";
// The password was wrong, or this address tried too many wrong ones: the
// host closes the connection after saying so.
inline constexpr char wrongpassword[] = "CMD_wrongpassword";
inline constexpr char lockedout[] = "CMD_lockedout";
// House rules. "CMD_startgame" carries the game's ruleset text as a fourth
// field when any house rule is in force; a newcomer to such a game hears it
// in "CMD_loadrules+RULESET+" after "CMD_loadstats", a word a window that
// knows no house rules passes over. A start whose ruleset the host does not
// take is answered to the starter with "CMD_badrules+" and the item refused.
inline constexpr char loadrules[] = "CMD_loadrules";
inline constexpr char badrules[] = "CMD_badrules";

} // namespace euchre::cmd

namespace euchre {

// The version text both sides compare at login.
inline constexpr char kGameVersion[] = "1.0.6";

} // namespace euchre
