// The house rules as the table window words them: the short line under the
// play-to score, the chat log's notice at the start of a game, and the
// ruleset a game's start or the host's catch-up carries.
#pragma once

#include "rules/ruleset.h"

#include <QByteArrayView>
#include <QString>

namespace euchre {

// The rules in force for the score card, such as "Stick the dealer" or
// "Stick the dealer, lone march 5"; empty for the plain rules.
QString houseRulesLine(const rules::Ruleset& rules);

// The chat log's sentence naming every house rule in force, such as "This
// game is played by house rules (stick the dealer; a lone march scores 5).";
// empty for the plain rules.
QString houseRulesNotice(const rules::Ruleset& rules);

// A ruleset field as the host sends it; the plain rules for one the window
// does not know (the host, which knows it, enforces it anyway).
rules::Ruleset readRuleset(QByteArrayView text);

} // namespace euchre
