#pragma once

// The level generator's view of a level: the present cells of the 10 x 10
// grid as a bit set, the node pairs, and the paths that join them. Cells are
// numbered y * 11 + x so that a spare always-empty bit at the end of every row
// keeps the left and right shifts of a bit set from wrapping into the next row.

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace Lintwick::LevelGen {

__extension__ typedef unsigned __int128 Bits;

inline constexpr int kGrid = 10;
inline constexpr int kStride = 11;
inline constexpr int kBitCells = kGrid * kStride;
inline constexpr int kMaxPairs = 7;

constexpr int CellAt(int x, int y) { return y * kStride + x; }
constexpr int CellX(int cell) { return cell % kStride; }
constexpr int CellY(int cell) { return cell / kStride; }
constexpr bool InGrid(int x, int y) { return x >= 0 && x < kGrid && y >= 0 && y < kGrid; }

constexpr Bits Bit(int cell) { return Bits{1} << cell; }
constexpr bool Has(Bits set, int cell) { return ((set >> cell) & 1) != 0; }

inline int Count(Bits set) {
  return std::popcount(static_cast<std::uint64_t>(set)) + std::popcount(static_cast<std::uint64_t>(set >> 64));
}

inline int Lowest(Bits set) {
  const auto low = static_cast<std::uint64_t>(set);
  return low != 0 ? std::countr_zero(low) : 64 + std::countr_zero(static_cast<std::uint64_t>(set >> 64));
}

// The cells of `allowed` next to a cell of `set` (the set itself not included
// unless a cell of it neighbours another).
constexpr Bits Neighbours(Bits set, Bits allowed) {
  return ((set << 1) | (set >> 1) | (set << kStride) | (set >> kStride)) & allowed;
}

constexpr bool Adjacent(int a, int b) {
  const int d = a > b ? a - b : b - a;
  return d == 1 || d == kStride;
}

// The cells of `allowed` connected to `seed` through cells of `allowed`.
inline Bits Flood(Bits seed, Bits allowed) {
  Bits region = seed & allowed;
  for (;;) {
    const Bits grown = region | Neighbours(region, allowed);
    if (grown == region) return region;
    region = grown;
  }
}

// A level: the board and its node pairs. pairs[p][0] is the first node of link
// p (the target the player draws to), pairs[p][1] the second (where drawing starts).
struct Board {
  Bits present = 0;
  std::vector<std::array<int, 2>> pairs;
};

// One link's path: every cell from the link's second node to its first node,
// both nodes included.
using Path = std::vector<int>;
using Routes = std::vector<Path>;

// Paths that join every pair of the board: each path runs from the pair's
// second node to its first through orthogonal neighbours, on present cells,
// and no cell is used twice (so no path runs through a node). With `mustFill`
// every present cell must be covered as well.
bool IsValidSolution(const Board& board, const Routes& routes, bool mustFill);

}  // namespace Lintwick::LevelGen
