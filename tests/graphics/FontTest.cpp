// Fonts: the descriptor language, image fonts measured and drawn, and system
// fonts. (The generated fonts' characters are the art generator's tests'.)

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <numeric>
#include <tuple>

#include "framework/graphics/Blend.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/SysFont.h"
#include "framework/platform/SystemFont.h"
#include "framework/platform/Windows1252.h"
#include "tests/graphics/FontTestHost.h"
#include "tests/graphics/TestImages.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Zing;

std::shared_ptr<MemoryImage> Sheet(int w, int h, std::uint32_t pixel) {
  return std::make_shared<MemoryImage>(ZingTest::Solid(w, h, pixel));
}

constexpr char kTwoLayers[] =
    "CreateLayer Main; LayerSetImage Main 'sheet.png'; LayerSetAscent Main 6; LayerSetHeight Main 9;\n"
    "LayerSetImageMap Main ('a' 'b') ((0 0 4 8) (8 0 6 8));\n"
    "LayerSetCharWidths Main ('a' 'b') (5 7); LayerSetKerningPairs Main ('ab') (-1);\n"
    "LayerSetSpacing Main 1; LayerSetColorAdd Main (0 0 0 0);\n"
    "CreateLayerFrom Shadow Main; LayerSetColorMult Shadow (0 0 0 0.5); LayerSetOffset Shadow (1 1);\n"
    "LayerSetBaseOrder Shadow -1; LayerPointRange Shadow 0 15;\n";

// A white sheet as fonts/sheet.png, clear but for x 34..35, y 3..5 in x 32..39,
// y 0..7, and a screen that records the glyphs drawn.
class ImageFonts : public ::testing::Test {
 protected:
  ImageFonts() : screen(100, 40), g(&screen) {
    auto sheet = host.images["fonts/sheet.png"] = Sheet(64, 16, 0xFFFFFFFF);
    for (int i = 0; i < 64; ++i)
      sheet->GetBits()[i / 8 * 64 + 32 + i % 8] = i % 8 / 2 == 1 && i / 8 / 3 == 1 ? ~0u : 0xFFFFFFu;
  }

  // Loads `text` as fonts/test.txt; the error message alone, "" when clean, marked when the font loaded anyway.
  std::string Load(const std::string& text) {
    data = std::make_shared<FontData>(&host);
    const bool loaded = data->LoadText("fonts/test.txt", text);
    return (loaded == data->GetErrorText().empty() ? "" : "loaded: ") + data->GetErrorText();
  }
  // A font of the two layers above and `extra`.
  std::unique_ptr<ImageFont> Make(const std::string& extra = "") {
    EXPECT_EQ("", Load(kTwoLayers + extra)) << data->GetFullError();
    return std::make_unique<ImageFont>(data);
  }

  ZingTest::FontTestHost host;
  std::shared_ptr<FontData> data;
  ZingTest::RecordingImage screen;
  Graphics g;
};
using FontDescriptor = ImageFonts;
using ImageFontDraw = ImageFonts;

