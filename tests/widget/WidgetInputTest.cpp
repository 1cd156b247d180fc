// Input through the widget manager: hit testing, the widget under the pointer,
// presses and drags, keys, focus and the tab chain.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::EventLog;
using WidgetTest::FakeHost;
using WidgetTest::ProbeWidget;
using Zing::Rect;
using Zing::Widget;
using Zing::WidgetManager;
using Strings = std::vector<std::string>;

class WidgetInput : public ::testing::Test {
 protected:
  WidgetInput() { manager.SetMouseRects(Rect(0, 0, 640, 480), Rect(0, 0, 640, 480)); }

  ProbeWidget* Add(const std::string& name, int px, int py, int w, int h, Zing::WidgetContainer* into = nullptr) {
    owned.push_back(std::make_unique<ProbeWidget>(name, &log, px, py, w, h));
    (into != nullptr ? into : &manager)->AddWidget(owned.back().get());
    std::erase(log.lines, name + ":added");  // attaching is not what these tests are about
    return owned.back().get();
  }
  Widget* At(int px, int py, int* lx = nullptr, int* ly = nullptr) { return manager.GetWidgetAt(px, py, lx, ly); }

  EventLog log;
  FakeHost host;
  WidgetManager manager{&host};
  std::vector<std::unique_ptr<ProbeWidget>> owned;
};

// ---------------------------------------------------------------------------
// Hit testing

TEST_F(WidgetInput, TheFrontmostWidgetIsHitWithThePointInItsOwnCoordinates) {
  ProbeWidget* back = Add("back", 0, 0, 200, 200);
  ProbeWidget* front = Add("front", 50, 50, 100, 100);
  ProbeWidget* inner = Add("inner", 10, 10, 20, 20, front);
  int lx = -1;
  int ly = -1;
  EXPECT_EQ(At(65, 65, &lx, &ly), inner);
  EXPECT_EQ(lx, 5);
  EXPECT_EQ(ly, 5);
  EXPECT_EQ(At(100, 100, &lx, &ly), front);
  EXPECT_EQ(lx, 50);
  EXPECT_EQ(At(10, 10), back);
  EXPECT_EQ(At(300, 300), nullptr);
}

TEST_F(WidgetInput, InsetsShrinkTheHitRectangle) {
  ProbeWidget* back = Add("back", 0, 0, 200, 200);
  ProbeWidget* button = Add("button", 50, 50, 100, 40);
  button->mouseInsets = Zing::Insets{5, 6, 7, 8};
  EXPECT_EQ(At(54, 60), back);
  EXPECT_EQ(At(55, 60), button);
  EXPECT_EQ(At(142, 60), button);
  EXPECT_EQ(At(143, 60), back);
  EXPECT_EQ(At(60, 55), back);
  EXPECT_EQ(At(60, 81), button);
  EXPECT_EQ(At(60, 82), back);
}

TEST_F(WidgetInput, InvisibleWidgetsAndTheirChildrenAreNeverHit) {
  ProbeWidget* back = Add("back", 0, 0, 200, 200);
  ProbeWidget* hidden = Add("hidden", 0, 0, 100, 100);
  Add("hiddenChild", 0, 0, 50, 50, hidden);
  hidden->SetVisible(false);
  EXPECT_EQ(At(10, 10), back);
}

TEST_F(WidgetInput, AMouseInvisibleWidgetLetsPointsThroughButItsChildrenCanBeHit) {
  ProbeWidget* back = Add("back", 0, 0, 200, 200);
  ProbeWidget* frame = Add("frame", 0, 0, 100, 100);
  ProbeWidget* knob = Add("knob", 10, 10, 10, 10, frame);
  frame->mouseVisible = false;
  EXPECT_EQ(At(50, 50), back);
  EXPECT_EQ(At(15, 15), knob);
}

