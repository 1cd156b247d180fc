// Reading the three level files: board masks, node pairs and solution groups,
// short and damaged records, and unreadable files.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using namespace LintwickTest;
using Lintwick::CellCode;
using Lintwick::Puzzle;

// The level files of each test, read by a puzzle.
struct LevelFileReading : ::testing::Test {
  FakeHost host;
  LevelFiles files;
  Puzzle& Read() {
    files.InstallInto(host);
    read = std::make_unique<Puzzle>(host);
    return *read;
  }
  std::unique_ptr<Puzzle> read;
};

void Build(Puzzle& puzzle, int level) {
  puzzle.mLevel = level;
  puzzle.RestartLevel();
}

int CountPresent(const Puzzle& puzzle) {
  int present = 0;
  for (int i = 0; i < 100; ++i) present += puzzle.IsPresent(i / 10, i % 10);
  return present;
}

TEST_F(LevelFileReading, BuildsBoardNodesAndSolution) {
  // Level 0: a 3 x 2 board, one link from (0,0) to (2,0) solved through the row below.
  files.Add(BoardRecord({0b111, 0b111}), NodeRecord({CellCode(0, 0), CellCode(2, 0)}),
            SolutionRecord({{CellCode(2, 1), CellCode(1, 1), CellCode(0, 1)}}));
  // Level 1: full board with two links.
  files.Add(FullBoard(), NodeRecord({0x00, 0x99, 0x09, 0x90}), SolutionRecord({}));
  // Level 2: mask bits above the ten columns are ignored.
  files.Add(FullBoard(0xFC00 | 0b1010), NodeRecord({}), SolutionRecord({}));
  Puzzle& puzzle = Read();
  EXPECT_TRUE(host.popups.empty());
  EXPECT_EQ(CountPresent(puzzle), 6);
  EXPECT_TRUE(puzzle.IsPresent(2, 1) && !puzzle.IsPresent(3, 0) && !puzzle.IsPresent(0, 2));

  // The first node of a pair is the target (slot 0), the second the start
  // (slot 1), both in their finished look.
  const auto& link = puzzle.GetLink(0);
  ASSERT_EQ(std::pair(link.count, link.completed), std::pair(2, false));
  EXPECT_EQ(std::pair(puzzle.Cell(0, 0).piece, puzzle.Cell(2, 0).piece), std::pair(link.At(0), link.At(1)));
  EXPECT_EQ(std::pair(link.At(0)->cel, link.At(0)->frame), std::pair(21, 22));
  EXPECT_FALSE(puzzle.GetLink(1).Exists() || puzzle.mNodeCells[2] != -1);
  const auto& path = puzzle.mSolution[0];
  EXPECT_EQ(std::vector<int>(path.begin(), path.begin() + 4), (std::vector<int>{0x21, 0x11, 0x01, -1}));
  EXPECT_EQ(std::pair(puzzle.mSolution[1][0], puzzle.mVortexesLeft), std::pair(-1, 13));

  Build(puzzle, 1);
  EXPECT_EQ(std::pair(CountPresent(puzzle), puzzle.GetLink(1).count), std::pair(100, 2));
  EXPECT_EQ(std::pair(puzzle.Cell(9, 9).piece->link, puzzle.Cell(0, 9).piece->link), std::pair(0, 1));
  // The previous level's pieces and solution are gone.
  EXPECT_EQ(puzzle.Cell(2, 0).piece, nullptr);
  EXPECT_EQ(std::pair(puzzle.mSolution[0][0], puzzle.GetVortexAllowance()), std::pair(-1, 10));

  Build(puzzle, 2);
  EXPECT_EQ(CountPresent(puzzle), 20);
  EXPECT_TRUE(puzzle.IsPresent(1, 4) && puzzle.IsPresent(3, 9) && !puzzle.IsPresent(0, 4));
}

TEST_F(LevelFileReading, ShortFilesReuseTheLastRecord) {
  for (int level = 0; level < 99; ++level)
    files.Add(FullBoard(static_cast<std::uint16_t>(1u << (level % 10))), NodeRecord({}), SolutionRecord({{level}}));
  Puzzle& puzzle = Read();
  Build(puzzle, 99);  // only 99 records: the ninety-ninth is used
  EXPECT_EQ(std::pair(puzzle.mSolution[0][0], CountPresent(puzzle)), std::pair(98, 10));
  EXPECT_TRUE(puzzle.IsPresent(8, 0));

  // A partial last record is padded with zeros: the masks of rows 0 and 1 are
  // there, the rest of the board is absent.
  host.files[Lintwick::kBoardFile] = std::string("\xFF\x03\x01\x00", 4);
  Puzzle partial(host);
  Build(partial, 42);
  EXPECT_EQ(CountPresent(partial), 11);
  EXPECT_TRUE(partial.IsPresent(0, 1) && !partial.IsPresent(1, 1));
}

