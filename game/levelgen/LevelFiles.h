#pragma once

// The three level files the game reads (boards, nodes, solutions: one
// fixed-size record per level) and the report written beside them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/levelgen/Generator.h"

namespace Lintwick::LevelGen {

struct LevelFileSet {
  std::string boards;     // 32 bytes per level
  std::string nodes;      // 16 bytes per level
  std::string solutions;  // 100 bytes per level
};

// Throws std::invalid_argument for a level without pairs or with more than seven, or
// whose stored paths do not solve it (a valid level always fits its records).
LevelFileSet EncodeLevels(const std::vector<GeneratedLevel>& levels);

// One level back from its three records (exactly one record each): the
// board, the pairs and the stored paths with their nodes. Nothing when a
// record has the wrong size, names a cell off the grid or holds an odd or
// too large node count.
std::optional<GeneratedLevel> DecodeLevel(std::string_view boards, std::string_view nodes, std::string_view solutions);

// Per level: board size, present cells, pairs, how much of the board the
// stored solution covers, whether that solution is the only one filling the
// board, and the difficulty figure; then the median difficulty of every block
// of ten levels.
std::string Report(const std::vector<GeneratedLevel>& levels);

}  // namespace Lintwick::LevelGen
