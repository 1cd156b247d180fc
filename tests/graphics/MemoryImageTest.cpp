// Memory images: their pixel forms, the caches derived from them, and the
// rules that say when the flags and caches are brought up to date.

#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "framework/graphics/MemoryImage.h"

namespace {

using namespace Zing;

MemoryImage FromPixels(const std::vector<std::uint32_t>& pixels, int w, int h) {
  MemoryImage image;
  image.SetBits(pixels.data(), w, h);
  return image;
}

std::vector<std::uint32_t> DistinctColours(int count) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < count; ++i) pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(i * 977));
  return pixels;
}

TEST(MemoryImage, CreateMakesZeroedPixelsOnDemandAndMarksTransparency) {
  MemoryImage image;
  image.Create(3, 2);
  EXPECT_EQ(3, image.width);
  EXPECT_FALSE(image.HasBits());
  EXPECT_TRUE(image.HasTransparency());
  EXPECT_TRUE(image.HasAlpha());
  const std::uint32_t* bits = image.GetBits();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(0u, bits[i]);
  EXPECT_EQ(MemoryImage::kGuardWord, bits[6]);
  image.Create(-4, 5);  // nonsense sizes give an empty image
  EXPECT_EQ(0, image.width);
  EXPECT_EQ(0, image.height);
  image.Create(1 << 20, 1 << 20);
  EXPECT_EQ(0, image.width);
}

TEST(MemoryImage, SetBitsCopiesCommitsAndCountsChanges) {
  const std::vector<std::uint32_t> pixels = {0xFF000000, 0x80FFFFFF, 0x00000000, 0xFF123456};
  MemoryImage image;
  const int before = image.GetBitsChangedCount();
  image.SetBits(pixels.data(), 2, 2, false);
  EXPECT_EQ(before + 1, image.GetBitsChangedCount());
  EXPECT_TRUE(image.AreBitsChanged());
  image.CommitBits();
  EXPECT_FALSE(image.AreBitsChanged());
  EXPECT_TRUE(image.HasTransparency());
  EXPECT_TRUE(image.HasAlpha());
  EXPECT_EQ(0x80FFFFFFu, image.GetPixel(1, 0));
  EXPECT_EQ(0u, image.GetPixel(2, 0));  // outside

  const std::vector<std::uint32_t> opaque = {0xFF000000, 0xFFFFFFFF};
  image.SetBits(opaque.data(), 2, 1);
  EXPECT_FALSE(image.HasTransparency());
  EXPECT_FALSE(image.HasAlpha());
  EXPECT_TRUE(image.IsGuardIntact());
}

TEST(MemoryImage, SetBitsFromItsOwnPixels) {
  const std::vector<std::uint32_t> pixels = {1, 2, 3, 4, 5, 6};
  MemoryImage image = FromPixels(pixels, 3, 2);
  image.SetBits(image.GetBits(), 2, 2);  // a smaller size from its own first pixels
  EXPECT_EQ(2, image.width);
  EXPECT_EQ(4u, image.GetPixel(1, 1));
  EXPECT_TRUE(image.IsGuardIntact());
  image.SetBits(nullptr, 5, 5);
  EXPECT_EQ(0, image.width);
}

TEST(MemoryImage, ForcedModeSurvivesCommits) {
  const std::vector<std::uint32_t> pixels = {0x00000000, 0x80000000};
  MemoryImage image = FromPixels(pixels, 2, 1);
  image.SetImageMode(false, false);
  image.BitsChanged();
  image.CommitBits();
  EXPECT_FALSE(image.HasTransparency());
  EXPECT_FALSE(image.HasAlpha());
  EXPECT_TRUE(image.IsForcedMode());
}

TEST(MemoryImage, ImageWithoutPixelsCountsAsTransparent) {
  MemoryImage image;
  image.BitsChanged();
  image.CommitBits();
  EXPECT_TRUE(image.HasTransparency());
  EXPECT_FALSE(image.HasAlpha());
}

TEST(MemoryImage, Exactly256ColoursPalletise) {
  const auto pixels = DistinctColours(256);
  MemoryImage image = FromPixels(pixels, 16, 16);
  ASSERT_TRUE(image.Palletize());
  EXPECT_TRUE(image.IsPalletized());
  EXPECT_FALSE(image.HasBits());
  EXPECT_TRUE(image.WantsPalette());
  EXPECT_EQ(256, image.GetNumColors());
  EXPECT_EQ(pixels[200], image.GetPixel(8, 12));
  EXPECT_TRUE(image.Palletize());  // already palletised
}

