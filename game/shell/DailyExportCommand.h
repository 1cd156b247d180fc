#pragma once

// `lintwick --export-daily=YYYY-MM-DD --to=DIR`: writes that date's board as
// the three level files into DIR, so that outside tools can check it, and
// ends without opening a window.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace Lintwick {

// The exit code of the export when the arguments ask for one (0 written, 1 a
// bad date, a missing or unwritable folder), or nothing when they do not.
// Messages go to `out` and `err`.
std::optional<int> RunDailyExportCommand(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace Lintwick
