// The audio library on its null output (real mixing, nothing heard): decoding
// the game's own files, damaged files that must fail cleanly (truncated,
// random, zero channels, too long), and the effects and music players.
// That a song rewinds to its very first sample, the wave output's loop shows.

#include <gtest/gtest.h>

#include <ogg/ogg.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <random>

#include "framework/audio/AlsaMessages.h"
#include "framework/audio/OggEffectDecoder.h"
#include "framework/audio/OggSongStream.h"
#include "framework/audio/OpenALBinding.h"
#include "framework/audio/OpenALMusicInterface.h"
#include "framework/audio/OpenALSoundManager.h"
#include "framework/audio/SilentSoundManager.h"
#include "framework/platform/SharedLibrary.h"
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
  std::size_t page = at, segments = 0;
  while (std::memcmp(&file[page], "OggS", 4) != 0) --page;
  long body = 0;
  for (segments = 0; segments < file[page + 26]; ++segments) body += file[page + 27 + segments];
  ogg_page whole{&file[page], long(27 + segments), &file[page + 27 + segments], body};
  ogg_page_checksum_set(&whole);
  return file;
}

TEST(OggDecoding, DamagedAndOverlongFilesFailWithoutHugeAllocations) {
  ZingTest::TempFolder folder;
  const Bytes good = AudioTest::EncodeSweep(1, 0.5);
  std::mt19937 random(7);
  Bytes noise(5000), padded = good, huge = good;
  for (auto& byte : noise) byte = static_cast<unsigned char>(random());
  // The identification header: "\x01vorbis", version (4 bytes), channels.
  const std::string id = "\x01vorbis";
  const std::size_t channelsAt = std::search(good.begin(), good.end(), id.begin(), id.end()) - good.begin() + 11;
  // A stream followed by zeros: a little still decodes; past the size limit
  // the file is refused before the decoder's slow search for its last page.
  padded.resize(good.size() + 65536);
  huge.resize(Zing::kMaxEffectFileBytes + 1);
  const std::pair<std::string, Bytes> files[] = {
      {"good.ogg", good},
      {"padded.ogg", padded},
      {"truncated.ogg", Bytes(good.begin(), good.begin() + long(good.size() * 2 / 3))},
      {"header.ogg", Bytes(good.begin(), good.begin() + 40)},
      {"random.ogg", noise},
      {"empty.ogg", {}},
      {"zero.ogg", Patched(good, channelsAt, 0)},
      {"six.ogg", Patched(good, channelsAt, 6)},
      {"huge.ogg", huge}};
  for (const auto& [name, bytes] : files) folder.Write(name, std::string(bytes.begin(), bytes.end()));
  Zing::DecodedSound sound;
  EXPECT_TRUE(Zing::DecodeOggEffect(folder.File("padded.ogg"), sound));
  // None of the others decodes as an effect or opens as a song; all but the missing and the huge one are read whole.
  std::vector<char> bytes;
  for (const std::string name :
       {"truncated.ogg", "header.ogg", "random.ogg", "empty.ogg", "zero.ogg", "six.ogg", "huge.ogg", "missing.ogg"}) {
    EXPECT_FALSE(Zing::DecodeOggEffect(folder.File(name), sound) || !sound.samples.empty()) << name;
    const bool reads = Zing::ReadWholeFile(folder.File(name), Zing::kMaxEffectFileBytes, bytes);
    EXPECT_EQ(reads, name != "huge.ogg" && name != "missing.ogg") << name;
    EXPECT_FALSE(reads && Zing::OggSongStream().Open(bytes)) << name;
  }
  Zing::OggSongStream stream;
  EXPECT_EQ(std::pair(stream.Fill(bytes.data(), bytes.size()), stream.Rewind()), std::pair(0ul, false));
  // A file is read whole up to its size limit, not beyond.
  EXPECT_FALSE(Zing::ReadWholeFile(folder.File("good.ogg"), good.size() - 1, bytes));
  int ends[2];  // a pipe in a file's place has no length to check: refused unread
  ASSERT_EQ(pipe(ends), 0);
  EXPECT_TRUE(write(ends[1], "OggS", 4) == 4 &&
              !Zing::ReadWholeFile("/proc/self/fd/" + std::to_string(ends[0]), 99, bytes));
  for (int end : ends) close(end);
  ASSERT_TRUE(Zing::ReadWholeFile(folder.File("good.ogg"), good.size(), bytes) && bytes.size() == good.size());
  // The stream decodes what the effect decoder does, and again after rewinding.
  ASSERT_TRUE(Zing::DecodeOggEffect(folder.File("good.ogg"), sound) && stream.Open(bytes));
  EXPECT_EQ(sound.samples, AudioTest::DecodeOgg(folder.File("good.ogg")).pcm);
  EXPECT_EQ(std::pair(stream.Channels(), stream.Rate()), std::pair(1, long{AudioTest::kRate}));
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<char> pcm(sound.samples.size() + 100);
    const std::size_t head = stream.Fill(pcm.data(), 1000);
    EXPECT_EQ(head + stream.Fill(pcm.data() + head, pcm.size() - head), sound.samples.size());
    EXPECT_TRUE(std::equal(sound.samples.begin(), sound.samples.end(), pcm.begin())) << pass;
    EXPECT_TRUE(stream.Rewind());
  }
  // The longest effect is a minute; decoded in several steps, it is still the
  // file's every sample. One sample more, and it is refused. The shortest is one sample.
  for (const auto& [seconds, accepted] : {std::pair{Zing::kMaxEffectSeconds, true},
                                          {Zing::kMaxEffectSeconds + 1e-4, false},
                                          {1.5 / AudioTest::kRate, true}}) {
    const Bytes file = AudioTest::EncodeSweep(1, seconds);
    folder.Write("long.ogg", std::string(file.begin(), file.end()));
    EXPECT_EQ(Zing::DecodeOggEffect(folder.File("long.ogg"), sound), accepted) << seconds;
    EXPECT_TRUE(sound.samples == (accepted ? AudioTest::DecodeOgg(folder.File("long.ogg")).pcm : std::vector<char>()));
  }
}

