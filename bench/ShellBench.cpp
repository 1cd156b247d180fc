// The game's start-up and idle cost, on the window-less platform with a real
// clock and the generated data: the time from a new application to the
// splash's start link being enabled, against the bare decode of every picture
// of the three loading groups; and the processor time the main loop uses
// while the start screen stands still. Prints the summary lines
//   startup: start link A, bare decode B, ratio R
//   idle: start screen P% of one core

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "framework/graphics/ImageLib.h"
#include "framework/platform/Folders.h"
#include "framework/platform/NullPlatform.h"
#include "framework/resource/ResourceManager.h"
#include "game/shell/AppManager.h"
#include "game/shell/ResourceGroups.h"
#include "game/shell/Splash.h"

namespace {

using Clock = std::chrono::steady_clock;

// The null platform on the machine's own clock: sleeping really sleeps.
class RealTimeServices : public Zing::Platform::NullServices {
 public:
  std::uint32_t Now() override {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count());
  }
  void Sleep(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
};

class BenchApp : public Lintwick::AppManager {
 public:
  BenchApp() : AppManager(std::make_unique<RealTimeServices>()) {}
  void ExitProcess(int code) override {
    std::fprintf(stderr, "the game ended at start-up (code %d): is the data built?\n", code);
    std::exit(1);
  }
};

std::string gHome;

void PrepareFolders() {
  const char* data = std::getenv("LINTWICK_DATA_DIR");
  Zing::Platform::ChangeWorkingFolder(data != nullptr ? data : LINTWICK_DATA_DIR_DEFAULT);
  gHome = std::string(std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp") + "/lintwick-shell-bench";
  setenv("XDG_CONFIG_HOME", gHome.c_str(), 1);
  setenv("XDG_DATA_HOME", gHome.c_str(), 1);
}

// A new application up to its start link, the loading thread's work done on
// this thread as the program's loading thread does it.
std::unique_ptr<BenchApp> StartToLink() {
  auto app = std::make_unique<BenchApp>();
  app->Init();
  app->running = true;
  app->loadingThreadStarted = true;
  app->LoadingThreadProc();
  app->loadingThreadCompleted = true;
  while (app->mSplash != nullptr && !app->mSplash->IsStartLinkEnabled()) app->UpdateApp();
  return app;
}

void BM_StartLink(benchmark::State& state) {
  for (auto _ : state) {
    auto app = StartToLink();
    benchmark::DoNotOptimize(app.get());
    state.PauseTiming();
    app.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartLink)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The picture files of the three groups, as the manifest names them.
std::vector<std::string> GroupPictures() {
  auto app = std::make_unique<BenchApp>();
  app->Init();
  std::vector<std::string> paths;
  for (auto group : {Lintwick::InitGroup(), Lintwick::SplashGroup(), Lintwick::GameGroup()}) {
    for (const Lintwick::ResourceEntry& entry : group) {
      if (entry.image == nullptr) continue;
      if (const Zing::ImageRes* res = app->resourceManager->GetImageRes(entry.name)) paths.push_back(res->path);
    }
  }
  return paths;
}

void BM_BareDecode(benchmark::State& state) {
  const std::vector<std::string> paths = GroupPictures();
  for (auto _ : state) {
    for (const std::string& path : paths) benchmark::DoNotOptimize(Zing::ImageLib::GetImage(path, true));
  }
  state.counters["pictures"] = static_cast<double>(paths.size());
}
BENCHMARK(BM_BareDecode)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The start screen shown and nothing moving: the main loop's processor time
// over wall time while it runs on the real clock.
void BM_IdleStartScreen(benchmark::State& state) {
  auto app = StartToLink();
  app->mSplash->ButtonDepress(0);  // the start link: the menus and the start screen
  app->UpdateApp();
  double share = 0;
  for (auto _ : state) {
    const std::clock_t cpuStart = std::clock();
    const Clock::time_point wallStart = Clock::now();
    while (Clock::now() - wallStart < std::chrono::seconds(3)) app->UpdateApp();
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    share = (static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC) / wall;
  }
  state.counters["core_share"] = share;
}
BENCHMARK(BM_IdleStartScreen)->Unit(benchmark::kMillisecond)->Iterations(1);

// Plain console output, so that the summary lines start at their first letter.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  SummaryReporter() : ConsoleReporter(OO_Tabular) {}
  std::map<std::string, Run> runs;
  void ReportRuns(const std::vector<Run>& reports) override {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) runs[run.run_name.function_name] = run;
  }
  // Processor time in milliseconds (the benchmarks report milliseconds): other
  // work on the machine does not inflate it.
  static double Ms(const Run& run) { return run.GetAdjustedCPUTime(); }
};

}  // namespace

int main(int argc, char** argv) {
  PrepareFolders();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto start = reporter.runs.find("BM_StartLink");
  const auto decode = reporter.runs.find("BM_BareDecode");
  const auto idle = reporter.runs.find("BM_IdleStartScreen");
  if (start != reporter.runs.end() && decode != reporter.runs.end()) {
    const double a = SummaryReporter::Ms(start->second);
    const double b = SummaryReporter::Ms(decode->second);
    std::printf("startup: start link %.1f, bare decode %.1f, ratio %.2f\n", a, b, a / b);
  }
  if (idle != reporter.runs.end()) {
    std::printf("idle: start screen %.2f%% of one core\n", 100.0 * idle->second.counters.at("core_share").value);
  }
  return 0;
}
