// The resource manager on small manifests of its own: ids and defaults,
// groups, animations, alpha images and grids, sounds, fonts through the
// factory, step-wise loading, releasing, every documented failure, and the
// shared-image cache behind it.

#include <gtest/gtest.h>
#include <png.h>

#include <tuple>

#include "framework/graphics/ImageLib.h"
#include "framework/resource/ResourceManager.h"
#include "tests/images/ImageFiles.h"
#include "tests/images/ResourceTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using ImageTest::PngSpec;

struct ResourceFixture : ::testing::Test {
  ZingTest::TempFolder folder;
  ResourceTest::TestApp app;
  Zing::ResourceManager& manager = *app.resourceManager;
  std::unique_ptr<ResourceTest::TestApp> fresh;  // for the failures, one manager each

  void SetUp() override {
    folder.Write("images/.keep", "");
    PngSpec grey{4, 2, PNG_COLOR_TYPE_GRAY, 8, false, {0, 50, 100, 150, 200, 250, 255, 10}, {}, {}};
    ASSERT_TRUE(ImageTest::WritePng(folder.File("images/ball.png"), grey));
    PngSpec mask{4, 2, PNG_COLOR_TYPE_GRAY, 8, false, {1, 2, 3, 4, 5, 6, 7, 8}, {}, {}};
    ASSERT_TRUE(ImageTest::WritePng(folder.File("images/mask.png"), mask));
    PngSpec cel{2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0x11, 0x22}, {}, {}};
    ASSERT_TRUE(ImageTest::WritePng(folder.File("images/cel.png"), cel));
  }
  static std::string Block(const std::string& body) {
    return "<ResourceManifest>\n<Resources id=\"G\">\n" + body + "\n</Resources>\n</ResourceManifest>\n";
  }
  bool Parse(const std::string& body) {
    folder.Write("m.xml", Block("<SetDefaults path=\"" + folder.Path() + "/images/\" idprefix=\"IMAGE_\"/>\n" + body));
    return manager.ParseResourcesFile(folder.File("m.xml"));
  }
  // A fresh manager given `text`: its parse error, with the file name as F.
  std::string ParseError(const std::string& text) {
    fresh = std::make_unique<ResourceTest::TestApp>();
    folder.Write("m.xml", text);
    EXPECT_FALSE(fresh->resourceManager->ParseResourcesFile(folder.File("m.xml")));
    return Replaced(fresh->resourceManager->GetErrorText(), folder.File("m.xml"), "F");
  }
  // A fresh manager that reads `body` cleanly: the error of loading it, with the folder as D.
  std::string LoadError(const std::string& body) {
    fresh = std::make_unique<ResourceTest::TestApp>();
    folder.Write("m.xml", Block("<SetDefaults path=\"" + folder.Path() + "/images\" idprefix=\"I_\"/>\n" + body));
    EXPECT_TRUE(fresh->resourceManager->ParseResourcesFile(folder.File("m.xml")));
    EXPECT_FALSE(fresh->resourceManager->LoadResources("G"));
    return Replaced(fresh->resourceManager->GetErrorText(), folder.Path() + "/images", "D");
  }
  static std::string Replaced(std::string text, const std::string& what, const std::string& by) {
    for (std::size_t at; (at = text.find(what)) != std::string::npos;) text.replace(at, what.size(), by);
    return text;
  }
};

