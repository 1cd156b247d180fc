#pragma once

// A font drawn with an installed system face (the manifest's "!sys:" fonts).
// All 256 Windows-1252 glyphs are rendered once, when the font is made, into
// one coverage sheet; measuring reads their advances and drawing blits from
// the sheet, tinted, so no glyph is rendered per draw. Duplicates share the
// sheet.

#include <array>
#include <memory>
#include <string>

#include "framework/graphics/Font.h"
#include "framework/graphics/Rect.h"

namespace Zing {

class MemoryImage;

class SysFont : public Font {
 public:
  // Screen pixels per inch that turn the point size into pixels.
  static constexpr int kPixelsPerInch = 96;

  SysFont(const std::string& face, int pointSize, bool bold = false, bool italic = false, bool underline = false);

  // False when no face could be opened; `GetError` then says why, and the
  // font measures 0 and draws nothing.
  bool IsValid() const { return glyphs != nullptr; }
  const std::string& GetError() const { return error; }
  // The family the system chose for the requested face.
  const std::string& GetFaceName() const { return faceName; }

  int StringWidth(const std::string& text) override;
  int CharWidth(char ch) override;
  int CharWidthKern(char ch, char prev) override;
  void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                  const Rect& clipRect) override;
  Font* Duplicate() const override;

  bool drawShadow = false;
  bool simulateBold = false;  // draw every string twice, a pixel apart

  struct Glyph {
    Rect sheetRect;   // where it lies on the sheet
    int left = 0;     // from the pen to the sheet rectangle
    int top = 0;      // from the baseline up to the sheet rectangle
    int advance = 0;
  };
  struct GlyphSheet {
    std::shared_ptr<MemoryImage> image;
    std::array<Glyph, 256> glyphs{};
    int underlinePosition = 0;
    int underlineThickness = 1;
  };

 private:
  void DrawPass(Graphics* g, int x, int y, const std::string& text, const Color& color) const;

  std::shared_ptr<const GlyphSheet> glyphs;
  std::string faceName;
  std::string error;
  bool underline = false;
};

}  // namespace Zing
