// The game's screens for a demo script. The places are the centres of the
// controls in the game's picture; the waits are the longest the game takes
// to be ready for the next input (an animation, a transition, the cube that
// runs to the end of a finished link), with a margin.

#include "tools/demogen/Scenes.h"

namespace Lintwick::DemoGen {

namespace {

struct Place {
  int x;
  int y;
};

// Loading completes at this update; the splash shows its start link a moment later.
constexpr int kLoadedUpdate = 1;
constexpr int kSplashUpdates = 150;
constexpr Place kStartLink{320, 392};
constexpr Place kStartNew{405, 172};
constexpr Place kStartContinue{405, 243};
constexpr Place kStartReplay{405, 314};
constexpr Place kHelpClose{320, 431};
constexpr Place kMenuNewGame{85, 142};
constexpr Place kMenuOptions{85, 190};
constexpr Place kConfirmYes{262, 302};
constexpr Place kChooserOk{254, 398};
constexpr Place kOptionsHighScores{388, 284};
constexpr Place kOptionsClose{320, 401};
constexpr Place kScoresClose{320, 376};
// Updates a screen change or a dialog takes before it takes clicks.
constexpr int kScreenUpdates = 80;

// The board in the picture: the play field starts at x 170.
constexpr int kFieldLeft = 170;
constexpr int kCellCentre0X = 27;
constexpr int kCellCentre0Y = 37;
constexpr int kCellPixels = 45;
// The game runs its logic every fifth update and takes one step per tick: a
// step waits past one tick, with a margin.
constexpr int kUpdatesPerTick = 5;
constexpr int kStepUpdates = 7;
// A finished link's cube runs on one piece per tick, then settles.
constexpr int kCubeSettleTicks = 8;
// The shutter transition between levels lasts 101 ticks.
constexpr int kTransitionTicks = 101;
constexpr int kTransitionMarginUpdates = 60;
// The transition that ends the game opens the high-score table at this tick.
constexpr int kGameDoneTicks = 82;

Place CellCentre(int code) {
  return {kFieldLeft + kCellCentre0X + kCellPixels * (code >> 4), kCellCentre0Y + kCellPixels * (code & 15)};
}

void ClickAndWait(DemoScript& script, Place place) {
  script.Click(place.x, place.y);
  script.Wait(kScreenUpdates);
}

void StepInto(DemoScript& script, int code) {
  const Place centre = CellCentre(code);
  script.MoveTo(centre.x, centre.y);
  script.Wait(kStepUpdates);
}

// Clicks the start node; the drawing begins at the next tick.
void TakeStartNode(DemoScript& script, const SolutionLink& link) {
  const Place start = CellCentre(link.start);
  script.Click(start.x, start.y);
  script.Wait(kStepUpdates);
}

void DrawLink(DemoScript& script, const SolutionLink& link) {
  TakeStartNode(script, link);
  for (int code : link.path) StepInto(script, code);
  StepInto(script, link.target);
  script.Wait(kUpdatesPerTick * (static_cast<int>(link.path.size()) + kCubeSettleTicks));
}

}  // namespace

void LeaveSplash(DemoScript& script) {
  script.LoadingCompletedAt(kLoadedUpdate);
  script.Wait(kSplashUpdates);
  ClickAndWait(script, kStartLink);
}

void StartNewGame(DemoScript& script) {
  ClickAndWait(script, kStartNew);
  ClickAndWait(script, kHelpClose);
}

void ContinueToGameEnd(DemoScript& script) {
  ClickAndWait(script, kStartContinue);
  script.Wait(kUpdatesPerTick * kGameDoneTicks + kTransitionMarginUpdates);
}

void ReplayChosenLevel(DemoScript& script) {
  ClickAndWait(script, kStartReplay);
  ClickAndWait(script, kChooserOk);
}

void SolveLevel(DemoScript& script, const LevelSolution& level) {
  for (const SolutionLink& link : level) DrawLink(script, link);
  script.Wait(kUpdatesPerTick * kTransitionTicks + kTransitionMarginUpdates);
}

void DrawSome(DemoScript& script, const LevelSolution& level, int cells) {
  if (level.empty()) return;
  const SolutionLink& link = level.front();
  TakeStartNode(script, link);
  for (int i = 0; i < cells && i < static_cast<int>(link.path.size()); ++i) StepInto(script, link.path[i]);
  script.MoveTo(kFieldLeft / 2, kCellCentre0Y);  // off the board: the drawing ends
  script.Wait(kScreenUpdates);
}

void SaveAndContinue(DemoScript& script) {
  ClickAndWait(script, kMenuNewGame);
  ClickAndWait(script, kConfirmYes);
  ClickAndWait(script, kStartContinue);
}

void LookAtHighScores(DemoScript& script) {
  ClickAndWait(script, kMenuOptions);
  ClickAndWait(script, kOptionsHighScores);
  ClickAndWait(script, kScoresClose);
  ClickAndWait(script, kOptionsClose);
}

void CloseFinalScores(DemoScript& script) { ClickAndWait(script, kScoresClose); }

}  // namespace Lintwick::DemoGen
