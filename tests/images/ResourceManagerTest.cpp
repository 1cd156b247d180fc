// The resource manager: on small manifests of its own with recording font and
// sound managers, and with the real font factory. (The game's own manifest
// loads in the shell's tests, and from main.pak in the reliability runs.)

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/app/ZingAppBase.h"
#include "framework/audio/SilentSoundManager.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/ImageLib.h"
#include "framework/graphics/SysFont.h"
#include "framework/platform/NullPlatform.h"
#include "framework/resource/FontFactory.h"
#include "framework/resource/ManifestFonts.h"
#include "framework/resource/ResourceManager.h"
#include "tests/images/ImageFiles.h"
#include "tests/support/TempFolder.h"

namespace {

using ImageTest::PngSpec;

// An application on the window-less platform, a font factory that records what it was asked for,
// and a sound manager that records base volumes or refuses to load.
class StubFont : public Zing::Font {
 public:
  Zing::Font* Duplicate() const override { return new StubFont(*this); }
  std::string descriptor;
};

class RecordingFontFactory : public Zing::FontFactory {
 public:
  std::unique_ptr<Zing::Font> CreateImageFont(const std::string& path, Zing::MemoryImage*,
                                              const std::vector<std::string>& fontTags) override {
    requests.push_back(path);
    tags = fontTags;
    auto font = std::make_unique<StubFont>();
    font->descriptor = path;
    return font;
  }
  std::unique_ptr<Zing::Font> CreateSysFont(const std::string& face, int size, bool bold, bool italic, bool underline,
                                            bool shadow) override {
    requests.push_back(face + ":" + std::to_string(size) + ":" +
                       std::to_string(bold * 1000 + italic * 100 + underline * 10 + shadow));
    return std::make_unique<StubFont>();
  }
  std::vector<std::string> requests;
  std::vector<std::string> tags;
};

class RecordingSounds : public Zing::SilentSoundManager {
 public:
  using SilentSoundManager::LoadSound;
  bool LoadSound(unsigned int id, const std::string& name) override {
    return !refuseLoads && SilentSoundManager::LoadSound(id, name);
  }
  int GetFreeSoundId() override { return noFreeIds ? -1 : SilentSoundManager::GetFreeSoundId(); }
  bool SetBaseVolume(unsigned int id, double base) override { return Note(id, "volume " + std::to_string(base)); }
  bool SetBasePan(unsigned int id, int pan) override { return Note(id, "pan " + std::to_string(pan)); }
  bool Note(unsigned int id, const std::string& what) {
    return !(settings[static_cast<int>(id)] += what + ";").empty();
  }
  std::map<int, std::string> settings;  // by id: the base volumes and pans set
  bool refuseLoads = false;
  bool noFreeIds = false;
};

class TestApp : public Zing::ZingAppBase {
 public:
  TestApp() : ZingAppBase(std::make_unique<Zing::Platform::NullServices>()) {
    soundManager = std::make_unique<RecordingSounds>();
    resourceManager->SetFontFactory(&fonts);
  }
  RecordingSounds& Sounds() { return static_cast<RecordingSounds&>(*soundManager); }
  using ZingAppBase::soundManager;
  Zing::SharedImageCache& Cache() { return *sharedImages; }
  RecordingFontFactory fonts;
};

struct ResourceFixture : ::testing::Test {
  ZingTest::TempFolder folder;
  TestApp app;
  Zing::ResourceManager& manager = *app.resourceManager;
  std::unique_ptr<TestApp> fresh;  // for the failures, one manager each

