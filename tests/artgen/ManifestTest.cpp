// The generated resource manifest as the resource manager reads it: the
// identifiers in each loading group, the files it names, and the cel grids
// the screens index.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "tests/artgen/DataFiles.h"

namespace ArtTest {
namespace {

// Identifiers carry their kind's prefix; sounds lie in the sounds folder
// under their lower-case names; every file named exists, and the images use
// every format the loader reads, alpha images by attribute and by "_name".
TEST(Manifest, ReadsCleanlyWithPrefixedIdsAndEveryFileThere) {
  std::string error;
  const std::vector<Declaration> all = ReadManifest(&error);
  EXPECT_EQ(error, "");
  std::set<std::string> extensions, groups;
  bool alphaAttribute = false, underscoreAlpha = false;
  for (const auto& d : all) {
    groups.insert(d.group);
    const std::string prefix = d.kind == "Image" ? "IMAGE_" : d.kind == "Font" ? "FONT_" : "SOUND_";
    EXPECT_EQ(d.id.rfind(prefix, 0), 0u) << d.id;
    if (d.kind == "Sound") {
      std::string name = d.id.substr(6);
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
      EXPECT_EQ(d.path, "sounds/" + name);
      EXPECT_TRUE(std::filesystem::is_regular_file(OnDisk(d.path) + ".ogg")) << d.id;
      continue;
    }
    if (d.kind == "Font") {
      EXPECT_TRUE(std::filesystem::is_regular_file(OnDisk(d.path))) << d.id;
      continue;
    }
    const auto file = ImageFile(d.path);
    ASSERT_TRUE(file) << d.id << " " << d.path;
    extensions.insert(file->substr(file->size() - 4));
    for (const char* mask : {"alphagrid", "alphaimage"}) {
      if (d.attributes.count(mask)) {
        EXPECT_TRUE(ImageFile("images/" + d.attributes.at(mask))) << d.id;
      }
    }
    alphaAttribute |= d.attributes.count("alphaimage") > 0;
    const size_t slash = d.path.rfind('/');
    underscoreAlpha |=
        file->ends_with(".jpg") && ImageFile(d.path.substr(0, slash + 1) + "_" + d.path.substr(slash + 1));
  }
  EXPECT_EQ(groups, (std::set<std::string>{"Init", "Splash", "Game"}));
  EXPECT_EQ(extensions, (std::set<std::string>{".gif", ".jpg", ".png", ".tga"}));
  EXPECT_TRUE(alphaAttribute);
  EXPECT_TRUE(underscoreAlpha);
}

TEST(Manifest, CelGridsAreThoseTheScreensIndex) {
  std::map<std::string, std::pair<int, int>> grids;
  for (const auto& d : ReadManifest()) grids[d.id] = {d.Number("cols"), d.Number("rows")};
  std::map<std::string, std::pair<int, int>> expected = {
      {"IMAGE_STAR_BIG", {7, 1}},        {"IMAGE_STAR_SMALL", {7, 1}},
      {"IMAGE_TARGET", {20, 1}},         {"IMAGE_MARK", {2, 1}},
      {"IMAGE_HIGHLIGHTS", {2, 1}},      {"IMAGE_SHUTTERS", {1, 2}},
      {"IMAGE_DIGITS", {10, 1}},         {"IMAGE_VORTEX_LINE", {1, 2}},
      {"IMAGE_HINT_NODES", {7, 1}},      {"IMAGE_HINT_LINKS", {7, 1}},
      {"IMAGE_HINT_STICKS", {7, 2}},     {"IMAGE_REPLAY_NODES", {7, 1}},
      {"IMAGE_EFFECT_TEXTS_EN", {1, 9}}, {"IMAGE_EFFECT_TEXTS_FR", {1, 9}},
      {"IMAGE_EFFECT_TEXTS_DE", {1, 9}}};
  for (int i = 0; i < 7; ++i) {
    expected["IMAGE_LINK" + std::to_string(i)] = {22, 1};
    expected["IMAGE_VORTEX" + std::to_string(i)] = {15, 1};
    const auto cube = grids["IMAGE_ROLLING_CUBE" + std::to_string(i)];
    EXPECT_TRUE(cube.first >= 14 && cube.second == 2) << i;
  }
  for (const auto& [id, grid] : expected) EXPECT_EQ(grids[id], grid) << id;
}

}  // namespace
}  // namespace ArtTest
