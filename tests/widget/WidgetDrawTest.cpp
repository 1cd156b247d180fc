// Drawing through the widget tree: which widgets the manager draws, with what
// translation and clip, modality and flags in the draw walk, removals while
// drawing, deferred overlays, and the text helpers.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using WidgetTest::ProbeWidget;
using Zing::Color;
using Zing::Graphics;
using Zing::Rect;
using Strings = std::vector<std::string>;

using WidgetDraw = WidgetTest::ScreenFixture;

TEST_F(WidgetDraw, OnlyDirtyTopLevelWidgetsAreDrawnWholeWithTheirChildren) {
  ProbeWidget* left = Add("left", 0, 0, 100, 100);
  Add("right", 200, 0, 100, 100);
  ProbeWidget* child = Add("child", 10, 20, 30, 30, left);
  manager.image = nullptr;  // no screen: nothing is drawn
  EXPECT_FALSE(manager.DrawScreen());
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(host.locks, 0);
  manager.image = &screen;
  ASSERT_TRUE(manager.DrawScreen());
  log.Clear();
  EXPECT_FALSE(manager.DrawScreen());
  EXPECT_TRUE(log.lines.empty());

  child->MarkDirty();
  EXPECT_TRUE(manager.DrawScreen());
  EXPECT_EQ(Draws(), (Strings{"left:draw at 0,0 clip 0,0 100x100", "child:draw at 10,20 clip 10,20 30x30"}));
  EXPECT_FALSE(left->dirty || child->dirty || manager.dirty);
  EXPECT_EQ(host.locks, 3);
  EXPECT_EQ(host.unlocks, 3);
}

TEST_F(WidgetDraw, ChildrenAreTranslatedAndClippedToTheirParentsAndTheirOwnRectangle) {
  ProbeWidget* panel = Add("panel", 100, 100, 50, 50);
  ProbeWidget* sticking = Add("sticking", 40, -10, 30, 30, panel);
  Add("grandchild", 5, 5, 100, 100, sticking);
  manager.DrawScreen();
  EXPECT_EQ(Draws(), (Strings{"panel:draw at 100,100 clip 100,100 50x50", "sticking:draw at 140,90 clip 140,100 10x20",
                              "grandchild:draw at 145,95 clip 145,100 5x20"}));
  log.Clear();
  panel->clip = false;
  panel->MarkDirty();
  manager.DrawScreen();
  EXPECT_EQ(log.lines.at(1), "sticking:draw at 140,90 clip 140,90 30x30");

  // The destination offset shifts the whole screen; stretched images are
  // filtered only with acceleration.
  manager.SetMouseRects(Rect(-10, -20, 660, 520), Rect(0, 0, 660, 520));
  host.accelerated = true;
  log.Clear();
  manager.RemoveWidget(panel);
  Add("w", 5, 5, 10, 10);
  manager.DrawScreen();
  EXPECT_EQ(Draws(), (Strings{"w:draw at 15,25 clip 15,25 10x10 filtered"}));
}

TEST_F(WidgetDraw, FlagsDecideDrawingAndInvisibleWidgetsAreSkipped) {
  ProbeWidget* frame = Add("frame", 0, 0, 100, 100);
  ProbeWidget* inside = Add("inside", 0, 0, 10, 10, frame);
  Add("hidden", 0, 0, 10, 10)->SetVisible(false);
  frame->widgetFlagsMod = Zing::FlagsMod(0, Zing::WIDGETFLAGS_DRAW);
  inside->widgetFlagsMod = Zing::FlagsMod(Zing::WIDGETFLAGS_DRAW, 0);
  manager.DrawScreen();
  EXPECT_EQ(Draws(), (Strings{"inside:draw at 0,0 clip 0,0 10x10"}));

  // Below-modal flags apply to what is behind the modal widget.
  ProbeWidget* dialog = Add("dialog", 100, 100, 100, 100);
  Add("button", 120, 120, 20, 20);
  frame->widgetFlagsMod = inside->widgetFlagsMod = Zing::FlagsMod();
  manager.AddBaseModal(dialog, Zing::FlagsMod(0, Zing::WIDGETFLAGS_DRAW));
  log.Clear();
  manager.MarkAllDirty();
  manager.DrawScreen();
  EXPECT_EQ(Draws(),
            (Strings{"dialog:draw at 100,100 clip 100,100 100x100", "button:draw at 120,120 clip 120,120 20x20"}));
  manager.RemoveBaseModal(dialog);
}

TEST_F(WidgetDraw, WidgetsRemovedWhileDrawingAreNotDrawnAndTheWalkGoesOn) {
  ProbeWidget* panel = Add("panel", 0, 0, 200, 200);
  ProbeWidget* first = Add("first", 0, 0, 10, 10, panel);
  ProbeWidget* second = Add("second", 20, 0, 10, 10, panel);
  ProbeWidget* third = Add("third", 40, 0, 10, 10, panel);
  ProbeWidget* top = Add("top", 300, 0, 10, 10);
  ProbeWidget* last = Add("last", 400, 0, 10, 10);
  first->onDraw = [&] {
    panel->RemoveWidget(first);
    panel->RemoveWidget(second);
  };
  top->onDraw = [&] {
    manager.RemoveWidget(top);
    manager.RemoveWidget(last);
  };
  manager.DrawScreen();
  EXPECT_TRUE(log.With("second:draw").empty());
  EXPECT_EQ(log.With("third:draw").size(), 1u);
  EXPECT_TRUE(log.With("last:draw").empty());
  EXPECT_EQ(Zing::WidgetList(panel->widgets), (Zing::WidgetList{third}));
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
    // Asking again from inside the overlay must not loop.
    if (widgetManager != nullptr) widgetManager->DeferOverlay(this, atPriority);
  }
  int overlayPriority = -1;
};

TEST_F(WidgetDraw, OverlaysAreDrawnBeforeWidgetsOfAHigherPriorityAndAtTheEnd) {
  auto low = std::make_unique<OverlayWidget>("low", &log, 10, 0, 10, 10);
  auto high = std::make_unique<OverlayWidget>("high", &log, 30, 0, 10, 10);
  ProbeWidget* dialog = Add("dialog", 50, 0, 10, 10);
  low->overlayPriority = 0;
  high->overlayPriority = 5;
  dialog->priority = 1;
  manager.AddWidget(low.get());
  manager.AddWidget(high.get());
  manager.BringToFront(dialog);
  log.Clear();
  manager.DrawAll(nullptr, nullptr);  // outside a pass: ignored
  manager.DrawScreen();
  EXPECT_EQ(log.lines, (Strings{"low:draw at 10,0 clip 10,0 10x10", "high:draw at 30,0 clip 30,0 10x10",
                                "low:overlay 0 at 10", "dialog:draw at 50,0 clip 50,0 10x10", "high:overlay 5 at 30"}));
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
  EXPECT_TRUE(manager.deferredOverlayWidgets.empty());
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
  EXPECT_FALSE(g.writeColoredString);
  EXPECT_EQ(font.drawn, (Strings{"a at 0,10 r0", "b at 6,10 r255"}));
}

}  // namespace