  void SetUp() override {
    folder.Write("images/.keep", "");
    const std::pair<std::string, PngSpec> pictures[] = {
        {"ball", {4, 2, PNG_COLOR_TYPE_GRAY, 8, false, {0, 50, 100, 150, 200, 250, 255, 10}, {}, {}}},
        {"mask", {4, 2, PNG_COLOR_TYPE_GRAY, 8, false, {1, 2, 3, 4, 5, 6, 7, 8}, {}, {}}},
        {"cel", {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0x11, 0x22}, {}, {}}},
        {"row", {4, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0x10, 0x20, 0x30, 0x40}, {}, {}}},
        {"_lone", {3, 1, PNG_COLOR_TYPE_GRAY, 8, false, {1, 2, 3}, {}, {}}}};  // an alpha file alone
    for (const auto& [name, png] : pictures)
      ASSERT_TRUE(ImageTest::WritePng(folder.File("images/" + name + ".png"), png));
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
    fresh = std::make_unique<TestApp>();
    folder.Write("m.xml", text);
    EXPECT_FALSE(fresh->resourceManager->ParseResourcesFile(folder.File("m.xml")));
    return Replaced(fresh->resourceManager->GetErrorText(), folder.File("m.xml"), "F");
  }
  // A fresh manager, prepared by `prepare`, that reads `body` cleanly: the error of loading it, with the folder as D.
  std::string LoadError(
      const std::string& body, void (*prepare)(TestApp&) = [](TestApp&) {}) {
    fresh = std::make_unique<TestApp>();
    prepare(*fresh);
    folder.Write("m.xml", Block("<SetDefaults path=\"" + folder.Path() + "/images\" idprefix=\"I_\"/>\n" + body));
    EXPECT_TRUE(fresh->resourceManager->ParseResourcesFile(folder.File("m.xml")));
    fresh->resourceManager->StartLoadResources("G");
    EXPECT_FALSE(fresh->resourceManager->LoadNextResource() || !fresh->resourceManager->HadError());
    return Replaced(fresh->resourceManager->GetErrorText(), folder.Path() + "/images", "D");
  }
  static std::string Replaced(std::string text, const std::string& what, const std::string& by) {
    for (std::size_t at; (at = text.find(what)) != std::string::npos;) text.replace(at, what.size(), by);
    return text;
  }
};

TEST_F(ResourceFixture, IdsGroupsAndStepWiseLoading) {
  ASSERT_TRUE(Parse(
      "<Image path=\"ball.png\"/>\n<Image id=\"X\" path=\"ball\" variant=\"v\"/>\n<Image id=\"U\" path=\"BALL.png\"/>\n"
      "<Image id=\"P\" path=\"!program\"/>\n</Resources>\n<Resources id=\"H\">\n"
      "<Image id=\"Y\" path=\"cel\"/>\n</Resources>\n<Resources id=\"G\">\n<Image id=\"Z\" path=\"cel\"/>\n"))
      << manager.GetErrorText();
  // Both "G" blocks count, without the program's own.
  for (const auto& [group, count] : {std::pair{"G", 4}, {"H", 1}, {"", 6}, {"nowhere", 0}})
    EXPECT_EQ(manager.GetNumResources(group), count) << group;
  ASSERT_NE(manager.GetImageRes("IMAGE_ball"), nullptr);

  manager.StartLoadResources("G");
  int steps = 0;
  while (manager.LoadNextResource()) ++steps;
  EXPECT_EQ(std::pair(steps, manager.HadError()), std::pair(4, false));
  Zing::MemoryImage* ball = manager.GetImageThrow("IMAGE_ball");
  EXPECT_EQ(std::pair(ball->GetWidth(), ball), std::pair(4, manager.GetImageThrow("IMAGE_U")));  // names in any case
  EXPECT_NE(manager.GetImageThrow("IMAGE_X"), ball);  // another variant is another image
  EXPECT_EQ(manager.GetImageThrow("IMAGE_Z"), manager.GetImage("IMAGE_Z").Get());
  EXPECT_THROW(manager.GetImageThrow("IMAGE_P"), Zing::ResourceManagerException);
  manager.allowMissingProgramResources = true;
  EXPECT_EQ(manager.GetImageThrow("IMAGE_P"), nullptr);

  // A loaded group loads nothing again; releasing a group keeps the others; a released one comes back.
  ASSERT_TRUE(manager.LoadResources("H"));
  manager.DeleteResources("H");
  EXPECT_EQ(
      std::tuple(manager.IsGroupLoaded("H"), manager.GetImage("IMAGE_Y").Get(), manager.GetImage("IMAGE_Z").Get()),
      std::tuple(false, nullptr, manager.GetImageThrow("IMAGE_Z")));
  ASSERT_TRUE(manager.LoadResources("G"));
  manager.StartLoadResources("G");
  EXPECT_EQ(std::pair(manager.LoadNextResource(), manager.HadError()), std::pair(false, false));
  manager.DeleteResources("G");
  EXPECT_FALSE(manager.IsGroupLoaded("G"));
  EXPECT_THROW(manager.GetImageThrow("IMAGE_ball"), Zing::ResourceManagerException);
  EXPECT_EQ(manager.GetErrorText(), "Image resource not found: IMAGE_ball");
  EXPECT_EQ(app.Cache().Get("!canvas", "", nullptr)->GetWidth(), 0);  // made by the program, never loaded
  app.CleanupSharedImages();
  EXPECT_EQ(app.Cache().Size(), std::size_t{0});
  ASSERT_TRUE(manager.LoadResources("G"));
  EXPECT_EQ(manager.GetImageThrow("IMAGE_ball")->GetWidth(), 4);
}

