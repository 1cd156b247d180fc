// An image font's state: its data, point size, scale and tags, the choice of
// active layers (with scaled glyph images where the size asks for them) and
// the widths of characters and strings.

#include "framework/graphics/ImageFont.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

// Scaled glyph images larger than this are not made (the layer then draws
// nothing), so that a hostile point size cannot exhaust memory.
constexpr long long kMaxScaledPixels = 1LL << 24;

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

}  // namespace

int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(std::trunc(value), static_cast<double>(std::numeric_limits<int>::min()),
                                     static_cast<double>(std::numeric_limits<int>::max())));
}

ImageFont::ImageFont(FontHost* host, const std::string& descriptorPath) : fontData(std::make_shared<FontData>(host)) {
  fontData->Load(descriptorPath);
  pointSize = fontData->defaultPointSize;
  GenerateActiveFontLayers();
  activeListValid = true;
}

ImageFont::ImageFont(const std::shared_ptr<MemoryImage>& image, const std::string& widthsPath)
    : fontData(std::make_shared<FontData>()) {
  fontData->LoadLegacy(image, widthsPath);
  pointSize = fontData->defaultPointSize;
  GenerateActiveFontLayers();
  activeListValid = true;
}

ImageFont::ImageFont(std::shared_ptr<FontData> data) : fontData(std::move(data)) {
  pointSize = fontData->defaultPointSize;
  GenerateActiveFontLayers();
  activeListValid = true;
}

Font* ImageFont::Duplicate() const { return new ImageFont(*this); }

void ImageFont::SetPointSize(int size) {
  pointSize = size;
  activeListValid = false;
}

void ImageFont::SetScale(double newScale) {
  scale = newScale;
  activeListValid = false;
}

bool ImageFont::AddTag(const std::string& name) {
  if (HasTag(name)) return false;
  tagVector.push_back(UpperCase(name));
  activeListValid = false;
  return true;
}

bool ImageFont::RemoveTag(const std::string& name) {
  const auto it = std::find(tagVector.begin(), tagVector.end(), UpperCase(name));
  if (it == tagVector.end()) return false;
  tagVector.erase(it);
  activeListValid = false;
  return true;
}

bool ImageFont::HasTag(const std::string& name) const {
  return std::find(tagVector.begin(), tagVector.end(), name) != tagVector.end();
}

std::string ImageFont::GetDefine(const std::string& name) const {
  const DataElement* define = fontData->GetDefine(name);
  if (!define) return "";
  if (const std::string* text = DescParser::ItemText(*define)) return *text;
  std::string out = "(";
  const auto& items = static_cast<const ListDataElement*>(define)->elements;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) out += ", ";
    const std::string* text = DescParser::ItemText(*items[i]);
    out += text ? *text : "(...)";
  }
  return out + ")";
}

void ImageFont::Prepare() {
  if (activeListValid) return;
  GenerateActiveFontLayers();
  activeListValid = true;
}

bool ImageFont::LayerFits(const FontLayer& layer) const {
  if (pointSize < layer.minPointSize) return false;
  if (layer.maxPointSize != -1 && pointSize > layer.maxPointSize) return false;
  for (const std::string& tag : layer.requiredTags)
    if (!HasTag(tag)) return false;
  for (const std::string& tag : layer.excludedTags)
    if (HasTag(tag)) return false;
  return true;
}

double ImageFont::LayerRatio(const FontLayer& layer) const {
  return layer.pointSize == 0 ? scale : static_cast<double>(pointSize) * scale / layer.pointSize;
}

void ImageFont::GenerateActiveFontLayers() {
  if (!fontData->initialized) return;
  activeLayerList.clear();
  ascent = ascentPadding = height = lineSpacingOffset = 0;
  for (const auto& layer : fontData->fontLayerList) {
    if (LayerFits(*layer)) ActivateLayer(*layer);
  }
  // A layer made from another usually moves the pen as it does: drawing
  // then works out the advance once for both.
  for (std::size_t l = 1; l < activeLayerList.size(); ++l)
    for (std::size_t k = 0; k < l && !activeLayerList[l].advancesAsEarlier; ++k)
      activeLayerList[l].advancesAsEarlier = SameAdvances(activeLayerList[k], activeLayerList[l]);
}

