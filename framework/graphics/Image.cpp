#include "framework/graphics/Image.h"

namespace Zing {

Image::Image(const Image& other)
    : width(other.width),
      height(other.height),
      numRows(other.numRows),
      numCols(other.numCols),
      animInfo(other.animInfo ? std::make_unique<AnimInfo>(*other.animInfo) : nullptr),
      textureHints(other.textureHints) {}

Image& Image::operator=(const Image& other) {
  if (this == &other) return *this;
  width = other.width;
  height = other.height;
  numRows = other.numRows;
  numCols = other.numCols;
  animInfo = other.animInfo ? std::make_unique<AnimInfo>(*other.animInfo) : nullptr;
  textureHints = other.textureHints;
  return *this;
}

Rect Image::GetCelRect(int col, int row) const {
  const int celWidth = GetCelWidth();
  const int celHeight = GetCelHeight();
  return Rect(celWidth * col, celHeight * row, celWidth, celHeight);
}

// The base image has no pixels: everything but the outline (which is made of
// fills) is a no-op, and polygon fills report that they are not supported.

bool Image::PolyFill(const float*, int, const Rect&, const Color&, int, int, int) { return false; }
void Image::FillRect(const Rect&, const Color&, int) {}

void Image::DrawRect(const Rect& rect, const Color& color, int drawMode) {
  FillRect(Rect(rect.x, rect.y, rect.w + 1, 1), color, drawMode);
  FillRect(Rect(rect.x, rect.y + rect.h, rect.w + 1, 1), color, drawMode);
  FillRect(Rect(rect.x, rect.y + 1, 1, rect.h - 1), color, drawMode);
  FillRect(Rect(rect.x + rect.w, rect.y + 1, 1, rect.h - 1), color, drawMode);
}

void Image::ClearRect(const Rect&) {}
void Image::DrawLine(double, double, double, double, const Color&, int) {}

void Image::DrawLineAA(double x1, double y1, double x2, double y2, const Color& color, int drawMode) {
  DrawLine(x1, y1, x2, y2, color, drawMode);
}

void Image::FillScanLines(const Span* spans, int count, const Color& color, int drawMode) {
  for (int i = 0; i < count; ++i) FillRect(Rect(spans[i].x, spans[i].y, spans[i].width, 1), color, drawMode);
}

void Image::FillScanLinesWithCoverage(const Span*, int, const Color&, int, const std::uint8_t*, int, int, int, int) {}
void Image::Blt(Image*, int, int, const Rect&, const Color&, int) {}
void Image::BltF(Image*, float, float, const Rect&, const Rect&, const Color&, int) {}
void Image::BltRotated(Image*, float, float, const Rect&, const Rect&, const Color&, int, double, float, float) {}
void Image::StretchBlt(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}
void Image::BltMatrix(Image*, float, float, const Matrix3&, const Rect&, const Color&, int, const Rect&, bool) {}
void Image::BltTrianglesTex(Image*, const TriVertex (*)[3], int, const Rect&, const Color&, int, float, float, bool) {}
void Image::BltMirror(Image*, int, int, const Rect&, const Color&, int) {}
void Image::StretchBltMirror(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}

}  // namespace Zing
