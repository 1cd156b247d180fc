// The generated images: readable in the format the loader expects, sized to
// the screens that draw them, divisible into their cel grids, and with
// something to see in every cel.
#include <gtest/gtest.h>

#include <map>

#include "tests/artgen/DataFiles.h"
#include "tests/artgen/ManifestReader.h"

namespace ArtTest {
namespace {

struct Loaded {
  Declaration decl;
  std::string file;
  Picture picture;
  int cols = 1, rows = 1;
};

std::map<std::string, Loaded> LoadAll() {
  std::map<std::string, Loaded> all;
  const Manifest m = ReadManifest();
  for (const auto& d : m.declarations) {
    if (d.kind != "Image") continue;
    Loaded l;
    l.decl = d;
    const auto file = ImageFile(d.path);
    if (!file) continue;
    l.file = *file;
    const auto pic = ReadPicture(*file);
    if (!pic) continue;
    l.picture = *pic;
    if (d.attributes.count("cols")) l.cols = std::stoi(d.attributes.at("cols"));
    if (d.attributes.count("rows")) l.rows = std::stoi(d.attributes.at("rows"));
    all[d.id] = l;
  }
  return all;
}

const std::map<std::string, Loaded>& All() {
  static const std::map<std::string, Loaded> all = LoadAll();
  return all;
}

// Every image reads in its format, its sizes divide by its cel grid, and
// every cel shows something.
TEST(Images, ReadableDivisibleAndVisibleInEveryCel) {
  EXPECT_EQ(All().size(), 6u + 3u + 85u);  // the images of "Init", "Splash" and "Game"
  for (const auto& [id, l] : All()) {
    EXPECT_GT(l.picture.width, 0) << id;
    EXPECT_EQ(l.picture.width % l.cols, 0) << id;
    EXPECT_EQ(l.picture.height % l.rows, 0) << id;
    if (!l.picture.hasPixels) continue;
    const int cw = l.picture.width / l.cols, ch = l.picture.height / l.rows;
    for (int r = 0; r < l.rows; ++r) {
      for (int c = 0; c < l.cols; ++c) {
        int visible = 0;
        for (int y = r * ch; y < (r + 1) * ch; ++y) {
          for (int x = c * cw; x < (c + 1) * cw; ++x)
            visible += l.picture.alpha[size_t(y) * size_t(l.picture.width) + size_t(x)] > 24;
        }
        EXPECT_GE(visible, 4) << id << " cel " << c << "," << r;
      }
    }
  }
}

// Average lightness of the visible pixels of one cel.
double CelLight(const Loaded& l, int col, int row) {
  const int cw = l.picture.width / l.cols, ch = l.picture.height / l.rows;
  double sum = 0, weight = 0;
  for (int y = row * ch; y < (row + 1) * ch; ++y) {
    for (int x = col * cw; x < (col + 1) * cw; ++x) {
      const size_t i = size_t(y) * size_t(l.picture.width) + size_t(x);
      sum += l.picture.light[i] * l.picture.alpha[i];
      weight += l.picture.alpha[i];
    }
  }
  return weight > 0 ? sum / weight : 0;
}

// Pieces grow through their first cels; finished ones are brighter than open ones.
TEST(Images, PiecesGrowAndBrightenWhenFinished) {
  for (int link = 0; link < 7; ++link) {
    const Loaded& l = All().at("IMAGE_LINK" + std::to_string(link));
    ASSERT_TRUE(l.picture.hasPixels);
    EXPECT_GT(CelLight(l, 21, 0), CelLight(l, 10, 0) + 15) << "link " << link;
    auto area = [&](int col) {
      int n = 0;
      for (int y = 0; y < l.picture.height; ++y) {
        for (int x = col * 45; x < (col + 1) * 45; ++x)
          n += l.picture.alpha[size_t(y) * size_t(l.picture.width) + size_t(x)] > 128;
      }
      return n;
    };
    EXPECT_LT(area(0), area(5)) << "link " << link;
    EXPECT_LT(area(5), area(10) + 40) << "link " << link;
  }
}

TEST(Images, ScreenSizedPicturesFitTheirPlaces) {
  auto size = [](const std::string& id) {
    const Loaded& l = All().at(id);
    return std::make_pair(l.picture.width, l.picture.height);
  };
  EXPECT_EQ(size("IMAGE_SPLASH_BKG"), std::make_pair(640, 480));
  EXPECT_EQ(size("IMAGE_GAME_BKG"), std::make_pair(470, 480));
  EXPECT_EQ(size("IMAGE_MENU_BKG"), std::make_pair(470, 480));
  EXPECT_EQ(size("IMAGE_PANEL"), std::make_pair(170, 480));
  EXPECT_EQ(size("IMAGE_CELL"), std::make_pair(45, 45));
  EXPECT_EQ(All().at("IMAGE_LINK0").picture.height, 45);
  // The splash text and the loading bar stay inside the window.
  EXPECT_LE(21 + size("IMAGE_SPLASH_TEXT").first, 640);
  EXPECT_LE(152 + size("IMAGE_LOADING_BAR").first, 640);
  // The shutters cover half the board each: they meet at y 240 and reach the board's edges.
  const Loaded& shutters = All().at("IMAGE_SHUTTERS");
  EXPECT_GE(shutters.picture.height / 2, 225);
  EXPECT_GE(shutters.picture.width, 454);
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

TEST(Images, JpegsWithAlphaHaveAMaskOfTheSameSize) {
  for (const auto& [id, l] : All()) {
    if (l.file.substr(l.file.size() - 4) != ".jpg") continue;
    std::optional<std::string> mask;
    if (l.decl.attributes.count("alphaimage")) {
      mask = ImageFile("images/" + l.decl.attributes.at("alphaimage"));
    } else {
      const size_t slash = l.decl.path.rfind('/');
      mask = ImageFile(l.decl.path.substr(0, slash + 1) + "_" + l.decl.path.substr(slash + 1));
    }
    if (!mask) continue;  // an opaque JPEG
    const auto pic = ReadPicture(*mask);
    ASSERT_TRUE(pic) << id;
    EXPECT_EQ(pic->width, l.picture.width) << id;
    EXPECT_EQ(pic->height, l.picture.height) << id;
  }
}

}  // namespace
}  // namespace ArtTest
