// The application's side of the player's progress: read once at start-up,
// updated and saved as each level is solved.

#include <cstdio>
#include <string>

#include "game/shell/AppManager.h"
#include "game/shell/GameConstants.h"
#include "game/shell/StatsCommand.h"

namespace Lintwick {

void AppManager::LoadProgress() {
  mProgress.Load(GetAppDataFolder());
  if (mProgress.FileState() == ProgressFileState::Damaged) {
    std::fprintf(stderr, "%s: %s could not be read; it is kept until progress is saved again\n", kProductName,
                 DiskPath(mProgress.Path()).c_str());
  }
}

void AppManager::LevelSolved(const LevelSolve& solve) { mProgress.Record(solve); }

std::string AppManager::GetCommandLineHelp() const {
  std::string help = ZingAppBase::GetCommandLineHelp();
  const std::string before = "  --help ";
  const std::size_t at = help.find(before);
  const std::string stats =
      "  --stats            print the progress: boards solved, solved perfectly, points, and\n"
      "                     the daily streak; exit\n"
      "  --export-daily=YYYY-MM-DD --to=DIR\n"
      "                     write the daily board of that date into DIR as the three level\n"
      "                     files level_b.dat, level_n.dat and level_l.dat; exit\n";
  if (at == std::string::npos) return help + stats;
  return help.insert(at, stats);
}

}  // namespace Lintwick
