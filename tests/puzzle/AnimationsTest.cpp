// The tick-driven animations: the rolling cube, growing pieces, vortices and the blinks, the star
// emitters, and the shutter transition that ends a level or the game.

#include <gtest/gtest.h>

#include <tuple>

#include "game/puzzle/Stars.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using LintwickTest::Player;
using Ints = std::vector<int>;

// An animation's timing: `value` read after each of the next ticks.
template <typename Value>
void ExpectTimeline(const char* what, Player& p, Value value, const Ints& expected) {
  Ints values;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    p.Tick();
    values.push_back(value(p));
  }
  EXPECT_EQ(values, expected) << what;
}

TEST(Animations, Timelines) {
  const auto cubeCel = [](Player& p) { return p->mCubeCel; };
  Player left({"A..a"});
  left.Play("c30 m20");
  ExpectTimeline("a roll to the left runs the cels backwards", left, cubeCel,
                 {13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
  Player right({"a...A"});
  right.Play("c00 m10");
  ExpectTimeline("a roll to the right runs them forwards", right, cubeCel,
                 {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0});

  Player picked({"a.....A"});
  picked.Play("c00 s10 s20 x c20 s30");  // the dropped head, picked up while it shrinks
  ExpectTimeline("a piece only grows once the cube has left it", picked, [](Player& p) { return p.At(2, 0)->frame; },
                 {0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 11});

  Player p({"a..A"});
  p.Play("C00");
  ExpectTimeline("the target marker cycles through twenty cels", p, [](Player& q) { return q->mTargetFrame; },
                 {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0});
  p->AddVortex(3, 10, 20);
  ExpectTimeline("a vortex lives fifteen ticks", p,
                 [](Player& q) { return q->mVortices[0] ? q->mVortices[0]->frame : -1; },
                 {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, -1});
  p->AddVortex(0, 0, 0);
  ExpectTimeline("the vortex bar flashes three times (10: the blink is over)", p,
                 [](Player& q) { return q->mBarHighlight + 10 * (q->mBarBlink == 0); },
                 {0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 10, 10});
  p->SetMark(p.At(0, 0), Lintwick::kMarkCut);
  ExpectTimeline("a mark blinks every ten ticks", p, [](Player& q) { return q->mMarkPhase; },
                 {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0});
  EXPECT_EQ(std::tuple(left.Digest(), right.Digest(), picked.Digest(), p.Digest()),
            std::tuple(0xc73731db55b7a9f4ull, 0xdcb1be3766d5baefull, 0xf1ecbe378f92ec07ull, 0xa78558ce6d801cc0ull));
}

// (A released cube's run, one piece a tick with its taps and drop, is one of the move scenarios.)
TEST(Cube, TheNodeLeftBehindGrowsFromRollFrame7AndAGapStopsTheCube) {
  // The node left behind grows from roll frame 7. Released up to that frame,
  // it starts to grow; later its growth is left running.
  for (auto [rollFrame, before, after] : {std::tuple{7, 0, 1}, {8, 1, 1}, {9, 2, 2}}) {
    Player q({"a..A"});
    q.Play("c00 s10");
    q.Tick(rollFrame - 2);
    ASSERT_EQ(q->mCubeFrame, rollFrame);
    EXPECT_EQ(q.At(0, 0)->frame, before) << "roll frame " << rollFrame;
    q.Play("R10");
    EXPECT_EQ(q.At(0, 0)->frame, after) << "roll frame " << rollFrame;
  }
  // A piece that does not touch the one before stops the cube.
  Player r({"a..A"});
  r.Play("c00");
  r->AddPiece(0, 2, 0, false);
  r.Tick();
  EXPECT_EQ(r->mCube, nullptr);
}

TEST(Vortices, AHundredShownEachCostsAndABlinkRestartsUnlessJustStarted) {
  Player p({"a.A"});
  p->AddVortex(0, 0, 0);
  p.Tick();
  p->AddVortex(0, 0, 0);  // a tick in: started again
  EXPECT_EQ(p->mBarBlink, 1);
  p.Tick(6);
  ASSERT_EQ(p->mBarHighlight, 1);
  p->AddVortex(0, 0, 0);
  EXPECT_EQ(std::pair(p->mBarBlink, p->mBarHighlight), std::pair(1, 0));

  for (int i = 0; i < 100; ++i) p->AddVortex(3, 0, 0);
  EXPECT_EQ(std::count_if(p->mVortices.begin(), p->mVortices.end(), [](auto& v) { return v != nullptr; }), 100);
  EXPECT_EQ(p.host.Count("SOUND_VORTEX"), 103);
}

TEST(Stars, ShiftedPatternsAnEmitterPlayingOneAndFourHundredAtMost) {
  // Pattern 10 is base 3 three frames earlier: its frame-5 event (7, 5, big) comes at frame 2, in quadrant 2.
  const Lintwick::StarEvent* event = Lintwick::FindStarEvent(10, 2);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(std::tuple(event->kind, event->OffsetX(), event->OffsetY()), std::tuple(1, -7, 5));
  // Pattern 9 (base 2 two frames later) keeps its last event, pattern 16 (four frames later) loses it.
  EXPECT_NE(Lintwick::FindStarEvent(9, 23), nullptr);
  for (auto [pattern, frame] : {std::pair{16, 24}, {20, 0}, {0, 25}, {-1, 0}})
    EXPECT_EQ(Lintwick::FindStarEvent(pattern, frame), nullptr) << pattern << " " << frame;
  // Events per pattern: the bases whole (base 0 from frame 0), shifted ones less what left the 25 frames.
  std::vector<int> events(Lintwick::kStarPatterns);
  for (int i = 0; i < Lintwick::kStarPatterns * 25; ++i)
    events[i / 25] += Lintwick::FindStarEvent(i / 25, i % 25) != nullptr;
  EXPECT_EQ(events, (std::vector<int>{11, 10, 11, 10, 9, 11, 10, 11, 10, 11, 10, 9, 11, 11, 10, 10, 10, 10, 9, 11}));

  Player p({"a.A"});
  p->AddStar(1, 100, 200, true);
  // Base 1, frame 4: a big star 5 to the left (quadrant 3), living seven ticks.
  p.Tick(4);
  EXPECT_EQ(std::tuple(p->mStars[1]->emitter, p->mStars[1]->x, p->mStars[1]->y), std::tuple(false, 95, 200));
  // The emitter itself lives 25 ticks.
  p.Tick(20);
  ASSERT_TRUE(p->mStars[0] && p->mStars[0]->age == 24);
  p.Tick();
  EXPECT_EQ(p->mStars[0], nullptr);
  // Big stars at frames 4, 9, 14, 16, 21, small ones at 6, 8, 11, 18, 19.
  EXPECT_EQ(p.host.TicksOf("SOUND_STAR_BIG"), (Ints{4, 9, 14, 16, 21}));
  EXPECT_EQ(p.host.TicksOf("SOUND_STAR_SMALL"), (Ints{6, 8, 11, 18, 19}));
  EXPECT_EQ(p.Digest(), 0x645bfa5cd052b639ull);

  // Four hundred at most; a star without room still plays its sound.
  Player full({"a.A"});
  for (int i = 0; i < 400; ++i) full->AddStar(1, 0, 0, true);
  EXPECT_EQ(full.host.requests.size(), 0u);
  full->AddStar(Lintwick::kStarSmall, 0, 0, false);
  full->AddStar(Lintwick::kStarBig, 0, 0, false);
  full->AddStar(0, 0, 0, true);  // an emitter without room makes nothing
  EXPECT_EQ(full.host.Names(), (std::vector<std::string>{"SOUND_STAR_SMALL", "SOUND_STAR_BIG"}));
  for (const auto& star : full->mStars) ASSERT_TRUE(star && star->emitter);
}

TEST(Transition, ShuttersCloseStayAndOpenAndTheLevelPaysAtTick64) {
  Player p({"aA"});
  p.Play("c00 s10");  // the one link joined: the transition begins
  const int start = p.host.tick;
  std::map<int, int> offsets, scores;
  for (int t = 1; t <= 101; ++t) {
    p.Tick();
    offsets[t] = p->mShutterOffset;
    scores[t] = p->GetScore() + 10000 * p->GetLevel();
    EXPECT_EQ(p->mShutterTick, t < 101 ? t + 1 : 0);  // the last tick ends the transition
  }
  EXPECT_EQ(std::pair(scores[63], scores[64]), std::pair(0, 10000 + 500));  // paid at 64, on the next level
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
  EXPECT_EQ(std::tuple(p.LinkOf(0).completed, p.Digest()), std::tuple(false, 0x921162128494cb4aull));
}

TEST(Transition, TheLastLevelEndsTheGameAtTick82ThenANewGameStartsOver) {
  Player p({"aA"});
  p->mLevel = 99;
  p->RestartLevel();
  p->mScore = 1234;
  p.Play("c00 s10");  // the one link joined: the transition begins
  const int start = p.host.tick;
  EXPECT_EQ(std::pair(p->mTransitionKind, p->mLevelPointsShown), (std::pair<int, int>(Lintwick::kGameDone, 5000)));
  p.Tick(80);
  EXPECT_FALSE(p->IsGameCompleteTransition());
  p.Tick(2);
  EXPECT_TRUE(p->IsGameCompleteTransition() && p->GetLevel() == 0);
  ASSERT_EQ(p.host.TicksOf("HighScores"), Ints{start + 82});
  EXPECT_EQ(p.host.requests.back().value, "6234");
  // No shutter sound at the end; the transition stands until the shell stops it, and the final score is paid only once.
  EXPECT_EQ(p.host.TicksOf("SOUND_SHUTTERS_MOVE"), Ints{start + 27});
  p.Tick(50);
  EXPECT_TRUE(p->IsGameCompleteTransition());
  EXPECT_EQ(std::pair(p->GetScore(), p.host.Count("HighScores")), std::pair(6234, 1));
  p->StopTransition();
  EXPECT_EQ(p->mShutterTick + p->mShutterOffset + p->mFinalScoreHandedOver, 0);

  // A new game starts over at the first level, whatever was going on.
  p.host.requests.clear();
  std::tie(p->mLevel, p->mHintsLeft, p->mBarBlink, p->mBarHighlight, p->mShutterTick, p->mShutterOffset,
           p->mFinalScoreHandedOver) = std::tuple(40, 3, 5, 1, 30, 33, true);
  p->NewGame();
  EXPECT_EQ(std::tuple(p->GetLevel(), p->GetScore(), p->mHintsLeft, p->mLevelPoints), std::tuple(0, 0, 10, 500));
  EXPECT_EQ(p->mBarBlink + p->mBarHighlight + p->mShutterTick + p->mShutterOffset + p->mFinalScoreHandedOver, 0);
  EXPECT_EQ(p.host.Names(), std::vector<std::string>{"FreshGame"});
  EXPECT_EQ(p.Digest(), 0x993ef5b9826aec5ull);
}

}  // namespace
