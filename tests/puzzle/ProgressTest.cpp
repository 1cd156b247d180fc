// The player's progress: the perfect rule, the order a solve is recorded in,
// which solve is kept, and the progress file with its damage. (A kill while
// it is written is the reliability runs' kill_while_saving.)

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <tuple>

#include "game/puzzle/Progress.h"
#include "game/shell/ProgressStore.h"
#include "tests/puzzle/PuzzleTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Lintwick;
using LintwickTest::BufferOf;
using LintwickTest::Bytes;
using LintwickTest::Player;

// The same path on two boards: with a hole at (1, 0) it covers every cell;
// with a cell there it leaves that one cell free.
TEST(PerfectRule, EveryCellCoveredHolesAsideAndOneFreeCellIsNotPerfect) {
  for (const bool hole : {true, false}) {
    Player player({"a.", hole ? "#." : "..", "A."});  // the free cell in the first column
    player.Play("c00 s10 s11 s12 s02");
    ASSERT_EQ(player.host.solves.size(), 1u) << hole;
    const LevelSolve& solve = player.host.solves[0];
    EXPECT_EQ(std::tuple(solve.perfect, player->mPerfectSolve, solve.points, solve.pieces),
              std::tuple(hole, hole, FreshLevelPoints(0), std::vector<LaidPiece>{{0, 0x10}, {0, 0x11}, {0, 0x12}}));
  }
  // Pieces come in the order they were laid, across links, whatever their
  // slots: link 0 started, link 1 joined, then link 0 drawn on from its head.
  // The shutters' perfect word lasts until the next level is built.
  Player player({"a..A", "b..B"});
  player.Play("c00 s10 x c01 s11 s21 s31 w c10 s20 s30");
  ASSERT_EQ(player.host.solves.size(), 1u);
  EXPECT_EQ(std::pair(player.host.solves[0].pieces, player.host.solves[0].perfect),
            std::pair(std::vector<LaidPiece>{{0, 0x10}, {1, 0x11}, {1, 0x21}, {0, 0x20}}, true));
  player.Tick(kLevelChangeTick);
  EXPECT_FALSE(player->mPerfectSolve);
}

TEST(ProgressMerge, PerfectSolvesWinThenPointsAndBestPointsAreTheMost) {
  const std::vector<LaidPiece> a = {{0, 0x01}}, b = {{1, 0x02}}, c = {{2, 0x03}};
  struct Case {
    LevelSolve solve;
    bool changed, perfect;
    int best, kept;
    std::vector<LaidPiece> solvePieces;
  };
  const Case cases[] = {
      {{4, false, 400, a}, true, false, 400, 400, a},   // the first solve is kept
      {{4, false, 300, b}, false, false, 400, 400, a},  // a poorer one changes nothing
      {{4, true, 300, b}, true, true, 400, 300, b},     // perfect beats more points
      {{4, false, 500, c}, true, true, 500, 300, b},    // more points, but not perfect
      {{4, true, 300, c}, false, true, 500, 300, b},    // an equal solve keeps the first
      {{4, true, 350, c}, true, true, 500, 350, c},     // a better perfect one
      {{100, true, 350, c}, false, true, 500, 350, c},  // no such board
  };
  Progress progress;
  for (const Case& t : cases) {
    EXPECT_EQ(progress.Merge(t.solve), t.changed) << t.solve.points;
    const LevelProgress& level = progress.levels[4];
    EXPECT_TRUE(level.solved);
    EXPECT_EQ(std::tuple(level.perfect, level.bestPoints, level.solvePoints, level.solve),
              std::tuple(t.perfect, t.best, t.kept, t.solvePieces))
        << t.solve.points;
  }
  progress.Merge({0, false, 900, {}});
  EXPECT_EQ(std::tuple(progress.SolvedCount(), progress.PerfectCount(), progress.PointsSum()), std::tuple(2, 1, 1400));
  EXPECT_EQ(ProgressSummary(progress), "solved: 2 of 100\nperfect: 1 of 100\npoints: 1400\n");
}

