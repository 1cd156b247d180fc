// The widget tree: child order, attachment, dirty marking and the update walk.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::EventLog;
using WidgetTest::FakeHost;
using WidgetTest::Names;
using WidgetTest::ProbeWidget;
using Zing::Color;
using Zing::Rect;
using Zing::WidgetManager;
using Strings = std::vector<std::string>;

class WidgetTree : public ::testing::Test {
 protected:
  WidgetTree() { manager.SetMouseRects(Rect(0, 0, 640, 480), Rect(0, 0, 640, 480)); }

  ProbeWidget* Make(const std::string& name, int px = 0, int py = 0, int w = 10, int h = 10) {
    owned.push_back(std::make_unique<ProbeWidget>(name, &log, px, py, w, h));
    return owned.back().get();
  }
  void ClearDirty() {
    manager.dirty = false;
    for (auto& widget : owned) widget->dirty = false;
  }

  EventLog log;
  FakeHost host;
  WidgetManager manager{&host};
  // Declared after the manager so that the widgets go first.
  std::vector<std::unique_ptr<ProbeWidget>> owned;
};

// ---------------------------------------------------------------------------
// Order

TEST_F(WidgetTree, ChildrenStaySortedByZOrderAndKeepInsertionOrderWithinAKey) {
  ProbeWidget* a = Make("a");
  ProbeWidget* b = Make("b");
  ProbeWidget* c = Make("c");
  ProbeWidget* d = Make("d");
  a->zOrder = 1;
  b->zOrder = 0;
  c->zOrder = 1;
  d->zOrder = 0;
  manager.AddWidget(a);
  manager.AddWidget(b);
  EXPECT_EQ(Names(manager), (Strings{"b", "a"}));
  manager.AddWidget(c);
  manager.AddWidget(d);
  EXPECT_EQ(Names(manager), (Strings{"b", "d", "a", "c"}));

  manager.AddWidget(a);  // a second add changes nothing
  EXPECT_EQ(Names(manager), (Strings{"b", "d", "a", "c"}));
}

TEST_F(WidgetTree, ReorderingStaysWithinTheZOrderGroup) {
  ProbeWidget* low1 = Make("low1");
  ProbeWidget* low2 = Make("low2");
  ProbeWidget* high = Make("high");
  high->zOrder = 5;
  for (ProbeWidget* w : {low1, low2, high}) manager.AddWidget(w);

  manager.BringToFront(low1);
  EXPECT_EQ(Names(manager), (Strings{"low2", "low1", "high"}));
  manager.BringToBack(high);
  EXPECT_EQ(Names(manager), (Strings{"low2", "low1", "high"}));
  manager.BringToBack(low1);
  EXPECT_EQ(Names(manager), (Strings{"low1", "low2", "high"}));
  manager.PutInFront(low1, high);  // would break the order: stays before the higher key
  EXPECT_EQ(Names(manager), (Strings{"low2", "low1", "high"}));
  manager.PutBehind(low1, low2);
  EXPECT_EQ(Names(manager), (Strings{"low1", "low2", "high"}));
  EXPECT_EQ(log.With("low1:reordered").size(), 4u);
  EXPECT_EQ(log.With("high:reordered").size(), 1u);
}

TEST_F(WidgetTree, AWidgetLivesInOneContainerOnly) {
  ProbeWidget* first = Make("first");
  ProbeWidget* second = Make("second");
  ProbeWidget* child = Make("child");
  manager.AddWidget(first);
  manager.AddWidget(second);
  first->AddWidget(child);
  second->AddWidget(child);
  EXPECT_TRUE(first->widgets.empty());
  EXPECT_EQ(Names(*second), (Strings{"child"}));
  EXPECT_EQ(child->parent, second);

  child->AddWidget(second);  // a widget cannot hold its own ancestor
  child->AddWidget(child);
  EXPECT_TRUE(child->widgets.empty());
  EXPECT_EQ(second->parent, &manager);
}

