// The game's own generated manifest loads whole, once from main.pak alone and
// once from the loose files alone, and both give the same pictures with the
// manifest's cel grids and the alpha of their mask images.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>

#include "framework/resource/PakInterface.h"
#include "framework/resource/ResourceManager.h"
#include "tests/images/ResourceTestSupport.h"
#include "tests/resource/PakTestArchive.h"
#include "tests/support/TempFolder.h"

namespace {

std::string DataDir() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return dir && *dir ? dir : LINTWICK_TEST_DATA_DIR;
}

struct Loaded {
  int width = 0;
  int height = 0;
  int rows = 0;
  int cols = 0;
  std::uint64_t checksum = 0;
  int translucent = 0;  // pixels whose alpha is not 255

  bool operator==(const Loaded&) const = default;
};

// Every image the manifest declares, by id, as loaded with all groups.
std::map<std::string, Loaded> LoadAll(ResourceTest::TestApp& app) {
  Zing::ResourceManager& manager = *app.resourceManager;
  EXPECT_TRUE(manager.ParseResourcesFile("properties\\resources.xml")) << manager.GetErrorText();
  for (const char* group : {"Init", "Splash", "Game"})
    EXPECT_TRUE(manager.LoadResources(group)) << group << ": " << manager.GetErrorText();
  std::map<std::string, Loaded> result;
  std::ifstream in(DataDir() + "/properties/resources.xml");
  const std::string manifest{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::regex image("<Image id=\"([A-Z0-9_]+)\"");
  for (std::sregex_iterator it(manifest.begin(), manifest.end(), image), end; it != end; ++it) {
    const std::string id = "IMAGE_" + (*it)[1].str();
    Zing::MemoryImage* picture = manager.GetImageThrow(id);
    Loaded& loaded = result[id];
    loaded = {picture->GetWidth(), picture->GetHeight(), picture->numRows, picture->numCols, 0, 0};
    EXPECT_EQ(loaded.rows, manager.GetImageRes(id)->rows) << id;
    EXPECT_EQ(loaded.cols, manager.GetImageRes(id)->cols) << id;
    for (int y = 0; y < picture->GetHeight(); ++y)
      for (int x = 0; x < picture->GetWidth(); ++x) {
        const std::uint32_t pixel = picture->GetPixel(x, y);
        loaded.checksum = loaded.checksum * 1099511628211ull + pixel;
        loaded.translucent += (pixel >> 24) != 0xFF;
      }
  }
  EXPECT_GE(manager.GetSoundThrow("SOUND_GUI_CLICK"), 0);
  EXPECT_NE(manager.GetFontThrow("FONT_DEFAULT"), nullptr);
  return result;
}

TEST(GameManifest, LoadsWholeFromThePakAndFromLooseFiles) {
  std::map<std::string, Loaded> fromPak, fromDisk;
  {
    ZingTest::TempFolder empty;
    ResourceTest::TestApp app;
    ASSERT_TRUE(static_cast<Zing::PakInterface*>(Zing::GetPakInterface())->AddPakFile(DataDir() + "/main.pak"));
    ZingTest::InFolder here(empty.Path());
    fromPak = LoadAll(app);
    EXPECT_EQ(app.fonts.requests, (std::vector<std::string>{"fonts/default.txt", "fonts/small.txt"}));
  }
  {
    ResourceTest::TestApp app;  // no archive added
    ZingTest::InFolder here(DataDir());
    fromDisk = LoadAll(app);
  }
  ASSERT_GT(fromPak.size(), 80u);
  EXPECT_TRUE(fromPak == fromDisk);
  for (const auto& [id, image] : fromPak) {
    EXPECT_EQ(image, fromDisk[id]) << id;
    EXPECT_GT(image.width, 0) << id;
    EXPECT_EQ(image.width % image.cols, 0) << id;
    EXPECT_EQ(image.height % image.rows, 0) << id;
  }
  // Alpha from an explicit alpha image, and from a "_name" mask beside a JPEG.
  EXPECT_GT(fromPak["IMAGE_SPLASH_TEXT"].translucent, 0);
  EXPECT_GT(fromPak["IMAGE_MENU_TITLE_EN"].translucent, 0);
  EXPECT_EQ(fromPak["IMAGE_SPLASH_BKG"].translucent, 0);
}

}  // namespace
