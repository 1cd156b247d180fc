#pragma once

// The pixel blends of memory images, one row at a time. The scalar versions
// in BlendScalar.cpp are the reference: they spell out the integer formulas
// pixel by pixel. The SSE2 and AVX2 versions compute exactly the same bits,
// several pixels at a time; `ActiveKernels` picks the fastest one the
// processor runs. Pixels are 0xAARRGGBB words.

#include <cstddef>
#include <cstdint>

namespace Zing::Blend {

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

// A glyph's blend worked out in advance, for the pixels of one colour: over
// a destination pixel d every channel (alpha too) becomes
// pre + (d * keep) >> 8. A pixel that changes nothing keeps 256 in every
// channel; any other keeps 0 in alpha with 255 in `pre`, so the result is
// opaque. Blocks of eight pixels; `keep` holds 16-bit multipliers, channels
// blue, green, red, alpha, the pixels in the order 0 1 4 5 2 3 6 7 (the order
// in which a wide register splits into halves), so that the vector code
// multiplies straight from the table. `pre` never carries into the next channel.
struct alignas(32) PresetBlock {
  static constexpr int kPixels = 8;
  std::uint32_t pre[kPixels];
  std::uint16_t keep[kPixels * 4];
  // The index in `keep` of channel 0 of pixel i.
  static constexpr int KeepAt(int i) { return 4 * ((i & 1) | ((i & 4) >> 1) | ((i & 2) << 1)); }
};

// Rows of a glyph with the same span: `blocks` blocks from column x of the
// glyph (none: rows left as they are).
struct PresetRun {
  int x;
  int blocks;
  int rows;
};

// Where a glyph's preset drawing stands: the next row to draw.
struct PresetCursor {
  std::uint32_t* dst;        // the glyph's column 0 in that row
  std::ptrdiff_t pitch;      // destination pixels from one row to the next
  const PresetBlock* table;  // the row's first block
  const PresetRun* run;      // the run the row belongs to, and the end of the runs
  const PresetRun* end;
  int row;  // rows of *run done before it
  // Moves to the next row (without drawing the one at the cursor).
  void Skip() {
    dst += pitch;
    table += run->blocks;
    if (++row == run->rows) ++run, row = 0;
  }
  // Moves past the rest of the run.
  void SkipRun() {
    dst += pitch * (run->rows - row);
    table += static_cast<std::ptrdiff_t>(run->blocks) * (run->rows - row);
    ++run, row = 0;
  }
};

// Draws the rows from the cursor on, each block of the table over the
// destination pixels it lies on. With `checkOpaque`, stops before a row whose
// destination is not wholly opaque (the cursor at that row, nothing of it
// drawn) and returns false: the caller blends that row by the formulas below.
using PresetGlyphFn = bool (*)(PresetCursor& at, bool checkOpaque);

struct Kernels {
  const char* name;
  FillRowFn fill;
  OpaqueRowFn opaque;
  TintRowFn tint;
  AddRowFn add;
  PresetGlyphFn presetGlyph;
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
std::uint32_t PresetPixel(std::uint32_t d, const PresetBlock& block, int i);

}  // namespace Zing::Blend
