// The daily record's bytes in the progress file. The file is outside data:
// every field is checked before the record is believed.

#include "game/levelgen/CalendarDate.h"
#include "game/puzzle/DailyRecord.h"

namespace Lintwick {

namespace {

constexpr std::size_t kBodyBytes = 13;
constexpr unsigned kSolvedFlag = 1;
constexpr unsigned kPerfectFlag = 2;
// More consecutive days than the calendar holds cannot be a true count.
constexpr std::uint32_t kMaxStreak = 4'000'000;

void PutNumber(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t GetNumber(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

}  // namespace

std::vector<std::uint8_t> DailyRecordBytes(const DailyRecord& record) {
  const bool solved = record.lastDay != DailyRecord::kNever;
  std::vector<std::uint8_t> out;
  out.push_back(
      static_cast<std::uint8_t>((solved ? kSolvedFlag : 0) | (solved && record.lastPerfect ? kPerfectFlag : 0)));
  PutNumber(out, solved ? static_cast<std::uint32_t>(static_cast<std::int32_t>(record.lastDay)) : 0);
  PutNumber(out, static_cast<std::uint32_t>(record.streak));
  PutNumber(out, static_cast<std::uint32_t>(record.best));
  return out;
}

std::optional<DailyRecord> ReadDailyRecordBytes(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() != kBodyBytes || (bytes[0] & ~(kSolvedFlag | kPerfectFlag)) != 0) return std::nullopt;
  const bool solved = (bytes[0] & kSolvedFlag) != 0;
  const auto day = static_cast<std::int32_t>(GetNumber(bytes, 1));
  const std::uint32_t streak = GetNumber(bytes, 5), best = GetNumber(bytes, 9);
  const bool dayFits = day >= DayNumber({kFirstYear, 1, 1}) && day <= DayNumber({kLastYear, 12, 31});
  if (best > kMaxStreak || streak > best) return std::nullopt;
  if (solved ? (!dayFits || streak == 0) : (day != 0 || streak != 0 || (bytes[0] & kPerfectFlag) != 0)) {
    return std::nullopt;
  }
  DailyRecord record;
  record.lastDay = solved ? day : DailyRecord::kNever;
  record.lastPerfect = (bytes[0] & kPerfectFlag) != 0;
  record.streak = static_cast<int>(streak);
  record.best = static_cast<int>(best);
  return record;
}

}  // namespace Lintwick
