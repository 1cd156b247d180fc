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
#include <array>
#include <bit>
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
// drawing straight into the target.
struct LineLayer {
  const ActiveFontLayer* active = nullptr;
  double ratio = 1.0;
  // What moves the pen, null when an earlier layer moves it alike.
  const CharData* chars = nullptr;
  int spacing = 0;
  bool unscaled = true;
  Color color;
  std::optional<BlitPlan> plan;
  bool direct = false;  // `line` holds the set-up
  bool inside = false;  // and every glyph lies inside its clip rectangle, translated in whole numbers
  GlyphPresets::Line line;
};

struct LineState {
  std::mutex lock;
  std::vector<LineLayer> layers;
  std::vector<long long> pens;          // the pen's x at each character
  std::vector<std::size_t> passLayers;  // the layers with glyphs in the bucket being drawn
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
  // Whether every position in the box is translated in whole numbers, and
  // lands inside `clip`.
  bool Keeps(long long left, long long top, long long right, long long bottom, const Rect& clip) const {
    return wholeX && wholeY && Exact(left) && Exact(top) && Exact(right) && Exact(bottom) && left + byX >= clip.x &&
           right + byX <= clip.Right() && top + byY >= clip.y && bottom + byY <= clip.Bottom();
  }
  int ByX() const { return byX; }
  int ByY() const { return byY; }
  // Of a position not yet kept inside the int range.
  int X(long long x) const { return wholeX && Exact(x) ? static_cast<int>(x) + byX : g.TransX(ToFloat(x)); }
  int Y(long long y) const { return wholeY && Exact(y) ? static_cast<int>(y) + byY : g.TransY(ToFloat(y)); }

 private:
  static constexpr float kLimit = 1 << 30;
  static constexpr int kExact = 1 << 24;  // every int up to this is a float
  static bool IsWhole(float t) { return std::fabs(t) < kLimit && t == std::trunc(t); }
  static int Whole(float t) { return IsWhole(t) ? static_cast<int>(t) : 0; }
  static bool Exact(long long v) { return v >= -kExact && v <= kExact; }
  static float ToFloat(long long v) { return static_cast<float>(ToInt(v)); }
  const Graphics& g;
  int byX, byY;
  bool wholeX, wholeY;
};

// The target of a line drawn straight from the preset tables, with what is
// worked out once per line, and what ordinary blits change of the graphics.
struct DirectTarget {
  MemoryImage* image = nullptr;
  bool changed = false;   // pixels written and not yet announced
  bool ordinary = false;  // colour, draw mode and colorizing to be restored
  Color oldColor;
  bool wasColorizing = false;
};

// The layer's blend and table for the target, when its glyphs can be drawn from it.
void PrepareLayer(const Graphics& g, const DirectTarget& target, LineLayer& layer) {
  const ActiveFontLayer& active = *layer.active;
  if (!active.presets || !active.image) return;
  MemoryImage& sheet = *active.image;
  if (&sheet == target.image || active.presets->Sheet() != &sheet) return;
  const int drawMode = active.baseFontLayer->drawMode;
  sheet.CommitBits();  // as every blit does with its source
  layer.plan.emplace(*target.image, sheet, layer.color, drawMode != -1 ? drawMode : g.GetDrawMode());
  GlyphPresets::Table* table = active.presets->Prepare(*layer.plan);
  if (!table) return;
  MemoryImage& image = *target.image;
  layer.direct = true;
  layer.line = {table,
                &*layer.plan,
                &Blend::ActiveKernels(),
                layer.plan->GetKind() == BlitPlan::kTint,
                image.GetBits(),
                image.GetWidth(),
                g.GetClipRect().Intersection(Rect(0, 0, image.GetWidth(), image.GetHeight()))};
}