TEST_F(FontDescriptor, CommandsSpanLinesAndDefinesAreCaseInsensitive) {
  EXPECT_EQ("Unknown Command", Load("# a comment\n  define Foo 'a';"));  // command names are exact

  ASSERT_EQ("",
            Load("Define N '12'; SetDefaultPointSize\n  # inside\n  N;\nDefine Foo 'a';\nDefine Copy FOO;\n"
                 "Define Bar (Foo, 'b' \"c\" -3);\nCreateHorzSpanRectList Spans (10 2 0 7) (3 4 5);\n"
                 "CreateLayer Main; CreateLayerFrom Shadow main;\nLayerSetImage MAIN 'sheet.png';\n"
                 "LayerSetImageMap Main (foo 'b' 'c') Spans;\nSetCharMap ('A') ('a');\n"
                 "LayerSetCharWidths Main ('a' 'b' '\\'' \"'\") (5 6 7 0X8);\n"
                 "LayerSetKerningPairs Main ('ab' 'ba') (-2 1); LayerSetBaseOrder Shadow -1;\n"
                 "LayerSetColorMult Main (1. 0.5 -9999 9999); LayerSetColorAdd Main 0x00aFA0f9;\n"
                 "LayerSetOffset Shadow (1 -1); LayerRequireTags Shadow ('Glow'); LayerExcludeTags Main ('dim');\n"));
  EXPECT_EQ(std::pair(true, 12), std::pair(data->initialized, data->defaultPointSize));
  ImageFont font(data);
  // A single value as it was written, a list as its items.
  EXPECT_EQ(
      std::tuple("'a'", "'a'", "(a, b, c, -3)", ""),
      std::tuple(font.GetDefine("foo"), font.GetDefine("COPY"), font.GetDefine("bar"), font.GetDefine("nothing")));
  const FontLayer& main = *data->FindLayer("main");
  EXPECT_EQ(std::tuple(Rect(10, 2, 3, 7), Rect(13, 2, 4, 7), Rect(17, 2, 5, 7)),
            std::tuple(main.charData['a'].imageRect, main.charData['b'].imageRect, main.charData['c'].imageRect));
  // The later width for the same character wins; hex digits in either case; fractions x 255, within +-2^20.
  EXPECT_EQ(std::tuple(7, 8, -2, 'a'), std::tuple(main.defaultHeight, main.charData['\''].width,
                                                  main.charData['a'].kerningOffsets['b'], data->charMap['A']));
  EXPECT_EQ(std::pair(Color(255, 127, -(1 << 20), 1 << 20), Color(0xAF, 0xA0, 0xF9, 255)),
            std::pair(main.colorMult, main.colorAdd));
  const FontLayer& shadow = *data->FindLayer("SHADOW");
  // Copied before the widths were set.
  EXPECT_EQ(std::tuple(0, std::vector<std::string>{"GLOW"}, std::vector<std::string>{"DIM"}),
            std::tuple(shadow.charData['a'].width, shadow.requiredTags, main.excludedTags));

  // The font picks its layers by tag: Shadow only with GLOW, Main never with DIM.
  const auto layers = [&] { return static_cast<int>(font.GetActiveLayers().size()); };
  EXPECT_EQ((std::vector<int>{1, true, false, 2, true, 1, true, false, 2}),
            (std::vector<int>{layers(), font.AddTag("glow"), font.AddTag("GLOW"), layers(), font.AddTag("Dim"),
                              layers(), font.RemoveTag("dim"), font.RemoveTag("dim"), layers()}));
}

