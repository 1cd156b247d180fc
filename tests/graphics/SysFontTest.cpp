// System fonts: the closest installed face renders readable text, and a
// machine without fonts gives an error the caller can show.

#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/SysFont.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Zing;

// The columns that hold ink (any pixel brighter than half) in a row range.
std::vector<bool> InkColumns(MemoryImage& image, int top, int bottom) {
  std::vector<bool> ink(static_cast<std::size_t>(image.GetWidth()));
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      if ((image.GetPixel(x, y) & 0xFF) > 128) ink[static_cast<std::size_t>(x)] = true;
  return ink;
}

TEST(SysFont, DrawsReadableTextInTheClosestFace) {
  SysFont font("Arial Unicode MS", 12, false, false, true);
  ASSERT_TRUE(font.IsValid()) << font.GetError();
  EXPECT_EQ("DejaVu Sans", font.GetFaceName());
  EXPECT_TRUE(font.GetAscent() > 10 && font.GetHeight() > font.GetAscent());
  EXPECT_LT(font.CharWidth('i'), font.CharWidth('W'));
  EXPECT_EQ(font.CharWidth('a') + font.CharWidth('b'), font.StringWidth("ab"));

  MemoryImage image;
  image.Create(200, 40);
  Graphics g(&image);
  g.SetColor(Color::Black);
  g.FillRect(0, 0, 200, 40);
  font.drawShadow = true;
  font.DrawString(&g, 5, 25, "Hello W\xF6rld", Color::White, g.GetClipRect());
  const std::vector<bool> ink = InkColumns(image, 0, 26);
  const int first = static_cast<int>(std::find(ink.begin(), ink.end(), true) - ink.begin());
  const int last = static_cast<int>(ink.rend() - std::find(ink.rbegin(), ink.rend(), true)) - 1;
  EXPECT_NEAR(5, first, 2);
  EXPECT_NEAR(5 + font.StringWidth("Hello W\xF6rld"), last, 3);
  int gaps = 0;  // letters stand apart: several blank columns inside the word
  for (int x = first; x < last; ++x) gaps += !ink[static_cast<std::size_t>(x)] && ink[static_cast<std::size_t>(x) + 1];
  EXPECT_GE(gaps, 6);
  const std::vector<bool> underline = InkColumns(image, 26, 30);  // under the whole string; the shadow below it
  EXPECT_GE(std::count(underline.begin(), underline.end(), true), font.StringWidth("Hello W\xF6rld") - 2);
  EXPECT_EQ(Color::Black, g.GetColor());
}

TEST(SysFont, NoInstalledFontIsAnErrorNotACrash) {
  ZingTest::TempFolder folder;
  folder.Write("fonts.conf",
               "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + folder.Path() + "</cachedir></fontconfig>\n");
  setenv("FONTCONFIG_FILE", folder.File("fonts.conf").c_str(), 1);
  SysFont font("Arial Unicode MS", 12);
  unsetenv("FONTCONFIG_FILE");
  EXPECT_FALSE(font.IsValid());
  EXPECT_NE(std::string::npos, font.GetError().find("Arial Unicode MS"));
  EXPECT_EQ(0, font.StringWidth("abc"));
  MemoryImage image;
  image.Create(10, 10);
  Graphics g(&image);
  font.DrawString(&g, 0, 5, "abc", Color::White, g.GetClipRect());
  std::unique_ptr<Font> copy(font.Duplicate());
  EXPECT_EQ(0, copy->GetHeight());
}

}  // namespace
