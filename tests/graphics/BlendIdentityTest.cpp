// Every vector blend gives exactly the bits of the scalar reference: over
// random pixels of every alpha class, random colours, odd widths and
// unaligned rows, and every pair of alphas.

#include <gtest/gtest.h>

#include <random>

#include "framework/graphics/Blend.h"

namespace {

namespace B = Zing::Blend;
using Row = std::vector<std::uint32_t>;

std::vector<const B::Kernels*> FastKernels() {
  std::vector<const B::Kernels*> out{B::Sse2Kernels(), B::Avx2Kernels()};
  std::erase(out, nullptr);  // the ones this machine lacks
  return out;
}

// Pixels whose alphas come in the mixes that matter: anything, runs of 0 and
// 255 with a few others, all 255, all 0, or 1 and 254.
std::uint32_t RandomPixel(std::mt19937& rng, int style) {
  const std::uint32_t rgb = rng() & 0x00FFFFFF;
  std::uint32_t a = rng() & 0xFF;
  if (style == 1) a = (rng() % 3 == 0) ? (rng() & 0xFF) : ((rng() & 1) ? 255 : 0);
  if (style == 2 || style == 3) a = style == 2 ? 255 : 0;
  if (style == 4) a = (rng() & 1) ? 1 : 254;
  return (a << 24) | rgb;
}

Row RandomRow(std::mt19937& rng, std::size_t n) {
  Row row(n);
  const int style = static_cast<int>(rng() % 5);
  for (auto& p : row) p = RandomPixel(rng, (rng() % 8 == 0) ? static_cast<int>(rng() % 5) : style);
  return row;
}

constexpr int kRounds = 3000;

// The row kernels and the preset glyph kernel on the same pixels.
TEST(BlendIdentity, RowKernelsMatchReference) {
  std::mt19937 rng(1);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < kRounds; ++round) {
      const std::size_t n = rng() % 70, offset = rng() % 4;
      const int count = static_cast<int>(n);
      const Row src = RandomRow(rng, n + offset), base = RandomRow(rng, n + offset);
      Row opaqueBase = base;
      for (auto& p : opaqueBase) p |= 0xFF000000;
      const std::uint32_t color = (rng() & 0x00FFFFFF) | ((1 + rng() % 254) << 24);
      B::TintParams tint{.alpha = static_cast<std::uint32_t>(rng() % 4 == 0 ? 255 : rng() & 0xFF),
                         .grey = (rng() & 1) != 0};
      for (auto& k : tint.k) k = rng() & 0xFF;
      if (tint.grey) tint.k[1] = tint.k[2] = tint.k[0] = (rng() % 3 == 0) ? 256 : tint.k[0];
      B::AddParams add{.white = (rng() & 1) != 0, .sourceAlpha = (rng() & 1) != 0};
      for (auto& k : add.k) k = rng() & 0xFF;
      const std::uint32_t* s = src.data() + offset;
      const auto check = [&](const char* what, const Row& dest, auto run) {
        Row expected = dest, actual = dest;
        run(B::ScalarKernels(), expected.data() + offset);
        run(*fast, actual.data() + offset);
        ASSERT_EQ(expected, actual) << fast->name << " " << what << " round " << round;
      };
      check("fill", base, [&](const B::Kernels& k, std::uint32_t* d) { k.fill(d, count, color); });
      check("opaque", opaqueBase, [&](const B::Kernels& k, std::uint32_t* d) { k.opaque(d, s, count); });
      check("tint", base, [&](const B::Kernels& k, std::uint32_t* d) { k.tint(d, s, count, tint); });
      check("add", base, [&](const B::Kernels& k, std::uint32_t* d) { k.add(d, s, count, add); });

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

// Every pair of source and destination alpha, through every blend with a
// weight (where the division is done in floating point by the vector code).
TEST(BlendIdentity, EveryAlphaPairMatchesReference) {
  std::mt19937 rng(5);
  Row src(256 * 256), dst(256 * 256);
  for (std::uint32_t i = 0; i < 256 * 256; ++i) {
    src[i] = (i >> 8) << 24 | (rng() & 0x00FFFFFF);
    dst[i] = (i & 0xFF) << 24 | (rng() & 0x00FFFFFF);
  }
  const int n = static_cast<int>(src.size());
  for (const B::Kernels* fast : FastKernels()) {
    for (std::uint32_t colorAlpha : {1u, 77u, 128u, 254u, 255u}) {
      const B::TintParams tint{.alpha = colorAlpha};
      Row expected = dst, actual = dst;
      B::ScalarKernels().tint(expected.data(), src.data(), n, tint);
      fast->tint(actual.data(), src.data(), n, tint);
      ASSERT_EQ(expected, actual) << fast->name << " tint alpha " << colorAlpha;
      if (colorAlpha == 255) continue;
      expected = actual = dst;
      const std::uint32_t color = (colorAlpha << 24) | 0x3399CC;
      B::ScalarKernels().fill(expected.data(), n, color);
      fast->fill(actual.data(), n, color);
      ASSERT_EQ(expected, actual) << fast->name << " fill alpha " << colorAlpha;
    }
  }
}

}  // namespace