TEST(MemoryImage, MoreThan256ColoursStayAsTheyAre) {
  auto pixels = DistinctColours(257);
  pixels.resize(17 * 16, pixels[0]);
  MemoryImage image = FromPixels(pixels, 17, 16);
  EXPECT_FALSE(image.Palletize());
  EXPECT_FALSE(image.IsPalletized());
  EXPECT_TRUE(image.HasBits());
  EXPECT_FALSE(image.WantsPalette());
  EXPECT_EQ(pixels[256], image.GetPixel(256 % 17, 256 / 17));
}

TEST(MemoryImage, GetBitsRebuildsFromPalette) {
  const std::vector<std::uint32_t> pixels = {0x11223344, 0xFF000000, 0x11223344, 0x00000000};
  MemoryImage image = FromPixels(pixels, 2, 2);
  ASSERT_TRUE(image.Palletize());
  image.GetNativeAlphaData(nullptr);
  const std::uint32_t* bits = image.GetBits();
  EXPECT_FALSE(image.IsPalletized());
  EXPECT_FALSE(image.HasNativeAlphaData());
  EXPECT_EQ(pixels, std::vector<std::uint32_t>(bits, bits + 4));
  EXPECT_TRUE(image.IsGuardIntact());
}

TEST(MemoryImage, NativeDataIsPremultipliedAndRebuildsBits) {
  const std::vector<std::uint32_t> pixels = {0x80C86432, 0xFFFFFFFF, 0x00FFFFFF};
  MemoryImage image = FromPixels(pixels, 3, 1);
  const std::uint32_t* native = image.GetNativeAlphaData(nullptr);
  // 200 * 129 >> 8 = 100, 100 * 129 >> 8 = 50, 50 * 129 >> 8 = 25.
  EXPECT_EQ(0x80643219u, native[0]);
  EXPECT_EQ(0xFFFFFFFFu, native[1]);
  EXPECT_EQ(0x00000000u, native[2]);
  image.PurgeBits();
  EXPECT_FALSE(image.HasBits());
  EXPECT_TRUE(image.WillPurgeBits());
  // Back: 100 * 256 / 129 = 198, 50 * 256 / 129 = 99, 25 * 256 / 129 = 49.
  EXPECT_EQ(0x80C66331u, image.GetPixel(0, 0));
  EXPECT_EQ(0xFFFFFFFFu, image.GetPixel(1, 0));
  EXPECT_EQ(0x00000000u, image.GetPixel(2, 0));
}

class SixteenBitDisplay : public ImageDisplay {
 public:
  PixelFormat GetNativeFormat() const override { return PixelFormat{0xF800, 0x07E0, 0x001F}; }
};

TEST(MemoryImage, NativeDataFollowsTheDisplayFormat) {
  const std::vector<std::uint32_t> pixels = {0xFFFFFFFF, 0xFF0000FF};
  MemoryImage image = FromPixels(pixels, 2, 1);
  SixteenBitDisplay display;
  const std::uint32_t* native = image.GetNativeAlphaData(&display);
  EXPECT_EQ(0xFF00FFFFu, native[0]);
  EXPECT_EQ(0xFF00001Fu, native[1]);
  EXPECT_EQ(0xFFFFFFFFu, image.GetNativeAlphaData(nullptr)[0]);  // rebuilt for another format
}

TEST(MemoryImage, ChangesDropTheDerivedForms) {
  const std::vector<std::uint32_t> pixels = {0xFF000000, 0x00000000};
  MemoryImage image = FromPixels(pixels, 2, 1);
  image.GetNativeAlphaData(nullptr);
  image.GetRLAlphaData();
  EXPECT_TRUE(image.HasNativeAlphaData());
  image.FillRect(Rect(0, 0, 1, 1), Color(1, 2, 3, 255), 0);
  EXPECT_FALSE(image.HasNativeAlphaData());
  EXPECT_EQ(2, image.GetRLAlphaData()[1] + image.GetRLAlphaData()[0]);
  image.DeleteSWBuffers();
  EXPECT_TRUE(image.HasBits());
  EXPECT_FALSE(image.HasNativeAlphaData());
}

TEST(MemoryImage, RunLengthsCountEachAlphaClassRightwards) {
  const std::vector<std::uint32_t> pixels = {
      0x00000000, 0x00FFFFFF, 0xFF000000, 0xFF123456, 0xFFFFFFFF, 0x80000000, 0x01000000, 0x00000000,
      // second row starts fresh
      0xFF000000, 0xFF000000, 0x00000000, 0x00000000, 0xFE000000, 0xFE000000, 0x00000000, 0xFF000000};
  MemoryImage image = FromPixels(pixels, 8, 2);
  const std::uint8_t* runs = image.GetRLAlphaData();
  const std::vector<int> expected = {2, 1, 3, 2, 1, 2, 1, 1, 2, 1, 2, 1, 2, 1, 1, 1};
  EXPECT_EQ(expected, std::vector<int>(runs, runs + 16));
  const std::uint8_t* additive = image.GetRLAdditiveData(nullptr);
  // Adds nothing: alpha 0 or black. The first row is nothing x3, something x2, nothing x3.
  EXPECT_EQ((std::vector<int>{3, 2, 1, 2, 1, 3, 2, 1}), std::vector<int>(additive, additive + 8));
}

