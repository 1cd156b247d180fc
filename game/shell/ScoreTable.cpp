// The high-score table's records and the rule by which a final score enters.
// The file is outside data: a damaged one (cut short, random bytes, lengths
// past the end, names with control bytes) still gives six entries whose names
// can be drawn and edited.

#include "game/shell/ScoreTable.h"

#include "framework/app/Buffer.h"

namespace Lintwick {

namespace {

constexpr unsigned char kFirstPrintable = 32;
constexpr unsigned char kDeleteByte = 127;

bool IsNameByte(unsigned char byte) {
  if (byte < kFirstPrintable || byte == kDeleteByte) return false;
  // Undefined in the code page; they would stand for control characters.
  return byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
}

}  // namespace

std::string SanitizeScoreName(const std::string& name) {
  std::string clean;
  for (char c : name) {
    if (clean.size() >= ScoreTable::kMaxNameLength) break;
    if (IsNameByte(static_cast<unsigned char>(c))) clean.push_back(c);
  }
  return clean;
}

void ScoreTable::SetDefaults() {
  for (ScoreEntry& entry : entries) entry = {kDefaultScore, kDefaultName};
}

void ScoreTable::Read(Zing::Buffer& buffer) {
  if (buffer.GetDataLen() == 0) {
    SetDefaults();
    return;
  }
  buffer.SeekFront();
  for (ScoreEntry& entry : entries) {
    entry.score = buffer.ReadLong();
    entry.name = SanitizeScoreName(buffer.ReadString());
  }
}

void ScoreTable::Write(Zing::Buffer& buffer) const {
  for (const ScoreEntry& entry : entries) {
    buffer.WriteLong(entry.score);
    buffer.WriteString(entry.name);
  }
}

int ScoreTable::Insert(std::int32_t score, const std::string& name) {
  int place = 0;
  while (place < kPlaces && entries[static_cast<std::size_t>(place)].score >= score) ++place;
  if (place == kPlaces) return -1;
  for (int i = kPlaces - 1; i > place; --i)
    entries[static_cast<std::size_t>(i)] = entries[static_cast<std::size_t>(i - 1)];
  entries[static_cast<std::size_t>(place)] = {score, name};
  return place;
}

}  // namespace Lintwick
