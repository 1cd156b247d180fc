// The widget tree: child order, attachment, lifetime, dirty marking and the
// update walk.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::EventLog;
using WidgetTest::Names;
using WidgetTest::ProbeWidget;
using Zing::Color;
using Zing::Rect;
using Strings = std::vector<std::string>;

class WidgetTree : public WidgetTest::WidgetFixture {
 protected:
  void ClearDirty() {
    manager.dirty = false;
    for (auto& widget : owned) widget->dirty = false;
  }
  // Probes of their own, not yet in the tree.
  template <typename... Name>
  auto MakeAll(Name... names) {
    return std::array{Make(names)...};
  }
  // Widgets added side by side, each 10 x 10.
  void AddAll(std::initializer_list<ProbeWidget*> widgets) {
    for (ProbeWidget* w : widgets) manager.AddWidget(w);
    log.Clear();
  }
};

TEST_F(WidgetTree, ChildrenSortByZOrderAndReorderOnlyWithinTheirGroup) {
  auto [a, b, c, d] = MakeAll("a", "b", "c", "d");
  a->zOrder = c->zOrder = 1;
  AddAll({a, b, c, d, a});  // insertion order within a key; a second add changes nothing
  EXPECT_EQ(Names(manager), (Strings{"b", "d", "a", "c"}));

  manager.BringToFront(b);
  EXPECT_EQ(Names(manager), (Strings{"d", "b", "a", "c"}));
  manager.BringToBack(c);
  EXPECT_EQ(Names(manager), (Strings{"d", "b", "c", "a"}));
  manager.BringToBack(b);
  EXPECT_EQ(Names(manager), (Strings{"b", "d", "c", "a"}));
  manager.PutInFront(b, c);  // would break the order: stays before the higher key
  EXPECT_EQ(Names(manager), (Strings{"d", "b", "c", "a"}));
  manager.PutBehind(b, d);
  EXPECT_EQ(Names(manager), (Strings{"b", "d", "c", "a"}));
  EXPECT_EQ(log.With("b:reordered").size(), 4u);
}

TEST_F(WidgetTree, AWidgetLivesInOneContainerAndAttachesWithItsSubtree) {
  auto [first, second, child, grandchild] = MakeAll("first", "second", "child", "grandchild");
  child->AddWidget(grandchild);
  first->AddWidget(child);
  EXPECT_EQ(grandchild->widgetManager, nullptr);
  AddAll({first, second});
  EXPECT_EQ(grandchild->widgetManager, &manager);
  second->AddWidget(child);
  EXPECT_TRUE(first->widgets.empty());
  EXPECT_EQ(Names(*second), (Strings{"child"}));
  child->AddWidget(second);  // a widget cannot hold its own ancestor
  child->AddWidget(child);
  EXPECT_EQ(Names(*child), (Strings{"grandchild"}));
  EXPECT_EQ(second->parent, &manager);

  // Drawing order: back to front, a parent before its children.
  EXPECT_TRUE(manager.IsBelow(first, second));
  EXPECT_FALSE(manager.IsBelow(second, first));
  EXPECT_TRUE(manager.IsBelow(second, grandchild));
  EXPECT_FALSE(manager.IsBelow(grandchild, second));
  EXPECT_FALSE(manager.IsBelow(Make("loose"), second));
  EXPECT_FALSE(manager.IsBelow(second, second));

  log.Clear();
  manager.RemoveWidget(second);
  manager.RemoveWidget(second);  // not a child any more: nothing happens
  EXPECT_EQ(grandchild->widgetManager, nullptr);
  EXPECT_EQ(second->parent, nullptr);
  EXPECT_EQ(child->parent, second);  // the subtree itself stays together
  EXPECT_EQ(log.lines, (Strings{"grandchild:removed", "child:removed", "second:removed"}));
}

TEST_F(WidgetTree, DeletedWidgetsLeaveTheTreeAndRemoveAllCanDeleteSubtrees) {
  auto* doomed = new ProbeWidget("doomed", &log, 0, 0, 50, 50);
  manager.AddWidget(doomed);
  manager.MouseMove(5, 5);
  manager.SetFocus(doomed);
  delete doomed;  // the sanitizer build sees any later use
  EXPECT_TRUE(manager.widgets.empty());
  EXPECT_EQ(manager.overWidget, nullptr);
  EXPECT_EQ(manager.focusWidget, nullptr);
  manager.MouseMove(6, 6);
  manager.KeyDown(65);

  auto* parent = new ProbeWidget("parent", &log);
  parent->AddWidget(new ProbeWidget("child", &log));
  manager.AddWidget(parent);
  manager.AddWidget(new ProbeWidget("other", &log));
  manager.RemoveAllWidgets(true, true);  // leaks and double frees show in the sanitizer build
  EXPECT_TRUE(manager.widgets.empty());
  EXPECT_EQ(log.With("child:removed").size(), 1u);
}

