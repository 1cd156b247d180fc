// The preset glyph blends of the vector kernels give exactly the bits of the
// scalar reference and hand back the same rows, over random glyph runs and
// destinations with pixels that are not opaque. (The other blends are checked against
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

}  // namespace
