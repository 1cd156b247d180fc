// The generated resource manifest: its grammar, the identifiers in each
// loading group, and the files it names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "framework/resource/XMLParser.h"
#include "tests/artgen/DataFiles.h"
#include "tests/artgen/ManifestReader.h"

namespace ArtTest {
namespace {

Manifest Generated() { return ReadManifest(ReadText(DataDir() + "/properties/resources.xml")); }

std::set<std::string> IdsOf(const Manifest& m, const std::string& group) {
  std::set<std::string> ids;
  for (const auto& d : m.declarations) {
    if (d.group == group) ids.insert(d.id);
  }
  return ids;
}

const Declaration* Find(const Manifest& m, const std::string& id) {
  for (const auto& d : m.declarations) {
    if (d.id == id) return &d;
  }
  return nullptr;
}

std::set<std::string> GameIds() {
  std::set<std::string> ids = {"FONT_SMALL_DIGITS",
                               "IMAGE_BUTTON_DOWN",
                               "IMAGE_BUTTON_NORMAL",
                               "IMAGE_BUTTON_OVER",
                               "IMAGE_CELL",
                               "IMAGE_CHECKBOX",
                               "IMAGE_DIGITS",
                               "IMAGE_GAME_BKG",
                               "IMAGE_HIGHLIGHTS",
                               "IMAGE_HINT_BKG",
                               "IMAGE_HINT_CELL",
                               "IMAGE_HINT_LINKS",
                               "IMAGE_HINT_NODES",
                               "IMAGE_HINT_SHADOW",
                               "IMAGE_HINT_STICKS",
                               "IMAGE_MARK",
                               "IMAGE_MENU_BKG",
                               "IMAGE_PANEL",
                               "IMAGE_PANEL_TEXT",
                               "IMAGE_REPLAY_BKG",
                               "IMAGE_REPLAY_CELL",
                               "IMAGE_REPLAY_NODES",
                               "IMAGE_REPLAY_SHADOW",
                               "IMAGE_SCROLLBAR_BUTTON_LEFT",
                               "IMAGE_SCROLLBAR_BUTTON_RIGHT",
                               "IMAGE_SCROLLBAR_THUMB",
                               "IMAGE_SCROLLBAR_TRACK",
                               "IMAGE_SHADOW_PIECE",
                               "IMAGE_SHUTTERS",
                               "IMAGE_SLIDER_THUMB",
                               "IMAGE_SLIDER_TRACK",
                               "IMAGE_STAR_BIG",
                               "IMAGE_STAR_SMALL",
                               "IMAGE_TARGET",
                               "IMAGE_VORTEX_LINE",
                               "SOUND_CUBE_BUMP",
                               "SOUND_CUBE_CLICK",
                               "SOUND_CUBE_DROP",
                               "SOUND_CUBE_TAP",
                               "SOUND_SHUTTERS_BLUR",
                               "SOUND_SHUTTERS_BUMP",
                               "SOUND_SHUTTERS_MOVE",
                               "SOUND_STAR_BIG",
                               "SOUND_STAR_SMALL",
                               "SOUND_VORTEX"};
  for (const char* lang : {"DE", "EN", "FR"}) {
    for (const char* base : {"CONTINUE_", "CONTINUE_HLT_", "EFFECT_TEXTS_", "HELP_", "MENU_TITLE_", "NEW_", "NEW_HLT_",
                             "REPLAY_", "REPLAY_HLT_", "REPLAY_LOCKED_"}) {
      ids.insert(std::string("IMAGE_") + base + lang);
    }
  }
  for (int i = 0; i < 7; ++i) {
    for (const char* base : {"IMAGE_LINK", "IMAGE_ROLLING_CUBE", "IMAGE_VORTEX"}) ids.insert(base + std::to_string(i));
  }
  return ids;
}

TEST(Manifest, FollowsTheManifestGrammar) {
  const Manifest m = Generated();
  EXPECT_EQ(m.error, "");
  EXPECT_FALSE(m.declarations.empty());
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
  EXPECT_EQ(declarations, Generated().declarations.size());
}

TEST(Manifest, ReaderRejectsWhatTheResourceManagerRejects) {
  EXPECT_EQ(ReadManifest("<Other/>").error, "Expecting ResourceManifest tag");
  EXPECT_EQ(ReadManifest("<ResourceManifest><Resources><Image path=\"a\"/></Resources></ResourceManifest>").error,
            "No id specified.");
  EXPECT_EQ(ReadManifest("<ResourceManifest><Resources id=\"g\">text</Resources></ResourceManifest>").error,
            "Element Not Expected 'text'");
  EXPECT_EQ(ReadManifest("<ResourceManifest><Resources id=\"g\"><Picture path=\"a\"/></Resources>"
                         "</ResourceManifest>")
                .error,
            "Invalid Section 'Picture'");
  EXPECT_EQ(ReadManifest("<ResourceManifest><Resources id=\"g\"><Image id=\"a\" path=\"a\"/>"
                         "<Image id=\"a\" path=\"b\"/></Resources></ResourceManifest>")
                .error,
            "Resource already defined.");
  const Manifest ok = ReadManifest(
      "<?xml version=\"1.0\"?><ResourceManifest><!-- c --><Resources id=\"g\">"
      "<SetDefaults path=\"images\\\" idprefix=\"IMAGE_\"/><Image path=\"x/ball.png\"/></Resources>"
      "</ResourceManifest>");
  ASSERT_EQ(ok.error, "");
  ASSERT_EQ(ok.declarations.size(), 1u);
  EXPECT_EQ(ok.declarations[0].id, "IMAGE_ball");
  EXPECT_EQ(ok.declarations[0].path, "images/x/ball.png");
}

TEST(Manifest, DeclaresExactlyTheGameIdentifiersPerGroup) {
  const Manifest m = Generated();
  EXPECT_EQ(IdsOf(m, "Init"),
            (std::set<std::string>{"FONT_DEFAULT", "IMAGE_CUSTOM_DRAGGING", "IMAGE_CUSTOM_HAND", "IMAGE_CUSTOM_POINTER",
                                   "IMAGE_CUSTOM_TEXT", "IMAGE_DIALOG_BOX", "IMAGE_DIALOG_BUTTON", "SOUND_GUI_CLICK"}));
  EXPECT_EQ(IdsOf(m, "Splash"), (std::set<std::string>{"IMAGE_LOADING_BAR", "IMAGE_SPLASH_BKG", "IMAGE_SPLASH_TEXT"}));
  EXPECT_EQ(IdsOf(m, "Game"), GameIds());
  EXPECT_EQ(IdsOf(m, "Game").size(), 96u);
  EXPECT_EQ(m.declarations.size(), 107u);
}

TEST(Manifest, KindsMatchTheIdentifierPrefixes) {
  for (const auto& d : Generated().declarations) {
    const std::string prefix = d.kind == "Image" ? "IMAGE_" : d.kind == "Font" ? "FONT_" : "SOUND_";
    EXPECT_EQ(d.id.rfind(prefix, 0), 0u) << d.id;
  }
}

TEST(Manifest, SoundsLieInTheSoundsFolderUnderTheirLowerCaseNames) {
  for (const auto& d : Generated().declarations) {
    if (d.kind != "Sound") continue;
    std::string name = d.id.substr(6);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    EXPECT_EQ(d.path, "sounds/" + name);
  }
}

TEST(Manifest, EveryFileItNamesExists) {
  const bool soundsMade = std::filesystem::is_directory(DataDir() + "/sounds");
  for (const auto& d : Generated().declarations) {
    if (d.kind == "Image") {
      EXPECT_TRUE(ImageFile(d.path).has_value()) << d.id << " " << d.path;
      for (const char* extra : {"alphaimage", "alphagrid"}) {
        if (d.attributes.count(extra)) {
          EXPECT_TRUE(ImageFile("images/" + d.attributes.at(extra))) << d.id;
        }
      }
    } else if (d.kind == "Font") {
      EXPECT_TRUE(IsFile(OnDisk(d.path))) << d.id;
    } else if (soundsMade) {
      // The sound generator writes the .ogg files; until it is part of the
      // build there is nothing to check.
      EXPECT_TRUE(IsFile(OnDisk(d.path) + ".ogg")) << d.id;
    }
  }
}

TEST(Manifest, UsesTheLoadersFormatsAndAlphaImages) {
  const Manifest m = Generated();
  std::set<std::string> extensions;
  bool alphaAttribute = false, underscoreAlpha = false;
  for (const auto& d : m.declarations) {
    if (d.kind != "Image") continue;
    const auto file = ImageFile(d.path);
    if (!file) continue;
    const std::string ext = file->substr(file->size() - 4);
    extensions.insert(ext);
    if (ext != ".jpg") continue;
    if (d.attributes.count("alphaimage")) alphaAttribute = true;
    const size_t slash = d.path.rfind('/');
    if (ImageFile(d.path.substr(0, slash + 1) + "_" + d.path.substr(slash + 1))) underscoreAlpha = true;
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
