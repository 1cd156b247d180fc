// The blend formulas of memory images on pixels worked out by hand.

#include <gtest/gtest.h>

#include <vector>

#include "framework/graphics/Blend.h"
#include "framework/graphics/MemoryImage.h"

namespace {

using namespace Zing;

MemoryImage Solid(int w, int h, std::uint32_t pixel) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h, pixel);
  MemoryImage image;
  image.SetBits(pixels.data(), w, h);
  return image;
}

MemoryImage Row(const std::vector<std::uint32_t>& pixels) {
  MemoryImage image;
  image.SetBits(pixels.data(), static_cast<int>(pixels.size()), 1);
  return image;
}

TEST(BlendFormula, ExactDivisionBy255) {
  for (std::uint32_t x = 0; x <= 255 * 255 + 255; ++x) ASSERT_EQ(x / 255, Blend::Div255(x)) << x;
}

TEST(BlendFormula, FillOverTransparentTakesTheColourAtItsAlpha) {
  MemoryImage image = Solid(2, 1, 0x00000000);
  image.FillRect(Rect(0, 0, 2, 1), Color(255, 0, 0, 128), 0);
  // newA = 0 + 255 * 128 / 255 = 128; f = 128 * 255 / 128 = 255;
  // red = (0 * 1 + 255 * 255) >> 8 = 254.
  EXPECT_EQ(0x80FE0000u, image.GetPixel(0, 0));
  EXPECT_EQ(0x80FE0000u, image.GetPixel(1, 0));
}

TEST(BlendFormula, FillOverOpaqueAndHalfTransparent) {
  MemoryImage image = Row({0xFF204060, 0x40204060});
  image.FillRect(Rect(0, 0, 2, 1), Color(200, 100, 0, 64), 0);
  // Opaque: newA 255, f = 64; red = (32 * 192 + 200 * 64) >> 8 = 74,
  // green = (64 * 192 + 100 * 64) >> 8 = 73, blue = (96 * 192) >> 8 = 72.
  EXPECT_EQ(0xFF4A4948u, image.GetPixel(0, 0));
  // dA 64: newA = 64 + 191 * 64 / 255 = 111; f = 64 * 255 / 111 = 147;
  // red = (32 * 109 + 200 * 147) >> 8 = 128, green = (64 * 109 + 100 * 147) >> 8 = 84,
  // blue = (96 * 109) >> 8 = 40.
  EXPECT_EQ(0x6F805428u, image.GetPixel(1, 0));
}

TEST(BlendFormula, FillWithFullAlphaReplacesPixelsAndAlpha) {
  MemoryImage image = Row({0x00000000, 0x80FFFFFF});
  image.FillRect(Rect(0, 0, 2, 1), Color(1, 2, 3, 255), 0);
  EXPECT_EQ(0xFF010203u, image.GetPixel(0, 0));
  EXPECT_EQ(0xFF010203u, image.GetPixel(1, 0));
}

TEST(BlendFormula, FillWithAlphaZeroOrOutsideChangesNothing) {
  MemoryImage image = Row({0x12345678, 0x00ABCDEF});
  const int count = image.GetBitsChangedCount();
  image.FillRect(Rect(0, 0, 2, 1), Color(255, 255, 255, 0), 0);
  image.FillRect(Rect(0, 0, 2, 1), Color(255, 255, 255, 0), 1);
  image.FillRect(Rect(5, 0, 2, 1), Color::White, 0);
  EXPECT_EQ(0x12345678u, image.GetPixel(0, 0));
  EXPECT_EQ(0x00ABCDEFu, image.GetPixel(1, 0));
  EXPECT_EQ(count, image.GetBitsChangedCount());
}

TEST(BlendFormula, OpaqueDestinationCopiesSkipsAndMixesRuns) {
  MemoryImage dest = Solid(6, 1, 0xFF102030);
  dest.SetImageMode(false, false);
  MemoryImage src = Row({0x00FFFFFF, 0x00FFFFFF, 0xFF0A0B0C, 0xFF0A0B0C, 0x80C86432, 0x00FFFFFF});
  dest.Blt(&src, 0, 0, Rect(0, 0, 6, 1), Color::White, 0);
  EXPECT_EQ(0xFF102030u, dest.GetPixel(0, 0));  // skipped
  EXPECT_EQ(0xFF102030u, dest.GetPixel(1, 0));
  EXPECT_EQ(0xFF0A0B0Cu, dest.GetPixel(2, 0));  // copied
  EXPECT_EQ(0xFF0A0B0Cu, dest.GetPixel(3, 0));
  // a = 128: red = (16 * 128 >> 8) + (200 * 128 >> 8) = 8 + 100, green = 16 + 50, blue = 24 + 25.
  EXPECT_EQ(0xFF6C4231u, dest.GetPixel(4, 0));
  EXPECT_EQ(0xFF102030u, dest.GetPixel(5, 0));
}

