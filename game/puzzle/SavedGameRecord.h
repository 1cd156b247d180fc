#pragma once

// The saved-game file as it lies on the disk, read without trusting it. The
// file has no header, version or checksum:
//
//   offset  size  field
//   0       1     level index
//   1       1     hint of the level bought (any non-zero byte)
//   2       1     hints left
//   3       4     score, signed
//   7       2     level points, signed
//   9       2     vortex allowance left, signed
//   11      2     transition tick, signed
//   13      2     shutter offset, signed
//   15      1     transition kind
//   16      2     level points shown, signed
//   18      ...   seven link blocks, link 0 first: completed (1 byte), the
//                 piece count n (1 byte), then n cell codes in slot order
//
// All numbers are little-endian. Reading only splits the bytes into fields
// and says how far they reached; whether the fields fit the level they name is
// decided when the game is put back (SavedGameLoad.cpp).

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "framework/app/Buffer.h"
#include "game/puzzle/Puzzle.h"

namespace Lintwick {

// Bytes before the link blocks, and the part of them a level choice needs.
inline constexpr std::size_t kSavedHeaderBytes = 18;
inline constexpr std::size_t kSavedScoreBytes = 7;

struct SavedLink {
  bool completed = false;
  std::vector<int> codes;  // target node, start node, then the path
};

struct SavedGameRecord {
  int level = 0;
  bool hintShown = false;
  int hintsLeft = 0;
  int score = 0;
  // The file holds the whole score and names a level the game has; else it
  // cannot be continued, though a level choice still takes hints and score.
  bool continuable = false;

  // The play fields; absent in a file cut short before the link blocks.
  bool hasPlay = false;
  int levelPoints = 0;
  int vortexesLeft = 0;
  int shutterTick = 0;
  int shutterOffset = 0;
  int transitionKind = 0;
  int levelPointsShown = 0;

  // The link blocks read whole, link 0 first; a block cut short and every
  // block after it are missing.
  std::vector<SavedLink> links;

  // Every field and every block was there, and nothing followed them.
  bool whole = false;
};

// Splits a saved game into its fields. Nothing for an empty file.
std::optional<SavedGameRecord> ReadSavedGame(const Zing::Buffer& file);

}  // namespace Lintwick
