// Finishing a level: the shutter transition, its sounds, the level points,
// the end of the game, and a new game.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

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

}  // namespace
