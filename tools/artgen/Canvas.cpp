#include "tools/artgen/Canvas.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace artgen {

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo: cannot create a surface");
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      surface_(std::exchange(other.surface_, nullptr)),
      cr_(std::exchange(other.cr_, nullptr)) {}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(surface_, other.surface_);
  std::swap(cr_, other.cr_);
  return *this;
}

std::vector<uint32_t> Canvas::Pixels() const {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  std::vector<uint32_t> out(size_t(width_) * size_t(height_));
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < width_; ++x) {
      const uint32_t p = row[x];
      const uint32_t a = p >> 24;
      uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (a == 0) {
        r = g = b = 0;
      } else if (a < 255) {
        r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
        g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
        b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
      }
      out[size_t(y) * size_t(width_) + size_t(x)] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  return out;
}

void Canvas::Paint(const Canvas& other, double x, double y, double alpha) {
  cairo_save(cr_);
  cairo_set_source_surface(cr_, other.surface_, x, y);
  cairo_paint_with_alpha(cr_, alpha);
  cairo_restore(cr_);
}

namespace {

// One box-blur pass along rows (horizontal) or columns over premultiplied pixels.
void BoxPass(uint32_t* px, int w, int h, int stridePx, int radius, bool horizontal) {
  const int len = horizontal ? w : h, lines = horizontal ? h : w;
  std::vector<uint32_t> line(static_cast<size_t>(len));
  const int window = 2 * radius + 1;
  for (int l = 0; l < lines; ++l) {
    auto at = [&](int i) -> uint32_t& {
      return horizontal ? px[size_t(l) * size_t(stridePx) + size_t(i)] : px[size_t(i) * size_t(stridePx) + size_t(l)];
    };
    for (int i = 0; i < len; ++i) line[size_t(i)] = at(i);
    int sum[4] = {0, 0, 0, 0};
    auto add = [&](int i, int sign) {
      if (i < 0 || i >= len) return;
      const uint32_t p = line[size_t(i)];
      for (int c = 0; c < 4; ++c) sum[c] += sign * int((p >> (8 * c)) & 0xFF);
    };
    for (int i = -radius; i <= radius; ++i) add(i, 1);
    for (int i = 0; i < len; ++i) {
      uint32_t p = 0;
      for (int c = 0; c < 4; ++c) p |= uint32_t((sum[c] + window / 2) / window) << (8 * c);
      at(i) = p;
      add(i - radius, -1);
      add(i + radius + 1, 1);
    }
  }
}

}  // namespace

void Canvas::Blur(int radius) {
  if (radius <= 0) return;
  cairo_surface_flush(surface_);
  auto* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_));
  const int stridePx = cairo_image_surface_get_stride(surface_) / 4;
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(px, width_, height_, stridePx, radius, true);
    BoxPass(px, width_, height_, stridePx, radius, false);
  }
  cairo_surface_mark_dirty(surface_);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2.0);
  const double pi = 3.14159265358979323846;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
  cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

void SetColour(cairo_t* cr, Colour c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void FillVertical(cairo_t* cr, double y0, double y1, Colour top, Colour bottom, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
}

void SoftShadow(Canvas& target, const std::function<void(cairo_t*)>& shape, double dx, double dy, int radius,
                Colour colour, double alpha) {
  // Only the shape's surroundings are blurred: a layer just large enough for
  // the shape and the spread of three box passes.
  cairo_t* cr = target.Cr();
  cairo_save(cr);
  cairo_translate(cr, dx, dy);
  shape(cr);
  double x0, y0, x1, y1;
  cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
  cairo_new_path(cr);
  cairo_restore(cr);
  if (x1 <= x0 || y1 <= y0) return;
  const int pad = 3 * radius + 2;
  const int left = int(std::floor(x0)) - pad, top = int(std::floor(y0)) - pad;
  Canvas layer(int(std::ceil(x1)) + pad - left, int(std::ceil(y1)) + pad - top);
  cairo_translate(layer.Cr(), dx - left, dy - top);
  shape(layer.Cr());
  SetColour(layer.Cr(), colour, alpha);
  cairo_fill(layer.Cr());
  layer.Blur(radius);
  target.Paint(layer, left, top);
}

void Glow(Canvas& target, const std::function<void(cairo_t*)>& shape, int radius, Colour colour, double alpha) {
  SoftShadow(target, shape, 0, 0, radius, colour, alpha);
}

void BevelTile(cairo_t* cr, double x, double y, double w, double h, double r, Colour base, double depth) {
  // A negative depth is a pressed-in tile: the light and dark sides swap.
  const bool sunken = depth < 0;
  const double d = sunken ? -depth : depth;
  const Colour hi = base.Lighter(0.22 * d), lo = base.Darker(0.28 * d);
  const Colour first = sunken ? lo : hi, last = sunken ? hi : lo;
  RoundedRect(cr, x, y, w, h, r);
  cairo_pattern_t* body = cairo_pattern_create_linear(x, y, x + w, y + h);
  cairo_pattern_add_color_stop_rgb(body, 0, first.r, first.g, first.b);
  cairo_pattern_add_color_stop_rgb(body, 0.55, base.r, base.g, base.b);
  cairo_pattern_add_color_stop_rgb(body, 1, last.r, last.g, last.b);
  cairo_set_source(cr, body);
  cairo_fill(cr);
  cairo_pattern_destroy(body);
  // Rims: a light edge on the side towards the light, a dark one opposite.
  const double inset = 1.0;
  RoundedRect(cr, x + inset, y + inset, w - 2 * inset, h - 2 * inset, std::max(0.0, r - inset));
  cairo_pattern_t* rim = cairo_pattern_create_linear(x, y, x + w, y + h);
  const double light[4] = {1, 1, 1, std::min(1.0, 0.55 * d)}, dark[4] = {0, 0.05, 0.05, std::min(1.0, 0.45 * d)};
  const double* a = sunken ? dark : light;
  const double* b = sunken ? light : dark;
  cairo_pattern_add_color_stop_rgba(rim, 0, a[0], a[1], a[2], a[3]);
  cairo_pattern_add_color_stop_rgba(rim, 0.5, a[0], a[1], a[2], 0.0);
  cairo_pattern_add_color_stop_rgba(rim, 0.5, b[0], b[1], b[2], 0.0);
  cairo_pattern_add_color_stop_rgba(rim, 1, b[0], b[1], b[2], b[3]);
  cairo_set_source(cr, rim);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
}

Canvas CelGrid(int cols, int rows, int celWidth, int celHeight,
               const std::function<void(Canvas& cel, int col, int row)>& draw) {
  Canvas grid(cols * celWidth, rows * celHeight);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      Canvas cel(celWidth, celHeight);
      draw(cel, col, row);
      grid.Paint(cel, col * celWidth, row * celHeight);
    }
  }
  return grid;
}

}  // namespace artgen
