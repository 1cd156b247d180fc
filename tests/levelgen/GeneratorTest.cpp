// The level generator's parts: its random numbers, board shapes,
// the key that tells levels apart, the level records, and one whole level.

#include <gtest/gtest.h>

#include <tuple>

#include "tools/levelgen/Generator.h"
#include "tools/levelgen/LevelFiles.h"
#include "tools/levelgen/Random.h"
#include "tools/levelgen/Solver.h"

namespace {

using namespace Lintwick::LevelGen;

TEST(Random, SameNumbersEverywhere) {
  // The first SplitMix64 output of seed 0; a different value would mean
  // different levels on another machine.
  Random random(0);
  EXPECT_EQ(random.Next(), 0xE220A8397B1DCDAFull);
  for (int i = 0; i < 1000; ++i) {
    const int below = random.Below(7), between = random.Between(3, 5);
    ASSERT_TRUE(below >= 0 && below < 7 && between >= 3 && between <= 5) << below << " " << between;
  }
}

TEST(Shapes, KeepTheirExtentAndStayInOnePiece) {
  Random random(3);
  for (int trial = 0; trial < 200; ++trial) {
    const int width = random.Between(3, 10), height = random.Between(3, 10);
    const int holes = random.Between(0, width * height / 5);
    const Bits shape = MakeShape(random, width, height, holes);
    EXPECT_EQ(Flood(Bit(Lowest(shape)), shape), shape);
    EXPECT_GE(Count(shape), width * height - holes - 1);
    int minX = kGrid, maxX = -1, minY = kGrid, maxY = -1;
    for (int cell = 0; cell < kBitCells; ++cell) {
      if (!Has(shape, cell)) continue;
      EXPECT_GE(Count(Neighbours(Bit(cell), shape)), 2);
      minX = std::min(minX, CellX(cell)), maxX = std::max(maxX, CellX(cell));
      minY = std::min(minY, CellY(cell)), maxY = std::max(maxY, CellY(cell));
    }
    EXPECT_EQ(std::pair(maxX - minX + 1, maxY - minY + 1), std::pair(width, height));
    EXPECT_EQ(minX, (kGrid - width) / 2);  // centred
  }
}

Board Transform(const Board& board, int t, int dx, int dy) {
  auto place = [&](int cell) {
    int x = CellX(cell), y = CellY(cell);
    if (t & 1) x = 4 - x;
    if (t & 2) y = 4 - y;
    if (t & 4) std::swap(x, y);
    return CellAt(x + dx, y + dy);
  };
  Board moved;
  for (int cell = 0; cell < kBitCells; ++cell)
    if (Has(board.present, cell)) moved.present |= Bit(place(cell));
  // Pairs in another order, each turned round: still the same layout.
  for (auto it = board.pairs.rbegin(); it != board.pairs.rend(); ++it)
    moved.pairs.push_back({place((*it)[1]), place((*it)[0])});
  return moved;
}

TEST(Variety, RotationsMirrorsAndShiftsAreTheSameLevel) {
  Board board;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) board.present |= Bit(CellAt(x, y));
  board.present &= ~Bit(CellAt(1, 3));
  board.pairs = {{CellAt(0, 0), CellAt(4, 1)}, {CellAt(2, 2), CellAt(3, 4)}};
  const std::string key = CanonicalKey(board);
  for (int t = 0; t < 8; ++t) EXPECT_EQ(CanonicalKey(Transform(board, t, t % 3, t % 4)), key) << t;

  Board otherNodes = board;
  otherNodes.pairs[1][1] = CellAt(4, 4);
  EXPECT_NE(CanonicalKey(otherNodes), key);
  Board regrouped = board;  // the same four node cells, paired differently
  std::swap(regrouped.pairs[0][1], regrouped.pairs[1][1]);
  EXPECT_NE(CanonicalKey(regrouped), key);
  Board otherHole = board;
  otherHole.present = (otherHole.present | Bit(CellAt(1, 3))) & ~Bit(CellAt(3, 1));
  EXPECT_NE(CanonicalKey(otherHole), key);
}

TEST(LevelRecords, LayOutBoardsNodesAndSolutions) {
  GeneratedLevel level;
  level.board.present = Bit(CellAt(0, 0)) | Bit(CellAt(1, 0)) | Bit(CellAt(2, 0)) | Bit(CellAt(9, 9));
  level.board.pairs = {{CellAt(0, 0), CellAt(2, 0)}};
  level.routes = {{CellAt(2, 0), CellAt(1, 0), CellAt(0, 0)}};
  const LevelFileSet files = EncodeLevels({level, level});
  ASSERT_EQ(files.boards.size(), 64u);
  ASSERT_EQ(files.nodes.size(), 32u);
  ASSERT_EQ(files.solutions.size(), 200u);
  // Rows 0 and 9 (column 9), the rest of the record empty.
  EXPECT_EQ(files.boards.substr(0, 32),
            std::string("\x07", 1) + std::string(18, '\0') + "\x02" + std::string(12, '\0'));
  EXPECT_EQ(files.nodes.substr(0, 4), std::string("\x02\x00\x20\x00", 4));
  // Link 0: one cell between the nodes; links 1-6 empty.
  EXPECT_EQ(files.solutions.substr(0, 9), std::string("\x01\x10\0\0\0\0\0\0\0", 9));

  // Levels whose stored paths do not solve them are refused.
  GeneratedLevel crowded = level;
  crowded.board.pairs.resize(8, crowded.board.pairs[0]);
  crowded.routes.resize(8, crowded.routes[0]);
  EXPECT_THROW(EncodeLevels({crowded}), std::invalid_argument);
  GeneratedLevel broken = level;
  broken.routes[0].erase(broken.routes[0].begin() + 1);
  EXPECT_THROW(EncodeLevels({level, broken}), std::invalid_argument);
  EXPECT_THROW(EncodeLevels({GeneratedLevel{}}), std::invalid_argument);  // a level that was never made
}

TEST(Levels, OneLevelIsTheSameForTheSameSeed) {
  const LevelPlan plan = PlanFor(35);
  const GeneratedLevel a = GenerateLevel(plan, 12345);
  const GeneratedLevel b = GenerateLevel(plan, 12345);
  ASSERT_EQ(a.fillSolutions, 1);
  EXPECT_EQ(std::tie(a.board.present, a.board.pairs, a.routes, a.difficulty),
            std::tie(b.board.present, b.board.pairs, b.routes, b.difficulty));
  EXPECT_TRUE(IsValidSolution(a.board, a.routes, true));
  EXPECT_EQ(CountFillSolutions(a.board, 2).solutions, 1);
}

}  // namespace
