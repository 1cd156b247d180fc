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

// The row kernels on the same pixels; the preset kernel stops at the same
// pixel as the reference (at a block boundary at the latest) and agrees on
// every pixel before it.
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

      // Preset glyph pixels that fit under what the keep factor leaves room for.
      Row presetBase = base, pre(n), keep(n);
      for (auto& p : presetBase) p |= rng() % 30 == 0 ? 0 : 0xFF000000;
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t m = rng() % 257, room = 255 - ((255 * m) >> 8);
        pre[i] = (rng() % (room + 1)) << 16 | (rng() % (room + 1)) << 8 | rng() % (room + 1);
        keep[i] = m | m << 16;
      }
      Row expected = presetBase, actual = presetBase;
      const int reference = B::ScalarKernels().preset(expected.data(), pre.data(), keep.data(), count);
      const int done = fast->preset(actual.data(), pre.data(), keep.data(), count);
      ASSERT_LE(done, reference) << fast->name;
      ASSERT_GT(done, reference - 8) << fast->name;
      for (int i = 0; i < count; ++i)
        ASSERT_EQ(i < done ? expected[i] : presetBase[i], actual[i]) << fast->name << " pixel " << i;

      // The same pixels as a glyph of two rows: both stop in the same row.
      const int w = count / 2;
      Row rectExpected = presetBase, rectActual = presetBase;
      int expectedPartial = 0, actualPartial = 0;
      const int rows =
          B::ScalarKernels().presetRect(rectExpected.data(), w, pre.data(), keep.data(), w, w, 2, &expectedPartial);
      ASSERT_EQ(fast->presetRect(rectActual.data(), w, pre.data(), keep.data(), w, w, 2, &actualPartial), rows);
      const int stop = rows == 2 ? 2 * w : rows * w + actualPartial;
      ASSERT_TRUE(rows == 2 || (actualPartial <= expectedPartial && actualPartial > expectedPartial - 8));
      for (int i = 0; i < 2 * w; ++i)
        ASSERT_EQ(i < stop ? rectExpected[i] : presetBase[i], rectActual[i]) << fast->name << " glyph pixel " << i;
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