TEST_F(ResourceFixture, IdsGroupsAndStepWiseLoading) {
  ASSERT_TRUE(
      Parse("<Image path=\"ball.png\"/>\n<Image id=\"X\" path=\"ball\" variant=\"v\"/>\n"
            "<Image id=\"P\" path=\"!program\"/>\n</Resources>\n<Resources id=\"H\">\n"
            "<Image id=\"Y\" path=\"cel\"/>\n</Resources>\n<Resources id=\"G\">\n<Image id=\"Z\" path=\"cel\"/>\n"))
      << manager.GetErrorText();
  // Both "G" blocks count, without the program's own.
  for (const auto& [group, count] : {std::pair{"G", 3}, {"H", 1}, {"", 5}, {"nowhere", 0}})
    EXPECT_EQ(manager.GetNumResources(group), count) << group;
  ASSERT_NE(manager.GetImageRes("IMAGE_ball"), nullptr);

  manager.StartLoadResources("G");
  int steps = 0;
  while (manager.LoadNextResource()) ++steps;
  EXPECT_EQ(std::pair(steps, manager.HadError()), std::pair(3, false));
  Zing::MemoryImage* ball = manager.GetImageThrow("IMAGE_ball");
  EXPECT_EQ(ball->GetWidth(), 4);
  EXPECT_NE(manager.GetImageThrow("IMAGE_X"), ball);  // another variant is another image
  EXPECT_EQ(manager.GetImageThrow("IMAGE_Z"), manager.GetImage("IMAGE_Z").Get());
  EXPECT_THROW(manager.GetImageThrow("IMAGE_P"), Zing::ResourceManagerException);
  manager.allowMissingProgramResources = true;
  EXPECT_EQ(manager.GetImageThrow("IMAGE_P"), nullptr);

  // A loaded group loads nothing again; a released one comes back.
  ASSERT_TRUE(manager.LoadResources("G"));
  manager.StartLoadResources("G");
  EXPECT_EQ(std::pair(manager.LoadNextResource(), manager.HadError()), std::pair(false, false));
  manager.DeleteResources("G");
  EXPECT_FALSE(manager.IsGroupLoaded("G"));
  EXPECT_THROW(manager.GetImageThrow("IMAGE_ball"), Zing::ResourceManagerException);
  EXPECT_EQ(manager.GetErrorText(), "Image resource not found: IMAGE_ball");
  app.CleanupSharedImages();
  EXPECT_EQ(app.Cache().Size(), 0u);
  ASSERT_TRUE(manager.LoadResources("G"));
  EXPECT_EQ(manager.GetImageThrow("IMAGE_ball")->GetWidth(), 4);
}

TEST_F(ResourceFixture, AnimationGridsAlphaImagesAndFlags) {
  ASSERT_TRUE(
      Parse("<Image id=\"A\" path=\"ball\" cols=\"4\" anim=\"pingpong\" framedelay=\"0\"/>\n"
            "<Image id=\"B\" path=\"ball\" variant=\"b\" rows=\"2\" cols=\"2\" anim=\"loop\" framedelay=\"3\" "
            "begindelay=\"10\" enddelay=\"20\" framemap=\"0,1,3\"/>\n"
            "<Image id=\"C\" path=\"ball\" variant=\"c\" alphaimage=\"mask\" nopal=\"\"/>\n"
            "<Image id=\"D\" path=\"ball\" variant=\"d\" cols=\"2\" rows=\"2\" alphagrid=\"cel\" "
            "a4r4g4b4=\"\" minsubdivide=\"\"/>\n"))
      << manager.GetErrorText();
  ASSERT_TRUE(manager.LoadResources("G")) << manager.GetErrorText();
  const Zing::AnimInfo& pingPong = manager.GetImageRes("IMAGE_A")->animInfo;
  EXPECT_EQ(pingPong.frameMap, (std::vector<int>{0, 1, 2, 3, 2, 1}));
  EXPECT_EQ(std::pair(pingPong.frameDelay, pingPong.totalAnimTime), std::pair(1, 6));
  Zing::MemoryImage* a = manager.GetImageThrow("IMAGE_A");
  ASSERT_NE(a->animInfo, nullptr);
  EXPECT_EQ(std::pair(a->numCols, a->IsPalletized()), std::pair(4, true));

  const Zing::AnimInfo& loop = manager.GetImageRes("IMAGE_B")->animInfo;
  EXPECT_EQ(loop.perFrameDelay, (std::vector<int>{10, 3, 20}));
  EXPECT_EQ(std::pair(loop.numCels, loop.totalAnimTime), std::pair(3, 33));

  Zing::MemoryImage* c = manager.GetImageThrow("IMAGE_C");
  EXPECT_FALSE(c->IsPalletized());
  EXPECT_EQ(std::tuple(1u, 8u, 0x323232u),
            std::tuple(c->GetPixel(0, 0) >> 24, c->GetPixel(3, 1) >> 24, c->GetPixel(1, 0) & 0xFFFFFF));

  Zing::MemoryImage* d = manager.GetImageThrow("IMAGE_D");
  EXPECT_EQ(std::pair(0x11u, 0x22u), std::pair(d->GetPixel(0, 0) >> 24, d->GetPixel(3, 1) >> 24));
  EXPECT_EQ(d->textureHints, Zing::Image::kHint4444 | Zing::Image::kHintMinSubdivisions);
}

