// Drawing into a memory image: fills, lines and blits at a point.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/graphics/BlitPlan.h"
#include "framework/graphics/LineClip.h"
#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

std::uint32_t Clamp255(int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); }

std::uint32_t PackColor(const Color& c) {
  return (Clamp255(c.a) << 24) | (Clamp255(c.r) << 16) | (Clamp255(c.g) << 8) | Clamp255(c.b);
}

// One pixel under the fill rule: alpha 255 replaces, alpha 0 keeps.
std::uint32_t FillOne(std::uint32_t d, std::uint32_t color) {
  const std::uint32_t a = color >> 24;
  if (a == 255) return color;
  if (a == 0) return d;
  return Blend::FillPixel(d, color);
}

// Adds the colour, scaled by its alpha, keeping the destination alpha.
std::uint32_t AddOne(std::uint32_t d, std::uint32_t color) {
  const std::uint32_t a = color >> 24;
  std::uint32_t out = d & 0xFF000000;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t amount = ((color >> shift) & 0xFF) * a / 255;
    out |= std::min<std::uint32_t>(255, ((d >> shift) & 0xFF) + amount) << shift;
  }
  return out;
}

int RoundToInt(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9)));
}

}  // namespace

void MemoryImage::FillRect(const Rect& rect, const Color& color, int) {
  const std::uint32_t packed = PackColor(color);
  const Rect area = rect.Intersection(Rect(0, 0, width, height));
  if (area.IsEmpty() || (packed >> 24) == 0) return;
  GetBits();
  const Blend::Kernels& kernels = Blend::ActiveKernels();
  for (int y = area.y; y < area.Bottom(); ++y) {
    std::uint32_t* row = Row(y) + area.x;
    if ((packed >> 24) == 255) {
      std::fill_n(row, area.w, packed);
    } else {
      kernels.fill(row, area.w, packed);
    }
  }
  BitsChanged();
}

void MemoryImage::ClearRect(const Rect& rect) {
  const Rect area = rect.Intersection(Rect(0, 0, width, height));
  if (area.IsEmpty()) return;
  GetBits();
  for (int y = area.y; y < area.Bottom(); ++y) std::fill_n(Row(y) + area.x, area.w, 0u);
  BitsChanged();
}

// Vertical and horizontal lines are 1-wide fills (whatever the mode); other
// lines step from end to end one pixel per step along the longer axis
// (Bresenham), each pixel blended normally or added, and clipped to the image.
void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) {
  // Only the part on the image is stepped through, however long the line.
  const Rect bounds(0, 0, width, height);
  const bool vertical = RoundToInt(x1) == RoundToInt(x2), horizontal = RoundToInt(y1) == RoundToInt(y2);
  if (!vertical && !horizontal && !ClipLine(x1, y1, x2, y2, bounds)) return;
  int ax = RoundToInt(x1), ay = RoundToInt(y1), bx = RoundToInt(x2), by = RoundToInt(y2);
  if (ax == bx) {
    FillRect(Rect(ax, std::min(ay, by), 1, std::abs(by - ay) + 1), color, drawMode);
    return;
  }
  if (ay == by) {
    FillRect(Rect(std::min(ax, bx), ay, std::abs(bx - ax) + 1, 1), color, drawMode);
    return;
  }
  if (drawMode != kDrawModeNormal && drawMode != kDrawModeAdditive) return;
  const std::uint32_t packed = PackColor(color);
  if ((packed >> 24) == 0) return;
  GetBits();
  const long long dx = std::llabs(static_cast<long long>(bx) - ax);
  const long long dy = -std::llabs(static_cast<long long>(by) - ay);
  const int stepX = ax < bx ? 1 : -1;
  const int stepY = ay < by ? 1 : -1;
  long long error = dx + dy;
  for (;;) {
    if (ax >= 0 && ay >= 0 && ax < width && ay < height) {
      std::uint32_t& p = Row(ay)[ax];
      p = drawMode == kDrawModeAdditive ? AddOne(p, packed) : FillOne(p, packed);
    }
    if (ax == bx && ay == by) break;
    const long long twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      ax += stepX;
    }
    if (twice <= dx) {
      error += dx;
      ay += stepY;
    }
  }
  BitsChanged();
}