std::string Le(std::uint32_t value, int bytes) {
  std::string out;
  // Bytes beyond the value's four are zero.
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(i < 4 ? (value >> (8 * i)) & 0xFF : 0));
  return out;
}

std::string Section(int kind, const std::string& body) { return Le(kind, 2) + Le(body.size(), 4) + body; }

// A board record: index, flags, best points, kept points, pieces (link, code).
std::string Board(int level, int flags, int best, int kept, const std::vector<std::pair<int, int>>& pieces) {
  std::string out = Le(level, 1) + Le(flags, 1) + Le(best, 2) + Le(kept, 2) + Le(pieces.size(), 1);
  for (auto [link, code] : pieces) out += Le(link, 1) + Le(code, 1);
  return out;
}

std::string FileOf(const std::string& sections, int version = 1) {
  // The checksum the layout names: zlib's CRC-32.
  const auto crc = crc32(0L, reinterpret_cast<const Bytef*>(sections.data()), static_cast<uInt>(sections.size()));
  return "LWPG" + Le(version, 2) + Le(static_cast<std::uint32_t>(crc), 4) + sections;
}

Progress Sample() {
  Progress progress;
  progress.Merge({0, true, 500, {{0, 0x01}, {0, 0x02}, {1, 0x11}}});
  progress.Merge({57, false, 3060, {{6, 0x99}}});
  progress.Merge({99, false, 10, {}});
  RecordDailySolve(progress.daily, 20793, false);
  RecordDailySolve(progress.daily, 20794, true);
  progress.otherSections.push_back({9, {1, 2, 3}});
  return progress;
}

// The layout byte for byte (the boards, the daily record), read back equal; a
// section of a later version comes back unchanged, wherever it stood.
TEST(ProgressFile, RoundTripInTheDescribedLayoutKeepingUnknownSections) {
  const Progress progress = Sample();
  const std::string boards = Board(0, 3, 500, 500, {{0, 0x01}, {0, 0x02}, {1, 0x11}}) +
                             Board(57, 1, 3060, 3060, {{6, 0x99}}) + Board(99, 1, 10, 10, {});
  const std::string daily = Le(3, 1) + Le(20794, 4) + Le(2, 4) + Le(2, 4);
  const std::string expected = FileOf(Section(1, boards) + Section(2, daily) + Section(9, "\x01\x02\x03"));
  EXPECT_EQ(Bytes(ProgressBytes(progress)), expected);
  EXPECT_EQ(ReadProgress(BufferOf(expected)), progress);
  EXPECT_EQ(ReadProgress(BufferOf(FileOf(Section(9, "\x01\x02\x03") + Section(2, daily) + Section(1, boards)))),
            progress);
  EXPECT_EQ(ReadProgress(BufferOf(FileOf(Section(1, "")))), Progress{});
  EXPECT_EQ(ReadProgress(BufferOf(FileOf(""))), Progress{});  // no section at all
}

