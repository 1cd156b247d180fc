#pragma once

// Playing a stored solve back, piece by piece, at the pace of the rolling
// cube: one piece every time the cube would have rolled one cell. It counts
// the framework's updates; whoever shows the solve draws its first Shown()
// pieces.

#include <vector>

#include "game/puzzle/Progress.h"

namespace Lintwick {

class SolvePlayback {
 public:
  // Updates between two pieces: the cube's roll in logic ticks, five updates each.
  static constexpr int kUpdatesPerPiece = 14 * 5;

  // Starts from an empty board; a solve without pieces is shown whole at once.
  void Start(int level, const std::vector<LaidPiece>& pieces);
  void Stop();
  // One update; answers whether one more piece is now shown.
  bool Update();

  bool IsPlaying() const { return mLevel >= 0; }
  int Level() const { return mLevel; }
  const std::vector<LaidPiece>& Pieces() const { return mPieces; }
  int Shown() const { return mShown; }
  bool Finished() const { return mShown >= static_cast<int>(mPieces.size()); }

 private:
  int mLevel = -1;
  std::vector<LaidPiece> mPieces;
  int mShown = 0;
  int mClock = 0;
};

}  // namespace Lintwick
