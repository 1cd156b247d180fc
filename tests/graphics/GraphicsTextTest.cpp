// Colour codes, justification and word wrapping, with a fixed-width font that
// records what it is asked to draw.

#include <gtest/gtest.h>

#include <tuple>

#include "framework/graphics/Graphics.h"
#include "tests/graphics/RecordingImage.h"

namespace {

using namespace Zing;
using Texts = std::vector<std::string>;
using Colours = std::vector<Color>;

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
  ZingTest::FixedFont font;
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
