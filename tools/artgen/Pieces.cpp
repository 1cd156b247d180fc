#include "tools/artgen/Pieces.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

void DrawCellTile(cairo_t* cr, double cx, double cy, double size) {
  const double inset = size * 0.045, w = size - 2 * inset, r = size * 0.16;
  const double x = cx - size / 2 + inset, y = cy - size / 2 + inset;
  BevelTile(cr, x, y, w, w, r, theme::kCell, 0.8);
  // A faint inner well so that a cell reads as a place to put something.
  RoundedRect(cr, x + w * 0.2, y + w * 0.2, w * 0.6, w * 0.6, r * 0.6);
  cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x + w, y + w);
  cairo_pattern_add_color_stop_rgba(p, 0, 0.0, 0.06, 0.06, 0.16);
  cairo_pattern_add_color_stop_rgba(p, 1, 1.0, 1.0, 1.0, 0.06);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void DrawSocket(cairo_t* cr, double cx, double cy, double size, Colour colour) {
  const double w = size * 0.84, r = size * 0.15;
  const Colour base = colour.Darker(0.35).Mix(theme::kCell, 0.4);
  RoundedRect(cr, cx - w / 2, cy - w / 2, w, w, r);
  cairo_pattern_t* p = cairo_pattern_create_linear(cx - w / 2, cy - w / 2, cx + w / 2, cy + w / 2);
  const Colour dark = base.Darker(0.25), light = base.Lighter(0.08);
  cairo_pattern_add_color_stop_rgb(p, 0, dark.r, dark.g, dark.b);
  cairo_pattern_add_color_stop_rgb(p, 1, light.r, light.g, light.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Recessed: the shade falls on the upper-left inner edge.
  RoundedRect(cr, cx - w / 2 + 0.75, cy - w / 2 + 0.75, w - 1.5, w - 1.5, r);
  cairo_pattern_t* rim = cairo_pattern_create_linear(cx - w / 2, cy - w / 2, cx + w / 2, cy + w / 2);
  cairo_pattern_add_color_stop_rgba(rim, 0, 0, 0.04, 0.04, 0.45);
  cairo_pattern_add_color_stop_rgba(rim, 0.5, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(rim, 1, 1, 1, 1, 0.25);
  cairo_set_source(cr, rim);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
}

void DrawPiece(Canvas& canvas, double cx, double cy, double size, Colour colour, double scale, double finish) {
  if (scale <= 0.0) return;
  cairo_t* cr = canvas.Cr();
  const double w = size * (0.58 + 0.08 * finish) * scale, r = w * 0.24;
  const Colour open = colour.Darker(0.12);
  const Colour done = colour.Lighter(0.18);
  const Colour body = open.Mix(done, finish);
  const double x = cx - w / 2, y = cy - w / 2;
  auto shape = [&](cairo_t* c) { RoundedRect(c, x, y, w, w, r); };
  // A glow of its own colour once finished, a small drop shadow always.
  if (finish > 0.0)
    Glow(
        canvas, [&](cairo_t* c) { RoundedRect(c, x - 2, y - 2, w + 4, w + 4, r + 2); }, 3, colour.Lighter(0.3),
        0.55 * finish);
  SoftShadow(canvas, shape, 1.5 * scale, 2.0 * scale, 2, theme::kShadow, 0.55);
  BevelTile(cr, x, y, w, w, r, body, 1.0 + 0.3 * finish);
  // The gloss: a soft highlight on the upper-left, stronger when finished.
  cairo_save(cr);
  shape(cr);
  cairo_clip(cr);
  cairo_pattern_t* gloss =
      cairo_pattern_create_radial(x + w * 0.3, y + w * 0.25, 0, x + w * 0.3, y + w * 0.25, w * 0.75);
  cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, 0.25 + 0.4 * finish);
  cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0);
  cairo_set_source(cr, gloss);
  cairo_paint(cr);
  cairo_pattern_destroy(gloss);
  cairo_restore(cr);
  // A small inner facet in the centre: the mark that the cube leaves.
  const double f = w * 0.36;
  RoundedRect(cr, cx - f / 2, cy - f / 2, f, f, f * 0.25);
  SetColour(cr, body.Lighter(0.25 + 0.35 * finish), 0.55 + 0.35 * finish);
  cairo_fill(cr);
}