// A record as read: id, group, path, variant, alpha and grid paths, the flags
// (find alpha, palletise, 4444, 8888, surface, purge, fewest pieces, program),
// the grid, the alpha colour and the animation (type/cels/delay/total, map, delays).
std::string Record(const Zing::ImageRes& r) {
  const Zing::AnimInfo& a = r.animInfo;
  std::string text = r.id + " " + r.resGroup + " " + r.path + " v=" + r.variant + " a=" + r.alphaImage +
                     " g=" + r.alphaGridImage + " ";
  for (bool flag : {r.autoFindAlpha, r.palletize, r.a4r4g4b4, r.a8r8g8b8, r.ddSurface, r.purgeBits,
                    r.minimizeSubdivisions, r.fromProgram})
    text += flag ? '1' : '0';
  char tail[64];
  std::snprintf(tail, sizeof tail, " %dx%d %06X %d/%d/%d/%d", r.rows, r.cols, r.alphaColor, a.type, a.numCels,
                a.frameDelay, a.totalAnimTime);
  text += tail;
  for (const auto* list : {&a.frameMap, &a.perFrameDelay}) {
    text += " [";
    for (int v : *list) text += std::to_string(v) + ",";
    text += "]";
  }
  return text;
}

// The image as loaded: nothing written past its end, palletised, alpha per
// pixel (hex), texture hints, purged, grid and animation.
std::string AsLoaded(Zing::MemoryImage* image) {
  std::string text = std::string(image->IsGuardIntact() ? "" : "overrun ") + (image->IsPalletized() ? "pal " : "rgb ");
  char hex[4];
  for (int y = 0; y < image->GetHeight(); ++y)
    for (int x = 0; x < image->GetWidth(); ++x) {
      std::snprintf(hex, sizeof hex, "%02X", image->GetPixel(x, y) >> 24);
      text += hex;
    }
  return text + " hints " + std::to_string(image->textureHints) + (image->WillPurgeBits() ? " purge " : " keep ") +
         std::to_string(image->numRows) + "x" + std::to_string(image->numCols) +
         (image->animInfo ? " anim " + std::to_string(image->animInfo->type) : "");
}

