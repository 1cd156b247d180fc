#pragma once

// What every board the puzzle holds must satisfy, whatever the player did or whatever file it was
// loaded from (each broken rule is named below). Used by tests and fuzz targets alike.

#include <cstdlib>
#include <string>

#include "game/puzzle/Puzzle.h"

namespace LintwickTest {

// The first broken rule, or an empty text for a sound board.
inline std::string BoardFault(const Lintwick::Puzzle& puzzle) {
  using namespace Lintwick;
  const auto live = [&](const Piece* piece) { return puzzle.PieceAt(piece->x, piece->y) == piece; };
  const auto touch = [](const Piece& a, const Piece& b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y) == 1; };
  int pieces = 0;
  for (int link = 0; link < kMaxLinks; ++link) {
    const Link& l = puzzle.GetLink(link);
    const std::string name = "link " + std::to_string(link) + ": ";
    if (l.count == 1) return name + "a lone node";
    for (int slot = 0; slot < kLinkSlots; ++slot) {
      const Piece* piece = l.At(slot);
      if ((piece != nullptr) != (slot < l.count)) return name + "a gap in the slots";
      if (!piece) continue;
      if (piece->slot != slot || piece->link != link || piece->isNode != (slot < 2)) return name + "a misfiled piece";
      if (!puzzle.IsPresent(piece->x, piece->y) || !live(piece)) return name + "a piece off its cell";
      if (slot >= 2 && !touch(*piece, *l.At(slot - 1))) return name + "a path that jumps";
      ++pieces;
    }
    if (l.count >= 2) {
      const int a = CellCode(l.At(0)->x, l.At(0)->y);
      const int b = CellCode(l.At(1)->x, l.At(1)->y);
      const int na = puzzle.mNodeCells[static_cast<std::size_t>(2 * link)];
      const int nb = puzzle.mNodeCells[static_cast<std::size_t>(2 * link + 1)];
      if (!((a == na && b == nb) || (a == nb && b == na))) return name + "nodes not the level's";
      if (l.completed && !touch(*l.Head(), *l.At(0))) return name + "joined without reaching its target";
    }
  }
  int occupied = 0;
  for (int x = 0; x < kBoardSize; ++x)
    for (int y = 0; y < kBoardSize; ++y) occupied += puzzle.Cell(x, y).piece != nullptr;
  if (occupied != pieces) return "cells and pieces disagree";
  if (puzzle.mMark && !live(puzzle.mMark)) return "the mark points at a freed piece";
  if (puzzle.mCube && !live(puzzle.mCube)) return "the cube points at a freed piece";
  if (puzzle.mVortexesLeft < 0 || puzzle.mLevelPoints < kFloorLevelPoints) return "counters out of range";
  if (puzzle.mShutterTick < 0 || puzzle.mShutterTick > kLastShutterTick) return "transition tick out of range";
  if (puzzle.mShutterOffset < 0 || puzzle.mShutterOffset > kShutterTravel) return "shutter offset out of range";
  if (puzzle.mLevel < 0 || puzzle.mLevel > kLastLevel) return "no such level";
  if (puzzle.mHintsLeft < 0 || puzzle.mHintsLeft > kHintsPerGame || puzzle.mScore < 0) return "hints or score";
  return {};
}

}  // namespace LintwickTest
