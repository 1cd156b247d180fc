// Writing the saved game: the exact bytes of the file, where it goes, and the
// furthest level reached, which only grows.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/puzzle/GameScreen.h"
#include "tests/gamescreen/SavingHost.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using namespace LintwickTest;

class SavedGame : public ::testing::Test {
 protected:
  SavedGame() {
    // Two links: 0 from (1, 1) to (4, 1), 1 from (1, 3) to (3, 3).
    std::string solutions;
    const MapLevel level =
        LevelFromMap({"..........", ".a..A.....", "..........", ".b.B......"}, {{0x21, 0x31}, {0x23}}, &solutions);
    host.files[Lintwick::kBoardFile] = level.board;
    host.files[Lintwick::kNodeFile] = level.nodes;
    host.files[Lintwick::kSolutionFile] = solutions;
    screen = std::make_unique<Lintwick::GameScreen>(host, nullptr);
  }

  void Step(int x, int y) {
    screen->HandleMouseMove(Lintwick::CellCentreX(x), Lintwick::CellCentreY(y));
    screen->Tick();
  }

  SavingHost host;
  std::unique_ptr<Lintwick::GameScreen> screen;
};

TEST_F(SavedGame, WritesEveryFieldAndEveryPieceInItsPlace) {
  // Link 0 joined, link 1 with one path piece laid.
  screen->HandleMouseDown(Lintwick::CellCentreX(1), Lintwick::CellCentreY(1), 1);
  screen->Tick();
  Step(2, 1);
  Step(3, 1);
  Step(4, 1);
  for (int i = 0; i < 100 && screen->mCube; ++i) screen->Tick();
  screen->HandleMouseDown(Lintwick::CellCentreX(1), Lintwick::CellCentreY(3), 1);
  screen->Tick();
  Step(2, 3);
  ASSERT_TRUE(screen->GetLink(0).completed);
  ASSERT_EQ(screen->GetLink(1).count, 3);

  screen->mLevel = 7;
  screen->mHintShown = true;
  screen->mHintsLeft = 4;
  screen->mScore = -2;  // signed, little-endian
  screen->mLevelPoints = 0x1234;
  screen->mVortexesLeft = 13;
  screen->mShutterTick = 70;
  screen->mShutterOffset = 225;
  screen->mTransitionKind = Lintwick::kGameDone;
  screen->mLevelPointsShown = 2772;
  screen->SaveGame();

  const std::vector<std::uint8_t> expected = {
      7,    1,    4,                                   // level, hint shown, hints left
      0xFE, 0xFF, 0xFF, 0xFF,                          // score -2
      0x34, 0x12,                                      // level points
      13,   0,                                         // vortex allowance left
      70,   0,                                         // transition tick
      225,  0,                                         // shutter offset
      2,                                               // transition kind
      0xD4, 0x0A,                                      // level points shown, 2772
      1,    4,    0x41, 0x11, 0x21, 0x31,              // link 0: completed, target, start, path
      0,    3,    0x33, 0x13, 0x23,                    // link 1: open
      0,    0,    0,    0,    0,    0,    0, 0, 0, 0,  // links 2..6 absent
  };
  EXPECT_EQ(host.Saved(), expected);
  EXPECT_EQ(expected.size(), 18u + 14u + 7u);
  EXPECT_EQ(host.settings["UnlockedLevel"], 7);

  // A finished game, its score handed over, is saved without the transition
  // that would pay it again.
  screen->mShutterTick = Lintwick::kGameDoneTick;
  screen->mFinalScoreHandedOver = true;
  screen->SaveGame();
  EXPECT_EQ(host.Saved()[11], 0);
  EXPECT_EQ(host.Saved()[13], 0);
}

TEST_F(SavedGame, TheFurthestLevelReachedOnlyGrows) {
  host.settings["UnlockedLevel"] = 5;
  screen->mLevel = 2;
  screen->SaveGame();
  EXPECT_EQ(host.settings["UnlockedLevel"], 5);
  screen->mLevel = 9;
  screen->SaveGame();
  EXPECT_EQ(host.settings["UnlockedLevel"], 9);
  EXPECT_TRUE(host.popups.empty());

  // A failed settings write is reported; the file is still written.
  host.files.erase(kSavePath);
  host.settingsWritable = false;
  screen->mLevel = 10;
  screen->SaveGame();
  EXPECT_EQ(host.files.count(kSavePath), 1u);
  EXPECT_EQ(host.popups, std::vector<std::string>{"Couldn't save \"UnlockedLevel\" to registry"});
}

}  // namespace
