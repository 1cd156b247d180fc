#pragma once

// The player's progress over the hundred boards, kept across games in
// "save\progress.dat": for every board whether it was solved, whether it was
// solved perfectly (every cell of the board covered), the best level points
// it paid, and the pieces of the best solve in the order they were laid, so
// that the level chooser can mark the boards and play the solve back.
//
// The rules live here and in ProgressMerge.cpp (which solve is the best one),
// PerfectSolve.cpp (what makes a solve perfect) and ProgressFile.cpp (the
// file, whose layout is described there).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/app/Buffer.h"
#include "game/puzzle/DailyRecord.h"

namespace Lintwick {

inline constexpr int kProgressLevels = 100;
inline constexpr const char* kProgressFile = "save\\progress.dat";

// One path piece of a solve: its link colour and its cell code.
struct LaidPiece {
  int link = 0;
  int code = 0;
  bool operator==(const LaidPiece&) const = default;
};

// A finished level as the player left it when the last link was joined.
struct LevelSolve {
  int level = 0;
  bool perfect = false;
  int points = 0;                 // the level points it paid
  std::vector<LaidPiece> pieces;  // the path pieces in the order they were laid
};

struct LevelProgress {
  bool solved = false;
  bool perfect = false;
  int bestPoints = 0;  // the most level points any solve of the board paid
  // The best solve: a perfect one before any other, then the one that paid
  // more; its points are kept to rank the next solve against it.
  int solvePoints = 0;
  std::vector<LaidPiece> solve;
  bool operator==(const LevelProgress&) const = default;
};

// A part of the file this version does not know (written by a later one),
// kept as it is and written back unchanged.
struct ProgressSection {
  int kind = 0;
  std::vector<std::uint8_t> bytes;
  bool operator==(const ProgressSection&) const = default;
};

struct Progress {
  std::array<LevelProgress, kProgressLevels> levels{};
  DailyRecord daily;  // the daily boards solved, and the streak
  std::vector<ProgressSection> otherSections;

  int SolvedCount() const;
  int PerfectCount() const;
  // The sum of the best level points of every board.
  int PointsSum() const;
  // Takes a new solve into the board's record; answers whether anything
  // changed (and so needs saving).
  bool Merge(const LevelSolve& solve);
  bool operator==(const Progress&) const = default;
};

// The file's bytes, and the progress read back from them: nothing when the
// bytes are not a progress file this version can read (damaged, cut short,
// or of a later layout).
Zing::Buffer ProgressBytes(const Progress& progress);
std::optional<Progress> ReadProgress(const Zing::Buffer& file);

// The three lines of `lintwick --stats`.
std::string ProgressSummary(const Progress& progress);

}  // namespace Lintwick
