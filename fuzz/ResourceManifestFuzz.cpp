// Feeds arbitrary manifests to the resource manager's reader: it ends with a
// recorded error or cleanly, and every group it declares can be asked to load
// (without pictures or sounds behind it, loading a record fails cleanly).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/resource/ResourceManager.h"
#include "fuzz/FuzzInputFile.h"

namespace {

const ZingFuzz::InputFile& Input() {
  static const ZingFuzz::InputFile file(".xml");
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zing::ResourceManager manager(nullptr);
  const bool parsed = manager.ParseResourcesFile(Input().Write(data, size));
  if (parsed == manager.HadError()) std::abort();
  if (!parsed && manager.GetErrorText().empty()) std::abort();
  for (const char* group : {"Init", "Splash", "Game", "G"}) {
    const bool loaded = manager.LoadResources(group);
    if (!loaded && manager.GetErrorText().empty()) std::abort();
    manager.DeleteResources(group);
  }
  if (manager.GetNumResources("") < 0) std::abort();
  return 0;
}
