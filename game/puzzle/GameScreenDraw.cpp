// Drawing the play screen, back to front: the board cache, the pieces, the
// vortices, the rolling cube with its target marker, the hover frame, the
// stars, the mark, the shutters with their captions and the vortex bar.
// Positions are given relative to the cel sizes of the artwork, so any
// artwork of the same cel layout fits.

#include <cstdio>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/Resources.h"

namespace Lintwick {

namespace {

// The shutters' column and the rows of the board they cover.
constexpr int kShutterLeft = 3;
constexpr int kShutterClipTop = kBoardTop;
constexpr int kShutterClipHeight = kBoardBottom - kBoardTop + 1;
// Where the upper text hangs below the upper shutter's edge and the lower
// one sits on the lower shutter.
constexpr int kTopTextBaseline = 3;
constexpr int kBottomTextTop = 477;
// The vortex bar below the board.
constexpr int kBarX = 8;
constexpr int kBarY = 466;

// Cube roll: 14 frames carry the cube one cell.
constexpr int kRollFrames = 14;

// Rows of the effect captions.
constexpr int kTextLevelComplete = 0;
constexpr int kTextNextLevel = 1;
constexpr int kTextReplay = 2;
constexpr int kTextGameComplete = 3;
constexpr int kTextWellDone = 4;
constexpr int kTextBlur = 5;
constexpr int kTextPoints = 6;
constexpr int kTextOutOfMoves = 7;
constexpr int kTextTryAgain = 8;
constexpr int kNoRow = -1;  // the level points stand in place of the lower caption

// The two caption rows shown at a tick of a transition.
struct Captions {
  int top;
  int bottom;
};

Captions CaptionsAt(int kind, int tick) {
  if (kind == kReplayLevel) {
    return tick <= kLevelChangeTick ? Captions{kTextLevelComplete, kTextReplay}
                                    : Captions{kTextOutOfMoves, kTextTryAgain};
  }
  if (tick <= 62) {
    return kind == kGameDone ? Captions{kTextGameComplete, kTextWellDone}
                             : Captions{kTextLevelComplete, kTextNextLevel};
  }
  if (tick <= 66) return {kTextBlur, kTextBlur};
  return {kTextPoints, kNoRow};
}

}  // namespace

void GameScreen::DrawCentred(Zing::Graphics* g, Zing::Image* image, int cx, int cy, int col, int row) {
  if (!image) return;
  g->DrawImageCel(image, cx - image->GetCelWidth() / 2, cy - image->GetCelHeight() / 2, col, row);
}

void GameScreen::DrawCentredCel(Zing::Graphics* g, Zing::Image* image, int cx, int cy, int cel) {
  if (!image) return;
  g->DrawImageCel(image, cx - image->GetCelWidth() / 2, cy - image->GetCelHeight() / 2, cel);
}

void GameScreen::Draw(Zing::Graphics* g) {
  g->DrawImage(mBoardCache.get(), 0, 0);
  DrawPieces(g);
  DrawVortices(g);
  DrawCube(g);
  DrawHover(g);
  DrawStars(g);
  DrawMark(g);
  if (mShutterTick != 0) DrawShutters(g);
  DrawVortexBar(g);
}

// Every piece stands on the base cel of its colour's cube; a piece whose
// animation has started shows its link cel over it, and a piece selected for
// removal its highlight.
void GameScreen::DrawPieces(Zing::Graphics* g) const {
  for (const Link& link : mLinks) {
    for (const auto& slot : link.slots) {
      if (!slot) continue;
      const Piece& piece = *slot;
      const int cx = CellCentreX(piece.x);
      const int cy = CellCentreY(piece.y);
      DrawCentred(g, mCubeImages[static_cast<std::size_t>(piece.link)], cx, cy, 0, 1);
      if (piece.frame != 0) DrawCentredCel(g, mLinkImages[static_cast<std::size_t>(piece.link)], cx, cy, piece.cel);
      if (piece.highlighted) DrawCentred(g, IMAGE_HIGHLIGHTS, cx, cy, 1, 0);
    }
  }
}

void GameScreen::DrawVortices(Zing::Graphics* g) const {
  for (const auto& vortex : mVortices) {
    if (vortex)
      g->DrawImageCel(mVortexImages[static_cast<std::size_t>(vortex->link)], vortex->x, vortex->y, vortex->frame);
  }
}

// The cube rolls along its direction from the cell it leaves; the target
// marker spins on the link's target node.
void GameScreen::DrawCube(Zing::Graphics* g) const {
  if (!mCube || mCubeFrame == 0) return;
  Zing::Image* image = mCubeImages[static_cast<std::size_t>(mCube->link)];
  if (image) {
    int px = CellCentreX(mCube->x) - image->GetCelWidth() / 2;
    int py = CellCentreY(mCube->y) - image->GetCelHeight() / 2;
    int row = 0;
    if (mCubeCel != 0) {
      const int forward = (kCellPixels * mCubeFrame - kCellPixels) / kRollFrames;
      const int backward = (kCellPixels - kCellPixels * mCubeFrame) / kRollFrames;
      switch (mCubeDir) {
        case kDirLeft:
          px += backward;
          break;
        case kDirRight:
          px += forward;
          break;
        case kDirUp:
          py += backward;
          row = 1;
          break;
        case kDirDown:
          py += forward;
          row = 1;
          break;
        default:
          break;
      }
    }
    g->DrawImageCel(image, px, py, mCubeCel, row);
  }
  if (const Piece* target = GetLink(mCube->link).At(0)) {
    DrawCentred(g, IMAGE_TARGET, CellCentreX(target->x), CellCentreY(target->y), mTargetFrame, 0);
  }
}

// The pointer's highlight shows on pieces while no cube rolls; led by the
// keys it is the cursor and shows wherever it stands.
void GameScreen::DrawHover(Zing::Graphics* g) const {
  const bool keyCursor = mKeyboardCursor && hasFocus;
  if (keyCursor || (mHoverOnPiece && !mCube))
    DrawCentred(g, IMAGE_HIGHLIGHTS, CellCentreX(mHoverX), CellCentreY(mHoverY), 0, 0);
}

void GameScreen::DrawStars(Zing::Graphics* g) const {
  for (const auto& star : mStars) {
    if (!star || star->emitter || star->pattern < 0 || star->pattern > 1) continue;
    DrawCentredCel(g, mStarImages[static_cast<std::size_t>(star->pattern)], star->x, star->y, star->age);
  }
}

void GameScreen::DrawMark(Zing::Graphics* g) const {
  if (mMark && mMarkTicks != 0) DrawCentredCel(g, IMAGE_MARK, CellCentreX(mMark->x), CellCentreY(mMark->y), mMarkPhase);
}

// The shutters slide in from above and below the board and meet in the
// middle; they and their captions never leave the board's rows, so the
// vortex bar below stays visible.
void GameScreen::DrawShutters(Zing::Graphics* g) const {
  g->PushState();
  const Zing::Rect current = g->GetClipRect();
  g->ClipRect(current.x - static_cast<int>(g->transX), kShutterClipTop, current.w, kShutterClipHeight);
  int sw = 0;
  if (IMAGE_SHUTTERS) {
    sw = IMAGE_SHUTTERS->GetCelWidth();
    const int sh = IMAGE_SHUTTERS->GetCelHeight();
    g->DrawImageCel(IMAGE_SHUTTERS, kShutterLeft, mShutterOffset - sh + kBoardTop, 0, 0);
    g->DrawImageCel(IMAGE_SHUTTERS, kShutterLeft, kBoardBottom + 1 - mShutterOffset, 0, 1);
  }
  DrawShutterTexts(g, sw);
  g->PopState();
}

void GameScreen::DrawShutterTexts(Zing::Graphics* g, int sw) const {
  const Captions captions = CaptionsAt(mTransitionKind, mShutterTick);
  if (IMAGE_EFFECT_TEXTS) {
    const int tw = IMAGE_EFFECT_TEXTS->GetCelWidth();
    const int th = IMAGE_EFFECT_TEXTS->GetCelHeight();
    const int tx = kShutterLeft + sw / 2 - tw / 2;
    g->DrawImageCel(IMAGE_EFFECT_TEXTS, tx, mShutterOffset - th + kTopTextBaseline, 0, captions.top);
    if (captions.bottom != kNoRow) {
      g->DrawImageCel(IMAGE_EFFECT_TEXTS, tx, kBottomTextTop - mShutterOffset, 0, captions.bottom);
    }
  }
  if (captions.bottom == kNoRow) DrawLevelPoints(g, sw);
}

// The level's points in digit cels, centred under the caption column.
void GameScreen::DrawLevelPoints(Zing::Graphics* g, int sw) const {
  if (!IMAGE_DIGITS) return;
  char text[16];
  const int n = std::snprintf(text, sizeof text, "%d", mLevelPointsShown);
  const int dw = IMAGE_DIGITS->GetCelWidth();
  for (int i = 0; i < n; ++i) {
    g->DrawImageCel(IMAGE_DIGITS, kShutterLeft + sw / 2 - (dw / 2) * n + dw * i, kBottomTextTop - mShutterOffset,
                    text[i] - '0', 0);
  }
}

// The bar's length shows the vortex allowance left; it blinks in its lower half.
void GameScreen::DrawVortexBar(Zing::Graphics* g) const {
  if (!IMAGE_VORTEX_LINE) return;
  const int w = IMAGE_VORTEX_LINE->GetWidth();
  const int h = IMAGE_VORTEX_LINE->GetHeight();
  const int allowance = GetVortexAllowance();
  const int left = mVortexesLeft < 0 ? 0 : (mVortexesLeft > allowance ? allowance : mVortexesLeft);
  const int length = allowance > 0 ? (w * left) / allowance : 0;
  g->DrawImage(IMAGE_VORTEX_LINE, kBarX, kBarY, Zing::Rect(0, (h / 2) * mBarHighlight, length, h / 2));
}

}  // namespace Lintwick
