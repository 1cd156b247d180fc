// The worst play-screen frame (WorstFrameScene.h), measured against one
// memcpy of a 640 x 480 frame of 32-bit pixels, taken in the same run:
//   frame: worst game-screen frame A = M memcpy-frames

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/WorstFrameScene.h"

namespace {

using WorstFrameScene::kScreenH;
using WorstFrameScene::kScreenW;
using WorstFrameScene::WorstScreen;

void WorstFrame(benchmark::State& state) {
  WorstScreen worst;
  for (auto _ : state) {
    worst.DrawFrame();
    benchmark::ClobberMemory();
  }
  int stars = 0;
  for (const auto& star : worst.screen.mStars) stars += star && !star->emitter;
  state.counters["visible_stars"] = stars;
}

void MemcpyFrame(benchmark::State& state) {
  std::vector<std::uint32_t> from(kScreenW * kScreenH, 0x12345678u);
  std::vector<std::uint32_t> to(kScreenW * kScreenH);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size() * sizeof(std::uint32_t));
    benchmark::ClobberMemory();
  }
}

// Prints as usual and keeps each benchmark's time per iteration in ms.
class MillisecondReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        ms[run.run_name.function_name] = run.real_accumulated_time * 1000.0 / static_cast<double>(run.iterations);
      }
    }
  }
  std::map<std::string, double> ms;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("game_screen/worst_frame", WorstFrame)->MinTime(0.5);
  benchmark::RegisterBenchmark("memcpy/640x480x4", MemcpyFrame)->MinTime(0.5);
  MillisecondReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double frame = reporter.ms["game_screen/worst_frame"];
  const double copy = reporter.ms["memcpy/640x480x4"];
  if (frame > 0 && copy > 0) {
    std::printf("frame: worst game-screen frame %.3f = %.1f memcpy-frames\n", frame, frame / copy);
  }
  benchmark::Shutdown();
  return 0;
}
