#include "tests/artgen/DataFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/graphics/ImageLib.h"
#include "framework/resource/ResourceManager.h"

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

std::string DataDir() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return dir && *dir ? dir : LINTWICK_TEST_DATA_DIR;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string OnDisk(const std::string& manifestPath) {
  std::string p = manifestPath;
  std::replace(p.begin(), p.end(), '\\', '/');
  return DataDir() + "/" + p;
}

std::optional<std::string> ImageFile(const std::string& manifestPath) {
  for (const char* ext : {".tga", ".jpg", ".png", ".gif"}) {
    if (std::filesystem::is_regular_file(OnDisk(manifestPath) + ext)) return OnDisk(manifestPath) + ext;
  }
  return std::nullopt;
}

std::vector<Declaration> ReadManifest(std::string* error) {
  RecordingManager manager;
  const bool ok = manager.ParseResourcesFile(DataDir() + "/properties/resources.xml");
  if (error) *error = ok ? "" : manager.GetErrorText();
  return std::move(manager.declarations);
}

std::optional<Picture> ReadPicture(const std::string& file) {
  Zing::ImageLib::ImagePtr image = Zing::ImageLib::GetImage(file);
  if (!image) return std::nullopt;
  const std::uint32_t* bits = image->GetBits();
  return Picture{
      image->GetWidth(), image->GetHeight(),
      std::vector<std::uint32_t>(bits, bits + std::size_t(image->GetWidth()) * std::size_t(image->GetHeight()))};
}

}  // namespace ArtTest
