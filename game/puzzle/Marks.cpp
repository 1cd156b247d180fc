// The mark: a move that would destroy laid pieces waits on a blinking mark,
// with the pieces it would remove highlighted, until the player confirms it by
// clicking the marked piece.

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

inline constexpr int kMarkBlinkTicks = 10;

}  // namespace

void Puzzle::SetMark(Piece* piece, int action) {
  mMark = piece;
  mMarkAction = action;
  mMarkTicks = 1;
  mMarkPhase = 0;
}

void Puzzle::ClearMark() {
  mMark = nullptr;
  mMarkAction = kMarkNone;
  mMarkTicks = 0;
  mMarkPhase = 0;
}

void Puzzle::HighlightRange(int link, int first, int last) {
  for (int slot = first; slot <= last; ++slot) {
    if (Piece* piece = LinkAt(link).At(slot)) piece->highlighted = true;
  }
}

void Puzzle::ClearHighlights(int link) {
  const Link& target = LinkAt(link);
  for (int slot = 0; slot < target.count; ++slot) {
    if (Piece* piece = target.At(slot)) piece->highlighted = false;
  }
}

void Puzzle::ClearAllHighlights() {
  for (int link = 0; link < kMaxLinks; ++link) ClearHighlights(link);
}

// The mark changes between its two looks every half second.
void Puzzle::UpdateMarkBlink() {
  if (!mMark || mMarkTicks <= 0) return;
  if (++mMarkTicks > kMarkBlinkTicks) {
    mMarkPhase ^= 1;
    mMarkTicks = 1;
  }
}

}  // namespace Lintwick
