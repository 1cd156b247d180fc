// Cost of the level generator's searches: settling whether a late, large
// level has one fill-rule solution, solving it under the game's rule, and
// making one level from its plan (the build makes a hundred).

#include <benchmark/benchmark.h>

#include "game/levelgen/Generator.h"
#include "game/levelgen/Solver.h"

namespace {

using namespace Lintwick::LevelGen;

const GeneratedLevel& LateLevel() {
  static const GeneratedLevel level = GenerateLevel(PlanFor(95), 2024);
  return level;
}

void BM_CountFillSolutions(benchmark::State& state) {
  const Board& board = LateLevel().board;
  for (auto _ : state) benchmark::DoNotOptimize(CountFillSolutions(board, 2).effort);
}
BENCHMARK(BM_CountFillSolutions);

void BM_SolveGameRule(benchmark::State& state) {
  const Board& board = LateLevel().board;
  for (auto _ : state) benchmark::DoNotOptimize(SolveGameRule(board).has_value());
}
BENCHMARK(BM_SolveGameRule);

void BM_GenerateLevel(benchmark::State& state) {
  const LevelPlan plan = PlanFor(static_cast<int>(state.range(0)));
  std::uint64_t seed = 1;
  for (auto _ : state) benchmark::DoNotOptimize(GenerateLevel(plan, seed++).difficulty);
}
BENCHMARK(BM_GenerateLevel)->Arg(15)->Arg(55)->Arg(95)->Unit(benchmark::kMillisecond);

}  // namespace
