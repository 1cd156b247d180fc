// The preset glyph blends of the vector kernels give exactly the bits of the
// scalar reference and hand back the same rows, over random glyph runs and
// destinations with pixels that are not opaque. (The other blends are checked against
// the plain rules through memory images, with every kernel set.)

#include <gtest/gtest.h>

#include <random>

#include "framework/graphics/Blend.h"
#include "framework/graphics/GlyphPresets.h"
#include "tests/graphics/Pixels.h"

namespace {

namespace B = Zing::Blend;
using Row = std::vector<std::uint32_t>;

std::vector<const B::Kernels*> FastKernels() {
  std::vector<const B::Kernels*> out{B::Sse2Kernels(), B::Avx2Kernels()};
  std::erase(out, nullptr);  // the ones this machine lacks
  return out;
}

constexpr int kRounds = 3000;

// The preset glyph kernel, fast and scalar, on the same pixels.
TEST(BlendIdentity, PresetKernelsMatchReference) {
  std::mt19937 rng(1);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < kRounds; ++round) {
      // A preset glyph of random runs (blocks that fit under what the keep
      // factor leaves room for) over rows of that destination: the same
      // pixels, and the same rows left to the caller where it is not opaque.
      std::vector<B::PresetRun> runs(1 + rng() % 4);
      std::vector<B::PresetBlock> table;
      int rows = 0;
      for (auto& run : runs) {
        run = {static_cast<int>(rng() % 4), static_cast<int>(rng() % 6), 1 + static_cast<int>(rng() % 3)};
        rows += run.rows;
        for (int i = 0; i < run.blocks * run.rows; ++i) {
          B::PresetBlock& block = table.emplace_back();
          for (int p = 0; p < B::PresetBlock::kPixels; ++p) {
            const std::uint32_t m = rng() % 257, room = 255 - ((255 * m) >> 8), clear = rng() % 4 == 0;
            for (int c = 0; c < 4; ++c) block.keep[B::PresetBlock::KeepAt(p) + c] = c < 3 ? m : 256 * clear;
            block.pre[p] =
                (clear ? 0 : 0xFF000000) | (rng() % (room + 1)) << 16 | (rng() % (room + 1)) << 8 | rng() % (room + 1);
          }
        }
      }
      constexpr int kPitch = 48;
      Row glyphBase(static_cast<std::size_t>(kPitch * rows));
      for (auto& p : glyphBase) p = rng() | (rng() % 40 == 0 ? 0 : 0xFF000000);
      const bool checkOpaque = rng() & 1;
      const auto draw = [&](const B::Kernels& k, Row& dest, std::vector<int>& stops) {
        B::PresetCursor at{dest.data(), kPitch, table.data(), runs.data(), runs.data() + runs.size(), 0};
        for (; !k.presetGlyph(at, checkOpaque); at.Skip()) stops.push_back(static_cast<int>(at.dst - dest.data()));
      };
      Row expected = glyphBase, actual = glyphBase;
      std::vector<int> expectedStops, actualStops;
      draw(B::ScalarKernels(), expected, expectedStops);
      draw(*fast, actual, actualStops);
      ASSERT_EQ(expected, actual) << fast->name << " preset glyph round " << round;
      ASSERT_EQ(expectedStops, actualStops) << fast->name << " round " << round;
    }
  }
}

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
  for (const Zing::Color& color : {Zing::Color::White, Zing::Color(200, 40, 90), Zing::Color(255, 255, 255, 128)}) {
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
}

}  // namespace
