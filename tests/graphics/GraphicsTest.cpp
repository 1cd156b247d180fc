// Graphics: its drawing state, the geometry of what it draws, and its text,
// with a fixed-width font that records what it is asked to draw.

#include "framework/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "tests/graphics/Pixels.h"
#include "tests/graphics/RecordingImage.h"

namespace {

using namespace Zing;
using ZingTest::RecordingImage;
using ZingTest::Solid;
using Texts = std::vector<std::string>;
using Colours = std::vector<Color>;

// Each pixel names its own coordinates: 0xFF00XXYY.
MemoryImage Coordinates(int w, int h) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(x << 8 | y));
  return ZingTest::FromPixels(pixels, w, h);
}

TEST(Graphics, WithoutAnImageOrAFontNothingIsDrawn) {
  Graphics g;
  EXPECT_EQ(Rect(0, 0, 0, 0), g.GetClipRect());
  MemoryImage source = Solid(4, 4, 0xFF000000);
  g.FillRect(0, 0, 10, 10);
  g.DrawImage(&source, 0, 0);
  g.DrawLine(0, 0, 5, 5);
  g.DrawString("text", 0, 0);
  EXPECT_EQ(0, g.WriteString("text", 0, 0));
  RecordingImage image(20, 20);
  Graphics h(&image);
  h.DrawString("hello", 1, 1);
  EXPECT_EQ(0, h.WriteWordWrapped(Rect(0, 0, 10, 10), "hello"));
  EXPECT_TRUE(image.calls.empty());
}

TEST(Graphics, StateStackAndCopies) {
  MemoryImage image = Solid(20, 20, 0xFF000000);
  Graphics g(&image);
  EXPECT_EQ(Rect(0, 0, 20, 20), g.GetClipRect());
  EXPECT_EQ(Color(0, 0, 0, 255), g.GetColor());
  g.PopState();  // nothing saved: nothing happens
  g.SetColor(Color(1, 2, 3, 4));
  g.PushState();
  g.Translate(5, 6);
  g.ClipRect(0, 0, 4, 4);
  g.SetColor(Color::White);
  g.SetDrawMode(1);
  std::unique_ptr<Graphics> copy = g.Create();
  copy->PopState();  // a copy has no saved states of its own
  EXPECT_EQ(std::tuple(Rect(5, 6, 4, 4), 1, Color::White),
            std::tuple(copy->GetClipRect(), copy->GetDrawMode(), copy->GetColor()));
  g.PopState();
  EXPECT_EQ(std::tuple(Rect(0, 0, 20, 20), Color(1, 2, 3, 4), 0.0f, 0),
            std::tuple(g.GetClipRect(), g.GetColor(), g.transX, g.GetDrawMode()));
}

TEST(Graphics, OutlinesCoverBothEndsAndAreClippedAsEdges) {
  MemoryImage canvas = Solid(12, 12, 0xFF000000);
  Graphics real(&canvas);
  real.SetColor(Color::White);
  real.DrawRect(0, 0, 9, 9);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool edge = x <= 9 && y <= 9 && (x == 0 || y == 0 || x == 9 || y == 9);
      ASSERT_EQ(edge ? 0xFFFFFFFFu : 0xFF000000u, canvas.GetPixel(x, y)) << x << "," << y;
    }
  }
  RecordingImage image(20, 20);
  Graphics g(&image);
  g.DrawRect(2, 2, 5, 5);
  ASSERT_EQ(1u, image.calls.size());
  EXPECT_EQ(std::pair(std::string("outline"), Rect(2, 2, 5, 5)), std::pair(image.calls[0].what, image.calls[0].rect));
  image.calls.clear();
  g.ClipRect(0, 0, 6, 20);
  g.DrawRect(2, 2, 5, 5);  // its right edge at x 7 lies outside
  ASSERT_EQ(3u, image.calls.size());
  EXPECT_EQ(std::tuple(Rect(2, 2, 4, 1), Rect(2, 7, 4, 1), Rect(2, 3, 1, 4)),
            std::tuple(image.calls[0].rect, image.calls[1].rect, image.calls[2].rect));
  image.calls.clear();
  g.SetColor(Color(9, 9, 9, 0));
  g.DrawRect(2, 2, 1, 1);
  g.FillRect(2, 2, 1, 1);
  EXPECT_TRUE(image.calls.empty());
}

