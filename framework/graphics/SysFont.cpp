#include "framework/graphics/SysFont.h"

#include <algorithm>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/SystemFont.h"
#include "framework/platform/Windows1252.h"

namespace Zing {

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kSheetWidth = 512;
constexpr int kGlyphGap = 1;
constexpr int kFirstPrintable = 32;

// Renders the printable Windows-1252 characters and packs them row by row.
std::shared_ptr<SysFont::GlyphSheet> RenderSheet(Platform::SystemFontFace& face) {
  auto sheet = std::make_shared<SysFont::GlyphSheet>();
  std::array<Platform::SystemGlyph, 256> rendered;
  int x = 0, y = 0, rowHeight = 0;
  for (int c = kFirstPrintable; c < 256; ++c) {
    Platform::SystemGlyph& g = rendered[static_cast<std::size_t>(c)];
    if (!face.Render(Platform::Windows1252ToCodePoint(static_cast<unsigned char>(c)), g)) continue;
    if (x + g.width > kSheetWidth) {
      x = 0;
      y += rowHeight + kGlyphGap;
      rowHeight = 0;
    }
    SysFont::Glyph& out = sheet->glyphs[static_cast<std::size_t>(c)];
    out = {Rect(x, y, g.width, g.rows), g.left, g.top, g.advance};
    x += g.width + kGlyphGap;
    rowHeight = std::max(rowHeight, g.rows);
  }
  auto image = std::make_shared<MemoryImage>();
  image->Create(kSheetWidth, std::max(1, y + rowHeight));
  std::uint32_t* bits = image->GetBits();
  for (int c = kFirstPrintable; c < 256; ++c) {
    const Platform::SystemGlyph& g = rendered[static_cast<std::size_t>(c)];
    const Rect& r = sheet->glyphs[static_cast<std::size_t>(c)].sheetRect;
    for (int row = 0; row < g.rows; ++row)
      for (int col = 0; col < g.width; ++col) {
        const std::uint32_t alpha = g.coverage[static_cast<std::size_t>(row * g.width + col)];
        bits[static_cast<std::size_t>((r.y + row) * kSheetWidth + r.x + col)] = (alpha << 24) | 0x00FFFFFF;
      }
  }
  image->BitsChanged();
  image->Palletize();
  sheet->image = std::move(image);
  sheet->underlinePosition = face.UnderlinePosition();
  sheet->underlineThickness = face.UnderlineThickness();
  return sheet;
}

}  // namespace

SysFont::SysFont(const std::string& face, int pointSize, bool bold, bool italic, bool withUnderline)
    : underline(withUnderline) {
  const int pixels = pointSize * kPixelsPerInch / kPointsPerInch;
  std::unique_ptr<Platform::SystemFontFace> opened = Platform::SystemFontFace::Open(face, pixels, bold, italic, error);
  if (!opened) return;
  faceName = opened->FamilyName();
  ascent = opened->Ascent();
  height = opened->Ascent() + opened->Descent();
  glyphs = RenderSheet(*opened);
}

Font* SysFont::Duplicate() const { return new SysFont(*this); }

int SysFont::CharWidthKern(char ch, char) { return CharWidth(ch); }

int SysFont::CharWidth(char ch) {
  return glyphs ? glyphs->glyphs[static_cast<unsigned char>(ch)].advance : 0;
}

int SysFont::StringWidth(const std::string& text) {
  int width = 0;
  for (const char c : text) width += CharWidth(c);
  return width;
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color, const Rect&) {
  if (!glyphs || !g) return;
  const Color oldColor = g->GetColor();
  const bool wasColorizing = g->GetColorizeImages();
  g->SetColorizeImages(true);
  if (drawShadow) {
    const Color shadow(0, 0, 0, color.a);
    DrawPass(g, x + 1, y + 1, text, shadow);
    if (simulateBold) DrawPass(g, x + 2, y + 1, text, shadow);
  }
  DrawPass(g, x, y, text, color);
  if (simulateBold) DrawPass(g, x + 1, y, text, color);
  g->SetColorizeImages(wasColorizing);
  g->SetColor(oldColor);
}

void SysFont::DrawPass(Graphics* g, int x, int y, const std::string& text, const Color& color) const {
  g->SetColor(color);
  int pen = x;
  for (const char c : text) {
    const Glyph& glyph = glyphs->glyphs[static_cast<unsigned char>(c)];
    if (!glyph.sheetRect.IsEmpty())
      g->DrawImage(glyphs->image.get(), pen + glyph.left, y - glyph.top, glyph.sheetRect);
    pen += glyph.advance;
  }
  if (underline && pen > x) g->FillRect(x, y + glyphs->underlinePosition, pen - x, glyphs->underlineThickness);
}

}  // namespace Zing
