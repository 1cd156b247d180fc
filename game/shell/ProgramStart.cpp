// The program's first steps, before anything opens a window (and before the
// working folder changes, so that relative paths in commands are the caller's).

#include "game/shell/ProgramStart.h"

#include <cstdio>

#include "framework/app/FileAccess.h"
#include "framework/platform/Folders.h"
#include "game/shell/DailyExportCommand.h"
#include "game/shell/StatsCommand.h"

namespace Lintwick {

namespace {

bool HoldsGameData(const std::string& folder) {
  return Zing::FileExists(folder + "main.pak") || Zing::FileExists(folder + "properties/resources.xml");
}

}  // namespace

std::optional<int> RunConsoleCommand(const std::vector<std::string>& arguments) {
  if (const auto exitCode = RunDailyExportCommand(arguments, stdout, stderr)) return exitCode;
  // The statistics need nothing but the progress file: no window, no sound.
  for (const std::string& argument : arguments) {
    if (IsStatsOption(argument)) return PrintProgressStats();
  }
  return std::nullopt;
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    line += argument.find(' ') == std::string::npos ? argument : "\"" + argument + "\"";
  }
  return line;
}

void FindGameData(const std::string& programFolder) {
  if (HoldsGameData("")) return;
  for (const char* candidate : {"data/", "../share/lintwick/"}) {
    const std::string folder = programFolder + candidate;
    if (HoldsGameData(folder)) {
      Zing::Platform::ChangeWorkingFolder(folder);
      return;
    }
  }
}

}  // namespace Lintwick
