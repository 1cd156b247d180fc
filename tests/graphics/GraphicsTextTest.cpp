// Colour codes, justification and word wrapping, with a fixed-width font that
// records what it is asked to draw.

#include <gtest/gtest.h>

#include "framework/graphics/Graphics.h"
#include "tests/graphics/RecordingImage.h"

namespace {

using namespace Zing;
using ZingTest::FixedFont;

class GraphicsText : public ::testing::Test {
 protected:
  GraphicsText() : image(200, 200), g(&image) {
    g.SetFont(&font);
    g.SetColor(Color(10, 20, 30, 200));
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& d : font.drawn) out.push_back(d.text);
    return out;
  }

  ZingTest::RecordingImage image;
  Graphics g;
  FixedFont font;
};

TEST_F(GraphicsText, PlainTextIsOneStringAtThePen) {
  EXPECT_EQ(30, g.WriteString("hello", 4, 9));
  ASSERT_EQ(1u, font.drawn.size());
  EXPECT_EQ(4, font.drawn[0].x);
  EXPECT_EQ(9, font.drawn[0].y);
  EXPECT_EQ(Color(10, 20, 30, 200), font.drawn[0].color);
}

TEST_F(GraphicsText, ColourCodesAndTheOldColour) {
  EXPECT_EQ(36, g.WriteString("^FF0000^red^oldclr^old", 0, 0, -1, -1, true, 0, -1, 0x00FF00));
  ASSERT_EQ(2u, font.drawn.size());
  EXPECT_EQ("red", font.drawn[0].text);
  EXPECT_EQ(Color(255, 0, 0, 200), font.drawn[0].color);  // the alpha stays
  EXPECT_EQ("old", font.drawn[1].text);
  EXPECT_EQ(18, font.drawn[1].x);
  EXPECT_EQ(Color(0, 255, 0, 200), font.drawn[1].color);
  EXPECT_EQ(Color(10, 20, 30, 200), g.GetColor());  // the caller's colour is back afterwards
}

TEST_F(GraphicsText, OldColourDefaultsToTheStartingColour) {
  g.WriteString("a^00ff00^b^oldclr^c", 0, 0);
  ASSERT_EQ(3u, font.drawn.size());
  EXPECT_EQ(Color(0, 255, 0, 200), font.drawn[1].color);
  EXPECT_EQ(Color(10, 20, 30, 200), font.drawn[2].color);
}

TEST_F(GraphicsText, DoubleCaretsWriteOneCaret) {
  EXPECT_EQ(18, g.WriteString("a^^b", 0, 0));
  EXPECT_EQ(std::vector<std::string>{"a^b"}, Texts());
}

TEST_F(GraphicsText, ACutOffCodeEndsTheText) {
  EXPECT_EQ(18, g.WriteString("abc^12", 0, 0));
  EXPECT_EQ(std::vector<std::string>{"abc"}, Texts());
  font.drawn.clear();
  EXPECT_EQ(0, g.WriteString("^1234567", 0, 0));  // seven characters: still too short
  EXPECT_TRUE(font.drawn.empty());
}

TEST_F(GraphicsText, NonHexDigitsCountAsZero) {
  g.WriteString("^zF0g1x^x^o12345^y", 0, 0);
  ASSERT_EQ(2u, font.drawn.size());
  EXPECT_EQ(Color(0x0F, 0x00, 0x10, 200), font.drawn[0].color);
  EXPECT_EQ(Color(0x01, 0x23, 0x45, 200), font.drawn[1].color);  // 'o' without "oldclr" is a digit 0
}

TEST_F(GraphicsText, CodesAreTextWhenSwitchedOff) {
  g.SetWriteColoredString(false);
  EXPECT_EQ(6 * 11, g.WriteString("^FF0000^red", 0, 0));
  EXPECT_EQ(std::vector<std::string>{"^FF0000^red"}, Texts());
}

