// The play screen in the widget manager: the first generated level solved
// through mouse messages, the shutters running and the next level built, the
// menu panel marked dirty after every tick, and pausing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"
#include "game/puzzle/GameScreen.h"
#include "tests/gamescreen/CodeImages.h"
#include "tests/puzzle/FakeHost.h"

namespace {

using Lintwick::CellCentreX;
using Lintwick::CellCentreY;
using Lintwick::kGameScreenX;

struct NoWindow : Zing::WidgetManagerHost {
  void SetCursor(int) override {}
  void ReleaseMouseCapture() override {}
  bool IsHardwareAccelerated() const override { return false; }
};

bool ReadLevels(LintwickTest::FakeHost& host) {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  if (!dir) return false;
  const std::pair<const char*, const char*> files[] = {{Lintwick::kBoardFile, "level_b.dat"},
                                                       {Lintwick::kNodeFile, "level_n.dat"},
                                                       {Lintwick::kSolutionFile, "level_l.dat"}};
  for (const auto& [name, file] : files) {
    std::ifstream in(std::string(dir) + "/levels/" + file, std::ios::binary);
    if (!in) return false;
    host.files[name] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return true;
}

class GameScreenPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ReadLevels(host)) GTEST_SKIP() << "no level files in $LINTWICK_DATA_DIR/levels";
    manager.SetMouseRects(Zing::Rect(0, 0, 640, 480), Zing::Rect(0, 0, 640, 480));
    panel.Resize(0, 0, kGameScreenX, 480);
    screen = std::make_unique<Lintwick::GameScreen>(host, &panel);
    manager.AddWidget(&panel);
    manager.AddWidget(screen.get());
  }
  void TearDown() override {
    if (screen) manager.RemoveWidget(screen.get());
    manager.RemoveWidget(&panel);
  }

  // One logic tick: five updates of the manager.
  void Tick() {
    ++host.tick;
    for (int i = 0; i < Lintwick::kUpdatesPerTick; ++i) manager.UpdateFrame();
  }
  void MoveTo(int x, int y) { manager.MouseMove(kGameScreenX + CellCentreX(x), CellCentreY(y)); }
  void WaitForCube() {
    for (int i = 0; i < 200 && screen->mCube; ++i) Tick();
  }

  // Joins every link along its stored solution, pressing on the start node and
  // dragging cell by cell into the target.
  void SolveLevel() {
    for (int link = 0; link < Lintwick::kMaxLinks; ++link) {
      if (!screen->GetLink(link).Exists()) continue;
      WaitForCube();
      const Lintwick::Piece* start = screen->GetLink(link).At(1);
      const Lintwick::Piece* target = screen->GetLink(link).At(0);
      MoveTo(start->x, start->y);
      manager.MouseDown(kGameScreenX + CellCentreX(start->x), CellCentreY(start->y), 1);
      Tick();
      for (int code : screen->mSolution[static_cast<std::size_t>(link)]) {
        if (code == Lintwick::kNoCell) break;
        MoveTo(Lintwick::CellCodeX(code), Lintwick::CellCodeY(code));
        Tick();
      }
      MoveTo(target->x, target->y);
      Tick();
      manager.MouseUp(kGameScreenX + CellCentreX(target->x), CellCentreY(target->y), 1);
      ASSERT_TRUE(screen->GetLink(link).completed) << "link " << link;
    }
  }

  LintwickTest::CodeImages images;
  LintwickTest::FakeHost host;
  NoWindow window;
  Zing::WidgetManager manager{&window};
  Zing::Widget panel;
  std::unique_ptr<Lintwick::GameScreen> screen;
};

TEST_F(GameScreenPlay, ASolvedLevelRunsTheShuttersAndReachesTheNextLevel) {
  panel.dirty = false;
  Tick();
  EXPECT_TRUE(panel.dirty);  // the panel follows level and score

  SolveLevel();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(screen->mShutterTick, 1);
  const int pointsOfLevel = screen->mLevelPointsShown;
  const int scoreBefore = screen->GetScore();
  int widest = 0;
  for (int i = 0; i < 200 && screen->mShutterTick != 0; ++i) {
    Tick();
    widest = std::max(widest, screen->mShutterOffset);
  }
  EXPECT_EQ(screen->mShutterTick, 0);
  EXPECT_EQ(widest, Lintwick::kShutterTravel);
  EXPECT_EQ(screen->GetLevel(), 1);
  EXPECT_EQ(screen->GetScore(), scoreBefore + pointsOfLevel);
  EXPECT_EQ(host.Count("SOUND_SHUTTERS_MOVE"), 2);
  EXPECT_EQ(host.Count("SOUND_SHUTTERS_BUMP"), 1);
  EXPECT_EQ(host.Count("SOUND_SHUTTERS_BLUR"), 1);
  EXPECT_EQ(screen->mVortexesLeft, screen->GetVortexAllowance());
}

TEST_F(GameScreenPlay, PausedScreenStandsStillAndResumesInTheSameRhythm) {
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
