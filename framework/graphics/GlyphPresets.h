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

  // The table of the plan's colour: null when the plan cannot be preset.
  // Then each glyph of a line: DrawGlyph writes glyph `glyph` (its
  // rectangle at (x, y), clipped to the line's clip rectangle, which lies
  // inside the target) into the line's pixels, and leaves committing the
  // sheet and marking the target changed to the caller. False, with nothing
  // drawn, when the glyph has to be blitted as usual.
  struct Line;
  Table* Prepare(const BlitPlan& plan);
  bool DrawGlyph(const Line& line, unsigned char glyph, int x, int y) {
    const Shape& shape = shapes[glyph];
    const int start = line.table->start[glyph];
    if (start < 0 || !Inside(line, shape, x, y)) return DrawGlyphSlowly(line, glyph, x, y);
    return DrawGlyphInside(line, glyph, x, y);
  }
  // The same for a glyph known to lie inside the clip rectangle.
  bool DrawGlyphInside(const Line& line, unsigned char glyph, int x, int y) {
    const int start = line.table->start[glyph];
    if (start < 0) return DrawGlyphSlowly(line, glyph, x, y);
    const Shape& shape = shapes[glyph];
    std::uint32_t* origin = line.bits + static_cast<std::ptrdiff_t>(y) * line.pitch + x;
    const Blend::PresetRun* first = runs.data() + shape.firstRun;
    Blend::PresetCursor at{origin, line.pitch, line.table->blocks.data() + start, first, first + shape.runCount, 0};
    return line.kernels->presetGlyph(at, line.checkOpaque) || FinishRows(line, glyph, x, y, at);
  }
  // The columns and rows a glyph's drawing may write, relative to its
  // rectangle: its padded blocks.
  Rect Written(unsigned char glyph) const {
    const Shape& shape = shapes[glyph];
    return shape.usable ? Rect(shape.left, 0, shape.width, shape.height)
                        : Rect(0, 0, glyphRects[glyph].w, glyphRects[glyph].h);
  }
  MemoryImage* Sheet() const { return image; }

  struct Table {
    BlitPlan::Kind kind;
    Blend::TintParams tint;
    std::array<int, kGlyphs> start;  // index of the glyph's first block; -1 unmade, -2 not presettable
    std::vector<Blend::PresetBlock> blocks;
  };

  // What a line's glyphs of one layer are drawn with.
  struct Line {
    Table* table;
    const BlitPlan* plan;
    const Blend::Kernels* kernels;
    bool checkOpaque;  // only the colourised blend over a pixel that is not opaque differs from the table's
    std::uint32_t* bits;
    int pitch;
    Rect clip;
  };

 private:
  // A glyph's runs (in `runs`) and the columns its padded blocks cover.
  struct Shape {
    int firstRun = 0, runCount = 0;
    int blocks = 0;           // in the whole glyph
    int left = 0, width = 0;  // padded columns [left, left + width)
    int height = 0;
    bool usable = false;  // lies inside the sheet
  };

  // Whether the glyph's padded blocks at (x, y) lie inside the line's clip
  // rectangle (and so may be written: they leave every pixel as it is).
  static bool Inside(const Line& line, const Shape& shape, int x, int y) {
    const long long left = static_cast<long long>(x) + shape.left, top = y;
    return left >= line.clip.x && left + shape.width <= line.clip.Right() && top >= line.clip.y &&
           top + shape.height <= line.clip.Bottom();
  }
  void MakeShape(int glyph);
  Table& TableFor(const BlitPlan& plan);
  // Works out the glyph's blocks; false when one of its pixels cannot be preset.
  bool Make(Table& table, int glyph);
  // A glyph not yet made, or cut by the clip rectangle.
  bool DrawGlyphSlowly(const Line& line, unsigned char glyph, int x, int y);
  // The rows from the cursor on, where the kernel stopped at a destination that is not opaque.
  bool FinishRows(const Line& line, unsigned char glyph, int x, int y, Blend::PresetCursor& at);
  // The glyph's rows [fromRow, toRow), clipped, through the plan from the
  // sheet (as an ordinary blit draws them).
  void BlendRows(const Line& line, int glyph, int x, int y, int fromRow, int toRow);

  static constexpr std::size_t kMaxTables = 8;  // colours kept at once
  MemoryImage* image;
  std::array<Rect, kGlyphs> glyphRects;
  std::array<Shape, kGlyphs> shapes;
  std::vector<Blend::PresetRun> runs;
  std::vector<Table> tables;
};

}  // namespace Zing