TEST_F(FontDescriptor, ErrorsCarryTheirTextHeaderAndLocation) {
  const std::string layer = "CreateLayer L; LayerSetImage L 'sheet.png';\n";
  // Each message with the descriptors that give it; "L" has an image.
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"Missing Command", {"(a) b;"}},
      {"Unknown Command", {"Frobnicate;"}},
      {"Invalid Number of Parameters", {"CreateLayer;"}},
      {"Layer Already Exists", {"CreateLayer A; CreateLayer a;"}},
      {"Undefined Layer",
       {"LayerSetAscent Nope 3;", "LayerSetColorMult Nope (1 1 1 1);", "LayerRequireTags Nope ('a');",
        "CreateLayerFrom X Nope;", "LayerPointRange Nope 1 2;", "LayerSetImage Nope 'sheet.png';",
        "LayerSetDrawMode Nope 1;", "LayerSetOffset Nope (1 1);", "LayerSetImageMap Nope ('a') ((0 0 1 1));",
        "LayerSetKerningPairs Nope ('ab') (1);", "LayerSetCharWidths Nope ('a') (1);"}},
      {"Invalid Paramater Type",
       {"LayerSetAscent L 0x;", "LayerSetAscent L 0x100000000;", "LayerSetAscent L -0x10;",
        "LayerSetAscent L 99999999999;", "LayerSetAscent L 2147483648;", "LayerSetAscent L 0x1G;",
        "LayerSetColorMult L (1 '.' 1 1);", "LayerSetColorMult L (1 1.5x 1 1);", "LayerSetColorMult L (- 1 1 1);",
        "LayerSetColorAdd L (1 1 1);", "LayerSetColorMult L (1 -x1 1 1);", "LayerSetDrawMode L 2;",
        "LayerSetOffset L (1 2 3);", "LayerSetOffset L (1 'x');", "LayerSetCharWidths L ('ab' 'b') (1 2);",
        "LayerSetKerningPairs L ('a') (1);", "Define 3 x;", "Define D (1); LayerSetImage L D;", "CreateLayer (M);"}},
      {"Image rectangle out of bounds",
       {"LayerSetImageMap L ('a') ((0 8 5 -2));", "LayerSetImageMap L ('a') ((60 0 5 16));",
        "LayerSetImageMap L ('a') ((-1 0 5 5));", "LayerSetImageMap L ('a') ((0 -1 5 5));",
        "LayerSetImageMap L ('a') ((3 0 -1 5));", "LayerSetImageMap L ('a') ((0 1 5 16));",
        "LayerSetImageMap L ('a') ((2147483647 0 5 16));"}},
      {"List Size Mismatch", {"LayerSetCharWidths L ('a' 'b') (1);"}},
      {"Layer image not set", {"CreateLayer M; LayerSetImageMap M ('a') ((0 0 1 1));"}},
      {"Failed to Load Image", {"CreateLayer M; LayerSetImage M 'missing.png';"}},
      {"Unterminated List", {"Define X (a b;"}},
      {"Unexpected List End", {"Define X a);"}},
      {"Unexpected List Start", {"Define X a(b);", "Define X " + std::string(65, '(')}},  // 64 deep at most
      {"Unterminated Single Quotes", {"Define X 'a;"}},
      {"Unterminated Double Quotes", {"Define X \"a;"}},
      {"Unable to Dereference \"a\"", {"Define X (a nowhere);"}},
  };
  // Nothing after the failing command runs.
  for (const auto& [message, texts] : cases)
    for (const std::string& text : texts) {
      EXPECT_EQ(message, Load(layer + text + "CreateLayer Z;")) << text;
      EXPECT_FALSE(data->FindLayer("Z")) << text;
    }
  EXPECT_EQ("", Load(layer +
                     "Define N 'sheet.png'; LayerSetImage L N; LayerSetImageMap L ('a' 'b') ((60 0 4 16) (0 0 0 0));"
                     "LayerSetAscent L -2147483648; LayerSetColorAdd L (-1 0 0 -1);"
                     "CreateHorzSpanRectList S (2147483647 0 0 1) (0); Define D " +
                     std::string(64, '(') + std::string(64, ')') + ";"));
  // The first failure stops the rest; the full text names the file, line and command.
  host.errors.clear();
  Load("CreateLayer L;\n\nLayerSetDrawMode\n  L 2;\nCreateLayer L;");
  EXPECT_EQ("Font Descriptor Error in fonts/test.txt\r\nInvalid Paramater Type on Line 3:\r\n\r\nLayerSetDrawMode\nL 2",
            data->GetFullError());
  EXPECT_EQ(std::vector{data->GetFullError()}, host.errors);
  ImageFont failed(data);
  EXPECT_TRUE(!failed.IsLoaded() && failed.StringWidth("abc") == 0);
}

