// Feeds arbitrary bytes to the demo-file reader and its event reader. A file
// that is accepted is read to its end or to the damage; the events it gives
// are written again and must read back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/app/DemoEvents.h"
#include "framework/app/DemoFile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Same(const Zing::DemoEvent& a, const Zing::DemoEvent& b) {
  return a.kind == b.kind && a.update == b.update && a.x == b.x && a.y == b.y && a.value == b.value &&
         a.flag == b.flag && a.setting.type == b.setting.type && a.setting.text == b.setting.text &&
         a.setting.number == b.setting.number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zing::Buffer file;
  file.SetData(data, size);
  Zing::DemoFileContents contents;
  if (!Zing::ParseDemoFile(file, "1.0.3", contents).empty()) return 0;
  Check(contents.events.GetDataLen() > 0 && contents.demoLength >= 0);

  Zing::DemoEventReader reader(contents.events);
  std::vector<Zing::DemoEvent> events;
  Zing::DemoEvent event;
  while (reader.Next(event) && events.size() < 100000) {
    Check(events.empty() || event.update >= events.back().update);
    events.push_back(event);
  }
  if (reader.GetStatus() == Zing::DemoEventReader::Status::Damaged) Check(!reader.GetProblem().empty());

  // Whatever was read is written again in our own form and reads back alike.
  Zing::DemoEventWriter writer;
  for (const Zing::DemoEvent& e : events) writer.Write(e);
  Zing::DemoEventReader again(writer.GetBuffer());
  for (const Zing::DemoEvent& e : events) Check(again.Next(event) && Same(event, e));
  Check(!again.Next(event) && again.GetStatus() == Zing::DemoEventReader::Status::End);
  return 0;
}
