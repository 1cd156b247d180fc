// The level plans, board shapes, candidate levels and their order.

#include "game/levelgen/Generator.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

#include "game/levelgen/PathCover.h"
#include "game/levelgen/Random.h"
#include "game/levelgen/Solver.h"

namespace Lintwick::LevelGen {

namespace {

// How hard a candidate is tried before the next board shape is drawn.
constexpr int kCoverMoves = 4000;
constexpr int kDescentSteps = 300;
// Fill-rule solutions are counted up to this many while descending.
constexpr int kSolutionCap = 32;
// Candidates drawn per level before giving up on finding a fresh one.
constexpr int kLevelTries = 50;

// One stage of the game: from `first` on, until the next stage.
struct Stage {
  int first;
  int width, height;
  int minPairs, maxPairs;
  int minHoles, maxHoles;
  int minPathCells;
  int candidates;
};

// Levels 1-5 teach on a small board; then the board grows, holes appear, and
// the last thirty levels use the whole grid with six or seven pairs.
constexpr Stage kStages[] = {
    {0, 5, 5, 2, 2, 0, 2, 3, 1},      {2, 5, 5, 3, 3, 0, 2, 3, 1},      {5, 6, 6, 3, 4, 1, 4, 3, 1},
    {10, 7, 6, 4, 4, 2, 5, 3, 1},     {20, 7, 7, 4, 5, 3, 6, 4, 2},     {30, 8, 7, 5, 5, 4, 8, 4, 2},
    {40, 8, 8, 5, 6, 5, 10, 4, 2},    {50, 9, 8, 6, 6, 6, 11, 4, 2},    {60, 9, 9, 6, 7, 8, 13, 4, 2},
    {70, 10, 10, 6, 7, 17, 21, 4, 2}, {80, 10, 10, 6, 7, 15, 18, 4, 2}, {90, 10, 10, 7, 7, 13, 16, 4, 2}};

bool EnoughNeighbours(Bits shape) {
  const Bits l = shape >> 1, r = shape << 1, u = shape >> kStride, d = shape << kStride;
  const Bits twoWays = (l & r) | (u & d) | ((l | r) & (u | d));
  return (shape & ~twoWays) == 0;
}

Bits RowBits(int x0, int x1, int y) {
  Bits bits = 0;
  for (int x = x0; x <= x1; ++x) bits |= Bit(CellAt(x, y));
  return bits;
}

Bits ColumnBits(int x, int y0, int y1) {
  Bits bits = 0;
  for (int y = y0; y <= y1; ++y) bits |= Bit(CellAt(x, y));
  return bits;
}

// A level built from a path cover: the paths in random colour order, each
// walked in a random direction.
GeneratedLevel LevelFromCover(Bits shape, Routes paths, Random& random) {
  random.Shuffle(paths);
  GeneratedLevel level;
  level.board.present = shape;
  for (Path& path : paths) {
    if (random.Below(2) == 0) std::reverse(path.begin(), path.end());
    level.board.pairs.push_back({path.back(), path.front()});
    level.routes.push_back(std::move(path));
  }
  return level;
}

// Fill-rule solutions of the board a cover makes, up to the cap; a search
// that runs out of effort counts as the cap. The positions searched are
// added to `spent`.
int FillSolutionsOf(Bits shape, const PathCover& cover, std::int64_t& spent) {
  Board board;
  board.present = shape;
  for (const Path& path : cover.Paths()) board.pairs.push_back({path.back(), path.front()});
  const FillCount count = CountFillSolutions(board, kSolutionCap, kEffortLimit);
  spent += count.effort;
  return count.exhausted ? kSolutionCap : count.solutions;
}

std::uint64_t LevelSeed(std::uint64_t seed, int level, int serial) {
  Random mix(seed ^ (static_cast<std::uint64_t>(level) << 32) ^ static_cast<std::uint64_t>(serial));
  return mix.Next();
}

}  // namespace

LevelPlan PlanFor(int level) {
  const Stage* stage = &kStages[0];
  for (const Stage& s : kStages) {
    if (level >= s.first) stage = &s;
  }
  LevelPlan plan;
  plan.width = stage->width;
  plan.height = stage->height;
  plan.minPairs = stage->minPairs;
  plan.maxPairs = stage->maxPairs;
  plan.minHoles = stage->minHoles;
  plan.maxHoles = stage->maxHoles;
  plan.minPathCells = stage->minPathCells;
  plan.candidates = stage->candidates;
  plan.mustBeUnique = level >= kFirstUniqueLevel;
  plan.stage = static_cast<int>(stage - kStages);
  return plan;
}

Bits MakeShape(Random& random, int width, int height, int holes) {
  const int ox = (kGrid - width) / 2, oy = (kGrid - height) / 2;
  Bits shape = 0;
  for (int y = 0; y < height; ++y) shape |= RowBits(ox, ox + width - 1, oy + y);
  const Bits edges[] = {RowBits(ox, ox + width - 1, oy), RowBits(ox, ox + width - 1, oy + height - 1),
                        ColumnBits(ox, oy, oy + height - 1), ColumnBits(ox + width - 1, oy, oy + height - 1)};

  // Holes come alone, in mirrored pairs or turned half round, which gives the
  // boards a designed look.
  const int symmetry = random.Below(4);
  int removed = 0;
  for (int attempt = 0; attempt < 200 && removed < holes; ++attempt) {
    const int x = random.Below(width), y = random.Below(height);
    Bits cut = Bit(CellAt(ox + x, oy + y));
    if (symmetry == 1) cut |= Bit(CellAt(ox + width - 1 - x, oy + height - 1 - y));
    if (symmetry == 2) cut |= Bit(CellAt(ox + width - 1 - x, oy + y));
    if (symmetry == 3) cut |= Bit(CellAt(ox + x, oy + height - 1 - y));
    cut &= shape;
    if (cut == 0 || removed + Count(cut) > holes + 1) continue;
    const Bits trial = shape & ~cut;
    bool spans = true;
    for (Bits edge : edges) spans = spans && (trial & edge) != 0;
    if (!spans || !EnoughNeighbours(trial) || Flood(Bit(Lowest(trial)), trial) != trial) continue;
    shape = trial;
    removed += Count(cut);
  }
  return shape;
}

GeneratedLevel GenerateLevel(const LevelPlan& plan, std::uint64_t seed) {
  Random random(seed);
  GeneratedLevel fallback;
  std::int64_t spent = 0;
  auto overBudget = [&] { return plan.effortBudget > 0 && spent > plan.effortBudget; };
  for (int shapeTry = 0; shapeTry < plan.shapeTries && !overBudget(); ++shapeTry) {
    const bool turn = plan.width != plan.height && random.Below(2) == 0;
    const int width = turn ? plan.height : plan.width, height = turn ? plan.width : plan.height;
    const int holes = random.Between(plan.minHoles, plan.maxHoles);
    const int pairs = random.Between(plan.minPairs, plan.maxPairs);
    const Bits shape = MakeShape(random, width, height, holes);
    PathCover cover(shape, random);
    if (!cover.Reach(pairs, plan.minPathCells, kCoverMoves)) continue;

    // Descend on the number of ways to fill the board: reshape the cover a
    // little at a time and keep every change that does not add solutions.
    int solutions = FillSolutionsOf(shape, cover, spent);
    for (int step = 0; step < kDescentSteps && solutions > 1 && !overBudget(); ++step) {
      PathCover trial = cover;
      if (!trial.Shake(1 + random.Below(2), pairs, plan.minPathCells, kCoverMoves)) continue;
      const int trialSolutions = FillSolutionsOf(shape, trial, spent);
      if (trialSolutions > 0 && trialSolutions <= solutions) {
        cover = trial;
        solutions = trialSolutions;
      }
    }
    if (solutions == 0 || (solutions > 1 && (plan.mustBeUnique || fallback.fillSolutions != 0))) continue;

    GeneratedLevel level = LevelFromCover(shape, cover.Paths(), random);
    const FillCount count = CountFillSolutions(level.board, 2, kEffortLimit);
    if (count.exhausted || count.solutions == 0) continue;
    level.fillSolutions = count.solutions;
    level.difficulty = count.effort;
    if (count.solutions == 1) return level;
    fallback = std::move(level);
  }
  return fallback;
}

std::vector<GeneratedLevel> GenerateLevels(std::uint64_t seed) {
  std::vector<GeneratedLevel> levels;
  std::set<std::string> keys;
  std::int64_t previousMedian = 0;
  int serial = 0;

  auto fresh = [&](int level) {
    // The hardest of a few fresh candidates.
    const LevelPlan plan = PlanFor(level);
    GeneratedLevel best;
    std::string bestKey;
    for (int tries = 0, found = 0; tries < kLevelTries && found < plan.candidates; ++tries) {
      GeneratedLevel candidate = GenerateLevel(plan, LevelSeed(seed, level, serial++));
      std::string key = CanonicalKey(candidate.board);
      if (candidate.fillSolutions == 0 || keys.count(key)) continue;
      ++found;
      if (best.fillSolutions == 0 || candidate.difficulty > best.difficulty) {
        best = std::move(candidate);
        bestKey = std::move(key);
      }
    }
    if (best.fillSolutions == 0) throw std::runtime_error("no board found for level " + std::to_string(level + 1));
    keys.insert(bestKey);
    best.stage = plan.stage;
    return best;
  };

  for (int first = 0; first < kLevelCount; first += kBlockSize) {
    std::vector<GeneratedLevel> block;
    for (int level = first; level < first + kBlockSize; ++level) block.push_back(fresh(level));
    // A block easier than the one before gets more candidates and keeps its
    // hardest ten.
    for (int extra = 0; TwiceMedianDifficulty(block, 0, block.size()) < previousMedian && extra < 40; ++extra) {
      block.push_back(fresh(first + extra % kBlockSize));
      std::stable_sort(block.begin(), block.end(),
                       [](const auto& a, const auto& b) { return a.difficulty > b.difficulty; });
      block.resize(kBlockSize);
    }
    // Easiest first within every stage of the plan, so that the teaching
    // levels stay in front of the larger boards.
    std::stable_sort(block.begin(), block.end(), [](const auto& a, const auto& b) {
      return a.stage != b.stage ? a.stage < b.stage : a.difficulty < b.difficulty;
    });
    previousMedian = TwiceMedianDifficulty(block, 0, block.size());
    for (auto& level : block) levels.push_back(std::move(level));
  }
  return levels;
}

std::int64_t TwiceMedianDifficulty(const std::vector<GeneratedLevel>& levels, std::size_t first, std::size_t count) {
  std::vector<std::int64_t> values;
  for (std::size_t i = first; i < std::min(levels.size(), first + count); ++i) values.push_back(levels[i].difficulty);
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? 2 * values[mid] : values[mid - 1] + values[mid];
}

std::string CanonicalKey(const Board& board) {
  std::string best;
  for (int t = 0; t < 8; ++t) {
    auto place = [t](int cell) {
      int x = CellX(cell), y = CellY(cell);
      if (t & 1) x = kGrid - 1 - x;
      if (t & 2) y = kGrid - 1 - y;
      if (t & 4) std::swap(x, y);
      return std::pair{x, y};
    };
    int minX = kGrid, minY = kGrid;
    for (int cell = 0; cell < kBitCells; ++cell) {
      if (!Has(board.present, cell)) continue;
      const auto [x, y] = place(cell);
      minX = std::min(minX, x);
      minY = std::min(minY, y);
    }
    std::string grid(kGrid * kGrid, '.');
    std::vector<int> pairOf(kBitCells, -1);
    for (std::size_t p = 0; p < board.pairs.size(); ++p) {
      for (int node : board.pairs[p]) pairOf[static_cast<std::size_t>(node)] = static_cast<int>(p);
    }
    std::vector<char> label(board.pairs.size(), 0);
    char nextLabel = 'a';
    std::vector<std::pair<int, int>> cells;
    for (int cell = 0; cell < kBitCells; ++cell) {
      if (!Has(board.present, cell)) continue;
      const auto [x, y] = place(cell);
      cells.emplace_back((y - minY) * kGrid + (x - minX), cell);
    }
    std::sort(cells.begin(), cells.end());
    for (const auto& [index, cell] : cells) {
      const int p = pairOf[static_cast<std::size_t>(cell)];
      char mark = '#';
      if (p >= 0) {
        char& l = label[static_cast<std::size_t>(p)];
        if (l == 0) l = nextLabel++;
        mark = l;
      }
      grid[static_cast<std::size_t>(index)] = mark;
    }
    if (best.empty() || grid < best) best = grid;
  }
  return best;
}

}  // namespace Lintwick::LevelGen
