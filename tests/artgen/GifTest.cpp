// The GIF writer: what it writes, the game's loader reads back pixel for
// pixel, from one pixel to noise that fills the code table; the palette
// keeps at most 256 colours.
#include <gtest/gtest.h>

#include <random>

#include "framework/graphics/ImageLib.h"
#include "tests/support/TempFolder.h"
#include "tools/artgen/ImageFiles.h"

namespace ArtTest {
namespace {

TEST(Gif, TheGamesLoaderReadsBackEveryPixel) {
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

TEST(Gif, PaletteKeepsAtMost256Colours) {
  std::vector<uint32_t> pixels;
  for (uint32_t i = 0; i < 70000; ++i) pixels.push_back(0xFF000000u | (i * 2654435761u & 0xFFFFFF));
  EXPECT_LE(artgen::MedianCutPalette(pixels, 256).size(), 256u);
  const std::vector<uint32_t> few = {0xFF102030, 0xFF102030, 0xFFFFFFFF};
  EXPECT_EQ(artgen::MedianCutPalette(few, 256), (std::vector<uint32_t>{0x102030, 0xFFFFFF}));
}

}  // namespace
}  // namespace ArtTest
