// Plays arbitrary mouse input and ticks on a few levels and checks after every
// tick that the board, the links, the mark and the cube stay consistent.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "game/puzzle/Puzzle.h"
#include "tests/puzzle/BoardInvariants.h"
#include "tests/puzzle/FakeHost.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Three levels: a full board with seven links, a board with holes and three
// links, and a corridor with nodes side by side.
void InstallLevels(LintwickTest::FakeHost& host) {
  std::string board, nodes, solutions;
  const std::uint16_t masks[3][10] = {
      {0x3FF, 0x3FF, 0x3FF, 0x3FF, 0x3FF, 0x3FF, 0x3FF, 0x3FF, 0x3FF, 0x3FF},
      {0x3FF, 0x2DB, 0x3FF, 0x3FF, 0x1EF, 0x3FF, 0x3FF, 0x3F7, 0x3FF, 0x3FF},
      {0x3FF, 0x3FF, 0, 0, 0, 0, 0, 0, 0, 0},
  };
  const std::vector<std::uint8_t> nodeCodes[3] = {
      {0x00, 0x99, 0x09, 0x90, 0x40, 0x49, 0x04, 0x94, 0x22, 0x77, 0x27, 0x72, 0x55, 0x66},
      {0x00, 0x99, 0x30, 0x39, 0x06, 0x96},
      {0x00, 0x10, 0x01, 0x91},
  };
  for (int level = 0; level < 3; ++level) {
    for (std::uint16_t mask : masks[level]) {
      board += static_cast<char>(mask & 0xFF);
      board += static_cast<char>(mask >> 8);
    }
    board += std::string(12, '\0');
    std::string record(1, static_cast<char>(nodeCodes[level].size()));
    for (std::uint8_t code : nodeCodes[level]) record += static_cast<char>(code);
    record.resize(Lintwick::kNodeRecordSize, '\0');
    nodes += record;
    solutions += std::string(1, '\x14') + std::string(99, '\0');  // an allowance of 30
  }
  host.files[Lintwick::kBoardFile] = board;
  host.files[Lintwick::kNodeFile] = nodes;
  host.files[Lintwick::kSolutionFile] = solutions;
}

void CheckConsistent(const Lintwick::Puzzle& puzzle) { Check(LintwickTest::BoardFault(puzzle).empty()); }

}  // namespace

// Each input event is three bytes: what, then two coordinates.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  LintwickTest::FakeHost host;
  InstallLevels(host);
  Lintwick::Puzzle puzzle(host);
  puzzle.mLevel = data[0] % 3;
  puzzle.RestartLevel();
  for (std::size_t i = 1; i + 2 < size; i += 3) {
    const int what = data[i] % 6;
    const int a = data[i + 1];
    const int b = data[i + 2];
    const int cellX = Lintwick::CellCentreX(a % 10);
    const int cellY = Lintwick::CellCentreY(b % 10);
    switch (what) {
      case 0:
        puzzle.HandleMouseMove(cellX, cellY);
        break;
      case 1:
        puzzle.HandleMouseMove(a * 2 - 20, b * 2 - 20);
        break;
      case 2:
        puzzle.HandleMouseDown(cellX, cellY, 1 + a % 2);
        break;
      case 3:
        puzzle.HandleMouseDown(cellX, cellY, -1);
        break;
      default:
        for (int t = 0; t <= a % 16; ++t) {
          puzzle.Tick();
          CheckConsistent(puzzle);
        }
        break;
    }
  }
  return 0;
}