bool ImageFont::SameAdvances(const ActiveFontLayer& a, const ActiveFontLayer& b) const {
  const FontLayer& x = *a.baseFontLayer;
  const FontLayer& y = *b.baseFontLayer;
  if (LayerRatio(x) != LayerRatio(y) || x.spacing != y.spacing) return false;
  for (int c = 0; c < kFontChars; ++c)
    if (x.charData[c].width != y.charData[c].width || x.charData[c].kerningOffsets != y.charData[c].kerningOffsets)
      return false;
  return true;
}

void ImageFont::ActivateLayer(FontLayer& layer) {
  ActiveFontLayer& active = activeLayerList.emplace_back();
  active.baseFontLayer = &layer;
  const double s = LayerRatio(layer);
  if (scale == 1.0 && (layer.pointSize == 0 || layer.pointSize == pointSize)) {
    active.image = layer.image;
    for (int c = 0; c < kFontChars; ++c) active.scaledCharImageRects[c] = layer.charData[c].imageRect;
  } else {
    MakeScaledImage(active, s);
  }
  FindInk(active);
  if (active.image) {
    std::array<Rect, kFontChars> ink;
    for (int c = 0; c < kFontChars; ++c) {
      const Rect& whole = active.scaledCharImageRects[c];
      ink[c] = Rect(whole.x + active.inkRects[c].x, whole.y + active.inkRects[c].y, active.inkRects[c].w,
                    active.inkRects[c].h);
    }
    active.presets = std::make_shared<GlyphPresets>(active.image.get(), ink);
  }
  PlaceGlyphs(active, s);
  const int layerAscent = TruncToInt(layer.ascent * s);
  const int layerHeight = TruncToInt((layer.height != 0 ? layer.height : layer.defaultHeight) * s);
  const int layerPadding = TruncToInt(layer.ascentPadding * s);
  const int layerSpacing = TruncToInt(layer.lineSpacingOffset * s);
  const bool first = activeLayerList.size() == 1;
  ascent = std::max(ascent, layerAscent);
  height = std::max(height, layerHeight);
  ascentPadding = first ? layerPadding : std::min(ascentPadding, layerPadding);
  lineSpacingOffset = first ? layerSpacing : std::max(lineSpacingOffset, layerSpacing);
}

// Lays every glyph, stretched by `s`, side by side into a new image.
void ImageFont::MakeScaledImage(ActiveFontLayer& active, double s) const {
  const FontLayer& layer = *active.baseFontLayer;
  if (!layer.image || !(s > 0)) return;
  long long totalWidth = 0;
  int maxHeight = 0;
  for (const CharData& c : layer.charData) {
    totalWidth += std::max(0, TruncToInt(c.imageRect.w * s));
    maxHeight = std::max(maxHeight, TruncToInt(c.imageRect.h * s));
    if (totalWidth * maxHeight > kMaxScaledPixels) return;
  }
  if (totalWidth == 0 || maxHeight == 0) return;
  auto image = std::make_shared<MemoryImage>();
  image->Create(static_cast<int>(totalWidth), maxHeight);
  image->SetImageMode(true, true);
  const Rect whole(0, 0, image->GetWidth(), image->GetHeight());
  int x = 0;
  for (int ch = 0; ch < kFontChars; ++ch) {
    const Rect& src = layer.charData[ch].imageRect;
    const Rect dest(x, 0, std::max(0, TruncToInt(src.w * s)), std::max(0, TruncToInt(src.h * s)));
    active.scaledCharImageRects[ch] = dest;
    if (!dest.IsEmpty() && !src.IsEmpty())
      image->StretchBlt(layer.image.get(), dest, src, whole, Color::White, Image::kDrawModeNormal, false);
    x += dest.w;
  }
  if (forceScaledImagesWhite) {
    std::uint32_t* bits = image->GetBits();
    for (long long i = 0; i < totalWidth * maxHeight; ++i) bits[i] |= 0x00FFFFFF;
    image->BitsChanged();
  }
  image->Palletize();
  active.image = std::move(image);
  active.ownsImage = true;
}

