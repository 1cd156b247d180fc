// The level generator's parts: board shapes, the key that tells levels apart,
// the level records, the solvers and the certificate; the calendar and the
// daily board, its date -> board mapping pinned on a golden date. (The
// hundred levels are pinned byte for byte by the generated levels' test.)

#include <gtest/gtest.h>

#include <bit>
#include <tuple>

#include "game/levelgen/CalendarDate.h"
#include "game/levelgen/DailyBoard.h"
#include "game/levelgen/Generator.h"
#include "game/levelgen/LevelFiles.h"
#include "game/levelgen/Random.h"
#include "game/levelgen/Solver.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using namespace Lintwick::LevelGen;
using Lintwick::CalendarDate;

Bits Rect(int width, int height) {
  Bits bits = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bits |= Bit(CellAt(x, y));
  return bits;
}

// The width and height of the smallest rectangle round a set of cells, and its left column.
std::tuple<int, int, int> ExtentOf(Bits cells) {
  unsigned cols = 0, rows = 0;
  for (int cell = 0; cell < kBitCells; ++cell)
    if (Has(cells, cell)) cols |= 1u << CellX(cell), rows |= 1u << CellY(cell);
  const int left = std::countr_zero(cols);
  return {static_cast<int>(std::bit_width(cols)) - left,
          static_cast<int>(std::bit_width(rows)) - std::countr_zero(rows), left};
}

