// Glyph presets: each glyph's shape worked out once, and its blends taken
// from the colour's table, which must give the bits of plain blits. (Under
// every kernel set with the game's own font: the font tests.)

#include <gtest/gtest.h>

#include "framework/graphics/Blend.h"
#include "framework/graphics/GlyphPresets.h"
#include "tests/graphics/Pixels.h"

namespace {

namespace B = Zing::Blend;

// A glyph's shape: each row trimmed to the pixels whose alpha is not 0,
// whatever their colour, and padded to whole blocks, inside its rectangle
// where that is wide enough; a glyph off the sheet keeps its rectangle. Drawn
// over an opaque image, whole or cut by the clip rectangle, glyphs give the
// bits of plain blits, and those inside come from the colour's table.
TEST(GlyphPresets, ShapesTablesAndPlainBlits) {
  using Zing::Rect;
  std::vector<std::uint32_t> pixels(24 * 3, 0);
  const auto put = [&](int x, int y, std::uint32_t p) { pixels[static_cast<std::size_t>(y * 24 + x)] = p; };
  for (int x : {0, 1, 10, 11}) put(x, 0, 0x00FF0000);
  for (int x = 0; x < 12; ++x) put(x, 2, 0x00FFFFFF);
  put(2, 0, 0xFF112233), put(3, 0, 0xFF445566), put(5, 1, 0x80405060), put(12, 0, 0xFF00FF00), put(23, 0, 0x40FFFFFF);
  Zing::MemoryImage sheet = ZingTest::FromPixels(pixels, 24, 3);
  std::array<Rect, Zing::GlyphPresets::kGlyphs> rects{};
  rects['a'] = Rect(0, 0, 12, 3), rects['c'] = Rect(12, 0, 12, 1), rects['d'] = Rect(20, 0, 8, 1);
  Zing::GlyphPresets presets(&sheet, rects);
  EXPECT_EQ(std::tuple(Rect(2, 0, 10, 3), Rect(0, 0, 16, 1), Rect(0, 0, 8, 1)),
            std::tuple(presets.Written('a'), presets.Written('c'), presets.Written('d')));
  for (const auto& [kernels, color] : {std::pair(&B::ScalarKernels(), Zing::Color::White),
                                       {B::Sse2Kernels(), Zing::Color(200, 40, 90)},
                                       {B::Avx2Kernels(), Zing::Color(255, 255, 255, 128)},
                                       {&B::ScalarKernels(), Zing::Color(255, 255, 255, 128)}}) {
    B::SetActiveKernels(kernels);  // null, where the machine lacks it: the best it has
    Zing::MemoryImage fast = ZingTest::Solid(32, 8, 0xFF808080), plain = ZingTest::Solid(32, 8, 0xFF808080);
    fast.GetBits()[40] = plain.GetBits()[40] = 0xFF0000FF;
    Zing::BlitPlan plan(fast, sheet, color, 0);
    Zing::GlyphPresets::Table* table = presets.Prepare(plan);
    ASSERT_NE(nullptr, table);
    const Zing::GlyphPresets::Line line{
        table,          &plan, &B::ActiveKernels(), plan.GetKind() == Zing::BlitPlan::kTint,
        fast.GetBits(), 32,    Rect(0, 0, 32, 8)};
    for (const auto& [glyph, x, y] : {std::tuple('a', 3, 2), {'c', 14, 5}, {'a', -4, 6}, {'c', 25, 0}}) {
      EXPECT_TRUE(presets.DrawGlyph(line, static_cast<unsigned char>(glyph), x, y));
      plain.Blt(&sheet, x, y, rects[static_cast<std::size_t>(glyph)], color, 0);
    }
    EXPECT_FALSE(presets.DrawGlyph(line, 'd', 0, 0));
    EXPECT_GE(std::min(table->start['a'], table->start['c']), 0);
    EXPECT_EQ(ZingTest::Pixels(plain), ZingTest::Pixels(fast));
  }
  B::SetActiveKernels(nullptr);
}

}  // namespace
