// The generated images, as the game's loader reads them: sized to the screens
// that draw them, divisible into their cel grids, with something to see in
// every cel, and JPEG masks the size of their pictures.
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

const std::map<std::string, Loaded>& All() {
  static const std::map<std::string, Loaded> all = [] {
    std::map<std::string, Loaded> images;
    for (const auto& d : ReadManifest().declarations) {
      const auto file = ImageFile(d.path);
      const auto picture = file ? ReadPicture(*file) : std::nullopt;
      if (d.kind != "Image" || !picture) continue;
      auto number = [&](const char* key) { return d.attributes.count(key) ? std::stoi(d.attributes.at(key)) : 1; };
      images[d.id] = Loaded{d, *file, *picture, number("cols"), number("rows")};
    }
    return images;
  }();
  return all;
}

TEST(Images, ReadableDivisibleAndVisibleInEveryCel) {
  EXPECT_EQ(All().size(), 6u + 3u + 85u);  // the images of "Init", "Splash" and "Game"
  for (const auto& [id, l] : All()) {
    const Picture& p = l.picture;
    EXPECT_GT(p.width, 0) << id;
    EXPECT_EQ(p.width % l.cols, 0) << id;
    EXPECT_EQ(p.height % l.rows, 0) << id;
    const int cw = p.width / l.cols, ch = p.height / l.rows;
    for (int cel = 0; cel < l.rows * l.cols; ++cel) {
      const int left = cel % l.cols * cw, top = cel / l.cols * ch;
      int visible = 0;
      for (int y = top; y < top + ch; ++y)
        for (int x = left; x < left + cw; ++x) visible += p.Alpha(x, y) > 24;
      EXPECT_GE(visible, 4) << id << " cel " << cel;
    }
  }
}

// Pieces grow through their first cels; finished ones are brighter than open ones.
TEST(Images, PiecesGrowAndBrightenWhenFinished) {
  for (int link = 0; link < 7; ++link) {
    const Picture& p = All().at("IMAGE_LINK" + std::to_string(link)).picture;
    auto area = [&](int col) {
      int n = 0;
      for (int y = 0; y < p.height; ++y)
        for (int x = col * 45; x < (col + 1) * 45; ++x) n += p.Alpha(x, y) > 128;
      return n;
    };
    auto light = [&](int col) {  // the average lightness of the visible pixels
      double sum = 0, weight = 0;
      for (int y = 0; y < p.height; ++y)
        for (int x = col * 45; x < (col + 1) * 45; ++x) sum += p.Light(x, y) * p.Alpha(x, y), weight += p.Alpha(x, y);
      return weight > 0 ? sum / weight : 0;
    };
    EXPECT_GT(light(21), light(10) + 15) << "link " << link;
    EXPECT_LT(area(0), area(5)) << "link " << link;
    EXPECT_LT(area(5), area(10) + 40) << "link " << link;
  }
}

TEST(Images, ScreenSizedPicturesFitTheirPlaces) {
  auto size = [](const std::string& id) {
    const Picture& p = All().at(id).picture;
    return std::make_pair(p.width, p.height);
  };
  EXPECT_EQ(size("IMAGE_SPLASH_BKG"), std::make_pair(640, 480));
  EXPECT_EQ(size("IMAGE_GAME_BKG"), std::make_pair(470, 480));
  EXPECT_EQ(size("IMAGE_MENU_BKG"), std::make_pair(470, 480));
  EXPECT_EQ(size("IMAGE_PANEL"), std::make_pair(170, 480));
  EXPECT_EQ(size("IMAGE_CELL"), std::make_pair(45, 45));
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

TEST(Images, JpegsWithAlphaHaveAMaskOfTheSameSize) {
  for (const auto& [id, l] : All()) {
    if (l.file.substr(l.file.size() - 4) != ".jpg") continue;
    const size_t slash = l.decl.path.rfind('/');
    const auto mask = l.decl.attributes.count("alphaimage")
                          ? ImageFile("images/" + l.decl.attributes.at("alphaimage"))
                          : ImageFile(l.decl.path.substr(0, slash + 1) + "_" + l.decl.path.substr(slash + 1));
    if (!mask) continue;  // an opaque JPEG
    const auto pic = ReadPicture(*mask);
    ASSERT_TRUE(pic) << id;
    EXPECT_EQ(std::make_pair(pic->width, pic->height), std::make_pair(l.picture.width, l.picture.height)) << id;
  }
}

}  // namespace
}  // namespace ArtTest