// The descriptor fuzzer's hostile seeds stop at their bounds: defines that double at every step,
// and nesting without end, fail; four defines of 2^18 elements (lists counted, the last replacing
// S, which gives its 2^12 back) are the most all defines may hold, one more fails; a point size far
// from the layer's makes no giant scaled image. A define naming itself does not loop. A list naming
// a define holds its items, and may hold no more than one list.
TEST_F(FontDescriptor, HostileSeedsAreBounded) {
  const std::pair<const char*, const char*> seeds[] = {{"doubling", "Invalid Paramater Type"},
                                                       {"nesting", "Unexpected List Start"},
                                                       {"point_size", ""},
                                                       {"most_defines", "Invalid Paramater Type"}};
  std::string text;
  for (const auto& [name, error] : seeds) {
    std::ifstream in(std::string(LINTWICK_FUZZ_CORPUS) + "/font_descriptor/hostile_" + name + ".txt");
    text.assign(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(error, Load(text)) << name;
    ImageFont font(data);  // measured and drawn, whatever came of it
    font.DrawString(&g, 0, 10, "aaaa", Color::White, g.GetClipRect());
    EXPECT_GE(font.StringWidth("aaaa"), 0);
  }
  std::string most = "Define S (";  // S's 2^18 - 1 items and its name: one list's whole budget
  for (int i = 1; i < 1 << 18; ++i) most += "1 ";
  EXPECT_EQ(std::tuple("", "", "", "Invalid Paramater Type"),
            std::tuple(Load("Define A A; Define B (A); Define A (B B);"), Load(text.substr(0, text.find("Define Y"))),
                       Load(most + "); Define T (S);"), Load(most + "); Define T (1 S);")));
}

TEST_F(FontDescriptor, TheOlderWidthsFormat) {
  ZingTest::TempFolder folder;
  const std::string widths = folder.Path() + "/widths.txt";
  std::ofstream(widths) << "4 9\na 5 b 6\nZ 3 \xE9 1 \x8A 1 \x9C 1 \xFF 1 \xD7 1 \xFE 1 \xC0 1";
  ImageFont font(Sheet(22, 12, 0), widths);
  ASSERT_TRUE(font.IsLoaded());
  EXPECT_EQ(std::tuple(9, 12, 4 + 5 + 6 + 3), std::tuple(font.GetAscent(), font.GetHeight(), font.StringWidth(" abZ")));
  // Either case's glyph serves, in the Windows-1252 letters too; the sign × has no partner.
  std::vector<int> others;
  for (char c : std::string("Az\xC9\x9A\x8C\x9F\xDE\xE0\xF7")) others.push_back(font.CharWidth(c));
  EXPECT_EQ((std::vector<int>{5, 3, 1, 1, 1, 1, 1, 1, 0}), others);
  EXPECT_EQ(Rect(11, 0, 3, 12), font.GetFontData()->fontLayerList[0]->charData['Z'].imageRect);
  EXPECT_FALSE(ImageFont(Sheet(20, 12, 0), folder.Path() + "/none.txt").IsLoaded());
  std::ofstream(widths) << "4 9\nA 2 z 3 \xE0 4 \xF7 5 b 0";  // the other ends of the ranges
  ImageFont edges(Sheet(20, 12, 0), widths);
  EXPECT_EQ((std::vector<int>{2, 3, 4, 0}), (std::vector<int>{edges.CharWidth('a'), edges.CharWidth('Z'),
                                                              edges.CharWidth('\xC0'), edges.CharWidth('\xD7')}));
  std::ofstream(widths) << "4 9\na 50\n";  // a glyph beyond the image
  EXPECT_FALSE(ImageFont(Sheet(20, 12, 0), widths).IsLoaded());
}

TEST_F(ImageFontDraw, WidthsKerningSpacingScaleAndCopies) {
  std::fill_n(host.images["fonts/sheet.png"]->GetBits(), 64 * 16, 0xFF204060u);
  auto font = Make(
      "LayerSetPointSize Main 10; LayerSetPointSize Shadow 10; SetDefaultPointSize 10;"
      "LayerSetAscentPadding Main 2; LayerSetAscentPadding Shadow 1; LayerSetAscent Shadow 7;"
      "LayerSetLineSpacingOffset Main 1; LayerSetLineSpacingOffset Shadow 3; LayerPointRange Shadow 10 15;");
  EXPECT_EQ(std::tuple(0, 5, 5 + 6 + 7),
            std::tuple(font->StringWidth(""), font->StringWidth("a"), font->StringWidth("aab")));
  EXPECT_EQ(7, font->CharWidthKern('b', 'a'));
  // The largest ascent, height and line spacing offset of the layers, the smallest padding.
  const auto metrics = [&] {
    font->Prepare();
    return std::tuple(font->GetActiveLayers().size(), font->GetAscent(), font->GetHeight(), font->GetAscentPadding(),
                      font->GetLineSpacing());
  };
  EXPECT_EQ(std::tuple(2ul, 7, 9, 1, 9 + 3), metrics());
  font->SetPointSize(5);  // below the shadow's range; the body halves
  EXPECT_EQ(std::tuple(1ul, 3, 4, 1, 4 + 0), metrics());
  font->SetPointSize(20);  // above it; the body doubles
  EXPECT_EQ(std::tuple(1ul, 12, 18, 4, 18 + 2), metrics());
  EXPECT_EQ(std::tuple(font->GetActiveLayers()[0].ownsImage, font->CharWidth('a')), std::tuple(true, 10));
  font->forceScaledImagesWhite = true, font->SetPointSize(21);  // a scaled copy forced white keeps only its alpha
  MemoryImage& forced = *font->GetActiveLayers()[0].image;
  EXPECT_EQ(std::pair(forced.GetPixel(0, 0), forced.GetPixel(forced.GetWidth() - 1, 0)), std::pair(~0u, ~0u));
  font->SetScale(0.5);
  EXPECT_EQ(5, font->CharWidth('a'));
  std::unique_ptr<Font> copy(font->Duplicate());
  EXPECT_EQ(font->GetFontData(), static_cast<ImageFont*>(copy.get())->GetFontData());
  EXPECT_EQ(5, copy->CharWidth('a'));
}

// Every glyph stands where measuring puts its character: after the measured width of the characters
// before it and their pairing with it; the line is as wide as measured. NUL pairs with nothing
// after it; a glyph of width 0 moves nothing. Unscaled and scaled, with a mapped character.
TEST_F(ImageFontDraw, GlyphsStandWhereMeasuringPutsThem) {
  const std::string texts[] = {
      "ab", "aAbc", std::string("\0ab", 3), std::string("ab\0", 3), std::string("a\0b\0\0a", 6), "cac", "bacb"};
  for (const char* size : {"", "LayerSetPointSize M 10; SetDefaultPointSize 15;"}) {
    ASSERT_EQ("", Load(std::string("CreateLayer M; LayerSetImage M 'sheet.png'; LayerSetAscent M 6;"
                                   "LayerSetImageMap M ('a' 'b' 'c') ((0 0 4 8) (8 0 6 8) (16 0 2 8));"
                                   "LayerSetCharWidths M ('a' 'b' 'c') (5 7 0); LayerSetSpacing M 1;"
                                   "LayerSetKerningPairs M ('ab' 'ba' 'ca') (-1 3 -1); SetCharMap ('A') ('b');") +
                       size));
    ImageFont font(data);
    for (const std::string& text : texts) {
      std::vector<Rect> rects;
      int width = -1;
      font.DrawStringEx(&g, 10, 20, text, Color::White, &rects, &width);
      std::vector<int> expected, drawn;
      for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i]) expected.push_back(10 + font.StringWidth(text.substr(0, i + 1)) - font.CharWidth(text[i]));
      for (const Rect& r : rects) drawn.push_back(r.x);
      EXPECT_EQ(std::pair(expected, font.StringWidth(text)), std::pair(drawn, width)) << size << " " << text;
    }
  }
}