TEST_F(WidgetTree, MarkingDirtyReachesAncestorsAndWhatOverlapsInFront) {
  ProbeWidget* back = Make("back", 0, 0, 100, 100);
  ProbeWidget* inner = Make("inner", 10, 10, 5, 5);
  ProbeWidget* over = Make("over", 50, 50, 100, 100);
  ProbeWidget* touching = Make("touching", 150, 50, 10, 10);  // shares only an edge with `over`
  AddAll({back, over, touching});
  back->AddWidget(inner);
  ClearDirty();
  inner->MarkDirty();
  for (ProbeWidget* w : {inner, back, over}) EXPECT_TRUE(w->dirty) << w->name;
  EXPECT_TRUE(manager.dirty);
  EXPECT_FALSE(touching->dirty);
  ClearDirty();
  over->MarkDirty();
  EXPECT_FALSE(touching->dirty);
  touching->Move(149, 50);
  ClearDirty();
  over->MarkDirty();
  EXPECT_TRUE(touching->dirty);

  ClearDirty();
  manager.MarkAllDirty();
  for (ProbeWidget* w : {inner, back, over, touching}) EXPECT_TRUE(w->dirty) << w->name;

  // Resizing to the same rectangle marks nothing; a move marks the old area.
  ClearDirty();
  inner->Resize(10, 10, 5, 5);
  EXPECT_FALSE(manager.dirty);
  inner->Resize(Rect(200, 200, 20, 20));
  EXPECT_TRUE(back->dirty);
  EXPECT_EQ(inner->GetRect(), Rect(200, 200, 20, 20));
}

TEST_F(WidgetTree, ATransparentWidgetRedrawsWhatLiesBehindItUpToAnOpaqueCover) {
  ProbeWidget* far = Make("far", 0, 0, 640, 480);
  ProbeWidget* near = Make("near", 0, 0, 200, 200);
  ProbeWidget* under = Make("under", 20, 20, 50, 50);
  ProbeWidget* glass = Make("glass", 20, 20, 50, 50);
  AddAll({far, near, glass});
  ClearDirty();
  glass->MarkDirty();  // opaque: nothing behind it needs redrawing
  EXPECT_FALSE(near->dirty);

  ClearDirty();
  glass->hasAlpha = true;
  glass->MarkDirty();
  EXPECT_TRUE(near->dirty);  // the nearest opaque widget that covers it hides the rest
  EXPECT_FALSE(far->dirty);

  ClearDirty();
  near->hasTransparencies = true;  // holes: look further back
  glass->MarkDirty();
  EXPECT_TRUE(far->dirty);

  manager.AddWidget(under);
  manager.PutBehind(under, glass);  // exactly under it, opaque: the walk stops there
  ClearDirty();
  glass->MarkDirty();
  EXPECT_TRUE(under->dirty);
  EXPECT_FALSE(near->dirty);
  EXPECT_FALSE(far->dirty);
}

TEST_F(WidgetTree, HidingRedrawsTheCoveredAreaAndShowingAHiddenDirtyChildRedrawsIt) {
  ProbeWidget* panel = Make("panel", 0, 0, 100, 100);
  ProbeWidget* label = Make("label", 10, 10, 20, 20);
  ProbeWidget* popup = Make("popup", 10, 10, 20, 20);
  AddAll({panel, popup});
  panel->AddWidget(label);
  ClearDirty();
  popup->SetVisible(false);
  EXPECT_TRUE(panel->dirty);
  ClearDirty();
  panel->MarkFullyDirty();
  EXPECT_FALSE(popup->dirty);  // invisible widgets are not redrawn for their neighbours

  label->SetVisible(false);
  label->SetColor(0, Color(1, 2, 3));  // marks the hidden label dirty
  ClearDirty();
  label->dirty = true;  // left over: drawing skips invisible children
  label->SetVisible(true);
  EXPECT_TRUE(panel->dirty);
  EXPECT_TRUE(manager.dirty);
}

