#pragma once

// The star pattern table: 20 patterns of 25 frames, each frame either empty or
// an event that makes a visible star near the emitter.

namespace Lintwick {

inline constexpr int kStarPatterns = 20;
inline constexpr int kStarPatternFrames = 25;
inline constexpr int kStarSmall = 0;
inline constexpr int kStarBig = 1;
inline constexpr int kVisibleStarTicks = 7;

// One event: a star of the given kind at (dx, dy) from the emitter, the
// quadrant giving the signs: 0 (+dx, -dy), 1 (+dx, +dy), 2 (-dx, +dy), 3 (-dx, -dy).
struct StarEvent {
  int dx = 0;
  int dy = 0;
  int kind = 0;
  int quadrant = 0;

  int OffsetX() const { return quadrant <= 1 ? dx : -dx; }
  int OffsetY() const { return quadrant == 1 || quadrant == 2 ? dy : -dy; }
};

// The event of a pattern at a frame, or null when there is none (also for a
// pattern or frame out of range).
const StarEvent* FindStarEvent(int pattern, int frame);

}  // namespace Lintwick
