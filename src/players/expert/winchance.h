// The chance that a team wins the game from a score pair, so that the expert
// plays for the game rather than for the hand.
#pragma once

namespace euchre::players::expert {

// Chance (0..1) that the team with `us` points beats the team with `them`
// points in a game to `playto`, when a lone march scores `lonerMarch` (3 to
// 5). A team at or above the play-to score has won.
double winChance(int playto, int us, int them, int lonerMarch = 4);

} // namespace euchre::players::expert
