// The stars that sparkle over a link when it is completed: one invisible
// emitter per piece plays a pattern of visible stars over 25 ticks.

#include "game/puzzle/Stars.h"

#include <array>
#include <optional>

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

inline constexpr int kEmitterTicks = 25;

struct TimedEvent {
  int frame;
  StarEvent event;
};

// The seven base sequences, as frame: dx, dy, kind, quadrant.
constexpr TimedEvent kBase0[] = {{0, {3, 6, 1, 1}},   {2, {4, 4, 0, 3}},   {4, {11, 9, 0, 1}},  {5, {15, 11, 1, 3}},
                                 {6, {15, 1, 0, 2}},  {10, {15, 2, 1, 0}}, {12, {1, 11, 0, 0}}, {14, {11, 15, 1, 0}},
                                 {15, {5, 11, 1, 2}}, {17, {11, 0, 0, 2}}, {19, {3, 15, 0, 1}}};
constexpr TimedEvent kBase1[] = {{4, {5, 0, 1, 3}},    {6, {7, 11, 0, 2}},  {8, {3, 0, 0, 0}},   {9, {11, 15, 1, 1}},
                                 {11, {22, 5, 0, 1}},  {14, {11, 3, 1, 3}}, {16, {0, 15, 1, 0}}, {18, {22, 7, 0, 3}},
                                 {19, {15, 11, 0, 0}}, {21, {9, 1, 1, 0}}};
constexpr TimedEvent kBase2[] = {{2, {0, 3, 1, 3}},  {4, {11, 5, 0, 2}},  {6, {1, 15, 1, 2}}, {7, {11, 1, 0, 1}},
                                 {9, {15, 9, 1, 0}}, {12, {1, 7, 1, 0}},  {14, {9, 2, 0, 2}}, {16, {7, 15, 1, 3}},
                                 {17, {5, 7, 1, 1}}, {19, {15, 2, 0, 0}}, {21, {2, 22, 1, 1}}};
constexpr TimedEvent kBase3[] = {{5, {7, 5, 1, 2}},   {7, {4, 4, 0, 0}},  {9, {6, 15, 1, 3}},  {10, {15, 4, 0, 1}},
                                 {12, {9, 15, 1, 1}}, {15, {4, 3, 0, 2}}, {17, {0, 15, 1, 2}}, {19, {15, 4, 1, 2}},
                                 {20, {15, 5, 1, 0}}, {22, {2, 11, 0, 0}}};
constexpr TimedEvent kBase4[] = {{3, {0, 7, 1, 0}},   {5, {11, 15, 0, 3}}, {8, {7, 4, 1, 1}},
                                 {10, {0, 15, 0, 2}}, {13, {9, 7, 1, 2}},  {15, {15, 3, 0, 3}},
                                 {17, {0, 11, 0, 1}}, {18, {4, 15, 1, 0}}, {20, {15, 4, 0, 0}}};
constexpr TimedEvent kBase5[] = {{1, {4, 3, 0, 1}},   {3, {15, 15, 1, 1}}, {5, {5, 7, 1, 2}},    {6, {0, 7, 1, 0}},
                                 {8, {11, 15, 0, 3}}, {11, {9, 2, 1, 1}},  {13, {15, 11, 0, 0}}, {15, {15, 15, 0, 1}},
                                 {16, {3, 9, 1, 2}},  {18, {15, 0, 0, 2}}, {20, {4, 11, 1, 3}}};
constexpr TimedEvent kBase6[] = {{5, {1, 4, 1, 3}},   {7, {11, 5, 0, 2}},  {9, {11, 11, 1, 3}}, {10, {7, 5, 1, 1}},
                                 {12, {22, 5, 1, 0}}, {15, {3, 15, 1, 0}}, {17, {9, 9, 0, 3}},  {19, {1, 2, 1, 1}},
                                 {20, {15, 7, 0, 2}}, {22, {1, 15, 1, 1}}};

struct Sequence {
  const TimedEvent* events;
  int count;
};
template <std::size_t N>
constexpr Sequence Seq(const TimedEvent (&events)[N]) {
  return {events, static_cast<int>(N)};
}
constexpr Sequence kBases[] = {Seq(kBase0), Seq(kBase1), Seq(kBase2), Seq(kBase3),
                               Seq(kBase4), Seq(kBase5), Seq(kBase6)};

// Patterns 7..19 replay a base sequence moved in time.
struct Shifted {
  int base;
  int shift;
};
constexpr Shifted kShifted[] = {{0, 3},  {1, 3},  {2, 2}, {3, -3}, {4, -3}, {5, 2}, {0, 5},
                                {6, -4}, {1, -1}, {2, 4}, {3, -1}, {4, -1}, {5, 4}};

using PatternTable = std::array<std::array<std::optional<StarEvent>, kStarPatternFrames>, kStarPatterns>;

constexpr void Place(PatternTable& table, int pattern, const Sequence& base, int shift) {
  for (int i = 0; i < base.count; ++i) {
    const int frame = base.events[i].frame + shift;
    // Events moved out of the 25 frames are dropped.
    if (frame >= 0 && frame < kStarPatternFrames) {
      table[static_cast<std::size_t>(pattern)][static_cast<std::size_t>(frame)] = base.events[i].event;
    }
  }
}

constexpr PatternTable BuildTable() {
  PatternTable table{};
  for (int base = 0; base < 7; ++base) Place(table, base, kBases[base], 0);
  for (int i = 0; i < 13; ++i) Place(table, 7 + i, kBases[kShifted[i].base], kShifted[i].shift);
  return table;
}

constexpr PatternTable kPatterns = BuildTable();

}  // namespace

const StarEvent* FindStarEvent(int pattern, int frame) {
  if (pattern < 0 || pattern >= kStarPatterns || frame < 0 || frame >= kStarPatternFrames) return nullptr;
  const auto& entry = kPatterns[static_cast<std::size_t>(pattern)][static_cast<std::size_t>(frame)];
  return entry ? &*entry : nullptr;
}

void Puzzle::AddStar(int pattern, int x, int y, bool emitter) {
  for (auto& slot : mStars) {
    if (slot) continue;
    slot = std::make_unique<Star>(Star{pattern, x, y, 0, emitter});
    if (emitter) {
      if (const StarEvent* event = FindStarEvent(pattern, 0)) {
        AddStar(event->kind, x + event->OffsetX(), y + event->OffsetY(), false);
      }
      return;
    }
    break;
  }
  // A visible star sounds even when there is no room left to show it.
  if (!emitter) mHost.PlaySound(pattern == kStarBig ? Sound::StarBig : Sound::StarSmall);
}

void Puzzle::UpdateStars() {
  for (auto& star : mStars) {
    if (!star) continue;
    ++star->age;
    if (star->age >= (star->emitter ? kEmitterTicks : kVisibleStarTicks)) star.reset();
  }
  for (std::size_t i = 0; i < mStars.size(); ++i) {
    const Star* star = mStars[i].get();
    if (!star || !star->emitter) continue;
    if (const StarEvent* event = FindStarEvent(star->pattern, star->age)) {
      AddStar(event->kind, star->x + event->OffsetX(), star->y + event->OffsetY(), false);
    }
  }
}

void Puzzle::SparkleLink(int link) {
  int pattern = 0;
  const Link& target = GetLink(link);
  for (int slot = 0; slot < target.count; ++slot) {
    const Piece* piece = target.At(slot);
    if (!piece) continue;
    AddStar(pattern, CellCentreX(piece->x), CellCentreY(piece->y), true);
    pattern = (pattern + 1) % kStarPatterns;
  }
}

}  // namespace Lintwick
