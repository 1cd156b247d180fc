// Graphics: its drawing state, the geometry of what it draws, and its text,
// with a fixed-width font that records what it is asked to draw.

#include "framework/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <sstream>
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

// The calls an image received, as text: rectangles as x,y,w,h; images with
// their source and colour; lines with their ends.
std::string Log(const std::vector<ZingTest::Call>& calls) {
  std::ostringstream out;
  for (const ZingTest::Call& c : calls) {
    const bool image = c.what != "fill" && c.what != "outline" && c.what != "clear" && c.what != "line";
    out << c.what << ' ';
    if (c.what == "line" || c.what == "rotated")
      out << c.line[0] << ',' << c.line[1] << ',' << c.line[2] << ',' << c.line[3] << ' ';
    if (c.what != "line") out << c.rect.x << ',' << c.rect.y << ',' << c.rect.w << ',' << c.rect.h << ' ';
    if (image)
      out << "src " << c.src.x << ',' << c.src.y << ',' << c.src.w << ',' << c.src.h << " #" << std::hex
          << c.color.ToPacked() << std::dec << ' ';
  }
  return out.str();
}

// Every drawing call: translated (truncating toward zero), clipped at every
// edge, and handed to the image as one call, or nothing.
TEST(Graphics, CallsAreTranslatedClippedAndHandedOn) {
  MemoryImage source = Solid(10, 10, 0xFF000000), sheet = Solid(30, 20, 0xFF000000);
  sheet.numCols = 3;
  sheet.numRows = 2;
  const std::pair<std::function<void(Graphics&)>, std::string> cases[] = {
      {[](Graphics& g) { g.DrawRect(2, 2, 5, 5); }, "outline 2,2,5,5 "},
      // Its right edge at x 7 lies outside the clip: drawn as edges.
      {[](Graphics& g) { g.ClipRect(0, 0, 6, 20), g.DrawRect(2, 2, 5, 5); }, "fill 2,2,4,1 fill 2,7,4,1 fill 2,3,1,4 "},
      {[](Graphics& g) { g.SetColor(Color(9, 9, 9, 0)), g.DrawRect(2, 2, 1, 1), g.FillRect(2, 2, 1, 1); }, ""},
      {[](Graphics& g) { g.Translate(1.7f, -0.5f), g.FillRect(0, 0, 2, 2); }, "fill 1,0,2,2 "},
      // -1.5 truncates to -1, not -2, and is clipped at the left edge.
      {[](Graphics& g) { g.Translate(-1.5f, -1.0f), g.FillRect(0, 5, 4, 1); }, "fill 0,4,3,1 "},
      {[](Graphics& g) { g.Translate(NAN, 1.0f), g.FillRect(1, 1, 2, 2); }, "fill 0,2,2,2 "},  // no number: 0
      {[](Graphics& g) {
         g.ClipRect(2, 3, 10, 10);
         for (const Rect& r : {Rect(-5, -5, 100, 100), Rect(11, 12, 5, 5), Rect(12, 3, 5, 5), Rect(2, 13, 5, 5)})
           g.FillRect(r.x, r.y, r.w, r.h);
       },
       "fill 2,3,10,10 fill 11,12,1,1 "},
      // A clip rectangle set anew is translated and kept on the image.
      {[](Graphics& g) {
         g.ClipRect(0, 0, 2, 2), g.Translate(3, 4), g.SetClipRect(-5, 1, 30, 30), g.FillRect(-9, -9, 99, 99);
       },
       "fill 0,5,20,15 "},
      {[](Graphics& g) {
         g.Translate(1, 1), g.ClipRect(0, 0, 5, 5), g.ClearRect(2, 2, 10, 10), g.ClearRect(6, 0, 2, 2);
       },
       "clear 3,3,3,3 "},
      {[&](Graphics& g) { g.DrawImage(&source, -3, -4), g.DrawImage(&source, 15, 17); },
       "blt 0,0,7,6 src 3,4,7,6 #ffffffff blt 15,17,5,3 src 0,0,5,3 #ffffffff "},
      {[&](Graphics& g) { g.SetColorizeImages(true), g.DrawImage(&source, 5, 5, Rect(2, 3, 4, 4)); },
       "blt 5,5,4,4 src 2,3,4,4 #280a141e "},
      // Just right of the image, above it, one pixel past the source's edges, or left of it.
      {[&](Graphics& g) {
         for (const Rect& src : {Rect(1, 0, 10, 10), Rect(0, 7, 10, 4), Rect(-1, 0, 5, 5), Rect(0, 0, 0, 5)})
           g.DrawImage(&source, 0, 0, src);
         g.DrawImage(&source, 20, 0), g.DrawImage(&source, 0, -10), g.DrawImage(nullptr, 0, 0);
         g.DrawImageMirror(&source, 0, 0, Rect(8, 0, 3, 3)), g.DrawImageRotated(nullptr, 0, 0, 1, 0, 0);
       },
       ""},
      // Scaled from the origin: 10 wide at 3 covers 6..25.
      {[&](Graphics& g) { g.SetScale(2, 2, 0, 0), g.DrawImage(&source, 3, 3); },
       "stretch 6,6,20,20 src 0,0,10,10 #ffffffff "},
      // x = floor((3 - 5) * 2) + 5 = 1, y = floor((3 - 5) * 0.5) + 5 = 4; w = 6, h = ceil(1.5) = 2.
      {[&](Graphics& g) { g.SetScale(2, 0.5f, 5, 5), g.DrawImage(&source, 3, 3, Rect(0, 0, 3, 3)); },
       "stretch 1,4,6,2 src 0,0,3,3 #ffffffff "},
      {[&](Graphics& g) {
         g.Translate(1.9f, 1), g.SetScale(2, 2, 0, 0), g.DrawImage(&source, Rect(1, 2, 30, 40), Rect(0, 0, 10, 10));
         g.DrawImage(&source, 0, 1, 5, 6);
       },
       "stretch 2,3,30,40 src 0,0,10,10 #ffffffff stretch 1,2,5,6 src 0,0,10,10 #ffffffff "},
      {[&](Graphics& g) { g.Translate(1.9f, 1), g.DrawImageMirror(&source, 2, 3, Rect(1, 2, 4, 5)); },
       "mirror 3,4,4,5 src 1,2,4,5 #ffffffff "},
      {[&](Graphics& g) { g.Translate(1.5f, 2), g.ClipRect(1, 1, 9, 9), g.DrawImageRotated(&source, 3, 4, 0.5, 2, 3); },
       "rotated 4.5,6,0.5,2 2,3,9,9 src 0,0,10,10 #ffffffff "},
      // Cels counted row by row; any outside the sheet draws nothing.
      {[&](Graphics& g) {
         g.DrawImageCel(&sheet, 0, 0, 4), g.DrawImageCel(&sheet, 1, 1, 2, 0);
         for (const auto& [col, row] : {std::pair(-1, 0), {3, 0}, {0, 2}, {0, -1}})
           g.DrawImageCel(&sheet, 0, 0, col, row);
         g.DrawImageCel(&sheet, 0, 0, -1), g.DrawImageCel(&sheet, 0, 0, 6);
       },
       "blt 0,0,10,10 src 10,10,10,10 #ffffffff blt 1,1,10,10 src 20,0,10,10 #ffffffff "},
      // Lines are clipped against the left and right, then the top and bottom
      // edges; the right and bottom edges are the last pixels inside.
      {[](Graphics& g) {
         g.ClipRect(0, 0, 10, 10);
         for (const auto& [x1, y1, x2, y2] : {std::array{-5, 5, 15, 5},
                                              {5, 20, 5, -10},
                                              {-10, -10, 20, 20},
                                              {0, 0, 20, 10},
                                              {4, -2, 2, 2},
                                              {-5, -5, -1, 20},
                                              {10, 0, 12, 9},
                                              {0, -1, 9, -5},
                                              {0, 10, 9, 12},
                                              {-6, 0, 0, -6}})
           g.DrawLine(x1, y1, x2, y2);
         g.Translate(2.9f, 0), g.DrawLine(0, 1, 3, 1);
       },
       "line 0,5,9,5 line 5,9,5,0 line 0,0,9,9 line 0,0,9,4.5 line 3,0,2,2 line 2,1,5,1 "},
  };
  for (const auto& [draw, expected] : cases) {
    RecordingImage image(20, 20);
    Graphics g(&image);
    g.SetColor(Color(10, 20, 30, 40));
    draw(g);
    EXPECT_EQ(expected, Log(image.calls));
  }

  MemoryImage canvas = Solid(30, 30, 0xFF000000), white = Solid(10, 10, 0xFFFFFFFF);
  Graphics real(&canvas);
  real.SetColor(Color::White);
  real.DrawRect(0, 0, 9, 9);  // touches the pixels 0 to 9 on both axes
  real.SetScale(2.0f, 2.0f, 0.0f, 0.0f);
  real.SetFastStretch(true);
  real.DrawImage(&white, 4, 4);  // covers 8..27
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool outline = x <= 9 && y <= 9 && (x == 0 || y == 0 || x == 9 || y == 9);
      const bool stretched = x >= 8 && y >= 8 && x < 28 && y < 28;
      ASSERT_EQ(outline || stretched ? 0xFFFFFFFFu : 0xFF000000u, canvas.GetPixel(x, y)) << x << "," << y;
    }
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
