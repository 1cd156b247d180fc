// Mouse input and the logic tick. The mouse handlers only record what the
// player did (queued steps, a pending click); the tick applies it, one step
// per tick, together with every animation, in a fixed order.

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

bool OnBoard(int x, int y) { return IsBoardPoint(x, y); }
int CellColumn(int x) { return (x - kBoardLeft) / kCellPixels; }
int CellRow(int y) { return (y - kBoardTop) / kCellPixels; }

}  // namespace

void Puzzle::HandleMouseMove(int x, int y) {
  if (mShutterTick >= 1) return;
  const bool fromKnown = mPointerOnBoard;
  const int fromX = mMouseX;
  const int fromY = mMouseY;
  mMouseX = x;
  mMouseY = y;
  mPointerOnBoard = OnBoard(x, y);
  // The highlight goes back to the pointer (at the next tick).
  if (mPointerOnBoard) mKeyboardCursor = false;
  if (mPressed) {
    HoldInput(false, x, y);  // the click decides what the move means
    return;
  }
  if (mCurrentLink == -1 || mMark) return;

  if (!mPointerOnBoard) {
    StopDrawing();
    return;
  }
  FollowStroke(fromKnown, fromX, fromY, x, y);
}

// The pointer went off the play field (to the panel, or out of the window)
// without a move over the board's margin: where it comes back, no walk leads
// from the head to it.
void Puzzle::HandleMouseLeave() { mPointerOnBoard = false; }

void Puzzle::HandleMouseDown(int x, int y, int clickCount) {
  if (mShutterTick >= 1 || !OnBoard(x, y)) return;
  // A click tells where the pointer is as well as a move does.
  mMouseX = x;
  mMouseY = y;
  mPointerOnBoard = true;
  mClickFromPointer = true;
  mClickX = x;
  mClickY = y;
  ClickAt(CellColumn(x), CellRow(y), clickCount);
}

void Puzzle::ClickAt(int cx, int cy, int clickCount) {
  if (!IsOnBoard(cx, cy) || mCubeEnd > 0) return;
  if (clickCount > 0) {
    if (!mCube) {
      mCursorX = cx;
      mCursorY = cy;
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
  DropQueuedSteps();
}

// The highlight: on the pointer's cell, or where the keys led it.
void Puzzle::UpdateHover() {
  if (mKeyboardCursor) {
    mHoverOnPiece = Cell(mHoverX, mHoverY).piece != nullptr;
  } else if (mPointerOnBoard) {
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