TEST(ProgressFile, EveryKindOfDamageIsRefusedWhole) {
  const std::string good = Board(3, 1, 900, 800, {{0, 0x00}, {1, 0x10}});
  const std::string whole = FileOf(Section(1, good));
  const std::string flipped = whole.substr(0, 12) + static_cast<char>(whole[12] ^ 0x40) + whole.substr(13);
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"empty", ""},
      {"header cut short", whole.substr(0, 9)},
      {"last byte cut off", whole.substr(0, whole.size() - 1)},
      {"a byte more", whole + "x"},
      {"another magic", "LWPH" + whole.substr(4)},
      {"a later version", FileOf(Section(1, good), 2)},
      {"a byte flipped", flipped},
      {"a section longer than the file", FileOf(Le(1, 2) + Le(good.size() + 1, 4) + good)},
      {"a section head cut short", FileOf(Section(1, good) + "\x02\x00\x01")},
      {"two board sections", FileOf(Section(1, good) + Section(1, Board(4, 1, 9, 9, {})))},
      {"a record cut short", FileOf(Section(1, good.substr(0, good.size() - 1)))},
      {"a record without its piece count", FileOf(Section(1, good.substr(0, 6)))},
      {"board 100", FileOf(Section(1, Board(100, 1, 9, 9, {})))},
      {"a board twice", FileOf(Section(1, good + good))},
      {"not marked solved", FileOf(Section(1, Board(3, 2, 9, 9, {})))},
      {"not marked solved, its bytes from the third a record", FileOf(Section(1, Board(3, 2, 0x104, 9, {{0, 0}})))},
      {"an unknown flag", FileOf(Section(1, Board(3, 5, 9, 9, {})))},
      {"kept points above the best", FileOf(Section(1, Board(3, 1, 9, 10, {})))},
      {"101 pieces", FileOf(Section(1, Board(3, 1, 9, 9, std::vector<std::pair<int, int>>(101, {0, 0}))))},
      {"link colour 7", FileOf(Section(1, Board(3, 1, 9, 9, {{7, 0x00}})))},
      {"column 10", FileOf(Section(1, Board(3, 1, 9, 9, {{0, 0xA0}})))},
      {"row 10", FileOf(Section(1, Board(3, 1, 9, 9, {{0, 0x0A}})))},
      {"a cell twice", FileOf(Section(1, Board(3, 1, 9, 9, {{0, 0x11}, {1, 0x11}})))},
      {"a daily record cut short", FileOf(Section(1, good) + Section(2, Le(1, 1) + Le(5, 4) + Le(1, 4) + Le(1, 3)))},
      {"two daily records",
       FileOf(Section(2, Le(1, 1) + Le(5, 4) + Le(1, 4) + Le(1, 4)) + Section(2, Le(0, 1) + Le(0, 12)))},
      {"a daily streak above its best", FileOf(Section(2, Le(1, 1) + Le(5, 4) + Le(2, 4) + Le(1, 4)))},
  };
  ASSERT_TRUE(ReadProgress(BufferOf(whole)));
  for (const Case& t : cases) EXPECT_FALSE(ReadProgress(BufferOf(t.bytes))) << t.what;
}

// A damaged file gives empty progress and stays as it is until a solve is
// saved over it; a missing one is written at the first solve.
TEST(ProgressFile, StoreKeepsADamagedFileUntilTheNextSave) {
  ZingTest::TempFolder home;
  home.Write("save/progress.dat", "LWPG damaged");
  ProgressStore store;
  store.Load(home.Path() + "/");
  EXPECT_EQ(std::pair(store.FileState(), store.Get()), std::pair(ProgressFileState::Damaged, Progress{}));
  EXPECT_EQ(home.Read("save/progress.dat"), "LWPG damaged");
  ASSERT_TRUE(store.Record({2, true, 700, {{0, 0x01}}}));
  ProgressStore again;
  again.Load(home.Path() + "/");
  EXPECT_EQ(std::pair(again.FileState(), again.Get()), std::pair(ProgressFileState::Read, store.Get()));

  // A write that fails (a folder stands in the file's place) is tried again
  // at the next solve, even one that changes nothing.
  ZingTest::TempFolder fresh;
  ProgressStore none;
  none.Load(fresh.Path() + "/");
  EXPECT_EQ(none.FileState(), ProgressFileState::Missing);
  std::filesystem::create_directories(fresh.File("save/progress.dat"));
  EXPECT_FALSE(none.Record({0, false, 500, {}}));
  std::filesystem::remove(fresh.File("save/progress.dat"));
  ASSERT_TRUE(none.Record({0, false, 500, {}}));
  EXPECT_EQ(Bytes(ProgressBytes(none.Get())), fresh.Read("save/progress.dat"));
  // Once the file holds the progress, a solve that changes nothing writes nothing.
  std::filesystem::remove(fresh.File("save/progress.dat"));
  EXPECT_TRUE(none.Record({0, false, 500, {}}) && !fresh.Exists("save/progress.dat"));
  EXPECT_FALSE(ProgressStore().Record({0, false, 500, {}}));  // never loaded: nowhere to write
}

}  // namespace
