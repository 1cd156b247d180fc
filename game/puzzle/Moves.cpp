// The moves: one queued step of the drawing per tick, and the click on a
// cell, which picks up a link, confirms a marked move or sets a new mark.

#include <utility>

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

// The cell one step away in a direction.
void Advance(int direction, int& x, int& y) {
  switch (direction) {
    case kDirUp:
      --y;
      break;
    case kDirLeft:
      --x;
      break;
    case kDirRight:
      ++x;
      break;
    case kDirDown:
      ++y;
      break;
    default:
      break;
  }
}

}  // namespace

void Puzzle::StepCursor() {
  if (mQueuedSteps.empty()) return;
  const int direction = mQueuedSteps.front();
  mQueuedSteps.pop_front();
  ApplyStep(direction);
  // Led by the keys, the highlight follows the head, and stays on the target
  // node of a completed link.
  if (mKeyboardCursor && IsOnBoard(mCursorX, mCursorY)) {
    mHoverX = mCursorX;
    mHoverY = mCursorY;
  }
  // Whatever ended the drawing or set a mark drops the rest of the stroke.
  if (mCurrentLink == -1 || mMark) DropQueuedSteps();
}

void Puzzle::ApplyStep(int direction) {
  int x = mCursorX;
  int y = mCursorY;
  Advance(direction, x, y);
  if (!IsOnBoard(x, y)) {
    StopDrawing();  // the board's edge
    return;
  }
  mCursorX = x;
  mCursorY = y;
  const int drawing = mCurrentLink;
  if (!IsPresent(x, y) || drawing < 0 || drawing >= kMaxLinks || !GetLink(drawing).Exists()) {
    StopDrawing();
    return;
  }

  Piece* piece = Cell(x, y).piece;
  if (!piece) {
    LayPiece(drawing, x, y);
    return;
  }

  const Link& link = GetLink(drawing);
  // The cube has passed a piece once it stands on it; a drawing without a
  // cube counts as passed, so nothing laid is lost without a confirmation.
  const bool cubeBefore = mCube && mCube->link == drawing && mCube->slot < piece->slot;
  if (piece->link == drawing && piece->slot == 0) {
    LinkAt(drawing).completed = true;
    ReleaseCube();
    mCurrentLink = -1;
    CheckLevelComplete();
  } else if (piece->link == drawing && piece->slot == link.count - 2) {
    // Stepping back onto the piece before the head.
    if (cubeBefore) {
      RemoveHead(drawing);
    } else {
      HighlightRange(drawing, link.count - 1, link.count - 1);
      SetMark(piece, kMarkStepBack);
      ReleaseCube();
    }
  } else if (piece->link == drawing) {
    // The path runs into itself.
    if (cubeBefore) {
      TruncateTo(*piece);
    } else {
      HighlightRange(drawing, piece->slot + 1, link.count - 1);
      SetMark(piece, kMarkRetract);
      ReleaseCube();
    }
  } else if (piece->isNode) {
    StopDrawing();
  } else {
    // Crossing another link's path would cut all of it.
    const Link& other = GetLink(piece->link);
    HighlightRange(piece->link, 2, other.count - 1);
    SetMark(piece, other.completed ? kMarkCutCompleted : kMarkCut);
    ReleaseCube();
  }
}

void Puzzle::ClickCell() {
  if (!mPressed) return;
  mPressed = false;
  ClickCursorCell();
  ReplayHeldInput();
}

void Puzzle::ClickCursorCell() {
  if (!IsPresent(mCursorX, mCursorY)) return;
  Piece* piece = Cell(mCursorX, mCursorY).piece;
  if (!piece) return;
  if (piece == mMark) {
    CarryOutMark(*piece);
  } else if (piece->isNode) {
    ClickNode(*piece);
  } else {
    ClickPathPiece(*piece);
  }
  mHost.PlaySound(Sound::CubeClick);
}

// The confirmed move. The highlighted pieces are exactly the ones it removes,
// so their flags need no clearing.
void Puzzle::CarryOutMark(Piece& mark) {
  const int link = mark.link;
  switch (mMarkAction) {
    case kMarkCutCompleted:
    case kMarkCut: {
      LinkAt(link).completed = false;
      const bool isNode = mark.isNode;  // a path piece is freed by the cut
      CutPath(link);
      if (isNode) {
        MakeStart(mark);
        SetCube(&mark);
      } else if (mCurrentLink >= 0 && mCurrentLink < kMaxLinks) {
        // The drawing link takes the cell of the crossed path.
        LayPiece(mCurrentLink, mCursorX, mCursorY);
        SetCube(GetLink(mCurrentLink).Head());
      }
      break;
    }
    case kMarkRetractCompleted:
    case kMarkRetract:
      LinkAt(link).completed = false;
      RetractTo(mark);
      SetCube(&mark);
      break;
    case kMarkStepBack:
      RemoveHeadWithVortex(link);
      SetCube(&mark);
      break;
    default:
      break;
  }
  ClearMark();
}

void Puzzle::ClickNode(Piece& node) {
  if (mMark) {
    ClearMark();
    ClearAllHighlights();
  }
  mCurrentLink = node.link;
  Link& link = LinkAt(node.link);
  if (!link.HasPath()) {
    // Drawing starts afresh from this node. A link whose nodes touch may have
    // been completed without a path: it stays completed until a piece is laid,
    // so that letting go of it again leaves it finished, as it looks.
    MakeStart(node);
    SetCube(&node);
  } else {
    // A second click on the node erases the path and starts again from it.
    HighlightRange(node.link, 2, link.count - 1);
    SetMark(&node, link.completed ? kMarkCutCompleted : kMarkCut);
  }
}

void Puzzle::ClickPathPiece(Piece& piece) {
  if (mCurrentLink != -1 && !mMark) return;
  if (mMark) {
    ClearMark();
    ClearAllHighlights();
  }
  mCurrentLink = piece.link;
  Link& link = LinkAt(piece.link);
  if (&piece == link.Head()) {
    // Drawing resumes from the head; a completed link opens again.
    if (link.completed) {
      link.completed = false;
      RetractTo(piece);
    }
    SetCube(&piece);
  } else {
    HighlightRange(piece.link, piece.slot + 1, link.count - 1);
    SetMark(&piece, link.completed ? kMarkRetractCompleted : kMarkRetract);
  }
}

// A path piece laid by the player: one point, and a link that was completed
// with its nodes side by side is open from its first piece on.
void Puzzle::LayPiece(int link, int x, int y) {
  if (!AddPiece(link, x, y, false)) return;
  mScore += 1;
  LinkAt(link).completed = false;
}

void Puzzle::MakeStart(Piece& node) {
  if (node.slot == 1) return;
  Link& link = LinkAt(node.link);
  std::swap(link.slots[0], link.slots[1]);
  if (link.slots[0]) link.slots[0]->slot = 0;
  if (link.slots[1]) link.slots[1]->slot = 1;
}

}  // namespace Lintwick
