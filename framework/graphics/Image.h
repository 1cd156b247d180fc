#pragma once

// The base of every image: a size, a grid of cels, an optional animation and
// the virtual drawing interface that `Graphics` draws through. The base image
// draws nothing (it serves as the empty destination of a `Graphics` made
// without one); `MemoryImage` implements the interface in software and the
// display back-end implements it for the screen.

#include <cstdint>
#include <memory>

#include "framework/graphics/AnimInfo.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

namespace Zing {

// A 2D affine or projective transform, row-major; points are column vectors.
struct Matrix3 {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

// A horizontal run of pixels for scan-line fills.
struct Span {
  int y = 0;
  int x = 0;
  int width = 0;
};

// One corner of a textured triangle: position and texture coordinates (0..1).
struct TriVertex {
  float x = 0, y = 0, u = 0, v = 0;
  std::uint32_t color = 0xFFFFFFFF;
};

class Image {
 public:
  // Texture hints for the display back-end.
  enum TextureHint { kHintMinSubdivisions = 1, kHint4444 = 4, kHint8888 = 8 };
  enum DrawMode { kDrawModeNormal = 0, kDrawModeAdditive = 1 };

  Image() = default;
  Image(const Image& other);
  Image& operator=(const Image& other);
  virtual ~Image() = default;

  int GetWidth() const { return width; }
  int GetHeight() const { return height; }
  int GetCelWidth() const { return numCols > 0 ? width / numCols : 0; }
  int GetCelHeight() const { return numRows > 0 ? height / numRows : 0; }
  // The rectangle of a cel by column and row (integer division of the size).
  Rect GetCelRect(int col, int row) const;

  // The drawing interface. Rectangles and positions are in this image's pixels;
  // every operation clips to the image itself.
  virtual bool PolyFill(const float* xy, int numPoints, const Rect& clipRect, const Color& color, int drawMode, int tx,
                        int ty);
  virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
  // The outline covering x..x+w and y..y+h inclusive, as four filled rectangles.
  virtual void DrawRect(const Rect& rect, const Color& color, int drawMode);
  virtual void ClearRect(const Rect& rect);
  virtual void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
  virtual void DrawLineAA(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
  virtual void FillScanLines(const Span* spans, int count, const Color& color, int drawMode);
  // Like FillScanLines with the colour's alpha scaled by a coverage map of
  // coverW x coverH bytes whose top left lies at (coverX, coverY).
  virtual void FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode,
                                         const std::uint8_t* coverage, int coverX, int coverY, int coverW, int coverH);
  virtual void Blt(Image* image, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
  virtual void BltF(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                    int drawMode);
  // The image rotated by `rot` radians (counter-clockwise on screen) about the
  // point (x + rotCenterX, y + rotCenterY).
  virtual void BltRotated(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                          int drawMode, double rot, float rotCenterX, float rotCenterY);
  virtual void StretchBlt(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                          const Color& color, int drawMode, bool fastStretch);
  // The source rectangle, centred on the origin, transformed by `matrix` and
  // moved by (x, y); `blend` asks for smooth sampling.
  virtual void BltMatrix(Image* image, float x, float y, const Matrix3& matrix, const Rect& clipRect,
                         const Color& color, int drawMode, const Rect& srcRect, bool blend);
  virtual void BltTrianglesTex(Image* texture, const TriVertex (*vertices)[3], int numTriangles, const Rect& clipRect,
                               const Color& color, int drawMode, float tx, float ty, bool blend);
  // Mirrored left to right.
  virtual void BltMirror(Image* image, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
  virtual void StretchBltMirror(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                                const Color& color, int drawMode, bool fastStretch);

  int width = 0;
  int height = 0;
  int numRows = 1;
  int numCols = 1;
  std::unique_ptr<AnimInfo> animInfo;  // none for still images
  int textureHints = 0;                // TextureHint bits for the back-end
};

}  // namespace Zing
