// The levels the build generated, read the way the game reads them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "framework/app/FileAccess.h"
#include "game/levelgen/Generator.h"
#include "game/levelgen/Solver.h"
#include "game/puzzle/Puzzle.h"
#include "tests/puzzle/PuzzleTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Lintwick::LevelGen;

// A file the build's level generator wrote into the data folder.
std::string ReadFile(const std::string& name) {
  Zing::Buffer buffer;
  const char* folder = std::getenv("LINTWICK_DATA_DIR");
  if (!folder || !Zing::ReadBufferFromFile(std::string(folder) + "/levels/" + name, buffer)) return "";
  return std::string(reinterpret_cast<const char*>(buffer.GetDataPtr()), buffer.GetDataLen());
}

// The board of the puzzle's current level as the generator sees it: the
// present cells and, per link, its first node (slot 0) and second (slot 1).
Board BoardOf(const Lintwick::Puzzle& puzzle) {
  Board board;
  for (int x = 0; x < Lintwick::kBoardSize; ++x)
    for (int y = 0; y < Lintwick::kBoardSize; ++y)
      if (puzzle.IsPresent(x, y)) board.present |= Bit(CellAt(x, y));
  for (int link = 0; link < Lintwick::kMaxLinks && puzzle.GetLink(link).Exists(); ++link) {
    const auto& slots = puzzle.GetLink(link).slots;
    board.pairs.push_back({CellAt(slots[0]->x, slots[0]->y), CellAt(slots[1]->x, slots[1]->y)});
  }
  return board;
}

struct Extent {
  int width, height;
};

// The bounding box of the present cells.
Extent ExtentOf(const Lintwick::Puzzle& puzzle) {
  int minX = 10, maxX = -1, minY = 10, maxY = -1;
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 10; ++y)
      if (puzzle.IsPresent(x, y))
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
  return {maxX - minX + 1, maxY - minY + 1};
}

class GeneratedLevels : public testing::Test {
 protected:
  void SetUp() override {
    auto levels = LintwickTest::GeneratedLevels();
    ASSERT_TRUE(levels) << "no level files in $LINTWICK_DATA_DIR/levels";
    host = std::move(*levels);
    puzzle = std::make_unique<Lintwick::Puzzle>(host);
  }

  LintwickTest::FakeHost host;
  std::unique_ptr<Lintwick::Puzzle> puzzle;
};

// Every level solvable, later ones with one way only to fill the board, no
// two the same puzzle; small boards first, the whole grid with holes at the
// end, never a smaller board than the one before, and a rising difficulty.
TEST_F(GeneratedLevels, SolvableUniqueDistinctGrowingAndHarder) {
  std::vector<GeneratedLevel> levels;
  std::set<std::string> keys;
  int area = 0;
  for (int level = 0; level < kLevelCount; ++level) {
    puzzle->mLevel = level;
    puzzle->RestartLevel();
    SCOPED_TRACE("level " + std::to_string(level + 1));
    const Board board = BoardOf(*puzzle);
    EXPECT_TRUE(keys.insert(CanonicalKey(board)).second) << "a level seen before";
    const Extent extent = ExtentOf(*puzzle);
    const int present = Count(board.present);
    EXPECT_GE(extent.width * extent.height, area);
    area = extent.width * extent.height;
    const std::size_t links = board.pairs.size();
    EXPECT_TRUE(level >= 5 || (area <= 25 && present >= 20 && links >= 2 && links <= 3)) << "a small first board";
    EXPECT_TRUE(level < 70 || (area == 100 && present < 100 && links >= 6)) << "the whole grid, with holes";
    const auto solution = SolveGameRule(board);
    ASSERT_TRUE(solution.has_value());
    EXPECT_TRUE(IsValidSolution(board, *solution, false));
    const FillCount count = CountFillSolutions(board, 2);
    ASSERT_FALSE(count.exhausted);
    EXPECT_TRUE(level < kFirstUniqueLevel || count.solutions == 1) << "a unique solution";
    levels.push_back(GeneratedLevel{board, {}, count.solutions, count.effort});
  }
  for (std::size_t first = kBlockSize; first < levels.size(); first += kBlockSize) {
    EXPECT_GE(TwiceMedianDifficulty(levels, first, kBlockSize),
              TwiceMedianDifficulty(levels, first - kBlockSize, kBlockSize))
        << "levels " << first + 1 << "-" << first + kBlockSize;
  }
  EXPECT_GT(TwiceMedianDifficulty(levels, 90, 10), 4 * TwiceMedianDifficulty(levels, 0, 10));
}

// FNV-1a of a file's bytes.
std::uint64_t Fingerprint(const std::string& bytes) { return LintwickTest::Fnv(bytes.data(), bytes.size()); }

// The files hold one hundred records and a report, the very levels every
// build has made since they were first drawn; a second run of the generator
// writes the very same bytes as the build's run.
TEST_F(GeneratedLevels, FilesHoldOneHundredRecordsAndAreTheSameOnEveryRun) {
  EXPECT_EQ(host.files[Lintwick::kBoardFile].size(), 3200u);
  EXPECT_EQ(host.files[Lintwick::kNodeFile].size(), 1600u);
  EXPECT_EQ(host.files[Lintwick::kSolutionFile].size(), 10000u);
  EXPECT_EQ(Fingerprint(host.files[Lintwick::kBoardFile]), 0x3075E77BE8DF4FB8ull);
  EXPECT_EQ(Fingerprint(host.files[Lintwick::kNodeFile]), 0xB2947BA847FC824Aull);
  EXPECT_EQ(Fingerprint(host.files[Lintwick::kSolutionFile]), 0xB3F5FD7DD88BCFF9ull);
  EXPECT_NE(ReadFile("report.txt").find("\n  100  10x10"), std::string::npos);
  EXPECT_TRUE(host.popups.empty());
  ZingTest::TempFolder folder;
  const std::string command = std::string("\"") + LEVELGEN_TOOL + "\" \"" + folder.Path() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* name : {"level_b.dat", "level_n.dat", "level_l.dat", "report.txt"}) {
    EXPECT_EQ(folder.Read(name), ReadFile(name)) << name;
  }
}

}  // namespace