float Gain(const Zing::OpenALFunctions& al, const Zing::SoundInstance* instance) {
  ALfloat gain = -1;
  al.alGetSourcef(static_cast<const OpenALSoundInstance*>(instance)->Source(), AL_GAIN, &gain);
  return gain;
}

// A buffer's channels, rate and bytes.
std::tuple<int, int, int> BufferOf(const Zing::OpenALFunctions& al, ALuint buffer) {
  ALint channels = 0, rate = 0, size = 0;
  al.alGetBufferi(buffer, AL_CHANNELS, &channels);
  al.alGetBufferi(buffer, AL_FREQUENCY, &rate);
  al.alGetBufferi(buffer, AL_SIZE, &size);
  return {channels, rate, size};
}

TEST(SoundManager, IdsLimitsChannelsGainsReclaimingInstancesAndEveryEffectDecodedWhole) {
  Zing::OpenALSoundManager manager;
  const Zing::OpenALFunctions* al = Zing::AcquireOpenAL();
  ASSERT_TRUE(manager.IsAudible() && al);
  // The highest free id first; a name loaded already keeps its id; an extension already given is kept.
  EXPECT_EQ(
      (std::tuple{manager.LoadSound(DataFile("sounds/gui_click")), manager.LoadSound(DataFile("sounds/gui_click")),
                  manager.LoadSound(DataFile("sounds/vortex.ogg")), manager.LoadSound(DataFile("sounds/missing")),
                  manager.GetNumSounds(), manager.GetFreeSoundId()}),
      std::tuple(255, 255, 254, -1, 2, 0));
  const unsigned id = 255;
  // A failed load empties the id first; there is no id 256.
  EXPECT_EQ(
      (std::tuple{manager.LoadSound(0u, DataFile("sounds/cube_tap")), manager.GetFreeSoundId(),
                  manager.LoadSound(DataFile("sounds/cube_tap")), manager.LoadSound(0u, DataFile("sounds/missing")),
                  manager.GetNumSounds(), manager.GetFreeSoundId(), manager.LoadSound(0u, DataFile("sounds/cube_tap")),
                  manager.LoadSound(256u, DataFile("sounds/cube_tap"))}),
      std::tuple(true, 1, 0, false, 2, 0, true, false));
  for (unsigned free = 1; free < 254; ++free) ASSERT_TRUE(manager.LoadSound(free, DataFile("sounds/cube_tap")));
  manager.ReleaseSound(256);  // no such id: nothing changes
  EXPECT_EQ(
      std::tuple(manager.GetFreeSoundId(), manager.LoadSound(DataFile("sounds/cube_drop")), manager.GetNumSounds()),
      std::tuple(-1, -1, 256));
  // The last free id is the lowest; releasing a sound leaves the next one's buffer alone.
  const ALuint next = static_cast<const OpenALSoundInstance*>(manager.GetSoundInstance(1))->Buffer();
  manager.ReleaseChannels();  // the instance goes, and with it its hold on the buffer
  manager.ReleaseSound(0);
  EXPECT_EQ(std::pair(manager.LoadSound(DataFile("sounds/cube_drop")), al->alIsBuffer(next)),
            std::pair(0, ALboolean{AL_TRUE}));
  for (unsigned used = 1; used < 254; ++used) manager.ReleaseSound(used);
  EXPECT_EQ(std::tuple(manager.SetBaseVolume(256, 1.0), manager.SetBasePan(256, 1), manager.SetBasePan(255, 0)),
            std::tuple(false, false, true));
  EXPECT_TRUE(manager.GetSoundInstance(256) == nullptr && manager.GetSoundInstance(7) == nullptr);  // none loaded at 7
  for (const auto& [set, got] : {std::pair{0.25, 0.25}, {-1.0, 0.0}, {2.0, 1.0}})
    EXPECT_DOUBLE_EQ((manager.SetMasterVolume(set), manager.GetMasterVolume()), got) << set;
  EXPECT_EQ((manager.ReleaseSound(0), manager.GetFreeSoundId()), 0);
  ASSERT_TRUE(manager.SetBaseVolume(id, 0.8));
  std::vector<Zing::SoundInstance*> looping;
  for (int i = 0; i < Zing::kMaxChannels - 1; ++i) {
    looping.push_back(manager.GetSoundInstance(id));
    ASSERT_NE(looping.back(), nullptr);
    looping.back()->Play(true, false);
  }
  Zing::SoundInstance* once = manager.GetSoundInstance(id);
  ASSERT_NE(once, nullptr);
  EXPECT_FLOAT_EQ(Gain(*al, once), 0.8f);
  once->SetVolume(0.5);
  EXPECT_EQ(std::tuple(Gain(*al, once), once->GetVolume(), once->IsPlaying()), std::tuple(0.4f, 0.5, false));
  manager.SetVolume(0.5);  // every instance at once
  EXPECT_EQ(std::pair(Gain(*al, once), Gain(*al, looping.front())), std::pair(0.2f, 0.4f));
  EXPECT_TRUE(once->Play(false, true));
  // While all 32 play, a 33rd is refused; once the auto-released one has finished, its channel is reclaimed.
  EXPECT_EQ(manager.GetSoundInstance(id), nullptr);
  ASSERT_TRUE(AudioTest::RunUntil([] {}, [&] { return !once->IsPlaying(); }));
  EXPECT_TRUE(manager.GetSoundInstance(id) != nullptr && manager.GetSoundInstance(id) == nullptr);
  // Stopping keeps auto-release; releasing frees the channel for the next request.
  looping.front()->Release();
  Zing::SoundInstance* last = manager.GetSoundInstance(id);
  ASSERT_NE(last, nullptr);
  last->Play(true, true);
  ALint loops = 0;
  al->alGetSourcei(static_cast<const OpenALSoundInstance*>(last)->Source(), AL_LOOPING, &loops);
  EXPECT_EQ(std::tuple(loops, last->IsPlaying(), last->IsReleased()), std::tuple(AL_TRUE, true, false));
  manager.StopAllSounds();
  EXPECT_EQ(std::tuple(looping.back()->IsPlaying(), looping.back()->IsReleased(), last->IsReleased()),
            std::tuple(false, false, true));
  // A stopped instance is its holder's again.
  EXPECT_FALSE((looping.back()->Play(false, true), looping.back()->Stop(), looping.back()->IsReleased()));
  // Releasing a sound takes its instances off the channels first, then the instances' sources and
  // the sound's buffer are gone; the library saw no wrong call.
  const auto* played = static_cast<const OpenALSoundInstance*>(looping.back());
  const ALuint buffer = played->Buffer(), source = played->Source();
  manager.ReleaseSound(id);
  EXPECT_EQ(
      (std::tuple{al->alIsBuffer(buffer), al->alIsSource(source), al->alGetError(), manager.GetSoundInstance(id)}),
      std::tuple(AL_FALSE, AL_FALSE, AL_NO_ERROR, nullptr));
  ASSERT_TRUE(manager.LoadSound(0u, DataFile("sounds/cube_tap")));
  manager.ReleaseSounds();
  EXPECT_EQ(std::pair(manager.GetNumSounds(), manager.GetFreeSoundId()), std::pair(0, 0));
  // Every game effect loads whole into its buffer, as bare vorbisfile decodes
  // it; a stereo effect, named with its extension alone in capitals, is stereo.
  ZingTest::TempFolder folder;
  const Bytes stereo = AudioTest::EncodeSweep(2, 0.25);
  folder.Write(".OGG", std::string(stereo.begin(), stereo.end()));
  const ZingTest::InFolder inside(folder.Path());
  std::vector<std::string> paths = {".OGG"};
  for (const SoundGen::SoundFile& file : SoundGen::SoundFiles())
    if (file.path.rfind("sounds/", 0) == 0) paths.push_back(DataFile(file.path));
  for (const std::string& path : paths) {
    const AudioTest::Decoded bare = AudioTest::DecodeOgg(path);
    Zing::SoundInstance* instance = manager.GetSoundInstance(manager.LoadSound(path));
    ASSERT_TRUE(bare.ok && instance) << path;
    EXPECT_EQ(BufferOf(*al, static_cast<const OpenALSoundInstance*>(instance)->Buffer()),
              std::tuple(bare.channels, int(bare.rate), int(bare.samples.size() * 2)))
        << path;
    instance->Release();
  }
  Zing::ReleaseOpenAL();
}

