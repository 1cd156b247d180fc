// The controls driven through the widget manager as the player would, and drawn into a memory
// screen, pinned as checksums of whole small pictures: buttons, check boxes and sliders; the text
// field with typed characters and editing keys, the clipboard, undo and the limits under hostile
// input; and the text list's highlight, clicks and drawing.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/widget/ButtonWidget.h"
#include "framework/widget/Checkbox.h"
#include "framework/widget/EditWidget.h"
#include "framework/widget/FocusRing.h"
#include "framework/widget/ListWidget.h"
#include "framework/widget/Slider.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::BlockFont;
using WidgetTest::Solid;
using Zing::Color;
using Zing::KEYCODE_CONTROL;
using Zing::KEYCODE_SHIFT;
using Zing::MemoryImage;
using Zing::Rect;
using Strings = std::vector<std::string>;

// Hears every control and writes down what it heard.
class Listener : public Zing::ButtonListener,
                 public Zing::CheckboxListener,
                 public Zing::SliderListener,
                 public Zing::EditListener,
                 public Zing::ListListener {
 public:
  using ButtonListener::ButtonPress;
  void ButtonPress(int id, int count) override { Add("press " + std::to_string(id) + " " + std::to_string(count)); }
  void ButtonDepress(int id) override { Add("depress " + std::to_string(id)); }
  void ButtonDownTick(int) override { ++ticks; }
  void ButtonMouseEnter(int id) override { Add("enter " + std::to_string(id)); }
  void ButtonMouseLeave(int id) override { Add("leave " + std::to_string(id)); }
  void CheckboxChecked(int id, bool checked) override {
    Add("checked " + std::to_string(id) + (checked ? " on" : " off"));
  }
  void SliderValueChanged(int id, double value) override {
    Add("slider " + std::to_string(id) + " " + std::to_string(value).substr(0, 4));
  }
  void EditWidgetText(int id, const std::string& text) override { Add(std::to_string(id) + " enter " + text); }
  bool AllowChar(int, char c) override { return c != '#'; }
  bool AllowText(int, const std::string& text) override { return text.find('!') == std::string::npos; }
  void ListClicked(int id, int index, int clicks) override {
    Add(std::to_string(id) + " click " + std::to_string(index) + " " + std::to_string(clicks));
  }
  void ListHiliteChanged(int id, int from, int to) override {
    Add(std::to_string(id) + " hilite " + std::to_string(from) + ">" + std::to_string(to));
  }
  void Add(const std::string& line) { heard.push_back(line); }
  Strings heard;
  int ticks = 0;
};

class Controls : public WidgetTest::ScreenFixture {
 protected:
  // What the listener heard since the last time.
  Strings Heard() { return std::exchange(listener.heard, {}); }
  Listener listener;
};

TEST_F(Controls, AFadingHighlightRunsOutOverItsSpeed) {
  Zing::ButtonWidget button(1, &listener);
  auto normal = Solid(20, 10, 0xFF000080);
  auto over = Solid(20, 10, 0xFF00FF00);
  over->GetBits()[199] = 0, over->SetImageMode(true, true);  // its last pixel see-through
  button.buttonImage = normal.get();
  button.overImage = over.get();
  button.overAlphaSpeed = 0.1;
  button.Resize(0, 0, 20, 10);
  manager.AddWidget(&button);
  manager.MouseMove(5, 5);
  const std::uint32_t full = Pixel(5, 5);
  manager.MouseMove(300, 300);
  EXPECT_EQ((std::tuple{full, button.overAlpha, Pixel(5, 5), Pixel(19, 9)}),
            std::tuple(0x00FF00u, 1.0, 0x00FF00u, 0u));  // just left: at full strength, nothing under it
  int updates = 0;
  std::uint32_t halfway = 0, corner = 1;  // the highlight at half strength over the normal look
  while (button.overAlpha > 0 && updates < 100) {
    manager.UpdateFrame();
    if (++updates == 5) std::tie(halfway, corner) = std::pair(Pixel(5, 5), Pixel(0, 0));
  }
  EXPECT_NEAR(static_cast<int>(halfway >> 8 & 0xFF), 0x80, 0x10);
  EXPECT_NEAR(static_cast<int>(halfway & 0xFF), 0x40, 0x10);
  EXPECT_EQ(std::tuple(updates, corner, Pixel(5, 5)), std::tuple(10, halfway, 0x000080u));
  // Coming back, it fades in at its own speed, up to full strength.
  button.overAlphaFadeInSpeed = 0.1;
  manager.MouseMove(5, 5);
  for (updates = 0; button.overAlpha < 1 && updates < 100; ++updates) manager.UpdateFrame();
  Pixel(5, 5), manager.UpdateFrame();  // drawn at full strength, it has nothing more to draw
  EXPECT_EQ(std::tuple(updates, button.overAlpha, button.dirty), std::tuple(10, 1.0, false));
  // Left at full strength it fades out from there; back without a fade-in it is lit at once, so it fades
  // out from full again; a fade switched off meanwhile ends at once, and so does one left while fading in.
  const double leftAt = (manager.MouseMove(300, 300), manager.UpdateFrame(), button.overAlpha);
  button.overAlphaFadeInSpeed = 0;
  const double again = (manager.MouseMove(5, 5), manager.MouseMove(300, 300), button.overAlpha);
  button.overAlphaSpeed = 0, manager.UpdateFrame();
  const double ended = button.overAlpha;
  button.overAlphaFadeInSpeed = 0.1;
  manager.MouseMove(5, 5), manager.UpdateFrame(), manager.MouseMove(300, 300);
  EXPECT_EQ(std::tuple(leftAt, again, ended, button.overAlpha), std::tuple(0.9, 1.0, 0.0, 0.0));

  // Held and dragged off, without a fade, the button keeps its over look.
  manager.MouseMove(5, 5);
  manager.MouseDown(5, 5, 1);
  const std::uint32_t pressed = Pixel(0, 0);  // without a down picture, the over picture in its place
  manager.MouseMove(300, 300);
  const std::uint32_t held = Pixel(5, 5);
  manager.MouseUp(300, 300, 1);
  EXPECT_EQ(std::tuple(pressed, held, Pixel(5, 5)), std::tuple(0x00FF00u, 0x00FF00u, 0x000080u));
}

