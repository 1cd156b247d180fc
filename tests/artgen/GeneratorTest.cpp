// The generator itself: two runs write the same bytes, the GIF writer's files
// read back pixel for pixel, and the link colours stay apart for every vision.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "framework/graphics/ImageLib.h"
#include "tests/artgen/DataFiles.h"
#include "tests/support/TempFolder.h"
#include "tools/artgen/ImageFiles.h"
#include "tools/artgen/Palette.h"

namespace ArtTest {
namespace {

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

}  // namespace
}  // namespace ArtTest
