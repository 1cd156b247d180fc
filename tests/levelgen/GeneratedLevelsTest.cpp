// The levels the build generated, decoded record by record.

#include <gtest/gtest.h>

#include <bit>

#include "game/levelgen/Generator.h"
#include "game/levelgen/LevelFiles.h"
#include "game/levelgen/Solver.h"
#include "tests/puzzle/PuzzleTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Lintwick::LevelGen;

class GeneratedLevels : public testing::Test {
 protected:
  void SetUp() override {
    auto levels = LintwickTest::GeneratedLevels();
    ASSERT_TRUE(levels) << "no level files in $LINTWICK_DATA_DIR/levels";
    host = std::move(*levels);
  }
  // Record `level` of the three files, as the level generator reads it back.
  std::optional<GeneratedLevel> Level(int level) {
    const auto record = [&](const char* file, std::size_t size) { return host.files[file].substr(level * size, size); };
    return DecodeLevel(record(Lintwick::kBoardFile, Lintwick::kBoardRecordSize),
                       record(Lintwick::kNodeFile, Lintwick::kNodeRecordSize),
                       record(Lintwick::kSolutionFile, Lintwick::kSolutionRecordSize));
  }

  LintwickTest::FakeHost host;
};

// Every level solvable, later ones with one way only to fill the board, no
// two the same puzzle; small boards first, the whole grid with holes at the
// end, never a smaller board than the one before, and a rising difficulty.
TEST_F(GeneratedLevels, SolvableUniqueDistinctGrowingAndHarder) {
  std::vector<GeneratedLevel> levels;
  std::set<std::string> keys;
  int area = 0;
  for (int level = 0; level < kLevelCount; ++level) {
    SCOPED_TRACE("level " + std::to_string(level + 1));
    const auto decoded = Level(level);
    ASSERT_TRUE(decoded);
    const Board& board = decoded->board;
    EXPECT_TRUE(keys.insert(CanonicalKey(board)).second) << "a level seen before";
    unsigned cols = 0, rows = 0;  // the bounding box of the present cells
    for (int cell = 0; cell < kBitCells; ++cell)
      if (Has(board.present, cell)) cols |= 1u << CellX(cell), rows |= 1u << CellY(cell);
    const int width = static_cast<int>(std::bit_width(cols)) - std::countr_zero(cols);
    const int height = static_cast<int>(std::bit_width(rows)) - std::countr_zero(rows);
    EXPECT_GE(width * height, area);
    area = width * height;
    const int present = Count(board.present);
    const std::size_t links = board.pairs.size();
    EXPECT_TRUE(level >= 5 || (area <= 25 && present >= 20 && links >= 2 && links <= 3)) << "a small first board";
    EXPECT_TRUE(level < 70 || (area == 100 && present < 100 && links >= 6)) << "the whole grid, with holes";
    EXPECT_TRUE(IsValidSolution(board, decoded->routes, false));
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

// The files hold one hundred records and a report, the very levels every build has made since they
// were first drawn; a second run of the generator writes the very same bytes as the build's run.
TEST_F(GeneratedLevels, FilesHoldOneHundredRecordsAndAreTheSameOnEveryRun) {
  std::vector<std::pair<std::size_t, std::uint64_t>> sizesAndFingerprints;
  for (const char* name : {Lintwick::kBoardFile, Lintwick::kNodeFile, Lintwick::kSolutionFile})
    sizesAndFingerprints.push_back(
        {host.files[name].size(), LintwickTest::Fnv(host.files[name].data(), host.files[name].size())});
  EXPECT_EQ(sizesAndFingerprints,
            (std::vector<std::pair<std::size_t, std::uint64_t>>{
                {3200, 0x3075E77BE8DF4FB8ull}, {1600, 0xB2947BA847FC824Aull}, {10000, 0xB3F5FD7DD88BCFF9ull}}));
  ZingTest::TempFolder folder;
  const std::string command = std::string("\"") + LEVELGEN_TOOL + "\" \"" + folder.Path() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_NE(folder.Read("report.txt").find("\n  100  10x10"), std::string::npos);
  for (const char* name : {"level_b.dat", "level_n.dat", "level_l.dat", "report.txt"}) {
    std::ifstream built(std::string(std::getenv("LINTWICK_DATA_DIR")) + "/levels/" + name, std::ios::binary);
    EXPECT_EQ(folder.Read(name), std::string(std::istreambuf_iterator<char>(built), {})) << name;
  }
}

}  // namespace
