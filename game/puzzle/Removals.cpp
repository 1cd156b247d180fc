// Taking pieces off a path. Pieces the rolling cube has not reached yet go for
// free; pieces it has passed leave a vortex, which costs level points and uses
// up the level's vortex allowance. Nodes are never removed by a move.

#include <algorithm>

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

inline constexpr int kFirstPathSlot = 2;

}  // namespace

void Puzzle::FreeSlot(int link, int slot) {
  Link& target = LinkAt(link);
  auto& owned = target.slots[static_cast<std::size_t>(slot)];
  if (!owned) return;
  if (IsOnBoard(owned->x, owned->y) && CellAt(owned->x, owned->y).piece == owned.get()) {
    CellAt(owned->x, owned->y).piece = nullptr;
  }
  // Nothing may keep pointing at a freed piece.
  if (mMark == owned.get()) ClearMark();
  if (mCube == owned.get()) ClearCube();
  owned.reset();
  --target.count;
}

void Puzzle::FreeSlotWithVortex(int link, int slot) {
  const Piece* piece = LinkAt(link).At(slot);
  if (!piece) return;
  const CelSize size = mHost.VortexCelSize(link);
  const int x = CellCentreX(piece->x) - size.width / 2;
  const int y = CellCentreY(piece->y) - size.height / 2;
  FreeSlot(link, slot);
  AddVortex(link, x, y);
}

void Puzzle::RemoveHead(int link) {
  const int head = LinkAt(link).count - 1;
  if (head >= kFirstPathSlot) FreeSlot(link, head);
}

void Puzzle::TruncateTo(const Piece& piece) {
  const int link = piece.link;
  for (int slot = LinkAt(link).count - 1; slot >= kFirstPathSlot; --slot) {
    if (LinkAt(link).At(slot) == &piece) break;
    FreeSlot(link, slot);
  }
}

void Puzzle::RemoveHeadWithVortex(int link) {
  const int head = LinkAt(link).count - 1;
  if (head >= kFirstPathSlot) FreeSlotWithVortex(link, head);
}

void Puzzle::RetractTo(const Piece& piece) {
  const int link = piece.link;
  for (int slot = LinkAt(link).count - 1; slot >= kFirstPathSlot; --slot) {
    if (LinkAt(link).At(slot) == &piece) break;
    FreeSlotWithVortex(link, slot);
  }
  // The link is open again: pieces that had turned to the finished look turn
  // back, and none grows past the open look any more.
  const Link& target = LinkAt(link);
  for (int slot = kFirstPathSlot; slot <= target.count - 2; ++slot) {
    Piece* remaining = target.At(slot);
    if (!remaining) continue;
    if (remaining->frame > 11) remaining->shrinking = true;
    remaining->frameLimit = 11;
  }
}

void Puzzle::CutPath(int link) {
  for (int slot = kFirstPathSlot; slot < kLinkSlots && LinkAt(link).At(slot); ++slot) {
    FreeSlotWithVortex(link, slot);
  }
}

void Puzzle::AddVortex(int link, int x, int y) {
  StartVortex(link, x, y);

  const int penalty = 20 + (mLevel * 180) / 99;
  mLevelPoints = std::max(mLevelPoints - penalty, kFloorLevelPoints);

  mVortexesLeft -= 1;
  if (mVortexesLeft == 0) {
    mShutterTick = 1;
    mTransitionKind = kReplayLevel;
  }
  mVortexesLeft = std::max(mVortexesLeft, 0);

  StartBarBlink();
  mHost.PlaySound(Sound::Vortex);
}

}  // namespace Lintwick
