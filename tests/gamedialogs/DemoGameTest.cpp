// A recorded game played back: the language changed through the options,
// a new game, the first level solved with the mouse, and the exit; the
// playback, on a machine without the settings or the saved game, must end in
// the same saved game, score and settings, and leave the stored settings alone.

#include <filesystem>
#include <string>

#include "game/puzzle/GameScreen.h"
#include "game/shell/DialogIds.h"
#include "game/shell/LanguageDialog.h"
#include "game/shell/MainMenu.h"
#include "game/shell/OptionsDialog.h"
#include "tests/gamedialogs/GameDialogSupport.h"

namespace {

using namespace Lintwick;
using LintwickTest::GameDialogFixture;

struct DemoGame : GameDialogFixture {
  void ChooseGerman() {
    ClickCentre(app->mMainMenu->GetButton(1)->GetRect());
    auto* options = dynamic_cast<OptionsDialog*>(app->GetDialog(DIALOG_OPTIONS));
    ASSERT_NE(options, nullptr);
    ClickCentre(options->GetButton(OptionsDialog::ID_LANGUAGE)->GetRect());
    auto* language = dynamic_cast<LanguageDialog*>(app->GetDialog(DIALOG_LANGUAGE));
    ASSERT_NE(language, nullptr);
    Zing::ListWidget* list = language->GetList();
    Click(list->x + 20, list->y + 4 + list->itemHeight + list->itemHeight / 2);
    ClickCentre(language->yesButton->GetRect());
    ClickFooter(DIALOG_OPTIONS);
    ASSERT_EQ(app->mLocale, "De");
  }
};

TEST_F(DemoGame, APlayedLevelPlaysBackToTheSameSavedGameScoreAndSettings) {
  app->commandLine = "-record -demofile=game.dmo";
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  ASSERT_NO_FATAL_FAILURE(ChooseGerman());
  ClickCentre(app->mStartScreen->GetButton(0)->GetRect());
  ASSERT_NE(app->mGameScreen, nullptr);
  ClickFooter(DIALOG_HELP);
  ASSERT_NO_FATAL_FAILURE(SolveLevel());
  RunFor(500);
  ClickCentre(app->mMainMenu->GetButton(3)->GetRect());
  ClickFooter(DIALOG_CONFIRM_EXIT);
  ASSERT_TRUE(app->shutdown);
  const std::string saved = home.Read("data/save/game.dat");
  ASSERT_FALSE(saved.empty());
  const int score = app->mGameScreen->GetScore();
  EXPECT_GT(score, 0);
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
