// Memory images: their pixel forms, the caches derived from them, the rules
// that say when the flags and caches are brought up to date, the geometric
// blits, and the blend formulas on pixels worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "framework/graphics/Blend.h"
#include "tests/graphics/TestImages.h"

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
  EXPECT_EQ(std::tuple(3, false, true, true),
            std::tuple(image.width, image.HasBits(), image.HasTransparency(), image.HasAlpha()));
  EXPECT_EQ((Row{0, 0, 0, 0, 0, 0, MemoryImage::kGuardWord}), Row(image.GetBits(), image.GetBits() + 7));
  // Up to 2^28 pixels, none allocated yet; an empty or larger size makes an empty image.
  const std::tuple<int, int, bool> sizes[] = {
      {-4, 5, false},           {0, 5, false}, {5, 0, false}, {1 << 14, 1 << 14, true}, {(1 << 14) + 1, 1 << 14, false},
      {1 << 20, 1 << 20, false}};
  for (const auto& [w, h, kept] : sizes) {
    image.Create(w, h);
    EXPECT_EQ(kept ? std::pair(w, h) : std::pair(0, 0), std::pair(image.width, image.height)) << w << "x" << h;
  }
  // Adopted pixels fill a real size exactly, or the image is left empty.
  const std::tuple<int, int, std::size_t> adopted[] = {{2, 3, 6}, {2, 3, 5}, {0, 3, 0}, {3, 0, 0}, {-2, -3, 6}};
  for (const auto& [w, h, count] : adopted) {
    image.AdoptBits(PixelVector(count, 0xFF0000FFu), w, h);
    EXPECT_EQ(w == 2 && count == 6 ? std::tuple(2, 3, 0xFF0000FFu) : std::tuple(0, 0, 0u),
              std::tuple(image.width, image.height, image.GetPixel(1, 2)));
  }
}

TEST(MemoryImage, SetBitsCommitsFlagsAndCountsChanges) {
  MemoryImage image;
  const int before = image.GetBitsChangedCount();
  const Row pixels = {0xFF000000, 0x80FFFFFF, 0x00000000, 0xFF123456};
  image.SetBits(pixels.data(), 2, 2, false);
  EXPECT_EQ(std::pair(before + 1, true), std::pair(image.GetBitsChangedCount(), image.AreBitsChanged()));
  image.CommitBits();
  EXPECT_EQ(std::tuple(false, true, true),
            std::tuple(image.AreBitsChanged(), image.HasTransparency(), image.HasAlpha()));
  EXPECT_EQ(std::pair(0x80FFFFFFu, 0u), std::pair(image.GetPixel(1, 0), image.GetPixel(2, 0)));  // then outside
  image.SetBits(image.GetBits(), 1, 2);  // a smaller size from its own first pixels
  EXPECT_EQ(std::pair(0x80FFFFFFu, true), std::pair(image.GetPixel(0, 1), image.IsGuardIntact()));

  MemoryImage opaque = FromPixels({0xFF000000, 0xFFFFFFFF}), first = FromPixels({0x80000000, 0xFF000000});
  EXPECT_EQ(std::pair(false, false), std::pair(opaque.HasTransparency(), opaque.HasAlpha()));
  EXPECT_EQ(std::pair(false, true), std::pair(first.HasTransparency(), first.HasAlpha()));  // the very first pixel
  EXPECT_EQ(0, (opaque.SetBits(nullptr, 5, 5), opaque.width));
  MemoryImage empty;
  empty.BitsChanged(), empty.CommitBits();
  EXPECT_EQ(std::pair(true, false), std::pair(empty.HasTransparency(), empty.HasAlpha()));  // no pixels: transparent

  MemoryImage forced = FromPixels({0x00000000, 0x80000000});
  forced.SetImageMode(false, false), forced.BitsChanged(), forced.CommitBits();
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
  EXPECT_EQ(std::pair(256, colours[200]), std::pair(image.GetNumColors(), image.GetPixel(8, 12)));
  EXPECT_TRUE(image.Palletize() && MemoryImage(image).IsPalletized() && !image.HasBits());  // copying keeps it

  Row more = DistinctColours(257);
  more.resize(17 * 16, more[0]);
  MemoryImage many = FromPixels(more, 17, 16);
  EXPECT_FALSE(many.Palletize());
  EXPECT_EQ(std::tuple(false, true, false), std::tuple(many.IsPalletized(), many.HasBits(), many.WantsPalette()));
  EXPECT_EQ(more[256], many.GetPixel(256 % 17, 256 / 17));

  const Row pixels = {0x00000000, 0xFF000000, 0xFF000000, 0x80000000};
  for (int first : {0, 1}) {  // as a loaded picture: palettised before it is committed, so committed from the table
    MemoryImage loaded;
    loaded.SetBits(pixels.data() + first, 3 - first, 1, false);  // with a clear pixel, then opaque only
    ASSERT_TRUE(loaded.Palletize());
    EXPECT_EQ(std::pair(first == 0, false), std::pair(loaded.HasTransparency(), loaded.HasAlpha()));
  }
  MemoryImage small = FromPixels(pixels);
  ASSERT_TRUE(small.Palletize());
  EXPECT_EQ((std::vector<int>{1, 2, 1, 1}), Runs(small.GetRLAlphaData(), 4));
  EXPECT_TRUE((small.PurgeBits(), small.IsPalletized()));  // the palette holds the pixels: nothing to drop
  small.GetBits(), small.ReInit();                         // wants its palette back, and purges again
  EXPECT_EQ(std::pair(true, 0x80000000u), std::pair(small.IsPalletized(), small.GetPixel(3, 0)));
  EXPECT_EQ(pixels, (small.GetNativeAlphaData(nullptr), Pixels(small)));
  EXPECT_EQ(std::tuple(false, false, true),
            std::tuple(small.IsPalletized(), small.HasNativeAlphaData(), small.IsGuardIntact()));
}

