// A stored solve shown again at the pace the rolling cube laid it.

#include "game/shell/SolvePlayback.h"

#include "game/puzzle/GameScreen.h"
#include "game/puzzle/Puzzle.h"

namespace Lintwick {

static_assert(SolvePlayback::kUpdatesPerPiece == kCubeRollTicks * kUpdatesPerTick,
              "a solve plays back at the rolling cube's pace");

void SolvePlayback::Start(int level, const std::vector<LaidPiece>& pieces) {
  mLevel = level;
  mPieces = pieces;
  mShown = 0;
  mClock = 0;
}

void SolvePlayback::Stop() {
  mLevel = -1;
  mPieces.clear();
  mShown = 0;
  mClock = 0;
}

bool SolvePlayback::Update() {
  if (!IsPlaying() || Finished()) return false;
  if (++mClock < kUpdatesPerPiece) return false;
  mClock = 0;
  ++mShown;
  return true;
}

}  // namespace Lintwick