// One glyph as every image is drawn.
void DrawOrdinary(Graphics& g, DirectTarget& target, std::vector<LineLayer>& layers, const LineLayer& layer, int glyph,
                  int x, int y) {
  if (target.changed) {
    // The ordinary blit sees the pixels written so far as changed.
    target.image->BitsChanged();
    target.changed = false;
  }
  if (!target.ordinary) {
    target.ordinary = true;
    target.oldColor = g.GetColor();
    target.wasColorizing = g.GetColorizeImages();
    g.SetColorizeImages(true);
  }
  const ActiveFontLayer& active = *layer.active;
  const Rect& whole = active.scaledCharImageRects[glyph];
  const Rect& ink = active.inkRects[glyph];
  const int oldMode = g.GetDrawMode();
  if (active.baseFontLayer->drawMode != -1) g.SetDrawMode(active.baseFontLayer->drawMode);
  g.SetColor(layer.color);
  g.DrawImage(active.image.get(), x, y, Rect(whole.x + ink.x, whole.y + ink.y, ink.w, ink.h));
  g.SetDrawMode(oldMode);
  if (!target.image) return;
  for (LineLayer& other : layers) other.line.bits = target.image->GetBits();
}

// What the first walk over a line finds: the width, the buckets in use, and
// the glyphs drawn: all of the first `count` - 1 characters and the first
// `lastLayers` layers of the last one (fewer only beyond kMaxGlyphs).
struct LineLayout {
  int width = 0;
  long long glyphs = 0;
  std::size_t count = 0, lastLayers = 0;
  std::array<std::uint64_t, kBuckets / 64> used{};
};

// A character's advance on a layer: its width, and the kerning towards the
// next character and the layer's spacing when it pairs with one, at the
// layer's size.
int Advance(const LineLayer& layer, unsigned char c, unsigned char next, bool paired) {
  const CharData& glyph = layer.chars[c];
  const int pair = paired ? glyph.kerningOffsets[next] + layer.spacing : 0;
  if (layer.unscaled) return glyph.width + pair;
  return Scaled(glyph.width, layer.ratio) + Scaled(pair, layer.ratio);
}

// The one layer that moves the pen, when it does so unscaled; null otherwise.
const LineLayer* OnlyAdvancing(const LineState& line) {
  const LineLayer* only = nullptr;
  for (const LineLayer& layer : line.layers) {
    if (!layer.chars) continue;
    if (only || !layer.unscaled) return nullptr;
    only = &layer;
  }
  return only;
}

// Where the glyphs beyond kMaxGlyphs begin, walking the string's characters
// and, for each, its layers.
void Truncate(const LineState& line, const std::array<unsigned char, kFontChars>& charMap, const std::string& text,
              LineLayout& layout) {
  int glyphs = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = charMap[static_cast<unsigned char>(text[i])];
    for (std::size_t l = 0; l < line.layers.size(); ++l) {
      if (line.layers[l].active->bucket[c] == ActiveFontLayer::kNoBucket) continue;
      if (glyphs++ == kMaxGlyphs) {
        layout.count = i + 1, layout.lastLayers = l, layout.glyphs = kMaxGlyphs;
        return;
      }
    }
  }
}

