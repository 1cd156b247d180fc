// The level chooser over the start screen of the running game.

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widget/Slider.h"
#include "game/shell/LevelDialog.h"
#include "game/shell/Resources.h"
#include "tests/puzzle/PuzzleTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

using namespace Lintwick;
using LintwickTest::ShellFixture;

// Window centres of the arrow buttons: the dialog stands at (187, 53).
constexpr int kLeftArrowX = 187 + 33 + 9;
constexpr int kRightArrowX = 187 + 216 + 9;
constexpr int kArrowY = 53 + 279 + 9;

struct LevelChooser : ShellFixture {
  LevelDialog* Open() {
    ClickCentre(app->mStartScreen->GetButton(2)->GetRect());
    return dynamic_cast<LevelDialog*>(app->GetDialog(DIALOG_LEVEL_CHOOSER));
  }
  int Setting(const char* name) {
    int value = -1;
    return app->RegistryReadInteger(name, value) ? value : -1;
  }
};

TEST_F(LevelChooser, ShowsEveryBoardAndStartsReachedOnesWithTheSavedScoreAndHints) {
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());

  // First run: board 1, which can be started; the arrows stop at both ends.
  LevelDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->IsLocked());
  Click(kLeftArrowX, kArrowY);
  EXPECT_EQ(dialog->GetChosenLevel(), 0);
  Click(kRightArrowX, kArrowY);
  EXPECT_EQ(dialog->GetChosenLevel(), 1);
  EXPECT_NEAR(dialog->GetSlider().value, 1.0 / 99, 1e-9);
  EXPECT_TRUE(dialog->IsLocked());
  ClickCentre(dialog->yesButton->GetRect());  // OK on a locked board does nothing
  ASSERT_EQ(app->GetDialog(DIALOG_LEVEL_CHOOSER), dialog);
  Click(kLeftArrowX, kArrowY);
  ClickCentre(dialog->yesButton->GetRect());
  ASSERT_NE(app->mGameScreen, nullptr);
  EXPECT_NE(app->mGameScreen->widgetManager, nullptr);
  EXPECT_EQ(Setting("ChosenLevel"), 0);

  // A game saved on board 10 with score 900 and 7 hints left.
  GameScreen* game = app->mGameScreen;
  if (Zing::Dialog* help = app->GetDialog(DIALOG_HELP)) ClickCentre(help->yesButton->GetRect());
  game->mLevel = 9;
  game->mScore = 900;
  game->mHintsLeft = 7;
  game->UseHint();
  app->ReturnToStartScreen();
  EXPECT_EQ(Setting("UnlockedLevel"), 9);

  // The slider at its right end: board 100, locked; CANCEL remembers it.
  dialog = Open();
  ASSERT_NE(dialog, nullptr);
  dialog->SliderValueChanged(LevelDialog::kSliderId, 1.0);
  EXPECT_EQ(dialog->GetChosenLevel(), 99);
  EXPECT_TRUE(dialog->IsLocked());
  // Its miniature, in its two top rows above the lock: a cell where the board
  // has one, none where it has a hole (cell centres at 43 + 20x, 86 + 20y in
  // the dialog). Drawn once without the cell picture: a cell shows where the
  // two differ.
  Zing::MemoryImage bare, image;
  Zing::Image* const cellPicture = IMAGE_REPLAY_CELL;
  for (Zing::MemoryImage* drawn : {&bare, &image}) {
    IMAGE_REPLAY_CELL = drawn == &bare ? nullptr : cellPicture;
    drawn->Create(dialog->width, dialog->height);
    Zing::Graphics g(drawn);
    dialog->Draw(&g);
  }
  auto levels = LintwickTest::GeneratedLevels();
  ASSERT_TRUE(levels);
  const std::string& boards = levels->files[kBoardFile];
  for (int cy = 0; cy < 2; ++cy) {
    for (int cx = 0; cx < kBoardSize; ++cx) {
      const std::size_t at = 99u * kBoardRecordSize + 2u * static_cast<std::size_t>(cy) + cx / 8;
      EXPECT_EQ(image.GetPixel(43 + 20 * cx, 86 + 20 * cy) != bare.GetPixel(43 + 20 * cx, 86 + 20 * cy),
                ((static_cast<unsigned char>(boards[at]) >> (cx % 8)) & 1) != 0)
          << cx << "," << cy;
    }
  }
  ClickCentre(dialog->noButton->GetRect());
  EXPECT_EQ(Setting("ChosenLevel"), 99);
  EXPECT_EQ(app->mShadow->widgetManager, nullptr);

  // An earlier board starts fresh with the saved score and hints (whose
  // rules the saved game's tests pin).
  dialog = Open();
  ASSERT_EQ(dialog->GetChosenLevel(), 99);
  dialog->SliderValueChanged(LevelDialog::kSliderId, 4.0 / 99);
  Click(kLeftArrowX, kArrowY);
  ClickCentre(dialog->yesButton->GetRect());
  EXPECT_EQ(game->GetLevel(), 3);
  EXPECT_EQ(app->mMainMenu->GetButton(MainMenu::kHintButton)->label, "Hint (6 left)");
  EXPECT_FALSE(game->IsPaused());
}

}  // namespace
