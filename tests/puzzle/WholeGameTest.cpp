// The whole game, played by a test player through the mouse entry points: for
// every level it clicks each link's start node and moves the mouse cell by cell
// along the stored solution, one cell per tick, then waits out the transition.
// It runs over the generated levels of the data folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using Lintwick::CellCodeX;
using Lintwick::CellCodeY;
using LintwickTest::FakeHost;
using LintwickTest::Player;

constexpr int kLevels = 100;
constexpr int kTickLimit = 2000;  // far more than any level needs

int LevelPoints(int level) { return 500 + (level * 4500) / 99; }
int Penalty(int level) { return 20 + (level * 180) / 99; }

// How the player treats the first link of a level in the run with cuts.
enum class Mistake { None, CutWholePath, StepBack, SpendAllowance };

class GamePlayer {
 public:
  explicit GamePlayer(FakeHost host) : p(std::move(host)) {}

  Player p;
  int expectedScore = 0;
  long ticks = 0;

  void Tick() {
    p.Tick();
    ++ticks;
  }

  // Plays the current level to the start of its transition.
  void PlayLevel(Mistake mistake) {
    const int level = p->GetLevel();
    int vortices = 0;
    bool first = true;
    for (int link = 0; link < Lintwick::kMaxLinks; ++link) {
      if (!p.LinkOf(link).Exists()) continue;
      const std::vector<int> path = Solution(link);
      WaitForCube();
      const Lintwick::Piece* start = p.LinkOf(link).At(1);
      ASSERT_NE(start, nullptr);
      p.Click(start->x, start->y);
      Tick();
      ASSERT_EQ(p->mCurrentLink, link) << "level " << level << " link " << link;
      // A mistake needs a path to take back.
      if (first && mistake == Mistake::SpendAllowance && !path.empty()) {
        SpendAllowance(link, path);
        return;
      }
      std::size_t drawn = 0;  // solution cells already on the board
      if (first && mistake != Mistake::None && !path.empty()) {
        vortices += MakeMistake(mistake, link, path, drawn);
        if (testing::Test::HasFatalFailure()) return;
      }
      first = false;
      DrawFrom(drawn, link, path);
      if (testing::Test::HasFatalFailure()) return;
      ASSERT_TRUE(p.LinkOf(link).completed) << "level " << level << " link " << link;
    }
    ASSERT_EQ(p->mShutterTick, 1) << "level " << level << " is not complete";
    const int points = std::max(10, LevelPoints(level) - vortices * Penalty(level));
    EXPECT_EQ(p->mLevelPointsShown, points) << "level " << level;
    expectedScore += points;
  }

  // Ticks through the transition to the next level.
  void FinishTransition(int level) {
    for (int i = 0; i < kTickLimit && p->mShutterTick != 0; ++i) Tick();
    ASSERT_EQ(p->mShutterTick, 0);
    ASSERT_EQ(p->GetLevel(), level + 1);
    ASSERT_EQ(p->GetScore(), expectedScore) << "after level " << level;
  }

  std::vector<int> Solution(int link) const {
    std::vector<int> path;
    for (int code : p->mSolution[static_cast<std::size_t>(link)]) {
      if (code == Lintwick::kNoCell) break;
      path.push_back(code);
    }
    return path;
  }

 private:
  void WaitForCube() {
    for (int i = 0; i < kTickLimit && p->mCube; ++i) Tick();
    ASSERT_EQ(p->mCube, nullptr);
  }

  // One mouse move into the next cell (over a point off its centre first, as
  // a hand would), then the tick that takes the step.
  void StepInto(int x, int y) {
    p->HandleMouseMove(Lintwick::CellCentreX(x) - 9, Lintwick::CellCentreY(y) + 7);
    p.MoveTo(x, y);
    Tick();
  }

  // Draws the path from cell `from` of the solution on, then into the target.
  void DrawFrom(std::size_t from, int link, const std::vector<int>& path) {
    for (std::size_t i = from; i < path.size(); ++i) {
      const int before = p->GetScore();
      StepInto(CellCodeX(path[i]), CellCodeY(path[i]));
      ASSERT_EQ(p->GetScore(), before + 1) << "level " << p->GetLevel() << " link " << link << " cell " << i;
      ++expectedScore;
    }
    const Lintwick::Piece* target = p.LinkOf(link).At(0);
    ASSERT_NE(target, nullptr);
    StepInto(target->x, target->y);
  }

