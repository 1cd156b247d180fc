// Every font of the generated manifest loads with its group through the
// resource manager and draws; "!ref:" duplicates and "!sys:" system fonts
// load too, and a font that cannot be made fails its group with the
// manager's error.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "framework/audio/SilentSoundManager.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/ImageLib.h"
#include "framework/graphics/SysFont.h"
#include "framework/resource/ManifestFonts.h"
#include "framework/resource/ResourceHost.h"
#include "framework/resource/ResourceManager.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Zing;

class ImageHost : public ResourceHost {
 public:
  ImageHost()
      : cache([](const std::string& name) -> std::unique_ptr<MemoryImage> {
          ImageLib::ImagePtr picture = ImageLib::GetImage(name, true);
          if (!picture) return nullptr;
          auto image = std::make_unique<MemoryImage>();
          image->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight());
          return image;
        }) {}
  SharedImageRef GetSharedImage(const std::string& name, const std::string& variant, bool* isNew) override {
    return cache.Get(name, variant, isNew);
  }
  SoundManager* GetSoundManager() override { return &sounds; }

  SharedImageCache cache;
  SilentSoundManager sounds;
};

// Runs in the data folder, where the manifest's relative paths lead.
class ManifestFontsTest : public ::testing::Test {
 protected:
  ManifestFontsTest() : fonts(&host, [this](const std::string& text) { popups.push_back(text); }), manager(&host) {
    const char* data = std::getenv("LINTWICK_DATA_DIR");
    char cwd[4096];
    oldDir = getcwd(cwd, sizeof cwd) ? cwd : ".";
    EXPECT_EQ(0, chdir(data ? data : "build/data"));
    manager.SetFontFactory(&fonts);
  }
  ~ManifestFontsTest() override { EXPECT_EQ(0, chdir(oldDir.c_str())); }

  // Draws "Größe" and counts the pixels it changed.
  static int Ink(Font* font) {
    MemoryImage image;
    image.Create(120, 40);
    Graphics g(&image);
    font->DrawString(&g, 4, 28, "Gr\xF6\xDF" "e", Color::White, g.GetClipRect());
    int ink = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 120; ++x) ink += (image.GetPixel(x, y) >> 24) != 0;
    return ink;
  }

  ImageHost host;
  std::vector<std::string> popups;
  ManifestFonts fonts;
  ResourceManager manager;
  std::string oldDir;
};

TEST_F(ManifestFontsTest, EveryManifestFontLoadsWithItsGroupAndDraws) {
  ASSERT_TRUE(manager.ParseResourcesFile("properties\\resources.xml")) << manager.GetErrorText();
  std::ifstream in("properties/resources.xml");
  std::stringstream text;
  text << in.rdbuf();
  const std::string manifest = text.str();
  const std::regex group("<Resources id=\"([^\"]+)\""), font("<Font id=\"([^\"]+)\"");
  for (std::sregex_iterator it(manifest.begin(), manifest.end(), group), end; it != end; ++it)
    ASSERT_TRUE(manager.LoadResources((*it)[1])) << manager.GetErrorText();
  int count = 0;
  for (std::sregex_iterator it(manifest.begin(), manifest.end(), font), end; it != end; ++it, ++count) {
    Font* loaded = manager.GetFontThrow("FONT_" + std::string((*it)[1]));
    ASSERT_NE(nullptr, loaded);
    EXPECT_GT(loaded->GetHeight(), 0);
    EXPECT_GT(Ink(loaded), 20) << (*it)[1];
  }
  EXPECT_GE(count, 2);
  EXPECT_TRUE(popups.empty());
}

TEST_F(ManifestFontsTest, ReferencesSystemFontsAndFailures) {
  ZingTest::TempFolder folder;
  folder.Write("broken.txt", "CreateLayer Main; LayerSetImage Main 'nothing.png';");
  folder.Write("extra.xml",
               "<ResourceManifest><Resources id=\"Extra\">"
               "<SetDefaults path=\"fonts\" idprefix=\"FONT_\"/>"
               "<Font id=\"BODY\" path=\"default.txt\" tags=\"bold, glow\"/>"
               "<Font id=\"COPY\" path=\"!ref:FONT_BODY\"/>"
               "<Font id=\"SYSTEM\" path=\"!sys:Arial Unicode MS\" size=\"12\" shadow=\"\" bold=\"\"/>"
               "</Resources><Resources id=\"Broken\">"
               "<SetDefaults path=\"" + folder.Path() + "\" idprefix=\"FONT_\"/>"
               "<Font id=\"BROKEN\" path=\"broken.txt\"/>"
               "</Resources></ResourceManifest>");
  ASSERT_TRUE(manager.ParseResourcesFile(folder.File("extra.xml"))) << manager.GetErrorText();
  ASSERT_TRUE(manager.LoadResources("Extra")) << manager.GetErrorText();
  auto* body = dynamic_cast<ImageFont*>(manager.GetFontThrow("FONT_BODY"));
  ASSERT_NE(nullptr, body);
  EXPECT_TRUE(body->HasTag("GLOW"));
  auto* copy = dynamic_cast<ImageFont*>(manager.GetFontThrow("FONT_COPY"));
  ASSERT_NE(nullptr, copy);
  EXPECT_EQ(body->GetFontData(), copy->GetFontData());
  auto* system = dynamic_cast<SysFont*>(manager.GetFontThrow("FONT_SYSTEM"));
  ASSERT_NE(nullptr, system);
  EXPECT_TRUE(system->drawShadow);
  EXPECT_GT(Ink(system), 20);
  // The descriptor names a missing image: the player sees the descriptor's
  // error, the group fails with the manager's.
  EXPECT_FALSE(manager.LoadResources("Broken"));
  EXPECT_EQ(0u, manager.GetErrorText().find("Failed to load font: " + folder.File("broken.txt")));
  ASSERT_EQ(1u, popups.size());
  EXPECT_NE(std::string::npos, popups[0].find("Failed to Load Image")) << popups[0];
}

}  // namespace