TEST(Graphics, FillIsTranslatedTowardZeroAndClippedAtEveryEdge) {
  RecordingImage image(20, 20);
  Graphics g(&image);
  g.Translate(1.7f, -0.5f);
  g.FillRect(0, 0, 2, 2);
  EXPECT_EQ(Rect(1, 0, 2, 2), image.calls.back().rect);
  g.Translate(-3.2f, 0.0f);  // -1.5 truncates to -1, not -2
  g.FillRect(0, 5, 4, 1);
  EXPECT_EQ(Rect(0, 4, 3, 1), image.calls.back().rect);  // -1 clipped at the left edge
  Graphics lost(&image);
  lost.Translate(NAN, 1.0f);  // a place that is no number counts as 0
  lost.FillRect(1, 1, 2, 2);
  EXPECT_EQ(Rect(0, 2, 2, 2), image.calls.back().rect);

  Graphics h(&image);
  image.calls.clear();
  h.ClipRect(2, 3, 10, 10);
  h.FillRect(-5, -5, 100, 100);
  h.FillRect(11, 12, 5, 5);
  h.FillRect(12, 3, 5, 5);  // wholly right of the clip
  h.FillRect(2, 13, 5, 5);  // wholly below
  ASSERT_EQ(2u, image.calls.size());
  EXPECT_EQ(std::pair(Rect(2, 3, 10, 10), Rect(11, 12, 1, 1)), std::pair(image.calls[0].rect, image.calls[1].rect));
}

TEST(Graphics, ImagesAreClippedAtEveryEdgeAndColouredOnlyWhenAsked) {
  RecordingImage image(20, 20);
  MemoryImage source = Solid(10, 10, 0xFF000000);
  Graphics g(&image);
  g.SetColor(Color(10, 20, 30, 40));
  const auto last = [&] { return std::pair(image.calls.back().rect, image.calls.back().src); };
  g.DrawImage(&source, -3, -4);
  EXPECT_EQ(std::pair(Rect(0, 0, 7, 6), Rect(3, 4, 7, 6)), last());
  EXPECT_EQ(Color::White, image.calls.back().color);
  g.DrawImage(&source, 15, 17);
  EXPECT_EQ(std::pair(Rect(15, 17, 5, 3), Rect(0, 0, 5, 3)), last());
  g.DrawImage(&source, 5, 5, Rect(2, 3, 4, 4));
  EXPECT_EQ(std::pair(Rect(5, 5, 4, 4), Rect(2, 3, 4, 4)), last());
  const std::size_t count = image.calls.size();
  g.DrawImage(&source, 20, 0);                     // just right of the image
  g.DrawImage(&source, 0, -10);                    // just above
  g.DrawImage(&source, 0, 0, Rect(1, 0, 10, 10));  // one pixel past the source edge
  g.DrawImage(&source, 0, 0, Rect(0, 7, 10, 4));   // one pixel past the bottom
  g.DrawImage(&source, 0, 0, Rect(-1, 0, 5, 5));   // left of the source
  g.DrawImage(nullptr, 0, 0);
  EXPECT_EQ(count, image.calls.size());
  g.SetColorizeImages(true);
  g.DrawImage(&source, 0, 0);
  EXPECT_EQ(Color(10, 20, 30, 40), image.calls.back().color);
}

TEST(Graphics, ScaleWithOrigin) {
  RecordingImage image(100, 100);
  MemoryImage source = Solid(10, 10, 0xFF000000);
  Graphics g(&image);
  g.SetScale(2.0f, 2.0f, 0.0f, 0.0f);
  g.DrawImage(&source, 3, 3);
  EXPECT_EQ(std::pair(std::string("stretch"), Rect(6, 6, 20, 20)),  // covers 6..25
            std::pair(image.calls.back().what, image.calls.back().rect));
  g.SetScale(2.0f, 0.5f, 5.0f, 5.0f);
  g.DrawImage(&source, 3, 3, Rect(0, 0, 3, 3));
  // x = floor((3 - 5) * 2) + 5 = 1, y = floor((3 - 5) * 0.5) + 5 = 4; w = 6, h = ceil(1.5) = 2.
  EXPECT_EQ(Rect(1, 4, 6, 2), image.calls.back().rect);
  g.DrawImage(&source, Rect(1, 2, 30, 40), Rect(0, 0, 10, 10));
  EXPECT_EQ(Rect(1, 2, 30, 40), image.calls.back().rect);

  MemoryImage canvas = Solid(30, 30, 0xFF000000);
  MemoryImage white = Solid(10, 10, 0xFFFFFFFF);
  Graphics real(&canvas);
  real.SetScale(2.0f, 2.0f, 0.0f, 0.0f);
  real.SetFastStretch(true);
  real.DrawImage(&white, 3, 3);
  for (int i : {5, 6, 25, 26}) EXPECT_EQ(i == 5 || i == 26 ? 0xFF000000u : 0xFFFFFFFFu, canvas.GetPixel(i, i)) << i;
}