// The silent manager keeps the ids as the real one does, and its instances end at once.
TEST(SoundManager, SilentIdsAndInstances) {
  struct Fenced : Zing::SilentSoundManager {
    std::string fence, beyond;  // where ids past the last would lie: free-looking, so a search from there shows
  } silent;
  EXPECT_EQ((std::tuple{silent.LoadSound("a"), silent.LoadSound("a"), silent.LoadSound("b"), silent.LoadSound(""),
                        silent.LoadSound(0u, "c"), silent.LoadSound(256u, "c"), silent.LoadSound(1u, ""),
                        silent.GetNumSounds(), silent.GetFreeSoundId(), silent.LoadSound("c")}),
            std::tuple(255, 255, 254, -1, true, false, false, 3, 1, 0));
  EXPECT_EQ(std::tuple(silent.SetBaseVolume(255, 1), silent.SetBaseVolume(256, 1), silent.SetBasePan(255, 1),
                       silent.SetBasePan(256, 1), silent.GetSoundInstance(256), silent.GetSoundInstance(1)),
            std::tuple(true, false, true, false, nullptr, nullptr));
  Zing::SoundInstance* instance = (silent.fence = "fence", silent.GetSoundInstance(255));
  ASSERT_NE(instance, nullptr);
  instance->SetVolume(0.5);
  EXPECT_EQ(std::tuple(instance->GetVolume(), instance->IsPlaying(), instance->IsReleased()),
            std::tuple(0.5, false, false));
  EXPECT_TRUE(instance->Play(false, true));  // ends at once and lets go of itself
  for (unsigned id : {255u, 256u}) silent.ReleaseSound(id);
  EXPECT_EQ((std::tuple{silent.GetNumSounds(), silent.LoadSound("d"), silent.LoadSound("fence"), silent.fence}),
            std::tuple(2, 255, 253, "fence"));
  for (unsigned id = 0; id < 256; ++id) silent.LoadSound(id, "e");
  EXPECT_EQ(std::pair(silent.GetFreeSoundId(), silent.LoadSound("f")), std::pair(-1, -1));
  EXPECT_EQ((silent.ReleaseSound(0), silent.LoadSound("f")), 0);  // the last free id is the lowest
  EXPECT_EQ((silent.ReleaseSounds(), std::pair(silent.GetNumSounds(), silent.GetFreeSoundId())), std::pair(0, 0));
}