TEST_F(WidgetTree, IsBelowFollowsDrawingOrderThroughTheTree) {
  ProbeWidget* back = Make("back");
  ProbeWidget* front = Make("front");
  ProbeWidget* backChild = Make("backChild");
  ProbeWidget* loose = Make("loose");
  manager.AddWidget(back);
  manager.AddWidget(front);
  back->AddWidget(backChild);
  EXPECT_TRUE(manager.IsBelow(back, front));
  EXPECT_FALSE(manager.IsBelow(front, back));
  EXPECT_TRUE(manager.IsBelow(backChild, front));
  EXPECT_TRUE(manager.IsBelow(back, backChild));  // a parent draws before its children
  EXPECT_FALSE(manager.IsBelow(backChild, back));
  EXPECT_FALSE(manager.IsBelow(loose, front));
  EXPECT_FALSE(manager.IsBelow(front, front));
}

// ---------------------------------------------------------------------------
// Attachment

TEST_F(WidgetTree, AttachingReachesTheWholeSubtreeAndDetachingUndoesIt) {
  ProbeWidget* parent = Make("parent");
  ProbeWidget* child = Make("child");
  ProbeWidget* grandchild = Make("grandchild");
  parent->AddWidget(child);
  child->AddWidget(grandchild);
  EXPECT_EQ(grandchild->widgetManager, nullptr);

  manager.AddWidget(parent);
  EXPECT_EQ(grandchild->widgetManager, &manager);
  EXPECT_EQ(log.With("grandchild:added").size(), 1u);
  EXPECT_EQ(child->GetAbsPos(), (Zing::Point{0, 0}));

  manager.RemoveWidget(parent);
  EXPECT_EQ(parent->widgetManager, nullptr);
  EXPECT_EQ(grandchild->widgetManager, nullptr);
  EXPECT_EQ(parent->parent, nullptr);
  EXPECT_EQ(child->parent, parent);  // the subtree itself stays together
  EXPECT_EQ(log.With("grandchild:removed").size(), 1u);
  manager.RemoveWidget(parent);  // not a child any more: nothing happens
  EXPECT_EQ(log.With("parent:removed").size(), 1u);
}

TEST_F(WidgetTree, RemoveAllWidgetsCanDeleteWholeSubtrees) {
  auto* parent = new ProbeWidget("parent", &log);
  auto* child = new ProbeWidget("child", &log);
  parent->AddWidget(child);
  manager.AddWidget(parent);
  manager.AddWidget(new ProbeWidget("other", &log));
  manager.RemoveAllWidgets(true, true);  // the sanitizer build catches leaks and double frees
  EXPECT_TRUE(manager.widgets.empty());
  EXPECT_EQ(log.With("child:removed").size(), 1u);
}

TEST_F(WidgetTree, DeletingAnAttachedWidgetTakesItOutOfTheTree) {
  auto* doomed = new ProbeWidget("doomed", &log, 0, 0, 50, 50);
  manager.AddWidget(doomed);
  manager.MouseMove(5, 5);
  manager.SetFocus(doomed);
  delete doomed;
  EXPECT_TRUE(manager.widgets.empty());
  EXPECT_EQ(manager.overWidget, nullptr);
  EXPECT_EQ(manager.focusWidget, nullptr);
  manager.MouseMove(6, 6);
  manager.KeyDown(65);
}

// ---------------------------------------------------------------------------
// Dirty marking

TEST_F(WidgetTree, MarkingAChildDirtyMarksItsAncestorsAndOverlappingWidgetsInFront) {
  ProbeWidget* back = Make("back", 0, 0, 100, 100);
  ProbeWidget* inner = Make("inner", 10, 10, 5, 5);
  ProbeWidget* over = Make("over", 50, 50, 100, 100);
  ProbeWidget* apart = Make("apart", 300, 300, 10, 10);
  manager.AddWidget(back);
  back->AddWidget(inner);
  manager.AddWidget(over);
  manager.AddWidget(apart);
  ClearDirty();

  inner->MarkDirty();
  EXPECT_TRUE(inner->dirty);
  EXPECT_TRUE(back->dirty);
  EXPECT_TRUE(manager.dirty);
  EXPECT_TRUE(over->dirty);
  EXPECT_FALSE(apart->dirty);
}

