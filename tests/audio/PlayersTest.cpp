// The effects and music players on the audio library's null output (real
// mixing, nothing heard).

#include <gtest/gtest.h>

#include "framework/audio/OpenALBinding.h"
#include "framework/audio/OpenALMusicInterface.h"
#include "framework/audio/OpenALSoundManager.h"
#include "tests/audio-data/OggFiles.h"
#include "tests/support/NullApp.h"

namespace {

using AudioTest::DataFile;
using Zing::OpenALSoundInstance;

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
