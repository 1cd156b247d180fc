#include "tools/artgen/FontSheets.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/artgen/ImageFiles.h"

namespace artgen {

uint32_t Cp1252ToUnicode(uint8_t byte) {
  static const uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (byte < 32 || byte == 127) return 0;
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

namespace {

struct FontStyle {
  const char* name;  // file stem below fonts/
  const char* id;    // resource id without "FONT_"
  Face face;
  int pixels;     // em size in pixels
  bool shadow;    // a soft shadow layer under the letters
  int raise = 0;  // letters drawn this many pixels above the pen's baseline
};

struct Glyph {
  uint8_t ch = 0;
  int x = 0, y = 0, w = 0, h = 0;  // rectangle on the sheet
  int offX = 0, offY = 0;          // from the pen position and the top of the line
  int advance = 0;
};

constexpr int kPad = 2;  // transparent border inside every glyph rectangle
constexpr int kGap = 2;  // space between glyph rectangles
constexpr int kSheetWidth = 256;

// Quotes one character for a descriptor list.
std::string Quoted(uint8_t ch) {
  if (ch == '\'') return "\"'\"";
  if (ch == '\\') return "'\\\\'";
  return std::string("'") + char(ch) + "'";
}

std::vector<uint8_t> CharacterSet() {
  std::vector<uint8_t> set;
  for (int c = 32; c < 256; ++c) {
    if (Cp1252ToUnicode(uint8_t(c)) != 0) set.push_back(uint8_t(c));
  }
  return set;
}

// Renders every glyph onto the sheet, row by row.
std::vector<Glyph> RenderGlyphs(FT_Face face, int ascent, Canvas& sheet) {
  std::vector<Glyph> glyphs;
  int penX = 0, penY = 0, rowH = 0;
  cairo_surface_flush(sheet.Surface());
  unsigned char* data = cairo_image_surface_get_data(sheet.Surface());
  const int stride = cairo_image_surface_get_stride(sheet.Surface());
  for (uint8_t ch : CharacterSet()) {
    if (FT_Load_Char(face, Cp1252ToUnicode(ch), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    Glyph g;
    g.ch = ch;
    g.w = int(bm.width) + 2 * kPad;
    g.h = int(bm.rows) + 2 * kPad;
    g.advance = int(std::lround(slot->advance.x / 64.0));
    g.offX = slot->bitmap_left - kPad;
    g.offY = ascent - slot->bitmap_top - kPad;
    if (penX + g.w > kSheetWidth) {
      penX = 0;
      penY += rowH + kGap;
      rowH = 0;
    }
    g.x = penX;
    g.y = penY;
    if (penY + g.h > sheet.Height()) throw std::runtime_error("font sheet too small");
    for (unsigned r = 0; r < bm.rows; ++r) {
      auto* row = reinterpret_cast<uint32_t*>(data + size_t(g.y + kPad + int(r)) * size_t(stride));
      for (unsigned c = 0; c < bm.width; ++c) {
        const uint32_t a = bm.buffer[size_t(r) * size_t(std::abs(bm.pitch)) + c];
        row[g.x + kPad + int(c)] = (a << 24) | (a << 16) | (a << 8) | a;
      }
    }
    penX += g.w + kGap;
    rowH = std::max(rowH, g.h);
    glyphs.push_back(g);
  }
  cairo_surface_mark_dirty(sheet.Surface());
  return glyphs;
}

// The character pairs whose kerning moves the second character by a pixel or more.
std::vector<std::pair<std::string, int>> KerningPairs(FT_Face face, const std::vector<Glyph>& glyphs) {
  std::vector<std::pair<std::string, int>> pairs;
  if (!FT_HAS_KERNING(face)) return pairs;
  for (const Glyph& a : glyphs) {
    for (const Glyph& b : glyphs) {
      if (a.ch == ' ' || b.ch == ' ' || a.ch == '\'' || b.ch == '\'' || a.ch == '\\' || b.ch == '\\') continue;
      FT_Vector k;
      FT_Get_Kerning(face, FT_Get_Char_Index(face, Cp1252ToUnicode(a.ch)),
                     FT_Get_Char_Index(face, Cp1252ToUnicode(b.ch)), FT_KERNING_DEFAULT, &k);
      const int px = int(std::lround(k.x / 64.0));
      if (px != 0) pairs.push_back({std::string{char(a.ch), char(b.ch)}, std::clamp(px, -128, 127)});
    }
  }
  return pairs;
}

std::string Descriptor(const FontStyle& style, const std::vector<Glyph>& glyphs,
                       const std::vector<std::pair<std::string, int>>& kerning, int ascent, int height) {
  std::ostringstream d;
  d << "# "
    << "FONT_" << style.id << ": DejaVu Sans, " << style.pixels << " pixels"
    << (style.shadow ? ", a soft shadow under the letters" : "") << ".\n"
    << "# Written by artgen; characters are Windows-1252.\n\n"
    << "SetDefaultPointSize " << style.pixels << ";\n"
    << "CreateLayer Main;\n"
    << "LayerSetImage Main '" << style.name << ".png';\n"
    << "LayerSetAscent Main " << ascent << ";\n"
    << "LayerSetHeight Main " << height << ";\n";
  if (style.raise != 0) d << "LayerSetOffset Main (0 " << -style.raise << ");\n";
  auto list = [&](const char* command, auto item) {
    d << command << " Main\n  (";
    for (size_t i = 0; i < glyphs.size(); ++i) d << (i ? (i % 16 ? " " : "\n   ") : "") << Quoted(glyphs[i].ch);
    d << ")\n  (";
    for (size_t i = 0; i < glyphs.size(); ++i) d << (i ? (i % 8 ? " " : "\n   ") : "") << item(glyphs[i]);
    d << ");\n";
  };
  list("LayerSetImageMap", [](const Glyph& g) {
    return "(" + std::to_string(g.x) + " " + std::to_string(g.y) + " " + std::to_string(g.w) + " " +
           std::to_string(g.h) + ")";
  });
  list("LayerSetCharWidths", [](const Glyph& g) { return std::to_string(g.advance); });
  list("LayerSetCharOffsets",
       [](const Glyph& g) { return "(" + std::to_string(g.offX) + " " + std::to_string(g.offY) + ")"; });
  if (!kerning.empty()) {
    d << "LayerSetKerningPairs Main\n  (";
    for (size_t i = 0; i < kerning.size(); ++i)
      d << (i ? (i % 12 ? " " : "\n   ") : "") << "'" << kerning[i].first << "'";
    d << ")\n  (";
    for (size_t i = 0; i < kerning.size(); ++i) d << (i ? (i % 12 ? " " : "\n   ") : "") << kerning[i].second;
    d << ");\n";
  }
  if (style.shadow) {
    d << "\n# The shadow: the same glyphs blurred, dark and a pixel down and right,\n"
      << "# drawn before every letter of the string.\n"
      << "CreateLayerFrom Shadow Main;\n"
      << "LayerSetImage Shadow '" << style.name << "_shadow.png';\n"
      << "LayerSetColorMult Shadow (0.0 0.05 0.05 0.85);\n"
      << "LayerSetOffset Shadow (1 1);\n"
      << "LayerSetBaseOrder Shadow -1;\n";
  }
  return d.str();
}

void MakeFont(Catalog& catalog, const Lettering& lettering, const FontStyle& style, const char* group) {
  FT_Face face = lettering.FreeTypeFace(style.face);
  FT_Set_Pixel_Sizes(face, 0, FT_UInt(style.pixels));
  const int ascent = int(std::ceil(face->size->metrics.ascender / 64.0));
  const int descent = int(std::ceil(-face->size->metrics.descender / 64.0));
  Canvas sheet(kSheetWidth, style.pixels * 40);
  const std::vector<Glyph> glyphs = RenderGlyphs(face, ascent, sheet);
  int used = 0;
  for (const Glyph& g : glyphs) used = std::max(used, g.y + g.h);
  Canvas trimmed(kSheetWidth, used);
  trimmed.Paint(sheet, 0, 0);
  const auto fontDir = catalog.DataDir() / "fonts";
  WritePng((fontDir / (std::string(style.name) + ".png")).string(), trimmed);
  if (style.shadow) {
    Canvas shadow(kSheetWidth, used);
    shadow.Paint(trimmed, 0, 0);
    shadow.Blur(1);
    WritePng((fontDir / (std::string(style.name) + "_shadow.png")).string(), shadow);
  }
  std::ofstream out(fontDir / (std::string(style.name) + ".txt"), std::ios::binary);
  out << Descriptor(style, glyphs, KerningPairs(face, glyphs), ascent, ascent + descent);
  if (!out) throw std::runtime_error("cannot write a font descriptor");
  catalog.AddFont({group, style.id, std::string(style.name) + ".txt"});
}

}  // namespace

void MakeFonts(Catalog& catalog, const Lettering& lettering) {
  MakeFont(catalog, lettering, {"default", "DEFAULT", Face::Regular, 14, true}, "Init");
  MakeFont(catalog, lettering, {"small", "SMALL_DIGITS", Face::Bold, 11, false, kSmallFontRaise}, "Game");
}

}  // namespace artgen
