#include "framework/graphics/Graphics.h"

#include <climits>
#include <cmath>

#include "framework/graphics/LineClip.h"

namespace Zing {

namespace {

Image* EmptyImage() {
  static Image empty;
  return &empty;
}

// Float to int, truncating toward zero and saturating at the ends of the range.
int Truncate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace

Graphics::Graphics(Image* image) {
  destImage = image ? image : EmptyImage();
  clipRect = Rect(0, 0, destImage->width, destImage->height);
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other) {}

std::unique_ptr<Graphics> Graphics::Create() const { return std::make_unique<Graphics>(*this); }

void Graphics::PushState() { stateStack.push_back(static_cast<const GraphicsState&>(*this)); }

void Graphics::PopState() {
  if (stateStack.empty()) return;
  static_cast<GraphicsState&>(*this) = stateStack.back();
  stateStack.pop_back();
}

void Graphics::SetScale(float sx, float sy, float originX, float originY) {
  scaleX = sx;
  scaleY = sy;
  scaleOrigX = originX;
  scaleOrigY = originY;
}

void Graphics::Translate(float x, float y) {
  transX += x;
  transY += y;
}

int Graphics::TransX(float x) const { return Truncate(static_cast<double>(x) + transX); }
int Graphics::TransY(float y) const { return Truncate(static_cast<double>(y) + transY); }

void Graphics::ClipRect(int x, int y, int w, int h) {
  clipRect = clipRect.Intersection(Rect(TransX(static_cast<float>(x)), TransY(static_cast<float>(y)), w, h));
}

void Graphics::SetClipRect(int x, int y, int w, int h) {
  clipRect = Rect(TransX(static_cast<float>(x)), TransY(static_cast<float>(y)), w, h)
                 .Intersection(Rect(0, 0, destImage->width, destImage->height));
}

void Graphics::FillClipped(const Rect& translated) {
  const Rect area = translated.Intersection(clipRect);
  if (!area.IsEmpty()) destImage->FillRect(area, color, drawMode);
}

void Graphics::FillRect(int x, int y, int w, int h) {
  if (color.a == 0) return;
  FillClipped(Rect(TransX(static_cast<float>(x)), TransY(static_cast<float>(y)), w, h));
}

void Graphics::DrawRect(int x, int y, int w, int h) {
  if (color.a == 0) return;
  const Rect r(TransX(static_cast<float>(x)), TransY(static_cast<float>(y)), w, h);
  if (clipRect.Contains(Rect(r.x, r.y, r.w + 1, r.h + 1))) {
    destImage->DrawRect(r, color, drawMode);
    return;
  }
  FillClipped(Rect(r.x, r.y, r.w + 1, 1));
  FillClipped(Rect(r.x, r.y + r.h, r.w + 1, 1));
  FillClipped(Rect(r.x, r.y + 1, 1, r.h - 1));
  FillClipped(Rect(r.x + r.w, r.y + 1, 1, r.h - 1));
}

void Graphics::ClearRect(int x, int y, int w, int h) {
  const Rect area = Rect(TransX(static_cast<float>(x)), TransY(static_cast<float>(y)), w, h).Intersection(clipRect);
  if (!area.IsEmpty()) destImage->ClearRect(area);
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2) {
  double ax = TransX(static_cast<float>(x1)), ay = TransY(static_cast<float>(y1));
  double bx = TransX(static_cast<float>(x2)), by = TransY(static_cast<float>(y2));
  if (!ClipLine(ax, ay, bx, by, clipRect)) return;
  destImage->DrawLine(ax, ay, bx, by, color, drawMode);
}

void Graphics::DrawString(const std::string& text, int x, int y) {
  if (font) font->DrawString(this, x, y, text, color, clipRect);
}

void Graphics::DrawImage(Image* image, int x, int y) {
  if (image) DrawImage(image, x, y, Rect(0, 0, image->width, image->height));
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& srcRect) {
  if (!image || srcRect.x < 0 || srcRect.y < 0 || srcRect.w <= 0 || srcRect.h <= 0 ||
      static_cast<long long>(srcRect.x) + srcRect.w > image->width ||
      static_cast<long long>(srcRect.y) + srcRect.h > image->height) {
    return;
  }
  const int px = TransX(static_cast<float>(x)), py = TransY(static_cast<float>(y));
  if (scaleX == 1.0f && scaleY == 1.0f) {
    const Rect dest = Rect(px, py, srcRect.w, srcRect.h).Intersection(clipRect);
    if (dest.w < 1 || dest.h < 1) return;
    const Rect src(srcRect.x + (dest.x - px), srcRect.y + (dest.y - py), dest.w, dest.h);
    destImage->Blt(image, dest.x, dest.y, src, ImageColor(), drawMode);
    return;
  }
  const Rect dest(Truncate(std::floor((px - scaleOrigX) * static_cast<double>(scaleX)) + scaleOrigX),
                  Truncate(std::floor((py - scaleOrigY) * static_cast<double>(scaleY)) + scaleOrigY),
                  Truncate(std::ceil(srcRect.w * static_cast<double>(scaleX))),
                  Truncate(std::ceil(srcRect.h * static_cast<double>(scaleY))));
  destImage->StretchBlt(image, dest, srcRect, clipRect, ImageColor(), drawMode, fastStretch);
}

void Graphics::DrawImage(Image* image, const Rect& destRect, const Rect& srcRect) {
  if (!image) return;
  const Rect dest(TransX(static_cast<float>(destRect.x)), TransY(static_cast<float>(destRect.y)), destRect.w,
                  destRect.h);
  destImage->StretchBlt(image, dest, srcRect, clipRect, ImageColor(), drawMode, fastStretch);
}

void Graphics::DrawImage(Image* image, int x, int y, int stretchedWidth, int stretchedHeight) {
  if (image) DrawImage(image, Rect(x, y, stretchedWidth, stretchedHeight), Rect(0, 0, image->width, image->height));
}

void Graphics::DrawImageMirror(Image* image, int x, int y, const Rect& srcRect) {
  if (!image || !Rect(0, 0, image->width, image->height).Contains(srcRect) || srcRect.IsEmpty()) return;
  const int px = TransX(static_cast<float>(x)), py = TransY(static_cast<float>(y));
  destImage->StretchBltMirror(image, Rect(px, py, srcRect.w, srcRect.h), srcRect, clipRect, ImageColor(), drawMode,
                              true);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double rot, int rotCenterX, int rotCenterY) {
  if (!image) return;
  destImage->BltRotated(image, static_cast<float>(x + static_cast<double>(transX)),
                        static_cast<float>(y + static_cast<double>(transY)), Rect(0, 0, image->width, image->height),
                        clipRect, ImageColor(), drawMode, rot, static_cast<float>(rotCenterX),
                        static_cast<float>(rotCenterY));
}

void Graphics::DrawImageCel(Image* image, int x, int y, int cel) {
  if (!image || image->numCols <= 0) return;
  DrawImageCel(image, x, y, cel % image->numCols, cel / image->numCols);
}

void Graphics::DrawImageCel(Image* image, int x, int y, int col, int row) {
  if (!image || col < 0 || row < 0 || col >= image->numCols || row >= image->numRows) return;
  DrawImage(image, x, y, image->GetCelRect(col, row));
}

void Graphics::DrawImageBox(const Rect& destRect, Image* image) {
  if (image) DrawImageBox(Rect(0, 0, image->width, image->height), destRect, image);
}

void Graphics::DrawImageBox(const Rect& src, const Rect& dest, Image* image) {
  if (!image || src.w <= 0 || src.h <= 0) return;
  const int cw = src.w / 3, ch = src.h / 3;
  const int midW = src.w - 2 * cw, midH = src.h - 2 * ch;
  const int right = dest.x + dest.w - cw, bottom = dest.y + dest.h - ch;
  const int srcRight = src.x + src.w - cw, srcBottom = src.y + src.h - ch;
  DrawImage(image, dest.x, dest.y, Rect(src.x, src.y, cw, ch));
  DrawImage(image, right, dest.y, Rect(srcRight, src.y, cw, ch));
  DrawImage(image, dest.x, bottom, Rect(src.x, srcBottom, cw, ch));
  DrawImage(image, right, bottom, Rect(srcRight, srcBottom, cw, ch));
  const int spanW = dest.w - 2 * cw, spanH = dest.h - 2 * ch;
  const int across = spanW > 0 ? (spanW + midW - 1) / midW : 0;
  const int down = spanH > 0 ? (spanH + midH - 1) / midH : 0;
  if (across > 0) {
    PushState();
    ClipRect(dest.x + cw, dest.y, spanW, dest.h);
    for (int i = 0; i < across; ++i) {
      DrawImage(image, dest.x + cw + i * midW, dest.y, Rect(src.x + cw, src.y, midW, ch));
      DrawImage(image, dest.x + cw + i * midW, bottom, Rect(src.x + cw, srcBottom, midW, ch));
    }
    PopState();
  }
  if (down > 0) {
    PushState();
    ClipRect(dest.x, dest.y + ch, dest.w, spanH);
    for (int j = 0; j < down; ++j) {
      DrawImage(image, dest.x, dest.y + ch + j * midH, Rect(src.x, src.y + ch, cw, midH));
      DrawImage(image, right, dest.y + ch + j * midH, Rect(srcRight, src.y + ch, cw, midH));
    }
    PopState();
  }
  if (across > 0 && down > 0) {
    PushState();
    ClipRect(dest.x + cw, dest.y + ch, spanW, spanH);
    for (int j = 0; j < down; ++j) {
      for (int i = 0; i < across; ++i) {
        DrawImage(image, dest.x + cw + i * midW, dest.y + ch + j * midH, Rect(src.x + cw, src.y + ch, midW, midH));
      }
    }
    PopState();
  }
}

}  // namespace Zing