TEST_F(WidgetTree, TouchingEdgesDoNotOverlap) {
  ProbeWidget* left = Make("left", 0, 0, 10, 10);
  ProbeWidget* right = Make("right", 10, 0, 10, 10);
  EXPECT_FALSE(left->Intersects(right));
  right->Move(9, 9);
  EXPECT_TRUE(left->Intersects(right));
}

TEST_F(WidgetTree, ATransparentWidgetRedrawsWhatLiesBehindIt) {
  ProbeWidget* far = Make("far", 0, 0, 640, 480);
  ProbeWidget* near = Make("near", 0, 0, 200, 200);
  ProbeWidget* glass = Make("glass", 20, 20, 50, 50);
  for (ProbeWidget* w : {far, near, glass}) manager.AddWidget(w);
  ClearDirty();

  glass->MarkDirty();  // opaque: nothing behind it needs redrawing
  EXPECT_FALSE(near->dirty);
  EXPECT_FALSE(far->dirty);

  ClearDirty();
  glass->hasAlpha = true;
  glass->MarkDirty();
  // The nearest opaque widget that covers it hides everything further back.
  EXPECT_TRUE(near->dirty);
  EXPECT_FALSE(far->dirty);

  ClearDirty();
  near->hasTransparencies = true;  // holes: look further back
  glass->MarkDirty();
  EXPECT_TRUE(near->dirty);
  EXPECT_TRUE(far->dirty);
}

TEST_F(WidgetTree, AnOpaqueWidgetExactlyUnderAnotherStopsTheWalkBehind) {
  ProbeWidget* far = Make("far", 0, 0, 640, 480);
  ProbeWidget* under = Make("under", 20, 20, 50, 50);
  ProbeWidget* glass = Make("glass", 20, 20, 50, 50);
  glass->hasAlpha = true;
  for (ProbeWidget* w : {far, under, glass}) manager.AddWidget(w);
  ClearDirty();
  glass->MarkDirty();
  EXPECT_TRUE(under->dirty);
  EXPECT_FALSE(far->dirty);
}

TEST_F(WidgetTree, HidingAWidgetRedrawsTheAreaItCovered) {
  ProbeWidget* back = Make("back", 0, 0, 100, 100);
  ProbeWidget* popup = Make("popup", 10, 10, 20, 20);
  manager.AddWidget(back);
  manager.AddWidget(popup);
  ClearDirty();
  popup->SetVisible(false);
  EXPECT_TRUE(back->dirty);

  // Invisible widgets are not redrawn for their neighbours.
  ClearDirty();
  back->MarkFullyDirty();
  EXPECT_FALSE(popup->dirty);
}

TEST_F(WidgetTree, AHiddenChildMarkedDirtyStillReappearsWhenShown) {
  ProbeWidget* panel = Make("panel", 0, 0, 100, 100);
  ProbeWidget* label = Make("label", 10, 10, 20, 20);
  manager.AddWidget(panel);
  panel->AddWidget(label);
  label->SetVisible(false);
  label->SetColor(0, Color(1, 2, 3));  // marks the hidden label dirty
  ClearDirty();
  label->dirty = true;  // left over: drawing skips invisible children
  label->SetVisible(true);
  EXPECT_TRUE(panel->dirty);
  EXPECT_TRUE(manager.dirty);
}

TEST_F(WidgetTree, ResizingToTheSameRectangleMarksNothing) {
  ProbeWidget* back = Make("back", 0, 0, 100, 100);
  ProbeWidget* w = Make("w", 10, 10, 20, 20);
  manager.AddWidget(back);
  manager.AddWidget(w);
  ClearDirty();
  w->Resize(10, 10, 20, 20);
  EXPECT_FALSE(w->dirty);
  EXPECT_FALSE(back->dirty);
  EXPECT_FALSE(manager.dirty);
  w->Resize(Rect(200, 200, 20, 20));
  EXPECT_TRUE(back->dirty);  // the old area
  EXPECT_TRUE(w->dirty);
  EXPECT_EQ(w->GetRect(), Rect(200, 200, 20, 20));
}

TEST_F(WidgetTree, MarkAllDirtyReachesEveryDescendant) {
  ProbeWidget* parent = Make("parent");
  ProbeWidget* child = Make("child");
  manager.AddWidget(parent);
  parent->AddWidget(child);
  ClearDirty();
  manager.MarkAllDirty();
  EXPECT_TRUE(manager.dirty);
  EXPECT_TRUE(parent->dirty);
  EXPECT_TRUE(child->dirty);
}

