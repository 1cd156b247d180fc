#include "framework/graphics/GlyphPresets.h"

#include <algorithm>

#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

using Blend::PresetBlock;

constexpr int kBlock = PresetBlock::kPixels;
constexpr std::uint32_t kKeepAll = 256;  // the destination channel stays as it is
constexpr std::uint32_t kOpaqueAlpha = 0xFF000000;

constexpr std::uint32_t Channel(std::uint32_t p, int shift) { return (p >> shift) & 0xFF; }

// One pixel's blend: `pre` with alpha 255, and the multiplier of the three
// colour channels; alpha keeps nothing of the destination. `clear` leaves
// the destination pixel as it is, alpha too.
struct Preset {
  std::uint32_t pre = 0;
  std::uint32_t keep = kKeepAll;
  bool clear = true;
};

// The plain blit over any pixel (Blend::OpaquePixel).
Preset OpaquePreset(std::uint32_t s) {
  const std::uint32_t a = s >> 24;
  if (a == 0) return {};
  if (a == 255) return {s, 0, false};
  std::uint32_t pre = kOpaqueAlpha;
  for (int shift = 0; shift <= 16; shift += 8) pre |= ((Channel(s, shift) * a) >> 8) << shift;
  return {pre, 256 - a, false};
}

// The colourised blit over an opaque pixel (Blend::TintPixel, where laying
// alpha a over alpha 255 keeps 255 and weighs the new colour by a itself).
Preset TintPreset(std::uint32_t s, const Blend::TintParams& params) {
  const std::uint32_t f = (s >> 24) * params.alpha / 255;
  if (f == 0) return {};
  std::uint32_t pre = kOpaqueAlpha;
  for (int i = 0; i < 3; ++i) {
    const int shift = 16 - 8 * i;  // red, green, blue
    const std::uint32_t sc = Channel(s, shift);
    pre |= (params.grey ? (((sc * params.k[0]) >> 8) * f) >> 8 : (sc * f * params.k[i]) >> 16) << shift;
  }
  return {pre, 256 - f, false};
}

// Whether pre + the kept destination stays within a byte for every destination.
bool FitsInBytes(const Preset& preset) {
  const std::uint32_t kept = (255 * preset.keep) >> 8;
  for (int shift = 0; shift <= 16; shift += 8)
    if (Channel(preset.pre, shift) + kept > 255) return false;
  return true;
}

void Store(PresetBlock& block, int i, const Preset& preset) {
  block.pre[i] = preset.clear ? 0 : preset.pre;
  std::uint16_t* keep = block.keep + PresetBlock::KeepAt(i);
  for (int c = 0; c < 3; ++c) keep[c] = static_cast<std::uint16_t>(preset.keep);
  keep[3] = static_cast<std::uint16_t>(preset.clear ? kKeepAll : 0);
}

bool SameTint(const Blend::TintParams& a, const Blend::TintParams& b) {
  return a.alpha == b.alpha && a.grey == b.grey && a.k[0] == b.k[0] && a.k[1] == b.k[1] && a.k[2] == b.k[2];
}

// The columns of a row whose alpha is not 0, as [first, last]; first > last
// when there are none.
std::pair<int, int> InkSpan(const std::uint32_t* row, int w) {
  int first = 0, last = w - 1;
  while (first < w && (row[first] >> 24) == 0) ++first;
  while (last > first && (row[last] >> 24) == 0) --last;
  return {first, first < w ? last : -1};
}

}  // namespace

GlyphPresets::GlyphPresets(MemoryImage* source, const std::array<Rect, kGlyphs>& rects)
    : image(source), glyphRects(rects) {
  for (int glyph = 0; glyph < kGlyphs; ++glyph) MakeShape(glyph);
}

