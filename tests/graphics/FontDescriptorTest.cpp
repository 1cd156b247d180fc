// The font descriptor language: commands over several lines, quotes,
// defines, every command's effect, the documented error texts with their
// header and location, hostile descriptors, and the older widths format.

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "tests/graphics/FontTestHost.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Zing;

std::shared_ptr<MemoryImage> Sheet(int w, int h) {
  auto image = std::make_shared<MemoryImage>();
  image->Create(w, h);
  return image;
}

class FontDescriptor : public ::testing::Test {
 protected:
  FontDescriptor() { host.images["fonts/sheet.png"] = Sheet(64, 16); }

  // Loads `text` as fonts/test.txt; the error message alone, "" when clean.
  std::string Load(const std::string& text) {
    data = std::make_shared<FontData>(&host);
    data->LoadText("fonts/test.txt", text);
    return data->GetErrorText();
  }

  ZingTest::FontTestHost host;
  std::shared_ptr<FontData> data;
};

TEST_F(FontDescriptor, CommandsSpanLinesAndDefinesAreCaseInsensitive) {
  EXPECT_EQ("Unknown Command", Load("# a comment\n  define Foo 'a';"));  // command names are exact

  ASSERT_EQ("", Load("SetDefaultPointSize\n  # inside the command\n  12;\n"
                     "Define Foo 'a';\n"
                     "Define Bar (Foo, 'b' \"c\" -3);\n"
                     "Define Copy FOO;\n"
                     "CreateHorzSpanRectList Spans (10 2 0 7) (3 4 5);\n"
                     "CreateLayer Main; CreateLayerFrom Shadow main;\n"
                     "LayerSetImage MAIN 'sheet.png';\n"
                     "LayerSetImageMap Main (foo 'b' 'c') Spans;\n"
                     "LayerSetCharWidths Main ('a' 'b' '\\'' \"'\") (5 6 7 0x8);\n"
                     "LayerSetKerningPairs Main ('ab' 'ba') (-2 1);\n"
                     "SetCharMap ('A') ('a');\n"
                     "LayerSetColorMult Main (1.0 0.5 0 1); LayerSetColorAdd Main 0x00A0bFC0;\n"
                     "LayerSetOffset Shadow (1 -1); LayerSetBaseOrder Shadow -1;\n"
                     "LayerRequireTags Shadow ('Glow'); LayerExcludeTags Main ('dim');\n"));
  EXPECT_TRUE(data->initialized);
  EXPECT_EQ(12, data->defaultPointSize);
  ImageFont font(data);
  EXPECT_EQ("'a'", font.GetDefine("foo"));  // a single value as it was written
  EXPECT_EQ("'a'", font.GetDefine("COPY"));
  EXPECT_EQ("(a, b, c, -3)", font.GetDefine("bar"));
  EXPECT_EQ("", font.GetDefine("nothing"));
  const FontLayer& main = *data->FindLayer("main");
  EXPECT_EQ(std::tuple(Rect(10, 2, 3, 7), Rect(13, 2, 4, 7), Rect(17, 2, 5, 7)),
            std::tuple(main.charData['a'].imageRect, main.charData['b'].imageRect, main.charData['c'].imageRect));
  EXPECT_EQ(7, main.defaultHeight);
  EXPECT_EQ(8, main.charData['\''].width);  // the later item for the same character wins
  EXPECT_EQ(-2, main.charData['a'].kerningOffsets['b']);
  EXPECT_EQ('a', data->charMap['A']);
  EXPECT_EQ(Color(255, 127, 0, 255), main.colorMult);
  EXPECT_EQ(Color(0xA0, 0xBF, 0xC0, 255), main.colorAdd);  // hex digits in either case
  const FontLayer& shadow = *data->FindLayer("SHADOW");
  EXPECT_EQ(0, shadow.charData['a'].width);  // copied before the widths were set
  EXPECT_EQ(std::vector<std::string>{"GLOW"}, shadow.requiredTags);
  EXPECT_EQ(std::vector<std::string>{"DIM"}, main.excludedTags);

  // The font picks its layers by tag: Shadow only with GLOW, Main never with DIM.
  EXPECT_EQ(1u, font.GetActiveLayers().size());
  EXPECT_TRUE(font.AddTag("glow"));
  EXPECT_FALSE(font.AddTag("GLOW"));
  EXPECT_EQ(2u, font.GetActiveLayers().size());
  font.AddTag("Dim");
  EXPECT_EQ(1u, font.GetActiveLayers().size());
  EXPECT_TRUE(font.RemoveTag("dim"));
  EXPECT_FALSE(font.RemoveTag("dim"));
  EXPECT_EQ(2u, font.GetActiveLayers().size());
}