// The whole bevel of a 40 x 20 button, raised, hovered and pressed: the outer edges lit from the
// top left (swapped when pressed), the medium line inside the dark edges (inside the top and left
// ones when pressed); the label 12 wide at x = 14 on the baseline (20 - 1 - 1 + 8) / 2 = 13, in its
// highlight colour under the pointer, and one pixel down and right when pressed.
TEST_F(Controls, TheBevelRunsAlongEveryEdgeAndThePressedLabelMoves) {
  Zing::ButtonWidget button(1, &listener);
  button.label = "OK";
  button.SetFont(&font);
  button.SetColor(Zing::ButtonWidget::COLOR_LABEL_HILITE, Color(255, 0, 0));
  button.Resize(0, 0, 40, 20);
  button.clip = false;  // it keeps within its rectangle all the same
  manager.AddWidget(&button);
  std::vector<std::uint32_t> looks{Checksum(Rect(0, 0, 40, 20))};
  looks.push_back((manager.MouseMove(20, 10), Checksum(Rect(0, 0, 40, 20))));
  looks.push_back((manager.MouseDown(20, 10, 1), Checksum(Rect(0, 0, 40, 20))));
  EXPECT_EQ(looks, (std::vector<std::uint32_t>{1846691952, 2839431280, 113523072})) << Picture(Rect(0, 0, 40, 20));
  EXPECT_EQ(std::pair(Pixel(20, 20), Pixel(40, 10)), std::pair(0u, 0u));
  manager.MouseUp(20, 10, 1);
  constexpr std::uint32_t kBkg = 0xD4D4D4;
  // A taller font: baseline (20 - 10 / 6 - 1 + 10) / 2 = 14, block rows 4..13.
  BlockFont tall;
  tall.ascent = 10;
  button.SetFont(&tall);
  EXPECT_EQ(std::pair(Pixel(14, 3), Pixel(14, 13)), std::pair(kBkg, 0xFF0000u));  // the pointer is still over it
  // The label at the left or the right edge.
  button.labelJustify = Zing::ButtonWidget::BUTTON_LABEL_LEFT, button.MarkDirty();
  EXPECT_EQ(std::pair(Pixel(2, 8), Pixel(30, 8)), std::pair(0xFF0000u, kBkg));
  button.labelJustify = Zing::ButtonWidget::BUTTON_LABEL_RIGHT, button.MarkDirty();
  EXPECT_EQ(std::pair(Pixel(2, 8), Pixel(30, 8)), std::pair(kBkg, 0xFF0000u));
  // An image without a down or over cell shows pressed a pixel right and down.
  auto image = Solid(40, 20, 0xFF0000FF);
  button.buttonImage = image.get();
  button.label.clear();
  manager.MouseDown(20, 10, 1);
  EXPECT_EQ(std::pair(Pixel(0, 10), Pixel(1, 1)), std::pair(0xFFFFFFu, 0x0000FFu));
  manager.UpdateFrame();  // held under the pointer: a tick each update
  EXPECT_EQ(std::tuple(Heard(), listener.ticks),
            std::tuple(Strings{"enter 1", "press 1 1", "depress 1", "press 1 1"}, 1));
  // Its over image, or its down image when it has one, pressed at its origin.
  auto over = Solid(40, 20, 0xFF00FF00), down = Solid(40, 20, 0xFFFFFF00);
  button.overImage = over.get(), button.MarkDirty();
  EXPECT_EQ(Pixel(0, 0), 0x00FF00u);
  button.downImage = down.get(), button.MarkDirty();
  EXPECT_EQ(Pixel(0, 0), 0xFFFF00u);
  auto grey = Solid(40, 20, 0xFF606060);  // disabled, its own image
  button.disabledImage = grey.get(), button.SetDisabled(true);
  EXPECT_EQ(std::pair(Pixel(0, 0), Pixel(39, 19)), std::pair(0x606060u, 0x606060u));
  button.SetDisabled(false), manager.MouseUp(20, 10, 1), manager.MouseMove(100, 100);  // left alone: its own image
  EXPECT_EQ(Pixel(0, 0), 0x0000FFu);
}