// Every image attribute as the manifest reader takes it and as loading applies
// it; flags count by their presence, a second record of a cached picture
// changes nothing of it, and the loader's alpha settings hold for one record.
TEST_F(ResourceFixture, ImageAttributesAsReadAndAsLoaded) {
  ASSERT_TRUE(ImageTest::WritePng(folder.File("images/cel4.png"),
                                  {2, 2, PNG_COLOR_TYPE_GRAY, 8, false, {0x11, 0x22, 0x33, 0x44}, {}, {}}));
  ASSERT_TRUE(
      ImageTest::WritePng(folder.File("images/dot.png"), {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {9, 9}, {}, {}}));
  for (const char* mask : {"images/_dot.png", "images/_only.png"})
    ASSERT_TRUE(ImageTest::WritePng(folder.File(mask), {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0x40, 0x80}, {}, {}}));
  folder.Write(
      "m.xml",
      "<?xml version=\"1.0\"?>\n<!-- the game's pictures -->\n<ResourceManifest>\n<Resources id=\"G\">\n"
      "<SetDefaults path=\"" +
          folder.Path() +
          "/images\\\" idprefix=\"IMAGE_/\"/>\n"
          "<Image id=\"A\" path=\"ball\" cols=\"4\" anim=\"pingpong\" framedelay=\"0\"/>\n"
          "<Image id=\"A2\" path=\"ball\" nopal=\"\" rows=\"3\" anim=\"once\"/>\n"
          "<Image id=\"B\" path=\"ball\" variant=\"b\" rows=\"2\" cols=\"2\" anim=\"loop\" framedelay=\"3\" "
          "begindelay=\"1\" enddelay=\"20\" framemap=\"0,1,3,\" a8r8g8b8=\"\" nobits2d=\"\"/>\n"
          "<Image id=\"C\" path=\"ball\" variant=\"c\" alphaimage=\"mask\" nopal=\"\" nobits3d=\"\" cols=\"y\"/>\n"
          "<Image id=\"D\" path=\"ball\" variant=\"d\" cols=\"2\" alphagrid=\"cel4\" a4r4g4b4=\"\" "
          "minsubdivide=\"\" anim=\"none\" framedelay=\"9\"/>\n"
          "<Image id=\"D2\" path=\"ball\" variant=\"d2\" rows=\"2\" alphagrid=\"row\" nopal=\"\"/>\n"
          "<Image id=\"E\" path=\"ball\" variant=\"e\" ddsurface=\"\" rows=\"x\" cols=\"4\" anim=\"once\" "
          "framedelay=\"4\" perframedelay=\"5,0,,7\" begindelay=\"-2\"/>\n"
          "<Image id=\"N\" path=\"dot\" noalpha=\"\" nobits=\"\"/>\n<Image id=\"M\" path=\"dot\" variant=\"m\"/>\n"
          "<Image id=\"R\" path=\"only\" alphacolor=\"ff0000\"/>\n<Image id=\"W\" path=\"only\" variant=\"w\"/>\n"
          "</Resources>\n<Resources id=\"H\">\n<Image path=\"sub\\x.y.png\"/>\n<Image id=\"P\" "
          "path=\"!program\"/>\n</Resources>\n</ResourceManifest>\n");
  ASSERT_TRUE(manager.ParseResourcesFile(folder.File("m.xml"))) << manager.GetErrorText();
  const std::pair<const char*, const char*> records[] = {
      {"A", "IMAGE_A G D/ball v= a= g= 11000000 1x4 FFFFFF 2/6/1/6 [0,1,2,3,2,1,] []"},
      {"A2", "IMAGE_A2 G D/ball v= a= g= 10000000 3x1 FFFFFF 1/3/1/3 [] []"},
      {"B", "IMAGE_B G D/ball v=b a= g= 11010100 2x2 FFFFFF 3/4/3/27 [0,1,3,0,] [1,3,3,20,]"},
      {"C", "IMAGE_C G D/ball v=c a=D/mask g= 10000000 1x1 FFFFFF 0/1/1/0 [] []"},
      {"D", "IMAGE_D G D/ball v=d a= g=D/cel4 11100010 1x2 FFFFFF 0/1/1/0 [] []"},
      {"E", "IMAGE_E G D/ball v=e a= g= 11001000 1x4 FFFFFF 1/4/4/20 [] [5,4,4,7,]"},
      {"N", "IMAGE_N G D/dot v= a= g= 01000100 1x1 FFFFFF 0/1/1/0 [] []"},
      {"R", "IMAGE_R G D/only v= a= g= 11000000 1x1 FF0000 0/1/1/0 [] []"},
      {"x.y", "IMAGE_x.y H D/sub\\x.y.png v= a= g= 11000000 1x1 FFFFFF 0/1/1/0 [] []"},
      {"P", "IMAGE_P H !program v= a= g= 11000001 1x1 FFFFFF 0/1/1/0 [] []"},
  };
  for (const auto& [id, expected] : records) {
    const Zing::ImageRes* res = manager.GetImageRes(std::string("IMAGE_") + id);
    ASSERT_NE(res, nullptr) << id;
    EXPECT_EQ(Replaced(Record(*res), folder.Path() + "/images", "D"), expected) << id;
  }
  EXPECT_EQ(manager.GetImageRes("IMAGE_B")->xmlAttributes.at("framemap"), "0,1,3,");

  ASSERT_TRUE(manager.LoadResources("G")) << manager.GetErrorText();
  const std::pair<const char*, const char*> images[] = {
      {"A", "pal FFFFFFFFFFFFFFFF hints 0 keep 1x4 anim 2"},
      {"A2", "pal FFFFFFFFFFFFFFFF hints 0 keep 1x4 anim 2"},  // the picture A loaded, unchanged
      {"B", "pal FFFFFFFFFFFFFFFF hints 8 purge 2x2 anim 3"},
      {"C", "rgb 0102030405060708 hints 0 keep 1x1"},
      {"D", "pal 1122112233443344 hints 5 keep 1x2"},
      {"D2", "rgb 1020304010203040 hints 0 keep 2x1"},
      {"E", "pal FFFFFFFFFFFFFFFF hints 0 purge 1x4 anim 1"},
      {"N", "pal FFFF hints 0 purge 1x1"},
      {"M", "pal 4080 hints 0 keep 1x1"},
  };
  for (const auto& [id, expected] : images)
    EXPECT_EQ(AsLoaded(manager.GetImageThrow(std::string("IMAGE_") + id)), expected) << id;
  EXPECT_EQ(manager.GetImageThrow("IMAGE_A2"), manager.GetImageThrow("IMAGE_A"));
  EXPECT_EQ(manager.GetImageThrow("IMAGE_B")->animInfo->perFrameDelay, (std::vector<int>{1, 3, 3, 20}));
  // A mask without its picture takes the record's alpha colour; the next record the default.
  EXPECT_EQ(manager.GetImageThrow("IMAGE_R")->GetPixel(1, 0), 0x80FF0000u);
  EXPECT_EQ(manager.GetImageThrow("IMAGE_W")->GetPixel(1, 0), 0x80FFFFFFu);
  EXPECT_EQ(Zing::ImageLib::GetImage(folder.File("images/dot"))->GetBits()[1], 0x80090909u);  // the library's own again
}