TEST(BlendFormula, WhiteOntoTransparentDestinationUsesTheAlphaFormula) {
  MemoryImage dest = Solid(2, 1, 0x00000000);
  MemoryImage src = Row({0xFFFFFFFF, 0x80C86432});
  dest.Blt(&src, 0, 0, Rect(0, 0, 2, 1), Color::White, 0);
  // Alpha 255 over alpha 0: newA 255, f 255, red = (255 * 255) >> 8 = 254.
  EXPECT_EQ(0xFFFEFEFEu, dest.GetPixel(0, 0));
  // a = 128 over 0: newA 128, f 255: red = 200 * 255 >> 8 = 199, 100 -> 99, 50 -> 49.
  EXPECT_EQ(0x80C76331u, dest.GetPixel(1, 0));
}

TEST(BlendFormula, GreyColourScalesEveryChannelAlike) {
  MemoryImage dest = Solid(1, 1, 0xFF0A141E);
  dest.SetImageMode(false, false);
  MemoryImage src = Row({0xFFC86432});
  dest.Blt(&src, 0, 0, Rect(0, 0, 1, 1), Color(128, 128, 128, 255), 0);
  // f = 255: red = ((200 * 128 >> 8) * 255 >> 8) + (10 * 1 >> 8) = 99, green 49, blue 24.
  EXPECT_EQ(0xFF633118u, dest.GetPixel(0, 0));
  // A faint grey rounds as grey: ((100 * 3 >> 8) * 255) >> 8 = 0, where each
  // channel on its own would give 100 * 255 * 3 >> 16 = 1.
  MemoryImage dark = Solid(1, 1, 0xFF000000);
  dark.SetImageMode(false, false);
  MemoryImage faint = Row({0xFF646464});
  dark.Blt(&faint, 0, 0, Rect(0, 0, 1, 1), Color(3, 3, 3, 255), 0);
  EXPECT_EQ(0xFF000000u, dark.GetPixel(0, 0));
}

TEST(BlendFormula, NonGreyColourScalesEachChannel) {
  MemoryImage dest = Solid(1, 1, 0xFF0A141E);
  dest.SetImageMode(false, false);
  MemoryImage src = Row({0xFFC86432});
  dest.Blt(&src, 0, 0, Rect(0, 0, 1, 1), Color(255, 128, 0, 255), 0);
  // red = 200 * 255 * 255 >> 16 = 198, green = 100 * 255 * 128 >> 16 = 49, blue 0.
  EXPECT_EQ(0xFFC63100u, dest.GetPixel(0, 0));
}

TEST(BlendFormula, ColourAlphaScalesTheSourceAlpha) {
  MemoryImage dest = Solid(1, 1, 0xFF000000);
  dest.SetImageMode(false, false);
  MemoryImage src = Row({0xFFFFFFFF});
  dest.Blt(&src, 0, 0, Rect(0, 0, 1, 1), Color(255, 255, 255, 128), 0);
  // Grey k = 255, a = 128, f = 128: channel = ((255 * 255 >> 8) * 128) >> 8 = 127.
  EXPECT_EQ(0xFF7F7F7Fu, dest.GetPixel(0, 0));
}

TEST(BlendFormula, ColourWithAlphaZeroChangesNothing) {
  MemoryImage dest = Solid(2, 2, 0x40506070);
  MemoryImage src = Solid(2, 2, 0xFFFFFFFF);
  for (int mode = 0; mode < 2; ++mode) {
    dest.Blt(&src, 0, 0, Rect(0, 0, 2, 2), Color(255, 255, 255, 0), mode);
    dest.Blt(&src, 0, 0, Rect(0, 0, 2, 2), Color(10, 200, 30, 0), mode);
  }
  EXPECT_EQ(0x40506070u, dest.GetPixel(1, 1));
}

TEST(BlendFormula, AdditiveSaturatesAndKeepsDestinationAlpha) {
  MemoryImage dest = Row({0x80C8C8C8, 0xFF102030});
  MemoryImage src = Row({0xFFFFFFFF, 0xFF102030});
  dest.Blt(&src, 0, 0, Rect(0, 0, 2, 1), Color::White, 1);
  EXPECT_EQ(0x80FFFFFFu, dest.GetPixel(0, 0));
  EXPECT_EQ(0xFF204060u, dest.GetPixel(1, 0));
}

