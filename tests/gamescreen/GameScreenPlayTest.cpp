// The play screen's rhythm: a logic tick every fifth update, the menu panel
// marked dirty after every tick, and a paused screen standing still. (The
// whole shell plays a level through window messages.)

#include <gtest/gtest.h>

#include "tests/gamescreen/CodeImages.h"

namespace {

struct GameScreenPlay : LintwickTest::CodeScreen {
  GameScreenPlay() : CodeScreen({"", ".a.A"}, {{0x21}}) {}
};

TEST_F(GameScreenPlay, TicksEveryFifthUpdateMarkThePanelAndStandStillWhenPaused) {
  screen->HandleMouseMove(Lintwick::CellCentreX(1), Lintwick::CellCentreY(1));
  panel.dirty = false;
  for (int i = 1; i < Lintwick::kUpdatesPerTick; ++i) screen->Update();
  EXPECT_NE(screen->mHoverX, 1);  // no tick has placed the hover yet
  EXPECT_FALSE(panel.dirty);
  screen->Pause(true);
  for (int i = 0; i < 20; ++i) screen->Update();
  EXPECT_EQ(screen->updateCount, Lintwick::kUpdatesPerTick - 1);
  screen->Pause(false);
  screen->Update();  // the fifth update runs the tick
  EXPECT_EQ(screen->mHoverX, 1);
  EXPECT_EQ(screen->mHoverY, 1);
  EXPECT_TRUE(panel.dirty);  // the panel follows level and score
}

}  // namespace
