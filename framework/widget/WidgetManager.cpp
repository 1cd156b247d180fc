#include "framework/widget/WidgetManager.h"

#include <algorithm>
#include <cstdint>

#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManagerHost.h"

namespace Zing {

namespace {

// Lets go of a subtree without any callback.
void ForgetManager(Widget* widget) {
  widget->widgetManager = nullptr;
  for (Widget* child : widget->widgets) ForgetManager(child);
}

}  // namespace

WidgetManager::WidgetManager(WidgetManagerHost* host) : app(host) { widgetManager = this; }

WidgetManager::~WidgetManager() {
  for (Widget* child : widgets) ForgetManager(child);
  focusWidget = lastDownWidget = overWidget = baseModalWidget = popupCommandWidget = defaultTab = nullptr;
  preModalInfoList.clear();
  deferredOverlayWidgets.clear();
}

// ---------------------------------------------------------------------------
// Ticks

std::uint32_t WidgetManager::RootFlags() const { return hasFocus ? widgetFlags : lostFocusFlagsMod.Apply(widgetFlags); }

void WidgetManager::InitModalFlags(ModalFlags& flags) const {
  flags.overFlags = RootFlags();
  flags.underFlags = belowModalFlagsMod.Apply(flags.overFlags);
  flags.isOver = baseModalWidget == nullptr;
}

bool WidgetManager::UpdateFrame() {
  ModalFlags flags;
  InitModalFlags(flags);
  ++updateCount;
  // The manager is its own root: this keeps it from getting an Update call.
  lastWMUpdateCount = updateCount;
  UpdateAll(&flags);
  return dirty;
}

bool WidgetManager::UpdateFrameSmooth(float fraction) {
  ModalFlags flags;
  InitModalFlags(flags);
  UpdateSmoothAll(&flags, fraction);
  return dirty;
}

// ---------------------------------------------------------------------------
// Pointer mapping

void WidgetManager::SetMouseRects(const Rect& destRect, const Rect& sourceRect) {
  mouseDestRect = destRect;
  mouseSourceRect = sourceRect;
  width = destRect.w + 2 * destRect.x;
  height = destRect.h + 2 * destRect.y;
}

void WidgetManager::RemapMouse(int& mouseX, int& mouseY) const {
  // Without a presentation rectangle yet there is nothing to map from.
  if (mouseSourceRect.w <= 0 || mouseSourceRect.h <= 0) return;
  const std::int64_t mappedX =
      static_cast<std::int64_t>(mouseX - mouseSourceRect.x) * mouseDestRect.w / mouseSourceRect.w + mouseDestRect.x;
  const std::int64_t mappedY =
      static_cast<std::int64_t>(mouseY - mouseSourceRect.y) * mouseDestRect.h / mouseSourceRect.h + mouseDestRect.y;
  mouseX = static_cast<int>(mappedX);
  mouseY = static_cast<int>(mappedY);
}

// ---------------------------------------------------------------------------
// Losing widgets

void WidgetManager::DisableWidget(Widget* widget) {
  if (widget == nullptr) return;
  if (widget == overWidget) ClearOverWidget();
  if (widget == lastDownWidget) ReleaseButtons(widget);
  if (widget == focusWidget) {
    focusWidget = nullptr;
    widget->LostFocus();
  }
  if (widget == popupCommandWidget) popupCommandWidget = nullptr;
}

void WidgetManager::ForgetRemovedWidget(Widget* widget) {
  if (widget == nullptr) return;
  if (widget == defaultTab) defaultTab = nullptr;
  std::erase_if(deferredOverlayWidgets, [widget](const DeferredOverlay& entry) { return entry.widget == widget; });
  for (PreModalInfo& entry : preModalInfoList) {
    if (entry.prevBaseModalWidget == widget) entry.prevBaseModalWidget = nullptr;
    if (entry.prevFocusWidget == widget) entry.prevFocusWidget = nullptr;
    // A modal widget further down the stack is only compared against; the
    // current one is let go once its whole subtree has left.
    if (entry.baseModalWidget == widget && widget != baseModalWidget) entry.baseModalWidget = nullptr;
  }
  if (widget == baseModalWidget) baseModalRemoved_ = true;
}

void WidgetManager::DropDetachedBaseModal() {
  if (!baseModalRemoved_ || baseModalWidget == nullptr || baseModalWidget->widgetManager == this) return;
  baseModalRemoved_ = false;
  if (!preModalInfoList.empty() && preModalInfoList.back().baseModalWidget == baseModalWidget) {
    PopBaseModalEntries();
  } else {
    ApplyBaseModal(nullptr, FlagsMod());
  }
}

void WidgetManager::RemovePopupCommandWidget() {
  Widget* widget = popupCommandWidget;
  popupCommandWidget = nullptr;
  if (widget != nullptr && widget->parent != nullptr) widget->parent->RemoveWidget(widget);
}

// ---------------------------------------------------------------------------
// Modality

void WidgetManager::AddBaseModal(Widget* widget) { AddBaseModal(widget, defaultBelowModalFlagsMod); }

void WidgetManager::AddBaseModal(Widget* widget, const FlagsMod& belowFlagsMod) {
  if (widget == nullptr) return;
  preModalInfoList.push_back(PreModalInfo{widget, baseModalWidget, focusWidget, belowModalFlagsMod});
  ApplyBaseModal(widget, belowFlagsMod);
}

void WidgetManager::ApplyBaseModal(Widget* widget, const FlagsMod& belowFlagsMod) {
  baseModalWidget = widget;
  belowModalFlagsMod = belowFlagsMod;
  baseModalRemoved_ = false;
  if (widget == nullptr) return;
  if (belowFlagsMod.removeFlags & WIDGETFLAGS_ALLOW_MOUSE) {
    if (overWidget != nullptr && IsBelow(overWidget, widget)) ClearOverWidget();
    if (lastDownWidget != nullptr && IsBelow(lastDownWidget, widget)) ReleaseButtons(lastDownWidget);
  }
  if ((belowFlagsMod.removeFlags & WIDGETFLAGS_ALLOW_FOCUS) && focusWidget != nullptr && IsBelow(focusWidget, widget)) {
    Widget* lost = focusWidget;
    focusWidget = nullptr;
    lost->LostFocus();
  }
}

void WidgetManager::RemoveBaseModal(Widget* widget) {
  if (widget == nullptr || preModalInfoList.empty() || preModalInfoList.back().baseModalWidget != widget) return;
  PopBaseModalEntries();
}

// Pops the top entry and restores what it replaced. An entry whose previous
// modal widget has gone restores nothing modal, so the one below it is popped
// as well, until a live previous modal widget is back or the stack is empty.
void WidgetManager::PopBaseModalEntries() {
  while (!preModalInfoList.empty()) {
    const PreModalInfo entry = preModalInfoList.back();
    preModalInfoList.pop_back();
    ApplyBaseModal(entry.prevBaseModalWidget, entry.prevBelowModalFlagsMod);
    if (focusWidget == nullptr && entry.prevFocusWidget != nullptr) SetFocus(entry.prevFocusWidget);
    if (entry.prevBaseModalWidget != nullptr) break;
  }
}

// ---------------------------------------------------------------------------
// Overlay requests

void WidgetManager::DeferOverlay(Widget* widget, int overlayPriority) {
  if (widget == nullptr || currentGraphics == nullptr || overlayPriority <= overlayPriorityInDraw_) return;
  deferredOverlayWidgets.push_back(DeferredOverlay{widget, overlayPriority});
  minDeferredOverlayPriority = std::min(minDeferredOverlayPriority, overlayPriority);
}

bool WidgetManager::IsKeyDown(int key) const { return key >= 0 && key < kTrackedKeys && keyDown[key]; }

}  // namespace Zing
