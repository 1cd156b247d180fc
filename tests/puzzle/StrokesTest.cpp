// Strokes of any speed and the board's keys: moves that skip cells are walked
// cell by cell and queued, one step per tick; the keys move the highlight and
// draw through the same queue.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using Lintwick::BoardKey;
using Lintwick::CellCentreX;
using Lintwick::CellCentreY;
using LintwickTest::Player;
using LintwickTest::SolutionOf;
using Cells = std::vector<std::pair<int, int>>;
using Keys = std::vector<BoardKey>;

// The cells of link 0's path, start node first.
Cells PathOf(Player& p) {
  Cells cells;
  const Lintwick::Link& link = p.LinkOf(0);
  for (int slot = 1; slot < link.count; ++slot) cells.emplace_back(link.At(slot)->x, link.At(slot)->y);
  return cells;
}

void Press(Player& p, const Keys& keys) {
  for (BoardKey key : keys) p->HandleBoardKey(key);
}

TEST(Strokes, MovesThatSkipCellsLayTheWholePathOneStepPerTick) {
  // Round a corner in two jumps between two ticks, and on into the target.
  Player p({"a....", "....A"});
  p.ClickAndTick(0, 0);
  p.MoveTo(3, 0);
  p.MoveTo(3, 1);
  EXPECT_EQ(p->mQueuedSteps.size(), 4u);
  p.Tick();
  EXPECT_EQ(std::pair(p.LinkOf(0).count, p->GetScore()), std::pair(3, 1));  // one step per tick
  p.Tick(3);
  EXPECT_EQ(PathOf(p), (Cells{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}}));
  p.MoveTo(4, 1);
  p.Tick();
  EXPECT_EQ(std::tuple(p.LinkOf(0).completed, p->GetScore(), p->mShutterTick), std::tuple(true, 4, 1));

  // A stroke begun right after the click, before the tick that picks the node
  // up, is walked from where the click was made.
  Player q({"a...A"});
  q.Click(0, 0);
  q.MoveTo(4, 0);
  q.Tick(5);
  EXPECT_TRUE(q.LinkOf(0).completed);
  EXPECT_EQ(p.Digest(), 0x4e766e0fb34e8d9ull);
  EXPECT_EQ(q.Digest(), 0xe4047438a101cf80ull);
}

TEST(Strokes, ACornerCutGoesThroughTheCellThePointerPassedNearer) {
  // From the centre of (1, 1) into (2, 2): passing below the corner enters
  // (1, 2) first, passing right of it enters (2, 1) first; hitting it exactly
  // goes along the row.
  for (auto [x, y, first] : {std::tuple{100, 130, std::pair(1, 2)},
                             {130, 110, std::pair(2, 1)},
                             {CellCentreX(2), CellCentreY(2), std::pair(2, 1)}}) {
    Player p({"....", ".a..", "....", "...A"});
    p.ClickAndTick(1, 1);
    p->HandleMouseMove(x, y);
    p.Tick(2);
    EXPECT_EQ(PathOf(p), (Cells{{1, 1}, first, {2, 2}})) << x << ", " << y;
  }
}

TEST(Strokes, WhatStopsDrawingDropsTheRestOfTheStroke) {
  // A hole, another link's node, a mark (crossing link 1's path at (2, 0)):
  // the stroke stops there, and the rest of it is dropped.
  for (const std::vector<std::string>& rows :
       {std::vector<std::string>{"a.#..A"}, {"a.b..A", "....B."}, {"a....A", "..b...", "......", "..B..."}}) {
    Player p(rows);
    if (rows.size() == 4) {
      p.Draw({{2, 1}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {2, 3}});
      ASSERT_TRUE(p.LinkOf(1).completed);
      p.WaitForCube();
    }
    p.ClickAndTick(0, 0);
    p.MoveTo(5, 0);
    p.Tick(2);
    EXPECT_EQ(std::tuple(p->mCurrentLink == -1 || p->mMark, p.LinkOf(0).count, p->mQueuedSteps.size()),
              std::tuple(true, 3, 0u))
        << rows[0];
  }
  // Leaving the board stops the stroke too, and so does coming back from off
  // the play field where no walk leads from the head; a click as well.
  for (int how = 0; how < 3; ++how) {
    Player p({"a.........", "A"});
    p.ClickAndTick(0, 0);
    p.MoveTo(9, 0);
    p.Tick();
    if (how == 0) p->HandleMouseMove(460, CellCentreY(0));
    if (how == 1) {
      p->HandleMouseLeave();
      p.MoveTo(3, 0);
    }
    if (how == 2) p.Click(9, 0);
    p.Tick(20);
    EXPECT_EQ(std::tuple(p->mCurrentLink, p.LinkOf(0).count), std::tuple(-1, 3)) << how;
  }
}

