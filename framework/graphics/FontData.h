#pragma once

// The glyph data of an image font, read from a font descriptor (or from the
// older one-image-plus-widths format): layers of glyphs, each with its image,
// rectangles, offsets, widths, kerning, colours and draw order. Loaded once,
// then shared read-only by every `ImageFont` made from it.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Color.h"
#include "framework/graphics/DescParser.h"
#include "framework/graphics/Rect.h"

namespace Zing {

class FontHost;
class FontData;
class MemoryImage;

constexpr int kFontChars = 256;

struct CharData {
  Rect imageRect;
  int offsetX = 0;
  int offsetY = 0;
  std::array<std::int8_t, kFontChars> kerningOffsets{};  // by the following character
  int width = 0;
  int order = 0;
};

class FontLayer {
 public:
  explicit FontLayer(FontData* owner) : fontData(owner) {}

  FontData* fontData;
  std::vector<std::string> requiredTags;
  std::vector<std::string> excludedTags;
  std::array<CharData, kFontChars> charData{};
  Color colorMult{255, 255, 255, 255};
  Color colorAdd{0, 0, 0, 0};
  std::shared_ptr<MemoryImage> image;
  int drawMode = -1;  // -1 leaves the graphics' mode as it is
  int offsetX = 0;
  int offsetY = 0;
  int spacing = 0;
  int minPointSize = -1;
  int maxPointSize = -1;  // -1: no upper limit
  int pointSize = 0;      // 0: the layer does not depend on the size
  int ascent = 0;
  int ascentPadding = 0;
  int height = 0;         // 0: use defaultHeight
  int defaultHeight = 0;  // from the image map
  int lineSpacingOffset = 0;
  int baseOrder = 0;
};

class FontData : public DescParser {
 public:
  explicit FontData(FontHost* host = nullptr);

  // Reads a descriptor; on failure shows the error through the host and
  // stays uninitialized.
  bool Load(const std::string& fileName);
  // Reads descriptor text as if it came from `fileName` (images are looked up
  // beside it).
  bool LoadText(const std::string& fileName, const std::string& text);
  // The older format: `image` plus a widths file read from the disk.
  bool LoadLegacy(const std::shared_ptr<MemoryImage>& image, const std::string& widthsPath);

  bool HandleCommand(const ListDataElement& params) override;
  FontLayer* FindLayer(const std::string& name) const;
  // The full error text, header and location included ("" after a clean load).
  const std::string& GetFullError() const { return fullError; }

  bool initialized = false;
  FontHost* host;
  int defaultPointSize = 0;
  std::array<unsigned char, kFontChars> charMap{};
  std::vector<std::unique_ptr<FontLayer>> fontLayerList;
  std::map<std::string, FontLayer*> fontLayerMap;
  std::string sourceFile;
  std::string fontErrorHeader;

 private:
  friend class FontCommands;
  void Fail();
  std::string fullError;
};

}  // namespace Zing