TEST_F(ResourceFixture, SoundsAndFontsGoThroughTheirManagers) {
  ASSERT_TRUE(
      Parse("<SetDefaults path=\"sounds\" idprefix=\"SOUND_\"/>\n<Sound id=\"Q\" path=\"quiet\" volume=\"0\"/>\n"
            "<Sound id=\"L\" path=\"loud\"/>\n<SetDefaults path=\"fonts\" idprefix=\"FONT_\"/>\n"
            "<Font id=\"F\" path=\"f.txt\" tags=\"big, bold\tx\"/>\n<Font id=\"R\" path=\"!ref:FONT_F\"/>\n"
            "<Font id=\"S\" path=\"!sys:Sans\" size=\"12\" bold=\"\"/>\n"))
      << manager.GetErrorText();
  ASSERT_TRUE(manager.LoadResources("G")) << manager.GetErrorText();
  const int quiet = manager.GetSoundThrow("SOUND_Q");
  EXPECT_EQ(app.Sounds().volumes.at(quiet), 0.0);
  EXPECT_EQ(app.Sounds().volumes.count(manager.GetSoundThrow("SOUND_L")), 0u);
  EXPECT_EQ(app.fonts.requests, (std::vector<std::string>{"fonts/f.txt", "Sans:12"}));
  EXPECT_EQ(app.fonts.tags, (std::vector<std::string>{"big", "bold", "x"}));
  EXPECT_NE(manager.GetFontThrow("FONT_R"), manager.GetFontThrow("FONT_F"));
  EXPECT_EQ(static_cast<ResourceTest::StubFont*>(manager.GetFontThrow("FONT_R"))->descriptor, "fonts/f.txt");
  EXPECT_THROW(manager.GetSoundThrow("SOUND_NONE"), Zing::ResourceManagerException);
  EXPECT_EQ(manager.GetErrorText(), "Sound resource not found: SOUND_NONE");
  EXPECT_THROW(manager.GetFontThrow("FONT_NONE"), Zing::ResourceManagerException);
  EXPECT_EQ(manager.GetErrorText(), "Font resource not found: FONT_NONE");

  manager.DeleteResources("");
  EXPECT_EQ(app.Sounds().GetNumSounds(), 0);
  EXPECT_EQ(manager.GetFont("FONT_F"), nullptr);
}

// Every documented failure of the manager, with its exact text and, while the
// manifest is read, its line and file.
TEST_F(ResourceFixture, ErrorsReadingTheManifest) {
  manager.ParseResourcesFile(folder.File("none.xml"));
  EXPECT_EQ(manager.GetErrorText(), "Resource file not found: " + folder.File("none.xml"));
  EXPECT_EQ(ParseError("<Other/>"), "Expecting ResourceManifest tag on Line 1 in File 'F'");
  EXPECT_EQ(ParseError("<ResourceManifest>\n<Resources>\n"), "No id specified. on Line 2 in File 'F'");
  EXPECT_EQ(ParseError("<ResourceManifest>\n<Bogus/>"), "Invalid Section 'Bogus' on Line 2 in File 'F'");
  EXPECT_EQ(ParseError("<ResourceManifest>\nstray\n<Resources id=\"G\"/>"),
            "Element Not Expected 'stray' on Line 3 in File 'F'");
  EXPECT_EQ(ParseError(Block("<Music path=\"m\"/>")), "Invalid Section 'Music' on Line 3 in File 'F'");
  EXPECT_EQ(ParseError(Block("<Image path=\"a\">text</Image>")), "Unexpected element found. on Line 3 in File 'F'");
  EXPECT_EQ(ParseError(Block("<Image id=\"a\"/>")), "No path specified. on Line 3 in File 'F'");
  EXPECT_EQ(ParseError(Block("<Image path=\"a\"/>\n<Image path=\"b/a.png\"/>")),
            "Resource already defined. on Line 4 in File 'F'");
  EXPECT_TRUE(fresh->resourceManager->hadAlreadyDefinedError);
  EXPECT_EQ(ParseError(Block("<Image path=\"a\" anim=\"spin\"/>")), "Invalid animation type. on Line 3 in File 'F'");
  EXPECT_EQ(ParseError(Block("<Font path=\"!sys:Sans\"/>")), "SysFont needs point size on Line 3 in File 'F'");
  EXPECT_EQ(ParseError("<ResourceManifest>\n<Resources id=\"G\">\n</Other>"),
            "End 'Other' Doesn't Match Start 'Resources' on Line 3 in File 'F'");

  // Redefinitions may be allowed: the first record takes the new path.
  folder.Write("m.xml", Block("<Image path=\"a\"/>\n<Image path=\"b/a.png\"/>"));
  fresh = std::make_unique<ResourceTest::TestApp>();
  fresh->resourceManager->allowAlreadyDefinedResources = true;
  EXPECT_TRUE(fresh->resourceManager->ParseResourcesFile(folder.File("m.xml")));
  EXPECT_EQ(fresh->resourceManager->GetImageRes("a")->path, "b/a.png");
}

