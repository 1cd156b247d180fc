// Reading the saved game back: continuing puts the board back exactly, a
// chosen level keeps the saved score and hints, and a damaged file gives back
// what is sound in it (or a new game) without ever building a board that play
// could not have made, and stays on the disk until the player plays on.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/puzzle/GameScreen.h"
#include "tests/gamescreen/SavingHost.h"
#include "tests/puzzle/BoardInvariants.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using namespace LintwickTest;
using Lintwick::CellCentreX;
using Lintwick::CellCentreY;

class SavedGameLoad : public ::testing::Test {
 protected:
  SavedGameLoad() {
    // Twelve copies of one level: link 0 from (1, 1) to (4, 1), link 1 from
    // (1, 3) to (3, 3); row 4 starts with a hole and the rows below are holes.
    std::string solutions;
    const MapLevel level = LevelFromMap({"..........", ".a..A.....", "..........", ".b.B......", "#........."},
                                        {{0x21, 0x31}, {0x23}}, &solutions);
    LevelFiles files;
    for (int i = 0; i < 12; ++i) files.Add(level.board, level.nodes, solutions);
    files.InstallInto(host);
    screen = Restart();
  }

  // The program starting again: a new screen over the same files.
  std::unique_ptr<Lintwick::GameScreen> Restart() { return std::make_unique<Lintwick::GameScreen>(host, nullptr); }

  void Click(int x, int y) {
    screen->HandleMouseDown(CellCentreX(x), CellCentreY(y), 1);
    screen->Tick();
  }
  void Step(int x, int y) {
    screen->HandleMouseMove(CellCentreX(x), CellCentreY(y));
    screen->Tick();
  }
  void Settle() {
    for (int i = 0; i < 200 && screen->mCube; ++i) screen->Tick();
  }
  // Link 0 joined; link 1 drawn one cell from its target node, which makes
  // that node its start.
  void PlayPartly() {
    Click(1, 1);
    Step(2, 1);
    Step(3, 1);
    Step(4, 1);
    Settle();
    Click(3, 3);
    Step(2, 3);
    Settle();
  }
  std::vector<std::uint8_t> Bytes() const {
    const Zing::Buffer b = screen->SavedGameBytes();
    return {b.GetDataPtr(), b.GetDataPtr() + b.GetDataLen()};
  }
  void Install(const std::vector<std::uint8_t>& bytes) { host.files[kSavePath].assign(bytes.begin(), bytes.end()); }

  SavingHost host;
  std::unique_ptr<Lintwick::GameScreen> screen;
};

TEST_F(SavedGameLoad, ContinueRestoresTheGameExactly) {
  PlayPartly();
  screen->mLevel = 7;
  screen->mScore = 1234;
  screen->mHintsLeft = 5;
  screen->UseHint();
  screen->mLevelPoints = 700;
  screen->mVortexesLeft = 4;
  const std::vector<std::uint8_t> saved = Bytes();
  screen->SaveGame();

  screen = Restart();
  screen->ContinueGame();
  EXPECT_FALSE(screen->SavedGameWasDamaged());
  EXPECT_EQ(Bytes(), saved);
  EXPECT_EQ(screen->GetLevel(), 7);
  EXPECT_EQ(screen->GetScore(), 1234);
  EXPECT_EQ(screen->GetHintsLeft(), 4);
  EXPECT_TRUE(screen->mHintShown);
  EXPECT_EQ(BoardFault(*screen), "");
  // The joined link in its finished look, the open one in its open look, the
  // second link started from its former target node.
  const Lintwick::Link& joined = screen->GetLink(0);
  EXPECT_TRUE(joined.completed);
  EXPECT_EQ(joined.At(3)->cel, Lintwick::kFinishedCel);
  EXPECT_EQ(joined.At(3)->frame, Lintwick::kFinishedFrame);
  const Lintwick::Link& open = screen->GetLink(1);
  EXPECT_FALSE(open.completed);
  EXPECT_EQ(open.At(1)->x, 3);
  EXPECT_EQ(open.At(2)->cel, Lintwick::kOpenCel);
  EXPECT_EQ(open.At(2)->frameLimit, Lintwick::kOpenFrame);
  EXPECT_EQ(screen->mCube, nullptr);

  // Nothing was damaged, so closing again simply saves.
  const int writes = host.writes;
  screen->SaveGame();
  EXPECT_EQ(host.writes, writes + 1);
}

