// The manifest's fonts made by the application's font factory: image fonts
// with their tags, "!ref:" duplicates sharing their data, "!sys:" system
// fonts that draw, and a descriptor that fails its group with the manager's
// error while the player sees the descriptor's.

#include "framework/resource/ManifestFonts.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/app/ZingAppBase.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/SysFont.h"
#include "framework/platform/NullPlatform.h"
#include "framework/resource/ResourceManager.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Zing;

// Draws "Größe" and counts the pixels it changed.
int Ink(Font* font) {
  MemoryImage image;
  image.Create(120, 40);
  Graphics g(&image);
  font->DrawString(&g, 4, 28,
                   "Gr\xF6\xDF"
                   "e",
                   Color::White, g.GetClipRect());
  int ink = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) ink += (image.GetPixel(x, y) >> 24) != 0;
  return ink;
}

TEST(ManifestFonts, ReferencesSystemFontsAndFailures) {
  const char* data = std::getenv("LINTWICK_DATA_DIR");
  ZingTest::TempFolder folder;
  folder.Write("broken.txt", "CreateLayer Main; LayerSetImage Main 'nothing.png';");
  folder.Write("extra.xml", "<ResourceManifest><Resources id=\"Extra\"><SetDefaults path=\"" +
                                std::string(data ? data : "build/data") +
                                "/fonts\" idprefix=\"FONT_\"/>"
                                "<Font id=\"BODY\" path=\"default.txt\" tags=\"bold, glow\"/>"
                                "<Font id=\"COPY\" path=\"!ref:FONT_BODY\"/>"
                                "<Font id=\"SYSTEM\" path=\"!sys:Arial Unicode MS\" size=\"12\" shadow=\"\" bold=\"\"/>"
                                "</Resources><Resources id=\"Broken\"><SetDefaults path=\"" +
                                folder.Path() +
                                "\" idprefix=\"FONT_\"/><Font id=\"BROKEN\" path=\"broken.txt\"/>"
                                "</Resources></ResourceManifest>");
  auto* services = new Platform::NullServices;
  ZingAppBase app{std::unique_ptr<Platform::NullServices>(services)};
  ResourceManager& manager = *app.resourceManager;
  ASSERT_TRUE(manager.ParseResourcesFile(folder.File("extra.xml"))) << manager.GetErrorText();
  ASSERT_TRUE(manager.LoadResources("Extra")) << manager.GetErrorText();
  auto* body = dynamic_cast<ImageFont*>(manager.GetFontThrow("FONT_BODY"));
  ASSERT_NE(nullptr, body);
  EXPECT_TRUE(body->HasTag("GLOW"));
  EXPECT_GT(Ink(body), 20);
  auto* copy = dynamic_cast<ImageFont*>(manager.GetFontThrow("FONT_COPY"));
  ASSERT_NE(nullptr, copy);
  EXPECT_EQ(body->GetFontData(), copy->GetFontData());
  auto* system = dynamic_cast<SysFont*>(manager.GetFontThrow("FONT_SYSTEM"));
  ASSERT_NE(nullptr, system);
  EXPECT_TRUE(system->drawShadow);
  EXPECT_GT(Ink(system), 20);
  EXPECT_TRUE(services->messageBoxes.empty());

  EXPECT_FALSE(manager.LoadResources("Broken"));
  EXPECT_EQ(0u, manager.GetErrorText().find("Failed to load font: " + folder.File("broken.txt")));
  ASSERT_EQ(1u, services->messageBoxes.size());
  EXPECT_NE(std::string::npos, services->messageBoxes[0].find("Failed to Load Image")) << services->messageBoxes[0];
}

}  // namespace
