// A recorded game played back: the language changed through the options,
// a new game, the first level solved with the mouse, and the exit; the
// playback, on a machine without the settings or the saved game, must end in
// the same saved game, score and settings, and leave the stored settings alone.

#include <filesystem>
#include <string>

#include "tests/shell/ShellTestSupport.h"

namespace {

using namespace Lintwick;
using LintwickTest::ShellFixture;

using DemoGame = ShellFixture;

TEST_F(DemoGame, APlayedLevelPlaysBackToTheSameSavedGameScoreAndSettings) {
  app->commandLine = "-record -demofile=game.dmo";
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  LanguageDialog* language = PickGerman(OpenOptions());
  ASSERT_NE(language, nullptr);
  ClickCentre(language->yesButton->GetRect());
  ClickFooter(DIALOG_OPTIONS);
  ASSERT_EQ(app->mLocale, "De");
  ClickCentre(app->mStartScreen->GetButton(0)->GetRect());
  ClickFooter(DIALOG_HELP);
  ASSERT_NO_FATAL_FAILURE(SolveLevel());
  RunFor(500);
  ClickCentre(app->mMainMenu->GetButton(3)->GetRect());
  ClickFooter(DIALOG_CONFIRM_EXIT);
  ASSERT_TRUE(app->shutdown);
  const std::string saved = home.Read("data/save/game.dat");
  ASSERT_FALSE(saved.empty());
  const int score = app->mGameScreen->GetScore();
  const int updates = app->updateCount;
  const bool windowed = app->windowed;
  app.reset();  // writes the demo

  // Another machine: no settings and no saved game.
  std::filesystem::remove_all(home.Path() + "/TamoGames");
  std::filesystem::remove(home.Path() + "/data/save/game.dat");
  services = new LintwickTest::NullServices;
  services->clock = 777777;
  services->appDataFolder = home.Path() + "/data/";
  app = std::make_unique<LintwickTest::ShellApp>(services);
  app->commandLine = "-play -demofile=game.dmo";
  Start();
  ASSERT_TRUE(app->exits.empty());
  for (int i = 0; i < 200000 && !app->shutdown; ++i) app->UpdateApp();
  ASSERT_TRUE(app->shutdown);
  EXPECT_EQ(app->updateCount, updates);
  EXPECT_EQ(home.Read("data/save/game.dat"), saved);
  ASSERT_NE(app->mGameScreen, nullptr);
  EXPECT_EQ(app->mGameScreen->GetScore(), score);
  EXPECT_EQ(app->mLocale, "De");
  EXPECT_EQ(app->windowed, windowed);
  // Nothing of the game is stored; the run itself ended normally.
  const std::string settings = home.Read("TamoGames/Lintwick/settings.reg");
  EXPECT_EQ(settings.find("Locale"), std::string::npos);
  EXPECT_EQ(settings.find("UnlockedLevel"), std::string::npos);
  EXPECT_NE(settings.find("\"InProgress\"=dword:00000000"), std::string::npos);
}

}  // namespace
