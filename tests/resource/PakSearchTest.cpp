#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/resource/PakInterface.h"
#include "framework/resource/PakNames.h"
#include "tests/resource/PakTestArchive.h"
#include "tests/support/TempFolder.h"

namespace {

using ZingTest::TempFolder;

struct Found {
  std::string name;
  bool isFolder;
  std::uint64_t size;
  bool operator==(const Found&) const = default;
};

std::vector<Found> Search(const std::string& pattern) {
  std::vector<Found> found;
  Zing::PakFindData data;
  Zing::PakFindHandle handle = Zing::p_FindFirstFile(pattern.c_str(), &data);
  if (handle == nullptr) return found;
  do {
    found.push_back(Found{data.name, data.isFolder, data.size});
  } while (Zing::p_FindNextFile(handle, &data));
  EXPECT_TRUE(Zing::p_FindClose(handle));
  return found;
}

TEST(PakWildcards, StarAndQuestionMark) {
  using Zing::PakNames::MatchesWildcard;
  EXPECT_TRUE(MatchesWildcard("*", ""));
  EXPECT_TRUE(MatchesWildcard("*.PNG", "BALL.PNG"));
  EXPECT_FALSE(MatchesWildcard("*.PNG", "BALL.PNGX"));
  EXPECT_TRUE(MatchesWildcard("B?LL*", "BALL.PNG"));
  EXPECT_FALSE(MatchesWildcard("B?LL", "BLL"));
  EXPECT_TRUE(MatchesWildcard("*A*B*C", "XAYBZAC"));
  EXPECT_FALSE(MatchesWildcard("*A*B*C", "XAYBZA"));
  EXPECT_TRUE(MatchesWildcard("", ""));
  EXPECT_FALSE(MatchesWildcard("", "A"));
  // Long runs of stars stay cheap.
  EXPECT_FALSE(MatchesWildcard(std::string(200, '*') + "B", std::string(5000, 'A')));
}

class PakSearchTest : public ::testing::Test {
 protected:
  PakSearchTest() {
    dir.Write("main.pak", ZingTest::MakeArchive({{"images/Ball.png", "12345", 0},
                                                 {"images/cube.png", "1", 0},
                                                 {"images/sub/deep.png", "", 0},
                                                 {"sounds/a.ogg", "", 0}}));
    pak.AddPakFile("main.pak");
    dir.Write("images/extra.png", "on disk");
    dir.Write("images/BALL.PNG", "duplicate of an archived file");
    dir.Write("images/notes.txt", "");
  }
  TempFolder dir;
  ZingTest::InFolder inside{dir.Path()};
  Zing::PakInterface pak;
};

TEST_F(PakSearchTest, ArchiveNamesFirstThenTheDiskFoldersImpliedAndNoNameTwice) {
  const std::vector<Found> expected = {{"Ball.png", false, 5}, {"cube.png", false, 1}, {"extra.png", false, 7}};
  EXPECT_EQ(Search("images\\*.png"), expected);
  // The archive compares names without regard to case; the disk's folders
  // are the disk's own business.
  EXPECT_EQ(Search("IMAGES/*.PNG"), (std::vector<Found>{{"Ball.png", false, 5}, {"cube.png", false, 1}}));

  // The disk's BALL.PNG is the archive's Ball.png once names are compared.
  const std::vector<Found> images = {{"Ball.png", false, 5},
                                     {"cube.png", false, 1},
                                     {"sub", true, 0},
                                     {"extra.png", false, 7},
                                     {"notes.txt", false, 0}};
  EXPECT_EQ(Search("images/*"), images);
  const std::uint64_t archiveSize = std::filesystem::file_size("main.pak");
  const std::vector<Found> top = {{"images", true, 0}, {"main.pak", false, archiveSize}, {"sounds", true, 0}};
  EXPECT_EQ(Search("*"), top);
  EXPECT_EQ(Search("images/s?b"), (std::vector<Found>{{"sub", true, 0}}));

  Zing::PakFindData data;
  EXPECT_EQ(Zing::p_FindFirstFile("images/*.bmp", &data), nullptr);
  EXPECT_EQ(Zing::p_FindFirstFile("nowhere/*", &data), nullptr);
  EXPECT_FALSE(Zing::p_FindNextFile(nullptr, &data));
  EXPECT_FALSE(Zing::p_FindClose(nullptr));
}

}  // namespace
