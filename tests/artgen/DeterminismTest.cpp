// Two runs of the generator write the same files, byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "tests/artgen/DataFiles.h"
#include "tests/support/TempFolder.h"

namespace ArtTest {
namespace {

std::map<std::string, std::string> Contents(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) files[std::filesystem::relative(e.path(), root).string()] = ReadText(e.path().string());
  }
  return files;
}

// The build's own run made the data folder; a second run must write the same
// bytes (the data folder also holds other generators' files, which are not
// compared).
TEST(Determinism, ASecondRunWritesIdenticalFiles) {
  ZingTest::TempFolder again;
  ASSERT_EQ(std::system((std::string(LINTWICK_ARTGEN) + " '" + again.Path() + "'").c_str()), 0);
  const auto second = Contents(again.Path());
  ASSERT_GT(second.size(), 100u);
  for (const auto& [name, bytes] : second) {
    const std::string built = DataDir() + "/" + name;
    ASSERT_TRUE(IsFile(built)) << name;
    EXPECT_TRUE(bytes == ReadText(built)) << name << " differs between runs";
  }
}

TEST(Determinism, RefusesAMissingArgument) {
  EXPECT_NE(std::system((std::string(LINTWICK_ARTGEN) + " 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace ArtTest