class SixteenBitDisplay : public ImageDisplay {
 public:
  PixelFormat GetNativeFormat() const override { return format; }
  PixelFormat format{0xF800, 0x07E0, 0x001F};
};

TEST(MemoryImage, NativeDataIsPremultipliedInTheDisplayFormatAndDroppedOnChanges) {
  MemoryImage image = FromPixels({0x80C86432, 0x00FFFFFF, 0xFFFFFFFF});
  const std::uint32_t* native = image.GetNativeAlphaData(nullptr);
  // 200 * 129 >> 8 = 100, 100 * 129 >> 8 = 50, 50 * 129 >> 8 = 25.
  EXPECT_EQ((Row{0x80643219u, 0, 0xFFFFFFFFu}), Row(native, native + 3));
  EXPECT_EQ(std::pair(false, true), (image.PurgeBits(), std::pair(image.HasBits(), image.WillPurgeBits())));
  MemoryImage copy(image);  // of the pixels the native form stands for
  // Back: 100 * 256 / 129 = 198, 50 * 256 / 129 = 99, 25 * 256 / 129 = 49.
  EXPECT_EQ((Row{0x80C66331u, 0, 0xFFFFFFFFu}), Pixels(copy));

  MemoryImage blue = FromPixels({0xFFFFFFFF, 0xFF0000FF});
  SixteenBitDisplay display;
  native = blue.GetNativeAlphaData(&display);
  EXPECT_EQ((Row{0xFF00FFFFu, 0xFF00001Fu}), Row(native, native + 2));
  display.format = {0xF800, 0, 1};  // no green at all, and blue in the lowest bit alone
  native = blue.GetNativeAlphaData(&display);
  EXPECT_EQ((Row{0xFF00F801u, 0xFF000001u}), Row(native, native + 2));
  EXPECT_EQ(0xFFFFFFFFu, blue.GetNativeAlphaData(nullptr)[0]);  // rebuilt for another format

  MemoryImage changed = FromPixels({0xFF000000, 0x00000000});
  changed.GetNativeAlphaData(nullptr), changed.GetRLAlphaData();
  changed.FillRect(Rect(0, 0, 1, 1), Color(1, 2, 3, 255), 0);
  EXPECT_EQ(std::pair(false, 2),
            std::pair(changed.HasNativeAlphaData(), changed.GetRLAlphaData()[1] + changed.GetRLAlphaData()[0]));
  changed.GetNativeAlphaData(nullptr), changed.DeleteSWBuffers();
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

// FNV-1a over the pixels.
std::uint32_t Checksum(MemoryImage& image) {
  std::uint32_t hash = 2166136261u;
  for (std::uint32_t p : Pixels(image)) hash = (hash ^ p) * 16777619u;
  return hash;
}

// A patterned picture of every alpha class.
MemoryImage Pattern(int w, int h, std::uint32_t seed) {
  Row pixels;
  for (int i = 0; i < w * h; ++i) {
    seed = seed * 1103515245 + 12345;
    const std::uint32_t alphas[4] = {0, 255, 255, (seed >> 8) & 0xFF};
    pixels.push_back(alphas[(seed >> 20) % 4] << 24 | (seed >> 4 & 0xFFFFFF));
  }
  return FromPixels(pixels, w, h);
}

// Resampling blits, sloped lines and scan-line fills, whose pixel rules are
// our own choice: pinned by checksums of small pictures, each drawn onto an
// opaque destination and onto one with alpha, in normal and additive mode.
TEST(MemoryImage, DrawingPinnedByChecksums) {
  using Draw = std::function<void()>;
  MemoryImage *d = nullptr, *s = nullptr;  // what each scene draws onto and from, how
  Color c;
  int m = 0;
  const Rect clip(1, 1, 14, 10);
  Matrix3 shear;
  shear.m[0][0] = 1.5, shear.m[0][1] = 0.5, shear.m[1][0] = -0.25, shear.m[1][1] = 0.75;
  const Span spans[3] = {{4, 3, 9}, {5, -2, 30}, {14, 0, 5}};
  std::uint8_t coverage[64];
  for (int i = 0; i < 64; ++i) coverage[i] = static_cast<std::uint8_t>(i * 37);
  const std::pair<const char*, Draw> scenes[] = {
      {"fast stretch", [&] { d->StretchBlt(s, Rect(-2, 1, 13, 9), Rect(1, 0, 5, 4), clip, c, m, true); }},
      {"smooth stretch", [&] { d->StretchBlt(s, Rect(2, -1, 15, 11), Rect(0, 1, 6, 4), clip, c, m, false); }},
      {"smooth, to every edge", [&] { d->StretchBlt(s, Rect(1, 1, 14, 10), Rect(0, 0, 7, 5), clip, c, m, false); }},
      {"smooth shrink", [&] { d->StretchBlt(s, Rect(3, 2, 4, 3), Rect(0, 0, 7, 5), clip, c, m, false); }},
      {"mirrored stretch", [&] { d->StretchBltMirror(s, Rect(1, 2, 11, 7), Rect(1, 1, 5, 4), clip, c, m, true); }},
      {"mirror", [&] { d->BltMirror(s, -1, -1, Rect(1, 0, 6, 5), c, m); }},  // cut at the left and the top
      {"float blit", [&] { d->BltF(s, 10.6f, 6.4f, Rect(0, 1, 7, 4), clip, c, m); }},
      {"rotated", [&] { d->BltRotated(s, 4.5f, 2.f, Rect(0, 0, 7, 5), clip, c, m, 0.6, 2.f, 3.f); }},
      {"matrix", [&] { d->BltMatrix(s, 8.f, 6.f, shear, clip, c, m, Rect(1, 0, 6, 5), false); }},
      {"matrix blended", [&] { d->BltMatrix(s, 7.f, 5.f, shear, clip, c, m, Rect(0, 0, 7, 5), true); }},
      {"self", [&] { d->Blt(d, 3, 2, Rect(1, 1, 12, 9), c, m); }},  // reads the old pixels
      // An outline w x h touches w + 1 by h + 1 pixels.
      {"clear and outline",
       [&] {
         d->ClearRect(Rect(3, -2, 5, 6)), d->ClearRect(Rect(15, 11, 9, 9));
         d->DrawRect(Rect(2, 1, 9, 6), c, m), d->DrawRect(Rect(-3, 8, 30, 9), c, m);
       }},
      {"palette",
       [&] {
         MemoryImage p(*s);
         p.Palletize(), d->Blt(&p, -2, -1, Rect(0, 0, 7, 5), c, m);  // cut at the left and the top
       }},
      {"lines",
       [&] {
         // The eighth steps both ways at a tie; no number is 0.
         const double ends[][4] = {{0, 0, 15, 11}, {14, 1, 2, 9}, {3, 11, 5, -4}, {-5, 3, 22, 8}, {1, 1, 1, 1},
                                   {2, 6, 2, 1},   {7, 0, 4, 0},  {9, 2, 11, 3},  {NAN, 5, 3, 5}};
         for (const auto& [x1, y1, x2, y2] : ends) d->DrawLine(x1, y1, x2, y2, c, m);
       }},
      {"scan lines",
       [&] {
         d->FillScanLines(spans, 3, c, m);
         d->FillScanLinesWithCoverage(spans, 1, c, m, coverage, -1, 3, 8, 8);  // one span too
         d->FillScanLinesWithCoverage(spans + 1, 2, c, m, coverage, 0, 3, 8, 8);
       }},
  };
  const std::uint32_t expected[std::size(scenes)] = {0x1e1a538c, 0x89925616, 0xb7ccead4, 0x82b8b4f2, 0xbfeb62c8,
                                                     0xf17e60d8, 0x3f8a426a, 0xf8209b7e, 0xea137f96, 0x26f7b1c0,
                                                     0x639dcdd5, 0xe338db40, 0x5f351008, 0xb3ee02a0, 0x4a9fc6a0};
  for (std::size_t i = 0; i < std::size(scenes); ++i) {
    std::uint32_t hash = 0;
    for (const auto& [color, mode] :
         {std::pair(0xFFFFFFFFu, 0), {0xAAC85A28u, 0}, {0xFF808080u, 0}, {0x8C5AC8FFu, 1}, {0xFFFFFFFFu, 2}}) {
      for (bool opaque : {true, false}) {
        MemoryImage dest = Pattern(16, 12, 1), source = Pattern(7, 5, 2);
        if (opaque) dest.SetImageMode(false, false);
        d = &dest, s = &source, c = Color::FromPacked(color), m = mode;
        scenes[i].second();
        hash = hash * 31 + Checksum(dest);
        ASSERT_TRUE(dest.IsGuardIntact()) << scenes[i].first;
      }
    }
    EXPECT_EQ(expected[i], hash) << std::hex << "0x" << hash << " " << scenes[i].first;
  }
}

// The blend rules written out plainly, channel by channel.
std::uint32_t Channels(std::uint32_t alpha, const std::function<std::uint32_t(int)>& channel) {
  return alpha << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
}
std::uint32_t Ch(std::uint32_t p, int shift) { return p >> shift & 0xFF; }
std::uint32_t Of(const Color& c, int shift) {
  return static_cast<std::uint32_t>(shift == 16 ? c.r : shift == 8 ? c.g : c.b);
}

// Laying alpha `a` with colour `added(shift)` (already weighed by f) over `d`.
std::uint32_t Over(std::uint32_t d, std::uint32_t a, const std::function<std::uint32_t(int, std::uint32_t)>& added) {
  if (a == 0) return d;
  const std::uint32_t newA = (d >> 24) + (255 - (d >> 24)) * a / 255, f = a * 255 / newA;
  return Channels(newA, [&](int sh) { return added(sh, f) + ((Ch(d, sh) * (256 - f)) >> 8); });
}

std::uint32_t ReferenceFill(std::uint32_t d, const Color& c) {
  const auto a = static_cast<std::uint32_t>(c.a), newA = (d >> 24) + (255 - (d >> 24)) * a / 255;
  if (a == 0 || a == 255) return a ? c.ToPacked() : d;
  const std::uint32_t f = a * 255 / newA;
  return Channels(newA, [&](int sh) { return (Ch(d, sh) * (256 - f) + Of(c, sh) * f) >> 8; });
}

std::uint32_t ReferenceBlit(std::uint32_t d, std::uint32_t s, const Color& c, int mode, bool opaqueDest,
                            bool partialSource) {
  const std::uint32_t sA = s >> 24, cA = static_cast<std::uint32_t>(c.a);
  const bool white = c == Color::White, grey = c.r == c.g && c.g == c.b;
  if (cA == 0) return d;
  if (mode == 1) {
    if (sA == 0) return d;
    return Channels(d >> 24, [&](int sh) {
      std::uint32_t amount = white ? Ch(s, sh) : (Ch(s, sh) * (Of(c, sh) * cA / 255)) >> 8;
      return std::min(255u, Ch(d, sh) + (partialSource ? (amount * sA) >> 8 : amount));
    });
  }
  if (white && opaqueDest) {
    if (sA == 255 || sA == 0) return sA ? s : d;
    return Channels(255, [&](int sh) { return ((Ch(d, sh) * (256 - sA)) >> 8) + ((Ch(s, sh) * sA) >> 8); });
  }
  return Over(d, sA * cA / 255, [&](int sh, std::uint32_t f) {
    if (white) return (Ch(s, sh) * f) >> 8;
    return grey ? (((Ch(s, sh) * Of(c, 0)) >> 8) * f) >> 8 : (Ch(s, sh) * f * Of(c, sh)) >> 16;
  });
}

// Fills and blits, through every set of row kernels, give the plain rules' bits: every colour kind
// and mode over opaque destinations and every pair of alphas, from sources with partial alpha, only
// 0 and 255, or a palette. The colours as 0xAARRGGBB; the last three each add to one channel only.
TEST(BlendFormula, DrawingFollowsThePlainRulesWithEveryKernelSet) {
  const std::uint32_t colours[] = {0xFFFFFFFF, 0xFF808080, 0xC84D4D4D, 0xFFFF8000, 0x80C86432, 0x80FFFFFF,
                                   0x000AC81E, 0x01FF8040, 0xFF030303, 0xFFC80000, 0xFF00C800, 0xFF0000C8};
  const int w = 259, h = 256;  // odd rows: every vector width leaves a tail
  Row dst, opaqueDst, src, hardSrc, fewSrc;
  std::uint32_t seed = 3;
  for (std::uint32_t i = 0; i < w * h; ++i) {
    seed = seed * 1103515245 + 12345;
    dst.push_back((i % w & 0xFF) << 24 | (seed >> 8 & 0xFFFFFF));  // every destination alpha by column
    opaqueDst.push_back(dst.back() | 0xFF000000);
    src.push_back((i / w) << 24 | (seed & 0xFFFFFF));  // against every source alpha by row
    hardSrc.push_back(seed & 0x100 ? src.back() | 0xFF000000 : src.back() & 0xFFFFFF);
  }
  for (std::uint32_t p : dst) fewSrc.push_back(src[p % 200 * 331]);
  std::vector<const Blend::Kernels*> sets = {&Blend::ScalarKernels(), Blend::Sse2Kernels(), Blend::Avx2Kernels()};
  std::erase(sets, nullptr);
  const auto check = [&](const Row& d, const Row& expected, const std::function<void(MemoryImage&)>& draw) {
    for (const Blend::Kernels* kernels : sets) {
      Blend::SetActiveKernels(kernels);
      MemoryImage target = FromPixels(d, w, h);
      draw(target);
      ASSERT_EQ(expected, Pixels(target)) << kernels->name;
    }
  };
  Row expected(dst.size());
  for (const std::uint32_t packed : colours) {
    const Color c = Color::FromPacked(packed);
    for (const Row* d : {&dst, &opaqueDst}) {
      for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = ReferenceFill((*d)[i], c);
      check(*d, expected, [&](MemoryImage& target) { target.FillRect(Rect(0, 0, w, h), c, 1); });
      for (const Row* s : {&src, &hardSrc, &fewSrc}) {
        MemoryImage source = FromPixels(*s, w, h);
        ASSERT_TRUE(s != &fewSrc || source.Palletize());
        const bool partial = std::any_of(s->begin(), s->end(), [](std::uint32_t p) { return (p >> 24) % 255 != 0; });
        for (int mode : {0, 1}) {
          for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = ReferenceBlit((*d)[i], (*s)[i], c, mode, d == &opaqueDst, partial);
          check(*d, expected, [&](MemoryImage& target) { target.Blt(&source, 0, 0, Rect(0, 0, w, h), c, mode); });
          ASSERT_FALSE(HasFailure()) << "mode " << mode << " colour " << std::hex << c.ToPacked();
        }
      }
    }
  }
  // A row shorter than a register, from a palette row copied out to its length.
  for (const Blend::Kernels* kernels : sets) {
    Blend::SetActiveKernels(kernels);
    MemoryImage dest = Solid(3, 1, 0xFF000000), few = Solid(3, 1, 0x80FFFFFF);
    Image notMemory;
    notMemory.width = notMemory.height = 2;
    dest.Blt(&notMemory, 0, 0, Rect(0, 0, 2, 2), Color::White, 0);
    ASSERT_TRUE(few.Palletize());
    dest.Blt(&few, 0, 0, Rect(0, 0, 3, 1), Color::White, 0);
    EXPECT_EQ(dest.GetPixel(2, 0), ReferenceBlit(0xFF000000, 0x80FFFFFF, Color::White, 0, false, true))
        << kernels->name;
  }
  Blend::SetActiveKernels(nullptr);
}

}  // namespace
