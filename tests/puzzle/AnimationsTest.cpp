// The tick-driven animations: the rolling cube, growing pieces, vortices and
// the blinks, and the star emitters.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/puzzle/Stars.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using LintwickTest::Player;
using Ints = std::vector<int>;

TEST(Cube, RollsFourteenTicksPerCell) {
  Player p({"a....A"});
  p.ClickAndTick(0, 0);
  const int start = p.host.tick;
  for (int x = 1; x <= 3; ++x) p.Step(x, 0);
  p.Tick(50);
  // The roll onto (1, 0) starts with the first step; each cell takes 14 ticks.
  EXPECT_EQ(p.host.TicksOf("SOUND_CUBE_TAP"), (Ints{start + 14, start + 28, start + 42}));
  EXPECT_EQ(p->mCube, p.At(3, 0));
  EXPECT_EQ(p->mCubeFrame, 1);  // waiting on the head
}

TEST(Cube, CelsFollowTheRoll) {
  // Rolling left runs the cels backwards, rolling right forwards.
  const auto roll = [](const char* row, int from, int to) {
    Player p({row});
    p.ClickAndTick(from, 0);
    p.Step(to, 0);
    Ints cels{p->mCubeCel};
    for (int i = 0; i < 13; ++i) {
      p.Tick();
      cels.push_back(p->mCubeCel);
    }
    return cels;
  };
  EXPECT_EQ(roll("A..a", 3, 2), (Ints{13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(roll("a...A", 0, 1), (Ints{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0}));
}

TEST(Cube, ThePieceLeftBehindGrowsFromRollFrameSeven) {
  Player p({"a...A"});
  p.ClickAndTick(0, 0);
  p.Step(1, 0);
  p.Step(2, 0);
  Lintwick::Piece* start = p.At(0, 0);
  EXPECT_EQ(start->frame, 0);
  p.Tick(4);  // roll frames 3..6
  EXPECT_EQ(start->frame, 0);
  p.Tick();  // roll frame 7
  EXPECT_EQ(start->frame, 1);
  EXPECT_EQ(start->frameLimit, 22);
  // A path piece grows through cels 0..10 once the cube leaves it.
  p.Tick(20);
  Lintwick::Piece* first = p.At(1, 0);
  EXPECT_EQ(first->frameLimit, 11);
  EXPECT_GT(first->frame, 0);
  p.Tick(20);
  EXPECT_EQ(first->frame, 11);
  EXPECT_EQ(first->cel, 10);
  EXPECT_EQ(start->cel, 21);
}

TEST(Cube, AReleasedCubeRunsOnePiecePerTick) {
  Player p({"a.....A"});
  p.ClickAndTick(0, 0);
  for (int x = 1; x <= 5; ++x) p.Step(x, 0);
  p.host.Forget();
  p.RightClick(5, 0);
  // The release moves the cube onto the first piece at once.
  EXPECT_EQ(p->mCube, p.At(1, 0));
  EXPECT_EQ(p->mCubeEnd, Lintwick::kCubeEndOpen);
  EXPECT_EQ(p.At(0, 0)->frame, 1);  // released before roll frame 8: the node starts to grow
  const int release = p.host.tick;
  p.Tick(6);
  EXPECT_EQ(p.host.TicksOf("SOUND_CUBE_TAP"), (Ints{release + 1, release + 2, release + 3, release + 4}));
  EXPECT_EQ(p.host.TicksOf("SOUND_CUBE_DROP"), Ints{release + 5});
  EXPECT_EQ(p->mCube, nullptr);
  EXPECT_EQ(p->mCubeFrame, 0);
  EXPECT_EQ(p->mTargetFrame, 0);
  // The head drops with the finished look and shrinks back to the open one.
  EXPECT_TRUE(p.At(5, 0)->shrinking);
  p.Tick(11);
  EXPECT_EQ(p.At(5, 0)->cel, 10);
  EXPECT_FALSE(p.At(5, 0)->shrinking);
}

TEST(Cube, ReleasedFromRollFrameEightTheLeftPieceKeepsGrowing) {
  // Roll frame at the release, and the node's grow frame before and after it:
  // up to frame 7 the release starts the growth, later it is left running.
  const std::vector<Ints> cases{{7, 0, 1}, {8, 1, 1}, {9, 2, 2}};
  for (const Ints& c : cases) {
    Player p({"a..A"});
    p.ClickAndTick(0, 0);
    p.Step(1, 0);
    p.Tick(c[0] - 2);
    ASSERT_EQ(p->mCubeFrame, c[0]);
    EXPECT_EQ(p.At(0, 0)->frame, c[1]) << "roll frame " << c[0];
    p.RightClick(1, 0);
    EXPECT_EQ(p.At(0, 0)->frame, c[2]) << "roll frame " << c[0];
  }
}

TEST(Cube, AHeadPickedUpWhileShrinkingGrowsSmoothly) {
  Player p({"a.....A"});
  p.ClickAndTick(0, 0);
  p.Step(1, 0);
  p.Step(2, 0);
  p.RightClick(2, 0);
  p.WaitForCube();
  ASSERT_TRUE(p.At(2, 0)->shrinking);
  p.ClickAndTick(2, 0);  // the dropped head, picked up at once
  p.Step(3, 0);
  Ints frames;
  for (int i = 0; i < 18; ++i) {
    p.Tick();
    frames.push_back(p.At(2, 0)->frame);
  }
  // The cube leaves it at roll frame 7; from then on it only grows.
  EXPECT_EQ(frames, (Ints{0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 11}));
}

TEST(Cube, TheTargetMarkerCyclesAndPiecesThatDoNotTouchStopTheCube) {
  Player p({"a..A"});
  p.ClickAndTick(0, 0);
  EXPECT_EQ(p->mTargetFrame, 1);
  p.Tick(18);
  EXPECT_EQ(p->mTargetFrame, 19);
  p.Tick();
  EXPECT_EQ(p->mTargetFrame, 0);
  p->AddPiece(0, 2, 0, false);  // not next to the start node
  p.Tick();
  EXPECT_EQ(p->mCube, nullptr);
  EXPECT_EQ(p->mCubeFrame, 0);
}

TEST(Vortices, LiveFifteenTicksInAHundredSlots) {
  Player p({"a.A"});
  p->AddVortex(3, 10, 20);
  const auto& vortex = p->mVortices[0];
  ASSERT_NE(vortex, nullptr);
  EXPECT_EQ(vortex->link, 3);
  EXPECT_EQ(vortex->frame, 0);
  p.Tick(14);
  ASSERT_NE(p->mVortices[0], nullptr);
  EXPECT_EQ(p->mVortices[0]->frame, 14);
  p.Tick();
  EXPECT_EQ(p->mVortices[0], nullptr);

  // Beyond a hundred vortices none is shown, but each still costs.
  for (int i = 0; i < 101; ++i) p->AddVortex(0, 0, 0);
  int shown = 0;
  for (const auto& v : p->mVortices) shown += v != nullptr;
  EXPECT_EQ(shown, 100);
  EXPECT_EQ(p.host.Count("SOUND_VORTEX"), 102);
  EXPECT_EQ(p->mLevelPoints, 10);
  EXPECT_EQ(p->mVortexesLeft, 0);
}

TEST(Vortices, TheBarFlashesThreeTimes) {
  Player p({"a.A"});
  p->AddVortex(0, 0, 0);
  EXPECT_EQ(p->mBarBlink, 1);
  Ints highlight;
  for (int i = 0; i < 13; ++i) {
    p.Tick();
    highlight.push_back(p->mBarHighlight);
  }
  EXPECT_EQ(highlight, (Ints{0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0}));
  EXPECT_EQ(p->mBarBlink, 0);
}

TEST(Vortices, ABarBlinkRestartsUnlessItHasJustStarted) {
  Player p({"a.A"});
  p->AddVortex(0, 0, 0);
  p->AddVortex(0, 0, 0);
  EXPECT_EQ(p->mBarBlink, 1);
  p.Tick(5);
  ASSERT_EQ(p->mBarBlink, 6);
  ASSERT_EQ(p->mBarHighlight, 0);
  p.Tick();
  ASSERT_EQ(p->mBarHighlight, 1);
  p->AddVortex(0, 0, 0);
  EXPECT_EQ(p->mBarBlink, 1);
  EXPECT_EQ(p->mBarHighlight, 0);
}

TEST(Marks, BlinkEveryTenTicks) {
  Player p({"a.A"});
  p->SetMark(p.At(0, 0), Lintwick::kMarkCut);
  Ints phases;
  for (int i = 0; i < 21; ++i) {
    p.Tick();
    phases.push_back(p->mMarkPhase);
  }
  EXPECT_EQ(phases[8], 0);
  EXPECT_EQ(phases[9], 1);  // ten ticks after the mark was set
  EXPECT_EQ(phases[18], 1);
  EXPECT_EQ(phases[19], 0);
  p->ClearMark();
  EXPECT_EQ(p->mMarkTicks, 0);
  p.Tick();
  EXPECT_EQ(p->mMarkPhase, 0);
}

TEST(Stars, ShiftedPatternsAndTheirBounds) {
  // Pattern 10 is base 3 three frames earlier: its frame-5 event comes at frame 2.
  const Lintwick::StarEvent* event = Lintwick::FindStarEvent(10, 2);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event->dx, 7);
  EXPECT_EQ(event->dy, 5);
  EXPECT_EQ(event->kind, 1);
  EXPECT_EQ(event->OffsetX(), -7);  // quadrant 2
  EXPECT_EQ(event->OffsetY(), 5);
  // Pattern 0's first event, quadrant 1, at frame 0.
  event = Lintwick::FindStarEvent(0, 0);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event->OffsetX(), 3);
  EXPECT_EQ(event->OffsetY(), 6);
  // Pattern 16 (base 2 four frames later) loses its last event, pattern 9 (two frames later) keeps it.
  EXPECT_EQ(Lintwick::FindStarEvent(16, 24), nullptr);
  EXPECT_NE(Lintwick::FindStarEvent(9, 23), nullptr);
  EXPECT_EQ(Lintwick::FindStarEvent(20, 0), nullptr);
  EXPECT_EQ(Lintwick::FindStarEvent(0, 25), nullptr);
  EXPECT_EQ(Lintwick::FindStarEvent(-1, 0), nullptr);
}

TEST(Stars, AnEmitterPlaysItsPattern) {
  Player p({"a.A"});
  p->AddStar(1, 100, 200, true);
  p.Tick(30);
  // Base 1: big stars at frames 4, 9, 14, 16, 21, small ones at 6, 8, 11, 18, 19.
  EXPECT_EQ(p.host.TicksOf("SOUND_STAR_BIG"), (Ints{4, 9, 14, 16, 21}));
  EXPECT_EQ(p.host.TicksOf("SOUND_STAR_SMALL"), (Ints{6, 8, 11, 18, 19}));
  for (const auto& star : p->mStars) EXPECT_EQ(star, nullptr);

  // A visible star stands at the signed offset and lives seven ticks.
  Player q({"a.A"});
  q->AddStar(1, 100, 200, true);
  q.Tick(4);
  const Lintwick::Star* visible = q->mStars[1].get();
  ASSERT_NE(visible, nullptr);
  EXPECT_FALSE(visible->emitter);
  EXPECT_EQ(visible->pattern, 1);
  EXPECT_EQ(visible->x, 95);  // frame 4: 5, 0, big, quadrant 3
  EXPECT_EQ(visible->y, 200);
  q.Tick(6);
  ASSERT_NE(q->mStars[1], nullptr);
  EXPECT_EQ(q->mStars[1]->age, 6);
  q.Tick();
  EXPECT_TRUE(q->mStars[1] == nullptr || q->mStars[1]->age == 0);
  // The emitter itself lives 25 ticks.
  q.Tick(13);
  ASSERT_NE(q->mStars[0], nullptr);
  EXPECT_EQ(q->mStars[0]->age, 24);
  q.Tick();
  EXPECT_EQ(q->mStars[0], nullptr);
}

TEST(Stars, FourHundredAtMostWithSoundsStillPlayed) {
  Player p({"a.A"});
  for (int i = 0; i < 400; ++i) p->AddStar(1, 0, 0, true);
  EXPECT_EQ(p.host.requests.size(), 0u);
  p->AddStar(Lintwick::kStarSmall, 0, 0, false);
  p->AddStar(Lintwick::kStarBig, 0, 0, false);
  p->AddStar(0, 0, 0, true);  // an emitter without room makes nothing
  EXPECT_EQ(p.host.Since(0), (std::vector<std::string>{"SOUND_STAR_SMALL", "SOUND_STAR_BIG"}));
  for (const auto& star : p->mStars) {
    ASSERT_NE(star, nullptr);
    EXPECT_TRUE(star->emitter);
  }
}

TEST(Stars, ACompletedLinkSparklesPieceByPiece) {
  Player p({"a.........", "..........", "..A"});
  p.ClickAndTick(0, 0);
  for (int x = 1; x <= 9; ++x) p.Step(x, 0);
  for (int x = 9; x >= 0; --x) p.Step(x, 1);
  p.Step(0, 2);
  p.Step(1, 2);
  p.Step(2, 2);
  ASSERT_TRUE(p.LinkOf(0).completed);
  ASSERT_EQ(p.LinkOf(0).count, 23);
  p.WaitForCube();
  Ints patterns;
  for (const auto& star : p->mStars) {
    if (star && star->emitter) patterns.push_back(star->pattern);
  }
  EXPECT_EQ(patterns, (Ints{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 1, 2}));
  // The emitter of slot 0 stands on the target node's centre.
  for (const auto& star : p->mStars) {
    if (!star || !star->emitter) continue;
    EXPECT_EQ(star->x, Lintwick::CellCentreX(2));
    EXPECT_EQ(star->y, Lintwick::CellCentreY(2));
    break;
  }
  EXPECT_EQ(p.host.Count("SOUND_CUBE_BUMP"), 1);
}

}  // namespace