// The binding counts acquisitions and ignores a release too many; a library
// without the entry points runs silent until the real one is named again.
// Messages of the sound card's library are kept for the one line, not printed.
TEST(AudioLibrary, CountsAcquisitionsEntryPointsAndAlsaMessages) {
  // Acquired three times, released four times: still there for the next one, which keeps its entry points when
  // the name changes.
  for (int i = 0; i < 3; ++i) ASSERT_NE(Zing::AcquireOpenAL(), nullptr);
  for (int i = 0; i < 4; ++i) Zing::ReleaseOpenAL();
  const Zing::OpenALFunctions* held = Zing::AcquireOpenAL();
  Zing::SetOpenALLibraryName("libm.so.6");
  EXPECT_TRUE(held && held->alGetError && held->alGetError() == AL_NO_ERROR);
  Zing::ReleaseOpenAL();
  testing::internal::CaptureStderr();  // two failures, one line
  for (const char* name : {"libm.so.6", "libm.so.6", Zing::kOpenALLibraryName}) {
    Zing::SetOpenALLibraryName(name);
    EXPECT_EQ(Zing::AcquireOpenAL() != nullptr, std::string(name) != "libm.so.6") << name;
    Zing::ReleaseOpenAL();
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Sound: the function alEnable is missing from libm.so.6; running without sound.\n");
  Zing::QuietAlsaMessages();
  using Open = int (*)(void**, const char*, int, int);
  auto open = reinterpret_cast<Open>(
      Zing::Platform::FindSharedSymbol(Zing::Platform::OpenSharedLibrary("libasound.so.2"), "snd_pcm_open"));
  ASSERT_NE(open, nullptr);
  void* pcm = nullptr;
  EXPECT_LT(open(&pcm, "zing_no_such_device", 0, 0), 0);
  EXPECT_FALSE(Zing::FirstAlsaMessage().empty());
}

// A song's source as the player leaves it: gain, state, playing flag.
std::string SongState(Zing::OpenALMusicInterface& music, const Zing::OpenALFunctions& al, int id) {
  ALfloat gain = -1;
  ALint state = 0;
  al.alGetSourcef(music.SourceOf(id), AL_GAIN, &gain);
  al.alGetSourcei(music.SourceOf(id), AL_SOURCE_STATE, &state);
  const char* states[] = {"initial", "playing", "paused", "stopped"};
  return std::to_string(gain).substr(0, 5) + " " + states[state - AL_INITIAL] + (music.IsPlaying(id) ? " on" : " off");
}

// The player's rules step by step: each call or update against the song's
// gain (song volume x overall volume), its source's state and its playing flag.
TEST(Music, PlayFadesPauseStopAndVolumeStepByStep) {
  Zing::OpenALMusicInterface music;
  const Zing::OpenALFunctions* al = Zing::AcquireOpenAL();
  ASSERT_TRUE(music.IsAudible() && al);
  // A song that fails to load leaves the one loaded under its id.
  ASSERT_EQ(
      (std::tuple{music.LoadMusic(1, DataFile("music/missing.ogg")), music.LoadMusic(0, DataFile("music/game.ogg")),
                  music.LoadMusic(2, DataFile("music/game.ogg")), music.LoadMusic(2, DataFile("music/missing.ogg"))}),
      std::tuple(false, true, true, false));
  ALint queued = 0;
  al->alGetSourcei(music.SourceOf(0), AL_BUFFERS_QUEUED, &queued);
  EXPECT_EQ(std::pair(queued, music.SourceOf(1)), std::pair(8, 0u));
  music.PlayMusic(1);  // unknown ids do nothing
  music.FadeOut(1);
  music.SetVolume(0.5);
  using Step = std::pair<std::function<void()>, const char*>;
  auto update = [&] { music.Update(); };
  const Step steps[] = {
      {[&] { music.PlayMusic(0); }, "0.500 playing on"},
      {[&] { music.SetSongVolume(0, 0.5); }, "0.250 playing on"},
      {[&] { music.PlayMusic(0); }, "0.250 playing on"},  // already playing: nothing changes
      {[&] { music.FadeIn(0, -1, 0.5); }, "0.250 playing on"},
      {update, "0.250 playing on"},
      {[&] { music.SetSongVolume(0, 1); }, "0.500 playing on"},
      {[&] { music.FadeOut(0, false, 0.25); }, "0.500 playing on"},
      {update, "0.375 playing on"},
      {update, "0.250 playing on"},
      {update, "0.125 playing on"},
      {update, "0.000 playing on"},
      {update, "0.000 playing on"},  // at volume 0, still playing
      {[&] { music.StopMusic(0); }, "0.000 initial off"},
      {[&] { music.FadeIn(0, -1, 0.5, false); }, "0.000 playing on"},
      {update, "0.250 playing on"},
      {update, "0.500 playing on"},
      {update, "0.500 playing on"},  // held at the song's maximum
      {[&] { music.FadeOut(0, true, 0.5); }, "0.500 playing on"},
      {update, "0.250 playing on"},
      {update, "0.000 playing on"},
      {update, "0.000 initial off"},                                // below silence: stopped and rewound
      {[&] { music.FadeOut(0, true, 0.5); }, "0.000 initial off"},  // silent songs take no fade-out
      {[&] { music.ResumeMusic(0); }, "0.000 playing on"},
      {update, "0.000 playing on"},
      {[&] { music.FadeOutAll(true, 0.5); }, "0.000 playing on"},  // all songs, whatever their volume
      {update, "0.000 initial off"},
      {[&] { music.PlayMusic(0, 0, true); }, "0.500 playing on"},
      {[&] { music.PauseMusic(0); }, "0.500 paused off"},
      {[&] { music.ResumeMusic(0); }, "0.500 playing on"},
      {[&] { music.SetVolume(0), al->alSourceStop(music.SourceOf(0)), update(); }, "0.000 stopped on"},
      {[&] { music.SetVolume(0.25), update(); }, "0.250 playing on"},  // a source run dry is refilled only when heard
      {[&] { music.PauseAllMusic(); }, "0.250 paused off"},
      {[&] { music.ResumeAllMusic(); }, "0.250 playing on"},
      {[&] { music.StopAllMusic(); }, "0.250 initial off"},  // silent: the gain stays as it was
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].first();
    EXPECT_EQ(SongState(music, *al, 0), steps[i].second) << "step " << i;
    EXPECT_EQ(al->alGetError(), AL_NO_ERROR) << "step " << i;  // every call the library's own
  }
  EXPECT_EQ(SongState(music, *al, 2), "0.000 initial off");  // "off": not playing
  const ALuint source = music.SourceOf(0);
  for (int song : {0, 2}) music.UnloadMusic(song);  // the second after the first one's buffers are gone
  music.PlayMusic(0);
  EXPECT_EQ((std::tuple{music.IsPlaying(0), music.SourceOf(0), al->alIsSource(source), al->alGetError()}),
            std::tuple(false, 0u, AL_FALSE, AL_NO_ERROR));
  // A song shorter than the ring queues what it has, in its own format; a damaged song does not load.
  ZingTest::TempFolder folder;
  const Bytes shortSong = AudioTest::EncodeSweep(1, 0.1);
  folder.Write("short.ogg", std::string(shortSong.begin(), shortSong.end()));
  folder.Write("damaged.ogg", std::string(shortSong.begin(), shortSong.begin() + 200));
  EXPECT_FALSE(music.LoadMusic(4, folder.File("damaged.ogg")));
  // Without a current context the library refuses every call: neither a song nor an effect loads.
  ALCcontext* context = al->alcGetCurrentContext();
  al->alcMakeContextCurrent(nullptr);
  EXPECT_FALSE(music.LoadMusic(4, folder.File("short.ogg")) ||
               Zing::OpenALSoundManager().LoadSound(folder.File("short.ogg")) >= 0);
  al->alcMakeContextCurrent(context);
  ASSERT_TRUE(music.LoadMusic(3, folder.File("short.ogg")));
  al->alGetSourcei(music.SourceOf(3), AL_BUFFERS_QUEUED, &queued);
  // Played and stopped, the source counts its buffer as played: taken off, it
  // holds 4410 mono samples of 2 bytes, part of one buffer.
  ALuint buffer = 0;
  al->alSourcePlay(music.SourceOf(3));
  al->alSourceStop(music.SourceOf(3));
  al->alSourceUnqueueBuffers(music.SourceOf(3), 1, &buffer);
  EXPECT_EQ(std::tuple_cat(std::tuple(queued), BufferOf(*al, buffer)), std::tuple(1, 1, AudioTest::kRate, 8820));
  al->alSourceQueueBuffers(music.SourceOf(3), 1, &buffer);
  music.PlayMusic(3);
  music.StopMusic(3);  // takes its buffer off before queueing it again
  al->alGetSourcei(music.SourceOf(3), AL_BUFFERS_QUEUED, &queued);
  EXPECT_EQ(queued, 1);
  // Once the library has no source left a song does not load, and the songs loaded keep theirs.
  int loaded = 10;
  while (loaded < 2000 && music.LoadMusic(loaded, folder.File("short.ogg"))) ++loaded;
  EXPECT_EQ(std::pair(loaded < 2000, al->alIsSource(music.SourceOf(3))), std::pair(true, ALboolean{AL_TRUE}));
  music.UnloadAllMusic();
  EXPECT_EQ(std::pair(music.SourceOf(3), al->alGetError()), std::pair(0u, AL_NO_ERROR));
  Zing::ReleaseOpenAL();
}

