#pragma once

// The picture put into a window's own pixel memory without any graphics
// driver: nearest-neighbour scaling by a whole number in our own code, black
// bars around it, and only the rows that differ from what the memory already
// shows, so that an unchanged frame costs one comparison per picture row and
// a changed one only its rows. Plain memory in, plain memory out, so that it
// can be tested without a display.

#include <cstdint>
#include <vector>

#include "framework/platform/Platform.h"

namespace Zing::Platform {

// 32-bit pixels of the window's memory, in the picture's own layout
// (0x..RRGGBB); `pitch` counts pixels from one row to the next.
struct PixelTarget {
  std::uint32_t* pixels = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
};

// Target rows y .. y + h - 1 that were written.
struct RowBand {
  int y = 0;
  int h = 0;
};

// Puts the width x height picture into `target` at `placement` (as
// FitPicture gives it). With `everything`, every pixel of the target is
// written, the bars black; otherwise only picture rows that changed. The
// written rows are appended to `written`, adjacent ones as one band.
void PutPicture(const std::uint32_t* picture, int width, int height, const PixelTarget& target,
                const ScreenRect& placement, bool everything, std::vector<RowBand>& written);

}  // namespace Zing::Platform
