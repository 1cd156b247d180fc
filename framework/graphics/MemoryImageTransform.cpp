// Blits that resample the source: stretching (nearest pixel or smooth),
// mirrored stretching, rotation and general matrices. Each destination pixel
// centre is mapped back into the source by an affine transform; the sampled
// row then goes through the same blend formulas as a plain blit.

#include <algorithm>
#include <cmath>

#include "framework/graphics/BlitPlan.h"
#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

// Samples a source rectangle at source coordinates (u, v), pixel centres at
// half-integers. Outside the rectangle the edge pixel is used (clamp) or the
// sample is transparent.
class Sampler {
 public:
  Sampler(BlitSource& source, const Rect& rect, bool clamp) : src(source), area(rect), clampToEdge(clamp) {}

  std::uint32_t Nearest(double u, double v) const {
    int x = static_cast<int>(std::floor(u));
    int y = static_cast<int>(std::floor(v));
    if (clampToEdge) {
      x = std::clamp(x, area.x, area.Right() - 1);
      y = std::clamp(y, area.y, area.Bottom() - 1);
    }
    return Tap(x, y);
  }

  // Bilinear, with colours weighted by their alpha so that transparent
  // neighbours do not darken edges.
  std::uint32_t Smooth(double u, double v) const {
    // Positions on a grid of 1/256 pixel, so that rounding noise of a
    // transform cannot pull in a neighbour.
    const long long fx = std::llround((u - 0.5) * 256.0), fy = std::llround((v - 0.5) * 256.0);
    const int ix = static_cast<int>(fx >> 8), iy = static_cast<int>(fy >> 8);
    const int wx = static_cast<int>(fx & 255), wy = static_cast<int>(fy & 255);
    const std::uint32_t taps[4] = {Tap2(ix, iy), Tap2(ix + 1, iy), Tap2(ix, iy + 1), Tap2(ix + 1, iy + 1)};
    const int weights[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
    std::uint64_t alphaSum = 0, channelSum[3] = {0, 0, 0};
    for (int i = 0; i < 4; ++i) {
      const std::uint64_t aw = static_cast<std::uint64_t>(taps[i] >> 24) * weights[i];
      alphaSum += aw;
      for (int c = 0; c < 3; ++c) channelSum[c] += ((taps[i] >> (16 - 8 * c)) & 0xFF) * aw;
    }
    if (alphaSum == 0) return 0;
    const std::uint32_t alpha = static_cast<std::uint32_t>((alphaSum + 32768) >> 16);
    std::uint32_t out = std::min<std::uint32_t>(alpha, 255) << 24;
    for (int c = 0; c < 3; ++c) {
      const std::uint64_t value = std::min<std::uint64_t>(255, (channelSum[c] + alphaSum / 2) / alphaSum);
      out |= static_cast<std::uint32_t>(value) << (16 - 8 * c);
    }
    return out;
  }

 private:
  std::uint32_t Tap(int x, int y) const { return area.Contains(x, y) ? src.Pixel(x, y) : 0; }
  std::uint32_t Tap2(int x, int y) const {
    if (clampToEdge) {
      x = std::clamp(x, area.x, area.Right() - 1);
      y = std::clamp(y, area.y, area.Bottom() - 1);
    }
    return Tap(x, y);
  }

  BlitSource& src;
  Rect area;
  bool clampToEdge;
};

bool Finite(double v) { return std::isfinite(v) && std::fabs(v) < 1e8; }

}  // namespace

// `inverse` maps a destination point (px, py) to the source point
// (inverse[0] px + inverse[1] py + inverse[2], inverse[3] px + inverse[4] py + inverse[5]).
void MemoryImage::TransformBlit(MemoryImage& src, const double inverse[6], const Rect& area, const Rect& srcRect,
                                bool clampToSource, bool smooth, const Color& color, int drawMode) {
  if (&src == this) {
    MemoryImage copy(src);
    copy.CommitBits();
    TransformBlit(copy, inverse, area, srcRect, clampToSource, smooth, color, drawMode);
    return;
  }
  for (int i = 0; i < 6; ++i) {
    if (!Finite(inverse[i])) return;
  }
  const Rect d = area.Intersection(Rect(0, 0, width, height));
  if (d.IsEmpty()) return;
  src.CommitBits();
  const BlitPlan plan(*this, src, color, drawMode);
  if (plan.GetKind() == BlitPlan::kNothing) return;
  GetBits();
  BlitSource source(src);
  const Sampler sampler(source, srcRect, clampToSource);
  std::vector<std::uint32_t> row(static_cast<std::size_t>(d.w));
  for (int y = d.y; y < d.Bottom(); ++y) {
    const double cy = y + 0.5;
    for (int i = 0; i < d.w; ++i) {
      const double cx = d.x + i + 0.5;
      // Far outside the source is as good as just outside it.
      const double u = std::clamp(inverse[0] * cx + inverse[1] * cy + inverse[2], -1e6, 1e6);
      const double v = std::clamp(inverse[3] * cx + inverse[4] * cy + inverse[5], -1e6, 1e6);
      row[i] = smooth ? sampler.Smooth(u, v) : sampler.Nearest(u, v);
    }
    plan.Row(Row(y) + d.x, row.data(), d.w);
  }
  BitsChanged();
}

