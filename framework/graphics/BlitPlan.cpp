#include "framework/graphics/BlitPlan.h"

#include <algorithm>

namespace Zing {

namespace {

std::uint32_t Clamp255(int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); }

}  // namespace

BlitPlan::BlitPlan(const MemoryImage& dest, const MemoryImage& src, const Color& color, int drawMode)
    : kernels(Blend::ActiveKernels()) {
  const std::uint32_t r = Clamp255(color.r), g = Clamp255(color.g), b = Clamp255(color.b), a = Clamp255(color.a);
  const bool white = r == 255 && g == 255 && b == 255 && a == 255;
  if (a == 0) return;  // a fully transparent colour draws nothing in any mode
  if (drawMode == Image::kDrawModeAdditive) {
    kind = kAdd;
    add.white = white;
    add.k[0] = r * a / 255;
    add.k[1] = g * a / 255;
    add.k[2] = b * a / 255;
    add.sourceAlpha = src.HasAlpha();
    if (!white && add.k[0] == 0 && add.k[1] == 0 && add.k[2] == 0) kind = kNothing;
    return;
  }
  if (white && !dest.HasAlpha() && !dest.HasTransparency()) {
    kind = kOpaque;
    return;
  }
  kind = kTint;
  tint.alpha = a;
  if (white) {
    tint.grey = true;
    tint.k[0] = tint.k[1] = tint.k[2] = 256;
  } else {
    tint.grey = r == g && g == b;
    tint.k[0] = r;
    tint.k[1] = g;
    tint.k[2] = b;
  }
}

void BlitPlan::Row(std::uint32_t* dst, const std::uint32_t* src, int n) const {
  switch (kind) {
    case kOpaque:
      kernels.opaque(dst, src, n);
      break;
    case kTint:
      kernels.tint(dst, src, n, tint);
      break;
    case kAdd:
      kernels.add(dst, src, n, add);
      break;
    case kNothing:
      break;
  }
}

BlitSource::BlitSource(MemoryImage& image) : stride(image.width) {
  if (image.IsPalletized()) {
    table = image.GetColorTable();
    indices = image.GetColorIndices();
  } else {
    bits = image.GetBits();
  }
}

const std::uint32_t* BlitSource::Row(int x, int y, int n) {
  const std::size_t start = static_cast<std::size_t>(y) * stride + x;
  if (!table) return bits + start;
  scratch.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) scratch[i] = table[indices[start + i]];
  return scratch.data();
}

}  // namespace Zing
