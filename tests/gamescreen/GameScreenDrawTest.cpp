// Drawing the play screen, read back from images whose cels are solid colours
// naming image and cel; its rhythm of ticks; and what hints cost and show.

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "tests/gamescreen/CodeImages.h"

namespace {

using Lintwick::CellCentreX;
using Lintwick::CellCentreY;
using namespace LintwickTest;

// Link 0 runs from its start node at (1, 1) to its target at (5, 1); the
// bottom-left cell is a hole.
struct GameScreenDraw : CodeScreen {
  GameScreenDraw()
      : CodeScreen({"..........", ".a...A....", "..........", "..........", "..........", "..........", "..........",
                    "..........", "..........", "#........."},
                   {{0x21, 0x31, 0x41}}) {}
  std::uint32_t Pixel(int x, int y) {
    return Drawn(&Lintwick::GameScreen::Draw, Lintwick::kGameScreenWidth, Lintwick::kGameScreenHeight, x, y);
  }
};

TEST_F(GameScreenDraw, BoardCacheAndPieces) {
  // A hole shows the background; the shadow of an edge cell peeks out beside it.
  EXPECT_EQ(Pixel(CellCentreX(0), CellCentreY(9)), CelColour(kBkg, 0));
  EXPECT_EQ(Pixel(4, CellCentreY(8)), CelColour(kShadow, 0));
  EXPECT_EQ(Pixel(CellCentreX(3), CellCentreY(4)), CelColour(kCell, 0));
  // A node shows its finished link cel on the cube's base cel.
  EXPECT_EQ(Pixel(CellCentreX(1), CellCentreY(1)), CelColour(kLink0, 21));
  EXPECT_EQ(Pixel(CellCentreX(1) + 18, CellCentreY(1)), CelColour(kCube0, 14));
  // Hover over a piece, without a cube.
  screen->HandleMouseMove(CellCentreX(5), CellCentreY(1));
  screen->UpdateHover();
  EXPECT_EQ(Pixel(CellCentreX(5), CellCentreY(1)), CelColour(kHighlights, 0));
}

TEST_F(GameScreenDraw, CubeRollsAlongItsDirectionAndTheTargetMarksTheOtherNode) {
  screen->HandleMouseDown(CellCentreX(1), CellCentreY(1), 1);
  ASSERT_TRUE(screen->Tick());
  ASSERT_NE(screen->mCube, nullptr);
  EXPECT_EQ(Pixel(CellCentreX(5), CellCentreY(1)), CelColour(kTarget, screen->mTargetFrame));

  // Frame 8 of a roll to the right: 22 pixels on, row 0; the cell left behind
  // shows the base cel.
  screen->mCubeDir = Lintwick::kDirRight;
  screen->mCubeFrame = 8;
  screen->mCubeCel = 7;
  EXPECT_EQ(Pixel(CellCentreX(1) + 22 + 19, CellCentreY(1)), CelColour(kCube0, 7));
  EXPECT_EQ(Pixel(CellCentreX(1) - 19, CellCentreY(1)), CelColour(kCube0, 14));
  // Rolling up draws from row 1, 22 pixels up.
  screen->mCubeDir = Lintwick::kDirUp;
  EXPECT_EQ(Pixel(CellCentreX(1), CellCentreY(1) - 22 - 19), CelColour(kCube0, 14 + 7));
}

TEST_F(GameScreenDraw, VorticesStarsAndMark) {
  screen->mVortices[3] = std::make_unique<Lintwick::Vortex>(Lintwick::Vortex{2, 100, 300, 5});
  screen->mStars[0] = std::make_unique<Lintwick::Star>(Lintwick::Star{1, 300, 400, 3, false});
  screen->mStars[1] = std::make_unique<Lintwick::Star>(Lintwick::Star{1, 350, 400, 3, true});
  EXPECT_EQ(Pixel(100 + 39, 300), CelColour(kVortex0 + 2, 5));
  EXPECT_EQ(Pixel(300 - 7, 400 + 7), CelColour(kStarBig, 3));
  EXPECT_EQ(Pixel(350, 400), CelColour(kCell, 0));  // emitters are invisible

  screen->mMark = screen->PieceAt(5, 1);
  screen->mMarkTicks = 1;
  screen->mMarkPhase = 1;
  EXPECT_EQ(Pixel(CellCentreX(5), CellCentreY(1)), CelColour(kMark, 1));
  screen->mMarkTicks = 0;  // the mark's dark phase
  EXPECT_EQ(Pixel(CellCentreX(5), CellCentreY(1)), CelColour(kLink0, 21));
}

TEST_F(GameScreenDraw, ShuttersStayOnTheBoardRowsWithTheirCaptionsAndPoints) {
  screen->mShutterTick = 70;
  screen->mShutterOffset = Lintwick::kShutterTravel;
  screen->mTransitionKind = Lintwick::kNextLevel;
  screen->mLevelPointsShown = 2772;
  EXPECT_NE(Pixel(100, 14), CelColour(kShutters, 0));  // clipped above the board
  EXPECT_EQ(Pixel(100, 15), CelColour(kShutters, 0));
  EXPECT_EQ(Pixel(100, 239), CelColour(kShutters, 0));  // they meet without a gap
  EXPECT_EQ(Pixel(100, 240), CelColour(kShutters, 1));
  EXPECT_EQ(Pixel(100, 469), CelColour(kVortexLine, 0));  // the bar stays visible
  EXPECT_EQ(Pixel(300, 469), CelColour(kBkg, 0));         // clipped below the board
  // Caption column centred on the shutters: x 135; points "2772" from x 203.
  EXPECT_EQ(Pixel(140, 210), CelColour(kEffectTexts, 6));
  for (const auto& [x, digit] : {std::pair{205, 2}, {221, 7}, {253, 2}})
    EXPECT_EQ(Pixel(x, 255), CelColour(kDigits, digit));

  screen->mShutterTick = 64;
  screen->mTransitionKind = Lintwick::kReplayLevel;
  EXPECT_EQ(Pixel(140, 210), CelColour(kEffectTexts, 0));
  EXPECT_EQ(Pixel(140, 257), CelColour(kEffectTexts, 2));
  screen->mShutterTick = 65;
  EXPECT_EQ(Pixel(140, 257), CelColour(kEffectTexts, 8));
  screen->mShutterTick = 64;
  screen->mTransitionKind = Lintwick::kGameDone;
  EXPECT_EQ(Pixel(140, 257), CelColour(kEffectTexts, 5));
}

TEST_F(GameScreenDraw, VortexBarShowsTheAllowanceLeftAndBlinksInItsLowerHalf) {
  const int allowance = screen->GetVortexAllowance();
  ASSERT_EQ(screen->mVortexesLeft, allowance);
  EXPECT_EQ(Pixel(8 + 199, 469), CelColour(kVortexLine, 0));
  screen->mVortexesLeft = allowance / 2;
  EXPECT_EQ(Pixel(8 + 199, 469), CelColour(kBkg, 0));
  screen->mBarHighlight = 1;
  EXPECT_EQ(Pixel(10, 469), CelColour(kVortexLine, 1));
  screen->mVortexesLeft = 0;
  EXPECT_EQ(Pixel(10, 469), CelColour(kBkg, 0));
}

// A logic tick every fifth update, the menu panel marked dirty after every
// tick, and a paused screen standing still. (The whole shell plays a level
// through window messages.)
TEST_F(GameScreenDraw, TicksEveryFifthUpdateMarkThePanelAndStandStillWhenPaused) {
  screen->HandleMouseMove(CellCentreX(1), CellCentreY(1));
  panel.dirty = false;
  for (int i = 1; i < Lintwick::kUpdatesPerTick; ++i) screen->Update();
  EXPECT_NE(screen->mHoverX, 1);  // no tick has placed the hover yet
  EXPECT_FALSE(panel.dirty);
  screen->Pause(true);
  for (int i = 0; i < 20; ++i) screen->Update();
  EXPECT_EQ(screen->updateCount, Lintwick::kUpdatesPerTick - 1);
  screen->Pause(false);
  screen->Update();  // the fifth update runs the tick; the panel follows level and score
  EXPECT_EQ(std::tuple(screen->mHoverX, screen->mHoverY, panel.dirty), std::tuple(1, 1, true));
}

// Link 0 along row 1; link 1 with a solution whose second code is not a
// neighbour of the first; link 2 down column 6.
struct Hints : CodeScreen {
  Hints()
      : CodeScreen({"..........", ".a..A.c...", "..........", ".b.B..C...", ".........."},
                   {{0x21, 0x31}, {0x23, 0x27}, {0x62}}) {}

