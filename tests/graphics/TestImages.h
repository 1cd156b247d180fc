#pragma once

// Memory images made from and read back as rows of 0xAARRGGBB words, and an
// image that records the drawing calls it receives.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"

namespace ZingTest {

inline Zing::MemoryImage FromPixels(const std::vector<std::uint32_t>& pixels, int w = 0, int h = 1) {
  Zing::MemoryImage image;
  image.SetBits(pixels.data(), w > 0 ? w : static_cast<int>(pixels.size()), h);
  return image;
}

inline Zing::MemoryImage Solid(int w, int h, std::uint32_t pixel) {
  return FromPixels(std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, pixel), w, h);
}

inline std::vector<std::uint32_t> Pixels(Zing::MemoryImage& image) {
  const std::uint32_t* bits = image.GetBits();
  return {bits, bits + static_cast<std::size_t>(image.width) * image.height};
}

struct Call {
  std::string what;
  Zing::Rect rect;  // destination (fills, outlines, stretches; blits: x, y and source size)
  Zing::Rect src;
  Zing::Color color;
  double line[4] = {0, 0, 0, 0};
  int mode = 0;  // blits
};

class RecordingImage : public Zing::Image {
 public:
  RecordingImage(int w, int h) { width = w, height = h; }
  void FillRect(const Zing::Rect& r, const Zing::Color& c, int) override { calls.push_back({"fill", r, {}, c}); }
  void DrawRect(const Zing::Rect& r, const Zing::Color& c, int) override { calls.push_back({"outline", r, {}, c}); }
  void ClearRect(const Zing::Rect& r) override { calls.push_back({"clear", r, {}, {}}); }
  void DrawLine(double x1, double y1, double x2, double y2, const Zing::Color& c, int) override {
    calls.push_back({"line", {}, {}, c, {x1, y1, x2, y2}});
  }
  void Blt(Zing::Image*, int x, int y, const Zing::Rect& src, const Zing::Color& c, int mode) override {
    calls.push_back({"blt", Zing::Rect(x, y, src.w, src.h), src, c, {}, mode});
  }
  void StretchBlt(Zing::Image*, const Zing::Rect& dest, const Zing::Rect& src, const Zing::Rect&, const Zing::Color& c,
                  int mode, bool fast) override {
    calls.push_back({fast ? "fast stretch" : "stretch", dest, src, c, {}, mode});
  }
  void StretchBltMirror(Zing::Image*, const Zing::Rect& dest, const Zing::Rect& src, const Zing::Rect&,
                        const Zing::Color& c, int, bool fast) override {
    calls.push_back({fast ? "fast mirror" : "mirror", dest, src, c});
  }
  // Recorded as the clip rectangle, the source, and x, y, angle and the centre's x in `line`.
  void BltRotated(Zing::Image*, float x, float y, const Zing::Rect& src, const Zing::Rect& clip, const Zing::Color& c,
                  int, double rot, float cx, float) override {
    calls.push_back({"rotated", clip, src, c, {x, y, rot, cx}});
  }

  std::vector<Call> calls;
};

// The calls as text: rectangles as x,y,w,h; images with their source, colour and any mode but 0; lines with their ends.
inline std::string Log(const std::vector<Call>& calls) {
  std::ostringstream out;
  for (const Call& c : calls) {
    const bool image = c.what != "fill" && c.what != "outline" && c.what != "clear" && c.what != "line";
    out << c.what << ' ';
    if (c.what == "line" || c.what == "rotated")
      out << c.line[0] << ',' << c.line[1] << ',' << c.line[2] << ',' << c.line[3] << ' ';
    if (c.what != "line") out << c.rect.x << ',' << c.rect.y << ',' << c.rect.w << ',' << c.rect.h << ' ';
    if (image)
      out << "src " << c.src.x << ',' << c.src.y << ',' << c.src.w << ',' << c.src.h << " #" << std::hex
          << c.color.ToPacked() << std::dec << (c.mode ? " m" + std::to_string(c.mode) : "") << ' ';
  }
  return out.str();
}

}  // namespace ZingTest