namespace {

// Brightness of a face with the given normal under the light from the top left.
double Shade(double nx, double ny, double nz) {
  const double lx = -0.45, ly = -0.45, lz = 0.77;
  return 0.45 + 0.55 * std::max(0.0, nx * lx + ny * ly + nz * lz);
}

// A point of a cube face: u along the roll, v across it.
struct FacePoint {
  double u, v;
};

// Bilinear point inside the quad a-b-c-d (a, b on one edge; d, c on the other).
FacePoint Inside(const FacePoint q[4], double s, double t) {
  const FacePoint top{q[0].u + (q[1].u - q[0].u) * s, q[0].v + (q[1].v - q[0].v) * s};
  const FacePoint bottom{q[3].u + (q[2].u - q[3].u) * s, q[3].v + (q[2].v - q[3].v) * s};
  return {top.u + (bottom.u - top.u) * t, top.v + (bottom.v - top.v) * t};
}

void QuadPath(cairo_t* cr, const FacePoint q[4], bool vertical, double cx, double cy) {
  for (int i = 0; i < 4; ++i) {
    const double x = vertical ? cx + q[i].v : cx + q[i].u, y = vertical ? cy + q[i].u : cy + q[i].v;
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

// One face: the quad q in roll coordinates around (cx, cy), shaded by its light.
void CubeFace(cairo_t* cr, const FacePoint q[4], bool vertical, double cx, double cy, Colour colour, double light) {
  const Colour body = light >= 0.8 ? colour.Lighter((light - 0.8) * 1.2) : colour.Darker((0.8 - light) * 0.9);
  QuadPath(cr, q, vertical, cx, cy);
  SetColour(cr, body);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 1.6);
  cairo_fill_preserve(cr);
  cairo_stroke(cr);
  // The emblem: a light inner square that makes the turning easy to follow.
  const FacePoint e[4] = {Inside(q, 0.3, 0.3), Inside(q, 0.7, 0.3), Inside(q, 0.7, 0.7), Inside(q, 0.3, 0.7)};
  QuadPath(cr, e, vertical, cx, cy);
  SetColour(cr, body.Lighter(0.45), 0.85);
  cairo_fill(cr);
  const FacePoint rim[4] = {Inside(q, 0.06, 0.06), Inside(q, 0.94, 0.06), Inside(q, 0.94, 0.94), Inside(q, 0.06, 0.94)};
  QuadPath(cr, rim, vertical, cx, cy);
  SetColour(cr, {1, 1, 1}, 0.25 * light);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

}  // namespace

void DrawCube(Canvas& canvas, double cx, double cy, double side, Colour colour, double angle, bool vertical) {
  const double t = angle * kPi / 180.0, s = side;
  // The cube tips over its leading lower edge. Seen from above with a little
  // perspective, edges that rise come nearer and look wider.
  const double uA = -s * std::cos(t), zA = s * std::sin(t);                      // far edge of the rising face
  const double uB = uA + s * std::sin(t), zB = s * (std::sin(t) + std::cos(t));  // the ridge
  const double uC = s * std::sin(t), zC = s * std::cos(t);                       // far edge of the top face
  const double mid = (uA + uC) / 2, depth = 3.2 * s;
  auto half = [&](double z) { return s / 2 * (1 + z / depth) / (1 + s / depth); };
  const FacePoint rising[4] = {
      {uA - mid, -half(zA)}, {uB - mid, -half(zB)}, {uB - mid, half(zB)}, {uA - mid, half(zA)}};
  const FacePoint top[4] = {{uB - mid, -half(zB)}, {uC - mid, -half(zC)}, {uC - mid, half(zC)}, {uB - mid, half(zB)}};
  const double span = uC - uA;
  cairo_t* cr = canvas.Cr();
  // Shadow on the ground: wider and further away while the cube stands on an edge.
  const double sh = 2.0 + 3.0 * std::sin(2 * t);
  auto ground = [&](cairo_t* c) {
    if (vertical)
      RoundedRect(c, cx - s / 2, cy - span / 2, s, span, s * 0.12);
    else
      RoundedRect(c, cx - span / 2, cy - s / 2, span, s, s * 0.12);
  };
  SoftShadow(canvas, ground, sh, sh + 1, 3, theme::kShadow, 0.6);
  // The light is symmetric in x and y, so a vertical roll shades alike.
  if (uB - uA > 0.3) CubeFace(cr, rising, vertical, cx, cy, colour, Shade(-std::cos(t), 0, std::sin(t)));
  if (uC - uB > 0.3) CubeFace(cr, top, vertical, cx, cy, colour, Shade(std::sin(t), 0, std::cos(t)));
}

void DrawSparkle(Canvas& canvas, double cx, double cy, double radius, double alpha, bool withRays) {
  if (radius <= 0.2 || alpha <= 0.0) return;
  cairo_t* cr = canvas.Cr();
  Glow(
      canvas, [&](cairo_t* c) { cairo_arc(c, cx, cy, radius * 0.45, 0, 2 * kPi); }, 2, Colour::Rgb(255, 236, 190),
      0.9 * alpha);
  auto star = [&](double len, double waist, double rot) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, rot);
    cairo_move_to(cr, 0, -len);
    for (int i = 1; i <= 4; ++i) {
      const double a = i * kPi / 2;
      cairo_curve_to(cr, waist * std::sin(a - kPi / 4) * 0.5, -waist * std::cos(a - kPi / 4) * 0.5,
                     waist * std::sin(a - kPi / 4) * 0.5, -waist * std::cos(a - kPi / 4) * 0.5, len * std::sin(a),
                     -len * std::cos(a));
    }
    cairo_close_path(cr);
    cairo_restore(cr);
  };
  if (withRays) {
    star(radius * 0.6, radius * 0.25, kPi / 4);
    SetColour(cr, Colour::Rgb(255, 214, 150), 0.7 * alpha);
    cairo_fill(cr);
  }
  star(radius, radius * 0.3, 0);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.5, 1.0, 0.93, 0.75, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.94, 0.6, 0.3, alpha * 0.8);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace artgen
