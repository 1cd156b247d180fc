// Input through the widget manager: hit testing, the widget under the pointer, every mouse button
// pressed, dragged and released, keys and focus, and modality: a base modal widget takes the mouse
// and the focus from what lies behind it until it goes away.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::ProbeWidget;
using Zing::Rect;
using Zing::Widget;
using Strings = std::vector<std::string>;

using WidgetInput = WidgetTest::WidgetFixture;

// The frontmost widget taking a point is hit, in its own coordinates: insets shrink it; hidden ones and
// their children are passed over; a mouse-invisible one lets points through but its children are hit; a
// disabled one covers what is behind it; one that refuses a point lets it through.
TEST_F(WidgetInput, TheFrontmostWidgetThatTakesThePointIsHit) {
  Add("back", 0, 0, 200, 200);
  ProbeWidget* front = Add("front", 50, 50, 100, 100);
  Add("inner", 10, 10, 20, 20, front);
  front->mouseInsets = Zing::Insets{5, 6, 7, 8};
  ProbeWidget* hidden = Add("hidden", 150, 0, 50, 50);
  Add("hiddenChild", 0, 0, 10, 10, hidden);
  hidden->SetVisible(false);
  ProbeWidget* frame = Add("frame", 0, 150, 50, 50);
  frame->mouseVisible = false;
  Add("knob", 10, 10, 10, 10, frame);
  Add("off", 160, 160, 30, 30)->SetDisabled(true);
  Add("refusing", 100, 0, 20, 20)->refusePoints = true;
  Add("noMouse", 0, 100, 20, 20)->widgetFlagsMod = Zing::FlagsMod(0, Zing::WIDGETFLAGS_ALLOW_MOUSE);
  const std::tuple<int, int, std::string, int, int> points[] = {
      {65, 66, "inner", 5, 6},  {100, 100, "front", 50, 50}, {10, 10, "back", 10, 10},   {300, 300, "", 0, 0},
      {54, 90, "back", 54, 90}, {55, 90, "front", 5, 40},    {142, 90, "front", 92, 40}, {143, 90, "back", 143, 90},
      {90, 55, "back", 90, 55}, {90, 56, "front", 40, 6},    {90, 141, "front", 40, 91}, {90, 142, "back", 90, 142},
      {155, 5, "back", 155, 5}, {5, 155, "back", 5, 155},    {15, 165, "knob", 5, 5},    {170, 170, "", 0, 0},
      {105, 5, "back", 105, 5}, {5, 105, "back", 5, 105}};
  manager.x = 3;  // the tree's own origin on the screen
  manager.y = 4;
  for (const auto& [px, py, name, lx, ly] : points) {
    int hitX = -1, hitY = -1;
    Widget* hit = manager.GetWidgetAt(px + 3, py + 4, &hitX, &hitY);
    EXPECT_EQ(std::tuple(hit != nullptr ? static_cast<ProbeWidget*>(hit)->name : "", hitX, hitY),
              std::tuple(name, lx, ly))
        << px << "," << py;
  }
}

// A widget that removes itself on a click is forgotten; a popup command
// widget goes away on a click outside it; window points map to the screen.
TEST_F(WidgetInput, ClosingWidgetsPopupsAndTheMouseRectangles) {
  ProbeWidget* closer = Add("closer", 0, 0, 50, 50);
  closer->onMouseUp = [&] { manager.RemoveWidget(closer); };
  Click(10, 10);
  manager.MouseMove(12, 12);
  EXPECT_EQ(std::tuple(manager.overWidget, manager.lastDownWidget, log.With("closer:move").size()),
            std::tuple(nullptr, nullptr, 1u));
  ProbeWidget* bar = Add("bar", 90, 90, 100, 100);
  ProbeWidget* menu = Add("menu", 10, 10, 50, 50, bar);
  manager.popupCommandWidget = menu;
  Click(120, 120);
  EXPECT_TRUE(bar->HasWidget(menu));
  Click(180, 180);  // on its parent, outside the popup
  EXPECT_EQ(std::tuple(bar->HasWidget(menu), manager.popupCommandWidget), std::tuple(false, nullptr));

  // The screen is the destination's size plus twice its offset.
  manager.SetMouseRects(Rect(-80, -60, 800, 600), Rect(80, 0, 1280, 960));
  int px = 80 + 1280 - 2, py = 480;
  manager.RemapMouse(px, py);
  EXPECT_EQ((Zing::Point{px, py}), (Zing::Point{(1280 - 2) * 800 / 1280 - 80, 480 * 600 / 960 - 60}));
  for (const Rect& source : {Rect(0, 0, 0, 960), Rect(0, 0, 1280, 0), Rect(718, 240, 1, 1)}) {
    manager.SetMouseRects(Rect(-80, -60, 800, 600), source);
    manager.RemapMouse(px, py);  // none yet: left alone; one of a pixel still maps it
  }
  EXPECT_EQ(std::tuple(manager.width, manager.height, px, py), std::tuple(640, 480, -80, -60));
}