TEST_F(WidgetTree, UpdateVisitsEveryWidgetOncePerTickBackToFront) {
  struct Smooth : ProbeWidget {
    using ProbeWidget::ProbeWidget;
    void UpdateSmooth(float fraction) override { Note("smooth " + std::to_string(static_cast<int>(fraction * 4))); }
  } smooth("s", &log);
  auto [a, b] = MakeAll("a", "b");
  AddAll({a, b, &smooth});
  b->AddWidget(Make("bChild"));
  log.Clear();
  manager.UpdateFrame();
  manager.UpdateFrameSmooth(0.5f);
  EXPECT_EQ(log.lines, (Strings{"a:update", "b:update", "bChild:update", "s:update", "s:smooth 2"}));
  EXPECT_EQ(manager.updateCount, 1);
  EXPECT_EQ(a->updateCount, 1);
}

TEST_F(WidgetTree, RemovingAndReorderingDuringTheWalkNeitherSkipsNorRepeats) {
  ProbeWidget* a = Make("a");
  ProbeWidget* b = Make("b");
  ProbeWidget* c = Make("c");
  ProbeWidget* d = Make("d");
  ProbeWidget* e = Make("e");
  AddAll({a, b, c, d, e});
  a->onUpdate = [&] {
    manager.RemoveWidget(b);  // not reached yet: never updated this tick
    manager.BringToFront(a);  // moves behind the walk: not updated twice
  };
  c->onUpdate = [&] {
    manager.RemoveWidget(c);
    manager.AddWidget(c);
  };
  d->onUpdate = [&] { manager.RemoveWidget(d); };  // the one being updated
  manager.UpdateFrame();
  EXPECT_EQ(log.lines, (Strings{"a:update", "b:removed", "a:reordered", "c:update", "c:removed", "c:added", "d:update",
                                "d:removed", "e:update"}));
  EXPECT_EQ(Names(manager), (Strings{"e", "a", "c"}));
}

TEST_F(WidgetTree, ANestedUpdateFromAHandlerKeepsTheOuterWalkIntact) {
  ProbeWidget* a = Make("a");
  ProbeWidget* b = Make("b");
  AddAll({a, b, Make("c")});
  bool nested = false;
  a->onUpdate = [&] {
    if (nested) return;
    nested = true;
    // A dialog waiting for its answer runs ticks from inside a handler.
    manager.RemoveWidget(a);
    manager.UpdateFrame();
    manager.RemoveWidget(b);
  };
  manager.UpdateFrame();
  EXPECT_EQ(log.lines, (Strings{"a:update", "a:removed", "b:update", "c:update", "b:removed"}));
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

TEST_F(WidgetTree, CompanionsLeaveWithTheirOwnerAndAContainerTakenOutStopsItsWalk) {
  PanelWithButton panel(&log);
  ProbeWidget* after = Make("after");
  ProbeWidget* box = Make("box");
  ProbeWidget* first = Make("first");
  AddAll({Make("before"), &panel, after, box});
  EXPECT_EQ(Names(manager), (Strings{"before", "panel", "button", "after", "box"}));
  box->AddWidget(first);
  box->AddWidget(Make("second"));
  panel.onUpdate = [&] { manager.RemoveWidget(&panel); };
  first->onUpdate = [&] { manager.RemoveWidget(box); };
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.lines, (Strings{"before:update", "panel:update", "panel:removed", "button:removed", "after:update",
                                "box:update", "first:update", "first:removed", "second:removed", "box:removed"}));
  EXPECT_EQ(Names(manager), (Strings{"before", "after"}));
}

TEST_F(WidgetTree, FlagModifiersDecideUpdatingAndMarkingDirty) {
  auto [frozen, frozenChild, ticking] = MakeAll("frozen", "frozenChild", "ticking");
  AddAll({frozen, ticking});
  frozen->AddWidget(frozenChild);
  frozen->widgetFlagsMod = Zing::FlagsMod(0, Zing::WIDGETFLAGS_UPDATE);
  ticking->widgetFlagsMod = Zing::FlagsMod(Zing::WIDGETFLAGS_MARK_DIRTY, 0);
  ClearDirty();
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.lines, (Strings{"ticking:update"}));
  EXPECT_TRUE(ticking->dirty);
  EXPECT_FALSE(frozen->dirty);

  frozenChild->widgetFlagsMod = Zing::FlagsMod(Zing::WIDGETFLAGS_UPDATE, 0);
  log.Clear();
  manager.UpdateFrame();
  EXPECT_EQ(log.lines, (Strings{"frozenChild:update", "ticking:update"}));
}

}  // namespace