TEST_F(WidgetInput, AWidgetThatRefusesAPointLetsTheClickReachTheWidgetBehind) {
  Add("back", 0, 0, 200, 200);
  ProbeWidget* shaped = Add("shaped", 0, 0, 100, 100);
  shaped->refusePoints = true;
  manager.MouseDown(20, 20, 1);
  EXPECT_EQ(log.With("back:down"), (Strings{"back:down 20,20 b0 c1"}));
  EXPECT_TRUE(log.With("shaped:down").empty());
}

TEST_F(WidgetInput, DisabledWidgetsAreNotReturnedAndFlagsCanRemoveTheMouse) {
  Add("back", 0, 0, 200, 200);
  ProbeWidget* off = Add("off", 0, 0, 100, 100);
  off->SetDisabled(true);
  EXPECT_EQ(At(10, 10), nullptr);  // a disabled widget still covers what is behind it
  off->SetDisabled(false);
  off->widgetFlagsMod = Zing::FlagsMod(0, Zing::WIDGETFLAGS_ALLOW_MOUSE);
  EXPECT_EQ(static_cast<ProbeWidget*>(At(10, 10))->name, "back");
}

// ---------------------------------------------------------------------------
// Pointer

TEST_F(WidgetInput, MovingAcrossWidgetsEntersAndLeavesThem) {
  ProbeWidget* a = Add("a", 0, 0, 50, 50);
  ProbeWidget* b = Add("b", 100, 0, 50, 50);
  b->doFinger = true;
  log.Clear();
  manager.MouseMove(10, 10);
  manager.MouseMove(11, 10);
  manager.MouseMove(11, 10);  // no movement: no move event
  manager.MouseMove(110, 10);
  manager.MouseExit();
  EXPECT_EQ(log.lines,
            (Strings{"a:enter", "a:move 10,10", "a:move 11,10", "a:leave", "b:enter", "b:move 10,10", "b:leave"}));
  EXPECT_EQ(host.cursors, (std::vector<int>{1, 0}));
  EXPECT_FALSE(a->isOver);
  EXPECT_EQ(manager.overWidget, nullptr);
  EXPECT_FALSE(manager.mouseIn);
}

TEST_F(WidgetInput, PressMoveOffAndBackTouchesOnlyThePressedWidget) {
  ProbeWidget* button = Add("button", 0, 0, 50, 50);
  Add("other", 100, 0, 50, 50);
  manager.MouseMove(10, 10);
  manager.MouseDown(10, 10, 1);
  EXPECT_TRUE(button->isDown);
  log.Clear();
  manager.MouseMove(110, 10);
  manager.MouseMove(20, 20);
  EXPECT_EQ(log.lines, (Strings{"button:drag 110,10", "button:leave", "button:drag 20,20", "button:enter"}));
  log.Clear();
  manager.MouseUp(20, 20, 1);
  EXPECT_EQ(log.lines, (Strings{"button:up 20,20 b0 c1"}));
  EXPECT_FALSE(button->isDown);
  EXPECT_EQ(manager.lastDownWidget, nullptr);
}

TEST_F(WidgetInput, ASecondButtonGoesToTheWidgetAlreadyPressed) {
  ProbeWidget* a = Add("a", 0, 0, 50, 50);
  Add("b", 100, 100, 50, 50);
  manager.MouseDown(10, 10, 1);
  manager.MouseMove(120, 120);
  manager.MouseDown(120, 120, -1);
  EXPECT_EQ(log.With("a:down"), (Strings{"a:down 10,10 b0 c1", "a:down 120,120 b1 c1"}));
  EXPECT_TRUE(log.With("b:down").empty());
  EXPECT_EQ(manager.downButtons, Zing::MOUSE_BUTTON_LEFT | Zing::MOUSE_BUTTON_RIGHT);
  EXPECT_EQ(manager.lastDownButtonId, -1);

  manager.MouseUp(120, 120, -1);
  EXPECT_EQ(manager.lastDownWidget, a);  // the left button still holds it
  manager.MouseUp(120, 120, 1);
  EXPECT_EQ(manager.lastDownWidget, nullptr);
  EXPECT_EQ(manager.actualDownButtons, 0);
}

