// The daily streak: a day solved right after the last one solved adds to the
// streak, a gap of a day or more starts it again at 1, and the same day twice
// counts once.

#include "game/puzzle/DailyRecord.h"

#include <algorithm>

namespace Lintwick {

bool RecordDailySolve(DailyRecord& record, std::int64_t day, bool perfect) {
  if (record.lastDay != DailyRecord::kNever && day < record.lastDay) return false;
  if (day == record.lastDay) {
    if (!perfect || record.lastPerfect) return false;
    record.lastPerfect = true;
    return true;
  }
  const bool continues = record.lastDay != DailyRecord::kNever && day - record.lastDay == 1;
  record.streak = continues ? record.streak + 1 : 1;
  record.best = std::max(record.best, record.streak);
  record.lastDay = day;
  record.lastPerfect = perfect;
  return true;
}

int CurrentStreak(const DailyRecord& record, std::int64_t today) {
  if (record.lastDay == DailyRecord::kNever || today < record.lastDay) return record.streak;
  return today - record.lastDay <= 1 ? record.streak : 0;
}

DailyState TodayState(const DailyRecord& record, std::int64_t today) {
  if (record.lastDay != today) return DailyState::Open;
  return record.lastPerfect ? DailyState::Perfect : DailyState::Solved;
}

std::string DailySummary(const DailyRecord& record, std::int64_t today) {
  const DailyState state = TodayState(record, today);
  const char* word = state == DailyState::Perfect ? "perfect" : state == DailyState::Solved ? "solved" : "open";
  return "daily: streak " + std::to_string(CurrentStreak(record, today)) + ", best " + std::to_string(record.best) +
         ", today " + word;
}

}  // namespace Lintwick
