// The whole game over the generated levels of the data folder, played by a
// test player through the mouse entry points: for every level it clicks each
// link's start node and moves the mouse cell by cell along the stored
// solution, one cell per tick, then waits out the transition. Every level is
// solvable this way and pays every laid cell and its level points.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using Lintwick::CellCentreX;
using Lintwick::CellCentreY;
using LintwickTest::Player;

constexpr int kLevels = 100;
constexpr int kTickLimit = 2000;  // far more than any level needs

int LevelPoints(int level) { return 500 + (level * 4500) / 99; }

// One mouse move into the cell (over a point off its centre first, as a hand
// would), then the tick that takes the step.
void StepInto(Player& p, int x, int y) {
  p->HandleMouseMove(CellCentreX(x) - 9, CellCentreY(y) + 7);
  p.Step(x, y);
}

// Joins every link of the current level along its stored solution; answers
// the cells laid.
int SolveLevel(Player& p) {
  int laid = 0;
  for (int link = 0; link < Lintwick::kMaxLinks; ++link) {
    if (!p.LinkOf(link).Exists()) continue;
    p.WaitForCube(kTickLimit);
    const Lintwick::Piece* start = p.LinkOf(link).At(1);
    p.ClickAndTick(start->x, start->y);
    EXPECT_EQ(p->mCurrentLink, link) << "link " << link;
    for (int code : p->mSolution[static_cast<std::size_t>(link)]) {
      if (code == Lintwick::kNoCell) break;
      const int before = p->GetScore();
      StepInto(p, Lintwick::CellCodeX(code), Lintwick::CellCodeY(code));
      EXPECT_EQ(p->GetScore(), before + 1) << "link " << link;
      ++laid;
    }
    const Lintwick::Piece* target = p.LinkOf(link).At(0);
    StepInto(p, target->x, target->y);
    EXPECT_TRUE(p.LinkOf(link).completed) << "link " << link;
  }
  return laid;
}

TEST(WholeGame, GeneratedLevelsAreSolvedByTheirStoredSolutions) {
  auto host = LintwickTest::GeneratedLevels();
  if (!host) GTEST_SKIP() << "no level files in $LINTWICK_DATA_DIR/levels: the level generator has not written them";
  Player p(std::move(*host));
  p->NewGame();
  int expected = 0;
  for (int level = 0; level < kLevels; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    ASSERT_EQ(p->GetLevel(), level);
    EXPECT_EQ(p->mLevelPoints, LevelPoints(level));
    expected += SolveLevel(p) + LevelPoints(level);
    ASSERT_EQ(p->mShutterTick, 1) << "the level is not complete";
    EXPECT_EQ(p->mLevelPointsShown, LevelPoints(level));
    // The last level ends the game instead (as the transition's own test shows).
    if (level == kLevels - 1) break;
    EXPECT_EQ(p->mTransitionKind, Lintwick::kNextLevel);
    for (int i = 0; i < kTickLimit && p->mShutterTick != 0; ++i) p.Tick();
    ASSERT_EQ(p->GetScore(), expected);
  }
}

}  // namespace