TEST_F(Controls, ACheckBoxTogglesOnAnyButtonAndDrawsItsCrossOnlyWhenChecked) {
  Zing::Checkbox box(4, &listener);
  box.Resize(0, 0, 12, 12);
  manager.AddWidget(&box);
  // The outline, and the cross of both diagonals when checked.
  std::vector<std::uint32_t> looks{Checksum(Rect(0, 0, 12, 12))};
  for (int button : {1, -1, 1}) Click(5, 5, button);
  looks.push_back(Checksum(Rect(0, 0, 12, 12)));
  EXPECT_EQ(looks, (std::vector<std::uint32_t>{1954744825, 2294148153})) << Picture(Rect(0, 0, 12, 12));
  EXPECT_EQ(Heard(), (Strings{"checked 4 on", "checked 4 off", "checked 4 on"}));
  EXPECT_EQ((box.SetChecked(false, false), std::tuple(Heard(), Pixel(5, 5))), std::tuple(Strings{}, 0x505050u));

  // Two cells of one image.
  auto cells = Solid(24, 12, 0xFF0000FF);
  for (int i = 0; i < 24 * 12; ++i) cells->GetBits()[i] = i % 24 < 12 ? 0xFF0000FF : 0xFF00FF00;
  std::tie(box.uncheckedImage, box.checkedRect) = std::tuple(cells.get(), Rect(12, 0, 12, 12));
  EXPECT_EQ((box.SetChecked(true, true), Pixel(3, 3)), 0x00FF00u);  // one cell rect set is enough to cut cells
  box.uncheckedRect = Rect(0, 0, 12, 12);
  EXPECT_EQ((box.SetChecked(false, true), Pixel(3, 3)), 0x0000FFu);
  box.SetChecked(true, true);
  // Or an image of each.
  auto on = Solid(12, 12, 0xFFFF00FF);
  box.checkedImage = on.get(), box.uncheckedRect = box.checkedRect = Rect(), box.MarkDirty();
  EXPECT_EQ(std::pair(Pixel(0, 0), Pixel(11, 11)), std::pair(0xFF00FFu, 0xFF00FFu));
  box.uncheckedImage = nullptr, box.SetChecked(false, true);  // a look without its image: nothing drawn
  EXPECT_EQ(std::pair(Pixel(0, 0), Pixel(5, 5)), std::pair(0xFF00FFu, 0xFF00FFu));
}

// The track's three cells: the left end, the middle repeated, the right end (half clear).
std::unique_ptr<MemoryImage> Track(int w, int h, bool horizontal) {
  auto track = Solid(w, h, 0xFF102030);
  for (int i = 0; i < w * h; ++i) {
    const int cell = (horizontal ? i % w * 3 / w : i / w * 3 / h);
    if (cell > 0) track->GetBits()[i] = cell == 1 ? 0xFF405060 : 0x80708090;
  }
  return track;
}

// The vertical slider is the horizontal one turned: along the axis a click on the track jumps there, told
// once at release; the thumb, grabbed 5 into it, drags within the range; the axis's arrows step the value.
// Drawn: the track's cells, the middle one repeated up to the end cell only, the thumb at 0.75 x 200 = 150.
TEST_F(Controls, ASliderJumpsDragsAndStepsAlongItsAxis) {
  std::vector<std::uint32_t> sums;
  for (const bool horizontal : {true, false}) {
    auto track = Track(horizontal ? 24 : 20, horizontal ? 20 : 24, horizontal);
    auto thumb = Solid(horizontal ? 10 : 16, horizontal ? 16 : 10, 0xFFFF8000);
    Zing::Slider slider(track.get(), thumb.get(), 5, &listener);
    slider.horizontal = horizontal;
    slider.Resize(100, 100, horizontal ? 210 : 20, horizontal ? 20 : 210);
    manager.AddWidget(&slider);
    // The point `along` the axis from the slider's start, across its middle.
    const auto at = [&](int along, bool press = false, bool release = false) {
      const int px = horizontal ? 100 + along : 110, py = horizontal ? 110 : 100 + along;
      manager.MouseMove(px, py);
      if (press) manager.MouseDown(px, py, 1);
      if (release) manager.MouseUp(px, py, 1);
    };
    at(157, true);
    EXPECT_EQ(std::pair(slider.value, listener.heard.size()), std::pair(157.0 / 210, std::size_t{0}));
    slider.SetValue(0.75);
    at(157, false, true);
    sums.push_back(Checksum(slider.GetRect()));
    EXPECT_EQ((at(155), host.cursors.back()), 2);  // over the thumb
    at(155, true), at(1000), at(-1000), at(105, false, true);
    // Released, the thumb is no longer held: leaving it restores the arrow.
    EXPECT_EQ((at(104), host.cursors.back()), 2);
    EXPECT_EQ((manager.MouseMove(300, 300), host.cursors.back()), 0);
    manager.SetFocus(&slider);
    manager.KeyDown(horizontal ? Zing::KEYCODE_RIGHT : Zing::KEYCODE_DOWN);
    manager.KeyDown(horizontal ? Zing::KEYCODE_LEFT : Zing::KEYCODE_UP);
    manager.KeyDown(horizontal ? Zing::KEYCODE_UP : Zing::KEYCODE_LEFT);  // the other axis: the focus ring's
    EXPECT_EQ(Heard(), (Strings{"slider 5 0.75", "slider 5 1.00", "slider 5 0.00", "slider 5 0.50", "slider 5 0.50",
                                "slider 5 0.55", "slider 5 0.50"}));
    EXPECT_DOUBLE_EQ((slider.SetValue(7), slider.value), 1.0);
    manager.RemoveWidget(&slider);
  }
  EXPECT_EQ(sums, (std::vector<std::uint32_t>{2909302629u, 853700709u}));

  // A thumb as long as the slider cannot be dragged; one a pixel shorter can. Without a thumb every point
  // of the track jumps there; a slider of no length has nowhere to jump to.
  auto wide = Solid(10, 16, 0xFFFF8000);
  Zing::Slider full(nullptr, wide.get(), 6, &listener);
  manager.AddWidget(&full);
  for (int length : {10, 11}) {
    full.Resize(0, 0, length, 20), full.SetValue(0);
    manager.MouseMove(5, 5), manager.MouseDown(5, 5, 1);
    manager.MouseMove(9, 5), manager.MouseUp(9, 5, 1);
  }
  full.thumbImage = nullptr, Click(10, 5);
  full.Resize(0, 0, 0, 20), full.MouseDown(-20, 5, 1), full.MouseUp(-20, 5);
  EXPECT_EQ(Heard(), (Strings{"slider 6 0.00", "slider 6 1.00", "slider 6 1.00", "slider 6 0.90", "slider 6 0.90"}));
  manager.RemoveAllWidgets();
}

