// The resource identifiers of the game's groups, and the generated manifest that declares them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "framework/graphics/MemoryImage.h"
#include "framework/resource/ResourceManager.h"
#include "game/puzzle/PuzzleHost.h"
#include "game/shell/ResourceGroups.h"
#include "game/shell/Resources.h"

namespace {

// A manager that has every resource but the missing one, and logs each lookup.
class FakeManager : public Zing::ResourceManager {
 public:
  explicit FakeManager(std::string absent) : ResourceManager(nullptr), missing(std::move(absent)) {}

  Zing::MemoryImage* GetImageThrow(const std::string& id) override { return Ask(id), &image; }
  int GetSoundThrow(const std::string& id) override { return Ask(id), 42; }
  Zing::Font* GetFontThrow(const std::string& id) override { return Ask(id), nullptr; }

  std::vector<std::string> asked;
  Zing::MemoryImage image;
  std::string missing;

 private:
  void Ask(const std::string& id) {
    asked.push_back(id);
    if (id == missing) throw Zing::ResourceManagerException("Image resource not found: " + id);
  }
};

std::vector<std::string> Names(std::span<const Lintwick::ResourceEntry> group) {
  std::vector<std::string> names;
  for (const auto& entry : group) names.emplace_back(entry.name);
  return names;
}

// Puts every identifier back to its unset state.
void ResetIdentifiers() {
  for (auto group : {Lintwick::InitGroup(), Lintwick::SplashGroup(), Lintwick::GameGroup()}) {
    for (const auto& entry : group) {
      if (entry.image) *entry.image = nullptr;
      if (entry.font) *entry.font = nullptr;
      if (entry.sound) *entry.sound = 0;
    }
  }
}

TEST(ResourceIdentifiers, ExtractionStopsAtTheFirstMissingResourceAndColoursHaveTheirOwnPictures) {
  using namespace Lintwick;
  for (auto group : {InitGroup(), SplashGroup(), GameGroup()})  // before any extraction: sounds 0, pictures null
    for (const auto& entry : group) EXPECT_TRUE(!entry.sound || *entry.sound == 0) << entry.name;
  FakeManager full("");
  EXPECT_TRUE(ExtractInitResources(&full) && !ExtractSplashResources(nullptr));
  EXPECT_EQ(std::tuple(full.asked, IMAGE_DIALOG_BOX, SOUND_GUI_CLICK), std::tuple(Names(InitGroup()), &full.image, 42));

  FakeManager lacking("IMAGE_TARGET");
  EXPECT_FALSE(ExtractGameResources(&lacking));
  const std::vector<std::string> all = Names(GameGroup());
  EXPECT_EQ(lacking.asked,
            std::vector<std::string>(all.begin(), all.begin() + static_cast<long>(lacking.asked.size())));
  EXPECT_EQ(std::tuple(lacking.asked.back(), IMAGE_STAR_SMALL, IMAGE_TARGET, SoundId(Sound::CubeBump)),
            std::tuple("IMAGE_TARGET", &lacking.image, nullptr, 0));
  ResetIdentifiers();

  // Each link colour has its own pictures, and no other colour has any.
  EXPECT_EQ(std::tuple(&LinkImage(6), &RollingCubeImage(0), LinkImage(-1), VortexImage(7)),
            std::tuple(&IMAGE_LINK6, &IMAGE_ROLLING_CUBE0, nullptr, nullptr));
}

TEST(ResourceIdentifiers, TheManifestDeclaresEveryIdentifierOfEachGroup) {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  if (!dir || chdir(dir) != 0) GTEST_SKIP() << "no data folder";
  Zing::ResourceManager manager(nullptr);
  ASSERT_TRUE(manager.ParseResourcesFile("properties\\resources.xml")) << manager.GetErrorText();
  const std::pair<const char*, std::span<const Lintwick::ResourceEntry>> groups[] = {
      {"Init", Lintwick::InitGroup()}, {"Splash", Lintwick::SplashGroup()}, {"Game", Lintwick::GameGroup()}};
  for (const auto& [name, entries] : groups) {
    EXPECT_EQ(manager.GetNumResources(name), static_cast<int>(entries.size())) << name;
    for (const auto& entry : entries)
      EXPECT_TRUE(!entry.image || manager.GetImageRes(entry.name) != nullptr) << entry.name;
  }
}

}  // namespace
