// Splitting a saved-game file into its fields. A file can be cut short at any
// byte (a full disk, a copy broken off), so the play fields and each link
// block are taken only when all of their bytes are there; the buffer itself
// would read missing bytes as 0, which would pass for real values. Only the
// first fields, which a level choice takes as far as they go, read missing
// bytes as 0.

#include "game/puzzle/SavedGameRecord.h"

#include <algorithm>

namespace Lintwick {

namespace {

inline constexpr std::size_t kLinkBlockHead = 2;  // completed, piece count

// Reads fixed-size fields and link blocks while counting what is left.
class Reader {
 public:
  explicit Reader(const Zing::Buffer& file) : mFile(file), mLeft(file.GetDataLen()) { mFile.SeekFront(); }

  bool Has(std::size_t bytes) const { return mLeft >= bytes; }
  std::size_t Left() const { return mLeft; }
  int Byte() {
    Take(1);
    return mFile.ReadByte();
  }
  int Short() {
    Take(2);
    return mFile.ReadShort();
  }
  int Long() {
    Take(4);
    return mFile.ReadLong();
  }

 private:
  void Take(std::size_t bytes) { mLeft -= std::min(mLeft, bytes); }

  Zing::Buffer mFile;  // a copy: reading moves its read position
  std::size_t mLeft;
};

void ReadPlay(Reader& in, SavedGameRecord& record) {
  record.hasPlay = true;
  record.levelPoints = in.Short();
  record.vortexesLeft = in.Short();
  record.shutterTick = in.Short();
  record.shutterOffset = in.Short();
  record.transitionKind = in.Byte();
  record.levelPointsShown = in.Short();
}

// A block whose codes run past the end of the file is not taken.
bool ReadLink(Reader& in, SavedGameRecord& record) {
  if (!in.Has(kLinkBlockHead)) return false;
  SavedLink link;
  link.completed = in.Byte() != 0;
  const std::size_t count = static_cast<std::size_t>(in.Byte());
  if (!in.Has(count)) return false;
  link.codes.reserve(count);
  for (std::size_t i = 0; i < count; ++i) link.codes.push_back(in.Byte());
  record.links.push_back(std::move(link));
  return true;
}

}  // namespace

std::optional<SavedGameRecord> ReadSavedGame(const Zing::Buffer& file) {
  if (file.GetDataLen() == 0) return std::nullopt;
  Reader in(file);
  SavedGameRecord record;
  record.continuable = in.Has(kSavedScoreBytes);
  record.level = in.Byte();
  record.continuable = record.continuable && record.level <= kLastLevel;
  record.hintShown = in.Byte() != 0;
  record.hintsLeft = in.Byte();
  record.score = in.Long();
  if (!in.Has(kSavedHeaderBytes - kSavedScoreBytes)) return record;

  ReadPlay(in, record);
  while (record.links.size() < kMaxLinks && ReadLink(in, record)) {
  }
  record.whole = record.links.size() == kMaxLinks && in.Left() == 0;
  return record;
}

}  // namespace Lintwick
