// The daily board's cost when the player asks for it: making and certifying
// the board of each of 30 consecutive dates (every weekday four times or
// more), each timed on its own, and the worst of them in the summary line.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

#include "game/levelgen/CalendarDate.h"
#include "game/levelgen/DailyBoard.h"

namespace {

constexpr int kDates = 30;
const Lintwick::CalendarDate kFirstDate{2026, 12, 7};

Lintwick::CalendarDate DateAt(int index) { return Lintwick::DateOfDay(Lintwick::DayNumber(kFirstDate) + index); }

void MakeDailyBoard(benchmark::State& state) {
  const Lintwick::CalendarDate date = DateAt(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Lintwick::LevelGen::MakeDailyBoard(date)->attempt);
}

// Keeps the time per run of every date.
class WorstReporter : public benchmark::ConsoleReporter {
 public:
  // Without colours, so that the summary line stands as it is on any output.
  WorstReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        worstMs = std::max(worstMs, run.real_accumulated_time * 1000.0 / static_cast<double>(run.iterations));
      }
    }
  }
  double worstMs = 0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (int index = 0; index < kDates; ++index) {
    benchmark::RegisterBenchmark(("daily/" + Lintwick::FormatDate(DateAt(index))).c_str(), MakeDailyBoard)
        ->Arg(index)
        ->Unit(benchmark::kMillisecond);
  }
  WorstReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("daily: generate %.0f ms (worst of %d dates)\n", reporter.worstMs, kDates);
  benchmark::Shutdown();
  return 0;
}
