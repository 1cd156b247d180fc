#pragma once

// Solvers for a level board: the game's own rule (join every pair with
// disjoint paths that avoid other nodes; cells may stay empty) and the classic
// rule where the paths must also cover every present cell, whose solutions are
// counted up to a cap to tell a well-made puzzle (exactly one) from a loose one.

#include <cstdint>
#include <optional>

#include "game/levelgen/Board.h"

namespace Lintwick::LevelGen {

struct FillCount {
  int solutions = 0;        // found, at most the cap
  std::int64_t effort = 0;  // search positions visited
  bool exhausted = false;   // the effort limit stopped the search early
  Routes first;             // the first solution found, if any
};

// Counts the solutions that fill every present cell, stopping at `cap`
// solutions or after `effortLimit` search positions.
FillCount CountFillSolutions(const Board& board, int cap, std::int64_t effortLimit = INT64_MAX);

// One solution under the game's rule, or nothing when there is none (or the
// search gave up after `effortLimit` positions).
std::optional<Routes> SolveGameRule(const Board& board, std::int64_t effortLimit = 50'000'000);

}  // namespace Lintwick::LevelGen
