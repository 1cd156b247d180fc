// Drawing an image font's string. Every glyph of every active layer becomes a
// draw command in one of 256 buckets by its order (glyph order plus the
// layer's base order); the buckets are then drawn in turn, so that, for
// instance, a shadow layer of base order -1 lies under the whole string. The
// commands live in one fixed pool shared by all fonts, guarded by a lock, so
// drawing allocates nothing for them.
//
// Onto a plain memory image the glyphs go straight from the layer's preset
// tables into the target's pixels: the blend, the table of the colour and the
// clip are worked out once per layer and line, and each glyph is then one
// kernel call over its rows, so a line costs about what its pixels cost.

#include <algorithm>
#include <array>
#include <limits>
#include <mutex>
#include <optional>
#include <typeinfo>
#include <utility>
#include <vector>

#include "framework/graphics/BlitPlan.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

constexpr int kPoolSize = 4096;
constexpr int kBuckets = 256;
constexpr int kOrderBias = 128;
constexpr int kNone = -1;

struct DrawCommand {
  Image* image;
  int x, y;
  Rect src;
  int drawMode;
  Color color;
  int next;
  int layer;  // index into the line's layers
  int glyph;
};

// One active layer of the line being drawn: its size ratio and colour, and
// its set-up for drawing straight into the target (made on its first glyph).
struct LineLayer {
  double ratio = 1.0;
  Color color;
  GlyphPresets* presets = nullptr;
  bool prepared = false;
  bool destAlpha = false;  // the target's modes the blend was chosen for
  bool destTrans = false;
  std::optional<BlitPlan> plan;
  GlyphPresets::Table* table = nullptr;
};

struct CommandPool {
  std::mutex lock;
  std::array<DrawCommand, kPoolSize> commands;
  std::array<int, kBuckets> head;
  std::array<int, kBuckets> tail;
  int used = 0;
  std::vector<LineLayer> layers;

  void Reset() {
    head.fill(kNone);
    tail.fill(kNone);
    used = 0;
  }
  bool Add(int order, const DrawCommand& command) {
    if (used == kPoolSize) return false;  // glyphs beyond the pool are not drawn
    const auto bucket = static_cast<std::size_t>(std::clamp(order + kOrderBias, 0, kBuckets - 1));
    commands[static_cast<std::size_t>(used)] = command;
    if (tail[bucket] == kNone)
      head[bucket] = used;
    else
      commands[static_cast<std::size_t>(tail[bucket])].next = used;
    tail[bucket] = used++;
    return true;
  }
};

