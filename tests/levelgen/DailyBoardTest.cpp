// The daily board: the calendar it counts on, the date -> board mapping pinned
// on a golden date, the weekday's size and band, and the certificate.

#include <gtest/gtest.h>

#include <set>

#include "game/levelgen/CalendarDate.h"
#include "game/levelgen/DailyBoard.h"
#include "game/levelgen/LevelFiles.h"
#include "game/levelgen/Solver.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using namespace Lintwick::LevelGen;
using Lintwick::CalendarDate;

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
    EXPECT_EQ(Lintwick::DayNumber(k.date), k.day);
    EXPECT_EQ(Lintwick::Weekday(k.date), k.weekday);
    EXPECT_EQ(Lintwick::DateOfDay(k.day), k.date);
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

// The board as rows of text: '#' a hole, '.' a free cell, 'A'.. the first
// node and 'a'.. the second node of each pair.
std::string MapOf(const Board& board) {
  std::string map;
  for (int y = 0; y < kGrid; ++y) {
    for (int x = 0; x < kGrid; ++x) map += Has(board.present, CellAt(x, y)) ? '.' : '#';
    map += '\n';
  }
  for (std::size_t p = 0; p < board.pairs.size(); ++p) {
    for (int end = 0; end < 2; ++end) {
      const int cell = board.pairs[p][static_cast<std::size_t>(end)];
      map[static_cast<std::size_t>(CellY(cell) * (kGrid + 1) + CellX(cell))] =
          static_cast<char>((end == 0 ? 'A' : 'a') + static_cast<int>(p));
    }
  }
  return map;
}

// The golden date: its board, byte for byte as the game reads it. A change
// here changes every player's board of every day.
TEST(DailyBoard, TheGoldenDateGivesTheSameBoardEverywhere) {
  EXPECT_EQ(DailySeed({2026, 12, 7}, 0), 1421374158119215531ull);
  const auto daily = MakeDailyBoard({2026, 12, 7});  // a Monday: 6 x 6
  ASSERT_TRUE(daily);
  EXPECT_EQ(daily->attempt, 0);
  EXPECT_EQ(daily->level.difficulty, 47);
  EXPECT_EQ(MapOf(daily->level.board),
            "##########\n"
            "##########\n"
            "##......##\n"
            "##....c.##\n"
            "##..A...##\n"
            "##.#..#.##\n"
            "##.C##..##\n"
            "##B..b.a##\n"
            "##########\n"
            "##########\n");
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
    int minX = kGrid, maxX = -1, minY = kGrid, maxY = -1;
    for (int cell = 0; cell < kBitCells; ++cell) {
      if (!Has(daily->level.board.present, cell)) continue;
      minX = std::min(minX, CellX(cell)), maxX = std::max(maxX, CellX(cell));
      minY = std::min(minY, CellY(cell)), maxY = std::max(maxY, CellY(cell));
    }
    const auto [w, h] = DailySizeOf(weekday);
    EXPECT_EQ(std::minmax(maxX - minX + 1, maxY - minY + 1), std::minmax(w, h));
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

Bits Rect(int width, int height) {
  Bits bits = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bits |= Bit(CellAt(x, y));
  return bits;
}

// Only a board whose stored solution fills it and is the one way to do so
// is certified.
TEST(DailyBoard, CertificationRefusesASecondFillSolution) {
  // Corner to corner through a 3 x 3 board: row by row or column by column.
  GeneratedLevel twoWays;
  twoWays.board = {Rect(3, 3), {{CellAt(2, 2), CellAt(0, 0)}}};
  twoWays.routes = {{CellAt(0, 0), CellAt(1, 0), CellAt(2, 0), CellAt(2, 1), CellAt(1, 1), CellAt(0, 1), CellAt(0, 2),
                     CellAt(1, 2), CellAt(2, 2)}};
  ASSERT_TRUE(IsValidSolution(twoWays.board, twoWays.routes, true));
  EXPECT_EQ(CountFillSolutions(twoWays.board, 3).solutions, 2);
  EXPECT_FALSE(CertifyFillUnique(twoWays));

  // A ring round a hole has one way, which is certified; a path that leaves a
  // cell empty, or a level without pairs, is not.
  GeneratedLevel ring;
  ring.board = {Rect(3, 3) & ~Bit(CellAt(1, 1)), {{CellAt(0, 0), CellAt(1, 0)}}};
  ring.routes = {
      {CellAt(1, 0), CellAt(2, 0), CellAt(2, 1), CellAt(2, 2), CellAt(1, 2), CellAt(0, 2), CellAt(0, 1), CellAt(0, 0)}};
  EXPECT_TRUE(CertifyFillUnique(ring));
  GeneratedLevel gap = ring;
  gap.board.present |= Bit(CellAt(3, 0));
  EXPECT_FALSE(CertifyFillUnique(gap));
  EXPECT_FALSE(CertifyFillUnique(GeneratedLevel{}));
}

// The records decode back to the level they were made from; damaged ones do not decode.
TEST(LevelRecords, DecodeWhatTheyEncodeAndRefuseDamage) {
  const auto daily = MakeDailyBoard({2026, 12, 13});
  ASSERT_TRUE(daily);
  const LevelFileSet files = EncodeLevels({daily->level});
  const auto decoded = DecodeLevel(files.boards, files.nodes, files.solutions);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->board.present, daily->level.board.present);
  EXPECT_EQ(decoded->board.pairs, daily->level.board.pairs);
  EXPECT_EQ(decoded->routes, daily->level.routes);

  std::string oddNodes = files.nodes, offGrid = files.nodes, overlong = files.solutions;
  oddNodes[0] = 3;
  offGrid[1] = static_cast<char>(0xA0);
  overlong[0] = 99;
  EXPECT_FALSE(DecodeLevel(files.boards, oddNodes, files.solutions));
  EXPECT_FALSE(DecodeLevel(files.boards, offGrid, files.solutions));
  EXPECT_FALSE(DecodeLevel(files.boards, files.nodes, overlong));
  EXPECT_FALSE(DecodeLevel(files.boards + "x", files.nodes, files.solutions));
}

}  // namespace
