// The daily board in the puzzle: a game of one board that ends when it is
// solved, never saved; the streak of solved days; the record's bytes.

#include <gtest/gtest.h>

#include "game/levelgen/CalendarDate.h"
#include "game/puzzle/DailyRecord.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using Lintwick::DailyRecord;
using Lintwick::DayNumber;
using LintwickTest::BufferOf;

std::int64_t Day(int year, int month, int day) { return DayNumber({year, month, day}); }

// A streak lives across month and year ends and the leap day, breaks at a
// missed day, counts the same day once and ignores a clock set back.
TEST(DailyStreak, CountsConsecutiveDaysOnlyAndStandsOnToday) {
  struct Step {
    std::int64_t day;
    bool perfect;
    bool changed;
    int streak, best;
  };
  const Step steps[] = {
      {Day(2024, 2, 27), false, true, 1, 1},  {Day(2024, 2, 28), false, true, 2, 2},
      {Day(2024, 2, 29), false, true, 3, 3},  {Day(2024, 3, 1), true, true, 4, 4},
      {Day(2024, 3, 1), false, false, 4, 4},  {Day(2024, 3, 3), false, true, 1, 4},  // the 2nd missed
      {Day(2024, 3, 3), true, true, 1, 4},    {Day(2024, 3, 3), true, false, 1, 4},
      {Day(2024, 3, 2), true, false, 1, 4},  // clock set back
      {Day(2024, 12, 30), false, true, 1, 4}, {Day(2024, 12, 31), false, true, 2, 4},
      {Day(2025, 1, 1), false, true, 3, 4},   {Day(2025, 1, 31), false, true, 1, 4},
      {Day(2025, 2, 28), false, true, 1, 4},  {Day(2025, 3, 1), false, true, 2, 4},
  };
  DailyRecord record;
  for (const Step& step : steps) {
    SCOPED_TRACE(Lintwick::FormatDate(Lintwick::DateOfDay(step.day)));
    EXPECT_EQ(Lintwick::RecordDailySolve(record, step.day, step.perfect), step.changed);
    EXPECT_EQ(std::pair(record.streak, record.best), std::pair(step.streak, step.best));
    EXPECT_EQ(record.lastDay, std::max(record.lastDay, step.day));
  }
  EXPECT_FALSE(record.lastPerfect);

  // The streak stands on today, as the stats line reads it.
  record = {};
  EXPECT_EQ(Lintwick::DailySummary(record, Day(2026, 1, 1)), "daily: streak 0, best 0, today open");
  Lintwick::RecordDailySolve(record, Day(2025, 12, 31), false);
  Lintwick::RecordDailySolve(record, Day(2026, 1, 1), true);
  EXPECT_EQ(Lintwick::DailySummary(record, Day(2026, 1, 1)), "daily: streak 2, best 2, today perfect");
  EXPECT_EQ(Lintwick::DailySummary(record, Day(2026, 1, 2)), "daily: streak 2, best 2, today open");
  EXPECT_EQ(Lintwick::DailySummary(record, Day(2026, 1, 3)), "daily: streak 0, best 2, today open");
  Lintwick::RecordDailySolve(record, Day(2026, 1, 3), false);
  EXPECT_EQ(Lintwick::DailySummary(record, Day(2026, 1, 3)), "daily: streak 1, best 2, today solved");
}

TEST(DailyRecordBytes, RoundTripAndEveryKindOfDamage) {
  DailyRecord record;
  EXPECT_EQ(Lintwick::ReadDailyRecordBytes(Lintwick::DailyRecordBytes(record)), record);
  Lintwick::RecordDailySolve(record, Day(1969, 12, 31), true);  // a day before day 0
  Lintwick::RecordDailySolve(record, Day(1970, 1, 1), true);
  const std::vector<std::uint8_t> bytes = Lintwick::DailyRecordBytes(record);
  ASSERT_EQ(bytes.size(), 13u);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{3, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(Lintwick::ReadDailyRecordBytes(bytes), record);

  struct Damage {
    const char* what;
    std::size_t at;
    std::uint8_t value;
  };
  const Damage damages[] = {
      {"unknown flag", 0, 7},       {"perfect without a day", 0, 2}, {"streak above best", 5, 3},
      {"no streak on a day", 5, 0}, {"day past 9999", 4, 0x7F},      {"best beyond any calendar", 12, 0x40},
  };
  for (const Damage& damage : damages) {
    std::vector<std::uint8_t> broken = bytes;
    broken[damage.at] = damage.value;
    if (damage.at == 5 && damage.value == 0) broken[0] = 1;
    EXPECT_FALSE(Lintwick::ReadDailyRecordBytes(broken)) << damage.what;
  }
  std::vector<std::uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(Lintwick::ReadDailyRecordBytes(longer));
  EXPECT_FALSE(Lintwick::ReadDailyRecordBytes({bytes.begin(), bytes.end() - 1}));
  // The calendar's last day, a streak over all of its 3,652,059 days and the
  // longest streak believed are read back; one day longer is refused.
  for (const DailyRecord& edge :
       {DailyRecord{Day(9999, 12, 31), false, 1, 1}, DailyRecord{0, true, 3'652'059, 3'652'059},
        DailyRecord{0, true, 4'000'000, 4'000'000}})
    EXPECT_EQ(Lintwick::ReadDailyRecordBytes(Lintwick::DailyRecordBytes(edge)), edge);
  EXPECT_FALSE(Lintwick::ReadDailyRecordBytes(Lintwick::DailyRecordBytes(DailyRecord{0, true, 1, 4'000'001})));
}

// One board: solving it pays its points and ends the game once, telling
// whether the paths fill the board; a new game goes back to the level files.
// A level number out of range is played as the nearest level.
TEST(SingleBoardGame, EndsOnceWhenSolvedFilledOrNot) {
  const auto board = LintwickTest::LevelFromMap({"A..", "a.."});
  struct Case {
    bool fill;
    int level, played;
    std::uint64_t trace;
  };
  for (const auto& [fill, level, played, trace] :
       {Case{true, 5, 5, 0x37615c636b180cbeull}, Case{false, -3, 0, 0xa44bf298adb5f297ull},
        Case{false, 120, 99, 0x659ed36c9afbf6e7ull}}) {
    LintwickTest::Player p({"Aa"});
    p->NewSingleBoardGame(BufferOf(board.board), BufferOf(board.nodes), BufferOf(board.solutions), level);
    EXPECT_EQ(std::tuple(p->IsSingleBoardGame(), p->GetLevel(), p->mLevelPoints),
              std::tuple(true, played, Lintwick::FreshLevelPoints(played)));
    // From the start node (0, 1) to the target (0, 0): the long way round fills.
    p.Play(fill ? "c01 s11 s21 s20 s10 s00" : "c01 s00");
    EXPECT_EQ(p->mTransitionKind, Lintwick::kGameDone);
    p.Tick(150);
    const int score = (fill ? 4 : 0) + Lintwick::FreshLevelPoints(played);
    EXPECT_EQ(p.host.Names().back(), "BoardSolved");
    EXPECT_EQ(std::tuple(p.host.Count("BoardSolved"), p.host.requests.back().value, p.host.Count("HighScores")),
              std::tuple(1, std::to_string(score) + (fill ? " filled" : " open"), 0));
    p->StopTransition();
    p->NewGame();
    EXPECT_EQ(std::tuple(p->IsSingleBoardGame(), p->IsPresent(1, 0), p->IsPresent(2, 0)),
              std::tuple(false, true, false));
    EXPECT_EQ(p.Digest(), trace) << level;
  }
}

}  // namespace
