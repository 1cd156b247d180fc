// The preset glyph blends of the vector kernels give exactly the bits of the
// scalar reference and stop where it stops, over random pixels of every alpha
// class, odd widths and unaligned rows. (The other blends are checked against
// the plain rules through memory images, with every kernel set.)

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

// The preset kernel stops at the same pixel as the reference (at a block
// boundary at the latest) and agrees on every pixel before it.
TEST(BlendIdentity, PresetKernelsMatchReference) {
  std::mt19937 rng(1);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < kRounds; ++round) {
      const std::size_t n = rng() % 70, offset = rng() % 4;
      const int count = static_cast<int>(n);
      const Row base = RandomRow(rng, n + offset);

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

}  // namespace
