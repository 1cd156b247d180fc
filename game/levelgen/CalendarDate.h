#pragma once

// Dates of the proleptic Gregorian calendar, counted as whole days. The daily
// board and the daily streak work on these numbers only, never on clock time,
// so a date means the same board and the same streak on every machine,
// whatever its time zone, locale or standard library.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Lintwick {

struct CalendarDate {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31

  friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The first and last years a date may name: the years written with four digits.
inline constexpr int kFirstYear = 1;
inline constexpr int kLastYear = 9999;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(const CalendarDate& date);

// "YYYY-MM-DD" exactly (four, two and two digits) naming a real date; nothing
// for anything else.
std::optional<CalendarDate> ParseDate(std::string_view text);
std::string FormatDate(const CalendarDate& date);

// Days since 1970-01-01 (negative before it), and back.
std::int64_t DayNumber(const CalendarDate& date);
CalendarDate DateOfDay(std::int64_t day);

// 0 for Monday up to 6 for Sunday.
int Weekday(const CalendarDate& date);

}  // namespace Lintwick