TEST_F(FontDescriptor, ErrorsCarryTheirTextHeaderAndLocation) {
  const std::string layer = "CreateLayer L; LayerSetImage L 'sheet.png';\n";
  const std::pair<std::string, std::string> cases[] = {
      {"(a) b;", "Missing Command"},
      {"Frobnicate;", "Unknown Command"},
      {"CreateLayer;", "Invalid Number of Parameters"},
      {"CreateLayer A; CreateLayer a;", "Layer Already Exists"},
      {"LayerSetAscent Nope 3;", "Undefined Layer"},
      {layer + "LayerSetAscent L 0x;", "Invalid Paramater Type"},
      {layer + "LayerSetAscent L -0x10;", "Invalid Paramater Type"},
      {layer + "LayerSetAscent L 99999999999;", "Invalid Paramater Type"},
      {layer + "LayerSetAscent L 2147483648;", "Invalid Paramater Type"},
      {layer + "LayerSetColorMult L (1 '.' 1 1);", "Invalid Paramater Type"},
      {layer + "LayerSetImageMap L ('a') ((0 8 5 -2));", "Image rectangle out of bounds"},
      {layer + "LayerSetDrawMode L 2;", "Invalid Paramater Type"},
      {layer + "LayerSetOffset L (1 2 3);", "Invalid Paramater Type"},
      {layer + "LayerSetCharWidths L ('a' 'b') (1);", "List Size Mismatch"},
      {layer + "LayerSetCharWidths L ('ab' 'b') (1 2);", "Invalid Paramater Type"},
      {layer + "LayerSetKerningPairs L ('a') (1);", "Invalid Paramater Type"},
      {layer + "LayerSetImageMap L ('a') ((60 0 5 16));", "Image rectangle out of bounds"},
      {layer + "LayerSetImageMap L ('a') ((2147483647 0 5 16));", "Image rectangle out of bounds"},
      {"CreateLayer L; LayerSetImageMap L ('a') ((0 0 1 1));", "Layer image not set"},
      {"CreateLayer L; LayerSetImage L 'missing.png';", "Failed to Load Image"},
      {"Define X (a b;", "Unterminated List"},
      {"Define X a);", "Unexpected List End"},
      {"Define X a(b);", "Unexpected List Start"},
      {"Define X 'a;", "Unterminated Single Quotes"},
      {"Define X \"a;", "Unterminated Double Quotes"},
      {"Define X (a nowhere);", "Unable to Dereference \"a\""},
      {"Define 3 x;", "Invalid Paramater Type"},
      {layer + "LayerSetAscent L 0x1G;", "Invalid Paramater Type"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(message, Load(text)) << text;
  EXPECT_EQ("", Load(layer + "LayerSetAscent L -2147483648;"));
  // The first failure stops the rest; the full text names the file, line and command.
  host.errors.clear();
  Load("CreateLayer L;\n\nLayerSetDrawMode\n  L 2;\nCreateLayer L;");
  EXPECT_EQ("Font Descriptor Error in fonts/test.txt\r\nInvalid Paramater Type on Line 3:\r\n\r\nLayerSetDrawMode\nL 2",
            data->GetFullError());
  ASSERT_EQ(1u, host.errors.size());
  EXPECT_EQ(data->GetFullError(), host.errors[0]);
  ImageFont failed(data);
  EXPECT_FALSE(failed.IsLoaded());
  EXPECT_EQ(0, failed.StringWidth("abc"));
}

TEST_F(FontDescriptor, HostileDescriptorsAreBounded) {
  // Defines that double at every step stop at the size limit instead of
  // exhausting memory; a define naming itself does not loop.
  std::string doubling = "Define L0 (1 1);\n";
  for (int i = 1; i < 40; ++i)
    doubling += "Define L" + std::to_string(i) + " (L" + std::to_string(i - 1) + " L" + std::to_string(i - 1) + ");\n";
  EXPECT_EQ("Invalid Paramater Type", Load(doubling));
  EXPECT_EQ("", Load("Define A A; Define B (A); Define A (B B);"));
  EXPECT_EQ("Unexpected List Start", Load("Define X " + std::string(10000, '(') + ";"));
  // A point size far from the layer's makes no giant scaled image.
  ASSERT_EQ("", Load("SetDefaultPointSize 2000000000; CreateLayer L; LayerSetPointSize L 1;"
                     "LayerSetImage L 'sheet.png'; LayerSetImageMap L ('a') ((0 0 8 8));"
                     "LayerSetCharWidths L ('a') (2000000000);"));
  ImageFont font(data);
  EXPECT_GE(font.StringWidth("aaaa"), 0);
  MemoryImage screen;
  screen.Create(32, 32);
  Graphics g(&screen);
  font.DrawString(&g, 0, 10, "aaaa", Color::White, g.GetClipRect());
}

TEST_F(FontDescriptor, TheOlderWidthsFormat) {
  ZingTest::TempFolder folder;
  const std::string widths = folder.Path() + "/widths.txt";
  std::ofstream(widths) << "4 9\na 5 b 6\nZ 3\n";
  ImageFont font(Sheet(20, 12), widths);
  ASSERT_TRUE(font.IsLoaded());
  EXPECT_EQ(std::pair(9, 12), std::pair(font.GetAscent(), font.GetHeight()));
  EXPECT_EQ(4 + 5 + 6 + 3, font.StringWidth(" abZ"));
  EXPECT_EQ(std::pair(5, 3), std::pair(font.CharWidth('A'), font.CharWidth('z')));  // either case's glyph serves
  EXPECT_EQ(Rect(11, 0, 3, 12), font.GetFontData()->fontLayerList[0]->charData['Z'].imageRect);
  ImageFont missing(Sheet(20, 12), folder.Path() + "/none.txt");
  EXPECT_FALSE(missing.IsLoaded());
  std::ofstream(widths) << "4 9\na 50\n";  // a glyph beyond the image
  EXPECT_FALSE(ImageFont(Sheet(20, 12), widths).IsLoaded());
}

}  // namespace
