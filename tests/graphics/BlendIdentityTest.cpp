// Every vector blend gives exactly the bits of the scalar reference: over
// random pixels of every alpha class, random colours, odd widths and
// unaligned rows, and every pair of alphas.

#include <gtest/gtest.h>

#include <random>

#include "framework/graphics/Blend.h"

namespace {

using namespace Zing;
namespace B = Zing::Blend;
using Row = std::vector<std::uint32_t>;

std::vector<const B::Kernels*> FastKernels() {
  std::vector<const B::Kernels*> out;
  if (const B::Kernels* k = B::Sse2Kernels()) out.push_back(k);
  if (const B::Kernels* k = B::Avx2Kernels()) out.push_back(k);
  return out;
}

// Pixels whose alphas come in the mixes that matter: anything, runs of 0 and
// 255 with a few others, all 255, all 0, or 1 and 254.
std::uint32_t RandomPixel(std::mt19937& rng, int style) {
  const std::uint32_t rgb = rng() & 0x00FFFFFF;
  std::uint32_t a = rng() & 0xFF;
  if (style == 1) a = (rng() % 3 == 0) ? (rng() & 0xFF) : ((rng() & 1) ? 255 : 0);
  if (style == 2) a = 255;
  if (style == 3) a = 0;
  if (style == 4) a = (rng() & 1) ? 1 : 254;
  return (a << 24) | rgb;
}

Row RandomRow(std::mt19937& rng, std::size_t n) {
  Row row(n);
  const int style = static_cast<int>(rng() % 5);
  for (auto& p : row) p = RandomPixel(rng, (rng() % 8 == 0) ? static_cast<int>(rng() % 5) : style);
  return row;
}

B::TintParams RandomTint(std::mt19937& rng) {
  B::TintParams p;
  p.alpha = rng() % 4 == 0 ? 255 : rng() & 0xFF;
  p.grey = rng() & 1;
  if (p.grey) {
    p.k[0] = p.k[1] = p.k[2] = (rng() % 3 == 0) ? 256 : (rng() & 0xFF);
  } else {
    for (auto& k : p.k) k = rng() & 0xFF;
  }
  return p;
}

B::AddParams RandomAdd(std::mt19937& rng) {
  B::AddParams p;
  p.white = rng() & 1;
  p.sourceAlpha = rng() & 1;
  for (auto& k : p.k) k = rng() & 0xFF;
  return p;
}

constexpr int kRounds = 3000;

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
      const B::TintParams tint = RandomTint(rng);
      const B::AddParams add = RandomAdd(rng);
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
    }
  }
}

// The preset kernels stop at the same pixel as the reference (at a block
// boundary at the latest) and agree on every pixel before it.
TEST(BlendIdentity, PresetMatchesReference) {
  std::mt19937 rng(5);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < kRounds; ++round) {
      const std::size_t n = rng() % 40;
      Row base = RandomRow(rng, n), pre(n), keep(n);
      for (auto& p : base) p |= rng() % 30 == 0 ? 0 : 0xFF000000;
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t m = rng() % 257, room = 255 - ((255 * m) >> 8);
        pre[i] = (rng() % (room + 1)) << 16 | (rng() % (room + 1)) << 8 | rng() % (room + 1);
        keep[i] = m | m << 16;
      }
      Row expected = base, actual = base;
      const int reference = B::ScalarKernels().preset(expected.data(), pre.data(), keep.data(), static_cast<int>(n));
      const int done = fast->preset(actual.data(), pre.data(), keep.data(), static_cast<int>(n));
      ASSERT_LE(done, reference) << fast->name;
      ASSERT_GT(done, reference - 8) << fast->name;
      for (std::size_t i = 0; i < n; ++i)
        ASSERT_EQ(static_cast<int>(i) < done ? expected[i] : base[i], actual[i]) << fast->name << " pixel " << i;
    }
  }
}

// Every pair of source and destination alpha, through every blend with a
// weight (where the division is done in floating point by the vector code).
TEST(BlendIdentity, EveryAlphaPairMatchesReference) {
  std::mt19937 rng(5);
  Row src(256 * 256), dst(256 * 256);
  for (std::uint32_t sA = 0; sA < 256; ++sA) {
    for (std::uint32_t dA = 0; dA < 256; ++dA) {
      src[sA * 256 + dA] = (sA << 24) | (rng() & 0x00FFFFFF);
      dst[sA * 256 + dA] = (dA << 24) | (rng() & 0x00FFFFFF);
    }
  }
  const int n = static_cast<int>(src.size());
  for (const B::Kernels* fast : FastKernels()) {
    for (std::uint32_t colorAlpha : {1u, 77u, 128u, 254u, 255u}) {
      B::TintParams tint;
      tint.alpha = colorAlpha;
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
