// The framework's dialog through the widget manager: its buttons by mode, laid out along its bottom
// edge and kept in front of it, its answers to the dialog listener, dragging, its preferred height,
// and its look (the drawn panel with its shadow, header, lines and footer, the buttons' cells, and
// the system fonts of controls without their own).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/widget/Dialog.h"
#include "framework/widget/DialogListener.h"
#include "framework/widget/EditWidget.h"
#include "framework/widget/HyperlinkWidget.h"
#include "framework/widget/SystemFonts.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::ProbeWidget;
using Zing::Dialog;
using Zing::Rect;
using Strings = std::vector<std::string>;

class Dialogs : public WidgetTest::ScreenFixture, public Zing::DialogListener {
 protected:
  Dialogs() { SetDefault(this); }
  ~Dialogs() override {
    manager.RemoveAllWidgets();
    SetDefault(nullptr);
  }
  void DialogButtonPress(int dialogId, int buttonId) override {
    heard.push_back("press " + std::to_string(dialogId) + " " + std::to_string(buttonId));
  }
  void DialogButtonDepress(int dialogId, int buttonId) override {
    heard.push_back("depress " + std::to_string(dialogId) + " " + std::to_string(buttonId));
  }
  std::unique_ptr<Dialog> Make(int mode, const std::string& header = "HEAD", const std::string& lines = "ab cd",
                               const std::string& footer = "FOOT", Zing::Image* buttonImage = nullptr) {
    auto dialog = std::make_unique<Dialog>(nullptr, buttonImage, 4, true, header, lines, footer, mode);
    dialog->SetHeaderFont(&font);
    dialog->SetLinesFont(&font);
    return dialog;
  }
  static Rect RectOf(const std::unique_ptr<Zing::DialogButton>& button) {
    return button != nullptr ? button->GetRect() : Rect();
  }

  Strings heard;
};

TEST_F(Dialogs, ButtonsByModeAlongTheBottomEdgeInFrontOfTheDialog) {
  // The mode; insets, side padding and spacing: the defaults, or odd ones; the buttons and their labels.
  const std::tuple<int, bool, Rect, Rect, std::string> cases[] = {
      {Dialog::BUTTONS_YES_NO, false, {124, 252, 122, 24}, {254, 252, 122, 24}, "YES|NO"},
      {Dialog::BUTTONS_OK_CANCEL, true, {118, 254, 128, 24}, {250, 254, 128, 24}, "OK|CANCEL"},
      {Dialog::BUTTONS_FOOTER, true, {115, 254, 266, 24}, {}, "FOOT|"},
      {Dialog::BUTTONS_NONE, false, {}, {}, "|"},
  };
  for (const auto& [mode, odd, yes, no, labels] : cases) {
    auto dialog = Make(mode);
    if (odd) {
      dialog->backgroundInsets = {5, 6, 7, 9};
      dialog->contentInsets = {10, 11, 12, 13};
      dialog->buttonSidePadding = 3;
      dialog->buttonHorzSpacing = 4;
    }
    dialog->Resize(100, 100, 300, 200);
    EXPECT_EQ(std::tuple(RectOf(dialog->yesButton), RectOf(dialog->noButton),
                         (dialog->yesButton ? dialog->yesButton->label : "") + "|" +
                             (dialog->noButton ? dialog->noButton->label : ""),
                         dialog->FocusOrder().size()),
              std::tuple(yes, no, labels, static_cast<std::size_t>((yes.w > 0) + (no.w > 0))));
  }

  // The buttons join the manager in front of the dialog, stay there when it is reordered, and leave with it.
  ProbeWidget* screenWidget = Add("screen", 0, 0, 640, 480);
  auto dialog = Make(Dialog::BUTTONS_YES_NO);
  manager.AddWidget(dialog.get());
  EXPECT_EQ(Zing::WidgetList(manager.widgets),
            (Zing::WidgetList{screenWidget, dialog.get(), dialog->yesButton.get(), dialog->noButton.get()}));
  Add("toast", 0, 0, 10, 10);
  manager.BringToBack(dialog.get());
  const std::vector<Zing::Widget*> order(manager.widgets.begin(), manager.widgets.end());
  EXPECT_EQ(order, (std::vector<Zing::Widget*>{dialog.get(), dialog->yesButton.get(), dialog->noButton.get(),
                                               screenWidget, manager.widgets.back()}));
  manager.RemoveWidget(dialog.get());
  EXPECT_EQ(manager.widgets.size(), 2u);
}

