// Places the events of a hand-made demo. Pointer positions are always written
// as absolute moves, so no event depends on where the previous one left the
// pointer.

#include "tools/demogen/DemoScript.h"

namespace Lintwick::DemoGen {

namespace {

// A press and its release stand apart by a few updates, as a hand's would.
constexpr int kPressUpdates = 2;
constexpr int kLeftClick = 1;
// A fixed seed: the random draws of every playback are the same.
constexpr std::uint32_t kSeed = 0x1D3A5;

}  // namespace

void DemoScript::Add(Zing::DemoEvent event) {
  event.update = update;
  writer.Write(event);
}

void DemoScript::LoadingCompletedAt(int at) {
  update = at;
  Add(Zing::MakeDemoEvent(Zing::DemoEventKind::LoadingCompleted));
}

void DemoScript::MoveTo(int x, int y) {
  Zing::DemoEvent event = Zing::MakeDemoEvent(Zing::DemoEventKind::PointerTo);
  event.x = x;
  event.y = y;
  Add(event);
}

void DemoScript::Click(int x, int y) {
  MoveTo(x, y);
  Wait(kPressUpdates);
  Add(Zing::MakeDemoEvent(Zing::DemoEventKind::Button, true, kLeftClick));
  Wait(kPressUpdates);
  Add(Zing::MakeDemoEvent(Zing::DemoEventKind::Button, false, kLeftClick));
}

void DemoScript::Close() { Add(Zing::MakeDemoEvent(Zing::DemoEventKind::Close)); }

Zing::Buffer DemoScript::Finish(const std::string& versionText, int tailUpdates) const {
  Zing::DemoFileContents contents;
  contents.seed = kSeed;
  contents.versionText = versionText;
  contents.demoLength = update + tailUpdates;
  contents.markers = markers;
  contents.events = writer.GetBuffer();
  return Zing::FormatDemoFile(contents);
}

}  // namespace Lintwick::DemoGen