// ---------------------------------------------------------------------------
// Colours and small helpers

TEST_F(WidgetTree, ColoursGrowOnDemandAndFallBackOutOfRange) {
  ProbeWidget* w = Make("w");
  const int rgba[][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
  w->SetColors(rgba, 2);
  EXPECT_EQ(w->GetColor(1), Color(5, 6, 7, 8));
  EXPECT_EQ(w->GetColor(5), Color(0, 0, 0, 255));
  EXPECT_EQ(w->GetColor(-1, Color(9, 9, 9)), Color(9, 9, 9, 255));
  const int rgb[][3] = {{10, 20, 30}};
  w->SetColors(rgb, 1);
  ASSERT_EQ(w->colors.size(), 1u);
  EXPECT_EQ(w->GetColor(0), Color(10, 20, 30, 255));
  w->SetColor(4, Color(1, 1, 1));
  EXPECT_EQ(w->colors.size(), 5u);
  EXPECT_EQ(w->GetColor(2), Color());
}

TEST_F(WidgetTree, DigitCountsAndInsetRectangles) {
  ProbeWidget* w = Make("w", 10, 20, 100, 50);
  EXPECT_EQ(w->GetDigitCount(0), 1);
  EXPECT_EQ(w->GetDigitCount(9), 1);
  EXPECT_EQ(w->GetDigitCount(10), 2);
  EXPECT_EQ(w->GetDigitCount(2147483647), 10);
  w->mouseInsets = Zing::Insets{1, 2, 3, 4};
  EXPECT_EQ(w->GetInsetRect(), Rect(11, 22, 96, 44));
  EXPECT_TRUE(w->Contains(10, 20));
  EXPECT_FALSE(w->Contains(110, 20));
}

// ---------------------------------------------------------------------------
// Update walk

TEST_F(WidgetTree, UpdateVisitsEveryWidgetOncePerTickBackToFront) {
  ProbeWidget* a = Make("a");
  ProbeWidget* b = Make("b");
  ProbeWidget* bChild = Make("bChild");
  manager.AddWidget(a);
  manager.AddWidget(b);
  b->AddWidget(bChild);
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.With(""), (Strings{"a:update", "b:update", "bChild:update"}));
  EXPECT_EQ(manager.updateCount, 1);
  EXPECT_EQ(a->updateCount, 1);
  EXPECT_EQ(b->lastWMUpdateCount, 1);
}

TEST_F(WidgetTree, RemovingTheWidgetBeingUpdatedDoesNotSkipTheNext) {
  ProbeWidget* a = Make("a");
  ProbeWidget* b = Make("b");
  ProbeWidget* c = Make("c");
  for (ProbeWidget* w : {a, b, c}) manager.AddWidget(w);
  b->onUpdate = [&] { manager.RemoveWidget(b); };
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.With(""), (Strings{"a:update", "b:update", "b:removed", "c:update"}));
}

TEST_F(WidgetTree, RemovingAndReorderingSiblingsDuringTheWalkNeitherSkipsNorRepeats) {
  ProbeWidget* a = Make("a");
  ProbeWidget* b = Make("b");
  ProbeWidget* c = Make("c");
  ProbeWidget* d = Make("d");
  for (ProbeWidget* w : {a, b, c, d}) manager.AddWidget(w);
  a->onUpdate = [&] {
    manager.RemoveWidget(b);  // not reached yet: never updated this tick
    manager.BringToFront(a);  // moves behind the walk: not updated twice
  };
  c->onUpdate = [&] {
    manager.RemoveWidget(c);
    manager.AddWidget(c);
  };
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.With(""),
            (Strings{"a:update", "b:removed", "a:reordered", "c:update", "c:removed", "c:added", "d:update"}));
  EXPECT_EQ(Names(manager), (Strings{"d", "a", "c"}));
}