TEST_F(Dialogs, AnswersReachTheListenerAndEscapeAnswersNo) {
  auto dialog = Make(Dialog::BUTTONS_YES_NO);
  dialog->Resize(100, 100, 300, 200);
  manager.AddWidget(dialog.get());
  Click(130, 260);
  EXPECT_EQ(dialog->result, Dialog::ID_YES);
  dialog->ButtonPress(7), dialog->ButtonDepress(7);  // a control of a derived dialog: its own business
  manager.AddBaseModal(dialog.get());
  manager.KeyDown(Zing::KEYCODE_ESCAPE);
  EXPECT_EQ(heard, (Strings{"press 4 1000", "depress 4 1000", "depress 4 1001"}));
  EXPECT_EQ(dialog->result, Dialog::ID_NO);
  manager.RemoveBaseModal(dialog.get());

  // Waiting runs the application's steps until an answer comes, the dialog
  // leaves the tree or the application stops; then it may close the dialog.
  dialog->result = Dialog::kNoResult;
  int steps = 0;
  host.step = [&] {
    if (++steps == 3) dialog->ButtonDepress(Dialog::ID_YES);
    return steps < 10;
  };
  EXPECT_EQ(std::tuple(dialog->WaitForResult(false), steps, host.killed),
            std::tuple(+Dialog::ID_YES, 3, std::vector<int>{}));
  dialog->result = Dialog::kNoResult;
  EXPECT_EQ(std::tuple(dialog->WaitForResult(true), steps, host.killed),
            std::tuple(+Dialog::kNoResult, 10, std::vector<int>{4}));
  host.step = [&] {
    manager.RemoveWidget(dialog.get());
    return true;
  };
  EXPECT_EQ(dialog->WaitForResult(false), Dialog::kNoResult);
  // A footer button answers yes to Escape; a dialog without buttons ignores it.
  auto footer = Make(Dialog::BUTTONS_FOOTER), none = Make(Dialog::BUTTONS_NONE);
  footer->KeyDown(Zing::KEYCODE_ESCAPE), none->KeyDown(Zing::KEYCODE_ESCAPE);
  EXPECT_EQ(std::pair(footer->result, none->result), std::pair(+Dialog::ID_YES, +Dialog::kNoResult));

  // Made without a button image, the dialog and its buttons have black
  // captions. The caption colours set later go to both buttons as well.
  using Colors = std::vector<Zing::Color>;
  Colors colors{{255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {80, 80, 80}, {255, 255, 255}};
  Colors buttonColors{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {132, 132, 132}, {212, 212, 212}};
  EXPECT_EQ(std::tuple(dialog->colors, dialog->yesButton->colors, dialog->noButton->colors),
            std::tuple(colors, buttonColors, buttonColors));
  dialog->SetColor(Dialog::COLOR_BUTTON_TEXT, Zing::Color(1, 2, 3));
  dialog->SetColor(Dialog::COLOR_BUTTON_TEXT_HILITE, Zing::Color(4, 5, 6));
  dialog->SetColor(Dialog::COLOR_HEADER, Zing::Color(7, 8, 9));
  colors[0] = Zing::Color(7, 8, 9);
  colors[3] = buttonColors[0] = Zing::Color(1, 2, 3);
  colors[4] = buttonColors[1] = Zing::Color(4, 5, 6);
  EXPECT_EQ(std::tuple(dialog->colors, dialog->yesButton->colors, dialog->noButton->colors),
            std::tuple(colors, buttonColors, buttonColors));
}

TEST_F(Dialogs, PreferredHeightAddsEachPartThatIsThere) {
  font.ascentPadding = 2;
  font.lineSpacingOffset = 3;  // a line is 13 apart
  // The mode, header, lines and footer, and the height. Insets 48; header 10 - 2; 10 after it; lines wrapped at 300 -
  // 52 = 248 (41 characters a line): ascent 8 - 2, 13 a line, descent 2; footer 8 + 13; buttons 8 + 8 + 24.
  const std::tuple<int, std::string, std::string, std::string, int> cases[] = {
      {Dialog::BUTTONS_NONE, "", "", "", 48},
      {Dialog::BUTTONS_NONE, "H", "", "", 48 + 8},
      {Dialog::BUTTONS_NONE, "", "one", "", 48 + 8},
      {Dialog::BUTTONS_NONE, "H", "one", "", 48 + 8 + 10 + 8},
      {Dialog::BUTTONS_NONE, "H", std::string(20, 'a') + " " + std::string(21, 'b'), "", 48 + 8 + 10 + 21},
      {Dialog::BUTTONS_NONE, "", "", "F", 48 + 13},
      {Dialog::BUTTONS_NONE, "H", "", "F", 48 + 8 + 8 + 13},
      {Dialog::BUTTONS_FOOTER, "", "", "F", 48 + 8 + 24},
      {Dialog::BUTTONS_YES_NO, "H", "one", "F", 48 + 8 + 10 + 8 + 8 + 13 + 8 + 8 + 24},
  };
  for (const auto& [mode, header, lines, footer, height] : cases) {
    auto dialog = Make(mode, header, lines, footer);
    dialog->lineSpacingOffset = 0;
    EXPECT_EQ(dialog->GetPreferredHeight(300), height) << header << "|" << lines << "|" << footer;
  }
  auto spaced = Make(Dialog::BUTTONS_NONE, "", "one\ntwo", "");
  spaced->lineSpacingOffset = 4;
  spaced->contentInsets = {1, 2, 3, 4};
  spaced->backgroundInsets = {5, 6, 7, 8};
  EXPECT_EQ(spaced->GetPreferredHeight(300), 20 + 6 + 17 + 2);
}

// The outline at 12..87 x 12..67 round the panel, the shadow right of and below it from 24 on; the header
// centred from the top inset on, the lines 10 + 10 - 3 below it (the ascent padding lifts every line; alignment
// 0 goes to the word wrapping as it stands) or from the top without one, the footer below; bevelled buttons.
TEST_F(Dialogs, TheDrawnPanelItsShadowTextAndButtonsByWhatIsThere) {
  font.ascentPadding = 3;
  const std::tuple<std::string, std::string, std::string, int, std::uint32_t> cases[] = {
      {"HD", "ab cd", "F", Dialog::BUTTONS_NONE, 2793535980u},
      {"", "ab cd", "F", Dialog::BUTTONS_NONE, 4032963345u},
      {"HD", "", "", Dialog::BUTTONS_NONE, 3082414721u},
      {"", "", "F", Dialog::BUTTONS_YES_NO, 2525522009u},
  };
  for (const auto& [header, lines, footer, mode, sum] : cases) {
    std::fill_n(screen.GetBits(), 640 * 480, 0xFF808080u);
    auto dialog = Make(mode, header, lines, footer);
    dialog->backgroundInsets = {4, 2, 0, 0};  // the text only: the drawn panel keeps its place
    dialog->Resize(0, 0, 100, 80);
    manager.AddWidget(dialog.get());
    EXPECT_EQ(Checksum(Rect(0, 0, 100, 80)), sum)
        << header << "|" << lines << "|" << footer << Picture(Rect(0, 0, 100, 80));
    manager.RemoveWidget(dialog.get());
  }
}

// Dragged by its body, the dialog follows the pointer but keeps all but 8
// pixels on the screen, and the grabbed point stays 8 pixels inside it.
TEST_F(Dialogs, ADragMovesTheDialogWithinTheScreenMargins) {
  auto dialog = Make(Dialog::BUTTONS_NONE);
  dialog->Resize(100, 100, 300, 200);
  manager.AddWidget(dialog.get());
  manager.MouseMove(110, 110), manager.MouseDown(110, 110, 1);
  const std::tuple<int, int, Zing::Point> drags[] = {{210, 160, {200, 150}},
                                                     {-500, -500, {-8, -8}},
                                                     {50, 50, {42, 42}},
                                                     {2000, 2000, {348, 288}},
                                                     {400, 300, {109, 109}}};
  for (const auto& [px, py, at] : drags) {
    manager.MouseMove(px, py);
    EXPECT_EQ((Zing::Point{dialog->x, dialog->y}), at) << px << "," << py;
  }
  manager.MouseUp(400, 300, 1);
  manager.MouseMove(420, 320), manager.MouseDown(420, 320, 2);  // released: no longer dragged, nor by a double click
  manager.MouseMove(430, 330), manager.MouseUp(430, 330, 2);
  EXPECT_EQ(std::tuple(dialog->x, dialog->y, host.cursors), std::tuple(109, 109, std::vector<int>{2, 0}));
}

// Controls without a font ask the system for one when they first draw: buttons, links and text fields
// 10, a dialog's header 14, its lines 12 and its buttons 12 bold.
TEST_F(Dialogs, ControlsWithoutAFontAskTheSystemForOneOfTheirSize) {
  Strings asked;
  Zing::SetSystemFontFactory([&](const std::string&, int size, bool bold) -> std::unique_ptr<Zing::Font> {
    asked.push_back(std::to_string(size) + (bold ? " bold" : ""));
    return std::make_unique<WidgetTest::BlockFont>();
  });
  Zing::ButtonWidget button(1, nullptr);
  Zing::HyperlinkWidget link(2, nullptr);
  button.label = link.label = "go";
  Zing::EditWidget field(3, nullptr);
  auto cells = WidgetTest::Solid(12, 3, 0xFF00FF00);
  Dialog dialog(cells.get(), cells.get(), 4, true, "H", "L", "F", Dialog::BUTTONS_FOOTER);
  dialog.Resize(0, 100, 200, 100), dialog.backgroundInsets = {0, 0, 0, 5};  // its image ends 5 above the bottom
  for (Zing::Widget* w : std::vector<Zing::Widget*>{&button, &link, &field, &dialog}) {
    if (w != &dialog) w->Resize(0, static_cast<int>(asked.size()) * 30, 40, 20);
    manager.AddWidget(w);
    manager.DrawScreen();
  }
  Zing::SetSystemFontFactory(nullptr);
  EXPECT_EQ(std::tuple(asked, Pixel(1, 194), Pixel(1, 195)),
            std::tuple(Strings{"10", "10", "10", "14", "12", "12 bold"}, 0x00FF00u, 0u));
  manager.RemoveAllWidgets();
}

// A dialog's button stretches the cell of its state from four 3 x 3 cells (normal red, over pale blue, down
// blue, disabled grey): down a pixel right and down, over fading over normal tinted white, an empty disabled
// cell the normal look, no cells the whole image; the label centred plus its offset, in colour 0 or 1 when lit.
TEST_F(Dialogs, ButtonsDrawTheCellOfTheirStateMovedWhilePressed) {
  auto cells = WidgetTest::Solid(12, 3, 0);
  const std::uint32_t colors[] = {0xFFFF0000, 0xFFA2C5F0, 0xFF0000FF, 0xFF606060};
  for (int i = 0; i < 36; ++i) cells->GetBits()[i] = colors[(i % 12) / 3];
  Add("back", 0, 0, 200, 200)->paint = 0xFF000000;
  auto dialog = std::make_unique<Dialog>(nullptr, cells.get(), 4, false, "", "", "", Dialog::BUTTONS_YES_NO);
  dialog->Resize(0, 0, 200, 100);
  manager.AddWidget(dialog.get());
  Zing::DialogButton& yes = *dialog->yesButton;
  EXPECT_EQ(yes.GetRect(), Rect(24, 73, 72, 3));
  yes.Resize(24, 60, 40, 20);
  std::tie(yes.normalRect, yes.overRect, yes.downRect, yes.disabledRect) =
      std::tuple(Rect(0, 0, 3, 3), Rect(3, 0, 3, 3), Rect(6, 0, 3, 3), Rect(9, 0, 3, 3));
  yes.label = "Y";
  font.ascentPadding = 1, font.ascent = 11;  // a sixth of the ascent is 1, a fifth would be 2
  yes.SetFont(&font);
  yes.textOffsetX = 2;
  yes.textOffsetY = 1;
  yes.SetColor(0, Zing::Color(255, 255, 255));
  yes.SetColor(1, Zing::Color(255, 255, 0));
  const std::pair<std::function<void()>, std::uint32_t> states[] = {
      {[] {}, 2052054804u},
      {[&] { manager.MouseMove(30, 70); }, 899477877u},
      {[&] { manager.MouseDown(30, 70, 1); }, 2529301953u},
      {[&] { manager.MouseUp(30, 70, 1), yes.overAlpha = 0.75; }, 243226239u},
      {[&] { yes.SetDisabled(true); }, 630809780u},
      {[&] { yes.disabledRect = Rect(9, 0, 1, 3); }, 630809780u},  // a cell one pixel wide still counts
      {[&] { yes.disabledRect = Rect(9, 0, 3, 0), yes.overAlpha = 0; }, 2052054804u},
      {[&] { yes.normalRect = Rect(); }, 4215958699u},
  };
  for (const auto& [action, sum] : states) {
    action();
    yes.MarkDirty();
    EXPECT_EQ(Checksum(Rect(24, 60, 40, 20)), sum) << &action - &states[0].first << Picture(Rect(24, 60, 41, 21));
  }
  EXPECT_EQ(host.cursors, (std::vector<int>{1, 0}));  // the hand while over the button
}

}  // namespace