void MemoryImage::StretchBltImpl(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                                 const Color& color, int drawMode, bool fastStretch, bool mirror) {
  auto* src = dynamic_cast<MemoryImage*>(image);
  if (!src || destRect.IsEmpty() || srcRect.IsEmpty()) return;
  if (!Rect(0, 0, src->width, src->height).Contains(srcRect)) return;
  const double scaleX = static_cast<double>(srcRect.w) / destRect.w;
  const double scaleY = static_cast<double>(srcRect.h) / destRect.h;
  double inverse[6] = {scaleX, 0, srcRect.x - destRect.x * scaleX, 0, scaleY, srcRect.y - destRect.y * scaleY};
  if (mirror) {
    inverse[0] = -scaleX;
    inverse[2] = srcRect.x + srcRect.w + destRect.x * scaleX;
  }
  const Rect area = destRect.Intersection(clipRect);
  TransformBlit(*src, inverse, area, srcRect, true, !fastStretch, color, drawMode);
}

void MemoryImage::StretchBlt(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int drawMode, bool fastStretch) {
  StretchBltImpl(image, destRect, srcRect, clipRect, color, drawMode, fastStretch, false);
}

void MemoryImage::StretchBltMirror(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                                   const Color& color, int drawMode, bool fastStretch) {
  StretchBltImpl(image, destRect, srcRect, clipRect, color, drawMode, fastStretch, true);
}

void MemoryImage::BltMatrix(Image* image, float x, float y, const Matrix3& matrix, const Rect& clipRect,
                            const Color& color, int drawMode, const Rect& srcRect, bool blend) {
  auto* src = dynamic_cast<MemoryImage*>(image);
  if (!src || srcRect.IsEmpty() || !Rect(0, 0, src->width, src->height).Contains(srcRect)) return;
  // Forward map: dest = M * (source point - source centre) + (x, y).
  const double a = matrix.m[0][0], b = matrix.m[0][1], c = matrix.m[0][2] + x;
  const double d = matrix.m[1][0], e = matrix.m[1][1], f = matrix.m[1][2] + y;
  const double det = a * e - b * d;
  if (!Finite(det) || std::fabs(det) < 1e-12) return;
  const double centreX = srcRect.x + srcRect.w / 2.0, centreY = srcRect.y + srcRect.h / 2.0;
  // Bounding box of the transformed source corners.
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  for (int corner = 0; corner < 4; ++corner) {
    const double lx = (corner & 1 ? srcRect.Right() : srcRect.x) - centreX;
    const double ly = (corner & 2 ? srcRect.Bottom() : srcRect.y) - centreY;
    const double px = a * lx + b * ly + c, py = d * lx + e * ly + f;
    minX = std::min(minX, px), maxX = std::max(maxX, px), minY = std::min(minY, py), maxY = std::max(maxY, py);
  }
  if (!Finite(minX) || !Finite(maxX) || !Finite(minY) || !Finite(maxY)) return;
  const int left = static_cast<int>(std::floor(minX)), top = static_cast<int>(std::floor(minY));
  const Rect box(left, top, static_cast<int>(std::ceil(maxX)) - left, static_cast<int>(std::ceil(maxY)) - top);
  // Inverse: local = M^-1 (p - t); source = local + centre.
  const double ia = e / det, ib = -b / det, id = -d / det, ie = a / det;
  const double inverse[6] = {ia, ib, -(ia * c + ib * f) + centreX, id, ie, -(id * c + ie * f) + centreY};
  TransformBlit(*src, inverse, box.Intersection(clipRect), srcRect, false, blend, color, drawMode);
}

void MemoryImage::BltRotated(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int drawMode, double rot, float rotCenterX, float rotCenterY) {
  // Rotating about the pivot P = (x, y) + r of an image whose centre lies at
  // (x, y) + c: dest = R (local) + P + R (c - r).
  const double cosR = std::cos(rot), sinR = std::sin(rot);
  Matrix3 m;
  m.m[0][0] = cosR;
  m.m[0][1] = sinR;
  m.m[1][0] = -sinR;
  m.m[1][1] = cosR;
  const double cx = srcRect.w / 2.0 - rotCenterX, cy = srcRect.h / 2.0 - rotCenterY;
  m.m[0][2] = cosR * cx + sinR * cy;
  m.m[1][2] = -sinR * cx + cosR * cy;
  BltMatrix(image, x + rotCenterX, y + rotCenterY, m, clipRect, color, drawMode, srcRect, true);
}

}  // namespace Zing