// Every glyph of every layer, in the order of their buckets: where, from which rectangle, in which colour and mode.
TEST_F(ImageFontDraw, GlyphsByOrderPlaceAndColour) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"", "", ""},  // first, while no line has been laid out: nothing drawn, no pen read
      // Every shadow glyph of the string comes before every body glyph.
      {"", "aab",
       "blt 11,15,4,8 src 0,0,4,8 #7f000000 blt 17,15,4,8 src 0,0,4,8 #7f000000 blt 22,15,6,8 src 8,0,6,8 #7f000000 "
       "blt 10,14,4,8 src 0,0,4,8 #ffc86432 blt 16,14,4,8 src 0,0,4,8 #ffc86432 blt 21,14,6,8 src 8,0,6,8 #ffc86432 "},
      // Body 'a' at order -500 first, shadow 'b' at 899 last.
      {"LayerSetCharOrders Main ('a') (-500); LayerSetCharOrders Shadow ('b') (900);", "ba",
       "blt 18,14,4,8 src 0,0,4,8 #ffc86432 blt 19,15,4,8 src 0,0,4,8 #7f000000 blt 10,14,6,8 src 8,0,6,8 #ffc86432 "
       "blt 11,15,6,8 src 8,0,6,8 #7f000000 "},
      // Colours brighten and darken; only the colour drawn is clamped.
      {"LayerSetColorMult Main (2 1 0.5 1); LayerSetColorAdd Main (0 -0.2 0 0);", "a",
       "blt 11,15,4,8 src 0,0,4,8 #7f000000 blt 10,14,4,8 src 0,0,4,8 #ffff3118 "},
      {"LayerSetCharOffsets Main ('b') ((2 -3)); LayerSetDrawMode Shadow 1; SetCharMap ('A') ('b');", "aA",
       "blt 11,15,4,8 src 0,0,4,8 #7f000000 m1 blt 16,15,6,8 src 8,0,6,8 #7f000000 m1 blt 10,14,4,8 src 0,0,4,8 "
       "#ffc86432 blt 17,11,6,8 src 8,0,6,8 #ffc86432 "},
      // The doubled sheet's glyph, lifted by the layer's ascent as written.
      {"LayerSetPointSize Main 10; SetDefaultPointSize 20;", "a", "blt 10,14,8,16 src 0,0,8,16 #ffc86432 "},
      {"LayerSetImageMap Main ('c') ((16 0 1 1));", "c", "blt 10,14,1,1 src 16,0,1,1 #ffc86432 "},  // ink in one pixel
      // A shadow measuring otherwise (a wider 'a', its own pairing or spacing) is measured on its own; both
      // layers' next glyph starts past the farther one.
      {"LayerSetCharWidths Shadow ('a') (9);", "ab",
       "blt 11,15,4,8 src 0,0,4,8 #7f000000 blt 20,15,6,8 src 8,0,6,8 #7f000000 blt 10,14,4,8 src 0,0,4,8 #ffc86432 "
       "blt 19,14,6,8 src 8,0,6,8 #ffc86432 "},
      {"LayerSetKerningPairs Shadow ('ab') (2);", "ab",
       "blt 11,15,4,8 src 0,0,4,8 #7f000000 blt 19,15,6,8 src 8,0,6,8 #7f000000 blt 10,14,4,8 src 0,0,4,8 #ffc86432 "
       "blt 18,14,6,8 src 8,0,6,8 #ffc86432 "},
      {"LayerSetSpacing Shadow 3;", "ab",
       "blt 11,15,4,8 src 0,0,4,8 #7f000000 blt 18,15,6,8 src 8,0,6,8 #7f000000 blt 10,14,4,8 src 0,0,4,8 #ffc86432 "
       "blt 17,14,6,8 src 8,0,6,8 #ffc86432 "},
      // Orders beyond the last bucket join it, after the one before it.
      {"LayerSetCharOrders Main ('a' 'b') (900 126);", "ab",
       "blt 11,15,4,8 src 0,0,4,8 #7f000000 blt 16,15,6,8 src 8,0,6,8 #7f000000 blt 15,14,6,8 src 8,0,6,8 #ffc86432 "
       "blt 10,14,4,8 src 0,0,4,8 #ffc86432 "},
      {"LayerSetImageMap Main ('c') ((32 0 8 8));", "c", "blt 12,17,2,3 src 34,3,2,3 #ffc86432 "},  // clear margins
      // At half size a glyph 2 by 1 or 1 by 2 has no ink; 'a' has half its own.
      {"LayerSetPointSize Main 10; SetDefaultPointSize 5; LayerSetImageMap Main ('c' 'd') ((16 0 2 1) (20 0 1 2));",
       "cda", "blt 13,15,4,8 src 0,0,4,8 #7f000000 blt 12,14,2,4 src 0,0,2,4 #ffc86432 "},
  };
  for (const auto& [extra, text, expected] : cases) {
    auto font = Make(extra);
    std::vector<Rect> rects;
    int width = -1;
    screen.calls.clear();
    font->DrawStringEx(&g, 10, 20, text, Color(200, 100, 50), &rects, &width);
    EXPECT_EQ(expected, ZingTest::Log(screen.calls)) << extra;
    EXPECT_EQ(std::pair(font->StringWidth(text), screen.calls.size()), std::pair(width, rects.size()));
    EXPECT_FALSE(g.GetColorizeImages());  // restored
  }
}

