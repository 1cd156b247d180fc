// The generated images, as the game's loader reads them: sized to the screens
// that draw them, in the cel grids the screens index, with something to see
// in every cel, and JPEG masks that apply to their pictures. (That the whole
// manifest loads, from main.pak and from the loose files, and that every
// picture divides into its grid, the game manifest's test shows.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

#include "tests/artgen/DataFiles.h"

namespace ArtTest {
namespace {

struct Loaded {
  std::string path, file;
  Picture picture;
  int cols = 1, rows = 1;
};

const std::map<std::string, Loaded>& All() {
  static const std::map<std::string, Loaded> all = [] {
    std::map<std::string, Loaded> images;
    for (const auto& d : ReadManifest()) {
      const auto file = ImageFile(d.path);
      const auto picture = file ? ReadPicture(OnDisk(d.path)) : std::nullopt;  // as the game names it
      if (d.kind == "Image" && picture)
        images[d.id] = Loaded{d.path, *file, *picture, d.Number("cols"), d.Number("rows")};
    }
    return images;
  }();
  return all;
}

// A "_name" mask beside a JPEG of another size would be ignored without a word.
TEST(Images, VisibleInEveryCelAndMasksApplied) {
  EXPECT_EQ(All().size(), 6u + 3u + 85u);  // the images of "Init", "Splash" and "Game"
  for (const auto& [id, l] : All()) {
    const Picture& p = l.picture;
    const int cw = p.width / l.cols, ch = p.height / l.rows;
    for (int cel = 0; cel < l.rows * l.cols; ++cel) {
      const int left = cel % l.cols * cw, top = cel / l.cols * ch;
      int visible = 0;
      for (int y = top; y < top + ch; ++y)
        for (int x = left; x < left + cw; ++x) visible += p.Alpha(x, y) > 24;
      EXPECT_GE(visible, 4) << id << " cel " << cel;
    }
    const size_t slash = l.path.rfind('/');
    if (!l.file.ends_with(".jpg") || !ImageFile(l.path.substr(0, slash + 1) + "_" + l.path.substr(slash + 1))) continue;
    EXPECT_TRUE(std::any_of(p.pixels.begin(), p.pixels.end(), [](std::uint32_t c) { return c >> 24 != 0xFF; })) << id;
  }
}

// Pieces grow through their first cels; finished ones are brighter than open ones.
TEST(Images, PiecesGrowAndBrightenWhenFinished) {
  for (int link = 0; link < 7; ++link) {
    const Picture& p = All().at("IMAGE_LINK" + std::to_string(link)).picture;
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
    const Picture& p = All().at(id).picture;
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
  EXPECT_EQ(size("IMAGE_SLIDER_TRACK").first % 3, 0);
  EXPECT_EQ(size("IMAGE_SCROLLBAR_TRACK").first % 3, 0);
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
    grids[d.id] = {d.Number("cols"), d.Number("rows")};
    if (d.kind == "Sound") {
      EXPECT_TRUE(std::filesystem::is_regular_file(OnDisk(d.path) + ".ogg")) << d.id;
    }
  }
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
