// The application's sound plumbing: the players made at start-up, volumes
// and muting passed on, music updated by the loop, and a start without the
// audio library.

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/audio/OpenALBinding.h"
#include "framework/audio/OpenALMusicInterface.h"
#include "framework/audio/OpenALSoundManager.h"
#include "tests/support/NullApp.h"

namespace {

using Zing::Platform::NullServices;

class SoundApp : public ZingTest::NullApp<> {
 public:
  explicit SoundApp(NullServices* nullServices) : NullApp(nullServices) { registryKey = "ZingTest\\Sound"; }
};

struct AppSound : ZingTest::NullAppFixture<SoundApp> {
  void SetUp() override { MakeApp(); }
};

TEST_F(AppSound, PlayersFollowVolumesAndMuting) {
  // The game's data folder, with main.pak, as the working folder.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(LINTWICK_BUILD_DATA_DIR);
  app->Init();
  ASSERT_TRUE(app->initialized);
  auto* sounds = dynamic_cast<Zing::OpenALSoundManager*>(app->soundManager.get());
  auto* music = dynamic_cast<Zing::OpenALMusicInterface*>(app->musicInterface.get());
  ASSERT_NE(sounds, nullptr);
  ASSERT_NE(music, nullptr);
  EXPECT_FLOAT_EQ(sounds->Volume(), 0.85f);
  app->SetSfxVolume(0.5);
  EXPECT_FLOAT_EQ(sounds->Volume(), 0.5f);
  app->Mute(true);
  EXPECT_FLOAT_EQ(sounds->Volume(), 0.0f);
  app->Unmute(true);
  EXPECT_FLOAT_EQ(sounds->Volume(), 0.5f);

  // Effects load the way the resource manager asks for them: a path without
  // extension, found in main.pak.
  const int id = sounds->LoadSound("sounds/gui_click");
  ASSERT_GE(id, 0);
  app->PlaySample(id);
  app->PlaySample(id, 10);
  app->PlaySample(-1);
  app->PlaySample(300);

  // The loop's update advances the music's fades.
  ASSERT_TRUE(music->LoadMusic(0, "music/game.ogg"));
  music->PlayMusic(0);
  music->FadeOut(0, true, 0.5);
  app->UpdateFrames();
  app->UpdateFrames();
  app->UpdateFrames();
  EXPECT_FALSE(music->IsPlaying(0));
  music->PlayMusic(0);
  app->Shutdown();  // stops the music
  EXPECT_FALSE(music->IsPlaying(0));
  EXPECT_TRUE(app->exits.empty());
  std::filesystem::current_path(before);
}

// Without the library everything loads and nothing is heard; music still
// keeps its state, and fades end it.
TEST_F(AppSound, StartsWithoutTheAudioLibrary) {
  Zing::SetOpenALLibraryName("libzing-no-such-audio.so.9");
  app->Init();
  EXPECT_TRUE(app->initialized);
  EXPECT_TRUE(app->exits.empty());
  auto* sounds = dynamic_cast<Zing::OpenALSoundManager*>(app->soundManager.get());
  auto* music = dynamic_cast<Zing::OpenALMusicInterface*>(app->musicInterface.get());
  ASSERT_NE(sounds, nullptr);
  ASSERT_NE(music, nullptr);
  EXPECT_FALSE(sounds->IsAudible());
  EXPECT_FALSE(music->IsAudible());
  const int id = sounds->LoadSound(std::string(LINTWICK_BUILD_DATA_DIR) + "/sounds/gui_click");
  EXPECT_EQ(id, 255);
  EXPECT_EQ(sounds->LoadSound(std::string(LINTWICK_BUILD_DATA_DIR) + "/sounds/missing"), -1);
  EXPECT_EQ(sounds->GetSoundInstance(static_cast<unsigned>(id)), nullptr);
  app->PlaySample(id);
  sounds->SetMasterVolume(0.5);
  EXPECT_DOUBLE_EQ(sounds->GetMasterVolume(), 0.5);
  ASSERT_TRUE(music->LoadMusic(0, std::string(LINTWICK_BUILD_DATA_DIR) + "/music/game.ogg"));
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
