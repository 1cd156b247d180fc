// The older font source: one image with all glyphs side by side and a widths
// file beside it. The widths file starts with the width of the space and the
// ascent, then holds pairs of a character and its width. Letters that only
// one case defines stand in for the other case.

#include <fstream>

#include "framework/graphics/FontData.h"
#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

constexpr unsigned char kSpace = ' ';

// The other-case partner of a Windows-1252 letter, or 0.
unsigned char OtherCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x8A: case 0x8C: case 0x8E: return static_cast<unsigned char>(c + 16);  // Š Œ Ž
    case 0x9A: case 0x9C: case 0x9E: return static_cast<unsigned char>(c - 16);  // š œ ž
    case 0x9F: return 0xFF;                                                       // Ÿ
    case 0xFF: return 0x9F;                                                       // ÿ
    default: return 0;
  }
}

}  // namespace

bool FontData::LoadLegacy(const std::shared_ptr<MemoryImage>& image, const std::string& widthsPath) {
  sourceFile = widthsPath;
  fontErrorHeader = "Font Descriptor Error in " + widthsPath + "\r\n";
  if (!image) return false;
  auto layer = std::make_unique<FontLayer>(this);
  layer->image = image;
  layer->defaultHeight = image->GetHeight();
  layer->ascent = image->GetHeight();

  std::ifstream in(widthsPath, std::ios::binary);
  int spaceWidth = 0;
  if (!(in >> spaceWidth >> layer->ascent)) return false;
  layer->charData[kSpace].width = spaceWidth;
  long long x = 0;
  unsigned char ch = 0;
  int width = 0;
  while (in >> ch >> width) {
    if (width < 0 || x + width > image->GetWidth()) return false;  // a glyph beyond the image
    CharData& data = layer->charData[ch];
    data.imageRect = Rect(static_cast<int>(x), 0, width, image->GetHeight());
    data.width = width;
    x += width;
  }
  for (int c = 0; c < kFontChars; ++c) {
    const unsigned char other = OtherCase(static_cast<unsigned char>(c));
    if (other && layer->charData[static_cast<std::size_t>(c)].width == 0 && layer->charData[other].width != 0)
      charMap[static_cast<std::size_t>(c)] = other;
  }
  fontLayerMap["MAIN"] = layer.get();
  fontLayerList.push_back(std::move(layer));
  initialized = true;
  return true;
}

}  // namespace Zing
