// Month names in the three languages, abbreviated the way each language does
// (French and German keep short names whole). Windows-1252 bytes: é E9, û FB, ä E4.

#include "game/shell/DateText.h"

#include <array>

namespace Lintwick {

namespace {

using MonthNames = std::array<const char*, 12>;

constexpr MonthNames kEnglish = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr MonthNames kFrench = {"janv.",
                                "f\xE9vr.",
                                "mars",
                                "avr.",
                                "mai",
                                "juin",
                                "juil.",
                                "ao\xFBt",
                                "sept.",
                                "oct.",
                                "nov.",
                                "d\xE9"
                                "c."};
constexpr MonthNames kGerman = {"Jan.", "Feb.", "M\xE4rz", "Apr.", "Mai",  "Juni",
                                "Juli", "Aug.", "Sept.",   "Okt.", "Nov.", "Dez."};

}  // namespace

std::string DateText(const CalendarDate& date, Language language) {
  const auto month = static_cast<std::size_t>(date.month >= 1 && date.month <= 12 ? date.month - 1 : 0);
  const std::string day = std::to_string(date.day), year = std::to_string(date.year);
  switch (language) {
    case Language::French:
      return day + " " + kFrench[month] + " " + year;
    case Language::German:
      return day + ". " + kGerman[month] + " " + year;
    case Language::English:
      break;
  }
  return std::string(kEnglish[month]) + " " + day + ", " + year;
}

}  // namespace Lintwick
