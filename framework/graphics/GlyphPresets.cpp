#include "framework/graphics/GlyphPresets.h"

#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

constexpr std::uint32_t kKeepAll = 256;  // the destination stays as it is

// Table rows are padded with pixels that keep the destination to whole
// registers, so that an unclipped glyph row is a few whole blocks.
constexpr int kRowQuantum = 8;
int Stride(int width) { return (width + kRowQuantum - 1) / kRowQuantum * kRowQuantum; }

constexpr std::uint32_t Channel(std::uint32_t p, int shift) { return (p >> shift) & 0xFF; }

struct Preset {
  std::uint32_t pre;
  std::uint32_t keep;  // 0..256
};

// The plain blit over an opaque pixel (Blend::OpaquePixel).
Preset OpaquePreset(std::uint32_t s) {
  const std::uint32_t a = s >> 24;
  if (a == 255) return {s & 0x00FFFFFF, 0};
  if (a == 0) return {0, kKeepAll};
  std::uint32_t pre = 0;
  for (int shift = 0; shift <= 16; shift += 8) pre |= ((Channel(s, shift) * a) >> 8) << shift;
  return {pre, 256 - a};
}

// The colourised blit over an opaque pixel (Blend::TintPixel, where laying
// alpha a over alpha 255 keeps 255 and weighs the new colour by a itself).
Preset TintPreset(std::uint32_t s, const Blend::TintParams& params) {
  const std::uint32_t f = (s >> 24) * params.alpha / 255;
  if (f == 0) return {0, kKeepAll};
  std::uint32_t pre = 0;
  for (int i = 0; i < 3; ++i) {
    const int shift = 16 - 8 * i;  // red, green, blue
    const std::uint32_t sc = Channel(s, shift);
    pre |= (params.grey ? (((sc * params.k[0]) >> 8) * f) >> 8 : (sc * f * params.k[i]) >> 16) << shift;
  }
  return {pre, 256 - f};
}

// Whether pre + the kept destination stays within a byte for every destination.
bool FitsInBytes(const Preset& preset) {
  const std::uint32_t kept = (255 * preset.keep) >> 8;
  for (int shift = 0; shift <= 16; shift += 8)
    if (Channel(preset.pre, shift) + kept > 255) return false;
  return true;
}

bool SameTint(const Blend::TintParams& a, const Blend::TintParams& b) {
  return a.alpha == b.alpha && a.grey == b.grey && a.k[0] == b.k[0] && a.k[1] == b.k[1] && a.k[2] == b.k[2];
}

}  // namespace

GlyphPresets::Table& GlyphPresets::TableFor(const BlitPlan& plan) {
  for (Table& table : tables) {
    if (table.kind == plan.GetKind() && (table.kind == BlitPlan::kOpaque || SameTint(table.tint, plan.GetTint())))
      return table;
  }
  if (tables.size() == kMaxTables) tables.erase(tables.begin());
  Table& table = tables.emplace_back();
  table.kind = plan.GetKind();
  table.tint = plan.GetTint();
  table.start.fill(-1);
  return table;
}

bool GlyphPresets::Make(Table& table, int glyph) {
  const Rect& r = glyphRects[static_cast<std::size_t>(glyph)];
  if (r.IsEmpty() || r.x < 0 || r.y < 0 || static_cast<long long>(r.x) + r.w > image->width ||
      static_cast<long long>(r.y) + r.h > image->height)
    return false;
  const std::size_t start = table.pre.size();
  for (int y = 0; y < r.h; ++y) {
    for (int x = 0; x < r.w; ++x) {
      const std::uint32_t s = image->GetPixel(r.x + x, r.y + y);
      const Preset preset = table.kind == BlitPlan::kOpaque ? OpaquePreset(s) : TintPreset(s, table.tint);
      if (!FitsInBytes(preset)) {
        table.pre.resize(start);
        table.keep.resize(start);
        return false;
      }
      table.pre.push_back(preset.pre);
      table.keep.push_back(preset.keep | (preset.keep << 16));
    }
    table.pre.resize(start + static_cast<std::size_t>(Stride(r.w)) * (y + 1), 0);
    table.keep.resize(table.pre.size(), kKeepAll | (kKeepAll << 16));
  }
  table.start[static_cast<std::size_t>(glyph)] = static_cast<int>(start);
  return true;
}

GlyphPresets::Table* GlyphPresets::Prepare(const BlitPlan& plan) {
  const BlitPlan::Kind kind = plan.GetKind();
  if (kind != BlitPlan::kOpaque && kind != BlitPlan::kTint) return nullptr;
  return &TableFor(plan);
}

bool GlyphPresets::Draw(MemoryImage& dest, const BlitPlan& plan, int glyph, int x, int y, const Rect& clip) {
  if (&dest == image) return false;
  Table* table = Prepare(plan);
  if (!table) return false;
  image->CommitBits();  // as every blit does with its source
  const Rect inside = clip.Intersection(Rect(0, 0, dest.width, dest.height));
  if (!DrawGlyph(*table, dest, dest.GetBits(), plan, glyph, x, y, inside)) return false;
  dest.BitsChanged();
  return true;
}

bool GlyphPresets::DrawGlyph(Table& table, MemoryImage& dest, std::uint32_t* bits, const BlitPlan& plan, int glyph,
                             int x, int y, const Rect& clip) {
  if (glyph < 0 || glyph >= kGlyphs) return false;
  int& start = table.start[static_cast<std::size_t>(glyph)];
  if (start == -1 && !Make(table, glyph)) start = -2;
  if (start < 0) return false;

  const Rect& src = glyphRects[static_cast<std::size_t>(glyph)];
  const Rect d = Rect(x, y, src.w, src.h).Intersection(clip);
  if (d.IsEmpty()) return true;
  const int stride = Stride(src.w);
  // The padding may be written too (it leaves every pixel as it is) where it
  // lies inside the clip rectangle.
  const bool whole =
      d.x == x && d.w == src.w && static_cast<long long>(x) + stride <= static_cast<long long>(clip.x) + clip.w;
  const int span = whole ? stride : d.w;
  const Blend::PresetRectFn preset = Blend::ActiveKernels().presetRect;
  const int sx = d.x - x;
  for (int row = 0; row < d.h;) {
    std::uint32_t* out = bits + static_cast<std::size_t>(d.y + row) * static_cast<std::size_t>(dest.width) + d.x;
    const std::size_t at = static_cast<std::size_t>(start) + static_cast<std::size_t>(d.y - y + row) * stride + sx;
    int partial = 0;
    row += preset(out, dest.width, table.pre.data() + at, table.keep.data() + at, stride, span, d.h - row, &partial);
    if (row >= d.h) break;
    if (partial < d.w) {
      // A destination that is not opaque here: the ordinary blend for the rest of the row.
      out = bits + static_cast<std::size_t>(d.y + row) * static_cast<std::size_t>(dest.width) + d.x;
      BlitSource source(*image);
      plan.Row(out + partial, source.Row(src.x + sx + partial, src.y + d.y - y + row, d.w - partial), d.w - partial);
    }
    ++row;
  }
  return true;
}

}  // namespace Zing