  // The menu panel's pixel after the game screen drew its hint into it.
  std::uint32_t Pixel(int x, int y) { return Drawn(&Lintwick::GameScreen::DrawHint, 170, 480, x, y); }
};

TEST_F(Hints, OneHintPerLevelTenPerGame) {
  screen->UseHint();
  screen->UseHint();
  EXPECT_EQ(std::pair(screen->GetHintsLeft(), screen->mHintShown), std::pair(9, true));

  // A replayed level takes the miniature away and gives nothing back.
  screen->mShutterTick = 1;
  screen->mTransitionKind = Lintwick::kReplayLevel;
  while (screen->mShutterTick != 0) screen->Tick();
  EXPECT_EQ(std::pair(screen->GetHintsLeft(), screen->mHintShown), std::pair(9, false));

  for (int level = 1; level < 11; ++level) {
    screen->UseHint();
    EXPECT_EQ(screen->mHintShown, level < 10) << level;
    screen->mLevel += 1;
    screen->RestartLevel();
  }
  EXPECT_EQ(screen->GetHintsLeft(), 0);
  screen->NewGame();
  EXPECT_EQ(screen->GetHintsLeft(), Lintwick::kHintsPerGame);
}

TEST_F(Hints, TheMiniatureShowsTheWholeSolution) {
  // Cell (x, y) of the miniature is centred at (32 + 12x, 276 + 12y).
  EXPECT_EQ(Pixel(44, 288), 0u);  // nothing before a hint is bought
  screen->UseHint();
  EXPECT_EQ(Pixel(21, 265), CelColour(kHintBkg, 0));
  EXPECT_EQ(Pixel(104 + 5, 312 - 5), CelColour(kHintCell, 0));
  EXPECT_EQ(Pixel(32, 276 + 12 * 4 + 7), CelColour(kHintShadow, 0));  // below the last row
  EXPECT_EQ(Pixel(44, 288), CelColour(kHintNodes, 0));                // node a
  EXPECT_EQ(Pixel(44, 312), CelColour(kHintNodes, 1));                // node b
  EXPECT_EQ(Pixel(56, 288), CelColour(kHintLinks, 0));                // solution cell (2, 1)
  // Sticks: across between a and (2, 1) and into the target; down in column 6.
  EXPECT_EQ(Pixel(50, 288), CelColour(kHintSticks, 0));
  EXPECT_EQ(Pixel(74, 288), CelColour(kHintSticks, 0));
  EXPECT_EQ(Pixel(104, 294), CelColour(kHintSticks, 7 + 2));
  // (2, 3) and (2, 7) are no neighbours: no stick below (2, 3).
  EXPECT_NE(Pixel(56, 318), CelColour(kHintSticks, 7 + 1));
  EXPECT_EQ(Pixel(50, 312), CelColour(kHintSticks, 1));
  // The player's own pieces are no part of it: only the nodes and the solution show.
  screen->AddPiece(0, 1, 0, false);
  EXPECT_NE(Pixel(44, 276), CelColour(kHintNodes, 0));
}

}  // namespace
