// Every vector blend gives exactly the bits of the scalar reference: over
// random pixels of every alpha class, random colours, odd widths and
// unaligned rows, and through the whole drawing code of memory images.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "framework/graphics/Blend.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

namespace {

using namespace Zing;
namespace B = Zing::Blend;

std::vector<const B::Kernels*> FastKernels() {
  std::vector<const B::Kernels*> out;
  if (const B::Kernels* k = B::Sse2Kernels()) out.push_back(k);
  if (const B::Kernels* k = B::Avx2Kernels()) out.push_back(k);
  return out;
}

// Pixels whose alphas come in the mixes that matter: runs of 0 and 255,
// single values, and anything.
std::uint32_t RandomPixel(std::mt19937& rng, int style) {
  const std::uint32_t rgb = rng() & 0x00FFFFFF;
  std::uint32_t a = rng() & 0xFF;
  switch (style) {
    case 0:
      break;
    case 1:
      a = (rng() % 3 == 0) ? (rng() & 0xFF) : ((rng() & 1) ? 255 : 0);
      break;
    case 2:
      a = 255;
      break;
    case 3:
      a = 0;
      break;
    default:
      a = (rng() & 1) ? 1 : 254;
      break;
  }
  return (a << 24) | rgb;
}

std::vector<std::uint32_t> RandomRow(std::mt19937& rng, std::size_t n) {
  std::vector<std::uint32_t> row(n);
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

TEST(BlendIdentity, FillMatchesReference) {
  std::mt19937 rng(1);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < kRounds; ++round) {
      const std::size_t n = rng() % 70, offset = rng() % 4;
      const auto base = RandomRow(rng, n + offset);
      const std::uint32_t color = (rng() & 0x00FFFFFF) | ((1 + rng() % 254) << 24);
      auto expected = base, actual = base;
      B::ScalarKernels().fill(expected.data() + offset, static_cast<int>(n), color);
      fast->fill(actual.data() + offset, static_cast<int>(n), color);
      ASSERT_EQ(expected, actual) << fast->name << " colour " << std::hex << color;
    }
  }
}

TEST(BlendIdentity, OpaqueMatchesReference) {
  std::mt19937 rng(2);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < kRounds; ++round) {
      const std::size_t n = rng() % 70, offset = rng() % 4;
      const auto src = RandomRow(rng, n + offset);
      auto base = RandomRow(rng, n + offset);
      for (auto& p : base) p |= 0xFF000000;
      auto expected = base, actual = base;
      B::ScalarKernels().opaque(expected.data() + offset, src.data() + offset, static_cast<int>(n));
      fast->opaque(actual.data() + offset, src.data() + offset, static_cast<int>(n));
      ASSERT_EQ(expected, actual) << fast->name;
    }
  }
}

TEST(BlendIdentity, TintMatchesReference) {
  std::mt19937 rng(3);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < kRounds; ++round) {
      const std::size_t n = rng() % 70, offset = rng() % 4;
      const auto src = RandomRow(rng, n + offset);
      const auto base = RandomRow(rng, n + offset);
      const B::TintParams params = RandomTint(rng);
      auto expected = base, actual = base;
      B::ScalarKernels().tint(expected.data() + offset, src.data() + offset, static_cast<int>(n), params);
      fast->tint(actual.data() + offset, src.data() + offset, static_cast<int>(n), params);
      ASSERT_EQ(expected, actual) << fast->name << " grey " << params.grey << " alpha " << params.alpha;
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
      auto base = RandomRow(rng, n);
      for (auto& p : base) p |= rng() % 30 == 0 ? 0 : 0xFF000000;
      std::vector<std::uint32_t> pre(n), keep(n);
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t m = rng() % 257, room = 255 - ((255 * m) >> 8);
        pre[i] = (rng() % (room + 1)) << 16 | (rng() % (room + 1)) << 8 | rng() % (room + 1);
        keep[i] = m | m << 16;
      }
      auto expected = base, actual = base;
      const int reference = B::ScalarKernels().preset(expected.data(), pre.data(), keep.data(), static_cast<int>(n));
      const int done = fast->preset(actual.data(), pre.data(), keep.data(), static_cast<int>(n));
      ASSERT_LE(done, reference) << fast->name;
      ASSERT_GT(done, reference - 8) << fast->name;
      for (int i = 0; i < done; ++i) ASSERT_EQ(expected[i], actual[i]) << fast->name << " pixel " << i;
      for (std::size_t i = done; i < n; ++i) ASSERT_EQ(base[i], actual[i]) << fast->name << " pixel " << i;
    }
  }
}

TEST(BlendIdentity, AddMatchesReference) {
  std::mt19937 rng(4);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < kRounds; ++round) {
      const std::size_t n = rng() % 70, offset = rng() % 4;
      const auto src = RandomRow(rng, n + offset);
      const auto base = RandomRow(rng, n + offset);
      const B::AddParams params = RandomAdd(rng);
      auto expected = base, actual = base;
      B::ScalarKernels().add(expected.data() + offset, src.data() + offset, static_cast<int>(n), params);
      fast->add(actual.data() + offset, src.data() + offset, static_cast<int>(n), params);
      ASSERT_EQ(expected, actual) << fast->name << " white " << params.white << " alpha " << params.sourceAlpha;
    }
  }
}

