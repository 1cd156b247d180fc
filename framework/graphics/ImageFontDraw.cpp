// Drawing an image font's string. Every glyph of every active layer has an
// order (glyph order plus the layer's base order) that falls into one of 256
// buckets; the buckets are drawn in turn, each in the string's order, so
// that, for instance, a shadow layer of base order -1 lies under the whole
// string. A first walk over the string places the pen at every character and
// notes which buckets are in use; then one walk per used bucket draws its
// glyphs straight from the layer's sheet, with nothing built or sorted in
// between. Drawing takes no memory per line: the pen positions live in one
// buffer shared by all fonts, guarded by a lock. At most kMaxGlyphs glyphs
// of a line are drawn.
//
// Onto a plain memory image the glyphs go straight from the layer's preset
// tables into the target's pixels: the blend, the table of the colour and the
// clip are worked out once per layer and line, and each glyph is then one
// kernel call over its rows, so a line costs about what its pixels cost.

#include <algorithm>
#include <bitset>
#include <cmath>
#include <limits>
#include <mutex>
#include <optional>
#include <typeinfo>
#include <vector>

#include "framework/graphics/BlitPlan.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

constexpr int kMaxGlyphs = 4096;
constexpr int kBuckets = 256;

// One active layer of the line being drawn: its colour, and its set-up for
// drawing straight into the target (made on its first glyph).
struct LineLayer {
  const ActiveFontLayer* active = nullptr;
  double ratio = 1.0;
  Color color;
  bool prepared = false;
  std::optional<BlitPlan> plan;
  GlyphPresets::Table* table = nullptr;
};

struct LineState {
  std::mutex lock;
  std::vector<LineLayer> layers;
  std::vector<unsigned char> glyphs;  // the string's characters through the font's map
  std::vector<long long> pens;        // the pen's x at each character
};

LineState& Line() {
  static LineState state;
  return state;
}

// A colour component: the layer's multiplier times the given colour plus the
// layer's addend, kept inside 0..255.
int Tint(int mult, int given, int add) {
  return static_cast<int>(std::clamp(static_cast<long long>(mult) * given / 255 + add, 0LL, 255LL));
}

int Scaled(int value, double r) { return r == 1.0 ? value : TruncToInt(value * r); }

// A position kept inside the int range (what truncating it as a double
// would give for every value a line can reach).
int ToInt(long long value) {
  return static_cast<int>(
      std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The image glyphs may be written into directly: a plain memory image
// (not one whose drawing a subclass changes), drawn unscaled.
MemoryImage* PresetTarget(const Graphics& g) {
  Image* dest = g.GetDestImage();
  if (!dest || typeid(*dest) != typeid(MemoryImage) || g.scaleX != 1.0f || g.scaleY != 1.0f) return nullptr;
  return static_cast<MemoryImage*>(dest);
}

// Graphics::TransX and TransY as every drawing call translates, in whole
// numbers where that gives the same: a whole translation and a position that
// a float holds exactly.
class Translation {
 public:
  explicit Translation(const Graphics& graphics)
      : g(graphics), byX(Whole(g.transX)), byY(Whole(g.transY)), wholeX(IsWhole(g.transX)), wholeY(IsWhole(g.transY)) {}
  int X(int x) const { return wholeX && Exact(x) ? x + byX : g.TransX(static_cast<float>(x)); }
  int Y(int y) const { return wholeY && Exact(y) ? y + byY : g.TransY(static_cast<float>(y)); }

 private:
  static constexpr float kLimit = 1 << 30;
  static constexpr int kExact = 1 << 24;  // every int up to this is a float
  static bool IsWhole(float t) { return std::fabs(t) < kLimit && t == std::trunc(t); }
  static int Whole(float t) { return IsWhole(t) ? static_cast<int>(t) : 0; }
  static bool Exact(int v) { return v >= -kExact && v <= kExact; }
  const Graphics& g;
  int byX, byY;
  bool wholeX, wholeY;
};

// The target of a line drawn straight from the preset tables, with what is
// worked out once per line.
struct DirectTarget {
  MemoryImage* image = nullptr;
  std::uint32_t* bits = nullptr;
  Rect clip;             // inside the image
  bool changed = false;  // pixels written and not yet announced
};

// The layer's blend and table for the target; null table when its glyphs go
// the ordinary way.
GlyphPresets::Table* PrepareLayer(const Graphics& g, DirectTarget& target, LineLayer& layer) {
  if (layer.prepared) return layer.table;
  layer.prepared = true;
  const ActiveFontLayer& active = *layer.active;
  MemoryImage& sheet = *active.image;
  if (!active.presets || &sheet == target.image || active.presets->Sheet() != &sheet) return nullptr;
  const int drawMode = active.baseFontLayer->drawMode;
  sheet.CommitBits();  // as every blit does with its source
  layer.plan.emplace(*target.image, sheet, layer.color, drawMode != -1 ? drawMode : g.GetDrawMode());
  layer.table = active.presets->Prepare(*layer.plan);
  return layer.table;
}

// One glyph as every image is drawn.
void DrawOrdinary(Graphics& g, DirectTarget& target, const LineLayer& layer, int glyph, int x, int y) {
  if (target.changed) {
    // The ordinary blit sees the pixels written so far as changed.
    target.image->BitsChanged();
    target.changed = false;
  }
  const ActiveFontLayer& active = *layer.active;
  const Rect& whole = active.scaledCharImageRects[glyph];
  const Rect& ink = active.inkRects[glyph];
  const int oldMode = g.GetDrawMode();
  if (active.baseFontLayer->drawMode != -1) g.SetDrawMode(active.baseFontLayer->drawMode);
  g.SetColor(layer.color);
  g.DrawImage(active.image.get(), x, y, Rect(whole.x + ink.x, whole.y + ink.y, ink.w, ink.h));
  g.SetDrawMode(oldMode);
  if (target.image) target.bits = target.image->GetBits();
}

// The glyphs of one bucket, in the string's order; `count` characters, the
// last of them with only its first `lastLayers` layers.
void DrawBucket(Graphics& g, DirectTarget& target, const Translation& trans, std::vector<LineLayer>& layers,
                const unsigned char* glyphs, const long long* pens, std::size_t count, std::size_t lastLayers, int y,
                int bucket) {
  for (std::size_t i = 0; i < count; ++i) {
    const int c = glyphs[i];
    const std::size_t layerCount = i + 1 == count ? lastLayers : layers.size();
    for (std::size_t l = 0; l < layerCount; ++l) {
      LineLayer& layer = layers[l];
      const ActiveFontLayer& active = *layer.active;
      if (active.bucket[c] != bucket) continue;
      const Rect& ink = active.inkRects[c];
      const int x = ToInt(pens[i] + active.placeX[c] + ink.x);
      const int top = ToInt(y + active.placeY[c] + ink.y);
      GlyphPresets::Table* table = target.image ? PrepareLayer(g, target, layer) : nullptr;
      if (table && active.presets->DrawGlyph(*table, *target.image, target.bits, *layer.plan, c, trans.X(x),
                                             trans.Y(top), target.clip)) {
        target.changed = true;
        continue;
      }
      DrawOrdinary(g, target, layer, c, x, top);
    }
  }
}

}  // namespace

void ImageFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color, const Rect&) {
  DrawStringEx(g, x, y, text, color, nullptr, nullptr);
}

