// The daily board's export from the command line. It runs before the
// application exists: no settings, no window, no sound.

#include "game/shell/DailyExportCommand.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "game/levelgen/CalendarDate.h"
#include "game/shell/DailyBoardFiles.h"

namespace Lintwick {

namespace {

constexpr std::string_view kExportOption = "--export-daily=";
constexpr std::string_view kFolderOption = "--to=";

// The value of `option` ("--name="), whose name, like every option name of
// the program, is not case-sensitive.
std::optional<std::string> OptionValue(const std::vector<std::string>& arguments, std::string_view option) {
  for (const std::string& argument : arguments) {
    if (argument.size() < option.size()) continue;
    const bool same = std::equal(option.begin(), option.end(), argument.begin(), [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    if (same) return argument.substr(option.size());
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> RunDailyExportCommand(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
  const auto dateText = OptionValue(arguments, kExportOption);
  if (!dateText) return std::nullopt;
  const auto date = ParseDate(*dateText);
  if (!date) {
    std::fprintf(err, "lintwick: --export-daily: \"%s\" is not a date; give one as YYYY-MM-DD, e.g. 2026-12-07\n",
                 dateText->c_str());
    return 1;
  }
  const auto folder = OptionValue(arguments, kFolderOption);
  if (!folder || folder->empty()) {
    std::fprintf(err, "lintwick: --export-daily needs the folder to write into: --to=DIR\n");
    return 1;
  }
  std::string error;
  if (!ExportDailyBoard(*date, *folder, error)) {
    std::fprintf(err, "lintwick: --export-daily: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(out, "lintwick: the daily board of %s is in %s (level_b.dat, level_n.dat, level_l.dat)\n",
               FormatDate(*date).c_str(), folder->c_str());
  return 0;
}

}  // namespace Lintwick
