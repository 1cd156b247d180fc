// What the player hears, written by the audio library's wave-file output.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "framework/audio/OpenALMusicInterface.h"
#include "framework/audio/OpenALSoundManager.h"
#include "tests/audio-data/OggFiles.h"
#include "tests/support/NullApp.h"
#include "tests/support/TempFolder.h"

namespace {

using Samples = std::vector<float>;

constexpr std::size_t kPattern = 2048;
constexpr float kSilence = 1e-3f;

using AudioTest::DataFile, AudioTest::Peak, AudioTest::RunUntil;

ZingTest::TempFolder* gFolder = nullptr;
Samples Decode(const std::string& path) { return AudioTest::DecodeOgg(path).Channel(0); }

struct Wave {
  int rate = 0;
  Samples left;  // the first channel, -1..1
};

// The 16-bit PCM wave file the output writes (a format chunk, then the
// samples up to the end of the file: it may still be being written).
Wave ReadWave() {
  Wave wave;
  const std::string bytes = AudioTest::ReadWholeFile(gFolder->File("out.wav"));
  auto u16 = [&](std::size_t at) { return unsigned(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8); };
  const std::size_t format = bytes.find("fmt "), data = bytes.find("data", format);
  if (bytes.compare(0, 4, "RIFF") != 0 || data == std::string::npos) return wave;
  wave.rate = static_cast<int>(u16(format + 12) | u16(format + 14) << 16);
  EXPECT_EQ(u16(format + 22), 16u);
  const std::size_t frameBytes = u16(format + 10) * 2u;
  for (std::size_t f = data + 8; frameBytes > 0 && f + frameBytes <= bytes.size(); f += frameBytes)
    wave.left.push_back(static_cast<float>(static_cast<std::int16_t>(u16(f))) / 32768.0f);
  return wave;
}

// Normalised correlation of `a` at `offset` with all of `b` (1: same shape).
double Correlation(const Samples& a, std::size_t offset, const Samples& b) {
  if (offset + b.size() > a.size() || b.empty()) return 0;
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = 0; i < b.size(); ++i) {
    ab += static_cast<double>(a[offset + i]) * b[i];
    aa += static_cast<double>(a[offset + i]) * a[offset + i];
    bb += static_cast<double>(b[i]) * b[i];
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

// Every offset of `signal` where `pattern` appears (correlation >= 0.98, the
// best offset of each match, matches at least `pattern.size()` apart).
std::vector<std::size_t> FindOccurrences(const Samples& signal, const Samples& pattern) {
  std::vector<std::size_t> found;
  const Samples prefix(pattern.begin(),
                       pattern.begin() + static_cast<long>(std::min<std::size_t>(pattern.size(), 128)));
  for (std::size_t at = 0; at + pattern.size() <= signal.size(); ++at) {
    if (Peak(signal, at, at + 64) < kSilence) continue;   // silence cannot match a sounding pattern
    if (Correlation(signal, at, prefix) < 0.9) continue;  // cheap test before the whole pattern
    if (Correlation(signal, at, pattern) < 0.98) continue;
    std::size_t best = at;
    for (std::size_t next = at + 1; next < at + 64 && next + pattern.size() <= signal.size(); ++next)
      if (Correlation(signal, next, pattern) > Correlation(signal, best, pattern)) best = next;
    found.push_back(best);
    at = best + pattern.size();
  }
  return found;
}

template <typename Step>
void RunFor(Step step, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  RunUntil(step, [&] { return std::chrono::steady_clock::now() >= end; });
}

// The first kPattern samples from where the sound begins.
Samples Opening(const Samples& samples) {
  std::size_t start = 0;
  while (start < samples.size() && std::fabs(samples[start]) < kSilence) ++start;
  return {samples.begin() + static_cast<long>(start), samples.begin() + static_cast<long>(start + kPattern)};
}

// Run in the game's data folder, effects load the way the resource manager
// asks for them: a path without extension, found in main.pak.
TEST(WaveOutput, EffectsSoundWhenAskedForAndAreSilentAtVolumeZero) {
  const Samples effectSamples = Decode(DataFile("sounds/shutters_bump.ogg"));
  {
    const ZingTest::InFolder inData(DataFile("."));
    ZingTest::NullApp<> app(new Zing::Platform::NullServices);  // its settings go to this run's folder
    app.Init();
    auto* sounds = dynamic_cast<Zing::OpenALSoundManager*>(app.soundManager.get());
    ASSERT_NE(sounds, nullptr);
    EXPECT_FLOAT_EQ(sounds->Volume(), 0.85f);  // the application's effects volume (its own tests have the rest)
    const int id = sounds->LoadSound("sounds/shutters_bump");
    ASSERT_GE(id, 0);
    for (int none : {-1, 300}) app.PlaySample(none);  // ids out of range play nothing
    app.SetSfxVolume(0);
    Zing::SoundInstance* quiet = sounds->GetSoundInstance(static_cast<unsigned>(id));
    ASSERT_NE(quiet, nullptr);
    quiet->Play(false, false);
    ASSERT_TRUE(RunUntil([] {}, [&] { return !quiet->IsPlaying(); }));
    app.SetSfxVolume(1);
    app.PlaySample(id);
    RunFor([] {}, static_cast<int>(effectSamples.size() * 1000 / AudioTest::kRate) + 200);
  }
  const Wave wave = ReadWave();
  ASSERT_EQ(wave.rate, AudioTest::kRate);
  const std::vector<std::size_t> effects = FindOccurrences(wave.left, Opening(effectSamples));
  ASSERT_EQ(effects.size(), 1u);  // the one at volume 0 was not heard
  EXPECT_LT(Peak(wave.left, 0, effects[0]), kSilence);
}

// A one-second sweep, played looping and then once.
TEST(WaveOutput, ASongLoopsWithoutAGapOrEndsAfterItsLastSample) {
  const std::vector<unsigned char> bytes = AudioTest::EncodeSweep(1, 1.0);
  gFolder->Write("sweep.ogg", std::string(bytes.begin(), bytes.end()));
  const Samples samples = Decode(gFolder->File("sweep.ogg"));
  ASSERT_GT(samples.size(), 40000u);
  const Samples head(samples.begin(), samples.begin() + kPattern), tail(samples.end() - kPattern, samples.end());
  // Looping, the song plays on; once, it stops by itself. Then what was heard.
  const auto play = [&](bool once, int more) {
    {
      Zing::OpenALMusicInterface player;
      EXPECT_TRUE(player.LoadMusic(3, gFolder->File("sweep.ogg")));
      player.PlayMusic(3, 0, once);
      EXPECT_TRUE(!once || RunUntil([&] { player.Update(); }, [&] { return !player.IsPlaying(3); }));
      RunFor([&] { player.Update(); }, more);
      EXPECT_EQ(player.IsPlaying(3), !once);
    }
    return ReadWave();
  };
  Wave wave = play(false, 2600);
  std::vector<std::size_t> starts = FindOccurrences(wave.left, head);
  ASSERT_GE(starts.size(), 2u);
  for (std::size_t i = 1; i < starts.size(); ++i) EXPECT_EQ(starts[i] - starts[i - 1], samples.size());
  // Across the seam: the song's last samples, then at once its first.
  Samples seam = tail;
  seam.insert(seam.end(), head.begin(), head.end());
  EXPECT_GT(Correlation(wave.left, starts[1] - kPattern, seam), 0.98);
  wave = play(true, 300);
  starts = FindOccurrences(wave.left, head);
  ASSERT_EQ(starts.size(), 1u);
  const std::size_t end = starts[0] + samples.size();
  EXPECT_GT(Correlation(wave.left, end - kPattern, tail), 0.98);  // the tail was heard
  EXPECT_LT(Peak(wave.left, end + 64), kSilence);
}

}  // namespace

// The audio library reads its settings once, when it is first used: point it
// at the wave-file output in a folder of this run before any test starts.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ZingTest::TempFolder folder;
  gFolder = &folder;
  folder.Write("alsoft.conf",
               "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
               "output-limiter = false\ndither = false\nhrtf = false\n[wave]\nfile = " +
                   folder.File("out.wav") + "\n");
  setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
  setenv("ALSOFT_CONF", folder.File("alsoft.conf").c_str(), 1);
  setenv("ALSOFT_DRIVERS", "wave", 1);
  return RUN_ALL_TESTS();
}