LineLayout LayOut(LineState& line, const std::array<unsigned char, kFontChars>& charMap, int x,
                  const std::string& text) {
  LineLayout layout;
  const std::size_t size = text.size(), layers = line.layers.size();
  const LineLayer* layer = line.layers.data();
  const auto* chars = reinterpret_cast<const unsigned char*>(text.data());
  layout.count = size;
  layout.lastLayers = layers;
  line.pens.resize(size);
  long long* pens = line.pens.data();
  const LineLayer* only = OnlyAdvancing(line);
  long long pen = x;
  unsigned char c = size ? charMap[chars[0]] : 0;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char n = i + 1 < size ? charMap[chars[i + 1]] : 0;
    // As measuring has it: a character pairs with the next one unless it is NUL.
    const bool paired = i + 1 < size && chars[i] != 0;
    pens[i] = pen;
    if (only) {
      // One layer moves the pen, at its own size.
      const CharData& glyph = only->chars[c];
      pen += std::max(0, glyph.width + (paired ? glyph.kerningOffsets[n] + only->spacing : 0));
    } else {
      long long next = pen;
      for (std::size_t l = 0; l < layers; ++l)
        if (layer[l].chars) next = std::max(next, pen + Advance(layer[l], c, n, paired));
      pen = next;
    }
    c = n;
  }
  layout.width = ToInt(pen - x);
  for (std::size_t l = 0; l < layers; ++l) {
    const std::uint16_t* buckets = layer[l].active->bucket.data();
    const int common = layer[l].active->commonBucket;
    int shown = 0;
    for (std::size_t i = 0; i < size; ++i) {
      const int bucket = buckets[charMap[chars[i]]];
      if (bucket == ActiveFontLayer::kNoBucket) continue;
      ++shown;
      if (common == -1) layout.used[static_cast<std::size_t>(bucket / 64)] |= std::uint64_t{1} << (bucket % 64);
    }
    if (common != -1 && shown) layout.used[static_cast<std::size_t>(common / 64)] |= std::uint64_t{1} << (common % 64);
    layout.glyphs += shown;
  }
  // Buckets whose glyphs all lie beyond the limit stay marked; they draw nothing.
  if (layout.glyphs > kMaxGlyphs) Truncate(line, charMap, text, layout);
  return layout;
}

// The rectangle of every glyph drawn, in the string's order.
void GlyphRects(const LineState& line, const std::array<unsigned char, kFontChars>& charMap, int y,
                const std::string& text, const LineLayout& layout, std::vector<Rect>& rects) {
  for (std::size_t i = 0; i < layout.count; ++i) {
    const unsigned char c = charMap[static_cast<unsigned char>(text[i])];
    const std::size_t limit = i + 1 == layout.count ? layout.lastLayers : line.layers.size();
    for (std::size_t l = 0; l < limit; ++l) {
      const ActiveFontLayer& active = *line.layers[l].active;
      const Rect& whole = active.scaledCharImageRects[c];
      if (active.bucket[c] != ActiveFontLayer::kNoBucket)
        rects.push_back(Rect(ToInt(line.pens[i] + active.placeX[c]), ToInt(y + active.placeY[c]), whole.w, whole.h));
    }
  }
}

// One glyph of a layer, its character's pen at `pen`.
[[gnu::always_inline]] inline void DrawGlyph(Graphics& g, DirectTarget& target, const Translation& trans,
                                             std::vector<LineLayer>& layers, LineLayer& layer, unsigned char c,
                                             long long pen, int y) {
  const ActiveFontLayer& active = *layer.active;
  const long long x = pen + active.inkX[c], top = y + active.inkY[c];
  if (layer.direct && active.presets->DrawGlyph(layer.line, c, trans.X(x), trans.Y(top))) {
    target.changed = true;
    return;
  }
  DrawOrdinary(g, target, layers, layer, c, ToInt(x), ToInt(top));
}

// The glyphs of one bucket of a layer whose glyphs all lie inside the clip
// rectangle, for the first `count` characters.
void DrawInside(Graphics& g, DirectTarget& target, const Translation& trans, LineState& line, LineLayer& layer,
                const std::string& text, const std::array<unsigned char, kFontChars>& charMap, std::size_t count, int y,
                int bucket) {
  const ActiveFontLayer& active = *layer.active;
  GlyphPresets& presets = *active.presets;
  const auto* chars = reinterpret_cast<const unsigned char*>(text.data());
  const long long* pens = line.pens.data();
  const int byX = trans.ByX(), byY = trans.ByY();
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char c = charMap[chars[i]];
    if (active.bucket[c] != bucket) continue;
    const int x = static_cast<int>(pens[i] + active.inkX[c]), top = static_cast<int>(y + active.inkY[c]);
    if (presets.DrawGlyphInside(layer.line, c, x + byX, top + byY)) {
      target.changed = true;
      continue;
    }
    DrawOrdinary(g, target, line.layers, layer, c, x, top);
  }
}