TEST(BlendFormula, AdditiveWithColourAndSourceAlpha) {
  MemoryImage dest = Row({0xFF000000, 0xFF000000});
  MemoryImage src = Row({0x80C86432, 0xFFC86432});  // partial alpha: amounts are scaled by it
  dest.Blt(&src, 0, 0, Rect(0, 0, 2, 1), Color(255, 128, 0, 128), 1);
  // k = (128, 64, 0); red: (200 * 128 >> 8) = 100, then 100 * 128 >> 8 = 50; green: 100 * 64 >> 8 = 25,
  // 25 * 128 >> 8 = 12. Second pixel alpha 255: 100 * 255 >> 8 = 99, 25 * 255 >> 8 = 24.
  EXPECT_EQ(0xFF320C00u, dest.GetPixel(0, 0));
  EXPECT_EQ(0xFF631800u, dest.GetPixel(1, 0));
}

TEST(BlendFormula, AdditiveTransparentPixelsAddNothing) {
  // A source with only fully transparent and opaque pixels: the colour bytes
  // behind alpha 0 must not show.
  MemoryImage dest = Row({0xFF101010, 0xFF101010});
  MemoryImage src = Row({0x00FFFFFF, 0xFF010203});
  dest.Blt(&src, 0, 0, Rect(0, 0, 2, 1), Color::White, 1);
  EXPECT_EQ(0xFF101010u, dest.GetPixel(0, 0));
  EXPECT_EQ(0xFF111213u, dest.GetPixel(1, 0));
}

TEST(BlendFormula, PalletisedSourceBlendsLikeItsPixels) {
  MemoryImage plain = Row({0x00FFFFFF, 0xFF0A0B0C, 0x80C86432});
  MemoryImage palletised(plain);
  ASSERT_TRUE(palletised.Palletize());
  for (int mode = 0; mode < 2; ++mode) {
    MemoryImage a = Solid(3, 1, 0xFF405060), b = Solid(3, 1, 0xFF405060);
    a.SetImageMode(false, false);
    b.SetImageMode(false, false);
    a.Blt(&plain, 0, 0, Rect(0, 0, 3, 1), Color(90, 180, 255, 200), mode);
    b.Blt(&palletised, 0, 0, Rect(0, 0, 3, 1), Color(90, 180, 255, 200), mode);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(a.GetPixel(x, 0), b.GetPixel(x, 0));
  }
  EXPECT_TRUE(palletised.IsPalletized());  // drawing from it keeps its form
}

TEST(BlendFormula, BlitsFromOtherImagesDrawNothing) {
  MemoryImage dest = Solid(2, 2, 0xFF000000);
  Image notMemory;
  notMemory.width = 2;
  notMemory.height = 2;
  dest.Blt(&notMemory, 0, 0, Rect(0, 0, 2, 2), Color::White, 0);
  EXPECT_EQ(0xFF000000u, dest.GetPixel(0, 0));
}

TEST(BlendFormula, LinesVerticalHorizontalAndSloped) {
  MemoryImage image = Solid(8, 8, 0xFF000000);
  image.DrawLine(2, 6, 2, 1, Color(255, 0, 0, 255), 1);  // vertical: a fill even in additive mode
  for (int y = 1; y <= 6; ++y) EXPECT_EQ(0xFFFF0000u, image.GetPixel(2, y)) << y;
  EXPECT_EQ(0xFF000000u, image.GetPixel(2, 0));
  EXPECT_EQ(0xFF000000u, image.GetPixel(2, 7));
  image.DrawLine(7, 0, 4, 0, Color(0, 255, 0, 255), 0);
  for (int x = 4; x <= 7; ++x) EXPECT_EQ(0xFF00FF00u, image.GetPixel(x, 0));
  image.DrawLine(0, 0, 7, 7, Color(0, 0, 255, 255), 0);
  for (int i = 1; i < 8; ++i) EXPECT_EQ(0xFF0000FFu, image.GetPixel(i, i)) << i;
  image.DrawLine(0, 7, 3, 4, Color(0, 0, 100, 255), 1);  // additive sloped line
  EXPECT_EQ(0xFF000064u, image.GetPixel(0, 7));
  EXPECT_EQ(0xFF000064u, image.GetPixel(3, 4));
  image.DrawLine(-5, 3, 20, 9, Color::White, 0);     // partly outside: clipped
  image.DrawLine(-1e8, 5, 1e8, 6, Color::White, 0);  // only the part on the image is stepped
  image.DrawLine(0, 1, 3, 2, Color::White, 2);       // unknown mode: nothing
  EXPECT_EQ(0xFF000000u, image.GetPixel(0, 1));
  EXPECT_TRUE(image.IsGuardIntact());
}

}  // namespace
