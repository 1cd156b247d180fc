// The progress file, "save\progress.dat". It is outside data: it may be cut
// short by a full disk, damaged by a broken copy or written by a later
// version of the game, so nothing in it is trusted until all of it has been
// checked; a file that fails any check is not read at all (the caller keeps
// it on the disk until its next successful save).
//
// Layout, all numbers little-endian:
//
//   offset  size  field
//   0       4     magic "LWPG"
//   4       2     layout version, 1
//   6       4     CRC-32 (zlib's) of every byte from offset 10 to the end
//   10      ...   sections, back to back up to the end of the file, each:
//                   2  kind
//                   4  length n of the body
//                   n  body
//
// Section kind 1, the boards: records back to back, one per board that has
// been solved, each board at most once:
//
//   1   board index 0..99
//   1   flags: bit 0 solved (always set), bit 1 perfect; the others 0
//   2   best level points
//   2   level points of the kept solve
//   1   piece count n of the kept solve, 0..100
//   2n  its pieces in the order they were laid: link colour 0..6, then the
//       cell code (column << 4 | row, each 0..9); no cell twice
//
// Section kind 2, the daily boards: one record, as DailyRecord.h lays it out
// (flags, the last day solved, the streak, the best streak; 13 bytes). It is
// written once a daily board has been solved; a file without it has solved none.
//
// New kinds of record go into sections of new kinds: a reader keeps every
// section whose kind it does not know and writes it back unchanged, so older
// and newer versions of the game share the file without losing each other's
// records. The version changes only for a layout this reader could not read
// correctly, and a file of another version is not read.

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "game/puzzle/Progress.h"
#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'L', 'W', 'P', 'G'};
constexpr int kVersion = 1;
constexpr std::size_t kHeaderBytes = 10;
constexpr std::size_t kSectionHeadBytes = 6;
constexpr int kBoardsSection = 1;
constexpr int kDailySection = 2;
constexpr std::size_t kBoardRecordHead = 7;
constexpr int kSolvedFlag = 1;
constexpr int kPerfectFlag = 2;
constexpr int kMaxSolvePieces = kBoardSize * kBoardSize;

std::uint32_t Checksum(const std::uint8_t* bytes, std::size_t count) {
  uLong crc = crc32(0L, Z_NULL, 0);
  return static_cast<std::uint32_t>(crc32(crc, bytes, static_cast<uInt>(count)));
}

void WriteBoards(Zing::Buffer& body, const Progress& progress) {
  for (int level = 0; level < kProgressLevels; ++level) {
    const LevelProgress& record = progress.levels[static_cast<std::size_t>(level)];
    if (!record.solved) continue;
    body.WriteByte(static_cast<std::uint8_t>(level));
    body.WriteByte(static_cast<std::uint8_t>(kSolvedFlag | (record.perfect ? kPerfectFlag : 0)));
    body.WriteShort(static_cast<std::int16_t>(record.bestPoints));
    body.WriteShort(static_cast<std::int16_t>(record.solvePoints));
    body.WriteByte(static_cast<std::uint8_t>(record.solve.size()));
    for (const LaidPiece& piece : record.solve) {
      body.WriteByte(static_cast<std::uint8_t>(piece.link));
      body.WriteByte(static_cast<std::uint8_t>(piece.code));
    }
  }
}

void WriteSection(Zing::Buffer& out, int kind, const std::uint8_t* bytes, std::size_t count) {
  out.WriteShort(static_cast<std::int16_t>(kind));
  out.WriteLong(static_cast<std::int32_t>(count));
  out.WriteBytes(bytes, count);
}

// Reads bytes of a checked length from a block.
class Cursor {
 public:
  Cursor(const std::uint8_t* bytes, std::size_t count) : mBytes(bytes), mLeft(count) {}
  bool Has(std::size_t count) const { return mLeft >= count; }
  std::size_t Left() const { return mLeft; }
  const std::uint8_t* Here() const { return mBytes; }
  int Byte() {
    --mLeft;
    return *mBytes++;
  }
  int Short() { return Byte() | (Byte() << 8); }
  std::uint32_t Long() {
    const std::uint32_t low = static_cast<std::uint32_t>(Short());
    return low | (static_cast<std::uint32_t>(Short()) << 16);
  }
  void Skip(std::size_t count) {
    mBytes += count;
    mLeft -= count;
  }

 private:
  const std::uint8_t* mBytes;
  std::size_t mLeft;
};

bool ValidPiece(const LaidPiece& piece) {
  return piece.link >= 0 && piece.link < kMaxLinks && CellCodeX(piece.code) < kBoardSize &&
         CellCodeY(piece.code) < kBoardSize;
}