TEST_F(ResourceFixture, SoundsAndFontsGoThroughTheirManagers) {
  ASSERT_TRUE(
      Parse("<SetDefaults path=\"sounds\" idprefix=\"SOUND_\"/>\n<Sound id=\"Q\" path=\"quiet\" volume=\"0\"/>\n"
            "<Sound id=\"L\" path=\"loud\"/>\n<Sound id=\"H\" path=\"half\" volume=\"0.5\" pan=\"-20\"/>\n"
            "<Sound id=\"V\" path=\"v\" volume=\"-0.5\" pan=\"0\"/>\n<Sound id=\"P\" path=\"!program\"/>\n"
            "<SetDefaults path=\"fonts\" idprefix=\"FONT_\"/>\n<Font id=\"P\" path=\"!program\"/>\n"
            "<Font id=\"F\" path=\"f.txt\" tags=\"big, bold\tx\r\ny\"/>\n<Font id=\"R\" path=\"!ref:FONT_F\"/>\n"
            "<Font id=\"S\" path=\"!sys:Sans\" size=\"12\" bold=\"\"/>\n"
            "<Font id=\"T\" path=\"!sys:Mono\" size=\"1\" italic=\"\" underline=\"\" shadow=\"\"/>\n"))
      << manager.GetErrorText();
  EXPECT_EQ(std::pair(manager.GetNumResources("G"), manager.GetNumResources("")), std::pair(8, 10));
  ASSERT_TRUE(manager.LoadResources("G")) << manager.GetErrorText();
  std::map<int, std::string>& settings = app.Sounds().settings;
  EXPECT_EQ(settings[manager.GetSoundThrow("SOUND_Q")], "volume 0.000000;");
  EXPECT_EQ(settings[manager.GetSoundThrow("SOUND_H")], "volume 0.500000;pan -20;");
  for (const char* id : {"SOUND_L", "SOUND_V"}) EXPECT_EQ(settings[manager.GetSoundThrow(id)], "") << id;
  EXPECT_EQ(manager.GetSound("SOUND_Q"), manager.GetSoundThrow("SOUND_Q"));
  EXPECT_EQ(app.fonts.requests, (std::vector<std::string>{"fonts/f.txt", "Sans:12:1000", "Mono:1:111"}));
  EXPECT_EQ(app.fonts.tags, (std::vector<std::string>{"big", "bold", "x", "y"}));
  EXPECT_NE(manager.GetFontThrow("FONT_R"), manager.GetFontThrow("FONT_F"));
  EXPECT_EQ(std::pair(static_cast<StubFont*>(manager.GetFontThrow("FONT_R"))->descriptor, 0),
            std::pair(std::string("fonts/f.txt"), StubFont().CharWidthKern('a', 'b')));  // a font measures 0 by default
  // Lookups of unknown ids, and of the program's own until it is allowed to lack them.
  for (const char* id : {"SOUND_NONE", "SOUND_P"}) {
    EXPECT_THROW(manager.GetSoundThrow(id), Zing::ResourceManagerException);
    EXPECT_EQ(manager.GetErrorText(), std::string("Sound resource not found: ") + id);
  }
  for (const char* id : {"FONT_NONE", "FONT_P"}) {
    EXPECT_THROW(manager.GetFontThrow(id), Zing::ResourceManagerException);
    EXPECT_EQ(manager.GetErrorText(), std::string("Font resource not found: ") + id);
  }
  EXPECT_EQ(std::tuple(manager.GetSound("SOUND_NONE"), manager.GetFont("FONT_NONE"), manager.GetImage("X").Get()),
            std::tuple(-1, nullptr, nullptr));
  manager.allowMissingProgramResources = true;
  EXPECT_EQ(std::pair(manager.GetSoundThrow("SOUND_P"), manager.GetFontThrow("FONT_P")),
            std::pair(-1, static_cast<Zing::Font*>(nullptr)));
  EXPECT_THROW(manager.GetSoundThrow("SOUND_NONE"), Zing::ResourceManagerException);

  manager.DeleteResources("");
  EXPECT_EQ(app.Sounds().GetNumSounds(), 0);
  ASSERT_TRUE(manager.LoadResources("G"));  // again, and let go after the application's sound manager has gone
  app.soundManager.reset();
  manager.DeleteResources("");
  EXPECT_EQ(std::pair(manager.GetFont("FONT_F"), manager.GetSound("SOUND_Q")),
            std::pair(static_cast<Zing::Font*>(nullptr), -1));
}