// The library's refusals, scripted through its own entry points: a buffer it
// will not fill is deleted, a song it gives no source to gives back its
// buffers, and a stopped song takes every played buffer off to refill it.
TEST(AudioLibrary, RefusalsGiveEverythingBackAndPlayedBuffersAreAllRefilled) {
  auto* al = const_cast<Zing::OpenALFunctions*>(Zing::AcquireOpenAL());
  ASSERT_NE(al, nullptr);
  static const Zing::OpenALFunctions real = *al;
  static std::deque<ALenum> errors;  // the next answers of alGetError, then the library's own
  static std::vector<ALuint> made;   // the buffers of the last alGenBuffers
  static int unqueued = 0;
  struct Restore {  // the library's own entry points again, however the test ends
    Zing::OpenALFunctions* al;
    ~Restore() { *al = real; }
  } restore{al};
  al->alGetError = [] {
    const ALenum own = real.alGetError(), next = errors.empty() ? own : errors.front();
    return errors.empty() ? own : (errors.pop_front(), next);
  };
  al->alGenBuffers = [](ALsizei n, ALuint* ids) { real.alGenBuffers(n, ids), made.assign(ids, ids + n); };
  al->alSourceUnqueueBuffers = [](ALuint id, ALsizei n, ALuint* ids) {
    real.alSourceUnqueueBuffers(id, n, ids), unqueued += n;
  };
  Zing::OpenALSoundManager sounds;
  Zing::OpenALMusicInterface music;
  errors = {AL_NO_ERROR, AL_NO_ERROR, AL_OUT_OF_MEMORY};  // cleared, buffer made, data refused
  EXPECT_EQ(
      (std::tuple{sounds.LoadSound(DataFile("sounds/gui_click")), sounds.GetNumSounds(), al->alIsBuffer(made[0])}),
      std::tuple(-1, 0, ALboolean{AL_FALSE}));
  errors = {AL_NO_ERROR, AL_NO_ERROR, AL_OUT_OF_MEMORY};  // cleared, buffers made, source refused
  EXPECT_EQ((std::tuple{music.LoadMusic(0, DataFile("music/game.ogg")), made.size(), al->alIsBuffer(made[7])}),
            std::tuple(false, 8ul, ALboolean{AL_FALSE}));
  errors = {AL_NO_ERROR, AL_INVALID_VALUE, AL_NO_ERROR, AL_INVALID_VALUE};  // buffers refused
  EXPECT_FALSE(music.LoadMusic(0, DataFile("music/game.ogg")) || sounds.LoadSound(0u, DataFile("sounds/gui_click")));
  ASSERT_TRUE(music.LoadMusic(0, DataFile("music/game.ogg")));
  music.PlayMusic(0);
  real.alSourceStop(music.SourceOf(0));
  EXPECT_EQ((music.Update(), unqueued), 8);
  Zing::ReleaseOpenAL();
}