TEST_F(SavedGameLoad, ATransitionResumesAtItsTick) {
  PlayPartly();
  Step(1, 3);  // link 1 reaches its target: the level is done
  ASSERT_EQ(screen->mShutterTick, 1);
  while (screen->mShutterTick != 70) screen->Tick();
  ASSERT_EQ(screen->GetLevel(), 1);
  const std::vector<std::uint8_t> saved = Bytes();
  screen->SaveGame();
  const int score = screen->GetScore();

  screen = Restart();
  screen->ContinueGame();
  EXPECT_EQ(Bytes(), saved);
  EXPECT_EQ(screen->mShutterTick, 70);
  EXPECT_EQ(screen->mShutterOffset, Lintwick::kShutterTravel);
  screen->Tick();
  EXPECT_EQ(screen->mShutterTick, 71);
  while (screen->mShutterTick != 0) screen->Tick();
  EXPECT_EQ(screen->GetLevel(), 1);
  EXPECT_EQ(screen->GetScore(), score);

  // A finished game's transition hands its score over on a screen that had
  // already handed over the score of an earlier game.
  std::vector<std::uint8_t> done = saved;
  done[0] = Lintwick::kLastLevel;
  done[15] = Lintwick::kGameDone;
  done[11] = 70;
  Install(done);
  screen->mFinalScoreHandedOver = true;
  screen->ContinueGame();
  ASSERT_EQ(screen->mShutterTick, 70);
  for (int i = 0; i < 20; ++i) screen->Tick();
  EXPECT_EQ(host.Count("HighScores"), 1);
  EXPECT_EQ(screen->GetLevel(), 0);
}

TEST_F(SavedGameLoad, AChosenLevelKeepsTheSavedScoreAndHints) {
  PlayPartly();
  screen->mLevel = 9;
  screen->mScore = 900;
  screen->UseHint();
  screen->SaveGame();

  screen = Restart();
  screen->StartAtLevel(3);
  EXPECT_EQ(screen->GetLevel(), 3);
  EXPECT_EQ(screen->GetScore(), 900);
  EXPECT_EQ(screen->GetHintsLeft(), 9);
  EXPECT_FALSE(screen->mHintShown);
  EXPECT_EQ(screen->GetLink(0).count, 2);  // the level starts fresh

  // Without a saved game the chosen level still starts, as a new game.
  host.files.erase(kSavePath);
  screen->StartAtLevel(4);
  EXPECT_EQ(screen->GetLevel(), 4);
  EXPECT_EQ(screen->GetScore(), 0);
  EXPECT_EQ(screen->GetHintsLeft(), Lintwick::kHintsPerGame);
}

TEST_F(SavedGameLoad, ADamagedFileGivesBackWhatIsSound) {
  PlayPartly();
  screen->mLevel = 7;
  screen->mScore = 1234;
  const std::vector<std::uint8_t> good = Bytes();  // link 0 block at 18, link 1 at 24
  ASSERT_EQ(good.size(), 18u + 14u + 7u);

  const auto load = [&](std::vector<std::uint8_t> bytes) {
    Install(bytes);
    screen->ContinueGame();
    EXPECT_EQ(BoardFault(*screen), "") << "file of " << bytes.size() << " bytes";
  };

  // Cut short at every byte: up to the score nothing is a game; from there on
  // level, score and hints survive, and links only when their block is whole.
  for (std::size_t cut = 1; cut < good.size(); ++cut) {
    load({good.begin(), good.begin() + static_cast<long>(cut)});
    EXPECT_TRUE(screen->SavedGameWasDamaged());
    EXPECT_EQ(screen->GetLevel(), cut < 7 ? 0 : 7) << cut;
    EXPECT_EQ(screen->GetScore(), cut < 7 ? 0 : 1234) << cut;
    EXPECT_EQ(screen->GetLink(0).completed, cut >= 24) << cut;
  }

  // A link block claiming more pieces than the file holds: that link and the
  // ones after it are fresh.
  std::vector<std::uint8_t> bytes = good;
  bytes[25] = 200;
  load(bytes);
  EXPECT_TRUE(screen->GetLink(0).completed);
  EXPECT_EQ(screen->GetLink(1).count, 2);

  // A path code off the board, then one on a hole: the path is kept up to it,
  // open.
  for (std::uint8_t code : {std::uint8_t{0xA1}, std::uint8_t{0x04}}) {
    bytes = good;
    bytes[23] = code;
    load(bytes);
    EXPECT_FALSE(screen->GetLink(0).completed);
    EXPECT_EQ(screen->GetLink(0).count, 3);
    EXPECT_EQ(screen->GetLink(1).count, 3);
  }

  // Nodes that are not the level's, and an absurd level byte.
  bytes = good;
  bytes[20] = 0x55;
  load(bytes);
  EXPECT_EQ(screen->GetLink(0).count, 2);
  bytes = good;
  bytes[0] = 200;
  load(bytes);
  EXPECT_EQ(screen->GetLevel(), 0);
  EXPECT_EQ(screen->GetScore(), 0);

  // Random bytes never break the board.
  std::mt19937 random(16);
  for (int i = 0; i < 3000; ++i) {
    // Mostly the good bytes, some of them replaced.
    bytes.resize(random() % 60);
    for (std::size_t at = 0; at < bytes.size(); ++at)
      bytes[at] = static_cast<std::uint8_t>(random() % 4 ? good[at % good.size()] : random());
    load(bytes);
  }
}

