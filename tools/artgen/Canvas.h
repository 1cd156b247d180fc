// A drawing surface for the artwork: a cairo image surface with its context,
// plus the small drawing helpers every picture uses.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "tools/artgen/Palette.h"

namespace artgen {

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  cairo_t* Cr() const { return cr_; }
  cairo_surface_t* Surface() const { return surface_; }

  // Pixels as 0xAARRGGBB with straight (not premultiplied) alpha, rows top to bottom.
  std::vector<uint32_t> Pixels() const;
  // Draws another canvas with its top-left corner at (x, y).
  void Paint(const Canvas& other, double x, double y, double alpha = 1.0);
  // Blurs every channel with three box passes of the given radius.
  void Blur(int radius);

 private:
  int width_ = 0;
  int height_ = 0;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

// Path helpers.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void SetColour(cairo_t* cr, Colour c, double alpha = 1.0);

// A vertical linear gradient from top colour to bottom colour over [y0, y1].
void FillVertical(cairo_t* cr, double y0, double y1, Colour top, Colour bottom, double alpha = 1.0);

// Draws the shape (a path-building function) as a soft shadow: filled in the
// colour, offset, blurred with the radius.
void SoftShadow(Canvas& target, const std::function<void(cairo_t*)>& shape, double dx, double dy, int radius,
                Colour colour, double alpha);

// A glow: like a shadow but painted additively-looking in a light colour.
void Glow(Canvas& target, const std::function<void(cairo_t*)>& shape, int radius, Colour colour, double alpha);

// The common look of a raised, softly lit tile lit from the top left:
// body gradient, bright upper-left rim, darker lower-right rim.
void BevelTile(cairo_t* cr, double x, double y, double w, double h, double r, Colour base, double depth = 1.0);

// A grid of cels, each drawn on a canvas of its own (so that blurs never
// bleed from one cel into the next) and then put together.
Canvas CelGrid(int cols, int rows, int celWidth, int celHeight,
               const std::function<void(Canvas& cel, int col, int row)>& draw);

}  // namespace artgen
