// demogen: writes a demo file that plays Lintwick from the stored level
// solutions, for the program's "-play". Demos are made where they are used
// (at test time, from the levels of that build) and never kept.
//
//   demogen <levels folder> <demo file> base
//       a new game: level 1 solved, a few cells of level 2 drawn
//   demogen <levels folder> <demo file> matrix
//       Replay, the level the chooser shows, a few cells drawn, the high-score
//       table looked at
//   demogen <levels folder> <demo file> full [levels]
//       a new game through the first `levels` levels (default all 100), left
//       and continued after every tenth; after the hundredth the high-score
//       table is closed with the offered name; markers name the moments
//       after each tenth level was saved and while the final table shows
//   demogen <levels folder> <demo file> final
//       Continue, on a saved game whose last level has every link joined, and
//       the high-score table that the end of the game opens closed with the
//       offered name: the score table, the saved game and the settings are
//       all written
// Each demo ends a moment after its last input; the game then saves and
// closes as it does when its window is closed.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/app/FileAccess.h"
#include "game/shell/GameConstants.h"
#include "tools/demogen/Scenes.h"

namespace {

using namespace Lintwick::DemoGen;

constexpr int kTailUpdates = 100;
constexpr int kDrawnCells = 3;
constexpr int kCheckpointEvery = 10;
constexpr int kAllLevels = 100;
// The final table stands this long before it is closed.
constexpr int kFinalLookUpdates = 300;

int Usage() {
  std::fputs("usage: demogen <levels folder> <demo file> base|matrix|full|final [levels]\n", stderr);
  return 2;
}

void Base(DemoScript& script, const std::vector<LevelSolution>& levels) {
  StartNewGame(script);
  SolveLevel(script, levels[0]);
  DrawSome(script, levels[1], kDrawnCells);
}

void Matrix(DemoScript& script, const std::vector<LevelSolution>& levels) {
  ReplayChosenLevel(script);
  DrawSome(script, levels[0], kDrawnCells);
  LookAtHighScores(script);
}

void Final(DemoScript& script) {
  ContinueToGameEnd(script);
  CloseFinalScores(script);
}

void Full(DemoScript& script, const std::vector<LevelSolution>& levels, int count) {
  StartNewGame(script);
  for (int level = 0; level < count; ++level) {
    SolveLevel(script, levels[static_cast<std::size_t>(level)]);
    if ((level + 1) % kCheckpointEvery == 0 && level + 1 < kAllLevels) {
      SaveAndContinue(script);
      script.Mark("level " + std::to_string(level + 1) + " saved");
    }
  }
  if (count == kAllLevels) {
    script.Mark("final scores");
    script.Wait(kFinalLookUpdates);
    CloseFinalScores(script);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) return Usage();
  const std::string scene = argv[3];
  int count = kAllLevels;
  if (argc == 5) count = std::atoi(argv[4]);
  if (count < 1 || count > kAllLevels || (argc == 5 && scene != "full")) return Usage();

  std::string error;
  const auto levels = ReadLevelSolutions(argv[1], error);
  if (!levels) {
    std::fprintf(stderr, "demogen: %s\n", error.c_str());
    return 1;
  }
  DemoScript script;
  LeaveSplash(script);
  if (scene == "base") {
    Base(script, *levels);
  } else if (scene == "matrix") {
    Matrix(script, *levels);
  } else if (scene == "final") {
    Final(script);
  } else if (scene == "full") {
    Full(script, *levels, count);
  } else {
    return Usage();
  }
  if (!Zing::WriteBufferToFile(argv[2], script.Finish(Lintwick::kProductVersion, kTailUpdates))) {
    std::fprintf(stderr, "demogen: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s: %d updates\n", argv[2], script.GetUpdate() + kTailUpdates);
  for (const Zing::DemoMarker& marker : script.GetMarkers())
    std::printf("marker %d %s\n", marker.update, marker.name.c_str());
  return 0;
}
