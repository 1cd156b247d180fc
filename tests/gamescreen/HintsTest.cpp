// Hints: what one costs, how long it lasts, and the solution miniature drawn
// into the main menu panel.

#include <gtest/gtest.h>

#include "tests/gamescreen/CodeImages.h"

namespace {

using namespace LintwickTest;

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