TEST(Strokes, AFastStrokeBackRetractsWithTheRightPoints) {
  // Before the cube has passed them, the pieces come up for free and keep
  // their points.
  Player p({"a......A"}, SolutionOf(6));
  p.ClickAndTick(0, 0);
  p.MoveTo(5, 0);
  p.Tick(5);
  ASSERT_EQ(std::pair(p.LinkOf(0).count, p->GetScore()), std::pair(7, 5));
  p.MoveTo(1, 0);
  p.Tick(4);
  EXPECT_EQ(PathOf(p), (Cells{{0, 0}, {1, 0}}));
  EXPECT_EQ(std::tuple(p->GetScore(), p->mVortexesLeft, p->mLevelPoints), std::tuple(5, 16, 500));

  // Once the cube stands on the piece before the head, stepping back marks the
  // head; the rest of the stroke is dropped, and the confirmation costs a vortex.
  Player q({"a......A"}, SolutionOf(6));
  q.ClickAndTick(0, 0);
  q.MoveTo(5, 0);
  q.Tick(5);
  for (int i = 0; i < 200 && q->mCube != q.At(4, 0); ++i) q.Tick();
  ASSERT_EQ(q->mCube, q.At(4, 0));
  q.MoveTo(1, 0);
  q.Tick();
  EXPECT_EQ(std::tuple(q->mMark, q->mMarkAction, q->mQueuedSteps.size()),
            std::tuple(q.At(4, 0), Lintwick::kMarkStepBack, 0u));
  q.WaitForCube();
  q.ClickAndTick(4, 0);
  EXPECT_EQ(std::tuple(q.LinkOf(0).count, q->GetScore(), q->mVortexesLeft, q->mLevelPoints), std::tuple(6, 5, 15, 480));
  EXPECT_EQ(p.Digest(), 0xa6c4c3623122fc3cull);
  EXPECT_EQ(q.Digest(), 0x684bb1a716741824ull);
}

TEST(Strokes, TheHighlightFollowsThePointerAndTheKeys) {
  Player p({"a.A", "b.B"});
  p.MoveTo(2, 1);
  p.Tick();
  EXPECT_EQ(std::tuple(p->mHoverX, p->mHoverY, p->mHoverOnPiece), std::tuple(2, 1, true));
  // The arrows move it one cell at once, never off the grid.
  Press(p, {BoardKey::Up, BoardKey::Up, BoardKey::Left});
  EXPECT_EQ(std::tuple(p->mHoverX, p->mHoverY, p->mKeyboardCursor), std::tuple(1, 0, true));
  p.Tick();
  EXPECT_EQ(std::tuple(p->mHoverX, p->mHoverY, p->mHoverOnPiece), std::tuple(1, 0, false));
  Press(p, {BoardKey::Left, BoardKey::Left});
  EXPECT_EQ(std::pair(p->mHoverX, p->mHoverY), std::pair(0, 0));
  // The pointer moving over the board takes it back at the next tick.
  p.MoveTo(2, 0);
  p.Tick();
  EXPECT_EQ(std::tuple(p->mHoverX, p->mHoverY, p->mKeyboardCursor), std::tuple(2, 0, false));
  EXPECT_EQ(p.Digest(), 0xc0a041da6e507d34ull);
}

// The whole level played with the keys alone: quickly (every key before the
// tick that picks the node up) and slowly (a tick after every key).
TEST(Strokes, AWholeLevelDrawnWithTheKeys) {
  for (bool quick : {true, false}) {
    Player p({"a..A", "....", "b..B"});
    auto play = [&](const Keys& keys) {
      for (BoardKey key : keys) {
        p->HandleBoardKey(key);
        if (!quick) p.Tick();
      }
      p.Tick(static_cast<int>(keys.size()));
    };
    play({BoardKey::Press, BoardKey::Right, BoardKey::Right, BoardKey::Right});
    EXPECT_TRUE(p.LinkOf(0).completed) << quick;
    // The highlight stays on the target node.
    EXPECT_EQ(std::pair(p->mHoverX, p->mHoverY), std::pair(3, 0));
    p.WaitForCube();
    play({BoardKey::Down, BoardKey::Down, BoardKey::Left, BoardKey::Left, BoardKey::Left, BoardKey::Press, BoardKey::Up,
          BoardKey::Right, BoardKey::Right, BoardKey::Right, BoardKey::Down});
    EXPECT_EQ(PathOf(p), (Cells{{0, 0}, {1, 0}, {2, 0}})) << quick;
    EXPECT_EQ(std::tuple(p.LinkOf(1).completed, p->mShutterTick > 0, p->GetScore()), std::tuple(true, true, 6))
        << quick;
  }
  // Backspace (Cancel) stops drawing; on a mark it takes the mark away.
  Player c({"a...A"});
  Press(c, {BoardKey::Press});
  c.Tick();
  Press(c, {BoardKey::Right, BoardKey::Cancel});
  c.Tick(2);
  EXPECT_EQ(std::tuple(c->mCurrentLink, c.LinkOf(0).count), std::tuple(-1, 2));
  EXPECT_EQ(c.Digest(), 0x1f6977e89f33ada9ull);
}

}  // namespace
