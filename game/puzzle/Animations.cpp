// Tick-driven looks of the board: pieces growing and shrinking, the vortices
// left by costly removals and the blink of the vortex bar.

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

inline constexpr int kLastVortexFrame = 14;
inline constexpr int kBarBlinkTicks = 12;
inline constexpr int kShrinkEndFrame = 12;

void AnimatePiece(Piece& piece) {
  if (piece.frame >= 2 && piece.shrinking) {
    piece.cel -= 1;
    piece.frame -= 1;
    if (piece.frame < kShrinkEndFrame) piece.shrinking = false;
  } else if (piece.frame > 0 && piece.frame < piece.frameLimit) {
    piece.cel += 1;
    piece.frame += 1;
  }
}

}  // namespace

void Puzzle::AnimatePieces() {
  for (auto& link : mLinks) {
    for (auto& piece : link.slots) {
      if (piece) AnimatePiece(*piece);
    }
  }
}

void Puzzle::StartVortex(int link, int x, int y) {
  for (auto& slot : mVortices) {
    if (!slot) {
      slot = std::make_unique<Vortex>(Vortex{link, x, y, 0});
      return;
    }
  }
  // All slots busy: this vortex is not shown.
}

// The bar flashes three times per vortex; a blink that has only just started
// is not started again.
void Puzzle::StartBarBlink() {
  if (mBarBlink == 1) return;
  mBarBlink = 1;
  mBarHighlight = 0;
}

void Puzzle::UpdateVortices() {
  for (auto& vortex : mVortices) {
    if (vortex && ++vortex->frame > kLastVortexFrame) vortex.reset();
  }
  if (mBarBlink > 0) {
    if (mBarBlink % 2 == 0) mBarHighlight ^= 1;
    if (++mBarBlink > kBarBlinkTicks) mBarBlink = mBarHighlight = 0;
  }
}

}  // namespace Lintwick
