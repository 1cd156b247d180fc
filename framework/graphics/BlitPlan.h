#pragma once

// How one blit mixes its source into a memory image: the choice among the
// blend formulas made once per call from the colour, the draw mode and the
// transparency flags of both images, then applied row by row.
//
// The kernels look at a register of pixels at a time and copy it whole when
// it is opaque (onto an opaque destination) or leave it when it changes
// nothing, so runs of such pixels cost about as much as a plain copy without
// a separate pass over run lengths.

#include <cstdint>
#include <vector>

#include "framework/graphics/Blend.h"
#include "framework/graphics/MemoryImage.h"

namespace Zing {

class BlitPlan {
 public:
  enum Kind { kNothing, kOpaque, kTint, kAdd };

  BlitPlan(const MemoryImage& dest, const MemoryImage& src, const Color& color, int drawMode);

  Kind GetKind() const { return kind; }
  const Blend::TintParams& GetTint() const { return tint; }
  // Mixes n source pixels into n destination pixels.
  void Row(std::uint32_t* dst, const std::uint32_t* src, int n) const;

 private:
  Kind kind = kNothing;
  Blend::TintParams tint;
  Blend::AddParams add;
  const Blend::Kernels& kernels;
};

// Rows of a source image as 32-bit pixels, expanded from its palette into a
// scratch row when it has one.
class BlitSource {
 public:
  explicit BlitSource(MemoryImage& image);
  const std::uint32_t* Row(int x, int y, int n);
  std::uint32_t Pixel(int x, int y) const {
    const std::size_t i = static_cast<std::size_t>(y) * stride + x;
    return table ? table[indices[i]] : bits[i];
  }

 private:
  const std::uint32_t* bits = nullptr;
  const std::uint32_t* table = nullptr;
  const std::uint8_t* indices = nullptr;
  int stride = 0;
  std::vector<std::uint32_t> scratch;
};

}  // namespace Zing