// At most 4096 glyphs of a line are drawn, character by character and layer
// by layer: of 2049 characters on two layers, the last one draws nothing. Drawn
// straight into the image, a glyph stops at the clip, wherever translated to.
TEST_F(ImageFontDraw, AtMost4096GlyphsALineNoneBeyondTheClip) {
  auto font = Make("LayerSetCharOffsets Main ('a') ((0 -1));");  // the body's top edge is the first glyph's
  MemoryImage wide = ZingTest::Solid(6 * 2049 + 8, 20, 0xFF000000);
  Graphics onWide(&wide);
  std::vector<Rect> rects;
  font->DrawStringEx(&onWide, 0, 10, std::string(2049, 'a'), Color::White, &rects, nullptr);
  EXPECT_EQ(std::tuple(4096ul, 0xFFFFFFFFu, 0xFF000000u),
            std::tuple(rects.size(), wide.GetPixel(6 * 2047 + 1, 5), wide.GetPixel(6 * 2048 + 1, 5)));
  // Drawn whole once (which makes the glyph's preset) from the image's corner, then clipped one pixel inside an
  // edge of the body (0..3, 0..7) or its shadow (1..4, 2..9): only pixels inside the clip change.
  for (const Rect& clip :
       {Rect(0, 0, 20, 20), Rect(1, 0, 20, 20), Rect(0, 1, 20, 20), Rect(0, 0, 3, 20), Rect(0, 0, 20, 7),
        Rect(2, 0, 20, 20), Rect(0, 3, 20, 20), Rect(0, 0, 4, 20), Rect(0, 0, 20, 9)}) {
    MemoryImage grey = ZingTest::Solid(20, 20, 0xFF808080);
    Graphics onGrey(&grey);
    onGrey.Translate(-1, 0), onGrey.ClipRect(clip.x + 1, clip.y, clip.w, clip.h);
    font->DrawString(&onGrey, 1, 7, "a", Color::White, onGrey.GetClipRect());
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        ASSERT_EQ(clip.Contains(x, y) && (Rect(0, 0, 4, 8).Contains(x, y) || Rect(1, 2, 4, 8).Contains(x, y)),
                  grey.GetPixel(x, y) != 0xFF808080u)
            << clip.x << "," << clip.y << "," << clip.w << " at " << x << "," << y;
  }
  // Two blocks wide, its top row inked from column 8 on, cut at the bottom: each row takes its own pixels, never
  // those on its left on the sheet (all inked).
  auto twoBlocks = Make("LayerSetImageMap Main ('c') ((32 0 16 8));");
  MemoryImage cut = ZingTest::Solid(40, 20, 0xFF808080);
  Graphics onCut(&cut);
  onCut.ClipRect(0, 0, 40, 6);
  twoBlocks->DrawString(&onCut, 21, 7, "c", Color::White, onCut.GetClipRect());
  EXPECT_EQ(std::pair(cut.GetPixel(28, 1), cut.GetPixel(29, 1)), std::pair(0xFF808080u, 0xFFFFFFFFu));
  for (int i = 0; i < 21 * 20; ++i) ASSERT_EQ(cut.GetPixel(i % 21, i / 21), 0xFF808080u) << i % 21 << "," << i / 21;
}

