// The art generator and the data it writes, read the way the game reads it: the manifest's
// declarations through the resource manager, the pictures through the game's loader, the font
// descriptors through its font reader. (That the whole manifest loads, from main.pak and from the
// loose files, and that every picture divides into its grid, the game manifest's test shows.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

#include "framework/graphics/FontData.h"
#include "framework/graphics/ImageLib.h"
#include "framework/resource/ResourceManager.h"
#include "tests/graphics/FontTestHost.h"
#include "tests/support/TempFolder.h"
#include "tools/artgen/ImageFiles.h"
#include "tools/artgen/Palette.h"

namespace {

// build/data, unless the environment names another data folder.
std::string DataDir() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return dir && *dir ? dir : LINTWICK_TEST_DATA_DIR;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The file an extension-less image path loads from: the first of .tga, .jpg,
// .png, .gif that exists (the loader's order), or nothing.
std::optional<std::string> ImageFile(const std::string& path) {
  for (const char* ext : {".tga", ".jpg", ".png", ".gif"}) {
    if (std::filesystem::is_regular_file(DataDir() + "/" + path + ext)) return DataDir() + "/" + path + ext;
  }
  return std::nullopt;
}

struct Declaration {
  std::string kind;  // "Image", "Sound" or "Font"
  std::string id;    // with the default id prefix in front
  std::string path;  // in the data folder, with the default path in front, '/' for '\'
  int cols = 1, rows = 1;
  bool nopal = false;
};

// Notes every declaration the manager reads, as it reads it.
class RecordingManager : public Zing::ResourceManager {
 public:
  RecordingManager() : ResourceManager(nullptr) {}
  std::vector<Declaration> declarations;

 protected:
  bool ParseCommonResource(const Zing::XMLElement& element, Zing::BaseRes* res) override {
    if (!ResourceManager::ParseCommonResource(element, res)) return false;
    static const char* const kKinds[] = {"Image", "Sound", "Font"};
    std::string path = res->path;
    std::replace(path.begin(), path.end(), '\\', '/');
    const auto& a = res->xmlAttributes;
    auto number = [&](const char* key) { return a.count(key) ? std::stoi(a.at(key)) : 1; };
    declarations.push_back({kKinds[res->type], res->id, path, number("cols"), number("rows"), a.count("nopal") > 0});
    return true;
  }
};

std::vector<Declaration> ReadManifest() {
  RecordingManager manager;
  if (!manager.ParseResourcesFile(DataDir() + "/properties/resources.xml")) ADD_FAILURE() << manager.GetErrorText();
  return std::move(manager.declarations);
}

struct Picture {
  std::string path, file;  // as declared, and the file it loads from
  int cols = 1, rows = 1;
  bool nopal = false;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, with a "_name" mask's alpha applied

  std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
  unsigned Alpha(int x, int y) const { return At(x, y) >> 24; }
  // Rec. 709 luma of the colour.
  double Light(int x, int y) const {
    return 0.2126 * ((At(x, y) >> 16) & 0xFF) + 0.7152 * ((At(x, y) >> 8) & 0xFF) + 0.0722 * (At(x, y) & 0xFF);
  }
};

// Every image of the manifest, read by the game's loader by the name the game gives it.
const std::map<std::string, Picture>& Images() {
  static const std::map<std::string, Picture> all = [] {
    std::map<std::string, Picture> images;
    for (const auto& d : ReadManifest()) {
      const auto file = ImageFile(d.path);
      if (d.kind != "Image" || !file) continue;
      const Zing::ImageLib::ImagePtr image = Zing::ImageLib::GetImage(DataDir() + "/" + d.path);
      if (!image) continue;
      const std::uint32_t* bits = image->GetBits();
      const std::size_t size = std::size_t(image->GetWidth()) * std::size_t(image->GetHeight());
      images[d.id] =
          Picture{d.path, *file, d.cols, d.rows, d.nopal, image->GetWidth(), image->GetHeight(), {bits, bits + size}};
    }
    return images;
  }();
  return all;
}

// The build's own run made the data folder; a second run must write the same
// bytes (the data folder also holds other generators' files, which are not
// compared). Without a folder to write to, it fails.
TEST(Generator, ASecondRunWritesIdenticalFiles) {
  ZingTest::TempFolder again;
  ASSERT_EQ(std::system((std::string(LINTWICK_ARTGEN) + " '" + again.Path() + "'").c_str()), 0);
  int files = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(again.Path())) {
    if (!e.is_regular_file()) continue;
    const std::string name = std::filesystem::relative(e.path(), again.Path()).string();
    ++files;
    EXPECT_TRUE(ReadText(e.path().string()) == ReadText(DataDir() + "/" + name)) << name << " differs between runs";
  }
  EXPECT_GT(files, 100);
  EXPECT_NE(std::system((std::string(LINTWICK_ARTGEN) + " 2>/dev/null").c_str()), 0);
}

