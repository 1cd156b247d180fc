// Text on a Graphics: colour codes inside strings, justification and word
// wrapping, measured and drawn with the current font.

#include <algorithm>

#include "framework/graphics/Graphics.h"

namespace Zing {

namespace {

constexpr std::size_t kCodeLength = 8;  // '^', six characters, '^'

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;  // anything else counts as 0
}

// The 0xRRGGBB value a colour code (the six characters after its caret) selects.
std::uint32_t CodeColor(const std::string& text, std::size_t at, int oldColor) {
  if (text.compare(at, 6, "oldclr") == 0) return static_cast<std::uint32_t>(oldColor) & 0xFFFFFF;
  std::uint32_t rgb = 0;
  for (std::size_t i = 0; i < 6; ++i) rgb = (rgb << 4) | static_cast<std::uint32_t>(HexDigit(text[at + i]));
  return rgb;
}

}  // namespace

int Graphics::WritePass(const std::string& text, std::size_t begin, std::size_t end, int x, int y, bool draw,
                        int oldColor, Color& current) {
  int pen = x;
  std::string pending;
  const auto flush = [&] {
    if (pending.empty()) return;
    if (draw) {
      color = current;
      DrawString(pending, pen, y);
    }
    pen += font->StringWidth(pending);
    pending.clear();
  };
  std::size_t i = begin;
  while (i < end) {
    const char c = text[i];
    if (c != '^' || !writeColoredString) {
      pending += c;
      ++i;
      continue;
    }
    if (i + 1 < end && text[i + 1] == '^') {
      pending += '^';
      i += 2;
      continue;
    }
    if (end - i < kCodeLength) break;  // a cut-off code ends the text
    flush();
    const std::uint32_t rgb = CodeColor(text, i + 1, oldColor);
    current.r = static_cast<int>((rgb >> 16) & 0xFF);
    current.g = static_cast<int>((rgb >> 8) & 0xFF);
    current.b = static_cast<int>(rgb & 0xFF);
    i += kCodeLength;
  }
  flush();
  return pen - x;
}

int Graphics::WriteLine(const std::string& text, std::size_t begin, std::size_t end, int x, int y, int width,
                        int justification, bool draw, int oldColor, Color& current) {
  if (draw && (justification == kJustifyCenter || justification == kJustifyRight)) {
    Color measuring = current;
    const int textWidth = WritePass(text, begin, end, x, y, false, oldColor, measuring);
    x += justification == kJustifyCenter ? (width - textWidth) / 2 : width - textWidth;
  }
  return WritePass(text, begin, end, x, y, draw, oldColor, current);
}

int Graphics::WriteString(const std::string& text, int x, int y, int width, int justification, bool draw, int offset,
                          int length, int oldColor) {
  if (!font) return 0;
  const std::size_t begin = std::min(static_cast<std::size_t>(std::max(offset, 0)), text.size());
  const std::size_t end = length < 0 ? text.size() : std::min(text.size(), begin + static_cast<std::size_t>(length));
  const Color start = color;
  if (oldColor == -1) oldColor = static_cast<int>(start.ToPacked());
  Color current = start;
  const int result = WriteLine(text, begin, end, x, y, width, justification, draw, oldColor, current);
  color = start;
  return result;
}

int Graphics::WriteWordWrapped(const Rect& rect, const std::string& text, int lineSpacing, int justification) {
  if (!font) return 0;
  if (lineSpacing == -1) lineSpacing = font->GetLineSpacing();
  const Color start = color;
  // Only the colour's RGB is restored by "oldclr"; without its alpha, white is not taken for -1.
  const int oldColor = static_cast<int>(start.ToPacked() & 0xFFFFFF);
  Color current = start;
  int baseline = rect.y + font->GetAscent() - font->GetAscentPadding();
  int lastBaseline = baseline;
  const auto writeLine = [&](std::size_t from, std::size_t to) {
    const long long screenBaseline = static_cast<long long>(baseline) + static_cast<long long>(transY);
    const bool visible = screenBaseline >= static_cast<long long>(clipRect.y) - lineSpacing &&
                         screenBaseline < static_cast<long long>(clipRect.y) + clipRect.h + lineSpacing;
    // Lines out of sight are still read for their colour codes.
    WriteLine(text, from, to, rect.x, baseline, rect.w, justification, visible, oldColor, current);
    lastBaseline = baseline;
    baseline += lineSpacing;
  };

  const std::size_t n = text.size();
  std::size_t lineStart = 0, i = 0;
  std::size_t lastSpace = std::string::npos;
  int lineWidth = 0, charsOnLine = 0;
  char prev = 0;
  const auto startLine = [&](std::size_t at) {
    lineStart = at;
    i = at;
    lastSpace = std::string::npos;
    lineWidth = 0;
    charsOnLine = 0;
    prev = 0;
  };
  while (i < n) {
    char measured = text[i];
    std::size_t size = 1;
    if (measured == '^' && writeColoredString) {
      if (i + 1 < n && text[i + 1] == '^') {
        size = 2;
      } else {
        i = std::min(n, i + kCodeLength);  // colour codes measure nothing
        continue;
      }
    }
    if (measured == '\n') {
      writeLine(lineStart, i);
      startLine(i + 1);
      continue;
    }
    if (measured == ' ') lastSpace = i;
    lineWidth += font->CharWidthKern(measured, prev);
    prev = measured;
    if (lineWidth > rect.w) {
      if (lastSpace == std::string::npos) {
        // No space to break at: break before this character, keeping at least one on the line.
        const std::size_t breakAt = charsOnLine == 0 ? i + size : i;
        writeLine(lineStart, breakAt);
        startLine(breakAt);
      } else {
        writeLine(lineStart, lastSpace);
        std::size_t next = lastSpace + 1;
        while (next < n && text[next] == ' ') ++next;
        startLine(next);
      }
      continue;
    }
    i += size;
    ++charsOnLine;
  }
  writeLine(lineStart, n);
  color = start;
  return lastBaseline - rect.y + font->GetDescent();
}

}  // namespace Zing
