#pragma once

// The base of every font: metrics, measuring and drawing through a
// `Graphics`. Image fonts and system fonts derive from it.

#include <string>

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

namespace Zing {

class Graphics;

class Font {
 public:
  Font() = default;
  Font(const Font&) = default;
  Font& operator=(const Font&) = default;
  virtual ~Font() = default;

  virtual int GetAscent() const { return ascent; }
  virtual int GetAscentPadding() const { return ascentPadding; }
  virtual int GetDescent() const { return height - ascent; }
  virtual int GetHeight() const { return height; }
  virtual int GetLineSpacingOffset() const { return lineSpacingOffset; }
  virtual int GetLineSpacing() const { return height + lineSpacingOffset; }
  virtual int StringWidth(const std::string& text);
  virtual int CharWidth(char ch);
  // The advance of `ch` drawn after `prev` (0 for none), kerning included.
  virtual int CharWidthKern(char ch, char prev);
  // Draws `text` with its baseline at y, starting at x, in `color`.
  virtual void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color, const Rect& clipRect);
  virtual Font* Duplicate() const = 0;

  int ascent = 0;
  int ascentPadding = 0;
  int height = 0;
  int lineSpacingOffset = 0;
};

}  // namespace Zing
