// Decoding effects and songs: the game's own files, and damaged files that
// must fail cleanly (truncated, random, zero channels, absurd lengths).

#include <gtest/gtest.h>

#include <random>

#include "framework/audio/OggEffectDecoder.h"
#include "framework/audio/OggSongStream.h"
#include "tests/audio-data/OggDecode.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tools/soundgen/SoundCatalog.h"

namespace {

std::string DataFile(const std::string& name) { return std::string(LINTWICK_BUILD_DATA_DIR) + "/" + name; }

void WriteBytes(const ZingTest::TempFolder& folder, const std::string& name, const std::vector<unsigned char>& bytes) {
  folder.Write(name, std::string(bytes.begin(), bytes.end()));
}

TEST(OggDecoding, GameEffectsDecodeWholeAsBareVorbisfileDoes) {
  for (const SoundGen::SoundFile& file : SoundGen::SoundFiles()) {
    if (file.path.rfind("sounds/", 0) != 0) continue;
    SCOPED_TRACE(file.path);
    Zing::DecodedSound sound;
    ASSERT_TRUE(Zing::DecodeOggEffect(DataFile(file.path), sound));
    const AudioTest::Decoded bare = AudioTest::DecodeOgg(AudioTest::ReadWholeFile(DataFile(file.path)));
    ASSERT_TRUE(bare.ok);
    EXPECT_EQ(sound.channels, bare.channels);
    EXPECT_EQ(sound.rate, bare.rate);
    EXPECT_EQ(sound.samples.size(), bare.samples.size() * 2);
  }
}

TEST(OggDecoding, DamagedFilesFailWithoutHugeAllocations) {
  ZingTest::TempFolder folder;
  const std::vector<unsigned char> good = AudioTest::EncodeSweep(1, 0.5);
  WriteBytes(folder, "good.ogg", good);
  Zing::DecodedSound sound;
  ASSERT_TRUE(Zing::DecodeOggEffect(folder.File("good.ogg"), sound));

  std::vector<unsigned char> truncated(good.begin(), good.begin() + static_cast<long>(good.size() * 2 / 3));
  WriteBytes(folder, "truncated.ogg", truncated);
  std::vector<unsigned char> headerOnly(good.begin(), good.begin() + 40);
  WriteBytes(folder, "header.ogg", headerOnly);
  std::mt19937 random(7);
  std::vector<unsigned char> noise(5000);
  for (auto& byte : noise) byte = static_cast<unsigned char>(random());
  WriteBytes(folder, "random.ogg", noise);
  WriteBytes(folder, "empty.ogg", {});

  // The identification header: "\x01vorbis", version (4 bytes), channels.
  std::vector<unsigned char> zeroChannels = good;
  const std::size_t channelsAt = AudioTest::FindBytes(good, "\x01vorbis") + 11;
  zeroChannels[channelsAt] = 0;
  AudioTest::FixPageChecksum(zeroChannels, channelsAt);
  WriteBytes(folder, "zero.ogg", zeroChannels);
  std::vector<unsigned char> sixChannels = good;
  sixChannels[channelsAt] = 6;
  AudioTest::FixPageChecksum(sixChannels, channelsAt);
  WriteBytes(folder, "six.ogg", sixChannels);

  // The last page's granule position announces the length: make it absurd.
  std::vector<unsigned char> absurd = good;
  const std::size_t granuleAt = AudioTest::LastPage(good) + 6;
  for (std::size_t i = 0; i < 7; ++i) absurd[granuleAt + i] = 0xFF;
  absurd[granuleAt + 7] = 0x0F;
  AudioTest::FixPageChecksum(absurd, granuleAt);
  WriteBytes(folder, "absurd.ogg", absurd);

  // A stream followed by zeros: a little still decodes; past the size limit
  // the file is refused before the decoder's slow search for its last page.
  std::vector<unsigned char> padded = good;
  padded.resize(good.size() + 65536);
  WriteBytes(folder, "padded.ogg", padded);
  EXPECT_TRUE(Zing::DecodeOggEffect(folder.File("padded.ogg"), sound));
  padded.resize(Zing::kMaxEffectFileBytes + 1);
  WriteBytes(folder, "huge.ogg", padded);

  // vorbisfile itself distrusts an absurd length: the file decodes what it
  // holds, and the block never grows beyond that.
  const std::size_t goodSize = sound.samples.size();
  if (Zing::DecodeOggEffect(folder.File("absurd.ogg"), sound)) {
    EXPECT_LE(sound.samples.size(), goodSize * 2);
  }

  for (const char* name :
       {"truncated.ogg", "header.ogg", "random.ogg", "empty.ogg", "zero.ogg", "six.ogg", "huge.ogg", "missing.ogg"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(Zing::DecodeOggEffect(folder.File(name), sound));
    EXPECT_TRUE(sound.samples.empty());
    std::vector<char> bytes;
    Zing::OggSongStream song;
    if (Zing::ReadWholeFile(folder.File(name), 1 << 20, bytes) && song.Open(bytes)) {
      // A song may open on a damaged tail; it then simply ends early.
      std::vector<char> block(16384);
      while (song.Fill(block.data(), block.size()) > 0) {
      }
    }
  }
  std::vector<char> bytes;
  EXPECT_FALSE(Zing::ReadWholeFile(folder.File("good.ogg"), 100, bytes));  // beyond the size limit
}

TEST(OggDecoding, SongStreamRewindsToTheSameSamples) {
  std::vector<char> bytes;
  ASSERT_TRUE(Zing::ReadWholeFile(DataFile("music/game.ogg"), 1 << 26, bytes));
  Zing::OggSongStream song;
  ASSERT_TRUE(song.Open(bytes));
  EXPECT_EQ(song.Rate(), 44100);
  std::vector<char> first(16384), again(16384);
  ASSERT_EQ(song.Fill(first.data(), first.size()), first.size());
  ASSERT_EQ(song.Fill(again.data(), again.size()), again.size());
  EXPECT_NE(first, again);
  ASSERT_TRUE(song.Rewind());
  ASSERT_EQ(song.Fill(again.data(), again.size()), again.size());
  EXPECT_EQ(first, again);
}

}  // namespace
