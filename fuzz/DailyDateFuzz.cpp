// Fuzz target for the date of `lintwick --export-daily=YYYY-MM-DD`: any text
// is refused or read as a real date, which is written back as the same text
// and survives the way to its day number and back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "game/levelgen/CalendarDate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto date = Lintwick::ParseDate(text);
  if (!date) return 0;
  if (!Lintwick::IsValidDate(*date) || Lintwick::FormatDate(*date) != text) std::abort();
  const std::int64_t day = Lintwick::DayNumber(*date);
  if (Lintwick::DateOfDay(day) != *date || Lintwick::DateOfDay(day + 1) == *date) std::abort();
  const int weekday = Lintwick::Weekday(*date);
  if (weekday < 0 || weekday > 6 || Lintwick::Weekday(Lintwick::DateOfDay(day + 7)) != weekday) std::abort();
  return 0;
}