TEST(MemoryImage, RunLengthsStopAt255) {
  const std::vector<std::uint32_t> pixels(300, 0xFF000000);
  MemoryImage image = FromPixels(pixels, 300, 1);
  const std::uint8_t* runs = image.GetRLAlphaData();
  EXPECT_EQ(255, runs[0]);
  EXPECT_EQ(255, runs[45]);
  EXPECT_EQ(254, runs[46]);
  EXPECT_EQ(1, runs[299]);
  // A blit through runs of 255 copies every pixel.
  MemoryImage dest;
  const std::vector<std::uint32_t> black(300, 0xFF010101);
  dest.SetBits(black.data(), 300, 1);
  dest.Blt(&image, 0, 0, Rect(0, 0, 300, 1), Color::White, 0);
  for (int x = 0; x < 300; ++x) ASSERT_EQ(0xFF000000u, dest.GetPixel(x, 0)) << x;
}

TEST(MemoryImage, PalletisedRunLengthsAndPurging) {
  const std::vector<std::uint32_t> pixels = {0x00000000, 0xFF000000, 0xFF000000, 0x80000000};
  MemoryImage image = FromPixels(pixels, 4, 1);
  ASSERT_TRUE(image.Palletize());
  const std::uint8_t* runs = image.GetRLAlphaData();
  EXPECT_EQ((std::vector<int>{1, 2, 1, 1}), std::vector<int>(runs, runs + 4));
  image.PurgeBits();  // the palette holds the pixels: nothing to drop
  EXPECT_TRUE(image.IsPalletized());
  image.GetBits();
  image.ReInit();  // wants its palette back, and purges again
  EXPECT_TRUE(image.IsPalletized());
  EXPECT_EQ(0x80000000u, image.GetPixel(3, 0));
}

TEST(MemoryImage, ClearAndClearRect) {
  const std::vector<std::uint32_t> pixels(9, 0xFFABCDEF);
  MemoryImage image = FromPixels(pixels, 3, 3);
  image.ClearRect(Rect(1, 1, 5, 5));
  EXPECT_EQ(0xFFABCDEFu, image.GetPixel(0, 0));
  EXPECT_EQ(0u, image.GetPixel(2, 2));
  EXPECT_EQ(0xFFABCDEFu, image.GetPixel(2, 0));
  image.Clear();
  EXPECT_EQ(0u, image.GetPixel(0, 0));
}

TEST(MemoryImage, BlitOntoItselfReadsTheOldPixels) {
  const std::vector<std::uint32_t> pixels = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004};
  MemoryImage image = FromPixels(pixels, 4, 1);
  image.Blt(&image, 1, 0, Rect(0, 0, 3, 1), Color::White, 0);
  EXPECT_EQ(0xFF000001u, image.GetPixel(1, 0));
  EXPECT_EQ(0xFF000002u, image.GetPixel(2, 0));
  EXPECT_EQ(0xFF000003u, image.GetPixel(3, 0));
}

TEST(MemoryImage, MirrorAndFastStretch) {
  const std::vector<std::uint32_t> pixels = {0xFF000001, 0xFF000002, 0xFF000003};
  MemoryImage src = FromPixels(pixels, 3, 1);
  MemoryImage dest = FromPixels(std::vector<std::uint32_t>(12, 0xFF000000), 6, 2);
  dest.BltMirror(&src, 1, 0, Rect(0, 0, 3, 1), Color::White, 0);
  EXPECT_EQ(0xFF000003u, dest.GetPixel(1, 0));
  EXPECT_EQ(0xFF000001u, dest.GetPixel(3, 0));
  dest.StretchBlt(&src, Rect(0, 1, 6, 1), Rect(0, 0, 3, 1), Rect(0, 0, 6, 2), Color::White, 0, true);
  const std::vector<std::uint32_t> doubled = {1, 1, 2, 2, 3, 3};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(0xFF000000u | doubled[x], dest.GetPixel(x, 1)) << x;
  // A source rectangle outside the source draws nothing.
  dest.StretchBlt(&src, Rect(0, 0, 6, 2), Rect(1, 0, 3, 1), Rect(0, 0, 6, 2), Color::White, 0, true);
  EXPECT_EQ(0xFF000001u, dest.GetPixel(3, 0));
}

