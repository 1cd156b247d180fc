// The generated font descriptors: they split into commands and parameters the
// way the descriptor language does, their glyph rectangles lie on their sheets,
// and they carry every character the game's texts use.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "tests/artgen/DataFiles.h"
#include "tests/artgen/ManifestReader.h"

namespace ArtTest {
namespace {

// One parameter: a text or a list of parameters.
struct Item {
  std::string text;
  std::vector<Item> list;
  bool isList = false;
};

// Splits the descriptor into commands at ';' outside quotes, skipping '#' lines.
std::vector<std::string> Commands(const std::string& file) {
  std::vector<std::string> out;
  std::string cmd;
  char quote = 0;
  bool lineStart = true, comment = false;
  for (size_t i = 0; i < file.size(); ++i) {
    const char c = file[i];
    if (c == '\r') continue;
    if (c == '\n') {
      lineStart = true;
      comment = false;
      cmd += c;
      continue;
    }
    if (comment) continue;
    if (lineStart && (c == ' ' || c == '\t')) continue;
    if (lineStart && c == '#' && !quote) {
      comment = true;
      continue;
    }
    lineStart = false;
    if (quote && c == '\\' && i + 1 < file.size()) {
      cmd += c;
      cmd += file[++i];
      continue;
    }
    if (c == '\'' || c == '"') {
      if (!quote)
        quote = c;
      else if (quote == c)
        quote = 0;
    }
    if (c == ';' && !quote) {
      out.push_back(cmd);
      cmd.clear();
      continue;
    }
    cmd += c;
  }
  return out;
}

std::string Unquote(const std::string& t) {
  if (t.empty() || (t[0] != '\'' && t[0] != '"')) return t;
  std::string out;
  const char q = t[0];
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != q) {
      out += t[i];
    } else if (i + 1 < t.size() && t[i + 1] == q) {
      out += q;  // two adjacent quotes stand for one
      ++i;
    }
  }
  return out;
}

// Splits one command into its elements; false on a malformed command.
bool Split(const std::string& cmd, Item& top) {
  std::vector<Item*> stack{&top};
  top.isList = true;
  std::string cur;
  bool inElement = false;
  char quote = 0;
  auto flush = [&] {
    if (inElement) stack.back()->list.push_back({Unquote(cur), {}, false});
    cur.clear();
    inElement = false;
  };
  for (size_t i = 0; i < cmd.size(); ++i) {
    const char c = cmd[i];
    if (c == '\\' && i + 1 < cmd.size()) {
      cur += cmd[++i];
      inElement = true;
      continue;
    }
    if (quote) {
      if (c == quote) quote = 0;
      cur += c;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      cur += c;
      inElement = true;
    } else if (c == ' ' || c == '\t' || c == '\n' || c == ',') {
      flush();
    } else if (c == '(') {
      if (inElement) return false;
      stack.back()->list.push_back({"", {}, true});
      stack.push_back(&stack.back()->list.back());
    } else if (c == ')') {
      flush();
      if (stack.size() < 2) return false;
      stack.pop_back();
    } else {
      cur += c;
      inElement = true;
    }
  }
  flush();
  return !quote && stack.size() == 1;
}

struct Descriptor {
  std::string error;
  std::vector<Item> commands;
};

Descriptor Read(const std::string& path) {
  Descriptor d;
  for (const std::string& text : Commands(ReadText(path))) {
    Item cmd;
    if (!Split(text, cmd)) {
      d.error = "malformed command: " + text.substr(0, 40);
      return d;
    }
    if (!cmd.list.empty()) d.commands.push_back(cmd);
  }
  return d;
}

std::vector<Declaration> Fonts() {
  std::vector<Declaration> out;
  for (const auto& d : ReadManifest(ReadText(DataDir() + "/properties/resources.xml")).declarations) {
    if (d.kind == "Font") out.push_back(d);
  }
  return out;
}

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

TEST(FontDescriptor, SplittingFollowsTheQuotingRules) {
  Item c;
  ASSERT_TRUE(Split("Cmd Main ('a' \"'\" '\\\\' ',' ' ') ((1 2) (3 4))", c));
  ASSERT_EQ(c.list.size(), 4u);
  ASSERT_EQ(c.list[2].list.size(), 5u);
  EXPECT_EQ(c.list[2].list[0].text, "a");
  EXPECT_EQ(c.list[2].list[1].text, "'");
  EXPECT_EQ(c.list[2].list[2].text, "\\");
  EXPECT_EQ(c.list[2].list[3].text, ",");
  EXPECT_EQ(c.list[2].list[4].text, " ");
  EXPECT_EQ(c.list[3].list[1].list[1].text, "4");
  Item bad;
  EXPECT_FALSE(Split("Cmd ('a'", bad));
  EXPECT_EQ(Commands("# note\nA 1;\n  # inside\nB 'x;y';").size(), 2u);
}

