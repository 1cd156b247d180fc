// Strokes of any speed. A quick flick of the hand carries the pointer across
// several cells between two motion events, and several events may arrive
// between two logic ticks; the drawing must still follow the hand. So every
// move walks the cells the pointer crossed on its way, in order and always to
// an orthogonal neighbour, and queues one step per cell. The ticks still take
// one step each (the cube keeps its rolling pace), so a fast stroke lays its
// whole path a moment later.
//
// Where the pointer cut a corner diagonally, the walk goes through whichever
// of the two cells beside the corner the pointer passed nearer: the one its
// straight line actually crossed, or the one along the row when it hit the
// corner exactly.
//
// A walk needs a known start: the pointer's last position in the cell the
// queued steps lead to. Without one (the pointer comes back from off the
// board, or the keys moved the drawing away from it) only a neighbour of that
// cell can be stepped into, and any farther jump stops the drawing.

#include <cstdint>
#include <cstdlib>

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

// The walk runs on doubled board coordinates with each pixel taken at its
// centre, so that no pointer position lies on a cell's border and all the
// arithmetic stays in integers.
constexpr std::int64_t kDoubledCell = 2 * kCellPixels;
// No straight stroke over a 10 x 10 board crosses more cells than this.
constexpr int kMaxWalk = 2 * kBoardSize;

std::int64_t Doubled(int pixel, int origin) { return 2 * static_cast<std::int64_t>(pixel - origin) + 1; }

int CellOf(int pixel, int origin) { return (pixel - origin) / kCellPixels; }

int Sign(std::int64_t v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// One axis of the walk: how far along the stroke (as a fraction
// distance / length) the next border lies.
struct Axis {
  int cell = 0;
  int step = 0;
  std::int64_t distance = 0;  // to the next border, doubled pixels
  std::int64_t length = 0;    // of the stroke along this axis, doubled pixels

  Axis(std::int64_t from, std::int64_t to) {
    cell = static_cast<int>(from / kDoubledCell);
    step = Sign(to - from);
    length = std::llabs(to - from);
    const std::int64_t border = step > 0 ? (cell + 1) * kDoubledCell : cell * kDoubledCell;
    distance = std::llabs(border - from);
  }
  void Cross() {
    cell += step;
    distance += kDoubledCell;
  }
};

// Whether the stroke reaches the next column border before the next row
// border (ties go along the row).
bool ColumnFirst(const Axis& column, const Axis& row) {
  if (column.length == 0) return false;
  if (row.length == 0) return true;
  return column.distance * row.length <= row.distance * column.length;
}

}  // namespace

void Puzzle::QueueTail(int& x, int& y) const {
  x = mCursorX;
  y = mCursorY;
  for (int direction : mQueuedSteps) {
    x += direction == kDirLeft ? -1 : direction == kDirRight ? 1 : 0;
    y += direction == kDirUp ? -1 : direction == kDirDown ? 1 : 0;
  }
}

void Puzzle::QueueStep(int direction) {
  if (static_cast<int>(mQueuedSteps.size()) < kMaxQueuedSteps) mQueuedSteps.push_back(direction);
}

void Puzzle::HoldInput(bool isKey, int a, int b) {
  if (static_cast<int>(mHeldInput.size()) < kMaxQueuedSteps) mHeldInput.push_back({isKey, a, b});
}

// A stroke begun right after a click, before the tick that picks the link up,
// is walked from where the click was made.
void Puzzle::ReplayHeldInput() {
  const std::vector<HeldInput> held = std::move(mHeldInput);
  mHeldInput.clear();
  bool fromKnown = mClickFromPointer;
  int fromX = mClickX;
  int fromY = mClickY;
  for (const HeldInput& input : held) {
    if (input.isKey) {
      HandleBoardKey(static_cast<BoardKey>(input.a));
      continue;
    }
    const bool onBoard = IsBoardPoint(input.a, input.b);
    if (mCurrentLink != -1 && !mMark) {
      if (onBoard) {
        FollowStroke(fromKnown, fromX, fromY, input.a, input.b);
      } else {
        StopDrawing();
      }
    }
    fromKnown = onBoard;
    fromX = input.a;
    fromY = input.b;
  }
}

void Puzzle::FollowStroke(bool fromKnown, int fromX, int fromY, int x, int y) {
  const int cx = CellOf(x, kBoardLeft);
  const int cy = CellOf(y, kBoardTop);
  int tailX = 0;
  int tailY = 0;
  QueueTail(tailX, tailY);
  if (cx == tailX && cy == tailY) return;

  const int fromCellX = CellOf(fromX, kBoardLeft);
  const int fromCellY = CellOf(fromY, kBoardTop);
  if (fromKnown && fromCellX == cx && fromCellY == cy) return;  // no border crossed
  if (fromKnown && fromCellX == tailX && fromCellY == tailY) {
    Axis column(Doubled(fromX, kBoardLeft), Doubled(x, kBoardLeft));
    Axis row(Doubled(fromY, kBoardTop), Doubled(y, kBoardTop));
    for (int i = 0; i < kMaxWalk && (column.cell != cx || row.cell != cy); ++i) {
      if (ColumnFirst(column, row)) {
        column.Cross();
        QueueStep(column.step < 0 ? kDirLeft : kDirRight);
      } else {
        row.Cross();
        QueueStep(row.step < 0 ? kDirUp : kDirDown);
      }
    }
    return;
  }

  // No walk from the drawing's end: a neighbour (a diagonal one counts along
  // the row) or nothing.
  if (std::abs(tailX - cx) == 1) {
    QueueStep(cx < tailX ? kDirLeft : kDirRight);
  } else if (std::abs(tailY - cy) == 1) {
    QueueStep(cy < tailY ? kDirUp : kDirDown);
  } else {
    StopDrawing();
  }
}

}  // namespace Lintwick