// The keys walk a ring of controls: Enter and Space press a button and
// toggle a box, the arrows move the focus (along a slider they move its
// value, in a list they pick a line), and the focus is drawn.
TEST_F(Controls, TheKeysWalkTheFocusRingAndWorkEveryControl) {
  Zing::ButtonWidget button(7, &listener);
  Zing::Checkbox box(3, &listener);
  auto track = Solid(30, 6, 0xFF203040), thumb = Solid(10, 16, 0xFFFF8000);
  Zing::Slider slider(track.get(), thumb.get(), 5, &listener);
  Zing::ListWidget list(1, &font, &listener);
  for (const char* line : {"one", "two"}) list.AddLine(line, false);
  button.Resize(10, 10, 80, 20);
  box.Resize(10, 40, 20, 20);
  slider.Resize(100, 100, 210, 20);
  list.Resize(10, 200, 100, 60);
  for (Zing::Widget* w : std::vector<Zing::Widget*>{&button, &box, &slider, &list}) manager.AddWidget(w);
  Zing::LinkFocusRing({&button, &box, nullptr, &slider, &list});
  manager.SetFocus(&button);
  EXPECT_EQ(std::pair(Pixel(100, 100), Pixel(305, 110)), std::pair(0u, 0x203040u));  // no frame yet; the track's end

  const std::pair<int, Strings> keys[] = {
      {Zing::KEYCODE_RETURN, {"press 7 1", "depress 7"}},
      {Zing::KEYCODE_DOWN, {}},
      {Zing::KEYCODE_SPACE, {"checked 3 on"}},
      {Zing::KEYCODE_TAB, {}},
      {Zing::KEYCODE_RIGHT, {"slider 5 0.05"}},
      {Zing::KEYCODE_LEFT, {"slider 5 0.00"}},
      {Zing::KEYCODE_LEFT, {}},  // already at 0
      {Zing::KEYCODE_DOWN, {}},
      {Zing::KEYCODE_DOWN, {"1 click 0 1"}},
      {Zing::KEYCODE_DOWN, {"1 click 1 1"}},
      {Zing::KEYCODE_DOWN, {"1 click 1 1"}},  // the last line stays picked
      {Zing::KEYCODE_UP, {"1 click 0 1"}},
      {Zing::KEYCODE_UP, {"1 click 0 1"}},
      {Zing::KEYCODE_RIGHT, {}},  // round to the first control
      {Zing::KEYCODE_SPACE, {"press 7 1", "depress 7"}},
  };
  for (const auto& [key, heard] : keys) {
    listener.heard.clear();
    manager.KeyDown(key);
    manager.KeyUp(key);
    EXPECT_EQ(listener.heard, heard) << key;
  }
  EXPECT_EQ(list.selectIdx, 0);
  Zing::LinkFocusRing({&button, &box, &slider});  // in a ring of three, back from the first is the last
  EXPECT_EQ(std::tuple(button.tabPrev, box.tabPrev), std::tuple(&slider, &button));
  manager.SetFocus(&slider);
  EXPECT_EQ(std::tuple(Pixel(100, 100), Pixel(309, 119), Pixel(101, 101)), std::tuple(0xFEFEC7u, 0xFEFEC7u, 0u));
  // The frame needs two pixels each way: a narrower or lower control gets none.
  for (const auto& [w, h, lit] :
       {std::tuple(3, 3, "####.####"), {2, 2, "##.##...."}, {1, 3, "........."}, {3, 1, "........."}}) {
    Zing::MemoryImage tiny;
    tiny.Create(3, 3);
    Zing::Graphics g(&tiny);
    Zing::DrawFocusFrame(&g, w, h);
    std::string drawn;
    for (int i = 0; i < 9; ++i) drawn += tiny.GetPixel(i % 3, i / 3) != 0 ? '#' : '.';
    EXPECT_EQ(drawn, lit) << w << h;
  }
  // An arrow with nowhere to go is still the ring's and keeps the focus; a disabled button takes no press.
  box.tabNext = nullptr;
  manager.SetFocus(&box);
  manager.KeyDown(Zing::KEYCODE_DOWN);
  EXPECT_EQ(std::pair(Zing::MoveFocusByArrow(box, Zing::KEYCODE_DOWN), manager.focusWidget),
            std::pair(true, static_cast<Zing::Widget*>(&box)));
  button.SetDisabled(true);
  manager.SetFocus(&button);
  listener.heard.clear();
  manager.KeyDown(Zing::KEYCODE_RETURN);
  // An empty list takes no arrow; a list of one line picks it.
  list.RemoveAll();
  manager.SetFocus(&list);
  manager.KeyDown(Zing::KEYCODE_DOWN);
  list.AddLine("solo", false);
  manager.KeyDown(Zing::KEYCODE_UP);
  EXPECT_EQ(listener.heard, Strings{"1 click 0 1"});
  manager.RemoveAllWidgets();
}

