// The game's own generated manifest loads whole, once from main.pak alone and
// once from the loose files alone, and both give the same pictures with the
// manifest's cel grids and the alpha of their mask images.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "framework/resource/PakInterface.h"
#include "framework/resource/ResourceManager.h"
#include "tests/images/ResourceTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string DataDir() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return dir && *dir ? dir : LINTWICK_TEST_DATA_DIR;
}

struct Declared {
  int rows = 1;
  int cols = 1;
};

// The images the manifest declares, by id, with their grids.
std::map<std::string, Declared> DeclaredImages() {
  std::ifstream in(DataDir() + "/properties/resources.xml");
  std::stringstream text;
  text << in.rdbuf();
  const std::string manifest = text.str();
  std::map<std::string, Declared> images;
  const std::regex image("<Image id=\"([A-Z0-9_]+)\"[^>]*>");
  for (std::sregex_iterator it(manifest.begin(), manifest.end(), image), end; it != end; ++it) {
    const std::string element = (*it)[0];
    Declared declared;
    std::smatch grid;
    if (std::regex_search(element, grid, std::regex("rows=\"(\\d+)\""))) declared.rows = std::stoi(grid[1]);
    if (std::regex_search(element, grid, std::regex("cols=\"(\\d+)\""))) declared.cols = std::stoi(grid[1]);
    images["IMAGE_" + (*it)[1].str()] = declared;
  }
  return images;
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

class WorkingFolder {
 public:
  explicit WorkingFolder(const std::string& folder) : previous(fs::current_path()) { fs::current_path(folder); }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;
  ~WorkingFolder() { fs::current_path(previous); }

 private:
  fs::path previous;
};

std::map<std::string, Loaded> LoadAll(ResourceTest::TestApp& app) {
  Zing::ResourceManager& manager = *app.resourceManager;
  EXPECT_TRUE(manager.ParseResourcesFile("properties\\resources.xml")) << manager.GetErrorText();
  for (const char* group : {"Init", "Splash", "Game"})
    EXPECT_TRUE(manager.LoadResources(group)) << group << ": " << manager.GetErrorText();
  std::map<std::string, Loaded> result;
  for (const auto& [id, declared] : DeclaredImages()) {
    Zing::MemoryImage* image = manager.GetImageThrow(id);
    Loaded& loaded = result[id];
    loaded = {image->GetWidth(), image->GetHeight(), image->numRows, image->numCols, 0, 0};
    for (int y = 0; y < image->GetHeight(); ++y)
      for (int x = 0; x < image->GetWidth(); ++x) {
        const std::uint32_t pixel = image->GetPixel(x, y);
        loaded.checksum = loaded.checksum * 1099511628211ull + pixel;
        loaded.translucent += (pixel >> 24) != 0xFF;
      }
  }
  EXPECT_GE(manager.GetSoundThrow("SOUND_GUI_CLICK"), 0);
  EXPECT_NE(manager.GetFontThrow("FONT_DEFAULT"), nullptr);
  return result;
}

TEST(GameManifest, LoadsWholeFromThePakAndFromLooseFiles) {
  ASSERT_TRUE(fs::exists(DataDir() + "/main.pak"));
  std::map<std::string, Loaded> fromPak;
  {
    ZingTest::TempFolder empty;
    ResourceTest::TestApp app;
    ASSERT_TRUE(static_cast<Zing::PakInterface*>(Zing::GetPakInterface())->AddPakFile(DataDir() + "/main.pak"));
    WorkingFolder here(empty.Path());
    fromPak = LoadAll(app);
    EXPECT_EQ(app.fonts.requests, (std::vector<std::string>{"fonts/default.txt", "fonts/small.txt"}));
  }
  std::map<std::string, Loaded> fromDisk;
  {
    ResourceTest::TestApp app;  // no archive added
    WorkingFolder here(DataDir());
    fromDisk = LoadAll(app);
  }
  const std::map<std::string, Declared> declared = DeclaredImages();
  ASSERT_GT(declared.size(), 80u);
  ASSERT_EQ(fromPak.size(), declared.size());
  for (const auto& [id, grid] : declared) {
    const Loaded& image = fromPak[id];
    EXPECT_EQ(image, fromDisk[id]) << id;
    EXPECT_GT(image.width, 0) << id;
    EXPECT_EQ(image.rows, grid.rows) << id;
    EXPECT_EQ(image.cols, grid.cols) << id;
    EXPECT_EQ(image.width % grid.cols, 0) << id;
    EXPECT_EQ(image.height % grid.rows, 0) << id;
  }
  // Alpha from an explicit alpha image, and from a "_name" mask beside a JPEG.
  EXPECT_GT(fromPak["IMAGE_SPLASH_TEXT"].translucent, 0);
  EXPECT_GT(fromPak["IMAGE_MENU_TITLE_EN"].translucent, 0);
  EXPECT_EQ(fromPak["IMAGE_SPLASH_BKG"].translucent, 0);
}

TEST(GameManifest, FontsWithoutAFactoryFailTheGroup) {
  ResourceTest::TestApp app;
  app.resourceManager->SetFontFactory(nullptr);
  WorkingFolder here(DataDir());
  ASSERT_TRUE(app.resourceManager->ParseResourcesFile("properties\\resources.xml"));
  EXPECT_FALSE(app.resourceManager->LoadResources("Init"));
  EXPECT_EQ(app.resourceManager->GetErrorText(), "Failed to load font: fonts/default.txt");
  EXPECT_TRUE(app.resourceManager->LoadResources("Splash"));
}

}  // namespace
