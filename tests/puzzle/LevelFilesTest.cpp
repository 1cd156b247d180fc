// Reading the three level files: board masks, node pairs and solution groups,
// short and damaged records, and unreadable files.

#include <gtest/gtest.h>

#include <tuple>

#include "tests/puzzle/BoardInvariants.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using namespace LintwickTest;
using Lintwick::CellCode;
using Lintwick::Puzzle;

// What a built level holds: the row masks of its board, each link's target
// and start node, each solution group (cells and the first), the node codes
// read (placed or not), the vortex allowance and the points.
std::string Built(const Puzzle& puzzle) {
  std::string text = "rows";
  char code[16];
  for (int y = 0; y < 10; ++y) {
    int mask = 0;
    for (int x = 0; x < 10; ++x) mask |= puzzle.IsPresent(x, y) << x;
    std::snprintf(code, sizeof code, " %x", mask);
    text += code;
  }
  for (int link = 0; link < Lintwick::kMaxLinks; ++link) {
    const Lintwick::Link& l = puzzle.GetLink(link);
    if (l.count == 2) {
      std::snprintf(code, sizeof code, "; L%d %02x>%02x", link, CellCode(l.At(0)->x, l.At(0)->y),
                    CellCode(l.At(1)->x, l.At(1)->y));
      text += code;
    }
  }
  for (int link = 0; link < Lintwick::kMaxLinks; ++link) {
    const auto& path = puzzle.mSolution[static_cast<std::size_t>(link)];
    const auto cells = std::count_if(path.begin(), path.end(), [](int c) { return c != Lintwick::kNoCell; });
    if (cells) text += "; S" + std::to_string(link) + " " + std::to_string(cells) + " from " + std::to_string(path[0]);
  }
  const auto codes = std::count_if(puzzle.mNodeCells.begin(), puzzle.mNodeCells.end(), [](int c) { return c >= 0; });
  return text + "; " + std::to_string(codes) + " node codes; allowance " + std::to_string(puzzle.GetVortexAllowance()) +
         " points " + std::to_string(puzzle.mLevelPoints);
}

// Every field of the three records and every damage, as the level built from
// them: {what, the three files, the level, what it holds}.
TEST(LevelFiles, EachRecordAndItsDamage) {
  const std::string empty = NodeRecord({}), none = SolutionRecord({});
  LevelFiles ninetyNine;  // records 0..98, each with a mark of its index
  for (int level = 0; level < 99; ++level)
    ninetyNine.Add(FullBoard(static_cast<std::uint16_t>(1u << (level % 10))), empty, SolutionRecord({{level}}));
  std::string overlong(100, '\x05');
  overlong[0] = static_cast<char>(200);
  struct Case {
    const char* what;
    LevelFiles files;
    int level;
    const char* holds;
  };
  const Case cases[] = {
      {"a 3 x 2 board with one link, solved through the row below",
       {BoardRecord({0b111, 0b111}), NodeRecord({0x00, 0x20}), SolutionRecord({{0x21, 0x11, 0x01}})},
       0,
       "rows 7 7 0 0 0 0 0 0 0 0; L0 00>20; S0 3 from 33; 2 node codes; allowance 13 points 500"},
      {"two links on a full board, index 50",
       {FullBoard(), NodeRecord({0x00, 0x99, 0x09, 0x90}), none},
       50,
       "rows 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff; L0 00>99; L1 09>90; 4 node codes; allowance 10 points 2772"},
      {"mask bits above the ten columns",
       {FullBoard(0xFC0A), empty, none},
       99,
       "rows a a a a a a a a a a; 0 node codes; allowance 10 points 5000"},
      {"level 99 of 99 records: the ninety-ninth", ninetyNine, 99,
       "rows 100 100 100 100 100 100 100 100 100 100; S0 1 from 98; 0 node codes; allowance 11 points 5000"},
      {"a partial last record, padded with zeros",
       {std::string("\xFF\x03\x01\x00", 4), empty, none},
       42,
       "rows 3ff 1 0 0 0 0 0 0 0 0; 0 node codes; allowance 10 points 2409"},
      {"no files at all", {}, 0, "rows 0 0 0 0 0 0 0 0 0 0; 0 node codes; allowance 10 points 500"},
      {"nodes off the board, on a hole, twice on a cell: lone nodes are taken off",
       {BoardRecord({0b11, 0b01}), NodeRecord({0xA0, 0x00, 0x11, 0x10, 0x00, 0x01}), none},
       0,
       "rows 3 1 0 0 0 0 0 0 0 0; 6 node codes; allowance 10 points 500"},
      {"a count beyond the record, and odd: fourteen nodes",
       {FullBoard(), NodeRecord({1, 2, 3, 4, 5, 6, 7, 8, 9, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15}, 255), none},
       0,
       "rows 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff; L0 01>02; L1 03>04; L2 05>06; L3 07>08; L4 09>10; L5 11>12; L6 "
       "13>14; 14 node codes; allowance 10 points 500"},
      {"a group of no cells, then two",
       {FullBoard(), empty, SolutionRecord({{}, {0x12, 0x13}})},
       0,
       "rows 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff; S1 2 from 18; 0 node codes; allowance 12 points 500"},
      {"a group longer than the record",
       {FullBoard(), empty, overlong},
       0,
       "rows 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff 3ff; S0 99 from 5; 0 node codes; allowance 109 points 500"},
  };
  for (const Case& c : cases) {
    FakeHost host;
    c.files.InstallInto(host);
    Puzzle puzzle(host);
    puzzle.mLevel = c.level;
    puzzle.RestartLevel();
    EXPECT_EQ(Built(puzzle), c.holds) << c.what;
    EXPECT_TRUE(host.popups.empty()) << c.what;
    // Nodes are in their finished look; the previous level's pieces are gone.
    for (int link = 0; link < Lintwick::kMaxLinks; ++link)
      for (int slot = 0; slot < puzzle.GetLink(link).count; ++slot)
        EXPECT_EQ(std::tuple(puzzle.GetLink(link).At(slot)->cel, puzzle.GetLink(link).At(slot)->frame),
                  std::tuple(21, 22));
    EXPECT_EQ(BoardFault(puzzle), "") << c.what;
  }
  // A partial record in a buffer that once held more: padded with zeros, not with the old bytes.
  Zing::Buffer reused;
  reused.SetData("\xFF\xFF\xFF\xFF\xFF\xFF", 6);
  reused.SetData("\x01\x02\x03", 3);
  EXPECT_EQ(Lintwick::LevelRecord(reused, 1, 2), (std::vector<std::uint8_t>{3, 0}));
}