// From one pixel to noise that fills the code table and the 256-colour palette.
TEST(Generator, TheGamesLoaderReadsBackEveryPixelOfAGif) {
  ZingTest::TempFolder folder;
  std::mt19937 rng(7);
  struct Case {
    int width, height;
    uint32_t colours;  // random pixels among this many colours; 1: flat
  };
  for (const Case& c : {Case{1, 1, 1}, Case{100, 50, 1}, Case{300, 200, 4}, Case{300, 200, 32}, Case{300, 200, 256}}) {
    artgen::Canvas canvas(c.width, c.height);
    cairo_surface_flush(canvas.Surface());
    unsigned char* data = cairo_image_surface_get_data(canvas.Surface());
    const int stride = cairo_image_surface_get_stride(canvas.Surface());
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        reinterpret_cast<uint32_t*>(data + y * stride)[x] = 0xFF000000u | (rng() % c.colours * 0x10204u & 0xFFFFFF);
    cairo_surface_mark_dirty(canvas.Surface());
    artgen::WriteGif(folder.File("test.gif"), canvas);
    Zing::ImageLib::ImagePtr image = Zing::ImageLib::GetGIFImage(folder.File("test.gif"));
    ASSERT_TRUE(image) << c.width << " " << c.colours;
    const std::vector<uint32_t> expected = canvas.Pixels();
    EXPECT_EQ(expected, std::vector<uint32_t>(image->GetBits(), image->GetBits() + expected.size()))
        << c.width << "x" << c.height << " of " << c.colours << " colours";
  }
}

// Every pair of links, and every link against the cells, differ by a CIEDE2000
// of at least 12 (plainly visible at a glance) for normal vision and the three
// common deficiencies; the links also spread in lightness. The measure itself
// brings pure red and green together for red-green blindness.
TEST(Generator, LinkColoursStayApartFromEachOtherAndTheCellsForEveryVision) {
  using artgen::DeltaE2000, artgen::kLinkColours, artgen::SeenAs, artgen::Vision;
  const artgen::Rgb8 cell{46, 104, 98}, red{255, 0, 0}, green{0, 255, 0};
  EXPECT_LT(DeltaE2000(SeenAs(red, Vision::Deuteranopia), SeenAs(green, Vision::Deuteranopia)),
            DeltaE2000(SeenAs(red, Vision::Normal), SeenAs(green, Vision::Normal)) / 2);
  double lo = 100, hi = 0;
  for (Vision v : artgen::kAllVisions) {
    for (size_t i = 0; i < kLinkColours.size(); ++i) {
      EXPECT_GE(DeltaE2000(SeenAs(kLinkColours[i], v), SeenAs(cell, v)), 12.0) << i;
      for (size_t j = i + 1; j < kLinkColours.size(); ++j) {
        EXPECT_GE(DeltaE2000(SeenAs(kLinkColours[i], v), SeenAs(kLinkColours[j], v)), 12.0)
            << "links " << i << " and " << j << " with vision " << int(v);
      }
      lo = std::min(lo, SeenAs(kLinkColours[i], Vision::Normal).l);
      hi = std::max(hi, SeenAs(kLinkColours[i], Vision::Normal).l);
    }
  }
  EXPECT_GE(hi - lo, 40.0);
}

