#pragma once

// The glyphs of a font layer with their blends worked out in advance. Text is
// mostly drawn in a few colours onto the opaque screen; there a glyph pixel's
// blend comes down to "pre + (destination * keep) >> 8" per channel, with
// `pre` and `keep` depending only on the glyph pixel, the colour and the plan
// (Blend::PresetRowFn). The tables of a colour are made once, glyph by glyph
// as glyphs are first drawn, and every later draw is one multiply-add per
// channel. Pixels over a destination that is not opaque go through the plan's
// own blend, so the result is always that of an ordinary blit.

#include <array>
#include <cstdint>
#include <vector>

#include "framework/graphics/BlitPlan.h"
#include "framework/graphics/Rect.h"

namespace Zing {

class MemoryImage;

class GlyphPresets {
 public:
  static constexpr int kGlyphs = 256;

  // The glyph rectangles (in the source image) the tables are made for.
  GlyphPresets(MemoryImage* source, const std::array<Rect, kGlyphs>& rects) : image(source), glyphRects(rects) {}

  struct Table;

  // Blits glyph `glyph` (its whole rectangle as given, clipped to `clip`)
  // to (x, y) of `dest` under `plan`. False, with nothing drawn, when the
  // glyph cannot be drawn this way (the caller then blits it as usual).
  bool Draw(MemoryImage& dest, const BlitPlan& plan, int glyph, int x, int y, const Rect& clip);

  // The same in two steps, for a line of glyphs in one colour: the set-up
  // once (null when the plan cannot be preset), then each glyph. DrawGlyph
  // writes into `bits` (dest's pixels, `clip` already inside dest) and leaves
  // committing the sheet and marking dest changed to the caller.
  Table* Prepare(const BlitPlan& plan);
  bool DrawGlyph(Table& table, MemoryImage& dest, std::uint32_t* bits, const BlitPlan& plan, int glyph, int x, int y,
                 const Rect& clip);
  MemoryImage* Sheet() const { return image; }

  struct Table {
    BlitPlan::Kind kind;
    Blend::TintParams tint;
    std::array<int, kGlyphs> start;  // index of the glyph's first pixel; -1 unmade, -2 not presettable
    std::vector<std::uint32_t> pre, keep;
  };

 private:
  Table& TableFor(const BlitPlan& plan);
  // Works out the glyph's pixels; false when one of them cannot be preset.
  bool Make(Table& table, int glyph);

  static constexpr std::size_t kMaxTables = 8;  // colours kept at once
  MemoryImage* image;
  std::array<Rect, kGlyphs> glyphRects;
  std::vector<Table> tables;
};

}  // namespace Zing
