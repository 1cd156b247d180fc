#pragma once

// A date as a player of each language writes it, short enough for the main
// menu panel: "Dec 7, 2026", "7 déc. 2026", "7. Dez. 2026" (Windows-1252).

#include <string>

#include "game/levelgen/CalendarDate.h"
#include "game/shell/Texts.h"

namespace Lintwick {

std::string DateText(const CalendarDate& date, Language language);

}  // namespace Lintwick
