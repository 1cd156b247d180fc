// Reads arbitrary bytes as the saved game, continuing it and starting a
// chosen level from it, and checks that the board is always one play could
// have made, that play goes on from it soundly, and that what the game then
// saves reads back whole and unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "game/puzzle/GameScreen.h"
#include "tests/puzzle/BoardInvariants.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckSound(const Lintwick::GameScreen& screen) { Check(LintwickTest::BoardFault(screen).empty()); }

std::string BytesOf(const Lintwick::GameScreen& screen) {
  const Zing::Buffer b = screen.SavedGameBytes();
  return {reinterpret_cast<const char*>(b.GetDataPtr()), b.GetDataLen()};
}

// The levels of the seed corpus: two links on a board with a hole, and a
// full board with three links, alternating.
LintwickTest::FakeHost& Host() {
  static LintwickTest::FakeHost host = [] {
    using namespace LintwickTest;
    FakeHost made;
    const LevelFiles a =
        LevelFromMap({"..........", ".a..A.....", "..........", ".b.B......", "#........."}, {{0x21, 0x31}, {0x23}});
    const LevelFiles b = LevelFromMap({"a........A", "b........B", "c........C", "..........", "..........",
                                       "..........", "..........", "..........", "..........", ".........."});
    LevelFiles files;
    for (int i = 0; i < 50; ++i) {
      files.Add(a);
      files.Add(b);
    }
    files.InstallInto(made);
    return made;
  }();
  return host;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LintwickTest::FakeHost& host = Host();
  static Lintwick::GameScreen screen(host, nullptr);
  host.files[LintwickTest::kSavePath].assign(reinterpret_cast<const char*>(data), size);

  screen.ContinueGame();
  CheckSound(screen);
  // What the loaded game would save reads back whole and the same.
  const std::string saved = BytesOf(screen);
  host.files[LintwickTest::kSavePath] = saved;
  screen.ContinueGame();
  Check(!screen.SavedGameWasDamaged() && BytesOf(screen) == saved);
  for (int tick = 0; tick < 40; ++tick) {
    screen.Tick();
    CheckSound(screen);
  }

  host.files[LintwickTest::kSavePath].assign(reinterpret_cast<const char*>(data), size);
  screen.StartAtLevel(size > 0 ? data[size - 1] : 0);
  CheckSound(screen);
  return 0;
}
