// Cost of synthesising the game's sounds at build time: every effect, the
// music's rendering and its encoding (the generator runs in every build,
// including the sanitizer build).

#include <benchmark/benchmark.h>

#include "tools/soundgen/Music.h"
#include "tools/soundgen/OggWriter.h"
#include "tools/soundgen/SoundCatalog.h"

namespace {

void BM_BuildEveryEffect(benchmark::State& state) {
  for (auto _ : state) {
    for (const SoundGen::SoundFile& file : SoundGen::SoundFiles()) {
      if (file.path.rfind("sounds/", 0) == 0) benchmark::DoNotOptimize(SoundGen::BuildSoundFile(file));
    }
  }
}
BENCHMARK(BM_BuildEveryEffect)->Unit(benchmark::kMillisecond);

void BM_RenderMusic(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SoundGen::RenderMusic());
}
BENCHMARK(BM_RenderMusic)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_EncodeMusic(benchmark::State& state) {
  const SoundGen::Pcm music = SoundGen::RenderMusic();
  SoundGen::OggOptions options;
  options.quality = SoundGen::SoundFiles().back().quality;
  for (auto _ : state) benchmark::DoNotOptimize(SoundGen::EncodeOggVorbis(music, options));
}
BENCHMARK(BM_EncodeMusic)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