TEST(MemoryImage, SmoothStretchAtOneToOneIsACopyAndBlendsBetween) {
  const std::vector<std::uint32_t> pixels = {0xFF000000, 0xFF0000FF, 0x00FF0000, 0xFF00FF00};
  MemoryImage src = FromPixels(pixels, 2, 2);
  MemoryImage dest;
  dest.Create(2, 2);
  dest.StretchBlt(&src, Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Color::White, 0, false);
  MemoryImage copy;
  copy.Create(2, 2);
  copy.Blt(&src, 0, 0, Rect(0, 0, 2, 2), Color::White, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(copy.GetPixel(i % 2, i / 2), dest.GetPixel(i % 2, i / 2)) << i;
  // Stretched to 4 wide: the pixels between black and blue are partly blue.
  MemoryImage wide = FromPixels(std::vector<std::uint32_t>(8, 0xFF000000), 4, 2);
  wide.SetImageMode(false, false);
  wide.StretchBlt(&src, Rect(0, 0, 4, 2), Rect(0, 0, 2, 2), Rect(0, 0, 4, 2), Color::White, 0, false);
  const std::uint32_t middle = wide.GetPixel(1, 0) & 0xFF;
  EXPECT_GT(middle, 0u);
  EXPECT_LT(middle, 255u);
  // The transparent red pixel does not tint its green neighbour.
  EXPECT_EQ(0u, (wide.GetPixel(2, 1) >> 16) & 0xFF);
  EXPECT_GT((wide.GetPixel(2, 1) >> 8) & 0xFF, 100u);
}

TEST(MemoryImage, RotationByHalfTurnTurnsThePicture) {
  const std::vector<std::uint32_t> pixels = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004};
  MemoryImage src = FromPixels(pixels, 2, 2);
  MemoryImage dest = FromPixels(std::vector<std::uint32_t>(16, 0xFF000000), 4, 4);
  Matrix3 m;
  m.m[0][0] = -1;
  m.m[1][1] = -1;
  dest.BltMatrix(&src, 2, 2, m, Rect(0, 0, 4, 4), Color::White, 0, Rect(0, 0, 2, 2), false);
  EXPECT_EQ(0xFF000004u, dest.GetPixel(1, 1));
  EXPECT_EQ(0xFF000001u, dest.GetPixel(2, 2));
  EXPECT_EQ(0xFF000000u, dest.GetPixel(0, 0));
  MemoryImage turned = FromPixels(std::vector<std::uint32_t>(16, 0xFF000000), 4, 4);
  turned.BltRotated(&src, 1, 1, Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), Color::White, 0, std::numbers::pi, 1, 1);
  EXPECT_EQ(0xFF000004u, turned.GetPixel(1, 1));
  EXPECT_EQ(0xFF000001u, turned.GetPixel(2, 2));
  EXPECT_TRUE(turned.IsGuardIntact());
}

TEST(MemoryImage, FloatBlitsRoundAndClip) {
  const std::vector<std::uint32_t> pixels(4, 0xFF0000FF);
  MemoryImage src = FromPixels(pixels, 2, 2);
  MemoryImage dest = FromPixels(std::vector<std::uint32_t>(25, 0xFF000000), 5, 5);
  dest.BltF(&src, 1.6f, 0.4f, Rect(0, 0, 2, 2), Rect(0, 0, 3, 5), Color::White, 0);
  EXPECT_EQ(0xFF0000FFu, dest.GetPixel(2, 0));
  EXPECT_EQ(0xFF0000FFu, dest.GetPixel(2, 1));
  EXPECT_EQ(0xFF000000u, dest.GetPixel(3, 0));  // outside the clip
  EXPECT_EQ(0xFF000000u, dest.GetPixel(1, 0));
  const Span spans[2] = {{4, 3, 5}, {9, 0, 5}};  // the second lies below the image
  dest.FillScanLines(spans, 2, Color(0, 255, 0, 255), 0);
  EXPECT_EQ(0xFF00FF00u, dest.GetPixel(3, 4));
  EXPECT_EQ(0xFF00FF00u, dest.GetPixel(4, 4));
  EXPECT_EQ(0xFF000000u, dest.GetPixel(2, 4));
}

TEST(MemoryImage, CoverageFillScalesAlpha) {
  MemoryImage image = FromPixels(std::vector<std::uint32_t>(4, 0xFF000000), 4, 1);
  const std::uint8_t coverage[4] = {0, 255, 128, 255};
  const Span span{0, -2, 10};
  image.FillScanLinesWithCoverage(&span, 1, Color(255, 0, 0, 255), 0, coverage, 0, 0, 4, 1);
  EXPECT_EQ(0xFF000000u, image.GetPixel(0, 0));
  EXPECT_EQ(0xFFFF0000u, image.GetPixel(1, 0));
  EXPECT_EQ(0xFF7F0000u, image.GetPixel(2, 0));  // alpha 128: red = 255 * 128 >> 8 = 127
}

}  // namespace
