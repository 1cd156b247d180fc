// Graphics: its drawing state, the geometry of what it draws, and its text,
// with a fixed-width font that records what it is asked to draw.

#include "framework/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <tuple>

#include "tests/graphics/TestImages.h"

namespace {

using namespace Zing;
using ZingTest::RecordingImage;
using ZingTest::Solid;

// Every drawing call: translated (truncating toward zero), clipped at every
// edge, and handed to the image as one call, or nothing.
TEST(Graphics, CallsAreTranslatedClippedAndHandedOn) {
  MemoryImage source = Solid(10, 10, 0xFF000000), sheet = Solid(30, 20, 0xFF000000);
  sheet.numCols = 3;
  sheet.numRows = 2;
  MemoryImage box = Solid(4, 5, 0xFF000000), bar = Solid(4, 1, 0xFF000000);
  const std::pair<std::function<void(Graphics&)>, std::string> cases[] = {
      // Saved states come back; a copy has none of its own; without a font no text.
      {[&](Graphics& g) {
         g.PopState(), g.SetColorizeImages(true), g.PushState(), g.Translate(5, 6), g.ClipRect(0, 0, 4, 4);
         g.SetColor(Color::White), g.SetDrawMode(1);
         std::unique_ptr<Graphics> copy = g.Create();
         copy->PopState(), copy->DrawImage(&source, 0, 0), g.PopState(), g.DrawImage(&source, -1, -1);
         g.DrawString("hello", 1, 1), g.WriteWordWrapped(Rect(0, 0, 10, 10), "hello");
       },
       "blt 5,6,4,4 src 0,0,4,4 #ffffffff m1 blt 0,0,9,9 src 1,1,9,9 #280a141e "},
      // Touching the clip rectangle's last column and row, still one outline.
      {[](Graphics& g) { g.ClipRect(2, 2, 6, 6), g.DrawRect(2, 2, 5, 5); }, "outline 2,2,5,5 "},
      // Its right edge at x 7 lies outside the clip: drawn as edges.
      {[](Graphics& g) { g.ClipRect(0, 0, 6, 20), g.DrawRect(2, 2, 5, 5); }, "fill 2,2,4,1 fill 2,7,4,1 fill 2,3,1,4 "},
      {[](Graphics& g) { g.ClipRect(3, 0, 20, 20), g.DrawRect(2, 2, 5, 5); },
       "fill 3,2,5,1 fill 3,7,5,1 fill 7,3,1,4 "},
      {[](Graphics& g) { g.ClipRect(0, 0, 20, 7), g.DrawRect(2, 2, 5, 5); }, "fill 2,2,6,1 fill 2,3,1,4 fill 7,3,1,4 "},
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
      {[&](Graphics& g) {
         g.SetScale(2, 2, 0, 0), g.SetFastStretch(true), g.SetDrawMode(1), g.DrawImage(&source, 3, 3);
       },
       "fast stretch 6,6,20,20 src 0,0,10,10 #ffffffff m1 "},
      // x = floor((3 - 5) * 2) + 5 = 1, y = floor((3 - 5) * 0.5) + 5 = 4; w = 6, h = ceil(1.5) = 2.
      {[&](Graphics& g) { g.SetScale(2, 0.5f, 5, 5), g.DrawImage(&source, 3, 3, Rect(0, 0, 3, 3)); },
       "stretch 1,4,6,2 src 0,0,3,3 #ffffffff "},
      {[&](Graphics& g) { g.SetScale(1, 2, 0, 0), g.DrawImage(&source, 3, 3, Rect(0, 0, 3, 3)); },
       "stretch 3,6,3,6 src 0,0,3,3 #ffffffff "},  // one scale not 1 is enough to stretch
      {[&](Graphics& g) {
         g.Translate(1.9f, 1), g.SetScale(2, 2, 0, 0), g.DrawImage(&source, Rect(1, 2, 30, 40), Rect(0, 0, 10, 10));
         g.DrawImage(&source, 0, 1, 5, 6);
       },
       "stretch 2,3,30,40 src 0,0,10,10 #ffffffff stretch 1,2,5,6 src 0,0,10,10 #ffffffff "},
      {[&](Graphics& g) { g.Translate(1.9f, 1), g.DrawImageMirror(&source, 2, 3, Rect(1, 2, 4, 5)); },
       "fast mirror 3,4,4,5 src 1,2,4,5 #ffffffff "},
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
      // A nine-piece frame: corners once, edges and centre repeated, clipped to their spans.
      {[&](Graphics& g) {
         g.DrawImageBox(Rect(1, 2, 7, 6), &box), g.DrawImageBox(Rect(0, 0, 0, 3), Rect(0, 0, 9, 9), &box);
       },
       "blt 1,2,1,1 src 0,0,1,1 #ffffffff blt 7,2,1,1 src 3,0,1,1 #ffffffff blt 1,7,1,1 src 0,4,1,1 #ffffffff blt "
       "7,7,1,1 src 3,4,1,1 #ffffffff blt 2,2,2,1 src 1,0,2,1 #ffffffff blt 2,7,2,1 src 1,4,2,1 #ffffffff blt 4,2,2,1 "
       "src 1,0,2,1 #ffffffff blt 4,7,2,1 src 1,4,2,1 #ffffffff blt 6,2,1,1 src 1,0,1,1 #ffffffff blt 6,7,1,1 src "
       "1,4,1,1 #ffffffff blt 1,3,1,3 src 0,1,1,3 #ffffffff blt 7,3,1,3 src 3,1,1,3 #ffffffff blt 1,6,1,1 src 0,1,1,1 "
       "#ffffffff blt 7,6,1,1 src 3,1,1,1 #ffffffff blt 2,3,2,3 src 1,1,2,3 #ffffffff blt 4,3,2,3 src 1,1,2,3 "
       "#ffffffff blt 6,3,1,3 src 1,1,1,3 #ffffffff blt 2,6,2,1 src 1,1,2,1 #ffffffff blt 4,6,2,1 src 1,1,2,1 "
       "#ffffffff blt 6,6,1,1 src 1,1,1,1 #ffffffff "},
      // One pixel high: two ends and a middle that fits its span twice, each scaled as it is handed on; a span of
      // one pixel takes one piece of the middle.
      {[&](Graphics& g) {
         g.SetScale(2, 2, 0, 0), g.DrawImageBox(Rect(0, 0, 6, 1), &bar), g.DrawImageBox(Rect(7, 0, 3, 1), &bar);
       },
       "stretch 0,0,2,2 src 0,0,1,1 #ffffffff stretch 10,0,2,2 src 3,0,1,1 #ffffffff stretch 2,0,4,2 src 1,0,2,1 "
       "#ffffffff stretch 6,0,4,2 src 1,0,2,1 #ffffffff stretch 14,0,2,2 src 0,0,1,1 #ffffffff stretch 18,0,2,2 src "
       "3,0,1,1 #ffffffff stretch 16,0,4,2 src 1,0,2,1 #ffffffff "},
      // Lines are clipped against the left and right, then the top and bottom
      // edges; the right and bottom edges are the last pixels inside.
      {[](Graphics& g) {
         g.ClipRect(0, 0, 10, 10);
         const int ends[][4] = {{-5, 5, 15, 5},   {5, 20, 5, -10}, {-10, -10, 20, 20}, {0, 0, 20, 10}, {4, -2, 2, 2},
                                {-5, -5, -1, 20}, {10, 0, 12, 9},  {0, -1, 9, -5},     {0, 10, 9, 12}, {-6, 0, 0, -6}};
         for (const auto& [x1, y1, x2, y2] : ends) g.DrawLine(x1, y1, x2, y2);
         g.Translate(2.9f, 0), g.DrawLine(0, 1, 3, 1);
       },
       "line 0,5,9,5 line 5,9,5,0 line 0,0,9,9 line 0,0,9,4.5 line 3,0,2,2 line 2,1,5,1 "},
  };
  for (const auto& [draw, expected] : cases) {
    RecordingImage image(20, 20);
    Graphics g(&image);
    g.SetColor(Color(10, 20, 30, 40));
    draw(g);
    EXPECT_EQ(expected, ZingTest::Log(image.calls));
  }
  Graphics none;  // without an image: an empty one, and nothing drawn (nor from no picture)
  none.FillRect(0, 0, 10, 10), none.DrawImage(&source, 0, 0), none.DrawLine(0, 0, 5, 5);
  none.DrawImageCel(nullptr, 0, 0, 3);
  EXPECT_EQ(std::pair(Rect(0, 0, 0, 0), 0), std::pair(none.GetClipRect(), none.WriteString("text", 0, 0)));
}

// Every character is 6 pixels wide; ascent 8, height 10, ascent padding 1,
// line spacing 12. Records the strings it is asked to draw.
class FixedFont : public Font {
 public:
  FixedFont() { ascent = 8, height = 10, ascentPadding = 1, lineSpacingOffset = 2; }
  int StringWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
  void DrawString(Graphics*, int x, int y, const std::string& text, const Color& color, const Rect&) override {
    drawn << text << '@' << x << ',' << y << '#' << std::hex << color.ToPacked() << std::dec << ' ';
  }
  Font* Duplicate() const override { return nullptr; }

