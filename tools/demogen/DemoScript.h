#pragma once

// A demo written by hand rather than recorded: input events placed at chosen
// updates, in the picture's coordinates, for the program to play back with
// "-play". The script cannot see the program, so every wait is long enough
// for the slowest thing it waits on; a playback repeats exactly, so a script
// that works once works every time on the same data.

#include <string>
#include <vector>

#include "framework/app/Buffer.h"
#include "framework/app/DemoEvents.h"
#include "framework/app/DemoFile.h"

namespace Lintwick::DemoGen {

class DemoScript {
 public:
  // Loading has finished at `update`: playback holds the updates until the
  // program's own loading is as far.
  void LoadingCompletedAt(int update);
  void Wait(int updates) { update += updates; }
  void MoveTo(int x, int y);
  // Moves there, then presses and releases the left button.
  void Click(int x, int y);
  void Close();
  // A named place of the demo, listed by the playback key "L"; a playback can
  // jump to its time with "J".
  void Mark(const std::string& name) { markers.push_back({name, update}); }
  const std::vector<Zing::DemoMarker>& GetMarkers() const { return markers; }
  int GetUpdate() const { return update; }

  // The whole file, for the product version `versionText`, ending `tailUpdates`
  // after the last event.
  Zing::Buffer Finish(const std::string& versionText, int tailUpdates) const;

 private:
  void Add(Zing::DemoEvent event);

  Zing::DemoEventWriter writer;
  std::vector<Zing::DemoMarker> markers;
  int update = 0;
};

}  // namespace Lintwick::DemoGen
