// Image fonts measured and drawn: widths, kerning and spacing, layer order
// and colours, point sizes and scaling, and the generated game font's glyph
// presets. (The generated fonts' characters are the art generator's tests'.)

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/platform/Windows1252.h"
#include "tests/graphics/FontTestHost.h"
#include "tests/graphics/RecordingImage.h"

namespace {

using namespace Zing;

constexpr char kTwoLayers[] =
    "CreateLayer Main; LayerSetImage Main 'sheet.png'; LayerSetAscent Main 6; LayerSetHeight Main 9;\n"
    "LayerSetImageMap Main ('a' 'b') ((0 0 4 8) (8 0 6 8));\n"
    "LayerSetCharWidths Main ('a' 'b') (5 7); LayerSetKerningPairs Main ('ab') (-1);\n"
    "LayerSetSpacing Main 1; LayerSetColorAdd Main (0 0 0 0);\n"
    "CreateLayerFrom Shadow Main; LayerSetColorMult Shadow (0 0 0 0.5); LayerSetOffset Shadow (1 1);\n"
    "LayerSetBaseOrder Shadow -1; LayerPointRange Shadow 0 15;\n";

class ImageFontDraw : public ::testing::Test {
 protected:
  ImageFontDraw() : screen(100, 40), g(&screen) {
    auto sheet = std::make_shared<MemoryImage>();
    sheet->Create(64, 16);
    std::fill(sheet->GetBits(), sheet->GetBits() + 64 * 16, 0xFFFFFFFFu);
    sheet->BitsChanged();
    host.images["fonts/sheet.png"] = sheet;
  }
  std::unique_ptr<ImageFont> Make(const std::string& extra = "") {
    auto data = std::make_shared<FontData>(&host);
    EXPECT_TRUE(data->LoadText("fonts/t.txt", kTwoLayers + extra)) << data->GetFullError();
    return std::make_unique<ImageFont>(data);
  }

  ZingTest::FontTestHost host;
  ZingTest::RecordingImage screen;
  Graphics g;
};

TEST_F(ImageFontDraw, WidthsKerningSpacingAndLayerOrder) {
  auto font = Make();
  EXPECT_EQ(0, font->StringWidth(""));
  EXPECT_EQ(5, font->StringWidth("a"));  // one character: no kerning, no spacing
  EXPECT_EQ(5 + 6 + 7, font->StringWidth("aab"));
  EXPECT_EQ(std::tuple(7, 6, 9), std::tuple(font->CharWidthKern('b', 'a'), font->GetAscent(), font->GetHeight()));

  std::vector<Rect> rects;
  int width = 0;
  font->DrawStringEx(&g, 10, 20, "aab", Color(200, 100, 50), &rects, &width);
  EXPECT_EQ(18, width);
  ASSERT_EQ(6u, screen.calls.size());
  // Every shadow glyph of the string comes before every body glyph.
  const int xs[] = {11, 17, 22, 10, 16, 21};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(xs[i], screen.calls[i].rect.x) << i;
    EXPECT_EQ(i < 3 ? 15 : 14, screen.calls[i].rect.y) << i;
    EXPECT_EQ(i < 3 ? Color(0, 0, 0, 127) : Color(200, 100, 50), screen.calls[i].color) << i;
  }
  EXPECT_EQ(Rect(8, 0, 6, 8), screen.calls[5].src);
  EXPECT_EQ(6u, rects.size());
  EXPECT_FALSE(g.GetColorizeImages());  // restored

  screen.calls.clear();
  font->DrawString(&g, 0, 0, "", Color::White, g.GetClipRect());
  EXPECT_TRUE(screen.calls.empty());
}

TEST_F(ImageFontDraw, OrdersBeyondTheBucketsAreClamped) {
  auto font = Make("LayerSetCharOrders Main ('a') (-500); LayerSetCharOrders Shadow ('b') (900);");
  font->DrawString(&g, 0, 10, "ba", Color::White, g.GetClipRect());
  ASSERT_EQ(4u, screen.calls.size());
  // Body 'a' at order -500 first, shadow 'b' at 899 last.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(i % 2 ? Color(0, 0, 0, 127) : Color::White, screen.calls[i].color) << i;
}

TEST_F(ImageFontDraw, PointSizesAndScaleChooseAndStretchLayers) {
  auto font = Make("LayerSetPointSize Main 10; LayerSetPointSize Shadow 10; SetDefaultPointSize 10;");
  EXPECT_EQ(10, font->GetPointSize());
  EXPECT_EQ(2u, font->GetActiveLayers().size());
  font->SetPointSize(20);  // beyond the shadow's range; the body doubles
  ASSERT_EQ(1u, font->GetActiveLayers().size());
  EXPECT_TRUE(font->GetActiveLayers()[0].ownsImage);
  EXPECT_EQ(std::pair(10, 12), std::pair(font->CharWidth('a'), font->GetAscent()));
  font->SetScale(0.5);
  EXPECT_EQ(5, font->CharWidth('a'));
  std::unique_ptr<Font> copy(font->Duplicate());
  EXPECT_EQ(font->GetFontData(), static_cast<ImageFont*>(copy.get())->GetFontData());
  EXPECT_EQ(5, copy->CharWidth('a'));
}

// The generated default font: a body layer over a soft shadow.
class GameFont : public ::testing::Test {
 protected:
  GameFont() : font(&host, ZingTest::DataDir() + "/fonts/default.txt") {}
  static std::string Cp1252(const char* utf8) { return Platform::Utf8ToWindows1252(utf8); }

  ZingTest::FontTestHost host;
  ImageFont font;
};

// A memory image of a kind of its own: text drawn onto it takes the ordinary
// blits, which the glyph presets of a plain memory image must match bit for bit.
class BlitOnlyImage : public MemoryImage {};

TEST_F(GameFont, PresetGlyphsMatchOrdinaryBlits) {
  MemoryImage fast;
  BlitOnlyImage plain;
  for (MemoryImage* image : {&fast, static_cast<MemoryImage*>(&plain)}) {
    image->Create(200, 60);
    std::uint32_t* bits = image->GetBits();
    for (int i = 0; i < 200 * 60; ++i) bits[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    for (int i = 0; i < 200; ++i) bits[200 * 30 + i] &= 0x7FFFFFFF;  // a row that is not opaque
    image->BitsChanged();
    image->CommitBits();
    image->SetImageMode(false, false);  // drawn as onto the opaque screen
    Graphics g(image);
    g.Translate(-3, 0);
    g.ClipRect(0, 4, 190, 50);
    const std::string text = Cp1252("Wüste Ärger: Größe!");
    for (const Color& color : {Color::White, Color(200, 40, 90), Color(255, 255, 255, 128)}) {
      font.DrawString(&g, -2, 14, text, color, g.GetClipRect());
      font.DrawString(&g, 60, 38, text, color, g.GetClipRect());
    }
  }
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(plain.GetPixel(x, y), fast.GetPixel(x, y)) << x << "," << y;
}

}  // namespace
