#include "framework/resource/XMLParser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/TempFolder.h"

namespace {

using Zing::XMLElement;
using Zing::XMLParser;
using ZingTest::TempFolder;
using namespace std::string_literals;

// One element as a short text: "<name a=1 b=2>", "</name>", "text", "?target|body", "!body".
std::string Describe(const XMLElement& element) {
  const std::string &value = element.value, &body = element.instruction;
  std::string start = "<" + value;
  for (const auto& [name, text] : element.attributes) start += " " + name + "=" + text;
  const std::string texts[] = {"none", start + ">", "</" + value + ">", value, "?" + value + "|" + body, "!" + body};
  return texts[element.type];
}

struct Parsed {
  std::vector<std::string> elements;
  std::vector<XMLElement> raw;
  bool failed = false;
  std::string error;
  int line = 0;
};

Parsed ParseFile(XMLParser& parser, const std::string& name) {
  Parsed parsed;
  XMLElement element;
  for (bool open = parser.OpenFile(name); open && parser.NextElement(element);) {
    parsed.elements.push_back(Describe(element));
    parsed.raw.push_back(element);
  }
  return {parsed.elements, parsed.raw, parser.HasFailed(), parser.GetErrorText(), parser.GetCurrentLineNum()};
}

// `bytes` as a file, read by a parser set up by `prepare`.
Parsed Parse(
    const std::string& bytes, void (*prepare)(XMLParser&) = [](XMLParser&) {}) {
  TempFolder dir;
  dir.Write("test.xml", bytes);
  XMLParser parser;
  prepare(parser);
  return ParseFile(parser, dir.File("test.xml"));
}

using Elements = std::vector<std::string>;

TEST(XMLParser, ElementsSectionsAttributesAndLargeFiles) {
  const Parsed parsed = Parse(
      "<?xml version=\"1.0\"?>\n"
      "<ResourceManifest>\n"
      "  <Resources id=\"Init\">\n"
      "    <Font id='x' path = \"fonts/a b.txt\" z=\"1\" z=\"2\" flag />\n"
      "  </Resources>\n"
      "</ResourceManifest>\n");
  ASSERT_FALSE(parsed.failed) << parsed.error;
  EXPECT_EQ(parsed.elements,
            (Elements{"?xml| version=\"1.0\"", "<ResourceManifest>", "<Resources id=Init>",
                      "<Font flag= id='x' path=fonts/a b.txt z=2>", "</Font>", "</Resources>", "</ResourceManifest>"}));
  EXPECT_EQ(parsed.raw[3].attributeOrder, (std::vector<std::string>{"id", "path", "z", "z", "flag"}));
  EXPECT_EQ(std::tuple(parsed.raw[3].section, parsed.raw[4].section, parsed.raw[6].section, parsed.line),
            std::tuple("ResourceManifest/Resources", "ResourceManifest/Resources/Font", "ResourceManifest", 7));
  // Large files cross the reader's blocks.
  std::string text = "<list>\n";
  for (int i = 0; i < 20000; ++i)
    text += "  <item id=\"" + std::to_string(i) + "\">value " + std::to_string(i) + "</item>\n";
  const Parsed large = Parse(text + "</list>\n");
  ASSERT_EQ(std::tuple(large.failed, large.elements.size(), large.line), std::tuple(false, 2u + 3 * 20000, 20003));
  EXPECT_EQ(large.elements[1 + 3 * 12345] + large.elements[2 + 3 * 12345], "<item id=12345>value 12345");
}

// Small documents and the elements they read as.
TEST(XMLParser, EmptyElementsTextCommentsAndEntities) {
  const std::pair<std::string, Elements> cases[] = {
      {"<Image id=\"A\" path=\"b\"/>", {"<Image id=A path=b>", "</Image>"}},
      {"<Image id=\"A\" path=\"b\" />", {"<Image id=A path=b>", "</Image>"}},
      {"<Image/>", {"<Image>", "</Image>"}},
      {"<Image />", {"<Image>", "</Image>"}},
      {"<?\?><t/>", {"?|", "<t>", "</t>"}},  // an instruction with nothing in it
      // A last quoted value ending in '/' right before '>' makes an empty element and loses the '/'.
      {"<Dir path=\"images/\">", {"<Dir path=images>", "</Dir>"}},
      // Text is trimmed and folded; quotes in it are kept and protect what they enclose.
      {"<t>  a   b  </t>", {"<t>", "a b", "</t>"}},
      {"<t>\n\tone\r\n two\n</t>", {"<t>", "one two", "</t>"}},
      {"<t>   </t>", {"<t>", "</t>"}},
      {"<t>say \"a<b\"</t>", {"<t>", "say \"a<b\"", "</t>"}},
      {"<a><!-- one -- two\n --><b/><!-- --></a>", {"<a>", "<b>", "</b>", "</a>"}},
      {"<t>&lt;&foo;&ltx;&l;&amp</t>", {"<t>", "<&&&&amp", "</t>"}},  // a known name's head or more: unknown
      {"<t>&quot;&gt;&apos;&nbsp;&cr;&amp;lt;</t>", {"<t>", "\">' \n&lt;", "</t>"}},
      {"<t>&#65;</t>", {"<t>", "&", "</t>"}},  // no numeric references
      // A value that ends an empty element is decoded once, like any other.
      {"<t a=\"&lt;x&gt;\" b=\"&amp;lt;/\">", {"<t a=<x> b=&lt;>", "</t>"}},
  };
  for (const auto& [text, elements] : cases) EXPECT_EQ(Parse(text).elements, elements) << text;
  // The synthetic end tag is returned before anything else is read.
  const Parsed nested = Parse("<a><b/>text</a>");
  EXPECT_EQ(nested.elements, (Elements{"<a>", "<b>", "</b>", "text", "</a>"}));
  EXPECT_EQ(nested.raw[2].section + "|" + nested.raw[3].section, "a/b|a");
  // The attribute "/" of "<a / >" is no attribute in document order.
  EXPECT_TRUE(Parse("<a />").raw[0].attributeOrder.empty());
  // Comments come back when asked for; line feeds inside them count.
  const std::string text = "<a><!-- one -- two\n --><b/><!-- x --></a>";
  EXPECT_EQ(Parse(text, [](XMLParser& parser) { parser.SetReturnComments(true); }).elements,
            (Elements{"<a>", "!one -- two\n ", "<b>", "</b>", "!x ", "</a>"}));
  EXPECT_EQ(Parse(text).line, 2);
}

TEST(XMLParser, ByteOrderMarksAndEncodings) {
  const std::string text = "<a x=\"1\">hi</a>";
  const Elements expected = {"<a x=1>", "hi", "</a>"};
  for (const std::string mark : {"", "\xEF\xBB\xBF"}) EXPECT_EQ(Parse(mark + text).elements, expected) << mark;
  // UTF-8: characters below 256 keep their value; others (from U+0100 on) empty an attribute
  // and leave their low 8 bits in text.
  EXPECT_EQ(Parse("\xEF\xBB\xBF<a x=\"caf\xC3\xA9\xC3\xBF\" y=\"\xC4\x80\">\xC3\xA9\xEF\xBB\xBF</a>").elements,
            (Elements{"<a x=caf\xE9\xFF y=>", "\xE9\xFF", "</a>"}));  // a mark past the start is text
  // Parts of marks are 8-bit text; a whole mark alone is an empty document.
  for (const std::string head : {"\xFF", "\xFE", "a\xFE", "a\xFF", "\xEF\xBB", "\xEF\x61\xBF"})
    EXPECT_EQ(Parse(head + "<t/>").elements, (Elements{head, "<t>", "</t>"})) << head;
  for (const std::string mark : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"})
    EXPECT_FALSE(Parse(mark).failed || !Parse(mark).elements.empty()) << mark;
  // Without a mark the bytes are 8-bit characters.
  EXPECT_EQ(Parse("<a>\xC3\xA9</a>").elements, (Elements{"<a>", "\xC3\xA9", "</a>"}));
  auto utf16 = [](const std::u16string& units, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : units) bytes += {char(unit >> (bigEndian ? 8 : 0)), char(unit >> (bigEndian ? 0 : 8))};
    return bytes;
  };
  const std::u16string wide = u"\uFEFF<a x=\"1\">hi</a>";
  for (bool bigEndian : {false, true}) EXPECT_EQ(Parse(utf16(wide, bigEndian)).elements, expected) << bigEndian;
  EXPECT_EQ(Parse(utf16(u"\uFEFF<a>\uFEFF</a>", false)).elements, (Elements{"<a>", "\xFF", "</a>"}));  // then text
  // A character beyond 16 bits (a surrogate pair) is read as one character that does not fit in 8 bits.
  EXPECT_EQ(Parse(utf16(u"\uFEFF<a x=\"\U00010000\U0010FFFF\" y=\"\U0001F600\" z=\"\uD7FF\uE000\" />", false)).elements,
            (Elements{"<a x= y= z=>", "</a>"}));
  // The same in UTF-8, and a 5-byte form.
  for (const char* form : {"\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "\xF0\x9F\x98\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
                           "\xF8\x88\x80\x80\x80"})
    for (const char* close : {"\" />", "\"/>"})
      EXPECT_EQ(Parse("\xEF\xBB\xBF<a x=\"" + std::string(form) + close).elements, (Elements{"<a x=>", "</a>"}));
  // Without a mark, UTF-16 may be forced.
  EXPECT_EQ(
      Parse(std::string("<\0a\0/\0>\0", 8), [](XMLParser& p) { p.ForceEncoding(Zing::XMLEncoding::Utf16); }).elements,
      (Elements{"<a>", "</a>"}));
}

TEST(XMLParser, DecodingErrorsAreIllegalCharacters) {
  // UTF-8: a stray continuation byte, overlong 2-, 3- and 4-byte forms, both
  // ends of the surrogates, U+FFFE and U+FFFF, no such lead byte (nor a 6-byte form's), a lead byte
  // without its continuation. UTF-16: a high surrogate alone, a low one alone
  // (both ends of them), half a unit at the end. Then a UTF-8 character cut
  // off at the end, and the control characters either side of the white space ones.
  std::vector<std::string> broken;
  for (const char* body : {"\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
                           "\xEF\xBF\xBE", "\xEF\xBF\xBF", "\xFE", "\xFC\x84\x80\x80\x80", "\xC3\x41"})
    broken.push_back("\xEF\xBB\xBF<a>\n" + std::string(body) + "</a>");
  for (const std::string& body : {"\x00\xD8x\0"s, "\x00\xDC"s, "\xFF\xDF"s, "x"s})
    broken.push_back("\xFF\xFE<\0a\0>\0\n\0"s + body);
  broken.insert(broken.end(), {"\xEF\xBB\xBF<a>\n\xC3", "<a>\n\x08</a>", "<a>\n\x0E</a>"});
  for (const std::string& bytes : broken) {
    const Parsed parsed = Parse(bytes);
    EXPECT_EQ(std::tuple(parsed.failed, parsed.error, parsed.line, parsed.elements),
              std::tuple(true, "Illegal Character", 2, Elements{"<a>"}))
        << bytes;
  }
  // Control characters inside quotes are kept.
  EXPECT_FALSE(Parse("<a x=\"\x01\"/>").failed);
}

TEST(XMLParser, ErrorTextsLinesAndAMissingFile) {
  const auto openFiles = [] { return std::ranges::distance(std::filesystem::directory_iterator("/proc/self/fd")); };
  const auto before = openFiles();
  // {document, error, line, elements read before it}
  const std::tuple<std::string, std::string, int, std::size_t> cases[] = {
      {"\n</a>", "Unexpected End", 2, 0},
      {"<a></a>\n</a>", "Unexpected End", 2, 2},
      {"<a>\n<b>\n</a>", "End 'a' Doesn't Match Start 'b'", 3, 2},
      {"<a>\n<b", "Unexpected End of File", 2, 1},
      {"<a>\ntext", "Unexpected End of File", 2, 1},
      {"<a x=\"\n", "Unexpected End of File", 2, 0},
      {"<a>\n<!-- ->", "Unexpected End of File", 2, 1},  // a comment is closed by two dashes of its own
      {"<a <b>", "Unexpected '<'", 1, 0},
      {"<a>\n\nx > y</a>", "Unexpected '>'", 3, 1},
      {">", "Unexpected '>'", 1, 0}};
  for (const auto& [text, error, line, count] : cases) {
    const Parsed parsed = Parse(text);
    EXPECT_EQ(std::tuple(parsed.failed, parsed.error, parsed.line, parsed.elements.size()),
              std::tuple(true, error, line, count))
        << text;
  }
  // The end of the input between elements is no error, open tags or not.
  const Parsed open = Parse("<a>\n<b/>\n");
  EXPECT_EQ(std::tuple(open.failed, open.elements, Parse("").failed),
            std::tuple(false, Elements{"<a>", "<b>", "</b>"}, false));
  TempFolder dir;
  XMLParser parser;
  const Parsed missing = ParseFile(parser, dir.File("none.xml"));
  EXPECT_EQ(std::tuple(missing.failed, missing.error, missing.line, missing.elements.size()),
            std::tuple(true, "Unable to open file " + dir.File("none.xml"), 0, 0u));
  XMLElement element;
  EXPECT_EQ(std::pair(false, before), std::pair(parser.NextElement(element), openFiles()));  // all files closed
}

}  // namespace
