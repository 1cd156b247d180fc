// Mouse and keyboard dispatch of the widget manager: the hit test, the widget
// under the pointer, the widget holding the pressed buttons, and the focus.

#include <vector>

#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"

namespace Zing {

namespace {

// Click codes: negative for the right button, 3 for the middle one, anything
// else for the left.
int ButtonBit(int clickCode) {
  if (clickCode < 0) return MOUSE_BUTTON_RIGHT;
  if (clickCode == 3) return MOUSE_BUTTON_MIDDLE;
  return MOUSE_BUTTON_LEFT;
}

int ButtonId(int bit) {
  if (bit == MOUSE_BUTTON_RIGHT) return -1;
  if (bit == MOUSE_BUTTON_MIDDLE) return 2;
  return 1;
}

bool IsAncestorOrSelf(const WidgetContainer* ancestor, const WidgetContainer* widget) {
  for (; widget != nullptr; widget = widget->parent) {
    if (widget == ancestor) return true;
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// Hit test

// Searches the children of `container` front to back; (px, py) is in the
// container's coordinates and `flags` are the container's own. Once the
// search has passed the base modal widget, what follows lies behind it and has
// the below-modal modifier applied on top of its own flags.
Widget* WidgetManager::HitTest(WidgetContainer* container, std::uint32_t flags, bool& behindModal, int px, int py,
                               int& localX, int& localY) {
  // A copy: AcceptsPoint is the widgets' own code.
  const std::vector<Widget*> children(container->widgets.begin(), container->widgets.end());
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Widget* child = *it;
    const std::uint32_t childFlags = child->widgetFlagsMod.Apply(flags);
    const bool holdsModal = baseModalWidget != nullptr && IsAncestorOrSelf(child, baseModalWidget);
    auto effective = [&]() {
      return behindModal && child != baseModalWidget ? belowModalFlagsMod.Apply(childFlags) : childFlags;
    };

    if (child->visible && (effective() & WIDGETFLAGS_ALLOW_MOUSE)) {
      const int childX = px - child->x;
      const int childY = py - child->y;
      if (Widget* hit = HitTest(child, childFlags, behindModal, childX, childY, localX, localY)) return hit;
      if (holdsModal) behindModal = true;
      if (child->mouseVisible && (effective() & WIDGETFLAGS_ALLOW_MOUSE) && child->GetInsetRect().Contains(px, py) &&
          child->AcceptsPoint(childX, childY)) {
        localX = childX;
        localY = childY;
        return child;
      }
    }
    if (holdsModal) behindModal = true;
  }
  return nullptr;
}

Widget* WidgetManager::GetWidgetAt(int px, int py, int* localX, int* localY) {
  bool behindModal = false;
  int hitX = 0;
  int hitY = 0;
  Widget* hit = HitTest(this, RootFlags(), behindModal, px - x, py - y, hitX, hitY);
  if (hit != nullptr && hit->disabled) hit = nullptr;
  if (localX != nullptr) *localX = hit != nullptr ? hitX : 0;
  if (localY != nullptr) *localY = hit != nullptr ? hitY : 0;
  return hit;
}

// ---------------------------------------------------------------------------
// The widget under the pointer

void WidgetManager::Enter(Widget* widget) {
  widget->isOver = true;
  widget->MouseEnter();
  if (widget->doFinger) widget->ShowHandCursor(true);
}

void WidgetManager::Leave(Widget* widget) {
  widget->isOver = false;
  widget->MouseLeave();
  if (widget->doFinger) widget->ShowHandCursor(false);
}

void WidgetManager::ClearOverWidget() {
  Widget* widget = overWidget;
  overWidget = nullptr;
  if (widget != nullptr) Leave(widget);
}

void WidgetManager::MousePosition(int mouseX, int mouseY) {
  const bool moved = mouseX != lastMouseX || mouseY != lastMouseY;
  lastMouseX = mouseX;
  lastMouseY = mouseY;

  int localX = 0;
  int localY = 0;
  Widget* widget = GetWidgetAt(mouseX, mouseY, &localX, &localY);
  if (widget == overWidget) {
    if (widget == nullptr || !moved) return;
  } else {
    ClearOverWidget();
    // The leave handler may have taken the new widget out of the tree.
    if (widget == nullptr || widget->widgetManager != this) return;
    overWidget = widget;
    Enter(widget);
    if (overWidget != widget) return;
  }
  widget->MouseMove(localX, localY);
}

void WidgetManager::Drag(int mouseX, int mouseY) {
  mouseIn = true;
  lastMouseX = mouseX;
  lastMouseY = mouseY;
  if (overWidget != nullptr && overWidget != lastDownWidget) ClearOverWidget();

  Widget* pressed = lastDownWidget;
  if (pressed == nullptr) return;
  const Point origin = pressed->GetAbsPos();
  pressed->MouseDrag(mouseX - origin.x, mouseY - origin.y);
  if (lastDownWidget != pressed) return;

  // Only the pressed widget is ever "over" during a drag.
  if (GetWidgetAt(mouseX, mouseY) == pressed) {
    if (overWidget == nullptr) {
      overWidget = pressed;
      Enter(pressed);
    }
  } else {
    ClearOverWidget();
  }
}

void WidgetManager::RehupMouse() {
  if (downButtons == 0) {
    if (mouseIn) MousePosition(lastMouseX, lastMouseY);
  } else if (overWidget != nullptr && GetWidgetAt(lastMouseX, lastMouseY) != lastDownWidget) {
    ClearOverWidget();
  }
}

// ---------------------------------------------------------------------------
// Mouse messages

bool WidgetManager::MouseMove(int mouseX, int mouseY) {
  lastInputUpdateCount = updateCount;
  if (downButtons != 0) {
    Drag(mouseX, mouseY);
  } else {
    mouseIn = true;
    MousePosition(mouseX, mouseY);
  }
  return true;
}

bool WidgetManager::MouseDown(int mouseX, int mouseY, int clickCode) {
  lastInputUpdateCount = updateCount;
  const int bit = ButtonBit(clickCode);
  actualDownButtons |= bit;
  MousePosition(mouseX, mouseY);

  if (popupCommandWidget != nullptr) {
    const Point origin = popupCommandWidget->parent != nullptr ? popupCommandWidget->parent->GetAbsPos() : Point{};
    if (!popupCommandWidget->Contains(mouseX - origin.x, mouseY - origin.y)) RemovePopupCommandWidget();
  }

  Widget* target = lastDownWidget != nullptr ? lastDownWidget : GetWidgetAt(mouseX, mouseY);
  downButtons |= bit;
  lastDownButtonId = ButtonId(bit);
  lastDownWidget = target;
  if (target == nullptr) return true;

  if (target->AcceptsFocus()) SetFocus(target);
  // A focus handler may have taken the widget away.
  if (lastDownWidget != target) return true;
  target->isDown = true;
  const Point origin = target->GetAbsPos();
  target->MouseDown(mouseX - origin.x, mouseY - origin.y, clickCode);
  return true;
}

bool WidgetManager::MouseUp(int mouseX, int mouseY, int clickCode) {
  lastInputUpdateCount = updateCount;
  const int bit = ButtonBit(clickCode);
  actualDownButtons &= ~bit;

  if (lastDownWidget != nullptr && (downButtons & bit)) {
    downButtons &= ~bit;
    Widget* pressed = lastDownWidget;
    if (downButtons == 0) lastDownWidget = nullptr;
    pressed->isDown = false;
    const Point origin = pressed->GetAbsPos();
    pressed->MouseUp(mouseX - origin.x, mouseY - origin.y, clickCode);
  } else {
    downButtons &= ~bit;
  }
  MousePosition(mouseX, mouseY);
  return true;
}

// The pressed widget lets go of every held button at the last pointer
// position, as if the player had released them there.
void WidgetManager::ReleaseButtons(Widget* widget) {
  const int buttons = downButtons;
  downButtons = 0;
  if (lastDownWidget == widget) lastDownWidget = nullptr;
  const Point origin = widget->GetAbsPos();
  const int releases[][2] = {{MOUSE_BUTTON_LEFT, 1}, {MOUSE_BUTTON_RIGHT, -1}, {MOUSE_BUTTON_MIDDLE, 3}};
  for (const auto& release : releases) {
    if ((buttons & release[0]) == 0) continue;
    widget->isDown = false;
    widget->MouseUp(lastMouseX - origin.x, lastMouseY - origin.y, release[1]);
  }
}

bool WidgetManager::MouseWheel(int delta) {
  lastInputUpdateCount = updateCount;
  if (focusWidget != nullptr) focusWidget->MouseWheel(delta);
  return true;
}

bool WidgetManager::MouseExit() {
  lastInputUpdateCount = updateCount;
  mouseIn = false;
  ClearOverWidget();
  return true;
}

// ---------------------------------------------------------------------------
// Keyboard

bool WidgetManager::KeyDown(int key) {
  lastInputUpdateCount = updateCount;
  if (key >= 0 && key < kTrackedKeys) keyDown[key] = true;
  // Escape answers the modal dialog whichever of its controls has the focus,
  // and the dialog takes the keys when none has.
  Widget* target = focusWidget;
  if (baseModalWidget != nullptr && (key == KEYCODE_ESCAPE || target == nullptr)) target = baseModalWidget;
  if (target != nullptr) target->KeyDown(key);
  return true;
}

bool WidgetManager::KeyUp(int key) {
  lastInputUpdateCount = updateCount;
  if (key >= 0 && key < kTrackedKeys) keyDown[key] = false;
  if (key == KEYCODE_TAB && IsKeyDown(KEYCODE_CONTROL)) return true;
  if (focusWidget != nullptr) focusWidget->KeyUp(key);
  return true;
}

bool WidgetManager::KeyChar(char character) {
  lastInputUpdateCount = updateCount;
  if (character == '\t' && IsKeyDown(KEYCODE_CONTROL)) {
    if (defaultTab != nullptr) defaultTab->KeyChar(character);
    return true;
  }
  if (focusWidget != nullptr) focusWidget->KeyChar(character);
  return true;
}

// ---------------------------------------------------------------------------
// Focus

void WidgetManager::SetFocus(Widget* widget) {
  if (widget == focusWidget) return;
  Widget* old = focusWidget;
  focusWidget = nullptr;
  if (old != nullptr) old->LostFocus();
  // A handler that moved the focus itself has the last word.
  if (focusWidget != nullptr) return;
  if (widget != nullptr && widget->widgetManager == this) {
    focusWidget = widget;
    if (hasFocus) widget->GotFocus();
  }
}

void WidgetManager::AppGotFocus() {
  if (hasFocus) return;
  hasFocus = true;
  if (focusWidget != nullptr) focusWidget->GotFocus();
}

void WidgetManager::AppLostFocus() {
  if (!hasFocus) return;
  actualDownButtons = 0;
  // Keys released while the window is in the background would never arrive.
  for (int key = 0; key < kTrackedKeys; ++key) {
    if (!keyDown[key]) continue;
    keyDown[key] = false;
    if (focusWidget != nullptr) focusWidget->KeyUp(key);
  }
  if (lastDownWidget != nullptr) ReleaseButtons(lastDownWidget);
  downButtons = 0;
  if (app != nullptr) app->ReleaseMouseCapture();
  hasFocus = false;
  if (focusWidget != nullptr) focusWidget->LostFocus();
}

}  // namespace Zing