TEST(Shapes, KeepTheirExtentAndStayInOnePiece) {
  Random random(3);
  for (int trial = 0; trial < 200; ++trial) {
    const int width = random.Between(3, 10), height = random.Between(3, 10);
    const int holes = random.Between(0, width * height / 5);
    const Bits shape = MakeShape(random, width, height, holes);
    EXPECT_EQ(Flood(Bit(Lowest(shape)), shape), shape);
    EXPECT_GE(Count(shape), width * height - holes - 1);
    for (int cell = 0; cell < kBitCells; ++cell)
      EXPECT_TRUE(!Has(shape, cell) || Count(Neighbours(Bit(cell), shape)) >= 2) << cell;
    EXPECT_EQ(ExtentOf(shape), std::tuple(width, height, (kGrid - width) / 2));  // centred
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
  ASSERT_EQ(std::tuple(files.boards.size(), files.nodes.size(), files.solutions.size()), std::tuple(64u, 32u, 200u));
  // Rows 0 and 9 (column 9), the rest of the record empty.
  EXPECT_EQ(files.boards.substr(0, 32),
            std::string("\x07", 1) + std::string(18, '\0') + "\x02" + std::string(12, '\0'));
  EXPECT_EQ(files.nodes.substr(0, 4), std::string("\x02\x00\x20\x00", 4));
  // Link 0: one cell between the nodes; links 1-6 empty.
  EXPECT_EQ(files.solutions.substr(0, 9), std::string("\x01\x10\0\0\0\0\0\0\0", 9));
  // The second record decodes back to the level; damaged ones do not decode.
  const std::string board = files.boards.substr(32), nodes = files.nodes.substr(16), path = files.solutions.substr(100);
  const auto decoded = DecodeLevel(board, nodes, path);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(std::tuple(decoded->board.present, decoded->board.pairs, decoded->routes),
            std::tuple(level.board.present, level.board.pairs, level.routes));
  std::string oddNodes = nodes, offGrid = nodes, overlong = path;
  oddNodes[0] = 3;
  offGrid[1] = static_cast<char>(0xA0);
  overlong[0] = 100;  // one more cell than the record holds
  for (const auto& [b, n, l] : {std::tuple{board, oddNodes, path},
                                {board, offGrid, path},
                                {board, nodes, overlong},
                                {board + "x", nodes, path}})
    EXPECT_FALSE(DecodeLevel(b, n, l));

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

TEST(FillSolutions, KnownCountsTheCapTheEffortLimitAndTheCertificate) {
  // Paths through every cell of a 5 x 5 grid from corner to corner; the
  // random boards below check the counting against plain enumeration.
  const Board open{Rect(5, 5), {{CellAt(0, 0), CellAt(4, 4)}}};
  EXPECT_EQ(std::tuple(FillCountOf(open), CountFillSolutions(open, 3).solutions), std::tuple(104, 3));
  const FillCount stopped = CountFillSolutions(open, 1000, 10);
  EXPECT_TRUE(stopped.exhausted && stopped.effort <= 11) << stopped.effort;

  // Only a level whose stored solution fills the board and is the one way to do so is certified.
  // Corner to corner through a 3 x 3 board goes row by row or column by column; a ring round a hole
  // has one way (the nodes next to each other go the long way round); a path that leaves a cell
  // empty, or a level without pairs, is not certified.
  GeneratedLevel twoWays;
  twoWays.board = {Rect(3, 3), {{CellAt(2, 2), CellAt(0, 0)}}};
  twoWays.routes = {{CellAt(0, 0), CellAt(1, 0), CellAt(2, 0), CellAt(2, 1), CellAt(1, 1), CellAt(0, 1), CellAt(0, 2),
                     CellAt(1, 2), CellAt(2, 2)}};
  ASSERT_TRUE(IsValidSolution(twoWays.board, twoWays.routes, true));
  EXPECT_EQ(std::tuple(CountFillSolutions(twoWays.board, 3).solutions, CertifyFillUnique(twoWays)),
            std::tuple(2, false));
  GeneratedLevel ring;
  ring.board = {Rect(3, 3) & ~Bit(CellAt(1, 1)), {{CellAt(0, 0), CellAt(1, 0)}}};
  ring.routes = {
      {CellAt(1, 0), CellAt(2, 0), CellAt(2, 1), CellAt(2, 2), CellAt(1, 2), CellAt(0, 2), CellAt(0, 1), CellAt(0, 0)}};
  EXPECT_TRUE(CertifyFillUnique(ring));
  EXPECT_EQ(std::pair(CountFillSolutions(ring.board, 5).first, CountFillSolutions(ring.board, 5).exhausted),
            std::pair(ring.routes, false));
  GeneratedLevel gap = ring;
  gap.board.present |= Bit(CellAt(3, 0));
  EXPECT_FALSE(CertifyFillUnique(gap) || CertifyFillUnique(GeneratedLevel{}));
}

TEST(GameRule, FindsPathsWithoutFillingAndSeesImpossibleBoards) {
  // Joinable, but not with every cell filled. (Which boards can be joined at all the random boards below check.)
  const Board strip{Rect(3, 1), {{CellAt(0, 0), CellAt(1, 0)}}};
  EXPECT_EQ(std::tuple(FillCountOf(strip), SolveGameRule(strip)), std::tuple(0, Routes{{CellAt(1, 0), CellAt(0, 0)}}));
  // A path may not run through another pair's node.
  const Bits tee = Rect(3, 1) | Bit(CellAt(1, 1));
  EXPECT_FALSE(SolveGameRule(Board{tee, {{CellAt(0, 0), CellAt(2, 0)}, {CellAt(1, 0), CellAt(1, 1)}}}));
  EXPECT_TRUE(SolveGameRule(Board{tee, {{CellAt(0, 0), CellAt(2, 0)}}}));
}

TEST(Solvers, RejectBrokenBoardsAndAgreeWithPlainEnumeration) {
  // A node on a hole, a node shared by two pairs.
  for (const Board& board : {Board{Rect(3, 3), {{CellAt(0, 0), CellAt(5, 5)}}},
                             Board{Rect(3, 3), {{CellAt(0, 0), CellAt(2, 2)}, {CellAt(2, 2), CellAt(0, 2)}}}})
    EXPECT_EQ(std::tuple(CountFillSolutions(board, 2).solutions, SolveGameRule(board).has_value()),
              std::tuple(0, false));
  Board tooMany{Rect(10, 10), {}};
  for (int p = 0; p < 8; ++p) tooMany.pairs.push_back({CellAt(p, 0), CellAt(p, 9)});
  EXPECT_EQ(CountFillSolutions(tooMany, 2).solutions, 0);

  // On random small boards they agree with plain enumeration.
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

TEST(Calendar, DayNumbersWeekdaysAndTheirWayBack) {
  struct Known {
    CalendarDate date;
    std::int64_t day;
    int weekday;
  };
  const Known known[] = {
      {{1970, 1, 1}, 0, 3},     {{1969, 12, 31}, -1, 2},      {{2000, 2, 29}, 11016, 1},
      {{2000, 3, 1}, 11017, 2}, {{2026, 12, 7}, 20794, 0},    {{2026, 12, 13}, 20800, 6},
      {{1, 1, 1}, -719162, 0},  {{9999, 12, 31}, 2932896, 4}, {{1900, 3, 1}, -25508, 3},
  };
  for (const Known& k : known) {
    SCOPED_TRACE(Lintwick::FormatDate(k.date));
    EXPECT_EQ(std::tuple(Lintwick::DayNumber(k.date), Lintwick::Weekday(k.date), Lintwick::DateOfDay(k.day)),
              std::tuple(k.day, k.weekday, k.date));
  }
  // Every day of four centuries, one after the other.
  CalendarDate expected{1899, 12, 31};
  for (std::int64_t day = Lintwick::DayNumber({1900, 1, 1}); day <= Lintwick::DayNumber({2300, 1, 1}); ++day) {
    expected.day += 1;
    if (expected.day > Lintwick::DaysInMonth(expected.year, expected.month)) {
      expected.day = 1;
      if (++expected.month > 12) expected.month = 1, ++expected.year;
    }
    ASSERT_EQ(Lintwick::DateOfDay(day), expected) << day;
  }
}

TEST(Calendar, ReadsExactlyFourTwoAndTwoDigitsOfARealDate) {
  EXPECT_EQ(Lintwick::ParseDate("2024-02-29"), (CalendarDate{2024, 2, 29}));
  EXPECT_EQ(Lintwick::ParseDate("0001-01-01"), (CalendarDate{1, 1, 1}));
  for (const char* bad :
       {"2026-02-29", "1900-02-29", "2026-13-01", "2026-00-10", "2026-04-31", "0000-01-01", "2026-1-07", "26-12-07",
        "2026/12/07", "2026-12-07 ", " 2026-12-07", "2026-12-0x", "+026-12-07", "", "tomorrow"}) {
    EXPECT_FALSE(Lintwick::ParseDate(bad)) << bad;
  }
  EXPECT_EQ(Lintwick::FormatDate({987, 3, 4}), "0987-03-04");
}

// The golden date: its board, byte for byte as the game reads it. A change
// here changes every player's board of every day.
TEST(DailyBoard, TheGoldenDateGivesTheSameBoardEverywhere) {
  EXPECT_EQ(DailySeed({2026, 12, 7}, 0), 1421374158119215531ull);
  const auto daily = MakeDailyBoard({2026, 12, 7});  // a Monday: 6 x 6
  ASSERT_TRUE(daily);
  EXPECT_EQ(std::tuple(daily->attempt, daily->level.difficulty), std::tuple(0, 47));
  const LevelFileSet files = EncodeLevels({daily->level});
  const std::string bytes = files.boards + files.nodes + files.solutions;
  EXPECT_EQ(LintwickTest::Fnv(bytes.data(), bytes.size()), 868476699946092455ull);
}

// A week of boards: each of its weekday's size (either way round), certified,
// within its band, new every day; and the seeds of a date never repeat.
TEST(DailyBoard, AWeekGrowsFromMondayToSundayAndEveryBoardIsCertified) {
  std::set<std::string> boards;
  for (int day = 7; day <= 13; ++day) {
    const CalendarDate date{2026, 12, day};
    SCOPED_TRACE(Lintwick::FormatDate(date));
    const int weekday = Lintwick::Weekday(date);
    const auto daily = MakeDailyBoard(date);
    ASSERT_TRUE(daily);
    const auto [w, h] = DailySizeOf(weekday);
    const auto [width, height, left] = ExtentOf(daily->level.board.present);
    EXPECT_EQ(std::minmax(width, height), std::minmax(w, h));
    EXPECT_TRUE(CertifyFillUnique(daily->level));
    EXPECT_GE(daily->level.difficulty, DailyBand(weekday).low);
    EXPECT_LE(daily->level.difficulty, DailyBand(weekday).high);
    EXPECT_TRUE(boards.insert(CanonicalKey(daily->level.board)).second);
    std::set<std::uint64_t> seeds;
    for (int attempt = 0; attempt < kDailyAttempts; ++attempt) seeds.insert(DailySeed(date, attempt));
    EXPECT_EQ(seeds.size(), static_cast<std::size_t>(kDailyAttempts));
  }
  EXPECT_FALSE(MakeDailyBoard({2026, 2, 29}));
}

}  // namespace
