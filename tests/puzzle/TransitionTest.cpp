// Finishing a level: the shutter transition, its sounds, the level points,
// the end of the game, and a new game; then the whole game over the generated
// levels of the data folder, each solved through the mouse by its stored solution.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using Lintwick::CellCentreX;
using Lintwick::CellCentreY;
using LintwickTest::Player;
using Ints = std::vector<int>;

TEST(Transition, ShuttersCloseStayAndOpenAndTheLevelPaysAtTick64) {
  Player p({"aA"});
  p.Draw({{0, 0}, {1, 0}});  // the one link joined: the transition begins
  const int start = p.host.tick;
  std::map<int, int> offsets, scores;
  for (int t = 1; t <= 101; ++t) {
    p.Tick();
    offsets[t] = p->mShutterOffset;
    scores[t] = p->GetScore() + 10000 * p->GetLevel();
    EXPECT_EQ(p->mShutterTick, t < 101 ? t + 1 : 0);  // the last tick ends the transition
  }
  EXPECT_EQ(scores[63], 0);
  EXPECT_EQ(scores[64], 10000 + 500);  // paid, on the next level
  const std::map<int, int> expected{{1, 0},    {27, 0},   {28, 11},  {37, 112}, {47, 225},
                                    {64, 225}, {82, 225}, {83, 214}, {100, 23}, {101, 0}};
  for (auto [tick, offset] : expected) EXPECT_EQ(offsets[tick], offset) << "tick " << tick;
  EXPECT_EQ(Lintwick::ShutterOffsetAt(47, 213), 225);
  EXPECT_EQ(Lintwick::ShutterOffsetAt(101, 23), 12);  // set, then the transition ends in the same tick

  EXPECT_EQ(p.host.TicksOf("SOUND_SHUTTERS_MOVE"), (Ints{start + 27, start + 82}));
  EXPECT_EQ(p.host.TicksOf("SOUND_SHUTTERS_BUMP"), Ints{start + 47});
  EXPECT_EQ(p.host.TicksOf("SOUND_SHUTTERS_BLUR"), Ints{start + 62});
  // The next level, built afresh, pays more.
  EXPECT_EQ(std::tuple(p->GetLevel(), p->mLevelPointsShown, p->mLevelPoints), std::tuple(1, 500, 500 + 4500 / 99));
  EXPECT_FALSE(p.LinkOf(0).completed);
}

TEST(Transition, TheLastLevelEndsTheGameAtTick82) {
  Player p({"aA"});
  p->mLevel = 99;
  p->RestartLevel();
  p->mScore = 1234;
  p.Draw({{0, 0}, {1, 0}});  // the one link joined: the transition begins
  const int start = p.host.tick;
  EXPECT_EQ(p->mTransitionKind, Lintwick::kGameDone);
  EXPECT_EQ(p->mLevelPointsShown, 5000);
  p.Tick(80);
  EXPECT_FALSE(p->IsGameCompleteTransition());
  p.Tick(2);
  EXPECT_TRUE(p->IsGameCompleteTransition() && p->GetLevel() == 0);
  ASSERT_EQ(p.host.TicksOf("HighScores"), Ints{start + 82});
  EXPECT_EQ(p.host.requests.back().value, "6234");
  // No shutter sound at the end; the transition stands until the shell stops
  // it, and the final score is paid only once.
  EXPECT_EQ(p.host.TicksOf("SOUND_SHUTTERS_MOVE"), Ints{start + 27});
  p.Tick(50);
  EXPECT_TRUE(p->IsGameCompleteTransition());
  EXPECT_EQ(std::pair(p->GetScore(), p.host.Count("HighScores")), std::pair(6234, 1));
  p->StopTransition();
  EXPECT_EQ(p->mShutterTick + p->mShutterOffset, 0);
}

TEST(Transition, NewGameStartsOverAtTheFirstLevel) {
  Player p({"aA"});
  p->mLevel = 40;
  p->mScore = 999;
  p->mHintsLeft = 3;
  p->mBarBlink = 5;
  p->mBarHighlight = 1;
  p->mShutterTick = 30;
  p->mShutterOffset = 33;
  p->NewGame();
  EXPECT_EQ(std::tuple(p->GetLevel(), p->GetScore(), p->mHintsLeft, p->mLevelPoints), std::tuple(0, 0, 10, 500));
  EXPECT_EQ(p->mBarBlink + p->mBarHighlight + p->mShutterTick + p->mShutterOffset, 0);
  EXPECT_EQ(p.host.Names(), std::vector<std::string>{"FreshGame"});
}

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
