// What a damaged high-score file turns into. (The layout and the insertion
// rule are pinned by the high-score dialog's flow.)

#include <gtest/gtest.h>

#include <string>

#include "framework/app/Buffer.h"
#include "game/shell/ScoreTable.h"

namespace {

using Lintwick::ScoreTable;

Zing::Buffer Bytes(const std::string& bytes) {
  Zing::Buffer buffer;
  buffer.SetData(bytes.data(), bytes.size());
  return buffer;
}

TEST(ScoreTable, DamagedFilesGiveSaneTables) {
  ScoreTable table;
  Zing::Buffer empty;
  table.entries[0].score = 5;
  table.Read(empty);
  EXPECT_EQ(table.entries[0].score, 100);
  EXPECT_EQ(table.entries[5].name, "Wicker");

  // One whole record, then a name whose length runs past the end.
  Zing::Buffer shortFile =
      Bytes(std::string("\x0A\x00\x00\x00\x03\x00"
                        "Ann"
                        "\x05\x00\x00\x00\x40\x00"
                        "B\x01\x1b\x81z",
                        21));
  table.Read(shortFile);
  EXPECT_EQ(table.entries[0].name, "Ann");
  EXPECT_EQ(table.entries[1].score, 5);
  EXPECT_EQ(table.entries[1].name, "Bz");  // control, escape and undefined bytes dropped
  EXPECT_EQ(table.entries[5].score, 0);

  Zing::Buffer longName = Bytes(std::string("\x01\x00\x00\x00\x20\x00", 6) + std::string(32, 'n'));
  table.Read(longName);
  EXPECT_EQ(table.entries[0].name.size(), ScoreTable::kMaxNameLength);
}

}  // namespace
