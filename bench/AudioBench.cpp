// Loading the eleven effects through the sound manager against bare
// vorbisfile decoding of the same files, and the music's decoding cost per
// second of music while it streams.

#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "framework/audio/OggSongStream.h"
#include "framework/audio/OpenALMusicInterface.h"
#include "framework/audio/OpenALSoundManager.h"

namespace {

const char* const kEffects[] = {"gui_click",  "cube_click", "cube_tap",      "cube_bump",     "cube_drop",    "vortex",
                                "star_small", "star_big",   "shutters_move", "shutters_bump", "shutters_blur"};

std::string DataFile(const std::string& name) { return std::string(LINTWICK_BUILD_DATA_DIR) + "/" + name; }

void EffectsThroughTheManager(benchmark::State& state) {
  Zing::OpenALSoundManager manager;
  for (auto _ : state) {
    unsigned int id = 0;
    for (const char* name : kEffects)
      if (!manager.LoadSound(id++, DataFile(std::string("sounds/") + name))) state.SkipWithError("load failed");
    manager.ReleaseSounds();
  }
}

void EffectsBareVorbisfile(benchmark::State& state) {
  for (auto _ : state) {
    for (const char* name : kEffects) {
      OggVorbis_File file;
      if (ov_fopen(DataFile(std::string("sounds/") + name + ".ogg").c_str(), &file) != 0) {
        state.SkipWithError("open failed");
        continue;
      }
      const vorbis_info* info = ov_info(&file, -1);
      std::vector<char> block(static_cast<std::size_t>(ov_pcm_total(&file, -1) * info->channels * 2));
      std::size_t filled = 0;
      int section = 0;
      long got = 0;
      while (filled < block.size() && (got = ov_read(&file, block.data() + filled,
                                                     static_cast<int>(block.size() - filled), 0, 2, 1, &section)) > 0)
        filled += static_cast<std::size_t>(got);
      benchmark::DoNotOptimize(block.data());
      ov_clear(&file);
    }
  }
}

// Decodes the whole song buffer by buffer as streaming does; the counter is
// the seconds of music decoded.
void MusicStreaming(benchmark::State& state) {
  std::vector<char> bytes;
  if (!Zing::ReadWholeFile(DataFile("music/game.ogg"), std::size_t{1} << 27, bytes)) {
    state.SkipWithError("no music");
    return;
  }
  Zing::OggSongStream song;
  if (!song.Open(bytes)) return state.SkipWithError("damaged music");
  std::vector<char> buffer(Zing::OpenALMusicInterface::kBufferBytes);
  double seconds = 0;
  for (auto _ : state) {
    song.Rewind();
    std::size_t total = 0;
    for (std::size_t got; (got = song.Fill(buffer.data(), buffer.size())) > 0;) total += got;
    seconds += static_cast<double>(total) / (2.0 * song.Channels() * static_cast<double>(song.Rate()));
  }
  state.counters["music_seconds"] = seconds;
}

// Prints as usual and keeps each benchmark's best processor time per
// iteration (ms; the machine is shared, so wall time would measure the others)
// and the music's decoded seconds for the summary line.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  // Without colour codes, so that the summary line stands alone.
  SummaryReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const double iterations = static_cast<double>(run.iterations);
      if (run.run_type != Run::RT_Iteration || iterations <= 0) continue;
      // The fastest repetition: the one the least disturbed by other work.
      const std::string name = run.benchmark_name().substr(0, run.benchmark_name().find('/'));
      const double ms = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
      const auto known = milliseconds.find(name);
      if (known == milliseconds.end() || ms < known->second) milliseconds[name] = ms;
      const auto it = run.counters.find("music_seconds");
      if (it != run.counters.end()) musicSeconds = it->second.value / iterations;
    }
  }

  void PrintSummary() const {
    const double effects = Get("EffectsThroughTheManager");
    const double bare = Get("EffectsBareVorbisfile");
    const double music = Get("MusicStreaming");
    const double share = musicSeconds > 0 ? music / 1e3 / musicSeconds * 100.0 : 0.0;
    std::printf("audio: effects %.2f ms, bare vorbisfile %.2f ms, ratio %.2f; music %.3f%% of one core\n", effects,
                bare, bare > 0 ? effects / bare : 0.0, share);
  }

 private:
  double Get(const std::string& name) const {
    const auto it = milliseconds.find(name);
    return it == milliseconds.end() ? 0.0 : it->second;
  }
  std::map<std::string, double> milliseconds;
  double musicSeconds = 0;
};

}  // namespace

BENCHMARK(EffectsThroughTheManager)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(EffectsBareVorbisfile)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(MusicStreaming)->Unit(benchmark::kMillisecond)->Repetitions(3);

int main(int argc, char** argv) {
  // Real buffers in the audio library, nothing heard.
  setenv("ALSOFT_DRIVERS", "null", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
