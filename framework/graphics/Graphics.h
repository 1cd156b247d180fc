#pragma once

// The drawing context handed to every widget's draw hook. It carries a small
// state (translation, scale, clip rectangle, colour, font, draw mode, flags)
// and turns each call into one call on the destination image after
// translating and clipping. Text goes through the current font; colour codes
// in strings, justification and word wrapping are handled here.

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/Rect.h"

namespace Zing {

class GraphicsState {
 public:
  Image* destImage = nullptr;
  float transX = 0.0f;
  float transY = 0.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  float scaleOrigX = 0.0f;
  float scaleOrigY = 0.0f;
  Rect clipRect;
  Color color{0, 0, 0, 255};
  Font* font = nullptr;
  int drawMode = Image::kDrawModeNormal;
  bool colorizeImages = false;
  bool fastStretch = false;
  bool writeColoredString = true;
  bool linearBlend = false;
  bool is3D = false;  // set by the display back-end for the screen it draws
};

class Graphics : public GraphicsState {
 public:
  // Justifications of WriteString and WriteWordWrapped.
  enum { kJustifyCenter = 0, kJustifyRight = 1, kJustifyLeft = -1 };

  // Draws into `image`; without one, into an empty image that ignores everything.
  explicit Graphics(Image* image = nullptr);
  // Copies the state, not the stack of saved states.
  Graphics(const Graphics& other);
  Graphics& operator=(const Graphics&) = delete;
  virtual ~Graphics() = default;

  std::unique_ptr<Graphics> Create() const;
  void PushState();
  // Restores the last pushed state; nothing happens when none is saved.
  void PopState();

  Image* GetDestImage() const { return destImage; }
  void SetColor(const Color& c) { color = c; }
  const Color& GetColor() const { return color; }
  void SetFont(Font* f) { font = f; }
  Font* GetFont() const { return font; }
  void SetDrawMode(int mode) { drawMode = mode; }
  int GetDrawMode() const { return drawMode; }
  void SetColorizeImages(bool on) { colorizeImages = on; }
  bool GetColorizeImages() const { return colorizeImages; }
  void SetFastStretch(bool on) { fastStretch = on; }
  void SetLinearBlend(bool on) { linearBlend = on; }
  void SetWriteColoredString(bool on) { writeColoredString = on; }
  void SetScale(float sx, float sy, float originX, float originY);
  void Translate(float x, float y);
  // Intersects the clip rectangle with the translated rectangle.
  void ClipRect(int x, int y, int w, int h);
  void ClipRect(const Rect& r) { ClipRect(r.x, r.y, r.w, r.h); }
  // Replaces the clip rectangle by the translated rectangle, kept inside the destination.
  void SetClipRect(int x, int y, int w, int h);
  const Rect& GetClipRect() const { return clipRect; }
  // Translates a point, truncating toward zero (as every drawing call does).
  int TransX(float x) const;
  int TransY(float y) const;

  void FillRect(int x, int y, int w, int h);
  void FillRect(const Rect& r) { FillRect(r.x, r.y, r.w, r.h); }
  // The outline covering x..x+w and y..y+h inclusive.
  void DrawRect(int x, int y, int w, int h);
  void DrawRect(const Rect& r) { DrawRect(r.x, r.y, r.w, r.h); }
  // Makes the pixels of the rectangle transparent black.
  void ClearRect(int x, int y, int w, int h);
  void DrawLine(int x1, int y1, int x2, int y2);
  // `text` with its baseline at y; nothing without a font.
  void DrawString(const std::string& text, int x, int y);

  void DrawImage(Image* image, int x, int y);
  void DrawImage(Image* image, int x, int y, const Rect& srcRect);
  void DrawImage(Image* image, const Rect& destRect, const Rect& srcRect);
  void DrawImage(Image* image, int x, int y, int stretchedWidth, int stretchedHeight);
  void DrawImageMirror(Image* image, int x, int y, const Rect& srcRect);
  void DrawImageRotated(Image* image, int x, int y, double rot, int rotCenterX, int rotCenterY);
  // Cel `cel` counted row by row, or the cel at (col, row); invalid cels draw nothing.
  void DrawImageCel(Image* image, int x, int y, int cel);
  void DrawImageCel(Image* image, int x, int y, int col, int row);
  // A frame of nine pieces: corners once, edges and centre repeated to fill.
  void DrawImageBox(const Rect& destRect, Image* image);
  void DrawImageBox(const Rect& srcRect, const Rect& destRect, Image* image);

  // Writes the part of `text` from `offset` (`length` characters, or to the
  // end when negative) with its colour codes: "^RRGGBB^" sets the colour (its
  // alpha stays), "^oldclr^" returns to `oldColor` (0xRRGGBB, or the colour at
  // the start when -1), "^^" writes one caret. Justification 0 centres the
  // text in `width`, 1 aligns it right, anything else left. Returns the width.
  int WriteString(const std::string& text, int x, int y, int width = -1, int justification = kJustifyLeft,
                  bool draw = true, int offset = 0, int length = -1, int oldColor = -1);
  // Wraps `text` into `rect` (breaking at spaces, or inside a word too long
  // for a line, and at line feeds) and writes it line by line. A line spacing
  // of -1 means the font's. Returns the height used.
  int WriteWordWrapped(const Rect& rect, const std::string& text, int lineSpacing = -1,
                       int justification = kJustifyLeft);

 private:
  Color ImageColor() const { return colorizeImages ? color : Color::White; }
  void FillClipped(const Rect& translated);
  // One pass over a piece of text: draws it (when `draw`) and follows its
  // colour codes in `current`. Returns the width.
  int WritePass(const std::string& text, std::size_t begin, std::size_t end, int x, int y, bool draw, int oldColor,
                Color& current);
  int WriteLine(const std::string& text, std::size_t begin, std::size_t end, int x, int y, int width, int justification,
                bool draw, int oldColor, Color& current);

  std::vector<GraphicsState> stateStack;
};

}  // namespace Zing
