// Text and digit drawing helpers that widgets share.

#include <algorithm>
#include <string>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widget/Widget.h"

namespace Zing {

namespace {

// Turns colour codes in strings on for one call and back to what they were.
class ColoredStringScope {
 public:
  explicit ColoredStringScope(Graphics* g) : g_(g), saved_(g->writeColoredString) { g->SetWriteColoredString(true); }
  ~ColoredStringScope() { g_->SetWriteColoredString(saved_); }
  ColoredStringScope(const ColoredStringScope&) = delete;
  ColoredStringScope& operator=(const ColoredStringScope&) = delete;

 private:
  Graphics* g_;
  bool saved_;
};

Rect Union(const Rect& a, const Rect& b) {
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  const int right = std::max(a.x + a.w, b.x + b.w);
  const int bottom = std::max(a.y + a.h, b.y + b.h);
  return Rect(left, top, right - left, bottom - top);
}

}  // namespace

Rect Widget::DrawCenteredLine(Graphics* g, int lineY, const std::string& text) {
  Font* font = g != nullptr ? g->GetFont() : nullptr;
  if (font == nullptr) return Rect();
  const int textWidth = font->StringWidth(text);
  const int left = (width - textWidth) / 2;
  g->DrawString(text, left, lineY);
  return Rect(left, lineY - font->GetAscent(), textWidth, font->GetHeight());
}

Rect Widget::DrawCenteredLineShadowed(Graphics* g, int lineY, const std::string& text, const Color& color,
                                      const Color& shadowColor, const Point& shadowOffset) {
  Font* font = g != nullptr ? g->GetFont() : nullptr;
  if (font == nullptr) return Rect();
  const int textWidth = font->StringWidth(text);
  const int left = (width - textWidth) / 2;
  g->SetColor(shadowColor);
  g->DrawString(text, left + shadowOffset.x, lineY + shadowOffset.y);
  g->SetColor(color);
  g->DrawString(text, left, lineY);
  const Rect line(left, lineY - font->GetAscent(), textWidth, font->GetHeight());
  const Rect shadow(line.x + shadowOffset.x, line.y + shadowOffset.y, line.w, line.h);
  return Union(line, shadow);
}

void Widget::DrawColoredString(Graphics* g, const std::string& text, int px, int py) {
  if (g == nullptr) return;
  ColoredStringScope colored(g);
  g->WriteString(text, px, py);
}

int Widget::DrawWordWrapped(Graphics* g, const Rect& rect, const std::string& text, int lineSpacing,
                            int justification) {
  if (g == nullptr) return 0;
  ColoredStringScope colored(g);
  return g->WriteWordWrapped(rect, text, lineSpacing, justification);
}

int Widget::GetWordWrappedHeight(Font* font, int wrapWidth, const std::string& text, int lineSpacing) {
  if (font == nullptr) return 0;
  // A graphics without an image lays the text out and draws nothing.
  Graphics scratch;
  scratch.SetFont(font);
  return scratch.WriteWordWrapped(Rect(0, 0, wrapWidth, 0), text, lineSpacing);
}

void Widget::DrawNumberFromStrip(Graphics* g, int number, int px, int py, Image* strip, int spacing) {
  if (g == nullptr || strip == nullptr) return;
  const int cellWidth = strip->GetWidth() / 10;
  const int cellHeight = strip->GetHeight();
  if (cellWidth <= 0 || cellHeight <= 0) return;
  // The strip has digits only: a sign is not drawn.
  int pen = px;
  for (char digit : std::to_string(number)) {
    if (digit < '0' || digit > '9') continue;
    g->DrawImage(strip, pen, py, Rect((digit - '0') * cellWidth, 0, cellWidth, cellHeight));
    pen += cellWidth + spacing;
  }
}

}  // namespace Zing
