// The text field and the text list driven through the widget manager as the
// player would: typed characters and editing keys, the clipboard, undo, the
// limits under hostile input, and the list's highlight, clicks and drawing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/widget/EditWidget.h"
#include "framework/widget/ListWidget.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::BlockFont;
using Zing::KEYCODE_CONTROL;
using Zing::KEYCODE_SHIFT;
using Strings = std::vector<std::string>;

class Owner : public Zing::EditListener, public Zing::ListListener {
 public:
  void EditWidgetText(int id, const std::string& text) override {
    heard.push_back(std::to_string(id) + " enter " + text);
  }
  bool AllowChar(int, char c) override { return c != '#'; }
  void ListClicked(int id, int index, int clicks) override {
    heard.push_back(std::to_string(id) + " click " + std::to_string(index) + " " + std::to_string(clicks));
  }
  void ListHiliteChanged(int id, int from, int to) override {
    heard.push_back(std::to_string(id) + " hilite " + std::to_string(from) + ">" + std::to_string(to));
  }
  Strings heard;
};

class EditList : public WidgetTest::ScreenFixture {
 protected:
  EditList() {
    edit.SetFont(&font);
    edit.Resize(10, 10, 200, 20);
    edit.maxChars = 15;
    manager.AddWidget(&edit);
    manager.SetFocus(&edit);
  }
  ~EditList() override { manager.RemoveAllWidgets(); }
  // A character as the platform delivers it: key down, character, key up.
  void Type(const std::string& text) {
    for (char c : text) manager.KeyChar(c);
  }
  void Key(int key) {
    manager.KeyDown(key);
    manager.KeyUp(key);
  }
  void Control(char character, int key) {
    manager.KeyDown(KEYCODE_CONTROL);
    manager.KeyDown(key);
    manager.KeyChar(character);
    manager.KeyUp(key);
    manager.KeyUp(KEYCODE_CONTROL);
  }

  Owner owner;
  Zing::EditWidget edit{1, &owner};
};