void MemoryImage::FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int,
                                            const std::uint8_t* coverage, int coverX, int coverY, int coverW,
                                            int coverH) {
  if (!spans || count <= 0 || !coverage) return;
  const std::uint32_t packed = PackColor(color);
  GetBits();
  for (int i = 0; i < count; ++i) {
    const Span& span = spans[i];
    if (span.y < 0 || span.y >= height) continue;
    const int left = std::max(span.x, 0);
    const int right = std::min(span.x + span.width, width);
    for (int x = left; x < right; ++x) {
      const int cx = x - coverX, cy = span.y - coverY;
      if (cx < 0 || cy < 0 || cx >= coverW || cy >= coverH) continue;
      const std::uint32_t a = (packed >> 24) * coverage[static_cast<std::size_t>(cy) * coverW + cx] / 255;
      std::uint32_t& p = Row(span.y)[x];
      p = FillOne(p, (packed & 0x00FFFFFF) | (a << 24));
    }
  }
  BitsChanged();
}

void MemoryImage::BlitClipped(MemoryImage& src, int x, int y, const Rect& srcRect, const Rect& clip, const Color& color,
                              int drawMode, bool mirror) {
  if (&src == this) {
    MemoryImage copy(src);
    copy.CommitBits();
    BlitClipped(copy, x, y, srcRect, clip, color, drawMode, mirror);
    return;
  }
  src.CommitBits();
  const Rect s = srcRect.Intersection(Rect(0, 0, src.width, src.height));
  if (s.IsEmpty()) return;
  // Where the part of the source that exists lands.
  const int landX = x + (mirror ? srcRect.Right() - s.Right() : s.x - srcRect.x);
  const int landY = y + (s.y - srcRect.y);
  const Rect d = Rect(landX, landY, s.w, s.h).Intersection(clip).Intersection(Rect(0, 0, width, height));
  if (d.IsEmpty()) return;
  const BlitPlan plan(*this, src, color, drawMode);
  if (plan.GetKind() == BlitPlan::kNothing) return;
  GetBits();
  BlitSource source(src);
  const int sy = s.y + (d.y - landY);
  std::vector<std::uint32_t> reversed;
  for (int row = 0; row < d.h; ++row) {
    std::uint32_t* out = Row(d.y + row) + d.x;
    if (mirror) {
      reversed.resize(static_cast<std::size_t>(d.w));
      const int firstColumn = s.Right() - 1 - (d.x - landX);
      for (int i = 0; i < d.w; ++i) reversed[i] = source.Pixel(firstColumn - i, sy + row);
      plan.Row(out, reversed.data(), d.w);
      continue;
    }
    const int sx = s.x + (d.x - landX);
    plan.Row(out, source.Row(sx, sy + row, d.w), d.w);
  }
  BitsChanged();
}

void MemoryImage::Blt(Image* image, int x, int y, const Rect& srcRect, const Color& color, int drawMode) {
  auto* src = dynamic_cast<MemoryImage*>(image);
  if (!src) return;
  BlitClipped(*src, x, y, srcRect, Rect(0, 0, width, height), color, drawMode, false);
}

void MemoryImage::BltMirror(Image* image, int x, int y, const Rect& srcRect, const Color& color, int drawMode) {
  auto* src = dynamic_cast<MemoryImage*>(image);
  if (!src) return;
  BlitClipped(*src, x, y, srcRect, Rect(0, 0, width, height), color, drawMode, true);
}

void MemoryImage::BltF(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                       int drawMode) {
  auto* src = dynamic_cast<MemoryImage*>(image);
  if (!src) return;
  BlitClipped(*src, RoundToInt(x), RoundToInt(y), srcRect, clipRect, color, drawMode, false);
}

}  // namespace Zing