// A memory image of a kind of its own: text drawn onto it takes the ordinary
// blits, which the glyph presets of a plain memory image must match bit for bit.
class BlitOnlyImage : public MemoryImage {};

// Drawn with the generated default font (a body layer over a soft shadow) by
// every kernel set, unscaled and scaled, translated in whole and in half
// pixels, clipped at each edge and not at all, over a row that is not opaque.
TEST(GameFont, PresetGlyphsMatchOrdinaryBlits) {
  ZingTest::FontTestHost host;
  const char* data = std::getenv("LINTWICK_DATA_DIR");
  ImageFont font(&host, std::string(data ? data : "build/data") + "/fonts/default.txt");
  const std::string text = Platform::Utf8ToWindows1252("Wüste Ärger: Größe!");
  const std::tuple<int, int, double, std::size_t> lines[] = {// x, y, scale, characters
                                                             {-2, 14, 1, 99},
                                                             {60, 38, 1, 99},
                                                             {20, 26, 1, 5},
                                                             {100, 60, 1, 99},
                                                             {10, 30, 1.5, 8}};
  std::vector<std::uint32_t> pixels;
  for (std::uint32_t i = 0; i < 200 * 60; ++i)  // a row that is not opaque at y 30
    pixels.push_back((i / 200 == 30 ? 0x7F000000u : 0xFF000000u) | (i * 2654435761u >> 8 & 0xFFFFFF));
  for (const Blend::Kernels* kernels : {&Blend::ScalarKernels(), Blend::Sse2Kernels(), Blend::Avx2Kernels()}) {
    if (!kernels) continue;
    Blend::SetActiveKernels(kernels);
    MemoryImage fast;
    BlitOnlyImage plain;
    for (MemoryImage* image : {&fast, static_cast<MemoryImage*>(&plain)}) {
      image->SetBits(pixels.data(), 200, 60);
      image->SetImageMode(false, false);  // drawn as onto the opaque screen
      for (const float shift : {0.0f, 0.5f}) {
        Graphics g(image);
        g.Translate(-3, shift);
        g.ClipRect(0, 4, 190, 50);
        for (const auto& [x, y, scale, length] : lines) {
          font.SetScale(scale);
          for (const Color& color : {Color::White, Color(200, 40, 90), Color(255, 255, 255, 128)})
            font.DrawString(&g, x, y, text.substr(0, length), color, g.GetClipRect());
        }
        for (int at = 0; at < 16; ++at) {  // a pixel at a time over the right and the bottom edge
          font.DrawString(&g, 168 + at, 26, "W", Color::White, g.GetClipRect());
          font.DrawString(&g, 100, 36 + at, "g", Color::White, g.GetClipRect());
        }
      }
    }
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 200; ++x)
        ASSERT_EQ(plain.GetPixel(x, y), fast.GetPixel(x, y)) << kernels->name << " " << x << "," << y;
  }
  Blend::SetActiveKernels(nullptr);
}