// A "_name" mask beside a JPEG of another size would be ignored without a word.
TEST(Images, VisibleInEveryCelAndMasksApplied) {
  EXPECT_EQ(Images().size(), 6u + 3u + 94u);  // the images of "Init", "Splash" and "Game"
  for (const auto& [id, p] : Images()) {
    const int cw = p.width / p.cols, ch = p.height / p.rows;
    for (int cel = 0; cel < p.rows * p.cols; ++cel) {
      const int left = cel % p.cols * cw, top = cel / p.cols * ch;
      int visible = 0;
      for (int y = top; y < top + ch; ++y)
        for (int x = left; x < left + cw; ++x) visible += p.Alpha(x, y) > 24;
      EXPECT_GE(visible, 4) << id << " cel " << cel;
    }
    // "nopal" marks exactly the pictures too colourful to palettise.
    EXPECT_EQ(std::set<std::uint32_t>(p.pixels.begin(), p.pixels.end()).size() > 256, p.nopal) << id;
    const size_t slash = p.path.rfind('/');
    if (!p.file.ends_with(".jpg") || !ImageFile(p.path.substr(0, slash + 1) + "_" + p.path.substr(slash + 1))) continue;
    EXPECT_TRUE(std::any_of(p.pixels.begin(), p.pixels.end(), [](std::uint32_t c) { return c >> 24 != 0xFF; })) << id;
  }
}

// Pieces grow through their first cels; finished ones are brighter than open ones.
TEST(Images, PiecesGrowAndBrightenWhenFinished) {
  for (int link = 0; link < 7; ++link) {
    const Picture& p = Images().at("IMAGE_LINK" + std::to_string(link));
    auto measure = [&](int col, bool lightness) {  // the visible area, or the visible pixels' mean lightness
      double sum = 0, weight = 0;
      for (int y = 0; y < p.height; ++y)
        for (int x = col * 45; x < (col + 1) * 45; ++x) {
          sum += lightness ? p.Light(x, y) * p.Alpha(x, y) : p.Alpha(x, y) > 128;
          weight += p.Alpha(x, y);
        }
      return lightness ? (weight > 0 ? sum / weight : 0) : sum;
    };
    EXPECT_GT(measure(21, true), measure(10, true) + 15) << "link " << link;
    EXPECT_LT(measure(0, false), measure(5, false)) << "link " << link;
    EXPECT_LT(measure(5, false), measure(10, false) + 40) << "link " << link;
  }
}

TEST(Images, ScreenSizedPicturesFitTheirPlaces) {
  auto size = [](const std::string& id) {
    const Picture& p = Images().at(id);
    return std::make_pair(p.width, p.height);
  };
  for (const auto& [id, w, h] : std::vector<std::tuple<std::string, int, int>>{{"IMAGE_SPLASH_BKG", 640, 480},
                                                                               {"IMAGE_GAME_BKG", 470, 480},
                                                                               {"IMAGE_MENU_BKG", 470, 480},
                                                                               {"IMAGE_PANEL", 170, 480},
                                                                               {"IMAGE_CELL", 45, 45}})
    EXPECT_EQ(size(id), std::make_pair(w, h)) << id;
  EXPECT_EQ(size("IMAGE_LINK0").second, 45);
  // The splash text and the loading bar stay inside the window.
  EXPECT_LE(21 + size("IMAGE_SPLASH_TEXT").first, 640);
  EXPECT_LE(152 + size("IMAGE_LOADING_BAR").first, 640);
  // The shutters cover half the board each: they meet at y 240 and reach the board's edges.
  EXPECT_GE(size("IMAGE_SHUTTERS").second / 2, 225);
  EXPECT_GE(size("IMAGE_SHUTTERS").first, 454);
  // Slider and scroll tracks are three equal cells; the check box two halves.
  EXPECT_EQ(std::pair(size("IMAGE_SLIDER_TRACK").first % 3, size("IMAGE_SCROLLBAR_TRACK").first % 3), std::pair(0, 0));
  EXPECT_EQ(size("IMAGE_CHECKBOX").first % 2, 0);
  // The vortex bar fits below the board.
  EXPECT_LE(466 + size("IMAGE_VORTEX_LINE").second / 2, 480);
  // The help picture fits inside the help dialog between its header and its button.
  for (const char* lang : {"EN", "FR", "DE"}) {
    const auto help = size(std::string("IMAGE_HELP_") + lang);
    EXPECT_LE(help.first, 466 - 36);
    EXPECT_LE(217 + help.second / 2, 442 - 15 - 30);
  }
}

