#include "tools/pak/PakTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/archive/PakFormat.h"
#include "tests/resource/PakTestArchive.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using ZingTest::TempFolder;

const std::vector<std::string> kSourceNames = {
    "a.txt", "a/b.txt", "empty", "images/ball.png", "images/deep/er/cube.png", "properties/resources.xml"};

// A folder "in" of files with awkward contents: empty, binary, every key byte.
class PakToolTest : public ::testing::Test {
 protected:
  PakToolTest() {
    std::string binary;
    for (int i = 0; i < 1000; ++i) binary += static_cast<char>((i * 7) & 0xFF);
    dir.Write("in/properties/resources.xml", "<ResourceManifest/>\r\n");
    dir.Write("in/images/ball.png", binary);
    dir.Write("in/images/deep/er/cube.png", std::string(1, static_cast<char>(Zing::Pak::kKey)));
    dir.Write("in/empty", "");
    dir.Write("in/a.txt", "sorted before a/");
    dir.Write("in/a/b.txt", "inside a");
  }
  bool Pack(const std::string& archive, PakTool::Times times = PakTool::Times::Zero,
            const std::vector<std::string>& excluded = {}) {
    return PakTool::CreateArchive(dir.File("in"), archive, times, written, error, excluded);
  }
  // The names listed in `archive`, in their order.
  std::vector<std::string> Listed(const std::string& archive) {
    EXPECT_TRUE(PakTool::ListArchive(archive, entries, error)) << error;
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    return names;
  }
  TempFolder dir;
  bool written = false;
  std::string error;
  std::vector<Zing::Pak::Entry> entries;
};

// (The game reading what the tool writes: the reliability runs start the game from the built main.pak.)
TEST_F(PakToolTest, RoundTripKeepsBytesAndTimesRepackingOnlyWhatChanged) {
  fs::last_write_time(dir.File("in/a.txt"), fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  ASSERT_TRUE(Pack(dir.File("game.pak"), PakTool::Times::FromFiles) && written) << error;
  EXPECT_EQ(Listed(dir.File("game.pak")), kSourceNames);
  EXPECT_EQ(entries[3].size, 1000u);
  ASSERT_TRUE(PakTool::ExtractArchive(dir.File("game.pak"), dir.File("out"), error)) << error;
  for (const std::string& name : kSourceNames) {
    EXPECT_EQ(dir.Read("out/" + name), dir.Read("in/" + name)) << name;
    // Archives keep times to 100 ns.
    const auto difference = fs::last_write_time(dir.File("out/" + name)) - fs::last_write_time(dir.File("in/" + name));
    EXPECT_LT(std::chrono::abs(difference), std::chrono::nanoseconds(100)) << name;
  }
  // Packing with zero times is deterministic; the archive inside the folder it packs is never packed into itself.
  const std::string archive = dir.File("in/main.pak");
  ASSERT_TRUE(Pack(archive) && written);
  const std::string first = dir.Read("in/main.pak");
  EXPECT_EQ(Listed(archive), kSourceNames);
  for (const auto& entry : entries) EXPECT_EQ(entry.time, 0);
  // New times on every file change nothing; the archive is not even rewritten.
  const auto stamp = fs::last_write_time(archive) - std::chrono::hours(1);
  fs::last_write_time(archive, stamp);
  for (const std::string& name : kSourceNames)
    fs::last_write_time(dir.File("in/" + name), fs::file_time_type::clock::now());
  ASSERT_TRUE(Pack(archive));
  EXPECT_EQ(std::tuple(written, fs::last_write_time(archive), dir.Read("in/main.pak")),
            std::tuple(false, stamp, first));
  // A changed file is packed again.
  dir.Write("in/empty", "no longer");
  ASSERT_TRUE(Pack(archive) && written);
  EXPECT_NE(dir.Read("in/main.pak"), first);
  // Excluded files stay out.
  ASSERT_TRUE(Pack(archive, PakTool::Times::Zero, {"images/ball.png", "a.txt", "not/there"}));
  EXPECT_EQ(Listed(archive),
            (std::vector<std::string>{"a/b.txt", "empty", "images/deep/er/cube.png", "properties/resources.xml"}));
}

TEST(PakTool, ListingShowsSizeTimeAndName) {
  Zing::Pak::Entry dated{"images/ball.png", 0, 1234, Zing::Pak::TimeFromUnixNanoseconds(1'700'000'000'000'000'000)};
  Zing::Pak::Entry undated{"empty", 0, 0, 0};
  EXPECT_EQ(PakTool::FormatListing({dated, undated}),
            "        1234  2023-11-14 22:13:20  images/ball.png\n"
            "           0  -                    empty\n"
            "2 files, 1234 bytes\n");
  for (std::int64_t absurd : {std::numeric_limits<std::int64_t>::max(), std::int64_t{-1}})
    EXPECT_EQ(PakTool::FormatListing({Zing::Pak::Entry{"x", 0, 1, absurd}}),
              "           1  ?                    x\n1 file, 1 bytes\n");
}

TEST(PakTool, ExtractionNeverLeavesTheFolder) {
  const std::vector<std::string> hostile = {"../escape", "a/../../escape", "/tmp/escape", "\\escape",
                                            std::string("a\0b", 3)};
  for (const std::string& name : hostile) {
    TempFolder dir;
    dir.Write("evil.pak", ZingTest::MakeArchive({{"fine", "1", 0}, {name, "2", 0}}));
    std::string error;
    EXPECT_FALSE(PakTool::ExtractArchive(dir.File("evil.pak"), dir.File("out/inner"), error)) << name;
    EXPECT_NE(error.find("outside"), std::string::npos) << error;
    EXPECT_FALSE(dir.Exists("out/inner/fine")) << name;  // refused before anything is written
    EXPECT_FALSE(dir.Exists("out/escape"));
  }
  // Harmless oddities are tidied: "./", doubled and backward separators.
  TempFolder dir;
  dir.Write("odd.pak", ZingTest::MakeArchive({{"./a//b\\c.txt", "odd", 0}}));
  std::string error;
  ASSERT_TRUE(PakTool::ExtractArchive(dir.File("odd.pak"), dir.File("out"), error)) << error;
  EXPECT_EQ(dir.Read("out/a/b/c.txt"), "odd");
}

TEST_F(PakToolTest, DamagedOrMissingInputIsReported) {
  dir.Write("cut.pak", ZingTest::MakeArchive({{"name", "contents", 0}}).substr(0, 20));
  // (Listing a damaged archive: the command-line test.)
  EXPECT_FALSE(PakTool::ExtractArchive(dir.File("cut.pak"), dir.File("out"), error) || dir.Exists("out"));
  written = true;
  EXPECT_FALSE(PakTool::CreateArchive(dir.File("no folder"), dir.File("x.pak"), PakTool::Times::Zero, written, error));
  EXPECT_FALSE(written);
  dir.Write("long/" + std::string(250, 'n') + "/" + std::string(10, 'm'), "too long a name");
  EXPECT_FALSE(PakTool::CreateArchive(dir.File("long"), dir.File("x.pak"), PakTool::Times::Zero, written, error));
  EXPECT_FALSE(dir.Exists("x.pak"));
}

}  // namespace