// The glyphs of one bucket, in the string's order.
void DrawBucket(Graphics& g, DirectTarget& target, const Translation& trans, LineState& line, const std::string& text,
                const std::array<unsigned char, kFontChars>& charMap, const LineLayout& layout, int y, int bucket) {
  line.passLayers.clear();
  for (std::size_t l = 0; l < line.layers.size(); ++l) {
    const int common = line.layers[l].active->commonBucket;
    if (common == bucket || common == -1) line.passLayers.push_back(l);
  }
  const auto* chars = reinterpret_cast<const unsigned char*>(text.data());
  const long long* pens = line.pens.data();
  if (line.passLayers.size() == 1) {
    // One layer (as where every layer has a bucket of its own): just the characters.
    const std::size_t l = line.passLayers[0];
    LineLayer& layer = line.layers[l];
    const std::uint16_t* buckets = layer.active->bucket.data();
    const std::size_t count = l < layout.lastLayers ? layout.count : layout.count - 1;
    if (layer.inside) {
      DrawInside(g, target, trans, line, layer, text, charMap, count, y, bucket);
      return;
    }
    for (std::size_t i = 0; i < count; ++i) {
      const unsigned char c = charMap[chars[i]];
      if (buckets[c] == bucket) DrawGlyph(g, target, trans, line.layers, layer, c, pens[i], y);
    }
    return;
  }
  for (std::size_t i = 0; i < layout.count; ++i) {
    const unsigned char c = charMap[chars[i]];
    const std::size_t limit = i + 1 == layout.count ? layout.lastLayers : line.layers.size();
    for (const std::size_t l : line.passLayers) {
      if (l >= limit) break;
      if (line.layers[l].active->bucket[c] == bucket)
        DrawGlyph(g, target, trans, line.layers, line.layers[l], c, pens[i], y);
    }
  }
}

void SetUpLayer(LineLayer& line, const ActiveFontLayer& active, double ratio, const Color& color) {
  const FontLayer& layer = *active.baseFontLayer;
  line.active = &active;
  line.ratio = ratio;
  line.chars = active.advancesAsEarlier ? nullptr : layer.charData.data();
  line.spacing = layer.spacing;
  line.unscaled = line.ratio == 1.0;
  line.color =
      Color(Tint(layer.colorMult.r, color.r, layer.colorAdd.r), Tint(layer.colorMult.g, color.g, layer.colorAdd.g),
            Tint(layer.colorMult.b, color.b, layer.colorAdd.b), Tint(layer.colorMult.a, color.a, layer.colorAdd.a));
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
  for (const ActiveFontLayer& active : activeLayerList)
    SetUpLayer(line.layers.emplace_back(), active, LayerRatio(*active.baseFontLayer), color);
  const LineLayout layout = LayOut(line, fontData->charMap, x, text);
  if (width) *width = layout.width;
  if (rects) GlyphRects(line, fontData->charMap, y, text, layout, *rects);
  if (layout.glyphs == 0) return;

  DirectTarget target;
  target.image = PresetTarget(*g);
  const Translation trans(*g);
  const long long lastPen = line.pens[layout.count - 1];
  if (target.image) {
    for (LineLayer& layer : line.layers) {
      PrepareLayer(*g, target, layer);
      const ActiveFontLayer& active = *layer.active;
      layer.inside = layer.direct && trans.Keeps(x + active.left, y + active.top, lastPen + active.right,
                                                 y + active.bottom, layer.line.clip);
    }
  }
  for (std::size_t word = 0; word < layout.used.size(); ++word)
    for (std::uint64_t bits = layout.used[word]; bits != 0; bits &= bits - 1)
      DrawBucket(*g, target, trans, line, text, fontData->charMap, layout, y,
                 static_cast<int>(64 * word) + std::countr_zero(bits));
  if (target.changed) target.image->BitsChanged();
  if (target.ordinary) {
    g->SetColor(target.oldColor);
    g->SetColorizeImages(target.wasColorizing);
  }
}

}  // namespace Zing
