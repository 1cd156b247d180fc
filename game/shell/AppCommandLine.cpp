// The game's own command-line commands in the program's help text. They are
// carried out by the program's entry before the application starts.

#include "game/shell/AppManager.h"

namespace Lintwick {

std::string AppManager::GetCommandLineHelp() const {
  return ZingAppBase::GetCommandLineHelp() +
         "\n"
         "Commands of the game, which print or write and end without opening a window:\n"
         "  --export-daily=YYYY-MM-DD --to=DIR\n"
         "                     write the daily board of that date into DIR as the three level\n"
         "                     files level_b.dat, level_n.dat and level_l.dat (one record each)\n";
}

}  // namespace Lintwick