// Every documented failure of the manager, with its exact text and, while the manifest is read, its line and file.
TEST_F(ResourceFixture, ErrorsReadingTheManifest) {
  // A second failure is no success either, and leaves the first text.
  EXPECT_FALSE(manager.ParseResourcesFile(folder.File("none.xml")) || manager.ParseResourcesFile(folder.File("x")));
  EXPECT_EQ(manager.GetErrorText(), "Resource file not found: " + folder.File("none.xml"));
  const std::pair<std::string, std::string> cases[] = {
      {"<Other/>", "Expecting ResourceManifest tag on Line 1"},
      {"<ResourceManifest>\n<Resources>\n", "No id specified. on Line 2"},
      {"<ResourceManifest>\n<Bogus/>", "Invalid Section 'Bogus' on Line 2"},
      {"<ResourceManifest>\nstray\n<Resources id=\"G\"/>", "Element Not Expected 'stray' on Line 3"},
      {"<ResourceManifest>\n<Resources id=\"G\">\n</Other>", "End 'Other' Doesn't Match Start 'Resources' on Line 3"},
      {Block("<Music path=\"m\"/>"), "Invalid Section 'Music' on Line 3"},
      {Block("stray"), "Element Not Expected 'stray' on Line 4"},
      {Block("<Image path=\"a\">text</Image>"), "Unexpected element found. on Line 3"},
      {Block("<Image id=\"a\"/>"), "No path specified. on Line 3"},
      {Block("<Image path=\"a\" anim=\"spin\"/>"), "Invalid animation type. on Line 3"},
      {Block("<Font path=\"!sys:Sans\"/>"), "SysFont needs point size on Line 3"},
      {Block("<Image path=\"a\"/>\n<Image path=\"b/a.png\"/>"), "Resource already defined. on Line 4"},
  };
  for (const auto& [text, error] : cases) EXPECT_EQ(ParseError(text), error + " in File 'F'");
  EXPECT_TRUE(fresh->resourceManager->hadAlreadyDefinedError);

  // Redefinitions may be allowed: the first record takes the new path.
  folder.Write("m.xml", Block("<Image path=\"a\"/>\n<Image path=\"b/a.png\"/>"));
  fresh = std::make_unique<TestApp>();
  fresh->resourceManager->allowAlreadyDefinedResources = true;
  EXPECT_TRUE(fresh->resourceManager->ParseResourcesFile(folder.File("m.xml")));
  EXPECT_EQ(fresh->resourceManager->GetImageRes("a")->path, "b/a.png");
}