TEST_F(GraphicsText, JustificationAndParts) {
  g.WriteString("abcd", 10, 0, 100, Graphics::kJustifyCenter);
  EXPECT_EQ(10 + 38, font.drawn.back().x);
  g.WriteString("abcd", 10, 0, 100, Graphics::kJustifyRight);
  EXPECT_EQ(10 + 76, font.drawn.back().x);
  g.WriteString("^FF0000^abcd", 10, 0, 100, Graphics::kJustifyRight);  // codes have no width
  EXPECT_EQ(10 + 76, font.drawn.back().x);
  EXPECT_EQ(12, g.WriteString("abcdef", 0, 0, -1, -1, true, 2, 2));
  EXPECT_EQ("cd", font.drawn.back().text);
  EXPECT_EQ(24, g.WriteString("abcdef", 0, 0, -1, -1, true, 2, -1));
  EXPECT_EQ("cdef", font.drawn.back().text);
  EXPECT_EQ(0, g.WriteString("abc", 0, 0, -1, -1, true, 9, 4));
  const std::size_t count = font.drawn.size();
  EXPECT_EQ(18, g.WriteString("abc", 0, 0, 50, Graphics::kJustifyCenter, false));
  EXPECT_EQ(count, font.drawn.size());
}

TEST_F(GraphicsText, WrapsAtSpaces) {
  // Five characters per line of 30 pixels; first baseline at 8 - 1 = 7, then every 12.
  EXPECT_EQ(7 + 24 + 2, g.WriteWordWrapped(Rect(0, 0, 30, 100), "aaa bbb ccc"));
  EXPECT_EQ((std::vector<std::string>{"aaa", "bbb", "ccc"}), Texts());
  EXPECT_EQ(7, font.drawn[0].y);
  EXPECT_EQ(19, font.drawn[1].y);
  EXPECT_EQ(31, font.drawn[2].y);
}

TEST_F(GraphicsText, SpacesAfterABreakAreSkipped) {
  // The line breaks at the last space that fitted; the spaces after it go.
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "aaa    bbb");
  EXPECT_EQ((std::vector<std::string>{"aaa  ", "bbb"}), Texts());
  font.drawn.clear();
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "aaaa    b");
  EXPECT_EQ((std::vector<std::string>{"aaaa ", "b"}), Texts());
}

TEST_F(GraphicsText, LongWordsBreakInsideAndEveryLineHoldsOneCharacter) {
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "abcdefghijkl");
  EXPECT_EQ((std::vector<std::string>{"abcde", "fghij", "kl"}), Texts());
  font.drawn.clear();
  g.WriteWordWrapped(Rect(0, 0, 3, 100), "abc");
  EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Texts());
}

TEST_F(GraphicsText, LineFeedsForceBreaks) {
  EXPECT_EQ(7 + 36 + 2, g.WriteWordWrapped(Rect(0, 0, 100, 100), "ab\ncd\n\nef"));
  EXPECT_EQ((std::vector<std::string>{"ab", "cd", "ef"}), Texts());  // the empty line draws nothing
  EXPECT_EQ(43, font.drawn[2].y);
}

TEST_F(GraphicsText, CodesMeasureNothingAndTheColourCarriesOver) {
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "^FF0000^aaa^^ bbb");
  ASSERT_EQ(2u, font.drawn.size());
  EXPECT_EQ("aaa^", font.drawn[0].text);
  EXPECT_EQ(Color(255, 0, 0, 200), font.drawn[1].color);
  EXPECT_EQ(Color(10, 20, 30, 200), g.GetColor());
}

TEST_F(GraphicsText, OpaqueWhiteIsAValidOldColour) {
  g.SetColor(Color::White);
  g.WriteWordWrapped(Rect(0, 0, 30, 100), "^FF0000^a ^oldclr^bbbbb");
  ASSERT_EQ(2u, font.drawn.size());
  EXPECT_EQ(Color(255, 0, 0, 255), font.drawn[0].color);
  EXPECT_EQ(Color::White, font.drawn[1].color);
}

TEST_F(GraphicsText, LinesOutsideTheClipAreNotDrawn) {
  g.ClipRect(0, 0, 200, 20);
  // Baselines 7, 19, 31, 43, 55: drawn while below 20 + 12.
  EXPECT_EQ(55 + 2, g.WriteWordWrapped(Rect(0, 0, 6, 200), "abcde", 12));
  EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Texts());
  font.drawn.clear();
  g.Translate(0, -40);  // now baselines -33 .. 15 on the destination
  g.WriteWordWrapped(Rect(0, 0, 6, 200), "abcde", 12);
  EXPECT_EQ((std::vector<std::string>{"c", "d", "e"}), Texts());
}

TEST_F(GraphicsText, WrappedLinesAreJustified) {
  g.WriteWordWrapped(Rect(5, 0, 30, 100), "a bb", -1, Graphics::kJustifyRight);
  ASSERT_EQ(1u, font.drawn.size());
  EXPECT_EQ(5 + 30 - 24, font.drawn[0].x);
}

}  // namespace