CommandPool& Pool() {
  static CommandPool pool;
  return pool;
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

// The target of a line drawn straight from the preset tables, with what is
// worked out once per line.
struct DirectTarget {
  MemoryImage* image = nullptr;
  std::uint32_t* bits = nullptr;
  Rect clip;             // inside the image
  bool changed = false;  // pixels written and not yet announced
};

// The layer's blend and table for the target as it is now; null table when
// its glyphs go the ordinary way.
GlyphPresets::Table* PrepareLayer(const Graphics& g, DirectTarget& target, LineLayer& layer,
                                  const DrawCommand& command) {
  MemoryImage& image = *target.image;
  if (layer.prepared && layer.destAlpha == image.HasAlpha() && layer.destTrans == image.HasTransparency())
    return layer.table;
  layer.prepared = true;
  layer.destAlpha = image.HasAlpha();
  layer.destTrans = image.HasTransparency();
  layer.table = nullptr;
  auto& sheet = static_cast<MemoryImage&>(*command.image);
  if (!layer.presets || &sheet == &image || layer.presets->Sheet() != &sheet) return nullptr;
  const int mode = command.drawMode != -1 ? command.drawMode : g.GetDrawMode();
  layer.plan.emplace(image, sheet, command.color, mode);
  layer.table = layer.presets->Prepare(*layer.plan);
  sheet.CommitBits();  // as every blit does with its source
  return layer.table;
}

// One glyph straight into the target; false when it has to go the ordinary way.
bool DrawDirect(const Graphics& g, DirectTarget& target, LineLayer& layer, const DrawCommand& command) {
  GlyphPresets::Table* table = PrepareLayer(g, target, layer, command);
  if (!table || !layer.presets->DrawGlyph(*table, *target.image, target.bits, *layer.plan, command.glyph,
                                          g.TransX(static_cast<float>(command.x)),
                                          g.TransY(static_cast<float>(command.y)), target.clip))
    return false;
  target.changed = true;
  return true;
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
  std::lock_guard<std::mutex> guard(Pool().lock);
  CommandPool& pool = Pool();
  pool.Reset();
  Prepare();
  const bool wasColorizing = g->GetColorizeImages();
  g->SetColorizeImages(true);

  pool.layers.clear();
  for (const ActiveFontLayer& active : activeLayerList) {
    const FontLayer& layer = *active.baseFontLayer;
    LineLayer& line = pool.layers.emplace_back();
    line.ratio = LayerRatio(layer);
    line.color =
        Color(Tint(layer.colorMult.r, color.r, layer.colorAdd.r), Tint(layer.colorMult.g, color.g, layer.colorAdd.g),
              Tint(layer.colorMult.b, color.b, layer.colorAdd.b), Tint(layer.colorMult.a, color.a, layer.colorAdd.a));
    line.presets = active.presets.get();
  }

  long long pen = x;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = fontData->charMap[static_cast<unsigned char>(text[i])];
    const unsigned char n = i + 1 < text.size() ? fontData->charMap[static_cast<unsigned char>(text[i + 1])] : 0;
    long long next = pen;
    for (std::size_t l = 0; l < activeLayerList.size(); ++l) {
      const ActiveFontLayer& active = activeLayerList[l];
      const FontLayer& layer = *active.baseFontLayer;
      const CharData& glyph = layer.charData[c];
      const double r = pool.layers[l].ratio;
      const long long gx = pen + Scaled(layer.offsetX, r) + Scaled(glyph.offsetX, r);
      // The layer's ascent lifts the glyph unscaled; only the offsets, the
      // width and the kerning follow the size ratio.
      const long long gy =
          static_cast<long long>(y) + Scaled(layer.offsetY, r) - layer.ascent + Scaled(glyph.offsetY, r);
      int advance = Scaled(glyph.width, r);
      if (n != 0) advance += Scaled(layer.charData[c].kerningOffsets[n] + layer.spacing, r);
      next = std::max(next, pen + advance);
      const Rect& whole = active.scaledCharImageRects[c];
      const Rect& ink = active.inkRects[c];
      if (!active.image || ink.IsEmpty()) continue;
      const Rect src(whole.x + ink.x, whole.y + ink.y, ink.w, ink.h);
      const Color& tinted = pool.layers[l].color;
      const bool added =
          pool.Add(glyph.order + layer.baseOrder, {active.image.get(), ToInt(gx + ink.x), ToInt(gy + ink.y), src,
                                                   layer.drawMode, tinted, kNone, static_cast<int>(l), c});
      if (rects && added) rects->push_back(Rect(ToInt(gx), ToInt(gy), whole.w, whole.h));
    }
    pen = next;
  }
  if (width) *width = ToInt(pen - x);

  const Color oldColor = g->GetColor();
  DirectTarget target;
  target.image = PresetTarget(*g);
  if (target.image) {
    target.bits = target.image->GetBits();
    target.clip = g->GetClipRect().Intersection(Rect(0, 0, target.image->GetWidth(), target.image->GetHeight()));
  }
  for (int bucket = 0; bucket < kBuckets; ++bucket) {
    for (int at = pool.head[static_cast<std::size_t>(bucket)]; at != kNone;
         at = pool.commands[static_cast<std::size_t>(at)].next) {
      const DrawCommand& command = pool.commands[static_cast<std::size_t>(at)];
      LineLayer& layer = pool.layers[static_cast<std::size_t>(command.layer)];
      if (target.image && DrawDirect(*g, target, layer, command)) continue;
      if (target.changed) {
        // The ordinary blit sees the pixels written so far as changed.
        target.image->BitsChanged();
        target.changed = false;
      }
      const int oldMode = g->GetDrawMode();
      if (command.drawMode != -1) g->SetDrawMode(command.drawMode);
      g->SetColor(command.color);
      g->DrawImage(command.image, command.x, command.y, command.src);
      g->SetDrawMode(oldMode);
      if (target.image) target.bits = target.image->GetBits();
    }
  }
  if (target.changed) target.image->BitsChanged();
  g->SetColor(oldColor);
  g->SetColorizeImages(wasColorizing);
}

}  // namespace Zing