TEST_F(ResourceFixture, ErrorsLoadingTheResources) {
  const auto none = [](TestApp&) {};
  const std::tuple<std::string, void (*)(TestApp&), std::string> cases[] = {
      {"<Image path=\"gone\"/>", none, "Failed to load image: D/gone"},
      {"<Image path=\"ball\" alphaimage=\"gone\"/>", none, "Failed to load image: D/gone"},
      {"<Image path=\"ball\" alphaimage=\"cel\"/>", none, "AlphaImage size mismatch between D/ball and D/cel"},
      {"<Image path=\"ball\" alphaimage=\"row\"/>", none, "AlphaImage size mismatch between D/ball and D/row"},
      {"<Image path=\"ball\" alphaimage=\"lone\"/>", none, "AlphaImage size mismatch between D/ball and D/lone"},
      {"<Image path=\"ball\" alphagrid=\"lone\"/>", none, "GridAlphaImage size mismatch between D/ball and D/lone"},
      {"<Image path=\"ball\" cols=\"2\" alphagrid=\"mask\"/>", none,
       "GridAlphaImage size mismatch between D/ball and D/mask"},
      {"<Image path=\"ball\" rows=\"0\" cols=\"0\" alphagrid=\"row\"/>", none,
       "GridAlphaImage size mismatch between D/ball and D/row"},
      {"<Font path=\"!ref:NONE\"/>", none, "Ref font not found: NONE"},
      {"<Font path=\"f.txt\" image=\"" + folder.File("images/gone") + "\"/>", none, "Failed to load image: D/gone"},
      {"<Sound path=\"s\"/>", [](TestApp& a) { a.Sounds().refuseLoads = true; }, "Failed to load sound: D/s"},
      {"<Sound path=\"s\"/>", [](TestApp& a) { a.Sounds().noFreeIds = true; }, "Out of free sound ids"},
      // Without a font factory a manifest font fails the group, never silently.
      {"<Font path=\"f.txt\"/>", [](TestApp& a) { a.resourceManager->SetFontFactory(nullptr); },
       "Failed to load font: D/f.txt"}};
  for (const auto& [body, prepare, error] : cases) EXPECT_EQ(LoadError(body, prepare), error) << body;
  // A manager without a host loads nothing, and says so.
  folder.Write(
      "bare.xml",
      "<ResourceManifest><Resources id=\"I\"><Image path=\"a\"/></Resources><Resources id=\"S\"><Sound "
      "path=\"s\"/></Resources><Resources id=\"F\"><Font path=\"f\" image=\"i\"/></Resources></ResourceManifest>");
  Zing::ResourceManager bare(nullptr);
  ASSERT_TRUE(bare.ParseResourcesFile(folder.File("bare.xml")));
  for (const auto& [group, error] :
       {std::pair{"I", "Failed to load image: a"}, {"S", "Out of free sound ids"}, {"F", "Failed to load image: i"}}) {
    EXPECT_FALSE(bare.LoadResources(group));
    EXPECT_EQ(bare.GetErrorText(), error);
  }
  bare.DeleteResources("");
}

