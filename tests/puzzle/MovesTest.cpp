// The rules of a move, played through the mouse entry points and logic ticks
// on small hand-made levels, then the whole game over the generated levels of
// the data folder, each solved through the mouse by its stored solution.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using Lintwick::CellCentreX;
using Lintwick::CellCentreY;
using LintwickTest::Player;
using LintwickTest::SolutionOf;
using Strings = std::vector<std::string>;
using Cells = std::vector<std::pair<int, int>>;
Lintwick::Piece* const NoPiece = nullptr;

// What the vortices have left: {allowance, level points}.
std::pair<int, int> Left(Player& p) { return {p->mVortexesLeft, p->mLevelPoints}; }

TEST(Moves, DrawingAndCompletingALink) {
  Player p({"", " A.a"});
  // A click on the target node makes it the start node and puts the cube on it.
  p.ClickAndTick(1, 1);
  EXPECT_EQ(std::pair(p.LinkOf(0).At(1), p->mCube), std::pair(p.At(1, 1), p.At(1, 1)));

  p.Step(2, 1);

  // Reaching the target completes the link; the released cube runs to the end
  // of the path in the same tick and settles with stars.
  p.Step(3, 1);
  EXPECT_EQ(std::tuple(p.LinkOf(0).completed, p->mCurrentLink, p->mCube), std::tuple(true, -1, NoPiece));

  // No other link: the level is done, and the mouse is ignored while the
  // next-level transition runs.
  EXPECT_EQ(std::pair(p->mShutterTick, p->mTransitionKind), (std::pair<int, int>(1, Lintwick::kNextLevel)));
  p.MoveTo(1, 1);
  p.Click(1, 1);
  EXPECT_EQ(std::pair(p->mPressed, p->mMouseX), std::pair(false, CellCentreX(3)));
  EXPECT_EQ(p.Digest(), 0xd0eef71cceb172ffull);
}

TEST(Moves, SteppingBackIsFreeUntilTheCubePassedThenCostsAVortex) {
  Player p({"a.....A"}, SolutionOf(5));
  ASSERT_EQ(p->mVortexesLeft, 15);
  p.Draw({{0, 0}, {1, 0}, {2, 0}});
  // The cube is still rolling off the start node: the head goes for free.
  p.Step(1, 0);
  EXPECT_EQ(std::tuple(p.LinkOf(0).count, p.At(2, 0), p->mMark), std::tuple(3, NoPiece, NoPiece));
  EXPECT_EQ(std::pair(p->GetScore(), p->mVortexesLeft), std::pair(2, 15));  // laid pieces keep their points
  p.Step(2, 0);

  p.Tick(10);  // the cube arrives on (1, 0)
  ASSERT_EQ(p->mCube, p.At(1, 0));
  p.Step(1, 0);
  Lintwick::Piece* marked = p.At(1, 0);
  EXPECT_EQ(std::tuple(p->mMark, p->mMarkAction), std::tuple(marked, Lintwick::kMarkStepBack));
  // With a mark, the mouse no longer steps.
  p.MoveTo(2, 0);
  EXPECT_TRUE(p->mQueuedSteps.empty());

  // Clicking the mark removes the head with a vortex and draws on from the mark.
  p.ClickAndTick(1, 0);
  EXPECT_EQ(std::tuple(p.LinkOf(0).count, p.At(2, 0), p->mMark, p->mCube), std::tuple(3, NoPiece, NoPiece, marked));
  EXPECT_EQ(std::pair(Left(p), p.host.Count("SOUND_VORTEX")), std::pair(std::pair(14, 480), 1));
  // The vortex is centred on the removed piece's cell, and the bar blinks.
  ASSERT_NE(p->mVortices[0], nullptr);
  EXPECT_EQ(std::tuple(p->mVortices[0]->x, p->mVortices[0]->y, p->mBarBlink), std::tuple(27 + 90 - 20, 37 - 20, 1));
  EXPECT_EQ(p.Digest(), 0x66d95423e96717f5ull);
}

TEST(Moves, RunningIntoTheOwnPath) {
  Player p({"a...", "....", "...A"}, SolutionOf(5));
  p.Draw({{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}});
  ASSERT_EQ(p.LinkOf(0).count, 6);
  // The cube has not reached (1, 0): the loop is cut back to it for free.
  p.Step(1, 0);
  EXPECT_EQ(std::tuple(p.LinkOf(0).Head(), p.At(2, 1)), std::tuple(p.At(1, 0), NoPiece));

  // Once the cube has passed, running into the path marks it.
  p.Steps({{2, 0}, {2, 1}, {1, 1}});
  p.Tick(30);  // the cube reaches (2, 0)
  ASSERT_EQ(p->mCube, p.At(2, 0));
  p.Step(1, 0);
  EXPECT_EQ(std::tuple(p->mMark, p->mMarkAction), std::tuple(p.At(1, 0), Lintwick::kMarkRetract));
  p.WaitForCube();

  p.ClickAndTick(1, 0);
  EXPECT_EQ(std::tuple(p.LinkOf(0).count, p->mCube, p.host.Count("SOUND_VORTEX")), std::tuple(3, p.At(1, 0), 3));
  EXPECT_EQ(Left(p), std::pair(12, 440));
  EXPECT_EQ(p.Digest(), 0x5405ad545ff545daull);
}

