// The generated sound files, measured as the game will play them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "OggFiles.h"
#include "tools/soundgen/OggWriter.h"
#include "tools/soundgen/SoundCatalog.h"

namespace {

using AudioTest::DataFile, AudioTest::Decoded, AudioTest::Peak;

Decoded DecodeDataFile(const std::string& path) { return AudioTest::DecodeOgg(DataFile(path)); }

double ToDb(double level) { return 20.0 * std::log10(std::max(level, 1e-9)); }

double Mean(const std::vector<float>& x) { return std::accumulate(x.begin(), x.end(), 0.0) / double(x.size()); }

double Rms(const std::vector<float>& x, std::size_t first, std::size_t count) {
  double sum = 0;
  const std::size_t last = std::min(x.size(), first + count);
  for (std::size_t i = first; i < last; ++i) sum += static_cast<double>(x[i]) * x[i];
  return last > first ? std::sqrt(sum / static_cast<double>(last - first)) : 0;
}

// The loudest stretch of `window` samples (stepping by a quarter window): how
// loud the sound is while it sounds, however short it is.
double LoudestWindowRms(const std::vector<float>& x, std::size_t window) {
  double loudest = 0;
  for (std::size_t first = 0; first < x.size(); first += window / 4) loudest = std::max(loudest, Rms(x, first, window));
  return loudest;
}

// The given fraction (0..1) of the sample-to-sample steps is at most this large.
double StepPercentile(const std::vector<float>& x, double fraction) {
  std::vector<float> steps;
  for (std::size_t i = 1; i < x.size(); ++i) steps.push_back(std::fabs(x[i] - x[i - 1]));
  const auto nth = steps.begin() + static_cast<std::ptrdiff_t>(fraction * static_cast<double>(steps.size() - 1));
  std::nth_element(steps.begin(), nth, steps.end());
  return *nth;
}

// Every effect the play field and the menus start (SOUND_CUBE_TAP plays sounds/cube_tap.ogg), with
// the length each may have: a tap repeats every twentieth of a second while the cube runs, the
// shutter sounds span the second between two steps of the level change.
struct ExpectedEffect {
  const char* name;
  double minSeconds, maxSeconds;
};

constexpr ExpectedEffect kEffects[] = {
    {"gui_click", 0.03, 0.15},   {"cube_click", 0.08, 0.4},    {"cube_tap", 0.04, 0.2},     {"cube_bump", 0.4, 1.5},
    {"cube_drop", 0.1, 0.5},     {"vortex", 0.4, 1.0},         {"star_small", 0.1, 0.5},    {"star_big", 0.15, 0.6},
    {"shutters_move", 0.7, 1.1}, {"shutters_bump", 0.15, 0.6}, {"shutters_blur", 0.7, 1.3},
};

std::string EffectPath(const ExpectedEffect& effect) { return "sounds/" + std::string(effect.name) + ".ogg"; }

constexpr const char* kMusicPath = "music/game.ogg";

// Samples in a number of milliseconds at the files' rate.
std::size_t Millis(double ms) { return static_cast<std::size_t>(ms * AudioTest::kRate / 1000.0); }

// Mono at the game rate with a length fit for its use; peaks below -1 dBFS without being faint; no
// DC offset; the very first and last samples are silence, the sound rises within a few milliseconds
// instead of jumping and has died away at its end.
TEST(EffectFiles, FormatLengthLevelAndQuietEdges) {
  for (const ExpectedEffect& effect : kEffects) {
    SCOPED_TRACE(effect.name);
    const Decoded sound = DecodeDataFile(EffectPath(effect));
    ASSERT_TRUE(sound.ok);
    EXPECT_EQ(std::pair(sound.channels, sound.rate), std::pair(1, long{AudioTest::kRate}));
    EXPECT_TRUE(effect.minSeconds <= sound.Seconds() && sound.Seconds() <= effect.maxSeconds) << sound.Seconds();
    const double peak = Peak(sound.samples);
    EXPECT_TRUE(ToDb(peak) <= -1.0 && ToDb(peak) >= -20.0) << ToDb(peak);
    EXPECT_LE(std::abs(Mean(sound.samples)), 0.001);
    const std::size_t size = sound.samples.size();
    EXPECT_LE(std::max(Peak(sound.samples, 0, 4), Peak(sound.samples, size - 4)), 0.004);
    EXPECT_LE(Peak(sound.samples, 0, Millis(0.5)), 0.1 * peak);
    EXPECT_LE(Peak(sound.samples, size - Millis(2)), 0.05 * peak);
  }
}

// A stereo loop of one to two minutes at the game rate, with headroom and no DC offset. When the
// player restarts it, its last sample is followed by its first: that step is no larger than the
// ordinary motion of the signal, and the level carries on across the join. It plays under the whole
// game: at its loudest clearly below how loud a typical effect is while it sounds.
TEST(MusicFile, FormatHeadroomSeamlessLoopAndLevelBelowTheEffects) {
  std::vector<double> effectLevels;
  for (const ExpectedEffect& effect : kEffects)
    effectLevels.push_back(ToDb(LoudestWindowRms(DecodeDataFile(EffectPath(effect)).samples, Millis(50))));
  std::sort(effectLevels.begin(), effectLevels.end());
  const double typicalEffect = effectLevels[effectLevels.size() / 2];
  const Decoded music = DecodeDataFile(kMusicPath);
  ASSERT_TRUE(music.ok);
  EXPECT_EQ(std::pair(music.channels, music.rate), std::pair(2, long{AudioTest::kRate}));
  EXPECT_TRUE(music.Seconds() >= 60.0 && music.Seconds() <= 120.0) << music.Seconds();
  for (int c = 0; c < music.channels; ++c) {
    SCOPED_TRACE("channel " + std::to_string(c));
    const std::vector<float> x = music.Channel(c);
    EXPECT_LE(ToDb(Peak(x)), -6.0);
    EXPECT_LE(std::abs(Mean(x)), 0.001);
    EXPECT_LE(std::fabs(x.front() - x.back()), StepPercentile(x, 0.99));
    const double startRms = Rms(x, 0, Millis(200));
    EXPECT_NEAR(ToDb(startRms), ToDb(Rms(x, x.size() - Millis(200), Millis(200))), 4.0);
    EXPECT_GE(ToDb(startRms), -45.0) << "the loop must not start on silence";
    EXPECT_LE(ToDb(LoudestWindowRms(x, Millis(50))), typicalEffect - 6.0);
  }
}

// The generator writes exactly the eleven effects, named after their
// identifiers, and the music, together under three megabytes; rendering each
// again, in this process, gives the very bytes the build's run wrote. The
// writer refuses what the players cannot play: more than two channels, or none.
TEST(SoundFiles, AreTheEffectsAndTheMusicTheSameOnEveryRun) {
  std::multiset<std::string> expected{kMusicPath}, generated;
  for (const ExpectedEffect& effect : kEffects) expected.insert(EffectPath(effect));
  std::size_t total = 0;
  for (const SoundGen::SoundFile& file : SoundGen::SoundFiles()) {
    generated.insert(file.path);
    const std::string onDisk = AudioTest::ReadWholeFile(DataFile(file.path));
    const std::vector<unsigned char> again = SoundGen::BuildSoundFile(file);
    EXPECT_TRUE(!again.empty() && std::string(again.begin(), again.end()) == onDisk) << file.path;
    total += onDisk.size();
  }
  EXPECT_EQ(std::pair(generated, total < 3u * 1024u * 1024u), std::pair(expected, true)) << total;
  for (int channels : {0, 3}) {
    SoundGen::Pcm pcm;
    pcm.channels = channels;
    pcm.samples.assign(300, 0.5f);
    EXPECT_TRUE(SoundGen::EncodeOggVorbis(pcm, {}).empty()) << channels;
  }
}

}  // namespace
