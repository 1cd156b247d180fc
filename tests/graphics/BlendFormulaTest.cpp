// The blend formulas of memory images on pixels worked out by hand.

#include <gtest/gtest.h>

#include "framework/graphics/Blend.h"
#include "tests/graphics/Pixels.h"

namespace {

using namespace Zing;
using Row = std::vector<std::uint32_t>;
using ZingTest::FromPixels;
using ZingTest::Pixels;
using ZingTest::Solid;

TEST(BlendFormula, ExactDivisionBy255) {
  for (std::uint32_t x = 0; x <= 255 * 255 + 255; ++x) ASSERT_EQ(x / 255, Blend::Div255(x)) << x;
}

TEST(BlendFormula, FillsOverEveryDestinationAlpha) {
  struct Case {
    Row dest;
    Color color;
    Row expected;
  };
  const Case cases[] = {
      // Over alpha 0: newA 128, f 255, red (255 * 255) >> 8 = 254.
      {{0x00000000, 0x00000000}, Color(255, 0, 0, 128), {0x80FE0000, 0x80FE0000}},
      // Opaque: f 64, red (32 * 192 + 200 * 64) >> 8 = 74; over alpha 64: newA 111, f 147.
      {{0xFF204060, 0x40204060}, Color(200, 100, 0, 64), {0xFF4A4948, 0x6F805428}},
      {{0x00000000, 0x80FFFFFF}, Color(1, 2, 3, 255), {0xFF010203, 0xFF010203}},  // alpha 255 replaces
  };
  for (const Case& c : cases) {
    MemoryImage image = FromPixels(c.dest);
    image.FillRect(Rect(0, 0, 2, 1), c.color, 0);
    EXPECT_EQ(c.expected, Pixels(image)) << std::hex << c.dest[0];
  }
  MemoryImage image = FromPixels({0x12345678, 0x00ABCDEF});
  const int count = image.GetBitsChangedCount();
  image.FillRect(Rect(0, 0, 2, 1), Color(255, 255, 255, 0), 0);
  image.FillRect(Rect(0, 0, 2, 1), Color(255, 255, 255, 0), 1);
  image.FillRect(Rect(5, 0, 2, 1), Color::White, 0);
  EXPECT_EQ((Row{0x12345678, 0x00ABCDEF}), Pixels(image));
  EXPECT_EQ(count, image.GetBitsChangedCount());
}

TEST(BlendFormula, BlitsByDestinationColourAndMode) {
  struct Case {
    const char* what;
    Row dest;
    bool opaque;  // drawn as onto the opaque screen
    Row src;
    Color color;
    int mode;
    Row expected;
  };
  const Case cases[] = {
      // a = 128: red (16 * 128 >> 8) + (200 * 128 >> 8) = 108.
      {"opaque: skip, copy, mix",
       Row(6, 0xFF102030),
       true,
       {0x00FFFFFF, 0x00FFFFFF, 0xFF0A0B0C, 0xFF0A0B0C, 0x80C86432, 0x00FFFFFF},
       Color::White,
       0,
       {0xFF102030, 0xFF102030, 0xFF0A0B0C, 0xFF0A0B0C, 0xFF6C4231, 0xFF102030}},
      // Alpha 255 over 0: red (255 * 255) >> 8 = 254; a = 128 over 0: f 255, red 199.
      {"onto transparent", {0, 0}, false, {0xFFFFFFFF, 0x80C86432}, Color::White, 0, {0xFFFEFEFE, 0x80C76331}},
      // red = ((200 * 128 >> 8) * 255 >> 8) + (10 * 1 >> 8) = 99.
      {"grey colour", {0xFF0A141E}, true, {0xFFC86432}, Color(128, 128, 128, 255), 0, {0xFF633118}},
      // ((100 * 3 >> 8) * 255) >> 8 = 0, where each channel alone would give 1.
      {"faint grey rounds as grey", {0xFF000000}, true, {0xFF646464}, Color(3, 3, 3, 255), 0, {0xFF000000}},
      // red = 200 * 255 * 255 >> 16 = 198, green = 100 * 255 * 128 >> 16 = 49.
      {"non-grey colour", {0xFF0A141E}, true, {0xFFC86432}, Color(255, 128, 0, 255), 0, {0xFFC63100}},
      // k 255, a 128: ((255 * 255 >> 8) * 128) >> 8 = 127.
      {"colour alpha", {0xFF000000}, true, {0xFFFFFFFF}, Color(255, 255, 255, 128), 0, {0xFF7F7F7F}},
      {"colour alpha 0", {0x40506070}, false, {0xFFFFFFFF}, Color(10, 200, 30, 0), 0, {0x40506070}},
      {"additive colour alpha 0", {0x40506070}, false, {0xFFFFFFFF}, Color(255, 255, 255, 0), 1, {0x40506070}},
      {"additive saturates, keeps alpha",
       {0x80C8C8C8, 0xFF102030},
       false,
       {0xFFFFFFFF, 0xFF102030},
       Color::White,
       1,
       {0x80FFFFFF, 0xFF204060}},
      // k = (128, 64, 0); red 200 * 128 >> 8 = 100, scaled by alpha 128: 50; at 255: 99.
      {"additive colour and source alpha",
       {0xFF000000, 0xFF000000},
       false,
       {0x80C86432, 0xFFC86432},
       Color(255, 128, 0, 128),
       1,
       {0xFF320C00, 0xFF631800}},
      // k = (255, 0, 0): red 200 * 255 >> 8 = 199, nothing else.
      {"additive red only", {0xFF000000}, false, {0xFFC86432}, Color(255, 0, 0, 255), 1, {0xFFC70000}},
      {"additive: colour behind alpha 0 adds nothing",
       {0xFF101010, 0xFF101010},
       false,
       {0x00FFFFFF, 0xFF010203},
       Color::White,
       1,
       {0xFF101010, 0xFF111213}},
  };
  for (const Case& c : cases) {
    MemoryImage dest = FromPixels(c.dest);
    if (c.opaque) dest.SetImageMode(false, false);
    MemoryImage src = FromPixels(c.src);
    dest.Blt(&src, 0, 0, Rect(0, 0, src.width, 1), c.color, c.mode);
    EXPECT_EQ(c.expected, Pixels(dest)) << c.what;
  }
}

TEST(BlendFormula, PalletisedSourceBlendsLikeItsPixelsAndOtherImagesDrawNothing) {
  MemoryImage plain = FromPixels({0x00FFFFFF, 0xFF0A0B0C, 0x80C86432});
  MemoryImage palletised(plain);
  ASSERT_TRUE(palletised.Palletize());
  for (int mode = 0; mode < 2; ++mode) {
    MemoryImage a = Solid(3, 1, 0xFF405060), b = Solid(3, 1, 0xFF405060);
    a.SetImageMode(false, false);
    b.SetImageMode(false, false);
    a.Blt(&plain, 0, 0, Rect(0, 0, 3, 1), Color(90, 180, 255, 200), mode);
    b.Blt(&palletised, 0, 0, Rect(0, 0, 3, 1), Color(90, 180, 255, 200), mode);
    EXPECT_EQ(Pixels(a), Pixels(b));
  }
  EXPECT_TRUE(palletised.IsPalletized());  // drawing from it keeps its form

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
  for (int y = 0; y < 8; ++y) EXPECT_EQ(y >= 1 && y <= 6 ? 0xFFFF0000u : 0xFF000000u, image.GetPixel(2, y)) << y;
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
