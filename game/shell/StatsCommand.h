#pragma once

// `lintwick --stats`: the player's progress printed from the progress file
// alone, before anything of the application (window, sound, settings) starts.

#include <string>

namespace Lintwick {

// The argument asks for the statistics (option names are not case-sensitive).
bool IsStatsOption(const std::string& argument);

// Prints "solved: N of 100", "perfect: M of 100", "points: P" and
// "daily: streak S, best B, today solved|perfect|open" (today being the
// player's local date), one line each, on standard output; a damaged file prints zeros and says so on
// standard error. Answers the program's exit code.
int PrintProgressStats();

// A path as it lies on the disk: the game's backslashes as slashes.
std::string DiskPath(std::string path);

}  // namespace Lintwick