class EditList : public Controls {
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
  // Keys pressed and released in turn, with `held` (Shift, Control) down meanwhile.
  void Keys(std::initializer_list<int> keys, int held = 0) {
    if (held != 0) manager.KeyDown(held);
    for (int key : keys) {
      manager.KeyDown(key);
      manager.KeyUp(key);
    }
    if (held != 0) manager.KeyUp(held);
  }
  // A character typed with `held` (Control unless given) down meanwhile.
  void Chord(char character, int key, int held = KEYCODE_CONTROL) {
    manager.KeyDown(held);
    manager.KeyDown(key);
    manager.KeyChar(character);
    manager.KeyUp(key);
    manager.KeyUp(held);
  }

  Zing::EditWidget edit{1, &listener};
};

TEST_F(EditList, TypingEditingEnterAndUndo) {
  Type("Wick");
  Keys({Zing::KEYCODE_LEFT, Zing::KEYCODE_BACK, Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT});
  Type("\x08\x1b_");  // Back and Escape as characters do nothing; Left stops at the start
  EXPECT_EQ(edit.text, "_Wik");
  // Control+A selects all, typing replaces it, up to 15 characters; letters arrive as characters, not as keys.
  Type("\x01xabcdefghijklmnopqrstuvwxyz"), Keys({'A', Zing::KEYCODE_HOME, Zing::KEYCODE_DELETE, Zing::KEYCODE_RETURN});
  EXPECT_EQ(listener.heard, (Strings{"1 enter abcdefghijklmn"}));

  // Undo takes back one change; undo again redoes it. A text set by the owner has nothing before it.
  edit.SetText("Wicker"), Chord(26, 'Z'), Type("abc"), Chord(26, 'Z');
  EXPECT_EQ(edit.text, "Wicker");
  Chord(26, 'Z'), Keys({Zing::KEYCODE_BACK, Zing::KEYCODE_BACK}), Chord(26, 'Z');
  EXPECT_EQ(edit.text, "Wickerabc");
  WidgetTest::BlockFont blank(0);  // a font that cannot show a character: none is typed
  EXPECT_EQ((edit.SetFont(&blank), Type("q"), edit.text), "Wickerabc");
}

TEST_F(EditList, ShiftTypingOvertypingUndoAndWordJumps) {
  // Capitals typed with Shift held stay: the next key does not replace them.
  for (const auto& [capital, rest] : {std::pair('J', "ohn "), {'M', "c"}, {'D', "onald"}})
    Chord(capital, capital, KEYCODE_SHIFT), Type(rest);
  EXPECT_EQ(std::tuple(edit.text, edit.hiliteAnchor), std::tuple("John McDonald", -1));

  // Typing over a selection, or backspacing one and on, is one change for undo.
  Chord(1, 'A');
  Type("abc");
  Chord(26, 'Z');
  EXPECT_EQ(edit.text, "John McDonald");
  Keys({Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT}, KEYCODE_SHIFT);
  Keys({Zing::KEYCODE_BACK, Zing::KEYCODE_BACK});
  EXPECT_EQ(edit.text, "John McDo");
  Chord(26, 'Z');
  EXPECT_EQ(edit.text, "John McDonald");

  // Words are made of letters, digits, '_' and the characters from 192 on.
  std::string inWords, notInWords;
  for (int c = 1; c < 256; ++c)
    (edit.IsPartOfWord(static_cast<char>(c)) ? inWords : notInWords) += static_cast<char>(c);
  EXPECT_EQ(std::pair(inWords.substr(0, 64), inWords.size()),
            std::pair(std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz\xC0"),
                      std::size_t{63 + 64}));
  // Word jumps: Control+Right passes a word and the gap after it, Control+Left
  // goes back to a word's start; with Shift they select.
  Keys({Zing::KEYCODE_HOME});
  manager.KeyDown(KEYCODE_CONTROL);
  std::vector<int> stops;
  for (int key : {Zing::KEYCODE_RIGHT, Zing::KEYCODE_RIGHT, Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT})
    Keys({key}), stops.push_back(edit.cursorPos);
  EXPECT_EQ(stops, (std::vector<int>{5, 13, 5, 0}));
  Keys({Zing::KEYCODE_RIGHT, Zing::KEYCODE_RIGHT});
  Keys({Zing::KEYCODE_LEFT}, KEYCODE_SHIFT);
  manager.KeyUp(KEYCODE_CONTROL);
  Type("X");
  // Left or Right without Shift ends a selection at its start or at its end.
  Keys({Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT}, KEYCODE_SHIFT), Keys({Zing::KEYCODE_RIGHT}), Type("Y");
  Keys({Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT}, KEYCODE_SHIFT), Keys({Zing::KEYCODE_LEFT}), Type("Z");
  EXPECT_EQ(edit.text, "John ZXY");
}

