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

TEST(Determinism, TwoRunsWriteIdenticalFiles) {
  ZingTest::TempFolder a, b;
  ASSERT_EQ(std::system((std::string(LINTWICK_ARTGEN) + " '" + a.Path() + "'").c_str()), 0);
  ASSERT_EQ(std::system((std::string(LINTWICK_ARTGEN) + " '" + b.Path() + "'").c_str()), 0);
  const auto first = Contents(a.Path()), second = Contents(b.Path());
  ASSERT_GT(first.size(), 100u);
  ASSERT_EQ(first.size(), second.size());
  for (const auto& [name, bytes] : first) {
    ASSERT_TRUE(second.count(name)) << name;
    EXPECT_TRUE(bytes == second.at(name)) << name << " differs between runs";
  }
}

TEST(Determinism, RefusesAMissingArgument) {
  EXPECT_NE(std::system((std::string(LINTWICK_ARTGEN) + " 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace ArtTest
