// Modality: widgets behind a base modal widget keep updating but lose mouse
// and focus until it goes away.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::ProbeWidget;
using Strings = std::vector<std::string>;

class WidgetModal : public WidgetTest::WidgetFixture {
 protected:
  WidgetModal() { screen->wantsFocus = true; }
  // Every modal widget gone: nothing blocks and nothing is left to restore.
  void ExpectNoModal() {
    EXPECT_EQ(manager.baseModalWidget, nullptr);
    EXPECT_TRUE(manager.preModalInfoList.empty());
  }
  ProbeWidget* screen = Add("screen", 0, 0, 640, 480);
};

TEST_F(WidgetModal, WidgetsBehindTheModalGetNoMouseButStillUpdate) {
  ProbeWidget* dialog = Add("dialog", 100, 100, 200, 100);
  ProbeWidget* ok = Add("ok", 150, 150, 40, 20);  // the dialog's button, a sibling in front of it
  ProbeWidget* field = Add("field", 10, 30, 50, 20, dialog);
  manager.AddBaseModal(dialog);
  manager.MouseDown(10, 10, 1);
  manager.MouseUp(10, 10, 1);
  EXPECT_TRUE(log.With("screen:down").empty());
  EXPECT_EQ(manager.GetWidgetAt(10, 10), nullptr);
  EXPECT_EQ(manager.GetWidgetAt(120, 120), dialog);
  EXPECT_EQ(manager.GetWidgetAt(115, 135), field);
  EXPECT_EQ(manager.GetWidgetAt(160, 160), ok);
  manager.UpdateFrame();
  EXPECT_EQ(log.With("screen:update").size(), 1u);
  manager.RemoveBaseModal(dialog);
  EXPECT_EQ(manager.GetWidgetAt(10, 10), screen);

  // Custom below-flags can keep the mouse behind and stop the updates there.
  manager.AddBaseModal(dialog, Zing::FlagsMod(0, Zing::WIDGETFLAGS_UPDATE));
  EXPECT_EQ(manager.GetWidgetAt(10, 10), screen);
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.lines, (Strings{"dialog:update", "field:update", "ok:update"}));
  manager.RemoveBaseModal(dialog);
}

TEST_F(WidgetModal, AModalOverAPressedWidgetReleasesItAndTakesItsFocusUntilItGoes) {
  manager.MouseMove(10, 10);
  manager.MouseDown(10, 10, 1);
  ASSERT_EQ(manager.focusWidget, screen);
  ProbeWidget* dialog = Add("dialog", 100, 100, 200, 100);
  log.Clear();
  manager.AddBaseModal(dialog);
  EXPECT_EQ(log.lines, (Strings{"screen:leave", "screen:up 10,10 b0 c1", "screen:lostfocus"}));
  EXPECT_EQ(manager.focusWidget, nullptr);
  EXPECT_FALSE(screen->isDown);
  manager.MouseUp(10, 10, 1);  // the real release changes nothing more
  EXPECT_EQ(log.With("screen:up").size(), 1u);
  log.Clear();
  manager.RemoveBaseModal(dialog);
  EXPECT_EQ(manager.focusWidget, screen);
  EXPECT_EQ(log.lines, (Strings{"screen:gotfocus"}));

  // A focus taken meanwhile is not overridden on removal.
  manager.AddBaseModal(dialog);
  manager.SetFocus(dialog);
  manager.RemoveBaseModal(dialog);
  EXPECT_EQ(manager.focusWidget, dialog);
}

TEST_F(WidgetModal, OnlyTheTopModalIsRemovedAndALowerOneGoneFirstIsSkipped) {
  ProbeWidget* first = Add("first", 0, 0, 100, 100);
  ProbeWidget* second = Add("second", 200, 0, 100, 100);
  manager.SetFocus(screen);
  manager.AddBaseModal(first);
  manager.AddBaseModal(second);
  manager.RemoveBaseModal(first);  // not the top: ignored
  EXPECT_EQ(manager.baseModalWidget, second);
  manager.RemoveBaseModal(second);
  EXPECT_EQ(manager.baseModalWidget, first);
  EXPECT_EQ(manager.GetWidgetAt(250, 50), second);   // in front of the modal widget
  EXPECT_EQ(manager.GetWidgetAt(150, 50), nullptr);  // the screen behind it
  manager.RemoveBaseModal(first);
  ExpectNoModal();

  manager.AddBaseModal(first);
  manager.AddBaseModal(second);
  manager.RemoveWidget(first);
  manager.RemoveBaseModal(first);
  EXPECT_EQ(manager.baseModalWidget, second);
  manager.RemoveBaseModal(second);
  ExpectNoModal();
  EXPECT_EQ(manager.focusWidget, screen);
}

TEST_F(WidgetModal, LeavingTheTreeEndsTheModalityOfTheModalWidgetOnly) {
  ProbeWidget* dialog = Add("dialog", 100, 100, 200, 100);
  manager.SetFocus(screen);
  manager.AddBaseModal(dialog);
  manager.RemoveWidget(dialog);
  // Whatever removed the widget: once it has left the tree it no longer
  // blocks the widgets behind it.
  EXPECT_EQ(manager.baseModalWidget, nullptr);
  EXPECT_EQ(manager.GetWidgetAt(10, 10), screen);
  EXPECT_EQ(manager.focusWidget, screen);
  manager.RemoveBaseModal(dialog);  // the application's own removal: nothing left to do
  ExpectNoModal();

  manager.AddBaseModal(dialog);  // made modal before it is shown
  ProbeWidget* toast = Add("toast", 0, 0, 10, 10);
  manager.RemoveWidget(toast);
  EXPECT_EQ(manager.baseModalWidget, dialog);
  manager.AddWidget(dialog);
  manager.RemoveWidget(dialog);
  ExpectNoModal();
}

TEST_F(WidgetModal, APreviousFocusInsideARemovedSubtreeIsNeverRestored) {
  ProbeWidget* panel = Add("panel", 0, 0, 100, 100);
  auto edit = std::make_unique<ProbeWidget>("edit", &log, 0, 0, 10, 10);
  panel->AddWidget(edit.get());
  manager.SetFocus(edit.get());
  ProbeWidget* dialog = Add("dialog", 200, 200, 100, 100);
  manager.AddBaseModal(dialog);
  manager.RemoveWidget(panel);
  panel->RemoveWidget(edit.get());
  edit.reset();  // the sanitizer build sees any later use
  manager.RemoveBaseModal(dialog);
  EXPECT_EQ(manager.focusWidget, nullptr);
}

}  // namespace
