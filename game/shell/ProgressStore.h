#pragma once

// The player's progress as the application keeps it: read from the save
// folder at start-up, merged with every solved level and written back at once
// (atomically, so a kill while saving leaves the old file or the new one,
// never a broken one). A damaged file is not read; it stays on the disk until
// the next successful save replaces it.

#include <string>

#include "game/puzzle/Progress.h"

namespace Lintwick {

enum class ProgressFileState { Missing, Read, Damaged };

class ProgressStore {
 public:
  // Reads "save\progress.dat" below the player's data folder (which ends in
  // a separator). A missing or damaged file gives empty progress.
  void Load(const std::string& dataFolder);
  // Takes a solve into the progress and writes the file when anything
  // changed; answers whether the file now holds it.
  bool Record(const LevelSolve& solve);
  // The daily board of `day` was solved: the same for the daily record.
  bool RecordDaily(std::int64_t day, bool perfect);

  const Progress& Get() const { return mProgress; }
  ProgressFileState FileState() const { return mState; }
  const std::string& Path() const { return mPath; }

 private:
  // Writes the file when the progress changed or the file does not hold it yet.
  bool Save(bool changed);

  Progress mProgress;
  ProgressFileState mState = ProgressFileState::Missing;
  std::string mPath;
};

// Reads a progress file: its state, and the progress it holds (empty unless
// it was read).
ProgressFileState ReadProgressFile(const std::string& path, Progress& progress);

}  // namespace Lintwick