// Every pair of source and destination alpha, through every blend with a
// weight (where the division is done in floating point by the vector code).
TEST(BlendIdentity, EveryAlphaPairMatchesReference) {
  std::mt19937 rng(5);
  std::vector<std::uint32_t> src(256 * 256), dst(256 * 256);
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
      auto expected = dst, actual = dst;
      B::ScalarKernels().tint(expected.data(), src.data(), n, tint);
      fast->tint(actual.data(), src.data(), n, tint);
      ASSERT_EQ(expected, actual) << fast->name << " tint alpha " << colorAlpha;
      if (colorAlpha == 255) continue;
      expected = dst;
      actual = dst;
      const std::uint32_t color = (colorAlpha << 24) | 0x3399CC;
      B::ScalarKernels().fill(expected.data(), n, color);
      fast->fill(actual.data(), n, color);
      ASSERT_EQ(expected, actual) << fast->name << " fill alpha " << colorAlpha;
    }
  }
}

// A random image of the given alpha style.
MemoryImage RandomImage(std::mt19937& rng, int w, int h, int style) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (auto& p : pixels) p = RandomPixel(rng, style);
  MemoryImage image;
  image.SetBits(pixels.data(), w, h);
  return image;
}

std::vector<std::uint32_t> Pixels(MemoryImage& image) {
  const std::uint32_t* bits = image.GetBits();
  return std::vector<std::uint32_t>(bits, bits + static_cast<std::size_t>(image.width) * image.height);
}

// The same random drawing on two copies of a destination, once with the
// scalar kernels and once with the fast ones: blits at every mode and colour,
// clipped by random rectangles, from plain and palletised sources.
TEST(BlendIdentity, DrawingThroughImagesMatchesReference) {
  std::mt19937 rng(6);
  for (const B::Kernels* fast : FastKernels()) {
    for (int round = 0; round < 150; ++round) {
      const int w = 1 + static_cast<int>(rng() % 60), h = 1 + static_cast<int>(rng() % 40);
      MemoryImage source = RandomImage(rng, 1 + static_cast<int>(rng() % 50), 1 + static_cast<int>(rng() % 30),
                                       static_cast<int>(rng() % 5));
      if (rng() % 4 == 0) source.Palletize();
      MemoryImage base = RandomImage(rng, w, h, rng() & 1 ? 2 : static_cast<int>(rng() % 5));
      if (rng() & 1) base.SetImageMode(false, false);
      std::vector<std::uint32_t> results[2];
      for (int pass = 0; pass < 2; ++pass) {
        B::SetActiveKernels(pass == 0 ? &B::ScalarKernels() : fast);
        std::mt19937 drawRng(static_cast<std::uint32_t>(round));
        MemoryImage dest(base);
        Graphics g(&dest);
        for (int op = 0; op < 6; ++op) {
          g.PushState();
          g.ClipRect(static_cast<int>(drawRng() % 30) - 5, static_cast<int>(drawRng() % 20) - 5,
                     static_cast<int>(drawRng() % 70), static_cast<int>(drawRng() % 50));
          const Color colors[] = {Color::White, Color(128, 128, 128, 255), Color(200, 40, 90, 130),
                                  Color(255, 255, 255, 77), Color(10, 20, 30, 0)};
          g.SetColor(colors[drawRng() % 5]);
          g.SetColorizeImages(drawRng() & 1);
          g.SetDrawMode(static_cast<int>(drawRng() % 2));
          const int x = static_cast<int>(drawRng() % 70) - 20, y = static_cast<int>(drawRng() % 50) - 15;
          switch (drawRng() % 6) {
            case 0:
              g.DrawImage(&source, x, y);
              break;
            case 1:
              g.FillRect(x, y, static_cast<int>(drawRng() % 40), static_cast<int>(drawRng() % 40));
              break;
            case 2:
              g.DrawImage(&source, Rect(x, y, 35, 17), Rect(0, 0, source.width, source.height));
              break;
            case 3:
              g.DrawImageMirror(&source, x, y, Rect(0, 0, source.width, source.height));
              break;
            case 4:
              g.DrawImageRotated(&source, x, y, 0.3 * static_cast<double>(drawRng() % 20), 4, 7);
              break;
            default:
              g.DrawLine(x, y, static_cast<int>(drawRng() % 60), static_cast<int>(drawRng() % 40));
              break;
          }
          g.PopState();
        }
        results[pass] = Pixels(dest);
      }
      B::SetActiveKernels(nullptr);
      ASSERT_EQ(results[0], results[1]) << fast->name << " round " << round;
    }
  }
}

}  // namespace