// Each row trimmed to its visible pixels and padded to whole blocks, kept
// inside the glyph's rectangle where it is wide enough; equal rows in a run.
void GlyphPresets::MakeShape(int glyph) {
  const Rect& r = glyphRects[static_cast<std::size_t>(glyph)];
  Shape& shape = shapes[static_cast<std::size_t>(glyph)];
  if (r.IsEmpty() || r.x < 0 || r.y < 0 || static_cast<long long>(r.x) + r.w > image->width ||
      static_cast<long long>(r.y) + r.h > image->height)
    return;
  const std::uint32_t* bits = image->GetBits();
  shape.usable = true;
  shape.height = r.h;
  shape.firstRun = static_cast<int>(runs.size());
  shape.left = r.w;
  int right = 0;
  for (int y = 0; y < r.h; ++y) {
    const auto [first, last] = InkSpan(bits + static_cast<std::size_t>(r.y + y) * image->width + r.x, r.w);
    Blend::PresetRun run{0, 0, 1};
    if (first <= last) {
      run.blocks = (last - first + kBlock) / kBlock;
      run.x = std::max(0, std::min(first, r.w - run.blocks * kBlock));
      shape.left = std::min(shape.left, run.x);
      right = std::max(right, run.x + run.blocks * kBlock);
    }
    shape.blocks += run.blocks;
    if (runs.size() > static_cast<std::size_t>(shape.firstRun) && runs.back().x == run.x &&
        runs.back().blocks == run.blocks) {
      ++runs.back().rows;
    } else {
      runs.push_back(run);
    }
  }
  shape.runCount = static_cast<int>(runs.size()) - shape.firstRun;
  shape.width = right - shape.left;
}

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
  const Shape& shape = shapes[static_cast<std::size_t>(glyph)];
  const std::uint32_t* bits = image->GetBits();
  const std::size_t start = table.blocks.size();
  table.blocks.resize(start + static_cast<std::size_t>(shape.blocks));
  PresetBlock* block = table.blocks.data() + start;
  int y = 0;
  for (int k = 0; k < shape.runCount; ++k) {
    const Blend::PresetRun& run = runs[static_cast<std::size_t>(shape.firstRun + k)];
    for (int row = 0; row < run.rows; ++row, ++y) {
      const std::uint32_t* src = bits + static_cast<std::size_t>(r.y + y) * image->width + r.x;
      for (int x = run.x; x < run.x + run.blocks * kBlock; ++x) {
        Preset preset;
        if (x < r.w) preset = table.kind == BlitPlan::kOpaque ? OpaquePreset(src[x]) : TintPreset(src[x], table.tint);
        if (!FitsInBytes(preset)) {
          table.blocks.resize(start);
          return false;
        }
        Store(block[(x - run.x) / kBlock], (x - run.x) % kBlock, preset);
      }
      block += run.blocks;
    }
  }
  table.start[static_cast<std::size_t>(glyph)] = static_cast<int>(start);
  return true;
}

GlyphPresets::Table* GlyphPresets::Prepare(const BlitPlan& plan) {
  const BlitPlan::Kind kind = plan.GetKind();
  if (kind != BlitPlan::kOpaque && kind != BlitPlan::kTint) return nullptr;
  return &TableFor(plan);
}

bool GlyphPresets::DrawGlyphSlowly(const Line& line, unsigned char glyph, int x, int y) {
  const Shape& shape = shapes[glyph];
  if (!shape.usable) return false;
  if (!Inside(line, shape, x, y)) {
    BlendRows(line, glyph, x, y, 0, shape.height);
    return true;
  }
  int& start = line.table->start[glyph];
  if (start == -1 && !Make(*line.table, glyph)) start = -2;
  return start >= 0 && DrawGlyph(line, glyph, x, y);
}

bool GlyphPresets::FinishRows(const Line& line, unsigned char glyph, int x, int y, Blend::PresetCursor& at) {
  const std::uint32_t* origin = line.bits + static_cast<std::ptrdiff_t>(y) * line.pitch + x;
  do {
    const int row = static_cast<int>((at.dst - origin) / line.pitch);
    BlendRows(line, glyph, x, y, row, row + 1);
    at.Skip();
  } while (!line.kernels->presetGlyph(at, line.checkOpaque));
  return true;
}

void GlyphPresets::BlendRows(const Line& line, int glyph, int x, int y, int fromRow, int toRow) {
  const Rect& r = glyphRects[static_cast<std::size_t>(glyph)];
  const Shape& shape = shapes[static_cast<std::size_t>(glyph)];
  const Rect& clip = line.clip;
  BlitSource source(*image);
  int row = 0;
  for (int k = 0; k < shape.runCount; ++k) {
    const Blend::PresetRun& run = runs[static_cast<std::size_t>(shape.firstRun + k)];
    for (int i = 0; i < run.rows; ++i, ++row) {
      const long long dy = static_cast<long long>(y) + row;
      if (row < fromRow || row >= toRow || run.blocks == 0 || dy < clip.y || dy >= clip.Bottom()) continue;
      // The padding beyond the rectangle is not the glyph's; inside it, it is clear.
      const long long left = std::max<long long>(static_cast<long long>(x) + run.x, clip.x);
      const long long right =
          std::min<long long>(static_cast<long long>(x) + std::min(run.x + run.blocks * kBlock, r.w), clip.Right());
      if (left >= right) continue;
      const int n = static_cast<int>(right - left);
      line.plan->Row(line.bits + dy * line.pitch + left, source.Row(r.x + static_cast<int>(left - x), r.y + row, n), n);
    }
  }
}

}  // namespace Zing
