// The board without a mouse. The hover highlight is the keyboard cursor: the
// arrows move it one cell within the grid, Press clicks the highlighted cell
// as the left button would, Cancel as the right one. While a link is being
// drawn an arrow steps the drawing exactly as moving the pointer into that
// neighbour would, queued the same way, and the highlight follows the head of
// the path; a completed link leaves it on its target node.

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

int Direction(BoardKey key) {
  switch (key) {
    case BoardKey::Up:
      return kDirUp;
    case BoardKey::Left:
      return kDirLeft;
    case BoardKey::Right:
      return kDirRight;
    case BoardKey::Down:
      return kDirDown;
    default:
      return 0;
  }
}

}  // namespace

void Puzzle::HandleBoardKey(BoardKey key) {
  if (mShutterTick >= 1) return;
  if (mPressed && key != BoardKey::Press && key != BoardKey::Cancel) {
    HoldInput(true, static_cast<int>(key), 0);  // after the click, it may draw
    return;
  }
  switch (key) {
    case BoardKey::Press:
      mClickFromPointer = false;
      ClickAt(mHoverX, mHoverY, 1);
      break;
    case BoardKey::Cancel:
      ClickAt(mHoverX, mHoverY, -1);
      break;
    default:
      mKeyboardCursor = true;
      if (mCurrentLink != -1 && !mMark) {
        QueueStep(Direction(key));
      } else {
        MoveHighlight(Direction(key));
      }
      break;
  }
}

void Puzzle::MoveHighlight(int direction) {
  const int x = mHoverX + (direction == kDirLeft ? -1 : direction == kDirRight ? 1 : 0);
  const int y = mHoverY + (direction == kDirUp ? -1 : direction == kDirDown ? 1 : 0);
  if (!IsOnBoard(x, y)) return;
  mHoverX = x;
  mHoverY = y;
  mHoverOnPiece = Cell(x, y).piece != nullptr;
}

}  // namespace Lintwick
