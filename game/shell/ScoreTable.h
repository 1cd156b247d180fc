#pragma once

// The six best final scores with their players' names, best first, as kept in
// "save\score.dat": six records back to back, each a little-endian 32-bit score
// and a name with a 16-bit length, no header. A final score enters above the
// first entry it beats; equal scores do not displace each other.

#include <array>
#include <cstdint>
#include <string>

namespace Zing {
class Buffer;
}

namespace Lintwick {

struct ScoreEntry {
  std::int32_t score = 0;
  std::string name;
};

class ScoreTable {
 public:
  static constexpr int kPlaces = 6;
  static constexpr std::int32_t kDefaultScore = 100;
  static constexpr const char* kDefaultName = "Wicker";
  // The longest name the name field takes; longer names from a file are cut.
  static constexpr std::size_t kMaxNameLength = 15;

  ScoreTable() { SetDefaults(); }

  void SetDefaults();
  // Reads the records from the buffer's start. An empty buffer gives the
  // defaults; a short one gives score 0 and an empty name for each missing
  // record. Names keep only the characters a name field could have typed.
  void Read(Zing::Buffer& buffer);
  void Write(Zing::Buffer& buffer) const;
  // Enters the score with `name` and answers its place 0 to 5, or -1 when it
  // beats no entry.
  int Insert(std::int32_t score, const std::string& name);

  std::array<ScoreEntry, kPlaces> entries;
};

// The name as it may be shown and stored: control bytes and bytes the code
// page leaves undefined removed, at most kMaxNameLength characters.
std::string SanitizeScoreName(const std::string& name);

}  // namespace Lintwick