// The smallest rectangle around the pixels of each glyph whose alpha is not 0.
void ImageFont::FindInk(ActiveFontLayer& active) {
  MemoryImage* image = active.image.get();
  for (int ch = 0; ch < kFontChars; ++ch) {
    const Rect& r = active.scaledCharImageRects[ch];
    int left = r.w, top = r.h, right = -1, bottom = -1;
    for (int y = 0; image && y < r.h; ++y)
      for (int x = 0; x < r.w; ++x) {
        if ((image->GetPixel(r.x + x, r.y + y) >> 24) == 0) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    active.inkRects[ch] = right < 0 ? Rect() : Rect(left, top, right - left + 1, bottom - top + 1);
  }
}

// Draw orders fall into 256 buckets; orders beyond them join the first or last.
void ImageFont::PlaceGlyphs(ActiveFontLayer& active, double s) {
  const FontLayer& layer = *active.baseFontLayer;
  const auto scaled = [s](int value) { return s == 1.0 ? value : TruncToInt(value * s); };
  constexpr long long kOrderBias = 128, kLastBucket = 255;
  bool first = true;
  for (int ch = 0; ch < kFontChars; ++ch) {
    const CharData& glyph = layer.charData[ch];
    // The layer's ascent lifts the glyph unscaled; only the offsets follow the size ratio.
    active.placeX[ch] = static_cast<long long>(scaled(layer.offsetX)) + scaled(glyph.offsetX);
    active.placeY[ch] = static_cast<long long>(scaled(layer.offsetY)) - layer.ascent + scaled(glyph.offsetY);
    active.inkX[ch] = active.placeX[ch] + active.inkRects[ch].x;
    active.inkY[ch] = active.placeY[ch] + active.inkRects[ch].y;
    const long long order = static_cast<long long>(glyph.order) + layer.baseOrder + kOrderBias;
    const bool shows = active.image && !active.inkRects[ch].IsEmpty();
    active.bucket[ch] =
        static_cast<std::uint16_t>(shows ? std::clamp(order, 0LL, kLastBucket) : ActiveFontLayer::kNoBucket);
    if (!shows) continue;
    Bound(active, static_cast<unsigned char>(ch), first);
    if (first) active.commonBucket = active.bucket[ch];
    if (active.commonBucket != active.bucket[ch]) active.commonBucket = -1;
    first = false;
  }
}

// Widens the layer's bounds by what drawing the glyph may write.
void ImageFont::Bound(ActiveFontLayer& active, unsigned char ch, bool first) {
  const Rect written =
      active.presets ? active.presets->Written(ch) : Rect(0, 0, active.inkRects[ch].w, active.inkRects[ch].h);
  const long long x = active.inkX[ch], y = active.inkY[ch];
  const long long left = std::min(x, x + written.x), right = std::max(x, x + written.x + written.w);
  const long long bottom = y + std::max(0, written.h);
  active.left = first ? left : std::min(active.left, left);
  active.right = first ? right : std::max(active.right, right);
  active.top = first ? y : std::min(active.top, y);
  active.bottom = first ? bottom : std::max(active.bottom, bottom);
}

int ImageFont::CharWidthKern(char ch, char prev) {
  Prepare();
  const unsigned char c = fontData->charMap[Byte(ch)];
  const unsigned char p = prev == 0 ? 0 : fontData->charMap[Byte(prev)];
  int widest = 0;
  for (const ActiveFontLayer& active : activeLayerList) {
    const FontLayer& layer = *active.baseFontLayer;
    const double r = LayerRatio(layer);
    const int width = TruncToInt(layer.charData[c].width * r);
    const int kern =
        prev == 0 ? 0 : TruncToInt((layer.charData[p].kerningOffsets[c] + static_cast<double>(layer.spacing)) * r);
    widest = std::max(widest, TruncToInt(static_cast<double>(width) + kern));
  }
  return widest;
}

int ImageFont::CharWidth(char ch) { return CharWidthKern(ch, 0); }

int ImageFont::StringWidth(const std::string& text) {
  long long width = 0;
  char prev = 0;
  for (const char c : text) {
    width += CharWidthKern(c, prev);
    prev = c;
  }
  return TruncToInt(static_cast<double>(width));
}

}  // namespace Zing