TEST_F(WidgetInput, ClickCodesMapToButtonsAndCounts) {
  Add("w", 0, 0, 50, 50);
  manager.MouseDown(1, 1, 2);
  manager.MouseUp(1, 1, 1);
  manager.MouseDown(1, 1, -2);
  manager.MouseUp(1, 1, -1);
  manager.MouseDown(1, 1, 3);
  manager.MouseUp(1, 1, 3);
  EXPECT_EQ(log.With("w:down"), (Strings{"w:down 1,1 b0 c2", "w:down 1,1 b1 c2", "w:down 1,1 b2 c1"}));
  EXPECT_EQ(log.With("w:up"), (Strings{"w:up 1,1 b0 c1", "w:up 1,1 b1 c1", "w:up 1,1 b2 c1"}));
  EXPECT_EQ(manager.lastDownButtonId, 2);
}

TEST_F(WidgetInput, APressOnNothingIsDroppedAndBehavesAsADrag) {
  ProbeWidget* w = Add("w", 100, 100, 50, 50);
  manager.MouseDown(10, 10, 1);
  manager.MouseMove(110, 110);
  EXPECT_TRUE(log.lines.empty());
  manager.MouseUp(110, 110, 1);
  EXPECT_EQ(log.lines, (Strings{"w:enter", "w:move 10,10"}));
  EXPECT_FALSE(w->isDown);
}

TEST_F(WidgetInput, EnablingAWidgetUnderARestingPointerEntersItAtOnce) {
  ProbeWidget* w = Add("w", 0, 0, 50, 50);
  w->SetDisabled(true);
  manager.MouseMove(10, 10);
  EXPECT_TRUE(log.lines.empty());
  w->SetDisabled(false);
  EXPECT_EQ(log.lines, (Strings{"w:enter", "w:move 10,10"}));
}

TEST_F(WidgetInput, DisablingThePressedWidgetReleasesItsButtons) {
  ProbeWidget* w = Add("w", 0, 0, 50, 50);
  w->wantsFocus = true;
  manager.MouseDown(10, 10, 1);
  manager.MouseDown(10, 10, 3);
  log.Clear();
  w->SetDisabled(true);
  EXPECT_EQ(log.lines, (Strings{"w:leave", "w:up 10,10 b0 c1", "w:up 10,10 b2 c1", "w:lostfocus"}));
  EXPECT_EQ(manager.downButtons, 0);
  EXPECT_EQ(manager.lastDownWidget, nullptr);
  EXPECT_EQ(manager.focusWidget, nullptr);
}

TEST_F(WidgetInput, AddingAWidgetUnderThePointerEntersIt) {
  Add("back", 0, 0, 200, 200);
  manager.MouseMove(10, 10);
  log.Clear();
  Add("popup", 0, 0, 50, 50);
  EXPECT_EQ(log.With("back:leave").size(), 1u);
  EXPECT_EQ(log.With("popup:enter").size(), 1u);
}

TEST_F(WidgetInput, AWidgetRemovedFromItsOwnMouseHandlerIsForgotten) {
  ProbeWidget* closer = Add("closer", 0, 0, 50, 50);
  closer->onMouseUp = [&] { manager.RemoveWidget(closer); };
  manager.MouseMove(10, 10);
  manager.MouseDown(10, 10, 1);
  manager.MouseUp(10, 10, 1);
  EXPECT_EQ(manager.overWidget, nullptr);
  EXPECT_EQ(manager.lastDownWidget, nullptr);
  manager.MouseMove(12, 12);
  EXPECT_EQ(log.With("closer:move").size(), 1u);
}

