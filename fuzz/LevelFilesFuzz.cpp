// Feeds arbitrary bytes to the level-file reader as the three level files and
// builds every level from them, checking that the board stays consistent.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "game/puzzle/Puzzle.h"
#include "tests/puzzle/FakeHost.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckLevel(const Lintwick::Puzzle& puzzle) {
  int pieces = 0;
  for (int link = 0; link < Lintwick::kMaxLinks; ++link) {
    const auto& l = puzzle.GetLink(link);
    int used = 0;
    for (const auto& slot : l.slots) {
      if (!slot) continue;
      ++used;
      Check(puzzle.IsPresent(slot->x, slot->y));
      Check(puzzle.Cell(slot->x, slot->y).piece == slot.get());
    }
    Check(used == l.count && l.count <= 2);
    pieces += used;
  }
  int occupied = 0;
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 10; ++y) occupied += puzzle.Cell(x, y).piece != nullptr;
  Check(occupied == pieces);
  Check(puzzle.GetVortexAllowance() >= 10 && puzzle.GetVortexAllowance() <= 10 + 7 * 100);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes split the rest into the board, node and solution files.
  const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t a = rest.size() * data[0] / 255;
  const std::size_t b = a + (rest.size() - a) * data[1] / 255;
  LintwickTest::FakeHost host;
  host.files[Lintwick::kBoardFile] = rest.substr(0, a);
  host.files[Lintwick::kNodeFile] = rest.substr(a, b - a);
  host.files[Lintwick::kSolutionFile] = rest.substr(b);

  Lintwick::Puzzle puzzle(host);
  for (int level = 0; level < 100; level += 7) {
    puzzle.mLevel = level;
    puzzle.RestartLevel();
    CheckLevel(puzzle);
  }
  return 0;
}
