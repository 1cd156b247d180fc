// Drawing the widget tree: the walk through one widget's subtree, the
// manager's pass over the dirty top-level widgets, and the overlays that
// widgets ask to have drawn once the pass reaches their priority.

#include <algorithm>
#include <climits>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"

namespace Zing {

void WidgetContainer::DrawAll(ModalFlags* flags, Graphics* g) {
  if (flags == nullptr || g == nullptr) return;
  WidgetManager* manager = widgetManager;
  if (manager != nullptr && priority > manager->minDeferredOverlayPriority) {
    manager->FlushDeferredOverlayWidgets(priority);
  }

  FlagsModScope scope(*flags, widgetFlagsMod);
  if (clip && (flags->GetFlags() & WIDGETFLAGS_CLIP)) g->ClipRect(0, 0, width, height);
  const bool drawSelf = (flags->GetFlags() & WIDGETFLAGS_DRAW) != 0;
  if (widgets.empty()) {
    if (drawSelf) Draw(g);
    return;
  }

  if (drawSelf) {
    g->PushState();
    Draw(g);
    g->PopState();
  }
  for (ChildWalk walk(*this); Widget* child = walk.Current(); walk.Next()) {
    if (manager != nullptr && child == manager->baseModalWidget) flags->isOver = true;
    if (!child->visible) continue;
    Graphics childGraphics(*g);
    childGraphics.Translate(static_cast<float>(child->x), static_cast<float>(child->y));
    child->DrawAll(flags, &childGraphics);
    child->dirty = false;
  }
}

bool WidgetManager::DrawScreen() {
  ModalFlags flags;
  InitModalFlags(flags);
  const bool anyDirty = std::any_of(widgets.begin(), widgets.end(), [](Widget* w) { return w->dirty; });
  deferredOverlayWidgets.clear();
  minDeferredOverlayPriority = INT_MAX;
  // Nothing to draw into before the display exists.
  if (image == nullptr) return false;

  Graphics g(image);
  currentGraphics = &g;
  if (app != nullptr) app->LockScreenImage();

  bool drew = false;
  if (anyDirty) {
    // The pass graphics stays untranslated: overlays add the offset themselves.
    Graphics screenGraphics(g);
    screenGraphics.Translate(static_cast<float>(-mouseDestRect.x), static_cast<float>(-mouseDestRect.y));
    screenGraphics.SetLinearBlend(app != nullptr && app->IsHardwareAccelerated());
    for (ChildWalk walk(*this); Widget* child = walk.Current(); walk.Next()) {
      if (child == baseModalWidget) flags.isOver = true;
      if (!child->dirty || !child->visible) continue;
      Graphics childGraphics(screenGraphics);
      childGraphics.Translate(static_cast<float>(child->x), static_cast<float>(child->y));
      child->DrawAll(&flags, &childGraphics);
      child->dirty = false;
      drew = true;
    }
  }
  FlushDeferredOverlayWidgets(INT_MAX);

  if (app != nullptr) app->UnlockScreenImage();
  currentGraphics = nullptr;
  // What the updates marked has now been drawn.
  dirty = false;
  return drew;
}

void WidgetManager::FlushDeferredOverlayWidgets(int maxPriority) {
  while (!deferredOverlayWidgets.empty() && (minDeferredOverlayPriority < maxPriority || maxPriority == INT_MAX)) {
    DrawOverlaysAt(minDeferredOverlayPriority);
  }
}

void WidgetManager::DrawOverlaysAt(int overlayPriority) {
  std::vector<Widget*> due;
  std::erase_if(deferredOverlayWidgets, [&](const DeferredOverlay& entry) {
    if (entry.priority != overlayPriority) return false;
    due.push_back(entry.widget);
    return true;
  });

  const int outerPriority = overlayPriorityInDraw_;
  overlayPriorityInDraw_ = overlayPriority;
  for (Widget* widget : due) {
    // Drawing an earlier overlay may have taken this widget away.
    if (currentGraphics == nullptr || widget->widgetManager != this) continue;
    Graphics overlayGraphics(*currentGraphics);
    const Point origin = widget->GetAbsPos();
    overlayGraphics.Translate(static_cast<float>(origin.x - mouseDestRect.x),
                              static_cast<float>(origin.y - mouseDestRect.y));
    widget->DrawOverlay(&overlayGraphics, overlayPriority);
  }
  overlayPriorityInDraw_ = outerPriority;

  minDeferredOverlayPriority = INT_MAX;
  for (const DeferredOverlay& entry : deferredOverlayWidgets) {
    minDeferredOverlayPriority = std::min(minDeferredOverlayPriority, entry.priority);
  }
}

}  // namespace Zing
