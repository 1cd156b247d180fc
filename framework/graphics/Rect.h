#pragma once

// An integer rectangle: x, y, width and height.

#include <algorithm>

namespace Zing {

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;

  constexpr Rect() = default;
  constexpr Rect(int left, int top, int width, int height) : x(left), y(top), w(width), h(height) {}

  constexpr bool IsEmpty() const { return w <= 0 || h <= 0; }
  constexpr int Right() const { return x + w; }
  constexpr int Bottom() const { return y + h; }
  constexpr bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  // Whether `other` lies wholly inside this rectangle.
  constexpr bool Contains(const Rect& other) const {
    return other.x >= x && other.y >= y && other.x + other.w <= x + w && other.y + other.h <= y + h;
  }

  // The overlap of the two rectangles; an empty overlap has a width or height
  // of 0 (never negative).
  constexpr Rect Intersection(const Rect& other) const {
    // Edges in 64 bits, so that rectangles near the ends of the int range
    // cannot overflow.
    const long long left = std::max(x, other.x);
    const long long top = std::max(y, other.y);
    const long long right = std::min(static_cast<long long>(x) + w, static_cast<long long>(other.x) + other.w);
    const long long bottom = std::min(static_cast<long long>(y) + h, static_cast<long long>(other.y) + other.h);
    if (right <= left || bottom <= top) return Rect(static_cast<int>(left), static_cast<int>(top), 0, 0);
    return Rect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                static_cast<int>(bottom - top));
  }

  constexpr bool operator==(const Rect&) const = default;
};

}  // namespace Zing