// Link 1 runs from (2, 0) down to (2, 2) across link 0's row.
const std::vector<std::string> kCrossing = {"..b..", "a...A", "..B.."};

TEST(Moves, CrossingALinkCancelledAndConfirmed) {
  Player p(kCrossing, SolutionOf(5));
  p.Draw({{2, 0}, {2, 1}, {2, 2}});
  ASSERT_TRUE(p.LinkOf(1).completed);
  p.WaitForCube();

  // A right click drops the mark and its highlights; nothing is removed.
  p.Draw({{0, 1}, {1, 1}, {2, 1}});
  EXPECT_EQ(std::tuple(p->mMarkAction, p.At(2, 1)->highlighted), std::tuple(Lintwick::kMarkCutCompleted, true));
  p.WaitForCube();
  p.RightClick(3, 1);
  EXPECT_EQ(std::tuple(p->mMark, p.At(2, 1)->highlighted), std::tuple(NoPiece, false));
  p.Tick();

  // Confirming clears link 1, cuts its path with a vortex and lays a piece of
  // link 0 on the crossed cell.
  p.Draw({{1, 1}, {2, 1}});
  p.WaitForCube();
  p.ClickAndTick(2, 1);
  EXPECT_EQ(std::tuple(p.LinkOf(1).completed, p.LinkOf(1).count), std::tuple(false, 2));
  ASSERT_NE(p.At(2, 1), nullptr);
  EXPECT_EQ(std::tuple(p.At(2, 1)->link, p->mCube, p->GetScore()), std::tuple(0, p.At(2, 1), 1 + 1 + 1));
  EXPECT_EQ(std::pair(Left(p), p.host.Count("SOUND_VORTEX")), std::pair(std::pair(14, 480), 1));

  p.Steps({{3, 1}, {4, 1}});
  EXPECT_EQ(std::pair(p.LinkOf(0).completed, p->mShutterTick), std::pair(true, 0));  // link 1 is open again
  EXPECT_EQ(p.Digest(), 0x1ba2b3ac65d77aa0ull);
}

TEST(Moves, ClickingANodeOfALinkWithAPathTwice) {
  Player p({"a.....A"}, SolutionOf(5));
  p.Draw({{0, 0}, {1, 0}, {2, 0}});
  p.Release();

  // The first click on the other node only marks it.
  p.ClickAndTick(6, 0);
  EXPECT_EQ(std::tuple(p->mMark, p->mMarkAction), std::tuple(p.At(6, 0), Lintwick::kMarkCut));

  // The second erases the path and starts again from it.
  p.ClickAndTick(6, 0);
  EXPECT_EQ(std::tuple(p.LinkOf(0).count, p.At(6, 0)->slot, p->mCube), std::tuple(2, 1, p.At(6, 0)));
  p.Step(5, 0);
  EXPECT_EQ(p.Digest(), 0x68beca6344c025bfull);
}

