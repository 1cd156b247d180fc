#pragma once

// A font drawn from glyph images. Its `FontData` (shared by duplicates)
// holds layers; the font activates the layers that suit its point size and
// tags, measures with their width tables and draws every glyph of every
// active layer in one global order (so a shadow layer lies under the whole
// string, not just under its own letter).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Font.h"
#include "framework/graphics/FontData.h"
#include "framework/graphics/GlyphPresets.h"

namespace Zing {

class FontHost;
class MemoryImage;

struct ActiveFontLayer {
  FontLayer* baseFontLayer = nullptr;
  std::shared_ptr<MemoryImage> image;  // the layer's image, or a scaled copy
  bool ownsImage = false;              // the image is a scaled copy made for this font
  std::array<Rect, kFontChars> scaledCharImageRects{};
  // Per character, the part of its rectangle that holds any visible pixel,
  // relative to the rectangle: drawing skips the transparent border.
  std::array<Rect, kFontChars> inkRects{};
  // The ink of every glyph with its blends worked out per colour (null
  // without an image).
  std::shared_ptr<GlyphPresets> presets;
  // Per character, worked out when the layer is made: its glyph's place
  // relative to the pen and the line's y (the offsets scaled, the ascent
  // lifted), and the bucket of its draw order, kNoBucket when it shows nothing.
  static constexpr int kNoBucket = 256;
  std::array<long long, kFontChars> placeX{}, placeY{};
  std::array<long long, kFontChars> inkX{}, inkY{};  // the same for its ink rectangle
  std::array<std::uint16_t, kFontChars> bucket{};
  int commonBucket = -1;           // the bucket of every glyph that shows, -1 when they differ
  bool advancesAsEarlier = false;  // an earlier active layer moves the pen exactly as this one
  // What drawing a glyph may write, relative to the pen and the line's y,
  // over all glyphs that show: x from `left` to `right`, y from `top` to `bottom`.
  long long left = 0, right = 0, top = 0, bottom = 0;
};

class ImageFont : public Font {
 public:
  // Reads the descriptor at `descriptorPath`; its images come through `host`.
  ImageFont(FontHost* host, const std::string& descriptorPath);
  // The older format: glyphs side by side in `image`, widths in a text file.
  ImageFont(const std::shared_ptr<MemoryImage>& image, const std::string& widthsPath);
  // A font over already loaded data.
  explicit ImageFont(std::shared_ptr<FontData> data);
  ImageFont(const ImageFont& other) = default;
  ImageFont& operator=(const ImageFont&) = delete;

  int StringWidth(const std::string& text) override;
  int CharWidth(char ch) override;
  int CharWidthKern(char ch, char prev) override;
  void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                  const Rect& clipRect) override;
  Font* Duplicate() const override;

  virtual void GenerateActiveFontLayers();
  // Draws `text`; fills `rects` with one rectangle per drawn glyph and
  // `width` with the advance of the whole string when they are given.
  virtual void DrawStringEx(Graphics* g, int x, int y, const std::string& text, const Color& color,
                            std::vector<Rect>* rects, int* width);
  virtual void SetPointSize(int size);
  virtual int GetPointSize() const { return pointSize; }
  virtual void SetScale(double newScale);
  virtual int GetDefaultPointSize() const { return fontData->defaultPointSize; }
  virtual bool AddTag(const std::string& name);
  virtual bool RemoveTag(const std::string& name);
  virtual bool HasTag(const std::string& name) const;
  virtual std::string GetDefine(const std::string& name) const;
  virtual void Prepare();

  // Whether the font's data read cleanly; a font that did not draws nothing.
  bool IsLoaded() const { return fontData->initialized; }
  const std::shared_ptr<FontData>& GetFontData() const { return fontData; }
  const std::vector<ActiveFontLayer>& GetActiveLayers() { return (Prepare(), activeLayerList); }

  std::shared_ptr<FontData> fontData;
  int pointSize = 0;
  std::vector<std::string> tagVector;
  bool activeListValid = false;
  std::vector<ActiveFontLayer> activeLayerList;
  double scale = 1.0;
  bool forceScaledImagesWhite = false;

 private:
  bool LayerFits(const FontLayer& layer) const;
  // The factor of the layer's sizes at the font's point size and scale.
  double LayerRatio(const FontLayer& layer) const;
  void ActivateLayer(FontLayer& layer);
  void MakeScaledImage(ActiveFontLayer& active, double s) const;
  static void FindInk(ActiveFontLayer& active);
  static void PlaceGlyphs(ActiveFontLayer& active, double s);
  static void Bound(ActiveFontLayer& active, unsigned char ch, bool first);
  bool SameAdvances(const ActiveFontLayer& a, const ActiveFontLayer& b) const;
};

// A double truncated toward zero and kept inside the range of int.
int TruncToInt(double value);

}  // namespace Zing