TEST_F(WidgetTree, ANestedUpdateFromAHandlerKeepsTheOuterWalkIntact) {
  ProbeWidget* a = Make("a");
  ProbeWidget* b = Make("b");
  ProbeWidget* c = Make("c");
  for (ProbeWidget* w : {a, b, c}) manager.AddWidget(w);
  bool nested = false;
  a->onUpdate = [&] {
    if (nested) return;
    nested = true;
    // A dialog waiting for its answer runs ticks from inside a handler.
    manager.RemoveWidget(a);
    manager.UpdateFrame();
    manager.RemoveWidget(b);
  };
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.With(""), (Strings{"a:update", "a:removed", "b:update", "c:update", "b:removed"}));
}

// Like a dialog: its button is a sibling in the manager, added and removed
// with it.
class PanelWithButton : public ProbeWidget {
 public:
  explicit PanelWithButton(EventLog* eventLog) : ProbeWidget("panel", eventLog), button("button", eventLog) {}
  void AddedToManager(Zing::WidgetManager* manager) override {
    ProbeWidget::AddedToManager(manager);
    manager->AddWidget(&button);
  }
  void RemovedFromManager(Zing::WidgetManager* manager) override {
    ProbeWidget::RemovedFromManager(manager);
    manager->RemoveWidget(&button);
  }
  ProbeWidget button;
};

TEST_F(WidgetTree, CompanionWidgetsLeaveWithTheirOwnerEvenDuringTheWalk) {
  ProbeWidget* before = Make("before");
  manager.AddWidget(before);
  PanelWithButton panel(&log);
  manager.AddWidget(&panel);
  ProbeWidget* after = Make("after");
  manager.AddWidget(after);
  EXPECT_EQ(Names(manager), (Strings{"before", "panel", "button", "after"}));

  panel.onUpdate = [&] { manager.RemoveWidget(&panel); };
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.With(""),
            (Strings{"before:update", "panel:update", "panel:removed", "button:removed", "after:update"}));
  EXPECT_EQ(Names(manager), (Strings{"before", "after"}));
}

TEST_F(WidgetTree, AContainerTakenOutDuringItsWalkStopsUpdatingItsChildren) {
  ProbeWidget* panel = Make("panel");
  ProbeWidget* first = Make("first");
  ProbeWidget* second = Make("second");
  ProbeWidget* after = Make("after");
  manager.AddWidget(panel);
  manager.AddWidget(after);
  panel->AddWidget(first);
  panel->AddWidget(second);
  first->onUpdate = [&] { manager.RemoveWidget(panel); };
  log.Clear();
  manager.UpdateFrame();
  EXPECT_TRUE(log.With("second:update").empty());
  EXPECT_EQ(log.With("after:update").size(), 1u);
}

TEST_F(WidgetTree, FlagModifiersDecideUpdatingAndMarkingDirty) {
  ProbeWidget* frozen = Make("frozen");
  ProbeWidget* frozenChild = Make("frozenChild");
  ProbeWidget* ticking = Make("ticking");
  manager.AddWidget(frozen);
  frozen->AddWidget(frozenChild);
  manager.AddWidget(ticking);
  frozen->widgetFlagsMod = Zing::FlagsMod(0, Zing::WIDGETFLAGS_UPDATE);
  ticking->widgetFlagsMod = Zing::FlagsMod(Zing::WIDGETFLAGS_MARK_DIRTY, 0);
  ClearDirty();
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.With(""), (Strings{"ticking:update"}));
  EXPECT_TRUE(ticking->dirty);
  EXPECT_FALSE(frozen->dirty);

  frozenChild->widgetFlagsMod = Zing::FlagsMod(Zing::WIDGETFLAGS_UPDATE, 0);
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.With("frozenChild"), (Strings{"frozenChild:update"}));
}

TEST_F(WidgetTree, SmoothUpdatesFollowTheSameWalk) {
  struct Smooth : ProbeWidget {
    using ProbeWidget::ProbeWidget;
    void UpdateSmooth(float fraction) override { Note("smooth " + std::to_string(static_cast<int>(fraction * 4))); }
  };
  Smooth smooth("s", &log);
  manager.AddWidget(&smooth);
  log.Clear();
  manager.UpdateFrameSmooth(0.5f);
  EXPECT_EQ(log.With(""), (Strings{"s:smooth 2"}));
  manager.RemoveWidget(&smooth);
}

}  // namespace
