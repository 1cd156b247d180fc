// Decoding effects and songs: the game's own files, and damaged files that
// must fail cleanly (truncated, random, zero channels, absurd lengths). That a
// song rewinds to its very first sample, the wave output's loop shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "framework/audio/OggEffectDecoder.h"
#include "framework/audio/OggSongStream.h"
#include "tests/audio-data/OggFiles.h"
#include "tests/support/TempFolder.h"
#include "tools/soundgen/SoundCatalog.h"

namespace {

using AudioTest::DataFile;
using Bytes = std::vector<unsigned char>;

// Sets byte `at` to `value` and rewrites the checksum of the Ogg page holding
// it, so that the damage passes the container's checks.
Bytes Patched(Bytes file, std::size_t at, unsigned char value) {
  file[at] = value;
  std::size_t page = at;
  while (page > 0 && std::memcmp(&file[page], "OggS", 4) != 0) --page;
  std::size_t size = 27 + file[page + 26];
  for (std::size_t i = 0; i < file[page + 26]; ++i) size += file[page + 27 + i];
  std::memset(&file[page + 22], 0, 4);
  std::uint32_t crc = 0;
  for (std::size_t i = page; i < page + size; ++i) {
    crc ^= static_cast<std::uint32_t>(file[i]) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  for (std::size_t i = 0; i < 4; ++i) file[page + 22 + i] = static_cast<unsigned char>(crc >> (8 * i));
  return file;
}

TEST(OggDecoding, GameEffectsDecodeWholeAsBareVorbisfileDoes) {
  for (const SoundGen::SoundFile& file : SoundGen::SoundFiles()) {
    if (file.path.rfind("sounds/", 0) != 0) continue;
    SCOPED_TRACE(file.path);
    Zing::DecodedSound sound;
    ASSERT_TRUE(Zing::DecodeOggEffect(DataFile(file.path), sound));
    const AudioTest::Decoded bare = AudioTest::DecodeOgg(DataFile(file.path));
    ASSERT_TRUE(bare.ok);
    EXPECT_EQ(sound.channels, bare.channels);
    EXPECT_EQ(sound.rate, bare.rate);
    EXPECT_EQ(sound.samples.size(), bare.samples.size() * 2);
  }
}

TEST(OggDecoding, DamagedFilesFailWithoutHugeAllocations) {
  ZingTest::TempFolder folder;
  const Bytes good = AudioTest::EncodeSweep(1, 0.5);
  auto write = [&](const std::string& name, const Bytes& bytes) {
    folder.Write(name, std::string(bytes.begin(), bytes.end()));
  };
  write("good.ogg", good);
  Zing::DecodedSound sound;
  ASSERT_TRUE(Zing::DecodeOggEffect(folder.File("good.ogg"), sound));
  const std::size_t goodSize = sound.samples.size();

  write("truncated.ogg", Bytes(good.begin(), good.begin() + static_cast<long>(good.size() * 2 / 3)));
  write("header.ogg", Bytes(good.begin(), good.begin() + 40));
  std::mt19937 random(7);
  Bytes noise(5000);
  for (auto& byte : noise) byte = static_cast<unsigned char>(random());
  write("random.ogg", noise);
  write("empty.ogg", {});
  // The identification header: "\x01vorbis", version (4 bytes), channels.
  const std::string id = "\x01vorbis";
  const std::size_t channelsAt = std::search(good.begin(), good.end(), id.begin(), id.end()) - good.begin() + 11;
  write("zero.ogg", Patched(good, channelsAt, 0));
  write("six.ogg", Patched(good, channelsAt, 6));

  // The last page's granule position announces the length: make it absurd.
  // vorbisfile itself distrusts it: the file decodes what it holds, and the
  // block never grows beyond that.
  const std::string capture = "OggS";
  const std::size_t granuleAt =
      std::find_end(good.begin(), good.end(), capture.begin(), capture.end()) - good.begin() + 6;
  Bytes absurd = Patched(good, granuleAt + 7, 0x0F);
  for (std::size_t i = 0; i < 7; ++i) absurd = Patched(absurd, granuleAt + i, 0xFF);
  write("absurd.ogg", absurd);
  // A stream followed by zeros: a little still decodes; past the size limit
  // the file is refused before the decoder's slow search for its last page.
  Bytes padded = good;
  padded.resize(good.size() + 65536);
  write("padded.ogg", padded);
  EXPECT_TRUE(Zing::DecodeOggEffect(folder.File("padded.ogg"), sound));
  padded.resize(Zing::kMaxEffectFileBytes + 1);
  write("huge.ogg", padded);
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

}  // namespace
