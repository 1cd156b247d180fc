// Loading and saving the player's progress file.

#include "game/shell/ProgressStore.h"

#include "framework/app/FileAccess.h"

namespace Lintwick {

ProgressFileState ReadProgressFile(const std::string& path, Progress& progress) {
  progress = Progress{};
  if (!Zing::FileExists(path)) return ProgressFileState::Missing;
  Zing::Buffer file;
  if (!Zing::ReadBufferFromFile(path, file)) return ProgressFileState::Damaged;
  std::optional<Progress> read = ReadProgress(file);
  if (!read) return ProgressFileState::Damaged;
  progress = std::move(*read);
  return ProgressFileState::Read;
}

void ProgressStore::Load(const std::string& dataFolder) {
  mPath = dataFolder + kProgressFile;
  mState = ReadProgressFile(mPath, mProgress);
}

bool ProgressStore::Record(const LevelSolve& solve) { return Save(mProgress.Merge(solve)); }

bool ProgressStore::RecordDaily(std::int64_t day, bool perfect) {
  return Save(RecordDailySolve(mProgress.daily, day, perfect));
}

bool ProgressStore::Save(bool changed) {
  if (!changed && mState == ProgressFileState::Read) return true;
  if (mPath.empty()) return false;
  // A failed write keeps the progress in memory; the next solve tries again.
  if (!Zing::WriteBufferToFile(mPath, ProgressBytes(mProgress))) return false;
  mState = ProgressFileState::Read;
  return true;
}

}  // namespace Lintwick
