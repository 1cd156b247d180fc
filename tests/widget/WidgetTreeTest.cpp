// The widget tree: attachment, dirty marking (what lies behind and in front) and the update walk
// with removals and reordering during it; deferred overlays in the draw walk, and the text, number
// and colour helpers of every widget.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/widget/Dialog.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::EventLog;
using WidgetTest::Names;
using WidgetTest::ProbeWidget;
using Zing::Color;
using Zing::Graphics;
using Zing::Rect;
using Strings = std::vector<std::string>;

class WidgetTree : public WidgetTest::WidgetFixture {
 protected:
  void ClearDirty() {
    manager.dirty = false;
    for (auto& widget : owned) widget->dirty = false;
  }
  // The probes marked dirty, in the order they were made; after marking one afresh.
  Strings Dirty() {
    Strings names;
    for (auto& widget : owned) {
      if (widget->dirty) names.push_back(widget->name);
    }
    return names;
  }
  Strings Mark(ProbeWidget* widget) {
    ClearDirty();
    widget->MarkDirty();
    return Dirty();
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

// Children keep the order of their zOrder keys, in order of arrival within
// a key (adding a child twice changes nothing); reordering moves a child only
// as far as its key allows, and never relative to itself or a stranger.
TEST_F(WidgetTree, ChildrenSortByZOrderAndReorderOnlyWithinTheirGroup) {
  const auto all = MakeAll("a", "b", "c", "d");  // plain names: lambdas below take them
  ProbeWidget *a = all[0], *b = all[1], *c = all[2], *d = all[3];
  a->zOrder = c->zOrder = 1, AddAll({a, b, c, d, a});
  const std::pair<std::function<void()>, std::string> steps[] = {
      {[] {}, "bdac"},
      {[&] { manager.BringToFront(b); }, "dbac"},
      {[&] { manager.BringToBack(c); }, "dbca"},
      {[&] { manager.BringToBack(b); }, "bdca"},
      {[&] { manager.PutInFront(b, c); }, "dbca"},
      {[&] { manager.PutBehind(b, d), manager.PutBehind(b, Make("loose")), manager.PutInFront(b, b); }, "bdca"}};
  for (const auto& [step, order] : steps) {
    step();
    std::string names;
    for (const std::string& name : Names(manager)) names += name;
    EXPECT_EQ(names, order);
  }
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
  child->AddWidget(second);  // a widget cannot hold its own ancestor
  child->AddWidget(child);
  EXPECT_EQ(std::tuple(Names(*first), Names(*second), Names(*child), second->parent),
            std::tuple(Strings{}, Strings{"child"}, Strings{"grandchild"}, &manager));

  // Drawing order: back to front, a parent before its children.
  EXPECT_EQ((std::vector<bool>{manager.IsBelow(first, second), manager.IsBelow(second, first),
                               manager.IsBelow(second, grandchild), manager.IsBelow(grandchild, second),
                               manager.IsBelow(Make("loose"), second), manager.IsBelow(second, second)}),
            (std::vector<bool>{true, false, true, false, false, false}));

  log.Clear();
  manager.RemoveWidget(second);
  manager.RemoveWidget(second);  // not a child any more: nothing happens
  // The subtree itself stays together.
  EXPECT_EQ(std::tuple(grandchild->widgetManager, second->parent, child->parent, log.lines),
            std::tuple(nullptr, nullptr, second, Strings{"grandchild:removed", "child:removed", "second:removed"}));
}

TEST_F(WidgetTree, MarkingDirtyReachesAncestorsAndWhatOverlapsInFront) {
  ProbeWidget *back = Make("back", 0, 0, 100, 100), *inner = Make("inner", 10, 10, 5, 5);
  ProbeWidget* over = Make("over", 50, 50, 100, 100);
  ProbeWidget* touching = Make("touching", 150, 50, 10, 10);  // shares only an edge with `over`
  AddAll({back, over, touching});
  back->AddWidget(inner);
  EXPECT_EQ(Mark(inner), (Strings{"back", "inner", "over"}));
  EXPECT_TRUE(manager.dirty);
  EXPECT_EQ(Mark(over), (Strings{"over"}));
  touching->Move(149, 50);
  EXPECT_EQ(Mark(over), (Strings{"over", "touching"}));
  ClearDirty();
  manager.MarkAllDirty();
  EXPECT_EQ(Dirty(), (Strings{"back", "inner", "over", "touching"}));

  // Resizing to the same rectangle marks nothing; a move marks the old area.
  ClearDirty();
  inner->Resize(10, 10, 5, 5);
  EXPECT_FALSE(manager.dirty);
  inner->Resize(Rect(200, 200, 20, 20));
  EXPECT_EQ(std::tuple(Dirty(), inner->GetRect()),
            std::tuple(Strings{"back", "inner", "over", "touching"}, Rect(200, 200, 20, 20)));
}

TEST_F(WidgetTree, ATransparentWidgetRedrawsWhatLiesBehindItUpToAnOpaqueCover) {
  ProbeWidget *far = Make("far", 0, 0, 640, 480), *near = Make("near", 0, 0, 200, 200);
  ProbeWidget *under = Make("under", 20, 20, 50, 50), *glass = Make("glass", 20, 20, 50, 50);
  AddAll({far, near, glass});
  EXPECT_EQ(Mark(glass), (Strings{"glass"}));  // opaque: nothing behind it needs redrawing
  glass->hasAlpha = true;
  EXPECT_EQ(Mark(glass), (Strings{"near", "glass"}));  // the nearest opaque cover hides the rest
  near->hasTransparencies = true;                      // holes: look further back
  EXPECT_EQ(Mark(glass), (Strings{"far", "near", "glass"}));
  manager.AddWidget(under);
  manager.PutBehind(under, glass);  // exactly under it, opaque: the walk stops there
  EXPECT_EQ(Mark(glass), (Strings{"under", "glass"}));

  // Covers one row or one column short of any edge of the corner hide nothing.
  const auto shortCovers = MakeAll("top", "left", "bottom", "right");
  for (int i = 0; i < 4; ++i) shortCovers[i]->Resize(i == 1, i == 0, 50 - (i % 2 == 1), 50 - (i % 2 == 0));
  ProbeWidget* corner = Make("corner", 0, 0, 50, 50);
  corner->hasAlpha = true;
  AddAll({shortCovers[0], shortCovers[1], shortCovers[2], shortCovers[3], corner});
  EXPECT_EQ(Mark(corner), (Strings{"far", "near", "under", "glass", "top", "left", "bottom", "right", "corner"}));
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
  EXPECT_EQ(std::pair(manager.updateCount, a->updateCount), std::pair(1, 1));
}

TEST_F(WidgetTree, RemovingAndReorderingDuringTheWalkNeitherSkipsNorRepeats) {
  ProbeWidget *a = Add("a"), *b = Add("b"), *c = Add("c"), *d = Add("d");
  Add("e");
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

using WidgetDraw = WidgetTest::ScreenFixture;

// The below-modal flags apply in the draw walk to what lies behind the modal
// widget: inside a container, to its parent and the siblings behind it too.
TEST_F(WidgetDraw, WhatLiesBehindTheModalWidgetIsDrawnWithTheBelowModalFlags) {
  ProbeWidget* frame = Add("frame", 0, 0, 100, 100);
  Add("before", 0, 0, 10, 10, frame);
  ProbeWidget* sheet = Add("sheet", 20, 0, 10, 10, frame);
  Add("after", 40, 0, 10, 10, frame);
  // Without its clip flag a widget may draw beyond its bounds.
  Add("top", 200, 0, 10, 10)->widgetFlagsMod = Zing::FlagsMod(0, Zing::WIDGETFLAGS_CLIP);
  manager.AddBaseModal(sheet, Zing::FlagsMod(0, Zing::WIDGETFLAGS_DRAW));
  manager.DrawScreen();
  EXPECT_EQ(log.lines, (Strings{"sheet:draw at 20,0 clip 20,0 10x10", "after:draw at 40,0 clip 40,0 10x10",
                                "top:draw at 200,0 clip 0,0 640x480"}));
  manager.RemoveBaseModal(sheet);
  // A pass clears every mark it drew: a pass without changes draws nothing, and
  // a child marked afresh brings back its top-level widget alone.
  manager.DrawScreen();
  log.Clear();
  manager.DrawScreen();
  sheet->MarkDirty();
  manager.DrawScreen();
  EXPECT_EQ(log.lines, (Strings{"frame:draw at 0,0 clip 0,0 100x100", "before:draw at 0,0 clip 0,0 10x10",
                                "sheet:draw at 20,0 clip 20,0 10x10", "after:draw at 40,0 clip 40,0 10x10"}));
}

// Asks for its overlay while it draws.
class OverlayWidget : public ProbeWidget {
 public:
  using ProbeWidget::ProbeWidget;
  using Widget::DrawOverlay;
  void Draw(Graphics* g) override {
    ProbeWidget::Draw(g);
    if (widgetManager != nullptr && overlayPriority >= 0) widgetManager->DeferOverlay(this, overlayPriority);
  }
  void DrawOverlay(Graphics* g, int atPriority) override {
    Note("overlay " + std::to_string(atPriority) + " at " + std::to_string(static_cast<int>(g->transX)));
    // Asking again from inside the overlay is refused (asked once, so that a
    // fault shows as a second overlay, not as an endless loop).
    if (widgetManager != nullptr && !askedAgain) widgetManager->DeferOverlay(this, atPriority);
    askedAgain = true;
  }
  int overlayPriority = -1;
  bool askedAgain = false;
};

TEST_F(WidgetDraw, OverlaysAreDrawnBeforeWidgetsOfAHigherPriorityAndAtTheEnd) {
  auto low = std::make_unique<OverlayWidget>("low", &log, 10, 0, 10, 10);
  auto high = std::make_unique<OverlayWidget>("high", &log, 30, 0, 10, 10);
  ProbeWidget* dialog = Add("dialog", 50, 0, 10, 10);
  low->overlayPriority = 0;
  high->overlayPriority = 1;  // the dialog's own priority: drawn over it
  dialog->priority = Zing::Dialog(nullptr, nullptr, 0, false, "", "", "", Zing::Dialog::BUTTONS_NONE).priority;
  manager.AddWidget(low.get());
  manager.AddWidget(high.get());
  manager.BringToFront(dialog);
  log.Clear();
  manager.DrawAll(nullptr, nullptr);  // outside a pass: ignored
  manager.DrawScreen();
  EXPECT_EQ(log.lines, (Strings{"low:draw at 10,0 clip 10,0 10x10", "high:draw at 30,0 clip 30,0 10x10",
                                "low:overlay 0 at 10", "dialog:draw at 50,0 clip 50,0 10x10", "high:overlay 1 at 30"}));
  EXPECT_TRUE(manager.deferredOverlayWidgets.empty());
  EXPECT_EQ(manager.minDeferredOverlayPriority, 2147483647);
  manager.DeferOverlay(low.get(), 0);  // no pass running: dropped
  EXPECT_TRUE(manager.deferredOverlayWidgets.empty());

  // Overlays move with the screen like the widgets themselves.
  manager.SetMouseRects(Rect(-7, 0, 654, 480), Rect(0, 0, 654, 480));
  log.Clear();
  low->MarkDirty();
  manager.DrawScreen();
  EXPECT_EQ(log.lines, (Strings{"low:draw at 17,0 clip 17,0 10x10", "low:overlay 0 at 17"}));
  // A widget that leaves the tree during the pass takes its overlay along.
  dialog->onDraw = [&] { manager.RemoveWidget(high.get()); };
  manager.MarkAllDirty();
  manager.DrawScreen();
  EXPECT_EQ(std::pair(log.With("high:overlay").size(), log.With("low:overlay").size()), std::pair(0ul, 2ul));
  // At the very top priority too, an overlay waits for the widgets of its own priority.
  std::tie(low->overlayPriority, dialog->priority, dialog->onDraw) = std::tuple(INT_MAX, INT_MAX, nullptr);
  manager.MarkAllDirty(), log.Clear(), manager.DrawScreen();
  EXPECT_EQ(log.lines, (Strings{"low:draw at 17,0 clip 17,0 10x10", "dialog:draw at 57,0 clip 57,0 10x10",
                                "low:overlay 2147483647 at 17"}));
}

TEST_F(WidgetDraw, CenteredAndColouredText) {
  ProbeWidget* w = Add("w", 0, 0, 100, 40);
  Graphics g(&screen);
  EXPECT_EQ(w->DrawCenteredLine(&g, 20, "abc"), Rect());  // no font: nothing
  EXPECT_EQ(w->GetWordWrappedHeight(nullptr, 30, "aaaa"), 0);
  g.SetFont(&font);
  EXPECT_EQ(w->DrawCenteredLine(&g, 20, "abcd"), Rect(38, 12, 24, 10));
  EXPECT_EQ(w->DrawCenteredLineShadowed(&g, 20, "abcd", Color(200, 0, 0), Color(9, 9, 9), Zing::Point{2, 3}),
            Rect(38, 12, 26, 13));
  EXPECT_EQ(font.drawn, (Strings{"abcd at 38,20 r0", "abcd at 40,23 r9", "abcd at 38,20 r200"}));

  // Colour codes are on only for the call.
  font.drawn.clear();
  g.SetColor(Color::Black);
  g.SetWriteColoredString(false);
  w->DrawColoredString(&g, "a^FF0000^b", 0, 10);
  EXPECT_EQ(w->DrawWordWrapped(&g, Rect(0, 30, 12, 0), "ab ^00FF00^c", -1, -1), 8 + 10 + 2);
  EXPECT_FALSE(g.writeColoredString);
  EXPECT_EQ(font.drawn, (Strings{"a at 0,10 r0", "b at 6,10 r255", "ab at 0,38 r0", "c at 0,48 r0"}));

  // Numbers from a strip of ten digit cells, a cell's width plus the spacing apart.
  for (const auto& [number, digits] : {std::pair(0, 1), {9, 1}, {10, 2}, {99, 2}, {100, 3}, {2147483647, 10}})
    EXPECT_EQ(w->GetDigitCount(number), digits) << number;
  auto strip = WidgetTest::Solid(30, 2, 0);
  for (int i = 0; i < 60; ++i) strip->GetBits()[i] = 0xFF000000u | static_cast<std::uint32_t>(i % 30 / 3 + 1);
  w->DrawNumberFromStrip(&g, 907, 100, 100, strip.get(), 1);
  w->DrawNumberFromStrip(&g, -907, 100, 110, strip.get(), 1);  // no sign
  w->DrawNumberFromStrip(&g, 5, 0, 0, nullptr, 1);             // no strip: nothing
  std::vector<std::uint32_t> row, negative;
  for (int px = 99; px < 112; ++px)
    row.push_back(screen.GetPixel(px, 101) & 0xFF), negative.push_back(screen.GetPixel(px, 111) & 0xFF);
  EXPECT_EQ(row, (std::vector<std::uint32_t>{0, 10, 10, 10, 0, 1, 1, 1, 0, 8, 8, 8, 0}));
  EXPECT_EQ(negative, row);
  // Colours beyond the table are black, or the fallback asked for.
  w->SetColor(1, Color(1, 2, 3));
  EXPECT_EQ(std::tuple(w->GetColor(0), w->GetColor(1), w->GetColor(2), w->GetColor(-1), w->GetColor(5, Color(7, 7, 7))),
            std::tuple(Color(0, 0, 0), Color(1, 2, 3), Color(0, 0, 0), Color(0, 0, 0), Color(7, 7, 7)));
  const int table[2][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
  w->SetColors(table, 2);
  EXPECT_EQ(w->colors, (std::vector<Color>{Color(1, 2, 3, 4), Color(5, 6, 7, 8)}));
  const int opaque[2][3] = {{9, 8, 7}, {6, 5, 4}};
  w->SetColors(opaque, 1);  // the first row only
  EXPECT_EQ(w->colors, (std::vector<Color>{Color(9, 8, 7)}));
}

}  // namespace