// Click codes: 1 and 2 the left button's single and double click, 3 the
// middle button, negative the right one; each button is held and released on
// its own by the widget it was pressed on, which alone hears the drags.
TEST_F(WidgetInput, EveryButtonIsPressedDraggedAndReleasedOnThePressedWidget) {
  Add("w", 10, 10, 50, 50);
  Add("other", 100, 10, 50, 50);
  ProbeWidget* lid = Add("lid", 300, 0, 9, 9);
  const std::tuple<std::function<void()>, Strings, int> events[] = {
      {[&] { manager.MouseDown(15, 15, 2); }, {"w:enter", "w:move 5,5", "w:down 5,5 b0 c2"}, 1},
      {[&] { manager.MouseDown(15, 15, -2); }, {"w:down 5,5 b1 c2"}, -1},
      {[&] { manager.MouseDown(15, 15, 3); }, {"w:down 5,5 b2 c1"}, 2},
      {[&] { manager.MouseUp(15, 15, 3); }, {"w:up 5,5 b2 c1"}, 2},
      {[&] { manager.MouseUp(15, 15, -1); }, {"w:up 5,5 b1 c1"}, 2},
      {[&] { manager.MouseMove(16, 16); }, {"w:drag 6,6"}, 2},  // a drag within stays entered
      {[&] { manager.MouseMove(120, 25); }, {"w:drag 110,15", "w:leave"}, 2},
      {[&] { manager.MouseUp(120, 25, 1); }, {"w:up 110,15 b0 c1", "other:enter", "other:move 20,15"}, 2},
      {[&] { manager.MouseUp(120, 25, 1); }, {}, 2},  // nothing held: nobody hears it
      // The pointer known inside since the drag: a widget put under it is entered at once.
      {[&] { Add("cover", 100, 10, 50, 50); }, {"other:leave", "cover:enter", "cover:move 20,15"}, 2},
      {[&] { manager.MouseMove(15, 15); }, {"cover:leave", "w:enter", "w:move 5,5"}, 2},
      {[&] { manager.MouseExit(); }, {"w:leave"}, 2},
      // Back in by a plain move: a widget moved under it takes it over.
      {[&] { manager.MouseMove(15, 15), lid->Move(10, 10); },
       {"w:enter", "w:move 5,5", "w:leave", "lid:enter", "lid:move 5,5"},
       2},
      {[&] { manager.MouseDown(15, 15, 0), manager.MouseUp(15, 15, 0); },
       {"lid:down 5,5 b0 c0", "lid:up 5,5 b0 c0"},
       1},
  };
  for (const auto& [event, heard, id] : events) {
    log.Clear();
    event();
    EXPECT_EQ(std::tuple(log.lines, manager.lastDownButtonId), std::tuple(heard, id)) << heard.size();
  }
}

TEST_F(WidgetInput, KeysGoToTheFocusWidgetAndAreTrackedBelow255) {
  ProbeWidget *edit = Add("edit", 0, 0, 50, 50), *tabs = Add("tabs", 100, 0, 50, 50);
  manager.KeyDown(65);  // no focus: dropped
  manager.SetFocus(edit);
  for (int key : {0, 254, 300, 255}) manager.KeyDown(key);
  manager.KeyChar('a');
  manager.MouseWheel(-2);
  std::vector<bool> held;
  for (int key : {0, 254, 300, 255, -1}) held.push_back(manager.IsKeyDown(key));
  for (int key : {0, 254, 255, -1}) manager.KeyUp(key);  // the last tracked key, and past either end
  EXPECT_EQ(log.lines, (Strings{"edit:gotfocus", "edit:keydown 0", "edit:keydown 254", "edit:keydown 300",
                                "edit:keydown 255", "edit:char 97", "edit:wheel -2", "edit:keyup 0", "edit:keyup 254",
                                "edit:keyup 255", "edit:keyup -1"}));
  EXPECT_EQ(held, (std::vector<bool>{true, true, false, false, false}));
  EXPECT_FALSE(manager.IsKeyDown(0) || manager.IsKeyDown(254));

  // Control+Tab goes to the default tab widget.
  manager.defaultTab = tabs;
  manager.RemoveWidget(Add("gone"));  // another widget leaving keeps it
  log.Clear();
  manager.KeyDown(Zing::KEYCODE_CONTROL);
  manager.KeyChar('\t');
  manager.KeyUp(Zing::KEYCODE_TAB);
  EXPECT_TRUE(manager.KeyUp('C'));  // another key's release still reaches the focus, and is taken
  manager.KeyUp(Zing::KEYCODE_CONTROL);
  manager.KeyChar('\t');
  EXPECT_EQ(log.lines, (Strings{"edit:keydown 17", "tabs:char 9", "edit:keyup 67", "edit:keyup 17", "edit:char 9"}));
}