TEST(Graphics, CelsByNumberAndByColumnAndRow) {
  RecordingImage image(100, 100);
  MemoryImage sheet = Solid(30, 20, 0xFF000000);
  sheet.numCols = 3;
  sheet.numRows = 2;
  Graphics g(&image);
  g.DrawImageCel(&sheet, 0, 0, 4);
  EXPECT_EQ(Rect(10, 10, 10, 10), image.calls.back().src);
  g.DrawImageCel(&sheet, 0, 0, 2, 0);
  EXPECT_EQ(Rect(20, 0, 10, 10), image.calls.back().src);
  const std::size_t count = image.calls.size();
  g.DrawImageCel(&sheet, 0, 0, -1);
  g.DrawImageCel(&sheet, 0, 0, 6);
  g.DrawImageCel(&sheet, 0, 0, 3, 0);
  g.DrawImageCel(&sheet, 0, 0, 0, 2);
  g.DrawImageCel(&sheet, 0, 0, -1, 0);
  EXPECT_EQ(count, image.calls.size());
}

// Which source pixel a nine-piece frame shows at destination offset `d` of
// `destSize`, for a source `srcSize` long.
int NinePieceSource(int d, int destSize, int srcSize) {
  const int corner = srcSize / 3, middle = srcSize - 2 * corner;
  if (d < corner) return d;
  if (d >= destSize - corner) return srcSize - (destSize - d);
  return corner + (d - corner) % middle;
}

TEST(Graphics, NinePieceFramesOfOddSizes) {
  for (const auto& [sw, sh, dw, dh] : std::vector<std::array<int, 4>>{
           {7, 5, 12, 8}, {9, 9, 31, 17}, {5, 4, 3, 3}, {3, 3, 4, 7}, {10, 7, 10, 7}, {2, 2, 9, 5}}) {
    MemoryImage source = Coordinates(sw, sh);
    MemoryImage canvas = Solid(40, 30, 0xFF123456);
    Graphics g(&canvas);
    g.Translate(2, 1);
    g.DrawImageBox(Rect(1, 2, dw, dh), &source);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        const int dx = x - 3, dy = y - 3;
        std::uint32_t expected = 0xFF123456;
        if (dx >= 0 && dy >= 0 && dx < dw && dy < dh) {
          expected =
              0xFF000000u | static_cast<std::uint32_t>(NinePieceSource(dx, dw, sw) << 8 | NinePieceSource(dy, dh, sh));
        }
        ASSERT_EQ(expected, canvas.GetPixel(x, y))
            << sw << "x" << sh << " in " << dw << "x" << dh << " at " << x << "," << y;
      }
    }
  }
  RecordingImage image(10, 10);
  MemoryImage source = Coordinates(3, 3);
  Graphics g(&image);
  g.DrawImageBox(Rect(0, 0, 0, 3), Rect(0, 0, 9, 9), &source);  // empty source: nothing
  EXPECT_TRUE(image.calls.empty());
}

TEST(Graphics, LinesAreClippedAtEveryEdge) {
  RecordingImage image(20, 20);
  Graphics g(&image);
  g.ClipRect(0, 0, 10, 10);
  const std::array<double, 4> cases[][2] = {
      {{-5, 5, 15, 5}, {0, 5, 9, 5}},
      {{5, 20, 5, -10}, {5, 9, 5, 0}},
      {{-10, -10, 20, 20}, {0, 0, 9, 9}},
      {{0, 0, 20, 10}, {0, 0, 9, 4.5}},
      {{4, -2, 2, 2}, {3, 0, 2, 2}},  // clipped at the top only
      {{-5, -5, -1, 20}, {}},
      {{10, 0, 12, 9}, {}},
      {{0, -1, 9, -5}, {}},
      {{0, 10, 9, 12}, {}},
      {{-6, 0, 0, -6}, {}},  // wholly outside, or across the corner outside
  };
  for (const auto& [line, expected] : cases) {
    image.calls.clear();
    g.DrawLine(static_cast<int>(line[0]), static_cast<int>(line[1]), static_cast<int>(line[2]),
               static_cast<int>(line[3]));
    const bool none = expected == std::array<double, 4>{};
    ASSERT_EQ(none ? 0u : 1u, image.calls.size()) << line[0] << "," << line[1];
    for (int i = 0; i < 4 && !none; ++i) EXPECT_DOUBLE_EQ(expected[i], image.calls[0].line[i]) << line[0];
  }
  g.Translate(2.9f, 0.0f);
  g.DrawLine(0, 1, 3, 1);
  EXPECT_EQ((std::vector<double>{2, 1, 5, 1}),
            std::vector<double>(image.calls.back().line, image.calls.back().line + 4));
}