TEST(Moves, ClickingPiecesOfACompletedLink) {
  // A second link keeps the level going.
  Player q({"a...A", "b...B"}, SolutionOf(3));
  q.Draw({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
  q.Tick(30);  // the pieces grow to their finished look
  ASSERT_TRUE(q.LinkOf(0).completed);

  // An inner piece of a completed link: marked, confirmed it reopens the link
  // and retracts to it with vortices.
  q.ClickAndTick(2, 0);
  EXPECT_EQ(std::tuple(q->mMarkAction, q.At(3, 0)->highlighted), std::tuple(Lintwick::kMarkRetractCompleted, true));
  q.ClickAndTick(0, 1);  // a click on another link's piece drops the mark and every highlight
  EXPECT_EQ(std::tuple(q->mMark, q.At(3, 0)->highlighted, q->mCurrentLink), std::tuple(NoPiece, false, 1));
  q.Release();
  q.ClickAndTick(2, 0);
  q.ClickAndTick(2, 0);
  EXPECT_EQ(std::tuple(q.LinkOf(0).completed, q.LinkOf(0).count, q->mVortexesLeft), std::tuple(false, 4, 12));
  EXPECT_TRUE(q.At(1, 0)->shrinking);  // the finished look turns back
  q.Tick(20);

  // Completing again and clicking the head reopens the link for free.
  q.Steps({{3, 0}, {4, 0}});
  ASSERT_TRUE(q.LinkOf(0).completed);
  q.Tick(30);
  q.ClickAndTick(3, 0);
  EXPECT_EQ(std::tuple(q.LinkOf(0).completed, q.LinkOf(0).count, q->mVortexesLeft), std::tuple(false, 5, 12));

  // Retracting an open link: the pieces left keep their open look.
  q.Release();
  q.Tick(20);
  q.ClickAndTick(2, 0);
  q.ClickAndTick(2, 0);
  q.Tick();
  EXPECT_EQ(std::tuple(q.LinkOf(0).count, q.At(1, 0)->cel, q.At(1, 0)->frame), std::tuple(4, 10, 11));
  EXPECT_EQ(q.Digest(), 0xe9d17a323ab4c443ull);
}

TEST(Moves, ClicksWhileDrawingAndOutsideTheBoard) {
  Player p({"a.....A", "b.....B"});
  p.Draw({{0, 0}, {1, 0}});
  // A left click anywhere stops the drawing.
  p.Click(5, 1);
  EXPECT_EQ(std::tuple(p->mCurrentLink, p->mCubeEnd), std::tuple(-1, Lintwick::kCubeEndOpen));
  // While the released cube runs, clicks are ignored.
  p.Click(0, 1);
  EXPECT_FALSE(p->mPressed);
  p.WaitForCube();
  // A click on a path piece while nothing is drawn picks up the link from its head.
  p.ClickAndTick(1, 0);
  EXPECT_EQ(std::tuple(p->mCurrentLink, p->mCube), std::tuple(0, p.At(1, 0)));
  // Clicks on empty cells and holes do nothing, not even a sound.
  Player q({"a.#.A"});
  q.ClickAndTick(1, 0);
  q.ClickAndTick(2, 0);
  EXPECT_EQ(q.host.requests.size(), 0u);
  // Clicks outside the board are ignored, at x 455 or y 465 too.
  for (auto [x, y] : Cells{{455, 20}, {20, 465}, {4, 20}}) q->HandleMouseDown(x, y, 1);
  EXPECT_FALSE(q->mPressed);
  // A paused puzzle leaves the click for later.
  q.Click(0, 0);
  q->Pause(true);
  EXPECT_EQ(std::tuple(q->Tick(), q->mPressed), std::tuple(false, true));
  q->Pause(false);
  EXPECT_EQ(std::tuple(q->Tick(), q->mCube), std::tuple(true, q.At(0, 0)));
  EXPECT_EQ(p.Digest(), 0xbcb72345b5343cccull);
  EXPECT_EQ(q.Digest(), 0xd19b8b45664692c5ull);
}

TEST(Moves, DiagonalMovesJumpsHolesEdgesAndOtherNodes) {
  Player p({"a.....", "......", "......", ".....A"});
  p.ClickAndTick(0, 0);
  // A diagonal move through the corner walks along the row, then down.
  p.MoveTo(1, 1);
  EXPECT_EQ(p->mQueuedSteps, (std::deque<int>{Lintwick::kDirRight, Lintwick::kDirDown}));
  p.Tick();
  p.Tick();
  // Led by the keys, the drawing leaves the pointer behind: without a walk
  // from the head, a jump of two cells stops the drawing.
  p->HandleBoardKey(Lintwick::BoardKey::Right);
  p.Tick();
  p.MoveTo(0, 3);
  EXPECT_EQ(std::pair(p->mCurrentLink, p->mQueuedSteps.empty()), std::pair(-1, true));
  EXPECT_EQ(p.Digest(), 0x33152c5ca53a8406ull);
  // Leaving the board area stops it too, at the right and above row 0.
  for (auto [x, y] : Cells{{455, CellCentreY(0)}, {CellCentreX(0), 14}}) {
    Player e({"a.A"});
    e.ClickAndTick(0, 0);
    e->HandleMouseMove(x, y);
    EXPECT_EQ(e->mCurrentLink, -1) << x << ", " << y;
  }

  // Running into a hole or another link's node stops the drawing without laying a piece.
  for (const Strings& rows : {Strings{"a.#A"}, Strings{"a.bA", "..B"}}) {
    Player h(rows);
    h.ClickAndTick(0, 0);
    h.Steps({{1, 0}, {2, 0}});
    EXPECT_EQ(std::tuple(h->mCurrentLink, h.LinkOf(0).count, h->mMark), std::tuple(-1, 3, NoPiece)) << rows[0];
    EXPECT_EQ(h.Digest(), rows.size() == 1 ? 0x26144b8549f1e30cull : 0x4d9a1763c6350f9ull);
  }
}

TEST(Moves, TheAllowanceRunningOutReplaysTheLevel) {
  // Nineteen pieces along two rows, then stepped back over one at a time
  // behind the cube: every confirmed step back is one vortex.
  Player p({"a.........", "..........", "A........."});
  ASSERT_EQ(p->mVortexesLeft, 10);
  Cells path;
  for (int x = 1; x <= 9; ++x) path.emplace_back(x, 0);
  for (int x = 9; x >= 0; --x) path.emplace_back(x, 1);
  p.ClickAndTick(0, 0);
  p.Steps(path);
  p.Release();
  p.ClickAndTick(0, 1);  // the head: drawing resumes with the cube on it
  for (int vortex = 1; vortex <= 10; ++vortex) {
    const auto [x, y] = path[path.size() - 1 - static_cast<std::size_t>(vortex)];
    p.Step(x, y);
    ASSERT_EQ(p->mMarkAction, Lintwick::kMarkStepBack) << "vortex " << vortex;
    p.WaitForCube();
    p.ClickAndTick(x, y);
    EXPECT_EQ(std::tuple(p->mVortexesLeft, p->mLevelPoints, p->mShutterTick, p.LinkOf(0).count, p->GetScore()),
              std::tuple(10 - vortex, 500 - 20 * vortex, vortex == 10 ? 1 : 0, 21 - vortex, 19))
        << "vortex " << vortex;
  }
  EXPECT_EQ(std::tuple(p.host.Count("SOUND_VORTEX"), p->mTransitionKind), std::tuple(10, Lintwick::kReplayLevel));

  const int start = p.host.tick;
  p.Tick(101);
  EXPECT_EQ(std::tuple(p->mShutterTick, p.host.Count("SOUND_SHUTTERS_BLUR")), std::tuple(0, 0));
  EXPECT_EQ(p.host.TicksOf("RestartLevel"), std::vector<int>{start + 64});
  // The same level again, with its allowance and points restored; the laid
  // pieces keep their points.
  EXPECT_EQ(std::tuple(p->GetLevel(), p.LinkOf(0).count, p->GetScore()), std::tuple(0, 2, 19));
  EXPECT_EQ(Left(p), std::pair(10, 500));
  EXPECT_EQ(p.Digest(), 0x4a7901e08a0acc05ull);
}

TEST(Moves, AVortexCostsMoreOnLaterLevelsButLevelPointsStayAboveTen) {
  Player p({"a.A"}, SolutionOf(25));
  for (auto [level, points, vortexCost] : {std::tuple{0, 500, 20}, {50, 2772, 110}, {99, 5000, 200}}) {
    p->mLevel = level;
    p->RestartLevel();
    EXPECT_EQ(p->mLevelPoints, points) << "level " << level;
    p->AddVortex(0, 0, 0);
    EXPECT_EQ(p->mLevelPoints, points - vortexCost) << "level " << level;
  }
  for (int i = 0; i < 24; ++i) p->AddVortex(0, 0, 0);
  EXPECT_EQ(std::tuple(p->mLevelPoints, p->mShutterTick), std::tuple(10, 0));  // ten vortices left
}

TEST(Moves, NodesThatTouchStayCompletedUntilAPieceIsLaid) {
  // Nodes side by side: the link completes with an empty path.
  Player p({"aA", "bB"});
  p.Draw({{0, 0}, {1, 0}});
  ASSERT_TRUE(p.LinkOf(0).completed);
  p.WaitForCube();
  // Picked up and let go with nothing drawn, it is still finished, as it looks.
  p.ClickAndTick(0, 0);
  EXPECT_TRUE(p.LinkOf(0).completed);
  p.Release();
  EXPECT_EQ(std::tuple(p.LinkOf(0).completed, p.At(0, 0)->cel), std::tuple(true, 21));
  p.Draw({{0, 1}, {1, 1}});
  EXPECT_EQ(p->mShutterTick, 1);

  // Drawing away from such a link opens it with its first piece.
  Player q({".aA", "bB."});
  q.Draw({{1, 0}, {2, 0}});
  q.WaitForCube();
  q.Draw({{1, 0}, {0, 0}});
  EXPECT_FALSE(q.LinkOf(0).completed);
  q.Release();
  q.Draw({{0, 1}, {1, 1}});
  EXPECT_EQ(q->mShutterTick, 0);
  EXPECT_EQ(p.Digest(), 0x5c1e5aa384d17ce1ull);
  EXPECT_EQ(q.Digest(), 0xe18047406321ad9cull);
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
  EXPECT_EQ(p.Digest(), 0x3c1c71a36b44597dull);
}

}  // namespace
