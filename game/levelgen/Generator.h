#pragma once

// Making the game's 100 levels: a plan per level (board size, holes, pairs),
// boards and path covers drawn at random from a fixed seed, kept only when
// they make a good puzzle, and ordered so that the game gets harder.

#include <cstdint>
#include <string>
#include <vector>

#include "game/levelgen/Board.h"

namespace Lintwick::LevelGen {

inline constexpr int kLevelCount = 100;
inline constexpr int kBlockSize = 10;
inline constexpr std::uint64_t kGameSeed = 0x4C696E747769636Bull;

// From this level index on, a level's stored solution fills the board and is
// the only way to do so.
inline constexpr int kFirstUniqueLevel = 10;

struct LevelPlan {
  int stage = 0;  // levels of one stage share the plan
  int width = 5;
  int height = 5;
  int minPairs = 2;
  int maxPairs = 3;
  int minHoles = 0;
  int maxHoles = 0;
  int minPathCells = 3;  // nodes included
  bool mustBeUnique = false;
  int candidates = 1;    // unique candidates drawn; the hardest is kept
  int shapeTries = 400;  // board shapes tried before the level gives up
  // Search positions the level may spend on counting solutions before it
  // gives up (0: no limit). Positions, not time, so that the same seed
  // gives the same level on every machine however fast.
  std::int64_t effortBudget = 0;
};

LevelPlan PlanFor(int level);

// Present cells of a width x height rectangle centred on the grid, with about
// `holes` cells taken out, keeping the board in one piece, the rectangle's full
// extent and at least two neighbours for every cell.
class Random;
Bits MakeShape(Random& random, int width, int height, int holes);

struct GeneratedLevel {
  Board board;
  Routes routes;                // the stored solution, one path per pair
  int fillSolutions = 0;        // solutions filling the board, counted up to 2
  std::int64_t difficulty = 0;  // search positions needed to settle that count
  int stage = 0;                // the plan's stage
};

// The one level a plan and a seed give, or a level with fillSolutions == 0
// when none of the tries worked.
GeneratedLevel GenerateLevel(const LevelPlan& plan, std::uint64_t seed);

// All 100 levels, in playing order. Throws std::runtime_error when some level
// finds no board that fits its plan.
std::vector<GeneratedLevel> GenerateLevels(std::uint64_t seed = kGameSeed);

// Twice the median difficulty of `count` levels from `first` on (twice, so
// that the median of an even count stays a whole number).
std::int64_t TwiceMedianDifficulty(const std::vector<GeneratedLevel>& levels, std::size_t first, std::size_t count);

// A text naming a board and its node layout the same way under every rotation,
// mirror image and shift; two levels with equal keys are the same puzzle.
std::string CanonicalKey(const Board& board);

// Search effort that decides whether a candidate is a unique puzzle; one that
// needs more is dropped.
inline constexpr std::int64_t kEffortLimit = 400'000;

}  // namespace Lintwick::LevelGen
