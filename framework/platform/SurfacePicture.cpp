// Scaling into the window's memory. At a whole-number scale s, picture row y
// becomes target rows y*s .. y*s+s-1: the first is written pixel by pixel,
// the others are copies of it. Whether a row changed is read back from the
// target itself (every s-th pixel of its first row), so no second copy of
// the picture is kept. A picture shrunk below its own size (a screen smaller
// than 640 x 480) is written whole, every time.

#include "framework/platform/SurfacePicture.h"

#include <algorithm>
#include <cstring>

namespace Zing::Platform {

namespace {

constexpr std::uint32_t kBarColor = 0xFF000000;

std::uint32_t* Row(const PixelTarget& target, int y) {
  return target.pixels + static_cast<std::ptrdiff_t>(y) * target.pitch;
}

void AddBand(std::vector<RowBand>& written, int y, int h) {
  if (h <= 0) return;
  if (!written.empty() && written.back().y + written.back().h == y) {
    written.back().h += h;
    return;
  }
  written.push_back({y, h});
}

// The bars: everything of the target outside the placement.
void ClearBars(const PixelTarget& target, const ScreenRect& at) {
  const int left = std::clamp(at.x, 0, target.width);
  const int right = std::clamp(at.x + at.w, left, target.width);
  const int top = std::clamp(at.y, 0, target.height);
  const int bottom = std::clamp(at.y + at.h, top, target.height);
  for (int y = 0; y < target.height; ++y) {
    std::uint32_t* row = Row(target, y);
    if (y < top || y >= bottom) {
      std::fill(row, row + target.width, kBarColor);
      continue;
    }
    std::fill(row, row + left, kBarColor);
    std::fill(row + right, row + target.width, kBarColor);
  }
}

// Whether the target's first row of picture row `source` already shows it.
bool RowShows(const std::uint32_t* source, int width, const std::uint32_t* out, int scale) {
  if (scale == 1) return std::memcmp(source, out, static_cast<std::size_t>(width) * sizeof *out) == 0;
  for (int x = 0; x < width; ++x)
    if (out[static_cast<std::ptrdiff_t>(x) * scale] != source[x]) return false;
  return true;
}

void WidenRow(const std::uint32_t* source, int width, std::uint32_t* out, int scale) {
  if (scale == 1) {
    std::memcpy(out, source, static_cast<std::size_t>(width) * sizeof *out);
    return;
  }
  for (int x = 0; x < width; ++x, out += scale) std::fill(out, out + scale, source[x]);
}

// Whole-number scale with the placement entirely inside the target.
void PutScaled(const std::uint32_t* picture, int width, int height, const PixelTarget& target, const ScreenRect& at,
               int scale, bool everything, std::vector<RowBand>& written) {
  const std::size_t rowBytes = static_cast<std::size_t>(at.w) * sizeof(std::uint32_t);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* source = picture + static_cast<std::ptrdiff_t>(y) * width;
    std::uint32_t* first = Row(target, at.y + y * scale) + at.x;
    if (!everything && RowShows(source, width, first, scale)) continue;
    WidenRow(source, width, first, scale);
    for (int copy = 1; copy < scale; ++copy) std::memcpy(Row(target, at.y + y * scale + copy) + at.x, first, rowBytes);
    AddBand(written, at.y + y * scale, scale);
  }
}

// Any other placement: each target pixel takes the picture pixel it covers.
void PutStretched(const std::uint32_t* picture, int width, int height, const PixelTarget& target,
                  const ScreenRect& at) {
  const int x0 = std::max(0, at.x), x1 = std::min(target.width, at.x + at.w);
  const int y0 = std::max(0, at.y), y1 = std::min(target.height, at.y + at.h);
  for (int y = y0; y < y1; ++y) {
    const auto sy = static_cast<std::ptrdiff_t>(static_cast<std::int64_t>(y - at.y) * height / at.h);
    const std::uint32_t* source = picture + sy * width;
    std::uint32_t* out = Row(target, y);
    for (int x = x0; x < x1; ++x) out[x] = source[static_cast<std::int64_t>(x - at.x) * width / at.w];
  }
}

}  // namespace

void PutPicture(const std::uint32_t* picture, int width, int height, const PixelTarget& target,
                const ScreenRect& placement, bool everything, std::vector<RowBand>& written) {
  if (!picture || !target.pixels || width <= 0 || height <= 0 || target.width <= 0 || target.height <= 0 ||
      placement.w <= 0 || placement.h <= 0)
    return;
  const int scale = placement.w / width;
  const bool whole = scale >= 1 && placement.w == width * scale && placement.h == height * scale && placement.x >= 0 &&
                     placement.y >= 0 && placement.x + placement.w <= target.width &&
                     placement.y + placement.h <= target.height;
  if (whole && !everything) {
    PutScaled(picture, width, height, target, placement, scale, false, written);
    return;
  }
  ClearBars(target, placement);
  if (whole) {
    std::vector<RowBand> ignored;
    PutScaled(picture, width, height, target, placement, scale, true, ignored);
  } else {
    PutStretched(picture, width, height, target, placement);
  }
  AddBand(written, 0, target.height);
}

}  // namespace Zing::Platform
