// The generated resource manifest: its grammar, the identifiers in each
// loading group, and the files it names.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "framework/resource/XMLParser.h"
#include "tests/artgen/DataFiles.h"
#include "tests/artgen/ManifestReader.h"

namespace ArtTest {
namespace {

Manifest Generated() { return ReadManifest(); }

const Declaration* Find(const Manifest& m, const std::string& id) {
  for (const auto& d : m.declarations) {
    if (d.id == id) return &d;
  }
  return nullptr;
}

// The game's own XML reader sees what the resource manager expects: one
// ResourceManifest, Resources blocks, and every declaration an empty element
// directly followed by its end tag, with no text anywhere.
TEST(Manifest, TheGamesXmlReaderReadsItCleanly) {
  Zing::XMLParser parser;
  ASSERT_TRUE(parser.OpenFile(DataDir() + "/properties/resources.xml"));
  Zing::XMLElement e;
  std::vector<std::string> starts;
  std::string pendingEmpty;
  size_t declarations = 0;
  while (parser.NextElement(e)) {
    ASSERT_NE(e.type, Zing::XMLElement::Text) << e.value;
    if (!pendingEmpty.empty()) {
      ASSERT_EQ(e.type, Zing::XMLElement::End) << "after " << pendingEmpty;
      ASSERT_EQ(e.value, pendingEmpty);
      pendingEmpty.clear();
      continue;
    }
    if (e.type != Zing::XMLElement::Start) continue;
    starts.push_back(e.value);
    if (e.value == "Image" || e.value == "Sound" || e.value == "Font" || e.value == "SetDefaults") {
      pendingEmpty = e.value;
      if (e.value != "SetDefaults") {
        ++declarations;
        EXPECT_TRUE(e.attributes.count("id") && e.attributes.count("path")) << "line " << parser.GetCurrentLineNum();
      }
    }
  }
  EXPECT_FALSE(parser.HasFailed()) << parser.GetErrorText() << " on line " << parser.GetCurrentLineNum();
  ASSERT_FALSE(starts.empty());
  EXPECT_EQ(starts.front(), "ResourceManifest");
  EXPECT_EQ(std::count(starts.begin(), starts.end(), "Resources"), 3);
  const Manifest m = Generated();
  EXPECT_EQ(m.error, "");
  EXPECT_EQ(declarations, m.declarations.size());
}

// Identifiers carry their kind's prefix; sounds lie in the sounds folder
// under their lower-case names; every file named exists, and the images use
// every format the loader reads, alpha images by attribute and by "_name".
TEST(Manifest, KindsMatchPrefixesAndEveryFileExists) {
  std::set<std::string> extensions;
  bool alphaAttribute = false, underscoreAlpha = false;
  for (const auto& d : Generated().declarations) {
    const std::string prefix = d.kind == "Image" ? "IMAGE_" : d.kind == "Font" ? "FONT_" : "SOUND_";
    EXPECT_EQ(d.id.rfind(prefix, 0), 0u) << d.id;
    if (d.kind == "Sound") {
      std::string name = d.id.substr(6);
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
      EXPECT_EQ(d.path, "sounds/" + name);
      EXPECT_TRUE(IsFile(OnDisk(d.path) + ".ogg")) << d.id;
    } else if (d.kind == "Font") {
      EXPECT_TRUE(IsFile(OnDisk(d.path))) << d.id;
    } else {
      const auto file = ImageFile(d.path);
      ASSERT_TRUE(file) << d.id << " " << d.path;
      extensions.insert(file->substr(file->size() - 4));
      if (d.attributes.count("alphagrid")) {
        EXPECT_TRUE(ImageFile("images/" + d.attributes.at("alphagrid"))) << d.id;
      }
      if (d.attributes.count("alphaimage")) {
        EXPECT_TRUE(ImageFile("images/" + d.attributes.at("alphaimage"))) << d.id;
        alphaAttribute = true;
      }
      const size_t slash = d.path.rfind('/');
      underscoreAlpha |=
          file->ends_with(".jpg") && ImageFile(d.path.substr(0, slash + 1) + "_" + d.path.substr(slash + 1));
    }
  }
  EXPECT_EQ(extensions, (std::set<std::string>{".gif", ".jpg", ".png", ".tga"}));
  EXPECT_TRUE(alphaAttribute);
  EXPECT_TRUE(underscoreAlpha);
}

TEST(Manifest, CelGridsAreThoseTheScreensIndex) {
  const Manifest m = Generated();
  auto grid = [&](const std::string& id) {
    const Declaration* d = Find(m, id);
    if (!d) return std::pair<int, int>{-1, -1};
    auto number = [&](const char* key) { return d->attributes.count(key) ? std::stoi(d->attributes.at(key)) : 1; };
    return std::pair<int, int>{number("cols"), number("rows")};
  };
  for (int i = 0; i < 7; ++i) {
    const std::string n = std::to_string(i);
    EXPECT_EQ(grid("IMAGE_LINK" + n), std::make_pair(22, 1));
    EXPECT_GE(grid("IMAGE_ROLLING_CUBE" + n).first, 14);
    EXPECT_EQ(grid("IMAGE_ROLLING_CUBE" + n).second, 2);
    EXPECT_EQ(grid("IMAGE_VORTEX" + n), std::make_pair(15, 1));
  }
  EXPECT_EQ(grid("IMAGE_STAR_BIG"), std::make_pair(7, 1));
  EXPECT_EQ(grid("IMAGE_STAR_SMALL"), std::make_pair(7, 1));
  EXPECT_EQ(grid("IMAGE_TARGET"), std::make_pair(20, 1));
  EXPECT_EQ(grid("IMAGE_MARK"), std::make_pair(2, 1));
  EXPECT_EQ(grid("IMAGE_HIGHLIGHTS"), std::make_pair(2, 1));
  EXPECT_EQ(grid("IMAGE_SHUTTERS"), std::make_pair(1, 2));
  EXPECT_EQ(grid("IMAGE_DIGITS"), std::make_pair(10, 1));
  EXPECT_EQ(grid("IMAGE_VORTEX_LINE"), std::make_pair(1, 2));
  EXPECT_EQ(grid("IMAGE_HINT_NODES"), std::make_pair(7, 1));
  EXPECT_EQ(grid("IMAGE_HINT_LINKS"), std::make_pair(7, 1));
  EXPECT_EQ(grid("IMAGE_HINT_STICKS"), std::make_pair(7, 2));
  EXPECT_EQ(grid("IMAGE_REPLAY_NODES"), std::make_pair(7, 1));
  for (const char* lang : {"EN", "FR", "DE"}) {
    EXPECT_EQ(grid(std::string("IMAGE_EFFECT_TEXTS_") + lang), std::make_pair(1, 9));
  }
}

}  // namespace
}  // namespace ArtTest