  // Draws part of the path and takes it back at a cost; answers the vortices
  // and sets how many solution cells stay drawn.
  int MakeMistake(Mistake mistake, int link, const std::vector<int>& path, std::size_t& drawn) {
    if (mistake == Mistake::CutWholePath && !path.empty()) {
      // Draw the whole path short of the target, stop, then erase it all from
      // the start node.
      const std::size_t laid = path.size();
      for (std::size_t i = 0; i < laid; ++i) StepInto(CellCodeX(path[i]), CellCodeY(path[i]));
      expectedScore += static_cast<int>(laid);
      const Lintwick::Piece* start = p.LinkOf(link).At(1);
      p.RightClick(start->x, start->y);
      WaitForCube();
      p.Click(start->x, start->y);
      Tick();
      EXPECT_EQ(p->mMarkAction, Lintwick::kMarkCut);
      p.Click(start->x, start->y);
      Tick();
      EXPECT_EQ(p.LinkOf(link).count, 2);
      EXPECT_EQ(p->mCube, start);
      return static_cast<int>(laid);
    }
    if (mistake == Mistake::StepBack && path.size() >= 2) {
      // Two cells, wait for the cube to reach the first, step back onto it:
      // the mark asks, the click removes the second cell with a vortex.
      StepInto(CellCodeX(path[0]), CellCodeY(path[0]));
      StepInto(CellCodeX(path[1]), CellCodeY(path[1]));
      expectedScore += 2;
      const Lintwick::Piece* firstPiece = p.LinkOf(link).At(2);
      for (int i = 0; i < kTickLimit && p->mCube != firstPiece; ++i) Tick();
      StepInto(CellCodeX(path[0]), CellCodeY(path[0]));
      EXPECT_EQ(p->mMarkAction, Lintwick::kMarkStepBack);
      WaitForCube();
      p.Click(CellCodeX(path[0]), CellCodeY(path[0]));
      Tick();
      EXPECT_EQ(p.LinkOf(link).count, 3);
      drawn = 1;
      return 1;
    }
    return 0;
  }

  // Lays and erases the first link's path until the allowance is spent.
  void SpendAllowance(int link, const std::vector<int>& path) {
    const int level = p->GetLevel();
    const int laid = static_cast<int>(path.size());
    const int cycles = (p->mVortexesLeft + laid - 1) / laid;
    const Lintwick::Piece* start = p.LinkOf(link).At(1);
    for (int cycle = 0; cycle < cycles; ++cycle) {
      for (std::size_t i = 0; i < path.size(); ++i) StepInto(CellCodeX(path[i]), CellCodeY(path[i]));
      expectedScore += static_cast<int>(path.size());
      p.RightClick(start->x, start->y);
      WaitForCube();
      p.Click(start->x, start->y);
      Tick();
      p.Click(start->x, start->y);
      Tick();
    }
    ASSERT_EQ(p->mTransitionKind, Lintwick::kReplayLevel);
    ASSERT_EQ(p->mVortexesLeft, 0);
    const int asked = p.host.Count("RestartLevel");
    for (int i = 0; i < kTickLimit && p->mShutterTick != 0; ++i) Tick();
    ASSERT_EQ(p.host.Count("RestartLevel"), asked + 1);
    ASSERT_EQ(p->GetLevel(), level);
    ASSERT_EQ(p->GetScore(), expectedScore);
    ASSERT_EQ(p->mLevelPoints, LevelPoints(level));
  }
};

struct RunResult {
  int score = 0;
  long ticks = 0;
  double seconds = 0;
};