// Without the library the application starts, everything loads and nothing
// is heard; music still keeps its state, the loop's fades and shutting down end it.
struct AppSound : ZingTest::NullAppFixture<ZingTest::NullApp<>> {};

TEST_F(AppSound, StartsWithoutTheAudioLibrary) {
  Zing::SetOpenALLibraryName("libzing-no-such-audio.so.9");
  MakeApp();
  app->registryKey = "ZingTest\\Sound";
  app->Init();
  auto* sounds = dynamic_cast<Zing::OpenALSoundManager*>(app->soundManager.get());
  auto* music = dynamic_cast<Zing::OpenALMusicInterface*>(app->musicInterface.get());
  ASSERT_TRUE(app->initialized && app->exits.empty() && sounds && music);
  EXPECT_FALSE(sounds->IsAudible() || music->IsAudible());
  EXPECT_EQ((std::tuple{sounds->LoadSound(DataFile("sounds/gui_click")), sounds->LoadSound(DataFile("sounds/missing")),
                        sounds->GetSoundInstance(255)}),
            std::tuple(255, -1, nullptr));
  app->PlaySample(255);
  sounds->SetMasterVolume(0.5);
  EXPECT_DOUBLE_EQ(sounds->GetMasterVolume(), 0.5);
  ASSERT_TRUE(music->LoadMusic(0, DataFile("music/game.ogg")));
  music->PlayMusic(0, 0, true);
  music->FadeOut(0, true, 0.6);
  for (bool playing : {true, false}) {
    app->UpdateFrames();
    EXPECT_EQ(music->IsPlaying(0), playing);
  }
  music->PlayMusic(0);
  app->Shutdown();  // stops the music
  EXPECT_FALSE(music->IsPlaying(0));
  app.reset();
  Zing::SetOpenALLibraryName(Zing::kOpenALLibraryName);
}

}  // namespace
