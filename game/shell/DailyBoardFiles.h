#pragma once

// The daily board as the game plays it and as outside tools check it: the
// day's board in the three level records, its date as the player's calendar
// shows it, and the export of those records into a folder.

#include <optional>
#include <string>

#include "framework/app/Buffer.h"
#include "game/levelgen/CalendarDate.h"

namespace Lintwick {

// The date on the player's own calendar: the local date of the machine's
// clock and time zone, so that a new board comes at the player's midnight.
// Which board a date means is the same everywhere; only "today" is local.
CalendarDate LocalToday();

// One record of each level file, exactly as the game reads them.
struct DailyLevelRecords {
  CalendarDate date;
  int weekday = 0;  // 0 Monday .. 6 Sunday
  Zing::Buffer board;
  Zing::Buffer nodes;
  Zing::Buffer solution;
};

// The certified board of a date in its records; nothing when the date is not
// a real date or no board of the day could be certified.
std::optional<DailyLevelRecords> DailyRecordsFor(const CalendarDate& date);

// The level whose points and penalties a weekday's board carries: the first
// of the hundred levels with a board of about that size.
int DailyLevelIndex(int weekday);

// Writes the date's board into `folder` as level_b.dat, level_n.dat and
// level_l.dat, making the folder when it is missing. False with a message
// for the player in `error` when there is no board or a file cannot be written.
bool ExportDailyBoard(const CalendarDate& date, const std::string& folder, std::string& error);

}  // namespace Lintwick
