// Fuzz target for the high-score file: any bytes read as "score.dat" give six
// entries with drawable names, and the table written back reads the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/app/Buffer.h"
#include "framework/app/FileAccess.h"
#include "fuzz/FuzzInputFile.h"
#include "game/shell/ScoreTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ZingFuzz::InputFile file(".dat");
  Zing::Buffer buffer;
  if (!Zing::ReadBufferFromFile(file.Write(data, size), buffer)) std::abort();

  Lintwick::ScoreTable table;
  table.Read(buffer);
  for (const Lintwick::ScoreEntry& entry : table.entries) {
    if (entry.name != Lintwick::SanitizeScoreName(entry.name)) std::abort();
  }
  Zing::Buffer written;
  table.Write(written);
  Lintwick::ScoreTable again;
  again.Read(written);
  for (int i = 0; i < Lintwick::ScoreTable::kPlaces; ++i) {
    if (again.entries[i].score != table.entries[i].score || again.entries[i].name != table.entries[i].name) {
      std::abort();
    }
  }
  // A score that enters lands above every smaller one.
  const int place = table.Insert(static_cast<std::int32_t>(size), "Fuzz");
  if (place >= 0 && table.entries[place].name != "Fuzz") std::abort();
  return 0;
}
