#pragma once

// The game's screens as a player's hand goes through them, written into a
// demo script: the places to click in the 640 x 480 picture and how long each
// step takes the game at most.

#include <vector>

#include "tools/demogen/DemoScript.h"
#include "tools/demogen/LevelSolutions.h"

namespace Lintwick::DemoGen {

// From the start of the program to the start screen: loading, the splash and
// its start link.
void LeaveSplash(DemoScript& script);
// Start screen: New, then the help that a fresh game opens is closed.
void StartNewGame(DemoScript& script);
// Start screen: Continue, on a saved game whose last level has every link
// joined; waits until its final transition has opened the high-score table.
void ContinueToGameEnd(DemoScript& script);
// Start screen: Replay, and the level chooser's OK on the level it shows.
void ReplayChosenLevel(DemoScript& script);
// Draws every link of the level along its solution and waits until the
// transition to the next level has ended.
void SolveLevel(DemoScript& script, const LevelSolution& level);
// Draws `cells` cells of the level's first link and lets go of it.
void DrawSome(DemoScript& script, const LevelSolution& level, int cells);
// Leaves the game for the start screen (which saves it) and continues it.
void SaveAndContinue(DemoScript& script);
// Options, its high-score table, then both closed again.
void LookAtHighScores(DemoScript& script);
// The high-score table that the end of the game opens, closed with its name.
void CloseFinalScores(DemoScript& script);

}  // namespace Lintwick::DemoGen
