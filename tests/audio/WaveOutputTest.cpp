// What the player hears, written by the audio library's wave-file output:
// effects and music sound when asked for, effects at volume 0 are silent, a
// looping song goes on sample for sample from its start, and a song played
// once stops after its last sample.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "framework/app/ZingAppBase.h"
#include "framework/audio/OpenALMusicInterface.h"
#include "framework/audio/OpenALSoundManager.h"
#include "framework/platform/NullPlatform.h"
#include "tests/audio-data/OggDecode.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using AudioTest::FindOccurrences;

constexpr std::size_t kPattern = 2048;
constexpr float kSilence = 1e-3f;

ZingTest::TempFolder* gFolder = nullptr;
std::string WaveFile() { return gFolder->File("out.wav"); }
std::string DataFile(const std::string& name) { return std::string(LINTWICK_BUILD_DATA_DIR) + "/" + name; }

// Calls `step` every 10 ms (the application's pace) until `done` or 10 s.
template <typename Step, typename Done>
bool RunUntil(Step step, Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

template <typename Step>
void RunFor(Step step, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  RunUntil(step, [&] { return std::chrono::steady_clock::now() >= end; });
}

// The first kPattern samples from where the sound begins.
std::vector<float> Opening(const std::vector<float>& samples) {
  std::size_t start = 0;
  while (start < samples.size() && std::fabs(samples[start]) < kSilence) ++start;
  return {samples.begin() + static_cast<long>(start), samples.begin() + static_cast<long>(start + kPattern)};
}

class SoundApp : public Zing::ZingAppBase {
 public:
  SoundApp() : ZingAppBase(std::make_unique<Zing::Platform::NullServices>()) {
    registryKey = "ZingTest\\Wave";
    autoStartLoadingThread = false;
  }
};

TEST(WaveOutput, EffectAndMusicSoundWhenAskedForAndEffectsAtVolumeZeroAreSilent) {
  const std::string effect = DataFile("sounds/shutters_bump");
  const std::vector<float> effectSamples = AudioTest::DecodeFirstChannel(AudioTest::ReadWholeFile(effect + ".ogg"));
  const std::vector<float> music = AudioTest::DecodeFirstChannel(AudioTest::ReadWholeFile(DataFile("music/game.ogg")));
  {
    SoundApp app;
    app.Init();
    auto& sounds = *app.soundManager;
    const int id = sounds.LoadSound(effect);
    ASSERT_GE(id, 0);
    app.SetSfxVolume(0);
    Zing::SoundInstance* quiet = sounds.GetSoundInstance(static_cast<unsigned>(id));
    ASSERT_NE(quiet, nullptr);
    quiet->Play(false, false);
    ASSERT_TRUE(RunUntil([] {}, [&] { return !quiet->IsPlaying(); }));

    app.SetSfxVolume(1);
    app.PlaySample(id);
    RunFor([] {}, static_cast<int>(effectSamples.size() * 1000 / AudioTest::kRate) + 200);
    ASSERT_TRUE(app.musicInterface->LoadMusic(0, DataFile("music/game.ogg")));
    app.musicInterface->PlayMusic(0);
    RunFor([&] { app.UpdateFrames(); }, 800);
  }
  const AudioTest::Wave wave = AudioTest::ReadWave(WaveFile());
  ASSERT_EQ(wave.rate, AudioTest::kRate);
  const std::vector<std::size_t> effects = FindOccurrences(wave.left, Opening(effectSamples));
  ASSERT_EQ(effects.size(), 1u);  // the one at volume 0 was not heard
  EXPECT_LT(AudioTest::Peak(wave.left, 0, effects[0]), kSilence);
  const std::vector<std::size_t> songs = FindOccurrences(wave.left, Opening(music));
  ASSERT_EQ(songs.size(), 1u);
  EXPECT_GT(songs[0], effects[0]);
}

// A one-second sweep played looping, then once.
struct ShortSong : ::testing::Test {
  std::vector<float> samples;
  std::string path;

  void SetUp() override {
    const std::vector<unsigned char> bytes = AudioTest::EncodeSweep(1, 1.0);
    gFolder->Write("sweep.ogg", std::string(bytes.begin(), bytes.end()));
    path = gFolder->File("sweep.ogg");
    samples = AudioTest::DecodeFirstChannel(gFolder->Read("sweep.ogg"));
    ASSERT_GT(samples.size(), 40000u);
  }
  std::vector<float> Head() const { return {samples.begin(), samples.begin() + kPattern}; }
  std::vector<float> Tail() const { return {samples.end() - kPattern, samples.end()}; }
};

TEST_F(ShortSong, LoopingRestartsSampleForSampleWithoutAGap) {
  {
    Zing::OpenALMusicInterface player;
    ASSERT_TRUE(player.LoadMusic(3, path));
    player.PlayMusic(3);
    RunFor([&] { player.Update(); }, 2600);
    EXPECT_TRUE(player.IsPlaying(3));
  }
  const AudioTest::Wave wave = AudioTest::ReadWave(WaveFile());
  const std::vector<std::size_t> starts = FindOccurrences(wave.left, Head());
  ASSERT_GE(starts.size(), 2u);
  for (std::size_t i = 1; i < starts.size(); ++i) EXPECT_EQ(starts[i] - starts[i - 1], samples.size());
  // Across the seam: the song's last samples, then at once its first.
  std::vector<float> seam = Tail();
  seam.insert(seam.end(), samples.begin(), samples.begin() + kPattern);
  EXPECT_GT(AudioTest::Correlation(wave.left, starts[1] - kPattern, seam), 0.98);
}

TEST_F(ShortSong, PlayedOnceItEndsAfterItsLastSample) {
  {
    Zing::OpenALMusicInterface player;
    ASSERT_TRUE(player.LoadMusic(3, path));
    player.PlayMusic(3, 0, true);
    ASSERT_TRUE(RunUntil([&] { player.Update(); }, [&] { return !player.IsPlaying(3); }));
    RunFor([&] { player.Update(); }, 300);
  }
  const AudioTest::Wave wave = AudioTest::ReadWave(WaveFile());
  const std::vector<std::size_t> starts = FindOccurrences(wave.left, Head());
  ASSERT_EQ(starts.size(), 1u);
  const std::size_t end = starts[0] + samples.size();
  EXPECT_GT(AudioTest::Correlation(wave.left, end - kPattern, Tail()), 0.98);  // the tail was heard
  EXPECT_LT(AudioTest::Peak(wave.left, end + 64, wave.left.size()), kSilence);
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
