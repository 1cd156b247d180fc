#pragma once

// Clipping a line segment to the pixels of a rectangle.

#include "framework/graphics/Rect.h"

namespace Zing {

// Clips the segment first against the left and right edges, then against the
// top and bottom ones (the right and bottom edges being the last pixels
// inside). An end beyond an edge moves onto it along the line. False when
// nothing remains.
inline bool ClipLine(double& x1, double& y1, double& x2, double& y2, const Rect& clip) {
  if (clip.IsEmpty()) return false;
  const double left = clip.x, right = static_cast<double>(clip.x) + clip.w - 1;
  const double top = clip.y, bottom = static_cast<double>(clip.y) + clip.h - 1;
  // Moves the end (ax, ay) along the line towards (bx, by) onto x = edge, or y = edge.
  const auto onX = [](double& ax, double& ay, double bx, double by, double edge) {
    ay += (by - ay) * (edge - ax) / (bx - ax);
    ax = edge;
  };
  const auto onY = [](double& ax, double& ay, double bx, double by, double edge) {
    ax += (bx - ax) * (edge - ay) / (by - ay);
    ay = edge;
  };
  if (!(x1 >= left || x2 >= left) || !(x1 <= right || x2 <= right)) return false;  // also refuses NaN
  if (x1 < left) onX(x1, y1, x2, y2, left);
  if (x2 < left) onX(x2, y2, x1, y1, left);
  if (x1 > right) onX(x1, y1, x2, y2, right);
  if (x2 > right) onX(x2, y2, x1, y1, right);
  if (!(y1 >= top || y2 >= top) || !(y1 <= bottom || y2 <= bottom)) return false;
  if (y1 < top) onY(x1, y1, x2, y2, top);
  if (y2 < top) onY(x2, y2, x1, y1, top);
  if (y1 > bottom) onY(x1, y1, x2, y2, bottom);
  if (y2 > bottom) onY(x2, y2, x1, y1, bottom);
  return true;
}

}  // namespace Zing
