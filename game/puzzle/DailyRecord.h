#pragma once

// The player's record of daily boards: the last day whose board was solved
// (and whether perfectly), the streak of consecutive days solved up to it, and
// the best streak ever. Days are day numbers of the calendar (days since
// 1970-01-01), so the arithmetic knows no month or year ends.
//
// A streak counts days whose board was solved, one after the other. It lives
// on while the last solved day is today or yesterday (today's board may still
// be solved), and is broken, shown as 0, once a whole day has passed without
// a solve.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Lintwick {

struct DailyRecord {
  static constexpr std::int64_t kNever = INT64_MIN;

  std::int64_t lastDay = kNever;  // the last day whose board was solved
  bool lastPerfect = false;       // that day's board was solved perfectly
  int streak = 0;                 // consecutive days solved, ending with lastDay
  int best = 0;                   // the longest streak ever

  friend bool operator==(const DailyRecord&, const DailyRecord&) = default;
};

// The board of `day` was solved (perfectly or not). Solving the same day again
// only adds perfection; a day before the last one solved (a clock set back)
// changes nothing. Answers whether the record changed.
bool RecordDailySolve(DailyRecord& record, std::int64_t day, bool perfect);

// The streak as it stands on `today`: 0 once a day has been missed.
int CurrentStreak(const DailyRecord& record, std::int64_t today);

enum class DailyState { Open, Solved, Perfect };
DailyState TodayState(const DailyRecord& record, std::int64_t today);

// The line of `lintwick --stats`: "daily: streak S, best B, today solved|perfect|open".
std::string DailySummary(const DailyRecord& record, std::int64_t today);

// The record as the body of its section of the progress file, and back:
//
//   1  flags: bit 0 a day has been solved, bit 1 that day perfectly; the others 0
//   4  the last day solved (days since 1970-01-01, signed; 0 when none)
//   4  streak, at least 1 when a day has been solved, else 0
//   4  best streak, at least the streak
//
// Numbers little-endian. A body of another length, with unknown flags, a day
// outside the years 1..9999 or counts that contradict each other is refused.
std::vector<std::uint8_t> DailyRecordBytes(const DailyRecord& record);
std::optional<DailyRecord> ReadDailyRecordBytes(const std::vector<std::uint8_t>& bytes);

}  // namespace Lintwick