TEST_F(ResourceFixture, ErrorsLoadingTheResources) {
  EXPECT_EQ(LoadError("<Image path=\"gone\"/>"), "Failed to load image: D/gone");
  EXPECT_EQ(LoadError("<Image path=\"ball\" alphaimage=\"gone\"/>"), "Failed to load image: D/gone");
  EXPECT_EQ(LoadError("<Image path=\"ball\" alphaimage=\"cel\"/>"),
            "AlphaImage size mismatch between D/ball and D/cel");
  EXPECT_EQ(LoadError("<Image path=\"ball\" cols=\"2\" alphagrid=\"mask\"/>"),
            "GridAlphaImage size mismatch between D/ball and D/mask");
  EXPECT_EQ(LoadError("<Font path=\"!ref:NONE\"/>"), "Ref font not found: NONE");
  EXPECT_EQ(LoadError("<Font path=\"f.txt\" image=\"" + folder.File("images/gone") + "\"/>"),
            "Failed to load image: D/gone");

  folder.Write("m.xml", Block("<Sound path=\"s\"/>"));
  fresh = std::make_unique<ResourceTest::TestApp>();
  ASSERT_TRUE(fresh->resourceManager->ParseResourcesFile(folder.File("m.xml")));
  fresh->Sounds().refuseLoads = true;
  EXPECT_FALSE(fresh->resourceManager->LoadResources("G"));
  EXPECT_EQ(fresh->resourceManager->GetErrorText(), "Failed to load sound: s");
  fresh->Sounds().noFreeIds = true;
  EXPECT_FALSE(fresh->resourceManager->LoadResources("G"));
  EXPECT_EQ(fresh->resourceManager->GetErrorText(), "Out of free sound ids");

  // Without a font factory a manifest font fails the group, never silently.
  folder.Write("m.xml", Block("<Font path=\"fonts/f.txt\"/>"));
  fresh = std::make_unique<ResourceTest::TestApp>();
  fresh->resourceManager->SetFontFactory(nullptr);
  ASSERT_TRUE(fresh->resourceManager->ParseResourcesFile(folder.File("m.xml")));
  EXPECT_FALSE(fresh->resourceManager->LoadResources("G"));
  EXPECT_EQ(fresh->resourceManager->GetErrorText(), "Failed to load font: fonts/f.txt");
}

TEST(SharedImageCache, OneImagePerNameAndVariantUntilLetGo) {
  int loads = 0;
  Zing::SharedImageCache cache([&loads](const std::string&) {
    ++loads;
    auto image = std::make_unique<Zing::MemoryImage>();
    image->Create(2, 2);
    return image;
  });
  bool isNew = false;
  Zing::SharedImageRef first = cache.Get("images/Tile.png", "", &isNew);
  EXPECT_TRUE(isNew);
  Zing::SharedImageRef second = cache.Get("IMAGES/tile.PNG", "", &isNew);
  EXPECT_EQ(std::pair(isNew, first.Get()), std::pair(false, second.Get()));
  Zing::SharedImageRef program = cache.Get("!scratch", "", &isNew);
  EXPECT_EQ(std::pair(loads, program->GetWidth()), std::pair(1, 0));

  Zing::SharedImageRef copy = first;
  first.Release();
  second.Release();
  cache.Cleanup();
  EXPECT_EQ(cache.Size(), 2u);  // a copy still holds it
  copy = Zing::SharedImageRef();
  program.Release();
  EXPECT_TRUE(cache.NeedsCleanup());
  cache.Cleanup();
  EXPECT_EQ(cache.Size(), 0u);
}

}  // namespace
