// The game without a mouse: from the splash through the first level, the menu
// panel and its dialogs with key messages alone; a controller's Start key opens
// the options.

#include <string>
#include <utility>

#include "framework/platform/KeyCodes.h"
#include "framework/widget/ButtonWidget.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

using namespace Lintwick;
using LintwickTest::MessageCode;
using LintwickTest::ShellFixture;

using LintwickTest::Shown;

struct KeyboardFlow : ShellFixture {
  // A key, then time for the logic tick that takes it.
  void Press(int key) {
    Key(key);
    RunFor(60);
  }
  void Arrows(int from, int to, int less, int more) {
    for (; from < to; ++from) Press(more);
    for (; from > to; --from) Press(less);
  }
  // Leads the highlight to a cell with the arrows.
  void HighlightTo(int x, int y) {
    GameScreen* game = app->mGameScreen;
    Arrows(game->mHoverX, x, Zing::KEYCODE_LEFT, Zing::KEYCODE_RIGHT);
    Arrows(game->mHoverY, y, Zing::KEYCODE_UP, Zing::KEYCODE_DOWN);
  }
  // Draws from the current cell into a neighbour.
  void StepTo(int& x, int& y, int toX, int toY) {
    Arrows(x, toX, Zing::KEYCODE_LEFT, Zing::KEYCODE_RIGHT);
    Arrows(y, toY, Zing::KEYCODE_UP, Zing::KEYCODE_DOWN);
    x = toX;
    y = toY;
  }

  // Plays the shown level along its stored solution with the arrows and Enter.
  void SolveLevelWithKeys() {
    GameScreen* game = app->mGameScreen;
    const int level = game->GetLevel();
    for (int link = 0; link < kMaxLinks; ++link) {
      if (!game->GetLink(link).Exists()) continue;
      for (int i = 0; i < 400 && game->mCube != nullptr; ++i) RunFor(50);
      int x = game->GetLink(link).At(1)->x;
      int y = game->GetLink(link).At(1)->y;
      HighlightTo(x, y);
      Press(Zing::KEYCODE_RETURN);
      for (int code : game->mSolution[static_cast<std::size_t>(link)]) {
        if (code == kNoCell) break;
        StepTo(x, y, CellCodeX(code), CellCodeY(code));
      }
      StepTo(x, y, game->GetLink(link).At(0)->x, game->GetLink(link).At(0)->y);
      ASSERT_TRUE(game->GetLink(link).completed) << "link " << link;
      // The highlight stays on the target node.
      EXPECT_EQ(std::pair(game->mHoverX, game->mHoverY), std::pair(x, y));
    }
    for (int i = 0; i < 400 && game->GetLevel() == level; ++i) RunFor(50);
    ASSERT_EQ(game->GetLevel(), level + 1);
  }

  Zing::Widget* Focus() { return app->GetWidgetManager()->focusWidget; }
};

TEST_F(KeyboardFlow, TheKeysAloneFromTheSplashThroughALevelAndTheMenu) {
  Start();
  ASSERT_TRUE(app->exits.empty());
  Press(Zing::KEYCODE_START);  // a controller's Start: the splash has no options
  EXPECT_EQ(app->GetDialogCount(), 0);
  Press(Zing::KEYCODE_SPACE);  // the start link has the focus
  ASSERT_TRUE(Shown(app->mStartScreen));
  Press(Zing::KEYCODE_START);  // the menu's options, but not a second time over themselves
  Press(Zing::KEYCODE_START);
  ASSERT_EQ(std::pair(app->GetDialogCount(), app->GetDialog(DIALOG_OPTIONS) != nullptr), std::pair(1, true));
  Press(Zing::KEYCODE_ESCAPE);
  EXPECT_EQ(Focus(), app->mStartScreen->GetButton(0));
  // Tab and the arrows walk the start screen's and the panel's buttons.
  Press(Zing::KEYCODE_DOWN);
  Press(Zing::KEYCODE_TAB);
  EXPECT_EQ(Focus(), app->mStartScreen->GetButton(2));
  for (int i = 0; i < 3; ++i) Press(Zing::KEYCODE_UP);
  EXPECT_EQ(Focus(), app->mMainMenu->GetButton(MainMenu::kButtonCount - 1));
  Press(Zing::KEYCODE_DOWN);
  EXPECT_EQ(Focus(), app->mStartScreen->GetButton(0));

  // New, with the help over the board: Escape closes it and the board has the keys.
  Press(Zing::KEYCODE_RETURN);
  ASSERT_TRUE(Shown(app->mGameScreen));
  ASSERT_NE(app->GetDialog(DIALOG_HELP), nullptr);
  Press(Zing::KEYCODE_ESCAPE);
  ASSERT_EQ(app->GetDialog(DIALOG_HELP), nullptr);
  EXPECT_EQ(Focus(), app->mGameScreen);
  ASSERT_NO_FATAL_FAILURE(SolveLevelWithKeys());
  RunFor(500);

  // Tab leads to the panel; Options opens on Enter, and Escape closes it
  // with the focus back on its button.
  Press(Zing::KEYCODE_TAB);
  Press(Zing::KEYCODE_DOWN);
  ASSERT_EQ(Focus(), app->mMainMenu->GetButton(1));
  Press(Zing::KEYCODE_RETURN);
  ASSERT_NE(app->GetDialog(DIALOG_OPTIONS), nullptr);
  EXPECT_TRUE(app->mGameScreen->IsPaused());
  Press(Zing::KEYCODE_ESCAPE);
  EXPECT_EQ(std::pair(app->GetDialog(DIALOG_OPTIONS), Focus()),
            std::pair(static_cast<Zing::Dialog*>(nullptr), static_cast<Zing::Widget*>(app->mMainMenu->GetButton(1))));
  // Exit: Escape answers no, Enter on the focused YES leaves.
  Press(Zing::KEYCODE_DOWN);
  Press(Zing::KEYCODE_DOWN);
  Press(Zing::KEYCODE_RETURN);
  ASSERT_NE(app->GetDialog(DIALOG_CONFIRM_EXIT), nullptr);
  Press(Zing::KEYCODE_ESCAPE);
  ASSERT_EQ(app->GetDialog(DIALOG_CONFIRM_EXIT), nullptr);
  EXPECT_FALSE(app->shutdown);
  Press(Zing::KEYCODE_RETURN);
  Press(Zing::KEYCODE_RETURN);
  ASSERT_TRUE(app->shutdown);
}

}  // namespace