// The closest installed face draws each inked glyph from its sheet at the pen, which moves as
// measured, in the colour given, and underlines the text. A shadow is the same pass a pixel down
// and right in black of the colour's alpha; simulated bold draws each pass again a pixel to the
// right. Without any font installed, an error naming the face, and nothing drawn.
TEST(SysFont, PassesOfTheClosestFaceOrNothing) {
  SysFont font("Arial Unicode MS", 12, false, false, true);
  ASSERT_TRUE(font.IsValid()) << font.GetError();
  EXPECT_EQ("DejaVu Sans", font.GetFaceName());
  std::string error;  // 96 pixels an inch: 60 points are an em of 80 pixels
  const auto em80 = Platform::SystemFontFace::Open("Arial Unicode MS", 80, false, false, error);
  const SysFont big("Arial Unicode MS", 60);
  EXPECT_EQ(std::pair(big.GetAscent(), big.GetHeight()), std::pair(em80->Ascent(), em80->Ascent() + em80->Descent()));
  EXPECT_TRUE(font.GetAscent() > 10 && font.GetHeight() > font.GetAscent());
  EXPECT_LT(font.CharWidth('i'), font.CharWidthKern('W', 'i'));
  const std::string text = "W\xF6r l";
  EXPECT_EQ(std::accumulate(text.begin(), text.end(), 0, [&](int sum, char c) { return sum + font.CharWidth(c); }),
            font.StringWidth(text));
  ZingTest::RecordingImage screen(200, 40);
  Graphics g(&screen);
  const Color colour(200, 100, 50, 128);
  font.DrawString(&g, 5, 25, text, colour, g.GetClipRect());
  std::vector<ZingTest::Call> pass = screen.calls;
  ASSERT_EQ(5u, pass.size());  // the space has no ink
  for (std::size_t i = 0, at = 0; i < 4; ++i, at += at == 2 ? 2 : 1) {
    const int pen = 5 + font.StringWidth(text.substr(0, at));
    EXPECT_TRUE(pass[i].rect.x >= pen - 2 && pass[i].rect.x <= pen + 3 && pass[i].color == colour) << i;
    EXPECT_TRUE(pass[i].rect.y < 25 && pass[i].rect.y + pass[i].rect.h >= 24) << i;
  }
  EXPECT_EQ(std::tuple("fill", 5, font.StringWidth(text)), std::tuple(pass[4].what, pass[4].rect.x, pass[4].rect.w));
  EXPECT_TRUE(pass[4].rect.y >= 25 && pass[4].rect.y <= 29 && pass[4].rect.h >= 1);
  std::vector<ZingTest::Call> passes;
  for (const auto& [dx, dy, c] :
       {std::tuple(1, 1, Color(0, 0, 0, 128)), {2, 1, Color(0, 0, 0, 128)}, {0, 0, colour}, {1, 0, colour}})
    for (ZingTest::Call call : pass) {
      call.rect.x += dx, call.rect.y += dy, call.color = c;
      passes.push_back(call);
    }
  font.drawShadow = font.simulateBold = true;
  screen.calls.clear();
  font.DrawString(&g, 5, 25, text, colour, g.GetClipRect());
  font.DrawString(&g, 5, 25, "", colour, g.GetClipRect());
  EXPECT_EQ(ZingTest::Log(passes), ZingTest::Log(screen.calls));
  EXPECT_EQ(std::pair(Color::Black, false), std::pair(g.GetColor(), g.GetColorizeImages()));
  screen.calls.clear();  // without an underline, the glyphs alone
  SysFont("Arial Unicode MS", 12).DrawString(&g, 5, 25, text, colour, g.GetClipRect());
  EXPECT_EQ(ZingTest::Log({pass.begin(), pass.begin() + 4}), ZingTest::Log(screen.calls));

  ZingTest::TempFolder folder;
  folder.Write("fonts.conf",
               "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + folder.Path() + "</cachedir></fontconfig>\n");
  setenv("FONTCONFIG_FILE", folder.File("fonts.conf").c_str(), 1);
  SysFont none("Arial Unicode MS", 12);
  unsetenv("FONTCONFIG_FILE");
  EXPECT_TRUE(!none.IsValid() && none.StringWidth("abc") == 0 &&
              none.GetError().find("Arial Unicode MS") != std::string::npos);
  screen.calls.clear();
  none.DrawString(&g, 0, 5, "abc", Color::White, g.GetClipRect());
  EXPECT_EQ(std::pair(0, 0ul), std::pair(std::unique_ptr<Font>(none.Duplicate())->GetHeight(), screen.calls.size()));
}

}  // namespace