// Plays all hundred levels; a mistake function picks how each level's first
// link is treated.
template <typename PickMistake>
RunResult PlayWholeGame(FakeHost host, PickMistake pick) {
  const auto began = std::chrono::steady_clock::now();
  GamePlayer game(std::move(host));
  game.p->NewGame();
  for (int level = 0; level < kLevels; ++level) {
    EXPECT_EQ(game.p->GetLevel(), level);
    EXPECT_EQ(game.p->mLevelPoints, LevelPoints(level));
    const Mistake mistake = pick(level, game);
    if (mistake == Mistake::SpendAllowance) {
      game.PlayLevel(mistake);
      if (testing::Test::HasFatalFailure()) return {};
    }
    game.PlayLevel(mistake == Mistake::SpendAllowance ? Mistake::None : mistake);
    if (testing::Test::HasFatalFailure()) return {};
    if (level < kLevels - 1) {
      EXPECT_EQ(game.p->mTransitionKind, Lintwick::kNextLevel);
      game.FinishTransition(level);
      if (testing::Test::HasFatalFailure()) return {};
    }
  }

  // The last level ends the game at tick 82 of its transition.
  EXPECT_EQ(game.p->mTransitionKind, Lintwick::kGameDone);
  const int start = game.p.host.tick;
  for (int i = 0; i < 200 && !game.p.host.Count("HighScores"); ++i) game.Tick();
  EXPECT_EQ(game.p.host.TicksOf("HighScores"), std::vector<int>{start + 82});
  EXPECT_TRUE(game.p->IsGameCompleteTransition());
  EXPECT_EQ(game.p->GetScore(), game.expectedScore);
  EXPECT_EQ(game.p.host.requests.back().value, std::to_string(game.expectedScore));
  EXPECT_EQ(game.p->GetLevel(), 0);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
  return {game.p->GetScore(), game.ticks, took.count()};
}

void Report(const char* name, const RunResult& result) {
  std::cout << name << ": final score " << result.score << " after " << result.ticks << " logic ticks ("
            << result.ticks / 20 << " s of play), run in " << result.seconds << " s\n";
  testing::Test::RecordProperty("final_score", result.score);
  testing::Test::RecordProperty("logic_ticks", static_cast<int>(result.ticks));
}

// The expected score of a faultless run: every solution cell and every level.
int FaultlessScore(FakeHost host) {
  Player p(std::move(host));
  int score = 0;
  for (int level = 0; level < kLevels; ++level) {
    p->mLevel = level;
    p->RestartLevel();
    score += LevelPoints(level);
    for (const auto& path : p->mSolution)
      for (int code : path) score += code != Lintwick::kNoCell;
  }
  return score;
}

Mistake NoMistakes(int, GamePlayer&) { return Mistake::None; }

// Every fifth level erases its first path once, every seventh steps back once,
// and the second level spends its whole allowance and is replayed.
Mistake SomeMistakes(int level, GamePlayer&) {
  if (level == 1) return Mistake::SpendAllowance;
  if (level % 5 == 0) return Mistake::CutWholePath;
  if (level % 7 == 0) return Mistake::StepBack;
  return Mistake::None;
}

// --- The generated levels of the data folder.

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<FakeHost> GeneratedLevels() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  if (!dir) return std::nullopt;
  FakeHost host;
  const std::pair<const char*, const char*> files[] = {{Lintwick::kBoardFile, "level_b.dat"},
                                                       {Lintwick::kNodeFile, "level_n.dat"},
                                                       {Lintwick::kSolutionFile, "level_l.dat"}};
  for (const auto& [key, name] : files) {
    auto bytes = ReadFile(std::string(dir) + "/levels/" + name);
    if (!bytes || bytes->empty()) return std::nullopt;
    host.files[key] = *bytes;
  }
  return host;
}

constexpr const char* kNoLevels =
    "no level files in $LINTWICK_DATA_DIR/levels: the level generator has not written them";

// Solved faultlessly the game pays every solution cell and every level; with
// cuts it pays less, since every vortex costs more than its piece brought.
TEST(WholeGame, GeneratedLevelsAreSolvedByTheirStoredSolutionsWithAndWithoutCuts) {
  auto host = GeneratedLevels();
  if (!host) GTEST_SKIP() << kNoLevels;
  ASSERT_EQ(host->files[Lintwick::kBoardFile].size(), 100u * Lintwick::kBoardRecordSize);
  ASSERT_EQ(host->files[Lintwick::kNodeFile].size(), 100u * Lintwick::kNodeRecordSize);
  ASSERT_EQ(host->files[Lintwick::kSolutionFile].size(), 100u * Lintwick::kSolutionRecordSize);
  const int expected = FaultlessScore(*host);
  const RunResult result = PlayWholeGame(*host, NoMistakes);
  EXPECT_EQ(result.score, expected);
  Report("generated levels", result);
  const RunResult withCuts = PlayWholeGame(*host, SomeMistakes);
  EXPECT_LT(withCuts.score, expected);
  Report("generated levels with cuts", withCuts);
}

}  // namespace