// Every character is 6 pixels wide; ascent 8, height 10, ascent padding 1,
// line spacing 12. Records the strings it is asked to draw.
class FixedFont : public Font {
 public:
  FixedFont() {
    ascent = 8;
    height = 10;
    ascentPadding = 1;
    lineSpacingOffset = 2;
  }
  int StringWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
  void DrawString(Graphics*, int x, int y, const std::string& text, const Color& color, const Rect&) override {
    drawn.push_back({text, x, y, color});
  }
  Font* Duplicate() const override { return new FixedFont(*this); }

  struct Drawn {
    std::string text;
    int x;
    int y;
    Color color;
  };
  std::vector<Drawn> drawn;
};

class GraphicsText : public ::testing::Test {
 protected:
  GraphicsText() : image(200, 200), g(&image) {
    g.SetFont(&font);
    g.SetColor(Color(10, 20, 30, 200));
  }
  // What the font drew since the last call.
  Texts Drawn() {
    Texts out;
    for (const auto& d : font.drawn) out.push_back(d.text);
    font.drawn.clear();
    return out;
  }
  Colours DrawnColours() const {
    Colours out;
    for (const auto& d : font.drawn) out.push_back(d.color);
    return out;
  }

  ZingTest::RecordingImage image;
  Graphics g;
  FixedFont font;
};

TEST_F(GraphicsText, ColourCodesOldColourAndCarets) {
  EXPECT_EQ(30, g.WriteString("hello", 4, 9));
  ASSERT_EQ(1u, font.drawn.size());
  EXPECT_EQ(std::tuple(4, 9, Color(10, 20, 30, 200)),
            std::tuple(font.drawn[0].x, font.drawn[0].y, font.drawn[0].color));
  font.drawn.clear();

  EXPECT_EQ(36, g.WriteString("^FF0000^red^oldclr^old", 0, 0, -1, -1, true, 0, -1, 0x00FF00));
  ASSERT_EQ((Colours{Color(255, 0, 0, 200), Color(0, 255, 0, 200)}), DrawnColours());  // the alpha stays
  EXPECT_EQ(18, font.drawn.back().x);
  EXPECT_EQ((Texts{"red", "old"}), Drawn());
  EXPECT_EQ(Color(10, 20, 30, 200), g.GetColor());  // the caller's colour is back afterwards

  g.WriteString("a^00ff00^b^oldclr^c", 0, 0);  // the old colour defaults to the starting one
  EXPECT_EQ((Colours{Color(10, 20, 30, 200), Color(0, 255, 0, 200), Color(10, 20, 30, 200)}), DrawnColours());
  EXPECT_EQ((Texts{"a", "b", "c"}), Drawn());
  g.WriteString("^zF0g1x^x^o12345^y", 0, 0);  // non-hex digits count as 0, "o" without "oldclr" too
  EXPECT_EQ((Colours{Color(0x0F, 0x00, 0x10, 200), Color(0x01, 0x23, 0x45, 200)}), DrawnColours());
  EXPECT_EQ((Texts{"x", "y"}), Drawn());

  EXPECT_EQ(18, g.WriteString("a^^b", 0, 0));
  EXPECT_EQ(Texts{"a^b"}, Drawn());
  EXPECT_EQ(18, g.WriteString("abc^12", 0, 0));  // a code cut off ends the text
  EXPECT_EQ(Texts{"abc"}, Drawn());
  EXPECT_EQ(0, g.WriteString("^1234567", 0, 0));
  EXPECT_EQ(Texts{}, Drawn());
  g.SetWriteColoredString(false);
  EXPECT_EQ(6 * 11, g.WriteString("^FF0000^red", 0, 0));
  EXPECT_EQ(Texts{"^FF0000^red"}, Drawn());
}