TEST_F(EditList, TypingEditingEnterAndUndo) {
  Type("Wick");
  Key(Zing::KEYCODE_LEFT);
  Key(Zing::KEYCODE_BACK);  // removes the c
  Type("\x08\x1b\x01");     // Back and Escape as characters do nothing; Control+A selects all
  Key('A');                 // letters arrive as characters, not as keys
  Type("x");                // replaces the selection
  EXPECT_EQ(edit.text, "x");
  Type("abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(edit.text, "xabcdefghijklmn");  // 15 characters at most
  Key(Zing::KEYCODE_HOME);
  Key(Zing::KEYCODE_DELETE);
  Key(Zing::KEYCODE_RETURN);
  edit.SetText("");
  Key(Zing::KEYCODE_RETURN);
  EXPECT_EQ(owner.heard, (Strings{"1 enter abcdefghijklmn", "1 enter "}));

  // Undo takes back one change; undo again redoes it.
  edit.SetText("Wicker");
  Type("abc");
  Control(26, 'Z');
  EXPECT_EQ(edit.text, "Wicker");
  Control(26, 'Z');
  EXPECT_EQ(edit.text, "Wickerabc");
  Key(Zing::KEYCODE_BACK);
  Key(Zing::KEYCODE_BACK);
  Control(26, 'Z');
  EXPECT_EQ(edit.text, "Wickerabc");
}

TEST_F(EditList, ClipboardCutCopyPaste) {
  edit.SetText("Anna Lise");
  manager.KeyDown(KEYCODE_SHIFT);
  for (int i = 0; i < 4; ++i) Key(Zing::KEYCODE_LEFT);
  manager.KeyUp(KEYCODE_SHIFT);
  Control(24, 'X');
  EXPECT_EQ(host.clipboard, "Lise");
  EXPECT_EQ(edit.text, "Anna ");
  // Control bytes, undefined bytes and vetoed characters are dropped; the
  // paste ends at the first line break and stops at the length limit.
  host.clipboard = std::string("B\x01\x7f\x81o#b\x96") + "\xE9" + "1234567890\r\nZZ";
  Control(22, 'V');
  EXPECT_EQ(edit.text,
            "Anna Bob\x96\xE9"
            "12345");
  host.extendedChars = false;
  edit.SetText("");
  host.clipboard = "\xE9t\xE9";
  Control(22, 'V');
  EXPECT_EQ(edit.text, "t");
  edit.passwordChar = '*';
  edit.SetText("secret");
  Control(1, 'A');
  Control(3, 'C');
  EXPECT_EQ(host.clipboard, "******");
}

TEST_F(EditList, HostileInputStaysWithinLimits) {
  edit.maxChars = -1;
  edit.maxPixels = 120;  // 20 block characters
  for (int i = 0; i < 5000; ++i) manager.KeyChar(static_cast<char>(i % 256));
  EXPECT_LE(edit.text.size(), 20u);
  for (char c : edit.text) EXPECT_GE(static_cast<unsigned char>(c), 32);
  host.clipboard = std::string(100000, 'q');
  Control(1, 'A');
  Control(22, 'V');
  EXPECT_EQ(edit.text, std::string(20, 'q'));
  edit.text = std::string(300, 'z');  // set behind the field's back
  edit.cursorPos = 999;
  edit.hiliteAnchor = 500;
  Pixel(0, 0);
  Key(Zing::KEYCODE_RIGHT);
  EXPECT_EQ(edit.text.size(), 20u);
  EXPECT_LE(edit.cursorPos, 20);
}

TEST_F(EditList, NarrowFieldKeepsCursorInView) {
  edit.Resize(10, 10, 40, 20);  // room for five characters
  edit.SetText("abcdefghijkl");
  auto cursorX = [&] { return 4 + BlockFont::kAdvance * (edit.cursorPos - edit.leftPos); };
  EXPECT_LT(cursorX(), 40);
  for (int i = 0; i < 12; ++i) {
    Key(Zing::KEYCODE_LEFT);
    EXPECT_GE(edit.cursorPos, edit.leftPos);
    EXPECT_LT(cursorX(), 40);
  }
  EXPECT_EQ(edit.leftPos, 0);
  // A click lands on the nearest character boundary of the visible text.
  Click(10 + 4 + 2 * BlockFont::kAdvance + 1, 15);
  EXPECT_EQ(edit.cursorPos, 2);
  EXPECT_EQ(host.cursors.front(), 3);  // the text beam over the field
}

TEST_F(EditList, ListHighlightClicksAndDrawing) {
  Zing::ListWidget list(7, &font, &owner);
  const int colors[6][3] = {{17, 66, 61}, {13, 47, 44}, {219, 248, 255}, {240, 122, 16}, {238, 154, 83}, {8, 41, 38}};
  list.SetColors(colors, 6);
  for (const char* line : {"English", "Deutsch",
                           "Fran\xE7"
                           "ais"})
    list.AddLine(line, false);
  list.Resize(300, 100, 100, 60);  // taller than three lines of 10
  manager.AddWidget(&list);
  list.SetSelect(1);
  manager.MouseMove(310, 100 + 4 + 5);   // line 0
  manager.MouseMove(310, 100 + 4 + 12);  // line 1
  Click(310, 100 + 4 + 14, 2);           // still line 1
  Click(310, 100 + 4 + 35);              // below the last line
  EXPECT_EQ(owner.heard, (Strings{"7 hilite -1>0", "7 hilite 0>1", "7 click 1 2", "7 hilite 1>-1"}));
  EXPECT_EQ(Pixel(398, 100 + 4 + 15), 0xEE9A53u);  // the selected line's bar
  EXPECT_EQ(Pixel(398, 100 + 4 + 45), 0x11423Du);  // no bar below the lines
  EXPECT_EQ(Pixel(300, 100), 0x0D2F2Cu);           // outline
  list.RemoveAll();
  EXPECT_EQ(list.selectIdx, -1);
  EXPECT_EQ(Pixel(398, 100 + 4 + 15), 0x11423Du);
  EXPECT_EQ(list.GetOptimalHeight(), 8);
}

}  // namespace
