// Memory images: their pixel forms, the caches derived from them, the rules
// that say when the flags and caches are brought up to date, the geometric
// blits, and the blend formulas on pixels worked out by hand.

#include <gtest/gtest.h>

#include <numbers>
#include <tuple>

#include "framework/graphics/Blend.h"
#include "tests/graphics/Pixels.h"

namespace {

using namespace Zing;
using Row = std::vector<std::uint32_t>;
using ZingTest::FromPixels;
using ZingTest::Pixels;
using ZingTest::Solid;

Row DistinctColours(int count) {
  Row pixels;
  for (int i = 0; i < count; ++i) pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(i * 977));
  return pixels;
}

std::vector<int> Runs(const std::uint8_t* runs, int n) { return {runs, runs + n}; }

TEST(MemoryImage, CreateMakesZeroedPixelsOnDemandAndRefusesNonsense) {
  MemoryImage image;
  image.Create(3, 2);
  EXPECT_EQ(3, image.width);
  EXPECT_EQ(std::tuple(false, true, true), std::tuple(image.HasBits(), image.HasTransparency(), image.HasAlpha()));
  EXPECT_EQ((Row{0, 0, 0, 0, 0, 0, MemoryImage::kGuardWord}), Row(image.GetBits(), image.GetBits() + 7));
  for (const auto& [w, h] : {std::pair{-4, 5}, std::pair{1 << 20, 1 << 20}}) {
    image.Create(w, h);
    EXPECT_EQ(0, image.width + image.height);
  }
}

TEST(MemoryImage, SetBitsCommitsFlagsAndCountsChanges) {
  MemoryImage image;
  const int before = image.GetBitsChangedCount();
  const Row pixels = {0xFF000000, 0x80FFFFFF, 0x00000000, 0xFF123456};
  image.SetBits(pixels.data(), 2, 2, false);
  EXPECT_EQ(before + 1, image.GetBitsChangedCount());
  EXPECT_TRUE(image.AreBitsChanged());
  image.CommitBits();
  EXPECT_EQ(std::tuple(false, true, true),
            std::tuple(image.AreBitsChanged(), image.HasTransparency(), image.HasAlpha()));
  EXPECT_EQ(0x80FFFFFFu, image.GetPixel(1, 0));
  EXPECT_EQ(0u, image.GetPixel(2, 0));   // outside
  image.SetBits(image.GetBits(), 1, 2);  // a smaller size from its own first pixels
  EXPECT_EQ(0x80FFFFFFu, image.GetPixel(0, 1));
  EXPECT_TRUE(image.IsGuardIntact());

  MemoryImage opaque = FromPixels({0xFF000000, 0xFFFFFFFF});
  EXPECT_EQ(std::pair(false, false), std::pair(opaque.HasTransparency(), opaque.HasAlpha()));
  opaque.SetBits(nullptr, 5, 5);
  EXPECT_EQ(0, opaque.width);
  MemoryImage empty;
  empty.BitsChanged();
  empty.CommitBits();
  EXPECT_EQ(std::pair(true, false), std::pair(empty.HasTransparency(), empty.HasAlpha()));  // no pixels: transparent

  MemoryImage forced = FromPixels({0x00000000, 0x80000000});
  forced.SetImageMode(false, false);
  forced.BitsChanged();
  forced.CommitBits();
  EXPECT_EQ(std::tuple(false, false, true),
            std::tuple(forced.HasTransparency(), forced.HasAlpha(), forced.IsForcedMode()));
}