// The sounds are the one kind the game's manifest test loads without reading.
TEST(Manifest, CelGridsAreThoseTheScreensIndexAndEverySoundIsThere) {
  std::map<std::string, std::pair<int, int>> grids;
  for (const auto& d : ReadManifest()) {
    grids[d.id] = {d.cols, d.rows};
    if (d.kind == "Sound") {
      EXPECT_TRUE(std::filesystem::is_regular_file(DataDir() + "/" + d.path + ".ogg")) << d.id;
    }
  }
  std::map<std::string, std::pair<int, int>> expected = {
      {"IMAGE_STAR_BIG", {7, 1}},         {"IMAGE_STAR_SMALL", {7, 1}},
      {"IMAGE_TARGET", {20, 1}},          {"IMAGE_MARK", {2, 1}},
      {"IMAGE_HIGHLIGHTS", {2, 1}},       {"IMAGE_SHUTTERS", {1, 2}},
      {"IMAGE_DIGITS", {10, 1}},          {"IMAGE_VORTEX_LINE", {1, 2}},
      {"IMAGE_HINT_NODES", {7, 1}},       {"IMAGE_HINT_LINKS", {7, 1}},
      {"IMAGE_HINT_STICKS", {7, 2}},      {"IMAGE_REPLAY_NODES", {7, 1}},
      {"IMAGE_EFFECT_TEXTS_EN", {1, 11}}, {"IMAGE_EFFECT_TEXTS_FR", {1, 11}},
      {"IMAGE_EFFECT_TEXTS_DE", {1, 11}}};
  for (int i = 0; i < 7; ++i) {
    expected["IMAGE_LINK" + std::to_string(i)] = {22, 1};
    expected["IMAGE_VORTEX" + std::to_string(i)] = {15, 1};
    const auto cube = grids["IMAGE_ROLLING_CUBE" + std::to_string(i)];
    EXPECT_TRUE(cube.first >= 14 && cube.second == 2) << i;
  }
  for (const auto& [id, grid] : expected) EXPECT_EQ(grids[id], grid) << id;
}

// Every glyph lies on its sheet, and the default font draws a shadow under its body.
TEST(FontDescriptor, ReadCleanlyWithEveryCharacterOfTheTextsOnTheSheets) {
  std::vector<unsigned char> needed;
  for (int c = 33; c < 127; ++c) needed.push_back(static_cast<unsigned char>(c));
  // é è ç à ô Ä Ö Ü ä ö ü ß in Windows-1252.
  for (unsigned char c : {0xE9, 0xE8, 0xE7, 0xE0, 0xF4, 0xC4, 0xD6, 0xDC, 0xE4, 0xF6, 0xFC, 0xDF}) needed.push_back(c);
  int fonts = 0;
  for (const auto& d : ReadManifest()) {
    if (d.kind != "Font") continue;
    ++fonts;
    ZingTest::FontTestHost host;
    Zing::FontData data(&host);
    ASSERT_TRUE(data.Load(DataDir() + "/" + d.path)) << d.id << ": " << data.GetFullError();
    EXPECT_TRUE(host.errors.empty()) << d.id;
    const Zing::FontLayer* main = data.FindLayer("Main");
    ASSERT_NE(main, nullptr) << d.id;
    for (const auto& layer : data.fontLayerList) {
      ASSERT_NE(layer->image, nullptr) << d.id;
      for (const Zing::CharData& glyph : layer->charData) {
        const Zing::Rect& r = glyph.imageRect;
        EXPECT_TRUE(r.IsEmpty() || (r.x >= 0 && r.y >= 0 && r.x + r.w <= layer->image->GetWidth() &&
                                    r.y + r.h <= layer->image->GetHeight()))
            << d.id;
      }
    }
    EXPECT_GT(main->charData[' '].width, 0) << d.id;
    for (unsigned char c : needed) {
      EXPECT_FALSE(main->charData[c].imageRect.IsEmpty()) << d.id << " lacks character " << int(c);
      EXPECT_GT(main->charData[c].width, 0) << d.id << " has no width for " << int(c);
    }
    if (d.id != "FONT_DEFAULT") continue;
    const Zing::FontLayer* shadow = data.FindLayer("Shadow");
    ASSERT_NE(shadow, nullptr);
    EXPECT_LT(shadow->baseOrder, main->baseOrder);
    EXPECT_TRUE(main->height >= 13 && main->height <= 18) << main->height;
  }
  EXPECT_EQ(fonts, 2);
}

}  // namespace