bool ReadSolve(Cursor& in, std::vector<LaidPiece>& solve) {
  const int count = in.Byte();
  if (count > kMaxSolvePieces || !in.Has(2 * static_cast<std::size_t>(count))) return false;
  std::array<bool, 256> used{};
  for (int i = 0; i < count; ++i) {
    LaidPiece piece;
    piece.link = in.Byte();
    piece.code = in.Byte();
    if (!ValidPiece(piece) || used[static_cast<std::size_t>(piece.code)]) return false;
    used[static_cast<std::size_t>(piece.code)] = true;
    solve.push_back(piece);
  }
  return true;
}

bool ReadBoardRecord(Cursor& in, Progress& progress, std::array<bool, kProgressLevels>& seen) {
  if (!in.Has(kBoardRecordHead)) return false;
  const int level = in.Byte();
  const int flags = in.Byte();
  if (level >= kProgressLevels || seen[static_cast<std::size_t>(level)]) return false;
  if ((flags & kSolvedFlag) == 0 || (flags & ~(kSolvedFlag | kPerfectFlag)) != 0) return false;
  seen[static_cast<std::size_t>(level)] = true;
  LevelProgress& record = progress.levels[static_cast<std::size_t>(level)];
  record.solved = true;
  record.perfect = (flags & kPerfectFlag) != 0;
  record.bestPoints = in.Short();
  record.solvePoints = in.Short();
  return record.solvePoints <= record.bestPoints && ReadSolve(in, record.solve);
}

bool ReadBoards(Cursor in, Progress& progress) {
  std::array<bool, kProgressLevels> seen{};
  while (in.Left() > 0) {
    if (!ReadBoardRecord(in, progress, seen)) return false;
  }
  return true;
}

bool ReadDaily(Cursor in, Progress& progress) {
  const auto record = ReadDailyRecordBytes(std::vector<std::uint8_t>(in.Here(), in.Here() + in.Left()));
  if (!record) return false;
  progress.daily = *record;
  return true;
}

bool ReadSections(Cursor in, Progress& progress) {
  bool boardsRead = false, dailyRead = false;
  while (in.Left() > 0) {
    if (!in.Has(kSectionHeadBytes)) return false;
    const int kind = in.Short();
    const std::uint32_t length = in.Long();
    if (!in.Has(length)) return false;
    const Cursor body(in.Here(), length);
    if (kind == kBoardsSection) {
      if (boardsRead || !ReadBoards(body, progress)) return false;
      boardsRead = true;
    } else if (kind == kDailySection) {
      if (dailyRead || !ReadDaily(body, progress)) return false;
      dailyRead = true;
    } else {
      progress.otherSections.push_back({kind, std::vector<std::uint8_t>(in.Here(), in.Here() + length)});
    }
    in.Skip(length);
  }
  return true;
}

}  // namespace

Zing::Buffer ProgressBytes(const Progress& progress) {
  Zing::Buffer boards;
  WriteBoards(boards, progress);
  Zing::Buffer sections;
  WriteSection(sections, kBoardsSection, boards.GetDataPtr(), boards.GetDataLen());
  if (progress.daily != DailyRecord{}) {
    const std::vector<std::uint8_t> daily = DailyRecordBytes(progress.daily);
    WriteSection(sections, kDailySection, daily.data(), daily.size());
  }
  for (const ProgressSection& section : progress.otherSections) {
    WriteSection(sections, section.kind, section.bytes.data(), section.bytes.size());
  }

  Zing::Buffer file;
  file.WriteBytes(kMagic.data(), kMagic.size());
  file.WriteShort(kVersion);
  file.WriteLong(static_cast<std::int32_t>(Checksum(sections.GetDataPtr(), sections.GetDataLen())));
  file.WriteBytes(sections.GetDataPtr(), sections.GetDataLen());
  return file;
}

std::optional<Progress> ReadProgress(const Zing::Buffer& file) {
  const std::size_t length = file.GetDataLen();
  if (length < kHeaderBytes) return std::nullopt;
  Cursor in(file.GetDataPtr(), length);
  if (std::memcmp(in.Here(), kMagic.data(), kMagic.size()) != 0) return std::nullopt;
  in.Skip(kMagic.size());
  if (in.Short() != kVersion) return std::nullopt;
  const std::uint32_t checksum = in.Long();
  if (Checksum(in.Here(), in.Left()) != checksum) return std::nullopt;

  Progress progress;
  if (!ReadSections(in, progress)) return std::nullopt;
  return progress;
}

}  // namespace Lintwick