TEST(MemoryImage, PalettesHoldAtMost256ColoursAndGiveBackThePixels) {
  const Row colours = DistinctColours(256);
  Row twice = colours;  // every colour is met again after all were seen
  twice.insert(twice.end(), colours.begin(), colours.end());
  MemoryImage image = FromPixels(twice, 16, 32);
  ASSERT_TRUE(image.Palletize());
  EXPECT_EQ(std::tuple(true, false, true), std::tuple(image.IsPalletized(), image.HasBits(), image.WantsPalette()));
  EXPECT_EQ(256, image.GetNumColors());
  EXPECT_EQ(colours[200], image.GetPixel(8, 12));
  EXPECT_TRUE(image.Palletize());  // already palletised

  Row more = DistinctColours(257);
  more.resize(17 * 16, more[0]);
  MemoryImage many = FromPixels(more, 17, 16);
  EXPECT_FALSE(many.Palletize());
  EXPECT_EQ(std::tuple(false, true, false), std::tuple(many.IsPalletized(), many.HasBits(), many.WantsPalette()));
  EXPECT_EQ(more[256], many.GetPixel(256 % 17, 256 / 17));

  const Row pixels = {0x00000000, 0xFF000000, 0xFF000000, 0x80000000};
  MemoryImage loaded;  // as a loaded picture: palettised before it is committed, so committed from the table
  loaded.SetBits(pixels.data(), 3, 1, false);
  ASSERT_TRUE(loaded.Palletize());
  EXPECT_EQ(std::pair(true, false), std::pair(loaded.HasTransparency(), loaded.HasAlpha()));
  MemoryImage small = FromPixels(pixels);
  ASSERT_TRUE(small.Palletize());
  EXPECT_EQ((std::vector<int>{1, 2, 1, 1}), Runs(small.GetRLAlphaData(), 4));
  small.PurgeBits();  // the palette holds the pixels: nothing to drop
  EXPECT_TRUE(small.IsPalletized());
  small.GetBits();
  small.ReInit();  // wants its palette back, and purges again
  EXPECT_TRUE(small.IsPalletized());
  EXPECT_EQ(0x80000000u, small.GetPixel(3, 0));
  small.GetNativeAlphaData(nullptr);
  EXPECT_EQ(pixels, Pixels(small));
  EXPECT_EQ(std::pair(false, false), std::pair(small.IsPalletized(), small.HasNativeAlphaData()));
  EXPECT_TRUE(small.IsGuardIntact());
}

class SixteenBitDisplay : public ImageDisplay {
 public:
  PixelFormat GetNativeFormat() const override { return PixelFormat{0xF800, 0x07E0, 0x001F}; }
};

TEST(MemoryImage, NativeDataIsPremultipliedInTheDisplayFormatAndDroppedOnChanges) {
  MemoryImage image = FromPixels({0x80C86432, 0xFFFFFFFF, 0x00FFFFFF});
  const std::uint32_t* native = image.GetNativeAlphaData(nullptr);
  // 200 * 129 >> 8 = 100, 100 * 129 >> 8 = 50, 50 * 129 >> 8 = 25.
  EXPECT_EQ((Row{0x80643219u, 0xFFFFFFFFu, 0}), Row(native, native + 3));
  image.PurgeBits();
  EXPECT_EQ(std::pair(false, true), std::pair(image.HasBits(), image.WillPurgeBits()));
  // Back: 100 * 256 / 129 = 198, 50 * 256 / 129 = 99, 25 * 256 / 129 = 49.
  EXPECT_EQ((Row{0x80C66331u, 0xFFFFFFFFu, 0}), Pixels(image));

  MemoryImage blue = FromPixels({0xFFFFFFFF, 0xFF0000FF});
  SixteenBitDisplay display;
  native = blue.GetNativeAlphaData(&display);
  EXPECT_EQ((Row{0xFF00FFFFu, 0xFF00001Fu}), Row(native, native + 2));
  EXPECT_EQ(0xFFFFFFFFu, blue.GetNativeAlphaData(nullptr)[0]);  // rebuilt for another format

  MemoryImage changed = FromPixels({0xFF000000, 0x00000000});
  changed.GetNativeAlphaData(nullptr);
  changed.GetRLAlphaData();
  changed.FillRect(Rect(0, 0, 1, 1), Color(1, 2, 3, 255), 0);
  EXPECT_FALSE(changed.HasNativeAlphaData());
  EXPECT_EQ(2, changed.GetRLAlphaData()[1] + changed.GetRLAlphaData()[0]);
  changed.GetNativeAlphaData(nullptr);
  changed.DeleteSWBuffers();
  EXPECT_EQ(std::pair(true, false), std::pair(changed.HasBits(), changed.HasNativeAlphaData()));
}