TEST_F(WidgetInput, PopupCommandWidgetGoesAwayOnAClickOutside) {
  ProbeWidget* menu = Add("menu", 100, 100, 50, 50);
  manager.popupCommandWidget = menu;
  manager.MouseDown(120, 120, 1);
  manager.MouseUp(120, 120, 1);
  EXPECT_TRUE(manager.HasWidget(menu));
  manager.MouseDown(10, 10, 1);
  EXPECT_FALSE(manager.HasWidget(menu));
  EXPECT_EQ(manager.popupCommandWidget, nullptr);
}

TEST_F(WidgetInput, MouseRectanglesMapWindowPointsToTheScreen) {
  manager.SetMouseRects(Rect(0, 0, 640, 480), Rect(80, 0, 1280, 960));
  int px = 80 + 1280 - 2;
  int py = 480;
  manager.RemapMouse(px, py);
  EXPECT_EQ(px, 639);
  EXPECT_EQ(py, 240);
  EXPECT_EQ(manager.width, 640);
  manager.SetMouseRects(Rect(-80, -60, 800, 600), Rect(0, 0, 0, 0));
  EXPECT_EQ(manager.width, 640);
  EXPECT_EQ(manager.height, 480);
  px = 5;
  manager.RemapMouse(px, py);  // no presentation rectangle yet: left alone
  EXPECT_EQ(px, 5);
}

// ---------------------------------------------------------------------------
// Keyboard and focus

TEST_F(WidgetInput, KeysGoToTheFocusWidgetAndAreTrackedBelow255) {
  ProbeWidget* edit = Add("edit", 0, 0, 50, 50);
  manager.KeyDown(65);  // no focus: dropped
  manager.SetFocus(edit);
  manager.KeyDown(65);
  manager.KeyDown(300);
  manager.KeyDown(255);
  manager.KeyChar('a');
  manager.MouseWheel(-2);
  manager.KeyUp(65);
  EXPECT_EQ(log.lines, (Strings{"edit:gotfocus", "edit:keydown 65", "edit:keydown 300", "edit:keydown 255",
                                "edit:char 97", "edit:wheel -2", "edit:keyup 65"}));
  EXPECT_FALSE(manager.IsKeyDown(65));
  EXPECT_FALSE(manager.IsKeyDown(300));
  EXPECT_FALSE(manager.IsKeyDown(255));
  EXPECT_FALSE(manager.IsKeyDown(-1));
}

TEST_F(WidgetInput, ControlTabGoesToTheDefaultTabWidget) {
  ProbeWidget* edit = Add("edit", 0, 0, 50, 50);
  ProbeWidget* tabs = Add("tabs", 100, 0, 50, 50);
  manager.SetFocus(edit);
  manager.defaultTab = tabs;
  log.Clear();
  manager.KeyDown(Zing::KEYCODE_CONTROL);
  manager.KeyChar('\t');
  manager.KeyUp(Zing::KEYCODE_TAB);
  manager.KeyUp(Zing::KEYCODE_CONTROL);
  manager.KeyChar('\t');
  EXPECT_EQ(log.lines, (Strings{"edit:keydown 17", "tabs:char 9", "edit:keyup 17", "edit:char 9"}));
}

TEST_F(WidgetInput, ClickingAWidgetThatWantsFocusGivesItTheFocus) {
  ProbeWidget* edit = Add("edit", 0, 0, 50, 50);
  ProbeWidget* label = Add("label", 100, 0, 50, 50);
  edit->wantsFocus = true;
  manager.MouseDown(10, 10, 1);
  manager.MouseUp(10, 10, 1);
  EXPECT_EQ(manager.focusWidget, edit);
  EXPECT_TRUE(edit->hasFocus);
  manager.MouseDown(110, 10, 1);
  EXPECT_EQ(manager.focusWidget, edit);  // the label does not take it
  EXPECT_FALSE(label->hasFocus);
}

