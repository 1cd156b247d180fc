#include "tests/artgen/ManifestReader.h"

#include <algorithm>

#include "framework/resource/ResourceManager.h"
#include "tests/artgen/DataFiles.h"

namespace ArtTest {
namespace {

// Notes every declaration the manager reads, as it reads it.
class RecordingManager : public Zing::ResourceManager {
 public:
  RecordingManager() : ResourceManager(nullptr) {}
  std::vector<Declaration> declarations;

 protected:
  bool ParseCommonResource(const Zing::XMLElement& element, Zing::BaseRes* res) override {
    if (!ResourceManager::ParseCommonResource(element, res)) return false;
    static const char* const kKinds[] = {"Image", "Sound", "Font"};
    std::string path = res->path;
    std::replace(path.begin(), path.end(), '\\', '/');
    declarations.push_back({kKinds[res->type], res->resGroup, res->id, path, res->xmlAttributes});
    return true;
  }
};

}  // namespace

Manifest ReadManifest() {
  RecordingManager manager;
  Manifest manifest;
  if (!manager.ParseResourcesFile(DataDir() + "/properties/resources.xml")) manifest.error = manager.GetErrorText();
  manifest.declarations = std::move(manager.declarations);
  return manifest;
}

}  // namespace ArtTest