void ImageFont::DrawStringEx(Graphics* g, int x, int y, const std::string& text, const Color& color,
                             std::vector<Rect>* rects, int* width) {
  if (rects) rects->clear();
  if (width) *width = 0;
  if (!fontData->initialized || !g) return;
  LineState& line = Line();
  std::lock_guard<std::mutex> guard(line.lock);
  Prepare();

  line.layers.clear();
  for (const ActiveFontLayer& active : activeLayerList) {
    const FontLayer& layer = *active.baseFontLayer;
    LineLayer& lineLayer = line.layers.emplace_back();
    lineLayer.active = &active;
    lineLayer.ratio = LayerRatio(layer);
    lineLayer.color =
        Color(Tint(layer.colorMult.r, color.r, layer.colorAdd.r), Tint(layer.colorMult.g, color.g, layer.colorAdd.g),
              Tint(layer.colorMult.b, color.b, layer.colorAdd.b), Tint(layer.colorMult.a, color.a, layer.colorAdd.a));
  }

  // The pen at every character, the buckets in use, and where the glyphs
  // beyond kMaxGlyphs begin (character `count` - 1, layer `lastLayers`).
  line.pens.resize(text.size());
  line.glyphs.resize(text.size());
  std::bitset<kBuckets> used;
  int glyphs = 0;
  bool full = false;
  std::size_t count = text.size(), lastLayers = activeLayerList.size();
  unsigned char* glyphOf = line.glyphs.data();
  for (std::size_t i = 0; i < text.size(); ++i) glyphOf[i] = fontData->charMap[static_cast<unsigned char>(text[i])];
  long long pen = x;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = glyphOf[i];
    const unsigned char n = i + 1 < text.size() ? glyphOf[i + 1] : 0;
    line.pens[i] = pen;
    long long next = pen;
    for (std::size_t l = 0; l < activeLayerList.size(); ++l) {
      const ActiveFontLayer& active = activeLayerList[l];
      const FontLayer& layer = *active.baseFontLayer;
      const double r = line.layers[l].ratio;
      int advance = Scaled(layer.charData[c].width, r);
      if (n != 0) advance += Scaled(layer.charData[c].kerningOffsets[n] + layer.spacing, r);
      next = std::max(next, pen + advance);
      if (active.bucket[c] == ActiveFontLayer::kNoBucket || full) continue;
      if (glyphs == kMaxGlyphs) {
        full = true;
        count = i + 1, lastLayers = l;
        continue;
      }
      ++glyphs;
      used.set(active.bucket[c]);
      const Rect& whole = active.scaledCharImageRects[c];
      if (rects) rects->push_back(Rect(ToInt(pen + active.placeX[c]), ToInt(y + active.placeY[c]), whole.w, whole.h));
    }
    pen = next;
  }
  if (width) *width = ToInt(pen - x);
  if (!used.any()) return;

  const Color oldColor = g->GetColor();
  const bool wasColorizing = g->GetColorizeImages();
  g->SetColorizeImages(true);
  DirectTarget target;
  target.image = PresetTarget(*g);
  if (target.image) {
    target.bits = target.image->GetBits();
    target.clip = g->GetClipRect().Intersection(Rect(0, 0, target.image->GetWidth(), target.image->GetHeight()));
  }
  const Translation trans(*g);
  for (int bucket = 0; bucket < kBuckets; ++bucket)
    if (used.test(static_cast<std::size_t>(bucket)))
      DrawBucket(*g, target, trans, line.layers, glyphOf, line.pens.data(), count, lastLayers, y, bucket);
  if (target.changed) target.image->BitsChanged();
  g->SetColor(oldColor);
  g->SetColorizeImages(wasColorizing);
}

}  // namespace Zing