TEST_F(EditList, ClipboardCutCopyPaste) {
  edit.SetText("Anna Lise");
  Keys({Zing::KEYCODE_HOME});
  Keys({Zing::KEYCODE_RIGHT, Zing::KEYCODE_RIGHT}, KEYCODE_SHIFT);  // a selection from the first character
  Chord(3, 'C');
  EXPECT_EQ(host.clipboard, "An");
  Keys({Zing::KEYCODE_END, Zing::KEYCODE_LEFT});
  Keys({Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT, Zing::KEYCODE_LEFT}, KEYCODE_SHIFT);
  Chord(24, 'X');
  EXPECT_EQ(std::tuple(host.clipboard, edit.text), std::tuple("Lis", "Anna e"));
  Keys({Zing::KEYCODE_DELETE});
  // Control bytes, undefined bytes and vetoed characters are dropped; the
  // paste ends at the first line break and stops at the length limit.
  host.clipboard = std::string("B\x01\x7f\x81o#b\x96") + "\xE9" + "1234567890\r\nZZ";
  Chord(22, 'V');
  EXPECT_EQ(edit.text,
            "Anna Bob\x96\xE9"
            "12345");
  host.extendedChars = false, edit.SetText("");
  host.clipboard = "\x80t\xE9";
  Chord(22, 'V');
  EXPECT_EQ(edit.text, "t");
  edit.passwordChar = '*', edit.SetText("secret");
  Chord(1, 'A'), Chord(3, 'C');
  EXPECT_EQ(host.clipboard, "******");
  // A text set by the owner ends the selection.
  edit.SetText("abcdefghijklmno");
  EXPECT_EQ(std::pair(edit.hiliteAnchor, edit.cursorPos), std::pair(-1, 15));
  // Pasted into a full field, nothing is taken and nothing is pushed out.
  host.clipboard = "xyz";
  Keys({Zing::KEYCODE_HOME});
  Chord(22, 'V');
  EXPECT_EQ(edit.text, "abcdefghijklmno");
  Keys({Zing::KEYCODE_RIGHT});
  Keys({Zing::KEYCODE_RIGHT}, KEYCODE_SHIFT);  // over a selection it takes the selection's room
  Chord(22, 'V');
  EXPECT_EQ(edit.text, "axcdefghijklmno");
  edit.maxChars = 0, edit.SetText("abc");  // a limit of nothing holds and takes nothing
  Chord(22, 'V');
  EXPECT_EQ(edit.text, "");
}

TEST_F(EditList, TheMouseSelectsAndTheCursorBlinks) {
  edit.SetText("abcdefgh");
  // Just right of character k's left edge: the text starts 4 into the field.
  const auto at = [](int k) { return 10 + 4 + BlockFont::kAdvance * k + 1; };
  EXPECT_EQ((manager.MouseMove(at(0), 20), host.cursors.back()), 3);  // the text beam over the field
  manager.MouseDown(at(0), 20, 1);
  manager.MouseMove(at(2), 20);
  manager.MouseMove(at(3) - 2, 20);  // the right half of a character is the place after it
  manager.MouseUp(at(3) - 2, 20, 1);
  EXPECT_EQ(std::pair(edit.hiliteAnchor, edit.cursorPos), std::pair(0, 3));
  // The field: its outline, the text, the selection in white on black, the
  // cursor bar at its end, blinking every 41 updates.
  EXPECT_EQ(Checksum(Rect(10, 10, 200, 20)), 2864264245u) << Picture(Rect(10, 10, 60, 20));
  std::vector<std::uint32_t> bar{Pixel(at(3) - 1, 24)};
  for (int i = 1; i <= 82; ++i) {
    manager.UpdateFrame();
    if (i == 40 || i == 41 || i == 81 || i == 82) bar.push_back(Pixel(at(3) - 1, 24));
  }
  EXPECT_EQ(bar, (std::vector<std::uint32_t>{0, 0, 0xFFFFFF, 0xFFFFFF, 0}));

  // A double click selects the word under it, or the word it is dragged to; a press ends the selection, and
  // a drag back to where it began leaves none.
  edit.SetText("ab cdef gh");
  for (const auto& [k, up, from, to] : {std::tuple(1, 1, 0, 2), {5, 5, 3, 7}, {5, 9, 8, 10}}) {
    manager.MouseDown(at(k), 20, 2), manager.MouseMove(at(up), 20), manager.MouseUp(at(up), 20, 2);
    EXPECT_EQ(std::pair(edit.hiliteAnchor, edit.cursorPos), std::pair(from, to)) << k;
  }
  manager.MouseDown(at(5), 20, 1);
  for (int k : {6, 5}) manager.MouseMove(at(k), 20);
  manager.MouseUp(at(5), 20, 1);
  EXPECT_EQ(std::pair(edit.hiliteAnchor, edit.cursorPos), std::pair(-1, 5));
  manager.SetFocus(nullptr);
  EXPECT_EQ(Pixel(at(5) - 1, 24), 0xFFFFFFu);                        // no cursor without the focus
  EXPECT_EQ((manager.MouseMove(300, 300), host.cursors.back()), 0);  // the arrow again off the field
  // Out of the tree, a field has no one to ask for a cursor.
  manager.RemoveWidget(&edit);
  edit.MouseEnter();
  EXPECT_EQ(host.cursors.back(), 0);
}

// The field by its state: the text from the first character in view, the
// selection within the view in white on black and the cursor bar, both only
// with the focus; a password field shows its stand-in characters.
TEST_F(EditList, TheFieldDrawsTheTextInViewItsSelectionAndCursor) {
  // The first character in view, the cursor, the selection's anchor, the focus, the password character.
  const std::tuple<int, int, int, bool, char, std::uint32_t> cases[] = {
      {5, 9, 7, true, 0, 1319394261},    // scrolled, a selection inside the view
      {5, 9, 2, true, 0, 2091964949},    // one starting before it
      {5, 9, 7, false, 0, 4109487673},   // no focus
      {0, 3, 1, true, '*', 3636835093},  // a password
  };
  edit.Resize(10, 10, 44, 20);  // room for six characters, the cursor kept 8 pixels in
  // Typing at the end scrolls a character at a time: the last five stay in
  // view; going back brings the start into view again.
  Type("abcdefghijkl");
  EXPECT_EQ(std::pair(edit.cursorPos, edit.leftPos), std::pair(12, 7));
  EXPECT_EQ((Type("!"), std::pair(edit.text, edit.cursorPos)), std::pair(std::string("abcdefghijkl"), 12));  // refused
  for (int i = 0; i < 12; ++i) Keys({Zing::KEYCODE_LEFT});
  EXPECT_EQ(edit.leftPos, 0);
  EXPECT_EQ((Keys({Zing::KEYCODE_END}), edit.leftPos), 10);  // a text set without moving the cursor shows its start
  EXPECT_EQ((edit.SetText("abcdefghijkl", true), edit.leftPos), 0);
  for (const auto& [left, cursor, anchor, focus, password, sum] : cases) {
    edit.passwordChar = password;
    edit.SetText("abcdefghijkl");
    manager.SetFocus(focus ? &edit : nullptr);
    std::tie(edit.leftPos, edit.cursorPos, edit.hiliteAnchor) = std::tuple(left, cursor, anchor);
    edit.MarkDirty();
    EXPECT_EQ(Checksum(Rect(10, 10, 44, 20)), sum) << cursor << " " << anchor << Picture(Rect(10, 10, 44, 20));
  }
}

