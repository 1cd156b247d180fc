// Drawing an image font's string. Every glyph of every active layer becomes a
// draw command in one of 256 buckets by its order (glyph order plus the
// layer's base order); the buckets are then drawn in turn, so that, for
// instance, a shadow layer of base order -1 lies under the whole string. The
// commands live in one fixed pool shared by all fonts, guarded by a lock, so
// drawing allocates nothing for them.

#include <algorithm>
#include <array>
#include <mutex>
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
  GlyphPresets* presets;
  int glyph;
};

struct CommandPool {
  std::mutex lock;
  std::array<DrawCommand, kPoolSize> commands;
  std::array<int, kBuckets> head;
  std::array<int, kBuckets> tail;
  int used = 0;
  // Per active layer of the string being laid out: its size ratio and colour.
  std::vector<std::pair<double, Color>> layers;

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

int ToInt(long long value) { return TruncToInt(static_cast<double>(value)); }

// The image glyphs may be written into directly: a plain memory image
// (not one whose drawing a subclass changes), drawn unscaled.
MemoryImage* PresetTarget(const Graphics& g) {
  Image* dest = g.GetDestImage();
  if (!dest || typeid(*dest) != typeid(MemoryImage) || g.scaleX != 1.0f || g.scaleY != 1.0f) return nullptr;
  return static_cast<MemoryImage*>(dest);
}

// One glyph through its layer's presets, exactly as Graphics::DrawImage
// would blit it; false when it has to go that way after all.
bool DrawPreset(const Graphics& g, MemoryImage& target, const DrawCommand& command) {
  if (!command.presets) return false;
  const int mode = command.drawMode != -1 ? command.drawMode : g.GetDrawMode();
  const BlitPlan plan(target, static_cast<MemoryImage&>(*command.image), command.color, mode);
  return command.presets->Draw(target, plan, command.glyph, g.TransX(static_cast<float>(command.x)),
                               g.TransY(static_cast<float>(command.y)), g.GetClipRect());
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
    pool.layers.emplace_back(
        LayerRatio(layer),
        Color(Tint(layer.colorMult.r, color.r, layer.colorAdd.r), Tint(layer.colorMult.g, color.g, layer.colorAdd.g),
              Tint(layer.colorMult.b, color.b, layer.colorAdd.b), Tint(layer.colorMult.a, color.a, layer.colorAdd.a)));
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
      const double r = pool.layers[l].first;
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
      const Color& tinted = pool.layers[l].second;
      const bool added =
          pool.Add(glyph.order + layer.baseOrder, {active.image.get(), ToInt(gx + ink.x), ToInt(gy + ink.y), src,
                                                   layer.drawMode, tinted, kNone, active.presets.get(), c});
      if (rects && added) rects->push_back(Rect(ToInt(gx), ToInt(gy), whole.w, whole.h));
    }
    pen = next;
  }
  if (width) *width = ToInt(pen - x);

  const Color oldColor = g->GetColor();
  MemoryImage* target = PresetTarget(*g);
  for (int bucket = 0; bucket < kBuckets; ++bucket) {
    for (int at = pool.head[static_cast<std::size_t>(bucket)]; at != kNone;
         at = pool.commands[static_cast<std::size_t>(at)].next) {
      const DrawCommand& command = pool.commands[static_cast<std::size_t>(at)];
      if (target && DrawPreset(*g, *target, command)) continue;
      const int oldMode = g->GetDrawMode();
      if (command.drawMode != -1) g->SetDrawMode(command.drawMode);
      g->SetColor(command.color);
      g->DrawImage(command.image, command.x, command.y, command.src);
      g->SetDrawMode(oldMode);
    }
  }
  g->SetColor(oldColor);
  g->SetColorizeImages(wasColorizing);
}

}  // namespace Zing
