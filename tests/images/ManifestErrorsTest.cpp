// Every documented failure of the resource manager, with its exact text and,
// while the manifest is read, its line and file.

#include <gtest/gtest.h>
#include <png.h>

#include "framework/resource/ResourceManager.h"
#include "tests/images/ImageFiles.h"
#include "tests/images/ResourceTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

struct ManifestErrors : ::testing::Test {
  ZingTest::TempFolder folder;
  std::unique_ptr<ResourceTest::TestApp> app = std::make_unique<ResourceTest::TestApp>();

  // The manifest's error text for `text`, with the file name replaced by F.
  std::string ParseError(const std::string& text) {
    app = std::make_unique<ResourceTest::TestApp>();
    folder.Write("m.xml", text);
    const std::string file = folder.File("m.xml");
    EXPECT_FALSE(app->resourceManager->ParseResourcesFile(file));
    std::string error = app->resourceManager->GetErrorText();
    const std::size_t at = error.find(file);
    if (at != std::string::npos) error.replace(at, file.size(), "F");
    return error;
  }
  std::string Block(const std::string& body) {
    return "<ResourceManifest>\n<Resources id=\"G\">\n" + body + "\n</Resources>\n</ResourceManifest>\n";
  }
  std::string LoadError(const std::string& body) {
    folder.Write("m.xml", Block("<SetDefaults path=\"" + folder.Path() + "\" idprefix=\"I_\"/>\n" + body));
    app = std::make_unique<ResourceTest::TestApp>();
    EXPECT_TRUE(app->resourceManager->ParseResourcesFile(folder.File("m.xml")));
    EXPECT_FALSE(app->resourceManager->LoadResources("G"));
    std::string error = app->resourceManager->GetErrorText();
    for (std::size_t at; (at = error.find(folder.Path())) != std::string::npos;)
      error.replace(at, folder.Path().size(), "D");
    return error;
  }
};

TEST_F(ManifestErrors, ReadingTheManifest) {
  app->resourceManager->ParseResourcesFile(folder.File("none.xml"));
  EXPECT_EQ(app->resourceManager->GetErrorText(), "Resource file not found: " + folder.File("none.xml"));
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
  EXPECT_TRUE(app->resourceManager->hadAlreadyDefinedError);
  EXPECT_EQ(ParseError(Block("<Image path=\"a\" anim=\"spin\"/>")), "Invalid animation type. on Line 3 in File 'F'");
  EXPECT_EQ(ParseError(Block("<Font path=\"!sys:Sans\"/>")), "SysFont needs point size on Line 3 in File 'F'");
  EXPECT_EQ(ParseError("<ResourceManifest>\n<Resources id=\"G\">\n</Other>"),
            "End 'Other' Doesn't Match Start 'Resources' on Line 3 in File 'F'");

  // Redefinitions may be allowed: the first record takes the new path.
  folder.Write("m.xml", Block("<Image path=\"a\"/>\n<Image path=\"b/a.png\"/>"));
  app = std::make_unique<ResourceTest::TestApp>();
  app->resourceManager->allowAlreadyDefinedResources = true;
  EXPECT_TRUE(app->resourceManager->ParseResourcesFile(folder.File("m.xml")));
  EXPECT_EQ(app->resourceManager->GetImageRes("a")->path, "b/a.png");
}

TEST_F(ManifestErrors, LoadingTheResources) {
  ImageTest::PngSpec two{2, 2, PNG_COLOR_TYPE_GRAY, 8, false, {1, 2, 3, 4}, {}, {}};
  ImageTest::PngSpec three{3, 1, PNG_COLOR_TYPE_GRAY, 8, false, {1, 2, 3}, {}, {}};
  ASSERT_TRUE(ImageTest::WritePng(folder.File("two.png"), two));
  ASSERT_TRUE(ImageTest::WritePng(folder.File("three.png"), three));
  EXPECT_EQ(LoadError("<Image path=\"gone\"/>"), "Failed to load image: D/gone");
  EXPECT_EQ(LoadError("<Image path=\"two\" alphaimage=\"gone\"/>"), "Failed to load image: D/gone");
  EXPECT_EQ(LoadError("<Image path=\"two\" alphaimage=\"three\"/>"),
            "AlphaImage size mismatch between D/two and D/three");
  EXPECT_EQ(LoadError("<Image path=\"two\" cols=\"2\" alphagrid=\"three\"/>"),
            "GridAlphaImage size mismatch between D/two and D/three");
  EXPECT_EQ(LoadError("<Font path=\"!ref:NONE\"/>"), "Ref font not found: NONE");
  EXPECT_EQ(LoadError("<Font path=\"f.txt\" image=\"" + folder.File("gone") + "\"/>"), "Failed to load image: D/gone");

  folder.Write("m.xml", Block("<Sound path=\"s\"/>"));
  app = std::make_unique<ResourceTest::TestApp>();
  ASSERT_TRUE(app->resourceManager->ParseResourcesFile(folder.File("m.xml")));
  app->Sounds().refuseLoads = true;
  EXPECT_FALSE(app->resourceManager->LoadResources("G"));
  EXPECT_EQ(app->resourceManager->GetErrorText(), "Failed to load sound: s");
  app->Sounds().noFreeIds = true;
  EXPECT_FALSE(app->resourceManager->LoadResources("G"));
  EXPECT_EQ(app->resourceManager->GetErrorText(), "Out of free sound ids");

  // Without a font factory a manifest font fails the group, never silently.
  folder.Write("m.xml", Block("<Font path=\"fonts/f.txt\"/>"));
  app = std::make_unique<ResourceTest::TestApp>();
  app->resourceManager->SetFontFactory(nullptr);
  ASSERT_TRUE(app->resourceManager->ParseResourcesFile(folder.File("m.xml")));
  EXPECT_FALSE(app->resourceManager->LoadResources("G"));
  EXPECT_EQ(app->resourceManager->GetErrorText(), "Failed to load font: fonts/f.txt");
}

}  // namespace
