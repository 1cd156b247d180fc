#pragma once

// The pixel blends of memory images, one row at a time. The scalar versions
// in BlendScalar.cpp are the reference: they spell out the integer formulas
// pixel by pixel. The SSE2 and AVX2 versions compute exactly the same bits,
// several pixels at a time; `ActiveKernels` picks the fastest one the
// processor runs. Pixels are 0xAARRGGBB words.

#include <cstdint>

namespace Zing::Blend {

// Exact x / 255 for 0 <= x <= 65535 - 255 (every product of two bytes).
constexpr std::uint32_t Div255(std::uint32_t x) { return (x + 1 + (x >> 8)) >> 8; }

// A colourised or alpha-aware blend (the source scaled by a colour and an
// alpha, laid over a destination that may itself be transparent).
struct TintParams {
  std::uint32_t alpha = 255;  // colour alpha, 0..255
  bool grey = true;           // one multiplier for all channels (k[0])
  // Multipliers for red, green and blue: 0..255, or 256 to leave the source
  // channel as it is (grey only).
  std::uint32_t k[3] = {256, 256, 256};
};

// An additive blend: the (scaled) source is added to the destination with
// saturation; the destination alpha stays.
struct AddParams {
  bool white = true;                     // add the source channels unchanged
  std::uint32_t k[3] = {255, 255, 255};  // else scale them by k / 256 (red, green, blue)
  bool sourceAlpha = false;              // scale the amount by the source alpha / 256
};

// Fills with a colour whose alpha lies in 1..254.
using FillRowFn = void (*)(std::uint32_t* dst, int n, std::uint32_t color);
// The plain blit onto an opaque destination: alpha 255 copies, alpha 0 skips,
// anything between mixes and leaves the pixel opaque.
using OpaqueRowFn = void (*)(std::uint32_t* dst, const std::uint32_t* src, int n);
using TintRowFn = void (*)(std::uint32_t* dst, const std::uint32_t* src, int n, const TintParams& params);
using AddRowFn = void (*)(std::uint32_t* dst, const std::uint32_t* src, int n, const AddParams& params);

// A blend worked out in advance for one source pixel over an opaque
// destination pixel: every colour channel becomes pre + (d * keep) >> 8 and
// alpha stays 255. `keep` holds the multiplier (0..256) in both 16-bit
// halves; `pre` never carries into the next channel. Stops before the first
// block of pixels (at most a register wide) whose destination is not wholly
// opaque and returns how many pixels it did; the caller blends the rest by
// the formulas above.
using PresetRowFn = int (*)(std::uint32_t* dst, const std::uint32_t* pre, const std::uint32_t* keep, int n);
// The preset blend over `h` rows of `n` pixels, one glyph in one call:
// destination rows lie `dstPitch` pixels apart, table rows `tablePitch`
// apart. Returns how many rows it did whole; when that is less than h, the
// next row stopped as PresetRow stops, after `*partial` pixels.
using PresetRectFn = int (*)(std::uint32_t* dst, int dstPitch, const std::uint32_t* pre, const std::uint32_t* keep,
                             int tablePitch, int n, int h, int* partial);

struct Kernels {
  const char* name;
  FillRowFn fill;
  OpaqueRowFn opaque;
  TintRowFn tint;
  AddRowFn add;
  PresetRowFn preset;
  PresetRectFn presetRect;
};

const Kernels& ScalarKernels();
// Null when the processor (or the build) lacks the instructions.
const Kernels* Sse2Kernels();
const Kernels* Avx2Kernels();

// The kernels memory images use: the widest the processor supports.
const Kernels& ActiveKernels();
// Lets tests run the drawing code on one particular set; null restores the default.
void SetActiveKernels(const Kernels* kernels);

// The reference formulas for one pixel (used by the scalar kernels and for
// the few pixels at the end of a row that the vector kernels leave).
std::uint32_t FillPixel(std::uint32_t d, std::uint32_t color);
std::uint32_t OpaquePixel(std::uint32_t d, std::uint32_t s);
std::uint32_t TintPixel(std::uint32_t d, std::uint32_t s, const TintParams& params);
std::uint32_t AddPixel(std::uint32_t d, std::uint32_t s, const AddParams& params);
std::uint32_t PresetPixel(std::uint32_t d, std::uint32_t pre, std::uint32_t keep);

}  // namespace Zing::Blend