// The manifest's fonts made by the application's font factory: image fonts with their tags, "!ref:"
// duplicates sharing their data, "!sys:" system fonts, and a descriptor that fails its group with
// the manager's error while the player sees the descriptor's.
TEST(ManifestFonts, ReferencesSystemFontsAndFailures) {
  ZingTest::TempFolder folder;
  const char* data = std::getenv("LINTWICK_DATA_DIR");
  const std::string dataDir = data && *data ? data : LINTWICK_TEST_DATA_DIR;
  folder.Write("broken.txt", "CreateLayer Main; LayerSetImage Main 'nothing.png';");
  folder.Write("extra.xml", "<ResourceManifest><Resources id=\"Extra\"><SetDefaults path=\"" + dataDir +
                                "/fonts\" idprefix=\"FONT_\"/>"
                                "<Font id=\"BODY\" path=\"default.txt\" tags=\"bold, glow\"/>"
                                "<Font id=\"COPY\" path=\"!ref:FONT_BODY\" tags=\"shout\"/>"
                                "<Font id=\"SYSTEM\" path=\"!sys:Arial Unicode MS\" size=\"12\" shadow=\"\" bold=\"\"/>"
                                "</Resources><Resources id=\"Broken\"><SetDefaults path=\"" +
                                folder.Path() +
                                "\" idprefix=\"FONT_\"/><Font id=\"BROKEN\" path=\"broken.txt\"/>"
                                "</Resources></ResourceManifest>");
  auto* services = new Zing::Platform::NullServices;
  Zing::ZingAppBase app{std::unique_ptr<Zing::Platform::NullServices>(services)};
  Zing::ResourceManager& manager = *app.resourceManager;
  ASSERT_TRUE(manager.ParseResourcesFile(folder.File("extra.xml"))) << manager.GetErrorText();
  ASSERT_TRUE(manager.LoadResources("Extra")) << manager.GetErrorText();
  auto* body = dynamic_cast<Zing::ImageFont*>(manager.GetFontThrow("FONT_BODY"));
  auto* copy = dynamic_cast<Zing::ImageFont*>(manager.GetFontThrow("FONT_COPY"));
  auto* system = dynamic_cast<Zing::SysFont*>(manager.GetFontThrow("FONT_SYSTEM"));
  ASSERT_TRUE(body && copy && system);
  EXPECT_EQ(body->GetFontData(), copy->GetFontData());
  EXPECT_EQ((std::vector<bool>{body->HasTag("GLOW"), copy->HasTag("GLOW"), copy->HasTag("SHOUT"), body->HasTag("SHOUT"),
                               system->drawShadow, system->IsValid(), services->messageBoxes.empty()}),
            (std::vector<bool>{true, true, true, false, true, true, true}));
  EXPECT_FALSE(manager.LoadResources("Broken"));
  EXPECT_EQ(0u, manager.GetErrorText().find("Failed to load font: " + folder.File("broken.txt")));
  ASSERT_EQ(1u, services->messageBoxes.size());
  EXPECT_NE(std::string::npos, services->messageBoxes[0].find("Failed to Load Image")) << services->messageBoxes[0];
}

}  // namespace
