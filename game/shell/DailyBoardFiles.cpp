// The day's board in level records, and the player's today.

#include "game/shell/DailyBoardFiles.h"

#include <array>
#include <ctime>

#include "framework/app/FileAccess.h"
#include "game/levelgen/DailyBoard.h"
#include "game/levelgen/LevelFiles.h"

namespace Lintwick {

namespace {

// Level indices of about the size of each weekday's board (Monday 6 x 6 is
// like level 6, Sunday 10 x 10 like the last block), Monday first.
constexpr std::array<int, 7> kLevelOfWeekday = {5, 10, 20, 30, 40, 60, 90};

constexpr int kTmYearBase = 1900;

Zing::Buffer BufferOf(const std::string& bytes) {
  Zing::Buffer buffer;
  buffer.WriteBytes(bytes.data(), bytes.size());
  return buffer;
}

}  // namespace

CalendarDate LocalToday() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return {};
  return CalendarDate{local->tm_year + kTmYearBase, local->tm_mon + 1, local->tm_mday};
}

std::optional<DailyLevelRecords> DailyRecordsFor(const CalendarDate& date) {
  const auto board = LevelGen::MakeDailyBoard(date);
  if (!board) return std::nullopt;
  const LevelGen::LevelFileSet files = LevelGen::EncodeLevels({board->level});
  DailyLevelRecords records;
  records.date = date;
  records.weekday = Weekday(date);
  records.board = BufferOf(files.boards);
  records.nodes = BufferOf(files.nodes);
  records.solution = BufferOf(files.solutions);
  return records;
}

int DailyLevelIndex(int weekday) { return kLevelOfWeekday[static_cast<std::size_t>(((weekday % 7) + 7) % 7)]; }

bool ExportDailyBoard(const CalendarDate& date, const std::string& folder, std::string& error) {
  const auto records = DailyRecordsFor(date);
  if (!records) {
    error = "no daily board could be made for " + FormatDate(date);
    return false;
  }
  const std::pair<const char*, const Zing::Buffer*> files[] = {
      {"level_b.dat", &records->board}, {"level_n.dat", &records->nodes}, {"level_l.dat", &records->solution}};
  for (const auto& [name, buffer] : files) {
    const std::string path = folder + "/" + name;
    if (!Zing::WriteBytesToFile(path, buffer->GetDataPtr(), buffer->GetDataLen())) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace Lintwick
