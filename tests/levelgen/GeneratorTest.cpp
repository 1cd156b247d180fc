// The level generator's parts: board shapes, the key that tells levels apart,
// the level records and the solvers. (Its random numbers and whole levels are
// pinned byte for byte by the generated levels' and the daily board's tests.)

#include <gtest/gtest.h>

#include <tuple>

#include "game/levelgen/Generator.h"
#include "game/levelgen/LevelFiles.h"
#include "game/levelgen/Random.h"
#include "game/levelgen/Solver.h"

namespace {

using namespace Lintwick::LevelGen;

Bits Rect(int width, int height) {
  Bits bits = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bits |= Bit(CellAt(x, y));
  return bits;
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
  const Board board{Rect(5, 5) & ~Bit(CellAt(1, 3)), {{CellAt(0, 0), CellAt(4, 1)}, {CellAt(2, 2), CellAt(3, 4)}}};
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

int FillCountOf(const Board& board) { return CountFillSolutions(board, 1'000'000).solutions; }

// Counts by walking every path of every pair, one pair after the other, with
// no pruning at all: slow, but plainly right on small boards.
struct NaiveCounter {
  const Board& board;
  Bits empty = 0;
  bool mustFill = true;
  long long count = 0;

  void Route(std::size_t pair, int head) {
    if (pair == board.pairs.size()) {
      if (!mustFill || empty == 0) ++count;
      return;
    }
    for (int next : {head - kStride, head - 1, head + 1, head + kStride}) {
      if (next < 0 || next >= kBitCells) continue;
      if (next == board.pairs[pair][0]) {
        Route(pair + 1, pair + 1 < board.pairs.size() ? board.pairs[pair + 1][1] : -1);
      } else if (Has(empty, next)) {
        empty &= ~Bit(next);
        Route(pair, next);
        empty |= Bit(next);
      }
    }
  }

  static long long Count(const Board& board, bool mustFill) {
    NaiveCounter counter{board};
    counter.mustFill = mustFill;
    counter.empty = board.present;
    for (const auto& pair : board.pairs) counter.empty &= ~(Bit(pair[0]) | Bit(pair[1]));
    counter.Route(0, board.pairs[0][1]);
    return counter.count;
  }
};

TEST(FillSolutions, KnownCountsHolesCapAndTheFirstSolution) {
  // Paths through every cell of a 5 x 5 grid from corner to corner; the
  // random boards below check the counting against plain enumeration.
  EXPECT_EQ(FillCountOf(Board{Rect(5, 5), {{CellAt(0, 0), CellAt(4, 4)}}}), 104);

  // A ring around a hole: the pair's two nodes next to each other go the long way.
  const Board ring{Rect(3, 3) & ~Bit(CellAt(1, 1)), {{CellAt(0, 0), CellAt(1, 0)}}};
  const FillCount count = CountFillSolutions(ring, 5);
  EXPECT_EQ(count.solutions, 1);
  EXPECT_FALSE(count.exhausted);
  EXPECT_TRUE(IsValidSolution(ring, count.first, true));

  const Board open{Rect(5, 5), {{CellAt(0, 0), CellAt(4, 4)}}};
  EXPECT_EQ(CountFillSolutions(open, 3).solutions, 3);
  const FillCount stopped = CountFillSolutions(open, 1000, 10);
  EXPECT_TRUE(stopped.exhausted);
  EXPECT_LE(stopped.effort, 11);
}

TEST(GameRule, FindsPathsWithoutFillingAndSeesImpossibleBoards) {
  // Joinable, but not with every cell filled.
  const Board strip{Rect(3, 1), {{CellAt(0, 0), CellAt(1, 0)}}};
  EXPECT_EQ(FillCountOf(strip), 0);
  const auto solution = SolveGameRule(strip);
  ASSERT_TRUE(solution.has_value());
  EXPECT_EQ(*solution, (Routes{{CellAt(1, 0), CellAt(0, 0)}}));

  // Pairs whose nodes alternate round the edge must cross, and a pair cut
  // apart by a wall of holes cannot meet.
  EXPECT_FALSE(SolveGameRule(Board{Rect(4, 4), {{CellAt(0, 0), CellAt(3, 3)}, {CellAt(3, 0), CellAt(0, 3)}}}));
  EXPECT_FALSE(SolveGameRule(Board{Rect(2, 2), {{CellAt(0, 0), CellAt(1, 1)}, {CellAt(1, 0), CellAt(0, 1)}}}));
  const Bits walled = Rect(5, 3) & ~(Bit(CellAt(2, 0)) | Bit(CellAt(2, 1)) | Bit(CellAt(2, 2)));
  EXPECT_FALSE(SolveGameRule(Board{walled, {{CellAt(0, 0), CellAt(4, 2)}}}));
  // A path may not run through another pair's node.
  const Bits tee = Rect(3, 1) | Bit(CellAt(1, 1));
  EXPECT_FALSE(SolveGameRule(Board{tee, {{CellAt(0, 0), CellAt(2, 0)}, {CellAt(1, 0), CellAt(1, 1)}}}));
  EXPECT_TRUE(SolveGameRule(Board{tee, {{CellAt(0, 0), CellAt(2, 0)}}}));
}

TEST(Solvers, RejectBrokenBoards) {
  // A node on a hole, a node shared by two pairs.
  for (const Board& board : {Board{Rect(3, 3), {{CellAt(0, 0), CellAt(5, 5)}}},
                             Board{Rect(3, 3), {{CellAt(0, 0), CellAt(2, 2)}, {CellAt(2, 2), CellAt(0, 2)}}}}) {
    EXPECT_EQ(CountFillSolutions(board, 2).solutions, 0);
    EXPECT_FALSE(SolveGameRule(board));
  }
  Board tooMany{Rect(10, 10), {}};
  for (int p = 0; p < 8; ++p) tooMany.pairs.push_back({CellAt(p, 0), CellAt(p, 9)});
  EXPECT_EQ(CountFillSolutions(tooMany, 2).solutions, 0);
}

TEST(Solvers, AgreeWithPlainEnumerationOnRandomSmallBoards) {
  Random random(7);
  int withSolutions = 0;
  for (int trial = 0; trial < 400; ++trial) {
    const Bits shape = MakeShape(random, random.Between(2, 5), random.Between(2, 5), random.Between(0, 3));
    std::vector<int> cells;
    for (int cell = 0; cell < kBitCells; ++cell)
      if (Has(shape, cell)) cells.push_back(cell);
    const int pairs = random.Between(1, 3);
    if (static_cast<int>(cells.size()) < 2 * pairs) continue;
    random.Shuffle(cells);
    Board board{shape, {}};
    for (int p = 0; p < pairs; ++p) board.pairs.push_back({cells[2u * p], cells[2u * p + 1]});

    const long long fill = NaiveCounter::Count(board, true);
    const FillCount count = CountFillSolutions(board, 1'000'000);
    ASSERT_EQ(count.solutions, fill) << "trial " << trial;
    withSolutions += fill > 0;
    EXPECT_TRUE(fill == 0 || IsValidSolution(board, count.first, true)) << "trial " << trial;
    const auto game = SolveGameRule(board);
    ASSERT_EQ(game.has_value(), NaiveCounter::Count(board, false) > 0) << "trial " << trial;
    EXPECT_TRUE(!game || IsValidSolution(board, *game, false)) << "trial " << trial;
  }
  EXPECT_GT(withSolutions, 40);
}

TEST(Validation, CatchesEveryKindOfBrokenPath) {
  const Board board{Rect(3, 2), {{CellAt(0, 0), CellAt(2, 0)}}};
  const Path good = {CellAt(2, 0), CellAt(2, 1), CellAt(1, 1), CellAt(0, 1), CellAt(0, 0)};
  EXPECT_TRUE(IsValidSolution(board, {good}, false));
  EXPECT_FALSE(IsValidSolution(board, {good}, true));  // (1, 0) stays empty
  EXPECT_TRUE(IsValidSolution(board, {{CellAt(2, 0), CellAt(1, 0), CellAt(0, 0)}}, false));
  EXPECT_FALSE(IsValidSolution(board, {{CellAt(0, 0), CellAt(1, 0), CellAt(2, 0)}}, false));  // wrong direction
  EXPECT_FALSE(IsValidSolution(board, {{CellAt(2, 0), CellAt(1, 1), CellAt(0, 0)}}, false));  // diagonal steps
  EXPECT_FALSE(IsValidSolution(board, {{CellAt(2, 0), CellAt(2, 2), CellAt(0, 0)}}, false));  // off the board
  EXPECT_FALSE(IsValidSolution(board, {}, false));
  const Board two{Rect(3, 2), {{CellAt(0, 0), CellAt(2, 0)}, {CellAt(0, 1), CellAt(1, 1)}}};
  // The first path runs through the second pair's node.
  EXPECT_FALSE(IsValidSolution(
      two, {{CellAt(2, 0), CellAt(2, 1), CellAt(1, 1), CellAt(1, 0), CellAt(0, 0)}, {CellAt(1, 1), CellAt(0, 1)}},
      false));
}

}  // namespace
