#pragma once

// The system font renderer: fontconfig picks the installed face closest to a
// requested family and style (DejaVu Sans on a Debian desktop when the
// request names a face the machine lacks), FreeType renders its glyphs as
// 8-bit coverage. A style the face lacks is simulated (bold by emboldening
// the outlines, italic by slanting them).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zing::Platform {

struct SystemGlyph {
  int left = 0;     // from the pen position to the bitmap's left edge
  int top = 0;      // from the baseline up to the bitmap's top edge
  int width = 0;
  int rows = 0;
  int advance = 0;  // whole pixels
  std::vector<std::uint8_t> coverage;  // width x rows, 0..255
};

class SystemFontFace {
 public:
  // The face closest to `family` at an em size of `pixelSize`, or null with
  // `error` set when fontconfig finds no usable face.
  static std::unique_ptr<SystemFontFace> Open(const std::string& family, int pixelSize, bool bold, bool italic,
                                              std::string& error);
  SystemFontFace(const SystemFontFace&) = delete;
  SystemFontFace& operator=(const SystemFontFace&) = delete;
  ~SystemFontFace();

  int Ascent() const { return ascent; }
  int Descent() const { return descent; }
  // Below the baseline, and the thickness, of an underline.
  int UnderlinePosition() const { return underlinePosition; }
  int UnderlineThickness() const { return underlineThickness; }
  // The family of the face that was chosen.
  const std::string& FamilyName() const { return familyName; }
  // The glyph of a Unicode code point (the face's missing-glyph box when it
  // has none); false when FreeType cannot render it.
  bool Render(char32_t codePoint, SystemGlyph& out);

 private:
  struct Impl;
  explicit SystemFontFace(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl;
  int ascent = 0;
  int descent = 0;
  int underlinePosition = 0;
  int underlineThickness = 1;
  std::string familyName;
};

}  // namespace Zing::Platform
