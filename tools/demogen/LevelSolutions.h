#pragma once

// The stored solutions of the game's levels, read from the node file and the
// solution file: for each link, its start node, the path from it and its
// target node, as cell codes.

#include <optional>
#include <string>
#include <vector>

namespace Lintwick::DemoGen {

struct SolutionLink {
  int start = 0;
  int target = 0;
  std::vector<int> path;  // the cells between start and target, from the start
};

using LevelSolution = std::vector<SolutionLink>;

// Every level of "<levels>/level_n.dat" and "<levels>/level_l.dat"; nothing when
// either file cannot be read, is not whole, or names a cell off the board.
std::optional<std::vector<LevelSolution>> ReadLevelSolutions(const std::string& levelsFolder, std::string& error);

}  // namespace Lintwick::DemoGen