TEST(LevelFiles, UnreadableFilesAreReportedAndPlayGoesOn) {
  FakeHost host;
  LevelFromMap({"aA"}).InstallInto(host);
  host.unreadable.insert(Lintwick::kSolutionFile);
  Puzzle puzzle(host);
  EXPECT_EQ(host.popups, std::vector<std::string>{"Could not read contents of levels\\level_l.dat"});
  EXPECT_EQ(Built(puzzle), "rows 3 0 0 0 0 0 0 0 0 0; L0 10>00; 2 node codes; allowance 10 points 500");
  host.popups.clear();
  host.unreadable = {Lintwick::kBoardFile, Lintwick::kNodeFile};
  Puzzle again(host);
  EXPECT_EQ(host.popups, (std::vector<std::string>{"Could not read contents of levels\\level_b.dat",
                                                   "Could not read contents of levels\\level_n.dat"}));
}

TEST(LevelFiles, AddPieceFillsSlotsInOrderUntilFull) {
  FakeHost host;
  LevelFiles{FullBoard(), NodeRecord({0x00, 0x01}), SolutionRecord({})}.InstallInto(host);
  Puzzle puzzle(host);
  const auto& link = puzzle.GetLink(0);
  puzzle.AddPiece(0, 1, 1, false);
  EXPECT_EQ(std::tuple(link.count, link.Head(), link.Head()->isNode, link.Head()->frame),
            std::tuple(3, puzzle.Cell(1, 1).piece, false, 0));
  for (auto [l, x, y] : {std::tuple{0, -1, 0}, {0, 0, 10}, {7, 2, 2}, {-1, 2, 2}}) puzzle.AddPiece(l, x, y, false);
  // Off the board, or no such link: nothing placed.
  EXPECT_EQ(std::pair(link.count, puzzle.PieceAt(2, 2)), std::pair(3, static_cast<Lintwick::Piece*>(nullptr)));
  for (int i = 3; i < 101; ++i) puzzle.AddPiece(0, 2 + i % 8, i / 8 % 10, false);
  EXPECT_EQ(link.count, 100);  // all 100 slots used: the last one dropped
}

}  // namespace