TEST(MemoryImage, RunLengthsCountEachAlphaClassRightwardsUpTo255) {
  MemoryImage image =
      FromPixels({0x00000000, 0x00FFFFFF, 0xFF000000, 0xFF123456, 0xFFFFFFFF, 0x80000000, 0x01000000,
                  0x00000000,  // the second row starts fresh
                  0xFF000000, 0xFF000000, 0x00000000, 0x00000000, 0xFE000000, 0xFE000000, 0x00000000, 0xFF000000},
                 8, 2);
  EXPECT_EQ((std::vector<int>{2, 1, 3, 2, 1, 2, 1, 1, 2, 1, 2, 1, 2, 1, 1, 1}), Runs(image.GetRLAlphaData(), 16));
  // Adds nothing: alpha 0 or black.
  EXPECT_EQ((std::vector<int>{3, 2, 1, 2, 1, 3, 2, 1}), Runs(image.GetRLAdditiveData(nullptr), 8));

  MemoryImage wide = Solid(300, 1, 0xFF000000);
  const std::uint8_t* runs = wide.GetRLAlphaData();
  EXPECT_EQ((std::vector<int>{255, 255, 254, 1}), (std::vector<int>{runs[0], runs[45], runs[46], runs[299]}));
  MemoryImage dest = Solid(300, 1, 0xFF010101);
  dest.Blt(&wide, 0, 0, Rect(0, 0, 300, 1), Color::White, 0);  // a blit through runs of 255 copies every pixel
  EXPECT_EQ(Row(300, 0xFF000000), Pixels(dest));
}

TEST(MemoryImage, ClearingAndBlittingOntoItself) {
  MemoryImage image = Solid(3, 3, 0xFFABCDEF);
  image.ClearRect(Rect(1, 1, 5, 5));
  EXPECT_EQ((Row{0xFFABCDEF, 0xFFABCDEF, 0xFFABCDEF, 0xFFABCDEF, 0, 0, 0xFFABCDEF, 0, 0}), Pixels(image));
  image.Clear();
  EXPECT_EQ(Row(9, 0), Pixels(image));

  MemoryImage row = FromPixels({0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004});
  row.Blt(&row, 1, 0, Rect(0, 0, 3, 1), Color::White, 0);  // reads the old pixels
  EXPECT_EQ((Row{0xFF000001, 0xFF000001, 0xFF000002, 0xFF000003}), Pixels(row));
}

TEST(MemoryImage, MirrorAndStretch) {
  MemoryImage src = FromPixels({0xFF000001, 0xFF000002, 0xFF000003});
  MemoryImage dest = Solid(6, 2, 0xFF000000);
  dest.BltMirror(&src, 1, 0, Rect(0, 0, 3, 1), Color::White, 0);
  dest.StretchBlt(&src, Rect(0, 1, 6, 1), Rect(0, 0, 3, 1), Rect(0, 0, 6, 2), Color::White, 0, true);
  // A source rectangle outside the source draws nothing.
  dest.StretchBlt(&src, Rect(0, 0, 6, 2), Rect(1, 0, 3, 1), Rect(0, 0, 6, 2), Color::White, 0, true);
  EXPECT_EQ((Row{0xFF000000, 0xFF000003, 0xFF000002, 0xFF000001, 0xFF000000, 0xFF000000, 0xFF000001, 0xFF000001,
                 0xFF000002, 0xFF000002, 0xFF000003, 0xFF000003}),
            Pixels(dest));

  // Smooth stretching at one to one is a copy.
  MemoryImage square = FromPixels({0xFF000000, 0xFF0000FF, 0x00FF0000, 0xFF00FF00}, 2, 2);
  MemoryImage smooth = Solid(2, 2, 0), copy = Solid(2, 2, 0);
  smooth.StretchBlt(&square, Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Color::White, 0, false);
  copy.Blt(&square, 0, 0, Rect(0, 0, 2, 2), Color::White, 0);
  EXPECT_EQ(Pixels(copy), Pixels(smooth));
  // Stretched to 4 wide: between black and blue is partly blue; the
  // transparent red pixel does not tint its green neighbour.
  MemoryImage wide = Solid(4, 2, 0xFF000000);
  wide.SetImageMode(false, false);
  wide.StretchBlt(&square, Rect(0, 0, 4, 2), Rect(0, 0, 2, 2), Rect(0, 0, 4, 2), Color::White, 0, false);
  EXPECT_TRUE((wide.GetPixel(1, 0) & 0xFF) > 0 && (wide.GetPixel(1, 0) & 0xFF) < 255);
  EXPECT_EQ(0u, (wide.GetPixel(2, 1) >> 16) & 0xFF);
  EXPECT_GT((wide.GetPixel(2, 1) >> 8) & 0xFF, 100u);
}

