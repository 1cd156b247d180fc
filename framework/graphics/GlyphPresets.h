#pragma once

// The glyphs of a font layer with their blends worked out in advance. Text is
// mostly drawn in a few colours onto the opaque screen; there a glyph pixel's
// blend comes down to "pre + (destination * keep) >> 8" per channel, with
// `pre` and `keep` depending only on the glyph pixel, the colour and the plan
// (Blend::PresetBlock).
//
// What does not depend on the colour is worked out once, when the layer is
// made: each glyph's rows as runs of equal span, trimmed to the pixels that
// show (rows that show nothing are skipped whole) and padded to whole blocks.
// The tables of a colour are then made glyph by glyph as glyphs are first
// drawn, and every later draw is one multiply-add per channel, row by row.
// Rows over a destination that is not opaque, and glyphs cut by the clip
// rectangle, go through the plan's own blend from the sheet, so the result is
// always that of an ordinary blit.

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
  GlyphPresets(MemoryImage* source, const std::array<Rect, kGlyphs>& rects);

  struct Table;

  // The set-up for a line's glyphs in one colour: null when the plan cannot
  // be preset. Then each glyph: DrawGlyph writes glyph `glyph` (its rectangle
  // at (x, y), clipped to `clip`, which lies inside dest) into `bits` (dest's
  // pixels) and leaves committing the sheet and marking dest changed to the
  // caller. False, with nothing drawn, when the glyph has to be blitted as
  // usual.
  Table* Prepare(const BlitPlan& plan);
  bool DrawGlyph(Table& table, MemoryImage& dest, std::uint32_t* bits, const BlitPlan& plan, int glyph, int x, int y,
                 const Rect& clip);
  MemoryImage* Sheet() const { return image; }

  struct Table {
    BlitPlan::Kind kind;
    Blend::TintParams tint;
    const Blend::Kernels* kernels;   // those of the line being drawn
    std::array<int, kGlyphs> start;  // index of the glyph's first block; -1 unmade, -2 not presettable
    std::vector<Blend::PresetBlock> blocks;
  };

 private:
  // A glyph's runs (in `runs`) and the columns its padded blocks cover.
  struct Shape {
    int firstRun = 0, runCount = 0;
    int blocks = 0;           // in the whole glyph
    int left = 0, right = 0;  // padded columns [left, right)
    bool usable = false;      // lies inside the sheet
  };

  void MakeShape(int glyph);
  Table& TableFor(const BlitPlan& plan);
  // Works out the glyph's blocks; false when one of its pixels cannot be preset.
  bool Make(Table& table, int glyph);
  // The glyph's rows [fromRow, toRow), clipped, through the plan from the
  // sheet (as an ordinary blit draws them).
  void BlendRows(const BlitPlan& plan, int glyph, int x, int y, int fromRow, int toRow, const Rect& clip,
                 std::uint32_t* bits, int pitch);

  static constexpr std::size_t kMaxTables = 8;  // colours kept at once
  MemoryImage* image;
  std::array<Rect, kGlyphs> glyphRects;
  std::array<Shape, kGlyphs> shapes;
  std::vector<Blend::PresetRun> runs;
  std::vector<Table> tables;
};

}  // namespace Zing
