// Lettering for the artwork: DejaVu faces loaded with FreeType and drawn
// through cairo, with hinting off so that every machine draws the same pixels.
#pragma once

#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "tools/artgen/Canvas.h"

namespace artgen {

enum class Face { Regular, Bold, CondensedBold };

class Lettering {
 public:
  Lettering();
  ~Lettering();
  Lettering(const Lettering&) = delete;
  Lettering& operator=(const Lettering&) = delete;

  FT_Library Library() const { return library_; }
  FT_Face FreeTypeFace(Face face) const;

  // Sets the face and pixel size on the context.
  void Use(cairo_t* cr, Face face, double size) const;
  // Width of a UTF-8 text with the face and size currently set on cr.
  static double Width(cairo_t* cr, const std::string& text);
  // Adds the outline of a text to the path: left end of the baseline at (x, y).
  static void Path(cairo_t* cr, const std::string& text, double x, double y);
  // Largest size not above maxSize at which the text fits maxWidth.
  double FitSize(cairo_t* cr, Face face, const std::string& text, double maxSize, double maxWidth) const;

 private:
  FT_Library library_ = nullptr;
  FT_Face faces_[3] = {nullptr, nullptr, nullptr};
  cairo_font_face_t* cairoFaces_[3] = {nullptr, nullptr, nullptr};
};

// The folder of the DejaVu fonts (LINTWICK_FONT_DIR overrides the Debian one).
std::string FontFolder();

enum class Align { Left, Centre, Right };

// A line of lettering with a soft shadow below it (shadowAlpha 0 for none).
// Returns the width drawn.
double DrawLabel(Canvas& canvas, const Lettering& lettering, Face face, double size, const std::string& text, double x,
                 double baseline, Colour colour, double shadowAlpha = 0.6, Align align = Align::Centre);

}  // namespace artgen
