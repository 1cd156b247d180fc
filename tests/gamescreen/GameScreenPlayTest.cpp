// The play screen in the widget manager: a logic tick every fifth update, the
// menu panel marked dirty after every tick, and pausing. (The whole shell
// plays a level through window messages.)

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"
#include "game/puzzle/GameScreen.h"
#include "tests/gamescreen/CodeImages.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using Lintwick::CellCentreX;
using Lintwick::CellCentreY;
using Lintwick::kGameScreenX;

struct NoWindow : Zing::WidgetManagerHost {
  void SetCursor(int) override {}
  void ReleaseMouseCapture() override {}
  bool IsHardwareAccelerated() const override { return false; }
};

class GameScreenPlay : public ::testing::Test {
 protected:
  GameScreenPlay() {
    LintwickTest::LevelFromMap({"", ".a.A"}, {{0x21}}).InstallInto(host);
    manager.SetMouseRects(Zing::Rect(0, 0, 640, 480), Zing::Rect(0, 0, 640, 480));
    panel.Resize(0, 0, kGameScreenX, 480);
    screen = std::make_unique<Lintwick::GameScreen>(host, &panel);
    manager.AddWidget(&panel);
    manager.AddWidget(screen.get());
  }
  ~GameScreenPlay() override {
    manager.RemoveWidget(screen.get());
    manager.RemoveWidget(&panel);
  }

  // One logic tick: five updates of the manager.
  void Tick() {
    ++host.tick;
    for (int i = 0; i < Lintwick::kUpdatesPerTick; ++i) manager.UpdateFrame();
  }
  void MoveTo(int x, int y) { manager.MouseMove(kGameScreenX + CellCentreX(x), CellCentreY(y)); }

  LintwickTest::CodeImages images;
  LintwickTest::FakeHost host;
  NoWindow window;
  Zing::WidgetManager manager{&window};
  Zing::Widget panel;
  std::unique_ptr<Lintwick::GameScreen> screen;
};

TEST_F(GameScreenPlay, TicksEveryFifthUpdateMarkThePanelAndStandStillWhenPaused) {
  panel.dirty = false;
  Tick();
  EXPECT_TRUE(panel.dirty);  // the panel follows level and score
  for (int i = 0; i < 3; ++i) manager.UpdateFrame();
  const int counted = screen->updateCount;
  screen->Pause(true);
  MoveTo(1, 1);
  for (int i = 0; i < 20; ++i) manager.UpdateFrame();
  EXPECT_EQ(screen->updateCount, counted);
  EXPECT_FALSE(screen->mHoverOnPiece || screen->mHoverX == 1);  // no tick has placed the hover
  screen->Pause(false);
  manager.UpdateFrame();
  EXPECT_FALSE(screen->mHoverX == 1);
  manager.UpdateFrame();  // the fifth update runs the tick
  EXPECT_EQ(screen->mHoverX, 1);
  EXPECT_EQ(screen->mHoverY, 1);
  // A click outside the board is ignored.
  manager.MouseDown(kGameScreenX + 455, 100, 1);
  Tick();
  EXPECT_EQ(screen->mCube, nullptr);
}

}  // namespace
