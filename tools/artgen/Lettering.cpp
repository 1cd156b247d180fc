#include "tools/artgen/Lettering.h"

#include <cairo-ft.h>

#include <cstdlib>
#include <stdexcept>

namespace artgen {

std::string FontFolder() {
  const char* env = std::getenv("LINTWICK_FONT_DIR");
  return env && *env ? std::string(env) : std::string("/usr/share/fonts/truetype/dejavu");
}

Lettering::Lettering() {
  if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("FreeType: cannot start");
  const char* files[3] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansCondensed-Bold.ttf"};
  for (int i = 0; i < 3; ++i) {
    const std::string path = FontFolder() + "/" + files[i];
    if (FT_New_Face(library_, path.c_str(), 0, &faces_[i]) != 0) {
      throw std::runtime_error("FreeType: cannot open " + path + " (install fonts-dejavu-core)");
    }
    cairoFaces_[i] = cairo_ft_font_face_create_for_ft_face(faces_[i], FT_LOAD_NO_HINTING);
  }
}

Lettering::~Lettering() {
  for (int i = 0; i < 3; ++i) {
    if (cairoFaces_[i]) cairo_font_face_destroy(cairoFaces_[i]);
    if (faces_[i]) FT_Done_Face(faces_[i]);
  }
  if (library_) FT_Done_FreeType(library_);
}

FT_Face Lettering::FreeTypeFace(Face face) const { return faces_[int(face)]; }

void Lettering::Use(cairo_t* cr, Face face, double size) const {
  cairo_set_font_face(cr, cairoFaces_[int(face)]);
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double Lettering::Width(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text.c_str(), &ext);
  return ext.x_advance;
}

void Lettering::Path(cairo_t* cr, const std::string& text, double x, double y) {
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, text.c_str());
}

double Lettering::FitSize(cairo_t* cr, Face face, const std::string& text, double maxSize, double maxWidth) const {
  Use(cr, face, maxSize);
  const double w = Width(cr, text);
  const double size = w > maxWidth ? maxSize * maxWidth / w : maxSize;
  Use(cr, face, size);
  return size;
}

double DrawLabel(Canvas& canvas, const Lettering& lettering, Face face, double size, const std::string& text, double x,
                 double baseline, Colour colour, double shadowAlpha, Align align) {
  cairo_t* cr = canvas.Cr();
  lettering.Use(cr, face, size);
  const double w = Lettering::Width(cr, text);
  const double left = align == Align::Left ? x : align == Align::Centre ? x - w / 2 : x - w;
  if (shadowAlpha > 0) {
    SoftShadow(
        canvas,
        [&](cairo_t* c) {
          lettering.Use(c, face, size);
          Lettering::Path(c, text, left, baseline);
        },
        1.0, 1.5, std::max(1, int(size / 14)), theme::kShadow, shadowAlpha);
  }
  lettering.Use(cr, face, size);
  Lettering::Path(cr, text, left, baseline);
  SetColour(cr, colour);
  cairo_fill(cr);
  return w;
}

}  // namespace artgen