TEST_F(SavedGameLoad, ADamagedFileStaysUntilThePlayerPlaysOn) {
  std::vector<std::uint8_t> bytes = Bytes();
  bytes[0] = 200;
  Install(bytes);
  screen->ContinueGame();
  screen->SaveGame();
  screen->SaveGame();
  EXPECT_EQ(host.writes, 0);
  EXPECT_EQ(host.Saved(), bytes);

  Click(1, 1);
  Step(2, 1);
  screen->SaveGame();
  EXPECT_EQ(host.writes, 1);
  EXPECT_EQ(host.Saved(), Bytes());
}

TEST_F(SavedGameLoad, EveryGamePlayMakesContinuesExactly) {
  // Random play on a full board with seven links and on the test level; at
  // every tick the board is sound, and now and then it is saved and read back
  // by another screen, which must find it undamaged and save the same bytes.
  LevelFiles files;
  std::string solutions;
  const MapLevel seven = LevelFromMap({"a.b.c.d.e.", "..........", "f.g.......", "..........", "..........",
                                       "..........", "..........", "G.........", "F.........", "A.B.C.D.E."},
                                      {}, &solutions);
  files.Add(seven.board, seven.nodes, solutions);
  const MapLevel two = LevelFromMap({"a..A", "....", "b..B"});
  files.Add(two.board, two.nodes, std::string(Lintwick::kSolutionRecordSize, '\0'));
  files.InstallInto(host);
  screen = Restart();
  std::unique_ptr<Lintwick::GameScreen> reader = Restart();
  std::mt19937 random(7);
  for (int round = 0; round < 4; ++round) {
    screen->NewGame();
    screen->mLevel = round % 2;
    screen->RestartLevel();
    for (int event = 0; event < 4000; ++event) {
      const int x = static_cast<int>(random() % 10), y = static_cast<int>(random() % 10);
      switch (random() % 8) {
        case 0:
          screen->HandleMouseDown(CellCentreX(x), CellCentreY(y), random() % 5 ? 1 : -1);
          break;
        case 1:
        case 2:
          screen->Tick();
          break;
        default: {
          // A step to a neighbouring cell, as a hand moves; half of them
          // towards the drawing link's target.
          int cx = std::clamp(screen->mCursorX + static_cast<int>(random() % 3) - 1, 0, 9);
          int cy = std::clamp(screen->mCursorY + static_cast<int>(random() % 3) - 1, 0, 9);
          const int drawing = screen->mCurrentLink;
          if (drawing >= 0 && random() % 2 && screen->GetLink(drawing).At(0)) {
            const Lintwick::Piece& goal = *screen->GetLink(drawing).At(0);
            cx = screen->mCursorX + (goal.x > screen->mCursorX) - (goal.x < screen->mCursorX);
            cy = cx != screen->mCursorX ? screen->mCursorY
                                        : screen->mCursorY + (goal.y > screen->mCursorY) - (goal.y < screen->mCursorY);
          }
          screen->HandleMouseMove(CellCentreX(cx), CellCentreY(cy));
          screen->Tick();
        }
      }
      ASSERT_EQ(BoardFault(*screen), "") << event;
      if (event % 37 == 0) {
        Install(Bytes());
        reader->ContinueGame();
        ASSERT_FALSE(reader->SavedGameWasDamaged()) << event;
        const Zing::Buffer again = reader->SavedGameBytes();
        ASSERT_EQ(std::vector<std::uint8_t>(again.GetDataPtr(), again.GetDataPtr() + again.GetDataLen()), Bytes());
      }
    }
  }
}

}  // namespace