TEST_F(LevelFileReading, MissingEmptyAndUnreadableFiles) {
  Puzzle none(host);  // no files at all: an empty board, silently
  EXPECT_TRUE(host.popups.empty());
  EXPECT_EQ(std::pair(CountPresent(none), none.GetVortexAllowance()), std::pair(0, 10));

  files.nodes = NodeRecord({0x00, 0x11});
  host.unreadable.insert(Lintwick::kSolutionFile);
  Puzzle& puzzle = Read();
  EXPECT_EQ(host.popups, std::vector<std::string>{"Could not read contents of levels\\level_l.dat"});
  // Nodes on an empty board are not placed.
  EXPECT_EQ(std::pair(puzzle.GetLink(0).Exists(), puzzle.mNodeCells[1]), std::pair(false, 0x11));

  host.popups.clear();
  host.unreadable = {Lintwick::kBoardFile, Lintwick::kNodeFile};
  Read();
  EXPECT_EQ(host.popups, (std::vector<std::string>{"Could not read contents of levels\\level_b.dat",
                                                   "Could not read contents of levels\\level_n.dat"}));
}

TEST_F(LevelFileReading, DamagedNodeRecordsAreSafe) {
  // Level 0: a node outside the board (column 10), one on a hole, one twice on the same cell.
  files.Add(
      BoardRecord({0b11, 0b01}),
      NodeRecord({CellCode(10, 0), CellCode(0, 0), CellCode(1, 1), CellCode(1, 0), CellCode(0, 0), CellCode(0, 1)}),
      SolutionRecord({}));
  // Level 1: a count larger than the record holds and odd.
  files.Add(FullBoard(), NodeRecord({1, 2, 3, 4, 5, 6, 7, 8, 9, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15}, 255),
            SolutionRecord({}));
  Puzzle& puzzle = Read();

  // Every link lost one node: a link with a single node can never be joined,
  // so the lone nodes are taken off the board and the links do not exist.
  for (int link = 0; link < 3; ++link) EXPECT_FALSE(puzzle.GetLink(link).Exists()) << link;
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}}) EXPECT_EQ(puzzle.Cell(x, y).piece, nullptr);

  Build(puzzle, 1);
  int nodes = 0;
  for (int link = 0; link < 7; ++link) nodes += puzzle.GetLink(link).count;
  EXPECT_EQ(std::pair(nodes, puzzle.mNodeCells[13]), std::pair(14, 0x14));
}

TEST_F(LevelFileReading, SolutionGroups) {
  // Count 0 for link 0 leaves it empty; link 1 has two cells.
  files.Add(FullBoard(), NodeRecord({}), SolutionRecord({{}, {0x12, 0x13}}));
  // A group that claims more codes than the record holds stops at its end.
  std::string overlong(100, '\x05');
  overlong[0] = static_cast<char>(200);
  files.Add(FullBoard(), NodeRecord({}), overlong);
  // All zeros: no solution at all.
  files.Add(FullBoard(), NodeRecord({}), std::string(100, '\0'));
  Puzzle& puzzle = Read();
  EXPECT_EQ(std::tuple(puzzle.mSolution[0][0], puzzle.mSolution[1][0], puzzle.mSolution[1][1]),
            std::tuple(-1, 0x12, 0x13));
  EXPECT_EQ(puzzle.GetVortexAllowance(), 12);

  Build(puzzle, 1);
  EXPECT_EQ(std::tuple(puzzle.mSolution[0][98], puzzle.mSolution[0][99], puzzle.mSolution[1][0]),
            std::tuple(5, -1, -1));
  EXPECT_EQ(puzzle.GetVortexAllowance(), 10 + 99);

  Build(puzzle, 2);
  EXPECT_EQ(puzzle.GetVortexAllowance(), 10);
}

TEST_F(LevelFileReading, AddPieceFillsSlotsInOrderUntilFull) {
  files.Add(FullBoard(), NodeRecord({0x00, 0x01}), SolutionRecord({}));
  Puzzle& puzzle = Read();

  puzzle.AddPiece(0, 1, 1, false);
  const auto& link = puzzle.GetLink(0);
  ASSERT_EQ(link.count, 3);
  EXPECT_EQ(std::pair(link.Head(), link.Head()->isNode), std::pair(puzzle.Cell(1, 1).piece, false));

  for (auto [l, x, y] : {std::tuple{0, -1, 0}, {0, 0, 10}, {7, 2, 2}, {-1, 2, 2}}) puzzle.AddPiece(l, x, y, false);
  EXPECT_EQ(link.count, 3);  // off the board, or no such link

  for (int i = 3; i < 100; ++i) puzzle.AddPiece(0, 2 + i % 8, i / 8 % 10, false);
  EXPECT_EQ(link.count, 100);
  puzzle.AddPiece(0, 9, 9, false);  // all 100 slots used: dropped
  EXPECT_EQ(link.count, 100);
}

}  // namespace
