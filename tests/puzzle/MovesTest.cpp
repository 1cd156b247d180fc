// The rules of a move, strokes of any speed, the cube's run and a joined link's sparkle, each
// played as a script of mouse strokes, board keys and logic ticks on a small hand-made level, with
// the board's rules checked after every action and the whole tick-by-tick trace (state, sounds,
// requests) pinned in one number; LINTWICK_TRACE=1 prints the trace. Then the whole game over the
// generated levels of the data folder, each solved through the mouse by its stored solution.

#include <gtest/gtest.h>

#include <cinttypes>
#include <tuple>

#include "tests/puzzle/BoardInvariants.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using Lintwick::CellCentreX;
using Lintwick::CellCentreY;
using LintwickTest::Player;
using LintwickTest::SolutionOf;

// {what the script shows, the level's map, the cells of its stored solution
// (the vortex allowance is 10 more), the script (see Player::Play), the trace}.
struct Scenario {
  const char* what;
  std::vector<std::string> rows;
  int solutionCells;
  const char* script;
  std::uint64_t trace;
};

// clang-format off
const Scenario kScenarios[] = {
    // A click on the target node makes it the start node; reaching the other
    // completes the link, the cube runs to the end in the same tick, stars
    // rise; the level is done and the mouse is ignored during the transition.
    {"drawing and completing a link", {"", " A.a"}, 0, "c11 s21 s31 m11 C11 t", 0xe528193981c1e227ull},
    // Before the cube has passed the head, stepping back is free and the laid
    // pieces keep their points; after, it marks the piece, the mouse stops
    // stepping, and the click on the mark costs a vortex centred on the cell.
    {"stepping back", {"a.....A"}, 5, "c00 s10 s20 s10 s20 t10 s10 m20 c10", 0x66d95423e96717f5ull},
    // A loop cut back to the cube for free, then running into the path behind the cube marks it (clicks while the
    // released cube runs on are ignored); confirmed, it retracts with a vortex per piece.
    {"running into the own path", {"a...", "....", "...A"}, 5,
     "c00 s10 s20 s21 s11 s10 s20 s21 s11 t30 s10 R10 C10 w c10", 0x5405ad545ff545daull},
    // Crossing a completed link: a right click drops the mark and its
    // highlights; confirmed, link 1 is cleared and cut with a vortex, link 0
    // lays its piece on the crossed cell, and the level stays open.
    {"crossing a link", {"..b..", "a...A", "..B.."}, 5,
     "c20 s21 s22 w c01 s11 s21 w R31 t c11 s21 w c21 s31 s41", 0x1ba2b3ac65d77aa0ull},
    // The other node of a link with a path: the first click marks it, the
    // second erases the path and draws again from there.
    {"a node clicked twice", {"a.....A"}, 5, "c00 s10 s20 x c60 c60 s50", 0x68beca6344c025bfull},
    // An inner piece of a completed link: marked (a click on another link drops it), confirmed it
    // reopens and retracts with vortices and the finished look turns back; the head of a completed
    // link reopens it for free; a retracted open link keeps its open look.
    {"pieces of a completed link", {"a...A", "b...B"}, 3,
     "c00 s10 s20 s30 s40 t30 c20 c01 x c20 c20 t20 s30 s40 t30 c30 x t20 c20 c20 t", 0xe9d17a323ab4c443ull},
    // A left click anywhere stops drawing; clicks while the cube runs are
    // ignored; a click on a path piece picks the link up from its head.
    {"clicks while drawing", {"a.....A", "b.....B"}, 0, "c00 s10 C51 C01 w c10", 0xbcb72345b5343cccull},
    // Empty cells, holes and points outside the board (x 455, y 465) are no
    // target for a click; a paused puzzle keeps the click for later.
    {"clicks on nothing and a pause", {"a.#.A"}, 0, "c10 c20 C455,20 C20,465 C4,20 C00 P1 t P0 t", 0xaac950e40ab26d76ull},
    // A diagonal move walks along the row, then down; led by the keys the
    // drawing leaves the pointer behind, and a jump of two cells stops it.
    {"a diagonal, then a jump", {"a.....", "......", "......", ".....A"}, 0, "c00 m11 t t kR t m03 t", 0x9808e7d306faac61ull},
    {"leaving the board to the right", {"a.A"}, 0, "c00 m455,37 t", 0x7b7fa04ebfe4a9c3ull},
    {"leaving the board above row 0", {"a.A"}, 0, "c00 m27,14 t", 0x7b7fa04ebfe4a9c3ull},
    // Running into a hole or another link's node stops the drawing without a piece.
    {"into a hole", {"a.#A"}, 0, "c00 s10 s20", 0x26144b8549f1e30cull},
    {"into another node", {"a.bA", "..B"}, 0, "c00 s10 s20", 0x4d9a1763c6350f9ull},
    // Nineteen pieces stepped back over one at a time behind the cube: every confirmed step back is
    // a vortex and 20 level points; the tenth replays the level (restarted at tick 64 of the
    // transition) with its allowance and points restored, the laid pieces keeping their points.
    {"the allowance running out", {"a.........", "..........", "A........."}, 0,
     "c00 s10 s20 s30 s40 s50 s60 s70 s80 s90 s91 s81 s71 s61 s51 s41 s31 s21 s11 s01 x c01 "
     "s11 w c11 s21 w c21 s31 w c31 s41 w c41 s51 w c51 s61 w c61 s71 w c71 s81 w c81 s91 w c91 s90 w c90 t101",
     0x4a7901e08a0acc05ull},
    // Nodes side by side complete with an empty path and stay completed when
    // picked up and let go; drawing away from them opens the link.
    {"touching nodes stay completed", {"aA", "bB"}, 0, "c00 s10 w c00 x c01 s11", 0x5c1e5aa384d17ce1ull},
    {"touching nodes opened", {".aA", "bB."}, 0, "c10 s20 w c10 s00 x c01 s11", 0xe18047406321ad9cull},
    // A stroke made before the tick that handles its click draws only when the click picked a link
    // up: not after a click on nothing, nor after one that set a mark.
    {"a stroke after a click on nothing", {"a...A"}, 0, "C10 m30 t2", 0x5217962f68843a7ull},
    {"a stroke after a click that marks", {"a.....A"}, 5, "c00 s10 s20 x C60 m40 t2", 0x35b707a0fa8c84baull},
    // Two jumps round a corner between two ticks are walked cell by cell, one step per tick; a
    // stroke begun before the tick that picks the node up is walked from where the click was made.
    {"a stroke round a corner", {"a....", "....A"}, 0, "c00 m30 m31 t t3 m41 t", 0x4e766e0fb34e8d9ull},
    {"a stroke before the pick-up", {"a...A"}, 0, "C00 m40 t5", 0xe4047438a101cf80ull},
    // Strokes before the tick are each walked on from where the queued steps lead, whichever way those go.
    {"strokes queued down, right, up", {"a...", "....", "....", "...A"}, 0, "c00 m02 m22 m20 t6", 0x6843788512fa4a12ull},
    {"strokes queued up, left, down", {"A...", "....", "....", "...a"}, 0, "c33 m31 m11 m13 t6", 0x2f0385b6a9180888ull},
    // A stroke from the last pixel column (then row) of the head's cell is walked from that cell.
    {"strokes from a cell's last pixels", {"a...A", ".....", "....."}, 0,
     "c00 m49,37 m117,37 t2 m117,59 m117,127 t2", 0xd7b5df6773c7938bull},
    // One move from corner to corner of the whole board crosses eighteen borders, every one walked.
    {"a stroke across the whole board", {"a.........", "..........", "..........", "..........", "..........",
     "..........", "..........", "..........", "..........", ".........A"}, 0, "c00 m99 t18", 0x54a48d67f0122becull},
    // From (1, 1) into (2, 2): passing below the corner enters (1, 2) first,
    // passing right of it (2, 1); hitting it exactly goes along the row.
    {"a corner cut below", {"....", ".a..", "....", "...A"}, 0, "c11 m100,130 t2", 0xcd930dda282b1692ull},
    {"a corner cut to the right", {"....", ".a..", "....", "...A"}, 0, "c11 m130,110 t2", 0x8415a73b3fff32d4ull},
    {"a corner cut exactly", {"....", ".a..", "....", "...A"}, 0, "c11 m22 t2", 0x8415a73b3fff32d4ull},
    // What stops drawing drops the rest of the stroke: a hole, another link's node, a mark on a
    // crossed path, leaving the board, coming back from off the field with no walk from the head
    // (the walk goes on while the pointer is away, the highlight staying where it left), a click.
    {"a stroke into a hole", {"a.#..A"}, 0, "c00 m50 t2", 0x44907aac89b85dc8ull},
    {"a stroke into a node", {"a.b..A", "....B."}, 0, "c00 m50 t2", 0xe4a87982f7064f6eull},
    {"a stroke into a crossed path", {"a....A", "..b...", "......", "..B..."}, 0,
     "c21 s20 s30 s31 s32 s33 s23 w c00 m50 t2", 0x906d11fe78d219bfull},
    {"a stroke off the board", {"a.........", "A"}, 0, "c00 m90 t m460,37 t20", 0x4dc947181f988d45ull},
    {"a stroke back from off the field", {"a.........", "A"}, 0, "c00 m90 t L t3 m30 t20", 0xce881529ba9e662dull},
    {"a stroke ended by a click", {"a.........", "A"}, 0, "c00 m90 t C90 t20", 0x4dc947181f988d45ull},
    // A fast stroke back: before the cube passed, the pieces come up for free
    // and keep their points; once the cube stands before the head, it marks
    // the head, drops the rest, and the confirmation costs a vortex.
    {"a fast stroke back, free", {"a......A"}, 6, "c00 m50 t5 m10 t4", 0xa6c4c3623122fc3cull},
    {"a fast stroke back, marked", {"a......A"}, 6, "c00 m50 t5 t51 m10 t w c40", 0x684bb1a716741824ull},
    // The highlight follows the pointer; the arrows move it a cell at once,
    // every way, never off the grid; the pointer takes it back at the next tick.
    {"the highlight", {"a.A", "b.B"}, 0, "m21 t kU kU kL t kL kL t kR kD t m20 t", 0xa809cdeb1bb5b553ull},
    // A level drawn with the keys alone, quickly (every key before the tick) and slowly; the highlight stays on the
    // target node; Backspace stops drawing and drops a mark with its highlights.
    {"keys, quickly", {"a..A", "....", "b..B"}, 0, "kP kR kR kR t4 w kD kD kL kL kL kP kU kR kR kR kD t11", 0xda783bdad049a327ull},
    {"keys, slowly", {"a..A", "....", "b..B"}, 0,
     "kP t kR t kR t kR t t4 w kD t kD t kL t kL t kL t kP t kU t kR t kR t kR t kD t t11", 0xfae3c27192677635ull},
    {"keys, cancelled", {"a...A"}, 0, "kP t kR kC t2 kP t kR t2 kC w c40 t kC t2", 0x554615a9d06dcf47ull},
    // A right click moves the cube onto the first piece at once; it runs one
    // piece a tick with a tap, drops onto the head, which drops with the
    // finished look and shrinks back to the open one.
    {"a released cube", {"a.....A"}, 0, "c00 s10 s20 s30 s40 s50 R50 t17", 0x8055586cf9c22d4full},
    // A completed link sparkles piece by piece: patterns 0..19 and round
    // again, the first emitter on the target node's centre, each played whole.
    {"a completed link sparkles", {"a.........", "..........", "..A"}, 0,
     "c00 s10 s20 s30 s40 s50 s60 s70 s80 s90 s91 s81 s71 s61 s51 s41 s31 s21 s11 s01 s02 s12 s22 w t25",
     0xec44c76b3cae41edull},
};
// clang-format on

