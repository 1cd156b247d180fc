#include <algorithm>

#include "framework/graphics/Blend.h"

namespace Zing::Blend {

namespace {

constexpr std::uint32_t Channel(std::uint32_t p, int shift) { return (p >> shift) & 0xFF; }

// The alpha that results from laying alpha `a` over alpha `dA`, and the weight
// f (0..255) of the new colour in the mix.
struct Over {
  std::uint32_t newA;
  std::uint32_t f;
};
constexpr Over OverAlpha(std::uint32_t dA, std::uint32_t a) {
  const std::uint32_t newA = dA + (255 - dA) * a / 255;
  return {newA, a * 255 / newA};
}

}  // namespace

std::uint32_t FillPixel(std::uint32_t d, std::uint32_t color) {
  const std::uint32_t a = color >> 24;
  if (a == 0) return d;
  const Over over = OverAlpha(d >> 24, a);
  std::uint32_t out = over.newA << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t c = (Channel(d, shift) * (256 - over.f) + Channel(color, shift) * over.f) >> 8;
    out |= c << shift;
  }
  return out;
}

std::uint32_t OpaquePixel(std::uint32_t d, std::uint32_t s) {
  const std::uint32_t a = s >> 24;
  if (a == 255) return s;
  if (a == 0) return d;
  std::uint32_t out = 0xFF000000;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t c = ((Channel(d, shift) * (256 - a)) >> 8) + ((Channel(s, shift) * a) >> 8);
    out |= c << shift;
  }
  return out;
}

std::uint32_t TintPixel(std::uint32_t d, std::uint32_t s, const TintParams& params) {
  const std::uint32_t a = (s >> 24) * params.alpha / 255;
  if (a == 0) return d;
  const Over over = OverAlpha(d >> 24, a);
  std::uint32_t out = over.newA << 24;
  for (int i = 0; i < 3; ++i) {
    const int shift = 16 - 8 * i;  // red, green, blue
    const std::uint32_t sc = Channel(s, shift);
    const std::uint32_t kept = (Channel(d, shift) * (256 - over.f)) >> 8;
    const std::uint32_t added =
        params.grey ? (((sc * params.k[0]) >> 8) * over.f) >> 8 : (sc * over.f * params.k[i]) >> 16;
    out |= (added + kept) << shift;
  }
  return out;
}

std::uint32_t AddPixel(std::uint32_t d, std::uint32_t s, const AddParams& params) {
  const std::uint32_t sA = s >> 24;
  if (sA == 0) return d;  // a transparent pixel adds nothing, whatever its colour bytes hold
  std::uint32_t out = d & 0xFF000000;
  for (int i = 0; i < 3; ++i) {
    const int shift = 16 - 8 * i;
    std::uint32_t amount = params.white ? Channel(s, shift) : (Channel(s, shift) * params.k[i]) >> 8;
    if (params.sourceAlpha) amount = (amount * sA) >> 8;
    out |= std::min<std::uint32_t>(255, Channel(d, shift) + amount) << shift;
  }
  return out;
}

std::uint32_t PresetPixel(std::uint32_t d, const PresetBlock& block, int i) {
  const std::uint16_t* keep = block.keep + PresetBlock::KeepAt(i);
  std::uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= (Channel(block.pre[i], 8 * c) + ((Channel(d, 8 * c) * keep[c]) >> 8)) << (8 * c);
  return out;
}

namespace {

void FillRow(std::uint32_t* dst, int n, std::uint32_t color) {
  for (int i = 0; i < n; ++i) dst[i] = FillPixel(dst[i], color);
}
void OpaqueRow(std::uint32_t* dst, const std::uint32_t* src, int n) {
  for (int i = 0; i < n; ++i) dst[i] = OpaquePixel(dst[i], src[i]);
}
void TintRow(std::uint32_t* dst, const std::uint32_t* src, int n, const TintParams& params) {
  for (int i = 0; i < n; ++i) dst[i] = TintPixel(dst[i], src[i], params);
}
void AddRow(std::uint32_t* dst, const std::uint32_t* src, int n, const AddParams& params) {
  for (int i = 0; i < n; ++i) dst[i] = AddPixel(dst[i], src[i], params);
}

// Whether the destination under a row's blocks is wholly opaque.
bool RowOpaque(const std::uint32_t* dst, int pixels) {
  for (int i = 0; i < pixels; ++i)
    if ((dst[i] >> 24) != 255) return false;
  return true;
}

bool PresetGlyph(PresetCursor& at, bool checkOpaque) {
  while (at.run != at.end) {
    std::uint32_t* out = at.dst + at.run->x;
    const int blocks = at.run->blocks;
    if (blocks == 0) {
      at.SkipRun();
      continue;
    }
    if (checkOpaque && !RowOpaque(out, blocks * PresetBlock::kPixels)) return false;
    for (int b = 0; b < blocks; ++b, out += PresetBlock::kPixels)
      for (int i = 0; i < PresetBlock::kPixels; ++i) out[i] = PresetPixel(out[i], at.table[b], i);
    at.Skip();
  }
  return true;
}

}  // namespace

const Kernels& ScalarKernels() {
  static const Kernels kernels{"scalar", FillRow, OpaqueRow, TintRow, AddRow, PresetGlyph};
  return kernels;
}

}  // namespace Zing::Blend
