// The perfect rule. A level is solved once every pair is joined, and most
// boards can be joined in many ways; only one way joins every pair and covers
// every cell of the board, and that is the puzzle in each board. A solve is
// perfect when, as the last link is joined, no cell of the board is left
// free. Holes are not part of the board and need no covering.
//
// The solve is also what the player can watch again later: the path pieces
// of the finished board in the order they were laid.

#include <algorithm>

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

bool Puzzle::CoversBoard() const {
  for (int x = 0; x < kBoardSize; ++x) {
    for (int y = 0; y < kBoardSize; ++y) {
      if (IsPresent(x, y) && PieceAt(x, y) == nullptr) return false;
    }
  }
  return true;
}

LevelSolve Puzzle::CurrentSolve() const {
  std::vector<const Piece*> laid;
  for (const Link& link : mLinks) {
    for (int slot = 2; slot < link.count; ++slot) {
      if (const Piece* piece = link.At(slot)) laid.push_back(piece);
    }
  }
  std::stable_sort(laid.begin(), laid.end(), [](const Piece* a, const Piece* b) { return a->laid < b->laid; });

  LevelSolve solve;
  solve.level = mLevel;
  solve.perfect = CoversBoard();
  solve.points = mLevelPoints;
  for (const Piece* piece : laid) solve.pieces.push_back({piece->link, CellCode(piece->x, piece->y)});
  return solve;
}

}  // namespace Lintwick
