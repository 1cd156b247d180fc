// A game of one board: the daily board, played with every rule of a level,
// whose records come from the shell instead of the level files. It ends when
// the board is solved, and a filled board is the perfect solve of the day.

#include <algorithm>

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

void Puzzle::NewSingleBoardGame(const Zing::Buffer& board, const Zing::Buffer& nodes, const Zing::Buffer& solution,
                                int level) {
  mBoardFile = board;
  mNodeFile = nodes;
  mSolutionFile = solution;
  mSingleBoard = true;
  mPerfectSolve = false;
  mLevel = std::clamp(level, 0, kLastLevel);
  mScore = 0;
  mShutterOffset = 0;
  mShutterTick = 0;
  mFinalScoreHandedOver = false;
  mBarBlink = mBarHighlight = 0;
  mHintsLeft = kHintsPerGame;
  RestartLevel();
}

}  // namespace Lintwick
