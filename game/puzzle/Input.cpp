// Mouse input and the logic tick. The mouse handlers only record what the
// player did (a pending step, a pending click); the tick applies it, one step
// per tick, together with every animation, in a fixed order.

#include <cstdlib>

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

bool OnBoard(int x, int y) { return x >= kBoardLeft && x <= kBoardRight && y >= kBoardTop && y <= kBoardBottom; }
int CellColumn(int x) { return (x - kBoardLeft) / kCellPixels; }
int CellRow(int y) { return (y - kBoardTop) / kCellPixels; }

}  // namespace

void Puzzle::HandleMouseMove(int x, int y) {
  if (mShutterTick >= 1) return;
  mMouseX = x;
  mMouseY = y;
  if (mCurrentLink == -1 || mMark) return;

  if (!OnBoard(x, y)) {
    StopDrawing();
    return;
  }
  const int cx = CellColumn(x);
  const int cy = CellRow(y);
  if (cx == mCursorX && cy == mCursorY) return;
  if (std::abs(mCursorX - cx) == 1) {
    // A diagonal move counts as a move along the row.
    mPendingStep = cx < mCursorX ? kDirLeft : kDirRight;
  } else if (std::abs(mCursorY - cy) == 1) {
    mPendingStep = cy < mCursorY ? kDirUp : kDirDown;
  } else {
    StopDrawing();  // the mouse jumped two cells or more
  }
}

void Puzzle::HandleMouseDown(int x, int y, int clickCount) {
  if (mShutterTick >= 1 || !OnBoard(x, y) || mCubeEnd > 0) return;
  if (clickCount > 0) {
    if (!mCube) {
      mCursorX = CellColumn(x);
      mCursorY = CellRow(y);
      mPressed = true;
    } else if (mCurrentLink != -1) {
      StopDrawing();
    }
  } else if (clickCount < 0) {
    if (mCurrentLink != -1) StopDrawing();
    if (mMark) {
      ClearHighlights(mMark->link);
      ClearMark();
    }
  }
}

void Puzzle::StopDrawing() {
  ReleaseCube();
  mCurrentLink = -1;
  mPendingStep = 0;
}

void Puzzle::UpdateHover() {
  if (OnBoard(mMouseX, mMouseY)) {
    mHoverX = CellColumn(mMouseX);
    mHoverY = CellRow(mMouseY);
    mHoverOnPiece = Cell(mHoverX, mHoverY).piece != nullptr;
  } else {
    mHoverOnPiece = false;
  }
}

bool Puzzle::Tick() {
  if (IsPaused()) return false;
  UpdateShutters();
  UpdateVortices();
  UpdateMarkBlink();
  UpdateStars();
  AnimatePieces();
  StepCursor();
  ClickCell();
  UpdateCube();
  UpdateHover();
  return true;
}

}  // namespace Lintwick
