#pragma once

// An image that records the drawing calls it receives, and a fixed-width font
// that records the strings it is asked to draw.

#include <string>
#include <vector>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

namespace ZingTest {

struct Call {
  std::string what;
  Zing::Rect rect;  // destination (fills, outlines, stretches; blits: x, y and source size)
  Zing::Rect src;
  Zing::Color color;
  double line[4] = {0, 0, 0, 0};
};

class RecordingImage : public Zing::Image {
 public:
  RecordingImage(int w, int h) {
    width = w;
    height = h;
  }
  void FillRect(const Zing::Rect& r, const Zing::Color& c, int) override { calls.push_back({"fill", r, {}, c}); }
  void DrawRect(const Zing::Rect& r, const Zing::Color& c, int) override { calls.push_back({"outline", r, {}, c}); }
  void DrawLine(double x1, double y1, double x2, double y2, const Zing::Color& c, int) override {
    Call call{"line", {}, {}, c};
    call.line[0] = x1, call.line[1] = y1, call.line[2] = x2, call.line[3] = y2;
    calls.push_back(call);
  }
  void Blt(Zing::Image*, int x, int y, const Zing::Rect& src, const Zing::Color& c, int) override {
    calls.push_back({"blt", Zing::Rect(x, y, src.w, src.h), src, c});
  }
  void StretchBlt(Zing::Image*, const Zing::Rect& dest, const Zing::Rect& src, const Zing::Rect&, const Zing::Color& c,
                  int, bool) override {
    calls.push_back({"stretch", dest, src, c});
  }

  std::vector<Call> calls;
};

struct Drawn {
  std::string text;
  int x;
  int y;
  Zing::Color color;
};

// Every character is 6 pixels wide; ascent 8, height 10, ascent padding 1,
// line spacing 12.
class FixedFont : public Zing::Font {
 public:
  FixedFont() {
    ascent = 8;
    height = 10;
    ascentPadding = 1;
    lineSpacingOffset = 2;
  }
  int StringWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
  void DrawString(Zing::Graphics*, int x, int y, const std::string& text, const Zing::Color& color,
                  const Zing::Rect&) override {
    drawn.push_back({text, x, y, color});
  }
  Zing::Font* Duplicate() const override { return new FixedFont(*this); }

  std::vector<Drawn> drawn;
};

}  // namespace ZingTest
