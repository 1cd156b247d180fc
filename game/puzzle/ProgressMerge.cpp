// Which solve of a board is kept. A board once solved stays solved and once
// perfect stays perfect; its best points are the most any solve paid. The
// solve kept for watching is the best one: a perfect solve before any other
// (it shows the puzzle of the board), then the one that paid more; an equal
// solve does not displace the one already kept, so what the player watched
// before stays what they watch.

#include <cstdio>
#include <tuple>

#include "game/puzzle/Progress.h"

namespace Lintwick {

namespace {

bool Outranks(const LevelSolve& solve, const LevelProgress& kept) {
  if (!kept.solved) return true;
  const bool keptPerfect = kept.perfect;
  return std::tuple(solve.perfect, solve.points) > std::tuple(keptPerfect, kept.solvePoints);
}

}  // namespace

int Progress::SolvedCount() const {
  int count = 0;
  for (const LevelProgress& level : levels) count += level.solved ? 1 : 0;
  return count;
}

int Progress::PerfectCount() const {
  int count = 0;
  for (const LevelProgress& level : levels) count += level.perfect ? 1 : 0;
  return count;
}

int Progress::PointsSum() const {
  int sum = 0;
  for (const LevelProgress& level : levels) sum += level.bestPoints;
  return sum;
}

bool Progress::Merge(const LevelSolve& solve) {
  if (solve.level < 0 || solve.level >= kProgressLevels) return false;
  LevelProgress& kept = levels[static_cast<std::size_t>(solve.level)];
  const LevelProgress before = kept;
  if (Outranks(solve, kept)) {
    kept.solvePoints = solve.points;
    kept.solve = solve.pieces;
  }
  kept.solved = true;
  kept.perfect = kept.perfect || solve.perfect;
  if (solve.points > kept.bestPoints) kept.bestPoints = solve.points;
  return !(kept == before);
}

std::string ProgressSummary(const Progress& progress) {
  char text[160];
  std::snprintf(text, sizeof text, "solved: %d of %d\nperfect: %d of %d\npoints: %d\n", progress.SolvedCount(),
                kProgressLevels, progress.PerfectCount(), kProgressLevels, progress.PointsSum());
  return text;
}

}  // namespace Lintwick
