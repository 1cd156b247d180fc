// The high-score table's file layout and its insertion rule, and what a
// damaged file turns into.

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

TEST(ScoreTable, InsertionShiftsTheRestAndTheLayoutReadsBack) {
  // The places of the rule are pinned by the dialog's flow; here the shift.
  ScoreTable table;
  table.entries = {{{900, "A"}, {800, "B"}, {700, "C"}, {600, "D"}, {500, "E"}, {400, "F"}}};
  EXPECT_EQ(table.Insert(700, "Tie"), 3);
  EXPECT_EQ(table.entries[5].name, "E");  // F dropped out
  Zing::Buffer buffer;
  table.Write(buffer);
  // 900, length 1, "A"
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.GetDataPtr()), 7), std::string("\x84\x03\0\0\x01\0A", 7));
  ScoreTable again;
  again.Read(buffer);
  EXPECT_EQ(again.entries[3].name, "Tie");
  EXPECT_EQ(again.entries[3].score, 700);
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