// A scroll bar that remembers what the list told it.
struct Scrollbar : Zing::ListScrollbar, Zing::Widget {
  void SetMaxValue(double v) override { max = v; }
  void SetPageSize(double v) override { page = v; }
  void SetValue(double v) override { value = v; }
  double GetValue() const override { return value; }
  double max = 0, page = 0, value = 0;
};

// Lists side by side are the columns of one table: a line added to the first appears (empty) in the
// others; removals, line colours, highlight, selection, sorting and scrolling go to all of them;
// the columns and the scroll bar stay in front of the first column.
TEST_F(Controls, TheColumnsOfATableShareLinesHighlightSelectionAndScrolling) {
  Zing::ListWidget names(7, &font, &listener), points(8, &font, &listener);
  Scrollbar bar;
  names.listChild = &points;
  points.listParent = &names;
  names.scrollbar = &bar;
  names.scrollbarWidget = &bar;
  for (const auto& [line, sorted, at] :
       {std::tuple("mike", true, 0), {"anna", true, 0}, {"zoe", false, 2}, {"kim", true, 1}}) {
    EXPECT_EQ(names.AddLine(line, sorted), at) << line;
  }
  for (int i : {0, 1, 3, 9}) points.SetLine(i, std::to_string(i * 7));
  EXPECT_EQ(std::tuple(names.lines, points.lines, bar.max),
            std::tuple(Strings{"anna", "kim", "mike", "zoe"}, Strings{"0", "7", "", "21"}, 4));
  names.SetLineColor(1, Color(1, 1, 1));
  points.SetColor("21", Color(3, 3, 3));
  names.SetLineColor(4, Color(9, 9, 9));  // no such line
  EXPECT_EQ(points.lineColors, (std::vector<Color>{Color(0, 0, 0), Color(1, 1, 1), Color(0, 0, 0), Color(3, 3, 3)}));
  points.SetSelect(2);
  names.Resize(0, 0, 100, 48);  // four lines of ten fit
  points.Resize(100, 0, 50, 48);
  manager.AddWidget(&names);
  manager.AddWidget(&points);
  manager.AddWidget(&bar);
  manager.BringToFront(&names);  // the other column and the bar follow it
  EXPECT_EQ((std::vector<Zing::Widget*>(manager.widgets.begin(), manager.widgets.end())),
            (std::vector<Zing::Widget*>{&names, &points, &bar}));
  names.Resize(0, 0, 100, 18);  // room for less than a line: a page of one
  EXPECT_EQ(bar.page, 1);
  names.Resize(0, 0, 100, 48);
  EXPECT_EQ(bar.page, 4);
  manager.MouseMove(10, 4 + 15);
  names.RemoveLine(1);  // the highlighted line goes; the selection moves up with its line
  EXPECT_EQ(listener.heard, (Strings{"7 hilite -1>1", "8 hilite -1>1"}));
  EXPECT_EQ(std::tuple(points.lines, points.selectIdx, names.selectIdx, names.hiliteIdx, points.hiliteIdx, bar.max),
            std::tuple(Strings{"0", "", "21"}, 1, 1, -1, -1, 3.0));
  EXPECT_EQ(std::tuple(names.GetLineIdx("zoe"), names.GetLineIdx("bob"), names.GetStringAt(3), names.GetLineCount()),
            std::tuple(2, -1, std::string(), 3));
  EXPECT_EQ(std::pair(names.GetOptimalWidth(), names.GetOptimalHeight()), std::pair(16 + 24, 8 + 30));

  // Sorted by the second column's numbers padded to three places, or by the first.
  names.sortFromChild = true;
  points.maxNumericPlaces = 3;
  points.SetLine(0, "100");
  points.SetLine(1, "5");
  names.Sort(false);
  EXPECT_EQ(std::pair(names.lines, points.lines), std::pair(Strings{"anna", "zoe", "mike"}, Strings{"100", "21", "5"}));
  EXPECT_EQ(points.lineColors.at(1), Color(3, 3, 3));
  names.sortFromChild = false;
  names.Sort(true);
  EXPECT_EQ(points.lines, (Strings{"100", "5", "21"}));

  // The wheel scrolls five lines a notch, and the columns scroll together.
  bar.value = 6;
  manager.SetFocus(&names);
  manager.MouseWheel(1);
  EXPECT_EQ(std::tuple(bar.value, names.position, points.position), std::tuple(1.0, 1.0, 1.0));
  // Rows with equal keys keep their order, sorted either way.
  names.RemoveAll(), names.sortFromChild = true;
  for (int i = 0; i < 20; ++i) names.AddLine({static_cast<char>('a' + i)}, false), points.SetLine(i, i % 2 ? "1" : "0");
  std::string orders;
  for (bool ascending : {true, false})
    for (const std::string& line : (names.Sort(ascending), names.lines)) orders += line;
  EXPECT_EQ(orders, "acegikmoqsbdfhjlnprtbdfhjlnprtacegikmoqs");
  manager.RemoveAllWidgets();
}

