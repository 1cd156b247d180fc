// Checking a set of paths against a board.

#include "game/levelgen/Board.h"

namespace Lintwick::LevelGen {

bool IsValidSolution(const Board& board, const Routes& routes, bool mustFill) {
  if (routes.size() != board.pairs.size()) return false;
  Bits used = 0;
  for (std::size_t p = 0; p < routes.size(); ++p) {
    const Path& path = routes[p];
    if (path.size() < 2 || path.front() != board.pairs[p][1] || path.back() != board.pairs[p][0]) return false;
    for (std::size_t i = 0; i < path.size(); ++i) {
      const int cell = path[i];
      if (cell < 0 || cell >= kBitCells || !Has(board.present, cell) || Has(used, cell)) return false;
      if (i > 0 && !Adjacent(path[i - 1], cell)) return false;
      used |= Bit(cell);
    }
  }
  return !mustFill || used == board.present;
}

}  // namespace Lintwick::LevelGen