TEST_F(WidgetInput, LosingTheApplicationFocusReleasesKeysButtonsAndCapture) {
  ProbeWidget* w = Add("w", 0, 0, 50, 50);
  manager.lostFocusFlagsMod = Zing::FlagsMod(0, Zing::WIDGETFLAGS_ALLOW_MOUSE | Zing::WIDGETFLAGS_UPDATE);
  manager.SetFocus(w);
  manager.KeyDown(65);
  manager.KeyDown(Zing::KEYCODE_SHIFT);
  manager.MouseDown(10, 10, 1);
  log.Clear();
  manager.AppLostFocus();
  manager.AppLostFocus();  // already lost: nothing more
  EXPECT_EQ(log.lines, (Strings{"w:keyup 16", "w:keyup 65", "w:up 10,10 b0 c1", "w:lostfocus"}));
  EXPECT_EQ(std::tuple(host.captureReleases, manager.downButtons, manager.actualDownButtons, manager.IsKeyDown(65),
                       manager.hasFocus),
            std::tuple(1, 0, 0, false, false));

  // Without the application focus a new focus widget waits for it, and the lost-focus flags apply.
  manager.SetFocus(nullptr);
  manager.SetFocus(w);
  EXPECT_EQ(std::tuple(manager.focusWidget, w->hasFocus, manager.GetWidgetAt(10, 10)), std::tuple(w, false, nullptr));
  log.Clear();
  manager.UpdateFrame();
  manager.AppGotFocus();
  EXPECT_EQ(std::tuple(log.lines, w->hasFocus, manager.GetWidgetAt(10, 10)),
            std::tuple(Strings{"w:gotfocus"}, true, w));
}

class WidgetModal : public WidgetTest::WidgetFixture {
 protected:
  WidgetModal() { screen->wantsFocus = true; }
  // Every modal widget gone: nothing blocks and nothing is left to restore.
  void ExpectNoModal() { EXPECT_TRUE(manager.baseModalWidget == nullptr && manager.preModalInfoList.empty()); }
  ProbeWidget* screen = Add("screen", 0, 0, 640, 480);
};

TEST_F(WidgetModal, AModalOverAPressedWidgetReleasesItAndTakesItsFocusUntilItGoes) {
  manager.MouseMove(10, 10);
  manager.MouseDown(10, 10, 1);
  ASSERT_EQ(manager.focusWidget, screen);
  ProbeWidget* dialog = Add("dialog", 100, 100, 200, 100);
  log.Clear();
  manager.AddBaseModal(dialog);
  manager.MouseUp(10, 10, 1);  // the real release changes nothing more
  EXPECT_EQ(std::tuple(log.lines, manager.focusWidget, screen->isDown),
            std::tuple(Strings{"screen:leave", "screen:up 10,10 b0 c1", "screen:lostfocus"}, nullptr, false));
  log.Clear();
  manager.RemoveBaseModal(dialog);
  EXPECT_EQ(std::tuple(manager.focusWidget, log.lines), std::tuple(screen, Strings{"screen:gotfocus"}));

  // A focus taken meanwhile is not overridden on removal.
  manager.AddBaseModal(dialog);
  manager.SetFocus(dialog);
  manager.RemoveBaseModal(dialog);
  EXPECT_EQ(manager.focusWidget, dialog);
}

TEST_F(WidgetModal, LeavingTheTreeEndsTheModalityOfTheModalWidgetOnly) {
  ProbeWidget* dialog = Add("dialog", 100, 100, 200, 100);
  manager.SetFocus(screen), manager.AddBaseModal(dialog), manager.RemoveWidget(dialog);
  // Whatever removed the widget: once it has left the tree it no longer blocks the widgets behind it.
  EXPECT_EQ(std::tuple(manager.baseModalWidget, manager.GetWidgetAt(10, 10), manager.focusWidget),
            std::tuple(nullptr, screen, screen));
  manager.RemoveBaseModal(dialog);  // the application's own removal: nothing left to do
  ExpectNoModal();

  manager.AddBaseModal(dialog);  // made modal before it is shown
  ProbeWidget* toast = Add("toast", 0, 0, 10, 10);
  manager.RemoveWidget(toast);
  EXPECT_EQ(manager.baseModalWidget, dialog);
  manager.AddWidget(dialog);
  manager.RemoveWidget(dialog);
  ExpectNoModal();
  // A modal widget inside a holder: beside it, neither the holder nor what is behind takes the pointer.
  ProbeWidget* holder = Add("holder", 100, 100, 200, 100);
  ProbeWidget* inner = Add("inner", 0, 0, 50, 50, holder);
  manager.AddBaseModal(inner);
  EXPECT_EQ(std::tuple(manager.GetWidgetAt(250, 150), manager.GetWidgetAt(110, 110)), std::tuple(nullptr, inner));
}

}  // namespace
