// The generated font descriptors, read by the game's own font reader: they
// read cleanly, every glyph rectangle lies on its sheet, they carry every
// character the game's texts use with a width, and the default font draws a
// shadow under its body.
#include <gtest/gtest.h>

#include "framework/graphics/FontData.h"
#include "tests/artgen/DataFiles.h"
#include "tests/graphics/FontTestHost.h"

namespace ArtTest {
namespace {

TEST(FontDescriptor, ReadCleanlyWithEveryCharacterOfTheTextsOnTheSheets) {
  std::vector<unsigned char> needed;
  for (int c = 33; c < 127; ++c) needed.push_back(static_cast<unsigned char>(c));
  // é è ç à ô Ä Ö Ü ä ö ü ß in Windows-1252.
  for (unsigned char c : {0xE9, 0xE8, 0xE7, 0xE0, 0xF4, 0xC4, 0xD6, 0xDC, 0xE4, 0xF6, 0xFC, 0xDF}) needed.push_back(c);
  int fonts = 0;
  for (const auto& d : ReadManifest()) {
    if (d.kind != "Font") continue;
    ++fonts;
    ZingTest::FontTestHost host;
    Zing::FontData data(&host);
    ASSERT_TRUE(data.Load(OnDisk(d.path))) << d.id << ": " << data.GetFullError();
    EXPECT_TRUE(host.errors.empty()) << d.id;
    const Zing::FontLayer* main = data.FindLayer("Main");
    ASSERT_NE(main, nullptr) << d.id;
    for (const auto& layer : data.fontLayerList) {
      ASSERT_NE(layer->image, nullptr) << d.id;
      for (const Zing::CharData& glyph : layer->charData) {
        const Zing::Rect& r = glyph.imageRect;
        EXPECT_TRUE(r.IsEmpty() || (r.x >= 0 && r.y >= 0 && r.x + r.w <= layer->image->GetWidth() &&
                                    r.y + r.h <= layer->image->GetHeight()))
            << d.id;
      }
    }
    EXPECT_GT(main->charData[' '].width, 0) << d.id;
    for (unsigned char c : needed) {
      EXPECT_FALSE(main->charData[c].imageRect.IsEmpty()) << d.id << " lacks character " << int(c);
      EXPECT_GT(main->charData[c].width, 0) << d.id << " has no width for " << int(c);
    }
    if (d.id != "FONT_DEFAULT") continue;
    const Zing::FontLayer* shadow = data.FindLayer("Shadow");
    ASSERT_NE(shadow, nullptr);
    EXPECT_LT(shadow->baseOrder, main->baseOrder);
    EXPECT_TRUE(main->height >= 13 && main->height <= 18) << main->height;
  }
  EXPECT_EQ(fonts, 2);
}

}  // namespace
}  // namespace ArtTest
