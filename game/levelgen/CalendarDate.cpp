// Calendar arithmetic on day numbers. The calendar repeats every 400 years
// (146097 days), so a date is split into its 400-year era and the day within
// it, counting years from March so that the leap day falls at a year's end.

#include "game/levelgen/CalendarDate.h"

#include <cstdio>

namespace Lintwick {

namespace {

constexpr std::int64_t kDaysPerEra = 146097;
constexpr int kYearsPerEra = 400;
// Day number of 0000-03-01, the first day of era 0.
constexpr std::int64_t kEraZeroStart = -719468;
// 1970-01-01 was a Thursday (weekday 3 counted from Monday).
constexpr int kWeekdayOfDayZero = 3;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool ReadDigits(std::string_view text, int& value) {
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(const CalendarDate& date) {
  return date.year >= kFirstYear && date.year <= kLastYear && date.day >= 1 &&
         date.day <= DaysInMonth(date.year, date.month);
}

std::optional<CalendarDate> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  CalendarDate date;
  if (!ReadDigits(text.substr(0, 4), date.year) || !ReadDigits(text.substr(5, 2), date.month) ||
      !ReadDigits(text.substr(8, 2), date.day) || !IsValidDate(date)) {
    return std::nullopt;
  }
  return date;
}

std::string FormatDate(const CalendarDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year % 10000, date.month % 100, date.day % 100);
  return text;
}

std::int64_t DayNumber(const CalendarDate& date) {
  const std::int64_t year = date.month <= 2 ? date.year - 1 : date.year;
  const std::int64_t era = FloorDiv(year, kYearsPerEra);
  const std::int64_t yearOfEra = year - era * kYearsPerEra;
  const std::int64_t dayOfYear = (153 * (date.month > 2 ? date.month - 3 : date.month + 9) + 2) / 5 + date.day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * kDaysPerEra + dayOfEra + kEraZeroStart;
}

CalendarDate DateOfDay(std::int64_t day) {
  const std::int64_t shifted = day - kEraZeroStart;
  const std::int64_t era = FloorDiv(shifted, kDaysPerEra);
  const std::int64_t dayOfEra = shifted - era * kDaysPerEra;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  CalendarDate date;
  date.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  date.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  date.year = static_cast<int>(yearOfEra + era * kYearsPerEra + (date.month <= 2 ? 1 : 0));
  return date;
}

int Weekday(const CalendarDate& date) {
  const std::int64_t weekday = (DayNumber(date) + kWeekdayOfDayZero) % 7;
  return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

}  // namespace Lintwick
