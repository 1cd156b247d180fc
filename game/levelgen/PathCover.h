#pragma once

// A partition of a board's present cells into paths, reshaped by random local
// moves: joining two path ends that are neighbours, and "backbites" where a
// path end links to a neighbouring cell and the path through that cell is cut
// on one side. Any such cover with k paths is a level with k pairs whose
// solution fills the board.

#include <array>

#include "game/levelgen/Board.h"
#include "game/levelgen/Random.h"

namespace Lintwick::LevelGen {

class PathCover {
 public:
  PathCover(Bits present, Random& random);

  // Moves until the cover has exactly `paths` paths, each of at least
  // `minCells` cells; false when `maxMoves` moves did not get there.
  bool Reach(int paths, int minCells, int maxMoves);

  // A few random moves that keep the number of paths, then back to the
  // wanted shape.
  bool Shake(int moves, int paths, int minCells, int maxMoves);

  // Every path, from one end to the other, ordered by the lowest cell of each
  // path so the order does not depend on the moves' history.
  Routes Paths() const;

 private:
  int Degree(int cell) const { return (mLink[cell][0] >= 0) + (mLink[cell][1] >= 0); }
  void AddLink(int a, int b);
  void RemoveLink(int a, int b);
  int ShortestEnd(int minCells) const;
  bool Satisfied(int paths, int minCells) const;
  void Move(int paths, int minCells);
  void SplitLongest(int minCells);
  Path Walk(int end) const;

  Bits mPresent;
  Random* mRandom;
  int mPaths = 0;
  std::array<std::array<int, 2>, kBitCells> mLink{};
};

}  // namespace Lintwick::LevelGen