TEST(FontDescriptor, GlyphRectanglesLieOnTheirSheets) {
  ASSERT_EQ(Fonts().size(), 2u);
  for (const auto& font : Fonts()) {
    const Descriptor d = Read(OnDisk(font.path));
    ASSERT_EQ(d.error, "") << font.id;
    std::map<std::string, Picture> sheets;
    int maps = 0;
    for (const Item& cmd : d.commands) {
      const std::string& name = cmd.list[0].text;
      if (name == "LayerSetImage") {
        const auto pic = ReadPicture(OnDisk(Folder(font.path) + cmd.list[2].text));
        ASSERT_TRUE(pic) << font.id << " " << cmd.list[2].text;
        sheets[cmd.list[1].text] = *pic;
      }
      if (name != "LayerSetImageMap") continue;
      ++maps;
      ASSERT_EQ(cmd.list.size(), 4u);
      const Picture& sheet = sheets.at(cmd.list[1].text);
      const auto& chars = cmd.list[2].list;
      const auto& rects = cmd.list[3].list;
      ASSERT_EQ(chars.size(), rects.size()) << font.id;
      for (size_t i = 0; i < rects.size(); ++i) {
        ASSERT_EQ(rects[i].list.size(), 4u);
        EXPECT_EQ(chars[i].text.size(), 1u);
        const int x = std::stoi(rects[i].list[0].text), y = std::stoi(rects[i].list[1].text);
        const int w = std::stoi(rects[i].list[2].text), h = std::stoi(rects[i].list[3].text);
        EXPECT_TRUE(x >= 0 && y >= 0 && x + w <= sheet.width && y + h <= sheet.height) << font.id << " " << i;
      }
    }
    EXPECT_EQ(maps, 1) << font.id;
  }
}

TEST(FontDescriptor, CarriesEveryCharacterOfTheGamesTexts) {
  std::set<unsigned char> needed;
  for (int c = 32; c < 127; ++c) needed.insert((unsigned char)c);
  // é è ç à ô Ä Ö Ü ä ö ü ß in Windows-1252.
  for (unsigned char c : {0xE9, 0xE8, 0xE7, 0xE0, 0xF4, 0xC4, 0xD6, 0xDC, 0xE4, 0xF6, 0xFC, 0xDF}) needed.insert(c);
  for (const auto& font : Fonts()) {
    std::set<unsigned char> mapped, widths;
    for (const Item& cmd : Read(OnDisk(font.path)).commands) {
      auto into = cmd.list[0].text == "LayerSetImageMap"     ? &mapped
                  : cmd.list[0].text == "LayerSetCharWidths" ? &widths
                                                             : nullptr;
      if (!into) continue;
      for (const Item& ch : cmd.list[2].list) into->insert((unsigned char)ch.text[0]);
    }
    for (unsigned char c : needed) {
      EXPECT_TRUE(mapped.count(c)) << font.id << " lacks character " << int(c);
      EXPECT_TRUE(widths.count(c)) << font.id << " has no width for " << int(c);
    }
  }
}

TEST(FontDescriptor, DefaultFontHasAShadowUnderItsBody) {
  for (const auto& font : Fonts()) {
    if (font.id != "FONT_DEFAULT") continue;
    std::map<std::string, std::string> values;
    for (const Item& cmd : Read(OnDisk(font.path)).commands) {
      if (cmd.list.size() == 3 && !cmd.list[2].isList)
        values[cmd.list[0].text + " " + cmd.list[1].text] = cmd.list[2].text;
      if (cmd.list.size() == 2) values[cmd.list[0].text] = cmd.list[1].text;
    }
    EXPECT_EQ(values["CreateLayerFrom Shadow"], "Main");
    EXPECT_EQ(values["LayerSetBaseOrder Shadow"], "-1");
    const int height = std::stoi(values["LayerSetHeight Main"]);
    EXPECT_GE(height, 13);
    EXPECT_LE(height, 18);
  }
}

}  // namespace
}  // namespace ArtTest
