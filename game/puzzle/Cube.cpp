// The rolling cube that carries the drawing from piece to piece, and the looks
// of the pieces it leaves behind: a piece grows to its open look when the cube
// leaves it, and on to the finished look when the cube settles on a completed
// link.

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

inline constexpr int kRollFrames = kCubeRollTicks;  // ticks of one roll from a cell to the next
inline constexpr int kGrowFrame = 7;                // roll frame at which the piece being left starts to grow
inline constexpr int kTargetFrames = 20;
inline constexpr int kOpenFrameLimit = 11;

// Direction of a roll from one piece to the next, 0 when they do not touch.
int RollDirection(const Piece& from, const Piece& to) {
  const int dx = to.x - from.x;
  const int dy = to.y - from.y;
  if (dx == 1 || dx == -1) return dx < 0 ? kDirLeft : kDirRight;
  if (dy == 1 || dy == -1) return dy < 0 ? kDirUp : kDirDown;
  return 0;
}

bool RollsBackward(int dir) { return dir == kDirUp || dir == kDirLeft; }

}  // namespace

void Puzzle::SetCube(Piece* piece) {
  mCube = piece;
  mCubeFrame = 1;
  mCubeCel = 0;
  mTargetFrame = 0;
  mCubeEnd = kCubeFollows;
  if (piece) {
    piece->cel = 0;
    piece->frame = 0;
    piece->frameLimit = 0;
    piece->shrinking = false;
  }
}

Piece* Puzzle::NextPiece(const Piece* piece) const {
  if (!piece || piece->link < 0 || piece->link >= kMaxLinks) return nullptr;
  const Link& link = GetLink(piece->link);
  for (int slot = 1; slot < kLinkSlots; ++slot) {
    if (link.At(slot) == piece) return slot + 1 < kLinkSlots ? link.At(slot + 1) : nullptr;
  }
  return nullptr;
}

void Puzzle::ReleaseCube() {
  if (!mCube) return;
  mCubeEnd = GetLink(mCube->link).completed ? kCubeEndCompleted : kCubeEndOpen;
  Piece* next = NextPiece(mCube);
  if (!next) return;
  // Past frame 7 the piece being left has already started to grow.
  if (mCubeFrame <= kGrowFrame) StartGrow(*mCube);
  mCube = next;
  mCubeFrame = 1;
  mCubeCel = 0;
}

// A head dropped a moment ago may still be shrinking: growing again ends that.
void Puzzle::StartGrow(Piece& piece) {
  piece.frame = 1;
  piece.frameLimit = piece.isNode ? kFinishedFrame : kOpenFrameLimit;
  piece.cel = 0;
  piece.shrinking = false;
}

void Puzzle::FinishLink(int link) {
  mCubeEnd = kCubeFollows;
  if (mCube) {
    mCube->frame = kFinishedFrame;
    mCube->cel = kFinishedCel;
    mCube->shrinking = false;
  }
  mCube = nullptr;
  const Link& target = GetLink(link);
  for (int slot = 2; slot <= target.count - 2; ++slot) {
    Piece* piece = target.At(slot);
    if (!piece) continue;
    piece->frameLimit = kFinishedFrame;
    if (piece->frame == 0) piece->frame = 1;
    piece->shrinking = false;
  }
}

void Puzzle::DropHead(Piece& piece) {
  piece.frame = kFinishedFrame;
  piece.cel = kFinishedCel;
  if (!piece.isNode) {
    piece.shrinking = true;
    piece.frameLimit = kOpenFrameLimit;
  }
}

void Puzzle::ClearCube() {
  mCube = nullptr;
  mCubeCel = mCubeDir = mCubeFrame = mCubeEnd = mTargetFrame = 0;
}

void Puzzle::UpdateCube() {
  if (!mCube) return;
  if (++mTargetFrame >= kTargetFrames) mTargetFrame = 0;

  if (mCubeEnd == kCubeEndCompleted || mCubeEnd == kCubeEndOpen) {
    // A released cube runs on one piece per tick, then settles.
    if (Piece* next = NextPiece(mCube)) {
      StartGrow(*mCube);
      mCube = next;
      mHost.PlaySound(Sound::CubeTap);
      return;
    }
    if (mCubeEnd == kCubeEndCompleted) {
      const int link = mCube->link;
      SparkleLink(link);
      FinishLink(link);
      mHost.PlaySound(Sound::CubeBump);
    } else {
      DropHead(*mCube);
      mHost.PlaySound(Sound::CubeDrop);
    }
    ClearCube();
    return;
  }

  if (mCubeFrame < 1) return;
  if (mCubeFrame == 1) {
    Piece* next = NextPiece(mCube);
    if (!next) return;  // waits on the head for the drawing
    mCubeDir = RollDirection(*mCube, *next);
    if (mCubeDir == 0) {
      ClearCube();
      return;
    }
    mCubeCel = RollsBackward(mCubeDir) ? 13 : 1;
  } else {
    mCubeCel += RollsBackward(mCubeDir) ? -1 : 1;
  }
  if (mCubeFrame == kGrowFrame) StartGrow(*mCube);
  if (++mCubeFrame > kRollFrames) {
    mHost.PlaySound(Sound::CubeTap);
    mCubeFrame = 1;
    mCubeCel = 0;
    if (Piece* next = NextPiece(mCube)) {
      mCube = next;
    } else {
      ClearCube();
    }
  }
}

}  // namespace Lintwick