// Every visible line from the scroll position down: the selected line on its
// bar in the selection text colour, the highlighted one in its own colour,
// each line centred or right-aligned in a line taller than the font.
TEST_F(Controls, AListDrawsItsVisibleLinesSelectionAndHighlight) {
  Zing::ListWidget list(7, &font, &listener);
  const int colors[6][3] = {{16, 16, 16}, {32, 32, 32}, {48, 48, 48}, {64, 64, 64}, {80, 80, 80}, {96, 96, 96}};
  list.SetColors(colors, 6);
  for (const char* line : {"a", "bb", "ccc", "dddd", "eeeee"}) list.AddLine(line, false);
  list.SetLineColor(0, Color(200, 0, 0));  // a colour of its own for the first line
  list.itemHeight = 12;
  list.drawOutline = false;
  list.justify = Zing::ListWidget::JUSTIFY_CENTER;
  list.position = 0.5;
  list.Resize(0, 0, 60, 50);
  manager.AddWidget(&list);
  list.SetSelect(1);
  manager.MouseMove(30, 4 + 12 * 2);  // (24 - 4) / 12 + 0.5: line 2
  EXPECT_EQ(Checksum(Rect(0, 0, 60, 50)), 3682650517u) << Picture(Rect(0, 0, 60, 50));
  list.justify = Zing::ListWidget::JUSTIFY_RIGHT;
  list.drawSelectWhenHilited = true;
  list.drawOutline = true;
  list.position = 0;
  list.itemHeight = 0;  // none: as tall as the font, 10
  list.MarkDirty();
  EXPECT_EQ(Checksum(Rect(0, 0, 60, 50)), 1808714789u) << Picture(Rect(0, 0, 60, 50));
  font.height = 0;  // nor a font's: lines a pixel high
  EXPECT_EQ(list.GetOptimalHeight(), 5 * 1 + 8);
  list.itemHeight = 12;
  // A double click on the highlighted line; nothing below the last line.
  Click(30, 4 + 12 * 2 + 3, 2);
  Click(30, 47);
  Click(30, 2), manager.MouseMove(30, 5);  // above the first line, then on it: under the hand
  EXPECT_EQ(listener.heard, (Strings{"7 hilite -1>2", "7 click 2 2", "7 hilite 2>-1", "7 hilite -1>0"}));
  list.RemoveLine(1);  // the selected line: nothing is selected
  EXPECT_EQ(list.selectIdx, -1);
  list.RemoveAll();
  EXPECT_EQ(std::tuple(list.selectIdx, list.hiliteIdx, list.GetOptimalHeight(), host.cursors.back()),
            std::tuple(-1, -1, 8, 1));
  EXPECT_EQ((list.Resize(0, 0, 60, 16), list.pageSize), 1.0);  // less than a line and its insets: a page of one
  manager.RemoveAllWidgets();
}

TEST_F(EditList, HostileInputStaysWithinLimits) {
  edit.maxChars = -1;
  edit.maxPixels = 120;  // 20 block characters
  for (int i = 0; i < 5000; ++i) manager.KeyChar(static_cast<char>(i % 256));
  EXPECT_LE(edit.text.size(), 20u);
  for (char c : edit.text) EXPECT_GE(static_cast<unsigned char>(c), 32);
  host.clipboard = std::string(100000, 'q');
  Chord(1, 'A');
  Chord(22, 'V');
  EXPECT_EQ(edit.text, std::string(20, 'q'));
  edit.text = std::string(300, 'z');  // set behind the field's back
  edit.cursorPos = 999;
  edit.hiliteAnchor = 500;
  Pixel(0, 0);
  Keys({Zing::KEYCODE_RIGHT});
  EXPECT_EQ(edit.text.size(), 20u);
  EXPECT_LE(edit.cursorPos, 20);

  // A width-check font limits the text too: to the field's pixels, or to a
  // limit of its own; nothing fits in no pixels at all.
  BlockFont wide(12);
  edit.SetFont(&font, &wide);
  Strings kept;
  for (const auto& [field, own] : {std::pair(60, 0), {60, 36}, {60, 1}, {60, -1}, {0, -1}}) {
    edit.maxPixels = field, edit.widthCheckFonts.at(0).maxPixels = own;
    edit.SetText("abcdefghijkl");
    kept.push_back(edit.text);
  }
  edit.maxPixels = -1;  // no limit left for the font; a check without a font is passed over
  edit.widthCheckFonts.push_back({nullptr, 6});
  edit.SetText(""), edit.font = std::make_unique<BlockFont>(1), Type("abc");  // glyphs a pixel wide can be typed
  kept.push_back(edit.text);
  // A password field is as wide as its mask, here a third of its letters' width.
  struct MaskFont : BlockFont {
    int StringWidth(const std::string& t) override { return static_cast<int>(t.size()) * (t.starts_with('*') ? 1 : 3); }
  };
  edit.widthCheckFonts.clear(), edit.maxPixels = 6, edit.passwordChar = '*', edit.font = std::make_unique<MaskFont>();
  kept.push_back((edit.SetText("abcdefgh"), edit.text));
  EXPECT_EQ(kept, (Strings{"abcde", "abc", "", "abcde", "", "abc", "abcdef"}));
}

}  // namespace
