// The statistics command. It reads the progress file from the player's data
// folder, found the way the application finds it, and opens nothing else.

#include "game/shell/StatsCommand.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "framework/platform/Folders.h"
#include "game/shell/DailyBoardFiles.h"
#include "game/shell/GameConstants.h"
#include "game/shell/ProgressStore.h"

namespace Lintwick {

bool IsStatsOption(const std::string& argument) {
  std::string lower = argument;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "--stats";
}

std::string DiskPath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

int PrintProgressStats() {
  const std::string path = Zing::Platform::UserDataFolder(kCompanyName, kProductName) + kProgressFile;
  Progress progress;
  const ProgressFileState state = ReadProgressFile(path, progress);
  std::fputs(ProgressSummary(progress).c_str(), stdout);
  std::fputs((DailySummary(progress.daily, DayNumber(LocalToday())) + "\n").c_str(), stdout);
  if (state == ProgressFileState::Damaged) {
    std::fprintf(stderr, "%s: %s could not be read\n", kProductName, DiskPath(path).c_str());
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace Lintwick
