#pragma once

// What the program does before the application exists: the commands that
// print or write and end, the parameters in the form the application parses,
// and the folder that holds the game's data.

#include <optional>
#include <string>
#include <vector>

namespace Lintwick {

// The exit code of a command that runs without a window (the daily board's
// export, the statistics), or nothing when the arguments ask for none.
std::optional<int> RunConsoleCommand(const std::vector<std::string>& arguments);

// The arguments joined by blanks, with quotes around any that contain a blank.
std::string JoinArguments(const std::vector<std::string>& arguments);

// Makes the folder holding the game's data the working folder: the working
// folder itself, or else "data" (the build tree) or "../share/lintwick" (an
// installation) beside the program in `programFolder` (ending in a slash).
void FindGameData(const std::string& programFolder);

}  // namespace Lintwick
