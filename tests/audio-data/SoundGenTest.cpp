// The building blocks of the sound generator: the seeded noise, the fades and
// levels every effect is finished with, and the Ogg Vorbis writer.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Measures.h"
#include "OggDecode.h"
#include "tools/soundgen/Dsp.h"
#include "tools/soundgen/Music.h"
#include "tools/soundgen/OggWriter.h"

namespace {

using SoundGen::Pcm;

Pcm Sine(int channels, double seconds, double hz, double level) {
  Pcm pcm = SoundGen::MakeSilence(channels, seconds);
  for (std::size_t i = 0; i < pcm.Frames(); ++i) {
    const double value = level * std::sin(SoundGen::kTwoPi * hz * static_cast<double>(i) / SoundGen::kSampleRate);
    for (int c = 0; c < channels; ++c) pcm.samples[i * channels + c] = static_cast<float>(value);
  }
  return pcm;
}

std::string AsString(const std::vector<unsigned char>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(Noise, IsTheSameSequenceForTheSameSeedAndStaysInRange) {
  SoundGen::Noise first(7), second(7), other(8), zero(0);
  int differences = 0;
  double sum = 0;
  for (int i = 0; i < 10000; ++i) {
    const double a = first.Next();
    EXPECT_EQ(a, second.Next());
    differences += a != other.Next();
    EXPECT_GE(a, -1.0);
    EXPECT_LE(a, 1.0);
    sum += a;
  }
  EXPECT_GT(differences, 9900);
  EXPECT_NEAR(sum / 10000, 0.0, 0.05);
  EXPECT_NE(zero.Next(), zero.Next());  // a seed of 0 still gives noise
}

TEST(Levels, FadesBringBothEndsToSilenceWithoutOverrunning) {
  Pcm pcm = SoundGen::MakeSilence(2, 0.1);
  for (float& s : pcm.samples) s = 0.5f;
  SoundGen::ApplyFades(pcm, 0.01, 0.02);
  EXPECT_EQ(pcm.samples[0], 0.0f);
  EXPECT_EQ(pcm.samples[1], 0.0f);
  EXPECT_LT(std::fabs(pcm.samples.back()), 1e-4f);
  EXPECT_EQ(pcm.samples[pcm.samples.size() / 2], 0.5f);
  for (std::size_t frame = 1; frame < SoundGen::SecondsToFrames(0.01); ++frame)
    EXPECT_GE(pcm.samples[frame * 2], pcm.samples[(frame - 1) * 2]);  // the fade rises steadily

  Pcm shorter = SoundGen::MakeSilence(1, 0.001);
  for (float& s : shorter.samples) s = 1.0f;
  SoundGen::ApplyFades(shorter, 1.0, 1.0);
  EXPECT_EQ(shorter.samples.front(), 0.0f);
  Pcm empty = SoundGen::MakeSilence(1, 0);
  SoundGen::ApplyFades(empty, 0.1, 0.1);
  SoundGen::NormalisePeak(empty, -3.0);
  EXPECT_TRUE(empty.samples.empty());
}

TEST(Levels, NormalisingSetsThePeakAndDcRemovalTakesAwayAnOffset) {
  Pcm pcm = Sine(1, 0.05, 440, 0.1);
  SoundGen::NormalisePeak(pcm, -6.0);
  EXPECT_NEAR(AudioTest::Peak(pcm.samples), SoundGen::DbToGain(-6.0), 1e-6);
  Pcm silence = SoundGen::MakeSilence(1, 0.01);
  SoundGen::NormalisePeak(silence, -6.0);
  EXPECT_EQ(AudioTest::Peak(silence.samples), 0.0);

  Pcm offset = Sine(1, 1.0, 220, 0.3);
  for (float& s : offset.samples) s += 0.2f;
  SoundGen::RemoveDc(offset);
  const std::vector<float> tail(offset.samples.begin() + static_cast<std::ptrdiff_t>(offset.samples.size() / 2),
                                offset.samples.end());
  EXPECT_NEAR(AudioTest::Mean(tail), 0.0, 0.002);
  EXPECT_NEAR(AudioTest::Peak(tail), 0.3, 0.02);
}

TEST(Room, RingsOnAfterTheSoundAndKeepsTheDrySignal) {
  Pcm click = SoundGen::MakeSilence(1, 0.05);
  click.samples[10] = 1.0f;
  const Pcm wet = SoundGen::AddRoom(click, 0.3, 0.5, 0.5);
  EXPECT_EQ(wet.Frames(), click.Frames() + SoundGen::SecondsToFrames(0.5));
  EXPECT_NEAR(wet.samples[10], 0.7f, 1e-6);
  EXPECT_GT(AudioTest::Rms(wet.samples, SoundGen::SecondsToFrames(0.1), SoundGen::SecondsToFrames(0.1)), 1e-4);
}

// What the writer writes, vorbisfile reads back in format, length and shape;
// only mono and stereo are written. (That two encodings are the same bytes,
// by a fixed serial number, the generated files' test shows.)
TEST(OggWriter, WritesWhatVorbisfileReadsBackAndOnlyMonoOrStereo) {
  const Pcm tone = Sine(1, 0.3, 440, 0.5);
  const AudioTest::Decoded decoded = AudioTest::DecodeOgg(AsString(SoundGen::EncodeOggVorbis(tone, {})));
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.channels, 1);
  EXPECT_EQ(decoded.rate, SoundGen::kSampleRate);
  ASSERT_EQ(decoded.Frames(), tone.Frames());
  double error = 0;
  for (std::size_t i = 0; i < tone.samples.size(); ++i)
    error = std::max(error, static_cast<double>(std::fabs(decoded.samples[i] - tone.samples[i])));
  EXPECT_LT(error, 0.02);

  Pcm surround = Sine(3, 0.1, 440, 0.5);
  EXPECT_TRUE(SoundGen::EncodeOggVorbis(surround, {}).empty());
  Pcm noChannels;
  noChannels.channels = 0;
  EXPECT_EQ(noChannels.Frames(), 0u);
  EXPECT_TRUE(SoundGen::EncodeOggVorbis(noChannels, {}).empty());
}

}  // namespace