TEST_F(GraphicsText, JustificationAndParts) {
  g.WriteString("abcd", 10, 0, 100, Graphics::kJustifyCenter);
  EXPECT_EQ(10 + 38, font.drawn.back().x);
  g.WriteString("abcd", 10, 0, 100, Graphics::kJustifyRight);
  EXPECT_EQ(10 + 76, font.drawn.back().x);
  g.WriteString("^FF0000^abcd", 10, 0, 100, Graphics::kJustifyRight);  // codes have no width
  EXPECT_EQ(10 + 76, font.drawn.back().x);
  for (const auto& [length, part] : {std::pair{2, "cd"}, {-1, "cdef"}}) {
    EXPECT_EQ(6 * static_cast<int>(std::string(part).size()), g.WriteString("abcdef", 0, 0, -1, -1, true, 2, length));
    EXPECT_EQ(part, font.drawn.back().text);
  }
  EXPECT_EQ(0, g.WriteString("abc", 0, 0, -1, -1, true, 9, 4));
  const std::size_t count = font.drawn.size();
  EXPECT_EQ(18, g.WriteString("abc", 0, 0, 50, Graphics::kJustifyCenter, false));
  EXPECT_EQ(count, font.drawn.size());
  font.drawn.clear();
  g.WriteWordWrapped(Rect(5, 0, 30, 100), "a bb", -1, Graphics::kJustifyRight);
  ASSERT_EQ(1u, font.drawn.size());
  EXPECT_EQ(5 + 30 - 24, font.drawn[0].x);
}

TEST_F(GraphicsText, WrapsAtSpacesInsideLongWordsAndAtLineFeeds) {
  // Five characters per line of 30 pixels; first baseline at 8 - 1 = 7, then every 12.
  EXPECT_EQ(7 + 24 + 2, g.WriteWordWrapped(Rect(0, 0, 30, 100), "aaa bbb ccc"));
  EXPECT_EQ(std::pair(7, 31), std::pair(font.drawn[0].y, font.drawn[2].y));
  EXPECT_EQ((Texts{"aaa", "bbb", "ccc"}), Drawn());
  // The line breaks at the last space that fitted; the spaces after it go.
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "aaa    bbb");
  EXPECT_EQ((Texts{"aaa  ", "bbb"}), Drawn());
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "aaaa    b");
  EXPECT_EQ((Texts{"aaaa ", "b"}), Drawn());
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "abcdefghijkl");
  EXPECT_EQ((Texts{"abcde", "fghij", "kl"}), Drawn());
  g.WriteWordWrapped(Rect(0, 0, 3, 100), "abc");  // every line holds one character at least
  EXPECT_EQ((Texts{"a", "b", "c"}), Drawn());
  EXPECT_EQ(7 + 36 + 2, g.WriteWordWrapped(Rect(0, 0, 100, 100), "ab\ncd\n\nef"));
  EXPECT_EQ(43, font.drawn[2].y);
  EXPECT_EQ((Texts{"ab", "cd", "ef"}), Drawn());  // the empty line draws nothing
}

TEST_F(GraphicsText, WrappedCodesMeasureNothingAndTheColourCarriesOver) {
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "^FF0000^aaa^^ bbb");
  EXPECT_EQ((Colours{Color(255, 0, 0, 200), Color(255, 0, 0, 200)}), DrawnColours());
  EXPECT_EQ((Texts{"aaa^", "bbb"}), Drawn());
  EXPECT_EQ(Color(10, 20, 30, 200), g.GetColor());
  g.SetColor(Color::White);  // opaque white is a valid old colour
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "^FF0000^a ^oldclr^bbbbb");
  EXPECT_EQ((Colours{Color(255, 0, 0, 255), Color::White}), DrawnColours());
}

TEST_F(GraphicsText, LinesOutsideTheClipAreNotDrawn) {
  g.ClipRect(0, 0, 200, 20);
  // Baselines 7, 19, 31, 43, 55: drawn while below 20 + 12.
  EXPECT_EQ(55 + 2, g.WriteWordWrapped(Rect(0, 0, 6, 200), "abcde", 12));
  EXPECT_EQ((Texts{"a", "b", "c"}), Drawn());
  g.Translate(0, -40);  // now baselines -33 .. 15 on the destination
  g.WriteWordWrapped(Rect(0, 0, 6, 200), "abcde", 12);
  EXPECT_EQ((Texts{"c", "d", "e"}), Drawn());
}

}  // namespace