TEST_F(WidgetInput, TabAndShiftTabFollowTheChain) {
  ProbeWidget* first = Add("first", 0, 0, 10, 10);
  ProbeWidget* second = Add("second", 20, 0, 10, 10);
  ProbeWidget* third = Add("third", 40, 0, 10, 10);
  first->tabNext = second;
  second->tabNext = third;
  third->tabNext = first;
  first->tabPrev = third;
  second->tabPrev = first;
  third->tabPrev = second;
  manager.SetFocus(first);
  manager.KeyDown(Zing::KEYCODE_TAB);
  EXPECT_EQ(manager.focusWidget, second);
  manager.KeyDown(Zing::KEYCODE_TAB);
  EXPECT_EQ(manager.focusWidget, third);
  manager.KeyDown(Zing::KEYCODE_TAB);
  EXPECT_EQ(manager.focusWidget, first);
  manager.KeyDown(Zing::KEYCODE_SHIFT);
  manager.KeyDown(Zing::KEYCODE_TAB);
  EXPECT_EQ(manager.focusWidget, third);
  EXPECT_FALSE(first->hasFocus);
  EXPECT_TRUE(third->hasFocus);
}

TEST_F(WidgetInput, FocusOnlyGoesToWidgetsOfThisManager) {
  ProbeWidget* edit = Add("edit", 0, 0, 10, 10);
  ProbeWidget loose("loose", &log);
  manager.SetFocus(edit);
  manager.SetFocus(&loose);
  EXPECT_EQ(manager.focusWidget, nullptr);
  EXPECT_FALSE(edit->hasFocus);
  EXPECT_FALSE(loose.hasFocus);
}

TEST_F(WidgetInput, LosingTheApplicationFocusReleasesKeysButtonsAndCapture) {
  ProbeWidget* w = Add("w", 0, 0, 50, 50);
  manager.SetFocus(w);
  manager.KeyDown(65);
  manager.KeyDown(Zing::KEYCODE_SHIFT);
  manager.MouseDown(10, 10, 1);
  log.Clear();
  manager.AppLostFocus();
  EXPECT_EQ(log.lines, (Strings{"w:keyup 16", "w:keyup 65", "w:up 10,10 b0 c1", "w:lostfocus"}));
  EXPECT_EQ(host.captureReleases, 1);
  EXPECT_EQ(manager.downButtons, 0);
  EXPECT_EQ(manager.actualDownButtons, 0);
  EXPECT_FALSE(manager.IsKeyDown(65));
  EXPECT_FALSE(manager.hasFocus);

  manager.AppLostFocus();  // already lost: nothing more
  EXPECT_EQ(host.captureReleases, 1);
  log.Clear();
  manager.AppGotFocus();
  EXPECT_EQ(log.lines, (Strings{"w:gotfocus"}));
}

TEST_F(WidgetInput, WithoutTheApplicationFocusANewFocusWidgetWaitsForIt) {
  ProbeWidget* w = Add("w", 0, 0, 50, 50);
  manager.AppLostFocus();
  manager.SetFocus(w);
  EXPECT_EQ(manager.focusWidget, w);
  EXPECT_FALSE(w->hasFocus);
  manager.AppGotFocus();
  EXPECT_TRUE(w->hasFocus);
}

TEST_F(WidgetInput, LostFocusFlagsApplyWhileTheApplicationIsInTheBackground) {
  Add("w", 0, 0, 50, 50);
  manager.lostFocusFlagsMod = Zing::FlagsMod(0, Zing::WIDGETFLAGS_ALLOW_MOUSE | Zing::WIDGETFLAGS_UPDATE);
  manager.AppLostFocus();
  EXPECT_EQ(At(10, 10), nullptr);
  log.Clear();
  manager.UpdateFrame();
  EXPECT_TRUE(log.lines.empty());
  manager.AppGotFocus();
  EXPECT_NE(At(10, 10), nullptr);
}

}  // namespace