TEST(MemoryImage, RotationFloatBlitsAndScanLines) {
  MemoryImage src = FromPixels({0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004}, 2, 2);
  MemoryImage dest = Solid(4, 4, 0xFF000000);
  Matrix3 m;
  m.m[0][0] = -1;
  m.m[1][1] = -1;
  dest.BltMatrix(&src, 2, 2, m, Rect(0, 0, 4, 4), Color::White, 0, Rect(0, 0, 2, 2), false);
  EXPECT_EQ(std::tuple(0xFF000004u, 0xFF000001u, 0xFF000000u),
            std::tuple(dest.GetPixel(1, 1), dest.GetPixel(2, 2), dest.GetPixel(0, 0)));
  MemoryImage turned = Solid(4, 4, 0xFF000000);
  turned.BltRotated(&src, 1, 1, Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), Color::White, 0, std::numbers::pi, 1, 1);
  EXPECT_EQ(std::pair(0xFF000004u, 0xFF000001u), std::pair(turned.GetPixel(1, 1), turned.GetPixel(2, 2)));
  EXPECT_TRUE(turned.IsGuardIntact());

  MemoryImage blue = Solid(2, 2, 0xFF0000FF);
  MemoryImage canvas = Solid(5, 5, 0xFF000000);
  canvas.BltF(&blue, 1.6f, 0.4f, Rect(0, 0, 2, 2), Rect(0, 0, 3, 5), Color::White, 0);  // rounds, clipped at x 3
  const Span spans[2] = {{4, 3, 5}, {9, 0, 5}};  // the second lies below the image
  canvas.FillScanLines(spans, 2, Color(0, 255, 0, 255), 0);
  const std::uint32_t k = 0xFF000000, b = 0xFF0000FF, g = 0xFF00FF00;
  EXPECT_EQ((Row{k, k, b, k, k, k, k, b, k, k, k, k, k, k, k, k, k, k, k, k, k, k, k, g, g}), Pixels(canvas));

  MemoryImage covered = Solid(4, 1, 0xFF000000);
  const std::uint8_t coverage[4] = {0, 255, 128, 255};
  const Span span{0, -2, 10};
  covered.FillScanLinesWithCoverage(&span, 1, Color(255, 0, 0, 255), 0, coverage, 0, 0, 4, 1);
  // Alpha 128: red = 255 * 128 >> 8 = 127.
  EXPECT_EQ((Row{0xFF000000, 0xFFFF0000, 0xFF7F0000, 0xFFFF0000}), Pixels(covered));
}

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
  image.DrawLine(0, 7, 3, 4, Color(0, 0, 101, 255), 1);  // additive sloped line (odd: every bit counts)
  EXPECT_EQ(0xFF000065u, image.GetPixel(0, 7));
  EXPECT_EQ(0xFF000065u, image.GetPixel(3, 4));
  image.DrawLine(-5, 3, 20, 9, Color::White, 0);     // partly outside: clipped
  image.DrawLine(-1e8, 5, 1e8, 6, Color::White, 0);  // only the part on the image is stepped
  image.DrawLine(0, 1, 3, 2, Color::White, 2);       // unknown mode: nothing
  EXPECT_EQ(0xFF000000u, image.GetPixel(0, 1));
  EXPECT_TRUE(image.IsGuardIntact());
}

}  // namespace
