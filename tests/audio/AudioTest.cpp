// The audio library on its null output (real mixing, nothing heard): decoding
// the game's own files, damaged files that must fail cleanly (truncated,
// random, zero channels, absurd lengths), and the effects and music players.
// That a song rewinds to its very first sample, the wave output's loop shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "framework/audio/OggEffectDecoder.h"
#include "framework/audio/OggSongStream.h"
#include "framework/audio/OpenALBinding.h"
#include "framework/audio/OpenALMusicInterface.h"
#include "framework/audio/OpenALSoundManager.h"
#include "tests/audio-data/OggFiles.h"
#include "tests/support/NullApp.h"
#include "tests/support/TempFolder.h"
#include "tools/soundgen/SoundCatalog.h"

namespace {

using AudioTest::DataFile;
using Bytes = std::vector<unsigned char>;
using Zing::OpenALSoundInstance;

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

float Gain(const Zing::OpenALFunctions& al, const Zing::SoundInstance* instance) {
  ALfloat gain = -1;
  al.alGetSourcef(static_cast<const OpenALSoundInstance*>(instance)->Source(), AL_GAIN, &gain);
  return gain;
}

TEST(SoundManager, IdsLimitsChannelsGainsAndReclaimingAutoReleasedInstances) {
  Zing::OpenALSoundManager manager;
  ASSERT_TRUE(manager.IsAudible());
  const int id = manager.LoadSound(DataFile("sounds/gui_click"));
  EXPECT_EQ(id, 255);  // the highest free id
  EXPECT_EQ(manager.LoadSound(DataFile("sounds/gui_click")), id);
  EXPECT_EQ(manager.LoadSound(DataFile("sounds/vortex.ogg")), 254);  // an extension already given is kept
  EXPECT_EQ(manager.LoadSound(DataFile("sounds/missing")), -1);
  EXPECT_EQ(manager.GetNumSounds(), 2);
  EXPECT_EQ(manager.GetFreeSoundId(), 0);
  EXPECT_TRUE(manager.LoadSound(0u, DataFile("sounds/cube_tap")));
  EXPECT_EQ(manager.GetFreeSoundId(), 1);
  EXPECT_FALSE(manager.LoadSound(256u, DataFile("sounds/cube_tap")));
  EXPECT_FALSE(manager.SetBaseVolume(256, 1.0));
  EXPECT_EQ(manager.GetSoundInstance(256), nullptr);
  EXPECT_EQ(manager.GetSoundInstance(7), nullptr);  // nothing loaded there
  manager.SetMasterVolume(0.25);
  EXPECT_FLOAT_EQ(manager.GetMasterVolume(), 0.25f);
  manager.SetMasterVolume(1.0);
  manager.ReleaseSound(0);
  EXPECT_EQ(manager.GetFreeSoundId(), 0);

  const Zing::OpenALFunctions* al = Zing::AcquireOpenAL();
  ASSERT_NE(al, nullptr);
  ASSERT_TRUE(manager.SetBaseVolume(static_cast<unsigned>(id), 0.8));

  std::vector<Zing::SoundInstance*> looping;
  for (int i = 0; i < Zing::kMaxChannels - 1; ++i) {
    looping.push_back(manager.GetSoundInstance(static_cast<unsigned>(id)));
    ASSERT_NE(looping.back(), nullptr);
    looping.back()->Play(true, false);
  }
  Zing::SoundInstance* once = manager.GetSoundInstance(static_cast<unsigned>(id));
  ASSERT_NE(once, nullptr);
  once->SetVolume(0.5);
  EXPECT_FLOAT_EQ(Gain(*al, once), 0.4f);
  manager.SetVolume(0.5);  // every instance at once
  EXPECT_FLOAT_EQ(Gain(*al, once), 0.2f);
  EXPECT_FLOAT_EQ(Gain(*al, looping.front()), 0.4f);
  once->Play(false, true);

  // While all 32 play, a 33rd is refused; once the auto-released one has
  // finished, its channel is reclaimed.
  EXPECT_EQ(manager.GetSoundInstance(static_cast<unsigned>(id)), nullptr);
  ASSERT_TRUE(AudioTest::RunUntil([] {}, [&] { return !once->IsPlaying(); }));
  Zing::SoundInstance* next = manager.GetSoundInstance(static_cast<unsigned>(id));
  EXPECT_NE(next, nullptr);
  EXPECT_EQ(manager.GetSoundInstance(static_cast<unsigned>(id)), nullptr);

  // Stopping keeps auto-release; releasing frees the channel for the next request.
  looping.front()->Release();
  EXPECT_NE(manager.GetSoundInstance(static_cast<unsigned>(id)), nullptr);
  manager.StopAllSounds();
  EXPECT_FALSE(looping.back()->IsPlaying());
  // Releasing a sound takes its instances off the channels first.
  manager.ReleaseSound(static_cast<unsigned>(id));
  manager.ReleaseSound(254);
  EXPECT_EQ(manager.GetNumSounds(), 0);
  Zing::ReleaseOpenAL();
}

TEST(Music, PlayStopFadesAndVolume) {
  Zing::OpenALMusicInterface music;
  ASSERT_TRUE(music.IsAudible());
  EXPECT_FALSE(music.LoadMusic(1, DataFile("music/missing.ogg")));
  ASSERT_TRUE(music.LoadMusic(0, DataFile("music/game.ogg")));
  EXPECT_FALSE(music.IsPlaying(1));
  music.PlayMusic(1);  // unknown ids do nothing
  music.FadeOut(1);

  music.PlayMusic(0);
  EXPECT_TRUE(music.IsPlaying(0));
  for (int i = 0; i < 20; ++i) music.Update();
  music.FadeOut(0, false, 0.25);
  for (int i = 0; i < 5; ++i) music.Update();
  EXPECT_TRUE(music.IsPlaying(0));  // at volume 0, still playing
  music.FadeIn(0, -1, 0.5);         // already playing: nothing changes
  music.SetSongVolume(0, 1.0);
  music.FadeOut(0, true, 0.5);
  for (int i = 0; i < 3; ++i) music.Update();
  EXPECT_FALSE(music.IsPlaying(0));  // faded out and stopped

  music.FadeIn(0, -1, 0.5, false);
  EXPECT_TRUE(music.IsPlaying(0));
  music.SetVolume(0);  // not streamed while the overall volume is 0
  for (int i = 0; i < 10; ++i) music.Update();
  music.SetVolume(1);
  music.PauseAllMusic();
  EXPECT_FALSE(music.IsPlaying(0));
  music.ResumeAllMusic();
  EXPECT_TRUE(music.IsPlaying(0));
  music.StopAllMusic();
  EXPECT_FALSE(music.IsPlaying(0));
  music.UnloadMusic(0);
  music.PlayMusic(0);
  EXPECT_FALSE(music.IsPlaying(0));
}

// Without the library the application starts, everything loads and nothing
// is heard; music still keeps its state, and the loop's fades end it.
struct AppSound : ZingTest::NullAppFixture<ZingTest::NullApp<>> {};

TEST_F(AppSound, StartsWithoutTheAudioLibrary) {
  Zing::SetOpenALLibraryName("libzing-no-such-audio.so.9");
  MakeApp();
  app->registryKey = "ZingTest\\Sound";
  app->Init();
  EXPECT_TRUE(app->initialized);
  EXPECT_TRUE(app->exits.empty());
  auto* sounds = dynamic_cast<Zing::OpenALSoundManager*>(app->soundManager.get());
  auto* music = dynamic_cast<Zing::OpenALMusicInterface*>(app->musicInterface.get());
  ASSERT_NE(sounds, nullptr);
  ASSERT_NE(music, nullptr);
  EXPECT_FALSE(sounds->IsAudible());
  EXPECT_FALSE(music->IsAudible());
  const int id = sounds->LoadSound(DataFile("sounds/gui_click"));
  EXPECT_EQ(id, 255);
  EXPECT_EQ(sounds->LoadSound(DataFile("sounds/missing")), -1);
  EXPECT_EQ(sounds->GetSoundInstance(static_cast<unsigned>(id)), nullptr);
  app->PlaySample(id);
  sounds->SetMasterVolume(0.5);
  EXPECT_DOUBLE_EQ(sounds->GetMasterVolume(), 0.5);
  ASSERT_TRUE(music->LoadMusic(0, DataFile("music/game.ogg")));
  music->PlayMusic(0, 0, true);
  app->UpdateFrames();
  EXPECT_TRUE(music->IsPlaying(0));
  music->FadeOut(0, true, 0.6);
  app->UpdateFrames();
  app->UpdateFrames();
  EXPECT_FALSE(music->IsPlaying(0));
  app.reset();
  Zing::SetOpenALLibraryName(Zing::kOpenALLibraryName);
}

}  // namespace