TEST(Moves, ScenariosPlayedTickByTick) {
  for (const Scenario& s : kScenarios) {
    Player p(s.rows, s.solutionCells ? SolutionOf(s.solutionCells) : std::vector<std::vector<int>>{});
    std::string fault;
    p.Play(s.script, [&] {
      if (fault.empty()) fault = LintwickTest::BoardFault(*p.puzzle);
    });
    EXPECT_EQ(fault, "") << s.what;
    if (std::getenv("LINTWICK_TRACE")) std::printf("=== %s\n", s.what);
    const std::uint64_t trace = p.Digest();
    char hex[20];
    std::snprintf(hex, sizeof hex, "0x%" PRIx64, trace);
    EXPECT_EQ(trace, s.trace) << s.what << ": the trace is " << hex << " (LINTWICK_TRACE=1 prints it)";
    // Clearing a link's highlights drops them from every piece of it, its nodes too, and from no other link.
    for (int link = 0; link < Lintwick::kMaxLinks; ++link) p->HighlightRange(link, 0, Lintwick::kLinkSlots - 1);
    p->ClearHighlights(0);
    for (int link = 0; link < Lintwick::kMaxLinks; ++link)
      for (int slot = 0; slot < p.LinkOf(link).count; ++slot)
        EXPECT_EQ(p.LinkOf(link).At(slot)->highlighted, link != 0) << s.what << ": link " << link << " slot " << slot;
  }
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

// At most 128 inputs wait: those held after a click until its tick, and the steps queued for later ticks.
TEST(Moves, AtMost128InputsWait) {
  Player p({"a........A"});
  p->HandleMouseDown(CellCentreX(0), CellCentreY(0), 1);
  for (int keys : {130, 3}) {
    for (int i = 0; i < keys; ++i) p->HandleBoardKey(Lintwick::BoardKey::Right);
    EXPECT_EQ(p->mHeldInput.size() + p->mQueuedSteps.size(), 128u) << keys;
    p.Tick();
  }
}

constexpr int kLevels = 100;
constexpr int kTickLimit = 2000;  // far more than any level needs

int LevelPoints(int level) { return 500 + (level * 4500) / 99; }

// One mouse move into the cell (over a point off its centre first, as a hand would), then the tick that takes the step.
void StepInto(Player& p, int x, int y) {
  p->HandleMouseMove(CellCentreX(x) - 9, CellCentreY(y) + 7);
  p.Step(x, y);
}

// Joins every link of the current level along its stored solution; answers the cells laid.
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