  std::ostringstream drawn;  // "text@x,y#colour " for each string
};

// Colour codes, justification, parts of strings and word wrapping: what the
// font is asked to draw ("text@x,y#colour"), and the width or height answered.
TEST(GraphicsText, CodesJustificationPartsAndWrapping) {
  using G = Graphics;
  const Rect box(0, 0, 30, 100);  // five characters a line; baselines 7, 19, 31, ...
  const std::tuple<std::function<int(G&)>, int, std::string> cases[] = {
      {[](G& g) { return g.WriteString("hello", 4, 9); }, 30, "hello@4,9#c80a141e "},
      // The alpha stays; the old colour is the one given.
      {[](G& g) { return g.WriteString("^FF0000^red^oldclr^old", 0, 0, -1, -1, true, 0, -1, 0x00FF00); }, 36,
       "red@0,0#c8ff0000 old@18,0#c800ff00 "},
      {[](G& g) { return g.WriteString("a^00ff00^b^oldclr^c", 0, 0); }, 18,  // old: the starting colour
       "a@0,0#c80a141e b@6,0#c800ff00 c@12,0#c80a141e "},
      // Digits of either case from either end of their ranges; the characters
      // just outside them count as 0, "o" without "oldclr" too.
      {[](G& g) { return g.WriteString("^9aF/:g^x^A0f`@G^y^o12345^z", 0, 0); }, 18,
       "x@0,0#c89af000 y@6,0#c8a0f000 z@12,0#c8012345 "},
      {[](G& g) { return g.WriteString("a^^b", 0, 0); }, 18, "a^b@0,0#c80a141e "},
      {[&](G& g) { return g.SetFont(nullptr), g.WriteString("ab", 0, 0) + g.WriteWordWrapped(box, "ab"); }, 0, ""},
      {[](G& g) { return g.WriteString("abc^12", 0, 0) + g.WriteString("^1234567", 0, 0); }, 18,
       "abc@0,0#c80a141e "},  // a code cut off ends the text
      {[](G& g) { return g.SetWriteColoredString(false), g.WriteString("^FF0000^r", 0, 0); }, 54,
       "^FF0000^r@0,0#c80a141e "},
      {[](G& g) {
         return g.WriteString("abcd", 10, 0, 100, G::kJustifyCenter) +
                g.WriteString("abcd", 10, 0, 100, G::kJustifyRight) +
                g.WriteString("^FF0000^abcd", 10, 0, 100, G::kJustifyRight);  // codes have no width
       },
       72, "abcd@48,0#c80a141e abcd@86,0#c80a141e abcd@86,0#c8ff0000 "},
      {[](G& g) {
         return g.WriteString("abcdef", 0, 0, -1, -1, true, 2, 2) + g.WriteString("abcdef", 0, 1, -1, -1, true, 2, -1) +
                g.WriteString("abc", 0, 0, -1, -1, true, 9, 4) + g.WriteString("abc", 0, 0, -1, -1, true, 0, 0) +
                g.WriteString("abc", 0, 0, 50, G::kJustifyCenter, false);
       },
       12 + 24 + 18, "cd@0,0#c80a141e cdef@0,1#c80a141e "},
      {[](G& g) { return g.WriteWordWrapped(Rect(5, 0, 30, 100), "a bb", -1, G::kJustifyRight); }, 7 + 2,
       "a bb@11,7#c80a141e "},
      {[&](G& g) { return g.WriteWordWrapped(box, "aaa bbb ccc"); }, 7 + 24 + 2,
       "aaa@0,7#c80a141e bbb@0,19#c80a141e ccc@0,31#c80a141e "},
      // A break at the last space that fitted drops the spaces after it; a long
      // word breaks inside; every line holds one character at least.
      {[&](G& g) { return g.WriteWordWrapped(box, "aaa    bbb") + g.WriteWordWrapped(box, "aaaa    b"); }, 21 + 21,
       "aaa  @0,7#c80a141e bbb@0,19#c80a141e aaaa @0,7#c80a141e b@0,19#c80a141e "},
      {[&](G& g) { return g.WriteWordWrapped(box, "abcdefghijkl") + g.WriteWordWrapped(Rect(0, 0, 3, 9), "ab"); },
       33 + 33, "abcde@0,7#c80a141e fghij@0,19#c80a141e kl@0,31#c80a141e a@0,7#c80a141e b@0,19#c80a141e "},
      {[](G& g) { return g.WriteWordWrapped(Rect(0, 0, 100, 100), "ab\ncd\n\nef"); },
       7 + 36 + 2,  // empty lines draw nothing
       "ab@0,7#c80a141e cd@0,19#c80a141e ef@0,43#c80a141e "},
      // Codes measure nothing, and their colour carries over to the next line.
      {[&](G& g) { return g.WriteWordWrapped(box, "^FF0000^aaa^^ bbb"); }, 21, "aaa^@0,7#c8ff0000 bbb@0,19#c8ff0000 "},
      {[&](G& g) { return g.WriteWordWrapped(box, "aaaaa^^"); }, 21, "aaaaa@0,7#c80a141e ^@0,19#c80a141e "},
      {[&](G& g) { return g.SetColor(Color::White), g.WriteWordWrapped(box, "^FF0000^a ^oldclr^bbbbb"); }, 21,
       "a@0,7#ffff0000 bbbbb@0,19#ffffffff "},  // opaque white is an old colour like any other
      // Baselines 7, 19, 31, 43, 55: drawn while within the clip and one line (a line past it by exactly one is not).
      {[](G& g) { return g.ClipRect(0, 0, 200, 19), g.WriteWordWrapped(Rect(0, 0, 6, 200), "abcde", 12); }, 57,
       "a@0,7#c80a141e b@0,19#c80a141e "},
      {[](G& g) {
         return g.ClipRect(0, 0, 200, 20), g.Translate(0, -43), g.WriteWordWrapped(Rect(0, 0, 6, 200), "abcde", 12);
       },
       57, "c@0,31#c80a141e d@0,43#c80a141e e@0,55#c80a141e "},
  };
  for (const auto& [write, result, drawn] : cases) {
    RecordingImage image(200, 200);
    FixedFont font;
    Graphics g(&image);
    g.SetFont(&font);
    g.SetColor(Color(10, 20, 30, 200));
    EXPECT_EQ(result, write(g)) << drawn;
    EXPECT_EQ(drawn, font.drawn.str());
    EXPECT_TRUE(g.GetColor() == Color(10, 20, 30, 200) || g.GetColor() == Color::White);  // the caller's, back
  }
}

}  // namespace
